// Import objects loaded from bytes in memory, and what they hold in the
// forms the tests compare.
#pragma once

#include "tests/support/bytes.h"

#include "import/import_object.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Loads from a heap copy of exactly these bytes, so a read past the end is caught.
std::int32_t LoadLwoBytes(CImportObject& object, const ByteVector& bytes);
int LoadDxfText(CImportObject& object, std::string_view text);

// What the print operations write for the whole object.
std::string Printed(const CImportObject& object);
std::vector<std::int32_t> Indices(const CImportObject& object, std::size_t polygon);
