#include "platform/file_descriptor.h"

#include <fcntl.h>

CFileDescriptor OpenForReading(const std::string& path) {
    return CFileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}
