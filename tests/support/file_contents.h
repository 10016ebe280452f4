// Whole files read and written as bytes, and what a folder holds.
#pragma once

#include "tests/support/bytes.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// The file's bytes; empty when it cannot be read, so a comparison with the
// expected contents fails and shows them.
std::string ReadFile(const std::filesystem::path& path);
ByteVector ReadFileBytes(const std::filesystem::path& path);

// Creates or truncates the file; throws when the bytes cannot all be written,
// so a test never runs on a file it did not make.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
void WriteFile(const std::filesystem::path& path, const ByteVector& bytes);

// Entries directly in folder: files, folders and links alike.
std::size_t CountFiles(const std::filesystem::path& folder);
