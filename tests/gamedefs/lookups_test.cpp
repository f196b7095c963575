#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedefs/linetypes.h"
#include "gamedefs/thingtypes.h"
#include "base/flavour.h"
#include "support/program_state.h"

namespace {

class Lookups : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(); }
    void TearDown() override { testkit::ResetProgramState(); }
};

TEST_F(Lookups, UnknownTypesGiveTheDefaultsInBothFlavours) {
    for (Flavour flavour : {Flavour::Heretic, Flavour::Doom}) {
        SetFlavour(flavour);
        for (uint16_t type : {0x7FFF, 0x8123, 0xFFFF}) {
            EXPECT_FALSE(IsThingTypeKnown(type)) << type;
            EXPECT_STREQ(GetThingTypeDescription(type), "<?unknown>?");
            EXPECT_STREQ(GetThingTypeSprite(type), "<?unknown>?");
            EXPECT_EQ(GetThingTypeColour(type), 15);
            EXPECT_EQ(GetThingTypeRadius(type), 16);
            EXPECT_EQ(GetThingTypeCategory(type), 0);
            EXPECT_STREQ(GetLineDefTypeDescription(type), "<?unknown>?");
            EXPECT_EQ(GetLineDefTypeShortName(type), "<?unknown>?");
            EXPECT_EQ(IsLineDefTypeValid(type), 0);
            EXPECT_STREQ(GetSectorTypeDescription(type), "<?unknown>?");
            EXPECT_EQ(GetSectorTypeShortName(type), "<?unknown>?");
            EXPECT_EQ(IsSectorTypeValid(type), 0);
        }
    }
    // HERETIC's types are not DOOM's.
    EXPECT_FALSE(IsThingTypeKnown(1200));
    EXPECT_FALSE(IsThingTypeKnown(kThingCatAmbientSounds));
}

TEST_F(Lookups, HereticRowsAndShortNames) {
    SetFlavour(Flavour::Heretic);
    EXPECT_STREQ(GetThingTypeDescription(81), "Vial          (+10)");
    EXPECT_STREQ(GetThingTypeSprite(1200), "FX15A2A8");
    // Short names: the description cut to 16, or the row's own.
    EXPECT_EQ(GetLineDefTypeShortName(26), "DR OpenBlue   C6");
    EXPECT_EQ(GetLineDefTypeShortName(11), "S- End Level");
    EXPECT_EQ(GetSectorTypeShortName(40), "W East Wk");
    EXPECT_EQ(GetSectorTypeShortName(0x8001), "Lights/Damage");
}

TEST_F(Lookups, CategoryIsTheLastHeaderAboveAndHeadersFindThemselves) {
    SetFlavour(Flavour::Heretic);
    EXPECT_EQ(GetThingTypeCategory(43), kThingCatGeology);
    EXPECT_EQ(GetThingTypeCategory(52), kThingCatStarts);    // last row of Starts
    EXPECT_EQ(GetThingTypeCategory(73), kThingCatKeys);      // first row of Keys
    EXPECT_EQ(GetThingTypeCategory(kThingCatWeapons), kThingCatWeapons);
    EXPECT_STREQ(GetThingTypeDescription(kThingCatEnemies), "Enemies");
    // A header code stored in a signed Thing field still finds its row.
    EXPECT_EQ(GetThingTypeCategory(static_cast<int16_t>(-32765)), kThingCatEnemies);
    EXPECT_EQ(IsLineDefTypeValid(0x8000), 1);   // the nameless first header
    SetFlavour(Flavour::Doom);
    EXPECT_EQ(GetThingTypeCategory(3001), kThingCatEnemies);
    EXPECT_EQ(GetThingTypeCategory(73), kThingCatGeology);   // hanging corpses
}

