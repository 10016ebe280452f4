// CWin32Dialogs: the system's own message boxes and common file dialogs, as
// the host's framework shows them to a plug-in: MessageBoxA with the box's
// icon and buttons, GetOpenFileNameA / GetSaveFileNameA with the caller's
// filter and default extension. Texts are in the ANSI code page.
#pragma once

#include "platform/application.h"

#include <string>

class CWin32Dialogs : public CUserDialogs {
  public:
    int Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::string ChooseOpenFile(const std::string& filter, const std::string& defaultExt) override;
    std::string ChooseSaveFile(const std::string& filter, const std::string& defaultExt) override;
};

// The framework's filter "Text|*.a|Text|*.b||" as the common dialogs take it:
// each "|" a NUL, ending in two NULs.
std::string ToDialogFilter(const std::string& filter);

// The MessageBoxA style of a box: its buttons and its icon (MB_* bits).
unsigned MessageBoxStyle(MessageIcon icon, MessageButtons buttons);
