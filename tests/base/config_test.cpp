// The settings file: damaged files refused, dangerous values repaired, older
// files brought up to date, long file names kept; and where the data lives.
#include <gtest/gtest.h>

#include <cstring>

#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "support/program_state.h"
#include "support/testkit.h"

using testkit::Bytes;

namespace {

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        testkit::ResetProgramState();
        SetWorkDir(dir.path());
    }
    void TearDown() override { testkit::ResetProgramState(); }
    Bytes Saved() {
        EXPECT_TRUE(SaveConfig());
        return testkit::ReadFileBytes(dir.file("Zarn.cfg"));
    }
    // Loads the file into a fresh configuration; LoadConfig's result.
    int Reload(const Bytes& file) {
        testkit::WriteFileBytes(dir.file("Zarn.cfg"), file);
        ResetConfig();
        return LoadConfig();
    }
    testkit::ScratchDir dir;
    testkit::ConsoleCapture console{"\n\n\n"};
};

TEST_F(ConfigTest, DamagedFilesAreRefusedAndRepairedOnSave) {
    EXPECT_EQ(LoadConfig(), 0);   // missing: no message
    EXPECT_EQ(console.output().find("invalid"), std::string::npos);
    Bytes good = Saved();
    // The end mark, version, size and tag damaged; the file cut short.
    const std::pair<size_t, uint8_t> damages[] = {{2514, 0x00}, {4, 0x01}, {6, 0x00}, {2, 'X'}, {100, 0}};
    for (auto [at, value] : damages) {
        Bytes bad = good;
        bad[at] = value;
        bad[12] = 32;   // a grid that must not survive
        bad.resize(at == 100 ? 100 : bad.size());
        EXPECT_EQ(Reload(bad), 0) << at;
        EXPECT_EQ(config.gridSize, 8) << at;
    }
    EXPECT_NE(console.output().find("Zarn.CFG File is invalid, reset to defaults"), std::string::npos);
    EXPECT_EQ(Saved(), good);
}

TEST_F(ConfigTest, ValidFileIsTakenAndItsDangerousValuesRepaired) {
    config.tag[0] = 'Q';   // another first byte is still valid
    config.gridSize = 0;
    config.videoMode = 9;
    config.editMode = 3;
    config.scale = -1.0f;
    config.colors[kColorGrid] = 300;
    std::memset(config.iwadName, 'A', sizeof config.iwadName);
    Saved();
    EXPECT_EQ(LoadConfig(), 1);
    const std::vector<int> repaired = {config.gridSize, config.videoMode, config.editMode,
                                       config.colors[kColorGrid]};
    EXPECT_EQ(repaired, (std::vector<int>{8, 1, 1, 9}));   // grid, video and edit mode, grid colour
    EXPECT_FLOAT_EQ(config.scale, 0.125f);
    EXPECT_EQ(std::strlen(config.iwadName), 43u);
}

// A file of an older build (0 at offset 34) that still holds the old yellow
// hot-letter colour gets the new default once; a colour chosen since stays.
TEST_F(ConfigTest, OlderFilesTakeTheNewHotLetterColourOnlyWhereTheyHeldTheOld) {
    const size_t kHilite = 70 + 2 * kColorMenuHilite, kRevision = 34;
    Bytes b = Saved();
    EXPECT_EQ(b[kHilite], 18);
    EXPECT_EQ(b[kRevision], 1);
    const struct { uint8_t revision, hilite, loaded; } cases[] = {
        {0, 14, 18}, {0, 12, 12}, {1, 14, 14}, {1, 18, 18}};
    for (const auto& c : cases) {
        Bytes file = b;
        file[kRevision] = c.revision;
        file[kHilite] = c.hilite;
        EXPECT_EQ(Reload(file), 1);
        EXPECT_EQ(config.colors[kColorMenuHilite], c.loaded) << int(c.revision) << " " << int(c.hilite);
        EXPECT_EQ(Saved()[kRevision], 1);   // upgraded once
    }
}

TEST_F(ConfigTest, LongFileNamesFollowTheRecordAndComeBack) {
    std::string longPath = "/" + std::string(60, 'p') + "/file.wad";
    SetField(config.iwadName, longPath.c_str());
    SetField(config.pwadList[5], (longPath + "5").c_str());
    Bytes b = Saved();
    ASSERT_GT(b.size(), 2516u);
    // The record keeps its layout; the fields hold the names cut to 43 characters.
    auto field = [&](size_t at) { return std::string(reinterpret_cast<const char*>(&b[at])); };
    EXPECT_EQ(field(444), longPath.substr(0, 43));
    EXPECT_EQ(field(622 + 5 * 44), longPath.substr(0, 43));
    EXPECT_EQ(b[2514] | b[2515] << 8, 0x6666);
    ResetConfig();
    EXPECT_EQ(LoadConfig(), 1);
    EXPECT_EQ(std::string(config.iwadName), longPath);
    EXPECT_EQ(std::string(config.pwadList[5]), longPath + "5");
    EXPECT_EQ(config.pwadList[4][0], 0);
    // A long name whose field no longer holds its cut form is not taken.
    b[445] = 'X';
    EXPECT_EQ(Reload(b), 1);
    EXPECT_EQ(std::string(config.iwadName), field(444));
    EXPECT_EQ(std::string(config.pwadList[5]), longPath + "5");
}

// The data directory comes from XDG_DATA_HOME when that is absolute, else
// from HOME; no usable variable gives no directory rather than a relative one.
TEST(DesktopWorkDirTest, FollowsTheUsersDataDirectory) {
    const struct { const char *xdgDataHome, *home, *dir; } cases[] = {
        {"/data", "/home/u", "/data/brel/"},
        {"", "/home/u", "/home/u/.local/share/brel/"},
        {"data", "/home/u/", "/home/u/.local/share/brel/"},
        {"", "home/u", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopWorkDir(c.xdgDataHome, c.home, "brel"), c.dir) << c.xdgDataHome << " " << c.home;
}

}  // namespace
