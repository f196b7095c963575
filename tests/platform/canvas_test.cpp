#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "platform/canvas.h"
#include "platform/font8x8.h"

namespace {

// Screen pixel (absolute coordinates, whatever the viewport).
int At(const Canvas& c, int x, int y) { return c.pixels()[y * c.width() + x]; }

// The rectangle (x0, y0)-(x1, y1) of the screen, '#' for set pixels, '.' for 0.
std::string Art(const Canvas& c, int x0, int y0, int x1, int y1)
{
    std::string art;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            art += At(c, x, y) ? '#' : '.';
        art += '\n';
    }
    return art;
}

std::set<std::pair<int, int>> SetPixels(const Canvas& c)
{
    std::set<std::pair<int, int>> set;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (At(c, x, y))
                set.insert({x, y});
    return set;
}

std::vector<uint8_t> Screen(const Canvas& c) { return {c.pixels(), c.pixels() + c.width() * c.height()}; }

void FillNoise(Canvas& c, unsigned seed)
{
    std::mt19937 rng(seed);
    for (int i = 0; i < c.width() * c.height(); ++i)
        c.pixels()[i] = uint8_t(rng());
}

// ---------------------------------------------------------------------------

TEST(CanvasViewport, CoordinatesAreRelativeAndClipped)
{
    Canvas c(64, 48);
    c.moveto(5, 5);
    c.setviewport(10, 20, 29, 39, true);
    EXPECT_EQ(0, c.getx());
    EXPECT_EQ(0, c.gety());
    c.putpixel(0, 0, 5);
    c.putpixel(19, 19, 6);
    c.putpixel(-1, 0, 7);
    c.putpixel(20, 0, 7);
    EXPECT_EQ(5, At(c, 10, 20));
    EXPECT_EQ(6, At(c, 29, 39));
    EXPECT_EQ(5, c.getpixel(0, 0));
    c.pixels()[20 * 64 + 9] = 8;
    EXPECT_EQ(8, c.getpixel(-1, 0));   // reading is not clipped to the viewport
    c.pixels()[20 * 64 + 9] = 0;

    c.setcolor(9);
    c.line(-50, 5, 100, 5);
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(x >= 10 && x <= 29 ? 9 : 0, At(c, x, 25)) << x;
    EXPECT_EQ(22u, SetPixels(c).size());   // 20 on the row and the two corner pixels
}

TEST(CanvasViewport, WithoutClippingOnlyTheScreenLimits)
{
    Canvas c(40, 30);
    c.setviewport(10, 10, 20, 20, false);
    c.setcolor(4);
    c.line(-100, 0, 100, 0);
    c.putpixel(25, 5, 4);
    c.putpixel(1000, 1000, 4);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(4, At(c, x, 10));
    EXPECT_EQ(4, At(c, 35, 15));
    EXPECT_EQ(41u, SetPixels(c).size());
}

TEST(CanvasViewport, BadViewportsAreRefusedAndClearsKeepIt)
{
    Canvas c(40, 30);
    c.setviewport(5, 5, 14, 14, true);
    c.setviewport(-1, 0, 10, 10, true);
    c.setviewport(0, 0, 40, 10, true);
    c.setviewport(10, 10, 9, 20, true);
    EXPECT_EQ(5, c.getviewport().left);
    EXPECT_EQ(14, c.getviewport().bottom);

    c.setbkcolor(2);
    c.clearviewport();
    EXPECT_EQ(2, At(c, 5, 5));
    EXPECT_EQ(2, At(c, 14, 14));
    EXPECT_EQ(0, At(c, 15, 14));
    EXPECT_EQ(0, At(c, 4, 5));

    c.moveto(3, 3);
    c.setbkcolor(7);
    c.cleardevice();
    EXPECT_EQ(std::vector<uint8_t>(40 * 30, 7), Screen(c));
    EXPECT_EQ(5, c.getviewport().left);
    EXPECT_EQ(0, c.getx());
}

TEST(CanvasPixels, GetpixelOutsideTheScreenIsZero)
{
    Canvas c(8, 8);
    c.setbkcolor(3);
    c.cleardevice();
    EXPECT_EQ(3, c.getpixel(7, 7));
    EXPECT_EQ(0, c.getpixel(8, 0));
    EXPECT_EQ(0, c.getpixel(0, -1));
    EXPECT_EQ(0, c.getpixel(-2000000000, 2000000000));
    EXPECT_EQ(7, c.getmaxx());
}

