// The 3D preview's renderer and walker: a hand-made room whose every pixel
// can be worked out on paper, a generated level of 64 Sectors that must show
// no hole from anywhere, and damaged levels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/config.h"
#include "level/level.h"
#include "ops/preview3d_motion.h"
#include "support/map_kit.h"
#include "support/picture_kit.h"
#include "support/wad_session.h"

namespace {

using testkit::Bytes;

constexpr int kW = 320, kH = 200;
constexpr double kPi = 3.14159265358979323846;
// Colours of the hand-made pictures; none is 0, the colour of a missing wall.
constexpr int kFloorColour = 200, kCeilingColour = 170, kSpriteColour = 230;
int WallTexel(int u, int v) { return 64 + (u / 8) * 8 + v / 8; }
int SkyTexel(int u) { return 10 + u / 32; }

Bytes FlatLump(uint8_t colour) { return Bytes(64 * 64, colour); }

// Row r turns colour i into i + r, so that a pixel tells its light row.
Bytes ShiftingColormap() {
    Bytes lump;
    for (int r = 0; r < 34; ++r)
        for (int i = 0; i < 256; ++i)
            lump.push_back(static_cast<uint8_t>((i + r) & 255));
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

Bytes SpriteLump() {
    Bytes lump = SolidPicture(16, 16, [](int, int) { return kSpriteColour; });
    lump[4] = 8;    // left offset
    lump[6] = 16;   // top offset: it stands on its origin
    return lump;
}

// Every Sector lit 255 with the two flats, every side in the one texture.
void DressLevel() {
    for (Sector& s : level.sectors) {
        std::memcpy(s.floorTexture, "FLOOR\0\0\0", 8);
        std::memcpy(s.ceilingTexture, "CEIL\0\0\0\0", 8);
        s.light = 255;
    }
    for (SideDef& sd : level.sideDefs) {
        std::memcpy(sd.middle, "WALL\0\0\0\0", 8);
        std::memcpy(sd.upper, "WALL\0\0\0\0", 8);
        std::memcpy(sd.lower, "WALL\0\0\0\0", 8);
    }
}

class PreviewTest : public testkit::WadSession {
protected:
    PreviewTest() : testkit::WadSession(Flavour::Doom) {}
    void SetUp() override {
        testkit::WadSession::SetUp();
        mapkit::ClearMap();
    }
    void OpenPictures(bool withColormap = true) {
        testkit::Lumps lumps = {
            {"WALLP", SolidPicture(64, 64, WallTexel)},
            {"SKYP", SolidPicture(256, 128, [](int u, int) { return SkyTexel(u); })},
            {"PNAMES", testkit::PnamesLump({"WALLP", "SKYP"})},
            {"TEXTURE1", testkit::TextureLump({{"WALL", 64, 64, {{0, 0, 0}}}, {"SKY1", 256, 128, {{0, 0, 1}}}})},
            {"FLOOR", FlatLump(kFloorColour)},
            {"CEIL", FlatLump(kCeilingColour)},
            {"BON1A0", SpriteLump()},
        };
        if (withColormap)
            lumps.push_back({"COLORMAP", ShiftingColormap()});
        testkit::OpenPictureIwad(dir, lumps, Bytes(768, 0));
    }
    // Draws the level from the camera at kW x kH.
    std::vector<uint8_t> Draw(const PreviewCamera& camera) {
        assets = LoadPreviewAssets(level);
        scene = BuildPreviewScene(level, assets);
        std::vector<uint8_t> frame(static_cast<size_t>(kW) * kH, 0);
        renderer.Draw(scene, assets, camera, frame.data(), kW, kH);
        return frame;
    }
    static int At(const std::vector<uint8_t>& frame, int x, int y) { return frame[static_cast<size_t>(y) * kW + x]; }

    PreviewAssets assets;
    PreviewScene scene;
    PreviewRenderer renderer;
};

// The room: 512 x 512 units, floor 0, ceiling 128, light 255; the eye 41
// units up at (64, 256) looking east, so the east wall stands 448 units
// ahead across the middle of the screen.
class RoomTest : public PreviewTest {
protected:
    void BuildRoom() {
        int sector = mapkit::AddSector(0, 0, 0, 128);
        mapkit::AddRoom(0, 0, 512, 512, sector);
        DressLevel();
    }
    static PreviewCamera Eye() { return {64, 256, 41, 0}; }
    // The documented light rule, written out again for a pixel at depth.
    static int ExpectedRow(double depth) {
        return std::min(31, static_cast<int>(std::max(0.0, depth - 128) / 96));
    }
};

TEST_F(RoomTest, WallFloorAndCeilingMatchTheirHandWorkedPixels) {
    OpenPictures();
    BuildRoom();
    std::vector<uint8_t> frame = Draw(Eye());
    const double focal = kW / 2.0, centre = kH / 2.0, depth = 448, scale = focal / depth;
    // The wall spans the rows whose centres lie between its top and bottom.
    const int wallTop = static_cast<int>(std::ceil(centre - (128 - 41) * scale - 0.5));
    const int wallBottom = static_cast<int>(std::ceil(centre + 41 * scale - 0.5));
    ASSERT_EQ(69, wallTop);
    ASSERT_EQ(115, wallBottom);
    int checked = 0, wrong = 0;
    for (int x = 80; x < 240; ++x) {
        double k = (x + 0.5 - focal) / focal;
        double along = 512 - (256 - k * depth);   // the east side runs north to south
        int u = static_cast<int>(std::floor(along)) & 63;
        for (int y = 0; y < kH; ++y) {
            int expected;
            if (y < wallTop) {
                double d = (128 - 41) * focal / (centre - (y + 0.5));
                expected = kCeilingColour + ExpectedRow(d);
            } else if (y < wallBottom) {
                double z = 41 + (centre - (y + 0.5)) / scale;
                int v = static_cast<int>(std::floor(128 - z)) & 63;
                expected = WallTexel(u, v) + ExpectedRow(depth);
            } else {
                double d = 41 * focal / ((y + 0.5) - centre);
                expected = kFloorColour + ExpectedRow(d);
            }
            ++checked;
            wrong += At(frame, x, y) != expected;
        }
    }
    // Rounding may put a texel border one pixel off here and there.
    EXPECT_LE(wrong, checked / 50) << wrong << " of " << checked << " pixels differ";
}

TEST_F(RoomTest, LightFollowsTheSectorAndWithoutColormapColoursStayFull) {
    OpenPictures();
    BuildRoom();
    level.sectors[0].light = 100;   // 6 steps of 16: row 18 at the eye
    std::vector<uint8_t> dark = Draw(Eye());
    level.sectors[0].light = 255;
    std::vector<uint8_t> bright = Draw(Eye());
    EXPECT_EQ(18, At(dark, 160, 90) - At(bright, 160, 90));

    // A missing COLORMAP: every light level draws the pictures' own colours.
    OpenPictures(false);
    std::vector<uint8_t> plain = Draw(Eye());
    EXPECT_EQ(kFloorColour, At(plain, 160, 199));
    EXPECT_EQ(kCeilingColour, At(plain, 160, 0));
}

TEST_F(RoomTest, SkyCeilingShowsTheSkyTextureUnlit) {
    OpenPictures();
    BuildRoom();
    std::memcpy(level.sectors[0].ceilingTexture, "F_SKY1\0\0", 8);
    std::vector<uint8_t> frame = Draw(Eye());
    std::set<int> sky;
    for (int u = 0; u < 256; u += 32)
        sky.insert(SkyTexel(u));
    for (int x = 0; x < kW; x += 7)
        EXPECT_TRUE(sky.count(At(frame, x, 10))) << "column " << x;
    // Turning a quarter moves the sky a quarter of its 1024 columns around.
    std::vector<uint8_t> turned = Draw({64, 256, 41, kPi / 2});
    EXPECT_TRUE(sky.count(At(turned, 160, 10)));
}

TEST_F(RoomTest, SpriteStandsOnTheFloorAndHidesBehindWalls) {
    OpenPictures();
    BuildRoom();
    mapkit::AddThing(320, 256, 2014);
    std::vector<uint8_t> frame = Draw(Eye());
    // 256 ahead: 16 x 16 units make 10 x 10 pixels, feet on the floor.
    const int lit = kSpriteColour + ExpectedRow(256);
    for (int y = 116; y < 126; ++y)
        for (int x = 155; x < 165; ++x)
            ASSERT_EQ(lit, At(frame, x, y)) << x << "," << y;
    EXPECT_NE(lit, At(frame, 154, 120));
    EXPECT_NE(lit, At(frame, 165, 120));
    EXPECT_NE(lit, At(frame, 160, 115));
    EXPECT_NE(lit, At(frame, 160, 126));

    // Behind a wall across the room the bonus is hidden.
    int a = mapkit::AddVertex(200, 512), b = mapkit::AddVertex(200, 0);
    mapkit::AddLineDef(a, b, mapkit::AddSideDef(0));   // facing west, towards the eye
    DressLevel();
    frame = Draw(Eye());
    for (int x = 155; x < 165; ++x)
        EXPECT_NE(lit, At(frame, x, 120));
}

// The room split at x = 256: the east half a step up (24 unless given)
// with a ceiling 32 lower; returns the west SideDef of the step.
int BuildStepRoom(int step = 24) {
    int west = mapkit::AddSector(0, 0, 0, 128), east = mapkit::AddSector(0, 0, step, 96);
    int a = mapkit::AddVertex(0, 0), b = mapkit::AddVertex(0, 512), c = mapkit::AddVertex(256, 512),
        d = mapkit::AddVertex(256, 0), e = mapkit::AddVertex(512, 512), f = mapkit::AddVertex(512, 0);
    mapkit::AddLineDef(a, b, mapkit::AddSideDef(west));
    mapkit::AddLineDef(b, c, mapkit::AddSideDef(west));
    mapkit::AddLineDef(d, a, mapkit::AddSideDef(west));
    int stepWest = mapkit::AddSideDef(west);
    mapkit::AddLineDef(c, d, stepWest, mapkit::AddSideDef(east), 4);
    mapkit::AddLineDef(c, e, mapkit::AddSideDef(east));
    mapkit::AddLineDef(e, f, mapkit::AddSideDef(east));
    mapkit::AddLineDef(f, d, mapkit::AddSideDef(east));
    DressLevel();
    std::memcpy(level.sideDefs[stepWest].middle, "-\0\0\0\0\0\0\0", 8);
    return stepWest;
}

TEST_F(RoomTest, TwoSidedLinesDrawUpperAndLowerWallsAndOpenings) {
    OpenPictures(false);
    BuildStepRoom();
    std::vector<uint8_t> frame = Draw(Eye());
    const double focal = 160, centre = 100;
    auto row = [&](double z, double depth) {
        return static_cast<int>(std::ceil(centre - (z - 41) * focal / depth - 0.5));
    };
    // At the step (192 ahead): wall texture from 128 down to 96, an opening,
    // then wall from 24 down to 0; beyond, the far wall between 96 and 24.
    std::set<int> wall;
    for (int u = 0; u < 64; ++u)
        for (int v = 0; v < 64; ++v)
            wall.insert(WallTexel(u, v));
    auto isWall = [&](int y) { return wall.count(At(frame, 160, y)) > 0; };
    EXPECT_TRUE(isWall(row(128, 192)));
    EXPECT_TRUE(isWall(row(96, 192) - 1));
    EXPECT_EQ(kCeilingColour, At(frame, 160, row(96, 192) + 1));   // the far ceiling
    EXPECT_TRUE(isWall(row(60, 448)));                                // the far wall
    EXPECT_EQ(kFloorColour, At(frame, 160, row(24, 192) - 1));     // the far floor
    EXPECT_TRUE(isWall(row(24, 192)));
    EXPECT_TRUE(isWall(row(0, 192) - 1));
    EXPECT_EQ(kFloorColour, At(frame, 160, row(0, 192)));
}

// Middle textures of two-sided LineDefs show their opaque texels once, over
// what lies behind; their holes show it.
TEST_F(RoomTest, MiddleTexturesOfOpeningsAreSeeThroughWhereTransparent) {
    OpenPictures(false);
    int stepWest = BuildStepRoom();
    std::memcpy(level.sideDefs[stepWest].middle, "GRATE\0\0\0", 8);
    testkit::Lumps lumps;
    // GRATE: 64 x 32, only its even columns drawn.
    testkit::Columns columns(64);
    for (int u = 0; u < 64; u += 2)
        columns[static_cast<size_t>(u)] = {{0, Bytes(32, 250)}};
    testkit::OpenPictureIwad(dir,
                             {{"WALLP", SolidPicture(64, 64, WallTexel)},
                              {"GRATEP", testkit::PictureLump(64, 32, columns)},
                              {"PNAMES", testkit::PnamesLump({"WALLP", "GRATEP"})},
                              {"TEXTURE1", testkit::TextureLump({{"WALL", 64, 64, {{0, 0, 0}}},
                                                                 {"GRATE", 64, 32, {{0, 0, 1}}}})},
                              {"FLOOR", FlatLump(kFloorColour)},
                              {"CEIL", FlatLump(kCeilingColour)}},
                             Bytes(768, 0));
    std::vector<uint8_t> frame = Draw(Eye());
    // From 96 (the lower ceiling) down 32 units, 192 ahead: rows 54 to 80.
    int grate = 0, behind = 0;
    for (int x = 100; x < 220; ++x) {
        grate += At(frame, x, 60) == 250;
        int p = At(frame, x, 60);
        behind += p == kCeilingColour || (p >= 64 && p < 128);
        EXPECT_NE(250, At(frame, x, 90)) << "below the texture's one height, column " << x;
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
    constexpr int kSide = 8, kSize = 192;
    std::vector<int> grid((kSide + 1) * (kSide + 1));
    for (int j = 0; j <= kSide; ++j)
        for (int i = 0; i <= kSide; ++i)
            grid[j * (kSide + 1) + i] = mapkit::AddVertex(i * kSize, j * kSize);
    for (int n = 0; n < kSide * kSide; ++n)
        mapkit::AddSector(0, 0, (n * 7) % 40, 160 + (n * 13) % 96);
    auto sectorAt = [&](int i, int j) { return i < 0 || j < 0 || i >= kSide || j >= kSide ? -1 : j * kSide + i; };
    auto join = [&](int v1, int v2, int right, int left) {
        int s1 = right >= 0 ? mapkit::AddSideDef(right) : -1;
        int s2 = left >= 0 ? mapkit::AddSideDef(left) : -1;
        if (s1 < 0)
            mapkit::AddLineDef(v2, v1, s2);
        else
            mapkit::AddLineDef(v1, v2, s1, s2, s2 >= 0 ? 4 : 1);
    };
    for (int j = 0; j <= kSide; ++j)
        for (int i = 0; i < kSide; ++i)   // along x: the right side is below (south)
            join(grid[j * (kSide + 1) + i], grid[j * (kSide + 1) + i + 1], sectorAt(i, j - 1), sectorAt(i, j));
    for (int i = 0; i <= kSide; ++i)
        for (int j = 0; j < kSide; ++j)   // along y: the right side is east
            join(grid[j * (kSide + 1) + i], grid[(j + 1) * (kSide + 1) + i], sectorAt(i, j), sectorAt(i - 1, j));
    DressLevel();
    assets = LoadPreviewAssets(level);
    scene = BuildPreviewScene(level, assets);
    std::vector<uint8_t> frame(static_cast<size_t>(kW) * kH);
    const double spots[][2] = {{96, 96}, {700, 800}, {1500, 200}, {768, 768}, {17, 17}, {1519, 1519}};
    for (const auto& spot : spots)
        for (int turn = 0; turn < 16; ++turn) {
            PreviewWalker walker = WalkerAt(scene, spot[0], spot[1], turn * 22.5 + 3);
            renderer.Draw(scene, assets, walker.camera, frame.data(), kW, kH);
            size_t holes = 0;
            for (uint8_t p : frame)
                holes += p == 0;
            EXPECT_EQ(0u, holes) << "at " << spot[0] << "," << spot[1] << " turn " << turn;
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
    std::memcpy(level.sideDefs[0].middle, "NOSUCH\0\0", 8);
    std::memcpy(level.sectors[0].floorTexture, "NOFLAT\0\0", 8);
    int a = mapkit::AddVertex(64, 64), b = mapkit::AddVertex(192, 64);
    mapkit::AddLineDef(a, b, 999, 1);                        // right side out of range
    mapkit::AddLineDef(b, 5000, mapkit::AddSideDef(0));      // end Vertex out of range
    mapkit::AddLineDef(a, a, mapkit::AddSideDef(0));         // no length
    int stray = mapkit::AddSideDef(0);
    level.sideDefs[stray].sector = 777;                      // Sector out of range
    mapkit::AddLineDef(a, mapkit::AddVertex(64, 200), stray, mapkit::AddSideDef(1), 4);
    int c = mapkit::AddVertex(300, 300), d = mapkit::AddVertex(400, 300);
    mapkit::AddLineDef(c, d, mapkit::AddSideDef(1));         // a Sector left open
    mapkit::AddThing(100, 100, 2014);
    mapkit::AddThing(-5000, 32000, 2014);                    // in the void
    mapkit::AddThing(128, 128, 9999);                        // no such type
    level.things[0].angle = -32768;
    const PreviewCamera cameras[] = {{128, 128, 41, 0.3},   {128, 128, -500, 2},   {-3000, -3000, 41, 0.8},
                                     {32767, 32767, 5000, 4}, {64, 64, 41, 0},     {128, 64, 41, kPi / 2},
                                     {1e6, -1e6, 1e6, 1e3}};
    for (const PreviewCamera& camera : cameras) {
        std::vector<uint8_t> frame = Draw(camera);
        EXPECT_EQ(frame.size(), static_cast<size_t>(kW) * kH);
    }
    // A missing wall texture is drawn in the plain colour, lit.
    std::vector<uint8_t> frame = Draw({128, 128, 41, kPi});
    EXPECT_EQ(PreviewRenderer::kMissingColour, At(frame, 160, 100));

    // An empty level, and a renderer asked for nothing.
    mapkit::ClearMap();
    std::vector<uint8_t> empty = Draw({0, 0, 41, 0});
    EXPECT_EQ(0, At(empty, 160, 100));
    renderer.Draw(scene, assets, {}, empty.data(), 0, 0);
}

// Walking: the eye on the floor, steps up to 24, walls and low openings
// stop it; without clipping it passes everything and keeps its height.
TEST_F(PreviewTest, WalkerStepsUpToTwentyFourAndStopsAtWalls) {
    OpenPictures(false);
    for (int step : {24, 25}) {
        mapkit::ClearMap();
        BuildStepRoom(step);
        assets = LoadPreviewAssets(level);
        scene = BuildPreviewScene(level, assets);
        PreviewWalker walker = WalkerAt(scene, 200, 256, 0);
        EXPECT_EQ(41, walker.camera.z);
        for (int k = 0; k < 8; ++k)
            WalkerMove(scene, walker, 16, 0);
        if (step == 24) {
            EXPECT_GT(walker.camera.x, 256);
            EXPECT_EQ(24 + 41, walker.camera.z);
        } else {
            EXPECT_LT(walker.camera.x, 256 - kPlayerRadius + 1) << "a step of 25 stops the walker";
            EXPECT_EQ(41, walker.camera.z);
        }
    }
    // The east wall stops it short by its radius; sliding keeps the move along it.
    PreviewWalker walker = WalkerAt(scene, 32, 256, 180);
    for (int k = 0; k < 4; ++k)
        WalkerMove(scene, walker, 16, 0);
    EXPECT_GE(walker.camera.x, kPlayerRadius);
    PreviewWalker slanted = WalkerAt(scene, 32, 256, 135);
    for (int k = 0; k < 4; ++k)
        WalkerMove(scene, slanted, 16, 0);
    EXPECT_GT(slanted.camera.y, 256 + 30) << "slides north along the west wall";

    // Without clipping: through the west wall, at the height it had.
    walker.noclip = true;
    WalkerRaise(scene, walker, 100);
    double z = walker.camera.z;
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(WalkerMove(scene, walker, 16, 0));
    EXPECT_LT(walker.camera.x, 0);
    EXPECT_EQ(z, walker.camera.z);
    // Walking again, the eye height above the floor follows Q and E.
    walker = WalkerAt(scene, 100, 256, 0);
    WalkerRaise(scene, walker, 8);
    EXPECT_EQ(49, walker.camera.z);
    WalkerRaise(scene, walker, -100);
    EXPECT_GT(walker.camera.z, 0);
}

TEST(PreviewSky, TextureFollowsTheGameAndEpisodeOrMap) {
    struct Case {
        Flavour flavour;
        const char* level;
        const char* sky;
    } cases[] = {
        {Flavour::Doom, "E3M9", "SKY3"},    {Flavour::Doom, "E4M2", "SKY4"},   {Flavour::Doom, "MAP11", "SKY1"},
        {Flavour::Doom, "MAP12", "SKY2"},   {Flavour::Doom, "MAP20", "SKY2"},  {Flavour::Doom, "MAP21", "SKY3"},
        {Flavour::Heretic, "E2M3", "SKY2"}, {Flavour::Heretic, "E4M1", "SKY1"}, {Flavour::Heretic, "E5M1", "SKY3"},
    };
    for (const Case& c : cases) {
        SetFlavour(c.flavour);
        EXPECT_EQ(c.sky, SkyTextureFor(c.level)) << c.level;
    }
    SetFlavour(Flavour::Heretic);
}

}  // namespace
