// The module's functions as the page's worker calls them (embind): the worker passes the
// surveyor's settings and requests as plain objects and a reporter whose methods post the
// progress, the stage lines and the messages to the page as they come.

#include <sys/stat.h>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "web/web_session.h"

namespace qorvel::web {

namespace {

using emscripten::val;

class ValReporter final : public PageReporter {
public:
    explicit ValReporter(val reporter) : reporter_(std::move(reporter)) {}
    void Progress(int percent, std::string_view detail) override {
        reporter_.call<void>("progress", percent, std::string(detail));
    }
    void Status(std::string_view text) override { reporter_.call<void>("status", std::string(text)); }
    void Message(std::string_view kind, std::string_view text) override {
        reporter_.call<void>("message", std::string(kind), std::string(text));
    }
    void Line(std::string_view text) override { reporter_.call<void>("line", std::string(text)); }

private:
    val reporter_;
};

bool Has(const val& object, const char* name) {
    return object.hasOwnProperty(name) && !object[name].isUndefined() && !object[name].isNull();
}

std::string Text(const val& object, const char* name) {
    return Has(object, name) ? object[name].as<std::string>() : std::string();
}

// The page's settings object over the start values; names it does not know are left alone.
Settings SettingsOf(const val& object) {
    Settings settings;
    if (!object.isUndefined() && !object.isNull()) {
        const val keys = val::global("Object").call<val>("keys", object);
        const auto count = keys["length"].as<unsigned>();
        for (unsigned k = 0; k < count; ++k) {
            const std::string name = keys[k].as<std::string>();
            const val value = object[name];
            const std::string type = value.typeOf().as<std::string>();
            if (type == "number") SetNumber(settings, name, value.as<double>());
            else if (type == "boolean") SetNumber(settings, name, value.as<bool>() ? 1 : 0);
            else if (type == "string") SetText(settings, name, value.as<std::string>());
        }
    }
    return settings;
}

// {role number: path} as the page names a step's files.
std::map<FileRole, std::string> FilesOf(const val& object) {
    std::map<FileRole, std::string> files;
    const val keys = val::global("Object").call<val>("keys", object);
    const auto count = keys["length"].as<unsigned>();
    for (unsigned k = 0; k < count; ++k) {
        const std::string key = keys[k].as<std::string>();
        files[static_cast<FileRole>(std::stoi(key))] = object[key].as<std::string>();
    }
    return files;
}

class Module {
public:
    Module() {
        // New files readable by their writer: emscripten starts with a mask that leaves them
        // unreadable, and the page reads every file a step writes.
        ::umask(022);
    }

    std::string Catalogue() const { return CatalogueJson(); }

    std::string AttachDrawing(const std::string& path, val reporter) {
        ValReporter page(std::move(reporter));
        return session_.AttachDrawing(path, page);
    }

    std::string RunPipeline(val request, val settings, val reporter) {
        PipelineRequest asked;
        asked.drawing = Text(request, "drawing");
        asked.points = Text(request, "points");
        asked.labelLayer = Text(request, "labelLayer");
        asked.lineLayer = Text(request, "lineLayer");
        asked.outputFolder = Text(request, "outputFolder");
        asked.plotKind = Text(request, "plotKind");
        ValReporter page(std::move(reporter));
        return session_.RunPipeline(asked, SettingsOf(settings), page);
    }

    std::string RunStep(const std::string& command, val inputs, const std::string& output, val settings, val reporter) {
        ValReporter page(std::move(reporter));
        return session_.RunStep(command, FilesOf(inputs), output, SettingsOf(settings), page);
    }

    std::string OpenSections(val inputs, val settings, val reporter) {
        ValReporter page(std::move(reporter));
        return session_.OpenSections(FilesOf(inputs), SettingsOf(settings), page);
    }

    std::string SectionFigure(unsigned index, double roomAcross, double roomUp, double zoom, double exaggeration) const {
        return session_.SectionFigureJson(index, roomAcross, roomUp, zoom, exaggeration);
    }
    std::string SectionPlan(unsigned index) const { return session_.SectionPlanJson(index); }
    long FindStation(const std::string& text) const { return session_.FindStation(text); }

    std::string ExportSheets(val indices, const std::string& path, double exaggeration, val reporter) {
        std::vector<std::size_t> chosen;
        const auto count = indices["length"].as<unsigned>();
        for (unsigned k = 0; k < count; ++k) chosen.push_back(indices[k].as<unsigned>());
        ValReporter page(std::move(reporter));
        return session_.ExportSheets(chosen, path, exaggeration, page);
    }

private:
    WebSession session_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(qorvel) {
    emscripten::class_<Module>("Qorvel")
        .constructor<>()
        .function("catalogue", &Module::Catalogue)
        .function("attachDrawing", &Module::AttachDrawing)
        .function("runPipeline", &Module::RunPipeline)
        .function("runStep", &Module::RunStep)
        .function("openSections", &Module::OpenSections)
        .function("sectionFigure", &Module::SectionFigure)
        .function("sectionPlan", &Module::SectionPlan)
        .function("findStation", &Module::FindStation)
        .function("exportSheets", &Module::ExportSheets);
}

}  // namespace qorvel::web
