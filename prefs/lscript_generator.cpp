#include "lscript_generator.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ErrnoText(int err) {
    return std::strerror(err);
}

// Writes all of data to fd, retrying short writes and interruptions.
bool WriteAll(int fd, const std::string& data, int& err) {
    const char* p = data.data();
    std::size_t remaining = data.size();
    while (remaining > 0) {
        ssize_t n = ::write(fd, p, remaining);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            err = errno;
            return false;
        }
        p += n;
        remaining -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool BuildLScriptText(const std::string& objectPath, std::string& text, std::string& reason) {
    if (objectPath.find('"') != std::string::npos) {
        reason = "The path to the LWO/DXF object contains a double quote (\"), which would end "
                 "the script's text and run the rest of the path as script code. Remove it and "
                 "try again.";
        return false;
    }
    if (objectPath.find_first_of("\r\n") != std::string::npos) {
        reason = "The path to the LWO/DXF object contains a line break, which would split the "
                 "script's statements. Remove it and try again.";
        return false;
    }
    std::string path = objectPath;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    text = "main\r\n{\r\n";
    text += "  save(\"" + path + "\");\r\n";
    text += "  info(\"OK - object was saved as " + path + "\");\r\n";
    text += "}"; // the last line has no line end
    return true;
}

LScriptResult WriteLScript(const std::string& pluginDir, const std::string& objectPath) {
    LScriptResult result;
    result.strFile = pluginDir + kLScriptFileName;

    std::string text;
    if (!BuildLScriptText(objectPath, text, result.strReason)) {
        return result;
    }

    std::string tempName = result.strFile + ".XXXXXX";
    int fd = ::mkstemp(tempName.data());
    if (fd < 0) {
        result.strReason = ErrnoText(errno);
        return result;
    }
    int err = 0;
    bool written = WriteAll(fd, text, err);
    // mkstemp creates the file 0600; the script is an ordinary user file, made
    // with the permissions a plain create would give it.
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (written && ::fchmod(fd, 0666 & ~mask) != 0) {
        err = errno;
        written = false;
    }
    if (written && ::fsync(fd) != 0) {
        err = errno;
        written = false;
    }
    if (::close(fd) != 0 && written) {
        err = errno;
        written = false;
    }
    if (written && std::rename(tempName.c_str(), result.strFile.c_str()) != 0) {
        err = errno;
        written = false;
    }
    if (!written) {
        ::unlink(tempName.c_str());
        result.strReason = ErrnoText(err);
        return result;
    }
    result.bOk = true;
    return result;
}
