#include "web/web_session.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <variant>

#include "core/step_error.h"
#include "frame/drawing_summary.h"
#include "frame/pipeline_summary.h"
#include "frame/plot_options.h"
#include "frame/result_layouts.h"
#include "frame/step_frame.h"
#include "plot/plot_sections.h"
#include "plot/section_figure.h"
#include "web/json_text.h"

namespace qorvel::web {

namespace {

using Member = std::variant<double Settings::*, bool Settings::*, std::string Settings::*>;

struct NamedSetting {
    std::string_view name;
    Member member;
};

// Every member of Settings by the name the page keeps it under.
constexpr NamedSetting kSettingNames[] = {
    {"stakeTolerance", &Settings::stakeTolerance}, {"matchTolerance", &Settings::matchTolerance},
    {"groupTolerance", &Settings::groupTolerance}, {"avoidDistance", &Settings::avoidDistance},
    {"codeTolerance", &Settings::codeTolerance},   {"numericLabels", &Settings::numericLabels},
    {"swapSides", &Settings::swapSides},           {"negateHeights", &Settings::negateHeights},
    {"stationText", &Settings::stationText},       {"blankLine", &Settings::blankLine},
    {"routeSides", &Settings::routeSides},         {"layerName", &Settings::layerName},
    {"layout", &Settings::layout},                 {"spikeHeight", &Settings::spikeHeight},
    {"gapDistance", &Settings::gapDistance},       {"skewAngle", &Settings::skewAngle},
    {"sheetSize", &Settings::sheetSize},           {"sheetScale", &Settings::sheetScale},
    {"exaggeration", &Settings::exaggeration},
};

const NamedSetting* FindSetting(std::string_view name) {
    for (const NamedSetting& setting : kSettingNames)
        if (setting.name == name) return &setting;
    return nullptr;
}

std::string_view NameOf(double Settings::*member) {
    for (const NamedSetting& setting : kSettingNames)
        if (const auto* number = std::get_if<double Settings::*>(&setting.member); number && *number == member)
            return setting.name;
    return {};
}

void WriteSettings(JsonText& json, const Settings& settings) {
    json.BeginObject();
    for (const NamedSetting& setting : kSettingNames) {
        json.Key(setting.name);
        std::visit(
            [&](auto member) {
                using Value = std::remove_cvref_t<decltype(settings.*member)>;
                if constexpr (std::is_same_v<Value, double>) json.Number(settings.*member);
                else if constexpr (std::is_same_v<Value, bool>) json.Bool(settings.*member);
                else json.String(settings.*member);
            },
            setting.member);
    }
    json.EndObject();
}

void WriteProblems(JsonText& json, const std::vector<CheckProblem>& problems) {
    json.BeginArray();
    for (const CheckProblem& problem : problems)
        json.BeginObject().Key("reason").String(problem.reason).Key("concerns").String(ProblemConcerns(problem)).EndObject();
    json.EndArray();
}

std::string_view OutcomeName(StepOutcome outcome) {
    switch (outcome) {
        case StepOutcome::Completed: return "completed";
        case StepOutcome::Cancelled: return "cancelled";
        case StepOutcome::Warned: return "warned";
        case StepOutcome::Failed: break;
    }
    return "failed";
}

void ReportNotes(PageReporter& reporter, const StepResult& result) {
    for (const std::string& note : result.notes) reporter.Message("note", "警告：" + note);
}

// Each stage's line as `qorvel run` prints it, as soon as its file is written.
class StageLines final : public PipelineObserver {
public:
    explicit StageLines(PageReporter& reporter) : reporter_(reporter) {}
    void StageStarting(const StepDescription&, std::size_t, std::size_t) override {}
    void StageEnded(const StageReport& report) override {
        if (!report.result.Completed()) return;
        ReportNotes(reporter_, report.result);
        lines.push_back(StageLine(report));
        reporter_.Line(lines.back());
    }
    std::vector<std::string> lines;

private:
    PageReporter& reporter_;
};

// The figure's primitives as the page draws them, in the figure's millimetres.
class RecordingCanvas final : public PlotCanvas {
public:
    explicit RecordingCanvas(JsonText& json) : json_(json) {}

