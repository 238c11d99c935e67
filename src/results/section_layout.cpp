#include "results/section_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/text_encoding.h"
#include "station/station_text.h"

namespace qorvel {

namespace {

enum class Heights {
    Elevation,   // z(k)
    AboveStake,  // z(k) - zs
    Stepwise,    // each pair relative to the one before it, the first relative to the stake
};

constexpr std::array kLayouts{
    SectionLayoutEntry{SectionLayoutKind::Format1, "格式 1", "1", ".dat", true},
    SectionLayoutEntry{SectionLayoutKind::Format2, "格式 2", "2", ".dat", true},
    SectionLayoutEntry{SectionLayoutKind::Format3, "格式 3", "3", ".dat", true},
    SectionLayoutEntry{SectionLayoutKind::Format4, "格式 4", "4", ".dat", true},
    SectionLayoutEntry{SectionLayoutKind::Format5, "格式 5", "5", ".dat", true},
    SectionLayoutEntry{SectionLayoutKind::Begin, "BEGIN 块", "begin", ".dat", false},
    SectionLayoutEntry{SectionLayoutKind::Csv, "CSV 表", "csv", ".csv", false},
    SectionLayoutEntry{SectionLayoutKind::LandXml, "LandXML", "landxml", ".xml", false},
};

// The five layouts of (distance, value) pairs.
struct PairLayout {
    bool oneLine;  // station, stake elevation and both sides on one line
    Heights heights;
};

PairLayout pairLayout(SectionLayoutKind kind) {
    switch (kind) {
        case SectionLayoutKind::Format2: return {true, Heights::Elevation};
        case SectionLayoutKind::Format3: return {true, Heights::AboveStake};
        case SectionLayoutKind::Format4: return {false, Heights::AboveStake};
        case SectionLayoutKind::Format5: return {false, Heights::Stepwise};
        default: return {false, Heights::Elevation};
    }
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

void WriteSectionLayoutHeading(const SectionLayoutSettings& settings, OutputText& output) {
    const SectionLayoutEntry* layout = FindSectionLayout(settings.layoutName);
    if (layout && layout->kind == SectionLayoutKind::Csv) output.Line("\xEF\xBB\xBF桩号,偏距,高程,点名");
}

std::string SectionStationText(const SectionRecord& record, bool stationText) {
    if (!stationText) return std::string(record.chainage.text);
    std::optional<std::string> text = FormatStationText(record.chainage.text);
    if (!text) record.chainage.Fail("桩号不是数字，不能转换为字符型桩号：“" + DisplayText(record.chainage.text) + "”");
    return *std::move(text);
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

bool WriteSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        const SectionLayoutSettings& settings, OutputText& output, std::size_t number) {
    const SectionLayoutEntry* entry = FindSectionLayout(settings.layoutName);
    if (!entry || entry->kind == SectionLayoutKind::LandXml) return false;

    const std::string station = SectionStationText(record, settings.stationText);
    const SideList& sideX = settings.swapSides ? second : first;
    const SideList& sideY = settings.swapSides ? first : second;
    if (entry->kind == SectionLayoutKind::Begin) {
        writeBegin(record, sideX, sideY, station, number, output);
        return true;
    }
    if (entry->kind == SectionLayoutKind::Csv) {
        writeCsv(record, sideX, sideY, station, output);
        return true;
    }

    const PairLayout layout = pairLayout(entry->kind);
    const double stakeElevation = layout.heights == Heights::Elevation ? 0 : record.stakeElevation.Lenient();
    const double sign = settings.negateHeights ? -1 : 1;

    if (settings.blankLine) output.Line(" ");
    std::string text;
    text.reserve(16 * (first.size() + second.size()) + 8);
    if (layout.oneLine) {
        text += ' ';
        appendSide(text, sideX, layout.heights, stakeElevation, sign);
        text += ' ';
        appendSide(text, sideY, layout.heights, stakeElevation, sign);
        output << station << ' ' << record.stakeElevation.text << text;
        output.EndLine();
    } else {
        appendSide(text, sideX, layout.heights, stakeElevation, sign);
        const std::size_t xLength = text.size();
        appendSide(text, sideY, layout.heights, stakeElevation, sign);
        output.Line(station);
        output.Line(std::string_view(text).substr(0, xLength));
        output.Line(std::string_view(text).substr(xLength));
    }
    return true;
}

}  // namespace qorvel
