#pragma once
// A cross-section as the joins of step 10 put it together: the chainage, the centre stake, the
// section line (its direction and ends) and the member points, every text as read from its file; and
// the two sides built from it, handed to the layout writer.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/lenient_read_log.h"
#include "core/number_too_large.h"
#include "core/step_error.h"
#include "geometry/geometry.h"

namespace qorvel {

// A field's text and the line it was read from. Values of a section are converted only when
// they are used, long after the files were read; a value found wrong then (a stake easting
// that is not a number, a chainage that cannot become station text) still names the line the
// surveyor has to correct.
struct SourcedField {
    std::string_view text;
    std::string_view file;  // the file's name, as messages give it
    std::size_t line = StepError::kNoLine;
    int field = StepError::kNoField;
    const LenientReadLog* lenientReads = nullptr;  // the file's (DataFile::lenientReads)

    [[noreturn]] void Fail(const std::string& reason) const;
    // The leading number, 0 when there is none; a text that is not a plain number is noted in
    // `lenientReads`.
    double Lenient() const;
    double Strict() const;   // the whole text must be a number
    // Its value `value` with where it was read, for naming it in a failure.
    SourcedNumber Valued(double value) const { return {file, line, field, value, text}; }
};

// One detail point line found for a member name: fields 2, 3 and 4 as read, and its name.
struct MemberPoint {
    std::size_t line = 0;  // physical line in the detail point file
    std::string_view east;
    std::string_view north;
    std::string_view elevation;
    std::string_view name;  // field 0
    std::string_view code;  // field 1, which no result writes; the viewer shows it
};

// The member points of a section, in the order of its membership line's names. The join keeps
// each detail point line it read once, in a table, and a section's points as their rows in it:
// a name repeated on a membership line costs the four bytes of its row, not a copy of the point
// (a file naming one point 25 million times stays within a few times its own size). A plain
// list of points is a section's points as they stand.
class MemberPoints {
public:
    MemberPoints() = default;
    MemberPoints(std::span<const MemberPoint> points) : table_(points.data()), size_(points.size()) {}
    MemberPoints(const std::vector<MemberPoint>& points) : MemberPoints(std::span(points)) {}
    MemberPoints(std::span<const MemberPoint> table, std::span<const std::uint32_t> rows)
        : table_(table.data()), rows_(rows.data()), size_(rows.size()) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const MemberPoint& operator[](std::size_t k) const { return rows_ ? table_[rows_[k]] : table_[k]; }

    class Iterator {
    public:
        Iterator(const MemberPoints* points, std::size_t k) : points_(points), k_(k) {}
        const MemberPoint& operator*() const { return (*points_)[k_]; }
        Iterator& operator++() {
            ++k_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return k_ == other.k_; }

    private:
        const MemberPoints* points_;
        std::size_t k_;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size_}; }

private:
    const MemberPoint* table_ = nullptr;
    const std::uint32_t* rows_ = nullptr;  // none: the points stand one after the other in table_
    std::size_t size_ = 0;
};

// One cross-section, its fields in the order the layouts read them.
struct SectionRecord {
    SourcedField chainage;        // 0: the chainage of the membership line, as read
    SourcedField stakeEast;       // 1: the centre stake's easting (centre-stake field 2)
    SourcedField stakeNorth;      // 2: its northing (field 3)
    SourcedField stakeElevation;  // 3: its elevation (field 4), copied verbatim by two layouts
    double lineAzimuth = 0;       // 4: from the section line's first end to its second end
    // The matched section line's ends (fields 1, 2 and 3, 4, read leniently), from which the
    // route decides which side is left.
    PlanePoint lineFirstEnd;
    PlanePoint lineSecondEnd;
    std::string_view linesFile;  // the matched section line file, and the line's physical line there
    std::size_t lineLine = StepError::kNoLine;
    std::string_view pointFile;   // the detail point file, for messages about the points
    const LenientReadLog* pointLenientReads = nullptr;  // and its lenient readings
    MemberPoints points;  // 6, 7, 8 and every further three
};

// A point of one side: its distance from the centre stake and its elevation, each the
// single-precision value at seven significant digits (12.3456789 arrives as 12.34568).
struct SidePoint {
    SidePoint() = default;
    SidePoint(double distance, double elevation, std::string_view name = {}, const MemberPoint* source = nullptr)
        : distance(distance), elevation(elevation), name(name), source(source) {}

    double distance = 0;
    double elevation = 0;
    std::string_view name;  // the detail point's name (field 0 of its line)
    const MemberPoint* source = nullptr;  // the member point it was measured from (plan position, code)
};

// The points of one side in ascending order of distance.
using SideList = std::vector<SidePoint>;

}  // namespace qorvel
