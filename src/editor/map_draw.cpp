#include "editor/map_draw.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor/view.h"
#include "gamedefs/gamedefs.h"
#include "gamedefs/thingtypes.h"
#include "level/level.h"
#include "pictures/picture.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/picture_views.h"

MapDrawState mapDraw;

const char* const kThingFilterLabels[kThingFilterCount] = {
    "Skill 1-2 (easy)", "Skill   3 (medium)", "Skill 4-5 (hard)", "Deaf", "Network",
    "Player/Teleport", "Keys", "Equipment", "Weapons", "Ammunition", "Enemies",
    "All Other Things",
};

const char* const kThingFilterText[7] = {
    "All boxes together decide", "the Things to display.", "If the box is not active,",
    "that item is not shown.", "Network/Deathmatch items", "are shown regardless of",
    "skill level",
};

namespace {

constexpr int kLightGrey = 7;
constexpr int kSelectColour = 2;
constexpr int kTagColour = 12;
constexpr int kThingCrossSize = 7;
constexpr int kQuickDrawPulse = 20;   // lines between two pointer refreshes
constexpr int kThingMarginBottom = 30;
constexpr int kFillPatterns = 12;
constexpr double kMinGridGap = 4.0;       // pixels between two grid lines drawn, at least
constexpr int32_t kMaxGridStep = 1 << 16;  // a step that spans the whole map

// LineDef flag bits that choose a colour.
constexpr int kFlagImpassable = 0x01;
constexpr int kFlagBlockMonsters = 0x02;
constexpr int kFlagSecret = 0x20;
constexpr int kFlagBlockSound = 0x40;
constexpr int kFlagNotOnMap = 0x80;

int32_t Trunc(double v) {
    return static_cast<int32_t>(std::clamp(v, -1e9, 1e9));
}

int Role(ColorRole role) { return config.colors[role]; }
void SetRole(ColorRole role) { SetColor(Role(role)); }

void SetLineWidth(int width) { Screen().setlinestyle(kSolidLine, 0, width); }
// The width of the "Thick Lines" setting.
void NormalStyle() { SetLineWidth(config.lineThickness == 3 ? kThickWidth : kNormWidth); }

bool SectorsMode(int mode) { return mode == kObjSector; }

// The colour of the flag rules, or fallback when no flag decides.
int FlagColour(int flags, int fallback) {
    if (flags & kFlagImpassable)
        return Role(kColorOneSided);
    if (flags & kFlagBlockMonsters)
        return Role(kColorMonsterBlock);
    if (flags & kFlagSecret)
        return Role(kColorSecret);
    if (flags & kFlagBlockSound)
        return Role(kColorSoundBlock);
    if (flags & kFlagNotOnMap)
        return Role(kColorInvisible);
    return fallback;
}

// What a Sector makes of the colours of the LineDefs beside it.
enum class SectorMark : uint8_t { Missing, Plain, Tagged, Special };

SectorMark MarkOf(const Sector* s) {
    return !s ? SectorMark::Missing : s->tag > 0 ? SectorMark::Tagged : s->type > 0 ? SectorMark::Special : SectorMark::Plain;
}

// The marks of all Sectors, for a pass over all LineDefs: a byte per Sector
// is read quicker than its record.
class SectorMarks {
public:
    SectorMarks() : marks_(static_cast<size_t>(level.sectors.count)) {
        for (size_t i = 0; i < marks_.size(); ++i)
            marks_[i] = MarkOf(&level.sectors[static_cast<int>(i)]);
    }
    SectorMark operator()(uint16_t sector) const {
        return sector < marks_.size() ? marks_[sector] : SectorMark::Missing;
    }

private:
    std::vector<SectorMark> marks_;
};

// The mark of one Sector, for a LineDef drawn alone.
SectorMark MarkOfSector(uint16_t sector) { return MarkOf(SectorAt(sector)); }

template <class MarkOfSectorFn, class FlagColourFn>
int SectorModeColour(const LineDef& ld, const MarkOfSectorFn& markOf, const FlagColourFn& flagColour) {
    const SideDef* first = SideDefAt(ld.sideDef1);
    SectorMark front = first ? markOf(first->sector) : SectorMark::Missing;
    if (front == SectorMark::Missing)
        return Role(kColorBadTag);
    int colour = front == SectorMark::Tagged    ? Role(kColorTagged)
                 : front == SectorMark::Special ? Role(kColorNotNormalSector)
                                                : flagColour(ld.flags);
    const SideDef* second = SideDefAt(ld.sideDef2);
    if (!second)
        return colour;
    switch (markOf(second->sector)) {
    case SectorMark::Missing:
        return Role(kColorBadTag);
    case SectorMark::Tagged:
        return Role(kColorTagged);
    case SectorMark::Special:
        return Role(kColorNotNormalSector);
    default:
        return colour;
    }
}

template <class FlagColourFn>
int OtherModeColour(const LineDef& ld, const FlagColourFn& flagColour) {
    if (ld.type > 0 && ld.tag > 0)
        return Role(kColorTagged);
    if (ld.type > 0)
        return Role(kColorNotNormalLine);
    if (ld.tag > 0)
        return Role(kColorBadTag);
    return flagColour(ld.flags);
}

// A LineDef's colour in edit mode mode; markOf gives the mark of a Sector,
// flagColour the colour of the flag rules with the mode's plain colour.
template <class MarkOfSectorFn, class FlagColourFn>
int ColourIn(const LineDef& ld, int mode, const MarkOfSectorFn& markOf, const FlagColourFn& flagColour) {
    // Without a first SideDef the game cannot use the LineDef: the warning
    // colour in every mode.
    if (!ValidSideDef(ld.sideDef1))
        return Role(kColorBadTag);
    return SectorsMode(mode) ? SectorModeColour(ld, markOf, flagColour) : OtherModeColour(ld, flagColour);
}

// The colour of the LineDefs that no flag or special decides, in edit mode
// mode.
int PlainColour(int mode) {
    if (mode == kObjThing)
        return Role(mapDraw.thingPictures ? kColorBackGroundThingLines : kColorOneSided);
    return Role(kColorTwoSided);
}

// The colours of a pass over all LineDefs in one mode: the flag rules'
// colour for each value of the flag byte, and in Sectors mode the Sectors'
// marks, are worked out once.
class PassColours {
public:
    explicit PassColours(int mode) : mode_(mode) {
        const int plain = PlainColour(mode);
        for (int flags = 0; flags < 256; ++flags)
            flagColours_[static_cast<size_t>(flags)] = FlagColour(flags, plain);
        if (SectorsMode(mode))
            marks_.emplace();
    }
    int operator()(const LineDef& ld) const {
        auto flagColour = [this](int flags) { return flagColours_[static_cast<uint8_t>(flags)]; };
        return marks_ ? ColourIn(ld, mode_, *marks_, flagColour) : ColourIn(ld, mode_, MarkOfSector, flagColour);
    }

private:
    int mode_;
    std::array<int, 256> flagColours_{};
    std::optional<SectorMarks> marks_;
};

// A LineDef's colour in edit mode mode, for a LineDef drawn alone.
int LineDefColourIn(const LineDef& ld, int mode) {
    const int plain = PlainColour(mode);
    return ColourIn(ld, mode, MarkOfSector, [plain](int flags) { return FlagColour(flags, plain); });
}

bool LineDefEnds(const LineDef& ld, const Vertex*& s, const Vertex*& e) {
    s = VertexAt(ld.start);
    e = VertexAt(ld.end);
    return s && e;
}

// The lengths of a LineDef's tick and arrowhead at the current scale and
// mode, the same for every LineDef of a pass. A mark that would come out under
// a pixel long is left out.
struct MarkSizes {
    double tick, arrow;
    bool ticked, arrowed;
};

MarkSizes CurrentMarkSizes(Arrowhead arrowhead) {
    double f = view.scale < 1.0f ? view.scale : 1.0;
    bool lineDefsMode = CurrentEditMode() == kObjLineDef;
    double tick = (lineDefsMode ? 18.0 : 14.0) * f;
    double a = (lineDefsMode ? 6.0 : 4.0) * f;
    return {tick, a, tick >= 1.0, arrowhead == Arrowhead::AtEnd && 2 * a >= 1.0};
}

// Where a line's marks reach from its points, for a line whose first end
// lies (dx, dy) pixels from its second: the tick's end from the middle, and
// the arrowhead's half-length along the line.
struct MarkOffsets {
    int tickX, tickY;
    int arrowX, arrowY;
};

MarkOffsets OffsetsOfMarks(int dx, int dy, const MarkSizes& sizes) {
    if (!sizes.ticked && !sizes.arrowed)
        return {};
    double ddx = dx, ddy = dy;
    double len = std::sqrt(ddx * ddx + ddy * ddy);
    if (len <= 0.5)
        len = 0.5;
    return {Trunc(ddy * sizes.tick / len), Trunc(-ddx * sizes.tick / len), Trunc(ddx * sizes.arrow / len),
            Trunc(ddy * sizes.arrow / len)};
}

// A stroke's two ends, in map-area pixels.
using Segment = std::array<int, 4>;

// A LineDef drawn with its marks: the line, the tick on the first SideDef's
// side and, when asked for, the two strokes of the arrowhead.
struct MarkedLine {
    int sx1, sy1, sx2, sy2;
    bool ticked, arrow;
    MarkOffsets o;

