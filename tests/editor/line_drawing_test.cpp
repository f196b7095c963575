// Line drawing on a headless screen, driven as the main loop drives it: the
// buttons of each pass, Enter, Ins and Esc. Rooms and objects drawn in free
// space and inside Sectors, the Sector they get, joining existing Vertexes,
// Ins in the Vertexes and LineDefs modes, and the rubber band.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/line_drawing.h"
#include "editor/split_option.h"
#include "editor/objects.h"
#include "editor_fixture.h"
#include "level/history.h"
#include "support/level_validity.h"
#include "support/reference_check.h"
#include "wad/wadfile.h"

using namespace mapkit;
using testkit::LevelValid;
using testkit::ReferencesSound;

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

using Points = std::vector<std::pair<int, int>>;

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

    // Sector S: the room (0,0)-(400,400), LineDefs 0..3, Vertexes 0..3, with
    // values of its own that a copy shows.
    int Room() {
        int s = AddSector(0, 9, 24, 160);
        std::strncpy(level.sectors[s].floorTexture, "FLAT1", 8);
        std::strncpy(level.sectors[s].ceilingTexture, "CEIL3_5", 8);
        level.sectors[s].light = 144;
        AddRoom(0, 0, 400, 400, s);
        ResetHistory();
        return s;
    }

    // Ins starts the mode; a click on each point; the right button closes.
    void Draw(const Points& points) {
        if (!editor.lineDrawing)
            InsertCommand();
        for (const auto& p : points)
            Click(p.first, p.second);
        RightClick();
    }
    // The screen without the status line, which shows the band's length.
    static Pixels MapPixels() { return MapArea(ScreenPixels()); }
    static std::string Middle(uint16_t side) { return EntryNameText(level.sideDefs[side].middle); }
    // The LineDefs from n on run through the points in turn and back to the
    // first.
    static void ExpectClosedShape(int n, const Points& points) {
        int count = static_cast<int>(points.size());
        ASSERT_EQ(level.lineDefs.count, n + count);
        for (int i = 0; i < count; ++i) {
            const LineDef& ld = level.lineDefs[n + i];
            const Vertex& from = level.vertices[ld.start];
            const Vertex& to = level.vertices[ld.end];
            EXPECT_EQ((Points{{from.x, from.y}, {to.x, to.y}}),
                      (Points{points[size_t(i)], points[size_t((i + 1) % count)]})) << i;
        }
    }
};

// Clockwise: west side north, then east, south and back west.
const Points kClockwise = {{100, 100}, {100, 200}, {200, 200}, {200, 100}};
const Points kCounterClockwise = {{100, 100}, {200, 100}, {200, 200}, {100, 200}};

// --- Shapes and their Sectors --------------------------------------------------------

TEST_F(LineDrawingTest, AClockwiseRoomInFreeSpaceGetsANewSectorWhenAutoInsertIsOn) {
    for (bool autoInsert : {true, false}) {
        ClearMap();
        ResetHistory();
        config.autoInsertSector = autoInsert;
        Draw(kClockwise);
        EXPECT_TRUE(editor.lineDrawing);   // ready for the next shape
        ExpectClosedShape(0, kClockwise);
        EXPECT_EQ(MapCounts(), (std::vector<int>{4, 4, autoInsert ? 4 : 0, autoInsert ? 1 : 0}));
        ExpectWalls(0, 4, 1, autoInsert ? 0 : -1, -1);
        EXPECT_EQ(Step(), autoInsert ? "draw 4 LineDefs" : "draw 1 LineDef");
        EXPECT_TRUE(ReferencesSound());
        // The vertex check ran quietly on the shape's points, newest first.
        EXPECT_EQ(checkCalls, (std::vector<CheckCall>{{false, {3, 2, 1, 0}, CheckStyle::Quiet}}));
        checkCalls.clear();
        // A close with nothing drawn ends the mode and changes nothing.
        std::string before = LevelArrayBytes();
        RightClick();
        EXPECT_FALSE(editor.lineDrawing);
        EXPECT_EQ(LevelArrayBytes(), before);
    }
}

