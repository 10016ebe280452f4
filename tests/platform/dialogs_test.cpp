#include "tests/support/test_application.h"

#include "platform/application.h"
#include "platform/console_dialogs.h"
#include "platform/memory_profile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Answers from a fixed list and remembers what it was asked, to check what
// reaches the fallback and in which order.
class CRecordingDialogs : public CUserDialogs {
  public:
    int Ask(const std::string& text, MessageIcon, MessageButtons) override {
        asked.push_back(text);
        return IDYES;
    }
    std::string ChooseOpenFile(const std::string& filter, const std::string&) override {
        asked.push_back("open " + filter);
        return "/fallback/in.lwo";
    }
    std::string ChooseSaveFile(const std::string& filter, const std::string&) override {
        asked.push_back("save " + filter);
        return saveAnswer;
    }
    std::vector<std::string> asked;
    std::string saveAnswer = "/fallback/out";
};

} // namespace

TEST(Transcript, EveryIconAndButtonKind) {
    struct Case {
        unsigned style;
        const char* header;
        int result;
    };
    const Case cases[] = {
        // No icon asked for: the framework's default for the buttons.
        {MB_OK, "[message icon=warning buttons=ok]", IDOK},
        {MB_ICONINFORMATION, "[message icon=information buttons=ok]", IDOK},
        {MB_OK | MB_ICONSTOP, "[message icon=stop buttons=ok]", IDOK},
        {MB_ICONWARNING, "[message icon=warning buttons=ok]", IDOK},
        {MB_ICONQUESTION, "[message icon=question buttons=ok]", IDOK},
        {MB_YESNO | MB_ICONQUESTION, "[message icon=question buttons=yesno answer=yes]", IDYES},
        {MB_YESNO | MB_ICONQUESTION, "[message icon=question buttons=yesno answer=no]", IDNO},
        {MB_YESNO | MB_ICONWARNING, "[message icon=warning buttons=yesno answer=no]", IDNO},
        {MB_YESNO, "[message icon=question buttons=yesno answer=no]", IDNO},
    };
    // Only the questions take scripted answers: yes for the first, then no.
    CTestApplication s({"yes", "no", "no", "no"});
    std::string expected;
    for (const Case& c : cases) {
        EXPECT_EQ(s.App().MessageBox("Line one\nline two", c.style), c.result) << c.header;
        expected += std::string(c.header) + "\nLine one\nline two\n[end]\n";
    }
    EXPECT_EQ(s.Transcript(), expected);
}

TEST(Transcript, TextIsVerbatim) {
    CTestApplication s;
    s.App().MessageBox("Invalid File Format!");
    s.App().MessageBox("");
    s.App().MessageBox("  spaced\t\n\nend\n", MB_ICONINFORMATION);
    EXPECT_EQ(s.Transcript(), "[message icon=warning buttons=ok]\nInvalid File Format!\n[end]\n"
                              "[message icon=warning buttons=ok]\n\n[end]\n"
                              "[message icon=information buttons=ok]\n"
                              "  spaced\t\n\nend\n\n[end]\n");
}

TEST(ScriptedDialogs, AnswersInOrderThenNoWithoutFallback) {
    CTestApplication s({"no", "yes", "yes"});
    EXPECT_EQ(s.App().MessageBox("q1", MB_YESNO), IDNO);
    EXPECT_EQ(s.App().MessageBox("ok box takes no answer"), IDOK);
    EXPECT_EQ(s.App().MessageBox("q2", MB_YESNO), IDYES);
    EXPECT_EQ(s.App().MessageBox("q3", MB_YESNO), IDYES);
    EXPECT_EQ(s.App().MessageBox("q4", MB_YESNO), IDNO) << "answers ran out";
    EXPECT_EQ(s.App().DoOpenFileDialog("LWO|*.lwo||"), "") << "no path given: cancelled";
    EXPECT_EQ(s.App().DoSaveFileDialog("DXF|*.dxf||", ".dxf"), "");
}

