// qrhost's scene tools: making an empty exchange file and showing one.
#pragma once

// qrhost new [--force] DIR
int RunNewCommand(int argc, char** argv);
// qrhost dump [--json] FILE.qrc
int RunDumpCommand(int argc, char** argv);
