#include "export/export_object.h"

#include "export/dxf_text.h"
#include "export/dxf_writer.h"
#include "export/exported_polygons.h"

#include "scene/scene_document.h"
#include "scene/scene_part.h"

#include <cstddef>
#include <vector>

namespace {

// ConvertScene's visitor: a part becomes a surface and a copy of all its points; a polygon
// points at the copies of its corners.
class CSceneConversion final : public CExportPolygonVisitor {
  public:
    explicit CSceneConversion(CExportObject& object) : m_object(object) {}

    CStatus VisitPart(const CScenePart& part) override {
        m_pSurface =
            m_object.m_surfaces[m_object.m_surfaces.Add(new CExportSurface(part.m_strName))];
        m_nBase = m_object.m_points.GetSize();
        const int pointCount = part.m_points.GetSize();
        m_object.m_points.Reserve(static_cast<std::size_t>(m_nBase + pointCount));
        m_object.m_polygons.Reserve(
            static_cast<std::size_t>(m_object.m_polygons.GetSize() + part.m_polygons.GetSize()));
        for (int i = 0; i < pointCount; ++i) {
            const CExportPoint point = ExportedPoint(part, i);
            m_object.m_points.Emplace(point.m_x, point.m_y, point.m_z);
        }
        return {};
    }

    CStatus VisitPolygon(const CScenePart&, std::span<const std::int32_t> corners) override {
        CExportPolygon* polygon = m_object.m_polygons.Emplace();
        polygon->m_pSurface = m_pSurface;
        polygon->m_points.reserve(corners.size());
        for (std::int32_t index : corners)
            polygon->m_points.push_back(m_object.m_points[m_nBase + static_cast<int>(index)]);
        return {};
    }

  private:
    CExportObject& m_object;
    CExportSurface* m_pSurface = nullptr;
    int m_nBase = 0;
};

// The direct write's visitor: each polygon's corners go straight into the file, and the
// parts' counts into the summary.
class CDirectDxfWrite final : public CExportPolygonVisitor {
  public:
    CDirectDxfWrite(CDxfFileWriter& writer, const std::vector<std::string>& layers)
        : m_writer(writer), m_layers(layers) {}

    CStatus VisitPart(const CScenePart& part) override {
        m_pLayer = &m_layers[static_cast<std::size_t>(m_nParts++)];
        m_nPoints += part.m_points.GetSize();
        m_nPolygons += part.m_polygons.GetSize();
        return {};
    }

    CStatus VisitPolygon(const CScenePart& part, std::span<const std::int32_t> corners) override {
        m_corners.clear();
        for (std::int32_t index : corners)
            m_corners.push_back(ExportedPoint(part, static_cast<int>(index)));
        return m_writer.WritePolygon(m_corners, *m_pLayer);
    }

    std::string Summary() const {
        return CExportObject::FormatSummary(m_nPoints, m_nPolygons, m_nParts);
    }

  private:
    CDxfFileWriter& m_writer;
    const std::vector<std::string>& m_layers;
    const std::string* m_pLayer = nullptr;
    std::vector<CExportPoint> m_corners;
    int m_nParts = 0;
    int m_nPoints = 0;
    int m_nPolygons = 0;
};

// Layer names, computed once per run of polygons on the same surface (a
// part's polygons come one after another).
class CLayerNames {
  public:
    explicit CLayerNames(int bRename) : m_bRename(bRename) {}
    const std::string& Get(const CExportSurface* surface) {
        if (!m_bValid || surface != m_pLast) {
            m_strLast = ExportLayerName(surface, m_bRename);
            m_pLast = surface;
            m_bValid = true;
        }
        return m_strLast;
    }

  private:
    int m_bRename;
    bool m_bValid = false;
    const CExportSurface* m_pLast = nullptr;
    std::string m_strLast;
};

// The polygon's corners as values, the form the DXF writer takes.
void CopyCorners(std::vector<CExportPoint>& corners, const CExportPolygon& polygon) {
    corners.clear();
    for (const CExportPoint* point : polygon.m_points)
        corners.push_back(*point);
}

// One polygon's entity text, as append formats it into a file.
std::string FormatEntity(const CExportPolygon& polygon, int bRename,
                         void (*append)(CDxfText&, DxfCorners, const std::string&)) {
    std::vector<CExportPoint> corners;
    CopyCorners(corners, polygon);
    CDxfText out;
    append(out, corners, ExportLayerName(polygon.m_pSurface, bRename));
    return out.Str();
}

} // namespace

