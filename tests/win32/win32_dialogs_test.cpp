// What the system's dialogs are given: the filter in the common dialogs' form
// and the message box styles. (The dialogs themselves need a person.)
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Win32Dialogs, FilterBarsBecomeNulsEndingInTwo) {
    using namespace std::string_literals;
    EXPECT_EQ(ToDialogFilter("DXF Object (*.dxf)|*.dxf|All Files (*.*)|*.*||"),
              "DXF Object (*.dxf)\0*.dxf\0All Files (*.*)\0*.*\0\0"s);
    // The export's filter has no closing "||".
    EXPECT_EQ(ToDialogFilter("DXF Object (*.dxf)|*.dxf|All Files (*.*)|*.*"),
              "DXF Object (*.dxf)\0*.dxf\0All Files (*.*)\0*.*\0\0"s);
}

TEST(Win32Dialogs, StylesAreTheSystemsBits) {
    EXPECT_EQ(MessageBoxStyle(MessageIcon::Stop, MessageButtons::Ok), 0x10u);
    EXPECT_EQ(MessageBoxStyle(MessageIcon::Question, MessageButtons::YesNo), 0x24u);
    EXPECT_EQ(MessageBoxStyle(MessageIcon::Information, MessageButtons::Ok), 0x40u);
    EXPECT_EQ(MessageBoxStyle(MessageIcon::Warning, MessageButtons::Ok), 0x30u);
    EXPECT_EQ(MessageBoxStyle(MessageIcon::None, MessageButtons::Ok), 0x00u);
    EXPECT_EQ(static_cast<unsigned>(MB_ICONERROR), 0x10u);
    EXPECT_EQ(static_cast<unsigned>(MB_ICONEXCLAMATION), 0x30u);
    EXPECT_EQ(static_cast<unsigned>(MB_ICONASTERISK), 0x40u);
}

} // namespace
