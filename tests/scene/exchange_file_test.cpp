#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include "tests/support/archive_bytes.h"
#include "tests/support/file_contents.h"
#include "tests/support/test_application.h"
#include "tests/support/test_host.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ExchangeFileTest : public ::testing::Test {
  protected:
    void SetUp() override { ExchangeState() = CExchangeState(); }

    // The host folder with an empty PlugIns folder, named in the profile.
    fs::path MakeHostFolder() {
        m_host.NameIn(m_app.App());
        return m_host.PluginFolder();
    }

    CTestApplication m_app;
    CTestHost m_host;
};

ByteVector WriteToMemory(CSceneDocument& doc) {
    CArchive ar;
    WriteExchangeArchive(doc, ar);
    return ar.TakeStoredBytes();
}

ExchangeStatus ReadFromMemory(CSceneDocument& doc, const ByteVector& bytes) {
    CArchive ar(bytes);
    const ExchangeStatus status = ReadExchangeArchive(doc, ar);
    EXPECT_EQ(ar.GetRemaining(), 0u);
    return status;
}

void AddGrid(CScenePart& part, int n, double offset) {
    for (int i = 0; i < n; ++i) {
        auto* p = new CScenePoint;
        p->Set(i * 0.25 + offset, (i % 3) * 1.5, i * i * 0.125);
        p->m_nTag = i;
        part.AddPoint(p);
    }
    for (int i = 0; i + 3 < n; i += 2) {
        auto* polygon = new CScenePolygon;
        for (int c = 0; c < (i % 4 == 0 ? 4 : 3); ++c)
            polygon->AddIndex(i + c);
        polygon->m_crColor = 0x102030 + i;
        polygon->m_nPolyAttr5 = 7;
        polygon->m_nPolyAttr6 = -2;
        polygon->m_material.m_strText = "mat" + std::to_string(i);
        if (i % 4 == 2)
            polygon->m_pairs.push_back({1, 2, 3, 4, 5, 6, 7, static_cast<std::uint8_t>(i)});
        part.AddPolygon(polygon);
    }
}

// A scene with several parts, materials, pairs, links, slots and host values
// that are not the defaults; the first write gives it the system's own
// derived values and link texts.
void MakeRichScene(CSceneDocument& doc, bool longTexts = true) {
    doc.m_nSetting1 = 3;
    doc.m_wSetting2 = 9;
    doc.m_wSetting3 = 64;
    doc.m_nSetting4 = -4;
    doc.m_nSetting5 = 5;
    doc.m_strLatNorth = "50:00:00.0000";
    doc.m_dRefAltitude = 12.5;
    doc.m_nNextPartId = 40;
    const char* names[] = {"Wing", "Flap", "Tail"};
    for (int k = 0; k < 3; ++k) {
        auto* part = new CScenePart;
        part->m_strName = names[k];
        part->m_crColor = 0x0000FF << (8 * k);
        part->m_transform.m_position.Set(k, -k, 0.5 * k);
        part->m_materials[static_cast<std::size_t>(k)].m_strText = std::string(300, 'm');
        part->m_nPartAttr30 = 30 + k;
        part->m_wPartAttr16 = 0xBEEF;
        part->m_strCondition = k == 2 ? "Never" : "Always";
        AddGrid(*part, 8 + 2 * k, k);
        doc.m_parts.Add(part);
    }
    doc.m_parts[1]->m_strLink = "wing.0";
    doc.m_parts[2]->m_nId = 7;
    doc.m_parts[0]->m_nLinkId = 7;
    CExchangeState& s = ExchangeState();
    s.m_strHostText1 = "host one";
    s.m_strHostText2 = "";
    s.m_strHostText3 = "three";
    s.m_strHostText4 = std::string(longTexts ? 70000 : 3, 'h');
    s.m_dHostValue = -3.75;
    s.m_nHostFlag = 0;
    s.m_strHostText5 = "five";
    for (int i = 0; i < 4; ++i) {
        s.m_slots[static_cast<std::size_t>(i)].m_nValue = 100 + i;
        s.m_slots[static_cast<std::size_t>(i)].m_point.Set(i, i + 0.5, -i);
        s.m_slots[static_cast<std::size_t>(i)].m_point.m_nTag = -i;
        s.m_slots[static_cast<std::size_t>(i)].m_strText = "slot" + std::to_string(i);
        s.m_slots[static_cast<std::size_t>(i)].m_dFactor = 0.5 * i;
    }
}

