#include "import/dxf/dxf_pairs.h"

#include "import/dxf/c_numbers.h"
#include "platform/ascii_text.h"

#include <bit>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

bool IsGroupCode(std::string_view code) {
    std::size_t i = (!code.empty() && code[0] == '-') ? 1 : 0;
    if (i == code.size()) {
        return false;
    }
    for (; i < code.size(); ++i) {
        if (code[i] < '0' || code[i] > '9') {
            return false;
        }
    }
    return true;
}

// The first lineEnd in [p, end), or end. DXF lines are short, a few bytes to a dozen: a call
// to memchr per line costs more than the line, and a byte loop pays a mispredicted branch at
// every line's end. Sixteen bytes are compared at once where that many remain.
const char* FindLineEnd(const char* p, const char* end, char lineEnd) {
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(lineEnd);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted));
        if (found != 0) {
            return p + std::countr_zero(static_cast<unsigned>(found));
        }
        p += 16;
    }
#endif
    while (p != end && *p != lineEnd) {
        ++p;
    }
    return p;
}

} // namespace

std::string EscapedDxfText(std::string_view text) {
    constexpr std::size_t kShown = 40;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    if (text.size() > kShown) {
        out += "...";
    }
    return out;
}

const CDxfPair* FindDxfPair(const std::vector<CDxfPair>& entity, std::string_view code) {
    for (const CDxfPair& pair : entity) {
        if (pair.m_strCode == code) {
            return pair.m_strValue == kDxfNotFound ? nullptr : &pair;
        }
    }
    return nullptr;
}

bool ReadDxfCoordinate(const CDxfPair* pair, double& value, std::string& error) {
    if (pair == nullptr) {
        value = 0.0;
        return true;
    }
    value = CStrToD(pair->m_strValue);
    if (float narrowed = 0.0f; ToFiniteFloat(value, narrowed)) {
        return true;
    }
    // The value line follows its code line.
    error = "line " + std::to_string(pair->m_nLine + 1) + ": the value \"" +
            EscapedDxfText(pair->m_strValue) + "\" is too large for a coordinate";
    return false;
}

CDxfPairReader::CDxfPairReader(std::string_view text) : m_text(text) {
    // Editors that save UTF-8 may put a byte-order mark first; it is not part of the code.
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF") {
        m_nPos = 3;
    }
    // Only a text with no LF at all has CR line ends: elsewhere a CR is white space.
    if (m_text.find('\n') == std::string_view::npos) {
        m_cLineEnd = '\r';
    }
}

bool CDxfPairReader::NextLine(std::string_view& line) {
    if (m_nPos >= m_text.size()) {
        return false;
    }
    const char* start = m_text.data() + m_nPos;
    const char* end = m_text.data() + m_text.size();
    const char* p = FindLineEnd(start, end, m_cLineEnd);
    line = std::string_view(start, static_cast<std::size_t>(p - start));
    m_nPos += line.size() + (p != end ? 1 : 0);
    ++m_nLine;
    return true;
}

bool CDxfPairReader::NextPair(CDxfPair& pair) {
    if (m_bEnded) {
        return false;
    }
    std::string_view code;
    std::string_view value;
    if (!NextLine(code)) {
        m_bEnded = true;
        return false;
    }
    pair.m_nLine = m_nLine;
    pair.m_strCode = TrimCSpace(code);
    if (pair.m_strCode.empty() && TrimCSpace(m_text.substr(m_nPos)).empty()) {
        m_bEnded = true; // blank lines at the very end: no pair, and nothing wrong
        return false;
    }
    if (!IsGroupCode(pair.m_strCode)) {
        m_strError = "line " + std::to_string(m_nLine) + ": group code \"" +
                     EscapedDxfText(pair.m_strCode) + "\" is not a number";
        m_bEnded = true;
        return false;
    }
    if (!NextLine(value)) {
        m_bEnded = true;
        return false;
    }
    pair.m_strValue = TrimCSpace(value);
    if (pair.m_strCode == "0" && pair.m_strValue == "EOF") {
        m_bEnded = true;
        m_bReachedEof = true;
    }
    return true;
}

bool CDxfPairReader::NextEntity(std::string_view& name, std::uint32_t& line,
                                std::vector<CDxfPair>& pairs) {
    pairs.clear();
    CDxfPair pair;
    if (m_bHavePending) {
        pair = m_pending;
        m_bHavePending = false;
    } else {
        do {
            if (!NextPair(pair)) {
                return false;
            }
        } while (pair.m_strCode != "0");
    }
    name = pair.m_strValue;
    line = pair.m_nLine;
    while (NextPair(pair)) {
        if (pair.m_strCode == "0") {
            m_pending = pair;
            m_bHavePending = true;
            break;
        }
        pairs.push_back(pair);
    }
    // An error inside the entity still hands the entity over; the caller checks Error().
    return true;
}
