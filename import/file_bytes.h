// The whole content of a file, read in one go for a reader that parses from memory.
#pragma once

#include <string>

// Opens path for reading only. false (with a message naming the path and the reason in
// error) when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);
