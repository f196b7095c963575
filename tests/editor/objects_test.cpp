// Inserting, deleting, copying and moving objects: the records they make,
// the renumbering of every reference, and the one-pass deletion against a
// plain one-object-at-a-time model on random maps.
#include <cstring>
#include <random>
#include <string>

#include "editor/objects.h"
#include "editor_fixture.h"
#include "stepwise_delete.h"
#include "support/reference_check.h"
#include "wad/wadfile.h"

using mapkit::AddLineDef;
using mapkit::AddSector;
using mapkit::AddSideDef;
using mapkit::AddThing;
using mapkit::AddVertex;
using testkit::ReferencesSound;

namespace {

class ObjectsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        moveState = MoveState{};
        config.soundErrors = 0;
    }
    void TearDown() override {
        EndMove();
        EditorTest::TearDown();
    }
};

// The level's objects and change flags, to compare two states of it.
struct Snapshot {
    std::string objects = mapkit::LevelArrayBytes();
    bool levelChanged = level.levelChanged;
    bool mapChanged = level.mapChanged;
    bool operator==(const Snapshot& o) const {
        return objects == o.objects && levelChanged == o.levelChanged && mapChanged == o.mapChanged;
    }
};

// --- Inserting ----------------------------------------------------------------

TEST_F(ObjectsTest, InsertWithDefaults) {
    for (int i = 0; i < 10; ++i)
        AddVertex(i, i);
    AddSector();
    AddSector();
    config.defaultThingType = 2001;
    SetField(config.textureNormal, "STARTAN3");   // all 8 characters
    SetField(config.flatFloor, "FLOOR4_8");
    SetField(config.flatCeiling, "CEIL3_5");
    config.defaultFloor = -16;
    config.defaultCeiling = 112;

    ASSERT_EQ(InsertObject(kObjThing, -1, 300, -40), 0);
    const Thing& t = level.things[0];
    EXPECT_TRUE(t.x == 300 && t.y == -40 && t.type == 2001 && t.flags == 7);
    EXPECT_TRUE(level.levelChanged);
    EXPECT_FALSE(level.mapChanged);   // Things leave the map as it was

    ASSERT_EQ(InsertObject(kObjLineDef, -1, 5, 5), 0);
    const LineDef& ld = level.lineDefs[0];
    EXPECT_TRUE(ld.start == 0 && ld.end == 9 && ld.flags == 1);   // to the last Vertex, impassable
    EXPECT_TRUE(ld.sideDef1 == kNoReference && ld.sideDef2 == kNoReference);
    EXPECT_TRUE(level.mapChanged);

    ASSERT_EQ(InsertObject(kObjSideDef, -1, 0, 0), 0);
    const SideDef& sd = level.sideDefs[0];
    EXPECT_EQ(EntryNameText(sd.upper) + EntryNameText(sd.lower), "--");
    EXPECT_EQ(EntryNameText(sd.middle), "STARTAN3");
    EXPECT_EQ(sd.sector, 1);   // the last Sector

    ASSERT_EQ(InsertObject(kObjSector, -1, 0, 0), 2);
    const Sector& s = level.sectors[2];
    EXPECT_TRUE(s.floorHeight == -16 && s.ceilingHeight == 112 && s.light == 255);
    EXPECT_EQ(EntryNameText(s.floorTexture) + EntryNameText(s.ceilingTexture), "FLOOR4_8CEIL3_5");

    view.MapMaxX = 100;
    ASSERT_EQ(InsertObject(kObjVertex, -1, 900, -7), 10);
    EXPECT_EQ(level.vertices[10].x, 900);
    EXPECT_EQ(view.MapMaxX, 900);   // the bounds take the new Vertex in
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(ObjectsTest, InsertCopiesTheSourceButNotItsSides) {
    TwoRooms();
    AddThing(10, 20, 3004, 90, 12);
    level.lineDefs[5].tag = 7;
    level.lineDefs[5].type = 1;
    level.sectors[inner].tag = 3;
    std::strncpy(level.sideDefs[2].middle, "BIGDOOR1", 8);
    level.sideDefs[2].xOffset = 16;

    const Thing& thing = level.things[InsertObject(kObjThing, 0, -64, 64)];
    EXPECT_TRUE(thing.type == 3004 && thing.angle == 90 && thing.flags == 12);
    EXPECT_TRUE(thing.x == -64 && thing.y == 64);   // at the place given

    LineDef source = level.lineDefs[5];
    source.sideDef1 = source.sideDef2 = kNoReference;
    int line = InsertObject(kObjLineDef, 5, 0, 0);
    EXPECT_EQ(std::memcmp(&level.lineDefs[line], &source, sizeof(LineDef)), 0);

    int side = InsertObject(kObjSideDef, 2, 0, 0);
    EXPECT_EQ(std::memcmp(&level.sideDefs[side], &level.sideDefs[2], sizeof(SideDef)), 0);
    int sector = InsertObject(kObjSector, inner, 0, 0);
    EXPECT_EQ(std::memcmp(&level.sectors[sector], &level.sectors[inner], sizeof(Sector)), 0);

    // A source that does not exist gives the defaults.
    int fresh = InsertObject(kObjThing, 500, 0, 0);
    EXPECT_EQ(level.things[fresh].type, config.defaultThingType);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(ObjectsTest, OtherTypesAndFullArraysAreRefused) {
    TwoRooms();
    Snapshot before;
    LevelState vertexes = level;
    for (int type : {int{kObjNone}, int{kObjSegment}, int{kObjNode}, int{kObjBlockmap}, -1, 42})
        EXPECT_EQ(InsertObject(type, -1, 0, 0), -1) << type;
    SelectionList list = ListOf({1}), none;
    DeleteObjects(kObjSegment, list);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1}));   // left alone
    ForgetSelection(list);
    DeleteObjects(kObjVertex, none);   // nothing to delete: nothing changes
    AllocateArray(level.vertices, kMaxReferencedObjects, kMaxReferencedObjects);
    EXPECT_EQ(InsertObject(kObjVertex, -1, 0, 0), -1);   // its number could not be referred to
    EXPECT_EQ(level.vertices.count, kMaxReferencedObjects);
    level.vertices = vertexes.vertices;
    EXPECT_TRUE(Snapshot() == before);
    // Without a Vertex a LineDef would have ends that do not exist.
    mapkit::ClearMap();
    EXPECT_EQ(InsertObject(kObjLineDef, -1, 0, 0), -1);
    EXPECT_EQ(level.lineDefs.count, 0);
}

