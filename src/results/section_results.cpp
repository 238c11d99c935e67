#include "results/section_results.h"

#include <cmath>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "core/number_read.h"
#include "core/step_error.h"
#include "core/two_halves.h"
#include "geometry/section_line.h"
#include "results/landxml_layout.h"
#include "results/section_sides.h"

namespace qorvel {

namespace {

// Where the sections built go: the text of a layout, or the built sections themselves. Each
// part of the work fills its own sink; the parts are then put together in output order.
class TextSink {
public:
    struct Mark {
        std::size_t bytes = 0;
        std::size_t lines = 0;
        std::size_t withPoints = 0;
    };
    Mark mark() const { return {output.bytes().size(), output.lineCount(), withPoints}; }
    void rollback(Mark to) {
        output.Truncate(to.bytes, to.lines);
        withPoints = to.withPoints;
    }
    void take(TextSink& part, Mark from, Mark to) {
        output.AppendLines(std::string_view(part.output.bytes()).substr(from.bytes, to.bytes - from.bytes),
                           to.lines - from.lines);
        withPoints += to.withPoints - from.withPoints;
    }
    OutputText output;
    std::size_t withPoints = 0;  // sections built with a point on either side
};

bool HasPoints(const SectionSides& sides) { return !sides.first.empty() || !sides.second.empty(); }

class SectionSink {
public:
    using Mark = std::size_t;
    Mark mark() const { return sections.size(); }
    void rollback(Mark to) { sections.resize(to); }
    void take(SectionSink& part, Mark from, Mark to) {
        for (Mark k = from; k < to; ++k) sections.push_back(std::move(part.sections[k]));
    }
    std::vector<BuiltSection> sections;
};

// Builds the sides of every section and hands them to `emit(s, sides, sink)`, which puts
// section s into the sink and says whether it was written; in output order, as if one section
// were built after the other with the azimuth carried from each to the next.
//
// The sections are built on two threads, each half on its own. Only the azimuth carried from
// section to section ties them together, and only through points that lie exactly on a stake:
// those sections, and those that fail, are left for the pass in order, which meets the same
// failure at the same place.
//
// The first half is built on what `whole` holds already and becomes it when every one of its
// sections was ready, instead of being copied over: a result of one section of millions of
// points is then held once, not twice.
template <class Sink, class Emit>
std::size_t buildInOrder(const SectionJoin& join, double stakeAvoidDistance, double& carriedAzimuth,
                         ProgressSink& progress, const char* status, Sink& whole, Emit&& emit) {
    struct Prepared {
        bool ready = false;  // false: left for the pass in order
        bool written = false;
        typename Sink::Mark end{};  // where it ends in its part's sink
        std::optional<double> azimuthLeft;
    };
    const std::size_t count = join.records.size();
    Sink parts[2];
    parts[0] = std::move(whole);
    whole = Sink{};
    const typename Sink::Mark partStart[2] = {parts[0].mark(), parts[1].mark()};
    std::vector<Prepared> prepared[2];
    constexpr std::size_t kWorthASecondThread = 1000;
    InTwoHalves(count, kWorthASecondThread, [&](std::size_t begin, std::size_t end, int part) {
        Sink& sink = parts[part];
        std::vector<Prepared>& list = prepared[part];
        list.resize(end - begin);
        for (std::size_t s = begin; s < end; ++s) {
            Prepared& section = list[s - begin];
            const auto start = sink.mark();
            try {
                std::optional<SectionSides> sides =
                    BuildIndependentSectionSides(join.records[s], stakeAvoidDistance, section.azimuthLeft);
                if (sides) {
                    section.written = emit(s, std::move(*sides), sink);
                    section.ready = true;
                }
            } catch (const StepError&) {
                section.ready = false;
            }
            if (!section.ready) sink.rollback(start);
            section.end = sink.mark();
        }
    });

    const std::size_t half = count / 2;
    // While every section so far was ready in the first half, `whole` is parts[0] up to the end
    // of the last of them.
    // At the second half it becomes `whole`; at a section of the first half that was not ready,
    // what came before it is taken over as the other sections are.
    bool firstHalfIsWhole = true;
    const auto endFirstHalfAsWhole = [&](bool atSecondHalf, typename Sink::Mark taken) {
        if (!firstHalfIsWhole) return;
        firstHalfIsWhole = false;
        if (atSecondHalf) {
            whole = std::move(parts[0]);
            whole.rollback(taken);
        } else {
            whole = Sink{};
            whole.take(parts[0], typename Sink::Mark{}, taken);
        }
    };
    std::size_t written = 0;
    for (std::size_t s = 0; s < count; ++s) {
        const int part = s < half ? 0 : 1;
        const std::size_t k = s < half ? s : s - half;
        const Prepared& section = prepared[part][k];
        const typename Sink::Mark from = k == 0 ? partStart[part] : prepared[part][k - 1].end;
        if (part == 1) endFirstHalfAsWhole(true, half > 0 ? prepared[0][half - 1].end : partStart[0]);
        else if (!section.ready) endFirstHalfAsWhole(false, from);
        bool isWritten = false;
        if (section.ready && firstHalfIsWhole) {
            if (section.azimuthLeft) carriedAzimuth = *section.azimuthLeft;
            isWritten = section.written;
        } else if (section.ready) {
            whole.take(parts[part], from, section.end);
            if (section.azimuthLeft) carriedAzimuth = *section.azimuthLeft;
            isWritten = section.written;
        } else {
            isWritten = emit(s, BuildSectionSides(join.records[s], stakeAvoidDistance, carriedAzimuth), whole);
        }
        if (isWritten) {
            ++written;
            progress.Advance(status, s + 1, count);
        }
    }
    endFirstHalfAsWhole(true, half > 0 ? prepared[0][half - 1].end : partStart[0]);
    return written;
}

SideDecision decide(const Route& route, const SectionRecord& record) {
    const std::optional<RouteDirection> along = route.DirectionAt(record.chainage.text);
    if (!along) return SideDecision::Undecided;
    if (!std::isfinite(SideTurn(*along, record.lineFirstEnd, record.lineSecondEnd)))
        FailRouteAndLineTooLarge(route, *along, record);
    return DecideSides(*along, record.lineFirstEnd, record.lineSecondEnd);
}

BuiltSection builtSection(const SectionRecord& record, SectionSides&& sides, const Route& route, SideRule rule) {
    BuiltSection section;
    section.record = &record;
    section.stake = {record.stakeEast.Strict(), record.stakeNorth.Strict()};
    section.chainage = ReadStrict(record.chainage.text);
    section.stakeElevation = record.stakeElevation.Lenient();
    section.drawn = std::move(sides);
    section.decision = decide(route, record);
    section.routeSwapped = rule == SideRule::Route && section.decision == SideDecision::Swapped;
    return section;
}

// The built sections, each checked by `require` where it is built.
template <class Require>
std::size_t buildSections(const SectionJoin& join, const Route& route, const SectionResultOptions& options,
                          double& carriedAzimuth, ProgressSink& progress, const char* status,
                          std::vector<BuiltSection>& sections, Require&& require) {
    SectionSink whole;
    whole.sections.reserve(join.records.size());
    const std::size_t written = buildInOrder(
        join, options.stakeAvoidDistance, carriedAzimuth, progress, status, whole,
        [&](std::size_t s, SectionSides&& sides, SectionSink& sink) {
            BuiltSection section = builtSection(join.records[s], std::move(sides), route, options.sides);
            require(section);
            sink.sections.push_back(std::move(section));
            return true;
        });
    sections = std::move(whole.sections);
    return written;
}

}  // namespace

void FailRouteAndLineTooLarge(const Route& route, const RouteDirection& along, const SectionRecord& record) {
    std::vector<SourcedNumber> numbers;
    for (const RouteStation* station : {along.from, along.to})
        if (station) for (const SourcedNumber& number : route.Coordinates(*station)) numbers.push_back(number);
    for (const SourcedNumber& number :
         LineEndNumbers(record.linesFile, record.lineLine, {record.lineFirstEnd, record.lineSecondEnd}))
        numbers.push_back(number);
    FailNumberTooLarge(numbers, "坐标");
}

namespace {

// A section of a layout whose sides follow the route: its chainage a number and its sides
// decided.
void requireRouteLayoutSection(const BuiltSection& section, const SectionLayoutEntry& layout) {
    RequireNumericStation(section.record->chainage, layout);
    if (section.decision == SideDecision::Undecided)
        section.record->chainage.Fail("按路线前进方向无法确定桩号“" + DisplayText(section.record->chainage.text) +
                                      "”的断面哪侧在左：断面线与路线平行或长度为 0，或中桩文件在此处定不出路线方向");
}

// Writes the sections of a layout that takes its sides by the route (LandXML, 纬地 HDM): one
// section per chainage, in ascending order, each checked by requireRouteLayoutSection.
void writeRouteSections(const Route& route, std::span<const BuiltSection> sections, const SectionLayoutEntry& layout,
                        const SectionResultOptions& options, SectionResults& results) {
    std::vector<ChoiceCandidate> candidates;
    candidates.reserve(sections.size());
    for (const BuiltSection& section : sections) {
        const bool points = HasPoints(section.drawn);
        if (points) ++results.withPoints;
        candidates.push_back({*section.chainage, points, section.record->chainage.text, section.record->chainage.line});
    }
    ChainageChoice choice = ChooseOnePerChainage(candidates, layout.kind == SectionLayoutKind::LandXml);
    results.leftOut = std::move(choice.leftOut);
    results.written = choice.written.size();

    if (layout.kind == SectionLayoutKind::LandXml) {
        std::vector<LandXmlSection> written;
        written.reserve(choice.written.size());
        for (const std::size_t k : choice.written) {
            const BuiltSection& section = sections[k];
            const SectionRecord& record = *section.record;
            written.push_back({*section.chainage,
                               LandXmlStationName(record.chainage, SectionStationText(record, options.layout.stationText)),
                               section.stakeElevation, section.left(), section.right()});
        }
        WriteLandXmlDocument(route, written, LandXmlStampNow(), results.output);
        return;
    }
    SectionLayoutSettings settings = options.layout;
    settings.swapSides = false;
    WriteSectionLayoutHeading(settings, results.output);
    for (const std::size_t k : choice.written)
        WriteSectionLayout(*sections[k].record, *sections[k].left(), *sections[k].right(), settings, results.output);
}

void writeRouteLayout(const SectionInputs& inputs, const SectionJoin& join, const SectionLayoutEntry& layout,
                      const SectionResultOptions& options, double& carriedAzimuth, ProgressSink& progress,
                      SectionResults& results) {
    SectionResultOptions byRoute = options;
    byRoute.sides = SideRule::Route;
    const Route route = Route::FromCentreStakes(inputs.stakes);
    std::vector<BuiltSection> sections;
    buildSections(join, route, byRoute, carriedAzimuth, progress, kWriteSectionsStatus, sections,
                  [&](const BuiltSection& section) { requireRouteLayoutSection(section, layout); });
    writeRouteSections(route, sections, layout, options, results);
}

}  // namespace

SectionResults OutputSectionResults(const SectionInputs& inputs, const SectionResultOptions& options,
                                    double& carriedAzimuth, ProgressSink& progress) {
    const SectionJoin join = JoinSectionRecords(inputs, carriedAzimuth, progress);
    SectionResults results;
    const std::size_t count = join.records.size();
    results.sections = count;
    const SectionLayoutEntry* layout = FindSectionLayout(options.layout.layoutName);

    if (layout && layout->routeSides) {
        writeRouteLayout(inputs, join, *layout, options, carriedAzimuth, progress, results);
        return results;
    }

    // The route only where it decides the sides.
    const std::optional<Route> route =
        options.sides == SideRule::Route ? std::optional(Route::FromCentreStakes(inputs.stakes)) : std::nullopt;
    TextSink whole;
    // About two numbers of six characters and their blanks for every point, and a station.
    whole.output.Reserve(14 * join.memberPoints.size() + 40 * count);
    WriteSectionLayoutHeading(options.layout, whole.output);
    results.written = buildInOrder(
        join, options.stakeAvoidDistance, carriedAzimuth, progress, kWriteSectionsStatus, whole,
        [&](std::size_t s, SectionSides&& sides, TextSink& sink) {
            const SectionRecord& record = join.records[s];
            const bool swapped = route && decide(*route, record) == SideDecision::Swapped;
            const SideList& first = swapped ? sides.second : sides.first;
            const SideList& second = swapped ? sides.first : sides.second;
            if (HasPoints(sides)) ++sink.withPoints;
            return WriteSectionLayout(record, first, second, options.layout, sink.output, s + 1);
        });
    results.output = std::move(whole.output);
    results.withPoints = whole.withPoints;
    return results;
}

SectionResults WriteBuiltSections(const BuiltSections& built, const SectionResultOptions& options,
                                  ProgressSink& progress) {
    SectionResults results;
    const std::size_t count = built.sections.size();
    results.sections = count;
    const SectionLayoutEntry* layout = FindSectionLayout(options.layout.layoutName);
    if (layout && layout->routeSides) {
        for (std::size_t s = 0; s < count; ++s) {
            requireRouteLayoutSection(built.sections[s], *layout);
            progress.Advance(kWriteSectionsStatus, s + 1, count);
        }
        writeRouteSections(built.route, built.sections, *layout, options, results);
        return results;
    }
    std::size_t points = 0;
    for (const BuiltSection& section : built.sections) points += section.drawn.first.size() + section.drawn.second.size();
    results.output.Reserve(14 * points + 40 * count);
    WriteSectionLayoutHeading(options.layout, results.output);
    for (std::size_t s = 0; s < count; ++s) {
        const BuiltSection& section = built.sections[s];
        if (HasPoints(section.drawn)) ++results.withPoints;
        if (!WriteSectionLayout(*section.record, section.first(), section.second(), options.layout, results.output, s + 1))
            continue;
        ++results.written;
        progress.Advance(kWriteSectionsStatus, s + 1, count);
    }
    return results;
}

BuiltSections BuildSections(const SectionInputs& inputs, const SectionResultOptions& options, double& carriedAzimuth,
                            ProgressSink& progress) {
    BuiltSections built;
    built.join = JoinSectionRecords(inputs, carriedAzimuth, progress);
    built.route = Route::FromCentreStakes(inputs.stakes);
    buildSections(built.join, built.route, options, carriedAzimuth, progress, kBuildSectionsStatus, built.sections,
                  [](const BuiltSection&) {});
    return built;
}

}  // namespace qorvel
