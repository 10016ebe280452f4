// The LWOB, LWO2 and DXF readers from memory over generated objects.
#include <benchmark/benchmark.h>

#include <span>

#include "bench/object_generator.h"
#include "import/import_object.h"

namespace {

void LwoBytesFromMemory(benchmark::State& state, const std::string& bytes) {
    const std::size_t polygons = static_cast<std::size_t>(state.range(0));
    std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                       bytes.size());
    for (auto _ : state) {
        CImportObject object;
        benchmark::DoNotOptimize(object.LoadLwoFromMemory(data));
        if (object.GetPolygonCount() != polygons) {
            state.SkipWithError("wrong polygon count");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(polygons));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void LwoFromMemory(benchmark::State& state) {
    LwoBytesFromMemory(state, MakeLwoObject(static_cast<std::size_t>(state.range(0))));
}

void Lwo2FromMemory(benchmark::State& state) {
    LwoBytesFromMemory(state, MakeLwo2Object(static_cast<std::size_t>(state.range(0))));
}

void DxfFromMemory(benchmark::State& state) {
    const std::size_t faces = static_cast<std::size_t>(state.range(0));
    const std::string text = MakeDxfObject(faces, 8);
    for (auto _ : state) {
        CImportObject object;
        benchmark::DoNotOptimize(object.LoadDxfFromMemory(text));
        if (object.GetPolygonCount() != faces) {
            state.SkipWithError("wrong polygon count");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(faces));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

} // namespace

BENCHMARK(LwoFromMemory)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Lwo2FromMemory)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond);
BENCHMARK(DxfFromMemory)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
