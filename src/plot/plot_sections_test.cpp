#include "plot/plot_sections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/step_error.h"
#include "drawing/dxf_reader.h"
#include "plot/sheet_writers.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ReadFile;
using testing::TempDir;

// Sections like those of the example project: 52 stations 20 m apart, 2 to 9 points a side
// out to about 30 m over rolling ground; one station without points and one with problems.
std::vector<SectionDrawing> ExampleSections() {
    std::vector<SectionDrawing> sections;
    for (int i = 0; i < 52; ++i) {
        SectionDrawing section;
        section.chainage = 20.0 * i;
        section.numericChainage = true;
        section.station = std::to_string(20 * i);
        section.stakeElevation = 100 + 3 * std::sin(i * 0.3);
        if (i != 17) {
            for (int side = 0; side < 2; ++side) {
                auto& points = side == 0 ? section.firstSide : section.secondSide;
                const int count = 2 + (i * (side + 3)) % 8;
                for (int k = 1; k <= count; ++k)
                    points.push_back({k * (1.3 + 0.4 * side + 0.05 * (i % 7)),
                                      section.stakeElevation + (side ? 0.4 : -0.6) * k + 0.3 * std::cos(i + k),
                                      "P" + std::to_string(i * 20 + k), k == 1 ? "BJ" : ""});
            }
        }
        if (i == 30) section.problems = {"左侧点号重复", "右侧面积 2 m²：1.00"};  // ² is no GBK character
        sections.push_back(std::move(section));
    }
    return sections;
}

