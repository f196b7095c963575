#include <gtest/gtest.h>

#include <string>

#include "base/flavour.h"
#include "gamedefs/generalized.h"
#include "gamedefs/linetypes.h"
#include "gamedefs/port_types.h"
#include "support/program_state.h"

namespace {

class PortTypes : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }
};

constexpr MapTarget kTargets[] = {MapTarget::Original, MapTarget::LimitRemoving, MapTarget::Boom, MapTarget::Mbf21};

TEST(Generalized, FieldsOfKnownNumbers) {
    // A WR floor lowering fast to the lowest neighbour floor.
    GeneralizedType floor{GenKind::Floor, {1, 2, 0, 0, 1, 0, 0}};
    EXPECT_EQ(EncodeGeneralized(floor), 0x6091);
    EXPECT_EQ(GeneralizedFieldsText(0x6091), "Fast Down LnF None");
    EXPECT_EQ(GeneralizedFieldsText(0x60B1), "Fast Monsters Down LnF None");
    // With a change the monster bit names the model sector.
    EXPECT_EQ(GeneralizedFieldsText(0x60B1 | (3 << 10)), "Fast Numeric Down LnF TxTy");
    // An SR locked door, slow, opens and stays, red card or skull.
    std::optional<GeneralizedType> door = DecodeGeneralized(0x3A63);
    ASSERT_TRUE(door);
    EXPECT_EQ(door->kind, GenKind::LockedDoor);
    EXPECT_STREQ(GenFieldValueName(*door, 0), "SR");
    EXPECT_STREQ(GenFieldValueName(*door, 2), "OpenStay");
    EXPECT_STREQ(GenFieldValueName(*door, 3), "RedCard");
    EXPECT_STREQ(GenFieldValueName(*door, 4), "Same");
    EXPECT_EQ(GeneralizedShortName(0x3A63), "SR Gen Locked");
    EXPECT_TRUE(GeneralizedNeedsNoTag(0x3C07));    // DR door
    EXPECT_FALSE(GeneralizedNeedsNoTag(0x3C01));   // WR door
}

// What each target knows: the type, its row and its name; values a target
// does not know are unknown there.
TEST_F(PortTypes, EachTargetKnowsItsOwnAndTheLowerTargetsTypes) {
    const struct {
        uint16_t type;
        std::optional<MapTarget> needs;
        const char* shortName;   // under the targets that know it
    } cases[] = {
        {1, MapTarget::Original, "DR OpenDoor C4  "},
        {142, MapTarget::Boom, "W1 RaiseFlr 512 "},
        {260, MapTarget::Boom, "-- Translucent  "},
        {0x6091, MapTarget::Boom, "WR Gen Floor"},
        {271, MapTarget::Mbf21, "-- Sky Transfer "},
        {1025, MapTarget::Mbf21, "-- ScrollTaggedD"},
        {270, std::nullopt, nullptr},
        {0x8123, std::nullopt, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LineDefTypeNeeds(c.type), c.needs) << c.type;
        for (MapTarget target : kTargets) {
            bool known = c.needs && TargetAllows(target, *c.needs);
            EXPECT_EQ(IsLineDefTypeValid(c.type, target) != 0, known) << c.type << " " << MapTargetName(target);
            EXPECT_EQ(GetLineDefTypeShortName(c.type, target), known ? c.shortName : kUnknownName) << c.type;
        }
    }
}

TEST_F(PortTypes, SectorBitsAndFlagsNameTheTargetTheyNeed) {
    const struct {
        uint16_t sector;
        std::optional<MapTarget> needs;
        const char* text;   // under MBF21
    } sectors[] = {
        {9, MapTarget::Original, "Secret"},
        {18, std::nullopt, "#18"},
        {0x80 | 8, MapTarget::Boom, "Glowing Se"},
        {0x60 | 0x100 | 0x200, MapTarget::Boom, "Normal D20 Fr Wi"},
        {0x1000 | 0x40, MapTarget::Mbf21, "Normal KEx"},
        {0x2000, MapTarget::Mbf21, "Normal KM"},
        {0x0400, std::nullopt, "Normal"},
        {0x80 | 20, std::nullopt, "#20 Se"},
    };
    for (const auto& c : sectors) {
        EXPECT_EQ(SectorTypeNeeds(c.sector), c.needs) << c.sector;
        EXPECT_EQ(SectorBitsText(c.sector, MapTarget::Mbf21), c.text) << c.sector;
        EXPECT_EQ(EncodeSectorBits(DecodeSectorBits(c.sector)), c.sector);
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
    EXPECT_EQ(LineDefFlagsText(0x2201, MapTarget::Original), "--------Im");
    EXPECT_EQ(LineDefFlagsText(0x2201, MapTarget::Boom), "Pu--------Im");
    EXPECT_EQ(LineDefFlagsText(0x2201, MapTarget::Mbf21), "Bp-Pu--------|");
}

}  // namespace
