// The answers channel that stands in for qrhost's --answer, --open, --save.
#include "platform/win32/answers_file.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(AnswersFile, QuestionsTakeTheAnswersInOrderThenNo) {
    std::unique_ptr<CUserDialogs> dialogs;
    ASSERT_TRUE(ParseAnswers("yes\r\nno\nyes\n", dialogs));
    EXPECT_EQ(dialogs->Ask("q", MessageIcon::Question, MessageButtons::YesNo), IDYES);
    EXPECT_EQ(dialogs->Ask("q", MessageIcon::Question, MessageButtons::YesNo), IDNO);
    EXPECT_EQ(dialogs->Ask("q", MessageIcon::Question, MessageButtons::YesNo), IDYES);
    EXPECT_EQ(dialogs->Ask("q", MessageIcon::Question, MessageButtons::YesNo), IDNO);
}

TEST(AnswersFile, PathsAnswerTheirDialogsAndEmptyCancels) {
    std::unique_ptr<CUserDialogs> dialogs;
    ASSERT_TRUE(ParseAnswers("# a comment\n\nopen=C:\\in put\\a.lwo\r\nsave=\n", dialogs));
    EXPECT_EQ(dialogs->ChooseOpenFile("*.lwo||", ""), "C:\\in put\\a.lwo");
    EXPECT_EQ(dialogs->ChooseOpenFile("*.lwo||", ""), "C:\\in put\\a.lwo");
    EXPECT_EQ(dialogs->ChooseSaveFile("*.dxf||", ".dxf"), "");
}

TEST(AnswersFile, UnansweredFileDialogIsCancelled) {
    std::unique_ptr<CUserDialogs> dialogs;
    ASSERT_TRUE(ParseAnswers("", dialogs));
    EXPECT_EQ(dialogs->ChooseOpenFile("*.lwo||", ""), "");
    EXPECT_EQ(dialogs->Ask("q", MessageIcon::Question, MessageButtons::YesNo), IDNO);
}

TEST(AnswersFile, UnknownLineIsRefusedWithItsNumber) {
    std::unique_ptr<CUserDialogs> dialogs;
    const CStatus parsed = ParseAnswers("yes\nmaybe\n", dialogs);
    ASSERT_FALSE(parsed);
    EXPECT_NE(parsed.GetReason().find("line 2"), std::string::npos) << parsed.GetReason();
}

TEST(AnswersFile, MissingFileIsAFailure) {
    std::unique_ptr<CUserDialogs> dialogs;
    EXPECT_FALSE(LoadAnswersFile("Z:\\no\\such\\answers.txt", dialogs));
}

} // namespace
