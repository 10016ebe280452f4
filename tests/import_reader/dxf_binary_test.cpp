// Binary DXF to text: ezdxf writes one drawing both ways and the converted binary holds the
// text file's pairs; small files built here hold every form of value, and damaged ones (any
// prefix of a sound file among them) give a reason naming a byte offset inside the file.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "import/dxf/dxf_binary.h"
#include "import/dxf/dxf_pairs.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"

namespace {

// Little-endian bytes of a number, and a NUL-terminated string.
std::string Le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i, value >>= 8) {
        out += static_cast<char>(value & 0xFF);
    }
    return out;
}
std::string Le(double value) {
    return Le(std::bit_cast<std::uint64_t>(value), 8);
}
std::string Z(std::string_view text) {
    return std::string(text) + '\0';
}

// A binary file of (group code, value bytes) pairs: one-byte codes as R12 writes them (255
// and two bytes from 255 on), or two-byte codes.
std::string Binary(bool byteCodes, std::initializer_list<std::pair<unsigned, std::string>> pairs) {
    std::string out(kBinaryDxfSentinel);
    for (const auto& [code, value] : pairs) {
        out += byteCodes && code >= 255 ? "\xFF" + Le(code, 2) : Le(code, byteCodes ? 1 : 2);
        out += value;
    }
    return out;
}

// Every pair from the first code 0 on, as the text reader hands them over.
std::vector<std::pair<std::string, std::string>> PairsOf(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> all;
    CDxfPairReader reader(text);
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<CDxfPair> pairs;
    while (reader.NextEntity(name, line, pairs)) {
        all.emplace_back("0", name);
        for (const CDxfPair& pair : pairs) {
            all.emplace_back(pair.m_strCode, pair.m_strValue);
        }
    }
    EXPECT_EQ(reader.Error(), "");
    return all;
}

// Text files print numbers their own way ("1.0" for 1): values that read whole as numbers
// compare as numbers.
bool SameValue(const std::string& a, const std::string& b) {
    double x = 0;
    double y = 0;
    const auto ra = std::from_chars(a.data(), a.data() + a.size(), x);
    const auto rb = std::from_chars(b.data(), b.data() + b.size(), y);
    return a == b || (ra.ec == std::errc() && ra.ptr == a.data() + a.size() &&
                      rb.ec == std::errc() && rb.ptr == b.data() + b.size() && x == y);
}

