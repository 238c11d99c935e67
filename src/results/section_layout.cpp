#include "results/section_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/number_read.h"
#include "core/number_too_large.h"
#include "core/text_encoding.h"
#include "station/station_text.h"

namespace qorvel {

namespace {

enum class Heights {
    Elevation,   // z(k)
    AboveStake,  // z(k) - zs
    Stepwise,    // each pair relative to the one before it, the first relative to the stake
};

using enum SectionLayoutKind;

constexpr std::array kLayouts{
    SectionLayoutEntry{.kind = Format1, .name = "格式 1", .commandValue = "1", .extension = ".dat",
                       .heightSwitches = true, .routeSides = false, .stationText = true,
                       .description = "每个断面三行：桩号；第一侧各点的距离与高程；第二侧各点的距离与高程，"
                                      "两位小数，由近及远；供按两侧导入地面线的道路设计软件读取。"},
    SectionLayoutEntry{.kind = Format2, .name = "格式 2", .commandValue = "2", .extension = ".dat",
                       .heightSwitches = true, .routeSides = false, .stationText = true,
                       .description = "每个断面一行：桩号、中桩高程，然后第一侧、第二侧各点的距离与高程；"
                                      "供一行读一个断面的道路设计软件读取。"},
    SectionLayoutEntry{.kind = Format3, .name = "格式 3", .commandValue = "3", .extension = ".dat",
                       .heightSwitches = true, .routeSides = false, .stationText = true,
                       .description = "每个断面一行：桩号、中桩高程，然后第一侧、第二侧各点的距离与相对中桩的高差；"
                                      "供一行读一个断面、地面线用高差的道路设计软件读取。"},
    SectionLayoutEntry{.kind = Format4, .name = "格式 4", .commandValue = "4", .extension = ".dat",
                       .heightSwitches = true, .routeSides = false, .stationText = true,
                       .description = "每个断面三行：桩号；第一侧、第二侧各点的距离与相对中桩的高差；"
                                      "供按两侧导入高差地面线的道路设计软件读取。"},
    SectionLayoutEntry{.kind = Format5, .name = "格式 5", .commandValue = "5", .extension = ".dat",
                       .heightSwitches = true, .routeSides = false, .stationText = true,
                       .description = "每个断面三行：桩号；第一侧、第二侧各点相对前一点的距离与高差，第一点相对中桩；"
                                      "供按相对前一点导入地面线的道路设计软件读取。"},
    SectionLayoutEntry{.kind = Begin, .name = "BEGIN 块", .commandValue = "begin", .extension = ".dat",
                       .heightSwitches = false, .routeSides = false, .stationText = true,
                       .description = "每个断面以“BEGIN,桩号:序号”一行开头，随后每行一点“偏距,高程”，由左至右，"
                                      "左侧偏距为负，中桩偏距为 0；CASS 等软件的断面里程文件。"},
    SectionLayoutEntry{.kind = Csv, .name = "CSV 表", .commandValue = "csv", .extension = ".csv",
                       .heightSwitches = false, .routeSides = false, .stationText = true,
                       .description = "UTF-8 表格，标题行之后每行一点：桩号、偏距、高程、点名，由左至右，左侧偏距为负；"
                                      "用 Excel、WPS 等电子表格打开。"},
    SectionLayoutEntry{.kind = LandXml, .name = "LandXML", .commandValue = "landxml", .extension = ".xml",
                       .heightSwitches = false, .routeSides = true, .stationText = true,
                       .description = "LandXML 1.2 文档：路线为经过各中桩的折线，每个桩号一个断面，按里程递增，"
                                      "地面线为由左至右的“偏距 高程”，左右按路线前进方向；"
                                      "供支持 LandXML 的设计与测量软件导入。"},
    SectionLayoutEntry{.kind = Hdm, .name = "纬地 HDM", .commandValue = "hdm", .extension = ".hdm",
                       .heightSwitches = false, .routeSides = true, .stationText = false,
                       .description = "纬地道路设计软件的横断面地面线：每个桩号一个断面，按里程递增，一行里程，"
                                      "然后左侧、右侧各一行：点数，各点相对前一点的距离与高差（第一点相对中桩），"
                                      "左右按路线前进方向。"},
};

// The five layouts of (distance, value) pairs.
struct PairLayout {
    bool oneLine;  // station, stake elevation and both sides on one line
    Heights heights;
};

PairLayout pairLayout(SectionLayoutKind kind) {
    switch (kind) {
        case Format2: return {true, Heights::Elevation};
        case Format3: return {true, Heights::AboveStake};
        case Format4: return {false, Heights::AboveStake};
        case Format5: return {false, Heights::Stepwise};
        default: return {false, Heights::Elevation};
    }
}

void appendNumber(std::string& text, double value) { AppendRoundedFixed(text, value, 4, Rounding::HalfToEven, 2); }

// The pairs of a side in list order, each handed to `pair(first, second)`.
template <class Pair>
void forEachPair(const SideList& side, Heights heights, double stakeElevation, double sign, Pair&& pair) {
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
        pair(first, second);
    }
}

// Pairs in list order, "first second", separated by single blanks; an empty side is empty.
void appendSide(std::string& text, const SideList& side, Heights heights, double stakeElevation, double sign) {
    bool firstPair = true;
    forEachPair(side, heights, stakeElevation, sign, [&](double first, double second) {
        if (!firstPair) text += ' ';
        firstPair = false;
        appendNumber(text, first);
        text += ' ';
        appendNumber(text, second);
    });
}

// A side of the HDM file: its count, then TAB, distance, TAB, height for every point.
void appendHdmSide(std::string& text, const SideList& side, double stakeElevation) {
    text += std::to_string(side.size());
    forEachPair(side, Heights::Stepwise, stakeElevation, 1, [&](double distance, double height) {
        text += '\t';
        AppendFixed(text, distance, 3);
        text += '\t';
        AppendFixed(text, height, 3);
    });
}

// Text of the GBK data files for the UTF-8 table; ASCII is the same in both.
std::string utf8Text(std::string_view gbk, const auto& fail) {
    if (std::all_of(gbk.begin(), gbk.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return std::string(gbk);
    std::optional<std::string> utf8 = GbkToUtf8(gbk);
    if (!utf8) fail("不是 GBK 文字，无法转换为 UTF-8：“" + DisplayText(gbk) + "”");
    return *std::move(utf8);
}

// A field of the table, quoted when it holds a comma, a quote or a line end, its quotes
// doubled.
void appendCsvField(std::string& line, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += text;
        return;
    }
    line += '"';
    for (const char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

// A point name of the section whose text cannot be converted: the detail point line it came
// from (its view looks into that line).
[[noreturn]] void failPointName(const SectionRecord& record, std::string_view name, const std::string& reason) {
    for (const MemberPoint& point : record.points)
        if (point.name.data() == name.data()) SourcedField{name, record.pointFile, point.line, 0}.Fail(reason);
    SourcedField{name, record.pointFile, StepError::kNoLine, 0}.Fail(reason);
}

void writeBegin(const SectionRecord& record, const SideList& left, const SideList& right, std::string_view station,
                std::size_t number, OutputText& output) {
    std::string text = "BEGIN,";
    text += station;
    text += ':';
    text += std::to_string(number);
    output.Line(text);
    ForEachPointLeftToRight(left, right, record.stakeElevation.Lenient(), [&](double offset, double elevation, std::string_view) {
        text.clear();
        AppendFixed(text, offset, 3);
        text += ',';
        AppendFixed(text, elevation, 3);
        output.Line(text);
    });
}

void writeCsv(const SectionRecord& record, const SideList& left, const SideList& right, std::string_view station,
              OutputText& output) {
    std::string stationField;
    appendCsvField(stationField, utf8Text(station, [&](const std::string& reason) { record.chainage.Fail(reason); }));
    std::string text;
    ForEachPointLeftToRight(left, right, record.stakeElevation.Lenient(), [&](double offset, double elevation, std::string_view name) {
        text = stationField;
        text += ',';
        AppendFixed(text, offset, 3);
        text += ',';
        AppendFixed(text, elevation, 3);
        text += ',';
        appendCsvField(text, utf8Text(name, [&](const std::string& reason) { failPointName(record, name, reason); }));
        output.Line(text);
    });
}

}  // namespace

std::span<const SectionLayoutEntry> SectionLayouts() { return kLayouts; }

const SectionLayoutEntry* FindSectionLayout(std::string_view name) {
    for (const SectionLayoutEntry& layout : kLayouts)
        if (layout.name == name) return &layout;
    return nullptr;
}

const SectionLayoutEntry* FindSectionLayoutByCommandValue(std::string_view value) {
    for (const SectionLayoutEntry& layout : kLayouts)
        if (layout.commandValue == value) return &layout;
    return nullptr;
}

const SectionLayoutEntry& SectionLayoutOf(SectionLayoutKind kind) {
    for (const SectionLayoutEntry& layout : kLayouts)
        if (layout.kind == kind) return layout;
    return kLayouts.front();  // every kind has its entry
}

std::string SectionLayoutConflict(const SectionLayoutSettings& settings) {
    const SectionLayoutEntry* layout = FindSectionLayout(settings.layoutName);
    if (layout == nullptr) return "没有这种成果格式：" + std::string(settings.layoutName);
    const std::string name(layout->name);
    if (!layout->heightSwitches && (settings.negateHeights || settings.blankLine))
        return "“变换高差正负号”和“断面桩号隔一行生成”不适用于成果格式“" + name + "”";
    if (layout->routeSides && settings.swapSides)
        return "“幅别颠倒生成”不适用于成果格式“" + name + "”：它的左右总是按路线前进方向区分，颠倒后左右就反了";
    if (!layout->stationText && settings.stationText)
        return "“转换为字符型桩号”不适用于成果格式“" + name + "”：它的桩号是里程数";
    return {};
}

void WriteSectionLayoutHeading(const SectionLayoutSettings& settings, OutputText& output) {
    const SectionLayoutEntry* layout = FindSectionLayout(settings.layoutName);
    if (layout && layout->kind == Csv) output.Line("\xEF\xBB\xBF桩号,偏距,高程,点名");
    if (layout && layout->kind == Hdm) output.Line(kHdmFirstLine);
}

std::string SectionStationText(const SectionRecord& record, bool stationText) {
    if (!stationText) return std::string(record.chainage.text);
    std::optional<std::string> text = FormatStationText(record.chainage.text);
    if (!text) record.chainage.Fail("桩号不是数字，不能转换为字符型桩号：“" + DisplayText(record.chainage.text) + "”");
    return *std::move(text);
}

double RequireNumericStation(const SourcedField& chainage, const SectionLayoutEntry& layout) {
    const std::optional<double> value = ReadStrict(chainage.text);
    if (!value) chainage.Fail(std::string(layout.name) + " 的桩号必须是数字：“" + DisplayText(chainage.text) + "”");
    return *value;
}

std::string OffsetNumberText(double value) {
    std::string text;
    AppendFixed(text, value, 3);
    return text;
}

std::string LayoutNumberText(double value) {
    std::string text;
    appendNumber(text, value);
    return text;
}

namespace {

bool writeLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                 std::optional<double> heightsFrom, const SectionLayoutSettings& settings, OutputText& output,
                 std::size_t number) {
    const SectionLayoutEntry* entry = FindSectionLayout(settings.layoutName);
    if (!entry || entry->kind == LandXml) return false;
    const auto stakeElevation = [&] { return heightsFrom ? *heightsFrom : record.stakeElevation.Lenient(); };

    if (entry->kind == Hdm) {
        std::string text = FormatFixed(RequireNumericStation(record.chainage, *entry), 3);
        output.Line(text);
        const double from = stakeElevation();
        for (const SideList* side : {&first, &second}) {
            text.clear();
            appendHdmSide(text, *side, from);
            output.Line(text);
        }
        output.Line("");
        return true;
    }

    const std::string station = SectionStationText(record, settings.stationText);
    const SideList& sideX = settings.swapSides ? second : first;
    const SideList& sideY = settings.swapSides ? first : second;
    if (entry->kind == Begin) {
        writeBegin(record, sideX, sideY, station, number, output);
        return true;
    }
    if (entry->kind == Csv) {
        writeCsv(record, sideX, sideY, station, output);
        return true;
    }

    const PairLayout layout = pairLayout(entry->kind);
    const double from = layout.heights == Heights::Elevation ? 0 : stakeElevation();
    const double sign = settings.negateHeights ? -1 : 1;

    if (settings.blankLine) output.Line(" ");
    std::string text;
    text.reserve(16 * (first.size() + second.size()) + 8);
    if (layout.oneLine) {
        text += ' ';
        appendSide(text, sideX, layout.heights, from, sign);
        text += ' ';
        appendSide(text, sideY, layout.heights, from, sign);
        output << station << ' ' << record.stakeElevation.text << text;
        output.EndLine();
    } else {
        appendSide(text, sideX, layout.heights, from, sign);
        const std::size_t xLength = text.size();
        appendSide(text, sideY, layout.heights, from, sign);
        output.Line(station);
        output.Line(std::string_view(text).substr(0, xLength));
        output.Line(std::string_view(text).substr(xLength));
    }
    return true;
}

}  // namespace

bool WriteSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        const SectionLayoutSettings& settings, OutputText& output, std::size_t number) {
    return WriteSectionLayout(record, first, second, std::nullopt, settings, output, number);
}

bool WriteSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        std::optional<double> heightsFrom, const SectionLayoutSettings& settings, OutputText& output,
                        std::size_t number) {
    try {
        return writeLayout(record, first, second, heightsFrom, settings, output, number);
    } catch (const NumberNotFinite&) {
        // Only sides read from another file can still hold such a number: a height measured
        // from the stake's elevation, or from the point before, beyond the range of a double.
        // The elevation of largest magnitude carried it there; the file's lines are not fields.
        std::vector<SourcedNumber> elevations;
        if (heightsFrom) elevations.push_back({{}, StepError::kNoLine, StepError::kNoField, *heightsFrom, {}});
        for (const SideList* side : {&first, &second})
            for (const SidePoint& point : *side) elevations.push_back({{}, StepError::kNoLine, StepError::kNoField, point.elevation, {}});
        record.chainage.Fail("桩号“" + DisplayText(record.chainage.text) + "”的断面：" + NumberTooLargeReason(elevations, "高程"));
    }
}

}  // namespace qorvel
