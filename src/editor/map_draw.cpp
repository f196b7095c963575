#include "editor/map_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "editor/view.h"
#include "gamedefs/gamedefs.h"
#include "gamedefs/thingtypes.h"
#include "level/level.h"
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

// The Sector a SideDef faces, nullptr when either is missing.
const Sector* FacedSector(const SideDef* sd) { return sd ? SectorAt(sd->sector) : nullptr; }

int SectorModeColour(const LineDef& ld) {
    const Sector* front = FacedSector(SideDefAt(ld.sideDef1));
    if (!front)
        return Role(kColorBadTag);
    int colour = front->tag > 0    ? Role(kColorTagged)
                 : front->type > 0 ? Role(kColorNotNormalSector)
                                   : FlagColour(ld.flags, Role(kColorTwoSided));
    const SideDef* second = SideDefAt(ld.sideDef2);
    if (!second)
        return colour;
    const Sector* back = FacedSector(second);
    if (!back)
        return Role(kColorBadTag);
    if (back->tag > 0)
        return Role(kColorTagged);
    if (back->type > 0)
        return Role(kColorNotNormalSector);
    return colour;
}

int OtherModeColour(const LineDef& ld, int mode) {
    if (ld.type > 0 && ld.tag > 0)
        return Role(kColorTagged);
    if (ld.type > 0)
        return Role(kColorNotNormalLine);
    if (ld.tag > 0)
        return Role(kColorBadTag);
    int plain = Role(kColorTwoSided);
    if (mode == kObjThing)
        plain = Role(mapDraw.thingPictures ? kColorBackGroundThingLines : kColorOneSided);
    return FlagColour(ld.flags, plain);
}

bool LineDefEnds(const LineDef& ld, const Vertex*& s, const Vertex*& e) {
    s = VertexAt(ld.start);
    e = VertexAt(ld.end);
    return s && e;
}

void DrawLineDef(int n) {
    const Vertex *s, *e;
    if (LineDefEnds(level.lineDefs[n], s, e))
        DrawMapLine(s->x, s->y, e->x, e->y);
}

void DrawLineDefMarked(int n, Arrowhead arrowhead) {
    const Vertex *s, *e;
    if (LineDefEnds(level.lineDefs[n], s, e))
        DrawMapLineMarked(s->x, s->y, e->x, e->y, arrowhead);
}

void DrawLineDefsQuick(bool pointerShown) {
    SetRole(kColorTwoSided);
    for (int i = 0; i < level.lineDefs.count; ++i) {
        DrawLineDef(i);
        if (pointerShown && (i + 1) % kQuickDrawPulse == 0) {
            ShowPointer();
            HidePointer();
        }
    }
}

void DrawLineDefs(int mode) {
    if (mode != kObjThing && mode != kObjLineDef && mode != kObjVertex && mode != kObjSector)
        return;
    bool marked = mode == kObjVertex;
    Arrowhead arrowhead = config.vertexArrows ? Arrowhead::AtEnd : Arrowhead::None;
    for (int i = 0; i < level.lineDefs.count; ++i) {
        SetColor(LineDefColour(i));
        if (marked)
            DrawLineDefMarked(i, arrowhead);
        else
            DrawLineDef(i);
    }
}

void DrawBorder() {
    SetColor(kLightGrey);
    Screen().line(0, 0, 0, view.MaxY);
    Screen().line(view.MaxX, 0, view.MaxX, view.MaxY);
}

