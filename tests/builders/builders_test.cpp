// The door, lift and distribution builders on small crafted levels: what
// they build, what they refuse (with no change), and undo giving the level
// back byte for byte.
#include <cstring>
#include <functional>

#include "support/builder_scenes.h"
#include "builders/builders.h"
#include "builders/predefined.h"
#include "ops/ops_fixture.h"
#include "support/level_validity.h"
#include "support/picture_kit.h"

namespace {

std::string Name(const char (&field)[8]) { return std::string(field, strnlen(field, 8)); }

class BuildersTest : public OpsTest {
protected:
    // Expects the builder to leave one undo step that takes the level back.
    void ExpectOneStep(const std::string& before, const std::string& label) {
        EXPECT_TRUE(ReferencesSound());
        ASSERT_EQ(Step(), label);
        ASSERT_TRUE(Undo());
        EXPECT_EQ(LevelArrayBytes(), before);
    }
    // One offset of every SideDef; one height of every Sector.
    static std::vector<int> Offsets(int16_t SideDef::*offset) {
        std::vector<int> out;
        for (const SideDef& sd : level.sideDefs)
            out.push_back(sd.*offset);
        return out;
    }
    static std::vector<int> Heights(int16_t Sector::*height) {
        std::vector<int> out;
        for (const Sector& s : level.sectors)
            out.push_back(s.*height);
        return out;
    }
};

// The doorway scene: faces 0 and 4, edges 8 and 9.
class DoorTest : public BuildersTest {
protected:
    void SetUp() override {
        BuildersTest::SetUp();
        scene = AddDoorway(0, 0);
        ResetHistory();
    }
    DoorwayScene scene{};
};

TEST_F(DoorTest, FourLineDefsBecomeAClosedDoor) {
    struct Case {
        std::initializer_list<int> order;
        bool shared;   // another LineDef faces the doorway's Sector too
    } cases[] = {{{0, 4, 8, 9}, false}, {{9, 0, 8, 4}, false}, {{0, 4, 8, 9}, true}};
    for (const Case& c : cases) {
        if (c.shared) {
            AddLineDef(AddVertex(200, 200), AddVertex(300, 200), AddSideDef(scene.way));
            ResetHistory();
        }
        std::string before = LevelArrayBytes();
        SelectionList list = ListOf(c.order);
        MakeDoor(list);
        // The doorway's Sector becomes the door unless it is needed elsewhere.
        int door = c.shared ? 3 : scene.way;
        ASSERT_EQ(level.sectors.count, c.shared ? 4 : 3);
        EXPECT_EQ(level.sectors[door].floorHeight, 8);
        EXPECT_EQ(level.sectors[door].ceilingHeight, 8);
        for (int face : {0, 4}) {
            const LineDef& ld = level.lineDefs[face];
            const SideDef &front = level.sideDefs[ld.sideDef1], &back = level.sideDefs[ld.sideDef2];
            EXPECT_EQ((std::vector<int>{ld.type, ld.flags, front.sector, back.sector}),
                      (std::vector<int>{1, 4, face == 0 ? scene.south : scene.north, door}));
            EXPECT_EQ(Name(front.upper) + Name(front.middle) + Name(back.middle),
                      std::string(config.textureDoor) + "--");
        }
        for (int edge : {8, 9}) {
            const LineDef& ld = level.lineDefs[edge];
            EXPECT_EQ(ld.flags, 0x11);
            EXPECT_EQ(level.sideDefs[ld.sideDef1].sector, door);
            EXPECT_EQ(Name(level.sideDefs[ld.sideDef1].middle), config.textureDoorTrack);
        }
        std::vector<int> listed = Numbers(list);
        ASSERT_EQ(listed.size(), 4u);
        for (size_t k = 0; k < 4; ++k)
            EXPECT_EQ(listed[k] >= 8, k % 2 == 0) << k;   // edge, face, edge, face
        ForgetSelection(list);
        ExpectOneStep(before, "make a door");
    }
}

TEST_F(DoorTest, AFaceRunningTheWrongWayIsNamedAndFlippedOnYes) {
    // The south face, two-sided onto the doorway, drawn from east to west.
    level.lineDefs[0].sideDef2 = static_cast<uint16_t>(AddOpenSide(scene.way));
    std::swap(level.lineDefs[0].start, level.lineDefs[0].end);
    std::swap(level.lineDefs[0].sideDef1, level.lineDefs[0].sideDef2);
    ResetHistory();
    std::string before = LevelArrayBytes();
    for (const char* answer : {"N", "Y"}) {
        SelectionList list = ListOf({0, 4, 8, 9});
        Answers({answer});
        MakeDoor(list);
        ForgetSelection(list);
        EXPECT_TRUE(Showed(0, "LineDef 0 runs clockwise round the door")) << answer;
        EXPECT_TRUE(Showed(0, "Flip LineDef 0 and make the door?")) << answer;
    }
    EXPECT_EQ(level.lineDefs[0].type, 1);
    EXPECT_EQ(SectorOf(level.lineDefs[0].sideDef1), scene.south);
    EXPECT_TRUE(testkit::LevelValid());
    ExpectOneStep(before, "make a door");
}

// The lift scene at the origin, tags 1 and 5 taken.
class LiftTest : public BuildersTest {
protected:
    void SetUp() override {
        BuildersTest::SetUp();
        scene = AddLiftScene(0, 0);
        level.lineDefs[0].tag = 1;
        level.sectors[scene.high].tag = 5;
        ResetHistory();
    }
    LiftScene scene{};
};

TEST_F(LiftTest, TheSectorBecomesALiftDownToItsLowestNeighbour) {
    std::string before = LevelArrayBytes();
    MakeLift(scene.lift);
    const Sector& s = level.sectors[scene.lift];
    EXPECT_EQ((std::vector<int>{s.floorHeight, s.ceilingHeight, s.tag}), (std::vector<int>{64, 120, 2}));   // 1, 5 taken
    // The low border has the lift behind it and lowers it to the room; the
    // high one is walked over from the high room: flipped back to face it.
    const LineDef &low = level.lineDefs[0], &high = level.lineDefs[2];
    EXPECT_EQ((std::vector<int>{low.type, low.tag, high.type, high.tag}), (std::vector<int>{62, 2, 88, 2}));
    EXPECT_EQ(level.sideDefs[low.sideDef1].sector, scene.low);
    EXPECT_EQ(level.sideDefs[low.sideDef2].sector, scene.lift);
    EXPECT_EQ(Name(level.sideDefs[low.sideDef1].lower), config.textureLift);
    for (int wall : {1, 3}) {
        EXPECT_EQ(level.lineDefs[wall].flags, 1);
        EXPECT_EQ(Name(level.sideDefs[level.lineDefs[wall].sideDef1].upper), "-");
    }
    // The low room's ceiling is above the lift's: its side shows a wall.
    EXPECT_EQ(testkit::FaultLines(testkit::MissingVisibleTextures()), "0 faults:");
    ExpectOneStep(before, "make a lift");
}

TEST_F(BuildersTest, ValuesAreSpreadEvenlyAlongTheList) {
    struct Case {
        SectorValue value;
        std::vector<int> values;   // in list order (newest first)
        std::vector<int> expected;
        const char* step;
    } cases[] = {
        {SectorValue::Floor, {0, 999, 100}, {0, 50, 100}, "distribute floor heights"},
        {SectorValue::Ceiling, {128, 0, 0, -128}, {128, 43, -42, -128}, "distribute ceiling heights"},
        {SectorValue::Light, {255, 7, 96}, {96, 175, 255}, "distribute lighting"},
        {SectorValue::Light, {0, 7, 8, 9, 10, 255}, {0, 51, 102, 153, 204, 255}, "distribute lighting"},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        SelectionList list;
        for (size_t k = 0; k < c.values.size(); ++k)
            AddSector();
        for (size_t k = c.values.size(); k-- > 0;)
            SelectObject(list, static_cast<int>(k));   // Sector 0 newest
        auto field = [&](Sector& s) -> int16_t& {
            return c.value == SectorValue::Floor     ? s.floorHeight
                   : c.value == SectorValue::Ceiling ? s.ceilingHeight
                                                     : s.light;
        };
        for (size_t k = 0; k < c.values.size(); ++k)
            field(level.sectors[static_cast<int>(k)]) = static_cast<int16_t>(c.values[k]);
        ResetHistory();
        std::string before = LevelArrayBytes();
        DistributeSectorValue(list, c.value);
        for (size_t k = 0; k < c.values.size(); ++k)
            EXPECT_EQ(field(level.sectors[static_cast<int>(k)]), c.expected[k]) << c.step << " " << k;
        ExpectOneStep(before, c.step);
        ForgetSelection(list);
    }
}

}  // namespace

