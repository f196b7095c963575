// The info panels on the two-room map: what each mode's panel says, the
// warnings and cross-references, the picture caches, and where clicks on a
// panel go.
#include <cstring>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/info_panels.h"
#include "editor_fixture.h"
#include "support/panel_text.h"
#include "wad/master.h"

using testkit::PanelLine;

namespace {

class InfoPanelTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        SetMenuBarMode(MenuBarMode::Shown);
        config.infoObjects = 1;
        config.infoPicture = 0;
        TwoRooms();
    }

    static void Show(int mode, int n) {
        config.editMode = static_cast<int16_t>(mode);
        ShowObjectInfo(n);
    }
    static void Name(char (&field)[8], const char* name) { std::strncpy(field, name, 8); }
    // Texture names stand out from the panel in grey.
    static int Grey() { return config.colors[kColorMenu] == 8 ? 7 : 8; }
};

// What each mode's panel says of its object, or that there is none. Object
// numbers are unsigned as the format's are: above 32767 they show as they
// are, never negative.
TEST_F(InfoPanelTest, EachModeDescribesItsObjectOrSaysThereIsNone) {
    constexpr int kBig = 40000;
    const int title = config.colors[kColorMenuHilite];
    const PanelRect &main = infoPanels.panels[0], &first = infoPanels.sides[0], &second = infoPanels.sides[1];
    const struct {
        int mode, n;
        const PanelRect& panel;
        int line;
        const char* text;
        int colour;
    } shown[] = {
        {kObjThing, 0, main, 0, "Thing       : 0", title},
        {kObjThing, 0, main, 1, "Coordinates : 100, 20", 0},
        {kObjThing, 0, main, 3, "Angle       : N", 0},
        {kObjThing, 0, main, 4, "Skill Level : 12 3 45 ", 0},
        {kObjVertex, 2, main, 1, "Coordinates: 200,200", 0},
        {kObjVertex, 99, main, 0, "(No Vertex selected)", 0},   // out of range
        {kObjLineDef, 1, main, 0, "LineDef 1     (l=200)", title},   // (0,200) to (200,200)
        {kObjLineDef, 1, second, 0, "(No second SideDef)", 4},
        {kObjSector, 1, main, 0, "Sector 1      h: 128", title},
        {kObjSector, 1, main, 5, "Light Level    : 160", 0},
        {kObjThing, kBig, main, 0, "Thing       : 40000", title},
        {kObjLineDef, kBig, main, 0, "LineDef 40000  (l=200)", title},
        {kObjLineDef, kBig, first, 0, "SideDef1 40000", 1},
        {kObjLineDef, kBig, first, 2, "Sector 40000 X,Y : 0,0", 0},
        {kObjVertex, kBig, main, 0, "Vertex     : 40000", title},
        {kObjSector, kBig, main, 0, "Sector 40000   h: 128", title},
    };
    mapkit::AddThing(100, 20, 3004, 90, 7);
    for (const auto& s : shown) {
        if (s.n == kBig && level.things.count <= kBig) {
            mapkit::PadObjectsTo(kBig);
            level.lineDefs[kBig] = level.lineDefs[1];
            level.lineDefs[kBig].sideDef1 = kBig;
            level.sideDefs[kBig].sector = kBig;
        }
        Show(s.mode, s.n);
        EXPECT_EQ(main.object, s.n == 99 ? -1 : s.n) << s.text;
        EXPECT_TRUE(PanelLine(s.panel, s.line, s.text, s.colour)) << s.text;
        EXPECT_EQ(second.x2 == -1, s.n == 99 || s.mode != kObjLineDef) << s.text;   // only LineDefs have sides
    }
    EXPECT_EQ(selection.lastObject[ModeIndex(kObjSector)], kBig);
}

