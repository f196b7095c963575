// The graphics layer on the headless screen: starting and leaving graphics,
// logical colours and the toolkit's drawing primitives.
#include <gtest/gtest.h>

#include <string>

#include "shell/config.h"
#include "shell/fatal.h"
#include "toolkit_fixture.h"

namespace {

using namespace toolkit_test;

// Whether the rectangle of the screen equals that of the reference.
bool SameBlock(const Canvas& ref, int x1, int y1, int x2, int y2) {
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            if (At(x, y) != ref.getpixel(x, y))
                return false;
    return true;
}

class GraphicsTest : public ToolkitTest {
protected:
    void WithPalette() {
        CloseGraphics();
        session.OpenPaletteIwad();
        InitGraphics(1);
        SetMenuBarMode(0);
    }
};

TEST_F(GraphicsTest, VideoModeIsLimitedToTheFourModesAndCloseReturnsToTheConsole) {
    const int modes[][4] = {{0, 640, 480, 1}, {7, 1280, 1024, 4}};   // asked, width, height, kept
    for (const auto& m : modes) {
        CloseGraphics();
        config.videoMode = static_cast<int16_t>(m[0]);
        InitGraphics(0);
        EXPECT_EQ(Screen().width(), m[1]);
        EXPECT_EQ(Screen().height(), m[2]);
        EXPECT_EQ(config.videoMode, m[3]);
        std::string size = std::to_string(m[1]) + "x" + std::to_string(m[2]);
        EXPECT_NE(session.Console().find("Graphics VESA256, " + size), std::string::npos);
    }
    CloseGraphics();
    EXPECT_FALSE(VideoActive());
    PrintAt(1, 25, 1, "Back on the console");
    EXPECT_NE(session.Console().find("Back on the console"), std::string::npos);
    CloseGraphics();   // twice is harmless
}

TEST_F(GraphicsTest, FailedStartEndsTheProgramAndFallsBackTo640x480) {
    const struct {
        int mode;
        const char* message;
        int saved;   // whether the configuration was saved with 640x480
    } cases[] = {
        {1, "Graphics error at 640x480 resolution, not VESA compatible?", 0},
        {3, "The requested resolution was not support, reset to 640x480 resolution!", 1},
    };
    for (const auto& c : cases) {
        CloseGraphics();
        config.videoMode = static_cast<int16_t>(c.mode);
        HeadlessFailNextStart("no display");
        try {
            InitGraphics(1);
            ADD_FAILURE() << "graphics started";
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), 5);
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(graphics.GraphicsMode, 0);
        ResetConfig();
        config.videoMode = 3;
        EXPECT_EQ(LoadConfig(), c.saved);
        EXPECT_EQ(config.videoMode, c.saved ? 1 : 3);
    }
    EXPECT_NE(session.Console().find("Graphics error: no display press a key"), std::string::npos);
}

TEST_F(GraphicsTest, MapColorWithAndWithoutTheGamePalette) {
    EXPECT_EQ(MapColor(3), 3);
    EXPECT_EQ(MapColor(24), 15);   // 16 colours only
    config.gamma = 5;
    WithPalette();
    EXPECT_EQ(MapColor(24), 245);
    EXPECT_EQ(MapColor(1), 195);
    config.colorMap[24] = 77;
    EXPECT_EQ(MapColor(24), 77);
    // Numbers outside the table never index past it.
    EXPECT_EQ(MapColor(99), 77);
    EXPECT_EQ(MapColor(-4), 0);
    uint8_t rgb[768];   // the game palette with the brightness added
    VideoGetPalette(rgb);
    EXPECT_EQ(rgb[3 * 40], 10 + 5);
    EXPECT_EQ(rgb[3 * 255], 63);
}

TEST_F(GraphicsTest, ButtonsShowAnArrowOrUnderlineTheirHotLetter) {
    WithPalette();
    DrawButton(1, "", -1, 0, 100, 100, 130, 120);
    Pixels plain = Copy();
    DrawButton(1, "\2", -1, 0, 100, 100, 130, 120);
    EXPECT_TRUE(Difference(plain, Copy()).within(102, 103, 108, 107));   // no text
    EXPECT_EQ(At(105, 107), MapColor(0));   // the down arrow's tip
    EXPECT_EQ(At(104, 107), MapColor(config.colorButton));
    DrawButton(1, "\1", -1, 0, 100, 100, 130, 120);
    EXPECT_EQ(At(105, 103), MapColor(0));   // the up arrow's tip
    EXPECT_EQ(At(104, 103), MapColor(config.colorButton));
    EXPECT_EQ(At(105, 107), MapColor(0));   // its foot

    DrawButton(1, "OK", -1, 0, 100, 100, 160, 120);
    plain = Copy();
    DrawButton(1, "OK", 0, 0, 100, 100, 160, 120);
    // The text starts at x 100 + (60 - 16) / 2, y 100 + (20 - 8) / 2; the
    // underscore lies in the first letter's cell, two rows lower.
    Box hot = Difference(plain, Copy());
    EXPECT_FALSE(hot.empty());
    EXPECT_TRUE(hot.within(122, 108, 129, 115));
}

