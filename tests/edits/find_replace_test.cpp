// The search of find and replace, asked directly on a room: what each kind
// finds, where it stops, and the one step a replacement makes.
#include <cstring>
#include <string>
#include <vector>

#include "edits/find_replace.h"
#include "edits_fixture.h"

namespace {

using FindReplaceEditsTest = EditsTest;

TEST_F(FindReplaceEditsTest, EachKindFindsItsMatchesStopsWhereTheCallerSaysAndReplacesInOneStep) {
    // A room whose four walls show STONE2, stone2, STONE2 and BRICK1, its
    // floor FLOOR4_8; two imps and a shotgun in it.
    Room();
    const char* names[] = {"STONE2", "stone2", "STONE2", "BRICK1"};
    for (int i = 0; i < 4; ++i)
        std::strncpy(level.sideDefs[i].middle, names[i], 8);
    std::strncpy(level.sectors[0].floorTexture, "FLOOR4_8", 8);
    std::strncpy(level.sectors[0].ceilingTexture, "CEIL3_5", 8);
    for (int type : {3004, 2001, 3004})
        mapkit::AddThing(50, 50, type);
    ResetHistory();
    const struct {
        int kind;
        size_t stopAfter;   // matches shown before the caller stops it
        int found, changed;
        const char* first;   // the first match's message
        const char* step;
    } cases[] = {
        {kFindWallTexture, 2, 2, 0, "STONE2 = Normal texture in SideDef 0", ""},
        {kReplaceWallTexture, 9, 3, 3, "STONE2 = Normal texture in SideDef 0", "replace textures"},
        {kFindFlat, 9, 1, 0, "FLOOR4_8 = Floor texture in Sector 0", ""},   // in any case
        {kFindThing, 9, 2, 0, "Found Thing 3004, Thing Number 0", ""},
        {kReplaceThing, 9, 2, 2, "Found Thing 3004, Thing Number 0", "replace Things"},
    };
    for (const auto& c : cases) {
        std::string before = LevelArrayBytes();
        SearchState search;
        search.kind = c.kind;
        std::strcpy(search.wall, "Stone2");
        std::strcpy(search.wallReplacement, "METAL");
        std::strcpy(search.flat, "floor4_8");
        search.thing = 3004;
        search.thingReplacement = 5;
        std::vector<std::string> shown;
        edits::SearchTally tally = edits::RunSearch(level, search, [&](const edits::SearchMatch& match) {
            shown.push_back(match.message);
            return shown.size() < c.stopAfter;
        });
        EXPECT_EQ(tally.found, c.found) << c.first;
        EXPECT_EQ(tally.changed, c.changed) << c.first;
        ASSERT_FALSE(shown.empty()) << c.first;
        EXPECT_EQ(shown[0], c.first);
        EXPECT_EQ(Step(), c.step);
        if (c.changed > 0) {
            EXPECT_EQ(edits::RunSearch(level, search, [](const edits::SearchMatch&) { return true; }).found, 0)
                << "nothing left to replace: " << c.first;
            ASSERT_TRUE(Undo());
        }
        EXPECT_EQ(LevelArrayBytes(), before) << c.first;
    }
}

}  // namespace
