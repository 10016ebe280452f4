// The options of `qrhost run`, read the same way by the Linux and the Windows qrhost:
//   run PLUGIN [--folder DIR] [--profile FILE] [--answer yes|no]... [--open PATH] [--save PATH]
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CRunOptions {
    std::string m_strPlugin;
    std::optional<std::string> m_strFolder;
    std::optional<std::string> m_strProfile;
    std::vector<std::string> m_astrAnswers; // "yes" or "no", in order
    std::optional<std::string> m_strOpenPath;
    std::optional<std::string> m_strSavePath;
};

// argv[0] is the command name "run". False, after a line on standard error and the usage,
// for an unknown option, a missing value, an answer other than yes or no, or no plug-in or
// more than one.
bool ReadRunOptions(int argc, char** argv, CRunOptions& options);