    Segment Line() const { return {sx1, sy1, sx2, sy2}; }
    Segment Tick() const {
        int mx = (sx1 + sx2) / 2, my = (sy1 + sy2) / 2;
        return {mx, my, mx + o.tickX, my + o.tickY};
    }
    // The arrowhead's strokes, side = 1 and -1.
    Segment Arrow(int side) const {
        int bx = sx2 + 2 * o.arrowX, by = sy2 + 2 * o.arrowY;
        return {bx - side * o.arrowY, by + side * o.arrowX, sx2, sy2};
    }
};

// The line from pixel (sx1, sy1) to (sx2, sy2) with its marks.
MarkedLine MarkScreenLine(int sx1, int sy1, int sx2, int sy2, const MarkSizes& sizes) {
    return {sx1, sy1, sx2, sy2, sizes.ticked, sizes.arrowed, OffsetsOfMarks(sx1 - sx2, sy1 - sy2, sizes)};
}

// The marks of the LineDefs of a pass: the offsets of the short lines (at a
// small scale nearly all) are worked out once for each direction in pixels.
class PassMarks {
public:
    explicit PassMarks(const MarkSizes& sizes) : sizes_(sizes) {}

    MarkedLine Mark(int sx1, int sy1, int sx2, int sy2) {
        int dx = sx1 - sx2, dy = sy1 - sy2;
        if (std::abs(dx) > kReach || std::abs(dy) > kReach)
            return MarkScreenLine(sx1, sy1, sx2, sy2, sizes_);
        if (offsets_.empty())
            offsets_.assign(static_cast<size_t>(kSide * kSide), kUnknown);
        MarkOffsets& o = offsets_[static_cast<size_t>((dy + kReach) * kSide + dx + kReach)];
        if (o.tickX == kUnknown.tickX)
            o = OffsetsOfMarks(dx, dy, sizes_);
        return {sx1, sy1, sx2, sy2, sizes_.ticked, sizes_.arrowed, o};
    }

private:
    static constexpr int kReach = 32;   // pixels either way
    static constexpr int kSide = 2 * kReach + 1;
    static constexpr MarkOffsets kUnknown = {INT_MIN, 0, 0, 0};
    MarkSizes sizes_;
    std::vector<MarkOffsets> offsets_;
};

MarkedLine MarkLine(int x1, int y1, int x2, int y2, Arrowhead arrowhead) {
    return MarkScreenLine(MapToScreenX(x1), MapToScreenY(y1), MapToScreenX(x2), MapToScreenY(y2),
                          CurrentMarkSizes(arrowhead));
}

void DrawSegment(Canvas& screen, const Segment& s) { screen.line(s[0], s[1], s[2], s[3]); }

void DrawMarkedLine(Canvas& screen, const MarkedLine& m) {
    if (m.ticked)
        DrawSegment(screen, m.Tick());
    DrawSegment(screen, m.Line());
    if (!m.arrow)
        return;
    DrawSegment(screen, m.Arrow(1));
    DrawSegment(screen, m.Arrow(-1));
}

// How far beyond its ends a LineDef's drawing reaches, in pixels: a thick
// line's sides, and the tick and arrowhead of a marked one.
constexpr int kLineReach = 1;
constexpr int kMarkedLineReach = 24;

// Every Vertex in map-area pixels, worked out once for a pass over the
// LineDefs that share them, with the sides of the map area, widened by reach
// pixels, that it lies beyond: a LineDef whose two ends lie beyond the same
// side cannot touch the area.
class ScreenVertexes {
public:
    struct Point {
        int x, y;
        uint8_t beyond;   // kLeft | kRight | kAbove | kBelow
    };

    explicit ScreenVertexes(int reach) : count_(static_cast<unsigned>(level.vertices.count)), points_(count_) {
        const int left = -reach, right = view.maxX + reach, top = -reach, bottom = view.maxY + reach;
        const Vertex* v = level.vertices.begin();
        for (Point& p : points_) {
            p.x = MapToScreenX(v->x), p.y = MapToScreenY(v->y);
            p.beyond = static_cast<uint8_t>((p.x < left ? kLeft : 0) | (p.x > right ? kRight : 0) |
                                            (p.y < top ? kAbove : 0) | (p.y > bottom ? kBelow : 0));
            ++v;
        }
    }

