#include "app/cli/cli_registry.h"
#include "app/steps/drawing_steps.h"

namespace qorvel::cli {

void AddDrawingCommands(CLI::App& app, CliRegistry& registry) {
    Settings& settings = registry.settings();
    const std::string layerHelp = "图层名称（区分大小写）";

    CLI::App* polylines = registry.AddStepCommand(app, "polylines", "1、提取多段线节点坐标：图层上轻量多段线的节点",
                                                  &steps::ExtractPolylineVertices, {"DRAWING"});
    polylines->add_option("--layer", settings.LayerName, layerHelp)->required();

    CLI::App* labels = registry.AddStepCommand(app, "labels", "2、提取中桩桩号文字：图层上单行文字的插入点与内容",
                                               &steps::ExtractStationLabels, {"DRAWING"});
    labels->add_option("--layer", settings.LayerName, layerHelp)->required();

    CLI::App* lines = registry.AddStepCommand(app, "lines", "4、提取横断面线端点坐标：图层上直线的两个端点",
                                              &steps::ExtractSectionLines, {"DRAWING"});
    lines->add_option("--layer", settings.LayerName, layerHelp)->required();
}

}  // namespace qorvel::cli
