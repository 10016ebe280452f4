// qrhost's object tools: showing an LWO or DXF object, and turning one into DXF.
//
// qrhost inspect [--summary] [--json] FILE: loads FILE into an import object, choosing the
// reader by the file's extension lower-cased ("lwo" or "dxf"), and prints what the records'
// print operations write: every point, then every surface, then every polygon. --summary
// prints the three counts only. A file that does not load: a message on standard error,
// exit 1; a usage error: exit 2. Polygons the reader dropped are counted on standard error.
// --json writes the object as one JSON object instead (docs/qrhost.md gives its schema), the
// reader's dropped and skipped counts among its counts; with --summary, the counts only.
#pragma once

int RunInspect(int argc, char** argv);

// qrhost convert IN OUT.dxf [--profile FILE]: IN imported by the Karvel module into a new
// scene in a temporary host folder, exported by Brask_Export to OUT.
int RunConvertCommand(int argc, char** argv);
