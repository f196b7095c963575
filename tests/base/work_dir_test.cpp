#include <gtest/gtest.h>

#include "base/work_dir.h"

namespace {

// The data directory comes from XDG_DATA_HOME when that is absolute, else
// from HOME; no usable variable gives no directory rather than a relative one.
TEST(DesktopWorkDirTest, FollowsTheUsersDataDirectory) {
    const struct { const char *xdgDataHome, *home, *dir; } cases[] = {
        {"/data", "/home/u", "/data/brel/"},
        {"/data/", "/home/u", "/data/brel/"},
        {"", "/home/u", "/home/u/.local/share/brel/"},
        {"data", "/home/u/", "/home/u/.local/share/brel/"},
        {"data", "", ""},
        {"", "home/u", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopWorkDir(c.xdgDataHome, c.home, "brel"), c.dir) << c.xdgDataHome << " " << c.home;
}

}  // namespace
