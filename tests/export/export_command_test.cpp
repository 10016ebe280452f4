// The export command end to end: exchange file in, settings, dialog, DXF out,
// messages in the transcript. The exchange file must never change.
#include "export/export_command.h"

#include "tests/support/exported_dxf.h"
#include "tests/support/file_contents.h"
#include "tests/support/scene_parts.h"
#include "tests/support/test_application.h"
#include "tests/support/test_host.h"

#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace fs = std::filesystem;

namespace {

std::string Summary(int points, int polygons, int parts) {
    return std::string(19, ' ') + "OK - Export was successful\n\n-- DXF EXPORT INFO " +
           std::string(67, '-') + "\n\n  Points Count: " + std::to_string(points) +
           "\n  Polygons Count: " + std::to_string(polygons) +
           "\n  Parts Count: " + std::to_string(parts) + "\n";
}

std::string InfoBox(const std::string& text) {
    return "[message icon=warning buttons=ok]\n" + text + "\n[end]\n";
}

// Answers the Save As dialog with a fixed path and records how it was asked.
class CRecordingDialogs : public CUserDialogs {
  public:
    explicit CRecordingDialogs(std::string savePath) : m_savePath(std::move(savePath)) {}
    int Ask(const std::string&, MessageIcon, MessageButtons buttons) override {
        return buttons == MessageButtons::YesNo ? IDNO : IDOK;
    }
    std::string ChooseOpenFile(const std::string&, const std::string&) override {
        ++m_nOpenCalls;
        return {};
    }
    std::string ChooseSaveFile(const std::string& filter, const std::string& defaultExt) override {
        ++m_nSaveCalls;
        m_filter = filter;
        m_defaultExt = defaultExt;
        return m_savePath;
    }

    std::string m_savePath;
    int m_nSaveCalls = 0;
    int m_nOpenCalls = 0;
    std::string m_filter;
    std::string m_defaultExt;
};

// A host folder with an exchange file, an in-memory profile pointing at it,
// recorded dialogs and a transcript. Exports go beside the host folder.
class ExportCommand : public ::testing::Test {
  protected:
    void SetUp() override { m_host.NameIn(m_test.App()); }

    void Set(const std::string& key, const std::string& value) {
        m_test.Profile().Write("Karvel", key, value);
    }

    fs::path ExchangePath() const { return m_host.ExchangePath(); }

    void WriteScene(CSceneDocument& doc) { m_host.WriteScene(doc); }

    // Runs the command and checks what every run must hold: result 2 and an
    // exchange file byte for byte as before.
    void Run() {
        const bool had = fs::exists(ExchangePath());
        const std::string before = had ? ReadFile(ExchangePath()) : "";
        EXPECT_EQ(RunExportCommand(m_test.App()), 2);
        EXPECT_EQ(fs::exists(ExchangePath()), had);
        if (had) {
            EXPECT_TRUE(ReadFile(ExchangePath()) == before) << "the exchange file changed";
        }
    }

    // The profile reads of section "Karvel", in order.
    std::vector<std::string> KarvelReads() const {
        std::vector<std::string> keys;
        for (const auto& [section, key] : m_test.Profile().GetReads())
            if (section == "Karvel")
                keys.push_back(key);
        return keys;
    }

    void WriteTwoPartScene() {
        CSceneDocument doc;
        AddPart(doc, "Roof 1", {{0, 0, 0}, {1, 0, 0}, {1, 2, 3}}, {{0, 1, 2}}, {0, 0, 0});
        AddPart(doc, "Wall", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}},
                {10, 0, -5});
        WriteScene(doc);
    }

    CTestHost m_host;
    const fs::path& m_dir = m_host.Scratch();
    CRecordingDialogs* m_dialogs = new CRecordingDialogs(""); // owned by m_test
    CTestApplication m_test{std::unique_ptr<CUserDialogs>(m_dialogs)};
};

const std::string kTwoPartEntities = Crlf("  0\n3DFACE\n  8\nRoof_1\n"
                                          " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
                                          " 11\n1.000000\n 21\n0.000000\n 31\n0.000000\n"
                                          " 12\n1.000000\n 22\n3.000000\n 32\n2.000000\n"
                                          " 13\n1.000000\n 23\n3.000000\n 33\n2.000000\n"
                                          "  0\n3DFACE\n  8\nWall\n"
                                          " 10\n10.000000\n 20\n-5.000000\n 30\n0.000000\n"
                                          " 11\n11.000000\n 21\n-5.000000\n 31\n0.000000\n"
                                          " 12\n11.000000\n 22\n-5.000000\n 32\n1.000000\n"
                                          " 13\n10.000000\n 23\n-5.000000\n 33\n1.000000\n");

