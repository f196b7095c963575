// The search of find and replace, asked directly: where it stops, and the
// one step a replacement makes.
#include <cstring>
#include <string>
#include <vector>

#include "edits/find_replace.h"
#include "edits_fixture.h"

namespace {

class FindReplaceEditsTest : public EditsTest {
protected:
    // A room whose four walls show STONE2, stone2, STONE2 and BRICK1.
    void SetUp() override {
        EditsTest::SetUp();
        Room();
        const char* names[] = {"STONE2", "stone2", "STONE2", "BRICK1"};
        for (int i = 0; i < 4; ++i)
            std::strncpy(level.sideDefs[i].middle, names[i], 8);
        ResetHistory();
    }
};

TEST_F(FindReplaceEditsTest, ASearchStopsWhereTheCallerSaysAndAReplacementIsOneStep) {
    const struct {
        int kind;
        size_t stopAfter;   // matches shown before the caller stops it
        int found, changed;
        const char* step;
    } cases[] = {
        {kFindWallTexture, 9, 3, 0, ""},
        {kFindWallTexture, 2, 2, 0, ""},
        {kReplaceWallTexture, 9, 3, 3, "replace textures"},
    };
    for (const auto& c : cases) {
        std::string before = LevelArrayBytes();
        SearchState search;
        search.kind = c.kind;
        std::strcpy(search.wall, "Stone2");
        std::strcpy(search.wallReplacement, "METAL");
        std::vector<std::string> shown;
        edits::SearchTally tally = edits::RunSearch(search, [&](const edits::SearchMatch& match) {
            shown.push_back(match.message);
            return shown.size() < c.stopAfter;
        });
        EXPECT_EQ(tally.found, c.found) << c.kind;
        EXPECT_EQ(tally.changed, c.changed) << c.kind;
        EXPECT_EQ(shown[0], "STONE2 = Normal texture in SideDef 0");
        EXPECT_EQ(Step(), c.step);
        if (c.changed > 0) {
            EXPECT_EQ(std::string(level.sideDefs[1].middle, 5), "METAL");
            ASSERT_TRUE(Undo());
        }
        EXPECT_EQ(LevelArrayBytes(), before) << c.kind;
    }
}

}  // namespace
