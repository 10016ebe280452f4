#include "scene/archive.h"

#include "platform/test_hooks.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// File blocks are large enough that reading and writing are bound by the disk,
// not by system calls.
constexpr std::size_t kBlockSize = 64 * 1024;
// Long strings are read in pieces, so a length is never trusted for one big
// allocation before its bytes have arrived.
constexpr std::size_t kStringPiece = 1024 * 1024;

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units) {
    constexpr std::uint32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t u = units[i];
        if (u >= 0xD800 && u < 0xDC00) {
            if (i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
                ++i;
            } else {
                AppendUtf8(out, kReplacement);
            }
        } else if (u >= 0xDC00 && u < 0xE000) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

} // namespace

CArchive::CArchive(std::span<const std::uint8_t> bytes) : m_mode(load) {
    m_pBufStart = m_pRead = bytes.data();
    m_pEnd = bytes.data() + bytes.size();
}

CArchive::CArchive() : m_mode(store), m_buffer(kBlockSize) {
    m_pBufStart = m_pWrite = m_buffer.data();
    m_pLimit = m_buffer.data() + m_buffer.size();
}

CArchive::CArchive(int fd, Mode mode, std::string fileName)
    : m_mode(mode), m_fd(fd), m_strFileName(std::move(fileName)), m_buffer(kBlockSize) {
    if (mode == load) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            const off_t at = ::lseek(fd, 0, SEEK_CUR);
            const auto size = static_cast<std::uint64_t>(st.st_size);
            const auto pos = at > 0 ? static_cast<std::uint64_t>(at) : 0;
            m_nFileSize = pos < size ? size - pos : 0;
        }
        m_pBufStart = m_pRead = m_pEnd = m_buffer.data();
    } else {
        m_pBufStart = m_pWrite = m_buffer.data();
        m_pLimit = m_buffer.data() + m_buffer.size();
    }
}

CArchive::~CArchive() = default;

std::uint64_t CArchive::GetRemaining() const {
    if (m_fd < 0)
        return static_cast<std::uint64_t>(m_pEnd - m_pRead);
    if (m_nFileSize == UINT64_MAX)
        return UINT64_MAX;
    const std::uint64_t pos = GetPosition();
    return pos < m_nFileSize ? m_nFileSize - pos : 0;
}

void CArchive::ThrowEnd(const char* what, std::uint64_t fieldOffset) const {
    throw CArchiveException(
        "unexpected end of " +
            (m_strFileName.empty() ? std::string("data") : "file \"" + m_strFileName + "\"") +
            " while reading " + what + " at byte offset " + std::to_string(fieldOffset),
        fieldOffset);
}

