// Section sheets as PDF through cairo: one page per sheet, each page sent to the file when it
// is shown.

#include <cairo-pdf.h>
#include <cairo.h>

#include <exception>
#include <memory>
#include <numbers>

#include "core/step_error.h"
#include "core/text_encoding.h"
#include "plot/buffered_output.h"
#include "plot/plot_sections.h"
#include "plot/sheet_writers.h"

namespace qorvel {

namespace {

constexpr double kPointsPerMillimetre = 72 / 25.4;
constexpr const char* kFontFamily = "WenQuanYi Micro Hei";

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
        Check();
    }

    void BeginSheet(std::size_t) override {}

    void EndSheet() override {
        Flush();
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
        Gather(Paint::Stroke, layer);
        cairo_move_to(context_.get(), from.x, height_ - from.y);
        cairo_line_to(context_.get(), to.x, height_ - to.y);
    }

    void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) override {
        if (points.empty()) return;
        Gather(Paint::Stroke, layer);
        cairo_move_to(context_.get(), points[0].x, height_ - points[0].y);
        for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(context_.get(), points[i].x, height_ - points[i].y);
        if (closed) cairo_close_path(context_.get());
    }

    // A mark is a stroke of no length with round caps as wide as the mark: a PDF viewer paints
    // it as a dot, from two numbers where a circle takes fourteen.
    void Mark(PlotPoint at, PlotLayer layer) override {
        Gather(Paint::Dots, layer);
        cairo_move_to(context_.get(), at.x, height_ - at.y);
        cairo_line_to(context_.get(), at.x, height_ - at.y);
    }

    void Text(const PlotText& text) override {
        if (text.text.empty()) return;
        Flush();
        Pen(text.layer);
        const std::string shown = IsValidUtf8(text.text) ? text.text : FittedText(text.text, text.height, 1e9);
        if (text.height != fontHeight_) {
            cairo_set_font_size(context_.get(), text.height * kEmPerTextHeight);
            fontHeight_ = text.height;
        }
        // Along the text's own line from its anchor, and down across it to the baseline.
        double along = 0;
        if (text.align != TextAlign::Left) {
            cairo_text_extents_t extents;
            cairo_text_extents(context_.get(), shown.c_str(), &extents);
            along = text.align == TextAlign::Centre ? -extents.x_advance / 2 : -extents.x_advance;
        }
        double down = 0;
        if (text.baseline == TextBaseline::Middle) down = text.height / 2;
        if (text.baseline == TextBaseline::Top) down = text.height;
        cairo_t* context = context_.get();
        if (text.angle == 0) {
            cairo_move_to(context, text.at.x + along, height_ - text.at.y + down);
            cairo_show_text(context, shown.c_str());
        } else {
            cairo_save(context);
            cairo_translate(context, text.at.x, height_ - text.at.y);
            cairo_rotate(context, -text.angle * std::numbers::pi / 180);
            cairo_move_to(context, along, down);
            cairo_show_text(context, shown.c_str());
            cairo_restore(context);
        }
        cairo_new_path(context);
    }

private:
    struct SurfaceRelease {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct ContextRelease {
        void operator()(cairo_t* context) const { cairo_destroy(context); }
    };
    // Declared first, destroyed last: without Finish the temporary file goes with it, after
    // cairo has written what it still writes on the way out.
    BufferedOutput output_;
    double height_;
    std::unique_ptr<cairo_surface_t, SurfaceRelease> surface_;
    std::unique_ptr<cairo_t, ContextRelease> context_;
    std::exception_ptr writeFailure_;
    double fontHeight_ = -1;
    int penLayer_ = -1;
    // Lines and marks of one layer in a row are gathered into one path and painted at once:
    // a PDF operator and its graphics state for each of a million marks would double the time.
    enum class Paint { None, Stroke, Dots };
    Paint gathering_ = Paint::None;
    PlotLayer gatheringLayer_ = PlotLayer::Ground;

    void Gather(Paint paint, PlotLayer layer) {
        if (gathering_ == paint && gatheringLayer_ == layer) return;
        Flush();
        gathering_ = paint;
        gatheringLayer_ = layer;
    }

    void Flush() {
        if (gathering_ == Paint::None) return;
        Pen(gatheringLayer_);
        if (gathering_ == Paint::Dots) {
            cairo_set_line_width(context_.get(), kMarkDiameter);
            cairo_stroke(context_.get());
            penLayer_ = -1;  // the line width is no longer the layer's
        } else {
            cairo_stroke(context_.get());
        }
        gathering_ = Paint::None;
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

    void Pen(PlotLayer layer) {
        if (static_cast<int>(layer) == penLayer_) return;
        penLayer_ = static_cast<int>(layer);
        const LayerPen pen = PenOf(layer);
        cairo_set_line_width(context_.get(), pen.width);
        cairo_set_source_rgb(context_.get(), pen.red, pen.green, pen.blue);
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