// --- Deleting -----------------------------------------------------------------

TEST_F(ObjectsTest, DeletingAVertexTakesItsLineDefsAndRenumbers) {
    // Vertexes 0..9 on a line; LineDefs 0..4 along it, 5 and 6 from Vertex 3,
    // 7 from Vertex 7 to 8. Each LineDef has its own SideDef.
    AddSector();
    for (int i = 0; i < 10; ++i)
        AddVertex(i * 64, 0);
    for (int i = 0; i < 5; ++i)
        AddLineDef(i, i + 1, AddSideDef(0));
    AddLineDef(3, 8, AddSideDef(0));
    AddLineDef(9, 3, AddSideDef(0), AddSideDef(0));
    AddLineDef(7, 8, AddSideDef(0));
    level.sideDefs[8].xOffset = 77;   // LineDef 7's

    DeleteObject(kObjVertex, 3);
    // LineDefs 2 and 3 (ends at 3), 5 and 6 are gone with their 5 SideDefs.
    ASSERT_EQ(level.lineDefs.count, 4);
    ASSERT_EQ(level.sideDefs.count, 4);
    ASSERT_EQ(level.vertices.count, 9);
    const LineDef& last = level.lineDefs[3];   // was 7, from Vertex 7 to 8
    EXPECT_EQ(last.start, 6);
    EXPECT_EQ(last.end, 7);
    EXPECT_EQ(level.sideDefs[last.sideDef1].xOffset, 77);
    EXPECT_EQ(level.lineDefs[2].start, 3);   // was 4 -> 5
    EXPECT_EQ(level.lineDefs[2].end, 4);
    EXPECT_TRUE(level.mapChanged);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(ObjectsTest, DeletingASectorLeavesItsLineDefsOneSideShort) {
    TwoRooms();
    int third = AddSector();
    mapkit::AddRoom(300, 0, 400, 100, third);
    level.sectors[third].tag = 33;

    DeleteObject(kObjSector, inner);
    ASSERT_EQ(level.sectors.count, 2);
    EXPECT_EQ(level.sectors[1].tag, 33);   // Sector 2 became 1
    ASSERT_EQ(level.lineDefs.count, 12);   // no LineDef goes
    for (int l = 4; l < 8; ++l) {
        const LineDef& ld = level.lineDefs[l];
        EXPECT_EQ(ld.sideDef1, kNoReference) << l;   // the inner side is gone
        ASSERT_TRUE(ValidSideDef(ld.sideDef2));
        EXPECT_EQ(level.sideDefs[ld.sideDef2].sector, outer);
    }
    for (int l = 8; l < 12; ++l)
        EXPECT_EQ(level.sideDefs[level.lineDefs[l].sideDef1].sector, 1);
    EXPECT_EQ(level.vertices.count, 12);   // Vertexes stay
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(ObjectsTest, ASideDefThatAnotherLineDefSharesStays) {
    AddSector();
    for (int i = 0; i < 4; ++i)
        AddVertex(i * 64, 0);
    int shared = AddSideDef(0);
    AddLineDef(0, 1, shared);
    AddLineDef(1, 2, shared);
    AddLineDef(2, 3, AddSideDef(0));

    DeleteObject(kObjLineDef, 0);
    ASSERT_EQ(level.sideDefs.count, 2);
    EXPECT_EQ(level.lineDefs[0].sideDef1, shared);   // the other user keeps it

    SelectionList both = ListOf({0, 1});
    DeleteObjects(kObjLineDef, both);   // its last user goes: it goes too
    EXPECT_EQ(level.sideDefs.count, 0);
    EXPECT_EQ(level.lineDefs.count, 0);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(ObjectsTest, ReferencesToNothingAreLeftAsTheyAre) {
    TwoRooms();
    level.lineDefs[0].end = 900;           // no such Vertex
    level.lineDefs[1].sideDef2 = 5000;     // no such SideDef
    level.sideDefs[3].sector = 77;         // no such Sector
    SelectionList list = ListOf({12000, 2, -1, 0});   // entries that name nothing are skipped
    DeleteObjects(kObjSideDef, list);
    EXPECT_EQ(level.sideDefs.count, 10);
    EXPECT_EQ(level.lineDefs[0].end, 900);
    EXPECT_EQ(level.lineDefs[0].sideDef1, kNoReference);
    EXPECT_EQ(level.lineDefs[1].sideDef1, 0);   // 1 -> 0
    EXPECT_EQ(level.lineDefs[1].sideDef2, 5000);
    EXPECT_EQ(level.lineDefs[2].sideDef1, kNoReference);
    EXPECT_EQ(level.lineDefs[2].sideDef2, kNoReference);   // none stays none
    EXPECT_EQ(level.sideDefs[1].sector, 77);
    EXPECT_EQ(selection.selectedCount, 0);

    // The deleted Vertex's LineDef 0 goes even with its other end missing.
    DeleteObject(kObjVertex, 0);
    EXPECT_EQ(level.lineDefs.count, 6);
}

// A small map of every kind of object with random references: mostly to
// objects that exist, some to none, a few to nothing (as loaded maps may
// have), SideDefs shared now and then.
void RandomMap(std::mt19937& random, bool sound) {
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto ref = [&](int count, bool noneAllowed) -> int {
        int roll = below(20);
        if (noneAllowed && roll < 3)
            return kNoReference;
        if (!sound && roll == 3)
            return count + below(3);
        return count > 0 ? below(count) : kNoReference;
    };
    mapkit::ClearMap();
    int vertexes = 1 + below(12), sectors = below(6), sides = below(16), lines = below(16);
    for (int i = 0; i < vertexes; ++i)
        AddVertex(below(512), below(512));
    for (int i = 0; i < sectors; ++i)
        AddSector(i);
    for (int i = 0; i < sides; ++i)
        AddSideDef(ref(sectors, true));
    for (int i = 0; i < lines; ++i)
        AddLineDef(ref(vertexes, false), ref(vertexes, false), ref(sides, true), ref(sides, true), i);
    int things = below(6);
    for (int i = 0; i < things; ++i)
        AddThing(i, i);
}

std::vector<int> RandomList(std::mt19937& random, int count) {
    std::vector<int> all;
    for (int n = 0; n < count + 2; ++n)   // two that name nothing
        all.push_back(n);
    std::shuffle(all.begin(), all.end(), random);
    all.resize(std::uniform_int_distribution<size_t>(1, all.size())(random));
    return all;
}

TEST_F(ObjectsTest, OnePassDeletionAgreesWithDeletingOneAtATime) {
    std::mt19937 random(20240512);
    const int types[] = {kObjThing, kObjVertex, kObjLineDef, kObjSideDef, kObjSector};
    for (int round = 0; round < 3000; ++round) {
        bool sound = round % 2 == 0;
        RandomMap(random, sound);
        int type = types[round % 5];
        std::vector<int> headFirst = RandomList(random, stepwise::CountOf(type));
        LevelState start = level;

        stepwise::DeleteObjects(type, headFirst);
        Snapshot expected;

        level = start;
        SelectionList list;
        for (auto n = headFirst.rbegin(); n != headFirst.rend(); ++n)
            SelectObject(list, *n);
        DeleteObjects(type, list);
        ASSERT_TRUE(Snapshot() == expected) << "round " << round << ", type " << type;
        ASSERT_TRUE(list.empty());
        ASSERT_EQ(selection.selectedCount, 0);
        if (sound) {
            ASSERT_TRUE(ReferencesSound()) << "round " << round;
        }
    }
}

// --- Copying -----------------------------------------------------------------

TEST_F(ObjectsTest, CopiedThingsAndVertexesLieOnTheirSources) {
    AddThing(10, 20, 3001, 45, 4);
    AddThing(30, 40, 3002, 90, 7);
    AddVertex(-5, 6);
    AddVertex(7, -8);
    SelectionList things = ListOf({0, 1});   // head 1
    ASSERT_TRUE(CopyObjects(kObjThing, things));
    EXPECT_EQ(Numbers(things), (std::vector<int>{2, 3}));   // the head is copied first
    EXPECT_EQ(std::memcmp(&level.things[2], &level.things[1], sizeof(Thing)), 0);
    EXPECT_EQ(std::memcmp(&level.things[3], &level.things[0], sizeof(Thing)), 0);
    EXPECT_FALSE(level.mapChanged);

    SelectionList vertexes = ListOf({1});
    ASSERT_TRUE(CopyObjects(kObjVertex, vertexes));
    ASSERT_EQ(Numbers(vertexes), (std::vector<int>{2}));
    EXPECT_TRUE(level.vertices[2].x == 7 && level.vertices[2].y == -8);
    EXPECT_EQ(selection.selectedCount, 3);   // the lists themselves
    ForgetSelection(things);
    ForgetSelection(vertexes);
}

TEST_F(ObjectsTest, CopiedLineDefsRunBetweenNewVertexesWithoutSides) {
    TwoRooms();
    SelectionList list = ListOf({4, 5});   // two LineDefs sharing Vertex 5
    ASSERT_TRUE(CopyObjects(kObjLineDef, list));
    ASSERT_EQ(level.lineDefs.count, 10);
    ASSERT_EQ(level.vertices.count, 11);   // three new Vertexes, the shared one once
    for (int n : list) {
        const LineDef& copy = level.lineDefs[n];
        EXPECT_GE(n, 8);
        EXPECT_GE(copy.start, 8);
        EXPECT_GE(copy.end, 8);
        EXPECT_EQ(copy.sideDef1, kNoReference);
        EXPECT_EQ(copy.sideDef2, kNoReference);
    }
    for (int i = 0; i < 2; ++i) {
        const LineDef& copy = level.lineDefs[8 + i];
        const LineDef& source = level.lineDefs[5 - i];   // the head (5) was copied first
        EXPECT_EQ(copy.flags, source.flags);
        for (auto [c, s] : {std::pair{copy.start, source.start}, std::pair{copy.end, source.end}}) {
            EXPECT_EQ(level.vertices[c].x, level.vertices[s].x);
            EXPECT_EQ(level.vertices[c].y, level.vertices[s].y);
        }
    }
    EXPECT_EQ(level.lineDefs[8].start, level.lineDefs[9].end);   // still joined
    EXPECT_EQ(level.sideDefs.count, 12);
    EXPECT_TRUE(ReferencesSound());
    ForgetSelection(list);
}

TEST_F(ObjectsTest, CopiedAdjacentSectorsShareTheCopyOfTheirWall) {
    // Beside the fixture's rooms, Sectors west and east side by side with a
    // shared wall at x = 1100; east also borders a Sector that is not copied.
    TwoRooms();
    int west = AddSector(), east = AddSector(), beyond = AddSector();
    int a = AddVertex(1000, 0), b = AddVertex(1000, 100), c = AddVertex(1100, 100);
    int d = AddVertex(1100, 0), e = AddVertex(1200, 100), f = AddVertex(1200, 0);
    AddLineDef(a, b, AddSideDef(west));
    AddLineDef(b, c, AddSideDef(west));
    AddLineDef(d, a, AddSideDef(west));
    int wall = AddLineDef(c, d, AddSideDef(west), AddSideDef(east), 4);
    AddLineDef(c, e, AddSideDef(east));
    AddLineDef(e, f, AddSideDef(east), AddSideDef(beyond), 4);   // faces a Sector not copied
    AddLineDef(f, d, AddSideDef(east));
    level.sectors[west].tag = 9;
    int32_t sectors = level.sectors.count, lines = level.lineDefs.count;

    SelectionList list = ListOf({west, east});
    ASSERT_TRUE(CopyObjects(kObjSector, list));
    EXPECT_EQ(level.sectors.count, sectors + 2);
    EXPECT_EQ(level.lineDefs.count, lines + 7);
    std::vector<int> copies = Numbers(list);
    ASSERT_EQ(copies.size(), 2u);
    int copyEast = copies[0], copyWest = copies[1];
    EXPECT_GE(copyEast, sectors);
    EXPECT_GE(copyWest, sectors);

    // Find the copy of the shared wall: the new LineDef at the same place.
    int wallCopy = -1;
    for (int l = lines; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (level.vertices[ld.start].x == 1100 && level.vertices[ld.end].x == 1100)
            wallCopy = l;
        EXPECT_GE(ld.start, 14);   // new Vertexes only
        EXPECT_GE(ld.end, 14);
    }
    ASSERT_GE(wallCopy, 0);
    const LineDef& copied = level.lineDefs[wallCopy];
    ASSERT_NE(copied.sideDef1, level.lineDefs[wall].sideDef1);   // SideDefs of its own
    EXPECT_EQ(level.sideDefs[copied.sideDef1].sector, copyWest);
    EXPECT_EQ(level.sideDefs[copied.sideDef2].sector, copyEast);
    EXPECT_EQ(level.vertices.count, 14 + 6);

    // The wall to the Sector outside the list still faces that Sector.
    int beyondSides = 0;
    for (int s = 0; s < level.sideDefs.count; ++s)
        beyondSides += level.sideDefs[s].sector == beyond;
    EXPECT_EQ(beyondSides, 2);
    EXPECT_EQ(level.sectors[copyWest].tag, 9);
    EXPECT_TRUE(ReferencesSound());
    ForgetSelection(list);
}

TEST_F(ObjectsTest, CopyRefusedWhenTheCopiesWouldNotFit) {
    TwoRooms();
    AllocateArray(level.vertices, kMaxReferencedObjects - 4, kMaxReferencedObjects - 4);
    for (int i = 0; i < 8; ++i)   // the rooms' corners, kept as they were
        level.vertices[i] = Vertex{int16_t(i), int16_t(i)};
    Snapshot before;
    SelectionList list = ListOf({outer, inner});   // 8 LineDefs on 8 Vertexes
    EXPECT_FALSE(CopyObjects(kObjSector, list));
    EXPECT_EQ(Numbers(list), (std::vector<int>{inner, outer}));
    EXPECT_TRUE(Snapshot() == before);
    ForgetSelection(list);
    list = ListOf({4});   // a LineDef: two new Vertexes fit
    EXPECT_TRUE(CopyObjects(kObjLineDef, list));
    ForgetSelection(list);
}

// --- Moving ----------------------------------------------------------------------

struct SnapCase {
    int grid;
    bool snap;
    int dx, dy;
    int x, y;   // where the Vertex at (10, 33) lands
};

TEST_F(ObjectsTest, DraggedVertexesLandOnTheGrid) {
    const SnapCase cases[] = {
        {64, true, 64, 0, 64, 64},    // (10 + 32 + 64) and (33 + 32) to the grid
        {64, true, 0, -64, 0, 0},
        {64, true, 32, 0, 64, 64},    // the pointer's point snaps too: 32 -> 64
        {0, true, 64, 0, 74, 33},     // no grid: no snapping
        {64, false, 64, 0, 74, 33},   // snapping off
        {8, true, -3, 5, 8, 40},      // -3 -> 0 and 5 -> 8: (10 + 4) & -8, (33 + 4 + 8) & -8
    };
    for (const SnapCase& c : cases) {
        mapkit::ClearMap();
        AddVertex(10, 33);
        config.gridSnap = c.snap;
        SelectionList none, list = ListOf({0});
        MoveObjectsToCoords(kObjVertex, none, 0, 0, c.grid);
        EXPECT_TRUE(MoveObjectsToCoords(kObjVertex, list, c.dx, c.dy, c.grid));
        EXPECT_EQ(level.vertices[0].x, c.x) << c.grid << " " << c.dx;
        EXPECT_EQ(level.vertices[0].y, c.y) << c.grid << " " << c.dx;
        ForgetSelection(list);
    }
}

TEST_F(ObjectsTest, MoveStepsAndTheReferencePoint) {
    config.gridSnap = 1;
    AddThing(10, 33);
    AddVertex(10, 33);
    SelectionList none, thing = ListOf({0});
    EXPECT_TRUE(MoveObjectsToCoords(kObjThing, none, 70, -70, 64));   // sets the reference only
    EXPECT_EQ(moveState.refX, 64);
    EXPECT_EQ(moveState.refY, -64);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_FALSE(MoveObjectsToCoords(kObjThing, thing, 90, -40, 64));   // the same grid point
    EXPECT_TRUE(MoveObjectsToCoords(kObjNone, thing, 100, -64, 64));    // a step, but a probe
    EXPECT_EQ(level.things[0].x, 10);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_TRUE(MoveObjectsToCoords(kObjThing, thing, 100, -64, 64));   // Things move by the step
    EXPECT_EQ(level.things[0].x, 74);
    EXPECT_EQ(level.things[0].y, 33);
    EXPECT_TRUE(level.levelChanged);
    EXPECT_FALSE(level.mapChanged);
    EXPECT_TRUE(MoveObjectsToCoords(kMoveFreeVertexes, thing, 64, 0, 64));   // off the grid
    EXPECT_EQ(level.vertices[0].x, 10);
    EXPECT_EQ(level.vertices[0].y, 97);
    EXPECT_TRUE(level.mapChanged);
    ForgetSelection(thing);
}

TEST_F(ObjectsTest, MovesStopAtTheEdgeOfTheMap) {
    AddVertex(32700, -32700);
    AddThing(-32760, 32760);
    SelectionList none, vertex = ListOf({0}), thing = ListOf({0});
    config.gridSnap = 1;
    MoveObjectsToCoords(kObjVertex, none, 0, 0, 64);
    MoveObjectsToCoords(kObjVertex, vertex, 640, -640, 64);
    EXPECT_EQ(level.vertices[0].x, 32704);   // the last grid line on the map
    EXPECT_EQ(level.vertices[0].y, -32768);
    MoveObjectsToCoords(kObjThing, thing, -640, 640, 0);
    EXPECT_EQ(level.things[0].x, -32768);
    EXPECT_EQ(level.things[0].y, 32767);
    int x = 32767, y = -32767;
    SnapToGrid(x, y, 512);
    EXPECT_EQ(x, 32256);
    EXPECT_EQ(y, -32768);
    ForgetSelection(vertex);
    ForgetSelection(thing);
}

struct DragCase {
    int mode;
    std::initializer_list<int> selected;
    int type;                          // the drag's
    std::vector<int> moving;           // what moves, in the drag list's order
    int touched;                       // LineDefs drawn in the drag image
};

TEST_F(ObjectsTest, DragsMoveTheObjectsOfTheModeAndCancelPutsThemBack) {
    const DragCase cases[] = {
        {kObjThing, {1, 0}, kObjThing, {0, 1}, 0},
        {kObjVertex, {0, 5}, kObjVertex, {5, 0}, 4},
        {kObjLineDef, {0, 1}, kMoveFreeVertexes, {0, 2, 1}, 4},
        {kObjSector, {1}, kMoveFreeVertexes, {7, 6, 5, 4}, 4},   // the inner room's corners
        {kObjSector, {0}, kMoveFreeVertexes, {7, 6, 5, 4, 3, 2, 1, 0}, 8},
    };
    for (const DragCase& c : cases) {
        mapkit::ClearMap();
        TwoRooms();
        AddThing(10, 10);
        AddThing(20, 20);
        LevelState before = level;
        std::string objects = mapkit::LevelArrayBytes();
        SelectionList selected = ListOf(c.selected);
        ASSERT_TRUE(BeginMove(c.mode, selected, 5, 5, 0)) << c.mode;
        EXPECT_EQ(moveState.type, c.type);
        EXPECT_EQ(Numbers(moveState.list), c.moving) << c.mode;
        EXPECT_EQ(moveState.touched.size(), c.touched) << c.mode;
        ASSERT_EQ(moveState.backup.size(), c.moving.size());
        EXPECT_TRUE(MoveObjectsToCoords(moveState.type, moveState.list, 38, 5, 0));
        int first = c.moving.front();
        int x = c.mode == kObjThing ? level.things[first].x : level.vertices[first].x;
        int was = c.mode == kObjThing ? before.things[first].x : before.vertices[first].x;
        EXPECT_EQ(x, was + 33) << c.mode;
        CancelMove();
        EXPECT_EQ(mapkit::LevelArrayBytes(), objects);
        EXPECT_TRUE(moveState.list.empty());
        EXPECT_TRUE(moveState.backup.empty());
        ForgetSelection(selected);
        EXPECT_EQ(selection.selectedCount, 0);
    }
    SelectionList nothing = ListOf({40});
    EXPECT_FALSE(BeginMove(kObjVertex, nothing, 0, 0, 0));   // no such Vertex
    ForgetSelection(nothing);
}

}  // namespace
