// The graphics layer on the headless screen.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/canvas.h"
#include "platform/png_writer.h"
#include "platform/video.h"
#include "shell/config.h"
#include "shell/fatal.h"
#include "support/headless_kit.h"
#include "support/png_reader.h"
#include "ui/graphics.h"
#include "ui/input.h"

namespace {

using Pixels = std::vector<uint8_t>;

Pixels Copy(const Canvas& canvas) {
    return Pixels(canvas.pixels(), canvas.pixels() + canvas.width() * canvas.height());
}

// Whether the rectangle of the screen equals that of the reference.
bool SameBlock(const Canvas& a, const Canvas& b, int x1, int y1, int x2, int y2) {
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            if (a.pixels()[y * a.width() + x] != b.pixels()[y * b.width() + x])
                return false;
    return true;
}

// The bounding box of the pixels that differ between two pictures of the screen.
struct Box {
    int x1 = 1 << 20, y1 = 1 << 20, x2 = -1, y2 = -1;
    bool empty() const { return x2 < 0; }
};
Box Difference(const Pixels& a, const Pixels& b, int width) {
    Box box;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        int x = int(i % width), y = int(i / width);
        box.x1 = std::min(box.x1, x), box.y1 = std::min(box.y1, y);
        box.x2 = std::max(box.x2, x), box.y2 = std::max(box.y2, y);
    }
    return box;
}

class GraphicsTest : public ::testing::Test {
protected:
    // Graphics mode 640x480, whole-screen viewport so that viewport and
    // screen coordinates agree.
    void Start(int withPalette) {
        if (withPalette)
            session.OpenPaletteIwad();
        InitGraphics(withPalette);
        SetMenuBarMode(0);
    }
    int At(int x, int y) { return Screen().getpixel(x, y); }
    testkit::HeadlessSession session{"\n\n"};
};

TEST_F(GraphicsTest, VideoModeIsLimitedToTheFourModes) {
    config.videoMode = 0;
    InitGraphics(0);
    EXPECT_EQ(Screen().width(), 640);
    EXPECT_EQ(Screen().height(), 480);
    EXPECT_EQ(config.videoMode, 1);
    EXPECT_EQ(graphics.GraphicsMode, 1);
    EXPECT_NE(session.Console().find("Graphics VESA256, 640x480"), std::string::npos);
    CloseGraphics();
    config.videoMode = 7;
    session.OpenPaletteIwad();
    InitGraphics(1);
    EXPECT_EQ(Screen().width(), 1280);
    EXPECT_EQ(Screen().height(), 1024);
    EXPECT_EQ(graphics.GraphicsMode, -4);
    EXPECT_NE(session.Console().find("Graphics VESA256, 1280x1024"), std::string::npos);
}

TEST_F(GraphicsTest, MetricsWithAndWithoutTheMenuBar) {
    InitGraphics(0);
    EXPECT_EQ(graphics.ScreenMaxX, 639);
    EXPECT_EQ(graphics.ScreenMaxY, 479);
    EXPECT_EQ(graphics.CharW, 8);
    EXPECT_EQ(graphics.CharH, 8);
    EXPECT_EQ(graphics.LineH, 10);
    EXPECT_EQ(graphics.BandH, 12);
    EXPECT_TRUE(graphics.MenuBarShown);
    EXPECT_EQ(graphics.MaxX, 639);
    EXPECT_EQ(graphics.MaxY, 479 - 12);
    EXPECT_EQ(graphics.CenterX, 319);
    EXPECT_EQ(graphics.CenterY, 233);
    Viewport view = Screen().getviewport();
    EXPECT_EQ(view.top, 17);
    EXPECT_EQ(view.bottom, 479 - 13);
    // The mouse starts in the middle, inside the limits of the drawing area.
    EXPECT_EQ(input.PointerX, 319);
    EXPECT_EQ(input.PointerY, 233);
    EXPECT_TRUE(input.PointerHidden);
    SetMenuBarMode(0);
    EXPECT_EQ(graphics.MaxY, 479);
    EXPECT_EQ(graphics.CenterY, 239);
    EXPECT_EQ(Screen().getviewport().top, 0);
}

