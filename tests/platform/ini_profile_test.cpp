#include "platform/ini_profile.h"
#include "platform/memory_profile.h"

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_application.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

CApplication MakeApp(const std::string& path) {
    return CApplication(std::make_unique<CIniProfile>(path), nullptr, nullptr);
}

} // namespace

TEST(IniProfile, MissingFileGivesDefaults) {
    CScratchFolder folder;
    CApplication app = MakeApp(folder / "none/Quarrion.ini");
    EXPECT_EQ(app.GetProfileInt("Karvel", "flip_poly", 1), 1);
    EXPECT_EQ(app.GetProfileInt("Karvel", "view_info", -5), -5);
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo", "fallback"), "fallback");
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo"), "");
    EXPECT_FALSE(std::filesystem::exists(folder / "none")) << "reading must not create anything";
}

TEST(IniProfile, WriteCreatesFolderAndFile) {
    CScratchFolder folder;
    const std::string path = folder / "Orvane/deeper/Quarrion.ini";
    CApplication app = MakeApp(path);
    EXPECT_TRUE(app.WriteProfileInt("Karvel", "flip_poly", 0));
    EXPECT_TRUE(app.WriteProfileString("Paths", "ApplicationPath", "/opt/quarrion"));
    EXPECT_EQ(ReadFile(path), "[Karvel]\nflip_poly=0\n\n[Paths]\nApplicationPath=/opt/quarrion\n");
}

TEST(IniProfile, ValueWrittenByOneInstanceIsReadByAnother) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    CApplication writer = MakeApp(path);
    CApplication reader = MakeApp(path);
    EXPECT_EQ(reader.GetProfileInt("Karvel", "use_def_lwo", 0), 0);
    ASSERT_TRUE(writer.WriteProfileInt("Karvel", "use_def_lwo", 1));
    EXPECT_EQ(reader.GetProfileInt("Karvel", "use_def_lwo", 0), 1) << "no caching between reads";
    ASSERT_TRUE(writer.WriteProfileInt("Karvel", "use_def_lwo", 7));
    EXPECT_EQ(reader.GetProfileInt("Karvel", "use_def_lwo", 0), 7);
}

TEST(IniProfile, ValueWrittenByAnotherProcessIsRead) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    CApplication reader = MakeApp(path);
    EXPECT_EQ(reader.GetProfileString("Karvel", "def_lwo", "none"), "none");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CApplication writer = MakeApp(path);
        const bool ok = writer.WriteProfileString("Karvel", "def_lwo", "/data/crate.lwo") &&
                        writer.WriteProfileInt("Karvel", "vzdy_update", -1);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(reader.GetProfileString("Karvel", "def_lwo", "none"), "/data/crate.lwo");
    EXPECT_EQ(reader.GetProfileInt("Karvel", "vzdy_update", 0), -1);
}

TEST(IniProfile, SaveKeepsOtherSectionsKeysCommentsAndMalformedLines) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    const std::string before = "; written by hand\n"
                               "stray=before any section\n"
                               "[Window]\n"
                               "left=10\n"
                               "# another comment\n"
                               "this line is garbage\n"
                               "\n"
                               "[Karvel]\n"
                               "def_lwo = /old/path.lwo \n"
                               "flip_poly=1\n"
                               "[broken\n"
                               "\n"
                               "[Other]\n"
                               "x=y\n";
    WriteFile(path, before);
    CApplication app = MakeApp(path);
    ASSERT_TRUE(app.WriteProfileInt("Karvel", "flip_poly", 0));            // replaced in place
    ASSERT_TRUE(app.WriteProfileInt("Karvel", "view_info", 1));            // added after flip_poly
    ASSERT_TRUE(app.WriteProfileString("paths", "ApplicationPath", "/q")); // new section
    EXPECT_EQ(ReadFile(path), "; written by hand\n"
                              "stray=before any section\n"
                              "[Window]\n"
                              "left=10\n"
                              "# another comment\n"
                              "this line is garbage\n"
                              "\n"
                              "[Karvel]\n"
                              "def_lwo = /old/path.lwo \n"
                              "flip_poly=0\n"
                              "view_info=1\n"
                              "[broken\n"
                              "\n"
                              "[Other]\n"
                              "x=y\n"
                              "\n"
                              "[paths]\n"
                              "ApplicationPath=/q\n");
}

TEST(IniProfile, MalformedLinesAreSkippedOnReading) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    WriteFile(path, "orphan=1\n"
                    "[Karvel\n"
                    "garbage\n"
                    "=novalue\n"
                    "[Karvel]\n"
                    "\x01\x02\xff binary junk\n"
                    "nokey\n"
                    "  view_info  =  0  \r\n"
                    "def_lwo=a=b\n"
                    "[]\n"
                    "flip_poly=1\n");
    CApplication app = MakeApp(path);
    EXPECT_EQ(app.GetProfileInt("Karvel", "orphan", 5), 5) << "keys outside a section are ignored";
    EXPECT_EQ(app.GetProfileInt("Karvel", "view_info", 1), 0) << "blanks and CR trimmed";
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo"), "a=b") << "only the first = splits";
    EXPECT_EQ(app.GetProfileInt("Karvel", "flip_poly", 0), 1) << "[] is no section header";
    EXPECT_EQ(app.GetProfileString("Karvel", "garbage", "d"), "d");
    EXPECT_EQ(app.GetProfileString("Karvel", "", "d"), "d");
}

