// crash_writer: writes one of the files the system replaces, through the same
// writer the plug-ins and the preferences program use, so that the crash test
// can kill it part way (see platform/test_hooks.h). VARIANT picks the content,
// so that a test has an old and a new version of each file.
//
//   crash_writer scene HOSTDIR VARIANT    HOSTDIR/PlugIns/qrplugin.qrc, a large scene
//   crash_writer dxf FILE VARIANT         that scene exported as DXF
//   crash_writer profile FILE VARIANT     ApplicationPath of [Paths] in an INI profile
//   crash_writer lscript PLUGINDIR VARIANT  Karvel.ls for an object path
//
// Exit status 0 when the file was written, 1 when the writer failed, 2 for a
// wrong call.
#include "export/export_object.h"
#include "platform/application.h"
#include "platform/ini_profile.h"
#include "platform/memory_profile.h"
#include "platform/scripted_dialogs.h"
#include "scene/exchange_file.h"
#include "scene/file_exception.h"
#include "scene/scene_document.h"
#include "scene/scene_part.h"

#ifdef QR_WITH_LSCRIPT
#include "prefs/lscript_generator.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Two parts of 1200 triangles each: about 660 KB as an exchange file (ten of
// the archive's 64 KB blocks) and 600 KB as DXF. The variant moves every point.
std::unique_ptr<CSceneDocument> LargeScene(int variant) {
    auto doc = std::make_unique<CSceneDocument>();
    for (int p = 0; p < 2; ++p) {
        auto* part = new CScenePart;
        part->m_strName = "Part " + std::to_string(p) + " v" + std::to_string(variant);
        for (int t = 0; t < 1200; ++t) {
            for (int c = 0; c < 3; ++c) {
                auto* point = new CScenePoint;
                point->Set(t + c * 0.25 + variant, p * 10.0 + c, variant * 0.5 - t);
                part->AddPoint(point);
            }
            auto* triangle = new CScenePolygon;
            for (int c = 0; c < 3; ++c)
                triangle->AddIndex(3 * t + c);
            part->AddPolygon(triangle);
        }
        doc->m_parts.Add(part);
    }
    return doc;
}

int WriteScene(const std::string& host, int variant) {
    std::ostringstream transcript;
    auto profile = std::make_unique<CMemoryProfile>();
    (void)profile->Write("Paths", "ApplicationPath", host);
    CApplication app(
        std::move(profile),
        std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt, std::nullopt),
        &transcript);
    auto doc = LargeScene(variant);
    try {
        WriteExchangeFile(*doc, kExchangeFileName, app);
    } catch (const CFileException& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}

int WriteDxf(const std::string& path, int variant) {
    auto doc = LargeScene(variant);
    CExportObject object;
    object.ConvertScene(*doc);
    const CStatus written = object.WriteDxf(path);
    if (!written)
        std::cerr << written.GetReason() << "\n";
    return written ? 0 : 1;
}

int WriteProfile(const std::string& path, int variant) {
    CIniProfile profile(path);
    return profile.Write("Paths", "ApplicationPath", "/hosts/variant-" + std::to_string(variant))
               ? 0
               : 1;
}

int WriteScript(const std::string& pluginDir, int variant) {
#ifdef QR_WITH_LSCRIPT
    const CStatus written =
        WriteLScript(pluginDir + "/", "/objects/variant-" + std::to_string(variant) + ".lwo");
    if (!written)
        std::cerr << written.GetReason() << "\n";
    return written ? 0 : 1;
#else
    (void)pluginDir;
    (void)variant;
    std::cerr << "built without the preferences library\n";
    return 2;
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: crash_writer scene|dxf|profile|lscript PATH VARIANT\n";
        return 2;
    }
    const std::string kind = argv[1];
    const std::string path = argv[2];
    const int variant = std::atoi(argv[3]);
    if (kind == "scene")
        return WriteScene(path, variant);
    if (kind == "dxf")
        return WriteDxf(path, variant);
    if (kind == "profile")
        return WriteProfile(path, variant);
    if (kind == "lscript")
        return WriteScript(path, variant);
    std::cerr << "unknown kind " << kind << "\n";
    return 2;
}
