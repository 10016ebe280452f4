// qrhost end to end: the real program and the real Karvel module, run as
// subprocesses over exchange files made here with the scene library.
#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_host.h"

#include "platform/application.h"
#include "platform/ini_profile.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const std::string kQrhost = QR_BINARY_DIR "/bin/qrhost";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every test uses a profile of its own, never the user's. The profile, the
// objects and the outputs lie beside the host folder.
class Qrhost : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("QUARRION_PROFILE", (m_folder / "profile.ini").c_str(), 1);
        // A run that imports nothing and shows no summary: a DXF without
        // entities, and view_info off. Such a run must give the scene back.
        WriteFile(m_folder / "profile.ini", "[Karvel]\nview_info=0\n");
        WriteFile(m_folder / "empty.dxf", "  0\nEOF\n");
    }
    CProgramRun Qr(std::vector<std::string> args) {
        args.insert(args.begin(), kQrhost);
        return RunProgram(m_folder, std::move(args));
    }
    CProgramRun RunKarvel() {
        return Qr({"run", "Karvel", "--folder", m_host, "--profile", m_folder / "profile.ini",
                   "--open", m_folder / "empty.dxf"});
    }
    // A scene with two parts, a link, host values and slots, written by the
    // scene library into the host's exchange file.
    std::string WriteSmallScene() {
        CExchangeState& state = ExchangeState();
        state.m_strHostText1 = "Quarrion 4";
        state.m_strHostText5 = "caf\xc3\xa9";
        state.m_dHostValue = 2.5;
        state.m_nHostFlag = 0;
        state.m_slots[2].m_nValue = 17;
        state.m_slots[2].m_strText = "slot two";
        state.m_slots[2].m_point.Set(1.0, 2.0, 3.0);

        CSceneDocument doc;
        auto* box = new CScenePart;
        box->m_strName = "Box";
        const double corners[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
        for (const auto& c : corners) {
            auto* point = new CScenePoint;
            point->Set(c[0], c[1], c[2]);
            box->AddPoint(point);
        }
        auto* quad = new CScenePolygon;
        for (int i = 0; i < 4; ++i)
            quad->AddIndex(i);
        quad->m_pairs.push_back({1, 2, 3, 4, 5, 6, 7, 0xAB});
        box->AddPolygon(quad);
        box->m_transform.m_position.Set(10.0, 0.5, -2.0);
        doc.m_parts.Add(box);
        auto* lid = new CScenePart;
        lid->m_strName = "Lid";
        lid->m_strLink = "Box.0";
        doc.m_parts.Add(lid);
        m_testHost.WriteScene(doc);
        return ReadFile(m_exchange);
    }

    CTestHost m_testHost;
    const std::filesystem::path& m_folder = m_testHost.Scratch();
    const std::string m_host = m_testHost.Folder();
    const std::string m_exchange = m_testHost.ExchangePath();
};

} // namespace

TEST_F(Qrhost, NewThenRunKarvelGivesTheFileBackWithAnEmptyTranscript) {
    const CProgramRun made = Qr({"new", m_host});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const std::string before = ReadFile(m_exchange);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.substr(0, 14), std::string("\x05QRCAD\x01\0\0\0\x2a\0\0\0", 14));

    const CProgramRun run = RunKarvel();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "") << "a clean run shows no message";
    EXPECT_TRUE(Contains(run.err, "ExecutePlugin returned 1")) << run.err;
    EXPECT_EQ(ReadFile(m_exchange), before);
    EXPECT_EQ(ReadFile(m_folder / "profile.ini"),
              "[Karvel]\nview_info=0\n\n[Paths]\nApplicationPath=" + m_host + "\n");
}

TEST_F(Qrhost, NewRefusesToReplaceAnExistingScene) {
    const std::string scene = WriteSmallScene();
    const CProgramRun again = Qr({"new", m_host});
    EXPECT_NE(again.exitCode, 0);
    EXPECT_TRUE(Contains(again.err, "already exists")) << again.err;
    EXPECT_EQ(ReadFile(m_exchange), scene);
    const CProgramRun forced = Qr({"new", "--force", m_host});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_LT(ReadFile(m_exchange).size(), scene.size());
}