namespace {

// Walls in rooms of ceilings 128 (X), 200 (Y) and 300 (Z): LineDef 0 in Y,
// 1 in Z, 2 between Z (first side) and X, 3 without a first side.
class AlignYTest : public BuildersTest {
protected:
    void SetUp() override {
        BuildersTest::SetUp();
        int x = AddSector(0, 0, 0, 128), y = AddSector(0, 0, 0, 200), z = AddSector(0, 0, 0, 300);
        int a = AddVertex(0, 0), b = AddVertex(0, 64), c = AddVertex(64, 64), d = AddVertex(64, 0);
        AddLineDef(a, b, AddSideDef(y));
        AddLineDef(b, c, AddSideDef(z));
        int front = AddSideDef(z);
        AddLineDef(c, d, front, AddSideDef(x), 4);
        AddLineDef(d, a, -1, AddSideDef(x), 4);
        for (SideDef& sd : level.sideDefs)
            sd.yOffset = 5;
        ResetHistory();
    }
};

TEST_F(AlignYTest, OffsetsFollowTheCeilingOfTheFirstSelected) {
    struct Case {
        const char* name;
        std::initializer_list<int> oldestFirst;
        std::string keys;
        std::vector<int> expected;   // every SideDef's Y offset
        std::string step;
    } cases[] = {
        {"side 1", {0, 1, 2, 3}, "key Down\nkey Enter\n", {0, -100, 72, 5, 5}, "align textures Y"},
        {"side 1 from Z", {1, 0}, "key Down\nkey Enter\n", {100, 0, 5, 5, 5}, "align textures Y"},
        {"side 2", {0, 2, 3}, "key Down\nkey Down\nkey Enter\n", {5, 5, 5, 0, 0}, "align textures Y"},
        {"exit", {0, 1}, "key Enter\n", {5, 5, 5, 5, 5}, ""},
        {"no side 2", {0, 1}, "key Down\nkey Down\nkey Enter\nkey Enter\n", {5, 5, 5, 5, 5}, ""},
    };
    for (const Case& c : cases) {
        std::string before = LevelArrayBytes();
        SelectionList list = ListOf(c.oldestFirst);
        session.Script(c.keys);
        AlignTexturesY(list);
        EXPECT_EQ(Offsets(&SideDef::yOffset), c.expected) << c.name;
        if (c.step.empty())
            EXPECT_EQ(Step(), "") << c.name;
        else
            ExpectOneStep(before, c.step);
        ForgetSelection(list);
    }
}

}  // namespace