// ---------------------------------------------------------------------------

TEST(CanvasLine, EndpointsIncludedAndReverseIdentical)
{
    std::mt19937 rng(1);
    for (int i = 0; i < 200; ++i) {
        const int x1 = int(rng() % 60), y1 = int(rng() % 50), x2 = int(rng() % 60), y2 = int(rng() % 50);
        Canvas a(60, 50), b(60, 50);
        a.line(x1, y1, x2, y2);
        b.line(x2, y2, x1, y1);
        ASSERT_EQ(Screen(a), Screen(b));
        EXPECT_TRUE(At(a, x1, y1) && At(a, x2, y2));
        EXPECT_EQ(size_t(std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1), SetPixels(a).size());
    }
}

// The part of a line inside a clipping viewport is the same as the part of the
// unclipped line there, whatever the clipping cut off.
TEST(CanvasLine, ClippingKeepsTheSamePixels)
{
    std::mt19937 rng(2);
    for (int i = 0; i < 300; ++i) {
        const int x1 = int(rng() % 400) - 150, y1 = int(rng() % 300) - 100;
        const int x2 = int(rng() % 400) - 150, y2 = int(rng() % 300) - 100;
        Canvas whole(100, 100), clipped(100, 100);
        const int thickness = i % 2 ? kThickWidth : kNormWidth;
        whole.setlinestyle(i % 3 ? kSolidLine : kCenterLine, 0, thickness);
        clipped.setlinestyle(i % 3 ? kSolidLine : kCenterLine, 0, thickness);
        whole.line(x1, y1, x2, y2);
        clipped.setviewport(30, 20, 69, 59, true);
        clipped.line(x1 - 30, y1 - 20, x2 - 30, y2 - 20);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool inside = x >= 30 && x <= 69 && y >= 20 && y <= 59;
                ASSERT_EQ(inside ? At(whole, x, y) : 0, At(clipped, x, y)) << i << " at " << x << "," << y;
            }
    }
}

TEST(CanvasLine, FarAwayCoordinatesNeverWrapAround)
{
    Canvas c(64, 48);
    c.line(-1000000, 10, 1000000, 10);   // a whole row
    c.line(40000, 20, -30000, 20);       // beyond 16 bits at one end
    c.line(65541, 30, 65600, 30);        // would land at x = 5 if wrapped
    c.line(-2000000000, -2000000000, 2000000000, 2000000000);
    for (int x = 0; x < 64; ++x) {
        EXPECT_TRUE(At(c, x, 10) && At(c, x, 20)) << x;
        EXPECT_EQ(x == 30, At(c, x, 30) != 0) << x;   // only the diagonal's pixel
    }
    for (int i = 0; i < 48; ++i)
        EXPECT_TRUE(At(c, i, i)) << i;
    EXPECT_EQ(64u * 2 + 48 - 2, SetPixels(c).size());   // the diagonal crosses both rows
}

TEST(CanvasLine, StylesFollowBorlandPatterns)
{
    auto row = [](int style, unsigned pattern) {
        Canvas c(32, 3);
        c.setlinestyle(style, pattern, kNormWidth);
        c.line(0, 1, 31, 1);
        return Art(c, 0, 1, 31, 1);
    };
    EXPECT_EQ("##..##..##..##..##..##..##..##..\n", row(kDottedLine, 0));
    EXPECT_EQ("######...####...######...####...\n", row(kCenterLine, 0));
    EXPECT_EQ("#####...#####...#####...#####...\n", row(kDashedLine, 0));
    EXPECT_EQ("#..............##..............#\n", row(kUserBitLine, 0x18001));
    EXPECT_EQ(std::string(32, '#') + "\n", row(kSolidLine, 0));

    // Along y as well, with the gaps left as they were.
    Canvas c(3, 8);
    c.setbkcolor(1);
    c.cleardevice();
    c.setcolor(5);
    c.setlinestyle(kDottedLine, 0, kNormWidth);
    c.line(1, 7, 1, 0);
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(y % 4 < 2 ? 5 : 1, At(c, 1, y)) << y;

    // A bad style or width changes nothing.
    c.setlinestyle(9, 0, kNormWidth);
    c.setlinestyle(kSolidLine, 0, 2);
    c.line(0, 0, 0, 7);
    EXPECT_EQ(1, At(c, 0, 2));
}