// Grid lines every G map units over the map area. The bounds are computed
// in 32 bits, so the loop never wraps near the coordinate limits; a line
// that falls on the same pixels as the previous one is not drawn again.
void DrawGrid() {
    int32_t g = config.gridSize;
    if (!config.gridShown || g <= 0)
        return;
    Canvas& screen = Screen();
    SetRole(kColorGrid);
    screen.setlinestyle(config.gridDashed ? kDottedLine : kSolidLine, 0, kNormWidth);
    int32_t mask = ~(g - 1);
    int32_t x0 = ScreenToMapX(0) & mask;
    int32_t x1 = (ScreenToMapX(view.MaxX) + g) & mask;
    int32_t y0 = (ScreenToMapY(view.MaxY) - g) & mask;
    int32_t y1 = (view.OrigY + Trunc(static_cast<float>(view.CenterY) / view.Scale) + g) & mask;
    int lastPixel = 0;
    bool first = true;
    for (int32_t x = x0; x <= x1; x += g) {
        int px = MapToScreenX(x);
        if (first || px != lastPixel)
            DrawMapLine(x, y0, x, y1);
        first = false;
        lastPixel = px;
    }
    first = true;
    for (int32_t y = y0; y <= y1; y += g) {
        int py = MapToScreenY(y);
        if (first || py != lastPixel)
            DrawMapLine(x0, y, x1, y);
        first = false;
        lastPixel = py;
    }
    NormalStyle();
}