ByteVector MakeRichFile(bool longTexts = true) {
    CSceneDocument doc;
    MakeRichScene(doc, longTexts);
    return WriteToMemory(doc);
}

TEST_F(ExchangeFileTest, Format142FileComesBackByteForByte) {
    const ByteVector file = MakeRichFile();
    // The header as written: magic, version 1.42, then the host values.
    const ByteVector head =
        ByteBuilder().S("QRCAD").I32(1).I32(42).S("host one").S("").S("three").Bytes();
    ASSERT_TRUE(std::equal(head.begin(), head.end(), file.begin()));
    ExchangeState() = CExchangeState();

    CSceneDocument doc;
    ASSERT_EQ(ReadFromMemory(doc, file), ExchangeStatus::Read);
    const CExchangeState& s = ExchangeState();
    EXPECT_EQ(s.m_nFormatMajor, 1);
    EXPECT_EQ(s.m_nFormatMinor, 42);
    EXPECT_EQ(s.m_strHostText4.size(), 70000u);
    EXPECT_EQ(s.m_dHostValue, -3.75);
    EXPECT_EQ(s.m_nHostFlag, 0);
    EXPECT_EQ(s.m_slots[3].m_strText, "slot3");
    EXPECT_EQ(s.m_slots[2].m_dFactor, 1.0);
    ASSERT_EQ(doc.GetPartCount(), 3);
    EXPECT_EQ(doc.m_parts[1]->m_strLink, "Wing.0");
    EXPECT_EQ(doc.m_parts[0]->m_strLink, "Tail.2");
    EXPECT_EQ(doc.m_parts[2]->m_strCondition, "Never");
    EXPECT_EQ(doc.m_nNextPartId, 42);
    EXPECT_EQ(WriteToMemory(doc), file);

    // The same through the file functions.
    const fs::path plugins = MakeHostFolder();
    WriteFile(plugins / "qrplugin.qrc", file);
    ExchangeState() = CExchangeState();
    CSceneDocument fromFile;
    ASSERT_EQ(ReadExchangeFile(fromFile, "qrplugin.qrc", m_app.App()), ExchangeStatus::Read);
    WriteExchangeFile(fromFile, "qrplugin.qrc", m_app.App());
    EXPECT_EQ(ReadFileBytes(plugins / "qrplugin.qrc"), file);
    EXPECT_EQ(std::distance(fs::directory_iterator(plugins), fs::directory_iterator()), 1);
    EXPECT_EQ(m_app.Transcript(), "");
}

// An old header in front of a new document's record.
ByteVector OldFile(std::int32_t major, std::int32_t minor, const ByteVector& fields) {
    CSceneDocument doc;
    auto* part = new CScenePart;
    part->m_strName = "Old";
    doc.m_parts.Add(part);
    const ByteVector record = Stored(doc);
    return ByteBuilder().S("QRCAD").I32(major).I32(minor).Raw(fields).Raw(record).Bytes();
}

