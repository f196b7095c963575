// Picking and geometry on small maps: each rule of the object search, the
// Sector ray, the Sector beside a LineDef, reference points and box selection.
#include "editor_fixture.h"

using mapkit::AddLineDef;
using mapkit::AddRoom;
using mapkit::AddSector;
using mapkit::AddSideDef;
using mapkit::AddThing;
using mapkit::AddVertex;

namespace {

using PickingTest = EditorTest;

TEST_F(PickingTest, ThingNearestTheBoxCornerWinsLowerNumberOnTies) {
    AddThing(10, 10);   // the box centre: farther from the corner
    AddThing(8, 2);     // distance 10 from (0, 0)
    AddThing(2, 8);     // distance 10 as well: the lower number stays
    AddThing(30, 1);    // outside
    EXPECT_EQ(GetCurObject(false, kObjThing, 20, 20, 0, 0), 1);
    AddThing(1, 2);
    EXPECT_EQ(GetCurObject(false, kObjThing, 0, 0, 20, 20), 4);
    EXPECT_EQ(GetCurObject(false, kObjThing, 40, 40, 50, 50), -1);
}

TEST_F(PickingTest, VertexPointQueryAndZeroWidthBoxTakeTheFirstInside) {
    AddVertex(50, 58);
    AddVertex(50, 41);
    AddVertex(50, 41);
    EXPECT_EQ(GetCurObject(false, kObjVertex, 50, 41, 50, 41), 1);
    // No width: the first inside, although Vertex 1 lies nearer the corner.
    EXPECT_EQ(GetCurObject(false, kObjVertex, 50, 40, 50, 60), 0);
    EXPECT_EQ(GetCurObject(false, kObjVertex, 50, 40, 51, 60), 1);
}

TEST_F(PickingTest, LineDefThroughTheCentreBeatsEarlierOnesInTheBox) {
    int s = AddSector();
    AddLineDef(AddVertex(10, 0), AddVertex(10, 100), AddSideDef(s));   // 0
    AddLineDef(AddVertex(0, 0), AddVertex(0, 100), AddSideDef(s));     // 1
    EXPECT_EQ(GetCurObject(false, kObjLineDef, -20, 40, 20, 60), 1);
    // Nothing near the centre (-7, 50): the first in the box.
    EXPECT_EQ(GetCurObject(false, kObjLineDef, -20, 40, 5, 60), 1);
    EXPECT_EQ(GetCurObject(false, kObjLineDef, -20, 40, 15, 60), 0);
    EXPECT_EQ(GetCurObject(false, kObjLineDef, 5, 40, 15, 60), 0);
    // A LineDef with a missing Vertex is never found.
    level.lineDefs[0].start = 99;
    EXPECT_EQ(GetCurObject(false, kObjLineDef, 5, 40, 15, 60), -1);
    EXPECT_EQ(GetCurObject(false, 3, 0, 0, 10, 10), -1);
}

TEST_F(PickingTest, LineDefInsideBox) {
    int s = AddSector();
    auto line = [&](int x1, int y1, int x2, int y2) {
        return AddLineDef(AddVertex(x1, y1), AddVertex(x2, y2), AddSideDef(s));
    };
    struct Case {
        int x1, y1, x2, y2;
        bool inside;
    };
    const Case cases[] = {
        {2, 2, 8, 8, true},        // wholly inside
        {-5, 5, 15, 5, true},      // horizontal, through left and right edges
        {5, -5, 5, 15, true},      // vertical, through bottom and top
        {-5, 20, 20, -5, true},    // diagonal through the top edge
        {5, 15, 15, 5, true},      // exactly through the corner (10, 10)
        {10, 10, 30, 30, true},    // an end on the corner
        {-5, 11, 15, 11, false},   // horizontal just above
        {11, -5, 11, 15, false},   // vertical just right
        {-5, 12, 12, 29, false},   // diagonal passing by
        {20, 20, 20, 20, false},   // no length
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsLineDefInside(line(c.x1, c.y1, c.x2, c.y2), 0, 0, 10, 10), c.inside)
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    EXPECT_FALSE(IsLineDefInside(99, 0, 0, 10, 10));
}

TEST_F(PickingTest, SectorRayFindsNestedSectors) {
    TwoRooms();
    EXPECT_EQ(GetSectorAtPoint(100, 100), inner);
    EXPECT_EQ(GetSectorAtPoint(25, 100), outer);
    EXPECT_EQ(GetSectorAtPoint(175, 100), outer);
    EXPECT_EQ(GetSectorAtPoint(250, 100), -1);
    // West of everything: the wall found faces away from the point.
    EXPECT_EQ(GetSectorAtPoint(-50, 100), -1);
    // On the inner room's east wall the crossing is at the point: inside.
    EXPECT_EQ(GetSectorAtPoint(150, 100), inner);
    EXPECT_EQ(GetSectorAtPoint(50, 100), outer);
    // Along the inner room's north wall: its horizontal wall and the
    // Vertexes on the ray are not crossings.
    EXPECT_EQ(GetSectorAtPoint(25, 150), outer);
}

TEST_F(PickingTest, SectorRayThroughAVertexCountsOneLineDef) {
    int diamond = AddSector();
    int top = AddVertex(300, 100), right = AddVertex(350, 50), bottom = AddVertex(300, 0),
        left = AddVertex(250, 50);
    AddLineDef(top, right, AddSideDef(diamond));
    AddLineDef(right, bottom, AddSideDef(diamond));
    AddLineDef(bottom, left, AddSideDef(diamond));
    AddLineDef(left, top, AddSideDef(diamond));
    EXPECT_EQ(GetSectorAtPoint(300, 50), diamond);
    EXPECT_EQ(GetSectorAtPoint(349, 50), diamond);
    EXPECT_EQ(GetSectorAtPoint(240, 50), -1);
    EXPECT_EQ(GetSectorAtPoint(300, 99), diamond);
    EXPECT_EQ(GetSectorAtPoint(300, 100), -1);
}

TEST_F(PickingTest, SectorRaySkipsMissingSidesAndSectors) {
    TwoRooms();
    // The inner room's east wall loses its first side: the point between the
    // walls still belongs to the earlier crossing, the outer wall.
    level.lineDefs[6].sideDef1 = 999;
    EXPECT_EQ(GetSectorAtPoint(100, 100), outer);
    level.lineDefs[6].sideDef1 = -1;
    EXPECT_EQ(GetSectorAtPoint(100, 100), outer);
    level.sideDefs[level.lineDefs[2].sideDef1].sector = 500;
    EXPECT_EQ(GetSectorAtPoint(175, 100), -1);
    level.vertices.count = 4;   // the inner room loses its Vertexes
    EXPECT_EQ(GetSectorAtPoint(100, 100), -1);
}

TEST_F(PickingTest, SectorOnEitherSideOfALineDef) {
    TwoRooms();
    EXPECT_EQ(GetSectorOnSide(4, 1), inner);   // inner west wall, east of it
    EXPECT_EQ(GetSectorOnSide(4, 0), outer);
    EXPECT_EQ(GetSectorOnSide(5, 1), inner);   // inner north wall: vertical ray south
    EXPECT_EQ(GetSectorOnSide(5, 0), outer);
    EXPECT_EQ(GetSectorOnSide(0, 1), outer);
    EXPECT_EQ(GetSectorOnSide(0, 0), -1);      // out of the map
    EXPECT_EQ(GetSectorOnSide(99, 1), -1);
    level.lineDefs[6].sideDef1 = -1;
    EXPECT_EQ(GetSectorOnSide(4, 1), -1);      // the wall it meets has no side there
}

TEST_F(PickingTest, SectorOnSideEqualCrossingsPreferTheNearerMidpoint) {
    int a = AddSector(), b = AddSector();
    int origin = AddLineDef(AddVertex(-5, 0), AddVertex(5, 0), AddSideDef(a));
    // Both cross the ray north of the origin at (0, 50); c1's midpoint lies
    // at y 50, c2's at 60.
    int c2 = AddLineDef(AddVertex(-10, 40), AddVertex(30, 80), AddSideDef(b), AddSideDef(b));
    int c1 = AddLineDef(AddVertex(-10, 60), AddVertex(10, 40), AddSideDef(a), AddSideDef(b));
    EXPECT_EQ(GetSectorOnSide(origin, 0), a);
    std::swap(level.lineDefs[c1], level.lineDefs[c2]);
    EXPECT_EQ(GetSectorOnSide(origin, 0), a);
}

TEST_F(PickingTest, ObjectReferencePoints) {
    int s = AddSector();
    AddRoom(-31, -11, 0, 0, s);   // LineDefs 0..3
    int16_t x = 1, y = 1;
    GetObjectCoords(kObjSector, s, &x, &y);
    EXPECT_EQ(x, -15);   // -124 / 8, truncated towards zero
    EXPECT_EQ(y, -5);
    GetObjectCoords(kObjLineDef, 1, &x, &y);   // (-31,0)-(0,0)
    EXPECT_EQ(x, -15);
    EXPECT_EQ(y, 0);
    GetObjectCoords(kObjSideDef, level.lineDefs[2].sideDef1, &x, &y);   // (0,0)-(0,-11)
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, -5);

