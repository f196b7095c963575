// The 3D preview's software renderer: draws the level as edited, seen from a
// camera, into an 8-bit buffer in the game's palette. No node build is
// needed: each screen column casts a ray through a grid of the LineDefs,
// meets them in order of distance and draws walls, floors and ceilings front
// to back between per-column clip limits; Things (as sprites) and the middle
// textures of two-sided LineDefs are drawn afterwards, back to front, clipped
// by what lies in front of them.
//
// A damaged level draws what it can: a reference out of range is a missing
// side or Sector, a missing texture is drawn in one plain colour, an open
// Sector just leaves its floor and ceiling where the rays find them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "level/level.h"
#include "view3d/preview3d_assets.h"

// Where the eye is: map units, and the heading in radians (0 east, pi/2 north).
struct PreviewCamera {
    double x = 0, y = 0, z = 41;
    double angle = 0;
};

// The ground under a point: the Sector found by looking along the map from
// it (-1 for none) and that Sector's floor and ceiling heights (0 when none).
struct PreviewGround {
    int sector = -1;
    int floor = 0, ceiling = 0;
};

// The level prepared for drawing: the LineDefs as segments with their sides
// resolved and a grid of them, every Sector's heights, light and flats, every
// SideDef's offsets and textures, and every Thing's place, height and
// flags (each drawn while shown: see ChoosePreviewThings). It
// points into the assets it was built with, which must outlive it.
struct PreviewScene {
    struct SectorLook {
        int floor, ceiling, light;
        const uint8_t* floorFlat;     // nullptr: missing
        const uint8_t* ceilingFlat;
        bool sky;                     // the ceiling shows the sky
    };
    struct SideLook {
        int xOffset, yOffset;
        const ColumnPicture* upper;   // nullptr: missing or none
        const ColumnPicture* lower;
        const ColumnPicture* middle;
    };
    struct Line {
        double x1, y1, dx, dy, length;
        int side[2];     // SideDef numbers, -1 for none or out of range
        int sector[2];   // their Sectors, -1 for none or out of range
        int flags;
        int contrast;    // the light step added to its walls: -1, 0 or +1
    };
    struct Sprite {
        double x, y, z;
        int type, angle, sector, flags;
        bool shown;
        // Its rotations 1..8 (nullptr: the type has no sprite), and how far
        // any of them reaches left (negative) and right of its origin.
        const std::vector<SpriteView>* views;
        double reachLeft, reachRight;
    };
    std::vector<SectorLook> sectors;
    std::vector<SideLook> sides;
    std::vector<Line> lines;
    std::vector<Sprite> sprites;
    // The grid: cells of kCell units from (originX, originY); cell (cx, cy)
    // lists cellLines[cellStart[c] .. cellStart[c + 1]) with c = cy * columns + cx.
    static constexpr double kCell = 128;
    double originX = 0, originY = 0;
    int columns = 0, rows = 0;
    std::vector<int> cellStart;
    std::vector<int> cellLines;
};

PreviewScene BuildPreviewScene(const LevelState& lvl, const PreviewAssets& assets);
PreviewGround GroundAt(const PreviewScene& scene, double x, double y);

// A hit on a cell border counts in both cells.
constexpr double kPreviewCellSlack = 1e-7;

// The picture of a Thing that has views, seen from rx, ry units west and
// south of it.
const SpriteView& SeenRotation(const PreviewScene::Sprite& sprite, double rx, double ry);

// The game's light. A Sector's light level in steps of 16 (0 .. 15; for
// walls, contrast adds -1 along the x axis and +1 along the y axis, as the
// game shades them) sets the COLORMAP row far away: row 0 at step 15, 4
// rows darker a step, never past row 31, the darkest. Nearer it is
// brighter: by half the scale index (16 times the game's projection of 160
// over the depth, at most 47) for walls and Things, and by half of 160 over
// the depth step (depth / 16 + 1, at most 128) for floors and ceilings. So
// light 0 .. 31 is black near and far, 240 and above full bright anywhere.
int ScaleLightRow(int sectorLight, double depth, int contrast = 0);
int DepthLightRow(int sectorLight, double depth);

// Where a ray from the eye meets a LineDef: at depth along the view's
// forward axis (the ray runs forward plus some way right per unit), at
// along units from the LineDef's start, the eye on its right side or not.
struct PreviewHit {
    double depth, along;
    int line;
    bool front;
};

