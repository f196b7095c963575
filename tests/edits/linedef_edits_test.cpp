// Adding a LineDef across a Sector: the area a split takes and the refusals
// that change nothing, asked of the model directly on small levels.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "edits/linedef_edits.h"
#include "edits_fixture.h"

namespace {

using edits::Refusal;
using edits::SplitChoice;

class LineDefEditsTest : public EditsTest {};

// The new Sector is the area the new LineDef cuts off: of the pillars on
// either side, the one beyond it goes with it. The new Sector is a copy of
// the old; the new LineDef, the last, is two-sided without middle textures.
TEST_F(LineDefEditsTest, TheSplitTakesTheAreaTheNewLineDefCutsOff) {
    Room();
    AddPillar(20, 150, 50, 180, 0);
    AddPillar(150, 20, 180, 50, 0);
    EXPECT_FALSE(edits::AddLineDefSplitSector(level, 0, 2, SplitChoice::SplitSector).refused());
    std::vector<std::pair<int, int>> sectors;   // of each LineDef's sides
    for (const LineDef& ld : level.lineDefs)
        sectors.emplace_back(SectorOf(ld.sideDef1), ld.sideDef2 == kNoReference ? -1 : SectorOf(ld.sideDef2));
    EXPECT_EQ(sectors, (std::vector<std::pair<int, int>>{{1, -1}, {1, -1}, {0, -1}, {0, -1}, {1, -1}, {1, -1}, {1, -1},
                                                         {1, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, 1}}));
    ASSERT_EQ(level.sectors.count, 2);
    EXPECT_EQ(0, std::memcmp(&level.sectors[1], &level.sectors[0], sizeof(Sector)));
    const LineDef& added = level.lineDefs[12];
    EXPECT_EQ(added.flags, 4);
    EXPECT_EQ(Name(level.sideDefs[added.sideDef1].middle) + Name(level.sideDefs[added.sideDef2].middle), "--");
    EXPECT_TRUE(testkit::LevelValid(testkit::Validity::Game));
}

// Each refusal says why in the box's words, changes nothing and makes no
// step.
TEST_F(LineDefEditsTest, RefusalsSayWhyAndChangeNothing) {
    struct Case {
        const char* name;
        void (*extra)();   // more map; may remove walls
        int a, b;
        Refusal::Kind kind;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"no such Vertex", nullptr, 0, 9, Refusal::Kind::Missing, "", ""},
        {"outside", [] { AddVertex(300, 0), AddVertex(300, 200); }, 4, 5, Refusal::Kind::Said,
         "No Sector between Vertex 4 and 5", ""},
        {"open room", [] { level.lineDefs.count = 3; }, 2, 0, Refusal::Kind::Said,   // no south wall
         "Sector 0, Vertex 2 to 0", "Cannot go past Vertex 3)"},
        {"no side from a", [] { level.lineDefs[0].sideDef1 = kNoReference; }, 0, 2, Refusal::Kind::Said,
         "Sector 0, Vertex 0 to 2", "There is no SideDef starting from Vertex 0"},
        // The path itself: a Vertex within the tolerance of it, a LineDef
        // from a that it would run along, a pillar across it.
        {"through a Vertex",
         [] {
             int on = AddVertex(101, 99);
             AddLineDef(on, AddVertex(101, 150), AddSideDef(0), AddSideDef(0), 4);
         },
         0, 2, Refusal::Kind::Said, "Cannot add a LineDef from Vertex 0 to 2:", "it would pass through Vertex 4."},
        {"along a LineDef",
         [] {
             AddLineDef(0, AddVertex(150, 150), AddSideDef(0), AddSideDef(0), 4);
             AddVertex(100, 100);
         },
         0, 5, Refusal::Kind::Said, "Cannot add a LineDef from Vertex 0 to 5:", "it would run along LineDef 4."},
        {"across a pillar", [] { AddPillar(80, 100, 160, 130, 0); }, 0, 2, Refusal::Kind::Said,
         "Cannot add a LineDef from Vertex 0 to 2:", "it would cross LineDef 4."},
    };
    for (const Case& c : cases) {
        Room();
        if (c.extra)
            c.extra();
        std::string before = Checkpoint();
        Refusal refusal = edits::AddLineDefSplitSector(level, c.a, c.b, SplitChoice::SplitSector);
        EXPECT_EQ(refusal.kind, c.kind) << c.name;
        EXPECT_EQ(refusal.first, c.first) << c.name;
        EXPECT_EQ(refusal.second, c.second) << c.name;
        EXPECT_EQ(LevelArrayBytes(), before) << c.name;
        EXPECT_EQ(Step(), "") << c.name;
    }
}

// Deleting LineDefs to join the Sectors on their sides needs two sides
// facing Sectors on each; the first that has not is named.
TEST_F(LineDefEditsTest, JoiningSectorsAcrossLineDefsNeedsTwoSidesFacingSectors) {
    const struct {
        const char* name;
        void (*spoil)();
        const char* first;
    } cases[] = {
        {"joined", [] {}, ""},
        {"one side", [] { level.lineDefs[5].sideDef2 = kNoReference; }, "Error: LineDef 5 has only one side"},
        {"no Sector", [] { level.sideDefs[level.lineDefs[6].sideDef2].sector = 7; },
         "Error: LineDef 6 has two sides, but one"},
    };
    for (const auto& c : cases) {
        mapkit::ClearMap();
        int outer = AddSector(), inner = AddSector();
        AddRoom(0, 0, 200, 200, outer);
        AddRoom(50, 50, 150, 150, inner, outer);
        c.spoil();
        std::string before = Checkpoint();
        SelectionList list = ListOf({4, 5, 6, 7});
        Refusal refusal = edits::DeleteLineDefsJoinSectors(level, list);
        EXPECT_EQ(refusal.first, c.first) << c.name;
        if (refusal.refused()) {
            EXPECT_EQ(LevelArrayBytes(), before) << c.name;
            ForgetSelection(list);
            continue;
        }
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(Step(), "delete 4 LineDefs and join Sectors");
        EXPECT_EQ((std::vector<int>{level.lineDefs.count, level.sectors.count}), (std::vector<int>{4, 1}));
        EXPECT_TRUE(ReferencesSound());
    }
}

}  // namespace