std::size_t Count(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

// Every entity's points lie on one sheet of the row of sheets in the DXF; what is not the
// frame lies inside the frame. `unit`: drawing units per millimetre of paper.
void ExpectWithinSheets(const Drawing& drawing, const PlotOptions& options, std::size_t sheets, double unit) {
    const SheetGeometry sheet = SheetGeometry::Of(options.sheet);
    for (const DrawingEntity& entity : drawing.entities) {
        const std::size_t stride = entity.kind == EntityKind::Line ? 3 : 2;
        for (std::size_t k = 0; k + 1 < entity.coordinates.size(); k += stride) {
            const double x = entity.coordinates[k] / unit;
            const double y = entity.coordinates[k + 1] / unit;
            const double index = std::floor(x / (sheet.width + kSheetGap));
            ASSERT_TRUE(index >= 0 && index < static_cast<double>(sheets)) << entity.layer << " " << x;
            const PlotPoint p{x - index * (sheet.width + kSheetGap), y};
            const PlotBox& box = entity.layer == "图框" ? PlotBox{0, 0, sheet.width, sheet.height} : sheet.frame;
            ASSERT_TRUE(box.Contains(p)) << entity.layer << " " << entity.text << " at " << p.x << "," << p.y;
        }
    }
}

// The ground lines of a DXF, in drawing order (a point's mark is a circle of two vertices;
// every ground line here has more).
std::vector<const DrawingEntity*> GroundLines(const Drawing& drawing) {
    std::vector<const DrawingEntity*> lines;
    for (const DrawingEntity& entity : drawing.entities)
        if (entity.kind == EntityKind::LightweightPolyline && entity.layer == "地面线" && entity.coordinates.size() > 4)
            lines.push_back(&entity);
    return lines;
}

TEST(PlotSections, DrawsEverySectionOnNumberedSheetsAsPdfSvgPagesAndDxfInMetres) {
    TempDir folder;
    const std::vector<SectionDrawing> sections = ExampleSections();
    SpanSectionSource source(sections);
    PlotOptions options;
    options.date = "2024-05-01";
    options.project = "示例公路";
    options.road = "主线";
    options.drawingNumber = "S4-1";
    NullProgress progress;

    const PlotSummary svg = PlotSections(source, options, folder.File("sections.SVG"), progress);
    const PlotSummary dxf = PlotSections(source, options, folder.File("sections.dxf"), progress);
    for (const PlotSummary* summary : {&svg, &dxf}) {
        EXPECT_EQ(summary->sections, 52u);
        EXPECT_EQ(summary->sheets, dxf.sheets);
        EXPECT_EQ(summary->text, "共绘制断面 52 个，图纸 " + std::to_string(dxf.sheets) + " 张。");
        EXPECT_EQ(summary->emptyStations.first, std::vector<std::string>{"K0+340"});
        EXPECT_EQ(summary->clippedStations.count, 0u);
    }
    ASSERT_GT(dxf.sheets, 1u);
    EXPECT_EQ(svg.output, folder.File("sections-sheets"));

    if (!PdfSheetsAvailable()) {
        // A build without cairo says what it can draw instead.
        try {
            PlotSections(source, options, folder.File("sections.pdf"), progress);
            ADD_FAILURE() << "a PDF without cairo";
        } catch (const StepError& error) {
            EXPECT_NE(error.describe().find(".svg 或 .dxf"), std::string::npos);
        }
    } else {
        const PlotSummary pdf = PlotSections(source, options, folder.File("sections.pdf"), progress);
        EXPECT_EQ(pdf.sheets, dxf.sheets);
        EXPECT_EQ(pdf.output, folder.File("sections.pdf"));
        // A page for each sheet, the CJK font embedded; its text as a reader extracts it.
        const std::string pdfBytes = ReadFile(pdf.output);
        EXPECT_EQ(Count(pdfBytes, "/Type /Page\n") + Count(pdfBytes, "/Type /Page "), dxf.sheets);
        EXPECT_NE(pdfBytes.find("WenQuanYi"), std::string::npos);
#ifdef QORVEL_PDFTOTEXT
        const testing::ProcessResult text = testing::RunProcess(QORVEL_PDFTOTEXT, {"-f", "1", "-l", "1", pdf.output, "-"});
        for (const char* expected : {"K0+000", "K0+020", "距离", "高程", "-1.35", "示例公路", "主线", "横向 1:200", "纵向 1:200",
                                     "设计", "复核", "审核", "S4-1-1", "2024-05-01"})
            EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
#endif
    }

    // SVG: a page for each sheet in the folder, every station as text on one of them.
    const std::vector<std::string> pages = testing::ListFolder(svg.output);
    ASSERT_EQ(pages.size(), dxf.sheets);
    std::string svgBytes;
    for (std::size_t n = 1; n <= pages.size(); ++n) {
        ASSERT_EQ(pages[n - 1], SvgPageName(n, pages.size()));
        const std::string page = ReadFile(svg.output + "/" + pages[n - 1]);
        EXPECT_NE(page.find("width=\"420mm\" height=\"297mm\""), std::string::npos);
        EXPECT_EQ(Count(page, "第 " + std::to_string(n) + " 张 共 " + std::to_string(pages.size()) + " 张</text>"), 1u);
        svgBytes += page;
    }
    for (const SectionDrawing& section : sections) EXPECT_EQ(Count(svgBytes, ">" + StationLabel(section) + "</text>"), 1u);
    EXPECT_EQ(Count(svgBytes, ">距离</text>"), 51u);  // a table under every section with points

    // DXF read back by our own reader: GBK layers and texts, every station, every sheet's
    // number, and each ground line through the section's pairs, a drawing unit a metre.
    const Drawing drawing = LoadDxf(dxf.output);
    const std::string dxfBytes = ReadFile(dxf.output);
    EXPECT_NE(dxfBytes.find("$ACADVER\r\n1\r\nAC1015"), std::string::npos);
    EXPECT_NE(dxfBytes.find("$DWGCODEPAGE\r\n3\r\nANSI_936"), std::string::npos);
    std::vector<std::string> texts;
    for (const DrawingEntity& entity : drawing.entities)
        if (entity.kind == EntityKind::Text) texts.push_back(entity.text);
    for (const SectionDrawing& section : sections)
        EXPECT_EQ(std::count(texts.begin(), texts.end(), StationLabel(section)), 1) << section.station;
    for (std::size_t n = 1; n <= dxf.sheets; ++n)
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "第 " + std::to_string(n) + " 张 共 " + std::to_string(dxf.sheets) + " 张"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "左侧点号重复、右侧面积 2 m²"), 1);

    const std::vector<const DrawingEntity*> groundLines = GroundLines(drawing);
    ASSERT_EQ(groundLines.size(), 51u);
    std::size_t line = 0;
    for (const SectionDrawing& section : sections) {
        if (!section.HasPoints()) continue;
        const std::vector<double>& xy = groundLines[line++]->coordinates;
        const std::size_t first = section.firstSide.size();
        ASSERT_EQ(xy.size(), 2 * (first + 1 + section.secondSide.size())) << section.station;
        const double stakeX = xy[2 * first];
        const double stakeY = xy[2 * first + 1];
        auto expectPair = [&](std::size_t vertex, double offset, double elevation) {
            EXPECT_NEAR(xy[2 * vertex] - stakeX, offset, 1e-9) << section.station << " vertex " << vertex;
            EXPECT_NEAR(xy[2 * vertex + 1] - stakeY, elevation - section.stakeElevation, 1e-9) << section.station << " vertex " << vertex;
        };
        for (std::size_t k = 0; k < first; ++k) expectPair(first - 1 - k, -section.firstSide[k].distance, section.firstSide[k].elevation);
        for (std::size_t k = 0; k < section.secondSide.size(); ++k)
            expectPair(first + 1 + k, section.secondSide[k].distance, section.secondSide[k].elevation);
    }
    ExpectWithinSheets(drawing, options, dxf.sheets, options.scale / 1000);

    // In millimetres of paper on request: at 1:200 a metre is 5 mm.
    options.dxfUnits = DxfUnits::Millimetres;
    PlotSections(source, options, folder.File("paper.dxf"), progress);
    const Drawing paper = LoadDxf(folder.File("paper.dxf"));
    const std::vector<double>& xy = GroundLines(paper).front()->coordinates;
    const std::vector<double>& metres = groundLines.front()->coordinates;
    EXPECT_NEAR(xy[2] - xy[0], 5 * (metres[2] - metres[0]), 1e-9);
    EXPECT_NE(ReadFile(folder.File("paper.dxf")).find("$INSUNITS\r\n70\r\n4\r\n"), std::string::npos);
    ExpectWithinSheets(paper, options, dxf.sheets, 1);

