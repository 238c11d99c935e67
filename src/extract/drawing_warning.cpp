#include "extract/drawing_warning.h"

#include <algorithm>
#include <vector>

#include "core/fields.h"

namespace qorvel {

DrawingWarning LayerWarning(std::string title, std::string text, const Drawing& drawing, std::string_view layer) {
    const std::vector<std::string> layers = drawing.LayerNames();
    if (std::find(layers.begin(), layers.end(), layer) == layers.end()) {
        text += "\n图中没有“" + std::string(layer) + "”图层（图层名区分大小写），图中的图层有：";
        if (layers.empty()) text += "（无）";
        // Each name as messages show a text: a drawing may hold a layer name megabytes long.
        for (std::size_t index = 0; index < layers.size(); ++index) text += (index == 0 ? "" : "、") + DisplayText(layers[index]);
        text += "。";
    }
    return DrawingWarning{std::move(title), std::move(text)};
}

}  // namespace qorvel
