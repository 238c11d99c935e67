#include "extract/station_labels.h"

#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "extract/coordinate_text.h"

namespace qorvel {

namespace {

// The label as the station text file holds it: in GBK, on one line (a drawing read from a
// file has none with a line break: the reader gives control characters in caret form, "^J").
std::string LabelInGbk(const Drawing& drawing, const DrawingEntity& label) {
    const std::string& text = drawing.TextOf(label);
    if (text.find('\n') != std::string::npos)
        FailAt(drawing.name, label.place, "文字“" + text + "”含有换行符，无法写成桩号文字文件的一行");
    auto gbk = Utf8ToGbk(text);
    if (!gbk) FailAt(drawing.name, label.place, "文字“" + text + "”含有 GBK 编码无法表示的字符，无法写入桩号文字文件");
    return std::move(*gbk);
}

}  // namespace

StationLabelResult ExtractStationLabels(const Drawing& drawing, std::string_view layer, ProgressSink& progress) {
    StationLabelResult result;
    auto isLabel = [layer](const DrawingEntity& entity) { return entity.kind == EntityKind::Text && entity.OnLayer(layer); };

    std::size_t count = 0;
    for (const DrawingEntity& entity : drawing.entities)
        if (isLabel(entity)) ++count;
    if (count == 0) {
        result.warning = LayerWarning("注意！", "该图层没有CASS高程点的实体或者没有该图层，请检查！", drawing, layer);
        return result;
    }

    struct Label {
        std::string easting, northing, elevation, text;
    };
    std::vector<Label> labels;
    labels.reserve(count);
    progress.Percent(0);
    for (const DrawingEntity& entity : drawing.entities) {
        if (!isLabel(entity)) continue;
        const std::vector<double>& point = entity.coordinates;
        labels.push_back({LabelCoordinateText(point[0]), LabelCoordinateText(point[1]), LabelCoordinateText(point[2]),
                          LabelInGbk(drawing, entity)});
        progress.Advance("转存文字点坐标及高程： ", labels.size(), count);
    }

    progress.Percent(0);
    std::size_t line = 0;
    for (auto label = labels.rbegin(); label != labels.rend(); ++label) {
        ++line;
        result.output << std::to_string(line) << ",," << label->easting << ',' << label->northing << ','
                      << label->elevation << ',' << label->text;
        result.output.EndLine();
        progress.Advance("把坐标及高程写入文件： ", line, count);
    }
    result.labels = count;
    return result;
}

}  // namespace qorvel