void CExportObject::ConvertScene(CSceneDocument& document) {
    CSceneConversion conversion(*this);
    // Only a visitor that writes a file can fail; the copy never does.
    static_cast<void>(VisitExportedPolygons(ExportedParts(document), m_bFlipPolygons, conversion));
}

CStatus CExportObject::WriteDxf(const std::string& strPath) {
    std::vector<std::string> layers;
    for (const auto& surface : m_surfaces)
        layers.push_back(ExportLayerName(surface.get(), m_bRename));
    CDxfFileWriter writer;
    if (CStatus opened = writer.Open(strPath, layers); !opened)
        return opened;
    CLayerNames names(m_bRename);
    std::vector<CExportPoint> corners;
    for (const auto& polygon : m_polygons) {
        CopyCorners(corners, *polygon);
        if (CStatus written = writer.WritePolygon(corners, names.Get(polygon->m_pSurface));
            !written)
            return written;
    }
    if (CStatus finished = writer.Finish(); !finished)
        return finished;
    m_strInfo = FormatSummary(m_points.GetSize(), m_polygons.GetSize(), m_surfaces.GetSize());
    return {};
}

CStatus CExportObject::WriteDxf(CSceneDocument& document, const std::string& strPath) {
    const std::vector<CScenePart*> parts = ExportedParts(document);
    std::vector<std::string> layers;
    for (const CScenePart* part : parts)
        layers.push_back(ExportLayerName(part->m_strName, m_bRename));
    CDxfFileWriter writer;
    if (CStatus opened = writer.Open(strPath, layers); !opened)
        return opened;
    CDirectDxfWrite direct(writer, layers);
    if (CStatus written = VisitExportedPolygons(parts, m_bFlipPolygons, direct); !written)
        return written;
    if (CStatus finished = writer.Finish(); !finished)
        return finished;
    m_strInfo = direct.Summary();
    return {};
}

std::string CExportObject::FormatFace(const CExportPolygon& polygon) const {
    return FormatEntity(polygon, m_bRename, AppendDxfFace);
}

std::string CExportObject::FormatPolyline(const CExportPolygon& polygon) const {
    return FormatEntity(polygon, m_bRename, AppendDxfPolyline);
}

std::string CExportObject::FormatSummary(int points, int polygons, int parts) {
    std::string text = "                   OK - Export was successful\n\n"
                       "-- DXF EXPORT INFO "
                       "-------------------------------------------------------------------\n\n";
    text += "  Points Count: " + std::to_string(points) + "\n";
    text += "  Polygons Count: " + std::to_string(polygons) + "\n";
    text += "  Parts Count: " + std::to_string(parts) + "\n";
    return text;
}

namespace {

// Built with append: g++ 12 at -O3 warns falsely (-Wrestrict) on
// "literal" + std::string chains.
void AppendPoint(std::string& text, const CExportPoint& point) {
    text.append("\nPoint   | X: ").append(FormatFixed(point.m_x));
    text.append(" Y: ").append(FormatFixed(point.m_y));
    text.append(" Z: ").append(FormatFixed(point.m_z));
}
void AppendSurface(std::string& text, const CExportSurface& surface) {
    text.append("\nSurface | Name: ").append(surface.m_strName);
}
} // namespace

std::string CExportObject::Dump() const {
    std::string text = "- Object - Points --------------\nPointCount: ";
    text.append(std::to_string(m_points.GetSize()));
    for (const auto& point : m_points)
        AppendPoint(text, *point);
    text.append("\n- Object - Points ----------END-\n\n- Object - Surfaces "
                "--------------\nSurfacesCount: ");
    text.append(std::to_string(m_surfaces.GetSize()));
    for (const auto& surface : m_surfaces)
        AppendSurface(text, *surface);
    text.append("\n- Object - Surfaces ----------END-\n\n- Object - Polygons "
                "--------------\nPolygonsCount: ");
    text.append(std::to_string(m_polygons.GetSize()));
    for (const auto& polygon : m_polygons) {
        text.append("\nPolygon | PointCount: ").append(std::to_string(polygon->m_points.size()));
        if (polygon->m_pSurface != nullptr)
            AppendSurface(text, *polygon->m_pSurface);
        for (const CExportPoint* point : polygon->m_points)
            AppendPoint(text, *point);
        text.append("\nPolygon | END");
    }
    text.append("\n- Object - Polygons ----------END-");
    return text;
}