TEST_F(GraphicsTest, FailedStartFallsBackTo640x480) {
    config.videoMode = 3;
    session.OpenPaletteIwad();
    HeadlessFailNextStart("mode not available");
    try {
        InitGraphics(1);
        FAIL() << "graphics started";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), 5);
        EXPECT_STREQ(e.what(),
                     "The requested resolution was not support, reset to 640x480 resolution!");
    }
    EXPECT_NE(session.Console().find("Graphics error: mode not available press a key"),
              std::string::npos);
    EXPECT_EQ(graphics.GraphicsMode, 0);
    ResetConfig();
    config.videoMode = 3;
    ASSERT_EQ(LoadConfig(), 1);
    EXPECT_EQ(config.videoMode, 1);
}

TEST_F(GraphicsTest, FailedStartAt640x480) {
    HeadlessFailNextStart("no display");
    try {
        InitGraphics(0);
        FAIL() << "graphics started";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), 5);
        EXPECT_STREQ(e.what(), "Graphics error at 640x480 resolution, not VESA compatible?");
    }
    EXPECT_EQ(LoadConfig(), 0);   // nothing was saved
}

TEST_F(GraphicsTest, MapColorWithAndWithoutTheGamePalette) {
    Start(0);
    EXPECT_EQ(MapColor(3), 3);
    EXPECT_EQ(MapColor(15), 15);
    EXPECT_EQ(MapColor(24), 15);
    EXPECT_EQ(MapColor(17), 15);
    CloseGraphics();
    Start(1);
    EXPECT_EQ(MapColor(24), 245);
    EXPECT_EQ(MapColor(1), 195);
    config.colorMap[24] = 77;
    EXPECT_EQ(MapColor(24), 77);
    // Numbers outside the table never index past it.
    EXPECT_EQ(MapColor(99), 77);
    EXPECT_EQ(MapColor(-4), 0);
}

TEST_F(GraphicsTest, GamePaletteIsLoadedWithTheBrightness) {
    config.gamma = 5;
    Start(1);
    uint8_t rgb[768];
    VideoGetPalette(rgb);
    EXPECT_EQ(rgb[0], 0);                // black stays black
    EXPECT_EQ(rgb[3 * 255], 63);         // 255 / 4 + 5, limited
    EXPECT_EQ(rgb[3 * 40], 10 + 5);
}

TEST_F(GraphicsTest, CloseGraphicsReturnsToTheConsole) {
    Start(0);
    PrintAt(1, 25, 1, "Shown in a panel");
    EXPECT_EQ(session.Console().find("Shown in a panel"), std::string::npos);
    // The message flashes: outside any saved window it is shown and removed at once.
    EXPECT_EQ(At(320, 240), 0);
    CloseGraphics();
    EXPECT_EQ(graphics.GraphicsMode, 0);
    EXPECT_FALSE(VideoActive());
    PrintAt(1, 25, 1, "Back on the console");
    EXPECT_NE(session.Console().find("Back on the console"), std::string::npos);
    CloseGraphics();   // twice is harmless
}

TEST_F(GraphicsTest, RaisedAndSunkenBoxes) {
    Start(1);
    RaisedBox(10, 10, 50, 30, 7);
    EXPECT_EQ(At(30, 20), MapColor(7));
    EXPECT_EQ(At(30, 10), MapColor(15));
    EXPECT_EQ(At(30, 30), MapColor(8));
    RaisedBox(60, 10, 100, 30, 8);
    EXPECT_EQ(At(80, 30), MapColor(17));
    EXPECT_EQ(Screen().getcolor(), MapColor(0));

    SunkenBox(10, 40, 50, 60, 7);
    EXPECT_EQ(At(30, 50), MapColor(7));
    EXPECT_EQ(At(30, 60), MapColor(15));
    EXPECT_EQ(At(30, 40), MapColor(8));
    EXPECT_EQ(At(30, 59), MapColor(7));
    Screen().putpixel(80, 50, 99);
    SunkenBox(60, 40, 100, 60, -1);
    EXPECT_EQ(At(80, 50), 99);   // no fill
    EXPECT_EQ(At(80, 40), MapColor(17));
}

