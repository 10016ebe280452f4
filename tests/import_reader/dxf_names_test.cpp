// Layer names as part names: code pages before R2007, UTF-8 after, \U+XXXX in every version,
// and the header variables that say which. Code page bytes are written by hand from the code
// page charts, or by ezdxf; the UTF-8 is the source text's own.
#include "import/dxf/dxf_names.h"

#include "import/dxf/dxf_pairs.h"
#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct CNameCase {
    std::string_view acadver;
    std::string_view codePage;
    std::string raw;
    std::string name;
};

TEST(DxfNames, CodePagesBeforeR2007Utf8AfterAndEscapesInEveryVersion) {
    const CNameCase cases[] = {
        {"AC1015", "ANSI_1251", "\xD1\xF2\xE5\xED\xE0", "Стена"},
        {"AC1009", "ansi_1252", "M\xFCll", "Müll"},
        {"", "ANSI_1251", "\xD1\xF2\xE5\xED\xE0", "Стена"}, // $ACADVER absent
        {"AC1018", "DOS866", "M\xFCll", "Müll"},            // not an ANSI code page: 1252
        {"AC1015", "ANSI_932", "\x95\x5C\x8E\xA6\x90\x7D\x96\xCA", "表示図面"},
        {"AC1015", "ANSI_932", "\x95\x5CU+00FC", "表U+00FC"}, // that '\' is half of 表
        {"AC1015", "ANSI_932", "a\\b~c", "a\\b~c"},           // ASCII alone is ASCII
        {"AC1015", "ANSI_1253", "\xAA", "\xEF\xBF\xBD"},      // undefined in 1253
        {"AC1021", "ANSI_1251", "Стена", "Стена"},
        {"AC1021", "", "M\xFC", "M\xFC"}, // not UTF-8: kept, not judged
        // The escape, in every version and with or without a code page.
        {"AC1009", "", "M\\U+00FCll", "Müll"},
        {"AC1015", "ANSI_1251", "\xD1\\U+00fc", "Сü"},
        {"AC1021", "ANSI_1252", "M\\U+00FCll", "Müll"},
        {"AC1027", "", "\\U+8868\\U+0041", "表A"},
        {"AC1015", "", "\\U+00FC1", "ü1"},
        {"AC1015", "", "\\\\U+00FC", "\\ü"},
        // Escapes that are none stay as they stand.
        {"AC1015", "", "M\\U+0FC", "M\\U+0FC"},
        {"AC1021", "", "M\\U+", "M\\U+"},
        {"AC1015", "ANSI_1252", "\\U+00G1", "\\U+00G1"},
        {"AC1015", "", "\\U+0000", "\\U+0000"},
        {"AC1021", "", "\\U+D83D\\U+DE00", "\\U+D83D\\U+DE00"},
        {"AC1015", "", "\\u+00FC", "\\u+00FC"},
        // Neither a code page nor an escape: the bytes as they always were.
        {"AC1015", "", "M\xFCll", "M\xFCll"},
        {"AC1015", "ANSI_1251", "", ""},
    };
    for (const CNameCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.acadver << " " << c.codePage << " \"" << c.name << '"');
        const CDxfNameDecoder decoder(c.acadver, c.codePage);
        EXPECT_EQ(decoder.Decode(c.raw), c.name);
        // Exact on Linux, where a decoded byte above ASCII always changes the name.
        EXPECT_EQ(decoder.KeepsBytes(c.raw), c.name == c.raw);
    }
    // No header at all reads as an old file without a code page.
    EXPECT_EQ(CDxfNameDecoder().Decode("M\xFC\\U+00FC"), "M\xFCü");
    EXPECT_TRUE(CDxfNameDecoder().KeepsBytes("M\xFC"));
}

// The layer of the file's one 3DFACE, and the header's names.
struct CLayerFile {
    std::string text;
    std::string_view acadver;
    std::string_view codePage;
    std::string_view layer;
};

void ReadLayerFile(CLayerFile& file) {
    FindDxfHeaderNames(file.text, file.acadver, file.codePage);
    CDxfPairReader reader(file.text);
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<CDxfPair> pairs;
    while (reader.NextEntity(name, line, pairs)) {
        if (name == "3DFACE" && FindDxfPair(pairs, "8") != nullptr) {
            file.layer = FindDxfPair(pairs, "8")->m_strValue;
        }
    }
}

TEST(DxfNames, HeaderNamesOfFilesEzdxfWroteDecodeTheirLayers) {
    if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Debian's python3-ezdxf is not installed";
    }
    struct {
        const char* version;
        const char* encoding;
        std::string_view acadver;
        std::string_view codePage;
    } const cases[] = {
        {"R12", "cp1251", "AC1009", "ANSI_1251"},
        {"R2000", "cp932", "AC1015", "ANSI_932"},
        {"R2018", "utf8", "AC1032", "ANSI_1252"},
    };
    // Ł is in none of these code pages, 表 not in 1251: ezdxf writes them as \U+XXXX.
    const std::string layer = "Ł Стена 表";
    CScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        const fs::path path = folder / (std::string(c.version) + ".dxf");
        const std::string command =
            "/usr/bin/python3 '" QR_SOURCE_DIR "/tests/import_reader/ezdxf_named_layer.py' " +
            std::string(c.version) + " " + c.encoding + " '" + layer + "' '" + path.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        CLayerFile file{ReadFile(path), {}, {}, {}};
        ReadLayerFile(file);
        EXPECT_EQ(file.acadver, c.acadver);
        EXPECT_EQ(file.codePage, c.codePage);
        const CDxfNameDecoder decoder(file.acadver, file.codePage);
        EXPECT_EQ(decoder.Decode(file.layer), layer);
    }
}

TEST(DxfNames, HeaderNamesAreOnlyThoseOfALeadingHeaderSection) {
    struct {
        std::string text;
        std::string_view acadver;
        std::string_view codePage;
    } const cases[] = {
        // CR LF and indented codes, as AutoCAD writes them; a variable with three values.
        {Dxf({{"999", "comment"},
              {"  0", "SECTION"},
              {"  2", "HEADER"},
              {"  9", "$EXTMIN"},
              {" 10", "0"},
              {" 20", "0"},
              {" 30", "0"},
              {"  9", "$DWGCODEPAGE"},
              {"  3", "ANSI_1250"},
              {"  9", "$ACADVER"},
              {"  1", "AC1012"},
              {"  0", "ENDSEC"}},
             "\r\n"),
         "AC1012", "ANSI_1250"},
        // A file without a header; variables further on are no header's.
        {Section(Dxf({{"0", "TEXT"}, {"9", "$ACADVER"}, {"1", "AC1021"}})) +
             Dxf({{"0", "SECTION"},
                  {"2", "HEADER"},
                  {"9", "$DWGCODEPAGE"},
                  {"3", "ANSI_1251"},
                  {"0", "ENDSEC"}}),
         "", ""},
        // A variable whose value is missing: the next pair is the next variable.
        {Dxf({{"0", "SECTION"},
              {"2", "HEADER"},
              {"9", "$ACADVER"},
              {"9", "$DWGCODEPAGE"},
              {"3", "ANSI_936"}}),
         "", "ANSI_936"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        std::string_view acadver = "stale";
        std::string_view codePage = "stale";
        FindDxfHeaderNames(c.text, acadver, codePage);
        EXPECT_EQ(acadver, c.acadver);
        EXPECT_EQ(codePage, c.codePage);
    }
}

} // namespace
