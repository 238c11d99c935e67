// Section sheets as PDF through cairo: one page per sheet, each page sent to the file when it
// is shown.
//
// cairo records every drawing operation of a page and replays it, twice, when the page is
// shown; a sheet of a few thousand lines, marks and texts drawn one by one spends most of its
// time there. So a sheet is gathered first and painted at its end in a few operations: one
// stroke for each layer's lines, one for each layer's marks, and one run of glyphs for each
// layer, size and direction of text, the glyphs looked up once per character.

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <exception>
#include <map>
#include <memory>
#include <numbers>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "core/step_error.h"
#include "core/text_encoding.h"
#include "plot/buffered_output.h"
#include "plot/plot_sections.h"
#include "plot/sheet_writers.h"

namespace qorvel {

namespace {

constexpr double kPointsPerMillimetre = 72 / 25.4;
constexpr const char* kFontFamily = "WenQuanYi Micro Hei";
// The size the font's advances are measured at; they scale with the size (metrics unhinted).
constexpr double kMeasuredSize = 1000;

struct LayerPen {
    double width;  // millimetres
    double red, green, blue;
};

LayerPen PenOf(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::Ground: return {0.35, 0, 0, 0};
        case PlotLayer::Stake: return {0.25, 0.75, 0, 0};
        case PlotLayer::Annotation: return {0.18, 0.15, 0.15, 0.15};
        case PlotLayer::Frame: return {0.35, 0, 0, 0};
        case PlotLayer::Table: return {0.13, 0.15, 0.15, 0.15};
    }
    return {0.25, 0, 0, 0};
}

// The next code point of valid UTF-8 text and its length.
char32_t NextCodePoint(std::string_view text, std::size_t at, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length && at + k < text.size(); ++k) codePoint = (codePoint << 6) | (text[at + k] & 0x3F);
    return codePoint;
}

class PdfSheets final : public SheetWriter {
public:
    PdfSheets(const std::string& path, const SheetGeometry& sheet) : output_(path), height_(sheet.height) {
        surface_.reset(cairo_pdf_surface_create_for_stream(&PdfSheets::WritePiece, this, sheet.width * kPointsPerMillimetre,
                                                           sheet.height * kPointsPerMillimetre));
        cairo_pdf_surface_set_metadata(surface_.get(), CAIRO_PDF_METADATA_CREATOR, "QORVEL");
        context_.reset(cairo_create(surface_.get()));
        cairo_t* context = context_.get();
        cairo_scale(context, kPointsPerMillimetre, kPointsPerMillimetre);
        cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
        cairo_select_font_face(context, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_set_font_options(context, options);
        cairo_font_options_destroy(options);
        cairo_set_font_size(context, kMeasuredSize);
        measuring_ = cairo_scaled_font_reference(cairo_get_scaled_font(context));
        Check();
        Check(cairo_scaled_font_status(measuring_));
    }

    ~PdfSheets() override {
        if (measuring_) cairo_scaled_font_destroy(measuring_);
    }

    void BeginSheet(std::size_t) override {}

    void EndSheet() override {
        Paint();
        cairo_show_page(context_.get());
        Check();
    }

    void Finish() override {
        context_.reset();
        cairo_surface_finish(surface_.get());
        Check(cairo_surface_status(surface_.get()));
        surface_.reset();
        output_.Commit();
    }

    void Line(PlotPoint from, PlotPoint to, PlotLayer layer) override {
        std::vector<PathPoint>& path = lines_[static_cast<int>(layer)];
        path.push_back({from.x, height_ - from.y, true});
        path.push_back({to.x, height_ - to.y, false});
    }

    void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) override {
        if (points.empty()) return;
        std::vector<PathPoint>& path = lines_[static_cast<int>(layer)];
        for (std::size_t i = 0; i < points.size(); ++i) path.push_back({points[i].x, height_ - points[i].y, i == 0});
        if (closed) path.push_back({points[0].x, height_ - points[0].y, false});
    }