TEST_F(LineDrawingTest, TheDirectionDecidesBetweenAnObjectAndARoomInsideASector) {
    int s = Room();
    // Counter-clockwise: a pillar standing in S, one-sided, facing S.
    Draw(kCounterClockwise);
    ExpectClosedShape(4, kCounterClockwise);
    EXPECT_EQ(level.sectors.count, 1);
    ExpectWalls(4, 4, 1, s, -1);

    // Clockwise, elsewhere in S: a room copied from S, joined to it by
    // two-sided LineDefs whose second sides face S.
    const Points room = {{250, 250}, {250, 350}, {350, 350}, {350, 250}};
    Draw(room);
    ExpectClosedShape(8, room);
    ASSERT_EQ(level.sectors.count, 2);
    EXPECT_TRUE(SameRecord(level.sectors[1], level.sectors[s]));
    ExpectWalls(8, 4, 4, 1, s);
    for (int l = 8; l < 12; ++l)
        EXPECT_EQ(Middle(level.lineDefs[l].sideDef1) + Middle(level.lineDefs[l].sideDef2), "--");

    // A room inside that room: a copy of it, facing it.
    const Points inner = {{275, 275}, {275, 325}, {325, 325}, {325, 275}};
    level.sectors[1].floorHeight = 40;
    Draw(inner);
    ASSERT_EQ(level.sectors.count, 3);
    EXPECT_EQ(level.sectors[2].floorHeight, 40);
    ExpectWalls(12, 4, 4, 2, 1);
    EXPECT_TRUE(ReferencesSound());
}

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

TEST_F(LineDrawingTest, EscLeavesAnOpenShapeBareAndEndsTheModeWhenNothingIsDrawn) {
    InsertCommand();
    ASSERT_TRUE(editor.lineDrawing);
    for (auto [x, y] : Points{{100, 100}, {100, 200}, {200, 200}})
        Click(x, y);
    LineDrawingEvent(LineDrawingCommand::Escape);
    EXPECT_EQ(MapCounts(), (std::vector<int>{3, 2, 0, 0}));   // not closed
    EXPECT_TRUE(editor.lineDrawing);
    // A shape closed by clicking its first point again gets its Sector.
    for (auto [x, y] : Points{{300, 100}, {300, 200}, {400, 200}, {300, 100}})
        Click(x, y);
    LineDrawingEvent(LineDrawingCommand::Escape);
    EXPECT_EQ(MapCounts(), (std::vector<int>{6, 5, 3, 1}));
    EXPECT_TRUE(ReferencesSound());
    LineDrawingEvent(LineDrawingCommand::Escape);
    EXPECT_FALSE(editor.lineDrawing);
}

