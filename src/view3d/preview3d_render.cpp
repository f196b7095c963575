#include "view3d/preview3d_render.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNearDepth = 1.0;        // nearer than this a wall is not drawn
constexpr double kSpriteNearDepth = 4.0;
constexpr int kUpperUnpegged = 0x0008;
constexpr int kLowerUnpegged = 0x0010;
// The game's 320 x 200 pixels fill a 4:3 screen, each 1.2 times as tall as
// wide: with its 90-degree width, everything stands 1.2 times as tall as
// square pixels would draw it.
constexpr double kPixelAspect = 1.2;
// The sky as the game maps it: 1024 texture columns around the horizon,
// counted with the view angle (so a texture shows mirrored), one texel row
// per row of the game's screen, the horizon at texture row 100.
constexpr double kSkyColumnsAround = 1024;
constexpr double kSkyHorizonRow = 100;
constexpr int kSpriteRotations = 8;

// Keeps coordinates far from what int conversions could not hold: rows,
// the eye's place, the depth of a floor or ceiling pixel, and an offset
// that makes every map coordinate met positive.
constexpr double kFarRow = 1 << 20;
constexpr double kFarPlace = 1 << 20;
constexpr double kMaxPlaneDepth = 1 << 16;
constexpr double kPositive = 1 << 23;
// The game's light tables: 16 light steps, 48 scale indexes for walls and
// Things, 128 depth steps of 16 units for floors and ceilings.
constexpr int kLightSteps = 16;
constexpr int kFarRowsPerStep = 4;
constexpr int kScaleIndexes = 48;
constexpr int kDepthSteps = 128;
constexpr double kDepthStepUnits = 16;
constexpr int kGameFocal = 160;   // the game's projection: half its 320-pixel width

// The game repeats a sky texture after the largest power of two within its
// width, so that 1024 columns around meet without a seam.
int WrapWidth(int width) {
    int wrap = 1;
    while (wrap <= width / 2)
        wrap *= 2;
    return wrap;
}

int PositiveModulo(int64_t value, int size) {
    int64_t m = value % size;
    return static_cast<int>(m < 0 ? m + size : m);
}

// Whether the segment from (x, y) along (dx, dy) can pass through the box.
bool SegmentTouchesBox(const PreviewScene::Line& line, double x0, double y0, double x1, double y1) {
    const double cx[4] = {x0, x1, x0, x1}, cy[4] = {y0, y0, y1, y1};
    int below = 0, above = 0;
    for (int k = 0; k < 4; ++k) {
        double side = line.dx * (cy[k] - line.y1) - line.dy * (cx[k] - line.x1);
        (side < 0 ? below : above) += 1;
    }
    return below > 0 && above > 0;
}

void BuildGrid(PreviewScene& scene) {
    if (scene.lines.empty())
        return;
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const PreviewScene::Line& line : scene.lines) {
        minX = std::min({minX, line.x1, line.x1 + line.dx});
        maxX = std::max({maxX, line.x1, line.x1 + line.dx});
        minY = std::min({minY, line.y1, line.y1 + line.dy});
        maxY = std::max({maxY, line.y1, line.y1 + line.dy});
    }
    const double cell = PreviewScene::kCell;
    scene.originX = minX - 1;
    scene.originY = minY - 1;
    scene.columns = static_cast<int>((maxX - scene.originX) / cell) + 1;
    scene.rows = static_cast<int>((maxY - scene.originY) / cell) + 1;
    std::vector<std::vector<int>> cells(static_cast<size_t>(scene.columns) * scene.rows);
    for (size_t n = 0; n < scene.lines.size(); ++n) {
        const PreviewScene::Line& line = scene.lines[n];
        auto cellOf = [&](double v, double origin) { return static_cast<int>((v - origin) / cell); };
        int cx0 = cellOf(std::min(line.x1, line.x1 + line.dx), scene.originX);
        int cx1 = cellOf(std::max(line.x1, line.x1 + line.dx), scene.originX);
        int cy0 = cellOf(std::min(line.y1, line.y1 + line.dy), scene.originY);
        int cy1 = cellOf(std::max(line.y1, line.y1 + line.dy), scene.originY);
        bool straight = cx0 == cx1 || cy0 == cy1;
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx) {
                double bx = scene.originX + cx * cell, by = scene.originY + cy * cell;
                if (straight || SegmentTouchesBox(line, bx, by, bx + cell, by + cell))
                    cells[static_cast<size_t>(cy) * scene.columns + cx].push_back(static_cast<int>(n));
            }
    }
    scene.cellStart.assign(1, 0);
    for (const std::vector<int>& list : cells) {
        scene.cellLines.insert(scene.cellLines.end(), list.begin(), list.end());
        scene.cellStart.push_back(static_cast<int>(scene.cellLines.size()));
    }
}