// The Vertex marker's width and height at the current scale.
void MarkerSize(int& w, int& h) {
    float s = view.Scale;
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

void DrawVertexMarkers() {
    Image& marker = mapDraw.vertexMarker;
    MarkerSize(marker.width, marker.height);
    marker.pixels.assign(static_cast<size_t>(marker.width * marker.height),
                         static_cast<uint8_t>(MapColor(Role(kColorVertexSquare))));
    Canvas& screen = Screen();
    for (const Vertex& v : level.vertices) {
        int px = MapToScreenX(v.x) - marker.width / 2;
        int py = MapToScreenY(v.y) - marker.height / 2;
        if (px >= 0 && px <= view.MaxX && py >= 0 && py <= view.MaxY)
            screen.putimage(px, py, marker, kXorPut);
    }
}

void DrawThingCross(const Thing& t) {
    SetRole(kColorTwoSided);
    DrawMapCross(t.x, t.y, kThingCrossSize);
}

// The magnification of a sprite at the current scale (< 1 shrinks).
int SpriteMagnification() {
    float s = view.Scale;
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

void DrawThingSprite(const Thing& t, int sx, int sy) {
    bool thingsMode = CurrentEditMode() == kObjThing;
    int background = Role(thingsMode ? kColorBackGroundThings : kColorBackGround);
    DrawPicture(sx, sy, -1, -1, nullptr, GetThingTypeSprite(static_cast<uint16_t>(t.type)), 0, 0,
                SpriteMagnification(), background, PictureAnchor::Centre);
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

void DrawThingShape(const Thing& t, int sx, int sy) {
    Canvas& screen = Screen();
    uint16_t type = static_cast<uint16_t>(t.type);
    int tx, ty;
    AlongAngle(t, 16.0, tx, ty);
    int px = MapToScreenX(tx), py = MapToScreenY(ty);
    int r = std::max(1, Trunc(GetThingTypeRadius(type) * view.Scale));
    int colour = GetThingTypeColour(type);
    int pattern = std::clamp<int>(config.thingFillPattern, 0, kFillPatterns - 1);
    SetColor(colour);
    if (pattern == 0) {
        screen.circle(sx, sy, r);
    } else {
        screen.setfillstyle(pattern, MapColor(colour));
        screen.fillellipse(sx, sy, r, r);
    }
    SetRole(kColorMenu);
    screen.line(2 * sx - px, 2 * sy - py, px, py);
    int hx, hy;
    ArrowHead(sx, sy, px, py, 12.0 * view.Scale, hx, hy);
    if (pattern == 0)
        SetColor(colour);
    screen.setfillstyle(kSolidFill, screen.getcolor());
    const int corners[6] = {px, py, px + hx - hy, py + hy + hx, px + hx + hy, py + hy - hx};
    screen.fillpoly(3, corners);
}

void HighlightThing(const Thing& t) {
    SetLineWidth(kThickWidth);
    int r = GetThingTypeRadius(static_cast<uint16_t>(t.type)) + 2;
    DrawMapRect(t.x - r, t.y - r, t.x + r, t.y + r);
    int ex, ey;
    AlongAngle(t, 45.0, ex, ey);
    DrawMapLine(2 * t.x - ex, 2 * t.y - ey, ex, ey);
    int sx = MapToScreenX(t.x), sy = MapToScreenY(t.y);
    int px = MapToScreenX(ex), py = MapToScreenY(ey);
    int hx, hy;
    ArrowHead(sx, sy, px, py, 12.0 * view.Scale, hx, hy);
    Screen().line(px, py, px + hx - hy, py + hy + hx);
    Screen().line(px, py, px + hx + hy, py + hy - hx);
}

bool SideInSector(int sideDef, int sector) {
    const SideDef* sd = SideDefAt(sideDef);
    return sd && sd->sector == sector;
}

void HighlightTaggedSectors(int tag) {
    for (int s = 0; s < level.sectors.count; ++s)
        if (level.sectors[s].tag == tag)
            HighlightObject(kObjSector, s, kTagColour);
}

void HighlightTaggedLineDefs(int tag) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (level.lineDefs[l].tag == tag)
            HighlightObject(kObjLineDef, l, kTagColour);
}

void HighlightLineDef(int n, int colour) {
    const LineDef& ld = level.lineDefs[n];
    SetLineWidth(kThickWidth);
    DrawLineDefMarked(n, Arrowhead::AtEnd);
    if (colour != kTagColour && ld.tag > 0)
        HighlightTaggedSectors(ld.tag);
}

void HighlightSector(int n, int colour) {
    SetLineWidth(kThickWidth);
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (SideInSector(ld.sideDef1, n) || SideInSector(ld.sideDef2, n))
            DrawLineDef(l);
    }
    int tag = level.sectors[n].tag;
    if (colour != kTagColour && tag > 0)
        HighlightTaggedLineDefs(tag);
}

// XOR mode in a colour; the destructor restores the normal style and copy mode.
class XorDrawing {
public:
    explicit XorDrawing(int colour) {
        Screen().setwritemode(kXorPut);
        SetColor(colour);
    }
    ~XorDrawing() {
        NormalStyle();
        Screen().setwritemode(kCopyPut);
    }
    XorDrawing(const XorDrawing&) = delete;
    XorDrawing& operator=(const XorDrawing&) = delete;
};

void HighlightSectorList(const SelectionList& list) {
    std::vector<bool> listed(static_cast<size_t>(level.sectors.count), false);
    for (int n : list)
        if (ValidSector(n))
            listed[static_cast<size_t>(n)] = true;
    auto inList = [&](int sideDef) {
        const SideDef* sd = SideDefAt(sideDef);
        return sd && ValidSector(sd->sector) && listed[static_cast<size_t>(sd->sector)];
    };
    {
        XorDrawing xorMode(kSelectColour);
        SetLineWidth(kThickWidth);
        for (int l = 0; l < level.lineDefs.count; ++l) {
            const LineDef& ld = level.lineDefs[l];
            if (inList(ld.sideDef1) || inList(ld.sideDef2))
                DrawLineDef(l);
        }
    }
    for (int n : list)
        if (ValidSector(n) && level.sectors[n].tag > 0)
            HighlightTaggedLineDefs(level.sectors[n].tag);
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
    if (!ld)
        return Role(kColorTwoSided);
    int mode = CurrentEditMode();
    return SectorsMode(mode) ? SectorModeColour(*ld) : OtherModeColour(*ld, mode);
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
    Canvas& screen = Screen();
    int sx1 = MapToScreenX(x1), sy1 = MapToScreenY(y1);
    int sx2 = MapToScreenX(x2), sy2 = MapToScreenY(y2);
    double dx = sx1 - sx2, dy = sy1 - sy2;
    double f = view.Scale < 1.0f ? view.Scale : 1.0;
    bool lineDefsMode = CurrentEditMode() == kObjLineDef;
    double tick = lineDefsMode ? 18.0 : 14.0;
    double len = std::sqrt(dx * dx + dy * dy);
    if (len <= 0.5)
        len = 0.5;
    int mx = (sx1 + sx2) / 2, my = (sy1 + sy2) / 2;
    screen.line(mx, my, mx + Trunc(dy * tick * f / len), my + Trunc(-dx * tick * f / len));
    screen.line(sx1, sy1, sx2, sy2);
    if (arrowhead == Arrowhead::None)
        return;
    double a = lineDefsMode ? 6.0 : 4.0;
    int ax = Trunc(dx * a * f / len), ay = Trunc(dy * a * f / len);
    int bx = sx2 + 2 * ax, by = sy2 + 2 * ay;
    screen.line(bx - ay, by + ax, sx2, sy2);
    screen.line(bx + ay, by - ax, sx2, sy2);
}

void DrawMap(MapDrawing drawing) {
    bool pointerShown = !input.PointerHidden;
    PointerGuard guard;
    Screen().setwritemode(kCopyPut);
    NormalStyle();
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
    for (int i = 0; i < level.things.count; ++i) {
        const Thing& t = level.things[i];
        bool full = mode == kObjThing ? ThingShown(t) : config.thingPicture != 0;
        if (full)
            DrawThing(i);
        else
            DrawThingCross(t);
    }
    NormalStyle();
}

void DrawThing(int n) {
    const Thing* t = ThingAt(n);
    if (!t)
        return;
    int sx = MapToScreenX(t->x), sy = MapToScreenY(t->y);
    if (!(0 < sy && sy < view.MaxY - kThingMarginBottom && 0 <= sx && sx < view.MaxX))
        return;
    PointerGuard guard;
    if (mapDraw.thingPictures)
        DrawThingSprite(*t, sx, sy);
    else
        DrawThingShape(*t, sx, sy);
}

bool ThingShown(const Thing& t) {
    int mask = 0;
    for (int bit = 0; bit <= kFilterNetwork; ++bit)
        if (mapDraw.thingFilter[bit])
            mask |= 1 << bit;
    int filter;
    switch (GetThingTypeCategory(static_cast<uint16_t>(t.type))) {
    case kThingCatStarts: filter = kFilterStarts; break;
    case kThingCatKeys: filter = kFilterKeys; break;
    case kThingCatEquipment: filter = kFilterEquipment; break;
    case kThingCatWeapons: filter = kFilterWeapons; break;
    case kThingCatAmmunition: filter = kFilterAmmunition; break;
    case kThingCatEnemies: filter = kFilterEnemies; break;
    default: return mapDraw.thingFilter[kFilterOther];
    }
    return mapDraw.thingFilter[filter] && (t.flags & mask) != 0;
}

void HighlightObject(int type, int n, int colour) {
    if (n < 0)
        return;
    PointerGuard guard;
    XorDrawing xorMode(colour);
    switch (type) {
    case kObjThing:
        if (const Thing* t = ThingAt(n))
            HighlightThing(*t);
        break;
    case kObjLineDef:
        if (ValidLineDef(n))
            HighlightLineDef(n, colour);
        break;
    case kObjVertex:
        if (const Vertex* v = VertexAt(n)) {
            NormalStyle();
            DrawMapRect(v->x - 7, v->y - 7, v->x + 7, v->y + 7);
        }
        break;
    case kObjSector:
        if (ValidSector(n))
            HighlightSector(n, colour);
        break;
    default:
        break;
    }
}

void HighlightSelection(int type, const SelectionList& list) {
    PointerGuard guard;
    if (type == kObjSector) {
        HighlightSectorList(list);
        return;
    }
    for (int n : list)
        HighlightObject(type, n, kSelectColour);
}

bool ShowPointerCoordinates(int x, int y, int background, int textColour, Refresh refresh) {
    int px = view.PointerX, py = view.PointerY;
    if (mapDraw.mapCoordinates) {
        px = ScreenToMapX(view.PointerX);
        py = ScreenToMapY(view.PointerY);
    }
    int count = selection.selectedCount;
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
    FillBox(x, y, x + 20 * graphics.CharW, y + graphics.CharH, background);
    SetColor(textColour);
    screen.outtextxy(x, y, text);
    screen.setviewport(old.left, old.top, old.right, old.bottom, old.clip);
    return true;
}