    int lonely = AddSector();
    AddSideDef(lonely);
    AddVertex(100, 41);
    ComputeMapBounds();
    GetObjectCoords(kObjSector, lonely, &x, &y);
    EXPECT_EQ(x, (100 - 31) / 2);
    EXPECT_EQ(y, (41 - 11) / 2);
    GetObjectCoords(kObjSideDef, level.sideDefs.count - 1, &x, &y);
    EXPECT_EQ(x, 34);
    x = y = 7;
    GetObjectCoords(kObjSector, 9, &x, &y);
    GetObjectCoords(kObjThing, 0, &x, &y);
    GetObjectCoords(kObjNode, 0, &x, &y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 7);
    level.lineDefs[1].end = -3;
    GetObjectCoords(kObjLineDef, 1, &x, &y);
    EXPECT_EQ(x, 7);
}

TEST_F(PickingTest, BoxSelectionByMode) {
    TwoRooms();
    AddThing(10, 10);
    AddThing(60, 60);
    AddThing(100, 100);
    // Things in number order, so the head is the last found.
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjThing, 100, 100, 10, 10)), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjVertex, 50, 50, 150, 150)),
              (std::vector<int>{7, 6, 5, 4}));
    // LineDefs need both ends inside, borders included.
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjLineDef, 40, 40, 150, 150)),
              (std::vector<int>{7, 6, 5, 4}));
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjLineDef, 40, 40, 149, 150)), (std::vector<int>{4}));
    // A Sector with one LineDef wholly inside: both sides of that LineDef.
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjSector, 40, 40, 60, 160)),
              (std::vector<int>{outer, inner}));
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjSector, -1, -1, 1, 201)), (std::vector<int>{outer}));
    EXPECT_TRUE(SelectObjectsInBox(kObjSector, 60, 60, 140, 140).empty());
    EXPECT_EQ(selection.selectedCount, 15);   // every list counts until forgotten
}

