// Section sheets as SVG pages, one file a sheet in a folder, written as they are drawn.

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "core/staged_folder.h"
#include "core/step_error.h"
#include "core/text_encoding.h"
#include "plot/plot_sections.h"
#include "plot/sheet_writers.h"

namespace qorvel {

namespace {

std::string_view ClassOf(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::Ground: return "ground";
        case PlotLayer::Stake: return "stake";
        case PlotLayer::Annotation: return "annotation";
        case PlotLayer::Frame: return "frame";
        case PlotLayer::Table: return "table";
    }
    return "annotation";
}

// A folder that stands at the target holds earlier pages only: it is replaced whole, so a file
// of anything else there would go with it.
void RefuseForeignFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!IsSvgPageName(name) || !entry->is_regular_file(error))
            throw StepError(folder, StepError::kNoLine, StepError::kNoField,
                            "文件夹中有不是图纸页的“" + name + "”，不能整体替换；请另选文件夹或移走它");
    }
}

class SvgSheets final : public SheetWriter {
public:
    SvgSheets(const std::string& folder, const SheetGeometry& sheet, std::size_t sheetCount)
        : width_(sheet.width), height_(sheet.height), count_(sheetCount == 0 ? 1 : sheetCount) {
        RefuseForeignFiles(folder);
        folder_.emplace(folder);
    }

    void BeginSheet(std::size_t index) override {
        pagePath_ = (std::filesystem::path(folder_->path()) / SvgPageName(index + 1, count_)).string();
        std::string& out = page_;
        out.clear();
        out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
        Number(width_);
        out += "mm\" height=\"";
        Number(height_);
        out += "mm\" viewBox=\"0 0 ";
        Number(width_);
        out += ' ';
        Number(height_);
        out += "\">\n<title>第 ";
        out += std::to_string(index + 1);
        out += " 张 共 ";
        out += std::to_string(count_);
        out += " 张</title>\n<style>\n"
               "line,polyline,polygon{fill:none;stroke-linecap:round;stroke-linejoin:round}\n"
               ".ground{stroke:#000;stroke-width:0.35}\n"
               ".stake{stroke:#bf0000;stroke-width:0.25}\n"
               ".annotation{stroke:#262626;stroke-width:0.18}\n"
               ".frame{stroke:#000;stroke-width:0.35}\n"
               ".table{stroke:#262626;stroke-width:0.13}\n"
               "circle{fill:#000;stroke:none}\n"
               "text{font-family:'WenQuanYi Micro Hei','Microsoft YaHei','SimHei','Noto Sans CJK SC',sans-serif;"
               "stroke:none;fill:#262626;white-space:pre}\n"
               "text.stake{fill:#bf0000}\ntext.frame,text.ground{fill:#000}\n"
               "</style>\n<rect x=\"0\" y=\"0\" width=\"";
        Number(width_);
        out += "\" height=\"";
        Number(height_);
        out += "\" fill=\"#fff\"/>\n";
    }

    // A page goes to its file whole. The pages are written plainly, each once: the staging
    // folder is no one's until the whole set is in place.
    void EndSheet() override {
        page_ += "</svg>\n";
        std::FILE* file = std::fopen(pagePath_.c_str(), "wb");
        bool written = file != nullptr && std::fwrite(page_.data(), 1, page_.size(), file) == page_.size();
        const int error = errno;
        if (file != nullptr && std::fclose(file) != 0) written = false;
        if (!written)
            throw StepError(pagePath_, StepError::kNoLine, StepError::kNoField, std::string("无法写入：") + std::strerror(error));
    }

    void Finish() override { folder_->Commit(); }

    void Line(PlotPoint from, PlotPoint to, PlotLayer layer) override {
        std::string& out = page_;
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
    }

    void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) override {
        std::string& out = page_;
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
    }

    void Mark(PlotPoint at, PlotLayer) override {
        std::string& out = page_;
        out += "<circle cx=\"";
        Number(at.x);
        out += "\" cy=\"";
        Number(Y(at.y));
        out += "\" r=\"";
        Number(kMarkDiameter / 2);
        out += "\"/>\n";
    }

    void Text(const PlotText& text) override {
        if (text.text.empty()) return;
        const double anchorY = Y(text.at.y);
        double y = anchorY;
        if (text.baseline == TextBaseline::Middle) y += text.height / 2;
        if (text.baseline == TextBaseline::Top) y += text.height;
        std::string& out = page_;
        out += "<text class=\"";
        out += ClassOf(text.layer);
        out += "\" x=\"";
        Number(text.at.x);
        out += "\" y=\"";
        Number(y);
        if (text.angle != 0) {
            // Turned about the anchor; the page's y points down, so counterclockwise is negative.
            out += "\" transform=\"rotate(";
            Number(-text.angle);
            out += ' ';
            Number(text.at.x);
            out += ' ';
            Number(anchorY);
            out += ')';
        }
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
    }

private:
    double width_;
    double height_;
    std::size_t count_;
    std::optional<StagedFolder> folder_;
    std::string pagePath_;
    std::string page_;  // the sheet being drawn

    double Y(double y) const { return height_ - y; }

    // Hundredths of a millimetre are finer than any printer.
    void Number(double value) {
        if (!std::isfinite(value)) value = 0;
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
        std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
        if (text == "-0.00") text = "0";
        while (text.size() > 1 && text.find('.') != std::string_view::npos && (text.back() == '0' || text.back() == '.'))
            text.remove_suffix(1);
        page_ += text;
    }
};

}  // namespace

std::unique_ptr<SheetWriter> MakeSvgSheetWriter(const std::string& path, const SheetGeometry& sheet, std::size_t sheetCount) {
    return std::make_unique<SvgSheets>(path, sheet, sheetCount);
}

}  // namespace qorvel