TEST_F(InfoPanelTest, UncoveredStepsShowMissingUnlessBothCeilingsAreSky) {
    // LineDef 4: first side in the inner room, second in the outer one.
    Sector& front = level.sectors[inner];
    Sector& back = level.sectors[outer];
    front.ceilingHeight = 128, back.ceilingHeight = 96;
    front.floorHeight = 0, back.floorHeight = 16;
    SideDef& side = level.sideDefs[level.lineDefs[4].sideDef1];
    for (char* name : {side.upper, side.middle, side.lower})
        std::strncpy(name, "-", 8);
    Show(kObjLineDef, 4);
    const PanelRect& first = infoPanels.sides[0];
    EXPECT_TRUE(PanelLine(first, 1, "Missing", 4, 0));
    EXPECT_TRUE(PanelLine(first, 1, "-", Grey(), 8));
    EXPECT_TRUE(PanelLine(first, 1, "Missing", 4, 16));
    Name(front.ceilingTexture, "F_SKY1");
    Name(back.ceilingTexture, "F_SKY1");
    Name(side.lower, "STEP1");
    Show(kObjLineDef, 4);
    EXPECT_TRUE(PanelLine(first, 1, "-", Grey(), 0));
    EXPECT_TRUE(PanelLine(first, 1, "STEP1", Grey(), 16));
    // The back side looks up at a lower ceiling and down at a higher floor:
    // nothing is missing there (its names are empty).
    EXPECT_TRUE(PanelLine(infoPanels.sides[1], 2, "Sector 0    X,Y : 0,0"));
}

