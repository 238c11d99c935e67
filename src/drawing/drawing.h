#pragma once
// A route drawing as the drawing steps see it: the polylines, lines and texts of its ENTITIES
// section in file order (the order in which a selection of the whole drawing lists them), each
// with its type name, its layer, its coordinates and its text. Entities inside block
// definitions belong to no selection and are not here; nor are entity types the steps never
// select (circles, points, hatches, inserts, attributes, ...).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/dxf_pairs.h"

namespace qorvel {

enum class EntityKind {
    LightweightPolyline,  // LWPOLYLINE
    Polyline2d,           // POLYLINE, old style, flat
    Polyline3d,           // POLYLINE with the 3D flag
    PolygonMesh,          // POLYLINE with the polygon mesh flag
    PolyfaceMesh,         // POLYLINE with the polyface mesh flag
    Line,                 // LINE
    Text,                 // TEXT: one line of text
    MText,                // MTEXT: a paragraph of text
};

// The class name the CAD application reports for an entity: "AcDbPolyline", "AcDbLine", ...
std::string_view ObjectName(EntityKind kind);
// Every polyline kind, old style or lightweight (what a selection of "POLYLINE" and
// "LWPOLYLINE" gathers).
bool IsPolyline(EntityKind kind);

struct DrawingEntity {
    EntityKind kind = EntityKind::Line;
    std::string layer;  // UTF-8, as written (letter case kept)
    // Polylines: x0, y0, x1, y1, ... in vertex order. Lines: start x, y, z, end x, y, z.
    // Texts: the insertion point x, y, z (group 10, not the alignment point).
    std::vector<double> coordinates;
    std::string text;  // texts: the string, UTF-8
    DxfPlace place;    // where its first pair stands in the file
};

struct Drawing {
    std::string name;  // the file, as messages call it
    std::vector<DrawingEntity> entities;

    // The layers the entities lie on, each once, in byte order.
    std::vector<std::string> LayerNames() const;
};

}  // namespace qorvel
