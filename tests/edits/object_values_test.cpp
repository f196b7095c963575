// The edit dialogs' changes beyond one field, asked of the model directly:
// the SideDefs LineDefs lack, a LineDef's SideDef replaced or removed; the
// Thing Ins makes; the checker's fixes given objects that are not there;
// find and replace.
#include <cstring>
#include <string>
#include <vector>

#include "edits/check_fixes.h"
#include "edits/find_replace.h"
#include "edits/object_edits.h"
#include "edits/object_values.h"
#include "edits_fixture.h"

namespace {

using namespace edits;

class ObjectValuesTest : public EditsTest {
protected:
    // The room, with LineDef 4 across it without sides and the east wall
    // (2) two-sided onto the room's Sector.
    void SetUp() override {
        EditsTest::SetUp();
        Room();
        AddLineDef(0, 2, -1);
        level.lineDefs[2].sideDef2 = static_cast<uint16_t>(AddSideDef(0));   // SideDef 4
    }
};

TEST_F(ObjectValuesTest, LineDefsGetTheSidesTheyLack) {
    level.lineDefs[0].flags = 1;
    SidesAdded added = AddMissingSides(level, ListOf({1, 4, 0}), LineDefSide::Second);
    EXPECT_EQ(added.sideDefs, (std::vector<int>{5, 6, 7}));   // newest first: 0, 4, 1
    EXPECT_FALSE(added.full);
    const LineDef& wall = level.lineDefs[0];
    EXPECT_EQ((std::vector<int>{wall.sideDef2, wall.flags}), (std::vector<int>{5, 4}));   // two-sided only
    EXPECT_EQ(level.sideDefs[5].middle[0], '-');
    EXPECT_EQ(SectorOf(5), SectorOf(wall.sideDef1));
    EXPECT_EQ(level.lineDefs[4].sideDef1, 6);   // no sides: a first one
    EXPECT_TRUE(ReferencesSound());

    SetUp();
    added = AddMissingSides(level, ListOf({0, 4}), LineDefSide::First);
    EXPECT_EQ(added.sideDefs, (std::vector<int>{5}));
}

// A SideDef no LineDef uses any more goes; one shared with another LineDef
// (on either side) stays.
TEST_F(ObjectValuesTest, ASideDefRemovedGoesOnlyWhenNothingElseUsesIt) {
    for (int sharedAs : {1, 2, 0}) {   // LineDef 4's first or second side, or not shared
        SetUp();
        if (sharedAs > 0)
            (sharedAs == 2 ? level.lineDefs[4].sideDef2 : level.lineDefs[4].sideDef1) = 4;
        EXPECT_TRUE(SetSideDefOf(level, 2, LineDefSide::Second, -1));
        EXPECT_EQ(level.lineDefs[2].sideDef2, kNoReference);
        EXPECT_EQ(level.sideDefs.count, sharedAs > 0 ? 5 : 4);
    }
    EXPECT_TRUE(ReferencesSound());
    EXPECT_TRUE(SetSideDefOf(level, 4, LineDefSide::First, 3));
    EXPECT_EQ(level.lineDefs[4].sideDef1, 3);
    EXPECT_FALSE(SetSideDefOf(level, 4, LineDefSide::First, 4));   // no such SideDef
    EXPECT_FALSE(SetSideDefOf(level, 5, LineDefSide::First, 0));   // no such LineDef
}

// A new Thing copies its model, unless that is a player start (a second
// start is an extra body in the game) or missing: then the default type.
TEST_F(ObjectValuesTest, AThingCopiesItsModelButNeverAPlayerStart) {
    config.defaultThingType = 2012;
    mapkit::AddThing(10, 10, 3004, 90, 4);
    mapkit::AddThing(0, 0, 1, 270, 7);
    for (int model : {0, 1, 9}) {
        ThingInserted made = InsertThing(level, model, 5, 6);
        EXPECT_EQ(made.modelIsStart, model == 1);
        const Thing& t = level.things[made.thing];
        EXPECT_EQ((std::vector<int>{t.x, t.y, t.angle, t.type, t.flags}),
                  (model == 0 ? std::vector<int>{5, 6, 90, 3004, 4} : std::vector<int>{5, 6, 0, 2012, 7}));
    }
}

// The checker's fixes: an object that is not there left alone, and the
// height held in the map. What each fix writes is tested with the checks
// (tests/checker).
TEST_F(ObjectValuesTest, CheckFixesLeaveAnObjectThatIsNotThereAlone) {
    level.lineDefs[1].tag = 5;
    level.sectors[0].floorHeight = 32760;
    std::string before = Checkpoint();
    EXPECT_FALSE(SetDefaultName(level, 2, NamePart::FloorFlat, NameFix::Missing));   // no Sector 2
    EXPECT_FALSE(SetDefaultName(level, 9, NamePart::Middle, NameFix::Missing));
    EXPECT_FALSE(FixSectorHeight(level, -1, HeightFix::TooTall));
    EXPECT_FALSE(ResetTag(level, kObjThing, 0));
    EXPECT_FALSE(ResetTag(level, kObjLineDef, 5));
    EXPECT_FALSE(DeleteDuplicateLineDef(level, 5));
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_EQ(Step(), "");
    // The ceiling raised above the floor stops at the map's top.
    EXPECT_TRUE(FixSectorHeight(level, 0, HeightFix::CeilingBelowFloor));
    EXPECT_EQ(level.sectors[0].ceilingHeight, 32767);
    EXPECT_EQ(Step(), "set missing textures");
}

// The search of find and replace on a room: what each kind finds, where it
// stops, and the one step a replacement makes.
TEST_F(EditsTest, FindAndReplaceFindsEachKindStopsWhenToldAndReplacesInOneStep) {
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
        // No types or tags; Things of type 3004 become 5, "Stone2" becomes
        // "METAL" and "floor4_8" is sought.
        SearchState search{c.kind, 0, 0, 0, 3004, 5, "floor4_8", "-", "Stone2", "METAL"};
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
