#include "plot/plot_sections.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <memory>

#include "core/fields.h"
#include "core/step_error.h"
#include "platform/local_time.h"
#include "plot/sheet_writers.h"

namespace qorvel {

namespace {

// Counts what a drawing would put in a file: the DXF numbers its handles ahead.
class CountingCanvas final : public PlotCanvas {
public:
    void Line(PlotPoint, PlotPoint, PlotLayer) override { ++count; }
    void Polyline(std::span<const PlotPoint>, bool, PlotLayer) override { ++count; }
    void Mark(PlotPoint, PlotLayer) override { ++count; }
    void Text(const PlotText&) override { ++count; }
    std::size_t count = 0;
};

std::string Today() {
    const platform::LocalTime now = platform::LocalTimeNow();
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", now.year, now.month, now.day);
    return buffer;
}

std::string StationList(const NamedStations& stations) {
    std::string list;
    for (std::size_t i = 0; i < stations.first.size(); ++i) {
        if (i > 0) list += "、";
        list += DisplayText(stations.first[i]);  // a station of a damaged file may be megabytes long
    }
    if (stations.count > stations.first.size()) list += " 等";
    return list;
}

[[noreturn]] void SourceChanged(const std::string& path) {
    throw StepError(path, StepError::kNoLine, StepError::kNoField, "断面在两次读取之间发生了变化");
}

}  // namespace

std::optional<PlotKind> PlotKindOfPath(std::string_view path) {
    if (const SheetKind* kind = SheetKindOfPath(path)) return kind->kind;
    return std::nullopt;
}

std::string PlotOutputPath(std::string_view path) {
    const SheetKind* kind = SheetKindOfPath(path);
    if (!kind || !kind->folderOfPages) return std::string(path);
    return std::string(path.substr(0, path.rfind('.'))) + "-sheets";
}

std::string SvgPageName(std::size_t number, std::size_t count) {
    std::string digits = std::to_string(number);
    const std::size_t width = std::max<std::size_t>(3, std::to_string(count).size());
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return "sheet-" + digits + ".svg";
}

bool IsSvgPageName(std::string_view name) {
    constexpr std::string_view kStart = "sheet-";
    constexpr std::string_view kEnd = ".svg";
    if (!name.starts_with(kStart) || !name.ends_with(kEnd)) return false;
    const std::string_view digits = name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
    return digits.size() >= 3 && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string OneSectionSheetName(const SectionDrawing& section, PlotKind kind) {
    std::string name = StationLabel(section);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
    if (name.empty() || name.front() == '.') name.insert(0, "断面");
    for (const SheetKind& sheetKind : SheetKinds())
        if (sheetKind.kind == kind) return name + "." + std::string(sheetKind.name);
    return name;
}

std::optional<DxfUnits> DxfUnitsByName(std::string_view name) {
    if (name == "m") return DxfUnits::Metres;
    if (name == "mm") return DxfUnits::Millimetres;
    return std::nullopt;
}

std::string PlotOptionsProblem(const PlotOptions& options) {
    // Written so that a NaN fails too.
    if (!(options.scale >= 1 && options.scale <= 100000)) return "比例应在 1:1 到 1:100000 之间";
    if (!(options.exaggeration >= 0.1 && options.exaggeration <= 100)) return "竖向放大倍数应在 0.1 到 100 之间";
    return {};
}

FigureScale SheetFigureScale(const PlotOptions& options) {
    const SheetGeometry sheet = SheetGeometry::Of(options.sheet);
    FigureScale scale{options.scale, options.exaggeration, sheet.drawingArea.Width(), sheet.drawingArea.Height()};
    scale.table = true;
    scale.elevationDecimals = options.elevationDecimals;
    return scale;
}

std::string PlotSummary::Warning() const {
    std::string warning;
    const auto line = [&](const NamedStations& stations, const char* what) {
        if (stations.count == 0) return;
        if (!warning.empty()) warning += '\n';
        warning += std::string(what) + " " + std::to_string(stations.count) + " 个：" + StationList(stations);
    };
    line(emptyStations, "没有测点的断面");
    line(clippedStations, "数值超出图幅、已裁剪绘制的断面");
    line(crowdedStations, "测点过密、表格中有测点未写距离和高程的断面");
    return warning;
}

PlotSummary PlotSections(SectionSource& sections, const PlotOptions& options, const std::string& outputPath,
                         ProgressSink& progress) {
    const SheetKind* kind = SheetKindOfPath(outputPath);
    if (!kind)
        throw StepError(outputPath, StepError::kNoLine, StepError::kNoField, "图纸文件的扩展名应为 " + SheetKindList(SheetKindWords::Extensions));
    if (!kind->available()) throw StepError(outputPath, StepError::kNoLine, StepError::kNoField, SheetKindUnavailable(*kind));
    if (const std::string problem = PlotOptionsProblem(options); !problem.empty()) throw StepError(problem);
    if (options.elevationDecimals != 2 && options.elevationDecimals != 3) throw StepError("表格中高程的小数位数应为 2 或 3");

    const SheetGeometry sheet = SheetGeometry::Of(options.sheet);
    const FigureScale scale = SheetFigureScale(options);
    SheetTitle title;
    title.project = options.project;
    title.road = options.road;
    title.title = options.title;
    title.acrossScale = ScaleRatio(options.scale);
    title.upScale = ScaleRatio(options.scale / options.exaggeration);
    title.drawingNumber = options.drawingNumber;
    title.date = options.date.empty() ? Today() : options.date;
    const auto extentOf = [](const SectionFigure& figure) {
        return SectionExtent{-figure.bounds.left, figure.bounds.right, figure.bounds.Height()};
    };

    // First pass: sizes only, for the columns, the number of sheets and of entities.
    std::size_t sectionCount = 0;
    std::size_t entityCount = 0;
    SheetPlanner planner(sheet.drawingArea);
    sections.Visit([&](const SectionDrawing& section) {
        const SectionFigure figure = BuildSectionFigure(section, scale);
        planner.Add(extentOf(figure));
        entityCount += figure.PrimitiveCount();
        ++sectionCount;
    });
    title.count = std::max<std::size_t>(planner.sheets(), 1);
    {
        CountingCanvas frame;
        title.number = title.count;
        DrawSheetFrame(sheet, title, frame);
        entityCount += title.count * frame.count;
    }

    PlotSummary summary;
    summary.output = PlotOutputPath(outputPath);
    const std::unique_ptr<SheetWriter> writer = kind->makeWriter(
        {.path = outputPath,
         .written = summary.output,
         .sheet = sheet,
         .sheetCount = title.count,
         .entityCount = entityCount,
         .metresAt = options.dxfUnits == DxfUnits::Metres ? std::optional<double>(options.scale) : std::nullopt});

    constexpr std::size_t kNoSheet = std::numeric_limits<std::size_t>::max();
    std::size_t current = kNoSheet;
    auto nextSheet = [&] {
        if (current != kNoSheet) writer->EndSheet();
        current = current == kNoSheet ? 0 : current + 1;
        if (current >= title.count) SourceChanged(outputPath);
        writer->BeginSheet(current);
        title.number = current + 1;
        DrawSheetFrame(sheet, title, *writer);
    };
    sections.Visit([&](const SectionDrawing& section) {
        if (summary.sections == sectionCount) SourceChanged(outputPath);
        const SectionFigure figure = BuildSectionFigure(section, scale);
        const std::optional<SectionPlace> place = planner.Place(extentOf(figure));
        if (!place) SourceChanged(outputPath);
        while (current == kNoSheet || place->sheet > current) nextSheet();
        DrawSectionFigure(figure, {place->stakeX + figure.bounds.left, place->bottom}, *writer);
        const auto named = [&](NamedStations& list) { list.Add(StationLabel(section)); };
        if (figure.empty) named(summary.emptyStations);
        if (figure.clipped) named(summary.clippedStations);
        if (figure.omittedPoints > 0) named(summary.crowdedStations);
        ++summary.sections;
        if (summary.sections % 64 == 0 || summary.sections == sectionCount)
            progress.Advance(kPlotStatus, summary.sections, sectionCount);
    });
    if (summary.sections != sectionCount) SourceChanged(outputPath);
    while (current == kNoSheet || current + 1 < title.count) nextSheet();
    writer->EndSheet();
    writer->Finish();

    summary.sheets = title.count;
    summary.text = "共绘制断面 " + std::to_string(summary.sections) + " 个，图纸 " + std::to_string(summary.sheets) + " 张。";
    return summary;
}

}  // namespace qorvel
