#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedefs/thingtypes.h"
#include "shell/flavour.h"

namespace {

std::vector<int> TypesOf(const std::vector<const ThingTypeInfo*>& rows) {
    std::vector<int> types;
    for (const ThingTypeInfo* row : rows) types.push_back(row->type);
    return types;
}

class HereticThings : public ::testing::Test {
protected:
    void SetUp() override { SetFlavour(Flavour::Heretic); }
};

class DoomThings : public ::testing::Test {
protected:
    void SetUp() override { SetFlavour(Flavour::Doom); }
    void TearDown() override { SetFlavour(Flavour::Heretic); }
};

TEST_F(HereticThings, KnownTypesGiveTheirRow) {
    EXPECT_STREQ(GetThingTypeDescription(1), "Player 1 Start");
    EXPECT_STREQ(GetThingTypeSprite(1), "PLAYA1");
    EXPECT_EQ(GetThingTypeColour(11), 10);
    EXPECT_EQ(GetThingTypeRadius(90), 30);
    EXPECT_STREQ(GetThingTypeSprite(1200), "FX15A2A8");
    EXPECT_EQ(GetThingTypeColour(43), 4);   // a Geology row with its own colour
}

TEST_F(HereticThings, DescriptionsKeepTheirSpacing) {
    EXPECT_STREQ(GetThingTypeDescription(81), "Vial          (+10)");
    EXPECT_STREQ(GetThingTypeDescription(30), "Morph Ovum ");
    EXPECT_STREQ(GetThingTypeDescription(17), "Hanging1 Head ");
    EXPECT_STREQ(GetThingTypeDescription(20), "Lesser Runes  (Hellstaff)*");
    EXPECT_STREQ(GetThingTypeDescription(94), "Blue   Orb+Statue");
    EXPECT_STREQ(GetThingTypeDescription(4), "Player 4 start");
}

TEST_F(HereticThings, UnknownTypesGiveTheDefaults) {
    for (uint16_t type : {0, 3000, 0xFFFF}) {
        EXPECT_FALSE(IsThingTypeKnown(type)) << type;
        EXPECT_STREQ(GetThingTypeDescription(type), "<?unknown>?");
        EXPECT_STREQ(GetThingTypeSprite(type), "<?unknown>?");
        EXPECT_EQ(GetThingTypeColour(type), 15);
        EXPECT_EQ(GetThingTypeRadius(type), 16);
        EXPECT_EQ(GetThingTypeCategory(type), 0);
    }
}

TEST_F(HereticThings, HeaderRowsTakePartInLookups) {
    EXPECT_TRUE(IsThingTypeKnown(kThingCatExit));
    EXPECT_STREQ(GetThingTypeDescription(kThingCatEnemies), "Enemies");
    EXPECT_STREQ(GetThingTypeSprite(kThingCatAmbientSounds), "FX15A1");
    EXPECT_EQ(GetThingTypeColour(kThingCatKeys), 0);
    EXPECT_EQ(GetThingTypeCategory(kThingCatWeapons), kThingCatWeapons);
    // A header code stored in a signed Thing field still finds its row.
    EXPECT_EQ(GetThingTypeCategory(static_cast<int16_t>(-32765)), kThingCatEnemies);
}

TEST_F(HereticThings, CategoryIsTheLastHeaderAbove) {
    EXPECT_EQ(GetThingTypeCategory(2035), kThingCatGeology);
    EXPECT_EQ(GetThingTypeCategory(43), kThingCatGeology);
    EXPECT_EQ(GetThingTypeCategory(1), kThingCatStarts);
    EXPECT_EQ(GetThingTypeCategory(52), kThingCatStarts);    // last row of Starts
    EXPECT_EQ(GetThingTypeCategory(73), kThingCatKeys);      // first row of Keys
    EXPECT_EQ(GetThingTypeCategory(42), kThingCatAmbientSounds);
}

TEST_F(HereticThings, FlagsTextJoinsTheSetFlags) {
    EXPECT_EQ(ThingFlagsText(7), "12 3 45 ");
    EXPECT_EQ(ThingFlagsText(24), "Deaf Net ");
    EXPECT_EQ(ThingFlagsText(0), "");
    EXPECT_EQ(ThingFlagsText(0x1F), "12 3 45 Deaf Net ");
    EXPECT_EQ(ThingFlagsText(0xFFE0), "");   // bits without a name
}

TEST_F(HereticThings, AngleNames) {
    EXPECT_STREQ(AngleText(0), "E");
    EXPECT_STREQ(AngleText(90), "N");
    EXPECT_STREQ(AngleText(135), "NW");
    EXPECT_STREQ(AngleText(315), "SE");
    for (int odd : {10, 360, 405, -45, -90, 32767})
        EXPECT_STREQ(AngleText(odd), "<?\?>") << odd;
}

TEST(ThingFlags, FlagBitsCountFromOne) {
    EXPECT_TRUE(HasFlagBit(0x0001, 1));
    EXPECT_FALSE(HasFlagBit(0x0001, 2));
    EXPECT_TRUE(HasFlagBit(0x8000, 16));
    EXPECT_FALSE(HasFlagBit(0xFFFF, 0));
    EXPECT_FALSE(HasFlagBit(0xFFFF, 17));
    EXPECT_FALSE(HasFlagBit(0xFFFF, -1));
}

TEST_F(HereticThings, CategoryListsKeepTableOrder) {
    EXPECT_EQ(TypesOf(ThingCategoryRows(kThingCatStarts, true)),
              (std::vector<int>{1, 2, 3, 4, 11, 14, 74, 52}));
    std::vector<int> enemies = TypesOf(ThingCategoryRows(kThingCatEnemies, true));
    ASSERT_EQ(enemies.size(), 16u);
    EXPECT_EQ(enemies.front(), 66);
    EXPECT_EQ(enemies.back(), 56);
    EXPECT_TRUE(ThingCategoryRows(kThingCatExit, true).empty());
    EXPECT_TRUE(ThingCategoryRows(0x8123, false).empty());
}

TEST_F(HereticThings, ChooserPreselectsTheTypesCategory) {
    EXPECT_EQ(ThingChooserItem(1), 3);
    EXPECT_EQ(ThingChooserItem(11), 3);
    EXPECT_EQ(ThingChooserItem(79), 4);
    EXPECT_EQ(ThingChooserItem(42), 13);
    EXPECT_EQ(ThingChooserItem(3000), 13);
    const TypeMenu& menu = CurrentDefinitions().thingMenu;
    EXPECT_STREQ(menu.title, "Category");
    ASSERT_EQ(menu.items.count, 13);
    EXPECT_STREQ(menu.items.rows[2].label, "Player Start/Teleport");
    EXPECT_STREQ(menu.items.rows[11].listTitle, "Geology/Pods");
    EXPECT_STREQ(menu.items.rows[12].label, "Ambient Sounds");
    EXPECT_STREQ(menu.items.rows[12].listTitle, "Sounds");
}

TEST_F(HereticThings, BossNeedsItsSpot) {
    const GameDefinitions& defs = CurrentDefinitions();
    EXPECT_EQ(defs.bossType, 7);
    EXPECT_EQ(defs.bossSpotType, 56);
    EXPECT_STREQ(defs.bossMessage, "Thing %hd, Dsparil %hd, No DsparilSpot %hd found");
}

TEST_F(DoomThings, LookupsUseTheDoomTable) {
    EXPECT_STREQ(GetThingTypeDescription(3001), "Imp");
    EXPECT_EQ(GetThingTypeCategory(3001), kThingCatEnemies);
    EXPECT_EQ(GetThingTypeRadius(7), 128);
    EXPECT_EQ(GetThingTypeRadius(2035), 10);
    EXPECT_EQ(GetThingTypeColour(2035), 6);
    EXPECT_STREQ(GetThingTypeSprite(68), "BSPIA1D1");
    EXPECT_EQ(GetThingTypeCategory(73), kThingCatGeology);   // hanging corpses
    // HERETIC's types are not DOOM's.
    EXPECT_FALSE(IsThingTypeKnown(1200));
    EXPECT_FALSE(IsThingTypeKnown(kThingCatAmbientSounds));
    EXPECT_STREQ(GetThingTypeDescription(kThingCatGeology), "Hanging Corpses");
}

TEST_F(DoomThings, EveryStandardTypeIsKnown) {
    for (int type = 1; type <= 89; type++) EXPECT_TRUE(IsThingTypeKnown(type)) << type;
    for (int type : {2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2010, 2011, 2012, 2013,
                     2014, 2015, 2018, 2019, 2022, 2023, 2024, 2025, 2026, 2028, 2035, 2045,
                     2046, 2047, 2048, 2049, 3001, 3002, 3003, 3004, 3005, 3006})
        EXPECT_TRUE(IsThingTypeKnown(type)) << type;
    EXPECT_FALSE(IsThingTypeKnown(0));
    EXPECT_FALSE(IsThingTypeKnown(90));
}

TEST_F(DoomThings, OnlyDoomTwoTypesAreMarked) {
    // DOOM II added the types 64 to 89; lists for episode-style games leave
    // exactly those out.
    for (const ThingTypeInfo& row : CurrentDefinitions().things) {
        if (IsHeaderType(row.type)) continue;
        EXPECT_EQ(IsLaterGameDescription(row.description), row.type >= 64 && row.type <= 89)
            << row.type << " " << row.description;
    }
    std::vector<int> episode = TypesOf(ThingCategoryRows(kThingCatEnemies, true));
    std::vector<int> all = TypesOf(ThingCategoryRows(kThingCatEnemies, false));
    EXPECT_EQ(episode, (std::vector<int>{3004, 9, 3001, 3002, 58, 3006, 3005, 3003, 7, 16}));
    EXPECT_EQ(all.size(), 22u);
    EXPECT_EQ(all[2], 65);
}

TEST_F(DoomThings, StatisticsNamesFitTheirColumn) {
    // The statistics tables show these categories' descriptions in 16 columns.
    for (uint16_t code : {kThingCatEnemies, kThingCatEquipment, kThingCatWeapons,
                          kThingCatAmmunition})
        for (const ThingTypeInfo* row : ThingCategoryRows(code, false))
            EXPECT_LE(std::string(row->description).size(), 16u) << row->description;
}

TEST_F(DoomThings, ChooserMenuEndsWithHangingCorpses) {
    const TypeMenu& menu = CurrentDefinitions().thingMenu;
    ASSERT_EQ(menu.items.count, 12);
    EXPECT_STREQ(menu.items.rows[11].label, "Hanging Corpses");
    EXPECT_STREQ(menu.items.rows[11].listTitle, "Hanging Corpes");
    EXPECT_EQ(menu.items.rows[11].code, kThingCatGeology);
    EXPECT_EQ(ThingChooserItem(50), 12);
    EXPECT_EQ(ThingChooserItem(9999), 12);
}

TEST_F(DoomThings, BossIsTheSpawnShooter) {
    const GameDefinitions& defs = CurrentDefinitions();
    EXPECT_EQ(defs.bossType, 89);
    EXPECT_EQ(defs.bossSpotType, 87);
    EXPECT_STREQ(defs.bossMessage, "Thing %hd, ShootType %hd, No TargetType %hd found");
    EXPECT_TRUE(IsThingTypeKnown(defs.bossType));
    EXPECT_TRUE(IsThingTypeKnown(defs.bossSpotType));
}

}  // namespace