void AddLines(PreviewScene& scene, const LevelState& lvl) {
    for (const LineDef& def : lvl.lineDefs) {
        const Vertex* a = lvl.vertices.at(def.start);
        const Vertex* b = lvl.vertices.at(def.end);
        if (!a || !b || (a->x == b->x && a->y == b->y))
            continue;
        PreviewScene::Line line;
        line.x1 = a->x;
        line.y1 = a->y;
        line.dx = b->x - a->x;
        line.dy = b->y - a->y;
        line.length = std::hypot(line.dx, line.dy);
        line.flags = def.flags;
        line.contrast = line.dy == 0 ? -1 : line.dx == 0 ? 1 : 0;
        const uint16_t sides[2] = {def.sideDef1, def.sideDef2};
        for (int k = 0; k < 2; ++k) {
            const SideDef* side = lvl.sideDefs.at(sides[k]);
            line.side[k] = side ? sides[k] : -1;
            line.sector[k] = side && lvl.sectors.valid(side->sector) ? side->sector : -1;
        }
        scene.lines.push_back(line);
    }
}

// The light step of a Sector's light level, shifted by contrast.
int LightStep(int sectorLight, int contrast) {
    int step = sectorLight < 0 ? -1 : sectorLight / 16;
    return std::clamp(step + contrast, 0, kLightSteps - 1);
}

int RowOfStep(int step, int brighter) {
    return std::clamp(kFarRowsPerStep * (kLightSteps - 1 - step) - brighter, 0, kLightRows - 1);
}

// The floor and ceiling rows of every light step by depth step, made once.
const uint8_t* DepthRows(int step) {
    static const auto table = [] {
        std::vector<uint8_t> rows(static_cast<size_t>(kLightSteps) * kDepthSteps);
        for (int s = 0; s < kLightSteps; ++s)
            for (int d = 0; d < kDepthSteps; ++d)
                rows[static_cast<size_t>(s) * kDepthSteps + d] =
                    static_cast<uint8_t>(RowOfStep(s, kGameFocal / (d + 1) / 2));
        return rows;
    }();
    return &table[static_cast<size_t>(step) * kDepthSteps];
}

int DepthStep(double depth) {
    return static_cast<int>(std::clamp(depth / kDepthStepUnits, 0.0, kDepthSteps - 1.0));
}

// The rotations of the Thing's type and how far its pictures reach.
void AddSpriteViews(PreviewScene::Sprite& sprite, const PreviewAssets& assets) {
    auto views = assets.thingSprites.find(sprite.type);
    if (views == assets.thingSprites.end() || views->second.size() != kSpriteRotations)
        return;
    sprite.views = &views->second;
    sprite.reachLeft = 1e18;
    sprite.reachRight = -1e18;
    for (const SpriteView& view : views->second)
        if (view.picture) {
            sprite.reachLeft = std::min<double>(sprite.reachLeft, -view.picture->leftOffset);
            sprite.reachRight = std::max<double>(sprite.reachRight, view.picture->width - view.picture->leftOffset);
        }
}

const uint8_t* IdentityLight() {
    static uint8_t table[256];
    static bool made = false;
    if (!made) {
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<uint8_t>(i);
        made = true;
    }
    return table;
}

}  // namespace

int ScaleLightRow(int sectorLight, double depth, int contrast) {
    double index = depth > 0 ? 16.0 * kGameFocal / depth : kScaleIndexes;
    int scaleIndex = static_cast<int>(std::min(index, kScaleIndexes - 1.0));
    return RowOfStep(LightStep(sectorLight, contrast), scaleIndex / 2);
}

int DepthLightRow(int sectorLight, double depth) {
    return DepthRows(LightStep(sectorLight, 0))[DepthStep(depth)];
}

