// libFuzzer target: the whole chain over any object bytes. Input that starts
// "FORM" is a LightWave object, anything else a DXF file. When it loads, the
// import command merges it into an empty scene and writes the exchange file;
// the scene read back from that file must hold every surface as a part with
// the object's polygons (axes as the import maps them). The export object
// made from that scene is written as DXF and read back: each face or polyline
// must come back with its corners as the writer's six decimals give them, on
// its part's layer.
#include "fuzz/scratch_dir.h"

#include "export/export_object.h"
#include "import/import_command.h"
#include "import/import_object.h"
#include "platform/application.h"
#include "platform/memory_profile.h"
#include "platform/scripted_dialogs.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"
#include "settings/plugin_settings.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Corner {
    float x, y, z;
    bool operator==(const Corner& other) const {
        return x == other.x && y == other.y && z == other.z;
    }
};

struct Face {
    std::string layer;
    std::vector<Corner> corners;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// A coordinate as the DXF writer's fixed six decimals and the reader's
// conversion to single precision give it back.
float ThroughDxf(double value) {
    char text[512];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, 6);
    Check(ec == std::errc());
    *end = '\0';
    return static_cast<float>(std::strtod(text, nullptr));
}

std::unique_ptr<CApplication> MakeApp(const std::string& host, const std::string& object,
                                      std::ostringstream& transcript) {
    auto profile = std::make_unique<CMemoryProfile>();
    (void)profile->Write("Paths", "ApplicationPath", host);
    // New parts only, no summary box, no flip: the scene is the object as it is.
    (void)profile->Write(kSettingsSection, kKeyVzdyUpdate, "2");
    (void)profile->Write(kSettingsSection, kKeyViewInfo, "0");
    (void)profile->Write(kSettingsSection, kKeyFlipPoly, "0");
    auto dialogs =
        std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, object, std::nullopt);
    return std::make_unique<CApplication>(std::move(profile), std::move(dialogs), &transcript);
}

// The scene must hold surface k as part k with the object's polygons of that
// surface, in file order, their corners at the object's points.
void CheckScene(CSceneDocument& doc, const CImportObject& object, bool dxf) {
    Check(static_cast<std::size_t>(doc.GetPartCount()) == object.GetSurfaceCount());
    std::vector<int> next(object.GetSurfaceCount(), 0);
    for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
        const CImportPolygon polygon = object.GetPolygon(i);
        if (polygon.m_nSurface < 1 ||
            static_cast<std::size_t>(polygon.m_nSurface) > object.GetSurfaceCount())
            continue;
        const auto k = static_cast<std::size_t>(polygon.m_nSurface - 1);
        CScenePart& part = *doc.m_parts[static_cast<int>(k)];
        Check(part.m_strName == object.GetSurface(k).m_strName);
        Check(next[k] < part.m_polygons.GetSize());
        const CScenePolygon& scene = *part.m_polygons[next[k]++];
        Check(scene.m_indices.size() == polygon.m_anIndex.size());
        for (std::size_t c = 0; c < scene.m_indices.size(); ++c) {
            const CImportPoint& p = object.GetPoint(static_cast<std::size_t>(polygon.m_anIndex[c]));
            const CScenePoint& q = part.GetCornerPoint(scene.m_indices[c]);
            // DXF's vertical axis is its Z, the scene's is y.
            Check(q.m_x == p.m_fX && q.m_y == (dxf ? p.m_fZ : p.m_fY) &&
                  q.m_z == (dxf ? p.m_fY : p.m_fZ));
        }
    }
    for (std::size_t k = 0; k < next.size(); ++k)
        Check(next[k] == doc.m_parts[static_cast<int>(k)]->m_polygons.GetSize());
}

// What reading the exported file must give: faces (three or four corners,
// a fourth equal to the third read as a triangle) first, as the reader takes
// them in a pass of their own, then polylines of three corners or more.
std::vector<Face> ExpectedFaces(const CExportObject& exported) {
    std::vector<Face> faces;
    std::vector<Face> polylines;
    for (const auto& polygon : exported.m_polygons) {
        Face face;
        face.layer = polygon->m_pSurface->GetLayerName();
        // The writer exchanges y and z: the file's Z is vertical again.
        for (const CExportPoint* point : polygon->m_points)
            face.corners.push_back(
                {ThroughDxf(point->m_x), ThroughDxf(point->m_z), ThroughDxf(point->m_y)});
        const std::size_t n = face.corners.size();
        if (n == 3 || n == 4) {
            if (n == 4 && face.corners[3] == face.corners[2])
                face.corners.pop_back();
            faces.push_back(std::move(face));
        } else if (n > 2) {
            polylines.push_back(std::move(face));
        }
    }
    faces.insert(faces.end(), polylines.begin(), polylines.end());
    return faces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string scratch = FuzzScratchDir();
    const bool lwo =
        size >= 4 && std::string_view(reinterpret_cast<const char*>(data), 4) == "FORM";
    const std::string objectPath = scratch + (lwo ? "/object.lwo" : "/object.dxf");
    {
        std::ofstream out(objectPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(static_cast<bool>(out));
    }
    CImportObject object;
    const bool loaded = lwo ? object.LoadLwo(objectPath) != 0 : object.LoadDxf(objectPath) == 5;
    if (!loaded)
        return 0;

    const std::string host = scratch + "/host";
    std::filesystem::create_directories(host + "/PlugIns");
    std::filesystem::remove(host + "/PlugIns/qrplugin.qrc");
    ExchangeState() = CExchangeState();
    std::ostringstream transcript;
    auto app = MakeApp(host, objectPath, transcript);
    (void)RunImportCommand(*app);
    // An object that loads gives no stop box, and every box is in the transcript.
    Check(transcript.str().find("icon=stop") == std::string::npos);

    CSceneDocument doc;
    ExchangeState() = CExchangeState();
    Check(ReadExchangeFile(doc, kExchangeFileName, *app) == ExchangeStatus::Read);
    CheckScene(doc, object, !lwo);

    CExportObject exported;
    exported.SetRename(1);
    exported.SetFlipPolygons(0);
    exported.ConvertScene(doc);
    const std::string dxfPath = scratch + "/export.dxf";
    Check(static_cast<bool>(exported.WriteDxf(dxfPath)));

    CImportObject back;
    Check(back.LoadDxf(dxfPath) == 5);
    const std::vector<Face> expected = ExpectedFaces(exported);
    Check(back.GetPolygonCount() == expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CImportPolygon polygon = back.GetPolygon(i);
        Check(polygon.m_nSurface >= 1 &&
              back.GetSurface(static_cast<std::size_t>(polygon.m_nSurface - 1)).m_strName ==
                  expected[i].layer);
        Check(polygon.m_anIndex.size() == expected[i].corners.size());
        for (std::size_t c = 0; c < polygon.m_anIndex.size(); ++c) {
            const CImportPoint& p = back.GetPoint(static_cast<std::size_t>(polygon.m_anIndex[c]));
            Check(Corner{p.m_fX, p.m_fY, p.m_fZ} == expected[i].corners[c]);
        }
    }
    return 0;
}