TEST_F(GraphicsTest, ProgressBarIsLimitedToEmptyAndFull) {
    WithPalette();
    const struct {
        int percent, fill, ink;
        const char* text;
        int pause;
    } cases[] = {{150, 1, 15, "100%", 500}, {-5, 15, 0, "0%", 0}};
    for (const auto& c : cases) {
        int64_t start = PlatformMilliseconds();
        ProgressBar(100, 200, 300, 216, c.percent);
        EXPECT_EQ(PlatformMilliseconds() - start, c.pause);   // a pause at 100 percent
        Canvas ref(640, 480);
        ref.setfillstyle(kSolidFill, MapColor(c.fill));
        ref.bar(101, 201, 298, 214);
        ref.setcolor(MapColor(c.ink));
        ref.outtextxy(200, 202, c.text);
        EXPECT_TRUE(SameBlock(ref, 101, 201, 298, 214)) << c.percent;
    }
    EXPECT_EQ(At(100, 208), MapColor(17));   // the empty bar's frame, untouched by the fill
}

TEST_F(GraphicsTest, LabelBoxesStack) {
    WithPalette();
    LabelBox(20, 40, "ONE");
    LabelBox(-1, -1, "%s", "TWO");
    EXPECT_EQ(graphics.labelX, 20);
    EXPECT_EQ(graphics.labelY, 40 + 2 * (graphics.LineH + 2));
    Canvas ref(640, 480);
    ref.setfillstyle(kSolidFill, MapColor(15));
    ref.bar(21, 51, 59, 61);
    ref.setcolor(MapColor(0));
    ref.outtextxy(28, 52, "TWO");
    EXPECT_TRUE(SameBlock(ref, 21, 51, 59, 61));
    EXPECT_EQ(At(20, 55), MapColor(8));   // frame
    EXPECT_EQ(At(60, 55), MapColor(8));
}

TEST_F(GraphicsTest, RulerDrawnTwiceIsDrawnOnce) {
    config.rulerRadius = 512;
    graphics.mapScale = 0.125f;
    input.PointerX = 300;
    input.PointerY = 200;
    DrawRuler(1, 0);
    EXPECT_TRUE(before == Copy());   // the ruler is off
    graphics.ruler.on = true;
    DrawRuler(1, 0);
    Pixels shown = Copy();
    EXPECT_EQ(At(10, 200), MapColor(config.colorRuler) ^ before[200 * 640 + 10]);
    EXPECT_EQ(At(300, 10), MapColor(config.colorRuler) ^ before[10 * 640 + 300]);
    EXPECT_NE(At(300 - 64, 150), before[150 * 640 + 236]);   // 512 x 0.125
    EXPECT_NE(At(300 + 16, 190), before[190 * 640 + 316]);   // the third square
    DrawRuler(1, 0);
    EXPECT_TRUE(shown == Copy());
    input.PointerX = 100;   // removal draws where it was drawn
    DrawRuler(1, 1);
    EXPECT_TRUE(before == Copy());
    DrawRuler(1, 1);
    EXPECT_TRUE(before == Copy());
}

TEST_F(GraphicsTest, ClearMapAreaUsesTheThingsBackground) {
    SetMenuBarMode(1);
    config.colors[kColorBackGround] = 2;
    config.colors[kColorBackGroundThings] = 4;
    ClearMapArea();
    EXPECT_EQ(At(10, 100), 2);
    graphics.thingsPictureMode = true;
    ClearMapArea();
    EXPECT_EQ(At(10, 100), 4);
    EXPECT_EQ(At(10, 10), before[10 * 640 + 10]);     // the menu bar
    EXPECT_EQ(At(10, 470), before[470 * 640 + 10]);   // the status line
    EXPECT_TRUE(input.PointerHidden);
}

}  // namespace
