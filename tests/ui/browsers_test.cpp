// The texture browser, the sprite views and the type choosers on a small
// IWAD of textures (in TEXTURE1 and TEXTURE2) and sprites with the game's
// palette: what keys and clicks choose, and pictures shown as the plain
// decoder sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "support/map_kit.h"
#include "support/picture_kit.h"
#include "support/png_reader.h"
#include "support/session_kit.h"
#include "ui/browsers.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/sprite_views.h"
#include "ui/toolkit.h"
#include "ui/type_choosers.h"
#include "wad/master.h"

namespace {

using namespace testkit;

// Pictures of patterns from colour 100 on are the ones the tests look for:
// no colour of the toolkit lies between 100 and 139 in the HERETIC colours.
constexpr int kSought = 100;

// A w x h patch whose pixel (x, y) is base + (x + 3y) % 40, with the
// rows from `hole` on transparent in every other column.
Bytes Pattern(int w, int h, int base, int hole = 1 << 20) {
    Columns columns(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) {
        Bytes pixels;
        for (int y = 0; y < (x % 2 ? std::min(h, hole) : h); ++y)
            pixels.push_back(static_cast<uint8_t>(base + (x + 3 * y) % 40));
        columns[static_cast<size_t>(x)].push_back({0, pixels});
    }
    return PictureLump(w, h, columns);
}

Image ScreenImage() { return {640, 480, Bytes(Screen().pixels(), Screen().pixels() + 640 * 480)}; }

class BrowserTest : public ::testing::Test {
protected:
    // Textures A00..A09 in TEXTURE1 and C00..C09 in TEXTURE2, each of two
    // patches, the second partly transparent over the first; the sprites
    // BBBBA0 and the imp's first frame in the sought colours, others not.
    void SetUp() override {
        std::vector<TextureDef> first, second;
        for (int i = 0; i < 10; ++i) {
            first.push_back({"A0" + std::to_string(i), 24, 20, {{0, 0, i % 2}, {8, 6, 2}}});
            second.push_back({"C0" + std::to_string(i), 32, 16, {{0, 0, 2}, {-4, 2, i % 2}}});
        }
        Bytes imp = Pattern(16, 20, kSought);
        imp[4] = 8, imp[6] = 20;   // its left and top offsets
        OpenPictureIwad(session.Dir(),
                        {{"TEXTURE1", TextureLump(first)}, {"TEXTURE2", TextureLump(second)},
                         {"PNAMES", PnamesLump({"P0", "P1", "P2"})}, {"P0", Pattern(16, 16, 60)},
                         {"P1", Pattern(20, 12, 110)}, {"P2", Pattern(12, 12, 160, 5)}, {"S_START", {}},
                         {"BBBBA0", Pattern(30, 40, kSought)}, {"IMPXA1", imp}, {"IMPXB1", Pattern(26, 8, 20)},
                         {"S_END", {}}, {"NOTPIC", Bytes(20, 0)}},
                        GreyPlaypal());
        InitGraphics(GraphicsPalette::Game);
        SetMenuBarMode(MenuBarMode::Shown);
        BuildTextureNames();
    }
    // The snapshot the script took into file.
    Image Snapshot(const std::string& file) const {
        PngPicture png;
        EXPECT_EQ(ReadPng(session.Dir().file(file), png), "");
        return Image{png.width, png.height, png.pixels};
    }
    std::string Shot(const std::string& file) const { return "snapshot " + session.Dir().file(file); }

