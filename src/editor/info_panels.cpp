#include "editor/info_panels.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "base/config.h"
#include "base/flavour.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/map_draw.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "gamedefs/generalized.h"
#include "gamedefs/linetypes.h"
#include "gamedefs/thingtypes.h"
#include "level/level.h"
#include "pictures/picture.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/picture_views.h"
#include "ui/sprite_views.h"
#include "wad/wadfile.h"

InfoPanelState infoPanels;

const char kNoPicture[] = "\x01";

namespace {

constexpr int kBlack = 0;
constexpr int kBlue = 1;
constexpr int kRed = 4;
constexpr int kYellow = 14;
constexpr int kPictureBackground = 8;
constexpr int kSpriteBox = 128;      // side of the Thing's picture box
constexpr int kWallBox = 64;         // side of a wall texture preview (textures at half size)
constexpr int kFlatBox = 64;         // a flat at its own size
constexpr int kMargin = 4;


int MenuColour() { return config.colors[kColorMenu]; }
int TitleColour() { return config.colors[kColorMenuHilite]; }
int NameColour() { return MenuColour() == 8 ? 7 : 8; }

// A framed panel whose text starts at the margin; remembers its rectangle.
void Frame(PanelRect& rect, int x1, int y1, int x2, int y2, int object) {
    rect = PanelRect{x1, y1, x2, y2, object};
    RaisedBox(x1, y1, x2, y2, MenuColour());
    graphics.textX = x1 + kMargin;
    graphics.textY = y1 + kMargin;
}

template <typename... Args>
void Line(int colour, const char* format, Args... args) {
    SetColor(colour);
    TextAt(-1, -1, format, args...);
}

// True when the box must be drawn again for this name, which it then keeps.
bool PictureChanged(int box, const std::string& name) {
    if (infoPanels.shown[box] == name)
        return false;
    infoPanels.shown[box] = name;
    ++infoPanels.picturesDrawn;
    return true;
}

}  // namespace

void DrawFramedSprite(int x1, int y1, int x2, int y2, const char* name) {
    SunkenBox(x1, y1, x2, y2, kPictureBackground);
    DrawSpriteBox(x1 + 2, y1 + 2, x2 - 2, y2 - 2, name);
}