TEST(CanvasLine, ThickLinesAreThreePixelsAcrossTheMajorAxis)
{
    Canvas c(12, 9);
    c.setlinestyle(kSolidLine, 0, kThickWidth);
    c.line(1, 4, 10, 7);
    c.line(2, 1, 2, 1);
    EXPECT_EQ("..#.........\n"
              "..#.........\n"
              "..#.........\n"
              ".##.........\n"
              ".#####......\n"
              ".########...\n"
              "...########.\n"
              "......#####.\n"
              ".........##.\n",
              Art(c, 0, 0, 11, 8));
    Canvas v(7, 6);
    v.setlinestyle(kSolidLine, 0, kThickWidth);
    v.line(3, 1, 3, 4);
    EXPECT_EQ(".......\n..###..\n..###..\n..###..\n..###..\n.......\n", Art(v, 0, 0, 6, 5));
}

TEST(CanvasLine, XorLinesWriteEachPixelOnceAndUndo)
{
    std::mt19937 rng(3);
    for (int i = 0; i < 100; ++i) {
        const int x1 = int(rng() % 90) - 5, y1 = int(rng() % 70) - 5, x2 = int(rng() % 90) - 5, y2 = int(rng() % 70) - 5;
        const int style = i % 3 == 0 ? kDottedLine : kSolidLine, width = i % 2 ? kThickWidth : kNormWidth;
        Canvas copy(80, 60), once(80, 60), twice(80, 60);
        for (Canvas* c : {&copy, &once, &twice}) {
            c->setcolor(0x5A);
            c->setlinestyle(style, 0, width);
        }
        copy.line(x1, y1, x2, y2);
        once.setwritemode(kXorPut);
        once.line(x1, y1, x2, y2);
        ASSERT_EQ(Screen(copy), Screen(once)) << i;   // every pixel XORed exactly once

        FillNoise(twice, unsigned(i));
        const std::vector<uint8_t> before = Screen(twice);
        twice.setwritemode(kXorPut);
        twice.line(x1, y1, x2, y2);
        twice.line(x2, y2, x1, y1);
        ASSERT_EQ(before, Screen(twice)) << i;
    }
}

TEST(CanvasLine, LinetoDrawsFromTheCurrentPosition)
{
    Canvas c(10, 10);
    c.moveto(1, 1);
    c.lineto(8, 1);
    c.lineto(8, 8);
    EXPECT_EQ(8, c.getx());
    EXPECT_EQ(8, c.gety());
    EXPECT_TRUE(At(c, 1, 1) && At(c, 8, 1) && At(c, 8, 5) && At(c, 8, 8));
    EXPECT_EQ(15u, SetPixels(c).size());
}

// ---------------------------------------------------------------------------

TEST(CanvasRectangle, OutlinesThinAndThick)
{
    Canvas c(12, 10);
    c.rectangle(7, 5, 2, 1);
    EXPECT_EQ("........\n.######.\n.#....#.\n.#....#.\n.#....#.\n.######.\n........\n", Art(c, 1, 0, 8, 6));
    Canvas t(12, 10);
    t.setlinestyle(kSolidLine, 0, kThickWidth);
    t.rectangle(2, 2, 8, 7);
    EXPECT_EQ("............\n"
              "..#######...\n"
              ".#########..\n"
              ".#########..\n"
              ".###...###..\n"
              ".###...###..\n"
              ".#########..\n"
              ".#########..\n"
              "..#######...\n"
              "............\n",
              Art(t, 0, 0, 11, 9));
}

TEST(CanvasRectangle, XorWritesEveryPixelOnceSoCornersShow)
{
    struct Case {
        int l, t, r, b, style, width;
    };
    const Case cases[] = {{2, 2, 20, 12, kSolidLine, kNormWidth}, {2, 2, 20, 12, kSolidLine, kThickWidth},
                          {3, 1, 25, 14, kDottedLine, kNormWidth}, {3, 1, 25, 14, kCenterLine, kThickWidth},
                          {5, 5, 5, 9, kSolidLine, kThickWidth},   {4, 6, 9, 6, kDashedLine, kNormWidth},
                          {20, 12, 2, 2, kSolidLine, kThickWidth}, {-5, -4, 40, 30, kSolidLine, kThickWidth}};
    for (const Case& k : cases) {
        Canvas copy(30, 20), once(30, 20), twice(30, 20);
        for (Canvas* c : {&copy, &once, &twice}) {
            c->setcolor(0x3C);
            c->setlinestyle(k.style, 0, k.width);
            c->setviewport(1, 1, 28, 18, true);
        }
        copy.rectangle(k.l, k.t, k.r, k.b);
        once.setwritemode(kXorPut);
        once.rectangle(k.l, k.t, k.r, k.b);
        EXPECT_EQ(Screen(copy), Screen(once)) << k.l << "," << k.t << " width " << k.width;

        FillNoise(twice, 9);
        const std::vector<uint8_t> before = Screen(twice);
        twice.setwritemode(kXorPut);
        twice.rectangle(k.l, k.t, k.r, k.b);
        twice.rectangle(k.l, k.t, k.r, k.b);
        EXPECT_EQ(before, Screen(twice));
    }
}