    Session session;
};

// The names sorted: "-", A00..A09, C00..C09.
TEST_F(BrowserTest, TextureBrowserKeysAndClicksChooseTheRightName) {
    const struct { const char *what, *start, *script, *chosen; } cases[] = {   // chosen null: none
        {"Enter takes the start, whatever its case", "c05", "key Enter", "C05"},
        {"an unknown start is the first name", "B", "key Right\nkey Enter", "A00"},
        {"Down moves a row of 8 at half size", nullptr, "key Down\nkey Enter", "A07"},
        {"+ makes rows of 4", nullptr, "key +\nkey Down\nkey Enter", "A03"},
        {"Up stops at the first", "A01", "key Up\nkey Enter", "-"},
        {"a letter no name begins with", nullptr, "key B\nkey Enter", "A09"},
        {"a letter and Right", nullptr, "key C\nkey Right\nkey Enter", "C01"},
        {"PgDn stops at the last", nullptr, "key PgDn\nkey Enter", "C09"},
        {"PgDn at full size moves a page of 4 x 3", nullptr, "key +\nkey PgDn\nkey Enter", "C01"},
        {"Home", "C03", "key Home\nkey Left\nkey Enter", "-"},
        {"a click on the third cell", nullptr, "click left 180 40", "A01"},
        {"a click between cells", nullptr, "click left 170 40\nkey Enter", "-"},
        {"Esc", "C05", "key Esc", nullptr},
        {"right click", "C05", "click right 300 200", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        browsers = BrowserState{};
        session.Script(std::string("move 639 479\n") + c.script);
        char chosen[kChosenNameSize] = "old";
        const Image before = ScreenImage();
        EXPECT_EQ(BrowseTextures(c.start, chosen), c.chosen ? 1 : 0);
        EXPECT_STREQ(chosen, c.chosen ? c.chosen : "old");
        EXPECT_TRUE(ScreenImage().pixels == before.pixels);
        EXPECT_EQ(toolkit.savedAreas, 0);
        EXPECT_TRUE(graphics.menuBarShown);
    }
}

// BBBB is 30 x 40: the box centres it, shrinks it to fit and falls back on
// its rotations.
TEST_F(BrowserTest, TheSpriteBoxCentresAndShrinksAndFindsRotations) {
    constexpr int kNothing = 99;
    const struct { const char* name; int size, result, mag; } cases[] = {   // size: the box's side
        {"BBBBA0", 64, kDrawn, 1},       {"BBBBA0", 32, kDrawn, 0},
        {"BBBBA0", 12, kDrawn, -2},      {"BBBBA1", 64, kDrawn, 1},
        {"BBBBB1", 64, kNotDrawn, kNothing}, {"NOTPIC", 64, kDrawFailed, kNothing},
    };
    SetMenuBarMode(MenuBarMode::Hidden);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(c.size));
        ClearScreen();
        EXPECT_EQ(DrawSpriteBox(100, 100, 100 + c.size - 1, 100 + c.size - 1, c.name), c.result);
        const int w = Scaled(30, c.mag), h = Scaled(40, c.mag);
        EXPECT_TRUE(c.mag == kNothing || Shows(ScreenImage(), 100 + c.size / 2 - w / 2, 100 + c.size / 2 - h / 2,
                                               w, h, PlainPicture(Pattern(30, 40, kSought)), c.mag, MapColor(8)));
    }
}

TEST_F(BrowserTest, TheAnimationStopsAtAKeyAndGoesOnWhereItStopped) {
    // The first frame stays five seconds: a key before them keeps it.
    session.Script("key A");
    MissionAnimation(10, 10, 169, 169, "E1M1");
    EXPECT_EQ(spriteViews.missionFrame, 0);
    EXPECT_EQ(KeyWaiting(), 1);   // left for the level list
    FlushKeys(0);
    // Six seconds later the second frame shows.
    session.Script("wait 6000\nkey B");
    MissionAnimation(10, 10, 169, 169, "E1M1");
    EXPECT_EQ(spriteViews.missionFrame, 1);
    FlushKeys(0);
    // The frames go round: after the last comes the first, the imp at twice its size.
    spriteViews.missionFrame = 1 << 20;
    session.Script("move 639 479\n" + Shot("first.png") + "\nkey D");
    MissionAnimation(10, 10, 169, 169, "E1M1");
    EXPECT_EQ(spriteViews.missionFrame, 0);
    // Its offsets (8, 20) put it at the box's anchor (80, 140).
    EXPECT_TRUE(Shows(Snapshot("first.png"), 10 + 80 - 16, 10 + kMenuBarHeight + 140 - 40, 32, 40,
                      PlainPicture(Pattern(16, 20, kSought)), 2, MapColor(8)));
}

