// The editor's commands on objects on a headless screen: Ins, Del with its
// confirmation, copy, drag with its XOR image and cancel, the vertex check
// after a drag, and bringing an object into view.
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor_fixture.h"
#include "support/reference_check.h"

using namespace mapkit;
using testkit::ReferencesSound;

namespace {

class ObjectCommandTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        config.gridSize = 8;
        config.gridSnap = 1;
        TwoRooms();
        SetScale(1.0f);
        CentreMapAt(100, 100);
        ResetHistory();
    }
    void TearDown() override {
        EndMove();
        EditorScreenTest::TearDown();
    }

    void Mode(int mode) { config.editMode = static_cast<int16_t>(mode); }
    void ShowMap() {
        DrawMap(MapDrawing::Full);
        DrawSelectionHighlights();
    }
};

// --- Delete ------------------------------------------------------------------

struct DeleteCase {
    int mode;
    std::initializer_list<int> selected;   // empty: the highlighted object alone
    int highlighted;
    bool expert;
    const char* answer;                    // keys for the question; nullptr: none asked
    std::string step;
    std::vector<int> left;                 // Things, LineDefs, Vertexes, Sectors
};

TEST_F(ObjectCommandTest, DeleteAsksOutsideThingsModeUnlessExpert) {
    const DeleteCase cases[] = {
        {kObjThing, {0, 1}, 1, false, nullptr, "delete 2 Things", {1, 8, 8, 2}},
        {kObjLineDef, {4, 5, 6}, 6, false, "key Del", "delete 3 LineDefs", {3, 5, 8, 2}},
        {kObjLineDef, {4, 5, 6}, 6, false, "key Esc", "", {3, 8, 8, 2}},
        {kObjLineDef, {4}, 4, true, nullptr, "delete 1 LineDef", {3, 7, 8, 2}},
        {kObjVertex, {}, 0, false, "key Del", "delete 1 Vertex", {3, 6, 7, 2}},
        {kObjSector, {}, 1, false, "key Del", "delete 1 Sector", {3, 8, 8, 1}},
        {kObjVertex, {}, -1, true, nullptr, "", {3, 8, 8, 2}},   // nothing highlighted: a beep
    };
    for (const DeleteCase& c : cases) {
        ClearMap();
        TwoRooms();
        AddThing(10, 10), AddThing(20, 20), AddThing(30, 30);
        ResetHistory();
        Mode(c.mode);
        Select(c.selected);
        selection.current = c.highlighted;
        config.expertMode = c.expert;
        if (c.answer)
            session.Script(c.answer);
        else
            session.ExactScript("");
        DeleteObjectsCommand();
        EXPECT_EQ(Step(), c.step) << c.step;
        EXPECT_EQ((std::vector<int>{level.things.count, level.lineDefs.count, level.vertices.count,
                                    level.sectors.count}),
                  c.left) << c.step;
        EXPECT_TRUE(ReferencesSound());
        if (!c.step.empty()) {
            EXPECT_TRUE(selection.current == -1 && selection.list.empty()) << c.step;
        }
    }
}

TEST_F(ObjectCommandTest, DeleteDropsADragAndRecomputesTheBounds) {
    Mode(kObjVertex);
    config.expertMode = 1;
    ComputeMapBounds();
    Select({0});
    PointAt(0, 0);
    ShowMap();
    MoveObjectsCommand();
    ASSERT_TRUE(editor.dragging);
    PointAt(-96, 0);
    DragStep();
    ComputeMapBounds();
    EXPECT_EQ(view.mapMinX, -96);
    DeleteObjectsCommand();
    EXPECT_FALSE(editor.dragging);
    EXPECT_TRUE(moveState.list.empty());
    EXPECT_EQ(level.vertices.count, 7);
    EXPECT_EQ(view.mapMinX, 0);   // without the Vertex that was dragged out
}

// --- Insert ------------------------------------------------------------------

TEST_F(ObjectCommandTest, InsertPutsAThingAtThePointerOnTheGrid) {
    Mode(kObjThing);
    AddThing(10, 10, 3004, 90, 4);
    config.defaultThingType = 2012;
    PointAt(61, 37);
    InsertObjectCommand();   // nothing highlighted: the default type
    ASSERT_EQ(level.things.count, 2);
    EXPECT_TRUE(SameRecord(level.things[1], Thing{64, 40, 0, 2012, 7}));   // snapped to the grid of 8
    EXPECT_EQ(selection.current, 1);
    EXPECT_EQ(Step(), "insert Thing");

    // A player start is not copied: the status line says so. O still copies
    // it exactly.
    static std::string told;
    selection.message = [](const char* text) { told = text; };
    AddThing(0, 0, 1, 270, 7);
    selection.current = 2;
    InsertObjectCommand();
    EXPECT_EQ(told, "Player 1 Start not copied: a Thing of the default type");
    selection.current = 2;
    CopyObjectsCommand();
    EXPECT_TRUE(SameRecord(level.things[4], level.things[2]));

    for (int mode : {kObjLineDef, kObjVertex, kObjSector}) {   // not here: a beep
        Mode(mode);
        InsertObjectCommand();
    }
    EXPECT_EQ(level.things.count + level.vertices.count + level.lineDefs.count, 5 + 8 + 8);
}