#ifdef QORVEL_EZDXF_PYTHON
    // An independent reader audits the drawing as a CAD program would: no error, metres, the
    // frames closed, each section's ground line one open polyline, the tables on their layer.
    const testing::ProcessResult audit = testing::RunProcess(
        QORVEL_EZDXF_PYTHON,
        {"-c", "import sys, ezdxf; d = ezdxf.readfile(sys.argv[1]); a = d.audit(); m = list(d.modelspace()); "
               "p = lambda layer: [e for e in m if e.dxftype() == 'LWPOLYLINE' and e.dxf.layer == layer]; "
               "print(len(a.errors), len(m), d.header['$INSUNITS'], all(e.closed for e in p('图框')), "
               "sum(not e.closed for e in p('地面线')), d.layers.has_entry('表格'), d.styles.get('HZ').dxf.font)",
         dxf.output});
    EXPECT_EQ(audit.out, "0 " + std::to_string(drawing.entities.size()) + " 6 True 51 True simsun.ttc\n") << audit.err;
#endif
}

class FailingSecondPass final : public SectionSource {
public:
    void Visit(const SectionVisitor& visit) override {
        if (++passes == 2) throw StepError("points.dat", 7, 4, "不是数字");
        visit(SectionDrawing{});
    }
    int passes = 0;
};

TEST(PlotSections, HugeValuesAreDrawnClippedAndFailuresLeaveNoFile) {
    TempDir folder;
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<SectionDrawing> sections = ExampleSections();
    sections.resize(4);
    sections[1].firstSide.push_back({1e300, 1e300, "far", ""});
    sections[2].stakeElevation = -1e9;
    sections[3].secondSide.push_back({std::nan(""), -inf, "", ""});
    for (int k = 1; k < 40; ++k) sections[0].secondSide.push_back({0.05 * k, 100, "", ""});  // too close to write
    SpanSectionSource source(sections);
    PlotOptions options;
    options.sheet = SheetSize::A4;
    options.exaggeration = 5;
    NullProgress progress;
    std::size_t sheets = 0;
    for (const char* name : {"huge.pdf", "huge.svg", "huge.dxf"}) {
        if (!PdfSheetsAvailable() && std::string_view(name).ends_with(".pdf")) continue;
        const PlotSummary summary = PlotSections(source, options, folder.File(name), progress);
        sheets = summary.sheets;
        EXPECT_EQ(summary.sections, 4u);
        EXPECT_EQ(summary.clippedStations.first, (std::vector<std::string>{"K0+020", "K0+040", "K0+060"})) << name;
        EXPECT_EQ(summary.crowdedStations.first, std::vector<std::string>{"K0+000"});
        EXPECT_NE(summary.Warning().find("K0+060"), std::string::npos);
        EXPECT_NE(summary.Warning().find("表格中有测点未写距离和高程的断面 1 个：K0+000"), std::string::npos);
    }
    ExpectWithinSheets(LoadDxf(folder.File("huge.dxf")), options, sheets, options.scale / 1000);

    // The pages of an earlier, longer set go with it.
    folder.Write("huge-sheets/sheet-099.svg", "old");
    PlotSections(source, options, folder.File("huge.svg"), progress);
    EXPECT_EQ(testing::ListFolder(folder.File("huge-sheets")).size(), sheets);

    // A failure in either pass, a bad extension or options out of range leave what was there.
    const std::string kept = folder.Write("kept.dxf", "old");
    std::filesystem::create_directory(folder.File("kept-sheets"));
    const std::string keptPage = folder.Write("kept-sheets/sheet-001.svg", "old");
    for (const char* name : {"kept.dxf", "kept.svg"}) {
        FailingSecondPass failing;
        EXPECT_THROW(PlotSections(failing, options, folder.File(name), progress), StepError);
        EXPECT_EQ(failing.passes, 2);
    }
    options.scale = 0;
    EXPECT_THROW(PlotSections(source, options, kept, progress), StepError);
    options.scale = 200;
    options.elevationDecimals = 4;
    EXPECT_THROW(PlotSections(source, options, kept, progress), StepError);
    options.elevationDecimals = 2;
    EXPECT_THROW(PlotSections(source, options, folder.File("sections.png"), progress), StepError);
    // A folder of pages holding anything else is not replaced.
    folder.Write("kept-sheets/notes.txt", "mine");
    try {
        PlotSections(source, options, folder.File("kept.svg"), progress);
        ADD_FAILURE() << "a folder with other files was replaced";
    } catch (const StepError& error) {
        EXPECT_NE(error.describe().find("notes.txt"), std::string::npos) << error.describe();
    }
    EXPECT_EQ(ReadFile(kept), "old");
    EXPECT_EQ(ReadFile(keptPage), "old");
    std::vector<std::string> files{"huge-sheets", "huge.dxf", "huge.pdf", "kept-sheets", "kept.dxf"};
    if (!PdfSheetsAvailable()) files.erase(files.begin() + 2);
    EXPECT_EQ(testing::ListFolder(folder.path()), files);
}

}  // namespace
}  // namespace qorvel
