// The game definitions of both flavours: the tables hold together, and the
// lookups give each known type its row and every other value the defaults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/flavour.h"
#include "gamedefs/linetypes.h"
#include "gamedefs/thingtypes.h"
#include "support/program_state.h"

namespace {

class Lookups : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(); }
    void TearDown() override { testkit::ResetProgramState(); }
};

constexpr Flavour kFlavours[] = {Flavour::Heretic, Flavour::Doom};

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
    // DOOM's own: the checker's exit and teleport lists, and the gaps in its types.
    EXPECT_TRUE(IsExitType(124) && IsTeleportType(126) && LineDefNeedsTag(105));
    EXPECT_FALSE(IsLineDefTypeValid(78) || IsSectorTypeValid(6));
    EXPECT_TRUE(IsThingTypeKnown(3006));
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

}  // namespace