// --- Copy and drag ---------------------------------------------------------------

TEST_F(ObjectCommandTest, CopiesAreDraggedAwayFromTheirSources) {
    Mode(kObjLineDef);
    Select({4, 5});
    CopyObjectsCommand();
    EXPECT_EQ(Step(), "copy 2 LineDefs");
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{8, 9}));
    EXPECT_EQ(selection.current, 8);
    EXPECT_TRUE(moveState.copy);

    ShowMap();
    PointAt(48, 152);
    MoveObjectsCommand();
    ASSERT_TRUE(editor.dragging);
    EXPECT_EQ(moveState.type, kMoveFreeVertexes);
    EXPECT_EQ(moveState.list.size(), 3);   // the copies' Vertexes
    PointAt(48 + 296, 152);   // copies of LineDefs move freely, off the grid
    DragStep();
    MoveObjectsCommand();
    EXPECT_FALSE(editor.dragging || moveState.copy);
    EXPECT_EQ(Step(), "move 2 LineDefs");
    EXPECT_EQ(level.vertices[level.lineDefs[8].start].x, 50 + 296);   // the copy moved
    EXPECT_EQ(level.vertices[level.lineDefs[5].start].x, 50);    // its source did not
    EXPECT_EQ(level.sideDefs.count, 12);   // copies have no sides
    EXPECT_TRUE(ReferencesSound());
}

// The cancelled drag's level and steps: ADragIsOneStepAndACancelledOneIsNone.
TEST_F(ObjectCommandTest, TheDragImageFollowsInXorAndCancelRedrawsTheMap) {
    Mode(kObjVertex);
    Select({0});
    ShowMap();
    Pixels before = ScreenPixels();
    PointAt(0, 0);
    MoveObjectsCommand();
    Pixels started = ScreenPixels();
    EXPECT_NE(started, before);   // the image replaced the highlight
    PointAt(45, -3);              // (48, 0) on the grid of 8
    DragStep();
    EXPECT_TRUE(SameRecord(level.vertices[0], Vertex{48, 0}));
    EXPECT_NE(ScreenPixels(), started);
    PointAt(1, 2);                // back to (0, 0)
    DragStep();
    EXPECT_EQ(ScreenPixels(), started);   // drawn twice in XOR, the old image is gone
    CancelDrag();
    EXPECT_TRUE(editor.redrawMap);
}

struct DragStepCase {
    int mode;
    std::initializer_list<int> selected;
    bool cancelled;
    std::string step;   // the step the drag makes; "" for none
};

// However many passes a drag takes, it is one step that one undo takes back
// whole; a cancelled drag leaves the level and the undo list as they were.
TEST_F(ObjectCommandTest, ADragIsOneStepAndACancelledOneIsNone) {
    const DragStepCase cases[] = {
        {kObjThing, {0}, false, "move 1 Thing"},        {kObjVertex, {2, 3}, false, "move 2 Vertexes"},
        {kObjLineDef, {1, 5}, false, "move 2 LineDefs"}, {kObjSector, {1}, false, "move 1 Sector"},
        {kObjSector, {0, 1}, true, ""},                 {kObjThing, {0}, true, ""},
    };
    AddThing(100, 100);
    ASSERT_TRUE(RecordStep());   // the Thing is a step of its own
    for (const DragStepCase& c : cases) {
        const std::string before = mapkit::LevelArrayBytes();
        const int steps = HistorySteps();
        const std::string undo = UndoLabel();
        Mode(c.mode);
        Select(c.selected);
        PointAt(100, 100);
        MoveObjectsCommand();
        for (int x : {140, 196, 60}) {
            PointAt(x, x / 2);
            DragStep();
        }
        ASSERT_NE(mapkit::LevelArrayBytes(), before) << c.mode;
        if (c.cancelled)
            CancelDrag();
        else
            MoveObjectsCommand();
        EXPECT_FALSE(editor.dragging);
        EXPECT_EQ(Step(), c.step) << c.mode;
        if (c.cancelled) {
            EXPECT_EQ(HistorySteps(), steps);
            EXPECT_EQ(UndoLabel(), undo);
        } else {
            EXPECT_TRUE(Undo());
        }
        EXPECT_EQ(mapkit::LevelArrayBytes(), before) << c.mode << " " << c.cancelled;
    }
}

