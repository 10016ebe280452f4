// Reading a scene file named on qrhost's command line (dump, render): the
// scene library's reader over the file, with one wording for what goes wrong,
// so every command reports a damaged scene the same way.
#pragma once

#include "platform/status.h"

#include <cstdint>
#include <string>

class CSceneDocument;

// Reads path into doc (parts are appended) and, when trailingBytes is given,
// counts the bytes after the last record. A failure's reason names the file:
//   cannot open "F": <system reason>
//   "F" is not a QRCAD exchange file (Invalid File Format!)
//   "F" is damaged: <the reader's reason>
CStatus ReadSceneFile(const std::string& path, CSceneDocument& doc,
                      std::uint64_t* trailingBytes = nullptr);
