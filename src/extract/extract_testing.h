#pragma once
// For the extraction tests: drawings made in memory.

#include <initializer_list>
#include <string>
#include <vector>

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

}  // namespace qorvel::testing
