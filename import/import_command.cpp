#include "import/import_command.h"

#include "import/import_object.h"
#include "import/object_file.h"

#include "platform/application.h"
#include "platform/ascii_text.h"
#include "scene/exchange_file.h"
#include "scene/file_exception.h"
#include "scene/host_scene_lock.h"
#include "scene/scene_document.h"
#include "settings/plugin_settings.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr const char* kOpenFilter = "All Supported (*.lwo;*.dxf)|*.lwo;*.dxf|LW3D Object "
                                    "(*.lwo)|*.lwo|DXF Object (*.dxf)|*.dxf|All Files (*.*)|*.*||";
constexpr const char* kWrongObject = "ERROR - Wrong LW Object";

// The object file and the extension that chooses its reader and axis mapping.
struct CObjectFile {
    std::string m_strPath;
    std::string m_strExt;
};

// The configured path's extension is its last three characters, whatever
// they are ("x.lw" gives ".lw", which no reader takes); the dialog's is the
// text after the last dot of the chosen file's name.
CObjectFile ChooseObjectFile(CApplication& app, const CImportSettings& settings) {
    if (!settings.UseDefaultFile()) {
        const std::string path = app.DoOpenFileDialog(kOpenFilter);
        return {path, GetObjectExtension(path)};
    }
    const std::string& path = settings.m_strDefLwo;
    return {path, ToLowerAscii(path.substr(path.size() < 3 ? 0 : path.size() - 3))};
}

std::string UpdateQuestion(const std::string& name) {
    return "Part with name \"" + name + "\" already exists. Update this part??\n" +
           "(Otherweise it import \"" + name + "\" as a new part)";
}

