#include "platform/win32/win32_dialogs.h"

#include "platform/win32/windows_api.h"

#include <commdlg.h>

#include <vector>

namespace {

// The caption the framework gives a box: the host application's name.
constexpr const char* kCaption = "Quarrion";

// What the framework's CFileDialog adds to the flags a caller gives (none here).
constexpr DWORD kDialogFlags = OFN_EXPLORER;

std::string RunFileDialog(bool save, const std::string& filter, const std::string& defaultExt) {
    const std::string filters = ToDialogFilter(filter);
    // The dialog wants the extension without its dot.
    const std::string ext =
        !defaultExt.empty() && defaultExt.front() == '.' ? defaultExt.substr(1) : defaultExt;
    std::vector<char> file(MAX_PATH, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = nullptr; // as the plug-ins build their dialogs: no parent window
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = kDialogFlags;
    const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    return chosen ? std::string(file.data()) : std::string();
}

} // namespace

std::string ToDialogFilter(const std::string& filter) {
    std::string result = filter;
    for (char& c : result)
        if (c == '|')
            c = '\0';
    // Two NULs end the list, whether or not the framework's text ended in "||".
    while (result.size() < 2 || result[result.size() - 1] != '\0' ||
           result[result.size() - 2] != '\0')
        result.push_back('\0');
    return result;
}

unsigned MessageBoxStyle(MessageIcon icon, MessageButtons buttons) {
    unsigned style = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
    case MessageIcon::Information:
        return style | MB_ICONINFORMATION;
    case MessageIcon::Question:
        return style | MB_ICONQUESTION;
    case MessageIcon::Warning:
        return style | MB_ICONWARNING;
    case MessageIcon::Stop:
        return style | MB_ICONSTOP;
    case MessageIcon::None:
        break;
    }
    return style;
}

int CWin32Dialogs::Ask(const std::string& text, MessageIcon icon, MessageButtons buttons) {
    return MessageBoxA(GetActiveWindow(), text.c_str(), kCaption,
                       MessageBoxStyle(icon, buttons) | MB_TASKMODAL);
}

std::string CWin32Dialogs::ChooseOpenFile(const std::string& filter,
                                          const std::string& defaultExt) {
    return RunFileDialog(false, filter, defaultExt);
}

std::string CWin32Dialogs::ChooseSaveFile(const std::string& filter,
                                          const std::string& defaultExt) {
    return RunFileDialog(true, filter, defaultExt);
}
