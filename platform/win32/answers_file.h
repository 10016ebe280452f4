// Scripted answers for the Windows build, where qrhost.exe cannot install its
// own application object in a plug-in DLL (each DLL links the platform code
// statically). A plug-in reads them only when the environment variable
// QUARRION_ANSWERS names an answers file; the host never sets it, so a user
// always sees the system's dialogs.
//
// The file holds one answer per line (blank lines and lines starting with "#"
// are ignored; a carriage return before the line end is dropped):
//   yes | no        the answer to the next Yes/No question, used in order
//   open=PATH       the answer to every Open dialog (an empty PATH cancels)
//   save=PATH       the answer to every Save As dialog (an empty PATH cancels)
// Questions beyond the answers are answered No and unanswered file dialogs are
// cancelled, with a line on standard error, as qrhost does on Linux without a
// terminal. With the variable set, every message box is also written to
// standard output as the transcript (platform/application.h).
#pragma once

#include "platform/application.h"
#include "platform/status.h"

#include <memory>
#include <string>

// The environment variable that names the answers file.
constexpr const char* kAnswersVariable = "QUARRION_ANSWERS";

// Parses the text of an answers file into dialogs that give those answers.
// A line that is none of the above is a failure naming its number.
CStatus ParseAnswers(const std::string& text, std::unique_ptr<CUserDialogs>& dialogs);

// Reads and parses the file at path.
CStatus LoadAnswersFile(const std::string& path, std::unique_ptr<CUserDialogs>& dialogs);