TEST_F(LineDrawingTest, ExistingVertexesAndLineDefsAreJoinedNotDuplicated) {
    Room();
    config.autoInsertSector = 0;
    InsertCommand();
    Click(0, 0);       // Vertex 0
    Click(0, 400);     // Vertex 1: LineDef 0 joins them already
    EXPECT_EQ(level.lineDefs.count, 4);
    EXPECT_EQ(drawing.newLineDef, -1);
    Click(200, 200);   // a new Vertex
    Click(200, 200);   // the latest point again: ignored
    ASSERT_EQ(MapCounts(), (std::vector<int>{5, 5, 4, 1}));
    EXPECT_TRUE(level.lineDefs[4].start == 1 && level.lineDefs[4].end == 4);
    EXPECT_EQ(Step(), "draw 1 LineDef");
    Click(2, 1);       // near enough to Vertex 0 to pick it
    RightClick();      // the first point is the last: nothing to close
    ASSERT_EQ(MapCounts(), (std::vector<int>{5, 6, 4, 1}));
    EXPECT_TRUE(level.lineDefs[5].start == 4 && level.lineDefs[5].end == 0);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(LineDrawingTest, ASelectedVertexStartsTheShapeAndNewPointsSnapToTheGrid) {
    Room();
    config.gridSnap = 1;
    config.gridSize = 64;
    Select({2});   // (400, 400)
    InsertCommand();
    EXPECT_EQ(drawing.firstPoint, 2);
    Click(300, 270);   // lands on (320, 256)
    ASSERT_EQ(level.vertices.count, 5);
    EXPECT_TRUE(SameRecord(level.vertices[4], Vertex{320, 256}));
    EXPECT_EQ(level.lineDefs[4].start, 2);
    EXPECT_EQ(Step(), "draw 1 LineDef");
    // The band runs from the latest point to the snapped pointer.
    PointAt(360, 180);
    Pass(0);
    EXPECT_EQ(drawing.bandStartX, 320);
    EXPECT_EQ(drawing.bandEndX, 384);
    EXPECT_EQ(drawing.bandEndY, 192);
    // Without snapping, a point lies where the pointer is.
    config.gridSnap = 0;
    Click(301, 301);
    EXPECT_EQ(level.vertices[5].x, 301);
    EXPECT_EQ(Step(), "draw 1 LineDef");
}

TEST_F(LineDrawingTest, TheRubberBandIsDrawnInXorAndFollowsThePointer) {
    DrawMap(MapDrawing::Full);
    InsertCommand();
    Click(100, 100);
    DrawMap(MapDrawing::Full);   // as the loop redraws after a point
    RedrawLineDrawing();
    Pixels atPoint = MapPixels();
    PointAt(180, 100);
    Pass(0);
    Pixels stretched = MapPixels();
    size_t mid = static_cast<size_t>(MapToScreenX(140) +
                                     (MapToScreenY(100) + MapAreaTop() - kMenuBarHeight) * Screen().width());
    EXPECT_NE(stretched[mid], atPoint[mid]);
    Pass(0);   // the pointer did not move: nothing drawn
    EXPECT_EQ(MapPixels(), stretched);
    PointAt(100, 100);
    Pass(0);
    EXPECT_EQ(MapPixels(), atPoint);
}

// --- Ins in the other modes ------------------------------------------------------------

TEST_F(LineDrawingTest, InsWithTwoVertexesSplitsTheSectorOrJoinsThem) {
    // Corners 0 and 2 across the room, or two free Vertexes 4 and 5 east of
    // it (no Sector between them: the split fails after its box).
    const struct {
        const char* keys;
        bool free;
        std::vector<int> counts;   // Vertexes, LineDefs, SideDefs, Sectors
    } cases[] = {
        {"key Enter\n", false, {4, 5, 6, 2}},             // "Split Sector"
        {"key Esc\n", false, {4, 4, 4, 1}},            // cancelled: nothing
        {"key 2\nkey Enter\n", true, {6, 5, 4, 1}},      // a plain LineDef instead
    };
    for (const auto& c : cases) {
        ClearMap();
        Room();
        if (c.free) {
            AddVertex(500, 100);
            AddVertex(500, 300);
        }
        Select(c.free ? std::initializer_list<int>{4, 5} : std::initializer_list<int>{0, 2});
        session.Script(c.keys);
        InsertCommand();
        EXPECT_FALSE(editor.lineDrawing) << c.keys;
        EXPECT_EQ(MapCounts(), c.counts) << c.keys;
    }
    // The plain LineDef runs from the Vertex selected first.
    EXPECT_TRUE(level.lineDefs[4].start == 4 && level.lineDefs[4].end == 5);
    EXPECT_TRUE(ReferencesSound());

    // Three: a message, nothing else.
    Select({0, 1, 2});
    session.Script("key Enter\n");
    std::string before = LevelArrayBytes();
    InsertCommand();
    EXPECT_FALSE(editor.lineDrawing);
    EXPECT_EQ(LevelArrayBytes(), before);
}

TEST_F(LineDrawingTest, InsInLineDefsModeBuildsASectorOnTheSelection) {
    // Bare LineDefs drawn without Auto Insert get a new Sector of the
    // defaults, which ends up selected in Sectors mode.
    config.autoInsertSector = 0;
    Draw(kClockwise);
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

    // Refused (here nothing selected: a beep), the mode stays.
    config.editMode = kObjLineDef;
    Select({});
    InsertCommand();
    EXPECT_EQ(config.editMode, kObjLineDef);
}

}  // namespace
