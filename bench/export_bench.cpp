// WriteDxf on scenes of quadrilaterals (every polygon a 3DFACE) into a real
// file, beside a plain loop that formats the same 3DFACEs with std::to_chars
// into a buffer written out every megabyte: the floor any writer of this
// text has to pay. Reports bytes/s and the process's peak resident memory.
//
//   build/export-rel/bin/export_bench [--benchmark_filter=...]
//   QR_BENCH_DIR=folder for the output files (default: the current folder)
#include "export/export_object.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::string OutputPath(const char* name) {
    const char* dir = std::getenv("QR_BENCH_DIR");
    return (std::filesystem::path(dir != nullptr ? dir : ".") / name).string();
}

double PeakResidentMiB() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

// Coordinates of a few hundred with varied decimals, as a site plan in
// metres has: about ten characters each.
double Coordinate(std::size_t i, int axis) {
    return 100.0 +
           static_cast<double>((i * 7919u + static_cast<std::size_t>(axis) * 104729u) % 900000u) /
               1000.003;
}

// An export object of polygonCount quadrilaterals over one grid of points,
// spread over 100 parts.
std::unique_ptr<CExportObject> MakeObject(std::size_t polygonCount) {
    auto object = std::make_unique<CExportObject>();
    const std::size_t pointCount = polygonCount + 3;
    object->m_points.Reserve(pointCount);
    for (std::size_t i = 0; i < pointCount; ++i)
        object->m_points.Add(
            new CExportPoint(Coordinate(i, 0), Coordinate(i, 1), Coordinate(i, 2)));
    for (int s = 0; s < 100; ++s)
        object->m_surfaces.Add(new CExportSurface("Part " + std::to_string(s)));
    object->m_polygons.Reserve(polygonCount);
    for (std::size_t i = 0; i < polygonCount; ++i) {
        auto* polygon = new CExportPolygon;
        polygon->m_pSurface = object->m_surfaces[static_cast<int>(i * 100 / polygonCount)];
        for (std::size_t k = 0; k < 4; ++k)
            polygon->m_points.push_back(object->m_points[static_cast<int>(i + k)]);
        object->m_polygons.Add(polygon);
    }
    return object;
}

void BM_WriteDxf(benchmark::State& state) {
    auto object = MakeObject(static_cast<std::size_t>(state.range(0)));
    const std::string path = OutputPath("bench_export.dxf");
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        if (const CStatus written = object->WriteDxf(path); !written) {
            state.SkipWithError(written.GetReason().c_str());
            break;
        }
        bytes = std::filesystem::file_size(path);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_MiB"] = PeakResidentMiB();
    std::filesystem::remove(path);
}

// The reference loop: the same 3DFACE text, no object model, no temporary
// file, no layer-name work.
void BM_PlainLoop(benchmark::State& state) {
    auto object = MakeObject(static_cast<std::size_t>(state.range(0)));
    const std::string path = OutputPath("bench_plain.dxf");
    constexpr std::size_t kFlush = 1 << 20;
    auto buffer = std::make_unique<char[]>(kFlush + 4096);
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        std::size_t used = 0;
        auto put = [&](const char* text, std::size_t n) {
            std::memcpy(buffer.get() + used, text, n);
            used += n;
        };
        auto real = [&](double v) {
            auto end = std::to_chars(buffer.get() + used, buffer.get() + kFlush + 4096, v,
                                     std::chars_format::fixed, 6)
                           .ptr;
            used = static_cast<std::size_t>(end - buffer.get());
            put("\r\n", 2);
        };
        static const char* const kCodes[12] = {" 10\r\n", " 20\r\n", " 30\r\n", " 11\r\n",
                                               " 21\r\n", " 31\r\n", " 12\r\n", " 22\r\n",
                                               " 32\r\n", " 13\r\n", " 23\r\n", " 33\r\n"};
        for (const auto& polygon : object->m_polygons) {
            put("  0\r\n3DFACE\r\n  8\r\n", 18);
            const std::string& name = polygon->m_pSurface->m_strName;
            put(name.data(), name.size());
            put("\r\n", 2);
            for (int k = 0; k < 4; ++k) {
                const CExportPoint* p = polygon->m_points[static_cast<std::size_t>(k)];
                put(kCodes[3 * k], 5);
                real(p->m_x);
                put(kCodes[3 * k + 1], 5);
                real(p->m_z);
                put(kCodes[3 * k + 2], 5);
                real(p->m_y);
            }
            if (used >= kFlush) {
                if (::write(fd, buffer.get(), used) != static_cast<ssize_t>(used))
                    state.SkipWithError("write failed");
                used = 0;
            }
        }
        if (::write(fd, buffer.get(), used) != static_cast<ssize_t>(used))
            state.SkipWithError("write failed");
        ::close(fd);
        bytes = std::filesystem::file_size(path);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_MiB"] = PeakResidentMiB();
    std::filesystem::remove(path);
}

} // namespace

BENCHMARK(BM_WriteDxf)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLoop)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
