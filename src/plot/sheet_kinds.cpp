#include "plot/sheet_kinds.h"

#include <array>
#include <cctype>
#include <vector>

#include "plot/plot_sections.h"
#include "plot/sheet_writers.h"

namespace qorvel {

namespace {

bool Always() { return true; }

std::unique_ptr<SheetWriter> PdfWriter(const SheetWriterRequest& request) {
    return MakePdfSheetWriter(request.path, request.sheet);
}
std::unique_ptr<SheetWriter> SvgWriter(const SheetWriterRequest& request) {
    return MakeSvgSheetWriter(request.written, request.sheet, request.sheetCount);
}
std::unique_ptr<SheetWriter> DxfWriter(const SheetWriterRequest& request) {
    return MakeDxfSheetWriter(request.path, request.sheet, request.sheetCount, request.entityCount, request.metresAt);
}

const std::array<SheetKind, 3> kSheetKinds{{
    {.kind = PlotKind::Pdf, .name = "pdf", .caption = "PDF", .available = PdfSheetsAvailable, .makeWriter = PdfWriter},
    {.kind = PlotKind::Svg, .name = "svg", .caption = "SVG", .folderOfPages = true, .available = Always,
     .makeWriter = SvgWriter},
    {.kind = PlotKind::Dxf, .name = "dxf", .caption = "DXF", .available = Always, .makeWriter = DxfWriter},
}};

}  // namespace

std::span<const SheetKind> SheetKinds() { return kSheetKinds; }

const SheetKind* FindSheetKind(std::string_view name) {
    for (const SheetKind& kind : kSheetKinds)
        if (kind.name == name) return &kind;
    return nullptr;
}

const SheetKind* SheetKindOfPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos) return nullptr;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return FindSheetKind(extension);
}

std::string SheetKindList(SheetKindWords words) {
    std::string list;
    for (std::size_t index = 0; index < kSheetKinds.size(); ++index) {
        if (index > 0) list += index + 1 == kSheetKinds.size() ? " 或 " : "、";
        if (words == SheetKindWords::Extensions) list += '.';
        list += words == SheetKindWords::Captions ? kSheetKinds[index].caption : kSheetKinds[index].name;
    }
    return list;
}

std::string SheetKindUnavailable(const SheetKind& kind) {
    std::vector<std::string_view> others;
    for (const SheetKind& other : kSheetKinds)
        if (&other != &kind && other.available()) others.push_back(other.name);
    std::string text = "本版本不能绘制 " + std::string(kind.caption) + " 图纸";
    for (std::size_t index = 0; index < others.size(); ++index) {
        text += index == 0 ? "，请改用 ." : index + 1 == others.size() ? " 或 ." : "、.";
        text += others[index];
    }
    return text;
}

std::string SheetKindFilter() {
    std::string patterns;
    std::string extensions;
    for (const SheetKind& kind : kSheetKinds) {
        if (!patterns.empty()) patterns += ' ', extensions += ';';
        patterns += "*." + std::string(kind.name);
        extensions += "*." + std::string(kind.name);
    }
    return "断面图(" + patterns + ")|" + extensions;
}

}  // namespace qorvel