TEST_F(ExchangeFileTest, OlderFormatsReadTheirFieldsAndComeBackAs142) {
    struct Case {
        std::int32_t major, minor;
        ByteVector fields;
        bool texts12, texts34, text5, flag;
    };
    const Case cases[] = {
        {0, 85, ByteBuilder().D(2.5).Bytes(), false, false, false, false},
        {1, 0, ByteBuilder().S("t1").S("t2").S("t3").S("t4").D(2.5).S("t5").Bytes(), true, true,
         true, false},
        {1, 2, ByteBuilder().S("t1").S("t2").S("t3").S("t4").D(2.5).I32(0).S("t5").Bytes(), true,
         true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minor);
        // What an earlier read in this module left behind stays where the file is silent.
        ExchangeState() = CExchangeState();
        CExchangeState& s = ExchangeState();
        s.m_strHostText1 = s.m_strHostText3 = s.m_strHostText5 = "earlier";
        s.m_nHostFlag = 7;
        s.m_slots[1].m_dFactor = 9;
        s.m_slots[1].m_strText = "stale";

        CSceneDocument doc;
        ASSERT_EQ(ReadFromMemory(doc, OldFile(c.major, c.minor, c.fields)), ExchangeStatus::Read);
        EXPECT_EQ(s.m_nFormatMajor, c.major);
        EXPECT_EQ(s.m_nFormatMinor, c.minor);
        EXPECT_EQ(s.m_dHostValue, 2.5);
        EXPECT_EQ(s.m_strHostText1, c.texts12 ? "t1" : "earlier");
        EXPECT_EQ(s.m_strHostText3, c.texts34 ? "t3" : "earlier");
        EXPECT_EQ(s.m_strHostText5, c.text5 ? "t5" : "earlier");
        EXPECT_EQ(s.m_nHostFlag, c.flag ? 0 : 7);
        EXPECT_EQ(s.m_slots[1].m_dFactor, 1.0);
        EXPECT_EQ(s.m_slots[1].m_strText, "");
        ASSERT_EQ(doc.GetPartCount(), 1);
        EXPECT_EQ(doc.m_parts[0]->m_strName, "Old");

        const ByteVector written = WriteToMemory(doc);
        const ByteVector expectedHead = ByteBuilder()
                                            .S("QRCAD")
                                            .I32(1)
                                            .I32(42)
                                            .S(s.m_strHostText1)
                                            .S(s.m_strHostText2)
                                            .S(s.m_strHostText3)
                                            .S(s.m_strHostText4)
                                            .D(2.5)
                                            .I32(c.flag ? 0 : 7)
                                            .S(s.m_strHostText5)
                                            .Bytes();
        ASSERT_TRUE(std::equal(expectedHead.begin(), expectedHead.end(), written.begin()));
        const ByteVector slot = ByteBuilder().I32(0).Zeros(28).S("").D(1.0).Bytes();
        ByteVector slots;
        for (int i = 0; i < 4; ++i)
            slots.insert(slots.end(), slot.begin(), slot.end());
        ASSERT_GT(written.size(), slots.size());
        EXPECT_TRUE(std::equal(slots.begin(), slots.end(),
                               written.end() - static_cast<std::ptrdiff_t>(slots.size())));
    }
}

TEST_F(ExchangeFileTest, WrongMagicIsReportedAndNothingElseIsRead) {
    ByteVector file = MakeRichFile();
    file[1] = 'q'; // "qRCAD"
    for (std::size_t i = 1; i <= 5; ++i)
        file[i] = static_cast<std::uint8_t>(std::tolower(file[i]));
    ExchangeState() = CExchangeState();
    ExchangeState().m_strHostText1 = "kept";
    ExchangeState().m_slots[0].m_nValue = 5;
    CSceneDocument doc;
    CArchive ar(file);
    EXPECT_EQ(ReadExchangeArchive(doc, ar), ExchangeStatus::WrongMagic);
    EXPECT_EQ(ar.GetPosition(), 6u);
    EXPECT_EQ(doc.GetPartCount(), 0);
    EXPECT_EQ(ExchangeState().m_strHostText1, "kept");
    EXPECT_EQ(ExchangeState().m_slots[0].m_nValue, 0);
    EXPECT_EQ(m_app.Transcript(), ""); // the command that reads says it
}

// A file of another kind is not an exchange file, even when its first byte,
// taken as a string length, runs past its end.
TEST_F(ExchangeFileTest, OtherKindsOfFileAreInvalidNotDamaged) {
    for (const std::string text : {"hello", "\x89PNG\r\n", "\x04QRCA"}) {
        SCOPED_TRACE(text);
        m_app.ClearTranscript();
        const ByteVector file(text.begin(), text.end());
        CSceneDocument doc;
        CArchive ar(file);
        EXPECT_EQ(ReadExchangeArchive(doc, ar), ExchangeStatus::WrongMagic);
    }
}

