#include <gtest/gtest.h>

#include "base/map_target.h"

namespace {

// What is written is read back as the same target, and the original games
// write no lump at all.
TEST(MapTargetTest, CompLevelKeywordsReadBackAsTheirTarget) {
    EXPECT_STREQ(CompLevelKeyword(MapTarget::Original), "");
    for (MapTarget t : {MapTarget::LimitRemoving, MapTarget::Boom, MapTarget::Mbf21}) {
        EXPECT_EQ(TargetOfCompLevel(CompLevelKeyword(t)), t) << MapTargetName(t);
    }
}

// The lump comes from any PWAD: only a whole keyword counts.
TEST(MapTargetTest, CompLevelLumpsAreReadAsUntrustedText) {
    const struct {
        std::string text;
        std::optional<MapTarget> target;
    } cases[] = {
        {"BOOM", MapTarget::Boom},
        {"Mbf21", MapTarget::Mbf21},
        {"mbf", MapTarget::Boom},
        {"boom\n", std::nullopt},
        {"boo", std::nullopt},
        {"mbf2", std::nullopt},
        {"", std::nullopt},
        {std::string("boom\0", 5), std::nullopt},
        {"prboom", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(TargetOfCompLevel(c.text), c.target) << c.text;
}

}  // namespace
