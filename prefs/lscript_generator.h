// The LScript "Karvel.ls": run in LightWave Modeler, it saves the object being
// edited to the default object path and confirms it, so that the import
// plug-in (with "use_def_lwo" on) reads exactly the object the script saved.
//
// File format: five lines with CR LF line ends and none after the closing
// "}" (the Windows text-mode layout Modeler expects):
//   main
//   {
//     save("P");
//     info("OK - object was saved as P");
//   }
// where P is the path field's text with every "\" turned into "/".
#pragma once

#include "platform/status.h"

#include <string>

constexpr const char* kLScriptFileName = "Karvel.ls";

// The script text for objectPath in text, or a failure when the path cannot
// be put inside an LScript string literal: a double quote would end the
// literal and let the rest of the path run as script code, and a line break
// would split the statement. LScript strings have no escape we could rely
// on, so such a path is refused rather than altered.
CStatus BuildLScriptText(const std::string& objectPath, std::string& text);

// The file WriteLScript writes: kLScriptFileName in pluginDir (which ends in
// "/", or is "" for the current folder).
std::string GetLScriptPath(const std::string& pluginDir);

// Writes GetLScriptPath(pluginDir) through a temporary file in the same
// folder renamed over the old one, so a failed write never leaves a
// half-written script and an existing one stays whole. Never throws for a
// file-system failure: the status gives the reason.
CStatus WriteLScript(const std::string& pluginDir, const std::string& objectPath);

// What the dialog shows after WriteLScript, on every platform: on success an
// information box with this text and caption; on failure a stop box
// captioned with the program's internal name, with this text naming the file
// and the reason.
constexpr const char* kLScriptCreatedText = "Karvel.ls successfuly created";
constexpr const char* kLScriptCreatedCaption = "LS Create";
std::string DescribeLScriptFailure(const std::string& pluginDir, const CStatus& failure);