// Walks rays through the scene's grid of LineDefs. Keeps its buffers from
// ray to ray; Start must be called before the rays of a scene.
class PreviewRays {
public:
    void Start(const PreviewScene& scene);
    // Calls visit(hit) for each LineDef the ray from (x, y) along (dx, dy)
    // meets at depth 1 or more, nearest first, while visit returns true.
    template <class Visit>
    void Cast(const PreviewScene& scene, double x, double y, double dx, double dy, Visit&& visit);

private:
    // The cell where the ray enters the grid and the steps to the next
    // cells; false when it misses the grid.
    struct Walk {
        int cx, cy, stepX, stepY;
        double tMaxX, tMaxY, tDeltaX, tDeltaY;
    };
    void NextRay();   // a new mark for the LineDefs met
    bool Enter(const PreviewScene& scene, double x, double y, double dx, double dy, Walk& walk) const;
    // The LineDefs of the cell not met before, nearer than cellEnd, sorted.
    void HitsInCell(const PreviewScene& scene, int cell, double x, double y, double dx, double dy, double cellEnd);

    std::vector<PreviewHit> hits_;
    std::vector<int> stamp_;
    int stampValue_ = 0;
};

template <class Visit>
void PreviewRays::Cast(const PreviewScene& scene, double x, double y, double dx, double dy, Visit&& visit) {
    NextRay();
    Walk walk;
    if (!Enter(scene, x, y, dx, dy, walk))
        return;
    for (;;) {
        HitsInCell(scene, walk.cy * scene.columns + walk.cx, x, y, dx, dy,
                   std::min(walk.tMaxX, walk.tMaxY) + kPreviewCellSlack);
        for (const PreviewHit& hit : hits_)
            if (!visit(hit))
                return;
        if (walk.tMaxX < walk.tMaxY) {
            walk.cx += walk.stepX;
            walk.tMaxX += walk.tDeltaX;
            if (walk.cx < 0 || walk.cx >= scene.columns)
                return;
        } else {
            walk.cy += walk.stepY;
            walk.tMaxY += walk.tDeltaY;
            if (walk.cy < 0 || walk.cy >= scene.rows)
                return;
        }
    }
}

// Keeps its per-column buffers between frames, so that drawing allocates
// nothing once the first frame is drawn.
class PreviewRenderer {
public:
    // Draws the frame into target (width x height palette indices, row by
    // row) as the game would on a screen of square pixels: the horizontal
    // field of view 90 degrees, the horizon in the middle row, and
    // everything 1.2 times as tall as a plain projection, as the game's
    // 320x200 pixels stand on a 4:3 screen.
    void Draw(const PreviewScene& scene, const PreviewAssets& assets, const PreviewCamera& camera,
              uint8_t* target, int width, int height);

    // The palette index drawn for a wall whose texture is missing.
    static constexpr uint8_t kMissingColour = 0;

private:
    struct Window {
        double depth;
        int top, bottom;   // rows still open beyond this depth: [top, bottom)
    };
    // A column of a picture with holes, drawn after the walls.
    struct Masked {
        double depth;
        const uint8_t* texels;
        const uint8_t* mask;
        int height;
        double v0, vStep;   // texel row at the centre of screen row 0, and per row
        int top, bottom;
        const uint8_t* light;

        // The rows [y0, y1) between top and bottom where the picture's rows
        // 0 .. height-1 lie, and the picture's row drawn in a row.
        void Rows(int& y0, int& y1) const;
        int TexelRow(int y) const;
        // Whether it covers every row between top and bottom, without a hole.
        bool FillsItsRows() const;
    };
    // A Thing in view: where its picture lies on the screen.
    struct Shown {
        double depth;
        const SpriteView* view;
        double left, scale;   // screen column of its left edge, pixels per texel
        int x0, x1;           // the columns it covers: [x0, x1)
        double v0, vStep;
        const uint8_t* light;
    };
    struct Frame;

    void CastColumn(Frame& frame, int x);
    void DrawHit(Frame& frame, int x, const PreviewHit& hit, int& top, int& bottom);
    void DrawPlanes(Frame& frame, int x, const PreviewScene::SectorLook& sector, int top,
                    int bottom, int ceilingRow, int floorRow);
    void FindSprites(Frame& frame);
    void DrawMaskedFrontToBack(Frame& frame);
    void DrawMiddlesBefore(Frame& frame, int x, double depth);
    void DrawUncovered(Frame& frame, int x, const Masked& item);
    void CopyColumnsToRows(uint8_t* target, int width, int height) const;

    std::vector<uint8_t> columns_;   // the frame column by column
    std::vector<double> invRow_;     // 1 / the distance of each row's centre above the middle
    std::vector<std::vector<Window>> windows_;
    std::vector<std::vector<Masked>> masked_;   // middle textures, by column
    std::vector<Shown> shown_;
    // Pictures with holes are drawn nearest first: a bit per pixel tells
    // that a nearer one has drawn it. Per column, how many of its windows
    // and middle textures lie nearer than the picture being drawn.
    std::vector<uint64_t> covered_;
    int coveredWords_ = 0;
    std::vector<int> windowsPassed_, middlesDrawn_;
    PreviewRays rays_;
};