namespace {

// --- Things ------------------------------------------------------------------

void ThingPanel(int n) {
    const int cw = graphics.charW, ch = graphics.charH, maxY = graphics.maxY;
    int top = maxY - (9 * ch + 4);
    const Thing* t = ThingAt(n);
    if (config.infoObjects) {
        Frame(infoPanels.panels[0], 0, top, 32 * cw + 6, top + 7 * ch + 2, t ? n : -1);
        if (!t) {
            SetColor(kBlack);
            TextAt(6 * cw, top + 2 * ch, "Use the cursor to");
            TextAt(6 * cw, -1, "select a Thing");
        } else {
            uint16_t type = static_cast<uint16_t>(t->type);
            Line(TitleColour(), "Thing       : %d", n);
            Line(kBlack, "Coordinates : %hd, %hd", t->x, t->y);
            Line(kBlack, "Type (%4hd) : %s", t->type, GetThingTypeDescription(type));
            Line(kBlack, "Angle       : %s", AngleText(t->angle));
            Line(kBlack, "Skill Level : %s", ThingFlagsText(static_cast<uint16_t>(t->flags)).c_str());
        }
    }
    if (config.infoPicture && t) {
        std::string sprite = GetThingTypeSprite(static_cast<uint16_t>(t->type));
        if (PictureChanged(kPreviewSprite, sprite)) {
            int x1 = 33 * cw - 1;
            DrawFramedSprite(x1, maxY - kSpriteBox - 8, x1 + kSpriteBox, maxY - 18, sprite.c_str());
        }
    }
}

// --- LineDefs ----------------------------------------------------------------

// What the panels show of one side of a LineDef.
struct SideInfo {
    int number = -1;
    const SideDef* side = nullptr;
    const Sector* sector = nullptr;
    std::string names[3] = {"-", "-", "-"};   // upper, normal, lower
};

SideInfo SideOf(uint16_t number) {
    SideInfo info;
    info.side = SideDefAt(number);
    if (!info.side)
        return info;
    info.number = number;
    info.sector = SectorAt(info.side->sector);
    info.names[0] = EntryNameText(info.side->upper);
    info.names[1] = EntryNameText(info.side->middle);
    info.names[2] = EntryNameText(info.side->lower);
    return info;
}

// The sky's flat, by its first six characters.
bool IsSky(const Sector& s) {
    static const char kSky[] = "F_SKY1";
    for (int i = 0; i < 6; ++i)
        if (std::toupper(static_cast<unsigned char>(s.ceilingTexture[i])) != kSky[i])
            return false;
    return true;
}

// The texture names of one side, "Missing" where the other side's Sector
// leaves a step uncovered.
void SideTextures(const SideInfo& me, const SideInfo& other, int x) {
    bool both = me.sector && other.sector;
    bool upperMissing = both && me.sector->ceilingHeight > other.sector->ceilingHeight &&
                        me.names[0] == "-" && !(IsSky(*me.sector) && IsSky(*other.sector));
    bool lowerMissing = both && me.sector->floorHeight < other.sector->floorHeight &&
                        me.names[2] == "-";
    int y = graphics.textY;
    for (int i = 0; i < 3; ++i) {
        bool missing = (i == 0 && upperMissing) || (i == 2 && lowerMissing);
        SetColor(missing ? kRed : NameColour());
        TextAt(x + i * 8 * graphics.charW, y, "%s", missing ? "Missing" : me.names[i].c_str());
    }
    graphics.textX = x;
}

void SidePanel(int index, const SideInfo& me, const SideInfo& other, int x1, int y1, int x2,
               int y2, int ld) {
    Frame(infoPanels.sides[index], x1, y1, x2, y2, ld);
    if (!me.side) {
        Line(kRed, "%s", index == 0 ? "(No first SideDef)" : "(No second SideDef)");
        return;
    }
    Line(kBlue, index == 0 ? "SideDef1 %d" : "SideDef2 %d", me.number);
    SideTextures(me, other, x1 + kMargin);
    Line(kBlack, "Sector %-4d X,Y : %hd,%hd", ReferenceNumber(me.side->sector), me.side->xOffset,
         me.side->yOffset);
    if (me.sector)
        Line(kBlack, "height %-4d (%hd,%hd)", me.sector->ceilingHeight - me.sector->floorHeight,
             me.sector->ceilingHeight, me.sector->floorHeight);
}

int LowestSectorTagged(int tag) {
    for (int s = 0; s < level.sectors.count; ++s)
        if (level.sectors[s].tag == tag)
            return s;
    return -1;
}

// A generalized type the level's target knows gets a line of its fields.
bool ShowsGeneralizedFields(const LineDef* ld) {
    return ld && !IsHeretic() && TargetAllows(level.target, MapTarget::Boom) &&
           IsGeneralizedType(static_cast<uint16_t>(ld->type));
}

void LineDefText(int n, const LineDef* ld) {
    if (!ld) {
        Line(kBlack, "%s", "(No LineDef selected)");
        return;
    }
    int length = 0;
    const Vertex* a = VertexAt(ld->start);
    const Vertex* b = VertexAt(ld->end);
    if (a && b) {
        double dx = b->x - a->x, dy = b->y - a->y;
        length = static_cast<int>(std::sqrt(dx * dx + dy * dy));
    }
    uint16_t flags = static_cast<uint16_t>(ld->flags);
    uint16_t type = static_cast<uint16_t>(ld->type);
    Line(TitleColour(), "LineDef %-4d  (l=%d)", n, length);
    Line(kBlack, "Flags:%3hd %s", ld->flags, LineDefFlagsText(flags, level.target).c_str());
    Line(kBlack, "Type :%3hd %s", ld->type, GetLineDefTypeShortName(type, level.target).c_str());
    if (ShowsGeneralizedFields(ld))
        Line(kBlack, "%.26s", GeneralizedFieldsText(type).c_str());
    int tagged = ld->tag > 0 ? LowestSectorTagged(ld->tag) : -1;
    if (tagged >= 0)
        Line(kBlack, "Sector Tag : %3hd (%3d)", ld->tag, tagged);
    else
        Line(kBlack, "Sector Tag : %3hd (none)", ld->tag);
}

// The three textures of a side above its panel, labelled.
void WallPreviews(int first, const SideInfo& side, int x1, int bottom) {
    static const char* const kLabels[3] = {"Upper", "Normal", "Lower"};
    int step = (25 * graphics.charW) / 3;
    int16_t oldMag = pictures.pictureMag;
    pictures.pictureMag = 0;
    for (int i = 0; i < 3; ++i) {
        if (!PictureChanged(first + i, side.names[i]))
            continue;
        int x = x1 + i * step + 2, y = bottom - kWallBox;
        FillBox(x, y - graphics.charH - 2, x + kWallBox - 1, bottom, kPictureBackground);
        SetColor(kYellow);
        TextAt(x + 2, y - graphics.charH - 1, "%s", kLabels[i]);
        if (side.names[i] != "-")
            DrawTexture(x, y, x + kWallBox - 1, bottom, side.names[i].c_str(), "+");
    }
    pictures.pictureMag = oldMag;
}

void LineDefPanels(int n) {
    const int cw = graphics.charW, maxY = graphics.maxY;
    const LineDef* ld = LineDefAt(n);
    SideInfo sides[2];
    if (ld) {
        sides[0] = SideOf(ld->sideDef1);
        sides[1] = SideOf(ld->sideDef2);
    }
    int number = ld ? n : -1;
    int height = (ShowsGeneralizedFields(ld) ? 5 : 4) * graphics.lineH + 2 * kMargin;
    int top = maxY - height;
    int sideX[2] = {27 * cw + 2, 52 * cw + 4};
    if (config.infoObjects) {
        Frame(infoPanels.panels[0], 0, top, 27 * cw, maxY, number);
        LineDefText(n, ld);
        for (int i = 0; i < 2; ++i)
            SidePanel(i, sides[i], sides[1 - i], sideX[i], top, sideX[i] + 25 * cw, maxY, number);
        infoPanels.panels[1] = PanelRect{sideX[0], top, sideX[1] + 25 * cw, maxY, number};
    }
    if (config.infoPicture && ld)
        for (int i = 0; i < 2; ++i)
            WallPreviews(kPreviewWall1 + 3 * i, sides[i], sideX[i], top - 3);
    if (config.infoPicture) {   // a click on a preview goes to its SideDef too
        int previewTop = top - 3 - kWallBox - graphics.charH - 2;
        infoPanels.panels[1].y1 = previewTop;
    }
}

// --- Vertexes ----------------------------------------------------------------

void VertexPanel(int n) {
    if (!config.infoObjects)
        return;
    const int cw = graphics.charW, ch = graphics.charH, maxY = graphics.maxY;
    const Vertex* v = VertexAt(n);
    Frame(infoPanels.panels[0], 0, maxY - 5 * ch, 27 * cw, maxY, v ? n : -1);
    if (!v) {
        Line(kBlack, "%s", "(No Vertex selected)");
        return;
    }
    Line(TitleColour(), "Vertex     : %d", n);
    Line(kBlack, "Coordinates: %hd,%hd", v->x, v->y);
}

// --- Sectors -----------------------------------------------------------------

int LowestLineDefTagged(int tag) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (level.lineDefs[l].tag == tag)
            return l;
    return -1;
}

