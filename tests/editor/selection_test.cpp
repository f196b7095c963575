// The conversion of a selection between modes, and selecting with the
// pointer and the selection box.
#include "editor_fixture.h"

namespace {

using SelectionTest = EditorTest;

// Changing the mode restores each mode's object, and the steps through the
// objects wrap round; a selection converts between modes.
TEST_F(SelectionTest, ModeChangesRestoreTheObjectAndConvertTheSelection) {
    TwoRooms();
    selection.current = 5;
    ConvertSelection(kObjLineDef, kObjSector);
    EXPECT_EQ(selection.current, 0);   // nothing remembered: object 0
    ConvertSelection(kObjSector, kObjLineDef);
    EXPECT_EQ(selection.current, 5);
    ConvertSelection(kObjLineDef, kObjThing);   // a level without Things
    EXPECT_EQ(selection.current, -1);
    // Each row: the objects selected (none: the row before's result), the
    // conversion and the selection it gives, newest first.
    const struct {
        std::vector<int> selected;
        int from, to;
        std::vector<int> expected;
    } conversions[] = {
        {{inner}, kObjSector, kObjLineDef, {7, 6, 5, 4}},
        {{outer}, kObjSector, kObjLineDef, {7, 6, 5, 4, 3, 2, 1, 0}},   // first or second side
        {{4, 5}, kObjLineDef, kObjVertex, {4, 6, 5}},    // newest first, each Vertex once
        {{}, kObjVertex, kObjLineDef, {5, 4}},           // both ends selected
        {{4, 5, 6, 7}, kObjLineDef, kObjSector, {inner}},   // Sectors with every LineDef selected
        {{}, kObjSector, kObjThing, {}},
        {{2, 3}, kObjLineDef, kObjLineDef, {3, 2}},      // the same mode keeps it
    };
    for (const auto& c : conversions) {
        if (!c.selected.empty())
            Select(c.selected);
        ConvertSelection(c.from, c.to);
        EXPECT_EQ(Numbers(selection.list), c.expected);
        EXPECT_EQ(ListedObjectCount(), selection.list.size());
    }
    level.lineDefs[3].start = 400;   // a missing Vertex is left out
    ConvertSelection(kObjLineDef, kObjVertex);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{3, 2, 0}));
    // Numbers past 32767 convert as they are.
    mapkit::PadObjectsTo(40000);
    level.lineDefs[40000].start = 32768;
    level.lineDefs[40000].end = 39999;
    Select({40000});
    ConvertSelection(kObjLineDef, kObjVertex);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{39999, 32768}));
}

// Selecting with the pointer draws, so it runs on the headless screen.
class PointerSelectionTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        SetScale(1.0f);
        config.editMode = kObjThing;
        for (int i = 0; i < 4; ++i)
            AddThing(i * 100, 0);
        DrawMap(MapDrawing::Full);
        clean = ScreenPixels();
    }
    int Box(int x0, int y0, int x1, int y1) {
        PointAt(x0, y0);
        StartSelectionBox();
        PointAt(x1, y1);
        MoveSelectionBox();
        return EndSelectionBox();
    }
    Pixels clean;
};

TEST_F(PointerSelectionTest, ClicksToggleAndBoxesSelect) {
    const int clicks[][3] = {{100, 2, 1}, {0, 0, 1}, {100, 0, 1}, {50, 50, 0}};   // x, y, found
    for (const auto& c : clicks) {
        PointAt(c[0], c[1]);
        EXPECT_EQ(ToggleCurrentSelected(), c[2] != 0) << c[0] << "," << c[1];
    }
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{0}));
    EXPECT_EQ(selection.current, 1);

    // A box selects, replacing the selection or adding to it; at the end no
    // outline nor highlight is left behind.
    ClearSelection();
    EXPECT_EQ(Box(150, 10, -10, -10), 2);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{1, 0}));
    EXPECT_EQ(selection.current, 1);
    EXPECT_EQ(Box(90, -10, 310, 10), 3);   // replaces the selection
    config.additiveSelect = 1;
    EXPECT_EQ(Box(-10, -10, 110, 10), 4);   // adds the old ones not found again
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{2, 3, 1, 0}));
    EXPECT_EQ(ListedObjectCount(), 4);
    config.additiveSelect = 0;
    EXPECT_EQ(Box(500, 500, 500, 500), 0);
    EXPECT_EQ(selection.current, -1);
    EXPECT_TRUE(ScreenPixels() == clean);
}

}  // namespace
