// A folder of this fuzz process's own for the targets whose code under test
// works on files: in /dev/shm when there is one, where fsync costs nothing.
// It goes when the process ends normally (a run that stops at its time limit).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

inline std::string& FuzzScratchPath() {
    static std::string path;
    return path;
}

inline void RemoveFuzzScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(FuzzScratchPath(), error);
}

inline const std::string& FuzzScratchDir() {
    std::string& path = FuzzScratchPath();
    if (path.empty()) {
        path = (::access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) +
               "/qr-fuzz-XXXXXX";
        if (::mkdtemp(path.data()) == nullptr)
            std::abort();
        std::atexit(RemoveFuzzScratchDir);
    }
    return path;
}
