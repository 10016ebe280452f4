// CDxfPairReader: the code/value pairs of a text DXF held in memory, grouped into entities.
//
// A pair is two lines: the group code, then its value. Lines end at LF, and carriage returns
// before it are white space, so LF, CR LF and CR CR LF files read alike; a text without any
// LF has CR line ends (old Mac files). The last line may lack its line end. Both lines are
// trimmed of white space. A UTF-8 byte-order mark at the start is skipped. Reading stops after
// the pair 0/EOF (producers leave bytes behind it), at the end of the text, or at a code
// line without its value line. A code line that is not a decimal integer is an error that
// names its line: such text is not a DXF file, and its pairs cannot be trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CDxfPair {
    std::string_view m_strCode;
    std::string_view m_strValue;
    std::uint32_t m_nLine = 0; // line number (from 1) of the code line
};

// The value a missing group reads as, and a value that counts as missing.
inline constexpr std::string_view kDxfNotFound = "N/A";

// The first pair of the entity with this group code, or null. A value that is literally
// "N/A" counts as missing.
const CDxfPair* FindDxfPair(const std::vector<CDxfPair>& entity, std::string_view code);

// A coordinate as the C runtime reads it, in double precision; a missing group (null) is 0.
// It is narrowed to single precision only once it is placed, but a value that could never be
// narrowed would become an infinity in the scene: false, with the value's line in error.
bool ReadDxfCoordinate(const CDxfPair* pair, double& value, std::string& error);

// A file's text for a message: its first 40 bytes ("..." after them when there are more),
// with '"' and '\' escaped and every byte outside printable ASCII as \xHH, so that the
// reader sees what the file holds (a byte-order mark, a NUL of UTF-16 text).
std::string EscapedDxfText(std::string_view text);

class CDxfPairReader {
  public:
    explicit CDxfPairReader(std::string_view text);

    // The next entity: a pair with group code 0 (its trimmed value in name) and the pairs
    // that follow it up to the next code 0. Pairs before the first code 0 belong to none.
    // false at the end, or on an error (see Error()).
    bool NextEntity(std::string_view& name, std::uint32_t& line, std::vector<CDxfPair>& pairs);

    const std::string& Error() const { return m_strError; }
    // Whether the pair 0/EOF was read: a text that ends without it was cut short, or written
    // by a program that stopped before it had finished.
    bool ReachedEof() const { return m_bReachedEof; }

  private:
    bool NextPair(CDxfPair& pair);
    bool NextLine(std::string_view& line);

    std::string_view m_text;
    char m_cLineEnd = '\n';
    std::size_t m_nPos = 0;
    std::uint32_t m_nLine = 0;
    bool m_bEnded = false;
    bool m_bReachedEof = false;
    bool m_bHavePending = false;
    CDxfPair m_pending;
    std::string m_strError;
};
