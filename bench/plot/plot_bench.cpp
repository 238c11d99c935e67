// Draws generated cross-sections to a sheet file and reports the time taken:
//
//   qorvel_plot_bench OUTPUT.(pdf|svg|dxf) [SECTIONS=25000] [POINTS=40] [SHEET=A3]
//
// The sections are made up as they are handed over (seeded, the same in both passes), so the
// peak memory of the process is the plot's own: it must not grow with the number of sheets.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/step_error.h"
#include "plot/plot_sections.h"

namespace {

using namespace qorvel;

class GeneratedSections final : public SectionSource {
public:
    GeneratedSections(std::size_t sections, std::size_t points) : sections_(sections), points_(points) {}

    void Visit(const SectionVisitor& visit) override {
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        auto uniform = [&state] {  // splitmix64, in [0, 1)
            std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            return static_cast<double>((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
        };
        SectionDrawing section;
        for (std::size_t i = 0; i < sections_; ++i) {
            const double chainage = 20.0 * static_cast<double>(i);
            section.station = std::to_string(20 * i);
            section.chainage = chainage;
            section.numericChainage = true;
            section.stakeElevation = 120 + 15 * std::sin(chainage / 900) + uniform();
            const auto count = static_cast<std::size_t>(static_cast<double>(points_) * (0.8 + 0.4 * uniform()));
            for (int side = 0; side < 2; ++side) {
                auto& points = side == 0 ? section.firstSide : section.secondSide;
                points.clear();
                double distance = 0;
                double elevation = section.stakeElevation;
                const double slope = uniform() - 0.5;
                for (std::size_t k = 0; k < count / 2; ++k) {
                    distance += 0.4 + 1.6 * uniform();
                    elevation += slope * 0.8 + (uniform() - 0.5) * 0.6;
                    points.push_back({distance, elevation, "P" + std::to_string(i * points_ + k), k == 0 ? "BJ" : ""});
                }
            }
            visit(section);
        }
    }

private:
    std::size_t sections_;
    std::size_t points_;
};

class ConsoleProgress final : public ProgressSink {
public:
    using ProgressSink::Advance;
    void Advance(std::string_view, std::size_t, std::size_t, std::size_t) override {}
    void Status(std::string_view, std::size_t) override {}
    void Percent(int) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.(pdf|svg|dxf) [SECTIONS] [POINTS] [SHEET]\n", argv[0]);
        return 2;
    }
    const std::size_t sections = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 25000;
    const std::size_t points = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 40;
    PlotOptions options;
    if (argc > 4) {
        const auto sheet = SheetSizeByName(argv[4]);
        if (!sheet) return 2;
        options.sheet = *sheet;
    }
    GeneratedSections source(sections, points);
    ConsoleProgress progress;
    const auto start = std::chrono::steady_clock::now();
    try {
        const PlotSummary summary = PlotSections(source, options, argv[1], progress);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s  %.2f s\n", summary.text.c_str(), seconds);
    } catch (const StepError& error) {
        std::fprintf(stderr, "%s\n", error.describe().c_str());
        return 1;
    }
    return 0;
}
