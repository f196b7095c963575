// Drawing the map: LineDefs in the colours of their kind, the grid, Vertex
// markers, Things as shapes, crosses or sprites, highlights (drawn in XOR, so
// that drawing twice removes them) and the pointer coordinates.
//
// Every routine draws in the map area (the menu-bar viewport) and keeps the
// pointer protocol.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "editor/selection.h"
#include "platform/canvas.h"
#include "ui/graphics.h"

// The switches of the Thing display filter, in the order of the dialog.
enum ThingFilterSwitch {
    kFilterEasy, kFilterMedium, kFilterHard, kFilterDeaf, kFilterNetwork,
    kFilterStarts, kFilterKeys, kFilterEquipment, kFilterWeapons, kFilterAmmunition,
    kFilterEnemies, kFilterOther,
    kThingFilterCount
};

// The labels of the filter's check boxes, and the text lines of its dialog.
extern const char* const kThingFilterLabels[kThingFilterCount];
extern const char* const kThingFilterText[7];

// A pixel of a Thing's outline shape, from the shape's centre.
struct ThingStampPixel {
    int dx, dy;
    uint8_t index;
};

// A Thing's outline shape as its pixels, and the box they lie in.
struct ThingStamp {
    std::vector<ThingStampPixel> pixels;
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct MapDrawState {
    bool thingFilter[kThingFilterCount] = {true, true, true, true, true, true,
                                           true, true, true, true, true, true};
    // Things mode shows sprites on the "BackGroundThings" background.
    bool thingPictures = false;
    bool mapComplete = false;    // the last DrawMap was a full one
    int drawings = 0;            // DrawMap calls so far (what lay on the map area is gone)
    Image vertexMarker;          // XOR block put on each Vertex
    // What ShowPointerCoordinates showed last.
    bool mapCoordinates = true;  // map coordinates, else pixels
    bool coordsShown = false;
    int shownCount = 0;
    int shownX = 0, shownY = 0;
    // Outline shapes of Things at stampScale, by their look (radius, colours
    // and heading in pixels): drawing a Thing puts the pixels of its shape.
    float stampScale = 0.0f;
    std::unordered_map<uint64_t, ThingStamp> thingStamps;
    unsigned stampsCleared = 0;   // times thingStamps was emptied: older pointers into it are gone
};

extern MapDrawState mapDraw;

// Switches the Things-mode pictures and keeps the graphics layer's copy of
// "Things mode with pictures" (the map-area background) up to date; a full
// DrawMap synchronises it with the current mode as well.
void SetThingPictures(bool on);
void SyncMapBackground();

// The logical colour of a LineDef in the current EditMode.
int LineDefColour(int ld);

// Primitives in map coordinates.
void DrawMapLine(int x1, int y1, int x2, int y2);
void DrawMapRect(int x1, int y1, int x2, int y2);
void DrawMapCross(int x, int y, int r);
enum class Arrowhead { None, AtEnd };
// A LineDef with its tick on the first SideDef's side.
void DrawMapLineMarked(int x1, int y1, int x2, int y2, Arrowhead arrowhead);

enum class MapDrawing {
    Full,    // clears every highlight: DrawSelectionHighlights puts them back
    Quick,   // only the LineDefs in one colour (while dragging)
};
// The whole map.
void DrawMap(MapDrawing drawing);
void DrawThings();
void DrawThing(int n);
// Whether the display filter shows the Thing in Things mode.
bool ThingShown(const struct Thing& t);

// XOR highlight of one object in a colour; n < 0 draws nothing. A LineDef's
// tagged Sectors and a Sector's tagged LineDefs are highlighted too (in
// colour 12, unless colour is 12 itself). Things and Vertexes get a box
// outside the selection's box; LineDefs are three pixels wide, drawn in the
// colour itself also over the selection's mark, so the selection must not
// change while the highlight is on the screen.
void HighlightObject(int type, int n, int colour);
// The selection's XOR mark (colour 2) of every object of a list: LineDefs two
// pixels wide, Things and Vertexes in a box of at least 11 and 5 pixels.
void HighlightSelection(int type, const SelectionList& list);
// The same mark of one object; a Sector must be in the current selection
// while its mark is drawn or removed.
void MarkSelectedObject(int type, int n);

// "%2d %d,%d" (selected objects, pointer position) in a field of the menu
// bar at (x, y) of the whole screen, on the background colour, in the text
// colour. True when drawn.
bool ShowPointerCoordinates(int x, int y, int background, int textColour, Refresh refresh);
