// The engine limits scan on crafted levels whose counts follow by hand: a
// room that looks onto a board of small Sectors, each lit its own way, so
// that each shows a floor and a ceiling of its own; walls hidden in part;
// the scan of a whole level, in the checker and before saves; the
// level-wide numbers. Where Chocolate Doom is installed, the board too large
// stops it at the start as the scan says, and the one that fits plays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/config.h"
#include "base/flavour.h"
#include "check_recorder.h"
#include "checker/checks.h"
#include "checker/limits_check.h"
#include "checker/limits_nodes.h"
#include "checker/limits_scan.h"
#include "menus/check_menu.h"
#include "pictures/name_keys.h"
#include "platform/files.h"
#include "support/game_kit.h"
#include "support/map_kit.h"
#include "support/testkit.h"
#include "wad/master.h"

namespace {

using namespace mapkit;

constexpr int kCell = 64;
constexpr int kBoardX = 256;   // the board's west edge; the room lies west of it
constexpr int kRows = 4;       // from y -128 to 128

int Side(int sector, const char* middle) {
    int sd = AddSideDef(sector);
    SetFieldName(level.sideDefs[sd].upper, "-");
    SetFieldName(level.sideDefs[sd].lower, "-");
    SetFieldName(level.sideDefs[sd].middle, middle);
    return sd;
}

// A LineDef between a and b, its first side facing the Sector right of a to
// b (the game's front), drawn from b to a when only the left one is there; a
// one-sided one is a wall, a two-sided one shows middle on both sides.
void Line(int a, int b, int right, int left, const char* middle) {
    if (right < 0)
        AddLineDef(b, a, Side(left, "STARTAN3"));
    else if (left < 0)
        AddLineDef(a, b, Side(right, "STARTAN3"));
    else
        AddLineDef(a, b, Side(right, middle), Side(left, middle), 4);
}

// Grates: every board Sector lit as the room, a grating on every LineDef
// between two of them, so that each is a wall drawn but no plane is new.
enum class BoardLook { OwnLights, Grates };

// A room from x -64 to 256, y -128 to 128, with Player 1 at (0, 0) facing
// east, onto a board of columns x 4 Sectors of 64 units, each of its own
// light, ending in a wall.
void BuildBoard(int columns, BoardLook look = BoardLook::OwnLights) {
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
    Line(w0, w1, 0, -1, "-");                 // the room's west wall, facing east
    Line(corner(0, 0), w0, 0, -1, "-");       // south wall, facing north
    Line(w1, corner(0, kRows), 0, -1, "-");   // north wall, facing south
    for (int c = 0; c <= columns; ++c)
        for (int r = 0; r < kRows; ++r) {   // going north: east on the right
            const int east = c < columns ? cell(c, r) : -1;
            Line(corner(c, r), corner(c, r + 1), east, cell(c - 1, r), grate);
        }
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r <= kRows; ++r) {   // going east: south on the right
            const int south = r > 0 ? cell(c, r - 1) : -1, north = r < kRows ? cell(c, r) : -1;
            Line(corner(c, r), corner(c + 1, r), south, north, grate);
        }
    AddThing(0, 0, 1, 0, 7);
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
    LimitCounts CountFromStart(const LevelNodes* nodes = nullptr) {
        assets = LoadPreviewAssets(level);
        PreviewScene scene = BuildPreviewScene(level, assets);
        ChoosePreviewThings(scene, {});
        const PreviewCamera eye{0, 0, 41, 0};
        if (nodes)
            return NodeWalkCounter(*nodes, scene, level).Count(eye);
        return LimitCounter(scene, level).Count(eye);
    }

    PreviewAssets assets;
};

// The one line said, "" for nothing.
std::string Said(const checktest::Recorder& r) {
    EXPECT_GE(1u, r.said.size());
    return r.said.empty() ? "" : r.said[0];
}

