#pragma once
// What the page's worker asks of QORVEL: the catalogue of steps and settings to build its
// forms from, a drawing attached with its layers, the run from drawing to result, a single step,
// the sections opened for viewing and drawn, and sheets exported. Each call names its files by
// their paths in the module's file system (where the worker has put the surveyor's files under
// their own names, so that every message names them as the surveyor knows them) and answers in
// JSON (web/json_text.h). The run is the frame's own RunPipeline and each step the catalogue's
// own procedure, so the page writes the very bytes `qorvel run` and the single commands write.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/pipeline.h"
#include "frame/sections_on_view.h"
#include "frame/settings.h"
#include "frame/workbench.h"
#include "web/web_host.h"

namespace qorvel::web {

// The settings as the page keeps them, by the names of Settings' members ("stakeTolerance",
// "routeSides", "layout", ...): numbers and switches (0 or 1) as numbers, the rest as text.
// False for a name Settings does not have, or a value of the wrong kind.
bool SetNumber(Settings& settings, std::string_view name, double value);
bool SetText(Settings& settings, std::string_view name, const std::string& value);

// {"steps":[…],"layouts":[…],"tolerances":[…],"pipeline":[…],"viewerInputs":[…],
//  "roles":{"drawing","points"},"defaults":{…}}
std::string CatalogueJson();

class WebSession {
public:
    // {"attached":true,"path":…,"layers":[{"name","texts","stations","lines","polylines"}]}
    std::string AttachDrawing(const std::string& path, PageReporter& reporter);

    // {"completed","outcome","lines":[…],"problems":[…],"summary","files":[{"role","path"}]}
    std::string RunPipeline(const PipelineRequest& request, const Settings& settings, PageReporter& reporter);

    // One step of the catalogue by its command name, its files by role.
    // {"outcome","summary","count","problems":[…],"output"}
    std::string RunStep(const std::string& command, const std::map<FileRole, std::string>& inputs,
                        const std::string& output, const Settings& settings, PageReporter& reporter);

    // The sections of the four files of step 10, kept until the next call.
    // {"opened","summary","sections":[{"station","chainage","left","right","problems"}]}
    std::string OpenSections(const std::map<FileRole, std::string>& inputs, const Settings& settings,
                             PageReporter& reporter);
    // The section at `index` fitted into `roomAcross` × `roomUp` millimetres, then enlarged
    // `zoom` times, its heights stretched `exaggeration` times: the figure's primitives, its
    // window onto the ground and its points with name and code. Empty text without sections.
    std::string SectionFigureJson(std::size_t index, double roomAcross, double roomUp, double zoom,
                                  double exaggeration) const;
    std::string SectionPlanJson(std::size_t index) const;
    // The place of the station `text` names, or -1.
    long FindStation(const std::string& text) const;
    // The sections at `indices` (all when empty) on sheets at `path` (.svg or .dxf), with
    // `exaggeration` in place of the settings'. {"completed","summary","warning"}
    std::string ExportSheets(const std::vector<std::size_t>& indices, const std::string& path, double exaggeration,
                             PageReporter& reporter);

private:
    Workbench bench_;
    std::shared_ptr<const SectionsOnView> sections_;
};

}  // namespace qorvel::web
