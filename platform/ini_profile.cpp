#include "platform/ini_profile.h"

#include "platform/ascii_text.h"

#include "platform/replacing_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// Section and key names compare as the registry compares them: without
// regard to the case of ASCII letters. Other bytes compare exactly.
bool SameName(const std::string& a, const std::string& b) {
    return EqualsIgnoringAsciiCase(a, b);
}

// One line of the file as it was, and what it means. A line that is neither
// blank, a comment, a section header nor key=value is malformed: it means
// nothing on reading and is written back unchanged.
struct IniLine {
    enum class Kind { Other, Section, Entry };
    std::string text;
    Kind kind = Kind::Other;
    std::string name; // section name or key
    std::string value;
};

// A line we add: only its text matters, the file is not read again before saving.
IniLine EntryLine(std::string text) {
    IniLine line;
    line.text = std::move(text);
    return line;
}

IniLine Classify(std::string text) {
    IniLine line;
    const std::string trimmed = Trimmed(text);
    line.text = std::move(text);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
        return line;
    if (trimmed[0] == '[') {
        if (trimmed.back() == ']' && trimmed.size() > 2) {
            line.kind = IniLine::Kind::Section;
            line.name = Trimmed(trimmed.substr(1, trimmed.size() - 2));
        }
        return line;
    }
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos || equals == 0)
        return line;
    line.kind = IniLine::Kind::Entry;
    line.name = Trimmed(trimmed.substr(0, equals));
    line.value = Trimmed(trimmed.substr(equals + 1));
    // Quotes keep a value's outer blanks (see IniValueText).
    if (line.value.size() >= 2 && line.value.front() == '"' && line.value.back() == '"')
        line.value = line.value.substr(1, line.value.size() - 2);
    return line;
}

// How value is written after "key=": as it is, unless reading would change it
// (outer blanks trimmed, or outer quotes taken off): then between quotes.
std::string IniValueText(const std::string& value) {
    if (Trimmed(value) != value || (!value.empty() && value.front() == '"'))
        return '"' + value + '"';
    return value;
}

enum class LoadResult { Ok, Missing, Failed };

LoadResult Load(const std::string& path, std::vector<IniLine>& lines, bool& endsWithNewline) {
    // A device, pipe or socket is no profile: reading one could wait, or run on, for ever.
    std::error_code kind;
    if (const auto status = std::filesystem::status(path, kind);
        !kind && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return LoadResult::Failed;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::error_code error;
        const bool exists = std::filesystem::exists(path, error);
        return !exists && !error ? LoadResult::Missing : LoadResult::Failed;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return LoadResult::Failed;
    const std::string content = buffer.str();
    endsWithNewline = content.empty() || content.back() == '\n';
    size_t pos = 0;
    while (pos < content.size()) {
        size_t end = content.find('\n', pos);
        if (end == std::string::npos)
            end = content.size();
        lines.push_back(Classify(content.substr(pos, end - pos)));
        pos = end + 1;
    }
    return LoadResult::Ok;
}

// Index of the entry for key in section, or npos; sectionEnd gets the index
// after the last entry of the first matching section (npos when the section
// is missing), where a new key goes.
size_t Find(const std::vector<IniLine>& lines, const std::string& section, const std::string& key,
            size_t& sectionEnd) {
    sectionEnd = std::string::npos;
    bool inSection = false;
    bool firstSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const IniLine& line = lines[i];
        if (line.kind == IniLine::Kind::Section) {
            inSection = SameName(line.name, section);
            firstSection = inSection && sectionEnd == std::string::npos;
            if (firstSection)
                sectionEnd = i + 1;
        } else if (line.kind == IniLine::Kind::Entry && inSection) {
            if (SameName(line.name, key))
                return i;
            if (firstSection)
                sectionEnd = i + 1;
        }
    }
    return std::string::npos;
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// Writes content to a new file beside path and renames it over path, so a
// failure at any point leaves the old file whole. A profile is a file the next
// run reads back: a device or pipe in its place is refused.
bool ReplaceFile(const std::string& path, const std::string& content) {
    CReplacingFile file;
    return file.Open(path, NonRegularTarget::Refuse) &&
           file.Write(content.data(), content.size()) && file.Commit();
}

} // namespace

CIniProfile::CIniProfile(std::string path) : m_strPath(std::move(path)) {}

bool CIniProfile::Read(const std::string& section, const std::string& key, std::string& value) {
    std::vector<IniLine> lines;
    bool endsWithNewline = true;
    if (Load(m_strPath, lines, endsWithNewline) != LoadResult::Ok)
        return false;
    size_t sectionEnd = 0;
    const size_t index = Find(lines, section, key, sectionEnd);
    if (index == std::string::npos)
        return false;
    value = lines[index].value;
    return true;
}

bool CIniProfile::Write(const std::string& section, const std::string& key,
                        const std::string& value) {
    // What cannot be read back as written is refused rather than stored mangled.
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(']') != std::string::npos ||
        key.find('=') != std::string::npos || Trimmed(section) != section || Trimmed(key) != key ||
        key[0] == ';' || key[0] == '#' || key[0] == '[')
        return false;

    std::vector<IniLine> lines;
    bool endsWithNewline = true;
    if (Load(m_strPath, lines, endsWithNewline) == LoadResult::Failed)
        return false;

    const std::string entry = key + "=" + IniValueText(value);
    size_t sectionEnd = 0;
    const size_t index = Find(lines, section, key, sectionEnd);
    if (index != std::string::npos) {
        lines[index].text = entry;
    } else if (sectionEnd != std::string::npos) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), EntryLine(entry));
    } else {
        if (!lines.empty() && !Trimmed(lines.back().text).empty())
            lines.push_back(EntryLine(""));
        lines.push_back(EntryLine("[" + section + "]"));
        lines.push_back(EntryLine(entry));
    }

    std::string content;
    for (const IniLine& line : lines)
        content += line.text + "\n";

    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(m_strPath).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    return ReplaceFile(m_strPath, content);
}
