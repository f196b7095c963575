// The engine limits scan on crafted levels whose counts follow by hand: a
// room that looks onto a board of small Sectors, each lit its own way, so
// that each shows a floor and a ceiling of its own; walls hidden in part;
// the scan of a whole level, in the checker and before saves; the
// level-wide numbers. Where Chocolate Doom
// is installed, the board too large stops it at the start as the scan
// says, and the one that fits plays.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "base/config.h"
#include "base/flavour.h"
#include "level/level.h"
#include "check_recorder.h"
#include "menus/check_menu.h"
#include "pictures/name_keys.h"
#include "checker/checks.h"
#include "checker/limits_check.h"
#include "checker/limits_nodes.h"
#include "checker/limits_scan.h"
#include "platform/files.h"
#include "support/game_kit.h"
#include "support/map_kit.h"
#include "support/map_lumps.h"
#include "support/testkit.h"
#include "wad/master.h"

namespace {

using namespace mapkit;

constexpr int kCell = 64;
constexpr int kBoardX = 256;   // the board's west edge; the room lies west of it
constexpr int kRows = 4;       // from y -128 to 128
constexpr int kTwoSided = 4;

// A LineDef from a to b, its first side facing right (the game's front);
// a two-sided one shows middle on both sides.
void Line(int a, int b, int right, int left, const char* middle = "-") {
    auto side = [](int sector, const char* texture) {
        int sd = AddSideDef(sector);
        SetFieldName(level.sideDefs[sd].upper, "-");
        SetFieldName(level.sideDefs[sd].lower, "-");
        SetFieldName(level.sideDefs[sd].middle, texture);
        return sd;
    };
    if (left < 0)
        AddLineDef(a, b, side(right, "STARTAN3"));
    else
        AddLineDef(a, b, side(right, middle), side(left, middle), kTwoSided);
}

// Grates: every board Sector lit as the room, a grating on every LineDef
// between two of them, so that each is a wall drawn but no plane is new.
enum class BoardLook { OwnLights, Grates };

// A room from x -64 to 256, y -128 to 128, with Player 1 at (0, 0) facing
// east, onto a board of columns x 4 Sectors of 64 units, each of its own
// light, ending in a wall; a Health Bonus in each board Sector with things.
void BuildBoard(int columns, bool things = false, BoardLook look = BoardLook::OwnLights) {
    ClearMap();
    const char* grate = look == BoardLook::Grates ? "BRNSMAL1" : "-";
    for (int s = 0; s <= columns * kRows; ++s) {   // the room, then the board column by column
        AddSector();
        level.sectors[s].light = int16_t(look == BoardLook::Grates || s == 0 ? 96 : 99 + s);
        SetFieldName(level.sectors[s].floorTexture, "FLOOR4_8");
        SetFieldName(level.sectors[s].ceilingTexture, "CEIL3_5");
    }
    auto cell = [](int c, int r) { return c < 0 ? 0 : 1 + c * kRows + r; };
    auto corner = [](int c, int r) { return c * (kRows + 1) + r; };   // of a column line and a row line
    for (int c = 0; c <= columns; ++c)
        for (int r = 0; r <= kRows; ++r)
            AddVertex(kBoardX + c * kCell, -128 + r * kCell);
    const int w0 = AddVertex(-64, -128), w1 = AddVertex(-64, 128);
    Line(w0, w1, 0, -1);                 // the room's west wall, facing east
    Line(corner(0, 0), w0, 0, -1);       // south wall, facing north
    Line(w1, corner(0, kRows), 0, -1);   // north wall, facing south
    for (int c = 0; c <= columns; ++c)
        for (int r = 0; r < kRows; ++r)   // going north: east on the right
            if (c == columns)
                Line(corner(c, r + 1), corner(c, r), cell(c - 1, r), -1);
            else
                Line(corner(c, r), corner(c, r + 1), cell(c, r), cell(c - 1, r), grate);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r <= kRows; ++r)   // going east: south on the right
            if (r == 0)
                Line(corner(c + 1, 0), corner(c, 0), cell(c, 0), -1);
            else if (r == kRows)
                Line(corner(c, r), corner(c + 1, r), cell(c, r - 1), -1);
            else
                Line(corner(c, r), corner(c + 1, r), cell(c, r - 1), cell(c, r), grate);
    AddThing(0, 0, 1, 0, 7);
    for (int c = 0; things && c < columns; ++c)
        for (int r = 0; r < kRows; ++r)
            AddThing(kBoardX + c * kCell + 32, -128 + r * kCell + 32, 2014, 0, 7);
}

class LimitsScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFlavour(Flavour::Doom);
        ResetConfig();
        if (!OpenFreedoom2())
            GTEST_SKIP() << "Freedoom is not installed";
    }

    // Counted by the rays, or by the nodes given.
    LimitCounts CountFromStart(double headingDegrees = 0, const LevelNodes* nodes = nullptr) {
        assets = LoadPreviewAssets(level);
        PreviewScene scene = BuildPreviewScene(level, assets);
        ChoosePreviewThings(scene, {});
        const PreviewCamera eye{0, 0, 41, headingDegrees * 3.14159265358979 / 180};
        if (nodes)
            return NodeWalkCounter(*nodes, scene, level).Count(eye);
        return LimitCounter(scene, level).Count(eye);
    }

    PreviewAssets assets;
};

// The checker's item tells of every limit passed, the save's warning box of
// those that stop the game, scanning the level itself unless it stands as
// scanned; Esc skips the scan and the save goes on. The kept spacing and
// views a point are the scan's; levels for a port are not scanned.
TEST_F(LimitsScanTest, TheCheckerAndTheSaveTellOfThePlacesOverALimit) {
    EXPECT_EQ(128, EngineLimitSize(EngineLimit::Sprites)) << "the original renderer's table";
    struct Case {
        int columns;
        BoardLook look;
        MapTarget target;
        const char* checker;   // "": no place over a limit
        const char* save;
    } cases[] = {
        {16, BoardLook::OwnLights, MapTarget::Original, "facing 0 the game needs visplanes 130/128",
         "facing 0 the game needs visplanes 130/128"},
        {44, BoardLook::Grates, MapTarget::Original, "the game needs drawsegs ", ""},
        {16, BoardLook::OwnLights, MapTarget::Boom, "", ""},
    };
    for (const Case& c : cases) {
        BuildBoard(c.columns, false, c.look);
        level.target = c.target;
        for (bool checkedFirst : {true, false}) {
            limitsState = {};
            checktest::Recorder checker, save;
            if (checkedFirst) {
                EXPECT_TRUE(RunCheckItem(kCheckEngineLimits, checker));
                ASSERT_EQ(1u, checker.said.size());
                if (*c.checker)
                    EXPECT_NE(std::string::npos, checker.said[0].find(c.checker)) << checker.said[0];
                else
                    EXPECT_EQ(std::string::npos, checker.said[0].find("At (")) << checker.said[0];
            }
            EXPECT_TRUE(CheckUnplayable(save));
            EXPECT_EQ(c.save[0] ? 1u : 0u, save.said.size()) << c.columns;
            if (*c.save && !save.said.empty()) {
                EXPECT_NE(std::string::npos, save.said[0].find(c.save)) << save.said[0];
            }
            const bool scans = c.target == MapTarget::Original && !checkedFirst;
            EXPECT_EQ(scans ? 1u : 0u, save.titles.size()) << "scanned once, for the original games only";
        }
    }

    BuildBoard(16);
    limitsState = {};
    checktest::Recorder stopped;
    stopped.stopAt = 2;
    EXPECT_TRUE(CheckUnplayable(stopped));
    EXPECT_TRUE(stopped.said.empty());
    EXPECT_FALSE(LimitsScanIsCurrent());

    limitsState.spacing = 128;
    limitsState.angles = 12;
    checktest::Recorder sparse;
    EXPECT_TRUE(RunCheckItem(kCheckEngineLimits, sparse));
    EXPECT_EQ(128, limitsState.scan.spacing);
    for (const LimitPoint& p : limitsState.scan.points) {
        EXPECT_EQ(0, (p.x - 64) % 128);
        EXPECT_EQ(0, std::fmod(p.heading, 30.0));
    }
    EXPECT_TRUE(LimitsScanIsCurrent());
    level.fromFile = true;   // as if read from a file, its marker the first entry
    level.markerIndex = 0;
    EXPECT_FALSE(LimitsScanIsCurrent()) << "counted by the rays, and the nodes may fit now";
    level.fromFile = false;
    limitsState.angles = 8;
    EXPECT_FALSE(LimitsScanIsCurrent()) << "made with other settings";
}