std::string TwoPartDxf(const std::string& roofLayer) {
    std::string entities = kTwoPartEntities;
    if (roofLayer != "Roof_1")
        entities.replace(entities.find("Roof_1"), 6, roofLayer);
    return ExportedDxf({roofLayer, "Wall"}, entities);
}

} // namespace

TEST_F(ExportCommand, DefaultsWhenTheKeysAreMissing) {
    WriteTwoPartScene();
    const auto out = m_dir / "out.dxf";
    m_dialogs->m_savePath = out.string();
    Run();
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 1);
    EXPECT_EQ(m_dialogs->m_filter, "DXF Object (*.dxf)|*.dxf|All Files (*.*)|*.*");
    EXPECT_EQ(m_dialogs->m_defaultExt, ".dxf");
    EXPECT_EQ(m_dialogs->m_nOpenCalls, 0);
    // Renaming on, no flip, summary shown.
    EXPECT_EQ(ReadFile(out), TwoPartDxf("Roof_1"));
    EXPECT_EQ(m_test.Transcript(), InfoBox(Summary(7, 2, 2)));
    EXPECT_EQ(KarvelReads(), (std::vector<std::string>{"export_rename", "export_flip_poly",
                                                       "export_use_def_dxf", "export_view_info"}));
}

TEST_F(ExportCommand, RenameOffOrNotExactlyOneKeepsPartNames) {
    WriteTwoPartScene();
    for (const char* value : {"0", "2", "-1"}) {
        SCOPED_TRACE(value);
        Set("export_rename", value);
        const auto out = m_dir / (std::string("r") + value + ".dxf");
        m_dialogs->m_savePath = out.string();
        Run();
        EXPECT_EQ(ReadFile(out), TwoPartDxf("Roof 1"));
    }
}

TEST_F(ExportCommand, DefaultPathOverwritesWithoutAsking) {
    WriteTwoPartScene();
    const auto out = m_dir / "default.dxf";
    WriteFile(out, "an older export");
    Set("export_use_def_dxf", "1");
    Set("export_def_dxf", out.string());
    Run();
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 0);
    EXPECT_EQ(ReadFile(out), TwoPartDxf("Roof_1"));
    EXPECT_EQ(m_test.Transcript(), InfoBox(Summary(7, 2, 2)));
    EXPECT_EQ(KarvelReads(),
              (std::vector<std::string>{"export_rename", "export_flip_poly", "export_use_def_dxf",
                                        "export_view_info", "export_def_dxf"}));
}

TEST_F(ExportCommand, DefaultPathEmptyWritesNothingAndSaysNothing) {
    WriteTwoPartScene();
    Set("export_use_def_dxf", "1");
    m_dialogs->m_savePath = (m_dir / "never.dxf").string();
    Run();
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 0);
    EXPECT_EQ(m_test.Transcript(), "");
    EXPECT_EQ(CountFiles(m_dir), 1); // the host folder only
}

TEST_F(ExportCommand, UseDefaultOtherThanOneShowsTheDialog) {
    WriteTwoPartScene();
    Set("export_use_def_dxf", "2");
    Set("export_def_dxf", (m_dir / "default.dxf").string());
    const auto out = m_dir / "chosen.dxf";
    m_dialogs->m_savePath = out.string();
    Run();
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 1);
    EXPECT_TRUE(fs::exists(out));
    EXPECT_FALSE(fs::exists(m_dir / "default.dxf"));
    // export_def_dxf is read only when it is used.
    EXPECT_EQ(KarvelReads().size(), 4u);
}

TEST_F(ExportCommand, CancelWritesNothing) {
    WriteTwoPartScene();
    m_dialogs->m_savePath = "";
    Run();
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 1);
    EXPECT_EQ(m_test.Transcript(), "");
    EXPECT_EQ(CountFiles(m_dir), 1);
}

TEST_F(ExportCommand, ViewInfoOffWritesWithoutMessage) {
    WriteTwoPartScene();
    for (const char* value : {"0", "2"}) {
        Set("export_view_info", value);
        const auto out = m_dir / (std::string("v") + value + ".dxf");
        m_dialogs->m_savePath = out.string();
        m_test.ClearTranscript();
        Run();
        EXPECT_EQ(ReadFile(out), TwoPartDxf("Roof_1"));
        EXPECT_EQ(m_test.Transcript(), "");
    }
}