TEST_F(Qrhost, RunKarvelOverASceneGivesItBackByteForByte) {
    const std::string scene = WriteSmallScene();
    const CProgramRun run = RunKarvel();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFile(m_exchange), scene);
}

TEST_F(Qrhost, TruncatedExchangeFileIsLeftUntouchedAndReported) {
    const std::string scene = WriteSmallScene();
    for (const size_t length : {size_t{3}, size_t{20}, scene.size() / 2, scene.size() - 1}) {
        const std::string damaged = scene.substr(0, length);
        WriteFile(m_exchange, damaged);
        const CProgramRun run = RunKarvel();
        EXPECT_EQ(run.exitCode, 1) << run.err; // the stop box
        EXPECT_TRUE(run.out.starts_with("[message icon=stop buttons=ok]\n"
                                        "The host's scene could not be read from the exchange "
                                        "file"))
            << run.out;
        EXPECT_TRUE(Contains(run.out, "left unchanged.\n[end]\n")) << run.out;
        EXPECT_TRUE(Contains(run.err, "ExecutePlugin returned 1")) << run.err;
        EXPECT_EQ(ReadFile(m_exchange), damaged) << "length " << length;
    }
}

// A configured object path keeps a trailing blank through the INI profile, so
// it names no .lwo file and the import refuses it; without the blank it imports.
TEST_F(Qrhost, DefaultObjectPathKeepsItsOuterBlanksThroughTheProfile) {
    const std::string scene = WriteSmallScene();
    WriteFile(m_folder / "face.dxf",
              Face("F", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) + "0\nEOF\n");
    CApplication settings(std::make_unique<CIniProfile>(m_folder / "profile.ini"), nullptr,
                          nullptr);
    ASSERT_TRUE(settings.WriteProfileInt("Karvel", "use_def_lwo", 1));
    const std::string object = m_folder / "face.dxf";
    ASSERT_TRUE(settings.WriteProfileString("Karvel", "def_lwo", object + " "));
    const std::vector<std::string> run = {"run", "Karvel", "--folder", m_host};
    const CProgramRun blank = Qr(run);
    EXPECT_EQ(blank.out, "[message icon=stop buttons=ok]\nERROR - Wrong LW Object\n\n\"" + object +
                             " \": only .lwo and .dxf files can be imported\n[end]\n");
    EXPECT_EQ(ReadFile(m_exchange), scene);

    ASSERT_TRUE(settings.WriteProfileString("Karvel", "def_lwo", object));
    const CProgramRun plain = Qr(run);
    EXPECT_EQ(plain.out, "");
    EXPECT_NE(ReadFile(m_exchange), scene);
}

TEST_F(Qrhost, WrongMagicIsReportedAndNeverOverwritten) {
    std::string scene = WriteSmallScene();
    scene.replace(1, 5, "qrcad");
    WriteFile(m_exchange, scene);
    const CProgramRun run = RunKarvel();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "[message icon=warning buttons=ok]\nInvalid File Format!\n[end]\n");
    EXPECT_EQ(ReadFile(m_exchange), scene);
}

TEST_F(Qrhost, MissingExchangeFileGivesANewEmptyScene) {
    const CProgramRun run = RunKarvel();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string written = ReadFile(m_exchange);
    CScratchFolder other;
    ASSERT_EQ(RunProgram(other.Path(), {kQrhost, "new", other / "h"}).exitCode, 0);
    EXPECT_EQ(written, ReadFile(other / "h/PlugIns/qrplugin.qrc"));
}

