#include "extract/section_lines.h"

#include "extract/coordinate_text.h"

namespace qorvel {

SectionLineSelection SelectSectionLines(const Drawing& drawing, std::string_view layer) {
    std::size_t lines = 0;
    std::size_t onLayer = 0;
    for (const DrawingEntity& entity : drawing.entities) {
        if (entity.kind == EntityKind::Line) ++lines;
        if ((entity.kind == EntityKind::Line || entity.kind == EntityKind::LightweightPolyline) && entity.OnLayer(layer))
            ++onLayer;
    }
    SectionLineSelection selection;
    if (lines < 1) {
        selection.warning = DrawingWarning{kCheckDrawingTitle, "没有检测到3D线段！请检查图形"};
        return selection;
    }
    if (onLayer < 1) {
        selection.warning = LayerWarning(kCheckDrawingTitle, "图形中没有[" + std::string(layer) + "]图层,或者线段不具备该图层属性",
                                         drawing, layer);
        return selection;
    }
    // Lightweight polylines on the layer are selected with the lines but never read.
    for (const DrawingEntity& entity : drawing.entities) {
        if (entity.kind != EntityKind::Line || !entity.OnLayer(layer)) continue;
        const std::vector<double>& c = entity.coordinates;  // x1, y1, z1, x2, y2, z2
        selection.ends.push_back({SectionLineCoordinateText(c[0]), SectionLineCoordinateText(c[1]),
                                  SectionLineCoordinateText(c[3]), SectionLineCoordinateText(c[4])});
    }
    return selection;
}

SectionLineFile WriteSectionLines(const SectionLineSelection& selection, ProgressSink& progress) {
    SectionLineFile file;
    const std::size_t total = selection.ends.size();
    for (std::size_t k = 0; k < total; ++k) {
        const std::size_t number = k + 1;
        progress.Advance("已提取横断面线条数： ", number, total);
        const auto& ends = selection.ends[k];
        file.output << std::to_string(number) << ',' << ends[0] << ',' << ends[1] << ',' << ends[2] << ',' << ends[3];
        file.output.EndLine();
    }
    file.lines = total;
    return file;
}

}  // namespace qorvel