// What a command's reading of the host's scene shows the user, for each way it ends.
TEST_F(ExchangeFileTest, HostSceneReadingShowsWhatWentWrong) {
    const fs::path plugins = MakeHostFolder();
    const std::string path = (plugins / "qrplugin.qrc").string();
    struct Case {
        const char* name;
        std::optional<ByteVector> file;
        HostScene result;
        std::string transcript;
    } cases[] = {
        {"missing", std::nullopt, HostScene::Missing, ""},
        {"sound", MakeRichFile(false), HostScene::Read, ""},
        {"not an exchange file", ByteVector{'h', 'e', 'l', 'l', 'o'}, HostScene::WrongMagic,
         "[message icon=warning buttons=ok]\nInvalid File Format!\n[end]\n"},
        {"damaged", ByteVector{5, 'Q', 'R', 'C', 'A', 'D', 1}, HostScene::Failed,
         "[message icon=stop buttons=ok]\nThe host's scene could not be read from the exchange "
         "file \"" +
             path + "\":\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(plugins / "qrplugin.qrc");
        if (c.file)
            WriteFile(plugins / "qrplugin.qrc", *c.file);
        m_app.ClearTranscript();
        CSceneDocument doc;
        EXPECT_EQ(ReadHostScene(doc, m_app.App(), "Nothing was done."), c.result);
        const std::string transcript = m_app.Transcript();
        if (c.result == HostScene::Failed) {
            EXPECT_EQ(transcript.substr(0, c.transcript.size()), c.transcript);
            EXPECT_TRUE(transcript.ends_with("\nNothing was done.\n[end]\n")) << transcript;
        } else {
            EXPECT_EQ(transcript, c.transcript);
        }
    }
}

TEST_F(ExchangeFileTest, EveryPrefixThrowsTheEndOfFileError) {
    const ByteVector file = MakeRichFile(false);
    std::size_t thrown = 0;
    for (std::size_t n = 0; n < file.size(); ++n) {
        const ByteVector prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        CSceneDocument doc;
        CArchive ar(prefix);
        try {
            (void)ReadExchangeArchive(doc, ar);
            ADD_FAILURE() << "prefix of " << n << " bytes was read without error";
        } catch (const CArchiveException& e) {
            ++thrown;
            EXPECT_LE(e.GetOffset(), n);
        }
    }
    EXPECT_EQ(thrown, file.size());
    EXPECT_EQ(m_app.Transcript(), "");
}

TEST_F(ExchangeFileTest, HugeCountsInATinyFileThrow) {
    // A document with one part of no points; then the point count and, in a
    // second file, the part count claim 2^31-1 records.
    CSceneDocument doc;
    doc.m_parts.Add(new CScenePart);
    const ByteVector file = WriteToMemory(doc);
    const ByteVector partRecord = Stored(*doc.m_parts[0]);
    const std::size_t partAt = static_cast<std::size_t>(
        std::search(file.begin(), file.end(), partRecord.begin(), partRecord.end()) - file.begin());
    const std::size_t pointCountAt =
        partAt + partRecord.size() - 4 - 7 * CSceneMaterial::kMinRecordSize - 8;
    for (std::size_t at : {partAt - 4, pointCountAt, pointCountAt + 4}) {
        ByteVector damaged = file;
        ASSERT_LT(at + 4, damaged.size());
        damaged[at] = damaged[at + 1] = damaged[at + 2] = 0xFF;
        damaged[at + 3] = 0x7F;
        CSceneDocument loaded;
        CArchive ar(damaged);
        EXPECT_THROW((void)ReadExchangeArchive(loaded, ar), CArchiveException) << at;
    }
}

// A stream of unknown size (a pipe) cannot be checked in advance: the huge
// count must only grow the lists as records really arrive.
TEST_F(ExchangeFileTest, HugeCountsInAPipeEndWithTheEndOfFileError) {
    CSceneDocument doc;
    auto* part = new CScenePart;
    part->AddPoint(new CScenePoint);
    doc.m_parts.Add(part);
    ByteVector file = WriteToMemory(doc);
    const ByteVector one = Hex("01 00 00 00");
    const ByteVector partRecord = Stored(*doc.m_parts[0]);
    const std::size_t partAt = static_cast<std::size_t>(
        std::search(file.begin(), file.end(), partRecord.begin(), partRecord.end()) - file.begin());
    const std::size_t pointCountAt =
        partAt + partRecord.size() - 4 - 7 * CSceneMaterial::kMinRecordSize - 4 - 28 - 4;
    ASSERT_EQ(ByteVector(file.begin() + static_cast<std::ptrdiff_t>(pointCountAt),
                         file.begin() + static_cast<std::ptrdiff_t>(pointCountAt + 4)),
              one);
    file[pointCountAt] = file[pointCountAt + 1] = file[pointCountAt + 2] = 0xFF;
    file[pointCountAt + 3] = 0x7F;

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], file.data(), file.size()), static_cast<ssize_t>(file.size()));
    close(fds[1]);
    CSceneDocument loaded;
    CArchive ar(fds[0], CArchive::load, "pipe");
    EXPECT_THROW((void)ReadExchangeArchive(loaded, ar), CArchiveException);
    close(fds[0]);
}

