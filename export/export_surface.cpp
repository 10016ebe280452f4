#include "export/export_surface.h"

namespace {

bool IsLayerNameChar(char ch) {
    // Compared against the 62 letters and digits directly rather than through
    // <cctype>, whose answer depends on the locale and on the sign of char.
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
}

} // namespace

std::string CExportSurface::GetLayerName() const {
    return ExportLayerName(m_strName, 1);
}

std::string ExportLayerName(const CExportSurface* surface, int bRename) {
    return surface != nullptr ? ExportLayerName(surface->m_strName, bRename) : std::string();
}

std::string ExportLayerName(const std::string& name, int bRename) {
    std::string layer = name;
    for (char& ch : layer) {
        const bool replaced =
            bRename == 1 ? !IsLayerNameChar(ch) : static_cast<unsigned char>(ch) < 0x20;
        if (replaced)
            ch = '_';
    }
    return layer;
}
