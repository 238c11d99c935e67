#pragma once
// For the extraction tests: drawings made in memory, and a progress sink that records what
// the window would show.

#include <initializer_list>
#include <string>
#include <vector>

#include "core/progress.h"
#include "drawing/drawing.h"

namespace qorvel::testing {

inline DrawingEntity Entity(EntityKind kind, std::string layer, std::vector<double> coordinates, std::string text = {},
                            std::size_t line = 1) {
    DrawingEntity entity;
    entity.kind = kind;
    entity.layer = std::move(layer);
    entity.coordinates = std::move(coordinates);
    entity.text = std::move(text);
    entity.place = {line, false};
    return entity;
}

inline Drawing MakeDrawing(std::initializer_list<DrawingEntity> entities) {
    Drawing drawing;
    drawing.name = "route.dxf";
    drawing.entities = entities;
    return drawing;
}

// Every status text and bar value, in order ("status text" or "bar 40").
class RecordingProgress final : public ProgressSink {
public:
    using ProgressSink::Advance;
    void Advance(std::string_view prefix, std::size_t count, std::size_t done, std::size_t total) override {
        Status(prefix, count);
        Percent(static_cast<int>(done * 100 / total));
    }
    void Status(std::string_view prefix, std::size_t count) override {
        shown.push_back(std::string(prefix) + std::to_string(count) + " 个");
    }
    void Percent(int percent) override { shown.push_back("bar " + std::to_string(percent)); }

    std::vector<std::string> shown;
};

}  // namespace qorvel::testing