    // A mark is a stroke of no length with round caps as wide as the mark: a PDF viewer paints
    // it as a dot, from two numbers where a circle takes fourteen.
    void Mark(PlotPoint at, PlotLayer layer) override {
        std::vector<PathPoint>& path = marks_[static_cast<int>(layer)];
        path.push_back({at.x, height_ - at.y, true});
        path.push_back({at.x, height_ - at.y, false});
    }

    void Text(const PlotText& text) override {
        if (text.text.empty()) return;
        const std::string shown = IsValidUtf8(text.text) ? text.text : FittedText(text.text, text.height, 1e9);
        const double size = text.height * kEmPerTextHeight;
        GlyphRun& run = texts_[{static_cast<int>(text.layer), size, text.angle}];
        const std::size_t first = run.glyphs.size();
        // Along the text's own line from its anchor, and down across it to the baseline.
        double along = 0;
        for (std::size_t at = 0; at < shown.size();) {
            std::size_t length = 1;
            const Glyph& glyph = GlyphOf(NextCodePoint(shown, at, length));
            run.glyphs.push_back({glyph.index, along, 0});
            run.clusters.push_back({static_cast<int>(length), 1});
            along += glyph.advance * size;
            at += length;
        }
        run.text += shown;
        double start = 0;
        if (text.align == TextAlign::Centre) start = -along / 2;
        if (text.align == TextAlign::Right) start = -along;
        double down = 0;
        if (text.baseline == TextBaseline::Middle) down = text.height / 2;
        if (text.baseline == TextBaseline::Top) down = text.height;
        // The page's y points down: a text turned counterclockwise runs up the page.
        const double angle = text.angle * std::numbers::pi / 180;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        const double x = text.at.x;
        const double y = height_ - text.at.y;
        for (std::size_t k = first; k < run.glyphs.size(); ++k) {
            const double u = start + run.glyphs[k].x;
            run.glyphs[k].x = x + u * c + down * s;
            run.glyphs[k].y = y - u * s + down * c;
        }
    }

private:
    struct SurfaceRelease {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct ContextRelease {
        void operator()(cairo_t* context) const { cairo_destroy(context); }
    };
    struct PathPoint {
        double x, y;  // in the page's coordinates, y down
        bool start;   // a new piece begins here
    };
    struct Glyph {
        unsigned long index;
        double advance;  // per unit of font size
    };
    struct GlyphRun {
        std::vector<cairo_glyph_t> glyphs;
        std::string text;  // the glyphs' characters, for the reader that copies or searches them
        std::vector<cairo_text_cluster_t> clusters;
    };

    // Declared first, destroyed last: without Finish the temporary file goes with it, after
    // cairo has written what it still writes on the way out.
    BufferedOutput output_;
    double height_;
    std::unique_ptr<cairo_surface_t, SurfaceRelease> surface_;
    std::unique_ptr<cairo_t, ContextRelease> context_;
    cairo_scaled_font_t* measuring_ = nullptr;
    std::exception_ptr writeFailure_;
    std::unordered_map<char32_t, Glyph> glyphs_;
    // The sheet gathered so far, by layer; texts by layer, size and direction.
    std::vector<PathPoint> lines_[std::size(kPlotLayers)];
    std::vector<PathPoint> marks_[std::size(kPlotLayers)];
    std::map<std::tuple<int, double, double>, GlyphRun> texts_;

