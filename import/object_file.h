// Loading an object file by its extension, and showing what was loaded: the one place that
// knows which reader an extension picks. The import command, qrhost inspect, the tests and
// the benchmarks load objects through here.
#pragma once

#include "platform/status.h"

#include <cstdio>
#include <string>

class CImportObject;

// The extension of a chosen object file, lower-cased: the text after the last "." of its
// name ("" when there is none).
std::string GetObjectExtension(const std::string& path);

// Loads path with the reader extension picks (lower-cased "lwo" or "dxf"). A DXF that
// opens counts as loaded even when it holds nothing, and m_nLoaded is then set to 1. A
// failure's reason is also left in object.m_strError ("" only for an empty path: a
// cancelled dialog).
CStatus LoadObjectFile(CImportObject& object, const std::string& path,
                       const std::string& extension);

// What the records' print operations write (every point, surface and polygon), or with
// summary the three counts only.
void PrintObject(const CImportObject& object, std::FILE* out, bool summary);
