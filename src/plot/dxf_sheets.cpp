// Section sheets as a DXF R2000 drawing, written as the sheets are drawn: in the ground's metres
// (the paper's millimetres times the print scale over 1000) or in millimetres of paper.
//
// Besides the entities an R2000 drawing needs what CAD programs look for before reading them:
// handles on every object and the header's $HANDSEED above them all, the nine symbol tables
// with their standard entries (the *Active viewport, the ByBlock, ByLayer and Continuous line
// types, layer 0, the Standard text and dimension styles, the ACAD application, the model and
// paper space block records), the two space blocks and a root dictionary with ACAD_GROUP.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <utility>
#include <string_view>

#include "core/step_error.h"
#include "core/text_encoding.h"
#include "plot/buffered_output.h"
#include "plot/sheet_writers.h"

namespace qorvel {

namespace {

// Handles of the tables and the objects that hold the drawing together; entities follow from
// kFirstEntity on.
enum Handle : std::uint64_t {
    kBlockRecordTable = 0x1,
    kLayerTable = 0x2,
    kStyleTable = 0x3,
    kLineTypeTable = 0x5,
    kViewTable = 0x6,
    kUcsTable = 0x7,
    kViewportTable = 0x8,
    kApplicationTable = 0x9,
    kDimensionStyleTable = 0xA,
    kRootDictionary = 0xC,
    kGroupDictionary = 0xD,
    kByBlock = 0x14,
    kByLayer = 0x15,
    kContinuous = 0x16,
    kActiveViewport = 0x17,
    kStandardStyle = 0x18,
    kChineseStyle = 0x19,
    kAcadApplication = 0x1A,
    kStandardDimensionStyle = 0x1B,
    kPaperSpaceRecord = 0x1E,
    kModelSpaceRecord = 0x1F,
    kModelSpaceBlock = 0x20,
    kModelSpaceEnd = 0x21,
    kPaperSpaceBlock = 0x22,
    kPaperSpaceEnd = 0x23,
    kLayerZero = 0x30,  // then one handle for each PlotLayer
    kFirstEntity = 0x100,
};

constexpr std::string_view kTextStyle = "HZ";

struct LayerLook {
    int colour;      // AutoCAD colour index
    int lineWeight;  // hundredths of a millimetre
};

LayerLook LookOf(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::Ground: return {7, 35};
        case PlotLayer::Stake: return {1, 25};
        case PlotLayer::Annotation: return {3, 18};
        case PlotLayer::Frame: return {7, 35};
        case PlotLayer::Table: return {8, 13};
    }
    return {7, 25};
}

// Strings of an R2000 drawing are in its code page, GBK here. A character GBK cannot hold is
// written as the \U+XXXX escape that CAD programs decode.
std::string GbkText(std::string_view given) {
    const bool ascii = std::all_of(given.begin(), given.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::string(given);
    if (auto whole = Utf8ToGbk(given)) return std::move(*whole);
    const std::string valid = IsValidUtf8(given) ? std::string(given) : FittedText(given, 1, 1e300);
    const std::string_view utf8 = valid;
    std::string text;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view character = utf8.substr(at, length);
        at += length;
        if (auto converted = Utf8ToGbk(character)) {
            text += *converted;
            continue;
        }
        char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < character.size(); ++k) codePoint = (codePoint << 6) | (character[k] & 0x3F);
        char escape[16];
        std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(codePoint));
        text += escape;
    }
    return text;
}

class DxfSheets final : public SheetWriter {
public:
    DxfSheets(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount, std::size_t entityCount,
              std::optional<double> printScale)
        : output_(path),
          unit_(printScale ? *printScale / 1000 : 1),
          metres_(printScale.has_value()),
          sheetWidth_(sheet.width),
          handleSeed_(kFirstEntity + entityCount) {
        const double count = static_cast<double>(sheetCount == 0 ? 1 : sheetCount);
        const double width = (count * sheet.width + (count - 1) * kSheetGap) * unit_;
        for (PlotLayer layer : kPlotLayers) layerNames_[static_cast<int>(layer)] = GbkText(LayerName(layer));
        WriteHeader(width, sheet.height * unit_);
        WriteTables(width, sheet.height * unit_);
        WriteBlocks();
        Pair(0, "SECTION");
        Pair(2, "ENTITIES");
        output_.Written();
    }

    void BeginSheet(std::size_t index) override { left_ = static_cast<double>(index) * (sheetWidth_ + kSheetGap); }
    void EndSheet() override {}

    void Finish() override {
        Pair(0, "ENDSEC");
        WriteObjects();
        Pair(0, "EOF");
        output_.Commit();
    }