void SectorTagLine(const Sector& s) {
    int tagged = s.tag != 0 ? LowestLineDefTagged(s.tag) : -1;
    if (tagged >= 0)
        Line(kBlack, "LineDef Tag    : %hd (%d)", s.tag, tagged);
    else if (s.tag == 99 || s.tag == 999)
        Line(kBlack, "LineDef Tag    : %hd (stairs?)", s.tag);
    else if (s.tag == 666)
        Line(kBlack, "LineDef Tag    : %hd (lower@end)", s.tag);
    else
        Line(kBlack, "LineDef Tag    : %hd (none)", s.tag);
}

void SectorText(int n, const Sector* s) {
    if (!s) {
        Line(kBlack, "%s", "(No Sector selected)");
        return;
    }
    Line(TitleColour(), "Sector %-4d   h: %d", n, s->ceilingHeight - s->floorHeight);
    Line(kBlack, "Ceiling Height : %hd", s->ceilingHeight);
    Line(kBlack, "Floor Height   : %hd", s->floorHeight);
    Line(kBlack, "Ceiling Texture: %s", EntryNameText(s->ceilingTexture).c_str());
    Line(kBlack, "Floor Texture  : %s", EntryNameText(s->floorTexture).c_str());
    Line(kBlack, "Light Level    : %hd", s->light);
    Line(kBlack, "Type: %3hd        %s", s->type,
         GetSectorTypeShortName(static_cast<uint16_t>(s->type), level.target).c_str());
    SectorTagLine(*s);
}

void FlatPreview(int box, const std::string& name, int x1, int y1) {
    if (!PictureChanged(box, name))
        return;
    SunkenBox(x1, y1, x1 + kFlatBox + 3, y1 + kFlatBox + 3, kPictureBackground);
    DrawFlat(x1 + 2, y1 + 2, x1 + kFlatBox + 1, y1 + kFlatBox + 1, name.c_str(), 1);
}

