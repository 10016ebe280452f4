// The Windows half: the system's own tables, through UTF-16. Without MB_ERR_INVALID_CHARS
// MultiByteToWideChar turns a sequence the code page lacks into U+FFFD and goes on, which
// is what a name needs.
#include "platform/code_pages.h"

#include "platform/win32/windows_api.h"

#include <climits>

namespace {

bool ToWide(unsigned codePage, std::string_view bytes, std::wstring& wide) {
    wide.clear();
    if (bytes.empty()) {
        return true;
    }
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    const int size = static_cast<int>(bytes.size());
    const int count = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (count <= 0) {
        return false;
    }
    wide.resize(static_cast<std::size_t>(count));
    return ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), count) == count;
}

// flags and defaultChar as WideCharToMultiByte takes them (CP_UTF8 takes neither).
bool FromWide(unsigned codePage, DWORD flags, const char* defaultChar, const std::wstring& wide,
              std::string& bytes) {
    bytes.clear();
    if (wide.empty()) {
        return true;
    }
    if (wide.size() > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    const int size = static_cast<int>(wide.size());
    const int count =
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, defaultChar, nullptr);
    if (count <= 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(count));
    return ::WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), count,
                                 defaultChar, nullptr) == count;
}

} // namespace

bool CodePageToUtf8(unsigned codePage, std::string_view bytes, std::string& utf8) {
    std::wstring wide;
    if (!ToWide(codePage, bytes, wide) || !FromWide(CP_UTF8, 0, nullptr, wide, utf8)) {
        utf8.clear();
        return false;
    }
    return true;
}

std::string Utf8ToPartName(std::string_view utf8) {
    std::wstring wide;
    std::string name;
    // Bytes that are not UTF-8 came through ToWide as U+FFFD, which the code page lacks:
    // they become '?' with the rest. No best fit: "Ł" is not quietly "L".
    if (!ToWide(CP_UTF8, utf8, wide) || !FromWide(CP_ACP, WC_NO_BEST_FIT_CHARS, "?", wide, name)) {
        return std::string(utf8.size(), '?');
    }
    return name;
}
