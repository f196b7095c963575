// The 3D preview's renderer and walker: a hand-made room whose every pixel
// can be worked out on paper, a generated level of 64 Sectors that must show
// no hole from anywhere, and damaged levels; the view in the running editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "editor/editor_session.h"
#include "editor/view.h"
#include "level/level.h"
#include "view3d/preview3d.h"
#include "view3d/preview3d_motion.h"
#include "view3d/preview3d_things.h"
#include "support/big_map.h"
#include "support/map_kit.h"
#include "support/picture_kit.h"
#include "support/png_reader.h"
#include "support/session_kit.h"

namespace {

using testkit::Bytes;

constexpr int kW = 320, kH = 200;
constexpr double kPi = 3.14159265358979323846;
// At 320 pixels across, the game's proportions: 160 pixels per unit of
// depth across and 1.2 times that, 192, up.
constexpr double kFocalX = 160, kFocalY = 192;
// Colours of the hand-made pictures; none is 0, the colour of a missing wall.
constexpr int kFloorColour = 200, kCeilingColour = 170, kSpriteColour = 230;
int WallTexel(int u, int v) { return 64 + (u / 8) * 8 + v / 8; }
int SkyColumnTexel(int u, int) { return u; }
int SkyRowTexel(int, int v) { return v; }

// Row r turns colour i into i + r, so that a pixel tells its light row.
Bytes ShiftingColormap() {
    Bytes lump;
    for (int i = 0; i < 34 * 256; ++i)
        lump.push_back(static_cast<uint8_t>(i % 256 + i / 256));
    return lump;
}

Bytes SolidPicture(int width, int height, int (*texel)(int u, int v)) {
    testkit::Columns columns(static_cast<size_t>(width));
    for (int u = 0; u < width; ++u) {
        Bytes post;
        for (int v = 0; v < height; ++v)
            post.push_back(static_cast<uint8_t>(texel(u, v)));
        columns[static_cast<size_t>(u)] = {{0, post}};
    }
    return testkit::PictureLump(width, height, columns);
}

// Every Sector lit 255 with the two flats, every side in the one texture.
void DressLevel() {
    for (Sector& s : level.sectors) {
        std::strncpy(s.floorTexture, "FLOOR", 8);
        std::strncpy(s.ceilingTexture, "CEIL", 8);
        s.light = 255;
    }
    for (SideDef& sd : level.sideDefs)
        for (char* name : {sd.middle, sd.upper, sd.lower})
            std::strncpy(name, "WALL", 8);
}

class PreviewTest : public testkit::WadSession {
protected:
    PreviewTest() : testkit::WadSession(Flavour::Doom) {}
    // The pictures: WALL, SKY1, GRATE (64 x 32, only its even columns drawn,
    // in colour 250), the two flats and a bonus's sprite.
    void OpenPictures(bool withColormap = true, int (*skyTexel)(int u, int v) = SkyColumnTexel) {
        testkit::Columns grate(64);
        for (int u = 0; u < 64; u += 2)
            grate[static_cast<size_t>(u)] = {{0, Bytes(32, 250)}};
        Bytes sprite = testkit::PictureLump(16, 16, testkit::Columns(16, {{0, Bytes(16, kSpriteColour)}}));
        sprite[4] = 8;    // left offset
        sprite[6] = 16;   // top offset: it stands on its origin
        testkit::Lumps lumps = {
            {"WALLP", SolidPicture(64, 64, WallTexel)},
            {"SKYP", SolidPicture(256, 128, skyTexel)},
            {"GRATEP", testkit::PictureLump(64, 32, grate)},
            {"PNAMES", testkit::PnamesLump({"WALLP", "SKYP", "GRATEP"})},
            {"TEXTURE1", testkit::TextureLump({{"WALL", 64, 64, {{0, 0, 0}}}, {"SKY1", 256, 128, {{0, 0, 1}}},
                                               {"GRATE", 64, 32, {{0, 0, 2}}}})},
            {"FLOOR", Bytes(64 * 64, kFloorColour)},
            {"CEIL", Bytes(64 * 64, kCeilingColour)},
            {"BON1A0", sprite},
        };
        if (withColormap)
            lumps.push_back({"COLORMAP", ShiftingColormap()});
        testkit::OpenPictureIwad(dir, lumps, Bytes(768, 0));
    }
    // Draws the level from the camera at width x height (kW x kH unless given).
    std::vector<uint8_t> Draw(const PreviewCamera& camera, int width = kW, int height = kH) {
        Prepare();
        std::vector<uint8_t> frame(static_cast<size_t>(width) * height, 0);
        renderer.Draw(scene, assets, camera, frame.data(), width, height);
        return frame;
    }
    void Prepare() {
        assets = LoadPreviewAssets(level);
        scene = BuildPreviewScene(level, assets);
    }
    void Walk(PreviewWalker& walker, int steps) {
        for (int k = 0; k < steps; ++k)
            WalkerMove(scene, walker, 16, 0);
    }
    static int At(const std::vector<uint8_t>& frame, int x, int y, int width = kW) {
        return frame[static_cast<size_t>(y) * width + x];
    }