TEST(CanvasRectangle, PatternRestartsOnEachEdge)
{
    Canvas c(12, 12);
    c.setlinestyle(kDottedLine, 0, kNormWidth);
    c.rectangle(1, 1, 10, 10);
    EXPECT_EQ("##..##..##\n"
              "#........#\n"
              "..........\n"
              "..........\n"
              "#........#\n"
              "#........#\n"
              "..........\n"
              "..........\n"
              "#........#\n"
              "##..##..##\n",
              Art(c, 1, 1, 10, 10));
}

// ---------------------------------------------------------------------------

TEST(CanvasFill, BarFillsInclusiveWithoutOutline)
{
    Canvas c(10, 10);
    c.setcolor(1);
    c.setfillstyle(kSolidFill, 6);
    c.bar(7, 6, 2, 3);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(x >= 2 && x <= 7 && y >= 3 && y <= 6 ? 6 : 0, At(c, x, y)) << x << "," << y;
    c.setbkcolor(9);
    c.setfillstyle(kEmptyFill, 6);
    c.bar(0, 0, 9, 9);
    EXPECT_EQ(std::vector<uint8_t>(100, 9), Screen(c));
    c.setfillstyle(kUserFill, 2);   // refused: no pattern bits were given
    c.bar(0, 0, 0, 0);
    EXPECT_EQ(9, At(c, 0, 0));
}

TEST(CanvasFill, PatternsAreBorlandsAlignedToTheScreen)
{
    struct Pattern {
        int id;
        uint8_t rows[8];
    };
    const Pattern patterns[] = {
        {kLineFill, {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}},
        {kLtSlashFill, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}},
        {kBkSlashFill, {0xF0, 0x78, 0x3C, 0x1E, 0x0F, 0x87, 0xC3, 0xE1}},
        {kHatchFill, {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}},
        {kXHatchFill, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}},
        {kCloseDotFill, {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00}},
    };
    for (const Pattern& p : patterns) {
        Canvas c(40, 40);
        c.setbkcolor(1);
        c.setviewport(3, 5, 39, 39, true);
        c.setfillstyle(p.id, 7);
        c.bar(0, 0, 20, 20);
        for (int y = 5; y <= 25; ++y)
            for (int x = 3; x <= 23; ++x)
                ASSERT_EQ((p.rows[y & 7] >> (7 - (x & 7))) & 1 ? 7 : 1, At(c, x, y))
                    << "pattern " << p.id << " at " << x << "," << y;
    }
}

TEST(CanvasCircle, SymmetricClosedAndOnTheRadius)
{
    for (int r : {0, 1, 2, 5, 17, 40}) {
        Canvas c(101, 101);
        c.setcolor(3);
        c.circle(50, 50, r);
        for (int y = 0; y < 101; ++y)
            for (int x = 0; x < 101; ++x) {
                if (!At(c, x, y))
                    continue;
                const int dx = x - 50, dy = y - 50;
                EXPECT_TRUE(At(c, 50 - dx, 50 + dy) && At(c, 50 + dx, 50 - dy) && At(c, 50 + dy, 50 + dx));
                EXPECT_LT(std::abs(std::hypot(dx, dy) - r), 1.0) << "r " << r << " at " << dx << "," << dy;
            }
        EXPECT_TRUE(At(c, 50 + r, 50) && At(c, 50, 50 - r));
        EXPECT_FALSE(At(c, 51 + r, 50));
        if (r < 2)
            continue;
        // Closed: a 4-way flood from the centre stays inside.
        std::vector<std::pair<int, int>> stack = {{50, 50}};
        std::set<std::pair<int, int>> seen;
        while (!stack.empty()) {
            auto [x, y] = stack.back();
            stack.pop_back();
            if (At(c, x, y) || !seen.insert({x, y}).second)
                continue;
            ASSERT_LT(std::hypot(x - 50, y - 50), r) << "r " << r;
            stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
        }
    }
}