    // The pixels of a LineDef's two ends; false when it lacks one or lies
    // wholly beyond one side.
    bool Ends(const LineDef& ld, const Point*& s, const Point*& e) const {
        if (ld.start >= count_ || ld.end >= count_)
            return false;
        s = &points_[ld.start], e = &points_[ld.end];
        return !(s->beyond & e->beyond);
    }

private:
    static constexpr uint8_t kLeft = 1, kRight = 2, kAbove = 4, kBelow = 8;
    unsigned count_;
    std::vector<Point> points_;
};

void DrawLineDefsQuick(bool pointerShown) {
    SetRole(kColorTwoSided);
    Canvas& screen = Screen();
    ScreenVertexes vertexes(kLineReach);
    const ScreenVertexes::Point *s, *e;
    for (int i = 0; i < level.lineDefs.count; ++i) {
        if (vertexes.Ends(level.lineDefs[i], s, e))
            screen.line(s->x, s->y, e->x, e->y);
        if (pointerShown && (i + 1) % kQuickDrawPulse == 0) {
            ShowPointer();
            HidePointer();
        }
    }
}

// In Sectors mode a LineDef's colour reads its two SideDef records, which
// the processor does not foresee: waiting for them took a third of the
// redraw. Asked for this many LineDefs ahead of their use, they are there in
// time. (Written in the loop itself: the compiler drops a prefetch left in a
// function of its own that it does not inline.)
constexpr int kAhead = 24;

void DrawLineDefs(int mode) {
    if (mode != kObjThing && mode != kObjLineDef && mode != kObjVertex && mode != kObjSector)
        return;
    bool marked = mode == kObjVertex;
    Arrowhead arrowhead = config.vertexArrows ? Arrowhead::AtEnd : Arrowhead::None;
    PassMarks marks(CurrentMarkSizes(arrowhead));
    Canvas& screen = Screen();
    ScreenVertexes vertexes(marked ? kMarkedLineReach : kLineReach);
    const ScreenVertexes::Point *s, *e;
    int drawing = -1;   // the colour the screen is set to; most LineDefs share it with the last
    const PassColours colourOf(mode);
    for (int i = 0; i < level.lineDefs.count; ++i) {
        const LineDef& ld = level.lineDefs[i];
        if (SectorsMode(mode) && i + kAhead < level.lineDefs.count) {
            const LineDef& ahead = level.lineDefs[i + kAhead];
            for (uint16_t side : {ahead.sideDef1, ahead.sideDef2})
                if (side < level.sideDefs.count)
                    __builtin_prefetch(&level.sideDefs[side]);
        }
        if (!vertexes.Ends(ld, s, e))
            continue;
        const int colour = colourOf(ld);
        if (colour != drawing)
            SetColor(drawing = colour);
        if (marked)
            DrawMarkedLine(screen, marks.Mark(s->x, s->y, e->x, e->y));
        else
            screen.line(s->x, s->y, e->x, e->y);
    }
}

void DrawBorder() {
    SetColor(kLightGrey);
    Screen().line(0, 0, 0, view.maxY);
    Screen().line(view.maxX, 0, view.maxX, view.maxY);
}

// The step between the grid lines drawn: the grid size doubled until the
// lines lie at least kMinGridGap pixels apart, so that a fine grid at a small
// scale thins out instead of filling the map area.
int32_t DrawnGridStep(int32_t size, float scale) {
    int32_t step = size;
    while (step * static_cast<double>(scale) < kMinGridGap && step < kMaxGridStep)
        step *= 2;
    return step;
}

// Grid lines over the map area, on the multiples of the drawn step. The
// bounds are computed in 32 bits, so the loop never wraps near the
// coordinate limits.
void DrawGrid() {
    if (!config.gridShown || config.gridSize <= 0)
        return;
    int32_t g = DrawnGridStep(config.gridSize, view.scale);
    Canvas& screen = Screen();
    SetRole(kColorGrid);
    screen.setlinestyle(config.gridDashed ? kDottedLine : kSolidLine, 0, kNormWidth);
    int32_t mask = ~(g - 1);
    int32_t x0 = ScreenToMapX(0) & mask;
    int32_t x1 = (ScreenToMapX(view.maxX) + g) & mask;
    int32_t y0 = (ScreenToMapY(view.maxY) - g) & mask;
    int32_t y1 = (view.origY + Trunc(static_cast<float>(view.centerY) / view.scale) + g) & mask;
    std::vector<int> columns;
    for (int32_t x = x0; x <= x1; x += g)
        columns.push_back(MapToScreenX(x));
    screen.columns(columns, MapToScreenY(y0), MapToScreenY(y1));
    for (int32_t y = y0; y <= y1; y += g)
        DrawMapLine(x0, y, x1, y);
    NormalStyle();
}

// The Vertex marker's width and height at the current scale.
void MarkerSize(int& w, int& h) {
    float s = view.scale;
    if (s <= 0.25f)
        w = 1, h = 1;
    else if (s <= 0.5f)
        w = 2, h = 3;
    else if (s <= 2.0f)
        w = 3, h = 4;
    else if (s <= 4.0f)
        w = 4, h = 5;
    else
        w = 6, h = 7;
}

// Where drawing lands on the screen, for passes that put pixels straight
// into the buffer as the canvas would: map-area pixel (x, y) is At(x, y)
// when a box holding it Fits.
class DirectPixels {
public:
    explicit DirectPixels(Canvas& screen) : base_(screen.pixels()), row_(screen.width()) {
        const Viewport area = screen.getviewport();
        left_ = area.left, top_ = area.top;
        minX_ = area.clip ? 0 : -area.left, minY_ = area.clip ? 0 : -area.top;
        maxX_ = (area.clip ? area.right : screen.getmaxx()) - area.left;
        maxY_ = (area.clip ? area.bottom : screen.getmaxy()) - area.top;
    }
    bool Fits(int left, int top, int right, int bottom) const {
        return left >= minX_ && top >= minY_ && right <= maxX_ && bottom <= maxY_;
    }
    uint8_t* At(int x, int y) const { return base_ + static_cast<ptrdiff_t>(y + top_) * row_ + x + left_; }

private:
    uint8_t* base_;
    ptrdiff_t row_;
    int left_, top_, minX_, minY_, maxX_, maxY_;
};

void DrawVertexMarkers() {
    Image& marker = mapDraw.vertexMarker;
    MarkerSize(marker.width, marker.height);
    marker.pixels.assign(static_cast<size_t>(marker.width * marker.height),
                         static_cast<uint8_t>(MapColor(Role(kColorVertexSquare))));
    Canvas& screen = Screen();
    bool dot = marker.width == 1 && marker.height == 1;
    uint8_t colour = marker.pixels.empty() ? 0 : marker.pixels[0];
    // A dot is put in the buffer itself, clipped as putimage would.
    const DirectPixels direct(screen);
    for (const Vertex& v : level.vertices) {
        int px = MapToScreenX(v.x) - marker.width / 2;
        int py = MapToScreenY(v.y) - marker.height / 2;
        if (px < 0 || px > view.maxX || py < 0 || py > view.maxY)
            continue;
        if (!dot)
            screen.putimage(px, py, marker, kXorPut);
        else if (direct.Fits(px, py, px, py))
            *direct.At(px, py) ^= colour;
    }
}

// A Thing's cross at its pixel (sx, sy), in palette index colour.
void DrawThingCross(Canvas& screen, const DirectPixels& direct, const Thing& t, int sx, int sy, int colour) {
    if (screen.getcolor() != colour)
        screen.setcolor(colour);
    int x1 = MapToScreenX(t.x - kThingCrossSize), x2 = MapToScreenX(t.x + kThingCrossSize);
    int y1 = MapToScreenY(t.y + kThingCrossSize), y2 = MapToScreenY(t.y - kThingCrossSize);
    // Solid and thin in DrawThings: wholly where drawing lands, both strokes
    // go straight into the buffer.
    if (screen.getwritemode() == kCopyPut && direct.Fits(x1, y1, x2, y2)) {
        const auto index = static_cast<uint8_t>(colour);
        std::fill(direct.At(x1, sy), direct.At(x2, sy) + 1, index);
        for (int y = y1; y <= y2; ++y)
            *direct.At(sx, y) = index;
        return;
    }
    screen.line(x1, sy, x2, sy);
    screen.line(sx, y1, sx, y2);
}

// The logical colour under the sprites of Things.
int SpriteBackground() {
    return Role(CurrentEditMode() == kObjThing ? kColorBackGroundThings : kColorBackGround);
}

// The magnification of a sprite at the current scale (< 1 shrinks).
int SpriteMagnification() {
    float s = view.scale;
    int m = 1;
    if (s >= 2.0f) m = 2;
    if (s >= 4.0f) m = 3;
    if (s >= 8.0f) m = 4;
    if (s < 1.0f) m = 0;
    if (s < 0.5f) m = -1;
    if (s < 0.25f) m = -2;
    if (s < 0.125f) m = -3;
    if (s < 0.065f) m = -4;
    return m;
}

// A sprite no more than this many pixels across and down is drawn as a plain
// marker: at that size the picture shows nothing of itself.
constexpr int kFewPixels = 3;

// The picture of a Thing, as DrawPicture draws it centred at (sx, sy) on the
// map's background; damaged ones get DrawPicture's marks.
void DrawThingSprite(const Thing& t, int sx, int sy, const KeptPictureImage* sprite, int colour) {
    if (!sprite)
        return;
    if (!sprite->whole) {
        DrawPicture(sx, sy, -1, -1, nullptr, GetThingTypeSprite(static_cast<uint16_t>(t.type)), 0, 0,
                    SpriteMagnification(), SpriteBackground(), PictureAnchor::Centre);
        return;
    }
    const Image& image = sprite->image;
    if (image.width <= kFewPixels && image.height <= kFewPixels) {
        Screen().setfillstyle(kSolidFill, MapColor(colour));
        Screen().bar(sx - 1, sy - 1, sx + 1, sy + 1);
        return;
    }
    Screen().putimage(std::max(0, sx - image.width / 2), std::max(0, sy - image.height / 2), image, kCopyPut);
}

// A point at distance d map units from (x, y) in the direction of a Thing's
// angle (degrees).
void AlongAngle(const Thing& t, double d, int& x, int& y) {
    double a = t.angle * 182.0 * M_PI / 32768.0;
    x = t.x + Trunc(std::cos(a) * d);
    y = t.y + Trunc(std::sin(a) * d);
}

// The two sides of an arrowhead at (px, py) pointing away from (sx, sy),
// length pixels long, as offsets (hx, hy).
void ArrowHead(int sx, int sy, int px, int py, double length, int& hx, int& hy) {
    double ddx = sx - px, ddy = sy - py;
    double len = std::max(1.0, std::sqrt(ddx * ddx + ddy * ddy));
    hx = Trunc(ddx * length / len);
    hy = Trunc(ddy * length / len);
}

// What drawing a Thing takes from its type table: looked up once per type
// in a pass over the Things.
struct ThingLook {
    int radius;
    int colour;
    int filter;   // the display filter's switch for the type's category
};

int FilterOfCategory(uint16_t category) {
    switch (category) {
    case kThingCatStarts: return kFilterStarts;
    case kThingCatKeys: return kFilterKeys;
    case kThingCatEquipment: return kFilterEquipment;
    case kThingCatWeapons: return kFilterWeapons;
    case kThingCatAmmunition: return kFilterAmmunition;
    case kThingCatEnemies: return kFilterEnemies;
    default: return kFilterOther;
    }
}

ThingLook LookOf(uint16_t type) {
    return {GetThingTypeRadius(type), GetThingTypeColour(type),
            FilterOfCategory(GetThingTypeCategory(type))};
}

// The flag bits that the five flag switches of the filter let through.
int FilterFlagMask() {
    int mask = 0;
    for (int bit = 0; bit <= kFilterNetwork; ++bit)
        if (mapDraw.thingFilter[bit])
            mask |= 1 << bit;
    return mask;
}

bool FilterShows(int filter, int flags, int mask) {
    if (filter == kFilterOther)
        return mapDraw.thingFilter[kFilterOther];
    return mapDraw.thingFilter[filter] && (flags & mask) != 0;
}

// A Thing's shape on a canvas: its circle (or disc in the fill pattern),
// the heading line through (sx, sy) to (px, py) and the arrowhead there.
void DrawShapeOn(Canvas& canvas, int sx, int sy, int px, int py, int r, int colour, int pattern) {
    int index = MapColor(colour);
    canvas.setcolor(index);
    if (pattern == 0) {
        canvas.circle(sx, sy, r);
    } else {
        canvas.setfillstyle(pattern, index);
        canvas.fillellipse(sx, sy, r, r);
    }
    canvas.setcolor(MapColor(Role(kColorMenu)));
    canvas.line(2 * sx - px, 2 * sy - py, px, py);
    int hx, hy;
    ArrowHead(sx, sy, px, py, 12.0 * view.scale, hx, hy);
    if (pattern == 0)
        canvas.setcolor(index);
    if (hx == 0 && hy == 0) {   // the arrowhead shrinks to its tip
        canvas.putpixel(px, py, canvas.getcolor());
        return;
    }
    canvas.setfillstyle(kSolidFill, canvas.getcolor());
    const int corners[6] = {px, py, px + hx - hy, py + hy + hx, px + hx + hy, py + hy - hx};
    canvas.fillpoly(3, corners);
}

int FillPattern() { return std::clamp<int>(config.thingFillPattern, 0, kFillPatterns - 1); }

int ShapeRadius(const ThingLook& look) { return std::max(1, Trunc(look.radius * view.scale)); }

// The outline shape (fill pattern 0) of radius r with the heading point at
// (dx, dy) from the centre, as a stamp: drawn on two scratch canvases of
// different backgrounds, the pixels the drawing sets come out alike. Every
// part of the shape is drawn the same wherever it lies, so putting the stamp
// at a Thing draws what drawing the shape there would.
ThingStamp MakeStamp(int r, int colour, int dx, int dy) {
    int hx, hy;
    ArrowHead(0, 0, dx, dy, 12.0 * view.scale, hx, hy);
    int e = r + 2 * (std::abs(dx) + std::abs(dy)) + std::abs(hx) + std::abs(hy) + 2;
    int side = 2 * e + 1;
    Canvas a(side, side), b(side, side);
    b.setbkcolor(255);
    b.cleardevice();
    DrawShapeOn(a, e, e, e + dx, e + dy, r, colour, 0);
    DrawShapeOn(b, e, e, e + dx, e + dy, r, colour, 0);
    ThingStamp stamp;
    for (int i = 0; i < side * side; ++i) {
        if (a.pixels()[i] != b.pixels()[i])
            continue;
        int x = i % side - e, y = i / side - e;
        stamp.pixels.push_back({x, y, a.pixels()[i]});
        stamp.left = std::min(stamp.left, x), stamp.right = std::max(stamp.right, x);
        stamp.top = std::min(stamp.top, y), stamp.bottom = std::max(stamp.bottom, y);
    }
    return stamp;
}

// Shapes up to this radius and heading length in pixels are stamped; larger
// ones are few on the screen.
constexpr int kMaxStampSize = 64;
constexpr size_t kMaxStamps = 4096;

// The stamp of an outline shape, made at its first use at the current scale.
const ThingStamp& StampFor(int r, int colour, int dx, int dy) {
    auto& stamps = mapDraw.thingStamps;
    if (mapDraw.stampScale != view.scale || stamps.size() >= kMaxStamps) {
        stamps.clear();
        ++mapDraw.stampsCleared;
        mapDraw.stampScale = view.scale;
    }
    uint64_t key = uint64_t(r) << 32 | uint64_t(MapColor(colour) & 0xFF) << 24 |
                   uint64_t(MapColor(Role(kColorMenu)) & 0xFF) << 16 | uint64_t(uint8_t(dx)) << 8 |
                   uint64_t(uint8_t(dy));
    auto found = stamps.find(key);
    if (found == stamps.end())
        found = stamps.emplace(key, MakeStamp(r, colour, dx, dy)).first;
    return found->second;
}

// What a pass over the Things needs of one type, worked out at the first
// Thing of the type.
class TypeDrawing {
public:
    explicit TypeDrawing(int16_t type)
        : type(type), look(LookOf(static_cast<uint16_t>(type))), radius(ShapeRadius(look)) {}

