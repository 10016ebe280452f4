// Files that claim huge sizes: every count, length and size field of real LWO
// and exchange files (the fuzz seeds, every form and version) is made to claim
// 2^31 - 1 or more, one position at a time. However a reader is lied to, it
// must allocate no more than a small multiple of the file's own size.
//
// How that is measured depends on the build. Normally the readers run in a
// child process under an address-space limit (RLIMIT_AS) a little above what
// the child already uses: a reader that believes a claim dies of bad_alloc.
// AddressSanitizer reserves terabytes of address space for its shadow memory
// at start, so there no such limit can work; instead its allocator hooks
// count the bytes live on the heap, and the test checks each read's peak. The
// child keeps a reader that asks for terabytes (which the sanitizer reports
// and ends) from taking the test program with it.
#include "tests/support/bytes.h"
#include "tests/support/child_process.h"
#include "tests/support/file_contents.h"

#include "import/import_object.h"
#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QR_COUNT_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QR_COUNT_HEAP 1
#endif
#endif
#ifdef QR_COUNT_HEAP
#include <sanitizer/allocator_interface.h>
#endif

namespace fs = std::filesystem;

namespace {

// What a read may use: the file's bytes a few times over (the file itself,
// the records made from it) and a fixed allowance for the reader's own state.
constexpr std::size_t kBytesPerFileByte = 16;
constexpr std::size_t kFixedAllowance = 1 << 20;

#ifdef QR_COUNT_HEAP
std::size_t g_live = 0;
std::size_t g_peak = 0;
void CountAllocation(const volatile void*, std::size_t size) {
    g_live += size;
    g_peak = std::max(g_peak, g_live);
}
void CountRelease(const volatile void* pointer) {
    g_live -= __sanitizer_get_allocated_size(const_cast<const void*>(pointer));
}
#endif

// Every variant of bytes with one field claiming a huge size: at each offset,
// the largest positive 32-bit number in either byte order, and all bits set
// over eight bytes (the archive's longest length escape).
std::vector<ByteVector> HugeClaims(const ByteVector& bytes) {
    const std::vector<ByteVector> claims = {
        {0x7f, 0xff, 0xff, 0xff}, {0xff, 0xff, 0xff, 0x7f}, ByteVector(8, 0xff)};
    std::vector<ByteVector> variants;
    for (std::size_t at = 0; at < bytes.size(); ++at)
        for (const ByteVector& claim : claims) {
            ByteVector variant = bytes;
            for (std::size_t k = 0; k < claim.size() && at + k < variant.size(); ++k)
                variant[at + k] = claim[k];
            variants.push_back(std::move(variant));
        }
    return variants;
}

std::vector<ByteVector> SeedFiles(const std::string& folder) {
    std::vector<ByteVector> files;
    for (const auto& entry :
         fs::directory_iterator(fs::path(QR_SOURCE_DIR) / "fuzz/seeds" / folder))
        files.push_back(ReadFileBytes(entry.path()));
    return files;
}

using Reader = std::function<void(const ByteVector&)>;

// In a child: every variant of every file through read. The report is empty
// when all stayed in budget, else it names the worst read.
std::string ReadAllInChild(const std::vector<ByteVector>& files, const Reader& read) {
    const CChildReport child = RunInChild([&](int reportFd) {
        std::string report;
#ifdef QR_COUNT_HEAP
        __sanitizer_install_malloc_and_free_hooks(CountAllocation, CountRelease);
#else
        // The address space in use now, and room for the allowance on top.
        struct rlimit limit {};
        std::size_t used = 0;
        if (FILE* maps = std::fopen("/proc/self/statm", "r")) {
            unsigned long pages = 0;
            if (std::fscanf(maps, "%lu", &pages) == 1)
                used = pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
            std::fclose(maps);
        }
        std::size_t largest = 0;
        for (const ByteVector& file : files)
            largest = std::max(largest, file.size());
        limit.rlim_cur = limit.rlim_max = used + 64 * kFixedAllowance + kBytesPerFileByte * largest;
        if (used == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0)
            report = "cannot limit the address space";
#endif
        std::size_t worst = 0;
        for (std::size_t f = 0; f < files.size() && report.empty(); ++f) {
            const std::vector<ByteVector> variants = HugeClaims(files[f]);
            for (std::size_t v = 0; v < variants.size(); ++v) {
                const std::size_t budget = kFixedAllowance + kBytesPerFileByte * variants[v].size();
#ifdef QR_COUNT_HEAP
                const std::size_t before = g_live;
                g_peak = g_live;
#endif
                try {
                    read(variants[v]);
                } catch (const std::bad_alloc&) {
                    report = "file " + std::to_string(f) + " with the claim at byte " +
                             std::to_string(v / 3) + ": out of memory under the limit";
                    break;
                }
#ifdef QR_COUNT_HEAP
                const std::size_t used = g_peak - before;
                worst = std::max(worst, used);
                if (used > budget) {
                    report = "file " + std::to_string(f) + " with the claim at byte " +
                             std::to_string(v / 3) + ": " + std::to_string(used) +
                             " bytes allocated, more than " + std::to_string(budget);
                    break;
                }
#else
                (void)budget;
#endif
            }
        }
#ifdef QR_COUNT_HEAP
        if (report.empty())
            report = "ok, at most " + std::to_string(worst) + " bytes on the heap for one read";
#else
        (void)worst;
        if (report.empty())
            report =
                "ok under an address-space limit of " + std::to_string(limit.rlim_cur) + " bytes";
#endif
        (void)::write(reportFd, report.data(), report.size());
    });
    if (!child.m_bExited)
        return "the reading child died (a reader asked for more than the system gives): " +
               child.m_strText;
    return child.m_strText;
}

void ExpectWithinBudget(const std::string& what, const std::vector<ByteVector>& files,
                        const Reader& read) {
    ASSERT_FALSE(files.empty());
    const std::string report = ReadAllInChild(files, read);
    EXPECT_EQ(report.rfind("ok", 0), 0u) << what << ": " << report;
    std::cout << what << ": " << report << "\n";
}

} // namespace

