// The sprite and picture viewers, the sprite box, the level chooser's
// animation and the sprite show on a small HERETIC-style IWAD: the pictures
// shown are those the plain decoder reads, the animation stops at a key and
// goes on where it stopped.
#include "base/config.h"
#include "browser_fixture.h"
#include "pictures/picture.h"
#include "ui/input.h"
#include "ui/sprite_views.h"
#include "ui/toolkit.h"

namespace {

using namespace browser_test;

// Pictures of patterns from colour 100 on are the ones the tests look for:
// no colour of the toolkit lies between 100 and 139 in the HERETIC colours.
constexpr int kSought = 100;

// The upper left corner of the pixels of colours kSought..kSought + 39.
bool Locate(const Image& image, int& x, int& y) {
    x = y = 1 << 20;
    for (int i = 0; i < image.width * image.height; ++i)
        if (image.pixels[static_cast<size_t>(i)] >= kSought && image.pixels[static_cast<size_t>(i)] < kSought + 40) {
            x = std::min(x, i % image.width);
            y = std::min(y, i / image.width);
        }
    return y < image.height;
}

// The picture with its left and top offsets set.
Bytes WithOffsets(Bytes lump, int left, int top) {
    lump[4] = static_cast<uint8_t>(left), lump[6] = static_cast<uint8_t>(top);
    return lump;
}

class SpriteViewTest : public BrowserTest {
protected:
    void SetUp() override {
        Open({{"S_START", {}},
              {"AAAAA0", Pattern(10, 12, 20)},
              {"BBBBA0", Pattern(30, 40, kSought)},
              {"CCCCA0", Pattern(10, 12, 20)},
              {"IMPXA1", WithOffsets(Pattern(16, 20, kSought), 8, 20)},
              {"IMPXB1", Pattern(26, 8, 20)},
              {"S_END", {}},
              {"PICX", Pattern(40, 30, kSought)},
              {"NOTPIC", Bytes(20, 0)}});
    }
    // The picture the script's snapshot shows in colours kSought and up is
    // grid at magnification mag.
    ::testing::AssertionResult ShowsSought(const std::string& file, const Bytes& lump, int mag) {
        Image image = Snapshot(file);
        int x, y;
        if (!Locate(image, x, y))
            return ::testing::AssertionFailure() << "nothing shown";
        Grid grid = PlainPicture(lump);
        return Shows(image, x, y, grid.width * mag, grid.height * mag, grid, mag, MapColor(8));
    }
};

TEST_F(SpriteViewTest, TheSpriteBoxCentresAndShrinksAndFindsRotations) {
    constexpr int kNothing = 99;
    struct Case {
        const char* name;
        int size;      // the box's side
        int result;
        int mag;       // how the sprite is shown
    } cases[] = {
        {"BBBBA0", 64, kDrawn, 1},       {"BBBBA0", 32, kDrawn, 0},
        {"BBBBA0", 12, kDrawn, -2},      {"BBBBA1", 64, kDrawn, 1},
        {"BBBBB1", 64, kNotDrawn, kNothing}, {"NOTPIC", 64, kDrawFailed, kNothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(c.size));
        SetMenuBarMode(MenuBarMode::Hidden);
        ClearScreen();
        EXPECT_EQ(DrawSpriteBox(100, 100, 100 + c.size - 1, 100 + c.size - 1, c.name), c.result);
        Image screen{640, 480, Bytes(Screen().pixels(), Screen().pixels() + 640 * 480)};
        int x, y;
        bool shown = Locate(screen, x, y);
        EXPECT_EQ(shown, c.mag != kNothing);
        if (!shown || c.mag == kNothing)
            continue;
        Grid grid = PlainPicture(Pattern(30, 40, kSought));
        int w = Scaled(30, c.mag), h = Scaled(40, c.mag);
        EXPECT_EQ(x, 100 + c.size / 2 - w / 2);
        EXPECT_EQ(y, 100 + c.size / 2 - h / 2);
        EXPECT_TRUE(Shows(screen, x, y, w, h, grid, c.mag, MapColor(8)));
    }
}

TEST_F(SpriteViewTest, TheAnimationStopsAtAKeyAndGoesOnWhereItStopped) {
    MissionAnimation(0, 0, 159, 159, nullptr);   // no name: nothing, no input read
    EXPECT_EQ(spriteViews.missionFrame, 0);
    // The first frame stays five seconds: a key before them keeps it.
    session.Script("key A");
    MissionAnimation(10, 10, 169, 169, "E1M1");
    EXPECT_EQ(spriteViews.missionFrame, 0);
    int key = 0;
    EXPECT_EQ(ReadKey(&key), 1);
    EXPECT_EQ(key, 'A');
    // Six seconds later the second frame shows, and stays while the next
    // call's first five seconds run.
    session.Script("wait 6000\nkey B");
    MissionAnimation(10, 10, 169, 169, "E1M1");
    EXPECT_EQ(spriteViews.missionFrame, 1);
    FlushKeys(0);
    session.Script("wait 4000\nkey C");
    MissionAnimation(10, 10, 169, 169, "E1M1");
    EXPECT_EQ(spriteViews.missionFrame, 1);
    FlushKeys(0);
    // The frames go round: after the last comes the first.
    spriteViews.missionFrame = 1 << 20;
    session.Script("move 639 479\n" + Shot("first.png") + "\nkey D");
    MissionAnimation(10, 10, 169, 169, "E1M1");
    EXPECT_EQ(spriteViews.missionFrame, 0);
    EXPECT_TRUE(ShowsSought("first.png", Pattern(16, 20, kSought), 2));
}

TEST_F(SpriteViewTest, TheEntrySceneEndsEveryFewCallsInTheScreenSaver) {
    // Episode games show the scenes 0, 3 and 6; the third holds and runs the
    // screen saver until a key.
    session.Script("move 639 479");
    SpriteShow(SpriteShowStyle::EntryScene);
    Image screen{640, 480, Bytes(Screen().pixels(), Screen().pixels() + 640 * 480)};
    EXPECT_TRUE(Shows(screen, 40, 300, 16, 20, PlainPicture(Pattern(16, 20, kSought)), 1,
                      MapColor(config.colors[kColorBackGround])));   // the imp of scene 0
    EXPECT_EQ(spriteViews.showIndex, 3);
    spriteViews.showIndex = 6;
    session.Script("wait 3000\nkey Z");
    SpriteShow(SpriteShowStyle::EntryScene);
    EXPECT_EQ(spriteViews.showIndex, 9);
    EXPECT_EQ(KeyWaiting(), 0);   // the key that ended the saver is gone
    EXPECT_TRUE(graphics.menuBarShown);   // the editor's drawing area is back
    // The next call starts again from the first scene.
    session.Script("");
    SpriteShow(SpriteShowStyle::EntryScene);
    EXPECT_EQ(spriteViews.showIndex, 3);
}

}  // namespace