    void Line(PlotPoint from, PlotPoint to, PlotLayer layer) override {
        json_.BeginObject().Key("kind").String("line").Key("layer").Integer(static_cast<int>(layer));
        json_.Key("points").BeginArray().Number(from.x).Number(from.y).Number(to.x).Number(to.y).EndArray().EndObject();
    }
    void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) override {
        json_.BeginObject().Key("kind").String("polyline").Key("layer").Integer(static_cast<int>(layer));
        json_.Key("closed").Bool(closed).Key("points").BeginArray();
        for (const PlotPoint& point : points) json_.Number(point.x).Number(point.y);
        json_.EndArray().EndObject();
    }
    void Mark(PlotPoint at, PlotLayer layer) override {
        json_.BeginObject().Key("kind").String("mark").Key("layer").Integer(static_cast<int>(layer));
        json_.Key("points").BeginArray().Number(at.x).Number(at.y).EndArray().EndObject();
    }
    void Text(const PlotText& text) override {
        json_.BeginObject().Key("kind").String("text").Key("layer").Integer(static_cast<int>(text.layer));
        json_.Key("points").BeginArray().Number(text.at.x).Number(text.at.y).EndArray();
        json_.Key("height").Number(text.height).Key("align").Integer(static_cast<int>(text.align));
        json_.Key("baseline").Integer(static_cast<int>(text.baseline)).Key("text").String(text.text).EndObject();
    }

private:
    JsonText& json_;
};

void WritePoint(JsonText& json, const SurveyedPoint& point) {
    json.BeginObject().Key("name").String(point.name).Key("code").String(point.code);
    json.Key("distance").Number(point.distance).Key("elevation").Number(point.elevation).EndObject();
}

}  // namespace

bool SetNumber(Settings& settings, std::string_view name, double value) {
    const NamedSetting* setting = FindSetting(name);
    if (setting == nullptr) return false;
    if (const auto* number = std::get_if<double Settings::*>(&setting->member)) {
        settings.*(*number) = value;
        return true;
    }
    if (const auto* flag = std::get_if<bool Settings::*>(&setting->member)) {
        settings.*(*flag) = value != 0;
        return true;
    }
    return false;
}

bool SetText(Settings& settings, std::string_view name, const std::string& value) {
    const NamedSetting* setting = FindSetting(name);
    if (setting == nullptr) return false;
    const auto* text = std::get_if<std::string Settings::*>(&setting->member);
    if (text == nullptr) return false;
    settings.*(*text) = value;
    return true;
}