TEST_F(Qrhost, FailedWriteIsShownInAMessageBox) {
    // No plug-in folder: nothing to read, and the new file cannot be made.
    std::filesystem::remove(m_testHost.PluginFolder());
    const CProgramRun run = RunKarvel();
    EXPECT_EQ(run.exitCode, 1) << run.err; // the stop box
    EXPECT_TRUE(run.out.starts_with("[message icon=stop buttons=ok]\n"
                                    "The scene could not be written back to the exchange file:\n"))
        << run.out;
    EXPECT_FALSE(std::filesystem::exists(m_host + "/PlugIns"));
}

TEST_F(Qrhost, PluginFolderOfAnotherSpellingIsUsed) {
    std::filesystem::rename(m_testHost.PluginFolder(), m_host + "/Plugins");
    const CProgramRun run = RunKarvel();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(std::filesystem::exists(m_host + "/Plugins/qrplugin.qrc"));
    EXPECT_FALSE(std::filesystem::exists(m_host + "/PlugIns"));
}

TEST_F(Qrhost, BareNameIsLookedUpInThePluginFolderFirst) {
    WriteFile(m_host + "/PlugIns/Karvel.so", "not a module");
    const CProgramRun run = RunKarvel();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, "cannot load plug-in \"" + m_host + "/PlugIns/Karvel.so\""))
        << run.err;
}

TEST_F(Qrhost, MissingOrBrokenPluginIsAClearError) {
    const CProgramRun missing = Qr({"run", "NoSuchPlugin", "--folder", m_host});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(Contains(missing.err, "plug-in \"NoSuchPlugin\" not found")) << missing.err;
    EXPECT_TRUE(Contains(missing.err, m_host + "/PlugIns/NoSuchPlugin.so")) << missing.err;

    const CProgramRun notModule = Qr({"run", m_folder / "profile.ini"});
    EXPECT_EQ(notModule.exitCode, 2);
    EXPECT_TRUE(Contains(notModule.err, "not found") || Contains(notModule.err, "cannot load"))
        << notModule.err;

    // A real shared object without the entry point.
    const CProgramRun noEntry = Qr({"run", QR_BINARY_DIR "/bin/libqrplatform.so"});
    EXPECT_EQ(noEntry.exitCode, 2);
    EXPECT_TRUE(Contains(noEntry.err, "exports no ExecutePlugin")) << noEntry.err;
}

TEST_F(Qrhost, WrongCallsPrintTheUsage) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"frobnicate"},
                                                 {"run"},
                                                 {"run", "Karvel", "--answer", "maybe"},
                                                 {"run", "Karvel", "--folder"},
                                                 {"dump"},
                                                 {"dump", "--xml", "a.qrc"},
                                                 {"new"},
                                                 {"version"}}) {
        const CProgramRun run = Qr(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_TRUE(Contains(run.err, "usage:")) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(Qrhost, VersionShowsTheModulesTexts) {
    const CProgramRun run = Qr({"version", "Karvel"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "CompanyName=Brask Design\nFileVersion=2.0\nProductVersion=2.0\n"
                       "FileDescription=Object import plugin for Quarrion\n");
}

TEST_F(Qrhost, DumpTextShowsEveryPart) {
    WriteSmallScene();
    const CProgramRun run = Qr({"dump", m_exchange});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* line :
         {"format: major=1 minor=42\n", "  host_text1: \"Quarrion 4\"\n", "  host_value: 2.5\n",
          "  host_flag: 0\n", "  part_count: 2\n", "    name: \"Box\"\n", "    name: \"Lid\"\n",
          "    link: \"Box.0\"\n", "      [2]: tag=0 x=1 y=1 z=0\n", "        indices: 0 1 2 3\n",
          "        pairs: \"01020304050607ab\"\n", "        center: tag=0 x=0.5 y=0.5 z=0\n",
          "  [2]: value=17 point=(tag=0 x=1 y=2 z=3) text=\"slot two\" "
          "factor=1\n",
          "trailing_bytes: 0\n"})
        EXPECT_TRUE(Contains(run.out, line)) << line << "\nin:\n" << run.out;
}

TEST_F(Qrhost, DumpJsonIsValidJsonWithTheSchemasKeys) {
    WriteSmallScene();
    const CProgramRun run = Qr({"dump", "--json", m_exchange});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "\"name\": \"Box\"")) << run.out;
    if (!std::filesystem::exists("/usr/bin/python3"))
        GTEST_SKIP() << "/usr/bin/python3 not present: JSON not parsed";
    WriteFile(m_folder / "dump.json", run.out);
    const std::string check =
        "import json,sys\n"
        "d=json.load(open(sys.argv[1]))\n"
        "assert d['format']=={'major':1,'minor':42}\n"
        "assert d['header']['host_text5']=='caf\\u00e9'\n"
        "assert d['document']['part_count']==2 and len(d['parts'])==2\n"
        "box=d['parts'][0]\n"
        "assert box['name']=='Box' and box['id']==1 and len(box['materials'])==7\n"
        "assert box['points'][1]=={'tag':0,'x':1,'y':0,'z':0}\n"
        "poly=box['polygons'][0]\n"
        "assert poly['indices']==[0,1,2,3] and poly['center_distance']>0\n"
        "assert poly['normal']['unit']==[0,0,1] or poly['normal']['unit']==[0,0,-1]\n"
        "assert poly['pairs']==['01020304050607ab']\n"
        "assert box['transform']['position']=={'x':10,'y':0.5,'z':-2}\n"
        "assert d['parts'][1]['link_id']==1\n"
        "assert d['slots'][2]['text']=='slot two' and d['slots'][0]['factor']==1\n"
        "assert d['trailing_bytes']==0\n";
    WriteFile(m_folder / "check.py", check);
    const CProgramRun parsed =
        RunProgram(m_folder, {"/usr/bin/python3", m_folder / "check.py", m_folder / "dump.json"});
    EXPECT_EQ(parsed.exitCode, 0) << parsed.err;
}