// Little-endian 16-bit words, as the node lumps hold them.
std::vector<uint8_t> Words(std::initializer_list<int> words) {
    std::vector<uint8_t> bytes;
    for (int w : words) {
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8 & 0xFF));
    }
    return bytes;
}

// A room from -64 to 64 each way, one subsector, its east wall cut in two
// segs at (64, 0): seen from the middle facing east, the game draws the two
// halves as two drawsegs; the rays see one LineDef side. Damaged lumps are
// refused.
TEST_F(LimitsScanTest, TheNodesCountEachSegAndDamagedOnesAreRefused) {
    ClearMap();
    AddRoom(-64, -64, 64, 64, AddSector());
    const std::vector<uint8_t> vertexes = Words({-64, -64, -64, 64, 64, 64, 64, -64, 64, 0});
    // v1, v2, angle, LineDef, side, offset
    const std::vector<uint8_t> segs =
        Words({0, 1, 0, 0, 0, 0, 1, 2, 0, 1, 0, 0, 2, 4, 0, 2, 0, 0, 4, 3, 0, 2, 0, 64, 3, 0, 0, 3, 0, 0});
    const std::vector<uint8_t> subsector = Words({5, 0});
    LevelNodes nodes;
    ASSERT_TRUE(ParseLevelNodes(level, vertexes, segs, subsector, {}, nodes));
    LimitCounts byNodes = CountFromStart(0, &nodes), byRays = CountFromStart(0);
    EXPECT_EQ(2, byNodes[EngineLimit::Drawsegs]);
    EXPECT_EQ(1, byRays[EngineLimit::Drawsegs]);
    EXPECT_EQ(2, byNodes[EngineLimit::Visplanes]);
    EXPECT_EQ(2, byRays[EngineLimit::Visplanes]);

    // x, y, dx, dy, the two boxes, the two children
    const std::vector<uint8_t> node = Words({0, 0, 0, 64, 64, -64, 0, 64, 64, -64, -64, 0, 0x8000, 0x8000});
    const std::vector<uint8_t> selfChild = Words({0, 0, 0, 64, 64, -64, 0, 64, 64, -64, -64, 0, 0, 0x8000});
    struct Case {
        std::vector<uint8_t> vertexes, segs, subsectors, nodes;
        bool read;
    } cases[] = {
        {vertexes, segs, subsector, node, true},
        {Words({-64, -64, -64, 64, 64, 64, 64, -64}), segs, subsector, {}, false},   // vertex 4 missing
        {vertexes, Words({0, 1, 0, 4, 0, 0}), Words({1, 0}), {}, false},             // LineDef 4
        {vertexes, Words({0, 1, 0, 0, 2, 0}), Words({1, 0}), {}, false},             // side 2
        {vertexes, segs, Words({6, 0}), {}, false},                                   // past the segs
        {vertexes, segs, subsector, Words({0, 0, 0, 64, 64, -64, 0, 64, 64, -64, -64, 0, 0x8001, 0x8000}),
         false},                                                                      // subsector 1
        {vertexes, segs, subsector, selfChild, false},                                // a loop
        {vertexes, segs, Words({5, 0, 5, 0}), {}, false},                             // two, no node
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.read, ParseLevelNodes(level, c.vertexes, c.segs, c.subsectors, c.nodes, nodes))
            << &c - cases;
}