std::string CatalogueJson() {
    JsonText json;
    json.BeginObject().Key("steps").BeginArray();
    for (const StepDescription& step : StepCatalogue()) {
        if (step.command.empty()) continue;  // attaching and viewing have pages of their own
        json.BeginObject().Key("command").String(step.command).Key("number").Integer(step.number);
        json.Key("caption").String(step.caption);
        json.Key("help").String(step.commandHelp).Key("inputs").BeginArray();
        for (const FileSpec& input : step.inputs)
            json.BeginObject()
                .Key("role")
                .Integer(static_cast<int>(input.role))
                .Key("name")
                .String(RoleName(input.role))
                .Key("filter")
                .String(input.filter)
                .EndObject();
        json.EndArray();
        json.Key("output").BeginObject().Key("role").Integer(static_cast<int>(step.output.role));
        json.Key("name").String(RoleName(step.output.role)).Key("usualName").String(step.outputName).EndObject();
        json.Key("settings").BeginArray();
        for (const SettingId setting : step.settings) json.Integer(static_cast<int>(setting));
        json.EndArray().EndObject();
    }
    json.EndArray().Key("layouts").BeginArray();
    for (const ResultLayout& layout : ResultLayouts())
        json.BeginObject()
            .Key("id")
            .String(layout.id)
            .Key("caption")
            .String(layout.caption)
            .Key("extension")
            .String(layout.extension)
            .Key("heightSwitches")
            .Bool(layout.heightSwitches)
            .EndObject();
    json.EndArray().Key("tolerances").BeginArray();
    for (const ToleranceSetting& tolerance : ToleranceSettings())
        json.BeginObject()
            .Key("id")
            .Integer(static_cast<int>(tolerance.id))
            .Key("name")
            .String(NameOf(tolerance.value))
            .Key("caption")
            .String(tolerance.caption)
            .EndObject();
    json.EndArray().Key("pipeline").BeginArray();
    for (const StepId id : PipelineSteps()) json.String(Describe(id).command);
    json.EndArray().Key("viewerInputs").BeginArray();
    for (const FileSpec& input : Describe(StepId::SectionViewer).inputs)
        json.BeginObject()
            .Key("role")
            .Integer(static_cast<int>(input.role))
            .Key("name")
            .String(RoleName(input.role))
            .Key("filter")
            .String(input.filter)
            .EndObject();
    json.EndArray().Key("roles").BeginObject();
    json.Key("drawing").Integer(static_cast<int>(FileRole::Drawing));
    json.Key("points").Integer(static_cast<int>(FileRole::DetailPoints)).EndObject();
    json.Key("defaults");
    WriteSettings(json, Settings{});
    json.EndObject();
    return json.text();
}

std::string WebSession::AttachDrawing(const std::string& path, PageReporter& reporter) {
    WebHost host(reporter, {{FileRole::Drawing, path}}, "");
    // Drawings that name no code page are read as GBK, the surveyor's usual one.
    const bool attached = bench_.AttachDrawing(path, host, Settings{});
    JsonText json;
    json.BeginObject().Key("attached").Bool(attached);
    if (const std::optional<DrawingSummary> summary = SummaryOfAttachedDrawing(bench_.session()); attached && summary) {
        json.Key("path").String(summary->path).Key("layers").BeginArray();
        for (const LayerSummary& layer : summary->layers)
            json.BeginObject()
                .Key("name")
                .String(layer.name)
                .Key("texts")
                .Integer(static_cast<long long>(layer.texts))
                .Key("stations")
                .Integer(static_cast<long long>(layer.stations))
                .Key("lines")
                .Integer(static_cast<long long>(layer.lines))
                .Key("polylines")
                .Integer(static_cast<long long>(layer.polylines))
                .EndObject();
        json.EndArray();
    }
    json.EndObject();
    return json.text();
}

std::string WebSession::RunPipeline(const PipelineRequest& request, const Settings& settings, PageReporter& reporter) {
    JsonText json;
    json.BeginObject();
    if (const std::string conflict = SettingsConflict(settings); !conflict.empty()) {
        reporter.Message("error", conflict);
        json.Key("completed").Bool(false).Key("outcome").String("failed").EndObject();
        return json.text();
    }
    WebHost host(reporter, {}, "");
    StageLines lines(reporter);
    const std::optional<PipelineReport> report = bench_.RunPipeline(request, host, settings, &lines);
    if (!report) {
        reporter.Message("error", "错误：另一个步骤正在运行。");
        json.Key("completed").Bool(false).Key("outcome").String("failed").EndObject();
        return json.text();
    }
    if (report->Completed() && !report->earlierResults.empty())
        reporter.Message("note", "警告：" + EarlierResultsText(*report));
    if (!report->Completed() && !report->stages.empty()) reporter.Message("error", PipelineStopText(*report));
    json.Key("completed").Bool(report->Completed()).Key("outcome").String(OutcomeName(report->outcome));
    json.Key("lines").BeginArray();
    for (const std::string& line : lines.lines) json.String(line);
    json.EndArray().Key("problems").BeginArray();
    for (const std::string& problem : CheckProblems(*report)) json.String(problem);
    json.EndArray();
    json.Key("summary").String(report->Completed() ? PipelineSummaryText(*report) : std::string());
    json.Key("files").BeginArray();
    if (report->Completed())
        for (const StageReport& stage : report->stages)
            json.BeginObject()
                .Key("role")
                .Integer(static_cast<int>(stage.Step().output.role))
                .Key("path")
                .String(stage.output)
                .Key("count")
                .Integer(static_cast<long long>(stage.result.count))
                .EndObject();
    json.EndArray().EndObject();
    return json.text();
}

