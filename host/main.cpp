// qrhost: the stand-in for the modelling host. It makes and shows exchange
// files and runs plug-in modules as the host would.
#include "host/commands.h"
#include "host/inspect.h"

#include <cstdio>
#include <cstring>

void PrintUsage() {
    std::fputs("usage:\n"
               "  qrhost new [--force] DIR         make DIR/PlugIns/qrplugin.qrc, an empty scene\n"
               "  qrhost run PLUGIN [options]      load a plug-in module, call ExecutePlugin\n"
               "      --folder DIR                 the host folder (ApplicationPath of [Paths])\n"
               "      --profile FILE               the INI profile (default: $QUARRION_PROFILE,\n"
               "                                   else ${XDG_CONFIG_HOME:-$HOME/.config}/\n"
               "                                   Orvane/Quarrion.ini)\n"
               "      --answer yes|no              the next question's answer (repeatable)\n"
               "      --open PATH                  answers Open dialogs (empty PATH cancels)\n"
               "      --save PATH                  answers Save As dialogs (empty PATH cancels)\n"
               "  qrhost dump [--json] FILE.qrc    show a scene file\n"
               "  qrhost version PLUGIN            show a plug-in module's version texts\n"
               "  qrhost inspect [--summary] [--json] FILE\n"
               "                                   load an LWO or DXF object and show it\n"
               "  qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]\n"
               "                [--size WxH] [--wire]\n"
               "                                   a picture of a scene or object file\n"
               "  qrhost convert IN OUT.dxf [--profile FILE]\n"
               "                                   an LWO or DXF object to DXF in one step\n"
               "PLUGIN is a path to a module, or a bare name (Karvel, Brask_Export) looked\n"
               "up in the plug-in folder, then beside qrhost.\n",
               stderr);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage();
        return kExitUsage;
    }
    const char* command = argv[1];
    // Each command sees its own name as argv[0], as a program of its own would.
    if (std::strcmp(command, "new") == 0)
        return RunNewCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "run") == 0)
        return RunRunCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "dump") == 0)
        return RunDumpCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "version") == 0)
        return RunVersionCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "inspect") == 0)
        return RunInspect(argc - 1, argv + 1);
    if (std::strcmp(command, "render") == 0)
        return RunRenderCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "convert") == 0)
        return RunConvertCommand(argc - 1, argv + 1);
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 ||
        std::strcmp(command, "help") == 0) {
        PrintUsage();
        return kExitOk;
    }
    std::fprintf(stderr, "qrhost: unknown command \"%s\"\n", command);
    PrintUsage();
    return kExitUsage;
}
