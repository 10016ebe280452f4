// Binary DXF turned into the text DXF it stands for, in memory, so that the text reader
// (dxf_pairs.h, dxf_reader.h) reads both forms of a drawing alike.
//
// A binary file opens with a 22-byte sentinel; group code/value pairs follow up to and
// including 0/EOF, and bytes after that pair are ignored. Group codes are one byte up to R12
// (the byte 255 announces a two-byte code after it) and two bytes from R13 on, told apart by
// the header's $ACADVER as other readers do. Each value's form follows from its group code:
// a NUL-terminated string, a little-endian double or 16-, 32- or 64-bit integer, a one-byte
// boolean, or a binary chunk (a length byte and that many bytes, written as uppercase hex as
// text DXF writes it). A file that ends after a whole pair without 0/EOF is kept as read,
// as the text reader keeps a text without EOF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The sentinel that opens a binary DXF file: "AutoCAD Binary DXF\r\n\x1a\0".
inline constexpr std::string_view kBinaryDxfSentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

bool IsBinaryDxf(std::string_view data);

struct CDxfBinaryText {
    // "code\nvalue\n" per pair, in file order.
    std::string m_strText;
    // The byte offset in the binary file of pair k's group code (pair k is text lines 2k+1
    // and 2k+2), so that a message about a line can name the byte it came from.
    std::vector<std::uint64_t> m_anPairOffset;
    // Whether the group codes were read as one byte each (R12 and earlier).
    bool m_bByteCodes = false;
};

// false for a damaged file, with error naming the byte offset of the pair at fault
// ("byte offset 1234: ...") and out holding the pairs before it.
bool BinaryDxfToText(std::string_view data, CDxfBinaryText& out, std::string& error);