std::string WebSession::RunStep(const std::string& command, const std::map<FileRole, std::string>& inputs,
                                const std::string& output, const Settings& settings, PageReporter& reporter) {
    JsonText json;
    json.BeginObject();
    const StepDescription* step = FindStepByCommand(command);
    const auto failed = [&](const std::string& message) {
        reporter.Message("error", message);
        json.Key("outcome").String("failed").EndObject();
        return json.text();
    };
    if (step == nullptr) return failed("错误：没有这个步骤：" + command);
    if (const std::string conflict = SettingsConflict(settings); !conflict.empty()) return failed(conflict);
    for (const FileSpec& input : step->inputs)
        if (!inputs.contains(input.role) && !(input.role == FileRole::Drawing && bench_.session().drawing))
            return failed("错误：缺少" + std::string(RoleName(input.role)));
    try {
        std::vector<std::string> paths;
        for (const auto& [role, path] : inputs) paths.push_back(path);
        RefuseOutputAmongInputs(output, paths);
    } catch (const StepError& error) {
        return failed("错误：" + error.describe());
    }
    WebHost host(reporter, inputs, output);
    const std::optional<StepResult> result = bench_.Run(step->id, host, settings);
    if (!result) return failed("错误：另一个步骤正在运行。");
    if (result->Completed()) ReportNotes(reporter, *result);
    if (result->outcome == StepOutcome::Cancelled) reporter.Message("error", "错误：缺少输入文件");
    json.Key("outcome").String(OutcomeName(result->outcome)).Key("summary").String(result->summary);
    json.Key("count").Integer(static_cast<long long>(result->count)).Key("problems");
    WriteProblems(json, result->problems);
    json.Key("output").String(result->Completed() ? output : std::string()).EndObject();
    return json.text();
}

std::string WebSession::OpenSections(const std::map<FileRole, std::string>& inputs, const Settings& settings,
                                     PageReporter& reporter) {
    sections_.reset();
    bench_.session().sectionsOnView.reset();
    WebHost host(reporter, inputs, "");
    const std::optional<StepResult> result = bench_.Run(StepId::SectionViewer, host, settings);
    JsonText json;
    json.BeginObject();
    if (result && result->outcome == StepOutcome::Cancelled) reporter.Message("error", "错误：缺少输入文件");
    if (!result || !result->Completed() || !bench_.session().sectionsOnView) {
        json.Key("opened").Bool(false).EndObject();
        return json.text();
    }
    ReportNotes(reporter, *result);
    sections_ = std::exchange(bench_.session().sectionsOnView, nullptr);
    json.Key("opened").Bool(true).Key("summary").String(sections_->CheckSummary()).Key("sections").BeginArray();
    for (std::size_t index = 0; index < sections_->size(); ++index) {
        const SectionListEntry& entry = sections_->Entry(index);
        json.BeginObject().Key("station").String(entry.station).Key("chainage");
        if (entry.chainage) json.Number(*entry.chainage);
        else json.Null();
        json.Key("left").Integer(static_cast<long long>(entry.leftPoints));
        json.Key("right").Integer(static_cast<long long>(entry.rightPoints)).Key("problems").BeginArray();
        for (const std::string& problem : entry.problems) json.String(problem);
        json.EndArray().EndObject();
    }
    json.EndArray().EndObject();
    return json.text();
}

