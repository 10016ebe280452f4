// The import command: the body of Karvel's ExecutePlugin.
//
// One run reads the host's scene from the exchange file, picks an object file
// (the configured default, or one chosen in the Open dialog), reads it into an
// import object and merges every surface (LWO) or layer (DXF) into the scene
// as one part: a new part, or an existing part of the same name whose geometry
// is replaced when the user agrees. It then shows the summary and writes the
// scene back.
//
// A damaged exchange file, or one that is not an exchange file at all, is
// reported and never rewritten; the run then stops there. Failures to write
// the scene back are reported after the summary, and the old file stays whole.
// Always returns 1, the value the host expects of an import plug-in.
#pragma once

#include <string>

class CApplication;

int RunImportCommand(CApplication& app);
