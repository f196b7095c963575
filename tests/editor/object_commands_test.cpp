// The editor's commands on objects on a headless screen: Ins, Del with its
// confirmation, a drag as one step with the vertex check after it, and
// bringing an object into view.
#include "editor/object_commands.h"
#include "editor_fixture.h"

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
};

// --- Delete ------------------------------------------------------------------

struct DeleteCase {
    int mode;
    std::initializer_list<int> selected;   // empty: the highlighted object alone
    int highlighted;
    bool expert;
    const char* answer;                    // keys for the question; nullptr: none asked
    std::string step;
    int things;                            // left
    std::vector<int> left;                 // Vertexes, LineDefs, SideDefs, Sectors
};

TEST_F(ObjectCommandTest, DeleteAsksOutsideThingsModeUnlessExpert) {
    const DeleteCase cases[] = {
        {kObjThing, {0, 1}, 1, false, nullptr, "delete 2 Things", 1, {8, 8, 12, 2}},
        {kObjLineDef, {4, 5, 6}, 6, false, "key Del", "delete 3 LineDefs", 3, {8, 5, 6, 2}},
        {kObjLineDef, {4, 5, 6}, 6, false, "key Esc", "", 3, {8, 8, 12, 2}},
        {kObjLineDef, {4}, 4, true, nullptr, "delete 1 LineDef", 3, {8, 7, 10, 2}},
        {kObjVertex, {}, 0, false, "key Del", "delete 1 Vertex", 3, {7, 6, 10, 2}},
        {kObjSector, {}, 1, false, "key Del", "delete 1 Sector", 3, {8, 8, 8, 1}},
        {kObjVertex, {}, -1, true, nullptr, "", 3, {8, 8, 12, 2}},   // nothing highlighted: a beep
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
        session.ExactScript(c.answer ? c.answer : "");
        DeleteObjectsCommand();
        EXPECT_EQ(Step(), c.step) << c.step;
        EXPECT_EQ(MapCounts(), c.left) << c.step;
        EXPECT_EQ(level.things.count, c.things) << c.step;
        EXPECT_TRUE(ReferencesSound());
        EXPECT_TRUE(c.step.empty() || (selection.current == -1 && selection.list.empty()))
            << c.step;
    }
    // Del drops a drag and takes the bounds in again (Vertexes mode, expert).
    ComputeMapBounds();
    Select({0});
    PointAt(0, 0);
    DrawMap(MapDrawing::Full);
    DrawSelectionHighlights();
    MoveObjectsCommand();
    ASSERT_TRUE(editor.dragging);
    PointAt(-96, 0);
    DragStep();
    ComputeMapBounds();
    EXPECT_EQ(view.mapMinX, -96);
    DeleteObjectsCommand();
    EXPECT_TRUE(!editor.dragging && moveState.list.empty());
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

// --- Drag ----------------------------------------------------------------------

struct DragCase {
    int mode;
    std::initializer_list<int> selected;
    int highlighted;
    int dx;                           // how far the pointer goes
    std::vector<int> moving;          // what the drag moves, in its list's order
    bool cancelled;
    std::vector<CheckCall> expected;
    std::string step;                 // the one step the drag makes; "" for none
};

// A drag moves the objects of the mode; it is one step whose undo takes it
// back whole, and the vertex check runs on what it moved. A cancelled drag
// puts everything back.
TEST_F(ObjectCommandTest, DragsAreOneStepAndTheVertexCheckRunsOnWhatTheyMoved) {
    RecordVertexChecks();
    const auto ask = CheckStyle::Interactive;
    const DragCase cases[] = {
        {kObjVertex, {2, 3}, 3, 64, {3, 2}, false, {{false, {3, 2}, ask}}, "move 2 Vertexes"},
        {kObjVertex, {}, 5, 64, {5}, false, {{false, {5}, ask}}, "move 1 Vertex"},
        {kObjVertex, {2, 3}, 3, 0, {3, 2}, false, {}, ""},   // nothing moved: no check
        {kObjLineDef, {1}, 1, 64, {2, 1}, false, {{true, {1}, ask}}, "move 1 LineDef"},
        {kObjSector, {1}, 1, 64, {7, 6, 5, 4}, false, {{true, {7, 6, 5, 4}, ask}}, "move 1 Sector"},
        {kObjThing, {0}, 0, 64, {0}, false, {}, "move 1 Thing"},
        {kObjSector, {0, 1}, 1, 64, {7, 6, 5, 4, 3, 2, 1, 0}, true, {}, ""},   // cancelled
    };
    for (const DragCase& c : cases) {
        checkCalls.clear();
        AddThing(100, 100);
        ASSERT_TRUE(RecordStep());
        const std::string before = mapkit::LevelArrayBytes();
        Mode(c.mode);
        Select(c.selected);
        selection.current = c.highlighted;
        PointAt(100, 100);
        MoveObjectsCommand();
        EXPECT_EQ(Numbers(moveState.list), c.moving) << c.mode;
        PointAt(100 + c.dx, 100);
        DragStep();
        if (c.cancelled)
            CancelDrag();
        else
            MoveObjectsCommand();
        EXPECT_EQ(checkCalls, c.expected) << c.mode;
        EXPECT_EQ(Step(), c.step) << c.mode;
        EXPECT_TRUE(c.step.empty() || Undo());
        EXPECT_EQ(mapkit::LevelArrayBytes(), before) << c.mode;
    }
    SelectionList nothing = ListOf({40});
    EXPECT_FALSE(BeginMove(kObjVertex, nothing, 0, 0, 0));   // no such Vertex
    ForgetSelection(nothing);
    // Nothing selected or highlighted: nothing to drag or copy.
    Mode(kObjVertex);
    Select({});
    MoveObjectsCommand();
    CopyObjectsCommand();
    EXPECT_FALSE(editor.dragging || moveState.copy);
    EXPECT_EQ(level.vertices.count, 8);
}

// --- Going to an object ----------------------------------------------------------

TEST_F(ObjectCommandTest, GoingToAnObjectFindsItUnderThePointer) {
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

    // Zooming in stops when the object is under the pointer.
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
