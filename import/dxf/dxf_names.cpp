#include "import/dxf/dxf_names.h"

#include "import/dxf/dxf_pairs.h"
#include "platform/ascii_text.h"
#include "platform/code_pages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// $ACADVER of R2007, the first version whose text is UTF-8.
constexpr unsigned kFirstUtf8Version = 1021;
constexpr unsigned kFallbackCodePage = 1252;
constexpr std::array<unsigned, 14> kAnsiCodePages = {874,  932,  936,  949,  950,  1250, 1251,
                                                     1252, 1253, 1254, 1255, 1256, 1257, 1258};

constexpr std::string_view kEscapeStart = "\\U+";
constexpr std::size_t kEscapeDigits = 4;
constexpr std::size_t kEscapeSize = kEscapeStart.size() + kEscapeDigits;

// The decimal number text holds from its start to its end; false for anything else
// (and for more digits than a version or a code page has).
bool ParseDecimal(std::string_view text, unsigned& value) {
    if (text.empty() || text.size() > 6) {
        return false;
    }
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

bool IsUtf8Version(std::string_view acadver) {
    unsigned version = 0;
    return acadver.size() > 2 && EqualsIgnoringAsciiCase(acadver.substr(0, 2), "AC") &&
           ParseDecimal(acadver.substr(2), version) && version >= kFirstUtf8Version;
}

unsigned CodePageOf(std::string_view dwgCodePage) {
    constexpr std::string_view kPrefix = "ANSI_";
    unsigned number = 0;
    if (dwgCodePage.size() > kPrefix.size() &&
        EqualsIgnoringAsciiCase(dwgCodePage.substr(0, kPrefix.size()), kPrefix) &&
        ParseDecimal(dwgCodePage.substr(kPrefix.size()), number) &&
        std::find(kAnsiCodePages.begin(), kAnsiCodePages.end(), number) != kAnsiCodePages.end()) {
        return number;
    }
    return kFallbackCodePage;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The character of the escape at text[pos], or 0 when none stands there: fewer than four
// hex digits, U+0000 (which would end the name in C), a surrogate half (no character).
char32_t EscapedCharacterAt(std::string_view text, std::size_t pos) {
    if (text.size() - pos < kEscapeSize || text.substr(pos, kEscapeStart.size()) != kEscapeStart) {
        return 0;
    }
    char32_t value = 0;
    for (std::size_t i = pos + kEscapeStart.size(); i < pos + kEscapeSize; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) {
            return 0;
        }
        value = value * 16 + static_cast<char32_t>(digit);
    }
    if (value >= 0xD800 && value <= 0xDFFF) {
        return 0;
    }
    return value;
}

bool HasEscape(std::string_view text) {
    for (std::size_t pos = text.find('\\'); pos != std::string_view::npos;
         pos = text.find('\\', pos + 1)) {
        if (EscapedCharacterAt(text, pos) != 0) {
            return true;
        }
    }
    return false;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void AppendUtf8(char32_t c, std::string& out) {
    // Escapes hold at most four hex digits: never beyond U+FFFF, so three bytes at most.
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// text with every escape replaced by its character, in UTF-8, or as the scene stores it
// when asPartName (the rest of the text is then not UTF-8, but kept bytes).
std::string DecodeEscapes(std::string_view text, bool asPartName) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t slash = text.find('\\', pos);
        if (slash == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, slash - pos));
        const char32_t c = EscapedCharacterAt(text, slash);
        if (c == 0) {
            out += '\\';
            pos = slash + 1;
            continue;
        }
        if (asPartName) {
            std::string utf8;
            AppendUtf8(c, utf8);
            out += Utf8ToPartName(utf8);
        } else {
            AppendUtf8(c, out);
        }
        pos = slash + kEscapeSize;
    }
    return out;
}

// Whether the scene stores UTF-8 text as it is (Linux), so that any UTF-8 name is kept.
bool PartNamesAreUtf8() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

} // namespace

CDxfNameDecoder::CDxfNameDecoder(std::string_view acadver, std::string_view dwgCodePage) {
    if (IsUtf8Version(acadver)) {
        m_form = ETextForm::Utf8;
    } else if (!dwgCodePage.empty()) {
        m_form = ETextForm::CodePage;
        m_nCodePage = CodePageOf(dwgCodePage);
    }
}

bool CDxfNameDecoder::KeepsBytes(std::string_view raw) const {
    if (HasEscape(raw)) {
        return false;
    }
    switch (m_form) {
    case ETextForm::Bytes:
        return true;
    case ETextForm::Utf8:
        return PartNamesAreUtf8() || IsAscii(raw);
    case ETextForm::CodePage:
        // ASCII is the same in all these code pages and in UTF-8; a byte above it is
        // another character, and in 932, 936, 949 and 950 it takes the next byte, ASCII
        // or not, as the second half of its character.
        return IsAscii(raw);
    }
    return false;
}

std::string CDxfNameDecoder::Decode(std::string_view raw) const {
    switch (m_form) {
    case ETextForm::Bytes:
        return DecodeEscapes(raw, true);
    case ETextForm::Utf8:
        return Utf8ToPartName(DecodeEscapes(raw, false));
    case ETextForm::CodePage: {
        // The code page first: in a double-byte code page a '\' can be the second byte of a
        // character ("表" is 95 5C in 932), which is no escape.
        std::string utf8;
        if (!CodePageToUtf8(m_nCodePage, raw, utf8)) {
            return DecodeEscapes(raw, true); // a system without this code page: bytes kept
        }
        return Utf8ToPartName(DecodeEscapes(utf8, false));
    }
    }
    return std::string(raw);
}

void FindDxfHeaderNames(std::string_view text, std::string_view& acadver,
                        std::string_view& codePage) {
    acadver = {};
    codePage = {};
    CDxfPairReader reader(text);
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<CDxfPair> pairs;
    if (!reader.NextEntity(name, line, pairs) || name != "SECTION" || pairs.empty() ||
        pairs[0].m_strCode != "2" || pairs[0].m_strValue != "HEADER") {
        return;
    }
    // A header variable is the pair 9/$NAME, its value the pair after it.
    for (std::size_t i = 1; i + 1 < pairs.size(); ++i) {
        if (pairs[i].m_strCode != "9" || pairs[i + 1].m_strCode == "9") {
            continue;
        }
        if (pairs[i].m_strValue == "$ACADVER") {
            acadver = pairs[i + 1].m_strValue;
        } else if (pairs[i].m_strValue == "$DWGCODEPAGE") {
            codePage = pairs[i + 1].m_strValue;
        }
    }
}
