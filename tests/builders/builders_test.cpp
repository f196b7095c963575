// The builders as the user starts them on small crafted levels: the stairs'
// boxes and questions, and the texture alignments, with undo giving the
// level back byte for byte. What the door, lift and stairs build
// is asked of the model in tests/edits.
#include <cstring>

#include "support/builder_scenes.h"
#include "builders/builders.h"
#include "ops/ops_fixture.h"
#include "support/level_validity.h"
#include "support/picture_kit.h"

namespace {

class BuildersTest : public OpsTest {
protected:
    // Expects the builder to leave the undo step of the name ("": none) and
    // undo to give the level back.
    void ExpectOneStep(const std::string& before, const std::string& label) {
        EXPECT_TRUE(label.empty() || ReferencesSound());
        ASSERT_EQ(Step(), label);
        ASSERT_TRUE(label.empty() || Undo());
        EXPECT_EQ(LevelArrayBytes(), before);
    }
    // One offset of every SideDef.
    static std::vector<int> Offsets(int16_t SideDef::*offset) {
        std::vector<int> out;
        for (const SideDef& sd : level.sideDefs)
            out.push_back(sd.*offset);
        return out;
    }
};

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
        {"side 2", {0, 2, 3}, "key Down\nkey Down\nkey Enter\n", {5, 5, 5, 0, 0}, "align textures Y"},
        {"exit", {0, 1}, "key Enter\n", {5, 5, 5, 5, 5}, ""},
        {"no side 2", {0, 1}, "key Down\nkey Down\nkey Enter\nkey Enter\n", {5, 5, 5, 5, 5}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string before = LevelArrayBytes();
        SelectionList list = ListOf(c.oldestFirst);
        session.Script(c.keys);
        AlignTexturesY(list);
        EXPECT_EQ(Offsets(&SideDef::yOffset), c.expected);
        ExpectOneStep(before, c.step);
        ForgetSelection(list);
    }
}

// The corridor scene at the origin, stairs between LineDefs 1 and 5. The
// stairs themselves are the model's (tests/edits); here, the questions on
// the way (3 steps of 16 offered) and the box that says why nothing was
// built.
TEST_F(BuildersTest, StairsAskOnTheWayOrSayWhyNot) {
    struct Case {
        const char* name;
        std::string keys;   // before the box that is photographed
        std::string lastKey;
        void (*spoil)();
        std::string box;
    } cases[] = {
        {"built reversed", "key Enter\nkey Enter\n", "Y", [] {}, "Reverse Stair"},
        {"too short", "key Enter\nkey Enter\nkey N\n", "Enter",
         [] {
             level.vertices[1].y = 100;   // the west piece is 12 long: steps of 4
             level.vertices[2].y = 112;
         },
         "Steps are too small 4"},
        {"other sectors", "", "Enter", [] { level.sideDefs[1].sector = 7; }, "the same sector"},
        {"a loose end", "", "Enter", [] { level.lineDefs[1].end = 999; }, "The 2 LineDefs do not share"},
        {"in the way", "", "Enter", [] { AddLineDef(AddVertex(10, 128), AddVertex(50, 128), AddSideDef(0)); },
         "LineDef 8 lies between the 2 LineDefs:"},
        {"cancelled", "", "Esc", [] {}, "Stairs in Sector 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mapkit::ClearMap();
        AddCorridor(0, 0, false);
        c.spoil();
        ResetHistory();
        std::string before = LevelArrayBytes();
        SelectionList list = ListOf({5, 1});
        session.Script(c.keys + "snapshot " + Shot(0) + "\nkey " + c.lastKey + "\n");
        MakeStairs(list);
        ForgetSelection(list);
        EXPECT_TRUE(testkit::SnapshotShowsText(Shot(0), c.box));
        if (c.lastKey == "Y") {
            EXPECT_EQ(level.sectors.count, 5);   // 3 steps and the landing
            EXPECT_EQ(level.lineDefs[LineDefJoining(level, 1, 6)].start, 6);   // the bottom riser turned
        }
        ExpectOneStep(before, c.lastKey == "Y" ? "make 3 stairs" : "");
    }
}

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
        AddAlignmentChain();
        ResetHistory();
    }
};

TEST_F(AlignXTest, OffsetsRunOnAlongTheChain) {
    const std::string identical = "key Enter\n", unchecked = "key Down\nkey Down\nkey Enter\n";
    const std::string uncheckedFrom10 = "key Down\nkey Down\nkey Down\nkey Enter\nkey Backspace\ntype 10\nkey Enter\n";
    const std::string side2From10 = "key Down\nkey Down\nkey Down\nkey Down\nkey Down\nkey Enter\n"
                                    "key Backspace\ntype 10\nkey Enter\n";
    // A second side on LineDef 2 (SideDef 4), "WALL" too.
    auto back = [] {
        int sd = AddSideDef(0);
        std::strncpy(level.sideDefs[sd].middle, "WALL", 8);
        level.sideDefs[sd].xOffset = 7;
        level.lineDefs[2].sideDef2 = static_cast<uint16_t>(sd);
    };
    // What each menu item asks, the offsets it leaves (running on, restarting
    // where the texture changes, from an initial offset, on side 2 from the
    // LineDef selected last) and the boxes that say why an alignment stopped.
    struct Case {
        const char* name;
        std::initializer_list<int> oldestFirst;
        std::string keys;             // before the last box
        void (*spoil)();
        std::vector<int> expected;
        std::string box;              // shown last, "" for none
    } cases[] = {
        {"a different texture", {0, 1, 2, 3}, identical, [] {}, {0, 64, 0, 7}, "Texture Different for SideDef 3."},
        {"backwards", {0, 1, 2}, identical, [] { std::swap(level.lineDefs[1].start, level.lineDefs[1].end); },
         {0, 7, 7, 7}, "LineDef 1 not same direction"},
        {"side 2 from 10", {2}, side2From10, back, {7, 7, 7, 7, 10}, ""},
        {"running on from 10", {0, 1, 2, 3}, uncheckedFrom10 + "key N\n", [] {}, {10, 74, 10, 42}, ""},
        {"restarting", {0, 1, 2, 3}, unchecked + "key Y\n", [] {}, {0, 64, 0, 0}, ""},
        {"unknown texture", {0, 1, 2}, unchecked + "key N\n",
         [] { std::strncpy(level.sideDefs[1].middle, "NOSUCH", 8); }, {0, 7, 7, 7}, "Texture NOSUCH not found?"},
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
        EXPECT_TRUE(c.box.empty() || testkit::SnapshotShowsText(Shot(0), c.box)) << c.name;
        ForgetSelection(list);
        RecordStep();
        while (Undo()) {
        }
        ASSERT_EQ(LevelArrayBytes(), pristine) << c.name;
    }
}

}  // namespace
