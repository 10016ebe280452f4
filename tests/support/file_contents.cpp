#include "tests/support/file_contents.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

ByteVector ReadFileBytes(const std::filesystem::path& path) {
    return AsBytes(ReadFile(path));
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void WriteFile(const std::filesystem::path& path, const ByteVector& bytes) {
    WriteFile(path, AsString(bytes));
}

std::size_t CountFiles(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}
