// A folder of this fuzz process's own for the targets whose code under test
// works on files: in /dev/shm when there is one, where fsync costs nothing.
#pragma once

#include <cstdlib>
#include <string>
#include <unistd.h>

inline const std::string& FuzzScratchDir() {
    static const std::string dir = [] {
        std::string path =
            (::access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) +
            "/qr-fuzz-XXXXXX";
        if (::mkdtemp(path.data()) == nullptr)
            std::abort();
        return path;
    }();
    return dir;
}