namespace {

// The corridor scene at the origin: stairs between LineDefs 1 and 5.
class StairsTest : public BuildersTest {
protected:
    void Corridor(bool sameWay) {
        corridor = AddCorridor(0, 0, sameWay);
        ResetHistory();
    }
    // Runs the builder on LineDefs 1 and 5 with the answers given.
    void Build(int steps, const std::string& answers, int height = 16) {
        stairSettings = {steps, height};
        SelectionList list = ListOf({5, 1});
        session.Script(answers);
        MakeStairs(list);
        made = Numbers(list);
        ForgetSelection(list);
    }
    int SectorAt(int lineDef, int side) {
        uint16_t sd = side == 1 ? level.lineDefs[lineDef].sideDef1 : level.lineDefs[lineDef].sideDef2;
        return level.sideDefs[sd].sector;
    }
    int FloorAt(int lineDef, int side) { return level.sectors[SectorAt(lineDef, side)].floorHeight; }
    int corridor = -1;
    std::vector<int> made;
};

TEST_F(StairsTest, StepsRiseOneHeightEachToALanding) {
    for (bool sameWay : {false, true}) {
        mapkit::ClearMap();
        Corridor(sameWay);
        std::string before = LevelArrayBytes();
        Build(4, "key Enter\nkey Enter\nkey N\n");
        // Four steps and the landing.
        EXPECT_EQ(Heights(&Sector::floorHeight), (std::vector<int>{0, 16, 32, 48, 64, 80})) << sameWay;
        EXPECT_EQ(Heights(&Sector::ceilingHeight), (std::vector<int>{128, 128, 128, 128, 128, 208})) << sameWay;
        // The end wall beyond the top joins the landing; the other end stays.
        int top = sameWay ? 7 : 3, bottom = sameWay ? 3 : 7;
        EXPECT_EQ(FloorAt(top, 1), 80) << sameWay;
        EXPECT_EQ(FloorAt(bottom, 1), 0) << sameWay;
        // Both walls of the stairs run up the steps: the west wall's pieces
        // go from 16 up to 64 (facing) or down from 64 to 16 (same way).
        EXPECT_EQ(FloorAt(1, 1), sameWay ? 64 : 16);
        EXPECT_EQ(made.size(), 4u * 2 + 5);
        ExpectOneStep(before, "make 4 stairs");
    }
}

TEST_F(StairsTest, ReversingTurnsTheRisersAndSoDoesGoingDown) {
    struct Case {
        const char* reverse;   // the answer to "Reverse Stair"
        int height;
        bool turned;           // risers run from east to west
    } cases[] = {{"N", 16, false}, {"Y", 16, true}, {"Y", -16, false}, {"N", -16, true}};
    for (const Case& c : cases) {
        mapkit::ClearMap();
        Corridor(false);
        Build(3, std::string("key Enter\nkey Enter\nkey ") + c.reverse + "\n", c.height);
        std::string name = std::string(c.reverse) + " " + std::to_string(c.height);
        // The bottom riser joins the west wall's start (Vertex 1) and the
        // east wall's end (Vertex 6).
        int riser = LineDefJoining(1, 6);
        ASSERT_GE(riser, 0) << name;
        const LineDef& ld = level.lineDefs[riser];
        EXPECT_EQ(ld.start, c.turned ? 6 : 1) << name;
        int firstStep = corridor + 1;
        EXPECT_EQ(SectorAt(riser, 1), c.turned ? firstStep : corridor) << name;
        EXPECT_EQ(SectorAt(riser, 2), c.turned ? corridor : firstStep) << name;
        EXPECT_EQ(Name(level.sideDefs[ld.sideDef1].lower), config.textureLower) << name;
        EXPECT_EQ(level.sectors[firstStep].floorHeight, c.height) << name;
        EXPECT_EQ(level.sectors[firstStep + 3].floorHeight, 4 * c.height) << name;   // the landing
        EXPECT_TRUE(ReferencesSound()) << name;
    }
}

// A hall (0,0)-(64,64), the stairs' Sector (0,64)-(64,192) and a loft
// (0,192)-(64,256), with two-sided LineDefs between them where the bottom
// and the top riser go: the builder takes those LineDefs, and the hall and
// the loft, instead of making new ones.
TEST_F(StairsTest, RisersAndTheLandingThatAreThereAlreadyAreTaken) {
    int hall = AddSector(0, 0, -8, 120);
    corridor = AddSector(0, 0, 0, 128);
    int loft = AddSector(0, 0, 40, 100);
    int v[8] = {AddVertex(0, 0),    AddVertex(0, 64),   AddVertex(0, 192), AddVertex(0, 256),
                AddVertex(64, 256), AddVertex(64, 192), AddVertex(64, 64), AddVertex(64, 0)};
    AddLineDef(v[0], v[1], AddSideDef(hall));                          // 0
    AddLineDef(v[1], v[2], AddSideDef(corridor));                      // 1: west wall
    AddLineDef(v[2], v[3], AddSideDef(loft));                          // 2
    AddLineDef(v[3], v[4], AddSideDef(loft));                          // 3
    AddLineDef(v[4], v[5], AddSideDef(loft));                          // 4
    AddLineDef(v[5], v[6], AddSideDef(corridor));                      // 5: east wall
    AddLineDef(v[6], v[7], AddSideDef(hall));                          // 6
    AddLineDef(v[7], v[0], AddSideDef(hall));                          // 7
    AddLineDef(v[1], v[6], AddSideDef(hall), AddSideDef(corridor), 4); // 8: the bottom riser's place
    AddLineDef(v[5], v[2], AddSideDef(loft), AddSideDef(corridor), 4); // 9: the top riser's place
    ResetHistory();
    std::string before = LevelArrayBytes();
    Build(3, "key Enter\nkey Enter\nkey N\n");   // no box besides the questions
    // Steps from the corridor's floor, no landing of their own: the loft is
    // it. The steps took all of the corridor, which is gone.
    loft = 1;
    EXPECT_EQ(Heights(&Sector::floorHeight), (std::vector<int>{-8, 64, 16, 32, 48}));
    EXPECT_EQ(level.sectors[loft].ceilingHeight, 208);
    EXPECT_EQ(level.lineDefs.count, 10 + 2 * 2 + 2); // the pieces and the two middle risers
    EXPECT_EQ((std::vector<int>{SectorAt(8, 1), SectorAt(8, 2), SectorAt(9, 1), SectorAt(9, 2), SectorAt(2, 1)}),
              (std::vector<int>{hall, 2, loft, 4, loft}));
    EXPECT_TRUE(testkit::LevelValid());
    ExpectOneStep(before, "make 3 stairs");
}

// Stairs along the whole length of a room's walls: the end walls close the
// first and the last step, or lead on to the room beyond (the landing); the
// room's own Sector, taken up by the steps, goes.
TEST_F(StairsTest, StairsFillingARoomLeaveAValidLevel) {
    struct Case {
        const char* name;
        std::function<void()> build;   // LineDefs 1 and 3 are the long walls
    } cases[] = {
        {"a rectangle room", [] { InsertRectangle(0, 0, 64, 256, -1, ObjectKind::Plain, 0); }},
        {"two rooms side by side",
         [] {
             int a = AddSceneSector(0, 128), b = AddSceneSector(0, 128);
             int v[6] = {AddVertex(0, 256), AddVertex(64, 256), AddVertex(64, 0),
                         AddVertex(0, 0),   AddVertex(0, 512),  AddVertex(64, 512)};
             AddLineDef(v[0], v[1], AddOpenSide(a), AddOpenSide(b), 4);   // 0: between them
             AddLineDef(v[1], v[2], AddWallSide(a));                     // 1: east
             AddLineDef(v[2], v[3], AddWallSide(a));                     // 2: south
             AddLineDef(v[3], v[0], AddWallSide(a));                     // 3: west
             AddLineDef(v[0], v[4], AddWallSide(b));
             AddLineDef(v[4], v[5], AddWallSide(b));
             AddLineDef(v[5], v[1], AddWallSide(b));
         }},
    };
    for (const Case& c : cases)
        for (const char* reverse : {"N", "Y"}) {
            std::string name = std::string(c.name) + " " + reverse;
            mapkit::ClearMap();
            c.build();
            ASSERT_TRUE(testkit::LevelValid()) << name;
            stairSettings = {4, 16};
            SelectionList list = ListOf({3, 1});
            session.ExactScript(std::string("key Enter\nkey Enter\nkey ") + reverse + "\n");
            MakeStairs(list);
            ForgetSelection(list);
            EXPECT_TRUE(testkit::LevelValid()) << name;
            EXPECT_EQ(testkit::FaultLines(testkit::MissingVisibleTextures()), "0 faults:") << name;
        }
}

TEST_F(StairsTest, WhatTheBuilderRefusesChangesNothing) {
    struct Case {
        const char* name;
        std::string keys;   // before the box that is photographed
        std::string lastKey;
        std::function<void()> spoil;
        std::string box;
    } cases[] = {
        {"too short", "key Enter\nkey Enter\nkey N\n", "Enter",
         [] {
             level.vertices[1].y = 100;   // the west piece is 12 long: steps of 4
             level.vertices[2].y = 112;
         },
         "Steps are too small 4"},
        {"other sectors", "", "Enter", [] { level.sideDefs[1].sector = 7; }, "the same sector"},
        {"a LineDef between", "", "Enter",
         [] { AddLineDef(AddVertex(16, 100), AddVertex(48, 150), AddSideDef(0), AddSideDef(0), 4); },
         "LineDef 8 lies between the 2 LineDefs:"},
        {"cancelled", "", "Esc", [] {}, "Stairs in Sector 0"},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        Corridor(false);
        c.spoil();
        ResetHistory();
        std::string before = LevelArrayBytes();
        Build(3, c.keys + "snapshot " + Shot(0) + "\nkey " + c.lastKey + "\n");
        EXPECT_TRUE(testkit::SnapshotShowsText(Shot(0), c.box)) << c.name;
        EXPECT_EQ(LevelArrayBytes(), before) << c.name;
        EXPECT_EQ(Step(), "") << c.name;
    }
}

}  // namespace

