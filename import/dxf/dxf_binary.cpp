#include "import/dxf/dxf_binary.h"

#include "platform/ascii_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// How a value is stored, by its group code.
enum class EValueForm { kString, kDouble, kInt16, kInt32, kInt64, kBool, kChunk };

struct CCodeRange {
    std::uint32_t m_nFirst;
    std::uint32_t m_nLast;
    EValueForm m_eForm;
};

// The group codes of the DXF reference with their values' forms; the chunks come first
// because they sit inside string ranges (310-319 in 300-369, 1004 in 1000-1009).
constexpr std::array<CCodeRange, 31> kCodeRanges{{
    {310, 319, EValueForm::kChunk},    {1004, 1004, EValueForm::kChunk},
    {0, 9, EValueForm::kString},       {10, 59, EValueForm::kDouble},
    {60, 79, EValueForm::kInt16},      {90, 99, EValueForm::kInt32},
    {100, 102, EValueForm::kString},   {105, 105, EValueForm::kString},
    {110, 149, EValueForm::kDouble},   {160, 169, EValueForm::kInt64},
    {170, 179, EValueForm::kInt16},    {210, 239, EValueForm::kDouble},
    {270, 289, EValueForm::kInt16},    {290, 299, EValueForm::kBool},
    {300, 369, EValueForm::kString},   {370, 389, EValueForm::kInt16},
    {390, 399, EValueForm::kString},   {400, 409, EValueForm::kInt16},
    {410, 419, EValueForm::kString},   {420, 429, EValueForm::kInt32},
    {430, 439, EValueForm::kString},   {440, 459, EValueForm::kInt32},
    {460, 469, EValueForm::kDouble},   {470, 481, EValueForm::kString},
    {999, 999, EValueForm::kString},   {1000, 1009, EValueForm::kString},
    {1010, 1059, EValueForm::kDouble}, {1060, 1070, EValueForm::kInt16},
    {1071, 1071, EValueForm::kInt32},
}};

// false for a code the reference does not define.
bool FindValueForm(std::uint32_t code, EValueForm& form) {
    for (const CCodeRange& range : kCodeRanges) {
        if (code >= range.m_nFirst && code <= range.m_nLast) {
            form = range.m_eForm;
            return true;
        }
    }
    return false;
}

std::size_t ValueSize(EValueForm form) {
    switch (form) {
    case EValueForm::kDouble:
    case EValueForm::kInt64:
        return 8;
    case EValueForm::kInt32:
        return 4;
    case EValueForm::kInt16:
        return 2;
    default:
        return 1;
    }
}

// Whether the group codes are one byte each. Binary DXF does not say so itself: the header's
// $ACADVER does, looked for in the first 1024 bytes as ezdxf looks for it. R12 (AC1009) and
// earlier have one-byte codes; a file without the variable is taken for R12.
bool HasByteGroupCodes(std::string_view data) {
    constexpr std::string_view kName{"$ACADVER\0", 9};
    const std::size_t at = data.substr(0, 1024).find(kName, kBinaryDxfSentinel.size());
    if (at == std::string_view::npos) {
        return true;
    }
    // Group code 1 and the version follow the name: the version starts one byte on ("AC...")
    // after a one-byte code, two after a two-byte code.
    std::string_view version = data.substr(at + kName.size());
    const std::size_t code = version.size() >= 2 && version[1] == 'A' ? 1 : 2;
    version.remove_prefix(std::min(code, version.size()));
    return version.substr(0, 6) <= "AC1009";
}

class CBinaryDxfConverter {
  public:
    CBinaryDxfConverter(std::string_view data, CDxfBinaryText& out) : m_data(data), m_out(out) {}

    bool Convert(std::string& error);

  private:
    std::size_t Remaining() const { return m_data.size() - m_nPos; }
    // The next count bytes (count <= Remaining()) as a little-endian unsigned number.
    std::uint64_t TakeLittleEndian(std::size_t count);
    bool ReadGroupCode(std::uint32_t& code);
    bool ReadValue(std::uint32_t code, EValueForm form);
    bool ReadString(std::uint32_t code);
    bool ReadChunk(std::uint32_t code);
    bool AppendDouble(std::uint32_t code, double value);
    template <typename T> void AppendNumber(T value);
    bool Fail(const std::string& reason);

    std::string_view m_data;
    CDxfBinaryText& m_out;
    std::size_t m_nPos = 0;
    std::size_t m_nPair = 0; // offset of the pair being read
    bool m_bByteCodes = false;
    std::string m_strError;
};

bool CBinaryDxfConverter::Fail(const std::string& reason) {
    m_strError = "byte offset " + std::to_string(m_nPair) + ": " + reason;
    return false;
}

