// The LScript text byte for byte, the refusals, and writing the file.
#include "prefs/lscript_generator.h"

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class LScriptFile : public ::testing::Test {
  protected:
    std::string PluginDir() const { return m_dir.string() + "/"; }
    std::size_t FileCount() const { return CountFiles(m_dir); }

    CScratchFolder m_scratch;
    const fs::path& m_dir = m_scratch.Path();
};

std::string Build(const std::string& path) {
    std::string text;
    const CStatus built = BuildLScriptText(path, text);
    EXPECT_TRUE(built) << built.GetReason();
    EXPECT_EQ(built.GetReason(), "");
    return text;
}

} // namespace

TEST(LScriptText, EmptyPath) {
    EXPECT_EQ(Build(""),
              "main\r\n{\r\n  save(\"\");\r\n  info(\"OK - object was saved as \");\r\n}");
}

TEST(LScriptText, BackslashesBecomeForwardSlashes) {
    EXPECT_EQ(Build("C:\\LW\\Objects\\crate 1.lwo"),
              "main\r\n{\r\n  save(\"C:/LW/Objects/crate 1.lwo\");\r\n"
              "  info(\"OK - object was saved as C:/LW/Objects/crate 1.lwo\");\r\n}");
    EXPECT_EQ(Build("\\\\server\\\\share\\"),
              "main\r\n{\r\n  save(\"//server//share/\");\r\n"
              "  info(\"OK - object was saved as //server//share/\");\r\n}");
}

TEST(LScriptText, ForwardSlashesStay) {
    EXPECT_EQ(Build("/home/u/objects/site.lwo"),
              "main\r\n{\r\n  save(\"/home/u/objects/site.lwo\");\r\n"
              "  info(\"OK - object was saved as /home/u/objects/site.lwo\");\r\n}");
}

TEST(LScriptText, RefusesWhatWouldBreakTheStringLiteral) {
    for (const std::string path : {"C:\\a\".lwo", "\"", "a\");run(\"evil", "a\nb", "a\rb"}) {
        std::string text = "untouched";
        const CStatus built = BuildLScriptText(path, text);
        EXPECT_FALSE(built) << path;
        EXPECT_FALSE(built.GetReason().empty()) << path;
        EXPECT_EQ(text, "untouched") << path;
    }
}

TEST_F(LScriptFile, WritesTheScriptIntoThePluginFolder) {
    const CStatus written = WriteLScript(PluginDir(), "D:\\objs\\x.lwo");
    ASSERT_TRUE(written) << written.GetReason();
    EXPECT_EQ(GetLScriptPath(PluginDir()), PluginDir() + "Karvel.ls");
    EXPECT_EQ(ReadFile(m_dir / "Karvel.ls"),
              "main\r\n{\r\n  save(\"D:/objs/x.lwo\");\r\n"
              "  info(\"OK - object was saved as D:/objs/x.lwo\");\r\n}");
    EXPECT_EQ(FileCount(), 1u) << "no temporary file left behind";
}

TEST_F(LScriptFile, OverwritesAnExistingScript) {
    WriteFile(m_dir / "Karvel.ls", std::string(500, 'x'));
    ASSERT_TRUE(WriteLScript(PluginDir(), ""));
    EXPECT_EQ(ReadFile(m_dir / "Karvel.ls"),
              "main\r\n{\r\n  save(\"\");\r\n  info(\"OK - object was saved as \");\r\n}");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(LScriptFile, DoubleQuoteIsRefusedAndNothingWritten) {
    const CStatus written = WriteLScript(PluginDir(), "C:\\evil\".lwo");
    EXPECT_FALSE(written);
    EXPECT_NE(written.GetReason().find("double quote"), std::string::npos) << written.GetReason();
    EXPECT_EQ(FileCount(), 0u);
}

TEST_F(LScriptFile, RefusalKeepsAnExistingScriptWhole) {
    ASSERT_TRUE(WriteLScript(PluginDir(), "/a.lwo"));
    const std::string before = ReadFile(m_dir / "Karvel.ls");
    EXPECT_FALSE(WriteLScript(PluginDir(), "/b\".lwo"));
    EXPECT_EQ(ReadFile(m_dir / "Karvel.ls"), before);
}

TEST_F(LScriptFile, ScriptBehindALinkIsWrittenThroughIt) {
    fs::create_directory(m_dir / "shared");
    WriteFile(m_dir / "shared" / "Karvel.ls", "old");
    fs::create_symlink("shared/Karvel.ls", m_dir / "Karvel.ls");
    ASSERT_TRUE(WriteLScript(PluginDir(), "/a.lwo"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "Karvel.ls"));
    EXPECT_EQ(
        ReadFile(m_dir / "shared" / "Karvel.ls"),
        "main\r\n{\r\n  save(\"/a.lwo\");\r\n  info(\"OK - object was saved as /a.lwo\");\r\n}");
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(LScriptFile, MissingPluginFolderIsReportedAndNoFileMade) {
    const std::string missing = PluginDir() + "PlugIns/";
    const CStatus written = WriteLScript(missing, "/a.lwo");
    EXPECT_FALSE(written);
    EXPECT_EQ(GetLScriptPath(missing), missing + "Karvel.ls");
    EXPECT_EQ(written.GetReason(), "No such file or directory");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(FileCount(), 0u);
}
