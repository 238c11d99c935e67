#include "plot/sheet_layout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace qorvel {

namespace {

// A scale's denominator: up to four decimals, without trailing zeros or an exponent.
std::string Denominator(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    if (error != std::errc()) return "?";
    std::string text(buffer, end);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::optional<SheetSize> SheetSizeByName(std::string_view name) {
    if (name.size() != 2 || (name[0] != 'A' && name[0] != 'a')) return std::nullopt;
    switch (name[1]) {
        case '4': return SheetSize::A4;
        case '3': return SheetSize::A3;
        case '1': return SheetSize::A1;
        default: return std::nullopt;
    }
}

std::string_view SheetSizeName(SheetSize size) {
    switch (size) {
        case SheetSize::A4: return "A4";
        case SheetSize::A3: return "A3";
        case SheetSize::A1: return "A1";
    }
    return "A3";
}

SheetGeometry SheetGeometry::Of(SheetSize size) {
    // Landscape paper; a 25 mm binding margin on the left, 5 mm on the other edges of the small
    // sheets and 10 mm on the large one.
    SheetGeometry sheet;
    double margin = 5;
    sheet.titleTextHeight = 3.5;
    switch (size) {
        case SheetSize::A4: sheet.width = 297; sheet.height = 210; break;
        case SheetSize::A3: sheet.width = 420; sheet.height = 297; break;
        case SheetSize::A1:
            sheet.width = 841;
            sheet.height = 594;
            margin = 10;
            sheet.titleTextHeight = 5;
            break;
    }
    constexpr double kBindingMargin = 25;
    constexpr double kClearance = 4;  // between the frame and the sections
    sheet.frame = {kBindingMargin, margin, sheet.width - margin, sheet.height - margin};
    const double titleHeight = 2.4 * sheet.titleTextHeight;
    sheet.titleBlock = {sheet.frame.left, sheet.frame.bottom, sheet.frame.right, sheet.frame.bottom + titleHeight};
    sheet.drawingArea = {sheet.frame.left + kClearance, sheet.titleBlock.top + kClearance, sheet.frame.right - kClearance,
                         sheet.frame.top - kClearance};
    return sheet;
}

std::string ScaleText(double horizontalScale, double exaggeration) {
    if (exaggeration == 1) return "1:" + Denominator(horizontalScale);
    return "横 1:" + Denominator(horizontalScale) + " 竖 1:" + Denominator(horizontalScale / exaggeration);
}

void DrawSheetFrame(const SheetGeometry& sheet, const SheetTitle& title, PlotCanvas& canvas) {
    auto rectangle = [&](const PlotBox& box) {
        const std::array<PlotPoint, 4> corners{{{box.left, box.bottom}, {box.right, box.bottom}, {box.right, box.top}, {box.left, box.top}}};
        canvas.Polyline(corners, true, PlotLayer::Frame);
    };
    rectangle({0, 0, sheet.width, sheet.height});
    rectangle(sheet.frame);
    const PlotBox& block = sheet.titleBlock;
    canvas.Line({block.left, block.top}, {block.right, block.top}, PlotLayer::Frame);

    // Cells from the right: date, sheet number, scale; the title takes what is left.
    const double h = sheet.titleTextHeight;
    const double cellWidths[] = {15 * h, 15 * h, 22 * h};
    const std::string texts[] = {"日期 " + title.date,
                                 "第 " + std::to_string(title.number) + " 张 共 " + std::to_string(title.count) + " 张",
                                 "比例 " + title.scale};
    const double middle = (block.bottom + block.top) / 2;
    double right = block.right;
    for (std::size_t cell = 0; cell < std::size(cellWidths); ++cell) {
        const double left = right - cellWidths[cell];
        canvas.Line({left, block.bottom}, {left, block.top}, PlotLayer::Frame);
        canvas.Text({{(left + right) / 2, middle}, h, TextAlign::Centre, TextBaseline::Middle,
                     FittedText(texts[cell], h, cellWidths[cell] - h), PlotLayer::Frame});
        right = left;
    }
    if (!title.title.empty())
        canvas.Text({{(block.left + right) / 2, middle}, h, TextAlign::Centre, TextBaseline::Middle,
                     FittedText(title.title, h, right - block.left - h), PlotLayer::Frame});
}

SectionPlace SheetPlanner::Place(double width, double height) {
    // A NaN compares false everywhere: it is taken as nothing, never as an endless size.
    width = std::clamp(std::isnan(width) ? 0.0 : width, 0.0, area_.Width());
    height = std::clamp(std::isnan(height) ? 0.0 : height, 0.0, area_.Height());
    auto startColumn = [&](double left) {
        columnLeft_ = left;
        columnWidth_ = 0;
        nextBottom_ = area_.bottom;
    };
    if (!placed_) {
        placed_ = true;
        startColumn(area_.left);
    } else if (nextBottom_ + height > area_.top) {
        const double left = columnLeft_ + columnWidth_ + kColumnGap;
        if (left + width > area_.right) {
            ++sheet_;
            startColumn(area_.left);
        } else {
            startColumn(left);
        }
    } else if (columnLeft_ + width > area_.right) {
        ++sheet_;
        startColumn(area_.left);
    }
    const SectionPlace place{sheet_, {columnLeft_, nextBottom_}};
    nextBottom_ += height + kRowGap;
    columnWidth_ = std::max(columnWidth_, width);
    return place;
}

}  // namespace qorvel
