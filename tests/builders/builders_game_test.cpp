// Every builder's structure beside Freedoom 2's MAP01 (doors, lifts and
// stairs from crafted scenes, every predefined shape): the checker's
// closed-Sector and cross-reference checks find nothing new, the level
// stays valid with every wall it shows textured, and the level saved as a
// PWAD goes through ZDBSP and starts in Chocolate Doom.
#include <algorithm>
#include <functional>

#include "ops/checker_findings.h"
#include "support/builder_scenes.h"
#include "level/level_files.h"
#include "builders/builders.h"
#include "builders/predefined.h"
#include "ops/ops_fixture.h"
#include "ops/edit_support.h"
#include "support/game_kit.h"
#include "support/level_validity.h"
#include "support/map_lumps.h"
#include "support/testkit.h"
#include "wad/master.h"

namespace {

constexpr int kSlot = 1280;   // each structure's square of free map
constexpr int kColumns = 5;

// A room of the level's default heights filling the slot; its Sector.
int SlotRoom(int x, int y) {
    InsertRectangle(x, y, kSlot - 256, kSlot - 256, -1, ObjectKind::Plain, 0);
    return level.sectors.count - 1;
}

void MakeStairsOn(int lineDef1, int lineDef2, testkit::HeadlessSession& session) {
    SelectionList list = ListOf({lineDef2, lineDef1});
    session.Script("key Enter\nkey Enter\nkey N\n");
    MakeStairs(list);
    ForgetSelection(list);
}

class BuildersGameTest : public OpsTest {};

TEST_F(BuildersGameTest, EveryStructurePlaysInARealLevel) {
    if (!mapkit::OpenFreedoom2())
        GTEST_SKIP() << "Freedoom is not installed";
    ASSERT_TRUE(mapkit::LoadIwadLevel("MAP01"));
    stairSettings = StairSettings{};
    const std::vector<std::string> before = CheckerFindings();
    const size_t untextured = testkit::MissingVisibleTextures().size();
    // The walls without their textures that the structures made.
    auto newlyUntextured = [untextured] {
        std::vector<testkit::LevelFault> now = testkit::MissingVisibleTextures();
        now.erase(now.begin(), now.begin() + static_cast<long>(std::min(untextured, now.size())));
        return testkit::FaultLines(now);
    };
    int left = 0, bottom = 0;
    for (const Vertex& v : level.vertices) {
        left = std::max<int>(left, v.x);
        bottom = std::min<int>(bottom, v.y);
    }
    left += 512;

    using Build = std::function<void(int x, int y)>;
    auto object = [](std::function<void(int x, int y, int room)> build) -> Build {
        return [build](int x, int y) { build(x, y, SlotRoom(x, y)); };
    };
    std::vector<std::pair<std::string, Build>> cases = {
        {"door",
         [](int x, int y) {
             int first = level.lineDefs.count;
             AddDoorway(x + 256, y + 256);
             SelectionList list = ListOf({first, first + 4, first + 8, first + 9});
             MakeDoor(list);
             ForgetSelection(list);
         }},
        {"lift", [](int x, int y) { MakeLift(AddLiftScene(x + 256, y + 256).lift); }},
        {"stairs facing",
         [&](int x, int y) {
             int first = level.lineDefs.count;
             AddCorridor(x + 256, y + 256, false);
             MakeStairsOn(first + 1, first + 5, session);
         }},
        {"stairs the same way",
         [&](int x, int y) {
             int first = level.lineDefs.count, v = level.vertices.count;
             AddCorridor(x + 256, y + 256, true);
             // A room east of the corridor on the east wall's first side.
             int east = AddSceneSector(0, 128);
             level.lineDefs[first + 5].sideDef1 = static_cast<uint16_t>(AddOpenSide(east));
             int p = AddVertex(x + 384, y + 448), q = AddVertex(x + 384, y + 320);
             AddLineDef(v + 5, p, AddWallSide(east));
             AddLineDef(p, q, AddWallSide(east));
             AddLineDef(q, v + 6, AddWallSide(east));
             MakeStairsOn(first + 1, first + 5, session);
         }},
        {"stairs filling a room",
         [&](int x, int y) {
             int first = level.lineDefs.count;
             InsertRectangle(x + 256, y + 256, 64, 256, -1, ObjectKind::Plain, 0);
             MakeStairsOn(first + 3, first + 1, session);
         }},
        {"stairs into the next room",
         [&](int x, int y) {
             int first = level.lineDefs.count, v = level.vertices.count;
             InsertRectangle(x + 256, y + 256, 64, 256, -1, ObjectKind::Plain, 0);
             // A room north of it, beyond its north wall (TL to TR).
             int north = AddSceneSector(0, 128), wall = first + 2;
             level.lineDefs[wall].sideDef2 = static_cast<uint16_t>(AddOpenSide(north));
             level.lineDefs[wall].flags = 4;
             SetTextureName(level.sideDefs[level.lineDefs[wall].sideDef1].middle, "-");
             int p = AddVertex(x + 256, y + 768), q = AddVertex(x + 320, y + 768);
             AddLineDef(v + 3, p, AddWallSide(north));
             AddLineDef(p, q, AddWallSide(north));
             AddLineDef(q, v + 2, AddWallSide(north));
             MakeStairsOn(first + 3, first + 1, session);
         }},
        {"door on a face drawn the wrong way",
         [&](int x, int y) {
             int first = level.lineDefs.count;
             DoorwayScene scene = AddDoorway(x + 256, y + 256);
             LineDef& face = level.lineDefs[first];
             face.sideDef2 = static_cast<uint16_t>(AddOpenSide(scene.way));
             std::swap(face.start, face.end);
             std::swap(face.sideDef1, face.sideDef2);
             SelectionList list = ListOf({first, first + 4, first + 8, first + 9});
             session.Script("key Y\n");
             MakeDoor(list);
             ForgetSelection(list);
         }},
        {"rectangle room", [](int x, int y) { InsertRectangle(x, y, 256, 128, -1, ObjectKind::Plain, 0); }},
        {"polygon room", [](int x, int y) { InsertPolygon(x + 512, y + 512, 8, 128, -1, ObjectKind::Plain, 0); }},
        {"door shape",
         [](int x, int y) {
             int room = AddSceneSector(0, 128), v = level.vertices.count;
             InsertDoorShape(x + 512, y + 256, 16, 128, room);
             AddRoomsBesideDoor(room, v);
         }},
        {"door shape standing free", object([](int x, int y, int room) { InsertDoorShape(x + 400, y + 300, 16, 128, room); })},
        {"stairs object", object([](int x, int y, int room) {
             const Sector& s = level.sectors[room];
             InsertStairs(x + 400, y + 200, room, StairShape::Object, s.floorHeight, s.ceilingHeight,
                          {4, 16, 128, 32});
         })},
        {"stairs room",
         [](int x, int y) {
             int below = AddSceneSector(0, 128), v = level.vertices.count;
             InsertStairs(x + 256, y + 512, below, StairShape::Room, 0, 128, {4, 16, 128, 32});
             AddRoomBelow(below, v, v + 1);
         }},
    };
    for (ObjectKind kind : {ObjectKind::Plain, ObjectKind::Pool, ObjectKind::Pedestal, ObjectKind::LightBox}) {
        std::string k = std::to_string(static_cast<int>(kind));
        cases.push_back({"rectangle object " + k, object([kind](int x, int y, int room) {
                             InsertRectangle(x + 256, y + 256, 256, 128, room, kind, 24);
                         })});
        cases.push_back({"polygon object " + k, object([kind](int x, int y, int room) {
                             InsertPolygon(x + 512, y + 512, 8, 128, room, kind, 24);
                         })});
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        int x = left + static_cast<int>(i % kColumns) * kSlot, y = bottom + static_cast<int>(i / kColumns) * kSlot;
        cases[i].second(x, y);
        EXPECT_EQ(CheckerFindings(), before) << cases[i].first;
        EXPECT_TRUE(testkit::LevelValid()) << cases[i].first;
        EXPECT_EQ(newlyUntextured(), "0 faults:") << cases[i].first;
    }
    EXPECT_TRUE(ReferencesSound());

    if (!testkit::HaveGameAndNodeBuilder())
        GTEST_SKIP() << "Chocolate Doom or ZDBSP is not installed (" << testkit::kGameProgram << ", "
                     << testkit::kNodeBuilder << ")";
    std::string saved = session.Dir().file("BUILT.WAD"), built = session.Dir().file("NODES.WAD");
    testkit::WriteLevelPwad(saved);
    ASSERT_TRUE(testkit::BuildNodes(saved, built, session.Dir().file("zdbsp.out")));
    testkit::ExpectGameStarts(session.Dir().path(), config.iwadName, built, "1");
}

}  // namespace
