#include "tests/support/loaded_object.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

std::int32_t LoadLwoBytes(CImportObject& object, const ByteVector& bytes) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return object.LoadLwoFromMemory(std::span<const std::uint8_t>(copy.get(), bytes.size()));
}

int LoadDxfText(CImportObject& object, std::string_view text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::copy(text.begin(), text.end(), copy.get());
    return object.LoadDxfFromMemory(std::string_view(copy.get(), text.size()));
}

std::string Printed(const CImportObject& object) {
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        throw std::runtime_error("tmpfile failed");
    }
    object.Print(file);
    long size = std::ftell(file);
    std::rewind(file);
    std::string text(static_cast<std::size_t>(size), '\0');
    std::size_t got = std::fread(text.data(), 1, text.size(), file);
    std::fclose(file);
    text.resize(got);
    return text;
}

std::vector<std::int32_t> Indices(const CImportObject& object, std::size_t polygon) {
    CImportPolygon record = object.GetPolygon(polygon);
    return {record.m_anIndex.begin(), record.m_anIndex.end()};
}