    // The picture of the type at the current scale on the sprites'
    // background; nullptr without one.
    const KeptPictureImage* Sprite() {
        if (!spriteKnown_) {
            sprite_ = KeptPicture(GetThingTypeSprite(static_cast<uint16_t>(type)), SpriteMagnification(),
                                  static_cast<uint8_t>(MapColor(SpriteBackground())));
            spriteKnown_ = true;
        }
        return sprite_.get();
    }

    // The stamp of the type's outline shape with its heading point at
    // (dx, dy) from the centre; remembered, as a pass meets few headings.
    const ThingStamp& StampAt(int dx, int dy) {
        uint32_t key = uint32_t(uint8_t(dx)) << 8 | uint8_t(dy);
        StampSlot& slot = stamps_[(key * 2654435761u) >> 27];
        if (!slot.stamp || slot.dx != dx || slot.dy != dy || slot.cleared != mapDraw.stampsCleared) {
            slot.stamp = &StampFor(radius, look.colour, dx, dy);
            slot.dx = dx, slot.dy = dy, slot.cleared = mapDraw.stampsCleared;
        }
        return *slot.stamp;
    }

    const int16_t type;
    const ThingLook look;
    const int radius;   // of the shape, in pixels at the current scale

private:
    struct StampSlot {
        int dx = 0, dy = 0;
        unsigned cleared = 0;   // mapDraw.stampsCleared when stamp was found
        const ThingStamp* stamp = nullptr;
    };
    std::array<StampSlot, 32> stamps_{};
    std::shared_ptr<const KeptPictureImage> sprite_;
    bool spriteKnown_ = false;
};

// A pass over all Things: the looks and pictures of their types and the
// directions of their angles, each worked out once.
class ThingPass {
public:
    // The type's entry: the one last used for a type of the same low byte
    // (a level has few types, seldom two of one low byte), else found or made.
    TypeDrawing& Type(int16_t type) {
        TypeDrawing*& recent = recent_[static_cast<uint8_t>(type)];
        if (!recent || recent->type != type) {
            auto found = index_.find(type);
            if (found == index_.end())
                found = index_.emplace(type, &types_.emplace_back(type)).first;
            recent = found->second;
        }
        return *recent;
    }