std::uint64_t CBinaryDxfConverter::TakeLittleEndian(std::size_t count) {
    std::array<unsigned char, 8> bytes{};
    std::memcpy(bytes.data(), m_data.data() + m_nPos, count);
    m_nPos += count;
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

template <typename T> void CBinaryDxfConverter::AppendNumber(T value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    m_out.m_strText.append(text.data(), result.ptr);
}

bool CBinaryDxfConverter::ReadGroupCode(std::uint32_t& code) {
    const std::size_t size = m_bByteCodes ? 1 : 2;
    if (Remaining() < size) {
        return Fail("the file ends inside a group code");
    }
    code = static_cast<std::uint32_t>(TakeLittleEndian(size));
    // Up to R12 the byte 255 stands for a two-byte code after it (extended data, 1000 on).
    if (m_bByteCodes && code == 255) {
        if (Remaining() < 2) {
            return Fail("the file ends inside a group code");
        }
        code = static_cast<std::uint32_t>(TakeLittleEndian(2));
    }
    return true;
}

bool CBinaryDxfConverter::ReadString(std::uint32_t code) {
    const std::size_t end = m_data.find('\0', m_nPos);
    if (end == std::string_view::npos) {
        return Fail("the string of group code " + std::to_string(code) + " has no closing NUL");
    }
    const std::size_t start = m_out.m_strText.size();
    m_out.m_strText.append(m_data.substr(m_nPos, end - m_nPos));
    // Text DXF has a value on one line: a line feed in the value would end it there and turn
    // the rest into a group code, so it becomes a space.
    std::replace(m_out.m_strText.begin() + static_cast<std::ptrdiff_t>(start),
                 m_out.m_strText.end(), '\n', ' ');
    m_nPos = end + 1;
    return true;
}

bool CBinaryDxfConverter::ReadChunk(std::uint32_t code) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (Remaining() < 1) {
        return Fail("the binary chunk of group code " + std::to_string(code) +
                    " has no length byte");
    }
    const std::size_t length = static_cast<unsigned char>(m_data[m_nPos]);
    ++m_nPos;
    if (Remaining() < length) {
        return Fail("the binary chunk of group code " + std::to_string(code) + " holds " +
                    std::to_string(length) + " bytes, " + std::to_string(Remaining()) + " remain");
    }
    for (char c : m_data.substr(m_nPos, length)) {
        const auto byte = static_cast<unsigned char>(c);
        m_out.m_strText += kHex[byte >> 4];
        m_out.m_strText += kHex[byte & 0xF];
    }
    m_nPos += length;
    return true;
}

bool CBinaryDxfConverter::AppendDouble(std::uint32_t code, double value) {
    if (std::isnan(value)) {
        return Fail("group code " + std::to_string(code) +
                    " holds a NaN, which text DXF cannot write");
    }
    // No decimal text reads as an infinity but one beyond the range, which saturates.
    if (std::isinf(value)) {
        m_out.m_strText += value < 0 ? "-1e999" : "1e999";
        return true;
    }
    AppendNumber(value);
    return true;
}

bool CBinaryDxfConverter::ReadValue(std::uint32_t code, EValueForm form) {
    if (form == EValueForm::kString) {
        return ReadString(code);
    }
    if (form == EValueForm::kChunk) {
        return ReadChunk(code);
    }
    const std::size_t size = ValueSize(form);
    if (Remaining() < size) {
        return Fail("group code " + std::to_string(code) + " needs " + std::to_string(size) +
                    " bytes of value, " + std::to_string(Remaining()) + " remain");
    }
    const std::uint64_t bits = TakeLittleEndian(size);
    switch (form) {
    case EValueForm::kDouble:
        return AppendDouble(code, std::bit_cast<double>(bits));
    case EValueForm::kInt16:
        AppendNumber(static_cast<std::int16_t>(bits));
        break;
    case EValueForm::kInt32:
        AppendNumber(static_cast<std::int32_t>(bits));
        break;
    case EValueForm::kInt64:
        AppendNumber(static_cast<std::int64_t>(bits));
        break;
    default: // a boolean: the byte as it stands
        AppendNumber(static_cast<unsigned>(bits));
        break;
    }
    return true;
}

bool CBinaryDxfConverter::Convert(std::string& error) {
    m_out = CDxfBinaryText{};
    if (!IsBinaryDxf(m_data)) {
        m_strError = "byte offset 0: not a binary DXF file (it does not open with "
                     "\"AutoCAD Binary DXF\\r\\n\\x1A\\0\")";
        error = m_strError;
        return false;
    }
    m_bByteCodes = HasByteGroupCodes(m_data);
    m_out.m_bByteCodes = m_bByteCodes;
    // A double of 8 bytes and its code become some 20 characters, a string about its own
    // length; pairs take 5 to 10 bytes.
    if (m_data.size() <= std::numeric_limits<std::size_t>::max() / 2) {
        m_out.m_strText.reserve(m_data.size() * 2);
    }
    m_out.m_anPairOffset.reserve(m_data.size() / 8);
    m_nPos = kBinaryDxfSentinel.size();
    while (Remaining() > 0) {
        m_nPair = m_nPos;
        std::uint32_t code = 0;
        if (!ReadGroupCode(code)) {
            break;
        }
        EValueForm form = EValueForm::kString;
        if (!FindValueForm(code, form)) {
            Fail("group code " + std::to_string(code) + " is not a DXF group code");
            break;
        }
        const std::size_t pairStart = m_out.m_strText.size();
        AppendNumber(code);
        m_out.m_strText += '\n';
        const std::size_t valueStart = m_out.m_strText.size();
        if (!ReadValue(code, form)) {
            m_out.m_strText.resize(pairStart); // out keeps whole pairs only
            break;
        }
        const std::string_view value = std::string_view(m_out.m_strText).substr(valueStart);
        // The text reader stops at this pair, its value trimmed; so does the conversion.
        const bool end = code == 0 && TrimCSpace(value) == "EOF";
        m_out.m_strText += '\n';
        m_out.m_anPairOffset.push_back(m_nPair);
        if (end) {
            break;
        }
    }
    if (!m_strError.empty()) {
        error = m_strError;
    }
    return m_strError.empty();
}

} // namespace

bool IsBinaryDxf(std::string_view data) {
    return data.starts_with(kBinaryDxfSentinel);
}

bool BinaryDxfToText(std::string_view data, CDxfBinaryText& out, std::string& error) {
    return CBinaryDxfConverter(data, out).Convert(error);
}
