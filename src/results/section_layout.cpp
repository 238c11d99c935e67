#include "results/section_layout.h"

#include <array>
#include <cmath>
#include <optional>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "station/station_text.h"

namespace qorvel {

namespace {

enum class Heights {
    Elevation,   // z(k)
    AboveStake,  // z(k) - zs
    Stepwise,    // each pair relative to the one before it, the first relative to the stake
};

struct Layout {
    std::string_view name;
    bool oneLine;  // station, stake elevation and both sides on one line
    Heights heights;
};

constexpr std::array kLayouts{
    Layout{"格式 1", false, Heights::Elevation},
    Layout{"格式 2", true, Heights::Elevation},
    Layout{"格式 3", true, Heights::AboveStake},
    Layout{"格式 4", false, Heights::AboveStake},
    Layout{"格式 5", false, Heights::Stepwise},
};

const Layout* findLayout(std::string_view name) {
    for (const Layout& layout : kLayouts)
        if (layout.name == name) return &layout;
    return nullptr;
}

void appendNumber(std::string& text, double value) { AppendRoundedFixed(text, value, 4, Rounding::HalfToEven, 2); }

// Pairs in list order, "first second", separated by single blanks; an empty side is empty.
void appendSide(std::string& text, const SideList& side, Heights heights, double stakeElevation, double sign) {
    for (std::size_t k = 0; k < side.size(); ++k) {
        const SidePoint& point = side[k];
        double first = point.distance;
        double second = point.elevation;
        switch (heights) {
            case Heights::Elevation:
                break;
            case Heights::AboveStake:
                second = sign * (point.elevation - stakeElevation);
                break;
            case Heights::Stepwise:
                if (k == 0) {
                    second = sign * (point.elevation - stakeElevation);
                } else {
                    first = std::fabs(point.distance - side[k - 1].distance);
                    second = sign * (point.elevation - side[k - 1].elevation);
                }
                break;
        }
        if (k > 0) text += ' ';
        appendNumber(text, first);
        text += ' ';
        appendNumber(text, second);
    }
}

}  // namespace

std::string LayoutNumberText(double value) {
    std::string text;
    appendNumber(text, value);
    return text;
}

bool WriteSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        const SectionLayoutSettings& settings, OutputText& output) {
    const Layout* layout = findLayout(settings.layoutName);
    if (!layout) return false;

    std::string station(record.chainage.text);
    if (settings.stationText) {
        const std::optional<std::string> text = FormatStationText(record.chainage.text);
        if (!text) record.chainage.Fail("桩号不是数字，不能转换为字符型桩号：“" + DisplayText(record.chainage.text) + "”");
        station = *text;
    }

    const double stakeElevation = layout->heights == Heights::Elevation ? 0 : record.stakeElevation.Lenient();
    const double sign = settings.negateHeights ? -1 : 1;
    const SideList& sideX = settings.swapSides ? second : first;
    const SideList& sideY = settings.swapSides ? first : second;

    if (settings.blankLine) output.Line(" ");
    std::string text;
    text.reserve(16 * (first.size() + second.size()) + 8);
    if (layout->oneLine) {
        text += ' ';
        appendSide(text, sideX, layout->heights, stakeElevation, sign);
        text += ' ';
        appendSide(text, sideY, layout->heights, stakeElevation, sign);
        output << station << ' ' << record.stakeElevation.text << text;
        output.EndLine();
    } else {
        appendSide(text, sideX, layout->heights, stakeElevation, sign);
        const std::size_t xLength = text.size();
        appendSide(text, sideY, layout->heights, stakeElevation, sign);
        output.Line(station);
        output.Line(std::string_view(text).substr(0, xLength));
        output.Line(std::string_view(text).substr(xLength));
    }
    return true;
}

}  // namespace qorvel