    // The point 16 map units from the Thing in the direction of its angle.
    // The entry of the angle's low byte is kept: a level's angles are few.
    void Heading(const Thing& t, int& x, int& y) {
        HeadingSlot& h = headings_[static_cast<uint8_t>(t.angle)];
        if (!h.known || h.angle != t.angle) {
            double a = t.angle * 182.0 * M_PI / 32768.0;
            h = {t.angle, true, Trunc(std::cos(a) * 16.0), Trunc(std::sin(a) * 16.0)};
        }
        x = t.x + h.x;
        y = t.y + h.y;
    }

    // Whether a key waits, so that the pictures still to draw are left out.
    // The keyboard is asked only every kKeyCheckEvery pictures: asking costs
    // more than drawing a small picture.
    bool KeyPressed() {
        if (!keyPressed_ && pictures_++ % kKeyCheckEvery == 0)
            keyPressed_ = KeyWaiting() != 0;
        return keyPressed_;
    }

private:
    static constexpr unsigned kKeyCheckEvery = 64;
    unsigned pictures_ = 0;
    bool keyPressed_ = false;
    std::deque<TypeDrawing> types_;   // entries stay where they are as more are added
    std::unordered_map<int16_t, TypeDrawing*> index_;
    std::array<TypeDrawing*, 256> recent_{};
    struct HeadingSlot {
        int16_t angle;
        bool known;
        int x, y;
    };
    std::array<HeadingSlot, 256> headings_{};
};

// Whether a Thing at pixel (sx, sy) is drawn in full: inside the map area,
// clear of its bottom rows.
bool InThingArea(int sx, int sy) {
    return 0 < sy && sy < view.maxY - kThingMarginBottom && 0 <= sx && sx < view.maxX;
}

// How far from its centre, in pixels, a Thing's cross reaches, and a pixel
// more.
int CrossReach() { return Trunc(kThingCrossSize * view.scale) + 1; }

// Whether a cross of half-size r pixels at (sx, sy) can touch the map area.
bool CrossInView(int sx, int sy, int r) {
    return sx + r >= 0 && sx - r <= view.maxX && sy + r >= 0 && sy - r <= view.maxY;
}

// A stamp centred on (sx, sy): straight into the buffer when it lies wholly
// where drawing lands.
void PutStamp(Canvas& screen, int sx, int sy, const ThingStamp& stamp) {
    uint8_t* centre = screen.pixelsAround(sx, sy, stamp.left, stamp.top, stamp.right, stamp.bottom);
    if (!centre) {
        for (const ThingStampPixel& p : stamp.pixels)
            screen.putpixel(sx + p.dx, sy + p.dy, p.index);
        return;
    }
    const ptrdiff_t row = screen.width();
    for (const ThingStampPixel& p : stamp.pixels)
        centre[p.dy * row + p.dx] = p.index;
}

// A Thing drawn in full: its sprite, or its shape (stamped when asked for
// and the shape is an outline not too large).
void DrawThingFull(const Thing& t, int sx, int sy, TypeDrawing& type, ThingPass& pass,
                   bool stamped) {
    if (mapDraw.thingPictures) {
        if (!pass.KeyPressed())
            DrawThingSprite(t, sx, sy, type.Sprite(), type.look.colour);
        return;
    }
    int tx, ty;
    pass.Heading(t, tx, ty);
    int px = MapToScreenX(tx), py = MapToScreenY(ty);
    int r = type.radius;
    int pattern = FillPattern();
    Canvas& screen = Screen();
    int dx = px - sx, dy = py - sy;
    if (!stamped || pattern != 0 || r > kMaxStampSize || std::abs(dx) > kMaxStampSize ||
        std::abs(dy) > kMaxStampSize) {
        DrawShapeOn(screen, sx, sy, px, py, r, type.look.colour, pattern);
        return;
    }
    PutStamp(screen, sx, sy, type.StampAt(dx, dy));
}

// --- Highlights ---------------------------------------------------------------
//
// Highlights are XOR drawings, so that drawing one twice removes it. The XOR
// value of each stroke is chosen from what lies under it (the map's
// background, the object's own line, or the selection's mark), so that on the
// screen the highlight comes out in its own colour rather than a mix of
// palette indexes. The selection's mark of an object and the highlight of the
// highlighted object are drawn so that they either cover different pixels
// (boxes of Things and Vertexes) or the highlight knows the mark is beneath it
// (LineDefs).

// Palette indexes.
int BackgroundIndex() {
    return MapColor(Role(graphics.thingsPictureMode ? kColorBackGroundThings : kColorBackGround));
}

// One pixel row of a stroke: its offset across the line's major axis and the
// palette index it lies on.
struct Layer {
    int offset;
    int under;
};

// A line in XOR, one pixel wide per layer, each layer turning what lies under
// it into the target palette index. The layers are parallel copies of the
// same line, so every pixel is written once.
void XorStroke(const Segment& p, int target, std::initializer_list<Layer> layers) {
    Canvas& screen = Screen();
    bool xMajor = std::abs(p[2] - p[0]) >= std::abs(p[3] - p[1]);
    for (const Layer& layer : layers) {
        int ox = xMajor ? 0 : layer.offset, oy = xMajor ? layer.offset : 0;
        screen.setcolor(layer.under ^ target);
        screen.line(p[0] + ox, p[1] + oy, p[2] + ox, p[3] + oy);
    }
}

// What a LineDef's own pixels are: its colour on the line (three pixels wide
// with "Thick Lines"), the background beside it.
struct LineUnder {
    int line, side, background;
};

LineUnder UnderLineDef(int n) {
    int background = BackgroundIndex();
    int line = MapColor(LineDefColour(n));
    return {line, config.lineThickness == 3 ? line : background, background};
}

// The selection's mark of a LineDef: the line two pixels wide, its tick and
// arrowhead one pixel wide.
void MarkSelectedLine(int n, const MarkedLine& m, bool marks) {
    int target = MapColor(kSelectColour);
    LineUnder u = UnderLineDef(n);
    XorStroke(m.Line(), target, {{0, u.line}, {1, u.side}});
    if (!marks)
        return;
    if (m.ticked)
        XorStroke(m.Tick(), target, {{0, u.background}});
    if (m.arrow) {
        XorStroke(m.Arrow(1), target, {{0, u.background}});
        XorStroke(m.Arrow(-1), target, {{0, u.background}});
    }
}

// The highlight of a LineDef: three pixels wide, over the selection's mark
// when the LineDef carries one.
void HighlightLine(int n, const MarkedLine& m, bool marks, bool selected, int target) {
    LineUnder u = UnderLineDef(n);
    int mark = MapColor(kSelectColour);
    XorStroke(m.Line(), target, {{-1, u.side}, {0, selected ? mark : u.line}, {1, selected ? mark : u.side}});
    if (!marks)
        return;
    int middle = selected ? mark : u.background;
    std::initializer_list<Layer> thick = {{-1, u.background}, {0, middle}, {1, u.background}};
    if (m.ticked)
        XorStroke(m.Tick(), target, thick);
    if (m.arrow) {
        XorStroke(m.Arrow(1), target, thick);
        XorStroke(m.Arrow(-1), target, thick);
    }
}

// Which LineDefs carry the selection's mark: the selected LineDefs, or those
// beside a selected Sector.
std::vector<bool> MarkedLineDefs() {
    std::vector<bool> marked(static_cast<size_t>(level.lineDefs.count), false);
    int mode = CurrentEditMode();
    if (mode == kObjLineDef) {
        for (int n : selection.list)
            if (ValidLineDef(n))
                marked[static_cast<size_t>(n)] = true;
    } else if (mode == kObjSector) {
        std::vector<bool> sectors(static_cast<size_t>(level.sectors.count), false);
        for (int n : selection.list)
            if (ValidSector(n))
                sectors[static_cast<size_t>(n)] = true;
        auto listed = [&](int sideDef) {
            const SideDef* sd = SideDefAt(sideDef);
            return sd && ValidSector(sd->sector) && sectors[static_cast<size_t>(sd->sector)];
        };
        for (int l = 0; l < level.lineDefs.count; ++l)
            marked[static_cast<size_t>(l)] = listed(level.lineDefs[l].sideDef1) || listed(level.lineDefs[l].sideDef2);
    }
    return marked;
}

bool Marked(const std::vector<bool>& marked, int n) { return marked[static_cast<size_t>(n)]; }

MarkedLine MarkLineDef(int n, Arrowhead arrowhead) {
    const Vertex *s, *e;
    if (!LineDefEnds(level.lineDefs[n], s, e))
        return MarkedLine{};
    return MarkLine(s->x, s->y, e->x, e->y, arrowhead);
}

bool HasEnds(int n) {
    const Vertex *s, *e;
    return LineDefEnds(level.lineDefs[n], s, e);
}

// Half the side of the boxes around a Thing, in pixels: the selection's box
// clears the Thing's shape and is at least 11 pixels across; the highlight's
// box lies outside it.
int ThingBoxHalf(const Thing& t) {
    int r = GetThingTypeRadius(static_cast<uint16_t>(t.type));
    int half = std::max(Trunc((r + 2) * view.scale), Trunc(r * view.scale) + 3);
    return std::max(half, 4);
}
constexpr int kThickBoxGap = 3;

// Half the side of the boxes around a Vertex: at least 5 pixels across for the
// selection, clear of the Vertex marker; the highlight's box outside it.
int VertexBoxHalf(int width) { return std::max(Trunc(7 * view.scale), width == kThickWidth ? 3 : 2); }

void XorBox(int sx, int sy, int half, int colour) {
    Screen().setcolor(BackgroundIndex() ^ MapColor(colour));
    Screen().rectangle(sx - half, sy - half, sx + half, sy + half);
}

int LineWidthSetting() { return config.lineThickness == 3 ? kThickWidth : kNormWidth; }

void HighlightThing(const Thing& t, int colour) {
    SetLineWidth(kThickWidth);
    int sx = MapToScreenX(t.x), sy = MapToScreenY(t.y);
    XorBox(sx, sy, ThingBoxHalf(t) + kThickBoxGap, colour);
    int ex, ey;
    AlongAngle(t, 45.0, ex, ey);
    int px = MapToScreenX(ex), py = MapToScreenY(ey);
    int hx, hy;
    ArrowHead(sx, sy, px, py, 12.0 * view.scale, hx, hy);
    Canvas& screen = Screen();
    screen.line(2 * sx - px, 2 * sy - py, px, py);
    screen.line(px, py, px + hx - hy, py + hy + hx);
    screen.line(px, py, px + hx + hy, py + hy - hx);
}

void HighlightVertex(const Vertex& v, int colour) {
    int width = LineWidthSetting();
    SetLineWidth(width);
    XorBox(MapToScreenX(v.x), MapToScreenY(v.y), VertexBoxHalf(width) + 1 + width, colour);
}

bool SideInSector(int sideDef, int sector) {
    const SideDef* sd = SideDefAt(sideDef);
    return sd && sd->sector == sector;
}

bool BesideSector(const LineDef& ld, int sector) {
    return SideInSector(ld.sideDef1, sector) || SideInSector(ld.sideDef2, sector);
}

void HighlightTaggedSectors(int tag, const std::vector<bool>& marked);
void HighlightTaggedLineDefs(int tag, const std::vector<bool>& marked);

void HighlightLineDef(int n, int colour, const std::vector<bool>& marked) {
    const LineDef& ld = level.lineDefs[n];
    if (HasEnds(n))
        HighlightLine(n, MarkLineDef(n, Arrowhead::AtEnd), true, Marked(marked, n), MapColor(colour));
    if (colour != kTagColour && ld.tag > 0)
        HighlightTaggedSectors(ld.tag, marked);
}

void HighlightSector(int n, int colour, const std::vector<bool>& marked) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (BesideSector(level.lineDefs[l], n) && HasEnds(l))
            HighlightLine(l, MarkLineDef(l, Arrowhead::None), false, Marked(marked, l), MapColor(colour));
    int tag = level.sectors[n].tag;
    if (colour != kTagColour && tag > 0)
        HighlightTaggedLineDefs(tag, marked);
}