bool CArchive::Refill() {
    if (m_fd < 0)
        return false;
    m_nBufferOffset += static_cast<std::uint64_t>(m_pEnd - m_pBufStart);
    m_pBufStart = m_pRead = m_pEnd = m_buffer.data();
    for (;;) {
        // One block: its size fits the count of every system's read (Windows: unsigned).
        const ssize_t n = ::read(m_fd, m_buffer.data(), static_cast<unsigned>(m_buffer.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw CFileException(m_strFileName, "read", errno);
        m_pEnd = m_buffer.data() + n;
        return n > 0;
    }
}

void CArchive::LoadBlock(void* data, std::size_t size, const char* what) {
    const std::uint64_t start = GetPosition();
    auto* out = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        const auto avail = static_cast<std::size_t>(m_pEnd - m_pRead);
        if (avail == 0) {
            if (!Refill())
                ThrowEnd(what, start);
            continue;
        }
        const std::size_t n = std::min(avail, size);
        std::memcpy(out, m_pRead, n);
        m_pRead += n;
        out += n;
        size -= n;
    }
}

std::uint64_t CArchive::LoadStringLength(const char* what, bool& wide) {
    wide = false;
    std::uint8_t b = 0;
    LoadBlock(&b, 1, what);
    if (b < 0xFF)
        return b;
    std::uint16_t w = LoadWord(what);
    if (w == 0xFFFE) {
        // A UTF-16 string: its length prefix starts over, counted in characters.
        wide = true;
        LoadBlock(&b, 1, what);
        if (b < 0xFF)
            return b;
        w = LoadWord(what);
    }
    if (w < 0xFFFF)
        return w;
    const auto d = static_cast<std::uint32_t>(LoadInt32(what));
    if (d < 0xFFFFFFFFu)
        return d;
    std::uint64_t q = 0;
    LoadBlock(&q, sizeof q, what);
    return ToLittle(q);
}

std::string CArchive::LoadString(const char* what) {
    const std::uint64_t start = GetPosition();
    bool wide = false;
    const std::uint64_t n = LoadStringLength(what, wide);
    const std::uint64_t unit = wide ? 2 : 1;
    const std::uint64_t remaining = GetRemaining();
    if (n > remaining / unit)
        throw CArchiveException(std::string("damaged ") + what + " at byte offset " +
                                    std::to_string(start) + ": length " + std::to_string(n) +
                                    " exceeds the " + std::to_string(remaining) + " bytes left",
                                start);
    const std::uint64_t total = n * unit;
    std::vector<std::uint8_t> wideBytes;
    std::string text;
    if (!wide) {
        for (std::uint64_t got = 0; got < total;) {
            const auto piece =
                static_cast<std::size_t>(std::min<std::uint64_t>(total - got, kStringPiece));
            text.resize(static_cast<std::size_t>(got) + piece);
            LoadBlock(text.data() + got, piece, what);
            got += piece;
        }
        return text;
    }
    for (std::uint64_t got = 0; got < total;) {
        const auto piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(total - got, kStringPiece));
        wideBytes.resize(static_cast<std::size_t>(got) + piece);
        LoadBlock(wideBytes.data() + got, piece, what);
        got += piece;
    }
    std::vector<std::uint16_t> units(wideBytes.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<std::uint16_t>(wideBytes[2 * i] | (wideBytes[2 * i + 1] << 8));
    return Utf16ToUtf8(units);
}

std::int32_t CArchive::LoadCount(const char* what, std::size_t minRecordSize) {
    const std::uint64_t start = GetPosition();
    const std::int32_t n = LoadInt32(what);
    if (n <= 0)
        return n;
    const std::uint64_t remaining = GetRemaining();
    if (static_cast<std::uint64_t>(n) > remaining / minRecordSize)
        throw CArchiveException(
            std::string("damaged ") + what + " at byte offset " + std::to_string(start) + ": " +
                std::to_string(n) + " records of at least " + std::to_string(minRecordSize) +
                " bytes cannot fit in the " + std::to_string(remaining) + " bytes left",
            start);
    return n;
}

void CArchive::Drain() {
    const auto bytes = static_cast<std::size_t>(m_pWrite - m_buffer.data());
    if (m_fd >= 0) {
        const std::uint8_t* p = m_buffer.data();
        std::size_t left = bytes;
        while (left > 0) {
            const ssize_t n = ::write(m_fd, p, static_cast<unsigned>(left)); // at most one block
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw CFileException(m_strFileName, "write", n < 0 ? errno : ENOSPC);
            p += n;
            left -= static_cast<std::size_t>(n);
            TestHookWritePoint();
        }
    } else {
        m_output.insert(m_output.end(), m_buffer.data(), m_buffer.data() + bytes);
    }
    m_nBufferOffset += bytes;
    m_pWrite = m_buffer.data();
}

void CArchive::StoreBlock(const void* data, std::size_t size) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const auto avail = static_cast<std::size_t>(m_pLimit - m_pWrite);
        if (avail == 0) {
            Drain();
            continue;
        }
        const std::size_t n = std::min(avail, size);
        std::memcpy(m_pWrite, in, n);
        m_pWrite += n;
        in += n;
        size -= n;
    }
}

void CArchive::StoreString(const std::string& text) {
    const std::uint64_t n = text.size();
    if (n < 0xFF) {
        const auto b = static_cast<std::uint8_t>(n);
        StoreBlock(&b, 1);
    } else {
        const std::uint8_t marker = 0xFF;
        StoreBlock(&marker, 1);
        if (n < 0xFFFE) {
            StoreWord(static_cast<std::uint16_t>(n));
        } else {
            StoreWord(0xFFFF);
            if (n < 0xFFFFFFFFu) {
                StoreInt32(static_cast<std::int32_t>(static_cast<std::uint32_t>(n)));
            } else {
                StoreInt32(-1);
                const std::uint64_t q = ToLittle(n);
                StoreBlock(&q, sizeof q);
            }
        }
    }
    StoreBlock(text.data(), text.size());
}

void CArchive::Flush() {
    Drain();
}

std::vector<std::uint8_t> CArchive::TakeStoredBytes() {
    Drain();
    std::vector<std::uint8_t> out = std::move(m_output);
    m_output.clear();
    return out;
}