PreviewScene BuildPreviewScene(const LevelState& lvl, const PreviewAssets& assets) {
    PreviewScene scene;
    for (const Sector& s : lvl.sectors)
        scene.sectors.push_back({s.floorHeight, s.ceilingHeight, s.light, assets.Flat(s.floorTexture),
                                 assets.Flat(s.ceilingTexture), IsSkyFlat(s.ceilingTexture)});
    for (const SideDef& s : lvl.sideDefs)
        scene.sides.push_back({s.xOffset, s.yOffset, assets.Texture(s.upper), assets.Texture(s.lower),
                               assets.Texture(s.middle)});
    AddLines(scene, lvl);
    BuildGrid(scene);
    for (const Thing& t : lvl.things) {
        PreviewGround ground = GroundAt(scene, t.x, t.y);
        PreviewScene::Sprite sprite{static_cast<double>(t.x), static_cast<double>(t.y),
                                    static_cast<double>(ground.floor), static_cast<uint16_t>(t.type), t.angle,
                                    ground.sector, static_cast<uint16_t>(t.flags), true, nullptr, 0, 0};
        AddSpriteViews(sprite, assets);
        scene.sprites.push_back(sprite);
    }
    return scene;
}

// The nearest LineDef met going east from the point tells the Sector: the
// one on the side of it that faces the point. The grid's cells are searched
// along the point's row until one holds a crossing.
PreviewGround GroundAt(const PreviewScene& scene, double x, double y) {
    PreviewGround ground;
    const double cell = PreviewScene::kCell;
    double gx = (x - scene.originX) / cell, gy = (y - scene.originY) / cell;
    if (scene.columns <= 0 || !(gy >= 0 && gy < scene.rows) || !(gx < scene.columns))
        return ground;
    int cy = static_cast<int>(gy);
    double nearest = 1e18;
    for (int cx = std::max(0, static_cast<int>(gx)); cx < scene.columns && nearest > 1e17; ++cx) {
        int c = cy * scene.columns + cx;
        double cellRight = scene.originX + (cx + 1) * cell;
        double inCell = 1e18;
        for (int i = scene.cellStart[c]; i < scene.cellStart[c + 1]; ++i) {
            const PreviewScene::Line& line = scene.lines[scene.cellLines[i]];
            double y2 = line.y1 + line.dy;
            if (!((line.y1 <= y && y < y2) || (y2 <= y && y < line.y1)))
                continue;
            double crossing = line.x1 + (y - line.y1) * line.dx / line.dy;
            if (crossing < x || crossing - x >= inCell)
                continue;
            inCell = crossing - x;
            bool right = line.dx * (y - line.y1) - line.dy * (x - line.x1) < 0;
            ground.sector = line.sector[right ? 0 : 1];
        }
        // A crossing beyond this cell may hide a nearer one in the next.
        if (inCell <= cellRight - x)
            nearest = inCell;
    }
    if (nearest > 1e17)
        ground.sector = -1;
    if (ground.sector >= 0) {
        const PreviewScene::SectorLook& sector = scene.sectors[static_cast<size_t>(ground.sector)];
        ground.floor = sector.floor;
        ground.ceiling = sector.ceiling;
    }
    return ground;
}

// What stays the same for every column of one frame.
struct PreviewRenderer::Frame {
    const PreviewScene& scene;
    const PreviewAssets& assets;
    const PreviewCamera& camera;
    int width, height;
    double focalX, focalY;   // screen pixels per unit of depth, across and up
    double centerX, centerY;
    double forwardX, forwardY, rightX, rightY;
    double rayX = 0, rayY = 0;   // the current column's ray per unit of depth
    uint8_t* column = nullptr;   // the current column's pixels

    const uint8_t* Light(int row) const {
        const uint8_t* colours = assets.LightRow(row);
        return colours ? colours : IdentityLight();
    }
    // The texel row at the centre of screen row 0 of a picture column whose
    // row 0 is at height top, vStep texel rows per screen row.
    double TexelRowOfRow0(double top, double vStep) const { return top - camera.z - (centerY - 0.5) * vStep; }
    // The first screen row whose centre lies below height z at this depth.
    int RowOf(double z, double scale) const {
        double y = centerY - (z - camera.z) * scale - 0.5;
        return static_cast<int>(std::ceil(std::clamp(y, -kFarRow, kFarRow)));
    }
};