TEST_F(PickingTest, PointerBoxGrowsWithTheZoom) {
    AddThing(80, 0);
    AddThing(160, 0);
    config.selectRange = 10;
    SetScale(0.125f);
    view.OrigX = 0, view.OrigY = 0;
    view.PointerX = view.CenterX, view.PointerY = view.CenterY;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), 0);   // 10 pixels: 80 map units
    level.things[0].x = 88;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), -1);
    SetScale(2.0f);   // 20 pixels: 10 map units
    level.things[0].x = 10;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), 0);
    level.things[0].x = 11;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), -1);
    EXPECT_EQ(GetObjectUnderPointer(kObjThing, 30), 0);
}

TEST_F(PickingTest, MaxObjectNumbers) {
    TwoRooms();
    level.numSegs = 5;
    EXPECT_EQ(GetMaxObjectNum(kObjLineDef), 7);
    EXPECT_EQ(GetMaxObjectNum(kObjSideDef), 11);
    EXPECT_EQ(GetMaxObjectNum(kObjSector), 1);
    EXPECT_EQ(GetMaxObjectNum(kObjSegment), 4);
    EXPECT_EQ(GetMaxObjectNum(kObjThing), -1);
    EXPECT_EQ(GetMaxObjectNum(kObjNode), -1);
}

}  // namespace