TEST_F(ExportCommand, TwoFlippedExportsInARowGiveTheSameFile) {
    CSceneDocument doc;
    AddPart(doc, "A", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
            {{0, 1, 2}, {0, 1, 2, 3}, {0, 1, 2, 3, 0}});
    WriteScene(doc);
    Set("export_flip_poly", "1");
    m_dialogs->m_savePath = (m_dir / "one.dxf").string();
    Run();
    m_dialogs->m_savePath = (m_dir / "two.dxf").string();
    Run();
    const std::string one = ReadFile(m_dir / "one.dxf");
    EXPECT_EQ(one, ReadFile(m_dir / "two.dxf"));

    Set("export_flip_poly", "0");
    m_dialogs->m_savePath = (m_dir / "plain.dxf").string();
    Run();
    const std::string plain = ReadFile(m_dir / "plain.dxf");
    EXPECT_NE(one, plain);
    // Flipped: the triangle starts at its last corner.
    EXPECT_NE(one.find("  8\r\nA\r\n 10\r\n1.000000\r\n 20\r\n0.000000\r\n 30\r\n1.000000\r\n"),
              std::string::npos);
    EXPECT_NE(plain.find("  8\r\nA\r\n 10\r\n0.000000\r\n 20\r\n0.000000\r\n 30\r\n0.000000\r\n"),
              std::string::npos);
}

TEST_F(ExportCommand, WrongMagicShowsInvalidFormatThenWritesAnEmptyDxf) {
    // A real scene file whose magic has one letter changed: the reader stops
    // at the magic, so the document stays empty.
    WriteTwoPartScene();
    std::string bytes = ReadFile(ExchangePath());
    const auto magic = bytes.find("QRCAD");
    ASSERT_NE(magic, std::string::npos);
    bytes[magic + 4] = 'X';
    WriteFile(ExchangePath(), bytes);
    const auto out = m_dir / "empty.dxf";
    m_dialogs->m_savePath = out.string();
    Run();
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 1);
    EXPECT_EQ(ReadFile(out), kEmptyDxf);
    const std::string transcript = m_test.Transcript();
    const auto invalid = transcript.find("\nInvalid File Format!\n[end]\n");
    ASSERT_NE(invalid, std::string::npos) << transcript;
    EXPECT_EQ(transcript.substr(transcript.find("[end]\n", invalid) + 6),
              InfoBox(Summary(0, 0, 0)));
}

TEST_F(ExportCommand, MissingExchangeFileWritesAnEmptyDxf) {
    const auto out = m_dir / "empty.dxf";
    m_dialogs->m_savePath = out.string();
    Run();
    EXPECT_EQ(ReadFile(out), kEmptyDxf);
    EXPECT_EQ(m_test.Transcript(), InfoBox(Summary(0, 0, 0)));
}

TEST_F(ExportCommand, DamagedExchangeFileIsReportedAndNothingIsWritten) {
    WriteTwoPartScene();
    const std::string whole = ReadFile(ExchangePath());
    // Cut inside the document record: after the magic, before the end.
    WriteFile(ExchangePath(), whole.substr(0, whole.size() / 2));
    m_dialogs->m_savePath = (m_dir / "never.dxf").string();
    Run();
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 0);
    EXPECT_FALSE(fs::exists(m_dir / "never.dxf"));
    const std::string transcript = m_test.Transcript();
    EXPECT_EQ(transcript.rfind("[message icon=stop buttons=ok]\n", 0), 0u) << transcript;
    EXPECT_NE(transcript.find(ExchangePath().string()), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("Nothing was exported."), std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("Export was successful"), std::string::npos);
}

// A scene file that is there but cannot be opened is not a missing one: an
// empty DXF would stand for a scene the host has.
TEST_F(ExportCommand, ExchangeFileThatCannotBeOpenedIsReportedAndNothingIsWritten) {
    // A link to itself: there, and no user (root included) can open it.
    fs::create_symlink("qrplugin.qrc", ExchangePath());
    m_dialogs->m_savePath = (m_dir / "never.dxf").string();
    EXPECT_EQ(RunExportCommand(m_test.App()), 2);
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 0);
    EXPECT_FALSE(fs::exists(m_dir / "never.dxf"));
    const std::string path = ExchangePath().string();
    EXPECT_EQ(m_test.Transcript(), "[message icon=stop buttons=ok]\nThe host's scene could not be "
                                   "read from the exchange file \"" +
                                       path + "\":\ncannot open \"" + path +
                                       "\": Too many levels of symbolic links\nNothing was "
                                       "exported.\n[end]\n");
    EXPECT_TRUE(fs::is_symlink(ExchangePath()));
}