void PreviewRenderer::Draw(const PreviewScene& scene, const PreviewAssets& assets,
                           const PreviewCamera& camera, uint8_t* target, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    PreviewCamera eye = camera;
    eye.x = std::clamp(eye.x, -kFarPlace, kFarPlace);
    eye.y = std::clamp(eye.y, -kFarPlace, kFarPlace);
    eye.z = std::clamp(eye.z, -kFarPlace, kFarPlace);
    if (!std::isfinite(eye.angle))
        eye.angle = 0;
    const double focalX = width / 2.0;
    Frame frame{scene, assets, eye, width, height, focalX, focalX * kPixelAspect, width / 2.0, height / 2.0,
                std::cos(eye.angle), std::sin(eye.angle), 0, 0};
    frame.rightX = frame.forwardY;
    frame.rightY = -frame.forwardX;
    columns_.assign(static_cast<size_t>(width) * height, 0);
    invRow_.resize(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        double below = frame.centerY - (y + 0.5);   // never 0: rows lie half a row off the centre
        invRow_[static_cast<size_t>(y)] = 1 / (below == 0 ? 1e-9 : below);
    }
    windows_.resize(static_cast<size_t>(width));
    masked_.resize(static_cast<size_t>(width));
    rays_.Start(scene);
    for (int x = 0; x < width; ++x)
        CastColumn(frame, x);
    FindSprites(frame);
    DrawMaskedFrontToBack(frame);
    CopyColumnsToRows(target, width, height);
}

namespace {

// Transposes a block of 8 x 8 bytes held in eight words, byte c of word r
// (bits 8c .. 8c+7) becoming byte r of word c: the two off-diagonal blocks
// of 4 x 4 are swapped, then those of 2 x 2 inside each, then single bytes.
void Transpose8x8(uint64_t (&w)[8]) {
    for (int r : {0, 1, 2, 3}) {
        uint64_t t = ((w[r] >> 32) ^ w[r + 4]) & 0x00000000FFFFFFFFull;
        w[r] ^= t << 32;
        w[r + 4] ^= t;
    }
    for (int r : {0, 1, 4, 5}) {
        uint64_t t = ((w[r] >> 16) ^ w[r + 2]) & 0x0000FFFF0000FFFFull;
        w[r] ^= t << 16;
        w[r + 2] ^= t;
    }
    for (int r : {0, 2, 4, 6}) {
        uint64_t t = ((w[r] >> 8) ^ w[r + 1]) & 0x00FF00FF00FF00FFull;
        w[r] ^= t << 8;
        w[r + 1] ^= t;
    }
}

}  // namespace

// Blocks of 8 x 8 pixels: eight words read down eight columns, turned, and
// written as eight words along eight rows; the columns and rows beyond the
// last whole block one by one.
void PreviewRenderer::CopyColumnsToRows(uint8_t* target, int width, int height) const {
    constexpr int kBlock = 8;
    const size_t rows = static_cast<size_t>(height);
    auto pixel = [&](int x, int y) { return columns_[static_cast<size_t>(x) * rows + static_cast<size_t>(y)]; };
    const int blockWidth = width / kBlock * kBlock, blockHeight = height / kBlock * kBlock;
    for (int x = 0; x < blockWidth; x += kBlock)
        for (int y = 0; y < blockHeight; y += kBlock) {
            uint64_t words[kBlock];
            for (int i = 0; i < kBlock; ++i)
                std::memcpy(&words[i], &columns_[static_cast<size_t>(x + i) * rows + static_cast<size_t>(y)], 8);
            Transpose8x8(words);
            for (int j = 0; j < kBlock; ++j)
                std::memcpy(target + static_cast<size_t>(y + j) * width + x, &words[j], 8);
        }
    for (int y = 0; y < height; ++y) {
        uint8_t* row = target + static_cast<size_t>(y) * width;
        for (int x = y < blockHeight ? blockWidth : 0; x < width; ++x)
            row[x] = pixel(x, y);
    }
}

void PreviewRays::Start(const PreviewScene& scene) {
    stamp_.assign(scene.lines.size(), 0);
    stampValue_ = 0;
}

void PreviewRays::NextRay() {
    if (++stampValue_ == INT_MAX) {
        std::fill(stamp_.begin(), stamp_.end(), 0);
        stampValue_ = 1;
    }
}

