// Inserting, deleting, copying and moving objects: the records they make,
// the renumbering of every reference, and the one-pass deletion against a
// plain one-object-at-a-time model on random maps.
#include <algorithm>
#include <random>
#include <string>

#include "editor/objects.h"
#include "editor_fixture.h"
#include "support/reference_check.h"
#include "wad/wadfile.h"

using namespace mapkit;
using testkit::ReferencesSound;

namespace {

class ObjectsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
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
    EXPECT_TRUE(SameRecord(level.things[0], Thing{300, -40, 0, 2001, 7}));
    EXPECT_TRUE(level.levelChanged);
    EXPECT_FALSE(level.mapChanged);   // Things leave the map as it was
    // To the last Vertex, impassable, without sides.
    ASSERT_EQ(InsertObject(kObjLineDef, -1, 5, 5), 0);
    EXPECT_TRUE(SameRecord(level.lineDefs[0], LineDef{0, 9, 1, 0, 0, kNoReference, kNoReference}));
    EXPECT_TRUE(level.mapChanged);
    ASSERT_EQ(InsertObject(kObjSideDef, -1, 0, 0), 0);
    const SideDef& sd = level.sideDefs[0];   // facing the last Sector
    EXPECT_EQ(EntryNameText(sd.upper) + EntryNameText(sd.lower) + EntryNameText(sd.middle), "--STARTAN3");
    EXPECT_EQ(sd.sector, 1);
    ASSERT_EQ(InsertObject(kObjSector, -1, 0, 0), 2);
    const Sector& s = level.sectors[2];
    EXPECT_TRUE(s.floorHeight == -16 && s.ceilingHeight == 112 && s.light == 255);
    EXPECT_EQ(EntryNameText(s.floorTexture) + EntryNameText(s.ceilingTexture), "FLOOR4_8CEIL3_5");

    view.mapMaxX = 100;
    ASSERT_EQ(InsertObject(kObjVertex, -1, 900, -7), 10);
    EXPECT_EQ(view.mapMaxX, 900);   // the bounds take the new Vertex in
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(ObjectsTest, InsertCopiesTheSourceButNotItsSides) {
    TwoRooms();
    AddThing(10, 20, 3004, 90, 12);
    level.lineDefs[5].tag = 7;
    level.sectors[inner].tag = 3;
    level.sideDefs[2].xOffset = 16;

    int thing = InsertObject(kObjThing, 0, -64, 64);   // at the place given
    EXPECT_TRUE(SameRecord(level.things[thing], Thing{-64, 64, 90, 3004, 12}));
    LineDef source = level.lineDefs[5];
    source.sideDef1 = source.sideDef2 = kNoReference;
    int line = InsertObject(kObjLineDef, 5, 0, 0);
    EXPECT_TRUE(SameRecord(level.lineDefs[line], source));
    int side = InsertObject(kObjSideDef, 2, 0, 0);
    EXPECT_TRUE(SameRecord(level.sideDefs[side], level.sideDefs[2]));
    int sector = InsertObject(kObjSector, inner, 0, 0);
    EXPECT_TRUE(SameRecord(level.sectors[sector], level.sectors[inner]));
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
    DeleteObjects(level, kObjSegment, list);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1}));   // left alone
    ForgetSelection(list);
    DeleteObjects(level, kObjVertex, none);   // nothing to delete: nothing changes
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

// Deletion one object at a time, written as plainly as the rules read: the
// model that the one-pass deletion is checked against. Deleting an object
// moves the following records down and renumbers every reference to them; a
// reference that names no object stays as it is.
namespace stepwise {

uint16_t Shifted(uint16_t ref, int n, int32_t count) {
    return ref < count && ref > n ? static_cast<uint16_t>(ref - 1) : ref;
}

template <typename T>
void RemoveRecord(ObjectArray<T>& array, int type, int n) {
    for (int i = n; i + 1 < array.count; ++i)
        array[i] = array[i + 1];
    ResizeObject(level, type, Resize::RemoveLast);
}

bool UsedByAnotherLineDef(int side, int except) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (l != except && (level.lineDefs[l].sideDef1 == side || level.lineDefs[l].sideDef2 == side))
            return true;
    return false;
}