namespace {

// A chain of LineDefs 64, 64, 32 and 64 long, running north then east, in
// a Sector; the first three show the 128-wide "WALL", the last the 64-wide
// "BRICK". Every X offset starts at 7.
class AlignXTest : public BuildersTest {
protected:
    void SetUp() override {
        BuildersTest::SetUp();
        testkit::OpenPictureIwad(session.Dir(),
                                 {{"TEXTURE1", testkit::TextureLump({{"WALL", 128, 128, {}}, {"BRICK", 64, 128, {}}})},
                                  {"PNAMES", testkit::PnamesLump({})}},
                                 {});
        int room = AddSector();
        int v[5] = {AddVertex(0, 0), AddVertex(0, 64), AddVertex(0, 128), AddVertex(0, 160), AddVertex(64, 160)};
        for (int i = 0; i < 4; ++i) {
            int sd = AddSideDef(room);
            std::strncpy(level.sideDefs[sd].middle, i < 3 ? "WALL" : "BRICK", 8);
            level.sideDefs[sd].xOffset = 7;
            AddLineDef(v[i], v[i + 1], sd);
        }
        ResetHistory();
    }
};

TEST_F(AlignXTest, OffsetsRunOnAlongTheChain) {
    const std::string identical = "key Enter\n", unchecked = "key Down\nkey Down\nkey Enter\n";
    const std::string initial10 = "key Down\nkey Enter\nkey Backspace\ntype 10\nkey Enter\n";
    const std::string uncheckedFrom10 = "key Down\nkey Down\nkey Down\nkey Enter\nkey Backspace\ntype 10\nkey Enter\n";
    const std::string side2 = "key Down\nkey Down\nkey Down\nkey Down\nkey Enter\n";
    const std::string side2From10 = "key Down\nkey Down\nkey Down\nkey Down\nkey Down\nkey Enter\n"
                                    "key Backspace\ntype 10\nkey Enter\n";
    // Second sides on the first three LineDefs (SideDefs 4, 5, 6), "WALL" too.
    auto backs = [] {
        for (int l = 0; l < 3; ++l) {
            int sd = AddSideDef(0);
            std::strncpy(level.sideDefs[sd].middle, "WALL", 8);
            level.sideDefs[sd].xOffset = 7;
            level.lineDefs[l].sideDef2 = static_cast<uint16_t>(sd);
        }
    };
    struct Case {
        const char* name;
        std::initializer_list<int> oldestFirst;
        std::string keys;             // before the last box
        std::function<void()> spoil;
        std::vector<int> expected;
        std::string box;              // shown last, "" for none
    } cases[] = {
        {"three", {0, 1, 2}, identical, [] {}, {0, 64, 0, 7}, ""},
        {"a different texture", {0, 1, 2, 3}, identical, [] {}, {0, 64, 0, 7}, "Texture Different for SideDef 3."},
        {"restarting", {0, 1, 2, 3}, unchecked + "key Y\n", [] {}, {0, 64, 0, 0}, ""},
        {"running on", {0, 1, 2, 3}, unchecked + "key N\n", [] {}, {0, 64, 0, 32}, ""},
        {"a gap", {0, 2}, identical, [] {}, {0, 7, 7, 7}, "LineDefs 2 & 0 not connected"},
        {"backwards", {0, 1, 2}, identical, [] { std::swap(level.lineDefs[1].start, level.lineDefs[1].end); },
         {0, 7, 7, 7}, "LineDef 1 not same direction"},
        {"unknown texture", {0, 1, 2}, unchecked + "key N\n",
         [] { std::strncpy(level.sideDefs[1].middle, "NOSUCH", 8); }, {0, 7, 7, 7}, "Texture NOSUCH not found?"},
        {"from 10", {0, 1, 2}, initial10, [] {}, {10, 74, 10, 7}, ""},
        // The initial offset is used up by the first texture.
        {"from 10, restarting", {0, 1, 2, 3}, uncheckedFrom10 + "key Y\n", [] {}, {10, 74, 10, 0}, ""},
        {"from 10, running on", {0, 1, 2, 3}, uncheckedFrom10 + "key N\n", [] {}, {10, 74, 10, 42}, ""},
        // Side 2 runs the other way: from the LineDef selected last.
        {"side 2", {0, 1, 2}, side2, backs, {7, 7, 7, 7, 96, 32, 0}, ""},
        {"side 2 from 10", {0, 1, 2}, side2From10, backs, {7, 7, 7, 7, 106, 42, 10}, ""},
        {"side 2 backwards", {0, 1, 2}, side2,
         [=] {
             backs();
             std::swap(level.lineDefs[1].start, level.lineDefs[1].end);
         },
         {7, 7, 7, 7, 7, 7, 0}, "LineDef 1 not same direction"},
    };
    for (const Case& c : cases) {
        // Each case starts from the chain as built: undo takes back the
        // spoiling with the alignment.
        std::string pristine = LevelArrayBytes();
        c.spoil();
        SelectionList list = ListOf(c.oldestFirst);
        std::string last = c.box.empty() ? "" : "snapshot " + Shot(0) + "\nkey Enter\n";
        session.Script(c.keys + last);
        AlignTexturesX(list);
        EXPECT_EQ(Offsets(&SideDef::xOffset), c.expected) << c.name;
        if (!c.box.empty()) {
            EXPECT_TRUE(testkit::SnapshotShowsText(Shot(0), c.box)) << c.name;
        }
        ForgetSelection(list);
        RecordStep();
        while (Undo()) {
        }
        EXPECT_EQ(LevelArrayBytes(), pristine) << c.name;
        if (LevelArrayBytes() != pristine)
            break;
    }
}

}  // namespace