// Merges the import object's surfaces into the document, one part each.
class CSurfaceMerger {
  public:
    CSurfaceMerger(CApplication& app, const CImportSettings& settings, CSceneDocument& doc,
                   const CImportObject& object, bool dxfAxes)
        : m_app(app), m_settings(settings), m_doc(doc), m_object(object), m_bDxfAxes(dxfAxes),
          m_anPointStamp(object.GetPointCount(), 0), m_anPartIndex(object.GetPointCount(), 0) {
        // Polygons by surface, in file order; those of no surface belong to no part.
        m_aSurfacePolygons.resize(object.GetSurfaceCount());
        for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
            const std::int32_t surface = object.GetPolygon(i).m_nSurface;
            if (surface >= 1 && static_cast<std::size_t>(surface) <= m_aSurfacePolygons.size())
                m_aSurfacePolygons[static_cast<std::size_t>(surface) - 1].push_back(i);
        }
        // The first part of each name; parts are only ever appended, so the
        // first stays first.
        for (int j = 0; j < doc.GetPartCount(); ++j)
            m_firstPartByName.emplace(doc.m_parts[j]->m_strName, j);
    }

    void MergeAll() {
        for (std::size_t i = 0; i < m_object.GetSurfaceCount(); ++i)
            MergeSurface(i);
    }

    int GetUpdateCount() const { return m_nUpdates; }
    const std::string& GetPartsText() const { return m_strPartsText; }

  private:
    // The existing part of this name that the user lets us replace, or null.
    CScenePart* FindPartToUpdate(const std::string& name) {
        const auto found = m_firstPartByName.find(name);
        if (found == m_firstPartByName.end())
            return nullptr;
        const UpdateMode mode = m_settings.GetUpdateMode();
        if (mode == UpdateMode::Add)
            return nullptr;
        if (mode == UpdateMode::Ask &&
            m_app.MessageBox(UpdateQuestion(name), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return nullptr;
        return m_doc.m_parts[found->second];
    }

    CScenePoint ScenePoint(const CImportPoint& p) const {
        CScenePoint point;
        // DXF's vertical axis is Z, the scene's is y.
        if (m_bDxfAxes)
            point.Set(p.m_fX, p.m_fZ, p.m_fY);
        else
            point.Set(p.m_fX, p.m_fY, p.m_fZ);
        return point;
    }

    // The literal way: every point of the object, so that its indices hold in
    // the part, and the surface's polygons as they are.
    void AddAllPointsAndPolygons(CScenePart& part, const std::vector<std::size_t>& polygons) {
        part.m_points.Reserve(static_cast<std::size_t>(part.m_points.GetSize()) +
                              m_object.GetPointCount());
        for (const CImportPoint& point : m_object.GetPoints())
            part.AddPoint(ScenePoint(point));
        for (std::size_t i : polygons) {
            CScenePolygon polygon;
            for (std::int32_t index : m_object.GetPolygon(i).m_anIndex)
                polygon.AddIndex(index);
            part.AddPolygon(std::move(polygon));
        }
    }

    // Gives the part the points its polygons use, in the object's order, and
    // the polygons with their corners renumbered to those points.
    void AddGeometry(CScenePart& part, const std::vector<std::size_t>& polygons) {
        ++m_nStamp;
        std::vector<std::int32_t> used;
        for (std::size_t i : polygons)
            for (std::int32_t index : m_object.GetPolygon(i).m_anIndex)
                if (m_anPointStamp[static_cast<std::size_t>(index)] != m_nStamp) {
                    m_anPointStamp[static_cast<std::size_t>(index)] = m_nStamp;
                    used.push_back(index);
                }
        std::sort(used.begin(), used.end());
        const int first = part.m_points.GetSize();
        part.m_points.Reserve(static_cast<std::size_t>(first) + used.size());
        for (std::size_t k = 0; k < used.size(); ++k) {
            m_anPartIndex[static_cast<std::size_t>(used[k])] = first + static_cast<std::int32_t>(k);
            part.AddPoint(ScenePoint(m_object.GetPoint(static_cast<std::size_t>(used[k]))));
        }
        part.m_polygons.Reserve(static_cast<std::size_t>(part.m_polygons.GetSize()) +
                                polygons.size());
        for (std::size_t i : polygons) {
            CScenePolygon polygon;
            for (std::int32_t index : m_object.GetPolygon(i).m_anIndex)
                polygon.AddIndex(m_anPartIndex[static_cast<std::size_t>(index)]);
            part.AddPolygon(std::move(polygon));
        }
    }

    void MergeSurface(std::size_t i) {
        const std::string& name = m_object.GetSurface(i).m_strName;
        std::unique_ptr<CScenePart> newPart;
        CScenePart* part = FindPartToUpdate(name);
        if (part != nullptr) {
            ++m_nUpdates;
            part->RemoveAllPoints();
        } else {
            newPart = std::make_unique<CScenePart>();
            part = newPart.get();
        }
        part->m_strName = name;

        // The part receives all the object's points, then loses those no
        // polygon uses. For a part without polygons and with current indices
        // of 0 (a new or an emptied one) that removal touches nothing else, so
        // only the used points are added, in one pass. Otherwise (a part that
        // had no points keeps its polygons and current indices) removing points
        // also removes selected polygons and moves the current indices, and
        // stray corners of kept polygons may name the new points: the method is
        // then followed as it stands.
        const bool literal =
            part->m_polygons.GetSize() != 0 || part->m_nCurPoint != 0 || part->m_nCurPolygon != 0;
        const std::vector<std::size_t>& polygons = m_aSurfacePolygons[i];
        if (literal)
            AddAllPointsAndPolygons(*part, polygons);
        else
            AddGeometry(*part, polygons);
        m_strPartsText += "\n  " + name + " (" + std::to_string(polygons.size()) + ")";
        // Tested on the part's first polygons, before any flip (which cannot
        // change the answer); one warning per surface at most.
        const int s = static_cast<int>(polygons.size());
        for (int t = 0; t < s; ++t)
            if (part->IsPolygonConcave(t) == 1) {
                m_strPartsText += "  WARNING (concave polygon)";
                break;
            }
        if (literal)
            part->RemoveUnreferencedPoints();
        if (m_settings.FlipPolygons())
            part->FlipPolygons();
        if (newPart) {
            const int index = m_doc.m_parts.Add(std::move(newPart));
            m_firstPartByName.emplace(name, index);
        }
    }

    CApplication& m_app;
    const CImportSettings& m_settings;
    CSceneDocument& m_doc;
    const CImportObject& m_object;
    const bool m_bDxfAxes;
    std::vector<std::vector<std::size_t>> m_aSurfacePolygons;
    std::unordered_map<std::string, int> m_firstPartByName;
    // Which object points the current surface uses, and their index in its part.
    std::vector<std::uint32_t> m_anPointStamp;
    std::vector<std::int32_t> m_anPartIndex;
    std::uint32_t m_nStamp = 0;
    int m_nUpdates = 0;
    std::string m_strPartsText = "\n\nImported Parts:";
};

std::string Summary(const CImportObject& object, int updates) {
    return "                   OK - Import was successful\n\n-- KARVEL INFO " +
           std::string(67, '-') + "\n\n  Points Count: " + std::to_string(object.GetPointCount()) +
           "\n  Polygons Count: " + std::to_string(object.GetPolygonCount()) +
           "\n  Parts Count: " + std::to_string(object.GetSurfaceCount()) +
           "\n  Updates: " + std::to_string(updates);
}

void WriteScene(CApplication& app, CSceneDocument& doc) {
    try {
        WriteExchangeFile(doc, kExchangeFileName, app);
    } catch (const CFileException& failure) {
        app.MessageBox(
            "The scene could not be written back to the exchange file:\n" +
                std::string(failure.what()) +
                "\nThe import did not reach the host; an existing exchange file is unchanged.",
            MB_OK | MB_ICONSTOP);
    }
}

} // namespace