TEST_F(GraphicsTest, ButtonWithAnArrowHasNoText) {
    Start(1);
    const char* const kDown[5] = {"..XXX..", "..XXX..", ".XXXXX.", "..XXX..", "...X..."};
    DrawButton(1, "", -1, 0, 100, 100, 130, 120);
    Pixels plain = Copy(Screen());
    DrawButton(1, "\2", -1, 0, 100, 100, 130, 120);
    Box changed = Difference(plain, Copy(Screen()), 640);
    EXPECT_GE(changed.x1, 102);
    EXPECT_LE(changed.x2, 108);
    EXPECT_GE(changed.y1, 103);
    EXPECT_LE(changed.y2, 107);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 7; ++col)
            EXPECT_EQ(At(102 + col, 103 + row),
                      kDown[row][col] == 'X' ? MapColor(0) : MapColor(config.colorButton))
                << row << "," << col;
    DrawButton(1, "\1", -1, 0, 100, 100, 130, 120);
    EXPECT_EQ(At(105, 103), MapColor(0));   // the up arrow's tip
    EXPECT_EQ(At(104, 103), MapColor(config.colorButton));
}

TEST_F(GraphicsTest, ButtonUnderlinesItsHotLetter) {
    Start(1);
    DrawButton(1, "OK", -1, 0, 100, 100, 160, 120);
    Pixels plain = Copy(Screen());
    DrawButton(1, "OK", 0, 0, 100, 100, 160, 120);
    Box changed = Difference(plain, Copy(Screen()), 640);
    ASSERT_FALSE(changed.empty());
    // The text starts at x 100 + (60 - 16) / 2, y 100 + (20 - 8) / 2; the
    // underscore lies in the first letter's cell, two rows lower.
    EXPECT_GE(changed.x1, 122);
    EXPECT_LE(changed.x2, 129);
    EXPECT_GE(changed.y1, 108);
    EXPECT_LE(changed.y2, 115);
}

TEST_F(GraphicsTest, ProgressBarAboveAHundredIsFull) {
    Start(1);
    int64_t before = PlatformMilliseconds();
    ProgressBar(100, 200, 300, 216, 150);
    EXPECT_EQ(PlatformMilliseconds() - before, 500);   // the pause at 100 percent
    Canvas ref(640, 480);
    ref.setfillstyle(kSolidFill, MapColor(1));
    ref.bar(101, 201, 298, 215);
    ref.setcolor(MapColor(15));
    ref.outtextxy(100 + (198 + 3) / 2, 202, "100%");
    EXPECT_TRUE(SameBlock(Screen(), ref, 101, 201, 298, 215));
    EXPECT_EQ(Screen().getcolor(), MapColor(0));
}

TEST_F(GraphicsTest, ProgressBarBelowZeroIsEmpty) {
    Start(1);
    int64_t before = PlatformMilliseconds();
    ProgressBar(100, 200, 300, 216, -5);
    EXPECT_EQ(PlatformMilliseconds(), before);
    Canvas ref(640, 480);
    ref.setfillstyle(kSolidFill, MapColor(15));
    ref.bar(101, 201, 300, 215);
    ref.setcolor(MapColor(0));
    ref.outtextxy(100 + (198 + 3) / 2, 202, "0%");
    EXPECT_TRUE(SameBlock(Screen(), ref, 101, 201, 298, 214));
    EXPECT_EQ(At(100, 208), MapColor(17));   // the sunken frame, untouched by the fill
    EXPECT_EQ(At(200, 200), MapColor(17));
}

TEST_F(GraphicsTest, LabelBoxesStack) {
    Start(1);
    LabelBox(20, 40, "ONE");
    LabelBox(-1, -1, "%s", "TWO");
    EXPECT_EQ(graphics.labelX, 20);
    EXPECT_EQ(graphics.labelY, 40 + 2 * (graphics.LineH + 2));
    Canvas ref(640, 480);
    ref.setfillstyle(kSolidFill, MapColor(15));
    ref.bar(21, 51, 59, 61);
    ref.setcolor(MapColor(0));
    ref.outtextxy(28, 52, "TWO");
    EXPECT_TRUE(SameBlock(Screen(), ref, 21, 51, 59, 61));
    EXPECT_EQ(At(20, 55), MapColor(8));   // frame
    EXPECT_EQ(At(60, 55), MapColor(8));
}