TEST_F(ExchangeFileTest, MissingFileLeavesTheDocumentAlone) {
    MakeHostFolder();
    ExchangeState().m_slots[2].m_nValue = 3;
    CSceneDocument doc;
    doc.m_parts.Add(new CScenePart);
    doc.m_strLatNorth = "mine";
    EXPECT_EQ(ReadExchangeFile(doc, "qrplugin.qrc", m_app.App()), ExchangeStatus::Missing);
    EXPECT_EQ(doc.GetPartCount(), 1);
    EXPECT_EQ(doc.m_strLatNorth, "mine");
    EXPECT_EQ(ExchangeState().m_slots[2].m_nValue, 0);
    EXPECT_EQ(m_app.Transcript(), "");
}

// Runs check as a user without privileges: here when we are one, else in a
// child process that becomes "nobody" (root opens any file whatever its
// permission bits). check's result is the exit status; 77 when the child
// cannot drop its privileges.
int RunUnprivileged(const std::function<int()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        const gid_t nobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)
            _exit(77);
        _exit(check());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Only a file that is not there is missing; one that is there but cannot be
// opened or read is an error naming the file and the reason.
TEST_F(ExchangeFileTest, UnreadableFileIsAnErrorNotAMissingFile) {
    const fs::path plugins = MakeHostFolder();
    const std::string path = (plugins / "qrplugin.qrc").string();
    const auto readFails = [&](const char* reason) {
        CSceneDocument doc;
        try {
            (void)ReadExchangeFile(doc, "qrplugin.qrc", m_app.App());
            ADD_FAILURE() << "no exception for " << reason;
        } catch (const CFileException& e) {
            EXPECT_EQ(e.GetFileName(), path);
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    };

    // A link to itself: no user can open it, root included.
    fs::create_symlink("qrplugin.qrc", plugins / "qrplugin.qrc");
    readFails("Too many levels of symbolic links");
    fs::remove(plugins / "qrplugin.qrc");

    fs::create_directory(plugins / "qrplugin.qrc");
    readFails("Is a directory");
    fs::remove(plugins / "qrplugin.qrc");

    // A file its user may not read.
    WriteFile(plugins / "qrplugin.qrc", MakeRichFile(false));
    fs::permissions(plugins / "qrplugin.qrc", fs::perms::none);
    // Only the file's own bits may refuse: the folders above it are open.
    fs::permissions(m_host.Scratch(), fs::perms(0755));
    fs::permissions(m_host.Folder(), fs::perms(0755));
    const int result = RunUnprivileged([&] {
        CSceneDocument doc;
        try {
            (void)ReadExchangeFile(doc, "qrplugin.qrc", m_app.App());
        } catch (const CFileException& e) {
            return e.GetErrorNumber() == EACCES && doc.GetPartCount() == 0 ? 0 : 2;
        }
        return 1;
    });
    if (result == 77)
        GTEST_SKIP() << "running as root and cannot become \"nobody\": the permission case is "
                        "not checked";
    EXPECT_EQ(result, 0) << "1: read as missing; 2: wrong error";
}

TEST_F(ExchangeFileTest, HostFolderAndFileLocation) {
    EXPECT_EQ(GetHostFolder(m_app.App()), "");
    EXPECT_EQ(GetExchangeFilePath(m_app.App(), "qrplugin.qrc"), "PlugIns/qrplugin.qrc");
    m_app.App().WriteProfileString("Paths", "ApplicationPath", "/opt/Host");
    EXPECT_EQ(GetHostFolder(m_app.App()), "/opt/Host/");
    EXPECT_EQ(GetExchangeFilePath(m_app.App(), "qrplugin.qrc"), "/opt/Host/PlugIns/qrplugin.qrc");
}

TEST_F(ExchangeFileTest, TruncatedFileThrowsAndIsNotRewritten) {
    const fs::path plugins = MakeHostFolder();
    ByteVector file = MakeRichFile();
    file.resize(file.size() / 2);
    WriteFile(plugins / "qrplugin.qrc", file);
    CSceneDocument doc;
    EXPECT_THROW((void)ReadExchangeFile(doc, "qrplugin.qrc", m_app.App()), CArchiveException);
    EXPECT_EQ(ReadFileBytes(plugins / "qrplugin.qrc"), file);
}

TEST_F(ExchangeFileTest, WriteKeepsPermissionsAndCreatesNewFiles) {
    const fs::path plugins = MakeHostFolder();
    CSceneDocument doc;
    WriteExchangeFile(doc, "qrplugin.qrc", m_app.App());
    EXPECT_EQ(ReadFileBytes(plugins / "qrplugin.qrc"), WriteToMemory(doc));
    fs::permissions(plugins / "qrplugin.qrc", fs::perms(0640));
    WriteExchangeFile(doc, "qrplugin.qrc", m_app.App());
    EXPECT_EQ(fs::status(plugins / "qrplugin.qrc").permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(plugins), fs::directory_iterator()), 1);
}

