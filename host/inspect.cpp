#include "host/inspect.h"

#include "import/import_object.h"
#include "import/object_file.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

int Usage() {
    std::fputs("usage: qrhost inspect [--summary] FILE (.lwo or .dxf)\n", stderr);
    return 2;
}

} // namespace

int RunInspect(int argc, char** argv) {
    bool summary = false;
    std::string path;
    // argv[0] is the command name "inspect".
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--summary") {
            summary = true;
        } else if (path.empty() && !arg.empty() && arg[0] != '-') {
            path = arg;
        } else {
            return Usage();
        }
    }
    if (path.empty()) {
        return Usage();
    }
    const std::string extension = GetObjectExtension(path);
    if (extension != "lwo" && extension != "dxf") {
        std::fprintf(stderr, "qrhost inspect: %s: the extension is neither .lwo nor .dxf\n",
                     path.c_str());
        return 2;
    }
    CImportObject object;
    if (!LoadObjectFile(object, path, extension)) {
        std::fprintf(stderr, "qrhost inspect: %s: not loaded: %s\n", path.c_str(),
                     object.m_strError.empty() ? "unknown reason" : object.m_strError.c_str());
        return 1;
    }
    // Millions of short lines: one large buffer instead of stdio's default.
    // Static storage: stdio may still touch the buffer while the process exits.
    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    PrintObject(object, stdout, summary);
    if (object.m_nDroppedPolygons > 0) {
        std::fprintf(
            stderr, "qrhost inspect: %zu polygons dropped: they name a point that does not exist\n",
            object.m_nDroppedPolygons);
    }
    if (object.m_nSkippedElements > 0) {
        std::fprintf(stderr,
                     "qrhost inspect: %zu curves, bones or other non-polygon elements skipped\n",
                     object.m_nSkippedElements);
    }
    if (std::fflush(stdout) != 0) {
        std::fputs("qrhost inspect: cannot write to standard output\n", stderr);
        return 1;
    }
    return 0;
}
