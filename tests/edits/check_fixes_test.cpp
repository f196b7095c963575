// The checker's fixes asked of the model directly: the step each names, the
// height held in the map, and an object that is not there left alone. What
// each fix writes is tested with the checks (tests/checker).
#include <functional>
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

TEST_F(CheckFixesTest, EachFixNamesTheStep) {
    const struct {
        std::function<void()> fix;
        const char* step;
    } cases[] = {
        {[] { SetDefaultName(level, 0, NamePart::CeilingFlat, NameFix::Missing); }, "set missing textures"},
        {[] { SetDefaultName(level, 2, NamePart::Lower, NameFix::Unknown); }, "replace unknown textures"},
        {[] { FixSectorHeight(level, 0, HeightFix::CeilingBelowFloor); }, "set missing textures"},
        {[] { ResetTag(level, kObjLineDef, 1); }, "reset tags"},
        {[] { FixLineDefFlags(level, {0, 999}, 4, 1); }, "set LineDef flags"},
        {[] { DeleteDuplicateLineDef(level, 3); }, "delete duplicate LineDef"},
        {[] {
             SelectionList unused = ListOf({0});
             DeleteUnusedObjects(level, kObjVertex, unused);
         },
         "delete unused objects"},
    };
    for (const auto& c : cases) {
        SetUp();
        c.fix();
        EXPECT_TRUE(level.levelChanged) << c.step;
        EXPECT_EQ(Step(), c.step);
    }
    FixSectorHeight(level, 0, HeightFix::CeilingBelowFloor);
    EXPECT_EQ(level.sectors[0].ceilingHeight, 32767);   // not past the map's top
}

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
}

}  // namespace