bool PreviewRays::Enter(const PreviewScene& scene, double x, double y, double dx, double dy, Walk& walk) const {
    if (scene.columns <= 0)
        return false;
    const double cell = PreviewScene::kCell;
    // Where the ray enters the grid (the eye may stand outside it).
    double gx = (x - scene.originX) / cell, gy = (y - scene.originY) / cell;
    double tEnter = 0, tLeave = 1e18;
    const double starts[2] = {gx, gy}, dirs[2] = {dx / cell, dy / cell};
    const int sizes[2] = {scene.columns, scene.rows};
    for (int a = 0; a < 2; ++a) {
        if (std::fabs(dirs[a]) < 1e-12) {
            if (starts[a] < 0 || starts[a] >= sizes[a])
                return false;
            continue;
        }
        double t0 = (0 - starts[a]) / dirs[a], t1 = (sizes[a] - starts[a]) / dirs[a];
        tEnter = std::max(tEnter, std::min(t0, t1));
        tLeave = std::min(tLeave, std::max(t0, t1));
    }
    if (tEnter >= tLeave)
        return false;
    double px = gx + dirs[0] * tEnter, py = gy + dirs[1] * tEnter;
    walk.cx = std::clamp(static_cast<int>(px), 0, scene.columns - 1);
    walk.cy = std::clamp(static_cast<int>(py), 0, scene.rows - 1);
    walk.stepX = dirs[0] > 0 ? 1 : -1;
    walk.stepY = dirs[1] > 0 ? 1 : -1;
    walk.tDeltaX = std::fabs(dirs[0]) < 1e-12 ? 1e18 : 1 / std::fabs(dirs[0]);
    walk.tDeltaY = std::fabs(dirs[1]) < 1e-12 ? 1e18 : 1 / std::fabs(dirs[1]);
    walk.tMaxX = std::fabs(dirs[0]) < 1e-12 ? 1e18 : ((walk.stepX > 0 ? walk.cx + 1 : walk.cx) - gx) / dirs[0];
    walk.tMaxY = std::fabs(dirs[1]) < 1e-12 ? 1e18 : ((walk.stepY > 0 ? walk.cy + 1 : walk.cy) - gy) / dirs[1];
    return true;
}

void PreviewRays::HitsInCell(const PreviewScene& scene, int cell, double x, double y, double dx, double dy,
                             double cellEnd) {
    hits_.clear();
    for (int i = scene.cellStart[cell]; i < scene.cellStart[cell + 1]; ++i) {
        int n = scene.cellLines[i];
        if (stamp_[n] == stampValue_)
            continue;
        const PreviewScene::Line& line = scene.lines[n];
        double denom = dx * line.dy - dy * line.dx;
        double ax = line.x1 - x, ay = line.y1 - y;
        if (std::fabs(denom) < 1e-12) {
            stamp_[n] = stampValue_;
            continue;
        }
        double t = (ax * line.dy - ay * line.dx) / denom;
        double s = (ax * dy - ay * dx) / denom;
        if (t > cellEnd)
            continue;   // met beyond this cell: found again in a later one
        stamp_[n] = stampValue_;
        if (s < 0 || s > 1 || t < kNearDepth)
            continue;
        bool front = line.dy * ax - line.dx * ay < 0;
        hits_.push_back({t, s * line.length, n, front});
    }
    std::sort(hits_.begin(), hits_.end(), [](const PreviewHit& a, const PreviewHit& b) { return a.depth < b.depth; });
}

void PreviewRenderer::CastColumn(Frame& frame, int x) {
    windows_[x].clear();
    masked_[x].clear();
    frame.column = &columns_[static_cast<size_t>(x) * frame.height];
    double k = (x + 0.5 - frame.centerX) / frame.focalX;
    frame.rayX = frame.forwardX + frame.rightX * k;
    frame.rayY = frame.forwardY + frame.rightY * k;
    int top = 0, bottom = frame.height;
    rays_.Cast(frame.scene, frame.camera.x, frame.camera.y, frame.rayX, frame.rayY, [&](const PreviewHit& hit) {
        DrawHit(frame, x, hit, top, bottom);
        return top < bottom;
    });
}

namespace {

// A stretch of one picture column down the screen: texel row v0 at the
// centre of row 0, vStep more per row.
struct ColumnSpan {
    const uint8_t* texels;
    const uint8_t* mask;   // nullptr: all opaque
    int height;
    double v0, vStep;
};

void DrawTiledSpan(uint8_t* out, int y0, int y1, const ColumnSpan& span, const uint8_t* light) {
    const int64_t kOne = 1 << 16;
    int64_t v = static_cast<int64_t>(std::floor((span.v0 + y0 * span.vStep) * kOne));
    int64_t step = static_cast<int64_t>(span.vStep * kOne);
    int h = span.height;
    if ((h & (h - 1)) == 0) {
        for (int y = y0; y < y1; ++y, v += step)
            out[y] = light[span.texels[(v >> 16) & (h - 1)]];
    } else {
        for (int y = y0; y < y1; ++y, v += step)
            out[y] = light[span.texels[PositiveModulo(v >> 16, h)]];
    }
}

}  // namespace

