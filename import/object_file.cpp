#include "import/object_file.h"

#include "import/import_object.h"
#include "platform/ascii_text.h"

std::string GetObjectExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return ToLowerAscii(path.substr(dot + 1));
}

CStatus LoadObjectFile(CImportObject& object, const std::string& path,
                       const std::string& extension) {
    if (extension == "lwo") {
        object.LoadLwo(path);
    } else if (extension == "dxf") {
        if (object.LoadDxf(path) != 0)
            object.m_nLoaded = 1;
    } else if (!path.empty()) {
        object.m_strError = "\"" + path + "\": only .lwo and .dxf files can be imported";
    }
    return object.m_nLoaded != 0 ? CStatus() : CStatus::Failure(object.m_strError);
}

void PrintObject(const CImportObject& object, std::FILE* out, bool summary) {
    if (summary) {
        std::fprintf(out, "Points: %zu\nSurfaces: %zu\nPolygons: %zu\n", object.GetPointCount(),
                     object.GetSurfaceCount(), object.GetPolygonCount());
    } else {
        object.Print(out);
    }
}
