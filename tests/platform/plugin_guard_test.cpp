#include "platform/plugin_guard.h"

#include "tests/support/test_application.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(RunGuarded, PassesTheBodysResultThrough) {
    CTestApplication g;
    EXPECT_EQ(RunGuarded(g.App(), 1, [](CApplication&) { return 2; }), 2);
    EXPECT_EQ(g.Transcript(), "");
}

TEST(RunGuarded, ShowsAnExceptionsTextWithTheStopIcon) {
    CTestApplication g;
    const int result = RunGuarded(g.App(), 1, [](CApplication& app) -> int {
        app.MessageBox("before");
        throw std::runtime_error("The exchange file ends early.");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g.Transcript(), "[message icon=warning buttons=ok]\nbefore\n[end]\n"
                              "[message icon=stop buttons=ok]\n"
                              "The exchange file ends early.\n[end]\n");
}

TEST(RunGuarded, UnknownExceptionsAndOutOfMemoryGetFixedTexts) {
    CTestApplication g;
    EXPECT_EQ(RunGuarded(g.App(), 2, [](CApplication&) -> int { throw 42; }), 2);
    EXPECT_EQ(RunGuarded(g.App(), 2, [](CApplication&) -> int { throw std::bad_alloc(); }), 2);
    EXPECT_EQ(g.Transcript(),
              "[message icon=stop buttons=ok]\n"
              "An unexpected error stopped the plug-in.\nNothing was changed.\n[end]\n"
              "[message icon=stop buttons=ok]\n"
              "There was not enough memory to finish.\nNothing was changed.\n[end]\n");
}
