#include "host/scene_tools/dump_writer.h"

#include "platform/utf8_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string NumberText(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

// text between double quotes, with '"', '\\', newline, carriage return and tab escaped as in
// C and the other control bytes as \u00hh (JSON) or \xhh (text). JSON keeps whole UTF-8
// sequences and writes any other byte above 0x7F as U+FFFD; the text form keeps every byte.
std::string Quoted(const std::string& text, bool json) {
    std::string out = "\"";
    for (size_t pos = 0; pos < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        const size_t length = json ? Utf8SequenceLength(text, pos) : 1;
        if (length == 0) {
            out += "\\ufffd";
            ++pos;
            continue;
        }
        if (length > 1) {
            out.append(text, pos, length);
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, json ? "\\u%04x" : "\\x%02x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
        pos += length;
    }
    return out + "\"";
}

std::string JsonString(const std::string& text) {
    return Quoted(text, true);
}

std::string QuotedText(const std::string& text) {
    return Quoted(text, false);
}

std::string JsonNumber(double value) {
    if (std::isnan(value))
        return "\"NaN\"";
    if (std::isinf(value))
        return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    return NumberText(value);
}

} // namespace

void CJsonDumpWriter::Prefix(const char* key) {
    if (!m_levels.empty()) {
        Level& level = m_levels.back();
        if (!level.empty)
            m_out << (level.compact ? ", " : ",");
        if (!level.compact)
            m_out << '\n' << std::string(2 * m_levels.size(), ' ');
        level.empty = false;
    }
    if (key != nullptr)
        m_out << JsonString(key) << ": ";
}

void CJsonDumpWriter::Close(char bracket) {
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!level.compact && !level.empty)
        m_out << '\n' << std::string(2 * m_levels.size(), ' ');
    m_out << bracket;
}

void CJsonDumpWriter::BeginObject(const char* key, bool compact) {
    Prefix(key);
    m_out << '{';
    const bool inCompact = !m_levels.empty() && m_levels.back().compact;
    m_levels.push_back({compact || inCompact, true});
}

void CJsonDumpWriter::EndObject() {
    Close('}');
}

void CJsonDumpWriter::BeginArray(const char* key, bool compact) {
    Prefix(key);
    m_out << '[';
    const bool inCompact = !m_levels.empty() && m_levels.back().compact;
    m_levels.push_back({compact || inCompact, true});
}

void CJsonDumpWriter::EndArray() {
    Close(']');
}

void CJsonDumpWriter::Integer(const char* key, std::int64_t value) {
    Prefix(key);
    m_out << value;
}

void CJsonDumpWriter::Real(const char* key, double value) {
    Prefix(key);
    m_out << JsonNumber(value);
}

void CJsonDumpWriter::Text(const char* key, const std::string& value) {
    Prefix(key);
    m_out << JsonString(value);
}

void CJsonDumpWriter::Finish() {
    m_out << '\n';
}

void CTextDumpWriter::Start(const char* key) {
    if (!m_levels.empty() && m_levels.back().compact) {
        Level& level = m_levels.back();
        if (level.count > 0)
            m_out << ' ';
        if (key != nullptr)
            m_out << key << '=';
        ++level.count;
        return;
    }
    if (m_bWritten)
        m_out << '\n';
    m_bWritten = true;
    // The top object's members start at the margin; each level below indents by two.
    m_out << std::string(2 * (m_levels.size() - 1), ' ');
    if (key != nullptr)
        m_out << key << ':';
    else
        m_out << '[' << m_levels.back().count << "]:";
    ++m_levels.back().count;
}

void CTextDumpWriter::Scalar(const char* key, const std::string& text) {
    const bool compactLine = !m_levels.empty() && m_levels.back().compact;
    Start(key);
    if (!compactLine)
        m_out << ' ';
    m_out << text;
}

void CTextDumpWriter::BeginObject(const char* key, bool compact) {
    if (m_levels.empty()) {
        m_levels.push_back({false, compact, 0});
        return;
    }
    const bool inCompact = m_levels.back().compact;
    Start(key);
    if (inCompact)
        m_out << '(';
    else if (compact)
        m_out << ' ';
    m_levels.push_back({false, compact || inCompact, 0});
}

void CTextDumpWriter::EndObject() {
    m_levels.pop_back();
    if (!m_levels.empty() && m_levels.back().compact)
        m_out << ')';
}

void CTextDumpWriter::BeginArray(const char* key, bool compact) {
    const bool inCompact = !m_levels.empty() && m_levels.back().compact;
    Start(key);
    if (inCompact)
        m_out << '[';
    else if (compact)
        m_out << ' ';
    m_levels.push_back({true, compact || inCompact, 0});
}

void CTextDumpWriter::EndArray() {
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!m_levels.empty() && m_levels.back().compact)
        m_out << ']';
    else if (!level.compact && level.count == 0)
        m_out << " (none)";
}

void CTextDumpWriter::Integer(const char* key, std::int64_t value) {
    Scalar(key, std::to_string(value));
}

void CTextDumpWriter::Real(const char* key, double value) {
    Scalar(key, NumberText(value));
}

void CTextDumpWriter::Text(const char* key, const std::string& value) {
    Scalar(key, QuotedText(value));
}

void CTextDumpWriter::Finish() {
    m_out << '\n';
}
