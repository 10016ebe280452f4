// qrhost.exe: the stand-in host on Windows. It makes and shows exchange files
// with the Linux qrhost's own commands and runs plug-in DLLs as the host does.
#include "host/commands.h"

#include <cstdio>
#include <cstring>

void PrintUsage() {
    std::fputs(
        "usage:\n"
        "  qrhost new [--force] DIR         make DIR\\PlugIns\\qrplugin.qrc, an empty scene\n"
        "  qrhost run PLUGIN [options]      load a plug-in DLL, call ExecutePlugin\n"
        "      --folder DIR                 the host folder, stored in the registry\n"
        "                                   (HKCU\\Software\\Orvane\\Quarrion\\Paths)\n"
        "      --answer yes|no              the next question's answer (repeatable)\n"
        "      --open PATH                  answers Open dialogs (empty PATH cancels)\n"
        "      --save PATH                  answers Save As dialogs (empty PATH cancels)\n"
        "  qrhost dump [--json] FILE.qrc    show a scene file\n"
        "PLUGIN is a path to a DLL, or a bare name (Karvel, Brask_Export) looked\n"
        "up in the plug-in folder, then beside qrhost.exe. Without --answer, --open\n"
        "and --save the plug-in shows the system's dialogs.\n",
        stderr);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage();
        return kExitUsage;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "new") == 0)
        return RunNewCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "run") == 0)
        return RunRunCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "dump") == 0)
        return RunDumpCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "help") == 0) {
        PrintUsage();
        return kExitOk;
    }
    std::fprintf(stderr, "qrhost: unknown command \"%s\"\n", command);
    PrintUsage();
    return kExitUsage;
}