    void Line(PlotPoint from, PlotPoint to, PlotLayer layer) override {
        Begin("LINE", layer);
        Pair(100, "AcDbLine");
        Point(10, from);
        Real(30, 0);
        Point(11, to);
        Real(31, 0);
        output_.Written();
    }

    void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) override {
        Begin("LWPOLYLINE", layer);
        Pair(100, "AcDbPolyline");
        Integer(90, static_cast<std::int64_t>(points.size()));
        Integer(70, closed ? 1 : 0);
        Real(43, 0);
        for (PlotPoint p : points) Point(10, p);
        output_.Written();
    }

    // A circle as a closed lightweight polyline of two half circles (bulge 1), so that the
    // drawing holds three entity types only.
    void Mark(PlotPoint at, PlotLayer layer) override {
        constexpr double r = kMarkDiameter / 2;  // Point() scales it with the rest
        Begin("LWPOLYLINE", layer);
        Pair(100, "AcDbPolyline");
        Integer(90, 2);
        Integer(70, 1);
        Real(43, 0);
        Point(10, {at.x - r, at.y});
        Real(42, 1);
        Point(10, {at.x + r, at.y});
        Real(42, 1);
        output_.Written();
    }

    void Text(const PlotText& text) override {
        Begin("TEXT", text.layer);
        Pair(100, "AcDbText");
        Point(10, text.at);
        Real(30, 0);
        Real(40, text.height * unit_);
        Pair(1, GbkText(text.text));
        if (text.angle != 0) Real(50, text.angle);
        Pair(7, kTextStyle);
        const int horizontal = text.align == TextAlign::Left ? 0 : text.align == TextAlign::Centre ? 1 : 2;
        const int vertical = text.baseline == TextBaseline::Bottom ? 0 : text.baseline == TextBaseline::Middle ? 2 : 3;
        if (horizontal != 0) Integer(72, horizontal);
        // With any justification but the default, the anchor is the alignment point.
        if (horizontal != 0 || vertical != 0) {
            Point(11, text.at);
            Real(31, 0);
        }
        Pair(100, "AcDbText");
        if (vertical != 0) Integer(73, vertical);
        output_.Written();
    }

