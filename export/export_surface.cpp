#include "export/export_surface.h"

bool CExportSurface::IsLayerNameChar(char ch) {
    // Compared against the 62 letters and digits directly rather than through
    // <cctype>, whose answer depends on the locale and on the sign of char.
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
}

std::string CExportSurface::GetLayerName() const {
    std::string name = m_strName;
    for (char& ch : name)
        if (!IsLayerNameChar(ch))
            ch = '_';
    return name;
}

std::string ExportLayerName(const CExportSurface* surface, int bRename) {
    return surface != nullptr ? ExportLayerName(surface->m_strName, bRename) : std::string();
}

std::string ExportLayerName(const std::string& name, int bRename) {
    if (bRename == 1)
        return CExportSurface(name).GetLayerName();
    std::string layer = name;
    for (char& ch : layer)
        if (static_cast<unsigned char>(ch) < 0x20)
            ch = '_';
    return layer;
}
