// Section sheets as one SVG, the sheets one under another, written as they are drawn.

#include <charconv>
#include <cmath>
#include <string_view>

#include "core/text_encoding.h"
#include "plot/buffered_output.h"
#include "plot/sheet_writers.h"

namespace qorvel {

namespace {

std::string_view ClassOf(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::Ground: return "ground";
        case PlotLayer::Stake: return "stake";
        case PlotLayer::Annotation: return "annotation";
        case PlotLayer::Frame: return "frame";
    }
    return "annotation";
}

class SvgSheets final : public SheetWriter {
public:
    SvgSheets(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount)
        : output_(path), width_(sheet.width), height_(sheet.height) {
        const double count = static_cast<double>(sheetCount == 0 ? 1 : sheetCount);
        const double total = count * height_ + (count - 1) * kSheetGap;
        std::string& out = output_.buffer();
        out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
        Number(width_);
        out += "mm\" height=\"";
        Number(total);
        out += "mm\" viewBox=\"0 0 ";
        Number(width_);
        out += ' ';
        Number(total);
        out += "\">\n<style>\n"
               "line,polyline,polygon{fill:none;stroke-linecap:round;stroke-linejoin:round}\n"
               ".ground{stroke:#000;stroke-width:0.35}\n"
               ".stake{stroke:#bf0000;stroke-width:0.25}\n"
               ".annotation{stroke:#262626;stroke-width:0.18}\n"
               ".frame{stroke:#000;stroke-width:0.35}\n"
               "circle{fill:#000;stroke:none}\n"
               "text{font-family:'WenQuanYi Micro Hei','Microsoft YaHei','SimHei','Noto Sans CJK SC',sans-serif;"
               "stroke:none;fill:#262626;white-space:pre}\n"
               "text.stake{fill:#bf0000}\ntext.frame,text.ground{fill:#000}\n"
               ".sheet{fill:#fff;stroke:none}\n"
               "</style>\n";
        output_.Written();
    }

    void BeginSheet(std::size_t index) override {
        top_ = static_cast<double>(index) * (height_ + kSheetGap);
        std::string& out = output_.buffer();
        out += "<g id=\"sheet-";
        out += std::to_string(index + 1);
        out += "\">\n<rect class=\"sheet\" x=\"0\" y=\"";
        Number(top_);
        out += "\" width=\"";
        Number(width_);
        out += "\" height=\"";
        Number(height_);
        out += "\"/>\n";
        output_.Written();
    }

    void EndSheet() override {
        output_.buffer() += "</g>\n";
        output_.Written();
    }

    void Finish() override {
        output_.buffer() += "</svg>\n";
        output_.Commit();
    }

    void Line(PlotPoint from, PlotPoint to, PlotLayer layer) override {
        std::string& out = output_.buffer();
        out += "<line class=\"";
        out += ClassOf(layer);
        out += "\" x1=\"";
        Number(from.x);
        out += "\" y1=\"";
        Number(Y(from.y));
        out += "\" x2=\"";
        Number(to.x);
        out += "\" y2=\"";
        Number(Y(to.y));
        out += "\"/>\n";
        output_.Written();
    }

    void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) override {
        std::string& out = output_.buffer();
        out += closed ? "<polygon class=\"" : "<polyline class=\"";
        out += ClassOf(layer);
        out += "\" points=\"";
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (i > 0) out += ' ';
            Number(points[i].x);
            out += ',';
            Number(Y(points[i].y));
        }
        out += "\"/>\n";
        output_.Written();
    }

    void Mark(PlotPoint at, PlotLayer) override {
        std::string& out = output_.buffer();
        out += "<circle cx=\"";
        Number(at.x);
        out += "\" cy=\"";
        Number(Y(at.y));
        out += "\" r=\"";
        Number(kMarkDiameter / 2);
        out += "\"/>\n";
        output_.Written();
    }

    void Text(const PlotText& text) override {
        if (text.text.empty()) return;
        double y = Y(text.at.y);
        if (text.baseline == TextBaseline::Middle) y += text.height / 2;
        if (text.baseline == TextBaseline::Top) y += text.height;
        std::string& out = output_.buffer();
        out += "<text class=\"";
        out += ClassOf(text.layer);
        out += "\" x=\"";
        Number(text.at.x);
        out += "\" y=\"";
        Number(y);
        out += "\" font-size=\"";
        Number(text.height * kEmPerTextHeight);
        out += '"';
        if (text.align == TextAlign::Centre) out += " text-anchor=\"middle\"";
        if (text.align == TextAlign::Right) out += " text-anchor=\"end\"";
        out += '>';
        // XML takes no control characters and no broken UTF-8; FittedText leaves neither.
        const std::string shown = IsValidUtf8(text.text) ? text.text : FittedText(text.text, text.height, 1e9);
        for (char c : shown) {
            switch (c) {
                case '&': out += "&amp;"; break;
                case '<': out += "&lt;"; break;
                case '>': out += "&gt;"; break;
                default:
                    out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
            }
        }
        out += "</text>\n";
        output_.Written();
    }

private:
    BufferedOutput output_;
    double width_;
    double height_;
    double top_ = 0;  // the current sheet's top edge in the document

    double Y(double y) const { return top_ + height_ - y; }

    // Hundredths of a millimetre are finer than any printer.
    void Number(double value) {
        if (!std::isfinite(value)) value = 0;
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
        std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
        if (text == "-0.00") text = "0";
        while (text.size() > 1 && text.find('.') != std::string_view::npos && (text.back() == '0' || text.back() == '.'))
            text.remove_suffix(1);
        output_.buffer() += text;
    }
};

}  // namespace

std::unique_ptr<SheetWriter> MakeSvgSheetWriter(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount) {
    return std::make_unique<SvgSheets>(path, sheet, sheetCount);
}

}  // namespace qorvel