void HighlightTaggedSectors(int tag, const std::vector<bool>& marked) {
    for (int s = 0; s < level.sectors.count; ++s)
        if (level.sectors[s].tag == tag)
            HighlightSector(s, kTagColour, marked);
}

void HighlightTaggedLineDefs(int tag, const std::vector<bool>& marked) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (level.lineDefs[l].tag == tag)
            HighlightLineDef(l, kTagColour, marked);
}

// XOR mode; the destructor restores the normal style and copy mode.
class XorDrawing {
public:
    XorDrawing() { Screen().setwritemode(kXorPut); }
    ~XorDrawing() {
        NormalStyle();
        Screen().setwritemode(kCopyPut);
    }
    XorDrawing(const XorDrawing&) = delete;
    XorDrawing& operator=(const XorDrawing&) = delete;
};

void MarkSelectedSectors(const SelectionList& list) {
    std::vector<bool> listed(static_cast<size_t>(level.sectors.count), false);
    for (int n : list)
        if (ValidSector(n))
            listed[static_cast<size_t>(n)] = true;
    auto inList = [&](int sideDef) {
        const SideDef* sd = SideDefAt(sideDef);
        return sd && ValidSector(sd->sector) && listed[static_cast<size_t>(sd->sector)];
    };
    {
        XorDrawing xorMode;
        SetLineWidth(kNormWidth);
        for (int l = 0; l < level.lineDefs.count; ++l) {
            const LineDef& ld = level.lineDefs[l];
            if ((inList(ld.sideDef1) || inList(ld.sideDef2)) && HasEnds(l))
                MarkSelectedLine(l, MarkLineDef(l, Arrowhead::None), false);
        }
    }
    // Drawn as if nothing were marked, so that the XOR values do not depend
    // on the rest of the selection.
    std::vector<bool> none(static_cast<size_t>(level.lineDefs.count), false);
    XorDrawing xorMode;
    for (int n : list)
        if (ValidSector(n) && level.sectors[n].tag > 0)
            HighlightTaggedLineDefs(level.sectors[n].tag, none);
}