TEST_F(ExchangeFileTest, FailedWriteLeavesTheOldFileWhole) {
    const fs::path plugins = MakeHostFolder();
    const ByteVector old = MakeRichFile();
    WriteFile(plugins / "qrplugin.qrc", old);
    CSceneDocument doc;

    // No folder for the temporary file.
    EXPECT_THROW(WriteExchangeFile(doc, "missing/qrplugin.qrc", m_app.App()), CFileException);

    // The rename fails: the target name is a folder.
    fs::create_directory(plugins / "taken");
    fs::create_directory(plugins / "taken" / "inside");
    try {
        WriteExchangeFile(doc, "taken", m_app.App());
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_NE(std::string(e.what()).find("taken"), std::string::npos) << e.what();
    }
    fs::remove_all(plugins / "taken");
    EXPECT_EQ(std::distance(fs::directory_iterator(plugins), fs::directory_iterator()), 1);

    // A read-only folder (root may write anyway, so only checked for others).
    if (geteuid() != 0) {
        fs::permissions(plugins, fs::perms(0555));
        try {
            WriteExchangeFile(doc, "qrplugin.qrc", m_app.App());
            ADD_FAILURE() << "no exception";
        } catch (const CFileException& e) {
            EXPECT_NE(std::string(e.what()).find("qrplugin.qrc"), std::string::npos) << e.what();
        }
        fs::permissions(plugins, fs::perms(0755));
    }
    EXPECT_EQ(ReadFileBytes(plugins / "qrplugin.qrc"), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(plugins), fs::directory_iterator()), 1);
}

} // namespace
