// The game definitions of both flavours: the tables hold together, and the
// lookups give each known type its row and every other value the defaults.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/flavour.h"
#include "gamedefs/linetypes.h"
#include "gamedefs/thingtypes.h"
#include "support/program_state.h"
#include "support/testkit.h"

namespace {

class Lookups : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(); }
    void TearDown() override { testkit::ResetProgramState(); }
};

constexpr Flavour kFlavours[] = {Flavour::Heretic, Flavour::Doom};

// Every row of both flavours: one row per type, Things that can be drawn,
// names that fit their columns, the later game's mark on DOOM II's Things
// alone, and checker lists that name known types.
TEST_F(Lookups, EveryTableRowIsUsable) {
    for (Flavour flavour : kFlavours) {
        SetFlavour(flavour);
        const GameDefinitions& defs = CurrentDefinitions();
        const bool doom = flavour == Flavour::Doom;
        std::set<uint16_t> things, lines, sectors;
        for (const ThingTypeInfo& row : defs.things) {
            SCOPED_TRACE(std::to_string(row.type) + " " + row.description);
            const bool header = IsHeaderType(row.type);
            EXPECT_TRUE(things.insert(row.type).second);
            ASSERT_TRUE(row.sprite && std::strlen(row.sprite) >= 5 && std::strlen(row.sprite) <= 8);
            EXPECT_EQ(row.colour >= 1 && row.colour <= 15, !header);
            EXPECT_EQ(row.radius > 0, !header);
            const bool later = doom && row.type >= 64 && row.type <= 89;
            EXPECT_TRUE(header || IsLaterGameDescription(row.description) == later);
            // DOOM's statistics tables show these categories in 16 columns.
            uint16_t category = GetThingTypeCategory(row.type);
            bool shown = doom && !header && (category == kThingCatEnemies || category == kThingCatEquipment ||
                                             category == kThingCatWeapons || category == kThingCatAmmunition);
            EXPECT_TRUE(!shown || std::strlen(row.description) <= 16);
        }
        // The engine runs every LineDef and Sector type in both games.
        for (const SpecialTypeInfo& row : defs.lineDefTypes) {
            EXPECT_TRUE(lines.insert(row.type).second) << row.type;
            EXPECT_LE(GetLineDefTypeShortName(row.type).size(), 16u) << row.type;
            EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
        }
        for (const SpecialTypeInfo& row : defs.sectorTypes) {
            EXPECT_TRUE(sectors.insert(row.type).second) << row.type;
            EXPECT_LE(GetSectorTypeShortName(row.type).size(), 16u) << row.type;
            EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
        }
        for (const TypeList* list : {&defs.noTagTypes, &defs.exitTypes, &defs.teleportTypes})
            for (int i = 0; i < list->count; i++)
                EXPECT_NE(IsLineDefTypeValid(list->types[i]), 0) << list->types[i];
        EXPECT_TRUE(IsThingTypeKnown(defs.bossType) && IsThingTypeKnown(defs.bossSpotType));
    }
}

bool HasSpriteLump(const std::set<std::string>& lumps, const std::string& sprite) {
    auto it = lumps.lower_bound(sprite.substr(0, 5));
    return lumps.count(sprite) || (it != lumps.end() && it->compare(0, 5, sprite.substr(0, 5)) == 0);
}

// What DOOM has too must be drawable from a DOOM IWAD.
TEST(DoomSprites, EverySpriteIsInTheIwads) {
    std::string doom2 = testkit::FreedoomIwad(2), doom1 = testkit::FreedoomIwad(1);
    if (doom2.empty() || doom1.empty())
        GTEST_SKIP() << "Freedoom IWADs not installed";
    std::vector<std::string> names2 = testkit::ReadWad(doom2).names(), names1 = testkit::ReadWad(doom1).names();
    std::set<std::string> lumps2(names2.begin(), names2.end()), lumps1(names1.begin(), names1.end());
    ASSERT_GT(lumps2.size(), 1000u);
    for (const ThingTypeInfo& row : kDoomDefinitions.things) {
        EXPECT_TRUE(HasSpriteLump(lumps2, row.sprite)) << row.type << " " << row.sprite;
        EXPECT_TRUE(IsLaterGameDescription(row.description) || HasSpriteLump(lumps1, row.sprite))
            << row.type << " " << row.sprite;
    }
}

TEST_F(Lookups, UnknownTypesGiveTheDefaultsInBothFlavours) {
    for (Flavour flavour : kFlavours) {
        SetFlavour(flavour);
        for (uint16_t type : {0x7FFF, 0x8123, 0xFFFF}) {
            SCOPED_TRACE(type);
            EXPECT_FALSE(IsThingTypeKnown(type));
            for (const char* name : {GetThingTypeDescription(type), GetThingTypeSprite(type),
                                     GetLineDefTypeDescription(type), GetSectorTypeDescription(type)})
                EXPECT_STREQ(name, "<?unknown>?");
            EXPECT_EQ(GetLineDefTypeShortName(type) + GetSectorTypeShortName(type), "<?unknown>?<?unknown>?");
            EXPECT_EQ((std::vector<int>{GetThingTypeColour(type), GetThingTypeRadius(type), GetThingTypeCategory(type),
                                        IsLineDefTypeValid(type), IsSectorTypeValid(type)}),
                      (std::vector<int>{15, 16, 0, 0, 0}));
        }
    }
    // HERETIC's types are not DOOM's.
    EXPECT_FALSE(IsThingTypeKnown(1200));
    EXPECT_FALSE(IsThingTypeKnown(kThingCatAmbientSounds));
}

TEST_F(Lookups, HereticRowsShortNamesAndCategories) {
    EXPECT_STREQ(GetThingTypeDescription(81), "Vial          (+10)");
    EXPECT_STREQ(GetThingTypeSprite(1200), "FX15A2A8");
    // Short names: the description cut to 16, or the row's own.
    EXPECT_EQ(GetLineDefTypeShortName(26), "DR OpenBlue   C6");
    EXPECT_EQ(GetLineDefTypeShortName(11), "S- End Level");
    EXPECT_EQ(GetSectorTypeShortName(40), "W East Wk");
    EXPECT_EQ(GetSectorTypeShortName(0x8001), "Lights/Damage");
    // A Thing's category is the last header above its row; a header is its own.
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
    const struct {
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
    for (const auto& c : cases) {
        SetFlavour(c.flavour);
        EXPECT_EQ((std::vector<bool>{LineDefNeedsTag(c.type), IsExitType(c.type), IsTeleportType(c.type)}),
                  (std::vector<bool>{c.needsTag, c.exit, c.teleport})) << c.type;
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

}  // namespace
