#include "plot/plot_sections.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <memory>

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

std::string StationList(const std::vector<std::string>& stations) {
    constexpr std::size_t kNamed = 10;
    std::string list;
    for (std::size_t i = 0; i < stations.size() && i < kNamed; ++i) {
        if (i > 0) list += "、";
        list += stations[i];
    }
    if (stations.size() > kNamed) list += " 等";
    return list;
}

[[noreturn]] void SourceChanged(const std::string& path) {
    throw StepError(path, StepError::kNoLine, StepError::kNoField, "断面在两次读取之间发生了变化");
}

}  // namespace

std::optional<PlotKind> PlotKindOfPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "pdf") return PlotKind::Pdf;
    if (extension == "svg") return PlotKind::Svg;
    if (extension == "dxf") return PlotKind::Dxf;
    return std::nullopt;
}

FigureScale SheetFigureScale(const PlotOptions& options) {
    const SheetGeometry sheet = SheetGeometry::Of(options.sheet);
    return {options.scale, options.exaggeration, sheet.drawingArea.Width(), sheet.drawingArea.Height()};
}

std::string PlotSummary::Warning() const {
    std::string warning;
    if (!emptyStations.empty())
        warning += "没有测点的断面 " + std::to_string(emptyStations.size()) + " 个：" + StationList(emptyStations);
    if (!clippedStations.empty()) {
        if (!warning.empty()) warning += '\n';
        warning += "数值超出图幅、已裁剪绘制的断面 " + std::to_string(clippedStations.size()) + " 个：" +
                   StationList(clippedStations);
    }
    return warning;
}

PlotSummary PlotSections(SectionSource& sections, const PlotOptions& options, const std::string& outputPath,
                         ProgressSink& progress) {
    const std::optional<PlotKind> kind = PlotKindOfPath(outputPath);
    if (!kind)
        throw StepError(outputPath, StepError::kNoLine, StepError::kNoField, "图纸文件的扩展名应为 .pdf、.svg 或 .dxf");
    // Written so that a NaN fails too.
    if (!(options.scale >= 1 && options.scale <= 100000)) throw StepError("比例应在 1:1 到 1:100000 之间");
    if (!(options.exaggeration >= 0.1 && options.exaggeration <= 100)) throw StepError("竖向放大倍数应在 0.1 到 100 之间");

    const SheetGeometry sheet = SheetGeometry::Of(options.sheet);
    const FigureScale scale = SheetFigureScale(options);
    SheetTitle title{options.title, ScaleText(options.scale, options.exaggeration), 1, 1,
                     options.date.empty() ? Today() : options.date};

    // First pass: sizes only, for the number of sheets and of entities.
    std::size_t sectionCount = 0;
    std::size_t entityCount = 0;
    {
        SheetPlanner planner(sheet.drawingArea);
        sections.Visit([&](const SectionDrawing& section) {
            const SectionFigure figure = BuildSectionFigure(section, scale);
            planner.Place(figure.bounds.Width(), figure.bounds.Height());
            entityCount += figure.PrimitiveCount();
            ++sectionCount;
        });
        title.count = std::max<std::size_t>(planner.sheets(), 1);
        CountingCanvas frame;
        DrawSheetFrame(sheet, title, frame);
        entityCount += title.count * frame.count;
    }

    std::unique_ptr<SheetWriter> writer;
    switch (*kind) {
        case PlotKind::Pdf: writer = MakePdfSheetWriter(outputPath, sheet); break;
        case PlotKind::Svg: writer = MakeSvgSheetWriter(outputPath, sheet, title.count); break;
        case PlotKind::Dxf: writer = MakeDxfSheetWriter(outputPath, sheet, title.count, entityCount); break;
    }

    PlotSummary summary;
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
    SheetPlanner planner(sheet.drawingArea);
    sections.Visit([&](const SectionDrawing& section) {
        if (summary.sections == sectionCount) SourceChanged(outputPath);
        const SectionFigure figure = BuildSectionFigure(section, scale);
        const SectionPlace place = planner.Place(figure.bounds.Width(), figure.bounds.Height());
        while (current == kNoSheet || place.sheet > current) nextSheet();
        DrawSectionFigure(figure, place.corner, *writer);
        if (figure.empty) summary.emptyStations.push_back(section.station);
        if (figure.clipped) summary.clippedStations.push_back(section.station);
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
