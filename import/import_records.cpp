#include "import/import_records.h"

void CImportPoint::Print(std::FILE* out) const {
    std::fprintf(out, "X: %f Y: %f Z: %f\n", static_cast<double>(m_fX), static_cast<double>(m_fY),
                 static_cast<double>(m_fZ));
}

void CImportSurface::Print(std::FILE* out) const {
    std::fprintf(out, "%s\n", m_strName.c_str());
}

void CImportPolygon::Print(std::FILE* out) const {
    std::fprintf(out, "Surf: %d  Pts: %d  (", m_nSurface, m_nCount);
    for (std::int32_t index : m_anIndex) {
        std::fprintf(out, "%d ", index);
    }
    std::fputs(")\n", out);
}