TEST_F(InfoPanelTest, TagsNameTheirLowestPartnerOrWhatTheyMayMean) {
    struct Case {
        int tag;
        int lineDefTag;   // given to LineDef 6 (and LineDef 2 with 0)
        const char* line;
    } cases[] = {
        {99, 0, "LineDef Tag    : 99 (stairs?)"},    {999, 0, "LineDef Tag    : 999 (stairs?)"},
        {666, 0, "LineDef Tag    : 666 (lower@end)"}, {5, 5, "LineDef Tag    : 5 (6)"},
        {99, 99, "LineDef Tag    : 99 (6)"},          {0, 0, "LineDef Tag    : 0 (none)"},
        {7, 0, "LineDef Tag    : 7 (none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        level.sectors[inner].tag = static_cast<int16_t>(c.tag);
        level.lineDefs[6].tag = level.lineDefs[7].tag = static_cast<int16_t>(c.lineDefTag);
        Show(kObjSector, inner);
        EXPECT_TRUE(PanelLine(infoPanels.panels[0], 7, c.line));
    }
    // A LineDef's tag names the lowest Sector so tagged.
    level.sectors[outer].tag = level.sectors[inner].tag = 3;
    for (auto [tag, line] : {std::pair{3, "Sector Tag :   3 (  0)"}, std::pair{4, "Sector Tag :   4 (none)"}}) {
        level.lineDefs[2].tag = static_cast<int16_t>(tag);
        Show(kObjLineDef, 2);
        EXPECT_TRUE(PanelLine(infoPanels.panels[0], 3, line)) << line;
    }
}

TEST_F(InfoPanelTest, ClicksOnAPanelOpenTheDialogOnItsObjectAndField) {
    static std::vector<std::vector<int>> opened;
    opened.clear();
    session.Script("");   // the buttons are up
    editorActions.editObjects = [](int, int, SelectionList& list, int item) {
        std::vector<int> call = Numbers(list);
        call.push_back(item);
        opened.push_back(call);
    };
    Show(kObjLineDef, 5);
    // After each dialog the panel shows the highlighted object (none: the
    // click forgot it) until the pointer finds LineDef 5 again.
    auto clickAt = [](int x, int y) {
        Show(kObjLineDef, 5);
        SetMousePos(x, y + kMenuBarHeight);
        return PanelHit(PanelAction::Select);
    };
    const PanelRect first = infoPanels.sides[0], second = infoPanels.sides[1];
    EXPECT_TRUE(clickAt(infoPanels.panels[0].x1 + 5, infoPanels.panels[0].y1 + 5));
    EXPECT_TRUE(clickAt(first.x1 + 5, first.y2 - 2));
    EXPECT_TRUE(clickAt(second.x2 - 5, second.y1 + 5));
    // The third band of the second SideDef's panel is its lower texture.
    EXPECT_EQ(PanelTextureBand(1), 3);
    SetMousePos(first.x1 + 1, first.y1 + kMenuBarHeight);
    EXPECT_EQ(PanelTextureBand(0), 1);
    EXPECT_EQ(opened, (std::vector<std::vector<int>>{{5, 0}, {5, 1}, {5, 2}}));
    EXPECT_EQ(selection.current, -1);   // the highlight was forgotten
    // Hovering counts only while pictures are shown.
    EXPECT_FALSE(PanelHit(PanelAction::Hover));
    config.infoPicture = 1;
    EXPECT_FALSE(clickAt(400, 10) && PanelHit(PanelAction::Hover));
    SetMousePos(first.x1 + 5, first.y1 + kMenuBarHeight + 5);
    EXPECT_TRUE(PanelHit(PanelAction::Hover));
    selection.box.active = true;   // a selection box is being drawn
    EXPECT_FALSE(PanelHit(PanelAction::Hover));
    selection.box.active = false;

    // Enter: the selection, else the highlighted object, else nothing.
    opened.clear();
    EXPECT_FALSE(PanelHit(PanelAction::Edit));
    selection.current = 3;
    EXPECT_TRUE(PanelHit(PanelAction::Edit));
    SelectObject(selection.list, 6);
    SelectObject(selection.list, 2);
    EXPECT_TRUE(PanelHit(PanelAction::Edit));
    EXPECT_EQ(opened, (std::vector<std::vector<int>>{{3, 0}, {2, 6, 0}}));
    EXPECT_TRUE(editor.redrawMap);
}

// Pictures need the game's textures and flats.
class InfoPicturesTest : public InfoPanelTest {
protected:
    void SetUp() override {
        InfoPanelTest::SetUp();
        std::string iwad = testkit::FreedoomIwad(2);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed";
        SetField(config.iwadName, iwad.c_str());
        OpenIwad(config.iwadName);
        config.infoPicture = 1;
        for (SideDef& sd : level.sideDefs) {
            Name(sd.upper, "STARTAN3");
            Name(sd.middle, "-");
            Name(sd.lower, "STARG3");
        }
    }
};

TEST_F(InfoPicturesTest, PicturesAreDrawnOnlyWhenTheirNamesChange) {
    auto drawn = [](int mode, int n) {
        Show(mode, n);
        return infoPanels.picturesDrawn;
    };
    EXPECT_EQ(drawn(kObjLineDef, 4), 6);
    EXPECT_EQ(drawn(kObjLineDef, 5), 0);   // the same six names
    Name(level.sideDefs[level.lineDefs[6].sideDef2].lower, "STARTAN3");
    EXPECT_EQ(drawn(kObjLineDef, 6), 1);
    EXPECT_EQ(drawn(kObjLineDef, 0), 2);   // one-sided: the second side's names become "-"
    DrawMap(MapDrawing::Full);             // paints over the boxes
    EXPECT_EQ(drawn(kObjLineDef, 0), 6);
    config.infoPicture = 0;                // text only: no pictures
    DrawMap(MapDrawing::Full);
    EXPECT_EQ(drawn(kObjLineDef, 0), 0);
    // Sectors and Things: the two flats, the sprite.
    config.infoPicture = 1;
    EXPECT_EQ(drawn(kObjSector, outer), 2);
    EXPECT_EQ(drawn(kObjSector, inner), 0);
    mapkit::AddThing(10, 10, 3001);
    EXPECT_EQ(drawn(kObjThing, 0), 1);
}

}  // namespace