TEST_F(Qrhost, DumpOfADamagedFileIsAnErrorNeverACrash) {
    const std::string scene = WriteSmallScene();
    for (size_t length = 0; length < scene.size(); length += 1 + length / 3) {
        WriteFile(m_folder / "cut.qrc", scene.substr(0, length));
        const CProgramRun run = Qr({"dump", m_folder / "cut.qrc"});
        EXPECT_EQ(run.exitCode, 1) << "length " << length << ": " << run.err;
        EXPECT_TRUE(Contains(run.err, "\" is damaged: ")) << run.err;
        EXPECT_EQ(run.out, "");
    }
    std::string foreign = scene;
    foreign.replace(1, 5, "QRCAX");
    WriteFile(m_folder / "foreign.qrc", foreign);
    const CProgramRun wrong = Qr({"dump", "--json", m_folder / "foreign.qrc"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(Contains(wrong.err, "Invalid File Format!")) << wrong.err;
    const CProgramRun missing = Qr({"dump", m_folder / "none.qrc"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(Contains(missing.err, "cannot open")) << missing.err;
}

TEST_F(Qrhost, ScriptedAnswersAreTakenInOrderThenNoOneAnswers) {
    const std::string crate = QR_SOURCE_DIR "/examples/crate.lwo";
    if (!std::filesystem::exists(crate))
        GTEST_SKIP() << crate << " is missing";
    ASSERT_EQ(Qr({"new", m_host}).exitCode, 0);
    const std::vector<std::string> base = {"run",    "Karvel",    "--folder",
                                           m_host,   "--profile", m_folder / "profile.ini",
                                           "--open", crate};
    ASSERT_EQ(Qr(base).exitCode, 0);
    const std::string once = ReadFile(m_exchange);

    // Importing the same object again asks once per part of the same name.
    std::vector<std::string> scripted = base;
    for (const char* answer : {"no", "yes"})
        scripted.insert(scripted.end(), {"--answer", answer});
    const CProgramRun answered = Qr(scripted);
    EXPECT_EQ(answered.exitCode, 0) << answered.err;
    const size_t first = answered.out.find("[message icon=question buttons=yesno answer=no]\n");
    const size_t second = answered.out.find("[message icon=question buttons=yesno answer=yes]\n");
    EXPECT_NE(first, std::string::npos) << answered.out;
    EXPECT_NE(second, std::string::npos) << answered.out;
    EXPECT_LT(first, second) << "answers are used in the order given";
    EXPECT_FALSE(Contains(answered.err, "no one to answer")) << answered.err;
    EXPECT_NE(ReadFile(m_exchange), once);

    // Without answers and without a terminal, every question is answered No.
    const CProgramRun unanswered = Qr(base);
    EXPECT_EQ(unanswered.exitCode, 0) << unanswered.err;
    EXPECT_TRUE(Contains(unanswered.out, "[message icon=question buttons=yesno answer=no]\n"));
    EXPECT_FALSE(Contains(unanswered.out, "answer=yes"));
    EXPECT_TRUE(Contains(unanswered.err, "no one to answer (not a terminal): answered No to"))
        << unanswered.err;
}

// How a script calls qrhost and learns what came of it: help on standard output and exit 0,
// a wrong call's usage on standard error and exit 2, a plug-in's stop box exit 1.
TEST_F(Qrhost, CommandLineStatuses) {
    const std::string empty = m_folder / "empty.dxf";
    const std::string nowhere = m_folder / "no-host";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string out; // what standard output holds; "" for nothing
        std::string err; // what standard error holds; "" for nothing
    } kCases[] = {
        {{"--help"}, 0, "usage:\n  qrhost new", ""},
        {{"-h"}, 0, "usage:\n  qrhost new", ""},
        {{"convert", "--help"}, 0, "usage: qrhost convert", ""},
        {{"render", "a.dxf", "--help"}, 0, "usage: qrhost render", ""},
        {{"dump", "--help"}, 0, "usage:\n", ""},
        {{"--version"}, 0, "qrhost " QR_PROJECT_VERSION "\n", ""},
        // The value of an option is never a request for help.
        {{"run", "Karvel", "--answer", "--help"}, 2, "", "usage:"},
        {{"frobnicate"}, 2, "", "usage:"},
        {{"convert", "a.lwo"}, 2, "", "usage: qrhost convert"},
        {{"run", "Karvel", "--folder", m_host, "--open", empty}, 0, "", "ExecutePlugin returned"},
        // No plug-in folder: the scene cannot be written, which the plug-in's stop box says.
        {{"run", "Karvel", "--folder", nowhere, "--open", empty},
         1,
         "[message icon=stop",
         "ExecutePlugin returned"},
    };
    for (const auto& c : kCases) {
        const CProgramRun run = Qr(c.args);
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        if (c.out.empty())
            EXPECT_EQ(run.out, "");
        else
            EXPECT_TRUE(run.out.starts_with(c.out)) << run.out;
        if (c.err.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_TRUE(Contains(run.err, c.err)) << run.err;
    }
}

// The exchange file and the profile are files the next run reads back: a FIFO in the place
// of either is neither read (which would wait for a writer) nor replaced.
TEST_F(Qrhost, SceneAndProfileMustBeRegularFiles) {
    const std::string fifo = m_folder / "fifo";
    const std::string profile = m_folder / "profile.ini";
    const struct {
        const char* name;
        std::string fifoPlace;
        std::string message; // in the transcript or on standard error
    } kCases[] = {
        {"exchange file", m_exchange, "The host's scene could not be read"},
        {"profile", profile, "cannot store the host folder in the profile"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(c.fifoPlace);
        ASSERT_EQ(::mkfifo(c.fifoPlace.c_str(), 0644), 0);
        const CProgramRun run = Qr({"run", "Karvel", "--folder", m_host, "--profile", profile,
                                    "--open", m_folder / "empty.dxf"});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_TRUE(Contains(run.out + run.err, c.message)) << run.out << run.err;
        EXPECT_TRUE(std::filesystem::is_fifo(c.fifoPlace));
        std::filesystem::remove(c.fifoPlace);
        WriteFile(profile, "[Karvel]\nview_info=0\n");
    }
}
