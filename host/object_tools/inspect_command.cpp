#include "host/command_line/command_line.h"
#include "host/command_line/progress_line.h"
#include "host/object_tools/object_tools.h"
#include "host/scene_tools/dump_writer.h"

#include "import/import_object.h"
#include "import/object_file.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

// The double whose shortest text is the float's shortest text, so that the
// JSON shows 0.1 for the float nearest 0.1 instead of its exact binary value.
double FloatValue(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double widened = value;
    std::from_chars(text, written.ptr, widened);
    return widened;
}

void WriteObjectJson(CDumpWriter& w, const std::string& path, const std::string& extension,
                     const CImportObject& object, bool summary) {
    w.BeginObject(nullptr);
    w.Text("file", path);
    w.Text("format", extension);
    w.BeginObject("counts", true);
    w.Integer("points", static_cast<std::int64_t>(object.GetPointCount()));
    w.Integer("surfaces", static_cast<std::int64_t>(object.GetSurfaceCount()));
    w.Integer("polygons", static_cast<std::int64_t>(object.GetPolygonCount()));
    w.Integer("dropped_polygons", static_cast<std::int64_t>(object.m_nDroppedPolygons));
    w.Integer("skipped_elements", static_cast<std::int64_t>(object.m_nSkippedElements));
    w.EndObject();
    if (!summary) {
        w.BeginArray("points");
        for (const CImportPoint& point : object.GetPoints()) {
            w.BeginArray(nullptr, true);
            w.Real(nullptr, FloatValue(point.m_fX));
            w.Real(nullptr, FloatValue(point.m_fY));
            w.Real(nullptr, FloatValue(point.m_fZ));
            w.EndArray();
        }
        w.EndArray();
        w.BeginArray("surfaces");
        for (std::size_t k = 0; k < object.GetSurfaceCount(); ++k)
            w.Text(nullptr, object.GetSurface(k).m_strName);
        w.EndArray();
        w.BeginArray("polygons");
        for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
            const CImportPolygon polygon = object.GetPolygon(i);
            w.BeginObject(nullptr, true);
            w.Integer("surface", polygon.m_nSurface);
            w.BeginArray("indices", true);
            for (const std::int32_t index : polygon.m_anIndex)
                w.Integer(nullptr, index);
            w.EndArray();
            w.EndObject();
        }
        w.EndArray();
    }
    w.EndObject();
    w.Finish();
}

} // namespace

int RunInspect(int argc, char** argv) {
    const CCommandRules rules{
        .m_name = "inspect",
        .m_options = {{"--summary"}, {"--json"}, {"--quiet"}},
        .m_optionPrefix = "-",
        .m_bEmptyFillsAPlace = true,
        .m_pUsage = "usage: qrhost inspect [--summary] [--json] [--quiet] FILE (.lwo or .dxf)\n"};
    CCommandLine line;
    if (!line.Read(rules, argc, argv))
        return kExitUsage;
    const bool summary = line.Has("--summary");
    const bool json = line.Has("--json");
    const std::string& path = line.Positional(0);
    if (path.empty())
        return UsageError(rules, "");
    const std::string extension = GetObjectExtension(path);
    if (extension != "lwo" && extension != "dxf") {
        std::fprintf(stderr, "qrhost inspect: %s: the extension is neither .lwo nor .dxf\n",
                     path.c_str());
        return kExitUsage;
    }
    CImportObject object;
    // While reading only: what is printed then may share the terminal.
    CProgressLine progress("inspect", line.Has("--quiet"));
    progress.SetStep("reading " + path);
    const bool loaded = static_cast<bool>(LoadObjectFile(object, path, extension));
    progress.Pause();
    if (!loaded) {
        std::fprintf(stderr, "qrhost inspect: %s: not loaded: %s\n", path.c_str(),
                     object.m_strError.empty() ? "unknown reason" : object.m_strError.c_str());
        return kExitFailed;
    }
    // Not a count, so in neither output's counts: said once, in both forms.
    if (object.m_bEndsEarly)
        std::fprintf(stderr, "qrhost inspect: %s\n", kEndsEarlyText);
    if (json) {
        // The counts are in the JSON; standard error stays quiet for scripts.
        CJsonDumpWriter writer(std::cout);
        WriteObjectJson(writer, path, extension, object, summary);
        std::cout.flush();
        if (!std::cout) {
            std::fputs("qrhost inspect: cannot write to standard output\n", stderr);
            return kExitFailed;
        }
        return kExitOk;
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
        return kExitFailed;
    }
    return kExitOk;
}
