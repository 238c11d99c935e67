// GBK to UTF-8 and back on the texts the program converts most: station labels written to the
// station text file, and the names and chainages the section viewer shows for 25,000 sections.
// On Linux the same conversions through iconv (which the program used before its own tables)
// run beside them for comparison.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/text_encoding.h"

#ifdef QORVEL_BENCH_ICONV
#include <iconv.h>
#endif

namespace {

using namespace qorvel;

// A thousand labels and point names as a survey has them: mostly ASCII, some Chinese.
std::vector<std::string> Utf8Texts() {
    std::vector<std::string> texts;
    for (int k = 0; k < 1000; ++k) {
        const std::string number = std::to_string(k);
        texts.push_back(k % 3 == 0 ? "K" + number + "+120 中桩,左" : k % 3 == 1 ? "K" + number + "+000" : "路肩" + number);
    }
    return texts;
}

std::vector<std::string> GbkTexts() {
    std::vector<std::string> texts;
    for (const std::string& text : Utf8Texts()) texts.push_back(*Utf8ToGbk(text));
    return texts;
}

void BM_GbkToUtf8(benchmark::State& state) {
    const std::vector<std::string> texts = GbkTexts();
    for (auto _ : state)
        for (const std::string& text : texts) benchmark::DoNotOptimize(GbkToUtf8(text));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_GbkToUtf8);

void BM_Utf8ToGbk(benchmark::State& state) {
    const std::vector<std::string> texts = Utf8Texts();
    for (auto _ : state)
        for (const std::string& text : texts) benchmark::DoNotOptimize(Utf8ToGbk(text));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_Utf8ToGbk);

#ifdef QORVEL_BENCH_ICONV
// As the program converted before: one converter opened per text.
std::string ThroughIconv(const char* from, const char* to, const std::string& text) {
    iconv_t handle = iconv_open(to, from);
    char buffer[256];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(handle, &in, &inLeft, &out, &outLeft);
    iconv_close(handle);
    return std::string(buffer, static_cast<std::size_t>(out - buffer));
}

void BM_GbkToUtf8ThroughIconv(benchmark::State& state) {
    const std::vector<std::string> texts = GbkTexts();
    for (auto _ : state)
        for (const std::string& text : texts) benchmark::DoNotOptimize(ThroughIconv("GBK", "UTF-8", text));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_GbkToUtf8ThroughIconv);

void BM_Utf8ToGbkThroughIconv(benchmark::State& state) {
    const std::vector<std::string> texts = Utf8Texts();
    for (auto _ : state)
        for (const std::string& text : texts) benchmark::DoNotOptimize(ThroughIconv("UTF-8", "GBK", text));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_Utf8ToGbkThroughIconv);
#endif

}  // namespace

BENCHMARK_MAIN();