void SectorPanels(int n) {
    const int cw = graphics.charW, ch = graphics.charH, maxY = graphics.maxY;
    const Sector* s = SectorAt(n);
    int number = s ? n : -1;
    int x1 = 33 * cw + 2, floorY = maxY - kFlatBox - 3, ceilingY = floorY - kFlatBox - 6;
    if (config.infoObjects) {
        Frame(infoPanels.panels[0], 0, maxY - 13 * ch, 33 * cw, maxY, number);
        SectorText(n, s);
        infoPanels.panels[1] =
            config.infoPicture ? PanelRect{x1, ceilingY, x1 + kFlatBox + 3, maxY, number} : PanelRect{};
    }
    if (config.infoPicture && s) {
        FlatPreview(kPreviewCeiling, EntryNameText(s->ceilingTexture), x1, ceilingY);
        FlatPreview(kPreviewFloor, EntryNameText(s->floorTexture), x1, floorY);
    }
}

// --- Clicks ------------------------------------------------------------------

void PointerInViewport(int& x, int& y) {
    x = input.pointerX;
    y = input.pointerY - MapAreaTop();
}

// The dialog on a list of the one object n (nothing when n < 0).
void EditOne(int n, int item) {
    if (n < 0)
        return;
    SelectionList list;
    SelectObject(list, n);
    editorActions.editObjects(input.pointerX, input.pointerY, list, item);
    ForgetSelection(list);
}

void AfterDialog() {
    editor.redrawMap = true;
    ForgetPanelPictures();
    ShowObjectInfo(selection.current);
}

bool SelectOnPanel() {
    int x = 0, y = 0;
    PointerInViewport(x, y);
    int item = PanelItemAt(x, y);
    if (item < 0)
        return true;
    int n = infoPanels.panels[item == 0 ? 0 : 1].object;
    SetCurrentObject(-1);
    WaitRelease(nullptr);
    EditOne(n, item);
    AfterDialog();
    return true;
}

bool EditSelection() {
    if (!selection.list.empty())
        editorActions.editObjects(input.pointerX, input.pointerY, selection.list, 0);
    else if (selection.current >= 0)
        EditOne(selection.current, 0);
    else
        return false;
    AfterDialog();
    return true;
}

}  // namespace

void ForgetPanelPictures() {
    for (std::string& name : infoPanels.shown)
        name = kNoPicture;
}

void ShowObjectInfo(int n) {
    if (infoPanels.mapDrawing != mapDraw.drawings) {
        ForgetPanelPictures();
        infoPanels.mapDrawing = mapDraw.drawings;
    }
    infoPanels.panels[0] = infoPanels.panels[1] = PanelRect{};
    infoPanels.sides[0] = infoPanels.sides[1] = PanelRect{};
    infoPanels.picturesDrawn = 0;
    int mode = CurrentEditMode();
    if (n >= 0)
        RememberObject(mode, n);
    PointerGuard guard;
    Screen().setwritemode(kCopyPut);
    switch (mode) {
    case kObjThing: ThingPanel(n); break;
    case kObjLineDef: LineDefPanels(n); break;
    case kObjVertex: VertexPanel(n); break;
    case kObjSector: SectorPanels(n); break;
    default: break;
    }
}

int PanelItemAt(int x, int y) {
    if (infoPanels.panels[0].Contains(x, y))
        return 0;
    if (!infoPanels.panels[1].Contains(x, y))
        return -1;
    if (CurrentEditMode() == kObjLineDef)
        return x >= infoPanels.sides[1].x1 ? 2 : 1;
    return y > infoPanels.panels[1].y1 + kFlatBox + 4 ? 2 : 1;
}

int PanelTextureBand(int side) {
    const PanelRect& r = infoPanels.sides[std::clamp(side, 0, 1)];
    int width = std::max(1, r.x2 - r.x1 + 1);
    return std::clamp((input.pointerX - r.x1) * 3 / width + 1, 1, 3);
}

bool PanelHit(PanelAction action) {
    if (selection.box.active)
        return false;
    switch (action) {
    case PanelAction::Hover: {
        int x = 0, y = 0;
        PointerInViewport(x, y);
        return PanelItemAt(x, y) >= 0 && config.infoPicture;
    }
    case PanelAction::Select: return SelectOnPanel();
    case PanelAction::Edit: return EditSelection();
    }
    return false;
}
