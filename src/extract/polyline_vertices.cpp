#include "extract/polyline_vertices.h"

#include <unordered_set>

#include "extract/coordinate_text.h"

namespace qorvel {

PolylineVertexSelection SelectPolylineVertices(const Drawing& drawing, std::string_view layer) {
    std::size_t lightweight = 0;
    std::size_t onLayer = 0;
    for (const DrawingEntity& entity : drawing.entities) {
        if (entity.kind == EntityKind::LightweightPolyline) ++lightweight;
        if (IsPolyline(entity.kind) && entity.OnLayer(layer)) ++onLayer;
    }
    PolylineVertexSelection selection;
    const DrawingWarning noPolyline{kCheckDrawingTitle, "没有检测到2D线段！请检查图形"};
    if (lightweight < 1) {
        selection.warning = noPolyline;
        return selection;
    }
    if (onLayer < 1) {
        selection.warning = LayerWarning(kCheckDrawingTitle, "图形中没有[" + std::string(layer) + "]图层,或者线段不具备该图层属性",
                                         drawing, layer);
        return selection;
    }
    // The last polyline in the drawing comes first; within a polyline, the vertices keep
    // their own order. Old-style and 3D polylines on the layer are selected but never read.
    for (auto entity = drawing.entities.rbegin(); entity != drawing.entities.rend(); ++entity) {
        if (entity->kind != EntityKind::LightweightPolyline || !entity->OnLayer(layer)) continue;
        const std::vector<double>& xy = entity->coordinates;
        for (std::size_t i = 0; i + 1 < xy.size(); i += 2)
            selection.records.push_back("," + VertexCoordinateText(xy[i]) + "," + VertexCoordinateText(xy[i + 1]) + ",0");
    }
    // Polylines on the layer, none of them lightweight (or none with a vertex): nothing to
    // write, and the surveyor is told why rather than left without a word.
    if (selection.records.empty()) selection.warning = noPolyline;
    return selection;
}

PolylineVertexFile WritePolylineVertices(const PolylineVertexSelection& selection, ProgressSink& progress) {
    std::unordered_set<std::string_view> written;
    written.reserve(selection.records.size());
    std::vector<std::string_view> distinct;
    distinct.reserve(selection.records.size());
    for (const std::string& record : selection.records)
        if (written.insert(record).second) distinct.push_back(record);

    PolylineVertexFile file;
    const std::size_t total = distinct.size();
    for (std::size_t k = 0; k < total; ++k) {
        const std::size_t number = k + 1;
        progress.Advance("已提取多段线节点数： ", number, total);
        file.output << std::to_string(number) << ',' << distinct[k];
        file.output.EndLine();
    }
    file.vertices = total;
    return file;
}

}  // namespace qorvel
