// Checks that hold for the tables of both flavours: the tables and the
// lookups agree with one another.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "gamedefs/linetypes.h"
#include "gamedefs/thingtypes.h"
#include "base/flavour.h"
#include "support/program_state.h"
#include "support/testkit.h"

namespace {

class BothFlavours : public ::testing::TestWithParam<Flavour> {
protected:
    void SetUp() override { testkit::ResetProgramState(GetParam()); }
    void TearDown() override { testkit::ResetProgramState(); }
    const GameDefinitions& defs() const { return CurrentDefinitions(); }
};

INSTANTIATE_TEST_SUITE_P(Gamedefs, BothFlavours, ::testing::Values(Flavour::Heretic, Flavour::Doom),
                         [](const auto& info) { return info.param == Flavour::Heretic ? "Heretic" : "Doom"; });

template <class Row>
void ExpectNoDuplicateTypes(const DefTable<Row>& table) {
    std::set<uint16_t> seen;
    for (const Row& row : table) EXPECT_TRUE(seen.insert(row.type).second) << row.type;
}

TEST_P(BothFlavours, NoTypeHasTwoRows) {
    ExpectNoDuplicateTypes(defs().things);
    ExpectNoDuplicateTypes(defs().lineDefTypes);
    ExpectNoDuplicateTypes(defs().sectorTypes);
}

TEST_P(BothFlavours, ThingRowsCanBeDrawn) {
    for (const ThingTypeInfo& row : defs().things) {
        ASSERT_NE(row.sprite, nullptr);
        EXPECT_GE(std::strlen(row.sprite), 5u) << row.type;
        EXPECT_LE(std::strlen(row.sprite), 8u) << row.type;
        bool header = IsHeaderType(row.type);
        EXPECT_EQ(row.colour >= 1 && row.colour <= 15, !header) << row.type;
        EXPECT_EQ(row.radius > 0, !header) << row.type;
    }
}

TEST_P(BothFlavours, NamesFitTheirColumns) {
    for (const SpecialTypeInfo& row : defs().lineDefTypes)
        EXPECT_LE(GetLineDefTypeShortName(row.type).size(), 16u) << row.type;
    for (const SpecialTypeInfo& row : defs().sectorTypes)
        EXPECT_LE(GetSectorTypeShortName(row.type).size(), 16u) << row.type;
    // DOOM's statistics tables show these categories' descriptions in 16 columns.
    if (GetParam() == Flavour::Doom) {
        for (const ThingTypeInfo& row : defs().things) {
            uint16_t category = GetThingTypeCategory(row.type);
            bool shown = category == kThingCatEnemies || category == kThingCatEquipment ||
                         category == kThingCatWeapons || category == kThingCatAmmunition;
            if (shown && !IsHeaderType(row.type)) {
                EXPECT_LE(std::string(row.description).size(), 16u) << row.description;
            }
        }
    }
}

TEST_P(BothFlavours, CheckerTypesAreKnownTypes) {
    for (const TypeList* list : {&defs().noTagTypes, &defs().exitTypes, &defs().teleportTypes})
        for (int i = 0; i < list->count; i++) EXPECT_NE(IsLineDefTypeValid(list->types[i]), 0);
    EXPECT_TRUE(IsThingTypeKnown(defs().bossType));
    EXPECT_TRUE(IsThingTypeKnown(defs().bossSpotType));
}

TEST_P(BothFlavours, EpisodeGamesHideNoLineOrSectorType) {
    // The engine runs every LineDef and Sector type in both games, so no row
    // may carry the later game's mark; HERETIC marks no Thing either.
    for (const SpecialTypeInfo& row : defs().lineDefTypes)
        EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
    for (const SpecialTypeInfo& row : defs().sectorTypes)
        EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
    if (GetParam() == Flavour::Heretic) {
        for (const ThingTypeInfo& row : defs().things)
            EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
    }
}

bool HasSpriteLump(const std::set<std::string>& lumps, const std::string& sprite) {
    if (lumps.count(sprite)) return true;
    std::string frame = sprite.substr(0, 5);
    auto it = lumps.lower_bound(frame);
    return it != lumps.end() && it->compare(0, 5, frame) == 0;
}

TEST(DoomSprites, EverySpriteIsInTheIwads) {
    std::string doom2 = testkit::FreedoomIwad(2), doom1 = testkit::FreedoomIwad(1);
    if (doom2.empty() || doom1.empty()) GTEST_SKIP() << "Freedoom IWADs not installed";
    std::vector<std::string> names2 = testkit::ReadWad(doom2).names(), names1 = testkit::ReadWad(doom1).names();
    std::set<std::string> lumps2(names2.begin(), names2.end()), lumps1(names1.begin(), names1.end());
    ASSERT_GT(lumps2.size(), 1000u);
    for (const ThingTypeInfo& row : kDoomDefinitions.things) {
        EXPECT_TRUE(HasSpriteLump(lumps2, row.sprite)) << row.type << " " << row.sprite;
        // What DOOM has too must be drawable from a DOOM IWAD.
        if (!IsLaterGameDescription(row.description)) {
            EXPECT_TRUE(HasSpriteLump(lumps1, row.sprite)) << row.type << " " << row.sprite;
        }
    }
}

}  // namespace
