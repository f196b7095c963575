// Statistics and find and replace, on crafted levels and on Freedoom's MAP01.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "check_recorder.h"
#include "gamedefs/thingtypes.h"
#include "level/level.h"
#include "level/level_files.h"
#include "pictures/name_keys.h"
#include "checker/find_replace.h"
#include "checker/statistics.h"
#include "pictures/namelists.h"
#include "support/map_kit.h"
#include "support/program_state.h"
#include "support/headless_kit.h"
#include "support/testkit.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace {

using checktest::Recorder;
using Lines = std::vector<std::string>;

class StatisticsTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }
};

TEST_F(StatisticsTest, ObjectCountsAndSizesInKilobytes) {
    int v = mapkit::AddVertex(0, 0);
    for (int i = 0; i < 1000; ++i)
        mapkit::AddLineDef(v, v, -1);
    level.rejectSize = 513;
    std::vector<StatisticsBox> boxes = LevelStatistics();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "Number of Object Statistics");
    EXPECT_EQ(boxes[0].lines[0], " Description   Number Size Kb");
    EXPECT_EQ(boxes[0].lines[2], "Vertices           1      0");
    EXPECT_EQ(boxes[0].lines[3], "LineDefs        1000     14");
    EXPECT_EQ(boxes[0].lines[9], "Reject           513      1");
    EXPECT_EQ(boxes[0].lines.size(), 11u);
}

TEST_F(StatisticsTest, ThingsCountInTheColumnsOfTheirFlagBits) {
    mapkit::AddThing(0, 0, 3004, 0, 7);    // skills 1-2, 3, 4-5
    mapkit::AddThing(0, 0, 3004, 0, 24);   // deaf, network
    mapkit::AddThing(0, 0, 2001, 0, 1);    // a shotgun on the easy skills
    std::vector<StatisticsBox> boxes = LevelStatistics();
    std::vector<std::string> titles;
    for (const StatisticsBox& box : boxes)
        titles.push_back(box.title);
    EXPECT_EQ(titles, (Lines{"Number of Object Statistics", "Enemies", "Equipment", "Weapons", "Ammunition",
                             "Summary"}));
    const StatisticsBox& enemies = boxes[1];
    EXPECT_EQ(enemies.lines[0], " Description        Easy Med Hard Deaf  Net");
    std::string row = Format("%-16s     1    1    1    1    1", GetThingTypeDescription(3004));
    EXPECT_NE(std::find(enemies.lines.begin(), enemies.lines.end(), row), enemies.lines.end()) << row;
    EXPECT_EQ(enemies.lines.back(), "        Totals       1    1    1    1    1");
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
    testkit::HeadlessSession session;
    InitGraphics(GraphicsPalette::Basic);
    search.kind = kFindThing;
    rec = Recorder();
    // The menu: item 4, then Esc in the number form.
    session.ExactScript("key 4\nkey Esc");
    FindReplace(0, 0, SearchStart::Ask, rec);
    EXPECT_EQ(search.kind, kSearchNone);
    EXPECT_EQ(rec.said, (Lines{"Result Objects: Found 0, Changed 0"}));
}

class Map01Test : public FindTest {
protected:
    void SetUp() override {
        FindTest::SetUp();
        if (!mapkit::OpenFreedoom2())
            GTEST_SKIP() << "Freedoom is not installed";
        ASSERT_TRUE(mapkit::LoadIwadLevel("MAP01"));
    }
    static int CountWalls(const char* name) {
        int n = 0;
        for (const SideDef& sd : level.sideDefs)
            for (const char* field : {sd.upper, sd.lower, sd.middle})
                n += NameKey(field) == name;
        return n;
    }
};

TEST_F(Map01Test, WallTexturesAreFoundInOrderAndReplaced) {
    std::string name = NameKey(level.sideDefs[0].middle);
    int count = CountWalls(name.c_str());
    ASSERT_GT(count, 2);
    SetFieldName(search.wall, name.c_str());
    Lines said = Search(kFindWallTexture);
    EXPECT_EQ(said.size(), size_t(count) + 1);
    EXPECT_EQ(said[0], "Found SideDef 0: " + name + " = Normal texture in SideDef 0");
    EXPECT_EQ(said.back(), Format("Result Objects: Found %d, Changed 0", count));

    // Cancelled at the third: the search ends there, showing that object.
    rec = Recorder();
    rec.cancelAt = 2;
    search.kind = kFindWallTexture;
    FindReplace(0, 0, SearchStart::Repeat, rec);
    EXPECT_EQ(rec.said.back(), "Result Objects: Found 3, Changed 0");

    SetFieldName(search.wallReplacement, "BRICK1");
    int bricks = CountWalls("BRICK1");
    said = Search(kReplaceWallTexture);
    EXPECT_EQ(said[0], "Status: " + name + " = Normal texture in SideDef 0");
    EXPECT_EQ(said.back(), Format("Result Objects: Found %d, Changed %d", count, count));
    EXPECT_EQ(CountWalls(name.c_str()), 0);
    EXPECT_EQ(CountWalls("BRICK1"), bricks + count);
    EXPECT_TRUE(level.levelChanged);
    EXPECT_EQ(Search(kReplaceWallTexture), (Lines{"Result Object Not Found: RepWallTx " + name}));
}

TEST_F(Map01Test, FlatsMatchWithoutRegardToCase) {
    std::string flat = NameKey(level.sectors[0].floorTexture);
    int count = 0;
    for (const Sector& s : level.sectors)
        count += (NameKey(s.floorTexture) == flat) + (NameKey(s.ceilingTexture) == flat);
    std::string lower = flat;
    for (char& c : lower)
        c = char(std::tolower(c));
    SetFieldName(search.flat, lower.c_str());
    EXPECT_EQ(Search(kFindFlat).back(), Format("Result Objects: Found %d, Changed 0", count));
}

TEST_F(Map01Test, RepeatingAReplacedThingFindsNothing) {
    std::map<int, int> types;
    for (const Thing& t : level.things)
        ++types[t.type];
    int type = level.things[0].type;
    search.thing = type;
    search.thingReplacement = 5;
    Lines said = Search(kReplaceThing);
    EXPECT_EQ(said.back(), Format("Result Objects: Found %d, Changed %d", types[type], types[type]));
    EXPECT_EQ(Search(kReplaceThing), (Lines{Format("Result Object Not Found: RepThing %d", type)}));
    search.thing = 5;
    EXPECT_EQ(Search(kFindThing).back(), Format("Result Objects: Found %d, Changed 0", types[type] + types[5]));
}

}  // namespace
