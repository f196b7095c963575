#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedefs/linetypes.h"
#include "shell/flavour.h"

namespace {

std::vector<int> TypesOf(const std::vector<const SpecialTypeInfo*>& rows) {
    std::vector<int> types;
    for (const SpecialTypeInfo* row : rows) types.push_back(row->type);
    return types;
}

class HereticLines : public ::testing::Test {
protected:
    void SetUp() override { SetFlavour(Flavour::Heretic); }
};

class DoomLines : public ::testing::Test {
protected:
    void SetUp() override { SetFlavour(Flavour::Doom); }
    void TearDown() override { SetFlavour(Flavour::Heretic); }
};

TEST_F(HereticLines, ShortNames) {
    EXPECT_EQ(GetLineDefTypeShortName(26), "DR OpenBlue   C6");   // cut description
    EXPECT_EQ(GetLineDefTypeShortName(9), "S1 Lwr+Donut NeT");    // own short name
    EXPECT_EQ(GetLineDefTypeShortName(11), "S- End Level");       // shorter than 16
    EXPECT_EQ(GetLineDefTypeShortName(200), "<?unknown>?");
    EXPECT_EQ(GetSectorTypeShortName(40), "W East Wk");
    EXPECT_EQ(GetSectorTypeShortName(0x8001), "Lights/Damage");   // header: no own name
    EXPECT_EQ(GetSectorTypeShortName(99), "<?unknown>?");
}

TEST_F(HereticLines, DescriptionsAndValidity) {
    EXPECT_STREQ(GetLineDefTypeDescription(200), "<?unknown>?");
    EXPECT_EQ(IsLineDefTypeValid(200), 0);
    EXPECT_STREQ(GetLineDefTypeDescription(0), "-- Normal");
    EXPECT_EQ(IsLineDefTypeValid(0x8000), 1);   // the nameless first header
    EXPECT_EQ(IsLineDefTypeValid(0), 2);
    EXPECT_EQ(IsLineDefTypeValid(26), 4);
    EXPECT_STREQ(GetLineDefTypeDescription(58), "W1 RaiseFlr 24  ");
    EXPECT_STREQ(GetSectorTypeDescription(9), "Secret (credit if discovered)");
    EXPECT_STREQ(GetSectorTypeDescription(4), "Lava  Flow Damage");
    EXPECT_EQ(IsSectorTypeValid(0), 2);
    EXPECT_EQ(IsSectorTypeValid(17), 0);
    EXPECT_STREQ(GetSectorTypeDescription(17), "<?unknown>?");
}

TEST(LineDefFlags, TextShowsEveryFlagAndIsCutAtFourteen) {
    EXPECT_EQ(LineDefFlagsText(0x0001), "--------Im");
    EXPECT_EQ(LineDefFlagsText(0x0000), "---------");
    EXPECT_EQ(LineDefFlagsText(0x000F), "-----Up2SMoIm");   // 13 characters: kept
    EXPECT_EQ(LineDefFlagsText(0x001F), "----LoUp2SMoI|");  // 14: cut
    EXPECT_EQ(LineDefFlagsText(0x01FF), "MaInSoSeLoUp2|");
    EXPECT_EQ(LineDefFlagsText(0xFE00), "---------");       // bits without a flag
    EXPECT_EQ(LineDefFlagsText(0x0104), "Ma-----2S--");
}

TEST(LineDefFlags, NamesByBitNumber) {
    EXPECT_STREQ(GetLineDefFlagName(1), "Impassible");
    EXPECT_STREQ(GetLineDefFlagName(3), "Two-sided");
    EXPECT_STREQ(GetLineDefFlagName(9), "Automapped");
    EXPECT_STREQ(GetLineDefFlagName(10), "<?unknown>?");
    EXPECT_STREQ(GetLineDefFlagName(0), "<?unknown>?");
    EXPECT_STREQ(GetLineDefFlagName(-3), "<?unknown>?");
}

TEST_F(HereticLines, CheckerLists) {
    EXPECT_FALSE(LineDefNeedsTag(0));
    EXPECT_FALSE(LineDefNeedsTag(1));
    EXPECT_TRUE(LineDefNeedsTag(2));
    EXPECT_FALSE(LineDefNeedsTag(99));    // scrolling wall
    EXPECT_FALSE(LineDefNeedsTag(105));
    EXPECT_TRUE(LineDefNeedsTag(97));
    EXPECT_TRUE(LineDefNeedsTag(0xFFFF));
    EXPECT_TRUE(IsExitType(105));
    EXPECT_FALSE(IsExitType(124));
    EXPECT_TRUE(IsTeleportType(39));
    EXPECT_FALSE(IsTeleportType(125));
}

TEST_F(DoomLines, CheckerLists) {
    EXPECT_TRUE(LineDefNeedsTag(99));     // blazing blue door, tagged
    EXPECT_TRUE(LineDefNeedsTag(105));
    EXPECT_FALSE(LineDefNeedsTag(117));
    EXPECT_FALSE(LineDefNeedsTag(124));
    EXPECT_TRUE(IsExitType(124));
    EXPECT_FALSE(IsExitType(105));
    EXPECT_TRUE(IsTeleportType(126));
    // Every exit and teleport type is a type the table knows.
    const GameDefinitions& defs = CurrentDefinitions();
    for (const TypeList* list : {&defs.noTagTypes, &defs.exitTypes, &defs.teleportTypes})
        for (int i = 0; i < list->count; i++) EXPECT_NE(IsLineDefTypeValid(list->types[i]), 0);
}

TEST_F(DoomLines, EveryStandardTypeIsValid) {
    for (int type = 0; type <= 141; type++)
        EXPECT_EQ(IsLineDefTypeValid(type) != 0, type != 78 && type != 85) << type;
    EXPECT_EQ(IsLineDefTypeValid(142), 0);
    for (int type = 0; type <= 17; type++)
        EXPECT_EQ(IsSectorTypeValid(type) != 0, type != 6 && type != 15) << type;
    EXPECT_EQ(IsSectorTypeValid(21), 0);   // HERETIC's scrolling floors
}

TEST_F(DoomLines, DoomDescriptions) {
    EXPECT_STREQ(GetLineDefTypeDescription(48), "-- Animated wall (scroll left)");
    EXPECT_STREQ(GetLineDefTypeDescription(35), "W1 Lights OFF   level goes to 35");
    EXPECT_EQ(GetLineDefTypeShortName(117), "DR OpenDoor F4  ");
    EXPECT_STREQ(GetSectorTypeDescription(9), "Secret (credit if discovered)");
    EXPECT_EQ(GetSectorTypeShortName(16), "Damage 20%");
}

TEST_F(HereticLines, CategoryListsAndPreselection) {
    EXPECT_EQ(TypesOf(LineDefCategoryRows(kLineCatStairs, true)),
              (std::vector<int>{7, 107, 8, 106}));
    EXPECT_EQ(LineDefCategoryRows(kLineCatDoorOpen, true).size(), 12u);
    EXPECT_EQ(LineDefChooserItem(0), 2);
    EXPECT_EQ(LineDefChooserItem(26), 3);
    EXPECT_EQ(LineDefChooserItem(7), 11);     // Stairs stand after FloorLower
    EXPECT_EQ(LineDefChooserItem(97), 14);
    EXPECT_EQ(SectorChooserItem(0), 2);
    EXPECT_EQ(SectorChooserItem(9), 3);
    EXPECT_EQ(SectorChooserItem(51), 5);
    EXPECT_EQ(TypesOf(SectorCategoryRows(0x8003, true)).front(), 40);
}

TEST_F(DoomLines, CategoryListsAndMenus) {
    EXPECT_EQ(TypesOf(LineDefCategoryRows(kLineCatStairs, true)),
              (std::vector<int>{7, 8, 100, 127}));
    EXPECT_EQ(TypesOf(SectorCategoryRows(0x8003, true)), (std::vector<int>{9, 10, 14}));
    const TypeMenu& sectors = CurrentDefinitions().sectorMenu;
    EXPECT_STREQ(sectors.title, "Sector Type");
    ASSERT_EQ(sectors.items.count, 6);
    EXPECT_STREQ(sectors.items.rows[3].label, "Health/Damage");
    EXPECT_STREQ(sectors.items.rows[3].listTitle, "Health/Damage");
    EXPECT_EQ(sectors.items.rows[5].action, MenuAction::NumberEntry);
    const TypeMenu& lines = CurrentDefinitions().lineDefMenu;
    EXPECT_STREQ(lines.title, "LineDef Type");
    ASSERT_EQ(lines.items.count, 15);
    EXPECT_STREQ(lines.items.rows[13].listTitle, "Teleport/End/Special");
}

}  // namespace