// The checker's item tells of every limit passed, the save's warning box of
// those that stop the game, scanning the level itself unless it stands as
// scanned; levels for a port are not scanned.
TEST_F(LimitsScanTest, TheCheckerAndTheSaveTellOfThePlacesOverALimit) {
    EXPECT_EQ(128, EngineLimitSize(EngineLimit::Sprites)) << "the original renderer's table";
    const struct {
        int columns;
        BoardLook look;
        MapTarget target;
        std::string checker, save;   // part of what is said; "" for the save: nothing
    } cases[] = {
        {16, BoardLook::OwnLights, MapTarget::Original,
         "At (-32, -96) facing 0 the game needs visplanes 130/128",
         "At (-32, -96) facing 0 the game needs visplanes 130/128"},
        {44, BoardLook::Grates, MapTarget::Original, "the game needs drawsegs 310/256", ""},
        {16, BoardLook::OwnLights, MapTarget::Boom,
         "for Boom, whose engine lifts the original limits", ""},
    };
    for (const auto& c : cases)
        for (bool checkedFirst : {true, false}) {
            BuildBoard(c.columns, c.look);
            level.target = c.target;
            limitsState = {};
            checktest::Recorder checker, save;
            if (checkedFirst) {
                EXPECT_TRUE(RunCheckItem(kCheckEngineLimits, checker));
                EXPECT_NE(std::string::npos, Said(checker).find(c.checker)) << Said(checker);
            }
            EXPECT_TRUE(CheckUnplayable(save));
            EXPECT_EQ(c.save.empty(), Said(save).empty()) << c.columns;
            EXPECT_NE(std::string::npos, Said(save).find(c.save)) << Said(save);
            const bool scans = c.target == MapTarget::Original && !checkedFirst;
            EXPECT_EQ(scans ? 1u : 0u, save.titles.size()) << "scanned once, for the original games only";
        }

    BuildBoard(16);
    limitsState = {};
    checktest::Recorder checker;
    EXPECT_TRUE(RunCheckItem(kCheckEngineLimits, checker));
    EXPECT_TRUE(LimitsScanIsCurrent());
    level.fromFile = true;   // as if read from a file, its marker the first entry
    level.markerIndex = 0;
    EXPECT_FALSE(LimitsScanIsCurrent()) << "counted by the rays, and the nodes may fit now";
    level.fromFile = false;
    limitsState.angles = 12;
    EXPECT_FALSE(LimitsScanIsCurrent()) << "made with other settings";

    // Numbers beyond sixteen bits.
    EXPECT_TRUE(StaticLimitFindings(level).empty());
    AllocateArray(level.sideDefs, 32768, 32768);
    EXPECT_EQ(StaticLimitFindings(level),
              std::vector<std::string>{
                  "32768 SideDefs: the game reads the numbers beyond 32767 as negative"});
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
    // x, y, dx, dy, the two boxes, the two children (0x8000: subsector 0)
    auto node = [](int right) {
        return Words({0, 0, 0, 64, 64, -64, 0, 64, 64, -64, -64, 0, right, 0x8000});
    };
    EXPECT_TRUE(ParseLevelNodes(level, vertexes, segs, subsector, node(0x8000), nodes));
    ASSERT_TRUE(ParseLevelNodes(level, vertexes, segs, subsector, {}, nodes));
    LimitCounts byNodes = CountFromStart(&nodes), byRays = CountFromStart();
    EXPECT_EQ(2, byNodes[EngineLimit::Drawsegs]);
    EXPECT_EQ(1, byRays[EngineLimit::Drawsegs]);
    EXPECT_EQ(2, byNodes[EngineLimit::Visplanes]);
    EXPECT_EQ(2, byRays[EngineLimit::Visplanes]);

    const struct {
        std::vector<uint8_t> vertexes, segs, subsectors, nodes;
    } damaged[] = {
        {Words({-64, -64, -64, 64, 64, 64, 64, -64}), segs, subsector, {}},   // vertex 4 missing
        {vertexes, Words({0, 1, 0, 4, 0, 0}), Words({1, 0}), {}},             // LineDef 4
        {vertexes, Words({0, 1, 0, 0, 2, 0}), Words({1, 0}), {}},             // side 2
        {vertexes, segs, Words({6, 0}), {}},                                   // past the segs
        {vertexes, segs, subsector, node(0x8001)},                            // subsector 1
        {vertexes, segs, subsector, node(0)},                                 // a loop
        {vertexes, segs, Words({5, 0, 5, 0}), {}},                             // two, no node
    };
    for (const auto& c : damaged)
        EXPECT_FALSE(ParseLevelNodes(level, c.vertexes, c.segs, c.subsectors, c.nodes, nodes))
            << &c - damaged;
}

// The games themselves, where installed, on the board with nodes built by
// ZDBSP: Chocolate Doom stops at the start where the scan counts more
// visplanes than it holds, and plays where it counts fewer, the nodes read
// back from the file counting as the rays do; Crispy Doom at the original
// resolution plays on but fills its drawsegs table where the scan says.
TEST_F(LimitsScanTest, TheGamesAgreeWithTheScan) {
    if (!testkit::HaveGameAndNodeBuilder() || !FileExists(testkit::kCrispyProgram))
        GTEST_SKIP() << "Chocolate Doom, Crispy Doom or ZDBSP is not installed";
    // Boards of their own lights on Chocolate Doom, which stops at a full
    // visplanes table; boards of grates on Crispy Doom, for the drawsegs.
    for (int columns : {15, 16, 40, 44}) {
        const bool stops = columns < 20;
        const EngineLimit limit = stops ? EngineLimit::Visplanes : EngineLimit::Drawsegs;
        const char* program = stops ? testkit::kGameProgram : testkit::kCrispyProgram;
        SCOPED_TRACE(std::string(program) + " " + std::to_string(columns));
        BuildBoard(columns, stops ? BoardLook::OwnLights : BoardLook::Grates);
        LimitCounts counts = CountFromStart();
        const bool over = counts[limit] > EngineLimitSize(limit);
        testkit::ScratchDir dir;
        std::string raw = dir.file("raw.wad"), built = dir.file("built.wad");
        testkit::WriteLevelPwad(raw);
        ASSERT_TRUE(testkit::BuildNodes(raw, built, dir.file("zdbsp.log")));
        std::filesystem::create_directories(dir.file(".local/share/crispy-doom"));
        std::ofstream(dir.file(".local/share/crispy-doom/crispy-doom.cfg")) << "crispy_hires 0\n";
        std::string output = testkit::GameOutput(dir.path(), testkit::FreedoomIwad(2), built, "1", program);
        const char* full = stops ? "R_FindPlane: no more visplanes" : "Hit MAXDRAWSEGS";
        EXPECT_EQ(over, output.find(full) != std::string::npos) << DescribeCounts(counts, true) << "\n" << output;
        EXPECT_EQ(!(over && stops), output.find("status 124") != std::string::npos) << output;
        char name[kFileNameField];
        SetField(name, built.c_str());
        ASSERT_GT(LoadPwad(name), 0);
        ASSERT_TRUE(LoadIwadLevel("MAP01"));
        LevelNodes nodes;
        ASSERT_TRUE(ReadLevelNodes(nodes));
        EXPECT_EQ(counts[EngineLimit::Visplanes], CountFromStart(&nodes)[EngineLimit::Visplanes]);
        CloseAndForgetAll();
        OpenFreedoom2();
    }
}

}  // namespace
