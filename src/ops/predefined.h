// Complete shapes built at a point the user clicks: rectangular and
// polygonal rooms (new Sectors outside every Sector), the same shapes as
// objects inside a Sector (plain, or a sunken pool, a pedestal or a light
// box), staircases and a door. Every shape is consistent at once: LineDefs
// run so that their first sides face the right Sectors. The sizes entered
// last are kept for the run.
#pragma once

enum class ObjectKind { Plain = 0, Pool = 1, Pedestal = 2, LightBox = 3 };

struct PredefinedSizes {
    int rectWidth = 256, rectLength = 128;
    int polySides = 8, polyRadius = 128;
    int kind = 0;   // ObjectKind of the objects
    int depth = 24;
    int stairSteps = 6, stairHeight = 16, stairWidth = 128, stairDepth = 32;
    int doorWidth = 16, doorLength = 128;
};
extern PredefinedSizes predefinedSizes;

// The shapes themselves at (x, y). A room (sector < 0) is a new Sector; an
// object lies in Sector `sector` and, of a kind other than Plain, holds a
// new inner Sector depth units below or above (a light box: both).
void InsertRectangle(int x, int y, int width, int length, int sector, ObjectKind kind, int depth);
void InsertPolygon(int x, int y, int sides, int radius, int sector, ObjectKind kind, int depth);
// A door of the given width and length in Sector `sector`, built by the
// door builder.
void InsertDoorShape(int x, int y, int width, int length, int sector);

// The "Create Predefined Object" menu at (x, y), the insertion point and the
// sizes; returns kMenuNext or kMenuPrevious when the menu was left sideways.
int PredefinedObjectMenu(int x, int y);
