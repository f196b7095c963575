// The geometry of the predefined shapes, built whole at a point: rectangular
// and polygonal rooms (new Sectors outside every Sector), the same shapes as
// objects inside a Sector (plain, or a sunken pool, a pedestal or a light
// box), staircases and a door. Every shape is consistent at once: LineDefs
// run so that their first sides face the right Sectors. Each is one undoable
// step, or refused whole, changing nothing, when the level has no room for
// it.
#pragma once

#include "edits/linedef_edits.h"
#include "level/level.h"

namespace edits {

enum class ObjectKind { Plain = 0, Pool = 1, Pedestal = 2, LightBox = 3 };

// A staircase: so many steps, each one height above the last and a
// rectangle width wide and depth deep.
struct StairsSize {
    int steps = 6, height = 16, width = 128, depth = 32;
};

enum class StairShape { Room, Object };

// What inserting a shape did: a refusal ("The level is full"), or the shape,
// with whether its inner Sector came out with its floor above its ceiling
// (a pedestal, a pool of negative depth or a light box deeper than the
// Sector allows).
struct ShapeInserted {
    Refusal refusal;
    bool floorAboveCeiling = false;
};

// The shapes at (x, y). A room (sector < 0) is a new Sector ("insert a
// rectangular room"); an object lies in Sector `sector` ("insert a
// rectangle") and, of a kind other than Plain, holds a new inner Sector
// depth units below or above (a light box: both). A polygon's corners lie
// on the circle of the radius, anticlockwise from the east.
ShapeInserted InsertRectangle(LevelState& level, int x, int y, int width, int length, int sector, ObjectKind kind,
                              int depth);
ShapeInserted InsertPolygon(LevelState& level, int x, int y, int sides, int radius, int sector, ObjectKind kind,
                            int depth);

// A door of the given width and length in Sector `sector`, built as the
// door builder builds one ("make a door"). Where the Sector lies beyond an
// edge (a door standing free in a room rather than set in a gap of its
// walls), the edge gets a second side facing it, so that the Sector stays
// closed round the door.
ShapeInserted InsertDoorShape(LevelState& level, int x, int y, int width, int length, int sector);

// A staircase climbing north from its bottom edge (x, y)-(x + width, y),
// each step a new Sector floor + height x (its number from 1) high under
// the ceiling given. A room ("insert a stair room") is walled in by
// one-sided walls, its bottom edge opening onto Sector `sector`; an object
// ("insert stairs") stands in Sector `sector`, every edge of it a step from
// that Sector's floor, the last step's top edge too. Refused too for fewer
// than one step.
ShapeInserted InsertStairs(LevelState& level, int x, int y, int sector, StairShape shape, int floor, int ceiling,
                           const StairsSize& size);

}  // namespace edits