bool Faces(uint16_t side, int sector) { return ValidSideDef(side) && level.sideDefs[side].sector == sector; }

// Before Sector n's SideDefs go: a LineDef losing a side is an impassable
// wall with a texture, turned round to take its second side as its first
// when it loses its first; one left without sides goes.
void MendLineDefsBeside(int n) {
    for (int l = level.lineDefs.count - 1; l >= 0; --l) {
        LineDef& ld = level.lineDefs[l];
        if (!Faces(ld.sideDef1, n) && !Faces(ld.sideDef2, n))
            continue;
        bool firstGone = !ValidSideDef(ld.sideDef1) || Faces(ld.sideDef1, n);
        bool secondGone = !ValidSideDef(ld.sideDef2) || Faces(ld.sideDef2, n);
        if (firstGone && secondGone) {
            RemoveRecord(level.lineDefs, kObjLineDef, l);
        } else {
            if (firstGone) {
                std::swap(ld.start, ld.end);
                std::swap(ld.sideDef1, ld.sideDef2);
            }
            ld.flags = static_cast<int16_t>((ld.flags | 1) & ~4);
            char* middle = level.sideDefs[ld.sideDef1].middle;
            if (middle[0] == '-' || middle[0] == 0)
                std::strncpy(middle, config.textureNormal, 8);
        }
    }
}

void DeleteOne(int type, int n) {
    switch (type) {
    case kObjThing: RemoveRecord(level.things, type, n); break;
    case kObjVertex:   // with the LineDefs that end on it
        for (int i = 0; i < level.lineDefs.count;) {
            LineDef& ld = level.lineDefs[i];
            if (ld.start == n || ld.end == n) {
                DeleteOne(kObjLineDef, i);
                continue;
            }
            ld.start = Shifted(ld.start, n, level.vertices.count);
            ld.end = Shifted(ld.end, n, level.vertices.count);
            ++i;
        }
        RemoveRecord(level.vertices, type, n);
        break;
    case kObjLineDef:   // with the sides no other LineDef uses, the first side first
        for (uint16_t LineDef::*side : {&LineDef::sideDef1, &LineDef::sideDef2}) {
            int s = level.lineDefs[n].*side;
            if (ValidSideDef(s) && !UsedByAnotherLineDef(s, n))
                DeleteOne(kObjSideDef, s);
        }
        RemoveRecord(level.lineDefs, type, n);
        break;
    case kObjSideDef:
        for (LineDef& ld : level.lineDefs)
            for (uint16_t* side : {&ld.sideDef1, &ld.sideDef2})
                *side = *side == n ? kNoReference : Shifted(*side, n, level.sideDefs.count);
        RemoveRecord(level.sideDefs, type, n);
        break;
    case kObjSector:   // with the SideDefs that face it
        MendLineDefsBeside(n);
        for (int i = 0; i < level.sideDefs.count;) {
            SideDef& sd = level.sideDefs[i];
            if (sd.sector == n) {
                DeleteOne(kObjSideDef, i);
                continue;
            }
            sd.sector = Shifted(sd.sector, n, level.sectors.count);
            ++i;
        }
        RemoveRecord(level.sectors, type, n);
        break;
    }
    level.levelChanged = true;
    if (type != kObjThing)
        level.mapChanged = true;
}