TEST_F(LimitsScanTest, NumbersBeyondSixteenBitsAreFound) {
    BuildBoard(1);
    EXPECT_TRUE(StaticLimitFindings(level).empty());
    AllocateArray(level.sideDefs, 32768, 32768);
    std::vector<std::string> found = StaticLimitFindings(level);
    ASSERT_EQ(1u, found.size());
    EXPECT_NE(std::string::npos, found[0].find("32768 SideDefs"));
}

// The games themselves, where installed, on the board with nodes built by
// ZDBSP: Chocolate Doom stops at the start where the scan counts more
// visplanes than it holds, and plays where it counts fewer, the nodes read
// back from the file counting as the rays do; Crispy Doom at the original
// resolution plays on but fills its drawsegs table where the scan says.
TEST_F(LimitsScanTest, TheGamesAgreeWithTheScan) {
    if (!testkit::HaveGameAndNodeBuilder() || !FileExists(testkit::kCrispyProgram))
        GTEST_SKIP() << "Chocolate Doom, Crispy Doom or ZDBSP is not installed";
    const struct {
        const char* program;
        int columns;
        BoardLook look;
        EngineLimit limit;
        const char* full;   // what the game says of a full table
        bool stops;
    } cases[] = {
        {testkit::kGameProgram, 15, BoardLook::OwnLights, EngineLimit::Visplanes, "R_FindPlane: no more visplanes", true},
        {testkit::kGameProgram, 16, BoardLook::OwnLights, EngineLimit::Visplanes, "R_FindPlane: no more visplanes", true},
        {testkit::kCrispyProgram, 40, BoardLook::Grates, EngineLimit::Drawsegs, "Hit MAXDRAWSEGS", false},
        {testkit::kCrispyProgram, 44, BoardLook::Grates, EngineLimit::Drawsegs, "Hit MAXDRAWSEGS", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + std::to_string(c.columns));
        BuildBoard(c.columns, false, c.look);
        LimitCounts counts = CountFromStart();
        const bool over = counts[c.limit] > EngineLimitSize(c.limit);
        testkit::ScratchDir dir;
        std::string raw = dir.file("raw.wad"), built = dir.file("built.wad");
        testkit::WriteLevelPwad(raw);
        ASSERT_TRUE(testkit::BuildNodes(raw, built, dir.file("zdbsp.log")));
        std::filesystem::create_directories(dir.file(".local/share/crispy-doom"));
        std::ofstream(dir.file(".local/share/crispy-doom/crispy-doom.cfg")) << "crispy_hires 0\n";
        std::string output = testkit::GameOutput(dir.path(), testkit::FreedoomIwad(2), built, "1", c.program);
        EXPECT_EQ(over, output.find(c.full) != std::string::npos) << DescribeCounts(counts, true) << "\n" << output;
        EXPECT_EQ(!(over && c.stops), output.find("status 124") != std::string::npos) << output;
        char name[kFileNameField];
        SetField(name, built.c_str());
        ASSERT_GT(LoadPwad(name), 0);
        ASSERT_TRUE(LoadIwadLevel("MAP01"));
        LevelNodes nodes;
        ASSERT_TRUE(ReadLevelNodes(nodes));
        EXPECT_EQ(counts[EngineLimit::Visplanes], CountFromStart(0, &nodes)[EngineLimit::Visplanes]);
        CloseAndForgetAll();
        OpenFreedoom2();
    }
}

}  // namespace
