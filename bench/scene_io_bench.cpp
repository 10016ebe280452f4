// Reading and writing the exchange file of a large scene: 1,000,000 points and
// 1,000,000 triangles in four parts, through the real file functions (a
// temporary host folder under $TMPDIR or /tmp) and, for comparison, through
// memory archives. Throughput is reported in bytes per second of file.
#include "platform/application.h"
#include "platform/memory_profile.h"
#include "platform/scripted_dialogs.h"
#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kParts = 4;
constexpr int kPointsPerPart = 250000;

void FillScene(CSceneDocument& doc) {
    for (int k = 0; k < kParts; ++k) {
        auto* part = new CScenePart;
        part->m_strName = "Part" + std::to_string(k);
        // A strip of triangles over a grid of points two wide: one triangle per point.
        for (int i = 0; i < kPointsPerPart; ++i) {
            auto* p = new CScenePoint;
            p->Set((i / 2) * 0.5 + k, (i % 2) * 0.25, 0.001 * i);
            part->AddPoint(p);
        }
        for (int i = 0; i < kPointsPerPart; ++i) {
            auto* t = new CScenePolygon;
            t->AddIndex(i);
            t->AddIndex((i + 1) % kPointsPerPart);
            t->AddIndex((i + 2) % kPointsPerPart);
            part->AddPolygon(t);
        }
        doc.m_parts.Add(part);
    }
}

struct Fixture {
    std::ostringstream transcript;
    std::unique_ptr<CApplication> app;
    fs::path folder;
    std::uint64_t fileSize = 0;

    Fixture() {
        app = std::make_unique<CApplication>(
            std::make_unique<CMemoryProfile>(),
            std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt,
                                               std::nullopt),
            &transcript);
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/qr_scene_benchXXXXXX";
        folder = mkdtemp(pattern.data());
        fs::create_directory(folder / "PlugIns");
        app->WriteProfileString("Paths", "ApplicationPath", folder.string());
        CSceneDocument doc;
        FillScene(doc);
        WriteExchangeFile(doc, kExchangeFileName, *app);
        fileSize = fs::file_size(folder / "PlugIns" / kExchangeFileName);
    }
    ~Fixture() { fs::remove_all(folder); }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_ReadExchangeFile(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        auto doc = std::make_unique<CSceneDocument>();
        if (ReadExchangeFile(*doc, kExchangeFileName, *f.app) != ExchangeStatus::Read)
            state.SkipWithError("not read");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.fileSize));
    state.counters["file_MB"] = static_cast<double>(f.fileSize) / 1e6;
}

void BM_WriteExchangeFile(benchmark::State& state) {
    Fixture& f = Shared();
    CSceneDocument doc;
    if (ReadExchangeFile(doc, kExchangeFileName, *f.app) != ExchangeStatus::Read) {
        state.SkipWithError("not read");
        return;
    }
    for (auto _ : state)
        WriteExchangeFile(doc, kExchangeFileName, *f.app);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.fileSize));
}

void BM_ReadExchangeMemory(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<std::uint8_t> bytes;
    {
        // Freed before timing, so the loaded documents reuse its memory as the
        // file benchmark's do, instead of faulting in fresh pages.
        CSceneDocument source;
        if (ReadExchangeFile(source, kExchangeFileName, *f.app) != ExchangeStatus::Read) {
            state.SkipWithError("not read");
            return;
        }
        CArchive out;
        WriteExchangeArchive(source, out);
        bytes = out.TakeStoredBytes();
    }
    for (auto _ : state) {
        auto doc = std::make_unique<CSceneDocument>();
        CArchive ar(bytes);
        benchmark::DoNotOptimize(ReadExchangeArchive(*doc, ar));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_WriteExchangeMemory(benchmark::State& state) {
    Fixture& f = Shared();
    CSceneDocument doc;
    if (ReadExchangeFile(doc, kExchangeFileName, *f.app) != ExchangeStatus::Read) {
        state.SkipWithError("not read");
        return;
    }
    std::size_t size = 0;
    for (auto _ : state) {
        CArchive ar;
        WriteExchangeArchive(doc, ar);
        size = ar.TakeStoredBytes().size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

BENCHMARK(BM_ReadExchangeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteExchangeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadExchangeMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteExchangeMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
