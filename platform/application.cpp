#include "platform/application.h"

#include "platform/host_folder.h"

#include <cstdint>
#include <iostream>
#include <ostream>

namespace {

MessageIcon IconFromStyle(unsigned style) {
    switch (style & 0xF0u) {
    case MB_ICONSTOP:
        return MessageIcon::Stop;
    case MB_ICONQUESTION:
        return MessageIcon::Question;
    case MB_ICONWARNING:
        return MessageIcon::Warning;
    case MB_ICONINFORMATION:
        return MessageIcon::Information;
    default:
        return MessageIcon::None;
    }
}

const char* IconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return "stop";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Information:
        return "information";
    case MessageIcon::None:
        break;
    }
    return "none";
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

// Decimal with an optional sign and surrounding blanks; anything else is not a
// number. The stored value is a 32-bit one: the digits are taken modulo 2^32,
// as a DWORD holds them, so "4294967295" reads as -1.
bool ParseProfileInt(const std::string& text, int& value) {
    size_t pos = 0;
    size_t end = text.size();
    while (pos < end && IsSpace(text[pos]))
        ++pos;
    while (end > pos && IsSpace(text[end - 1]))
        --end;
    bool negative = false;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == end)
        return false;
    uint32_t number = 0;
    for (; pos < end; ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            return false;
        number = number * 10u + static_cast<uint32_t>(c - '0');
    }
    if (negative)
        number = 0u - number;
    value = static_cast<int>(number);
    return true;
}

bool HasExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of('.');
    // A leading dot names a hidden file, not an extension.
    return dot != std::string::npos && dot > nameStart;
}

} // namespace

bool CProfileStore::ReadInt(const std::string& section, const std::string& key, int& value) {
    std::string text;
    return Read(section, key, text) && ParseProfileInt(text, value);
}

bool CProfileStore::WriteInt(const std::string& section, const std::string& key, int value) {
    return Write(section, key, std::to_string(value));
}

CApplication::CApplication(std::unique_ptr<CProfileStore> profile,
                           std::unique_ptr<CUserDialogs> dialogs, std::ostream* transcript)
    : m_profile(std::move(profile)), m_dialogs(std::move(dialogs)), m_transcript(transcript) {}

CApplication::~CApplication() = default;

int CApplication::GetProfileInt(const std::string& section, const std::string& key, int nDefault) {
    int value = 0;
    if (!m_profile->ReadInt(section, key, value))
        return nDefault;
    return value;
}

std::string CApplication::GetProfileString(const std::string& section, const std::string& key,
                                           const std::string& strDefault) {
    std::string text;
    if (!m_profile->Read(section, key, text))
        return strDefault;
    return text;
}

bool CApplication::WriteProfileInt(const std::string& section, const std::string& key, int nValue) {
    return m_profile->WriteInt(section, key, nValue);
}

bool CApplication::WriteProfileString(const std::string& section, const std::string& key,
                                      const std::string& value) {
    return m_profile->Write(section, key, value);
}

int CApplication::MessageBox(const std::string& text, unsigned style) {
    MessageIcon icon = IconFromStyle(style);
    const bool yesNo = (style & 0x0Fu) == MB_YESNO;
    // The framework the plug-ins were written for never shows a box without
    // an icon: when the caller asks for none it shows the exclamation mark on
    // an OK box and the question mark on a question.
    if (icon == MessageIcon::None)
        icon = yesNo ? MessageIcon::Question : MessageIcon::Warning;
    int result = m_dialogs->Ask(text, icon, yesNo ? MessageButtons::YesNo : MessageButtons::Ok);
    if (yesNo) {
        if (result != IDYES)
            result = IDNO;
    } else {
        result = IDOK;
    }
    if (m_transcript != nullptr) {
        std::ostream& out = *m_transcript;
        out << "[message icon=" << IconName(icon) << " buttons=" << (yesNo ? "yesno" : "ok");
        if (yesNo)
            out << " answer=" << (result == IDYES ? "yes" : "no");
        out << "]\n" << text << "\n[end]\n";
        out.flush();
    }
    return result;
}

std::string CApplication::DoOpenFileDialog(const std::string& filter,
                                           const std::string& defaultExt) {
    return m_dialogs->ChooseOpenFile(filter, defaultExt);
}

std::string CApplication::DoSaveFileDialog(const std::string& filter,
                                           const std::string& defaultExt) {
    std::string path = m_dialogs->ChooseSaveFile(filter, defaultExt);
    if (path.empty() || defaultExt.empty() || HasExtension(path))
        return path;
    // The framework's dialogs take the extension with or without its dot.
    if (defaultExt.front() != '.')
        path += '.';
    return path + defaultExt;
}
