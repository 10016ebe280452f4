// The import command end to end: an LWO object of 1,000,000 quadrilaterals on
// 100 surfaces imported into a scene of 100 parts with the same names, every
// part updated without asking (read, merge, write through real files).
#include "bench/object_generator.h"
#include "import/import_command.h"

#include "platform/application.h"
#include "platform/memory_profile.h"
#include "platform/scripted_dialogs.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"
#include "settings/plugin_settings.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kSurfaces = 100;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::unique_ptr<CApplication> MakeApp(const fs::path& host, const fs::path& object,
                                      std::ostream& transcript) {
    auto profile = std::make_unique<CMemoryProfile>();
    profile->Write("Paths", "ApplicationPath", host.string());
    profile->Write(kSettingsSection, kKeyDefLwo, object.string());
    profile->Write(kSettingsSection, kKeyUseDefLwo, "1");
    profile->Write(kSettingsSection, kKeyVzdyUpdate, "1");
    return std::make_unique<CApplication>(
        std::move(profile),
        std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt, std::nullopt),
        &transcript);
}

// The scene the host holds before the import: 100 small parts named as the surfaces.
std::string MakeScene(CApplication& app) {
    CSceneDocument doc;
    static const char* const kNames[] = {"Roof", "Wall", "Floor", "Glass"};
    for (int k = 0; k < kSurfaces; ++k) {
        auto* part = new CScenePart;
        part->m_strName = k < 4 ? std::string(kNames[k]) : "Part_" + std::to_string(k + 1);
        for (int i = 0; i < 3; ++i) {
            auto* point = new CScenePoint;
            point->Set(i, k, 0);
            part->AddPoint(point);
        }
        auto* polygon = new CScenePolygon;
        for (int i = 0; i < 3; ++i)
            polygon->AddIndex(i);
        part->AddPolygon(polygon);
        doc.m_parts.Add(part);
    }
    WriteExchangeFile(doc, kExchangeFileName, app);
    return ReadAll(GetExchangeFilePath(app, kExchangeFileName));
}

void BM_ImportLwoIntoScene(benchmark::State& state) {
    const auto polygons = static_cast<std::size_t>(state.range(0));
    const fs::path host = fs::temp_directory_path() / "qr-import-bench";
    fs::remove_all(host);
    fs::create_directories(host / "PlugIns");
    const fs::path object = host / "object.lwo";
    WriteAll(object, MakeLwoObject(polygons, kSurfaces));
    std::ostringstream transcript;
    auto app = MakeApp(host, object, transcript);
    const std::string scene = MakeScene(*app);
    const fs::path exchange = GetExchangeFilePath(*app, kExchangeFileName);
    // The object's and the scene's bytes held here for the runs; the import's
    // own peak is what the process reaches beyond them.
    const double baseline = PeakMiB();

    for (auto _ : state) {
        state.PauseTiming();
        WriteAll(exchange, scene);
        transcript.str("");
        state.ResumeTiming();
        benchmark::DoNotOptimize(RunImportCommand(*app));
    }
    if (transcript.str().find("Updates: 100") == std::string::npos)
        state.SkipWithError("the import did not update the 100 parts");
    state.counters["polygons/s"] = benchmark::Counter(
        static_cast<double>(polygons), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["scene_MB"] = static_cast<double>(fs::file_size(exchange)) / 1e6;
    state.counters["baseline_MiB"] = baseline;
    state.counters["peak_MiB"] = PeakMiB();
    fs::remove_all(host);
}
BENCHMARK(BM_ImportLwoIntoScene)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