TEST(IniProfile, NamesCompareWithoutRegardToAsciiCase) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    WriteFile(path, "[PATHS]\nAPPLICATIONPATH=/host\n");
    CApplication app = MakeApp(path);
    EXPECT_EQ(app.GetProfileString("Paths", "ApplicationPath"), "/host");
    ASSERT_TRUE(app.WriteProfileString("paths", "applicationpath", "/other"));
    EXPECT_EQ(ReadFile(path), "[PATHS]\napplicationpath=/other\n");
}

TEST(IniProfile, SaveLeavesNoTemporaryFiles) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    CApplication app = MakeApp(path);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(app.WriteProfileInt("Karvel", "k" + std::to_string(i % 3), i));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Quarrion.ini"});
    EXPECT_EQ(ReadFile(path), "[Karvel]\nk0=18\nk1=19\nk2=17\n");
}

TEST(IniProfile, FailedSaveLeavesTheOldFileWhole) {
    CScratchFolder folder;
    // The profile's folder is a file: neither the folder nor the temporary file can be made.
    WriteFile(folder / "blocker", "keep me\n");
    CApplication app = MakeApp(folder / "blocker/Quarrion.ini");
    EXPECT_FALSE(app.WriteProfileInt("Karvel", "flip_poly", 1));
    EXPECT_EQ(ReadFile(folder / "blocker"), "keep me\n");
}

// Every value reads back byte for byte through the file, outer blanks and
// quotes included; only those that need it are written between quotes.
TEST(IniProfile, ValuesReadBackExactlyAsWritten) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    struct Case {
        const char* value;
        const char* line; // as it stands in the file
    };
    const Case cases[] = {
        {"C:\\Objects\\crate.lwo", "C:\\Objects\\crate.lwo"},
        {"/objects/boat.lwo ", "\"/objects/boat.lwo \""},
        {" /lead", "\" /lead\""},
        {"\t tab ", "\"\t tab \""},
        {"  ", "\"  \""},
        {"", ""},
        {"\"quoted\"", "\"\"quoted\"\""},
        {"\"", "\"\"\""},
        {"\"open", "\"\"open\""},
        {"in \"the\" middle", "in \"the\" middle"},
        {"ends\"", "ends\""},
        {"a = b ; c", "a = b ; c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CApplication writer = MakeApp(path);
        ASSERT_TRUE(writer.WriteProfileString("Karvel", "def_lwo", c.value));
        EXPECT_EQ(ReadFile(path), std::string("[Karvel]\ndef_lwo=") + c.line + "\n");
        CApplication reader = MakeApp(path);
        EXPECT_EQ(reader.GetProfileString("Karvel", "def_lwo", "<missing>"), c.value);
    }
}

// Files written by hand or by earlier versions: blanks around a value are not
// part of it, as before, and a pair of double quotes around it is taken off, as
// the host system's own profile functions do.
TEST(IniProfile, ValuesWrittenByOthersAreTrimmedAndUnquoted) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    WriteFile(path,
              "[Karvel]\ndef_lwo =  /a b.lwo \t\r\nexport_def_dxf=\t\"/x.dxf\"  \nflip_poly= 1 \n"
              "view_info=\"\n");
    CApplication app = MakeApp(path);
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo"), "/a b.lwo");
    EXPECT_EQ(app.GetProfileString("Karvel", "export_def_dxf"), "/x.dxf");
    EXPECT_EQ(app.GetProfileInt("Karvel", "flip_poly", 7), 1);
    // A lone quote is no pair.
    EXPECT_EQ(app.GetProfileString("Karvel", "view_info"), "\"");
}

TEST(IniProfile, RefusesWhatCannotBeReadBack) {
    CScratchFolder folder;
    const std::string path = folder / "Quarrion.ini";
    CApplication app = MakeApp(path);
    EXPECT_FALSE(app.WriteProfileString("Karvel", "def_lwo", "two\nlines"));
    EXPECT_FALSE(app.WriteProfileString("Karvel", "a=b", "x"));
    EXPECT_FALSE(app.WriteProfileString("Kar]vel", "a", "x"));
    EXPECT_FALSE(app.WriteProfileString("Karvel", "", "x"));
    EXPECT_FALSE(app.WriteProfileString("", "a", "x"));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ProfileInt, ParsesDecimalWrapsTo32BitsAndRejectsNonNumbers) {
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"42", 42},
        {" -7 ", -7},
        {"+3", 3},
        {"0", 0},
        {"2147483647", 2147483647},
        {"4294967295", -1},
        {"4294967296", 0},
        {"2147483648", -2147483647 - 1},
        {"abc", 99},
        {"12abc", 99},
        {"", 99},
        {"-", 99},
        {"0x10", 99},
        {"1 2", 99},
    };
    for (const Case& c : cases) {
        CTestApplication app;
        app.Profile().Write("Karvel", "n", c.text);
        EXPECT_EQ(app.App().GetProfileInt("Karvel", "n", 99), c.expected)
            << "text \"" << c.text << '"';
    }
}

TEST(MemoryProfile, RecordsReadsInOrderAndRoundTripsValues) {
    auto owned = std::make_unique<CMemoryProfile>();
    CMemoryProfile& profile = *owned;
    CApplication app(std::move(owned), nullptr, nullptr);
    EXPECT_TRUE(app.WriteProfileInt("Karvel", "flip_poly", -3));
    EXPECT_EQ(app.GetProfileInt("Karvel", "flip_poly", 1), -3);
    EXPECT_EQ(app.GetProfileString("Karvel", "def_lwo", "d"), "d");
    using Read = std::pair<std::string, std::string>;
    EXPECT_EQ(profile.GetReads(),
              (std::vector<Read>{{"Karvel", "flip_poly"}, {"Karvel", "def_lwo"}}));
}