TEST(ScriptedDialogs, FallbackAnswersWhenTheScriptRunsOut) {
    auto fallback = std::make_unique<CRecordingDialogs>();
    CRecordingDialogs& recorded = *fallback;
    CTestApplication s({"no"}, std::nullopt, std::nullopt, std::move(fallback));
    EXPECT_EQ(s.App().MessageBox("q1", MB_YESNO), IDNO);
    EXPECT_EQ(s.App().MessageBox("info", MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(s.App().MessageBox("q2", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(s.App().DoOpenFileDialog("LWO|*.lwo||"), "/fallback/in.lwo");
    EXPECT_EQ(s.App().DoSaveFileDialog("DXF|*.dxf||", ".dxf"), "/fallback/out.dxf");
    EXPECT_EQ(recorded.asked,
              (std::vector<std::string>{"q2", "open LWO|*.lwo||", "save DXF|*.dxf||"}));
}

TEST(ScriptedDialogs, GivenPathsWinAndEmptyPathCancels) {
    auto fallback = std::make_unique<CRecordingDialogs>();
    CRecordingDialogs& recorded = *fallback;
    CTestApplication s({}, "/in/crate.lwo", "", std::move(fallback));
    EXPECT_EQ(s.App().DoOpenFileDialog("LWO|*.lwo||"), "/in/crate.lwo");
    EXPECT_EQ(s.App().DoSaveFileDialog("DXF|*.dxf||", ".dxf"), "") << "empty path is a cancel";
    EXPECT_TRUE(recorded.asked.empty());
}

TEST(SaveDialog, DefaultExtensionOnlyForNamesWithoutOne) {
    struct Case {
        const char* chosen;
        const char* defaultExt;
        const char* result;
    };
    const Case cases[] = {
        {"/out/site", ".dxf", "/out/site.dxf"},
        {"/out/site", "dxf", "/out/site.dxf"},
        {"/out/site.DXF", ".dxf", "/out/site.DXF"},
        {"/out/site.txt", ".dxf", "/out/site.txt"},
        {"/out.d/site", ".dxf", "/out.d/site.dxf"},
        {"/out/.hidden", ".dxf", "/out/.hidden.dxf"},
        {"site", ".dxf", "site.dxf"},
        {"/out/site", "", "/out/site"},
        {"", ".dxf", ""},
    };
    for (const Case& c : cases) {
        CTestApplication s({}, std::nullopt, std::string(c.chosen));
        EXPECT_EQ(s.App().DoSaveFileDialog("DXF|*.dxf||", c.defaultExt), c.result) << c.chosen;
    }
    CTestApplication open({}, std::string("/in/object"));
    EXPECT_EQ(open.App().DoOpenFileDialog("LWO|*.lwo||", ".lwo"), "/in/object");
}

TEST(NonInteractiveDialogs, NoCancelAndSayWhy) {
    std::ostringstream err;
    std::ostringstream transcript;
    CApplication app(std::make_unique<CMemoryProfile>(),
                     std::make_unique<CNonInteractiveDialogs>(err), &transcript);
    EXPECT_EQ(app.MessageBox("Update part \"Roof\"?\nsecond line", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    EXPECT_EQ(app.MessageBox("done", MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(app.DoOpenFileDialog("LWO|*.lwo||", ".lwo"), "");
    EXPECT_EQ(app.DoSaveFileDialog("DXF|*.dxf||", ".dxf"), "");
    EXPECT_EQ(err.str(),
              "no one to answer (not a terminal): answered No to \"Update part \"Roof\"?\"\n"
              "no one to answer (not a terminal): Open file dialog cancelled\n"
              "no one to answer (not a terminal): Save As dialog cancelled\n");
    EXPECT_EQ(transcript.str(), "[message icon=question buttons=yesno answer=no]\n"
                                "Update part \"Roof\"?\nsecond line\n[end]\n"
                                "[message icon=information buttons=ok]\ndone\n[end]\n");
}

TEST(TerminalDialogs, AsksUntilYesOrNoAndTakesPaths) {
    std::istringstream in("maybe\ny\n no \n/in/crate.lwo\n\nsite\n");
    std::ostringstream out;
    CApplication app(std::make_unique<CMemoryProfile>(),
                     std::make_unique<CTerminalDialogs>(in, out), nullptr);
    EXPECT_EQ(app.MessageBox("Update?", MB_YESNO), IDYES);
    EXPECT_EQ(app.MessageBox("Info"), IDOK) << "an OK box reads nothing";
    EXPECT_EQ(app.MessageBox("Again?", MB_YESNO), IDNO);
    EXPECT_EQ(app.DoOpenFileDialog("LWO|*.lwo||"), "/in/crate.lwo");
    EXPECT_EQ(app.DoOpenFileDialog("LWO|*.lwo||"), "") << "empty line cancels";
    EXPECT_EQ(app.DoSaveFileDialog("DXF|*.dxf||", ".dxf"), "site.dxf");
    EXPECT_EQ(app.MessageBox("At end of input?", MB_YESNO), IDNO);
    EXPECT_EQ(app.DoOpenFileDialog("LWO|*.lwo||"), "");
    const std::string prompts = out.str();
    EXPECT_NE(prompts.find("Update?\nYes or no? [y/n] Yes or no? [y/n] "), std::string::npos)
        << prompts;
}

TEST(AfxGetApp, InstalledAppWinsAndNullGoesBackToTheDefault) {
    CApplication* defaultApp = AfxGetApp();
    ASSERT_NE(defaultApp, nullptr);
    EXPECT_EQ(AfxGetApp(), defaultApp) << "the default is made once";
    CTestApplication s;
    AfxSetApp(&s.App());
    EXPECT_EQ(AfxGetApp(), &s.App());
    AfxSetApp(nullptr);
    EXPECT_EQ(AfxGetApp(), defaultApp);
}
