// Picking and geometry on small maps: each rule of the object search, the
// Sector ray, the Sector beside a LineDef, reference points and box selection.
#include "editor_fixture.h"

using mapkit::AddLineDef;
using mapkit::AddSector;
using mapkit::AddSideDef;
using mapkit::AddThing;
using mapkit::AddVertex;

namespace {

using PickingTest = EditorTest;

TEST_F(PickingTest, ThingsAndVertexesNearestTheBoxCorner) {
    AddThing(10, 10);   // the box centre: farther from the corner (0, 0)
    AddThing(8, 2);     // distance 10
    AddThing(2, 8);     // distance 10 as well: the lower number stays
    EXPECT_EQ(GetCurObject(false, kObjThing, 20, 20, 0, 0), 1);
    EXPECT_EQ(GetCurObject(false, kObjThing, 40, 40, 50, 50), -1);
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
    EXPECT_EQ(GetCurObject(false, kObjLineDef, -20, 40, 15, 60), 0);   // none at the centre
    level.lineDefs[0].start = 99;   // a missing Vertex: never found
    EXPECT_EQ(GetCurObject(false, kObjLineDef, 5, 40, 15, 60), -1);
}

TEST_F(PickingTest, LineDefInsideBox) {
    int s = AddSector();
    const int cases[][5] = {
        {2, 2, 8, 8, 1},     {-5, 5, 15, 5, 1},   {5, -5, 5, 15, 1},  {-5, 20, 20, -5, 1},
        {5, 15, 15, 5, 1},   {10, 10, 30, 30, 1}, {-5, 11, 15, 11, 0}, {11, -5, 11, 15, 0},
        {-5, 12, 12, 29, 0}, {20, 20, 20, 20, 0},
    };
    for (const auto& c : cases) {
        int ld = AddLineDef(AddVertex(c[0], c[1]), AddVertex(c[2], c[3]), AddSideDef(s));
        EXPECT_EQ(IsLineDefInside(ld, 0, 0, 10, 10), c[4] == 1) << c[0] << "," << c[1] << " " << c[2];
    }
}

TEST_F(PickingTest, SectorRayFindsNestedSectors) {
    TwoRooms();
    EXPECT_EQ(GetSectorAtPoint(100, 100), inner);
    EXPECT_EQ(GetSectorAtPoint(25, 100), outer);
    EXPECT_EQ(GetSectorAtPoint(250, 100), -1);
    EXPECT_EQ(GetSectorAtPoint(-50, 100), -1);   // the wall found faces away
    EXPECT_EQ(GetSectorAtPoint(150, 100), inner);   // crossing at the point: inside
    EXPECT_EQ(GetSectorAtPoint(25, 150), outer);    // along a horizontal wall
    // A missing side on the nearest crossing leaves the earlier result.
    level.lineDefs[6].sideDef1 = 999;
    EXPECT_EQ(GetSectorAtPoint(100, 100), outer);
    level.sideDefs[level.lineDefs[2].sideDef1].sector = 500;
    EXPECT_EQ(GetSectorAtPoint(175, 100), -1);
}

TEST_F(PickingTest, SectorRayThroughAVertexCountsOneLineDef) {
    int diamond = AddSector();
    int top = AddVertex(300, 100), right = AddVertex(350, 50), bottom = AddVertex(300, 0),
        left = AddVertex(250, 50);
    const int ends[4][2] = {{top, right}, {right, bottom}, {bottom, left}, {left, top}};
    for (const auto& e : ends)
        AddLineDef(e[0], e[1], AddSideDef(diamond));
    EXPECT_EQ(GetSectorAtPoint(300, 50), diamond);
    EXPECT_EQ(GetSectorAtPoint(240, 50), -1);
    EXPECT_EQ(GetSectorAtPoint(300, 99), diamond);
    EXPECT_EQ(GetSectorAtPoint(300, 100), -1);
}

TEST_F(PickingTest, SectorOnEitherSideOfALineDef) {
    TwoRooms();
    EXPECT_EQ(GetSectorOnSide(4, 1), inner);   // inner west wall: a ray east
    EXPECT_EQ(GetSectorOnSide(4, 0), outer);
    EXPECT_EQ(GetSectorOnSide(5, 1), inner);   // inner north wall: a ray south
    EXPECT_EQ(GetSectorOnSide(5, 0), outer);
    EXPECT_EQ(GetSectorOnSide(0, 0), -1);      // out of the map
    level.lineDefs[6].sideDef1 = -1;
    EXPECT_EQ(GetSectorOnSide(4, 1), -1);      // the wall it meets has no side there

    // Equal crossings: the one whose midpoint lies nearer the origin, in
    // either order.
    int a = AddSector(), b = AddSector();
    int origin = AddLineDef(AddVertex(-5, 300), AddVertex(5, 300), AddSideDef(a));
    int c2 = AddLineDef(AddVertex(-10, 340), AddVertex(30, 380), AddSideDef(b), AddSideDef(b));
    int c1 = AddLineDef(AddVertex(-10, 360), AddVertex(10, 340), AddSideDef(a), AddSideDef(b));
    EXPECT_EQ(GetSectorOnSide(origin, 0), a);
    std::swap(level.lineDefs[c1], level.lineDefs[c2]);
    EXPECT_EQ(GetSectorOnSide(origin, 0), a);
}

TEST_F(PickingTest, ObjectReferencePoints) {
    int s = AddSector();
    mapkit::AddRoom(-31, -11, 0, 0, s);
    int16_t x = 1, y = 1;
    GetObjectCoords(kObjSector, s, &x, &y);
    EXPECT_EQ(x, -15);   // -124 / 8, truncated towards zero
    EXPECT_EQ(y, -5);
    GetObjectCoords(kObjSideDef, level.lineDefs[2].sideDef1, &x, &y);   // (0,0)-(0,-11)
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, -5);
    int lonely = AddSector();   // nothing uses it: the centre of the map bounds
    AddVertex(100, 41);
    ComputeMapBounds();
    GetObjectCoords(kObjSector, lonely, &x, &y);
    EXPECT_EQ(x, 34);
    EXPECT_EQ(y, 15);
    x = y = 7;
    GetObjectCoords(kObjSector, 9, &x, &y);
    GetObjectCoords(kObjNode, 0, &x, &y);
    level.lineDefs[1].end = -3;
    GetObjectCoords(kObjLineDef, 1, &x, &y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 7);
}

TEST_F(PickingTest, BoxSelectionByMode) {
    TwoRooms();
    AddThing(10, 10);
    AddThing(60, 60);
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjThing, 100, 100, 10, 10)), (std::vector<int>{1, 0}));
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjLineDef, 40, 40, 149, 150)), (std::vector<int>{4}));
    // A Sector with one LineDef wholly inside: both sides of that LineDef.
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjSector, 40, 40, 60, 160)),
              (std::vector<int>{outer, inner}));
    EXPECT_TRUE(SelectObjectsInBox(kObjSector, 60, 60, 140, 140).empty());
    EXPECT_EQ(selection.selectedCount, 5);   // every list counts until forgotten
}

TEST_F(PickingTest, PointerBoxGrowsWithTheZoom) {
    AddThing(80, 0);
    config.selectRange = 10;
    SetScale(0.125f);   // 10 pixels: 80 map units
    view.PointerX = view.CenterX, view.PointerY = view.CenterY;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), 0);
    level.things[0].x = 88;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), -1);
    SetScale(2.0f);   // 20 pixels: 10 map units
    level.things[0].x = 10;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), 0);
    level.things[0].x = 11;
    EXPECT_EQ(GetObjectUnderPointer(kObjThing), -1);
}

}  // namespace
