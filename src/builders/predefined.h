// Complete shapes built at a point the user clicks: rectangular and
// polygonal rooms (new Sectors outside every Sector), the same shapes as
// objects inside a Sector (plain, or a sunken pool, a pedestal or a light
// box), staircases and a door. Every shape is consistent at once: LineDefs
// run so that their first sides face the right Sectors. The sizes entered
// last are kept for the run.
#pragma once

enum class ObjectKind { Plain = 0, Pool = 1, Pedestal = 2, LightBox = 3 };

// A staircase: so many steps, each one height above the last and a
// rectangle width wide and depth deep.
struct StairsSize {
    int steps = 6, height = 16, width = 128, depth = 32;
};

struct PredefinedSizes {
    int rectWidth = 256, rectLength = 128;
    int polySides = 8, polyRadius = 128;
    int kind = 0;   // ObjectKind of the objects
    int depth = 24;
    StairsSize stairs;
    int doorWidth = 16, doorLength = 128;
};
extern PredefinedSizes predefinedSizes;

// The shapes themselves at (x, y). A room (sector < 0) is a new Sector; an
// object lies in Sector `sector` and, of a kind other than Plain, holds a
// new inner Sector depth units below or above (a light box: both). Each
// returns false, having said so and made nothing, when the level has no
// room for the shape.
bool InsertRectangle(int x, int y, int width, int length, int sector, ObjectKind kind, int depth);
bool InsertPolygon(int x, int y, int sides, int radius, int sector, ObjectKind kind, int depth);
// A door of the given width and length in Sector `sector`, built by the
// door builder. Where the Sector lies beyond an edge (a door standing free
// in a room rather than set in a gap of its walls), the edge gets a second
// side facing it, so that the Sector stays closed round the door.
bool InsertDoorShape(int x, int y, int width, int length, int sector);

// A staircase climbing north from its bottom edge (x, y)-(x + width, y),
// each step a new Sector floor + height x (its number from 1) high under
// the ceiling given. A room is walled in by one-sided walls, its bottom
// edge opening onto Sector `sector` (the user moves it out of that Sector
// to a doorway of its own); an object stands in Sector `sector`, every edge
// of it a step from that Sector's floor, the last step's top edge too.
enum class StairShape { Room, Object };
bool InsertStairs(int x, int y, int sector, StairShape shape, int floor, int ceiling, const StairsSize& size);

// The "Create Predefined Object" menu at (x, y), the insertion point and the
// sizes; returns kMenuNext or kMenuPrevious when the menu was left sideways.
int PredefinedObjectMenu(int x, int y);