// The listed objects (head first) one after another; entries that name no
// object are skipped.
void DeleteObjects(int type, std::vector<int> list) {
    while (!list.empty()) {
        int n = list.front();
        list.erase(std::remove(list.begin(), list.end(), n), list.end());
        if (n < 0 || n >= ObjectCount(level, type))
            continue;
        DeleteOne(type, n);
        for (int& other : list)
            if (other > n)
                --other;
    }
}

}  // namespace stepwise

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
    std::vector<int> all = {-1, 40000};   // with four that name nothing
    for (int n = 0; n < count + 2; ++n)
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
        std::vector<int> oldestFirst = RandomList(random, ObjectCount(level, type));
        LevelState start = level;
        stepwise::DeleteObjects(type, std::vector<int>(oldestFirst.rbegin(), oldestFirst.rend()));
        Snapshot expected;

        level = start;
        SelectionList list;
        for (int n : oldestFirst)
            SelectObject(list, n);
        DeleteObjects(level, type, list);
        ASSERT_TRUE(Snapshot() == expected) << "round " << round << ", type " << type;
        ASSERT_TRUE(list.empty() && ListedObjectCount() == 0);
        ASSERT_TRUE(!sound || ReferencesSound()) << "round " << round;
    }
}

// --- Copying -----------------------------------------------------------------

TEST_F(ObjectsTest, CopiedThingsAndVertexesLieOnTheirSources) {
    AddThing(10, 20, 3001, 45, 4);
    AddThing(30, 40, 3002, 90, 7);
    AddVertex(-5, 6);
    AddVertex(7, -8);
    SelectionList things = ListOf({0, 1}), vertexes = ListOf({1});   // heads 1
    ASSERT_TRUE(CopyObjects(level, kObjThing, things));
    EXPECT_EQ(Numbers(things), (std::vector<int>{2, 3}));   // the head is copied first
    EXPECT_TRUE(SameRecord(level.things[2], level.things[1]));
    EXPECT_TRUE(SameRecord(level.things[3], level.things[0]));
    EXPECT_FALSE(level.mapChanged);
    ASSERT_TRUE(CopyObjects(level, kObjVertex, vertexes));
    ASSERT_EQ(Numbers(vertexes), (std::vector<int>{2}));
    EXPECT_TRUE(SameRecord(level.vertices[2], level.vertices[1]));
    EXPECT_EQ(ListedObjectCount(), 3);   // the lists themselves
    ForgetSelection(things);
    ForgetSelection(vertexes);
}

TEST_F(ObjectsTest, CopiedSectorsShareTheCopyOfTheirWallAndFaceTheRestAsBefore) {
    // Both rooms copied: the inner room's walls, shared by the two, are
    // copied once with sides facing the two copies. The inner room alone:
    // the copies of its walls still face the outer room on their second side.
    TwoRooms();
    level.sectors[inner].tag = 9;
    for (bool both : {true, false}) {
        SCOPED_TRACE(both);
        const int sectors = level.sectors.count, lines = level.lineDefs.count, vertexes = level.vertices.count;
        SelectionList list = both ? ListOf({outer, inner}) : ListOf({inner});
        ASSERT_TRUE(CopyObjects(level, kObjSector, list));
        const std::vector<int> copies = Numbers(list);   // the head's copy first
        EXPECT_EQ(copies, both ? (std::vector<int>{sectors, sectors + 1}) : (std::vector<int>{sectors}));
        EXPECT_EQ(level.sectors[copies[0]].tag, 9);
        EXPECT_EQ(level.lineDefs.count, lines + (both ? 8 : 4));
        EXPECT_EQ(level.vertices.count, vertexes + (both ? 8 : 4));
        for (int l = lines; l < level.lineDefs.count; ++l) {
            const LineDef& ld = level.lineDefs[l];
            EXPECT_TRUE(ld.start >= vertexes && ld.end >= vertexes) << l;   // new Vertexes only
            if (ld.sideDef2 != kNoReference) {   // a copy of an inner wall
                EXPECT_EQ(SectorOf(ld.sideDef1), copies[0]) << l;
                EXPECT_EQ(SectorOf(ld.sideDef2), both ? copies[1] : outer) << l;
            }
        }
        EXPECT_TRUE(ReferencesSound());
        ForgetSelection(list);
    }
}