void PreviewRenderer::DrawHit(Frame& frame, int x, const PreviewHit& hit, int& top, int& bottom) {
    const PreviewScene& scene = frame.scene;
    const PreviewScene::Line& line = scene.lines[hit.line];
    int nearSide = hit.front ? 0 : 1;
    if (line.sector[nearSide] < 0)
        return;   // the back of a one-sided LineDef, or a side without a Sector
    const PreviewScene::SectorLook& near = scene.sectors[line.sector[nearSide]];
    const PreviewScene::SideLook& side = scene.sides[line.side[nearSide]];
    double along = hit.front ? hit.along : line.length - hit.along;
    double scale = frame.focalY / hit.depth;
    int ceilingRow = std::clamp(frame.RowOf(near.ceiling, scale), top, bottom);
    int floorRow = std::clamp(frame.RowOf(near.floor, scale), ceilingRow, bottom);
    DrawPlanes(frame, x, near, top, bottom, ceilingRow, floorRow);
    const uint8_t* light = frame.Light(ScaleLightRow(near.light, hit.depth, line.contrast));

    // The texture's column at this hit, its row 0 at height texTop.
    auto spanOf = [&](const ColumnPicture& texture, double texTop) {
        int u = PositiveModulo(static_cast<int64_t>(std::floor(along + side.xOffset)), texture.width);
        double vStep = 1 / scale;
        return ColumnSpan{texture.column(u), texture.columnMask(u), texture.height,
                          frame.TexelRowOfRow0(texTop + side.yOffset, vStep), vStep};
    };
    // One wall piece between two rows, textured from height texTop down.
    auto wall = [&](const ColumnPicture* texture, int y0, int y1, double texTop) {
        if (y0 >= y1)
            return;
        if (!texture)
            std::memset(frame.column + y0, kMissingColour, static_cast<size_t>(y1 - y0));
        else
            DrawTiledSpan(frame.column, y0, y1, spanOf(*texture, texTop), light);
    };

    int farSide = 1 - nearSide;
    if (line.sector[farSide] < 0) {
        const ColumnPicture* texture = side.middle;
        double texTop = (line.flags & kLowerUnpegged) && texture ? near.floor + texture->height : near.ceiling;
        wall(texture, ceilingRow, floorRow, texTop);
        top = bottom;
        windows_[x].push_back({hit.depth, top, top});
        return;
    }
    const PreviewScene::SectorLook& far = scene.sectors[line.sector[farSide]];
    int openTop = ceilingRow, openBottom = floorRow;
    if (far.ceiling < near.ceiling) {
        openTop = std::clamp(frame.RowOf(far.ceiling, scale), ceilingRow, floorRow);
        if (near.sky && far.sky) {
            DrawPlanes(frame, x, near, ceilingRow, openTop, openTop, openTop);
        } else {
            const ColumnPicture* texture = side.upper;
            double texTop = (line.flags & kUpperUnpegged) || !texture ? near.ceiling : far.ceiling + texture->height;
            wall(texture, ceilingRow, openTop, texTop);
        }
    }
    if (far.floor > near.floor) {
        openBottom = std::clamp(frame.RowOf(far.floor, scale), openTop, floorRow);
        double texTop = (line.flags & kLowerUnpegged) ? near.ceiling : far.floor;
        wall(side.lower, openBottom, floorRow, texTop);
    }
    top = openTop;
    bottom = openBottom;
    bool hidesBeyond = false;
    if (side.middle && top < bottom) {
        const ColumnPicture* texture = side.middle;
        double texTop = (line.flags & kLowerUnpegged) ? std::max(near.floor, far.floor) + texture->height
                                                       : std::min(near.ceiling, far.ceiling);
        ColumnSpan span = spanOf(*texture, texTop);
        Masked middle{hit.depth, span.texels, span.mask, span.height, span.v0, span.vStep, top, bottom, light};
        masked_[x].push_back(middle);
        hidesBeyond = middle.FillsItsRows();
    }
    windows_[x].push_back({hit.depth, top, bottom});
    // A middle texture without holes over the whole opening hides all
    // beyond it: nothing there need be drawn.
    if (hidesBeyond) {
        windows_[x].push_back({hit.depth, top, top});
        bottom = top;
    }
}

