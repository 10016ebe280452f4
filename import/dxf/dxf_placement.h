// Where an INSERT puts its block: the affine map from block coordinates to the coordinates of
// the INSERT's own container (the drawing, or the block that holds a nested INSERT).
//
// The block's base point is subtracted, then the point is scaled (41/42/43), turned about the
// extrusion by the rotation (50), moved by the insertion point (and, for a MINSERT's cell,
// by the cell's offset, turned with the INSERT but not scaled), and carried from the
// INSERT's object coordinates into world coordinates through DXF's arbitrary-axis algorithm
// (210/220/230). This is the order CAD programs apply. Internal to the import library.
#pragma once

#include <array>
#include <cstdint>

#include "import/dxf/dxf_entities.h"

// The cells of an INSERT's grid that it really places: a plain INSERT is one cell; a MINSERT
// has 70 columns and 71 rows (none for a count below 1), and a direction whose spacing is 0
// puts every cell on the first, so it places that one alone.
struct CDxfGrid {
    std::int32_t m_nColumns = 1;
    std::int32_t m_nRows = 1;
    std::uint64_t Cells() const;
};
CDxfGrid GridOf(const CDxfInsert& insert);

class CDxfTransform {
  public:
    // The identity.
    CDxfTransform();

    // The placement of grid cell (column, row) of insert, for a block with this base point.
    static CDxfTransform ForInsert(const CDxfInsert& insert, const CDxfPoint& base, int column,
                                   int row);

    // This map applied after inner: (this * inner)(p) = this(inner(p)).
    CDxfTransform operator*(const CDxfTransform& inner) const;

    CDxfPoint Apply(const CDxfPoint& p) const;
    // Whether it mirrors (its linear part has a negative determinant): a polygon placed by it
    // must list its corners the other way round to face the same way.
    bool Mirrors() const;
    bool IsIdentity() const { return m_bIdentity; }

  private:
    std::array<std::array<double, 3>, 3> m_linear{}; // row r gives output coordinate r
    CDxfPoint m_offset{};
    bool m_bIdentity = true;
};