// The selection's mark of one object of another kind than Sector.
void MarkSelected(int type, int n) {
    XorDrawing xorMode;
    switch (type) {
    case kObjThing:
        if (const Thing* t = ThingAt(n)) {
            SetLineWidth(kThickWidth);
            XorBox(MapToScreenX(t->x), MapToScreenY(t->y), ThingBoxHalf(*t), kSelectColour);
        }
        break;
    case kObjLineDef:
        if (ValidLineDef(n) && HasEnds(n)) {
            SetLineWidth(kNormWidth);
            MarkSelectedLine(n, MarkLineDef(n, Arrowhead::AtEnd), true);
        }
        break;
    case kObjVertex:
        if (const Vertex* v = VertexAt(n)) {
            int width = LineWidthSetting();
            SetLineWidth(width);
            XorBox(MapToScreenX(v->x), MapToScreenY(v->y), VertexBoxHalf(width), kSelectColour);
        }
        break;
    default:
        break;
    }
}

}  // namespace

void SyncMapBackground() {
    graphics.thingsPictureMode = mapDraw.thingPictures && CurrentEditMode() == kObjThing;
}

void SetThingPictures(bool on) {
    mapDraw.thingPictures = on;
    SyncMapBackground();
}

int LineDefColour(int n) {
    const LineDef* ld = LineDefAt(n);
    return ld ? LineDefColourIn(*ld, CurrentEditMode()) : Role(kColorTwoSided);
}