TEST(DxfBinary, EzdxfBinaryHoldsThePairsOfItsTextForm) {
    CScratchFolder folder;
    if (!std::filesystem::exists("/usr/bin/python3") ||
        RunProgram(folder.Path(), {"/usr/bin/python3", "-c", "import ezdxf"}).exitCode != 0) {
        GTEST_SKIP() << "/usr/bin/python3 with python3-ezdxf is not installed";
    }
    const std::string script = QR_SOURCE_DIR "/tests/import_reader/ezdxf_binary_pair.py";
    const CProgramRun run = RunProgram(
        folder.Path(), {"/usr/bin/python3", script, folder.Path().string(), "R12", "R2000"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const std::string version : {"R12", "R2000"}) {
        SCOPED_TRACE(version);
        const std::string binary = ReadFile(folder / (version + ".bin.dxf"));
        CDxfBinaryText converted;
        std::string error;
        ASSERT_TRUE(BinaryDxfToText(binary, converted, error)) << error;
        EXPECT_EQ(converted.m_bByteCodes, version == "R12");
        const auto expected = PairsOf(ReadFile(folder / (version + ".dxf")));
        const auto pairs = PairsOf(converted.m_strText);
        ASSERT_EQ(pairs.size(), expected.size());
        ASSERT_EQ(converted.m_anPairOffset.size(), pairs.size());
        for (std::size_t k = 0; k < pairs.size(); ++k) {
            SCOPED_TRACE("pair " + std::to_string(k));
            EXPECT_EQ(pairs[k].first, expected[k].first);
            EXPECT_TRUE(SameValue(pairs[k].second, expected[k].second))
                << pairs[k].second << " against " << expected[k].second;
            // A code 0 pair's offset is where its code and then the name stand.
            if (pairs[k].first == "0") {
                const std::size_t at = converted.m_anPairOffset[k] + (version == "R12" ? 1 : 2);
                EXPECT_EQ(binary.substr(at - 1, pairs[k].second.size() + 2),
                          std::string(1, '\0') + pairs[k].second + '\0');
            }
        }
    }
}

struct CBinaryCase {
    const char* m_pszName;
    std::string m_strBytes;
    std::string m_strResult; // the text, or the error's start
};

TEST(DxfBinary, ConvertsSoundFilesAndNamesTheOffsetOfDamage) {
    const double inf = std::numeric_limits<double>::infinity();
    const CBinaryCase cases[] = {
        {"every form of value, one-byte codes",
         Binary(true, {{0, Z("3DFACE")},
                       {10, Le(0.1)},
                       {20, Le(-inf)},
                       {70, Le(0xFFFE, 2)},
                       {90, Le(0x80000000u, 4)},
                       {160, Le(1ull << 40, 8)},
                       {290, Le(1, 1)},
                       {1004, "\x02\xAB\x01"},
                       {1071, Le(7, 4)},
                       {1000, Z("two\nlines")},
                       {0, Z("EOF")}}) +
             "\xFE junk",
         "0\n3DFACE\n10\n0.1\n20\n-1e999\n70\n-2\n90\n-2147483648\n160\n1099511627776\n290\n1\n"
         "1004\nAB01\n1071\n7\n1000\ntwo lines\n0\nEOF\n"},
        {"two-byte codes after $ACADVER AC1015, no EOF",
         Binary(false, {{0, Z("SECTION")},
                        {9, Z("$ACADVER")},
                        {1, Z("AC1015")},
                        {310, std::string("\x01\x00", 2)},
                        {1071, Le(5, 4)}}),
         "0\nSECTION\n9\n$ACADVER\n1\nAC1015\n310\n00\n1071\n5\n"},
        {"not binary", "AutoCAD Binary DXF\r\n0\nEOF\n", "byte offset 0: not a binary DXF"},
        {"unknown code", Binary(true, {{0, Z("SECTION")}, {85, Z("x")}}),
         "byte offset 31: group code 85 is not"},
        {"string without NUL", Binary(true, {{0, "SECTION"}}),
         "byte offset 22: the string of group code 0 has no closing NUL"},
        {"NaN", Binary(true, {{40, Le(std::numeric_limits<double>::quiet_NaN())}}),
         "byte offset 22: group code 40 holds a NaN"},
        {"chunk cut short", Binary(true, {{310, "\x05\x01"}}),
         "byte offset 22: the binary chunk of group code 310 holds 5 bytes, 1 remain"},
    };
    for (const CBinaryCase& c : cases) {
        SCOPED_TRACE(c.m_pszName);
        CDxfBinaryText out;
        std::string error;
        const bool converted = BinaryDxfToText(c.m_strBytes, out, error);
        EXPECT_EQ(converted ? out.m_strText : error.substr(0, c.m_strResult.size()), c.m_strResult);
        if (!converted) {
            continue;
        }
        // Every prefix, held in a buffer of its own size so that a read past it is caught:
        // whole pairs read as the start of the full text, or a reason at an offset inside.
        for (std::size_t size = 0; size < c.m_strBytes.size(); ++size) {
            const std::vector<char> prefix(c.m_strBytes.begin(),
                                           c.m_strBytes.begin() + static_cast<long>(size));
            CDxfBinaryText part;
            std::string reason;
            // A prefix cut before $ACADVER is taken for R12, and may read as something else.
            if (BinaryDxfToText(std::string_view(prefix.data(), size), part, reason)) {
                EXPECT_TRUE(part.m_bByteCodes != out.m_bByteCodes ||
                            out.m_strText.starts_with(part.m_strText))
                    << size;
            } else {
                ASSERT_TRUE(reason.starts_with("byte offset ")) << reason;
                EXPECT_LT(std::stoull(reason.substr(12)), std::max<std::size_t>(size, 1)) << reason;
            }
        }
    }
}

} // namespace
