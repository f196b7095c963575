// The info panels on the two-room map: the warnings and cross-references,
// large numbers, and where clicks on a panel go.
#include <cstring>

#include "editor_fixture.h"
#include "support/screen_text.h"

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

// Uncovered steps show "Missing" unless both ceilings are sky; tags name
// their partners; large numbers show as they are.
TEST_F(InfoPanelTest, WarningsCrossReferencesAndLargeNumbers) {
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
    EXPECT_TRUE(PanelLine(first, 1, "Missing", 4, 16));
    Name(front.ceilingTexture, "F_SKY1");
    Name(back.ceilingTexture, "F_SKY1");
    Show(kObjLineDef, 4);
    EXPECT_TRUE(PanelLine(first, 1, "-", Grey(), 0));
    // The back side looks up at a lower ceiling and down at a higher floor:
    // nothing is missing there (its names are empty).
    EXPECT_TRUE(PanelLine(infoPanels.sides[1], 2, "Sector 0    X,Y : 0,0"));

    // A Sector's tag names its LineDef of the lowest number, or what it may
    // mean.
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
    // Numbers above 32767 show as they are, never negative; a number past
    // the array shows that there is none.
    mapkit::PadObjectsTo(40000);
    Show(kObjSector, 40000);
    EXPECT_TRUE(PanelLine(infoPanels.panels[0], 0, "Sector 40000   h: 80", config.colors[kColorMenuHilite]));
    Show(kObjVertex, 50000);
    EXPECT_TRUE(PanelLine(infoPanels.panels[0], 0, "(No Vertex selected)"));
}

TEST_F(InfoPanelTest, ClicksOnAPanelOpenTheDialogOnItsObjectAndField) {
    static std::vector<std::vector<int>> opened;
    opened.clear();
    session.Script("");   // the buttons are up
    editorActions.editObjects = [](int, int, SelectionList& list, int item) {
        opened.push_back(Numbers(list));
        opened.back().push_back(item);
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
    selection.box.active = true;   // a selection box being drawn passes over the panels
    EXPECT_FALSE(clickAt(first.x1 + 5, first.y2 - 2));
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

}  // namespace