TEST(CanvasCircle, ThickCircleCoversThreeRadii)
{
    Canvas thick(80, 80);
    thick.setlinestyle(kDottedLine, 0, kThickWidth);   // the style does not apply to circles
    thick.circle(40, 40, 20);
    for (int r : {19, 20, 21}) {
        Canvas thin(80, 80);
        thin.circle(40, 40, r);
        for (const auto& p : SetPixels(thin))
            EXPECT_TRUE(At(thick, p.first, p.second)) << r;
    }
    EXPECT_FALSE(At(thick, 40, 40 - 23));
    EXPECT_FALSE(At(thick, 40, 40 - 17));
}

TEST(CanvasCircle, HugeCirclesAreClippedNotWalked)
{
    Canvas c(64, 48);
    c.setviewport(0, 10, 63, 47, true);
    c.circle(32, 1000000 + 20, 1000000);   // its top passes through row 20 of the viewport
    c.circle(32, 20, 2000000000);          // far beyond the screen on every side
    for (int x = 0; x < 64; ++x)
        EXPECT_TRUE(At(c, x, 30)) << x;
    EXPECT_EQ(64u, SetPixels(c).size());
}

TEST(CanvasFill, FillellipseOutlinesAndFills)
{
    Canvas c(40, 30);
    c.setcolor(4);
    c.setfillstyle(kSolidFill, 2);
    c.fillellipse(20, 15, 12, 6);
    EXPECT_EQ(4, At(c, 8, 15));
    EXPECT_EQ(4, At(c, 32, 15));
    EXPECT_EQ(4, At(c, 20, 9));
    EXPECT_EQ(4, At(c, 20, 21));
    EXPECT_EQ(2, At(c, 20, 15));
    EXPECT_EQ(2, At(c, 30, 15));
    EXPECT_EQ(0, At(c, 7, 15));
    EXPECT_EQ(0, At(c, 9, 10));   // outside, near the corner of the bounding box
    for (int y = 0; y < 30; ++y)   // left-right symmetric
        for (int x = 1; x < 40; ++x)
            ASSERT_EQ(At(c, x, y), At(c, 40 - x, y)) << x << "," << y;
}

TEST(CanvasFill, FillpolyConcaveAndSelfCrossing)
{
    Canvas c(40, 30);
    c.setcolor(5);
    c.setfillstyle(kSolidFill, 3);
    const int u[] = {2, 2, 30, 2, 30, 25, 22, 25, 22, 10, 10, 10, 10, 25, 2, 25};
    c.fillpoly(8, u);
    EXPECT_EQ(5, At(c, 2, 2));
    EXPECT_EQ(5, At(c, 16, 10));   // the notch's top edge
    EXPECT_EQ(3, At(c, 5, 20));    // left arm
    EXPECT_EQ(3, At(c, 26, 20));   // right arm
    EXPECT_EQ(3, At(c, 16, 6));    // bridge
    EXPECT_EQ(0, At(c, 16, 18));   // the notch stays empty
    EXPECT_EQ(0, At(c, 34, 20));

    // A pentagram: even-odd leaves its centre empty and fills its points.
    Canvas s(60, 60);
    s.setcolor(5);
    s.setfillstyle(kSolidFill, 3);
    const int star[] = {30, 2, 47, 56, 2, 22, 58, 22, 13, 56};
    s.fillpoly(5, star);
    EXPECT_EQ(0, At(s, 30, 32));
    EXPECT_EQ(3, At(s, 30, 12));
    EXPECT_EQ(3, At(s, 10, 24));

    // Vertices far outside the screen still fill what is on it.
    Canvas f(20, 20);
    f.setfillstyle(kSolidFill, 8);
    const int huge[] = {-1000000, -1000000, 1000000, -1000000, 0, 1000000};
    f.fillpoly(3, huge);
    f.fillpoly(0, huge);
    f.fillpoly(3, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(400, 8), Screen(f));
}

// ---------------------------------------------------------------------------

