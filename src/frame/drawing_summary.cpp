#include "frame/drawing_summary.h"

#include <algorithm>

#include "drawing/attached_drawing.h"
#include "station/station_text.h"

namespace qorvel {

std::vector<std::string> DrawingSummary::LayerNames() const {
    std::vector<std::string> names;
    names.reserve(layers.size());
    for (const LayerSummary& layer : layers) names.push_back(layer.name);
    return names;
}

std::optional<DrawingSummary> SummaryOfAttachedDrawing(const Session& session) {
    if (!session.drawing) return std::nullopt;
    const AttachedDrawing& attached = *session.drawing;
    DrawingSummary summary;
    summary.path = attached.path();
    for (const std::string& name : attached.LayerNames()) summary.layers.push_back({name});
    for (const DrawingEntity& entity : attached.drawing().entities) {
        const auto layer = std::lower_bound(summary.layers.begin(), summary.layers.end(), entity.layer,
                                            [](const LayerSummary& a, const std::string& b) { return a.name < b; });
        if (layer == summary.layers.end() || layer->name != entity.layer) continue;
        if (IsPolyline(entity.kind)) ++layer->polylines;
        else if (entity.kind == EntityKind::Line) ++layer->lines;
        else {
            ++layer->texts;
            if (entity.kind == EntityKind::Text && entity.textRead && entity.text.find('+') != std::string::npos &&
                ChainageFromStationText(entity.text))
                ++layer->stations;
        }
    }
    return summary;
}

}  // namespace qorvel
