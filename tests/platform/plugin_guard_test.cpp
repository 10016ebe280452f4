#include "memory_profile.h"
#include "plugin_guard.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

struct GuardedApp {
    GuardedApp()
        : app(std::make_unique<CMemoryProfile>(),
              std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt,
                                                 std::nullopt),
              &transcript) {}
    std::ostringstream transcript;
    CApplication app;
};

} // namespace

TEST(RunGuarded, PassesTheBodysResultThrough) {
    GuardedApp g;
    EXPECT_EQ(RunGuarded(g.app, 1, [](CApplication&) { return 2; }), 2);
    EXPECT_EQ(g.transcript.str(), "");
}

TEST(RunGuarded, ShowsAnExceptionsTextWithTheStopIcon) {
    GuardedApp g;
    const int result = RunGuarded(g.app, 1, [](CApplication& app) -> int {
        app.MessageBox("before");
        throw std::runtime_error("The exchange file ends early.");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g.transcript.str(), "[message icon=warning buttons=ok]\nbefore\n[end]\n"
                                  "[message icon=stop buttons=ok]\n"
                                  "The exchange file ends early.\n[end]\n");
}

TEST(RunGuarded, UnknownExceptionsAndOutOfMemoryGetFixedTexts) {
    GuardedApp g;
    EXPECT_EQ(RunGuarded(g.app, 2, [](CApplication&) -> int { throw 42; }), 2);
    EXPECT_EQ(RunGuarded(g.app, 2, [](CApplication&) -> int { throw std::bad_alloc(); }), 2);
    EXPECT_EQ(g.transcript.str(),
              "[message icon=stop buttons=ok]\n"
              "An unexpected error stopped the plug-in.\nNothing was changed.\n[end]\n"
              "[message icon=stop buttons=ok]\n"
              "There was not enough memory to finish.\nNothing was changed.\n[end]\n");
}
