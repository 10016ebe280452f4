// On Windows the C runtime opens in text mode unless told otherwise: a reader would see
// CR LF as LF and stop at the first ^Z.
#include "platform/file_descriptor.h"

#include <fcntl.h>
#include <io.h>

CFileDescriptor OpenForReading(const std::string& path) {
    return CFileDescriptor(::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
}