void PreviewRenderer::DrawPlanes(Frame& frame, int x, const PreviewScene::SectorLook& sector, int top,
                                 int bottom, int ceilingRow, int floorRow) {
    const PreviewCamera& camera = frame.camera;
    uint8_t* out = frame.column;
    // The ceiling above the wall, the floor below it: each row meets the
    // plane at a depth that gives the flat's texel and the light.
    auto plane = [&](const uint8_t* flat, double height, int y0, int y1) {
        const double rise = (height - camera.z) * frame.focalY;
        const uint8_t* rows = DepthRows(LightStep(sector.light, 0));
        const uint8_t* colormap = frame.assets.LightRow(0);
        for (int y = y0; y < y1; ++y) {
            double depth = std::min(rise * invRow_[y], kMaxPlaneDepth);
            const uint8_t* light = colormap ? colormap + rows[DepthStep(depth)] * 256 : IdentityLight();
            if (!flat) {
                out[y] = light[kMissingColour];
                continue;
            }
            // Both stay far above -kPositive, so the conversions floor.
            int tx = static_cast<int>(camera.x + frame.rayX * depth + kPositive) & (kFlatSide - 1);
            int ty = static_cast<int>(camera.y + frame.rayY * depth + kPositive) & (kFlatSide - 1);
            out[y] = light[flat[((kFlatSide - 1) - ty) * kFlatSide + tx]];
        }
    };
    if (sector.sky) {
        const ColumnPicture* sky = frame.assets.Sky();
        if (sky && top < ceilingRow) {
            double rayAngle = camera.angle - std::atan((x + 0.5 - frame.centerX) / frame.focalX);
            int64_t column = static_cast<int64_t>(std::floor(rayAngle / (2 * kPi) * kSkyColumnsAround));
            int u = static_cast<int>(column & (WrapWidth(sky->width) - 1));
            double perRow = kGameFocal / frame.focalY;
            const uint8_t* texels = sky->column(u);
            const uint8_t* light = frame.Light(0);   // the game draws the sky unlit
            for (int y = top; y < ceilingRow; ++y) {
                int v = static_cast<int>(std::floor(kSkyHorizonRow + (y + 0.5 - frame.centerY) * perRow));
                out[y] = light[texels[std::clamp(v, 0, sky->height - 1)]];
            }
        } else if (top < ceilingRow) {
            std::memset(out + top, kMissingColour, static_cast<size_t>(ceilingRow - top));
        }
    } else if (sector.ceiling > camera.z) {
        plane(sector.ceilingFlat, sector.ceiling, top, ceilingRow);
    }
    if (sector.floor < camera.z)
        plane(sector.floorFlat, sector.floor, floorRow, bottom);
}

// Rotation 1 shows the Thing's front: it faces the eye.
const SpriteView& SeenRotation(const PreviewScene::Sprite& sprite, double rx, double ry) {
    double fromEye = std::atan2(ry, rx) * 180 / kPi;
    int rotation = PositiveModulo(static_cast<int64_t>(std::floor((fromEye - sprite.angle + 202.5) / 45)),
                                  kSpriteRotations);
    return (*sprite.views)[static_cast<size_t>(rotation)];
}

// The Things in view, nearest first (of two as near, the first in the level).
void PreviewRenderer::FindSprites(Frame& frame) {
    const PreviewCamera& camera = frame.camera;
    shown_.clear();
    for (const PreviewScene::Sprite& sprite : frame.scene.sprites) {
        if (!sprite.shown || !sprite.views)
            continue;
        double rx = sprite.x - camera.x, ry = sprite.y - camera.y;
        double depth = rx * frame.forwardX + ry * frame.forwardY;
        if (depth < kSpriteNearDepth)
            continue;
        double scale = frame.focalX / depth;
        double lateral = rx * frame.rightX + ry * frame.rightY;
        // Outside the view whichever way it turns.
        if (frame.centerX + (lateral + sprite.reachRight) * scale < 0 ||
            frame.centerX + (lateral + sprite.reachLeft) * scale > frame.width)
            continue;
        const SpriteView& view = SeenRotation(sprite, rx, ry);
        const ColumnPicture* picture = view.picture;
        if (!picture)
            continue;
        double left = frame.centerX + (lateral - picture->leftOffset) * scale;
        double right = left + picture->width * scale;
        if (right < 0 || left > frame.width)
            continue;
        int x0 = std::max(0, static_cast<int>(std::ceil(left - 0.5)));
        int x1 = std::min(frame.width, static_cast<int>(std::ceil(right - 0.5)));
        int light = sprite.sector >= 0 ? frame.scene.sectors[sprite.sector].light : 255;
        double vStep = depth / frame.focalY;
        shown_.push_back({depth, &view, left, scale, x0, x1, frame.TexelRowOfRow0(sprite.z + picture->topOffset, vStep),
                          vStep, frame.Light(ScaleLightRow(light, depth))});
    }
    std::stable_sort(shown_.begin(), shown_.end(), [](const Shown& a, const Shown& b) { return a.depth < b.depth; });
}