TEST_F(ExportCommand, TargetBehindALinkIsWrittenThroughIt) {
    WriteTwoPartScene();
    fs::create_directory(m_dir / "out");
    WriteFile(m_dir / "out" / "site.dxf", "an older export");
    fs::create_symlink("out/site.dxf", m_dir / "site.dxf");
    // A dangling link names the file to create.
    fs::create_symlink("out/new.dxf", m_dir / "new.dxf");
    for (const char* name : {"site.dxf", "new.dxf"}) {
        SCOPED_TRACE(name);
        m_dialogs->m_savePath = (m_dir / name).string();
        Run();
        EXPECT_TRUE(fs::is_symlink(m_dir / name));
        EXPECT_EQ(ReadFile(m_dir / "out" / name), TwoPartDxf("Roof_1"));
    }
    EXPECT_EQ(CountFiles(m_dir / "out"), 2);
}

TEST_F(ExportCommand, UnwritableTargetIsReportedAndTheOldFileStaysWhole) {
    WriteTwoPartScene();
    const auto locked = m_dir / "locked.dxf";
    WriteFile(locked, "an older export");
    fs::permissions(locked, fs::perms::owner_read);
    const auto missing = m_dir / "no-such-folder" / "x.dxf";
    struct Case {
        fs::path path;
        std::string reason;
    };
    for (const Case& c :
         {Case{locked, "Permission denied"}, Case{missing, "No such file or directory"}}) {
        SCOPED_TRACE(c.path.string());
        m_dialogs->m_savePath = c.path.string();
        m_test.ClearTranscript();
        Run();
        EXPECT_EQ(
            m_test.Transcript(),
            "[message icon=stop buttons=ok]\nThe DXF file \"" + c.path.string() +
                "\" could not be written: " + c.reason +
                ".\nNothing was exported; an existing file of that name is unchanged.\n[end]\n");
    }
    EXPECT_EQ(ReadFile(locked), "an older export");
    EXPECT_FALSE(fs::exists(m_dir / "no-such-folder"));
    EXPECT_EQ(CountFiles(m_dir), 2);
}

// The export reads under the same lock as the import writes: while another
// run holds the scene, it waits, then stops before its dialog and writes nothing.
TEST_F(ExportCommand, SceneHeldByAnotherRunStopsTheExportWritingNothing) {
#ifndef QR_TEST_HOOKS
    GTEST_SKIP() << "needs QR_TEST_HOOKS to shorten the lock's wait";
#endif
    WriteTwoPartScene();
    CFileLock other;
    ASSERT_TRUE(other.Lock(ExchangePath().string() + ".lock", std::chrono::milliseconds(0)));
    m_dialogs->m_savePath = (m_dir / "never.dxf").string();
    ::setenv("QR_TEST_LOCK_WAIT_MS", "100", 1);
    Run();
    ::unsetenv("QR_TEST_LOCK_WAIT_MS");
    EXPECT_EQ(m_dialogs->m_nSaveCalls, 0);
    EXPECT_FALSE(fs::exists(m_dir / "never.dxf"));
    EXPECT_EQ(m_test.Transcript(),
              "[message icon=stop buttons=ok]\nThe exchange file \"" + ExchangePath().string() +
                  "\" is in use: another run of a plug-in holds it, and it was still holding it "
                  "after 0.1 seconds.\nNothing was exported.\n[end]\n");

    other.Unlock();
    m_test.ClearTranscript();
    Run();
    EXPECT_EQ(ReadFile(m_dir / "never.dxf"), TwoPartDxf("Roof_1"));
    EXPECT_EQ(CountFiles(m_host.PluginFolder()), 1u); // no lock file left
}

// Where no lock file can be made (here: no plug-in folder at all) there is no
// scene another run could write either: the export goes on as it always did.
TEST_F(ExportCommand, NoPluginFolderNeedsNoLockAndExportsAnEmptyScene) {
    fs::remove_all(m_host.PluginFolder());
    const auto out = m_dir / "empty.dxf";
    m_dialogs->m_savePath = out.string();
    Run();
    EXPECT_EQ(ReadFile(out), kEmptyDxf);
    EXPECT_EQ(m_test.Transcript(), InfoBox(Summary(0, 0, 0)));
    EXPECT_FALSE(fs::exists(m_host.PluginFolder()));
}
