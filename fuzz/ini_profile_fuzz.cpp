// libFuzzer target: the INI profile reader over any bytes, and its writer.
// The input is the profile's bytes, then optionally a NUL and the section,
// key and value of one write, NUL-separated. Reads must never fail on content;
// a write that is accepted must read back to exactly the value written and
// leave every other probed entry as it read before; a refused write leaves
// the file's bytes alone.
#include "fuzz/scratch_dir.h"

#include "platform/ini_profile.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spit(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::abort();
}

// The next NUL-terminated field of rest (all of it when there is no NUL).
std::string NextField(std::string_view& rest) {
    const std::size_t nul = rest.find('\0');
    std::string field(rest.substr(0, nul));
    rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    return field;
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = FuzzScratchDir() + "/profile.ini";
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string content = NextField(rest);
    Spit(path, content);
    const std::string section = NextField(rest);
    const std::string key = NextField(rest);
    const std::string value = NextField(rest);

    CIniProfile profile(path);
    // Entries that the write must not disturb, and the written one itself.
    std::vector<std::pair<std::string, std::string>> probes = {
        {"Karvel", "def_lwo"},  {"Karvel", "view_info"}, {"Paths", "ApplicationPath"},
        {section, "view_info"}, {"Karvel", key},         {section, key}};
    std::vector<std::pair<bool, std::string>> before;
    for (const auto& [s, k] : probes) {
        std::string v;
        const bool found = profile.Read(s, k, v);
        before.emplace_back(found, found ? v : std::string());
    }

    if (section.empty() && key.empty())
        return 0;
    if (!profile.Write(section, key, value)) {
        if (Slurp(path) != content)
            std::abort();
        return 0;
    }
    for (std::size_t i = 0; i < probes.size(); ++i) {
        const auto& [s, k] = probes[i];
        std::string v;
        const bool found = profile.Read(s, k, v);
        if (SameIgnoringAsciiCase(s, section) && SameIgnoringAsciiCase(k, key)) {
            if (!found || v != value)
                std::abort();
        } else if (found != before[i].first || v != before[i].second) {
            std::abort();
        }
    }
    return 0;
}
