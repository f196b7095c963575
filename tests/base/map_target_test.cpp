#include <gtest/gtest.h>

#include "base/map_target.h"

namespace {

// The lump comes from any PWAD: only a whole keyword counts. (That each
// target's keyword reads back as the target, the level's save tests show.)
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