TEST_F(BrowserTest, TheEntrySceneEndsEveryFewCallsInTheScreenSaver) {
    // Episode games show the scenes 0, 3 and 6; the third holds and runs the
    // screen saver until a key.
    session.Script("move 639 479");
    SpriteShow(SpriteShowStyle::EntryScene);
    EXPECT_TRUE(Shows(ScreenImage(), 40, 300, 16, 20, PlainPicture(Pattern(16, 20, kSought)), 1,
                      MapColor(config.colors[kColorBackGround])));   // the imp of scene 0
    EXPECT_EQ(spriteViews.showIndex, 3);
    spriteViews.showIndex = 6;
    session.Script("wait 3000\nkey Z");
    SpriteShow(SpriteShowStyle::EntryScene);
    EXPECT_EQ(spriteViews.showIndex, 9);
    EXPECT_EQ(KeyWaiting(), 0);   // the key that ended the saver is gone
    EXPECT_TRUE(graphics.menuBarShown);   // the editor's drawing area is back
}

// What the type choosers write into two Things, LineDefs or Sectors of the
// types given: the later game's Things left out of episode games; under Boom
// (port rows) the generalized types' dialog, the long lists a page at a
// time, numbers above 9999 and Sector types set under Boom's bits; and
// "Menu Nesting", which brings a list left with Esc back to the menu.
TEST_F(BrowserTest, TypeChoosersWriteTheChosenTypeIntoEveryObject) {
    enum Game { kHeretic, kDoomEpisodes, kDoomMaps };
    mapkit::ClearMap();
    std::vector<int> things = {mapkit::AddThing(0, 0, 1), mapkit::AddThing(0, 0, 1)};
    int v0 = mapkit::AddVertex(0, 0), v1 = mapkit::AddVertex(64, 0);
    std::vector<int> lines = {mapkit::AddLineDef(v0, v1, -1, -1, 1, 0), mapkit::AddLineDef(v1, v0, -1, -1, 1, 0)};
    std::vector<int> sectors = {mapkit::AddSector(0, 0), mapkit::AddSector(0, 0)};
    const std::string kGeneralized = "key End\nkey Up\nkey Enter\n";
    std::string raiseFloor = "key Home\n";
    for (int i = 0; i < 8; ++i)
        raiseFloor += "key Down\n";
    struct Case {
        const char* what;
        char kind;   // 't' Things, 'l' LineDefs, 's' Sectors
        Game game;
        bool port, nesting;
        int first, second;
        std::string script;
        int result;   // the type both objects have afterwards, -1: unchanged
    } cases[] = {
        {"a number of no row", 't', kHeretic, false, false, 11, 1, "key Up\nkey Enter\ntype 1234\nkey Enter", 1234},
        {"the number 0 changes nothing", 't', kHeretic, false, false, 11, 1, "key Up\nkey Enter\ntype 0\nkey Enter",
         -1},
        {"a cancelled number", 't', kHeretic, false, false, 11, 1, "key Up\nkey Enter\ntype 55\nkey Esc", -1},
        {"Exit", 't', kHeretic, false, false, 11, 1, "key Home\nkey Enter", -1},
        {"a cancelled list", 't', kHeretic, false, false, 11, 1, "key Enter\nkey Esc", -1},
        {"an unknown type opens the last category", 't', kHeretic, false, false, 9999, 1, "key Enter\nkey Enter",
         1202},
        {"HERETIC keys", 't', kHeretic, false, false, 73, 1, "key Enter\nkey End\nkey Enter", 80},
        {"DOOM episodes leave out DOOM II weapons", 't', kDoomEpisodes, false, false, 2005, 1,
         "key Enter\nkey Down\nkey Down\nkey Enter", 2002},
        {"DOOM maps list them", 't', kDoomMaps, false, false, 2005, 1, "key Enter\nkey Down\nkey Down\nkey Enter",
         82},
        {"Thing nesting after a cancelled list", 't', kHeretic, false, true, 1, 1,
         "key Enter\nkey Esc\nkey Enter\nkey End\nkey Enter\nkey Home\nkey Enter", 52},
        {"Normal sets 0", 'l', kDoomEpisodes, false, false, 26, 90, "key Home\nkey Down\nkey Enter", 0},
        {"a decimal value", 'l', kDoomEpisodes, false, false, 26, 90, "key End\nkey Enter\ntype 345\nkey Enter",
         345},
        {"Esc on LineDefs", 'l', kDoomEpisodes, false, false, 26, 90, "key Esc", -1},
        {"LineDef nesting after a cancelled list", 'l', kDoomEpisodes, false, true, 26, 90,
         "key Home\nkey Down\nkey Down\nkey Enter\nkey Esc\nkey Home\nkey Down\nkey Enter", 0},
        {"decimal value starts at the first Sector's", 's', kDoomEpisodes, false, false, 9, 0,
         "key End\nkey Enter\nkey Enter", 9},
        {"Health/Damage", 's', kDoomEpisodes, false, false, 9, 0, "key Up\nkey Enter\nkey Enter", 7},
        {"Normal", 's', kDoomEpisodes, false, false, 9, 0, "key Home\nkey Down\nkey Enter", 0},
        {"a new generalized type starts as a floor", 'l', kDoomEpisodes, true, false, 26, 26,
         kGeneralized + "key End\nkey Enter", 0x6000},
        {"a field from its menu", 'l', kDoomEpisodes, true, false, 26, 26,
         kGeneralized + "key Down\nkey Enter\nkey Down\nkey Enter\nkey End\nkey Enter", 0x6001},
        {"a generalized type keeps its fields", 'l', kDoomEpisodes, true, false, 0x3A63, 0x3A63,
         kGeneralized + "key End\nkey Enter", 0x3A63},
        {"the kind starts the fields anew", 'l', kDoomEpisodes, true, false, 0x3A63, 0x3A63,
         kGeneralized + "key Enter\nkey Home\nkey Down\nkey Enter\nkey End\nkey Enter", 0x3000},
        {"Esc in the dialog", 'l', kDoomEpisodes, true, false, 26, 26, kGeneralized + "key Esc", -1},
        {"the second page of a long list", 'l', kDoomEpisodes, true, false, 26, 26,
         raiseFloor + "key Enter\nkey End\nkey Enter\nkey Enter", 143},
        {"a number above 9999", 'l', kDoomEpisodes, true, false, 26, 26, "key End\nkey Enter\ntype 24721\nkey Enter",
         24721},
        {"the type under the bits", 's', kDoomEpisodes, true, false, 0x88, 0x88, "key Up\nkey Enter\nkey Enter", 0x87},
        {"a number with bits", 's', kDoomEpisodes, true, false, 0x88, 0x88, "key End\nkey Enter\ntype 2064\nkey Enter",
         2064},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetFlavour(c.game == kHeretic ? Flavour::Heretic : Flavour::Doom);
        master.gameStyle = c.game == kDoomMaps ? kStyleMaps : kStyleEpisodes;
        level.target = c.port ? MapTarget::Boom : MapTarget::Original;
        config.menuNesting = c.nesting;
        auto type = [&](int i) -> int16_t& {
            return c.kind == 't'   ? level.things[things[i]].type
                   : c.kind == 's' ? level.sectors[sectors[i]].type
                                   : level.lineDefs[lines[i]].type;
        };
        type(0) = static_cast<int16_t>(c.first), type(1) = static_cast<int16_t>(c.second);
        level.levelChanged = false;
        session.Script(c.script);
        ChooserResult result = c.kind == 't'   ? ChooseThingType(40, 40, things)
                               : c.kind == 's' ? ChooseSectorType(sectors)
                                               : ChooseLineDefType(40, 40, lines);
        const bool chosen = c.result >= 0;
        const bool changed = chosen && (c.result != c.first || c.result != c.second);
        EXPECT_EQ((std::vector<int>{type(0), type(1), result.chosen, result.changed, level.levelChanged,
                                    toolkit.savedAreas}),
                  (std::vector<int>{chosen ? c.result : c.first, chosen ? c.result : c.second, chosen, changed,
                                    changed, 0}));
    }
}

}  // namespace