    const Glyph& GlyphOf(char32_t codePoint) {
        if (const auto found = glyphs_.find(codePoint); found != glyphs_.end()) return found->second;
        char utf8[5] = {};
        std::size_t length = 0;
        if (codePoint < 0x80) {
            utf8[length++] = static_cast<char>(codePoint);
        } else if (codePoint < 0x800) {
            utf8[length++] = static_cast<char>(0xC0 | (codePoint >> 6));
            utf8[length++] = static_cast<char>(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            utf8[length++] = static_cast<char>(0xE0 | (codePoint >> 12));
            utf8[length++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            utf8[length++] = static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            utf8[length++] = static_cast<char>(0xF0 | (codePoint >> 18));
            utf8[length++] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
            utf8[length++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            utf8[length++] = static_cast<char>(0x80 | (codePoint & 0x3F));
        }
        cairo_glyph_t* found = nullptr;
        int count = 0;
        Glyph glyph{0, 0};
        if (cairo_scaled_font_text_to_glyphs(measuring_, 0, 0, utf8, static_cast<int>(length), &found, &count, nullptr, nullptr,
                                             nullptr) == CAIRO_STATUS_SUCCESS &&
            count > 0) {
            cairo_text_extents_t extents;
            cairo_scaled_font_glyph_extents(measuring_, found, 1, &extents);
            glyph = {found[0].index, extents.x_advance / kMeasuredSize};
        }
        cairo_glyph_free(found);
        return glyphs_.emplace(codePoint, glyph).first->second;
    }

    // Paints the gathered sheet and forgets it: strokes, then dots, then texts on top.
    void Paint() {
        cairo_t* context = context_.get();
        const auto stroke = [&](std::vector<PathPoint>& path, PlotLayer layer, bool dots) {
            if (path.empty()) return;
            for (const PathPoint& p : path) {
                if (p.start)
                    cairo_move_to(context, p.x, p.y);
                else
                    cairo_line_to(context, p.x, p.y);
            }
            const LayerPen pen = PenOf(layer);
            cairo_set_line_width(context, dots ? kMarkDiameter : pen.width);
            cairo_set_source_rgb(context, pen.red, pen.green, pen.blue);
            cairo_stroke(context);
            path.clear();
        };
        for (const PlotLayer layer : kPlotLayers) stroke(lines_[static_cast<int>(layer)], layer, false);
        for (const PlotLayer layer : kPlotLayers) stroke(marks_[static_cast<int>(layer)], layer, true);
        for (auto& [key, run] : texts_) {
            const auto [layer, size, angle] = key;
            const LayerPen pen = PenOf(static_cast<PlotLayer>(layer));
            cairo_set_source_rgb(context, pen.red, pen.green, pen.blue);
            cairo_matrix_t font;
            cairo_matrix_init_rotate(&font, -angle * std::numbers::pi / 180);
            cairo_matrix_scale(&font, size, size);
            cairo_set_font_matrix(context, &font);
            cairo_show_text_glyphs(context, run.text.data(), static_cast<int>(run.text.size()), run.glyphs.data(),
                                   static_cast<int>(run.glyphs.size()), run.clusters.data(), static_cast<int>(run.clusters.size()),
                                   cairo_text_cluster_flags_t{});
        }
        texts_.clear();
        Check();
    }

    static cairo_status_t WritePiece(void* closure, const unsigned char* data, unsigned int length) {
        auto* self = static_cast<PdfSheets*>(closure);
        if (self->writeFailure_) return CAIRO_STATUS_WRITE_ERROR;
        try {
            self->output_.Write({reinterpret_cast<const char*>(data), length});
        } catch (...) {
            self->writeFailure_ = std::current_exception();
            return CAIRO_STATUS_WRITE_ERROR;
        }
        return CAIRO_STATUS_SUCCESS;
    }

    void Check() { Check(cairo_status(context_.get())); }

    void Check(cairo_status_t status) {
        if (writeFailure_) std::rethrow_exception(writeFailure_);
        if (status != CAIRO_STATUS_SUCCESS)
            throw StepError(output_.target(), StepError::kNoLine, StepError::kNoField,
                            std::string("无法生成 PDF：") + cairo_status_to_string(status));
    }
};

}  // namespace

bool PdfSheetsAvailable() { return true; }

std::unique_ptr<SheetWriter> MakePdfSheetWriter(const std::string& path, const SheetGeometry& sheet) {
    return std::make_unique<PdfSheets>(path, sheet);
}

}  // namespace qorvel