TEST_F(GraphicsTest, RulerDrawnTwiceIsDrawnOnce) {
    Start(0);
    config.rulerRadius = 512;
    graphics.mapScale = 0.125f;
    input.PointerX = 300;
    input.PointerY = 200;
    Pixels empty = Copy(Screen());
    DrawRuler(1, 0);
    EXPECT_TRUE(empty == Copy(Screen()));   // the ruler is off
    graphics.ruler.on = true;
    DrawRuler(1, 0);
    Pixels shown = Copy(Screen());
    EXPECT_EQ(At(10, 200), MapColor(config.colorRuler));
    EXPECT_EQ(At(300, 10), MapColor(config.colorRuler));
    EXPECT_EQ(At(300 - 64, 150), MapColor(config.colorRuler));   // 512 x 0.125
    EXPECT_EQ(At(300 + 16, 190), MapColor(config.colorRuler));   // the third square
    DrawRuler(1, 0);
    EXPECT_TRUE(shown == Copy(Screen()));
    input.PointerX = 100;   // removal draws where it was drawn
    DrawRuler(1, 1);
    EXPECT_TRUE(empty == Copy(Screen()));
    DrawRuler(1, 1);
    EXPECT_TRUE(empty == Copy(Screen()));
}

TEST_F(GraphicsTest, ClearMapAreaUsesTheThingsBackground) {
    InitGraphics(0);
    config.colors[kColorBackGround] = 2;
    config.colors[kColorBackGroundThings] = 4;
    ClearMapArea();
    EXPECT_EQ(Screen().pixels()[100 * 640 + 10], 2);
    graphics.thingsPictureMode = true;
    ClearMapArea();
    EXPECT_EQ(Screen().pixels()[100 * 640 + 10], 4);
    EXPECT_EQ(Screen().pixels()[10 * 640 + 10], 0);    // the menu bar
    EXPECT_EQ(Screen().pixels()[470 * 640 + 10], 0);   // the status line
    EXPECT_TRUE(input.PointerHidden);
}

// A small scene saved as a PNG equals the same scene drawn straight on a canvas.
TEST_F(GraphicsTest, SnapshotShowsCanvasAndPointer) {
    Start(0);
    config.colors[kColorMouse] = 14;
    config.colors[kColorMouseEdge] = 0;
    InitMouse();
    RaisedBox(20, 20, 200, 80, 7);
    SetColor(1);
    TextAt(40, 40, "Zarn %d", 7);
    SetMousePos(100, 50);
    ShowPointer();
    std::string shot = session.Dir().file("scene.png");
    ASSERT_TRUE(VideoSnapshot(shot));

    Canvas ref(640, 480);
    ref.setfillstyle(kSolidFill, 7);
    ref.bar(21, 21, 199, 79);
    ref.setcolor(15);
    ref.line(20, 20, 200, 20);
    ref.line(20, 20, 20, 80);
    ref.setcolor(8);
    ref.line(20, 80, 200, 80);
    ref.line(200, 20, 200, 80);
    ref.setcolor(1);
    ref.outtextxy(40, 40, "Zarn 7");
    for (int row = 0; row < kPointerH; ++row)
        for (int col = 0; col < kPointerW; ++col)
            if (kPointerPicture[row][col] != '.')
                ref.putpixel(100 + col, 50 + row, kPointerPicture[row][col] == 'O' ? 1 : 14);
    uint8_t rgb6[768], rgb8[768];
    VideoGetPalette(rgb6);
    for (int i = 0; i < 768; ++i)
        rgb8[i] = static_cast<uint8_t>(rgb6[i] << 2 | rgb6[i] >> 4);
    std::string expected = session.Dir().file("expected.png");
    ASSERT_TRUE(WritePng(expected, 640, 480, ref.pixels(), rgb8));

    testkit::PngPicture a, b;
    ASSERT_EQ(testkit::ReadPng(shot, a), "");
    ASSERT_EQ(testkit::ReadPng(expected, b), "");
    EXPECT_EQ(a.width, b.width);
    EXPECT_TRUE(a.palette == b.palette);
    Box diff = Difference(a.pixels, b.pixels, 640);
    EXPECT_TRUE(diff.empty()) << diff.x1 << "," << diff.y1 << " - " << diff.x2 << "," << diff.y2;
}

}  // namespace