TEST(CanvasImage, GetAndPutRoundTrip)
{
    Canvas c(50, 40);
    FillNoise(c, 4);
    const std::vector<uint8_t> original = Screen(c);
    Image image;
    c.getimage(15, 10, 5, 2, image);   // corners in either order
    ASSERT_EQ(11, image.width);
    ASSERT_EQ(9, image.height);
    EXPECT_EQ(4u + 99, c.imagesize(5, 2, 15, 10));

    c.cleardevice();
    c.putimage(30, 25, image, kCopyPut);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x)
            ASSERT_EQ(original[size_t((2 + y) * 50 + 5 + x)], At(c, 30 + x, 25 + y));

    FillNoise(c, 5);
    const std::vector<uint8_t> before = Screen(c);
    c.putimage(3, 3, image, kXorPut);
    EXPECT_NE(before, Screen(c));
    c.putimage(3, 3, image, kXorPut);
    EXPECT_EQ(before, Screen(c));
}

TEST(CanvasImage, EdgesOfTheScreenAndViewport)
{
    Canvas c(20, 20);
    c.setbkcolor(6);
    c.cleardevice();
    Image image;
    c.getimage(-2, -1, 1, 1, image);   // partly off the screen: those pixels read 0
    ASSERT_EQ(4, image.width);
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 6, 6, 0, 0, 6, 6}), image.pixels);

    Canvas d(20, 20);
    d.setviewport(5, 5, 9, 9, true);
    Image block{6, 6, std::vector<uint8_t>(36, 1)};
    d.putimage(2, 2, block, kCopyPut);   // only the viewport's part lands
    EXPECT_EQ(9u, SetPixels(d).size());
    EXPECT_EQ(1, At(d, 7, 7));
    EXPECT_EQ(1, At(d, 9, 9));

    Image broken{10, 10, std::vector<uint8_t>(5, 1)};
    d.putimage(0, 0, broken, kCopyPut);   // fewer pixels than it claims: nothing drawn
    EXPECT_EQ(9u, SetPixels(d).size());
    d.getimage(0, 0, 100000, 10, image);
    EXPECT_EQ(0, image.width);
    EXPECT_TRUE(image.pixels.empty());
}

// ---------------------------------------------------------------------------

TEST(CanvasText, GlyphsInTheCurrentColourOverTheBackground)
{
    Canvas c(30, 12);
    c.setbkcolor(1);
    c.cleardevice();
    c.setcolor(14);
    c.setviewport(2, 2, 29, 11, true);
    c.outtextxy(1, 1, "A");
    EXPECT_EQ("..##....\n"
              ".####...\n"
              "##..##..\n"
              "##..##..\n"
              "######..\n"
              "##..##..\n"
              "##..##..\n"
              "........\n",
              [&] {
                  std::string art;
                  for (int y = 3; y < 11; ++y, art += '\n')
                      for (int x = 3; x < 11; ++x)
                          art += At(c, x, y) == 14 ? '#' : At(c, x, y) == 1 ? '.' : '?';
                  return art;
              }());
    EXPECT_EQ(8, c.textheight("H"));
    EXPECT_EQ(8, c.textwidth("W"));
    EXPECT_EQ(24, c.textwidth("abc"));
    EXPECT_EQ(0, c.textwidth(""));
}

TEST(CanvasText, BoxDrawingCharactersJoin)
{
    Canvas c(24, 24);
    c.outtextxy(0, 0, "\xDA\xC4\xBF");   // top of a single frame
    c.outtextxy(0, 8, "\xB3 \xB3");
    c.outtextxy(0, 16, "\xC0\xC4\xD9");
    for (int x = 3; x <= 20; ++x) {
        EXPECT_TRUE(At(c, x, 4)) << x;    // top line continuous
        EXPECT_TRUE(At(c, x, 20)) << x;   // bottom line continuous
    }
    for (int y = 4; y <= 20; ++y)
        EXPECT_TRUE(At(c, 3, y) && At(c, 4, y) && At(c, 19, y) && At(c, 20, y)) << y;
    EXPECT_FALSE(At(c, 12, 12));
    // Every code has a glyph; the arrows point where they should.
    EXPECT_EQ(0x18, FontGlyph(24)[0]);   // up: the tip on top
    EXPECT_EQ(0x18, FontGlyph(25)[6]);   // down: the tip at the bottom
    EXPECT_EQ(0xFF, FontGlyph(219)[3]);  // full block
}

TEST(CanvasText, TextIsClippedToTheViewport)
{
    Canvas c(40, 20);
    c.setviewport(10, 5, 21, 10, true);
    c.outtextxy(-4, -3, "\xDB\xDB\xDB");   // full blocks, partly outside
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(x >= 10 && x <= 21 && y >= 5 && y <= 9, At(c, x, y) != 0) << x << "," << y;
}

}  // namespace
