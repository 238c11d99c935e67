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

// Each row of the title block is this many text heights tall.
constexpr double kTitleRow = 1.9;

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
        case SheetSize::A4:
            sheet.width = 297;
            sheet.height = 210;
            sheet.titleTextHeight = 3;
            break;
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
    const double titleHeight = 2 * kTitleRow * sheet.titleTextHeight;
    sheet.titleBlock = {sheet.frame.left, sheet.frame.bottom, sheet.frame.right, sheet.frame.bottom + titleHeight};
    sheet.drawingArea = {sheet.frame.left + kClearance, sheet.titleBlock.top + kClearance, sheet.frame.right - kClearance,
                         sheet.frame.top - kClearance};
    return sheet;
}

std::string ScaleRatio(double denominator) { return "1:" + Denominator(denominator); }

std::string SheetDrawingNumber(std::string_view number, std::size_t sheet) {
    if (number.empty()) return {};
    return std::string(number) + "-" + std::to_string(sheet);
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

    // The cells from left to right, as wide as so many text heights; the project's cell takes
    // what the others leave. A cell holds one text across both rows, or one in each row.
    const double h = sheet.titleTextHeight;
    struct Cell {
        double widthInHeights;  // 0: what is left
        std::string top;        // or the one text when `split` is false
        std::string bottom;
        bool split = true;
        double textHeight = 1;  // in title text heights
    };
    const std::string sheetNumber = "第 " + std::to_string(title.number) + " 张 共 " + std::to_string(title.count) + " 张";
    const Cell cells[] = {
        {6.2, "项目名称", "路线名称"},
        {0, title.project, title.road},
        {12, title.title, "", false, 1.5},
        {3.4, "比例", "", false},
        {10, "横向 " + title.acrossScale, "纵向 " + title.upScale},
        {6, "设计", ""},
        {6, "复核", ""},
        {6, "审核", ""},
        {8, "图号", SheetDrawingNumber(title.drawingNumber, title.number)},
        {14, sheetNumber, "日期 " + title.date},
    };
    double fixed = 0;
    for (const Cell& cell : cells) fixed += cell.widthInHeights * h;
    const double rest = std::max(block.Width() - fixed, 0.0);
    const double middle = (block.bottom + block.top) / 2;
    double left = block.left;
    for (std::size_t k = 0; k < std::size(cells); ++k) {
        const Cell& cell = cells[k];
        const double width = cell.widthInHeights > 0 ? cell.widthInHeights * h : rest;
        const double right = std::min(left + width, block.right);
        if (k + 1 < std::size(cells)) canvas.Line({right, block.bottom}, {right, block.top}, PlotLayer::Frame);
        const double room = right - left - 0.6 * h;
        const auto text = [&](const std::string& shown, double y, double height) {
            if (shown.empty() || room <= 0) return;
            const std::string fitted = FittedText(shown, height, room);
            if (!fitted.empty())
                canvas.Text({{(left + right) / 2, y}, height, TextAlign::Centre, TextBaseline::Middle, fitted, PlotLayer::Frame});
        };
        if (cell.split) {
            canvas.Line({left, middle}, {right, middle}, PlotLayer::Frame);
            text(cell.top, (middle + block.top) / 2, h);
            text(cell.bottom, (block.bottom + middle) / 2, h);
        } else {
            text(cell.top, middle, cell.textHeight * h);
        }
        left = right;
    }
}

SectionExtent SheetPlanner::Held(SectionExtent extent) const {
    // A NaN compares false everywhere: it is taken as nothing, never as an endless size.
    const auto held = [](double value, double most) { return std::clamp(std::isnan(value) ? 0.0 : value, 0.0, most); };
    extent.left = held(extent.left, area_.Width());
    extent.right = held(extent.right, area_.Width() - extent.left);
    extent.height = held(extent.height, area_.Height());
    return extent;
}

void SheetPlanner::Step(Fill& fill, const SectionExtent& extent) const {
    const auto startColumn = [&](double left) {
        ++fill.column;
        fill.left = left;
        fill.reachLeft = 0;
        fill.reachRight = 0;
        fill.nextBottom = area_.bottom;
    };
    const auto fitsAcross = [&](double left, double reachLeft, double reachRight) {
        return left + std::max(reachLeft, extent.left) + std::max(reachRight, extent.right) <= area_.right;
    };
    if (!fill.started) {
        fill.started = true;
        fill.column = 0;
        fill.sheet = 0;
        fill.left = area_.left;
        fill.nextBottom = area_.bottom;
    } else if (fill.nextBottom + extent.height > area_.top || !fitsAcross(fill.left, fill.reachLeft, fill.reachRight)) {
        const double next = fill.left + fill.reachLeft + fill.reachRight + kColumnGap;
        if (fitsAcross(next, 0, 0)) {
            startColumn(next);
        } else {
            startColumn(area_.left);
            ++fill.sheet;
        }
    }
    fill.nextBottom += extent.height + kRowGap;
    fill.reachLeft = std::max(fill.reachLeft, extent.left);
    fill.reachRight = std::max(fill.reachRight, extent.right);
}

void SheetPlanner::Add(SectionExtent extent) {
    extent = Held(extent);
    const std::size_t sheet = adding_.sheet;
    const bool started = adding_.started;
    Step(adding_, extent);
    if (started && adding_.sheet != sheet) CloseSheet();
    if (open_.empty() || adding_.column != stakes_.size() + open_.size() - 1) open_.push_back({adding_.left});
    open_.back().reachLeft = adding_.reachLeft;
    open_.back().reachRight = adding_.reachRight;
}

void SheetPlanner::CloseSheet() {
    if (open_.empty()) return;
    const Column& end = open_.back();
    const double used = end.left + end.reachLeft + end.reachRight - area_.left;
    const double shift = std::max((area_.Width() - used) / 2, 0.0);
    for (const Column& column : open_) stakes_.push_back(column.left + shift + column.reachLeft);
    open_.clear();
}

std::optional<SectionPlace> SheetPlanner::Place(SectionExtent extent) {
    if (!closed_) {
        CloseSheet();
        closed_ = true;
    }
    extent = Held(extent);
    Step(placing_, extent);
    if (placing_.column >= stakes_.size()) return std::nullopt;
    return SectionPlace{placing_.sheet, stakes_[placing_.column], placing_.nextBottom - extent.height - kRowGap};
}

}  // namespace qorvel
