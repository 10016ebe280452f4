// qrhost: the stand-in for the modelling host. It makes and shows exchange
// files and runs plug-in modules as the host would. One program for both
// builds: the command table says which commands each has and makes the usage
// text from their lines.
#include "host/command_line/command_line.h"
#include "host/plugin_host/plugin_host.h"
#include "host/scene_tools/scene_tools.h"
#ifndef _WIN32
#include "host/object_tools/object_tools.h"
#include "host/render_tool/render_tool.h"
#endif

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

namespace {

struct CCommand {
    std::string_view m_name;
    const char* m_pUsage; // its lines of the usage text
    int (*m_pRun)(int argc, char** argv);
};

// The lines of `run` that both builds' qrhost share: how a run is answered.
#define QR_RUN_ANSWER_LINES                                                                        \
    "      --answer yes|no              the next question's answer (repeatable)\n"                 \
    "      --open PATH                  answers Open dialogs (empty PATH cancels)\n"               \
    "      --save PATH                  answers Save As dialogs (empty PATH cancels)\n"

// Every command of either build, in the order of the usage text. The Windows
// qrhost has those that make, show and run; the others load modules with
// dlopen, draw with Cairo or convert through a POSIX temporary folder, and are
// the Linux qrhost's alone.
constexpr CCommand kCommands[] = {
#ifdef _WIN32
    {"new", "  qrhost new [--force] DIR         make DIR\\PlugIns\\qrplugin.qrc, an empty scene\n",
     RunNewCommand},
    {"run",
     "  qrhost run PLUGIN [options]      load a plug-in DLL, call ExecutePlugin\n"
     "      --folder DIR                 the host folder, stored in the registry\n"
     "                                   "
     "(HKCU\\Software\\Orvane\\Quarrion\\Paths)\n" QR_RUN_ANSWER_LINES,
     RunRunCommand},
#else
    {"new", "  qrhost new [--force] DIR         make DIR/PlugIns/qrplugin.qrc, an empty scene\n",
     RunNewCommand},
    {"run",
     "  qrhost run PLUGIN [options]      load a plug-in module, call ExecutePlugin\n"
     "      --folder DIR                 the host folder (ApplicationPath of [Paths])\n"
     "      --profile FILE               the INI profile (default: $QUARRION_PROFILE,\n"
     "                                   else ${XDG_CONFIG_HOME:-$HOME/.config}/\n"
     "                                   Orvane/Quarrion.ini)\n" QR_RUN_ANSWER_LINES,
     RunRunCommand},
#endif
    {"dump", "  qrhost dump [--json] FILE.qrc    show a scene file\n", RunDumpCommand},
#ifndef _WIN32
    {"version", "  qrhost version PLUGIN            show a plug-in module's version texts\n",
     RunVersionCommand},
    {"inspect",
     "  qrhost inspect [--summary] [--json] [--quiet] FILE\n"
     "                                   load an LWO or DXF object and show it\n",
     RunInspect},
    {"render",
     "  qrhost render FILE -o OUT.png|OUT.svg [--view iso|top|front|side]\n"
     "                [--size WxH|N] [--wire] [--edges] [--background COLOR|none]\n"
     "                [--legend none|corner|below] [--quiet]\n"
     "                                   a picture of a scene or object file\n",
     RunRenderCommand},
    {"convert",
     "  qrhost convert IN OUT.dxf [--profile FILE] [--quiet]\n"
     "                                   an LWO or DXF object to DXF in one step\n",
     RunConvertCommand},
#endif
};

#ifdef _WIN32
constexpr const char* kUsageEnd =
    "PLUGIN is a path to a DLL, or a bare name (Karvel, Brask_Export) looked\n"
    "up in the plug-in folder, then beside qrhost.exe. Without --answer, --open\n"
    "and --save the plug-in shows the system's dialogs.\n";
constexpr std::string_view kHelpWords[] = {"--help", "help"};
constexpr std::string_view kVersionWords[] = {"--version"};
#else
constexpr const char* kUsageEnd =
    "PLUGIN is a path to a module, or a bare name (Karvel, Brask_Export) looked\n"
    "up in the plug-in folder, then beside qrhost.\n";
constexpr std::string_view kHelpWords[] = {"--help", "-h", "help"};
constexpr std::string_view kVersionWords[] = {"--version"};
#endif

std::string UsageText() {
    std::string text = "usage:\n";
    for (const CCommand& command : kCommands)
        text += command.m_pUsage;
    return text + kUsageEnd;
}

} // namespace

int main(int argc, char** argv) {
    SetProgramUsage(UsageText());
    if (argc < 2) {
        PrintUsage();
        return kExitUsage;
    }
    const std::string_view name = argv[1];
    const auto command = std::ranges::find(kCommands, name, &CCommand::m_name);
    // Each command sees its own name as argv[0], as a program of its own would.
    if (command != std::end(kCommands))
        return command->m_pRun(argc - 1, argv + 1);
    if (std::ranges::find(kHelpWords, name) != std::end(kHelpWords)) {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (std::ranges::find(kVersionWords, name) != std::end(kVersionWords)) {
        std::printf("qrhost %s\n", QR_HOST_VERSION);
        return kExitOk;
    }
    std::fprintf(stderr, "qrhost: unknown command \"%s\"\n", argv[1]);
    PrintUsage();
    return kExitUsage;
}
