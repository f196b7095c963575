// The checker's fixes asked of the model directly: what each changes, the
// step it names, and that an object that is not there changes nothing.
#include "edits/check_fixes.h"

#include <cstring>
#include <functional>
#include <string>

#include "edits_fixture.h"

namespace {

using namespace edits;

class CheckFixesTest : public EditsTest {
protected:
    void SetUp() override {
        EditsTest::SetUp();
        Room();
        AddSideDef(0);   // SideDef 4, unused
        AddSector();     // Sector 1, unused
        level.lineDefs[1].tag = level.sectors[0].tag = 5;
        std::strcpy(config.flatCeiling, "FLAT500");
        std::strcpy(config.textureLower, "METL1");
        ResetHistory();
    }
};

std::string Name(const char* field) { return std::string(field, strnlen(field, 8)); }

TEST_F(CheckFixesTest, EachFixChangesItsFieldAndNamesTheStep) {
    const struct {
        const char* what;
        std::function<bool()> fix;
        std::function<bool()> done;
        const char* step;
    } cases[] = {
        {"ceiling flat", [] { return SetDefaultName(level, 0, NamePart::CeilingFlat, NameFix::Missing); },
         [] { return Name(level.sectors[0].ceilingTexture) == "FLAT500"; }, "set missing textures"},
        {"lower texture", [] { return SetDefaultName(level, 2, NamePart::Lower, NameFix::Unknown); },
         [] { return Name(level.sideDefs[2].lower) == "METL1"; }, "replace unknown textures"},
        {"ceiling below the floor",
         [] {
             level.sectors[0].floorHeight = 32760;
             return FixSectorHeight(level, 0, HeightFix::CeilingBelowFloor);
         },
         [] { return level.sectors[0].ceilingHeight == 32767; }, "set missing textures"},
        {"too tall",
         [] {
             level.sectors[0].ceilingHeight = 2000;
             return FixSectorHeight(level, 0, HeightFix::TooTall);
         },
         [] { return level.sectors[0].ceilingHeight == 8 + 1023; }, "set missing textures"},
        {"LineDef tag", [] { return ResetTag(level, kObjLineDef, 1); }, [] { return level.lineDefs[1].tag == 0; },
         "reset tags"},
        {"Sector tag", [] { return ResetTag(level, kObjSector, 0); }, [] { return level.sectors[0].tag == 0; },
         "reset tags"},
        {"flags",
         [] {
             FixLineDefFlags(level, {0, 2, 999}, 4, 1);
             return true;
         },
         [] { return level.lineDefs[0].flags == 4 && level.lineDefs[1].flags == 1 && level.lineDefs[2].flags == 4; },
         "set LineDef flags"},
        {"duplicate LineDef", [] { return DeleteDuplicateLineDef(level, 3); },
         [] { return level.lineDefs.count == 3 && ReferencesSound(); }, "delete duplicate LineDef"},
        {"unused SideDef",
         [] {
             SelectionList unused = ListOf({4});
             DeleteUnusedObjects(level, kObjSideDef, unused);
             return unused.empty();
         },
         [] { return level.sideDefs.count == 4 && ReferencesSound(); }, "delete unused objects"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        EXPECT_TRUE(c.fix());
        EXPECT_TRUE(c.done());
        EXPECT_TRUE(level.levelChanged);
        EXPECT_EQ(Step(), c.step);
    }
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

}   // namespace