private:
    BufferedOutput output_;
    double unit_;   // drawing units per millimetre of paper
    bool metres_;   // the ground's metres (1 unit = 1 m at the print scale) rather than paper
    double sheetWidth_;
    std::uint64_t handleSeed_;
    std::uint64_t nextHandle_ = kFirstEntity;
    double left_ = 0;
    std::string layerNames_[std::size(kPlotLayers)];

    void Pair(int code, std::string_view value) {
        std::string& out = output_.buffer();
        char buffer[16];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, code).ptr;
        out.append(buffer, end);
        out += "\r\n";
        out += value;
        out += "\r\n";
    }

    void Integer(int code, std::int64_t value) {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        Pair(code, std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
    }

    // The shortest text that reads back as the same double.
    void Real(int code, double value) {
        if (!std::isfinite(value) || value == 0) value = 0;
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        Pair(code, std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
    }

    void Reals(std::initializer_list<std::pair<int, double>> pairs) {
        for (const auto& [code, value] : pairs) Real(code, value);
    }
    void Integers(std::initializer_list<std::pair<int, std::int64_t>> pairs) {
        for (const auto& [code, value] : pairs) Integer(code, value);
    }

    void HandlePair(int code, std::uint64_t handle) {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, handle, 16).ptr;
        std::string text(buffer, end);
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        Pair(code, text);
    }

    // A point on the current sheet.
    void Point(int code, PlotPoint p) {
        Real(code, (left_ + p.x) * unit_);
        Real(code + 10, p.y * unit_);
    }

    void Begin(std::string_view type, PlotLayer layer) {
        if (nextHandle_ >= handleSeed_)
            throw StepError(output_.target(), StepError::kNoLine, StepError::kNoField, "断面在两次读取之间发生了变化，图元多于预计");
        Pair(0, type);
        HandlePair(5, nextHandle_++);
        HandlePair(330, kModelSpaceRecord);
        Pair(100, "AcDbEntity");
        Pair(8, layerNames_[static_cast<int>(layer)]);
    }

    void HeaderVariable(std::string_view name) { Pair(9, name); }

    void WriteHeader(double width, double height) {
        Pair(0, "SECTION");
        Pair(2, "HEADER");
        HeaderVariable("$ACADVER");
        Pair(1, "AC1015");
        HeaderVariable("$DWGCODEPAGE");
        Pair(3, "ANSI_936");
        HeaderVariable("$INSBASE");
        Reals({{10, 0}, {20, 0}, {30, 0}});
        HeaderVariable("$EXTMIN");
        Reals({{10, 0}, {20, 0}, {30, 0}});
        HeaderVariable("$EXTMAX");
        Reals({{10, width}, {20, height}, {30, 0}});
        HeaderVariable("$LIMMIN");
        Reals({{10, 0}, {20, 0}});
        HeaderVariable("$LIMMAX");
        Reals({{10, width}, {20, height}});
        HeaderVariable("$TEXTSTYLE");
        Pair(7, kTextStyle);
        HeaderVariable("$CLAYER");
        Pair(8, "0");
        HeaderVariable("$INSUNITS");
        Integer(70, metres_ ? 6 : 4);  // metres or millimetres
        HeaderVariable("$MEASUREMENT");
        Integer(70, 1);  // metric
        HeaderVariable("$LWDISPLAY");
        Integer(290, 1);
        HeaderVariable("$HANDSEED");
        HandlePair(5, handleSeed_);
        Pair(0, "ENDSEC");
        Pair(0, "SECTION");
        Pair(2, "CLASSES");
        Pair(0, "ENDSEC");
    }

    void BeginTable(std::string_view name, std::uint64_t handle, int entries) {
        Pair(0, "TABLE");
        Pair(2, name);
        HandlePair(5, handle);
        HandlePair(330, 0);
        Pair(100, "AcDbSymbolTable");
        Integer(70, entries);
    }

    void BeginEntry(std::string_view type, std::uint64_t handle, std::uint64_t table, std::string_view subclass) {
        Pair(0, type);
        HandlePair(type == "DIMSTYLE" ? 105 : 5, handle);
        HandlePair(330, table);
        Pair(100, "AcDbSymbolTableRecord");
        Pair(100, subclass);
    }

    void WriteTables(double width, double height) {
        Pair(0, "SECTION");
        Pair(2, "TABLES");

        // The view a CAD program opens with: every sheet.
        BeginTable("VPORT", kViewportTable, 1);
        BeginEntry("VPORT", kActiveViewport, kViewportTable, "AcDbViewportTableRecord");
        Pair(2, "*Active");
        Integer(70, 0);
        Reals({{10, 0}, {20, 0}, {11, 1}, {21, 1}});
        Reals({{12, width / 2}, {22, height / 2}});
        Reals({{13, 0}, {23, 0}, {14, 10}, {24, 10}, {15, 10}, {25, 10}});
        Reals({{16, 0}, {26, 0}, {36, 1}, {17, 0}, {27, 0}, {37, 0}});
        Real(40, std::max(height, width / 1.5) * 1.05);
        Real(41, 1.5);
        Reals({{42, 50}, {43, 0}, {44, 0}, {50, 0}, {51, 0}});
        Integers({{71, 0}, {72, 1000}, {73, 1}, {74, 3}, {75, 0}, {76, 0}, {77, 0}, {78, 0}});
        Integers({{281, 0}, {65, 1}});
        Reals({{110, 0}, {120, 0}, {130, 0}, {111, 1}, {121, 0}, {131, 0}, {112, 0}, {122, 1}, {132, 0}});
        Integer(79, 0);
        Real(146, 0);
        Pair(0, "ENDTAB");

        BeginTable("LTYPE", kLineTypeTable, 3);
        for (const auto& [name, handle, description] : {std::tuple{"ByBlock", kByBlock, ""}, std::tuple{"ByLayer", kByLayer, ""},
                                                        std::tuple{"Continuous", kContinuous, "Solid line"}}) {
            BeginEntry("LTYPE", handle, kLineTypeTable, "AcDbLinetypeTableRecord");
            Pair(2, name);
            Integer(70, 0);
            Pair(3, description);
            Integer(72, 65);
            Integer(73, 0);
            Real(40, 0);
        }
        Pair(0, "ENDTAB");

        BeginTable("LAYER", kLayerTable, 1 + static_cast<int>(std::size(kPlotLayers)));
        auto layer = [&](std::uint64_t handle, std::string_view name, LayerLook look) {
            BeginEntry("LAYER", handle, kLayerTable, "AcDbLayerTableRecord");
            Pair(2, name);
            Integer(70, 0);
            Integer(62, look.colour);
            Pair(6, "Continuous");
            Integer(370, look.lineWeight);
        };
        layer(kLayerZero, "0", {7, -3});
        for (PlotLayer plotLayer : kPlotLayers)
            layer(kLayerZero + 1 + static_cast<std::uint64_t>(plotLayer), layerNames_[static_cast<int>(plotLayer)], LookOf(plotLayer));
        Pair(0, "ENDTAB");

        // Chinese text needs a Chinese font: the TrueType 宋体 (family name in the extended data,
        // as CAD programs write it).
        BeginTable("STYLE", kStyleTable, 2);
        BeginEntry("STYLE", kStandardStyle, kStyleTable, "AcDbTextStyleTableRecord");
        Pair(2, "Standard");
        Integer(70, 0);
        Reals({{40, 0}, {41, 1}, {50, 0}});
        Integer(71, 0);
        Real(42, 2.5);
        Pair(3, "txt");
        Pair(4, "");
        BeginEntry("STYLE", kChineseStyle, kStyleTable, "AcDbTextStyleTableRecord");
        Pair(2, kTextStyle);
        Integer(70, 0);
        Reals({{40, 0}, {41, 1}, {50, 0}});
        Integer(71, 0);
        Real(42, 3.5 * unit_);
        Pair(3, "simsun.ttc");
        Pair(4, "");
        Pair(1001, "ACAD");
        Pair(1000, GbkText("宋体"));
        Integer(1071, 0);
        Pair(0, "ENDTAB");

        BeginTable("VIEW", kViewTable, 0);
        Pair(0, "ENDTAB");
        BeginTable("UCS", kUcsTable, 0);
        Pair(0, "ENDTAB");

        BeginTable("APPID", kApplicationTable, 1);
        BeginEntry("APPID", kAcadApplication, kApplicationTable, "AcDbRegAppTableRecord");
        Pair(2, "ACAD");
        Integer(70, 0);
        Pair(0, "ENDTAB");

        BeginTable("DIMSTYLE", kDimensionStyleTable, 1);
        Pair(100, "AcDbDimStyleTable");
        BeginEntry("DIMSTYLE", kStandardDimensionStyle, kDimensionStyleTable, "AcDbDimStyleTableRecord");
        Pair(2, "Standard");
        Integer(70, 0);
        Pair(0, "ENDTAB");

        BeginTable("BLOCK_RECORD", kBlockRecordTable, 2);
        BeginEntry("BLOCK_RECORD", kModelSpaceRecord, kBlockRecordTable, "AcDbBlockTableRecord");
        Pair(2, "*Model_Space");
        BeginEntry("BLOCK_RECORD", kPaperSpaceRecord, kBlockRecordTable, "AcDbBlockTableRecord");
        Pair(2, "*Paper_Space");
        Pair(0, "ENDTAB");
        Pair(0, "ENDSEC");
    }

    void WriteBlocks() {
        Pair(0, "SECTION");
        Pair(2, "BLOCKS");
        for (const auto& [name, record, begin, end] : {std::tuple{"*Model_Space", kModelSpaceRecord, kModelSpaceBlock, kModelSpaceEnd},
                                                       std::tuple{"*Paper_Space", kPaperSpaceRecord, kPaperSpaceBlock, kPaperSpaceEnd}}) {
            Pair(0, "BLOCK");
            HandlePair(5, begin);
            HandlePair(330, record);
            Pair(100, "AcDbEntity");
            Pair(8, "0");
            Pair(100, "AcDbBlockBegin");
            Pair(2, name);
            Integer(70, 0);
            Reals({{10, 0}, {20, 0}, {30, 0}});
            Pair(3, name);
            Pair(1, "");
            Pair(0, "ENDBLK");
            HandlePair(5, end);
            HandlePair(330, record);
            Pair(100, "AcDbEntity");
            Pair(8, "0");
            Pair(100, "AcDbBlockEnd");
        }
        Pair(0, "ENDSEC");
    }

    void WriteObjects() {
        Pair(0, "SECTION");
        Pair(2, "OBJECTS");
        Pair(0, "DICTIONARY");
        HandlePair(5, kRootDictionary);
        HandlePair(330, 0);
        Pair(100, "AcDbDictionary");
        Integer(281, 1);
        Pair(3, "ACAD_GROUP");
        HandlePair(350, kGroupDictionary);
        Pair(0, "DICTIONARY");
        HandlePair(5, kGroupDictionary);
        HandlePair(330, kRootDictionary);
        Pair(100, "AcDbDictionary");
        Integer(281, 1);
        Pair(0, "ENDSEC");
    }
};

}  // namespace

std::unique_ptr<SheetWriter> MakeDxfSheetWriter(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount,
                                                std::size_t entityCount, std::optional<double> printScale) {
    return std::make_unique<DxfSheets>(path, sheet, sheetCount, entityCount, printScale);
}

}  // namespace qorvel
