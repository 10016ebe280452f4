#include "host/run_options.h"

#include <cstdio>

bool ParseRunOptions(int argc, char** argv, CRunOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--folder" || arg == "--profile" || arg == "--answer" ||
                                arg == "--open" || arg == "--save";
        if (takesValue) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "qrhost run: %s needs a value\n", arg.c_str());
                return false;
            }
            const std::string value = argv[++i];
            if (arg == "--folder") {
                options.m_strFolder = value;
            } else if (arg == "--profile") {
                options.m_strProfile = value;
            } else if (arg == "--answer") {
                if (value != "yes" && value != "no") {
                    std::fprintf(stderr, "qrhost run: --answer takes yes or no, not \"%s\"\n",
                                 value.c_str());
                    return false;
                }
                options.m_astrAnswers.push_back(value);
            } else if (arg == "--open") {
                options.m_strOpenPath = value;
            } else {
                options.m_strSavePath = value;
            }
        } else if (arg.starts_with("--")) {
            std::fprintf(stderr, "qrhost run: unknown option %s\n", arg.c_str());
            return false;
        } else if (options.m_strPlugin.empty()) {
            options.m_strPlugin = arg;
        } else {
            std::fprintf(stderr, "qrhost run: more than one plug-in given (\"%s\")\n", arg.c_str());
            return false;
        }
    }
    if (options.m_strPlugin.empty()) {
        std::fputs("qrhost run: no plug-in given\n", stderr);
        return false;
    }
    return true;
}
