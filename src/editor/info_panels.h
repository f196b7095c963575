// The info panels at the bottom of the map area: what the object under the
// pointer is, in text and (optionally) with its sprite, wall textures or
// flats, and the clicks on a panel that open the object's edit dialog on the
// field clicked.
//
// Pictures are the slow part, so each preview box remembers the name it
// shows and draws again only when the name changes; any drawing of the map
// (which paints over the boxes) empties these caches.
#pragma once

#include <string>

// What the info panels are asked.
enum class PanelAction {
    Hover,    // whether the pointer is over a panel
    Select,   // the select key
    Edit,     // the edit key
};

// A panel's frame in viewport pixels and the object it shows.
struct PanelRect {
    int x1 = 0, y1 = 0, x2 = -1, y2 = -1;   // x2 < x1: not shown
    int object = -1;
    bool Contains(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
};

// The preview boxes: the Thing's sprite; upper, normal, lower of the first
// SideDef, then of the second; the Sector's ceiling and floor.
enum PreviewBox {
    kPreviewSprite,
    kPreviewWall1, kPreviewWall2 = kPreviewWall1 + 3,
    kPreviewCeiling = kPreviewWall2 + 3, kPreviewFloor,
    kPreviewCount
};

struct InfoPanelState {
    // The name each preview box shows; kNoPicture matches no name.
    std::string shown[kPreviewCount];
    // The map drawing the previews were drawn on (MapDrawState::drawings).
    int mapDrawing = -1;
    // The first panel of the mode (the Thing, LineDef, Vertex or Sector
    // text) and its second (the SideDefs, the flats).
    PanelRect panels[2];
    // The two SideDef panels, for telling which SideDef and which of its
    // three textures (or their previews above) a click meant.
    PanelRect sides[2];
    // The pictures drawn by the last call and those it found unchanged
    // (benchmarks and tests).
    int picturesDrawn = 0;
};

extern InfoPanelState infoPanels;

extern const char kNoPicture[];

// Draws the panel of the current EditMode for object n (n < 0: no object)
// as "Info Objects" and "Info Picture" ask; remembers n as the mode's last
// object. The pointer is hidden while drawing.
void ShowObjectInfo(int n);

// Empties the picture caches: the next panel draws every picture.
void ForgetPanelPictures();

// Hover: whether the pointer is over a panel (only while pictures are
// shown). Select: a click on a panel opens the edit dialog on its object and
// field (true when it did). Edit: the edit dialog on the selection or on the
// highlighted object (true when it opened).
bool PanelHit(PanelAction action);

// The texture of SideDef panel side (0 first, 1 second) under the pointer:
// 1 upper, 2 normal, 3 lower (the panel cut into three equal bands, clamped).
int PanelTextureBand(int side);

// The sprite name (as a Thing type names it) in a sunken box: the look of
// the panels' and the Thing dialog's pictures.
void DrawFramedSprite(int x1, int y1, int x2, int y2, const char* name);

// Which dialog item a click at (x, y) (viewport pixels) on the mode's
// panels goes to: 0 the dialog itself, 1 and 2 the first and second SideDef
// (LineDefs) or the ceiling and floor flat (Sectors); -1 outside the panels.
int PanelItemAt(int x, int y);
