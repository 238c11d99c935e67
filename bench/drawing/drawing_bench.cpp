// Reading a 50 MB ASCII route drawing and extracting from it, as steps 1, 2 and 4 do: the
// whole must take well under a second.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "big_drawing.h"
#include "core/progress.h"
#include "drawing/dxf_reader.h"
#include "extract/polyline_vertices.h"
#include "extract/section_lines.h"
#include "extract/station_labels.h"

namespace {

using namespace qorvel;

// The drawing, written once into a temporary folder and removed at the end.
class BigDrawing {
public:
    static BigDrawing& Get(bench::DrawingMix mix = bench::DrawingMix::Survey) {
        if (mix == bench::DrawingMix::Survey) {
            static BigDrawing survey(mix);
            return survey;
        }
        static BigDrawing extracted(mix);
        return extracted;
    }
    const std::string& path() const { return path_; }
    const bench::BigDrawingCounts& counts() const { return counts_; }
    ~BigDrawing() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    explicit BigDrawing(bench::DrawingMix mix) {
        std::string pattern = (std::filesystem::temp_directory_path() / "qorvel-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
        path_ = folder_ + "/route.dxf";
        counts_ = bench::WriteBigDrawing(path_, 50u << 20, mix);
    }
    std::string folder_;
    std::string path_;
    bench::BigDrawingCounts counts_;
};

std::size_t ExtractAll(const Drawing& drawing) {
    NullProgress progress;
    const auto vertices = WritePolylineVertices(SelectPolylineVertices(drawing, "zxx"), progress);
    const auto labels = ExtractStationLabels(drawing, "zh", progress);
    const auto lines = WriteSectionLines(SelectSectionLines(drawing, "dmx"), progress);
    return vertices.output.bytes().size() + labels.output.bytes().size() + lines.output.bytes().size();
}

void SetCounters(benchmark::State& state, bench::DrawingMix mix = bench::DrawingMix::Survey) {
    const auto& counts = BigDrawing::Get(mix).counts();
    state.counters["MB"] = static_cast<double>(counts.bytes) / (1 << 20);
    state.counters["labels"] = static_cast<double>(counts.labels);
    state.counters["lines"] = static_cast<double>(counts.sectionLines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * counts.bytes));
}

// Reading the file and building the drawing.
void BM_LoadDrawing(benchmark::State& state) {
    const std::string& path = BigDrawing::Get().path();
    for (auto _ : state) benchmark::DoNotOptimize(LoadDxf(path).entities.size());
    SetCounters(state);
}
BENCHMARK(BM_LoadDrawing)->Unit(benchmark::kMillisecond)->MinTime(3);

// The three extractions from the drawing in memory.
void BM_ExtractAll(benchmark::State& state) {
    const Drawing drawing = LoadDxf(BigDrawing::Get().path());
    for (auto _ : state) benchmark::DoNotOptimize(ExtractAll(drawing));
}
BENCHMARK(BM_ExtractAll)->Unit(benchmark::kMillisecond)->MinTime(2);

// What a surveyor waits for: the drawing read and all three files made.
void BM_LoadAndExtractAll(benchmark::State& state) {
    const std::string& path = BigDrawing::Get().path();
    for (auto _ : state) benchmark::DoNotOptimize(ExtractAll(LoadDxf(path)));
    SetCounters(state);
}
BENCHMARK(BM_LoadAndExtractAll)->Unit(benchmark::kMillisecond)->MinTime(3);

// The same for 50 MB of nothing but labels, section lines and polylines on the layers read.
void BM_LoadAndExtractAllDense(benchmark::State& state) {
    const std::string& path = BigDrawing::Get(bench::DrawingMix::OnlyExtracted).path();
    for (auto _ : state) benchmark::DoNotOptimize(ExtractAll(LoadDxf(path)));
    SetCounters(state, bench::DrawingMix::OnlyExtracted);
}
BENCHMARK(BM_LoadAndExtractAllDense)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