TEST(ResourceLimits, LightWaveObjectsClaimingHugeSizes) {
    ExpectWithinBudget("LWO", SeedFiles("lwo_reader"), [](const ByteVector& bytes) {
        CImportObject object;
        (void)object.LoadLwoFromMemory(bytes);
    });
}

TEST(ResourceLimits, ExchangeFilesClaimingHugeSizes) {
    ExpectWithinBudget("exchange file", SeedFiles("exchange_file"), [](const ByteVector& bytes) {
        CSceneDocument doc;
        try {
            CArchive ar(bytes);
            (void)ReadExchangeArchive(doc, ar);
        } catch (const CArchiveException&) {
        }
    });
}

// DXF has no size fields, but polyface meshes and polylines give vertex
// counts and numbers the reader must not reserve for.
TEST(ResourceLimits, DxfClaimingHugeCounts) {
    const std::string mesh = "  0\nSECTION\n  2\nENTITIES\n  0\nPOLYLINE\n  8\nMesh\n 70\n64\n"
                             " 71\n2147483647\n 72\n2147483647\n"
                             "  0\nVERTEX\n 70\n128\n 71\n2147483647\n 72\n-2147483647\n"
                             " 73\n1\n 74\n99999999999\n  0\nSEQEND\n  0\nENDSEC\n  0\nEOF\n";
    // Counts a MESH gives.
    const std::string subdMesh = "  0\nSECTION\n  2\nENTITIES\n  0\nMESH\n 92\n2147483647\n"
                                 " 10\n0\n 20\n0\n 30\n0\n 93\n2147483647\n 90\n2147483647\n"
                                 " 90\n0\n  0\nENDSEC\n  0\nEOF\n";
    // Grids of grids: however one number is lied about, what is left would still place far
    // more than an import takes, and is refused before anything is placed.
    const std::string grid = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nB\n  0\n3DFACE\n"
                             " 10\n0\n 20\n0\n 11\n1\n 21\n0\n 12\n1\n 22\n1\n  0\nENDBLK\n"
                             "  0\nBLOCK\n  2\nC\n  0\nINSERT\n  2\nB\n 70\n30000\n 71\n30000\n"
                             " 44\n1\n 45\n1\n  0\nENDBLK\n  0\nBLOCK\n  2\nD\n  0\nINSERT\n"
                             "  2\nC\n 70\n30000\n 71\n30000\n 44\n1\n 45\n1\n  0\nENDBLK\n"
                             "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\nINSERT\n  2\nD\n"
                             "  0\nENDSEC\n  0\nEOF\n";
    ExpectWithinBudget(
        "DXF", {AsBytes(mesh), AsBytes(subdMesh), AsBytes(grid)}, [](const ByteVector& bytes) {
            CImportObject object;
            (void)object.LoadDxfFromMemory(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        });
}
