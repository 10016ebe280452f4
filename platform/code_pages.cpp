// The Linux half: glibc's iconv, whose names for the Windows code pages are "CP" and the
// number ("CP1251", "CP932", ...). A descriptor is opened per call: names are few, and a
// descriptor shared between the reader's threads would need a lock.
#include "platform/code_pages.h"

#include <cerrno>
#include <iconv.h>
#include <string>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

class CIconv {
  public:
    explicit CIconv(unsigned codePage)
        : m_cd(::iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str())) {}
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;
    ~CIconv() {
        if (IsOpen()) {
            ::iconv_close(m_cd);
        }
    }
    bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

  private:
    iconv_t m_cd;
};

} // namespace

bool CodePageToUtf8(unsigned codePage, std::string_view bytes, std::string& utf8) {
    utf8.clear();
    CIconv converter(codePage);
    if (!converter.IsOpen()) {
        return false;
    }
    // Room for the common case (no character of these code pages takes more than three
    // bytes of UTF-8 per byte it has); grown when a conversion asks for more.
    std::string out(bytes.size() * 3 + 16, '\0');
    std::size_t used = 0;
    char* in = const_cast<char*>(bytes.data()); // iconv's signature; it does not write there
    std::size_t inLeft = bytes.size();
    // A call with null input writes what a stateful code page still holds back (1255 and
    // 1258 keep a letter until they see whether a combining mark follows): at the end, and
    // before a replacement, which must come after that letter.
    bool flushing = false;
    for (;;) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const bool flush = flushing || inLeft == 0;
        const std::size_t result =
            flush ? ::iconv(converter.Get(), nullptr, nullptr, &outPtr, &outLeft)
                  : ::iconv(converter.Get(), &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        used = static_cast<std::size_t>(outPtr - out.data());
        if (result == static_cast<std::size_t>(-1) && error == E2BIG) {
            out.resize(out.size() * 2);
        } else if (result == static_cast<std::size_t>(-1) && !flush &&
                   (error == EILSEQ || error == EINVAL)) {
            flushing = true; // an undefined byte, or a lead byte cut off by the end
        } else if (result == static_cast<std::size_t>(-1)) {
            return false;
        } else if (flushing && inLeft != 0) {
            // U+FFFD for the one byte; the next byte starts afresh.
            if (out.size() - used < kReplacement.size()) {
                out.resize(out.size() * 2);
            }
            out.replace(used, kReplacement.size(), kReplacement);
            used += kReplacement.size();
            ++in;
            --inLeft;
            flushing = false;
        } else if (flush) {
            break;
        }
    }
    out.resize(used);
    utf8 = std::move(out);
    return true;
}

std::string Utf8ToPartName(std::string_view utf8) {
    return std::string(utf8);
}