TEST_F(ObjectsTest, CopyRefusedWhenTheCopiesWouldNotFit) {
    TwoRooms();
    AllocateArray(level.vertices, kMaxReferencedObjects - 4, kMaxReferencedObjects - 4);
    for (int i = 0; i < 8; ++i)   // the rooms' corners, kept as they were
        level.vertices[i] = Vertex{int16_t(i), int16_t(i)};
    Snapshot before;
    SelectionList list = ListOf({outer, inner});   // 8 LineDefs on 8 Vertexes
    EXPECT_FALSE(CopyObjects(level, kObjSector, list));
    EXPECT_EQ(Numbers(list), (std::vector<int>{inner, outer}));
    EXPECT_TRUE(Snapshot() == before);
    ForgetSelection(list);
    list = ListOf({4});   // a LineDef: two new Vertexes fit
    EXPECT_TRUE(CopyObjects(level, kObjLineDef, list));
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
        ClearMap();
        AddVertex(10, 33);
        config.gridSnap = c.snap;
        SelectionList none, list = ListOf({0});
        MoveObjectsToCoords(kObjVertex, none, 0, 0, c.grid);
        EXPECT_TRUE(MoveObjectsToCoords(kObjVertex, list, c.dx, c.dy, c.grid));
        EXPECT_TRUE(SameRecord(level.vertices[0], Vertex{int16_t(c.x), int16_t(c.y)})) << c.grid << " " << c.dx;
        ForgetSelection(list);
    }
}

TEST_F(ObjectsTest, MoveStepsAndTheReferencePoint) {
    config.gridSnap = 1;
    AddThing(10, 33);
    AddVertex(10, 33);
    SelectionList none, thing = ListOf({0});
    EXPECT_TRUE(MoveObjectsToCoords(kObjThing, none, 70, -70, 64));   // sets the reference only
    EXPECT_FALSE(MoveObjectsToCoords(kObjThing, thing, 90, -40, 64));   // the same grid point
    EXPECT_TRUE(MoveObjectsToCoords(kObjNone, thing, 100, -64, 64));    // a step, but a probe
    EXPECT_FALSE(level.levelChanged);
    EXPECT_TRUE(MoveObjectsToCoords(kObjThing, thing, 100, -64, 64));   // Things move by the step
    EXPECT_TRUE(SameRecord(level.things[0], Thing{74, 33, 0, 1, 7}));
    EXPECT_TRUE(level.levelChanged);
    EXPECT_FALSE(level.mapChanged);
    EXPECT_TRUE(MoveObjectsToCoords(kMoveFreeVertexes, thing, 64, 0, 64));   // off the grid
    EXPECT_TRUE(SameRecord(level.vertices[0], Vertex{10, 97}));
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
    EXPECT_TRUE(SameRecord(level.vertices[0], Vertex{32704, -32768}));   // the last grid line on the map
    MoveObjectsToCoords(kObjThing, thing, -640, 640, 0);
    EXPECT_TRUE(SameRecord(level.things[0], Thing{-32768, 32767, 0, 1, 7}));
    int x = 32767, y = -32767;
    SnapToGrid(x, y, 512);
    EXPECT_TRUE(x == 32256 && y == -32768);
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
        SCOPED_TRACE(c.mode);
        ClearMap();
        TwoRooms();
        AddThing(10, 10);
        AddThing(20, 20);
        const std::string objects = mapkit::LevelArrayBytes();
        SelectionList selected = ListOf(c.selected);
        ASSERT_TRUE(BeginMove(c.mode, selected, 5, 5, 0));
        EXPECT_EQ(moveState.type, c.type);
        EXPECT_EQ(Numbers(moveState.list), c.moving);
        EXPECT_EQ(moveState.touched.size(), c.touched);
        EXPECT_TRUE(MoveObjectsToCoords(moveState.type, moveState.list, 38, 5, 0));
        EXPECT_NE(mapkit::LevelArrayBytes(), objects);
        CancelMove();
        EXPECT_EQ(mapkit::LevelArrayBytes(), objects);
        ForgetSelection(selected);
        EXPECT_EQ(ListedObjectCount(), 0);   // the drag's list is forgotten too
    }
    SelectionList nothing = ListOf({40});
    EXPECT_FALSE(BeginMove(kObjVertex, nothing, 0, 0, 0));   // no such Vertex
    ForgetSelection(nothing);
}

}  // namespace
