// The checker's fixes asked of the model directly: an object that is not
// there left alone, and the height held in the map. What each fix writes is
// tested with the checks (tests/checker).
#include <string>

#include "edits/check_fixes.h"
#include "edits_fixture.h"

namespace {

using namespace edits;

class CheckFixesTest : public EditsTest {
protected:
    void SetUp() override {
        EditsTest::SetUp();
        Room();
        level.lineDefs[1].tag = 5;
        level.sectors[0].floorHeight = 32760;
        ResetHistory();
    }
};

TEST_F(CheckFixesTest, AnObjectThatIsNotThereIsLeftAlone) {
    std::string before = LevelArrayBytes();
    EXPECT_FALSE(SetDefaultName(level, 2, NamePart::FloorFlat, NameFix::Missing));   // no Sector 2
    EXPECT_FALSE(SetDefaultName(level, 9, NamePart::Middle, NameFix::Missing));
    EXPECT_FALSE(FixSectorHeight(level, -1, HeightFix::TooTall));
    EXPECT_FALSE(ResetTag(level, kObjThing, 0));
    EXPECT_FALSE(ResetTag(level, kObjLineDef, 4));
    EXPECT_FALSE(DeleteDuplicateLineDef(level, 4));
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_EQ(Step(), "");
    // The ceiling raised above the floor stops at the map's top.
    EXPECT_TRUE(FixSectorHeight(level, 0, HeightFix::CeilingBelowFloor));
    EXPECT_EQ(level.sectors[0].ceilingHeight, 32767);
    EXPECT_EQ(Step(), "set missing textures");
}

}  // namespace
