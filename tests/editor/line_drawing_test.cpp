// Line drawing on a headless screen, driven as the main loop drives it: the
// buttons of each pass, Ins and Esc. Splitting a Sector, joining existing
// Vertexes, snapping, the rubber band's ends, and Ins in the Vertexes and
// LineDefs modes.

#include "editor/line_drawing.h"
#include "editor_fixture.h"

namespace {

// One pass of the main loop with these buttons held (bit 0 left, bit 1
// right), as the loop drives the drawing; a click; the right button that
// closes a shape (and waits for its release: one poll of the input).
void Pass(int buttons) {
    editor.buttons = buttons;
    LineDrawingEvent(LineDrawingCommand::Pass);
}
void Click(int x, int y) {
    PointAt(x, y);
    Pass(1);
    Pass(0);
}
void RightClick() {
    Pass(2);
    Pass(0);
}

class LineDrawingTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        RecordVertexChecks();
        config.gridSize = 8;
        config.gridSnap = 0;
        config.autoInsertSector = 1;
        config.editMode = kObjVertex;
        SetScale(1.0f);
        CentreMapAt(200, 200);
        ResetHistory();
        session.Script("");   // polls for the releases of the buttons
    }
    void TearDown() override {
        EndLineDrawing();
        EditorScreenTest::TearDown();
    }

    // Sector 0: the room (0,0)-(400,400), LineDefs 0..3, Vertexes 0..3.
    void Room() {
        AddRoom(0, 0, 400, 400, AddSector());
        ResetHistory();
    }

    // Ins starts the mode; a click on each point; the right button closes.
    void Draw(const Points& points) {
        if (!editor.lineDrawing)
            InsertCommand();
        for (const auto& p : points)
            Click(p.first, p.second);
        RightClick();
    }
};

// Clockwise: west side north, then east, south and back west.
const Points kClockwise = {{100, 100}, {100, 200}, {200, 200}, {200, 100}};

// --- Shapes and their Sectors --------------------------------------------------------

TEST_F(LineDrawingTest, TwoPointsSplitTheSectorOnARightClickButNotOnIns) {
    Room();
    session.Script("key Enter\n");   // "Split Sector"
    Draw({{0, 0}, {400, 400}});
    // The existing corners were joined by one new LineDef, which the split
    // replaced; no Sector is built on top.
    EXPECT_EQ(MapCounts(), (std::vector<int>{4, 5, 6, 2}));
    EXPECT_EQ(Step(), "split Sector");

    // Closed with Ins instead, two points stay one bare LineDef: a Sector
    // needs a closed shape.
    Click(100, 100);
    Click(100, 300);
    LineDrawingEvent(LineDrawingCommand::Insert);
    EXPECT_EQ(MapCounts(), (std::vector<int>{6, 6, 6, 2}));
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(LineDrawingTest, ASelectedVertexStartsTheShapeAndNewPointsSnapToTheGrid) {
    Room();
    config.gridSnap = 1;
    config.gridSize = 64;
    Select({2});   // (400, 400)
    InsertCommand();
    EXPECT_EQ(drawing.firstPoint, 2);
    Click(400, 0);     // Vertex 3: the east wall joins them already
    EXPECT_TRUE(level.lineDefs.count == 4 && drawing.newLineDef == -1);
    Click(300, 270);   // lands on (320, 256)
    ASSERT_EQ(level.vertices.count, 5);
    EXPECT_TRUE(SameRecord(level.vertices[4], Vertex{320, 256}));
    EXPECT_EQ(level.lineDefs[4].start, 3);
    EXPECT_EQ(Step(), "draw 1 LineDef");
    // Without snapping, a point lies where the pointer is.
    config.gridSnap = 0;
    Click(301, 301);
    Click(301, 301);   // the latest point again: ignored
    EXPECT_EQ(level.vertices[5].x, 301);
    EXPECT_EQ(Step(), "draw 1 LineDef");
    Click(2, 1);       // near enough to Vertex 0 to pick it
    EXPECT_TRUE(level.vertices.count == 6 && level.lineDefs[6].end == 0);
    // Esc leaves the open shape bare; with nothing drawn, it ends the mode.
    LineDrawingEvent(LineDrawingCommand::Escape);
    EXPECT_TRUE(editor.lineDrawing && level.sectors.count == 1);
    LineDrawingEvent(LineDrawingCommand::Escape);
    EXPECT_FALSE(editor.lineDrawing);
}

// --- Ins in the other modes ------------------------------------------------------------

TEST_F(LineDrawingTest, InsWithTwoVertexesSplitsTheSectorOrJoinsThem) {
    // Corners 0 and 2 across the room, or two free Vertexes 4 and 5 east of
    // it (no Sector between them: the split fails after its box).
    const struct {
        const char* keys;
        std::vector<int> selected;
        std::vector<int> counts;   // Vertexes, LineDefs, SideDefs, Sectors
    } cases[] = {
        {"key Enter\n", {0, 2}, {6, 5, 6, 2}},         // "Split Sector"
        {"key Esc\n", {0, 2}, {6, 4, 4, 1}},           // cancelled: nothing
        {"key Enter\n", {0, 1, 2}, {6, 4, 4, 1}},      // three: a message, nothing else
        {"key 2\nkey Enter\n", {4, 5}, {6, 5, 4, 1}},   // a plain LineDef instead
    };
    for (const auto& c : cases) {
        ClearMap();
        Room();
        AddVertex(500, 100);
        AddVertex(500, 300);
        Select(c.selected);
        session.Script(c.keys);
        InsertCommand();
        EXPECT_FALSE(editor.lineDrawing) << c.keys;
        EXPECT_EQ(MapCounts(), c.counts) << c.keys;
    }
    // The plain LineDef runs from the Vertex selected first.
    EXPECT_TRUE(level.lineDefs[4].start == 4 && level.lineDefs[4].end == 5);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(LineDrawingTest, InsInLineDefsModeBuildsASectorOnTheSelection) {
    // Bare LineDefs drawn without Auto Insert get a new Sector of the
    // defaults, which ends up selected in Sectors mode.
    config.autoInsertSector = 0;
    Draw(kClockwise);
    // The vertex check ran quietly on the shape's points, newest first.
    EXPECT_EQ(checkCalls, (std::vector<CheckCall>{{false, {3, 2, 1, 0}, CheckStyle::Quiet}}));
    EndLineDrawing();
    config.editMode = kObjLineDef;
    Select({0, 1, 2, 3});
    InsertCommand();
    EXPECT_EQ(config.editMode, kObjSector);
    ASSERT_EQ(level.sectors.count, 1);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{0}));
    EXPECT_EQ(selection.current, 0);
    ExpectWalls(0, 4, 1, 0, -1);
    EXPECT_EQ(Step(), "insert Sector");
}

}  // namespace
