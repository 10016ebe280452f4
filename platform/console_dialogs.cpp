#include "platform/console_dialogs.h"

#include "platform/ascii_text.h"

#include <iostream>
#include <unistd.h>

namespace {

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

} // namespace

CTerminalDialogs::CTerminalDialogs(std::istream& in, std::ostream& out) : m_in(in), m_out(out) {}

int CTerminalDialogs::Ask(const std::string& text, MessageIcon, MessageButtons buttons) {
    if (buttons == MessageButtons::Ok)
        return IDOK;
    m_out << text << '\n';
    for (;;) {
        m_out << "Yes or no? [y/n] " << std::flush;
        std::string line;
        if (!std::getline(m_in, line)) {
            m_out << "\n(no answer: No)\n";
            return IDNO;
        }
        line = Trimmed(line);
        if (line == "y" || line == "Y" || line == "yes" || line == "Yes" || line == "YES")
            return IDYES;
        if (line == "n" || line == "N" || line == "no" || line == "No" || line == "NO")
            return IDNO;
    }
}

std::string CTerminalDialogs::AskPath(const char* title, const std::string& filter) {
    m_out << title << " (" << filter << "), empty line cancels: " << std::flush;
    std::string line;
    if (!std::getline(m_in, line))
        return "";
    return Trimmed(line);
}

std::string CTerminalDialogs::ChooseOpenFile(const std::string& filter, const std::string&) {
    return AskPath("Open file", filter);
}

std::string CTerminalDialogs::ChooseSaveFile(const std::string& filter, const std::string&) {
    return AskPath("Save as", filter);
}

CNonInteractiveDialogs::CNonInteractiveDialogs(std::ostream& err) : m_err(err) {}

int CNonInteractiveDialogs::Ask(const std::string& text, MessageIcon, MessageButtons buttons) {
    if (buttons == MessageButtons::Ok)
        return IDOK;
    m_err << "no one to answer (not a terminal): answered No to \"" << FirstLine(text) << "\"\n";
    return IDNO;
}

std::string CNonInteractiveDialogs::ChooseOpenFile(const std::string&, const std::string&) {
    m_err << "no one to answer (not a terminal): Open file dialog cancelled\n";
    return "";
}

std::string CNonInteractiveDialogs::ChooseSaveFile(const std::string&, const std::string&) {
    m_err << "no one to answer (not a terminal): Save As dialog cancelled\n";
    return "";
}

std::unique_ptr<CUserDialogs> MakeConsoleDialogs() {
    if (isatty(STDIN_FILENO) == 1)
        return std::make_unique<CTerminalDialogs>(std::cin, std::cerr);
    return std::make_unique<CNonInteractiveDialogs>(std::cerr);
}
