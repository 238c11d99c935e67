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
    std::string layer = "0";  // UTF-8, as written (letter case kept); "0" when the entity names none
    // False when the layer's name is not valid in the drawing's code page: the entity then lies
    // on no layer a step asks for, and fails nothing.
    bool layerRead = true;
    // Polylines: x0, y0, x1, y1, ... in vertex order. Lines: start x, y, z, end x, y, z.
    // Texts: the insertion point x, y, z (group 10, not the alignment point).
    std::vector<double> coordinates;
    // Texts: the string, UTF-8. A string that is not valid in the drawing's code page is kept
    // back (textRead false) and fails only the step that uses it (Drawing::TextOf).
    std::string text;
    bool textRead = true;
    DxfPlace place;      // where its first pair stands in the file
    DxfPlace textPlace;  // texts: where the string (its last piece) stands

    bool OnLayer(std::string_view name) const { return layerRead && layer == name; }
};

struct Drawing {
    std::string name;      // the file, as messages call it
    std::string encoding;  // what its strings were read as: "GBK", "CP1252", "UTF-8", ...
    std::vector<DrawingEntity> entities;

    // The layers the entities lie on, each once, in byte order (not those whose names could
    // not be read).
    std::vector<std::string> LayerNames() const;
    // The string of a text; fails naming its line when it is not valid in the drawing's code
    // page.
    const std::string& TextOf(const DrawingEntity& text) const;
};

}  // namespace qorvel