int RunImportCommand(CApplication& app) {
    // Held from the read to the end of the write, so that another run's import
    // between them cannot be written over.
    CHostSceneLock lock;
    if (!lock.Acquire(app, "Nothing was imported and the file was left unchanged."))
        return 1;
    // A scene that is not there is a new, empty one; one that cannot be read is never
    // written over.
    auto doc = std::make_unique<CSceneDocument>();
    const HostScene scene =
        ReadHostScene(*doc, app, "Nothing was imported and the file was left unchanged.");
    if (scene == HostScene::WrongMagic || scene == HostScene::Failed)
        return 1;
    const CImportSettings settings = ReadImportSettings(app);
    auto object = std::make_unique<CImportObject>();
    const CObjectFile file = ChooseObjectFile(app, settings);

    if (!LoadObjectFile(*object, file.m_strPath, file.m_strExt)) {
        // The reader's reason, when it has one, follows the fixed text.
        std::string text = kWrongObject;
        if (!object->m_strError.empty())
            text += "\n\n" + object->m_strError;
        app.MessageBox(text, MB_OK | MB_ICONSTOP);
    } else {
        CSurfaceMerger merger(app, settings, *doc, *object, file.m_strExt == "dxf");
        merger.MergeAll();
        std::string parts = merger.GetPartsText();
        if (object->m_nDroppedPolygons > 0)
            parts += "\n  WARNING (" + std::to_string(object->m_nDroppedPolygons) +
                     " invalid polygons skipped)";
        if (object->m_nSkippedElements > 0)
            parts += "\n  WARNING (" + std::to_string(object->m_nSkippedElements) +
                     " curves, bones or other non-polygon elements skipped)";
        // Last: it is about the whole file, not about some of its elements.
        if (object->m_bEndsEarly)
            parts += std::string("\n  WARNING (") + kEndsEarlyText + ")";
        if (settings.ShowInfo())
            app.MessageBox(Summary(*object, merger.GetUpdateCount()) + parts,
                           MB_OK | MB_ICONINFORMATION);
    }
    // The object's memory goes before the scene's file is written, not after.
    object.reset();
    WriteScene(app, *doc);
    return 1;
}