    PreviewAssets assets;
    PreviewScene scene;
    PreviewRenderer renderer;
};

// The room: 512 x 512 units, floor 0, ceiling 128, light 255 (full bright
// at any depth); the eye 41 units up at (64, 256) looking east, so the east
// wall stands 448 units ahead across the middle of the screen.
void BuildRoom() {
    mapkit::AddRoom(0, 0, 512, 512, mapkit::AddSector(0, 0, 0, 128));
    DressLevel();
}
const PreviewCamera kEye = {64, 256, 41, 0};
using RoomTest = PreviewTest;

TEST_F(RoomTest, WallFloorAndCeilingMatchTheirHandWorkedPixels) {
    OpenPictures();
    BuildRoom();
    std::vector<uint8_t> frame = Draw(kEye);
    const double centre = kH / 2.0, depth = 448, scale = kFocalY / depth;
    // The wall spans the rows whose centres lie between its top and bottom:
    // from ceil(100 - 87 * 192 / 448 - 0.5) to ceil(100 + 41 * 192 / 448 - 0.5).
    const int wallTop = 63, wallBottom = 118, checked = 160 * kH;
    int wrong = 0;
    for (int x = 80; x < 240; ++x) {
        double k = (x + 0.5 - kFocalX) / kFocalX;
        double along = 512 - (256 - k * depth);   // the east side runs north to south
        int u = static_cast<int>(std::floor(along)) & 63;
        for (int y = 0; y < kH; ++y) {
            const double z = 41 + (centre - (y + 0.5)) / scale;   // the height seen, on the wall
            const int v = static_cast<int>(std::floor(128 - z)) & 63;
            const int expected = y < wallTop      ? kCeilingColour
                                 : y < wallBottom ? WallTexel(u, v)
                                                  : kFloorColour;
            wrong += At(frame, x, y) != expected;
        }
    }
    // Rounding may put a texel border one pixel off here and there.
    EXPECT_LE(wrong, checked / 50) << wrong << " of " << checked << " pixels differ";
}

// The room split at x = 256: the east half a step up (24 unless given)
// with a ceiling 32 lower; returns the west SideDef of the step.
int BuildStepRoom(int step = 24) {
    int west = mapkit::AddSector(0, 0, 0, 128), east = mapkit::AddSector(0, 0, step, 96);
    const int wall = mapkit::AddRoom(0, 0, 256, 512, west) + 2;   // the east one, from (256, 512)
    level.lineDefs[wall].sideDef2 = static_cast<uint16_t>(mapkit::AddSideDef(east));
    level.lineDefs[wall].flags = 4;
    const int c = level.lineDefs[wall].start, d = level.lineDefs[wall].end;
    int e = mapkit::AddVertex(512, 512), f = mapkit::AddVertex(512, 0);
    mapkit::AddLineDef(c, e, mapkit::AddSideDef(east));
    mapkit::AddLineDef(e, f, mapkit::AddSideDef(east));
    mapkit::AddLineDef(f, d, mapkit::AddSideDef(east));
    DressLevel();
    std::strncpy(level.sideDefs[level.lineDefs[wall].sideDef1].middle, "-", 8);
    return level.lineDefs[wall].sideDef1;
}

// The game's light tables worked out by hand: a light level's step (light
// / 16; walls across x one step brighter, across y one darker) gives row
// 4 * (15 - step) far away; walls are brighter by half of 2560 / depth (at
// most 47), floors and ceilings by half of 160 / (depth / 16 + 1).
TEST_F(RoomTest, LightFollowsTheGamesTablesByDepthAndLevel) {
    OpenPictures();
    BuildRoom();
    const PreviewCamera lookingNorth = {256, 64, 41, kPi / 2};
    struct Case { const char* what; int light; PreviewCamera eye; int y, row; } cases[] = {
        {"east wall 448 ahead", 144, kEye, 100, 18},              // step 10: 20 - 5 / 2
        {"east wall 96 ahead", 144, {416, 256, 41, 0}, 100, 7},   // 20 - 26 / 2
        {"north wall 448 ahead", 144, lookingNorth, 100, 26},     // step 8: 28 - 5 / 2
        {"east wall, light 208", 208, kEye, 100, 2},              // step 14: 4 - 2
        {"north wall 96 ahead, light 208", 208, {256, 416, 41, kPi / 2}, 100, 0},
        {"east wall, light 0", 0, kEye, 100, 31},
        {"east wall 20 ahead, light 0", 0, {492, 256, 41, 0}, 100, 31},   // 56 - 47 / 2
        {"floor 79 ahead", 144, kEye, 199, 8},                    // step 9: 24 - 160 / 5 / 2
        {"floor 190 ahead", 144, kEye, 141, 18},                  // 24 - 160 / 12 / 2
        {"floor 309 ahead", 144, kEye, 125, 20},                  // 24 - 160 / 20 / 2
        {"ceiling 168 ahead", 144, kEye, 0, 17},                  // 24 - 160 / 11 / 2
        {"floor 79 ahead, light 0", 0, kEye, 199, 31},
    };
    for (const Case& c : cases) {
        level.sectors[0].light = static_cast<int16_t>(c.light);
        std::vector<uint8_t> lit = Draw(c.eye);
        // The same frame in the pictures' own colours: the difference is the row.
        assets.colormap.clear();
        std::vector<uint8_t> plain(lit.size());
        renderer.Draw(scene, assets, c.eye, plain.data(), kW, kH);
        EXPECT_EQ(c.row, At(lit, 160, c.y) - At(plain, 160, c.y)) << c.what;
    }
}

// An opening 88 units high (a sill of 8, a lintel at 96) 192 units ahead,
// the eye 41 up: 88 rows at 320 pixels across, as the game's 200 rows show
// it, and as many in proportion at every size; the upper and lower walls
// around it, the far Sector's ceiling, floor and wall through it.
TEST_F(RoomTest, DoorKeepsTheGamesProportionsAtEverySize) {
    OpenPictures(false);
    BuildStepRoom(8);
    struct Case { int width, height, top, bottom; } cases[] = {
        {320, 200, 45, 133}, {640, 480, 130, 306}, {1280, 1024, 292, 644}};
    for (const Case& c : cases) {
        std::vector<uint8_t> frame = Draw(kEye, c.width, c.height);
        auto pixel = [&](int y) { return At(frame, c.width / 2, y, c.width); };
        auto isWall = [&](int y) { return pixel(y) >= 64 && pixel(y) < 128; };
        EXPECT_TRUE(isWall(c.top - 1)) << c.width;
        EXPECT_EQ(kCeilingColour, pixel(c.top)) << c.width;
        EXPECT_EQ(kFloorColour, pixel(c.bottom - 1)) << c.width;
        EXPECT_TRUE(isWall(c.bottom)) << c.width;
        EXPECT_TRUE(isWall(c.height / 2)) << c.width;
    }
}

// The sky as the game maps it: 1024 texture columns around, counted with the
// angle of each column's ray (so the texture runs right to left across the
// screen), one texel row per row of the game's screen, row 100 at the
// horizon, the top row stretched where a screen shows more than the game's.
TEST_F(RoomTest, SkyFollowsTheViewAngleAsInTheGame) {
    OpenPictures(true, SkyColumnTexel);
    BuildRoom();
    std::strncpy(level.sectors[0].ceilingTexture, "F_SKY1", 8);
    struct Column { double degrees; int x, u; } columns[] = {
        {0, 0, 127},     // 44.9 degrees left: 1024 * 44.9 / 360
        {0, 159, 0},     {0, 160, 255},   // either side of straight ahead
        {0, 319, 128},   {30, 160, 84},   {-90, 159, 0},
    };
    for (const Column& c : columns) {
        std::vector<uint8_t> frame = Draw({64, 256, 41, c.degrees * kPi / 180});
        EXPECT_EQ(c.u, At(frame, c.x, 10)) << c.degrees << " degrees, column " << c.x;
    }
    OpenPictures(true, SkyRowTexel);
    struct Row { int width, height, y, v; } rows[] = {
        {320, 240, 0, 0},   {320, 240, 40, 33},    {320, 200, 0, 17},
        {1280, 1024, 0, 0}, {1280, 1024, 300, 55}};
    for (const Row& r : rows) {
        std::vector<uint8_t> frame = Draw(kEye, r.width, r.height);
        EXPECT_EQ(r.v, At(frame, r.width / 2, r.y, r.width)) << r.width << "x" << r.height << " row " << r.y;
    }
}

TEST_F(RoomTest, SpriteStandsOnTheFloorAndHidesBehindWalls) {
    OpenPictures();
    BuildRoom();
    mapkit::AddThing(320, 256, 2014);
    std::vector<uint8_t> frame = Draw(kEye);
    // 256 ahead: 16 x 16 units make 10 pixels across and 12 up, feet on
    // the floor, full bright at light 255.
    for (int y = 119; y < 131; ++y)
        for (int x = 155; x < 165; ++x)
            ASSERT_EQ(kSpriteColour, At(frame, x, y)) << x << "," << y;
    for (auto [x, y] : {std::pair{154, 125}, {165, 125}, {160, 118}, {160, 131}})
        EXPECT_NE(kSpriteColour, At(frame, x, y)) << x << "," << y;
    // Placed for the hard skills only, one player at skill 3 does not see it.
    level.things[0].flags = 4;
    frame = Draw(kEye);
    ChoosePreviewThings(scene, {PreviewThingSet::OnePlayer, 3});
    renderer.Draw(scene, assets, kEye, frame.data(), kW, kH);
    EXPECT_NE(kSpriteColour, At(frame, 160, 125));

    // Behind a wall across the room the bonus is hidden.
    int a = mapkit::AddVertex(200, 512), b = mapkit::AddVertex(200, 0);
    mapkit::AddLineDef(a, b, mapkit::AddSideDef(0));   // facing west, towards the eye
    DressLevel();
    frame = Draw(kEye);
    for (int x = 155; x < 165; ++x)
        EXPECT_NE(kSpriteColour, At(frame, x, 125));
}

// Middle textures of two-sided LineDefs show their opaque texels over what
// lies behind; their holes show it.
TEST_F(RoomTest, MiddleTexturesOfOpeningsAreSeeThroughWhereTransparent) {
    OpenPictures(false);
    std::strncpy(level.sideDefs[BuildStepRoom()].middle, "GRATE", 8);
    std::vector<uint8_t> frame = Draw(kEye);
    // From 96 (the lower ceiling) down 32 units, 192 ahead: rows 54 to 80.
    int grate = 0, behind = 0;
    for (int x = 100; x < 220; ++x) {
        const int p = At(frame, x, 60);
        grate += p == 250;
        behind += p == kCeilingColour || (p >= 64 && p < 128);
    }
    EXPECT_GT(grate, 40);
    EXPECT_GT(behind, 40);
}

// 64 Sectors in an 8 x 8 grid of rooms of different heights, all joined by
// two-sided LineDefs: from anywhere a player can stand, every pixel is
// drawn (a ray slipping past a LineDef would leave the colour 0 of an
// undrawn pixel).
TEST_F(PreviewTest, GeneratedLevelOf64SectorsHasNoHoles) {
    OpenPictures(false);
    const bigmap::BigMap grid = bigmap::Generate({8, 8, 192, 0, 64, 0, false});   // from -768 to 768
    auto take = [](auto& array, const auto& records) {
        array.records = records;
        array.count = static_cast<int32_t>(records.size());
    };
    take(level.vertices, grid.vertices);
    take(level.lineDefs, grid.lineDefs);
    take(level.sideDefs, grid.sideDefs);
    take(level.sectors, grid.sectors);
    for (int n = 0; n < level.sectors.count; ++n)
        level.sectors[n] = Sector{int16_t(n * 7 % 40), int16_t(160 + n * 13 % 96), {}, {}, 0, 0, 0};
    DressLevel();
    Prepare();
    std::vector<uint8_t> frame(static_cast<size_t>(kW) * kH);
    const double spots[][2] = {{-672, -672}, {-68, 32}, {732, -568}, {0, 0}, {-751, -751}, {751, 751}};
    for (const auto& spot : spots)
        for (int turn = 0; turn < 16; ++turn) {
            PreviewWalker walker = WalkerAt(scene, spot[0], spot[1], turn * 22.5 + 3);
            renderer.Draw(scene, assets, walker.camera, frame.data(), kW, kH);
            EXPECT_EQ(0, std::count(frame.begin(), frame.end(), 0)) << "at " << spot[0] << "," << spot[1] << " turn " << turn;
        }
}

// References out of range, missing textures and flats, open Sectors,
// LineDefs of no length and a camera in the void: drawn without fault.
TEST_F(PreviewTest, DamagedLevelsDrawWhatTheyCan) {
    OpenPictures();
    int sector = mapkit::AddSector(0, 0, 0, 128);
    mapkit::AddSector(0, 0, 200, 100);   // floor above the ceiling
    mapkit::AddRoom(0, 0, 256, 256, sector);
    DressLevel();
    std::strncpy(level.sideDefs[0].middle, "NOSUCH", 8);
    std::strncpy(level.sectors[0].floorTexture, "NOFLAT", 8);
    int a = mapkit::AddVertex(64, 64), b = mapkit::AddVertex(192, 64);
    mapkit::AddLineDef(a, b, 999, 1);                        // right side out of range
    mapkit::AddLineDef(b, 5000, mapkit::AddSideDef(0));      // end Vertex out of range
    mapkit::AddLineDef(a, a, mapkit::AddSideDef(0));         // no length
    int stray = mapkit::AddSideDef(0);
    level.sideDefs[stray].sector = 777;                      // Sector out of range
    mapkit::AddLineDef(a, mapkit::AddVertex(64, 200), stray, mapkit::AddSideDef(1), 4);
    int c = mapkit::AddVertex(300, 300), d = mapkit::AddVertex(400, 300);
    mapkit::AddLineDef(c, d, mapkit::AddSideDef(1));         // a Sector left open
    mapkit::AddThing(100, 100, 2014, -32768);
    mapkit::AddThing(-5000, 32000, 2014);                    // in the void
    mapkit::AddThing(128, 128, 9999);                        // no such type
    const PreviewCamera cameras[] = {{128, 128, 41, 0.3},   {128, 128, -500, 2},   {-3000, -3000, 41, 0.8},
                                     {32767, 32767, 5000, 4}, {64, 64, 41, 0},     {128, 64, 41, kPi / 2},
                                     {1e6, -1e6, 1e6, 1e3}};
    for (const PreviewCamera& camera : cameras)
        EXPECT_EQ(Draw(camera).size(), static_cast<size_t>(kW) * kH);
    // A missing wall texture is drawn in the plain colour, lit.
    std::vector<uint8_t> frame = Draw({128, 128, 41, kPi});
    EXPECT_EQ(PreviewRenderer::kMissingColour, At(frame, 160, 100));

    // An empty level, and a renderer asked for nothing.
    mapkit::ClearMap();
    std::vector<uint8_t> empty = Draw({0, 0, 41, 0});
    EXPECT_EQ(0, At(empty, 160, 100));
    renderer.Draw(scene, assets, {}, empty.data(), 0, 0);
}

// Walking: the eye on the floor, steps up to 24, higher steps and walls
// stop it; without clipping it passes everything and keeps its height.
TEST_F(PreviewTest, WalkerStepsUpToTwentyFourAndStopsAtWalls) {
    OpenPictures(false);
    for (int step : {24, 25}) {
        mapkit::ClearMap();
        BuildStepRoom(step);
        Prepare();
        PreviewWalker walker = WalkerAt(scene, 200, 256, 0);
        Walk(walker, 8);
        EXPECT_EQ(step == 24 ? 24 + 41 : 41, walker.camera.z);
        EXPECT_EQ(step == 24, walker.camera.x > 256) << "a step of 25 stops the walker";
    }
    // The west wall stops it short by its radius.
    PreviewWalker walker = WalkerAt(scene, 32, 256, 180);
    Walk(walker, 4);
    EXPECT_GE(walker.camera.x, kPlayerRadius);

    // Without clipping: through the west wall, at the height it had.
    walker.noclip = true;
    WalkerRaise(scene, walker, 100);
    Walk(walker, 4);
    EXPECT_LT(walker.camera.x, 0);
    EXPECT_EQ(141, walker.camera.z);
}

// One player sees the Things of the skill's flag (1-2 easy, 3 medium, 4-5
// hard) that are not kept for multiplayer games; no starts, and none that
// the game never draws. The sky follows the game and the episode or map.
TEST(PreviewTables, ThingsSeenAtTheSkillAndTheSkyOfTheLevel) {
    constexpr Flavour D = Flavour::Doom, H = Flavour::Heretic;
    struct Case { Flavour flavour; int type, flags, skill; bool seen; } cases[] = {
        {D, 2014, 1, 2, true}, {D, 2014, 1, 3, false}, {D, 2014, 2, 3, true}, {D, 2014, 4, 5, true},
        {D, 2014, 3, 4, false},
        {D, 2014, 0x17, 4, false},   // multiplayer only
        {D, 2014, 0x0f, 4, true},    // deaf
        {D, 1, 7, 4, false},   {D, 4, 7, 4, false},   {D, 11, 7, 4, false},   {D, 14, 7, 4, false},
        {D, 87, 7, 4, false},  {D, 88, 7, 4, true},   {H, 1203, 7, 4, false}, {H, 56, 7, 4, false},
        {H, 42, 7, 4, false},  {H, 87, 7, 4, true},
    };
    for (const Case& c : cases) {
        SetFlavour(c.flavour);
        EXPECT_EQ(c.seen, OnePlayerSees(c.type, c.flags, c.skill)) << c.type << " flags " << c.flags;
    }
    struct Sky { Flavour flavour; const char* level; const char* sky; } skies[] = {
        {D, "E4M2", "SKY4"},  {D, "MAP11", "SKY1"}, {D, "MAP12", "SKY2"}, {D, "MAP20", "SKY2"},
        {D, "MAP21", "SKY3"}, {H, "E2M3", "SKY2"},  {H, "E4M1", "SKY1"},  {H, "E5M1", "SKY3"},
    };
    for (const Sky& c : skies) {
        SetFlavour(c.flavour);
        EXPECT_EQ(c.sky, SkyTextureFor(c.level)) << c.level;
    }
    SetFlavour(Flavour::Heretic);
}

using editor_test::kIdle;
using editor_test::kScriptEnded;

// The 3D view in the running editor on Freedoom's MAP01: W opens it over the
// whole screen, the keys walk, Esc comes back to the map centred where the
// camera stood.
class PreviewSessionTest : public editor_test::EditorSession {};

TEST_F(PreviewSessionTest, WOpensTheViewAndEscCentresTheMapWhereTheCameraStood) {
    InstallPreview3d();
    std::string shot = session->Dir().file("view.png");
    ASSERT_EQ(kScriptEnded, Run("key W\nsnapshot " + shot + "\nkey Up\nkey w\nkey Left\nkey Right\nkey Esc\n" + kIdle));
    testkit::PngPicture picture;
    ASSERT_EQ("", testkit::ReadPng(shot, picture));
    std::set<int> colours(picture.pixels.begin(), picture.pixels.end());
    EXPECT_GT(colours.size(), 60u) << "a textured view, not the map";
    // Up and w each walked 16 units on from Player 1's start.
    auto isStart = [](const Thing& t) { return t.type == 1; };
    const Thing& start = *std::find_if(level.things.begin(), level.things.end(), isStart);
    EXPECT_NEAR(view.origX, start.x + 32 * std::cos(start.angle * kPi / 180), 1);
    EXPECT_NEAR(view.origY, start.y + 32 * std::sin(start.angle * kPi / 180), 1);
}

}  // namespace
