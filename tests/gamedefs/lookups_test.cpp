// The game definitions of both flavours and the ports' targets: the lookups
// give each known type its row and name, every other value the defaults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/flavour.h"
#include "gamedefs/generalized.h"
#include "gamedefs/linetypes.h"
#include "gamedefs/port_types.h"
#include "gamedefs/thingtypes.h"
#include "support/program_state.h"

namespace {

// Every test leaves the program's state as it found it, HERETIC's.
class Lookups : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(); }
    void TearDown() override { testkit::ResetProgramState(); }
};

TEST_F(Lookups, UnknownTypesGiveTheDefaultsInBothFlavours) {
    for (Flavour flavour : {Flavour::Heretic, Flavour::Doom}) {
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
    // DOOM's own: the checker's exit and teleport lists, and the gaps in its types.
    EXPECT_TRUE(IsExitType(124) && IsTeleportType(126) && LineDefNeedsTag(105));
    EXPECT_FALSE(IsLineDefTypeValid(78) || IsSectorTypeValid(6));
    EXPECT_TRUE(IsThingTypeKnown(3006));
}

TEST_F(Lookups, FlagTextsAndAngleNames) {
    for (auto c : {std::make_pair(0x0001, "--------Im"), {0x001F, "----LoUp2SMoI|"}, {0xFE00, "---------"}})
        EXPECT_EQ(LineDefFlagsText(static_cast<uint16_t>(c.first)), c.second) << c.first;
    EXPECT_STREQ(GetLineDefFlagName(9), "Automapped");
    for (int bad : {0, 10, -3})
        EXPECT_STREQ(GetLineDefFlagName(bad), "<?unknown>?") << bad;
    EXPECT_EQ(ThingFlagsText(0x1F), "12 3 45 Deaf Net ");
    EXPECT_TRUE(HasFlagBit(0x8000, 16));
    for (int bad : {0, 17, -1})
        EXPECT_FALSE(HasFlagBit(0xFFFF, bad)) << bad;
    EXPECT_STREQ(AngleText(0), "E");
    EXPECT_STREQ(AngleText(315), "SE");
    for (int odd : {10, 360, 405, -45, -90, 32767})
        EXPECT_STREQ(AngleText(odd), "<?\?>") << odd;
}

constexpr MapTarget kTargets[] = {MapTarget::Original, MapTarget::LimitRemoving, MapTarget::Boom, MapTarget::Mbf21};

TEST(Generalized, FieldsOfKnownNumbers) {
    // A WR floor lowering fast to the lowest neighbour floor.
    GeneralizedType floor{GenKind::Floor, {1, 2, 0, 0, 1, 0, 0}};
    EXPECT_EQ(EncodeGeneralized(floor), 0x6091);
    EXPECT_EQ(GeneralizedFieldsText(0x6091), "Fast Down LnF None");
    // With a change the monster bit names the model sector.
    EXPECT_EQ(GeneralizedFieldsText(0x60B1 | (3 << 10)), "Fast Numeric Down LnF TxTy");
    // An SR locked door, slow, opens and stays, red card or skull.
    std::optional<GeneralizedType> door = DecodeGeneralized(0x3A63);
    ASSERT_TRUE(door);
    EXPECT_EQ(door->kind, GenKind::LockedDoor);
    for (auto [field, name] : {std::pair{0, "SR"}, {2, "OpenStay"}, {3, "RedCard"}, {4, "Same"}})
        EXPECT_STREQ(GenFieldValueName(*door, field), name) << field;
    EXPECT_TRUE(GeneralizedNeedsNoTag(0x3C07));    // DR door
    EXPECT_FALSE(GeneralizedNeedsNoTag(0x3C01));   // WR door
}

// What each target knows: the type, its row and its name; values a target
// does not know are unknown there.
TEST_F(Lookups, EachTargetKnowsItsOwnAndTheLowerTargetsTypes) {
    testkit::ResetProgramState(Flavour::Doom);
    // The short name under the targets that know the type.
    const struct { uint16_t type; std::optional<MapTarget> needs; const char* name; } cases[] = {
        {1, MapTarget::Original, "DR OpenDoor C4  "}, {142, MapTarget::Boom, "W1 RaiseFlr 512 "},
        {0x6091, MapTarget::Boom, "WR Gen Floor"},    {271, MapTarget::Mbf21, "-- Sky Transfer "},
        {270, std::nullopt, nullptr},                 {0x8123, std::nullopt, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineDefTypeNeeds(c.type), c.needs) << c.type;
        for (MapTarget target : kTargets) {
            bool known = c.needs && TargetAllows(target, *c.needs);
            EXPECT_EQ(IsLineDefTypeValid(c.type, target) != 0, known) << c.type << " " << MapTargetName(target);
            EXPECT_EQ(GetLineDefTypeShortName(c.type, target), known ? c.name : kUnknownName) << c.type;
        }
    }
}

TEST_F(Lookups, SectorBitsAndFlagsNameTheTargetTheyNeed) {
    testkit::ResetProgramState(Flavour::Doom);
    // The text under MBF21.
    const struct { uint16_t type; std::optional<MapTarget> needs; const char* text; } sectors[] = {
        {9, MapTarget::Original, "Secret"},
        {0x80 | 8, MapTarget::Boom, "Glowing Se"},
        {0x60 | 0x100 | 0x200, MapTarget::Boom, "Normal D20 Fr Wi"},
        {0x1000 | 0x40, MapTarget::Mbf21, "Normal KEx"},
        {0x2000, MapTarget::Mbf21, "Normal KM"},
        {0x0400, std::nullopt, "Normal"},
        {0x80 | 20, std::nullopt, "#20 Se"},
    };
    for (const auto& c : sectors) {
        EXPECT_EQ(SectorTypeNeeds(c.type), c.needs) << c.type;
        EXPECT_EQ(SectorBitsText(c.type, MapTarget::Mbf21), c.text) << c.type;
        EXPECT_EQ(EncodeSectorBits(DecodeSectorBits(c.type)), c.type);
    }
    EXPECT_EQ(IsSectorTypeValid(0x88, MapTarget::Original), 0);
    EXPECT_NE(IsSectorTypeValid(0x88, MapTarget::Boom), 0);
    EXPECT_EQ(IsSectorTypeValid(0x2000, MapTarget::Boom), 0);

    EXPECT_EQ(LineDefFlagsNeed(0x01FF), MapTarget::Original);
    EXPECT_EQ(LineDefFlagsNeed(0x0201), MapTarget::Boom);
    EXPECT_EQ(LineDefFlagsNeed(0x2200), MapTarget::Mbf21);
    EXPECT_EQ(LineDefFlagsNeed(0x0800), std::nullopt);
    EXPECT_EQ(ThingFlagsNeed(0x0067), MapTarget::Boom);
    EXPECT_EQ(ThingFlagsNeed(0x0080), MapTarget::Mbf21);
    EXPECT_EQ(ThingFlagsNeed(0x0100), std::nullopt);
    EXPECT_EQ(ThingTypeNeeds(5001), MapTarget::Boom);
    EXPECT_EQ(ThingTypeNeeds(888), MapTarget::Mbf21);
    // The info panel's codes: the port flags only where the target has them.
    EXPECT_EQ(LineDefFlagsText(0x2201, MapTarget::Boom), "Pu--------Im");
}

}  // namespace