TEST_F(ObjectCommandTest, TakingTheDragImageOffKeepsWhatWasDrawnWhileItShowed) {
    Mode(kObjVertex);
    const struct {
        float scale;
        std::vector<int> vertexes;
    } cases[] = {
        {1.0f, {0}},                          // LineDefs 0 and 3, thin in a large box: drawn again
        {0.05f, {0, 1, 2, 3, 4, 5, 6, 7}},   // every LineDef in a box of a few pixels: put back
    };
    for (const auto& c : cases)
        for (int thickness : {1, 3}) {
            config.lineThickness = static_cast<int16_t>(thickness);
            SetScale(c.scale);
            CentreMapAt(100, 100);
            ShowMap();
            const Pixels before = ScreenPixels();
            SelectionList list;
            for (int v : c.vertexes)
                SelectObject(list, v);
            ASSERT_TRUE(BeginMove(kObjVertex, list, 0, 0, 0));
            ForgetSelection(list);
            // A mark put in the middle of the rooms while the image shows
            // stays; every other pixel is as before.
            const int x = MapToScreenX(100), y = MapToScreenY(100), mark = Screen().getpixel(x, y) ^ 1;
            ShowDragImage();
            ASSERT_NE(ScreenPixels(), before);
            Screen().putpixel(x, y, mark);
            HideDragImage();
            const Pixels after = ScreenPixels();
            EXPECT_EQ(mark, Screen().getpixel(x, y)) << c.scale << " " << thickness;
            EXPECT_EQ(1, std::inner_product(after.begin(), after.end(), before.begin(), 0, std::plus<>(),
                                            std::not_equal_to<>()))
                << c.scale << " " << thickness;
            EndMove();
        }
}

struct CheckAfterDragCase {
    int mode;
    std::initializer_list<int> selected;
    int highlighted;
    int dx;                           // how far the pointer goes
    std::vector<CheckCall> expected;
};

TEST_F(ObjectCommandTest, TheVertexCheckRunsOnWhatADragMoved) {
    RecordVertexChecks();
    const auto ask = CheckStyle::Interactive;
    const CheckAfterDragCase cases[] = {
        {kObjVertex, {2, 3}, 3, 64, {{false, {3, 2}, ask}}},
        {kObjVertex, {}, 5, 64, {{false, {5}, ask}}},
        {kObjVertex, {2, 3}, 3, 0, {}},   // nothing moved: no check
        {kObjLineDef, {1}, 1, 64, {{true, {1}, ask}}},
        {kObjSector, {1}, 1, 64, {{true, {7, 6, 5, 4}, ask}}},
        {kObjThing, {0}, 0, 64, {}},
    };
    for (const CheckAfterDragCase& c : cases) {
        checkCalls.clear();
        AddThing(100, 100);
        Mode(c.mode);
        Select(c.selected);
        selection.current = c.highlighted;
        PointAt(100, 100);
        MoveObjectsCommand();
        PointAt(100 + c.dx, 100);
        DragStep();
        MoveObjectsCommand();
        EXPECT_EQ(checkCalls, c.expected) << c.mode;
    }
}

TEST_F(ObjectCommandTest, DragAndCopyNeedSomethingToActOn) {
    Mode(kObjVertex);
    Select({});
    MoveObjectsCommand();
    CopyObjectsCommand();
    EXPECT_FALSE(editor.dragging || moveState.copy);
    EXPECT_EQ(level.vertices.count, 8);
}

// --- Going to an object ----------------------------------------------------------

TEST_F(ObjectCommandTest, ASectorIsFoundWhereItsReferencePointIsNot) {
    // The outer room's reference point (100, 100) lies in the inner room:
    // the view goes to the middle of its first wall, which is in it.
    GoToObject(kObjSector, outer, GoToMode::Centre);
    EXPECT_TRUE(view.origX == 0 && view.origY == 100);
    EXPECT_EQ(GetObjectUnderPointer(kObjSector, 0), outer);
    GoToObject(kObjSector, inner, GoToMode::Centre);
    EXPECT_TRUE(view.origX == 100 && view.origY == 100);
    EXPECT_EQ(view.pointerX, view.centerX);
    GoToObject(kObjThing, 7, GoToMode::Zoom);   // no such Thing: the view stays
    EXPECT_EQ(view.origX, 100);
}

TEST_F(ObjectCommandTest, ZoomingInStopsWhenTheObjectIsUnderThePointer) {
    ClearMap();
    AddVertex(0, 0), AddVertex(200, 0);
    AddVertex(104, -300), AddVertex(104, 300);
    AddVertex(100, -300), AddVertex(100, 300);
    int near = AddLineDef(2, 3, -1);      // 4 units east of the midpoint
    int target = AddLineDef(0, 1, -1);    // midpoint (100, 0)
    SetScale(0.5f);
    GoToObject(kObjLineDef, target, GoToMode::Zoom);
    EXPECT_EQ(view.scale, 0.5f);          // found at once
    EXPECT_EQ(GetObjectUnderPointer(kObjLineDef), target);

    level.lineDefs[near].start = 4;       // now through the midpoint, and first
    level.lineDefs[near].end = 5;
    SetScale(0.5f);
    GoToObject(kObjLineDef, target, GoToMode::Zoom);
    EXPECT_EQ(view.scale, 4.0f);          // 1, 1.5 ... 4, and no further
    GoToObject(kObjLineDef, target, GoToMode::Centre);
    EXPECT_EQ(view.scale, 4.0f);
}

}  // namespace