std::string WebSession::SectionFigureJson(std::size_t index, double roomAcross, double roomUp, double zoom,
                                          double exaggeration) const {
    if (!sections_ || index >= sections_->size()) return {};
    const SectionDrawing section = sections_->Drawing(index);
    const SectionFigure figure = FitSectionFigure(section, roomAcross, roomUp, std::clamp(zoom, 1.0, 200.0),
                                              std::clamp(exaggeration, 0.1, 100.0));
    JsonText json;
    json.BeginObject().Key("bounds").BeginArray();
    json.Number(figure.bounds.left).Number(figure.bounds.bottom).Number(figure.bounds.right).Number(figure.bounds.top);
    json.EndArray();
    json.Key("across").Number(figure.millimetresPerMetreAcross).Key("up").Number(figure.millimetresPerMetreUp);
    json.Key("datum").Number(figure.datumElevation).Key("clipped").Bool(figure.clipped).Key("empty").Bool(figure.empty);
    json.Key("primitives").BeginArray();
    RecordingCanvas canvas(json);
    DrawSectionFigure(figure, {figure.bounds.left, figure.bounds.bottom}, canvas);
    json.EndArray().Key("marks").BeginArray();
    for (const FigureMark& mark : figure.marks) {
        const auto& side = mark.secondSide ? section.secondSide : section.firstSide;
        if (mark.index >= side.size()) continue;
        json.BeginObject().Key("x").Number(mark.at.x).Key("y").Number(mark.at.y);
        json.Key("right").Bool(mark.secondSide).Key("point");
        WritePoint(json, side[mark.index]);
        json.EndObject();
    }
    json.EndArray().EndObject();
    return json.text();
}

std::string WebSession::SectionPlanJson(std::size_t index) const {
    if (!sections_ || index >= sections_->size()) return {};
    const SectionPlan plan = sections_->Plan(index);
    JsonText json;
    json.BeginObject().Key("stake").BeginArray().Number(plan.stakeEast).Number(plan.stakeNorth).EndArray();
    json.Key("line").BeginArray().Number(plan.firstEndEast).Number(plan.firstEndNorth);
    json.Number(plan.secondEndEast).Number(plan.secondEndNorth).EndArray().Key("members").BeginArray();
    for (const SectionPlan::Member& member : plan.members)
        json.BeginArray().Number(member.east).Number(member.north).Integer(static_cast<int>(member.side)).EndArray();
    json.EndArray().EndObject();
    return json.text();
}

long WebSession::FindStation(const std::string& text) const {
    if (!sections_) return -1;
    const std::optional<std::size_t> found = sections_->FindStation(text);
    return found ? static_cast<long>(*found) : -1;
}

std::string WebSession::ExportSheets(const std::vector<std::size_t>& indices, const std::string& path,
                                     double exaggeration, PageReporter& reporter) {
    JsonText json;
    json.BeginObject();
    if (!sections_) {
        reporter.Message("error", "错误：没有打开断面。");
        json.Key("completed").Bool(false).EndObject();
        return json.text();
    }
    std::vector<std::size_t> chosen = indices;
    if (chosen.empty())
        for (std::size_t index = 0; index < sections_->size(); ++index) chosen.push_back(index);
    Settings settings = sections_->settings();
    settings.exaggeration = exaggeration;
    WebHost host(reporter, {}, path);
    try {
        RefuseOutputAmongInputs(path, sections_->InputPaths());
        SectionsOnViewSource source(*sections_, std::move(chosen));
        NullProgress progress;
        const PlotSummary summary = PlotSections(source, PlotOptionsOf(settings), path, progress);
        json.Key("completed").Bool(true).Key("summary").String(summary.text).Key("warning").String(summary.Warning());
    } catch (const StepError& error) {
        host.ShowFailure(error.describe());
        json.Key("completed").Bool(false);
    }
    json.EndObject();
    return json.text();
}

}  // namespace qorvel::web
