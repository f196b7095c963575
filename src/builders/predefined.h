// Complete shapes built at a point the user clicks: the menu, the sizes
// asked (the sizes entered last are kept for the run), and the boxes that
// say why a shape was not made. The shapes themselves are the model's
// (edits/predefined_shapes.h).
#pragma once

#include "edits/predefined_shapes.h"

using edits::ObjectKind;
using edits::StairShape;
using edits::StairsSize;

struct PredefinedSizes {
    int rectWidth = 256, rectLength = 128;
    int polySides = 8, polyRadius = 128;
    int kind = 0;   // ObjectKind of the objects
    int depth = 24;
    StairsSize stairs;
    int doorWidth = 16, doorLength = 128;
};
extern PredefinedSizes predefinedSizes;

// The shapes of edits/predefined_shapes.h at (x, y), each one undoable
// step. Each returns false, having said so and made nothing, when the level
// has no room for the shape.
bool InsertRectangle(int x, int y, int width, int length, int sector, ObjectKind kind, int depth);
bool InsertPolygon(int x, int y, int sides, int radius, int sector, ObjectKind kind, int depth);
bool InsertDoorShape(int x, int y, int width, int length, int sector);
bool InsertStairs(int x, int y, int sector, StairShape shape, int floor, int ceiling, const StairsSize& size);

// The "Create Predefined Object" menu at (x, y), the insertion point and the
// sizes; returns kMenuNext or kMenuPrevious when the menu was left sideways.
int PredefinedObjectMenu(int x, int y);