// Things and middle textures, nearest first, each pixel drawn by the
// nearest that is opaque there: what drawing them farthest first would
// show, without drawing the pixels that nearer ones cover. Each Thing's
// column is clipped by the window of the walls in front of it.
void PreviewRenderer::DrawMaskedFrontToBack(Frame& frame) {
    const int width = frame.width;
    coveredWords_ = (frame.height + 63) / 64;
    covered_.assign(static_cast<size_t>(width) * coveredWords_, 0);
    windowsPassed_.assign(static_cast<size_t>(width), 0);
    middlesDrawn_.assign(static_cast<size_t>(width), 0);
    for (std::vector<Masked>& middles : masked_)
        std::stable_sort(middles.begin(), middles.end(),
                         [](const Masked& a, const Masked& b) { return a.depth < b.depth; });
    for (const Shown& sprite : shown_) {
        const ColumnPicture& picture = *sprite.view->picture;
        for (int x = sprite.x0; x < sprite.x1; ++x) {
            DrawMiddlesBefore(frame, x, sprite.depth);
            // The windows nearer than the Thing, as they are met.
            const std::vector<Window>& windows = windows_[x];
            int& passed = windowsPassed_[x];
            while (passed < static_cast<int>(windows.size()) && windows[passed].depth < sprite.depth)
                ++passed;
            int top = passed > 0 ? windows[passed - 1].top : 0;
            int bottom = passed > 0 ? windows[passed - 1].bottom : frame.height;
            if (top >= bottom)
                continue;
            int u = std::clamp(static_cast<int>((x + 0.5 - sprite.left) / sprite.scale), 0, picture.width - 1);
            if (sprite.view->mirrored)
                u = picture.width - 1 - u;
            DrawUncovered(frame, x, {sprite.depth, picture.column(u), picture.columnMask(u), picture.height,
                                     sprite.v0, sprite.vStep, top, bottom, sprite.light});
        }
    }
    for (int x = 0; x < width; ++x)
        DrawMiddlesBefore(frame, x, INFINITY);
}

void PreviewRenderer::DrawMiddlesBefore(Frame& frame, int x, double depth) {
    const std::vector<Masked>& middles = masked_[x];
    int& drawn = middlesDrawn_[x];
    for (; drawn < static_cast<int>(middles.size()) && middles[drawn].depth < depth; ++drawn)
        DrawUncovered(frame, x, middles[drawn]);
}

namespace {

// Whether every row of [y0, y1) has its bit set.
bool AllSet(const uint64_t* bits, int y0, int y1) {
    for (int y = y0; y < y1;) {
        int word = y / 64, first = y % 64, end = std::min(64, first + (y1 - y));
        uint64_t want = (end == 64 ? ~0ull : (1ull << end) - 1) & ~((1ull << first) - 1);
        if ((bits[word] & want) != want)
            return false;
        y += end - first;
    }
    return true;
}

}  // namespace

void PreviewRenderer::Masked::Rows(int& y0, int& y1) const {
    double first = std::ceil(-v0 / vStep - 1e-9);
    double last = std::ceil((height - v0) / vStep - 1e-9);
    y0 = std::max(top, static_cast<int>(std::clamp(first, -kFarRow, kFarRow)));
    y1 = std::min(bottom, static_cast<int>(std::clamp(last, -kFarRow, kFarRow)));
}

int PreviewRenderer::Masked::TexelRow(int y) const {
    return std::clamp(static_cast<int>(v0 + y * vStep), 0, height - 1);
}

bool PreviewRenderer::Masked::FillsItsRows() const {
    int y0, y1;
    Rows(y0, y1);
    if (y0 != top || y1 != bottom)
        return false;
    for (int v = TexelRow(y0); mask && v <= TexelRow(y1 - 1); ++v)
        if (!mask[v])
            return false;
    return true;
}

void PreviewRenderer::DrawUncovered(Frame& frame, int x, const Masked& item) {
    uint8_t* out = &columns_[static_cast<size_t>(x) * frame.height];
    uint64_t* covered = &covered_[static_cast<size_t>(x) * coveredWords_];
    int y0, y1;
    item.Rows(y0, y1);
    if (y0 >= y1 || AllSet(covered, y0, y1))
        return;
    for (int y = y0; y < y1; ++y) {
        uint64_t bit = 1ull << (y % 64);
        if (covered[y / 64] & bit)
            continue;
        int v = item.TexelRow(y);
        if (!item.mask || item.mask[v]) {
            out[y] = item.light[item.texels[v]];
            covered[y / 64] |= bit;
        }
    }
}
