#pragma once
// A cross-section as the section sheets draw it: its chainage, the stake's elevation and the surveyed points of both sides, each side ordered by its distance from the
// stake. The first side is drawn to the left of the stake, the second to the right, as the
// result file lists them. Texts are UTF-8 (data-file text in GBK is converted by the caller).
//
// Sheets are written while the sections arrive, so a plot of 25,000 sections never holds more
// than one of them: a SectionSource hands them over one at a time. Numbering the sheets
// ("第 n 张 共 m 张") needs their count before the first sheet is written, so the plot asks the
// source twice: once to lay the sections out, once to draw them. Each pass must hand over the
// same sections in the same order; the source may rebuild them rather than keep them.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qorvel {

struct SurveyedPoint {
    double distance = 0;   // from the stake along the section line, metres, not negative
    double elevation = 0;  // metres
    std::string name;      // the detail point's name; may be empty
    std::string code;      // its code; may be empty
};

struct SectionDrawing {
    std::string station;           // the chainage as the files write it ("1200"), or any station text
    double chainage = 0;           // its value, when it has one; orders the sections (SortByChainage)
    bool numericChainage = false;  // `chainage` holds the station's value: it is shown as station text
    double stakeElevation = 0;
    std::vector<SurveyedPoint> firstSide;   // drawn left of the stake, nearest first
    std::vector<SurveyedPoint> secondSide;  // drawn right of the stake, nearest first
    // What the checks found for this section, each its reason first ("高程突变：左侧，12.50，3.20");
    // may be empty.
    std::vector<std::string> problems;

    bool HasPoints() const { return !firstSide.empty() || !secondSide.empty(); }
};

using SectionVisitor = std::function<void(const SectionDrawing&)>;

class SectionSource {
public:
    virtual ~SectionSource() = default;
    // Hands every section to `visit`, one at a time, in drawing order. Called once per pass; an
    // exception (a StepError from reading the inputs) ends the plot and leaves no file.
    virtual void Visit(const SectionVisitor& visit) = 0;
};

// Sections already in memory (the window's viewer, tests): each pass walks the same span.
class SpanSectionSource final : public SectionSource {
public:
    explicit SpanSectionSource(std::span<const SectionDrawing> sections) : sections_(sections) {}
    void Visit(const SectionVisitor& visit) override {
        for (const SectionDrawing& section : sections_) visit(section);
    }

private:
    std::span<const SectionDrawing> sections_;
};

// The station as the sheets write it: station text (K0+080) for a numeric chainage, otherwise
// the station as given.
std::string StationLabel(const SectionDrawing& section);

// The reasons of the section's problems, each once, in their order: the text before "：".
std::vector<std::string> ProblemReasons(const SectionDrawing& section);

// Puts sections in chainage order; sections of equal chainage keep their order, sections whose
// chainage is not a number go last.
void SortByChainage(std::vector<SectionDrawing>& sections);

}  // namespace qorvel
