// CArchive: the little-endian primitive stream of the exchange file.
//
//   int32   4 bytes, two's complement
//   word    2 bytes
//   double  8 bytes, IEEE 754 binary64
//   block   n bytes as they are (runs of int32 values, little-endian)
//   string  prefix, then the bytes, no terminator. Prefix: one byte n when
//           n < 255; 0xFF and a word n when 255 <= n < 65534; 0xFF, the word
//           0xFFFF and an int32 n otherwise.
//   count   an int32 number of records that follow
//
// Strings are bytes (UTF-8 on Linux), written as they are. On reading, the
// word 0xFFFE after a byte 0xFF marks a string stored as UTF-16LE: a second
// length prefix (in characters) follows, then 2 bytes per character; such a
// string is converted to UTF-8 (an unpaired surrogate becomes U+FFFD). That
// form is never written.
//
// An archive has one direction, fixed at construction. It reads from or writes
// to a memory buffer, or an open file descriptor through a 64 KiB buffer.
// Loading past the end of the data throws CArchiveException, whose what() names
// the field being read and the byte offset; so does a count or a string length
// that needs more bytes than remain (nothing is allocated for it). File errors
// throw CFileException.
#pragma once

#include "scene/file_exception.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

class CArchiveException : public std::runtime_error {
  public:
    CArchiveException(const std::string& message, std::uint64_t offset)
        : std::runtime_error(message), m_nOffset(offset) {}
    // Byte offset in the stream where the failing field starts.
    std::uint64_t GetOffset() const { return m_nOffset; }

  private:
    std::uint64_t m_nOffset;
};

class CArchive {
  public:
    enum Mode { store, load };

    // Loads from bytes in memory; they are not copied and must outlive the archive.
    explicit CArchive(std::span<const std::uint8_t> bytes);
    // Stores into memory; TakeStoredBytes() hands the bytes over.
    CArchive();
    // Loads from or stores to an open file descriptor (not owned, not closed),
    // from its current position. fileName is used in messages only. A storing
    // archive must be Flush()ed before it is destroyed; what is still buffered
    // at destruction is dropped (a failed write must not look like success).
    CArchive(int fd, Mode mode, std::string fileName);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    ~CArchive();

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    // Bytes read or written so far.
    std::uint64_t GetPosition() const {
        return m_nBufferOffset +
               static_cast<std::uint64_t>((IsLoading() ? m_pRead : m_pWrite) - m_pBufStart);
    }
    // Loading: bytes left in the stream (as far as known: a file's size at open).
    std::uint64_t GetRemaining() const;
    // Loading: the next byte without taking it, or -1 at the end of the stream.
    int PeekByte() {
        if (m_pRead == m_pEnd && !Refill())
            return -1;
        return *m_pRead;
    }

    // Storing.
    void StoreInt32(std::int32_t value) { StoreScalar(static_cast<std::uint32_t>(value)); }
    void StoreWord(std::uint16_t value) { StoreScalar(value); }
    void StoreDouble(double value) { StoreScalar(std::bit_cast<std::uint64_t>(value)); }
    void StoreBlock(const void* data, std::size_t size);
    void StoreString(const std::string& text);
    void StoreCount(std::int32_t count) { StoreInt32(count); }
    // Writes the buffer to the file (no-op for memory); throws CFileException.
    void Flush();
    // Memory storing: the bytes written so far; the archive is empty afterwards.
    std::vector<std::uint8_t> TakeStoredBytes();

    // Loading; what names the field for the end-of-file message.
    std::int32_t LoadInt32(const char* what) {
        return static_cast<std::int32_t>(LoadScalar<std::uint32_t>(what));
    }
    std::uint16_t LoadWord(const char* what) { return LoadScalar<std::uint16_t>(what); }
    double LoadDouble(const char* what) {
        return std::bit_cast<double>(LoadScalar<std::uint64_t>(what));
    }
    void LoadBlock(void* data, std::size_t size, const char* what);
    std::string LoadString(const char* what);
    // A count of records of at least minRecordSize bytes each. A count of 0 or
    // less is returned as it is (it loads nothing); a count whose records
    // cannot fit in the bytes that remain throws CArchiveException.
    std::int32_t LoadCount(const char* what, std::size_t minRecordSize);
    // How many of count records may be reserved in advance: all of them when
    // the stream's size is known (LoadCount has checked them against it), at
    // most a modest number when it is not (a pipe); the rest grow as read.
    std::size_t ReservableCount(std::int32_t count) const {
        if (count <= 0)
            return 0;
        const auto n = static_cast<std::size_t>(count);
        return m_fd >= 0 && m_nFileSize == UINT64_MAX ? std::min<std::size_t>(n, 65536) : n;
    }

    // One field in the archive's direction: stores value or loads into it.
    void Transfer(std::int32_t& value, const char* what) {
        if (IsStoring())
            StoreInt32(value);
        else
            value = LoadInt32(what);
    }
    void Transfer(std::uint16_t& value, const char* what) {
        if (IsStoring())
            StoreWord(value);
        else
            value = LoadWord(what);
    }
    void Transfer(double& value, const char* what) {
        if (IsStoring())
            StoreDouble(value);
        else
            value = LoadDouble(what);
    }
    void Transfer(std::string& value, const char* what) {
        if (IsStoring())
            StoreString(value);
        else
            value = LoadString(what);
    }

  private:
    template <class T> static T ToLittle(T v) {
        if constexpr (std::endian::native == std::endian::big) {
            T r = 0;
            for (std::size_t i = 0; i < sizeof(T); ++i)
                r = static_cast<T>((r << 8) | ((v >> (8 * i)) & 0xFF));
            return r;
        } else {
            return v;
        }
    }
    template <class T> void StoreScalar(T value) {
        value = ToLittle(value);
        if (static_cast<std::size_t>(m_pLimit - m_pWrite) >= sizeof(T)) {
            std::memcpy(m_pWrite, &value, sizeof(T));
            m_pWrite += sizeof(T);
        } else {
            StoreBlock(&value, sizeof(T));
        }
    }
    template <class T> T LoadScalar(const char* what) {
        T value;
        if (static_cast<std::size_t>(m_pEnd - m_pRead) >= sizeof(T)) {
            std::memcpy(&value, m_pRead, sizeof(T));
            m_pRead += sizeof(T);
        } else {
            LoadBlock(&value, sizeof(T), what);
        }
        return ToLittle(value);
    }
    // Loading: reads the next block of the file; false at its end.
    bool Refill();
    // Storing: empties the full buffer into the file or the memory output.
    void Drain();
    [[noreturn]] void ThrowEnd(const char* what, std::uint64_t fieldOffset) const;
    std::uint64_t LoadStringLength(const char* what, bool& wide);

    Mode m_mode;
    int m_fd = -1;
    std::string m_strFileName;
    std::uint64_t m_nFileSize = UINT64_MAX; // loading from a file: its size at open
    std::vector<std::uint8_t> m_buffer;     // the file block, or the memory output's tail
    std::vector<std::uint8_t> m_output;     // memory storing: drained bytes
    // Loading reads [m_pRead, m_pEnd); storing writes into [m_pWrite, m_pLimit).
    // m_nBufferOffset is the stream offset of m_pBufStart.
    const std::uint8_t* m_pBufStart = nullptr;
    const std::uint8_t* m_pRead = nullptr;
    const std::uint8_t* m_pEnd = nullptr;
    std::uint8_t* m_pWrite = nullptr;
    std::uint8_t* m_pLimit = nullptr;
    std::uint64_t m_nBufferOffset = 0;
};
