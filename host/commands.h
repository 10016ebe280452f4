// qrhost's commands. Each takes the arguments after its own name and returns
// the process's exit code; messages go to standard error, results to standard
// output.
#pragma once

// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the command ran and failed (damaged file, ...)
inline constexpr int kExitUsage = 2;  // wrong call, or a plug-in that could not be loaded

int RunNewCommand(int argc, char** argv);
int RunRunCommand(int argc, char** argv);
int RunDumpCommand(int argc, char** argv);
int RunVersionCommand(int argc, char** argv);
int RunRenderCommand(int argc, char** argv);
int RunConvertCommand(int argc, char** argv);

// The usage text, written to standard error.
void PrintUsage();