void DrawMapLine(int x1, int y1, int x2, int y2) {
    Screen().line(MapToScreenX(x1), MapToScreenY(y1), MapToScreenX(x2), MapToScreenY(y2));
}

void DrawMapRect(int x1, int y1, int x2, int y2) {
    Screen().rectangle(MapToScreenX(x1), MapToScreenY(y1), MapToScreenX(x2), MapToScreenY(y2));
}

void DrawMapCross(int x, int y, int r) {
    DrawMapLine(x - r, y, x + r, y);
    DrawMapLine(x, y - r, x, y + r);
}

void DrawMapLineMarked(int x1, int y1, int x2, int y2, Arrowhead arrowhead) {
    DrawMarkedLine(Screen(), MarkLine(x1, y1, x2, y2, arrowhead));
}

void DrawMap(MapDrawing drawing) {
    bool pointerShown = !input.pointerHidden;
    PointerGuard guard;
    Screen().setwritemode(kCopyPut);
    NormalStyle();
    ++mapDraw.drawings;
    if (drawing == MapDrawing::Quick) {
        DrawLineDefsQuick(pointerShown);
        mapDraw.mapComplete = false;
        return;
    }
    SyncMapBackground();
    ClearMapArea();
    selection.currentDrawn = false;   // the highlights went with the old picture
    selection.box.drawn = false;
    if (config.mapBorder)
        DrawBorder();
    DrawGrid();
    NormalStyle();
    DrawLineDefs(CurrentEditMode());
    mapDraw.mapComplete = true;
    DrawThings();
}

void DrawThings() {
    PointerGuard guard;
    int mode = CurrentEditMode();
    if (mode == kObjVertex)
        DrawVertexMarkers();
    SetLineWidth(kNormWidth);
    ThingPass pass;
    int mask = FilterFlagMask();
    bool thingsMode = mode == kObjThing;
    int reach = CrossReach();
    Canvas& screen = Screen();
    const DirectPixels direct(screen);
    const int crossColour = MapColor(Role(kColorTwoSided));
    for (const Thing& t : level.things) {
        int sx = MapToScreenX(t.x), sy = MapToScreenY(t.y);
        if (!CrossInView(sx, sy, reach))   // nor in the area where Things are drawn in full
            continue;
        bool full = !thingsMode && config.thingPicture != 0;
        TypeDrawing* type = nullptr;
        if (thingsMode || full) {
            type = &pass.Type(t.type);
            full = full || FilterShows(type->look.filter, t.flags, mask);
        }
        if (!full)
            DrawThingCross(screen, direct, t, sx, sy, crossColour);
        else if (InThingArea(sx, sy))
            DrawThingFull(t, sx, sy, *type, pass, true);
    }
    NormalStyle();
}

void DrawThing(int n) {
    const Thing* t = ThingAt(n);
    if (!t)
        return;
    int sx = MapToScreenX(t->x), sy = MapToScreenY(t->y);
    if (!InThingArea(sx, sy))
        return;
    PointerGuard guard;
    ThingPass pass;
    DrawThingFull(*t, sx, sy, pass.Type(t->type), pass, false);
}

bool ThingShown(const Thing& t) {
    uint16_t category = GetThingTypeCategory(static_cast<uint16_t>(t.type));
    return FilterShows(FilterOfCategory(category), t.flags, FilterFlagMask());
}

void HighlightObject(int type, int n, int colour) {
    if (n < 0)
        return;
    PointerGuard guard;
    XorDrawing xorMode;
    SetLineWidth(kNormWidth);
    switch (type) {
    case kObjThing:
        if (const Thing* t = ThingAt(n))
            HighlightThing(*t, colour);
        break;
    case kObjLineDef:
        if (ValidLineDef(n))
            HighlightLineDef(n, colour, MarkedLineDefs());
        break;
    case kObjVertex:
        if (const Vertex* v = VertexAt(n))
            HighlightVertex(*v, colour);
        break;
    case kObjSector:
        if (ValidSector(n))
            HighlightSector(n, colour, MarkedLineDefs());
        break;
    default:
        break;
    }
}

void HighlightSelection(int type, const SelectionList& list) {
    PointerGuard guard;
    if (type == kObjSector) {
        MarkSelectedSectors(list);
        return;
    }
    for (int n : list)
        MarkSelected(type, n);
}

void MarkSelectedObject(int type, int n) {
    PointerGuard guard;
    if (type != kObjSector) {
        MarkSelected(type, n);
        return;
    }
    SelectionList one;
    SelectObject(one, n);
    MarkSelectedSectors(one);
    ForgetSelection(one);
}

bool ShowPointerCoordinates(int x, int y, int background, int textColour, Refresh refresh) {
    int px = view.pointerX, py = view.pointerY;
    if (mapDraw.mapCoordinates) {
        px = ScreenToMapX(view.pointerX);
        py = ScreenToMapY(view.pointerY);
    }
    int count = ListedObjectCount();
    if (refresh == Refresh::IfChanged && mapDraw.coordsShown && count == mapDraw.shownCount &&
        px == mapDraw.shownX && py == mapDraw.shownY)
        return false;
    mapDraw.coordsShown = true;
    mapDraw.shownCount = count, mapDraw.shownX = px, mapDraw.shownY = py;
    char text[40];
    std::snprintf(text, sizeof text, "%2d %d,%d", count, px, py);
    PointerGuard guard;
    Canvas& screen = Screen();
    Viewport old = screen.getviewport();
    screen.setviewport(0, 0, screen.getmaxx(), screen.getmaxy(), true);
    FillBox(x, y, x + 20 * graphics.charW, y + graphics.charH, background);
    SetColor(textColour);
    screen.outtextxy(x, y, text);
    screen.setviewport(old.left, old.top, old.right, old.bottom, old.clip);
    return true;
}