TEST_F(Lookups, FlagTextsAndAngleNames) {
    for (auto c : {std::make_pair(0x0001, "--------Im"), {0x0000, "---------"}, {0x000F, "-----Up2SMoIm"},
                   {0x001F, "----LoUp2SMoI|"}, {0x01FF, "MaInSoSeLoUp2|"}, {0xFE00, "---------"},
                   {0x0104, "Ma-----2S--"}})
        EXPECT_EQ(LineDefFlagsText(static_cast<uint16_t>(c.first)), c.second) << c.first;
    EXPECT_STREQ(GetLineDefFlagName(1), "Impassible");
    EXPECT_STREQ(GetLineDefFlagName(9), "Automapped");
    for (int bad : {0, 10, -3})
        EXPECT_STREQ(GetLineDefFlagName(bad), "<?unknown>?") << bad;
    EXPECT_EQ(ThingFlagsText(0x1F), "12 3 45 Deaf Net ");
    EXPECT_EQ(ThingFlagsText(0xFFE0), "");   // bits without a name
    EXPECT_TRUE(HasFlagBit(0x8000, 16));
    for (int bad : {0, 17, -1})
        EXPECT_FALSE(HasFlagBit(0xFFFF, bad)) << bad;
    EXPECT_STREQ(AngleText(0), "E");
    EXPECT_STREQ(AngleText(315), "SE");
    for (int odd : {10, 360, 405, -45, -90, 32767})
        EXPECT_STREQ(AngleText(odd), "<?\?>") << odd;
}

TEST_F(Lookups, CheckerListsFollowTheFlavour) {
    struct Case {
        Flavour flavour;
        uint16_t type;
        bool needsTag, exit, teleport;
    } cases[] = {
        {Flavour::Heretic, 0, false, false, false},  {Flavour::Heretic, 1, false, false, false},
        {Flavour::Heretic, 2, true, false, false},   {Flavour::Heretic, 99, false, false, false},
        {Flavour::Heretic, 105, false, true, false}, {Flavour::Heretic, 39, true, false, true},
        {Flavour::Heretic, 0xFFFF, true, false, false},
        {Flavour::Doom, 99, true, false, false},     {Flavour::Doom, 105, true, false, false},
        {Flavour::Doom, 124, false, true, false},    {Flavour::Doom, 126, true, false, true},
    };
    for (const Case& c : cases) {
        SetFlavour(c.flavour);
        EXPECT_EQ(LineDefNeedsTag(c.type), c.needsTag) << c.type;
        EXPECT_EQ(IsExitType(c.type), c.exit) << c.type;
        EXPECT_EQ(IsTeleportType(c.type), c.teleport) << c.type;
    }
}

TEST_F(Lookups, DoomKnowsEveryStandardType) {
    SetFlavour(Flavour::Doom);
    for (int type = 0; type <= 141; type++)
        EXPECT_EQ(IsLineDefTypeValid(type) != 0, type != 78 && type != 85) << type;
    for (int type = 0; type <= 17; type++)
        EXPECT_EQ(IsSectorTypeValid(type) != 0, type != 6 && type != 15) << type;
    for (int type = 0; type <= 90; type++)
        EXPECT_EQ(IsThingTypeKnown(type), type >= 1 && type <= 89) << type;
    for (int type : {2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2010, 2011, 2012, 2013, 2014, 2015, 2018,
                     2019, 2022, 2023, 2024, 2025, 2026, 2028, 2035, 2045, 2046, 2047, 2048, 2049, 3001, 3002,
                     3003, 3004, 3005, 3006})
        EXPECT_TRUE(IsThingTypeKnown(type)) << type;
}

TEST_F(Lookups, OnlyDoomTwoTypesAreMarkedAsTheLaterGames) {
    SetFlavour(Flavour::Doom);
    for (const ThingTypeInfo& row : CurrentDefinitions().things) {
        if (IsHeaderType(row.type)) continue;
        EXPECT_EQ(IsLaterGameDescription(row.description), row.type >= 64 && row.type <= 89)
            << row.type << " " << row.description;
    }
}

}  // namespace
