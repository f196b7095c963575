// The Misc menu on the selection of each EditMode: what it shows, which
// operation each item runs with which objects, the selections each needs,
// the confirmations of the flips, the first free tag; and joining Sectors.
// Then the turn keys through the editor's main loop on Freedoom's MAP01: ","
// and "." turn Things, and outside Things mode start an interactive turn.
#include "editor/editor_session.h"
#include "ops/linedef_ops.h"
#include "ops/ops_fixture.h"
#include "ui/menus.h"

namespace {

class MiscMenuTest : public OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        TwoRooms();
        ResetHistory();
    }
    void Mode(int mode) { config.editMode = static_cast<int16_t>(mode); }
};

struct ItemCase {
    const char* name;
    bool oneRoom;   // the outer room alone (else both rooms)
    int mode;
    std::initializer_list<int> selected;   // oldest first
    std::vector<std::string> keys;          // the item, then the answers
    std::string step;                       // the undo step, "" for none
    const char* box;                        // text of the last box, nullptr for none
    bool emptied;                           // the selection is empty afterwards
};

// The menu shows the operations of the mode and passes Right on; each item
// runs its operation on the selection or says what it needs.
TEST_F(MiscMenuTest, EachItemRunsItsOperationOnTheSelection) {
    Mode(kObjSector);
    Answers({"Esc"});
    EXPECT_EQ(MiscMenu(10, 20, MiscStart::Menu), 0);
    EXPECT_TRUE(Showed(0, "Distribute Sector lighting"));
    EXPECT_FALSE(Showed(0, "Swap LineDef SideDefs"));
    Answers({"Right"});
    EXPECT_EQ(MiscMenu(10, 20, MiscStart::Menu), kMenuNext);
    EXPECT_EQ(Step(), "");
    // The first free tag is above those of LineDefs and Sectors.
    EXPECT_EQ(FirstFreeTag(level), 1);
    level.lineDefs[0].tag = 1;
    level.sectors[1].tag = 3;
    level.lineDefs[5].tag = 2;
    EXPECT_EQ(FirstFreeTag(level), 4);
    const ItemCase cases[] = {
        {"split", false, kObjLineDef, {0, 1}, {"3"}, "split 2 LineDefs", nullptr, false},
        {"split sector", true, kObjLineDef, {0, 2}, {"4", "Enter"}, "split 2 LineDefs and Sector", nullptr,
         true},
        {"split needs 2", false, kObjLineDef, {0}, {"4", "Enter"}, "", "Select exactly 2 LineDefs", false},
        {"join", false, kObjLineDef, {4, 5, 6, 7}, {"5"}, "delete 4 LineDefs and join Sectors", nullptr,
         true},
        {"join one-sided", false, kObjLineDef, {4, 0}, {"5", "Enter"}, "", "Error: LineDef 0 has only one side",
         false},
        {"flip", false, kObjLineDef, {0}, {"6", "Y"}, "flip 1 LineDef", "This swaps Sector references", false},
        {"flip declined", false, kObjLineDef, {0}, {"6", "N"}, "", "Caution", false},
        {"swap", false, kObjLineDef, {0, 1}, {"7", "Y"}, "swap SideDefs of 2 LineDefs", "Caution", false},
        {"flip vertexes", false, kObjLineDef, {2}, {"8"}, "flip Vertexes of 1 LineDef", nullptr, false},
        {"align", false, kObjLineDef, {2}, {"9", "Esc"}, "", "Align Textures Y", false},
        {"stair", false, kObjLineDef, {2}, {"C", "Enter"}, "", "Select 2 LineDefs Opposite one another", false},
        {"nothing selected", false, kObjLineDef, {}, {"3", "Enter"}, "", "Select at least 1 LineDefs", false},
        {"delete vertex", false, kObjVertex, {0}, {"3"}, "delete 1 Vertex and join LineDefs", nullptr, true},
        {"merge", false, kObjVertex, {4, 0}, {"4"}, "merge 2 Vertexes", nullptr, true},
        {"add linedef", true, kObjVertex, {0, 2}, {"5", "Enter"}, "split Sector", nullptr, true},
        {"add needs 2", false, kObjVertex, {0, 1, 2}, {"5", "Enter"}, "", "Select exactly 2 Vertexs", false},
        {"lift", false, kObjSector, {0}, {"3"}, "make a lift", nullptr, false},
        {"lift needs 1", false, kObjSector, {0, 1}, {"3", "Enter"}, "", "Select exactly 1 Sectors", false},
        {"rotate things", false, kObjThing, {}, {"1", "Enter"}, "", "Select at least 1 Things", false},
        {"first free tag", false, kObjThing, {}, {"2", "Enter"}, "", "First Free Tag", false},
    };
    for (const ItemCase& c : cases) {
        mapkit::ClearMap();
        if (c.oneRoom)
            mapkit::AddRoom(0, 0, 200, 200, AddSector());
        else
            TwoRooms();
        ResetHistory();
        Mode(c.mode);
        Select(c.selected);
        Answers(c.keys);
        EXPECT_EQ(MiscMenu(10, 20, MiscStart::Menu), 0) << c.name;
        EXPECT_EQ(Step(), c.step) << c.name;
        EXPECT_TRUE(!c.box || Showed(c.keys.size() - 1, c.box)) << c.name;
        EXPECT_EQ(selection.list.empty(), c.emptied || c.selected.size() == 0) << c.name;
        EXPECT_TRUE(ReferencesSound()) << c.name;
    }
    // Joining Sectors keeps the one selected last.
    mapkit::ClearMap();
    TwoRooms();
    level.sectors[1].tag = 9;
    SelectionList sectors = ListOf({0, 1});
    JoinSectors(level, sectors);
    EXPECT_EQ(Numbers(sectors), (std::vector<int>{0}));
    EXPECT_EQ(level.sectors[0].tag, 9);
    EXPECT_TRUE(ReferencesSound());
}

using editor_test::kIdle;
using editor_test::kScriptEnded;

using MiscSessionTest = editor_test::EditorSession;

TEST_F(MiscSessionTest, CommaAndPeriodTurnThingsOrStartRotating) {
    InstallMiscOperations();
    ASSERT_EQ(Run("wait 0\n"), kScriptEnded);
    std::string loaded = mapkit::LevelArrayBytes();
    const std::string mark = "key T\nkey N\nkey M\n";
    ASSERT_EQ(Run(mark + kIdle), kScriptEnded);
    ASSERT_FALSE(selection.list.empty());
    int thing = selection.list.head();
    int angle = level.things[thing].angle;
    // , and < turn anticlockwise by 45 degrees, . and > back.
    ASSERT_EQ(Run(mark + "key ,\nkey <\nkey .\n" + kIdle), kScriptEnded);
    EXPECT_EQ(level.things[thing].angle, (angle + 45) % 360);
    EXPECT_EQ(UndoLabel(), "turn 1 Thing");
    // Outside Things mode the same keys turn the selection interactively;
    // Esc puts it back.
    ASSERT_EQ(Run("key L\nkey N\nkey M\nkey ,\nkey ,\nkey +\nkey Esc\n" + kIdle), kScriptEnded);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
}

}  // namespace
