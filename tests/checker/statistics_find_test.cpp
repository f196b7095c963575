// Statistics and find and replace as the user starts them, on crafted
// levels; what a search finds is asked of the model in tests/edits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/format.h"
#include "check_recorder.h"
#include "gamedefs/thingtypes.h"
#include "level/level.h"
#include "checker/find_replace.h"
#include "checker/statistics.h"
#include "support/map_kit.h"
#include "support/program_state.h"
#include "support/session_kit.h"
#include "ui/graphics.h"

namespace {

using checktest::Recorder;
using Lines = std::vector<std::string>;

class StatisticsTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }
};

// The sizes in kilobytes; Things in the columns of their flag bits.
TEST_F(StatisticsTest, ObjectCountsSizesAndThingsBySkill) {
    int v = mapkit::AddVertex(0, 0);
    for (int i = 0; i < 1000; ++i)
        mapkit::AddLineDef(v, v, -1);
    level.rejectSize = 513;
    mapkit::AddThing(0, 0, 3004, 0, 7);    // skills 1-2, 3, 4-5
    mapkit::AddThing(0, 0, 3004, 0, 24);   // deaf, network
    mapkit::AddThing(0, 0, 2001, 0, 1);    // a shotgun on the easy skills
    std::vector<StatisticsBox> boxes = LevelStatistics();
    std::vector<std::string> titles;
    for (const StatisticsBox& box : boxes)
        titles.push_back(box.title);
    EXPECT_EQ(titles, (Lines{"Number of Object Statistics", "Enemies", "Equipment", "Weapons", "Ammunition",
                             "Summary"}));
    const Lines& counts = boxes[0].lines;
    EXPECT_EQ(counts.size(), 11u);
    EXPECT_EQ((Lines{counts[0], counts[2], counts[3], counts[9]}),
              (Lines{" Description   Number Size Kb", "Vertices           1      0", "LineDefs        1000     14",
                     "Reject           513      1"}));
    const Lines& enemies = boxes[1].lines;
    EXPECT_EQ(enemies[0], " Description        Easy Med Hard Deaf  Net");
    std::string row = Format("%-16s     1    1    1    1    1", GetThingTypeDescription(3004));
    EXPECT_NE(std::find(enemies.begin(), enemies.end(), row), enemies.end()) << row;
    EXPECT_EQ(enemies.back(), "        Totals       1    1    1    1    1");
    EXPECT_EQ(boxes.back().lines, (Lines{" Description        Easy Med Hard Deaf  Net",
                                         "Enemies              1    1    1    1    1",
                                         "Equipment            0    0    0    0    0",
                                         "Weapons              1    0    0    0    0",
                                         "Ammunition           0    0    0    0    0"}));
}

// --- Find and replace -------------------------------------------------------------

class FindTest : public StatisticsTest {
protected:
    // The search as the menu and entries would have left it, run again.
    Lines Search(int kind) {
        search.kind = kind;
        rec = Recorder();
        FindReplace(0, 0, SearchStart::Repeat, rec);
        return rec.said;
    }
    Recorder rec;
};

TEST_F(FindTest, FindsShowEachMatchAndTheCountAtTheEnd) {
    int a = mapkit::AddSector(7);
    mapkit::AddSector(3);
    mapkit::AddRoom(0, 0, 64, 64, a);
    level.lineDefs[2].tag = 3;
    level.lineDefs[3].type = 1;
    search.sectorTag = 7;
    EXPECT_EQ(Search(kFindSectorTag), (Lines{"Found Sector 0: Found Tag 7, Sector 0", "Result Objects: Found 1, Changed 0"}));
    search.lineDefTag = 3;
    EXPECT_EQ(Search(kFindLineDefTag), (Lines{"Found LineDef 2: Found Tag 3, LineDef 2",
                                              "Result Objects: Found 1, Changed 0"}));
    search.lineDefTag = 7;
    EXPECT_EQ(Search(kFindLineDefTag), (Lines{"Result Object Not Found: LineTag  7"}));
    search.lineDefType = 0;
    Lines said = Search(kFindLineDefType);
    EXPECT_EQ(said.back(), "Result Objects: Found 3, Changed 0");
}

TEST_F(FindTest, ACancelledEntryEndsWithNothingFound) {
    testkit::Session session;
    InitGraphics(GraphicsPalette::Basic);
    search.kind = kFindThing;
    rec = Recorder();
    // The menu: item 4, then Esc in the number form.
    session.ExactScript("key 4\nkey Esc");
    FindReplace(0, 0, SearchStart::Ask, rec);
    EXPECT_EQ(search.kind, kSearchNone);
    EXPECT_EQ(rec.said, (Lines{"Result Objects: Found 0, Changed 0"}));
}

}  // namespace
