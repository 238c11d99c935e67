// The section results joined by look-ups against the nested loops over the four files: the same
// bytes, counts, progress, failures and carried azimuth, on many random sets of files with
// repeated chainages and names, section lines whose ends coincide, points at the avoid distance
// and on the edges of the wedges, and damaged records.

#include <bit>
#include <cmath>
#include <functional>
#include <numbers>

#include <gtest/gtest.h>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/number_read.h"
#include "equivalence/random_records.h"
#include "equivalence/step_outcome.h"
#include "reference/all_pairs_steps.h"
#include "results/section_results.h"

namespace qorvel::testing {
namespace {

struct SectionCase {
    std::string members;
    std::string stakes;
    std::string points;
    std::string lines;
    SectionResultOptions options;
    double carried = 0;
};

constexpr const char* kLayoutNames[] = {"格式 1", "格式 2", "格式 3", "格式 4", "格式 5", "格式1"};

double degrees(double radians) { return radians * 180 / std::numbers::pi; }

// A point `distance` from `from` in the direction `azimuth` (degrees clockwise from north).
PlanePoint towards(PlanePoint from, double azimuth, double distance) {
    const double radians = azimuth * std::numbers::pi / 180;
    return {from.east + distance * std::sin(radians), from.north + distance * std::cos(radians)};
}

// How many times a station's record is in its file: mostly once, now and then twice or never.
std::size_t copies(RandomSource& random) { return random.Chance(0.85) ? 1 : random.Chance(0.6) ? 2 : 0; }

// Records in a random order, now and then one of them damaged.
std::string shuffled(std::vector<std::string> records, RandomSource& random, const std::vector<std::string>& damages) {
    for (std::size_t k = records.size(); k > 1; --k) std::swap(records[k - 1], records[random.Below(k)]);
    if (!records.empty() && random.Chance(0.08)) records[random.Below(records.size())] = damages[random.Below(damages.size())];
    return JoinRecords(records, random);
}

// A few stations, each with its centre stake, section line, detail points and membership line,
// any of them repeated or missing; the records of each file in a random order.
SectionCase randomCase(RandomSource& random) {
    SectionCase c;
    const double bases[] = {0, 500, 439000, 3391000};
    const double base = bases[random.Below(4)];
    const auto somewhere = [&] { return PlanePoint{base + random.Uniform(-60, 60), base + random.Uniform(-60, 60)}; };
    const double avoids[] = {0.08, 0.08, 0, -1, 0.5};
    c.options.stakeAvoidDistance = avoids[random.Below(5)];

    const char* chainages[] = {"1200", "1220", "1240", "1260", "1200 ", ""};
    std::vector<std::string> stakes;
    std::vector<std::string> lines;
    std::vector<std::string> points;
    std::vector<std::string> members;
    const std::size_t stationCount = 1 + random.Below(3);
    for (std::size_t s = 0; s < stationCount; ++s) {
        const std::string chainage = chainages[random.Below(random.Chance(0.9) ? 4 : 6)];
        const PlanePoint at = somewhere();
        const std::string east = StrictSurveyText(at.east, random);
        const std::string north = StrictSurveyText(at.north, random);
        const PlanePoint stake{*ReadStrict(east), *ReadStrict(north)};
        for (std::size_t k = copies(random); k > 0; --k)
            stakes.push_back(chainage + ",," + east + "," + north + "," + SurveyText(random.Uniform(40, 60), random));

        // The section line through the stake; its ends coincide now and then.
        double azimuth = random.Uniform(0, 360);
        if (random.Chance(0.2)) azimuth = 90.0 * static_cast<double>(random.Below(4));
        for (std::size_t k = copies(random); k > 0; --k) {
            const double reach = random.Chance(0.25) ? 0 : random.Uniform(5, 35);
            const PlanePoint first = towards(stake, azimuth + 180, reach);
            const PlanePoint second = reach == 0 ? first : towards(stake, azimuth, reach);
            lines.push_back(chainage + "," + ExactText(first.east) + "," + ExactText(first.north) + "," +
                            ExactText(second.east) + "," + ExactText(second.north));
        }

        // Points around the stake: inside and outside the wedges, right on their edges, at the
        // avoid distance, on the stake itself.
        std::vector<std::string> names;
        const std::size_t pointCount = random.Below(16);
        for (std::size_t m = 0; m < pointCount; ++m) {
            const double offsets[] = {0, 180, 20, -20, 160, 200, 19.9999999, 90, random.Uniform(-40, 40), random.Uniform(140, 220)};
            const double toStake = azimuth + offsets[random.Below(10)];
            double distance = random.Uniform(0.05, 30);
            if (random.Chance(0.15)) distance = std::fabs(c.options.stakeAvoidDistance);
            if (random.Chance(0.1)) distance = 0;
            const PlanePoint p = Nudge(towards(stake, toStake + 180, distance), 2, random);
            if (random.Chance(0.05) && c.options.stakeAvoidDistance > 0) c.options.stakeAvoidDistance = PlaneDistance(p, stake);
            // Names repeat across points now and then; some are empty.
            const std::string name = random.Chance(0.1) ? RepeatingName(random, "P") : "S" + std::to_string(s) + "-" + std::to_string(m);
            points.push_back(name + ",code," + ExactText(p.east) + "," + ExactText(p.north) + "," +
                             SurveyText(random.Uniform(30, 70), random));
            names.push_back(name);
        }
        for (std::size_t k = copies(random); k > 0; --k) {
            std::string record = chainage;
            if (names.empty() && random.Chance(0.5)) record += ",";
            for (std::size_t n = 0; n < names.size(); ++n) {
                if (random.Chance(0.05)) record += ",Z9";  // found nowhere
                if (random.Chance(0.05)) record += ",";    // an empty name
                record += "," + names[random.Below(names.size())];
            }
            members.push_back(record);
        }
    }
    if (random.Chance(0.3)) lines.push_back("1300,1,2,1,2");

    c.stakes = shuffled(stakes, random, {"1200,,abc,5,50", "1200,,1,2", "1220,,1"});
    c.lines = shuffled(lines, random, {"1200,1,2,1e999,4", "1220,1,2", "7"});
    c.points = shuffled(points, random, {"S0-0,code,1,2,1e39", "S0-1,code,1", "S1-0,code,1e999,0,50", "P1"});
    c.members = JoinRecords(members, random);
    c.options.layout.layoutName = kLayoutNames[random.Below(random.Chance(0.05) ? 6 : 5)];
    c.options.layout.swapSides = random.Chance(0.3);
    c.options.layout.negateHeights = random.Chance(0.3);
    c.options.layout.stationText = random.Chance(0.1);
    c.options.layout.blankLine = random.Chance(0.2);
    c.carried = random.Chance(0.2) ? 90.0 * static_cast<double>(random.Below(4)) : random.Uniform(0, 360);
    return c;
}

// Whether a layout holds a pair of a side: a number with two decimals, a blank, a digit.
bool hasSidePair(const std::string& output) {
    const auto digit = [&](std::size_t at) { return at < output.size() && output[at] >= '0' && output[at] <= '9'; };
    for (std::size_t at = output.find('.'); at != std::string::npos; at = output.find('.', at + 1))
        if (digit(at + 1) && digit(at + 2) && at + 3 < output.size() && output[at + 3] == ' ' && digit(at + 4)) return true;
    return false;
}

StepOutcome observe(const SectionCase& c, bool indexed) {
    return Observe(c.carried, [&](StepOutcome& outcome, double& carried, ProgressSink& progress) {
        const DataFile members = DataFile::FromBytes("members.dat", c.members);
        const DataFile stakes = DataFile::FromBytes("stakes.dat", c.stakes);
        const DataFile points = DataFile::FromBytes("points.dat", c.points);
        const DataFile lines = DataFile::FromBytes("matched.dat", c.lines);
        const SectionInputs inputs{members, stakes, points, lines};
        const SectionResults result = indexed ? OutputSectionResults(inputs, c.options, carried, progress)
                                              : reference::OutputSectionResults(inputs, c.options, carried, progress);
        outcome.output = result.output.bytes();
        outcome.outputLines = result.output.lineCount();
        outcome.counts = {result.sections, result.written};
    });
}

TEST(SectionResultsEquivalence, RandomFiles) {
    int withPoints = 0;
    int repeated = 0;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 1500; ++seed) {
        RandomSource random(seed * 2654435761u);
        const SectionCase c = randomCase(random);
        const StepOutcome expected = observe(c, false);
        ASSERT_EQ(observe(c, true), expected) << "seed " << seed;
        withPoints += hasSidePair(expected.output);
        repeated += !expected.counts.empty() && expected.counts[0] > 3;
        failed += !expected.failure.empty();
    }
    // The files exercise what they are meant to.
    EXPECT_GT(withPoints, 700);
    EXPECT_GT(repeated, 300);
    EXPECT_GT(failed, 100);
}

TEST(SectionResultsEquivalence, CoincidentEndsTakeTheAzimuthBeforeThemRoundAfterRound) {
    // The section lines of 1200 have coinciding ends; they come first in the file, after a line
    // of their own, and last. The first membership line's first lines take the azimuth handed
    // in, the later ones the line before them, and every later round's first lines the last
    // line of the round before with distinct ends.
    const std::string points = "P,,10,0.5,51\r\nQ,,-10,0.5,49\r\n";
    const std::string stakes = "1200,,0,0,50\r\n1220,,0,0,50\r\n";
    const std::string members = "1200,P,Q\r\n1220,Q\r\n1200,Q,P\r\n";
    for (const std::string& lines : {
             std::string("1200,0,0,0,0\r\n1220,-20,0,20,0\r\n1200,3,3,3,3\r\n1240,0,-9,0,9\r\n"),
             std::string("1220,-20,0,20,0\r\n1200,0,0,0,0\r\n1240,0,0,0,0\r\n"),
             std::string("1200,0,0,0,0\r\n1220,0,0,0,0\r\n"),
         }) {
        SectionCase c{members, stakes, points, lines, {}, 270};
        c.options.stakeAvoidDistance = -1;  // points on the stake are taken, at the azimuth carried
        const StepOutcome result = observe(c, true);
        EXPECT_EQ(result, observe(c, false)) << lines;
        EXPECT_TRUE(result.failure.empty());
    }
    // A line of 1200 with coinciding ends before a line due north. Measured in the first round
    // it takes the azimuth handed in (270): P, east of the stake, lies in that wedge (seen from
    // P the stake is to the west) and Q in the reverse one. Measured in the second round it
    // takes the north line's azimuth (0), and neither point lies in a wedge.
    const std::string lines = "1200,0,0,0,0\r\n1240,0,-9,0,9\r\n";
    const SectionCase firstRound{"1200,P,Q\r\n", stakes, points, lines, {}, 270};
    const StepOutcome first = observe(firstRound, true);
    EXPECT_EQ(first, observe(firstRound, false));
    EXPECT_EQ(first.output, "1200\r\n10.01 51.00\r\n10.01 49.00\r\n");
    // Left by the last measurement: from Q (-10, 0.5) to the stake, 180 - atan(20).
    EXPECT_NEAR(std::bit_cast<double>(first.carriedBits), 92.8624, 1e-4);
    const SectionCase secondRound{"1220,Q\r\n1200,P,Q\r\n", stakes, points, lines, {}, 270};
    const StepOutcome second = observe(secondRound, true);
    EXPECT_EQ(second, observe(secondRound, false));
    EXPECT_EQ(second.output, "1200\r\n\r\n\r\n");
}

TEST(SectionResultsEquivalence, AChainageBeyondTheBoundFailsBeforeAnythingIsRead) {
    // 22 membership lines of one chainage give 22³ sections; a damaged stake and detail point
    // are never reached.
    std::string members = "1200,P\r\n";
    for (int k = 0; k < 22; ++k) members += ",P\r\n";
    const SectionCase c{members, "1200,,0\r\n,,0,0,1\r\n", "P\r\n", "1200,0,0,1,0\r\n,0,0,1,0\r\n", {}, 0};
    const StepOutcome result = observe(c, true);
    EXPECT_EQ(result, observe(c, false));
    EXPECT_EQ(result.failure.rfind("members.dat:2:0: 桩号（空桩号）有本文件 22 行", 0), 0u) << result.failure;
}

TEST(SectionResultsEquivalence, ARouteOfSections) {
    // 200 stations along a curve, each with 20 points across its section line, one chainage
    // on two membership lines, a station without a stake and one whose points are missing.
    std::string members;
    std::string stakes;
    std::string points;
    std::string lines;
    for (int k = 0; k < 200; ++k) {
        const double heading = 0.3 + 0.004 * k;
        const PlanePoint centre{439000 + 2000 * std::sin(heading), 3391000 + 2000 * std::cos(heading)};
        const double across = degrees(heading) + 90;
        const std::string chainage = std::to_string(20 * k);
        if (k != 50) stakes += chainage + ",," + FormatFixed(centre.east, 3) + "," + FormatFixed(centre.north, 3) + ",52.300\r\n";
        const PlanePoint first = towards(centre, across + 180, 30);
        const PlanePoint second = towards(centre, across, 30);
        lines += chainage + "," + FormatFixed(first.east, 3) + "," + FormatFixed(first.north, 3) + "," +
                 FormatFixed(second.east, 3) + "," + FormatFixed(second.north, 3) + "\r\n";
        std::string names = chainage;
        for (int m = 0; m < 20; ++m) {
            const PlanePoint p = towards(centre, across, -28 + 3 * m + 0.01 * k);
            const std::string name = std::to_string(k) + "-" + std::to_string(m);
            if (k != 120) points += name + ",," + FormatFixed(p.east, 3) + "," + FormatFixed(p.north, 3) + "," +
                                    FormatFixed(50 + 0.1 * m - 0.01 * k, 3) + "\r\n";
            names += "," + name;
        }
        members += names + "\r\n";
        if (k == 70) members += names + "\r\n";
    }
    for (const char* layout : {"格式 1", "格式 2", "格式 5"}) {
        SectionCase c{members, stakes, points, lines, {}, 0};
        c.options.layout.layoutName = layout;
        const StepOutcome result = observe(c, true);
        EXPECT_EQ(result, observe(c, false)) << layout;
        EXPECT_EQ(result.counts[0], 199u + 7u);  // 1400 twice makes eight sections of one
    }
}

// A route of `stations` sections, 8 m apart on a curve, each with the stake's own shot and
// `points` more along its section line; `pointName` names point m of station k. The section
// line's azimuth is the stake's bearing from the curve's centre plus `turn` degrees: with 90
// it lies along the curve, with 180 it crosses the route from its left to its right.
SectionCase route(int stations, int points, const std::function<std::string(int, int)>& pointName, double turn = 90) {
    SectionCase c;
    for (int k = 0; k < stations; ++k) {
        const double heading = 0.3 + 0.0004 * k;
        const PlanePoint centre{439000 + 20000 * std::sin(heading), 3391000 + 20000 * std::cos(heading)};
        const double across = degrees(heading) + turn;
        const std::string chainage = std::to_string(20 * k);
        const std::string east = FormatFixed(centre.east, 3);
        const std::string north = FormatFixed(centre.north, 3);
        c.stakes += chainage + ",," + east + "," + north + ",52.300\r\n";
        const PlanePoint first = towards(centre, across + 180, 30);
        const PlanePoint second = towards(centre, across, 30);
        c.lines += chainage + "," + FormatFixed(first.east, 3) + "," + FormatFixed(first.north, 3) + "," +
                   FormatFixed(second.east, 3) + "," + FormatFixed(second.north, 3) + "\r\n";
        c.members += chainage + "," + pointName(k, 0);
        c.points += pointName(k, 0) + ",," + east + "," + north + ",52.3\r\n";
        for (int m = 1; m <= points; ++m) {
            const PlanePoint p = towards(centre, across, -25 + 50.0 * m / points + 0.01 * (k % 7));
            c.points += pointName(k, m) + ",," + FormatFixed(p.east, 3) + "," + FormatFixed(p.north, 3) + "," +
                        FormatFixed(50 + 0.1 * m - 0.001 * k, 3) + "\r\n";
            c.members += "," + pointName(k, m);
        }
        c.members += "\r\n";
    }
    return c;
}

TEST(SectionResultsEquivalence, SectionsOnTwoThreads) {
    // Enough sections to be built on two threads. Every section holds its stake's own shot,
    // whose measurement keeps the azimuth before it; with a negative avoid distance a side takes
    // it, and the sections depend on each other through it.
    const auto name = [](int k, int m) { return std::to_string(k) + "-" + std::to_string(m); };
    SectionCase c = route(1000, 1, name);
    c.carried = 33;
    for (const double avoid : {0.08, -1.0}) {
        c.options.stakeAvoidDistance = avoid;
        const StepOutcome result = observe(c, true);
        EXPECT_EQ(result, observe(c, false)) << avoid;
        EXPECT_EQ(result.counts, (std::vector<std::size_t>{1000, 1000}));
    }
    // Only one section in either half depends on the azimuth carried: the sections built apart
    // around it are taken as they are.
    SectionCase fewDepend = c;
    fewDepend.options.stakeAvoidDistance = -1;
    for (int k = 0; k < 1000; ++k) {
        if (k == 300 || k == 700) continue;
        const std::string shot = "," + name(k, 0) + ",";  // the stake's shot, first of its row
        const std::size_t at = fewDepend.members.find(shot);
        fewDepend.members.erase(at, shot.size() - 1);
    }
    const StepOutcome few = observe(fewDepend, true);
    EXPECT_EQ(few, observe(fewDepend, false));
    EXPECT_NE(few.output, observe(c, true).output);
    // A section in either half that cannot be written: an elevation beyond a single.
    for (const int broken : {300, 800}) {
        SectionCase failing = c;
        const std::string point = name(broken, 1) + ",,";
        const std::size_t at = failing.points.find("\n" + point) + 1;
        const std::size_t elevation = failing.points.rfind(',', failing.points.find('\r', at)) + 1;
        failing.points.replace(elevation, failing.points.find('\r', at) - elevation, "1e39");
        const StepOutcome result = observe(failing, true);
        EXPECT_EQ(result, observe(failing, false)) << broken;
        EXPECT_EQ(result.progress.size(), 3u * 1000 + static_cast<std::size_t>(broken)) << broken;
    }
}

// The section lines of `c` with the ends of every second one exchanged, as if drawn the other way.
std::string everySecondLineReversed(const std::string& lines) {
    std::string reversed;
    std::size_t k = 0;
    for (std::size_t at = 0; at < lines.size(); ++k) {
        const std::size_t end = lines.find("\r\n", at);
        const Fields fields(std::string_view(lines).substr(at, end - at));
        const std::string f[5] = {std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                                  std::string(fields[3]), std::string(fields[4])};
        reversed += k % 2 == 0 ? f[0] + "," + f[1] + "," + f[2] + "," + f[3] + "," + f[4]
                               : f[0] + "," + f[3] + "," + f[4] + "," + f[1] + "," + f[2];
        reversed += "\r\n";
        at = end + 2;
    }
    return reversed;
}

// The built sections written one after the other, as step 10 would write them.
std::string writtenOneByOne(const SectionCase& c) {
    const DataFile members = DataFile::FromBytes("members.dat", c.members);
    const DataFile stakes = DataFile::FromBytes("stakes.dat", c.stakes);
    const DataFile points = DataFile::FromBytes("points.dat", c.points);
    const DataFile lines = DataFile::FromBytes("matched.dat", c.lines);
    double carried = c.carried;
    NullProgress progress;
    const BuiltSections built = BuildSections({members, stakes, points, lines}, c.options, carried, progress);
    OutputText output;
    for (std::size_t s = 0; s < built.sections.size(); ++s) {
        const BuiltSection& section = built.sections[s];
        WriteSectionLayout(*section.record, section.first(), section.second(), c.options.layout, output, s + 1);
    }
    return output.bytes();
}

TEST(SectionResultsEquivalence, RouteSidesDoNotDependOnHowTheLinesWereDrawn) {
    // A curve whose section lines are all drawn from left to right; then every second one drawn
    // the other way. By the route, the second gives what the first gives as drawn, on two
    // threads and with sections that depend on each other through the azimuth carried. The
    // built sections are those written.
    const auto name = [](int k, int m) { return std::to_string(k) + "-" + std::to_string(m); };
    const SectionCase leftToRight = route(1000, 4, name, 180);
    SectionCase eitherWay = leftToRight;
    eitherWay.lines = everySecondLineReversed(leftToRight.lines);
    for (const double avoid : {0.08, -1.0}) {
        for (const bool swapSides : {false, true}) {
            SectionCase drawn = leftToRight;
            drawn.options.stakeAvoidDistance = avoid;
            drawn.options.layout.swapSides = swapSides;
            drawn.options.layout.layoutName = "格式 4";
            SectionCase byRoute = eitherWay;
            byRoute.options = drawn.options;
            byRoute.options.sides = SideRule::Route;
            const StepOutcome expected = observe(drawn, true);
            const StepOutcome result = observe(byRoute, true);
            EXPECT_EQ(result.output, expected.output) << avoid << swapSides;
            EXPECT_EQ(result.carriedBits, expected.carriedBits) << avoid << swapSides;
            EXPECT_EQ(writtenOneByOne(byRoute), result.output) << avoid << swapSides;
            SectionCase asDrawn = byRoute;
            asDrawn.options.sides = SideRule::Drawn;
            const std::string mirrored = observe(asDrawn, true).output;
            EXPECT_NE(mirrored, expected.output);
            EXPECT_EQ(writtenOneByOne(asDrawn), mirrored) << avoid << swapSides;
        }
    }
}

TEST(SectionResultsEquivalence, ManyNamesAreIndexedOnTheSide) {
    // Few sections but many detail points, named as surveys number them, so that the points are
    // indexed on a second thread; the sections' names in the points' order and out of it.
    SectionCase c = route(30, 2, [](int k, int m) { return std::to_string(3 * k + m); });
    for (int k = 0; k < 60000; ++k) c.points += "X" + std::to_string(k) + ",,1,2,3\r\n";
    c.members += "9000,59,X59999,X7,X59999\r\n";
    const StepOutcome result = observe(c, true);
    EXPECT_EQ(result, observe(c, false));
    EXPECT_EQ(result.counts[0], 30u);
}

}  // namespace
}  // namespace qorvel::testing
