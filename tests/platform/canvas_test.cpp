// The canvas primitives pixel by pixel: viewport and clipping, line styles
// and widths, XOR, fill patterns, circles, ellipses, polygons, saved images
// and text.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "platform/canvas.h"

namespace {

// Screen pixel (absolute coordinates, whatever the viewport).
int At(const Canvas& c, int x, int y) { return c.pixels()[y * c.width() + x]; }

std::vector<uint8_t> Pixels(const Canvas& c) { return {c.pixels(), c.pixels() + c.width() * c.height()}; }

size_t SetCount(const Canvas& c) { return Pixels(c).size() - std::count(c.pixels(), c.pixels() + c.width() * c.height(), 0); }

// The rectangle (x0, y0)-(x1, y1) of the screen, '#' for set pixels, '.' for 0.
std::string Art(const Canvas& c, int x0, int y0, int x1, int y1)
{
    std::string art;
    for (int y = y0; y <= y1; ++y, art += '\n')
        for (int x = x0; x <= x1; ++x)
            art += At(c, x, y) ? '#' : '.';
    return art;
}

void FillNoise(Canvas& c, unsigned seed)
{
    std::mt19937 rng(seed);
    for (int i = 0; i < c.width() * c.height(); ++i)
        c.pixels()[i] = uint8_t(rng());
}

TEST(Canvas, ViewportCoordinatesClippingAndClears)
{
    Canvas c(64, 48);
    c.moveto(5, 5);
    c.setviewport(10, 20, 29, 39, true);
    EXPECT_EQ(0, c.getx());
    c.putpixel(0, 0, 5);
    c.putpixel(19, 19, 6);
    c.putpixel(-1, 0, 7);
    c.putpixel(20, 0, 7);
    c.setcolor(9);
    c.line(-50, 5, 100, 5);
    EXPECT_EQ(5, At(c, 10, 20));
    EXPECT_EQ(6, At(c, 29, 39));
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(x >= 10 && x <= 29 ? 9 : 0, At(c, x, 25)) << x;
    EXPECT_EQ(22u, SetCount(c));
    // Reading is relative but not clipped to the viewport; off the screen it gives 0.
    c.pixels()[20 * 64 + 9] = 8;
    EXPECT_EQ(8, c.getpixel(-1, 0));
    EXPECT_EQ(0, c.getpixel(-11, 0));
    EXPECT_EQ(0, c.getpixel(-2000000000, 2000000000));

    // Without clipping only the screen limits drawing.
    Canvas u(40, 30);
    u.setviewport(10, 10, 20, 20, false);
    u.line(-100, 0, 100, 0);
    u.putpixel(25, 5, 4);
    u.putpixel(1000, 1000, 4);
    EXPECT_EQ(4, At(u, 35, 15));
    EXPECT_EQ(41u, SetCount(u));
    // Viewports not inside the screen are refused; clearviewport clears the
    // viewport, cleardevice the screen, and both keep it.
    u.setviewport(5, 5, 14, 14, true);
    u.setviewport(-1, 0, 10, 10, true);
    u.setviewport(0, 0, 40, 10, true);
    u.setviewport(10, 10, 9, 20, true);
    u.setbkcolor(2);
    u.clearviewport();
    EXPECT_EQ(2, At(u, 5, 5) & At(u, 14, 14));
    EXPECT_EQ(100, std::count(u.pixels(), u.pixels() + 40 * 30, 2));
    u.setbkcolor(7);
    u.cleardevice();
    EXPECT_EQ(std::vector<uint8_t>(40 * 30, 7), Pixels(u));
    EXPECT_EQ(5, u.getviewport().left);
}

TEST(Canvas, LinesIncludeTheirEndsAndClipWithoutChangingPixels)
{
    std::mt19937 rng(2);
    for (int i = 0; i < 300; ++i) {
        const int x1 = int(rng() % 400) - 150, y1 = int(rng() % 300) - 100;
        const int x2 = int(rng() % 400) - 150, y2 = int(rng() % 300) - 100;
        const int thickness = i % 2 ? kThickWidth : kNormWidth, style = i % 3 ? kSolidLine : kCenterLine;
        Canvas whole(400, 300), reverse(400, 300), clipped(400, 300);
        for (Canvas* c : {&whole, &reverse, &clipped})
            c->setlinestyle(style, 0, thickness);
        whole.line(x1 + 150, y1 + 100, x2 + 150, y2 + 100);
        reverse.line(x2 + 150, y2 + 100, x1 + 150, y1 + 100);
        ASSERT_EQ(Pixels(whole), Pixels(reverse)) << i;
        if (thickness == kNormWidth && style == kSolidLine) {
            EXPECT_TRUE(At(whole, x1 + 150, y1 + 100) && At(whole, x2 + 150, y2 + 100));
            EXPECT_EQ(size_t(std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1), SetCount(whole)) << i;
        }
        // The part inside a clipping viewport is the part of the whole line there.
        clipped.setviewport(180, 120, 219, 159, true);
        clipped.line(x1 - 30, y1 - 20, x2 - 30, y2 - 20);
        std::vector<uint8_t> expected = Pixels(whole);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                if (x < 180 || x > 219 || y < 120 || y > 159)
                    expected[size_t(y * 400 + x)] = 0;
        ASSERT_EQ(expected, Pixels(clipped)) << i;
    }
    // Far-away coordinates never wrap around.
    Canvas c(64, 48);
    c.line(-1000000, 10, 1000000, 10);
    c.line(40000, 20, -30000, 20);
    c.line(65541, 30, 65600, 30);   // would land at x = 5 if wrapped
    c.line(-2000000000, -2000000000, 2000000000, 2000000000);
    for (int x = 0; x < 64; ++x)
        EXPECT_TRUE(At(c, x, 10) && At(c, x, 20) && At(c, x % 48, x % 48)) << x;
    EXPECT_EQ(64u * 2 + 48 - 2, SetCount(c));
    // lineto draws from the current position and moves it.
    Canvas t(10, 10);
    t.moveto(1, 1);
    t.lineto(8, 1);
    t.lineto(8, 8);
    EXPECT_EQ(8, t.getx());
    EXPECT_EQ(".########.\n", Art(t, 0, 1, 9, 1));
    EXPECT_EQ(15u, SetCount(t));
}

TEST(Canvas, LineStylesFollowBorlandPatternsRestartingOnEachEdge)
{
    const std::pair<int, const char*> rows[] = {{kDottedLine, "##..##..##..##..##..##..##..##..\n"},
                                                {kCenterLine, "######...####...######...####...\n"},
                                                {kDashedLine, "#####...#####...#####...#####...\n"},
                                                {kUserBitLine, "#..............##..............#\n"},
                                                {kSolidLine, "################################\n"}};
    for (const auto& row : rows) {
        Canvas c(32, 3);
        c.setlinestyle(row.first, 0x18001, kNormWidth);
        c.line(0, 1, 31, 1);
        EXPECT_EQ(row.second, Art(c, 0, 1, 31, 1)) << row.first;
    }
    // Along y as well, from the smaller end, with the gaps left as they were.
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

    Canvas r(12, 12);
    r.setlinestyle(kDottedLine, 0, kNormWidth);
    r.rectangle(1, 1, 10, 10);
    EXPECT_EQ("##..##..##\n#........#\n..........\n..........\n#........#\n"
              "#........#\n..........\n..........\n#........#\n##..##..##\n",
              Art(r, 1, 1, 10, 10));
}

TEST(Canvas, ThickLinesAreThreePixelsAcrossTheMajorAxis)
{
    Canvas c(12, 9);
    c.setlinestyle(kSolidLine, 0, kThickWidth);
    c.line(1, 4, 10, 7);
    c.line(2, 1, 2, 1);
    EXPECT_EQ("..#.........\n..#.........\n..#.........\n.##.........\n.#####......\n"
              ".########...\n...########.\n......#####.\n.........##.\n",
              Art(c, 0, 0, 11, 8));
    Canvas v(7, 6);
    v.setlinestyle(kSolidLine, 0, kThickWidth);
    v.line(3, 1, 3, 4);
    EXPECT_EQ(".......\n..###..\n..###..\n..###..\n..###..\n.......\n", Art(v, 0, 0, 6, 5));
    Canvas r(12, 10), t(12, 10);
    r.rectangle(7, 5, 2, 1);   // corners in either order
    EXPECT_EQ("........\n.######.\n.#....#.\n.#....#.\n.#....#.\n.######.\n........\n", Art(r, 1, 0, 8, 6));
    t.setlinestyle(kSolidLine, 0, kThickWidth);
    t.rectangle(2, 2, 8, 7);
    EXPECT_EQ("............\n..#######...\n.#########..\n.#########..\n.###...###..\n"
              ".###...###..\n.#########..\n.#########..\n..#######...\n............\n",
              Art(t, 0, 0, 11, 9));
}

// XOR writes every pixel of a line, rectangle or image once: once on black it
// is the copy, twice on anything it restores the screen.
TEST(Canvas, XorWritesEachPixelOnceSoTwiceRestores)
{
    std::vector<std::function<void(Canvas&)>> shapes;
    std::mt19937 rng(3);
    for (int i = 0; i < 100; ++i) {
        const int x1 = int(rng() % 90) - 5, y1 = int(rng() % 70) - 5, x2 = int(rng() % 90) - 5, y2 = int(rng() % 70) - 5;
        const int style = i % 3 == 0 ? kDottedLine : kSolidLine, width = i % 2 ? kThickWidth : kNormWidth;
        shapes.push_back([=](Canvas& c) {
            c.setlinestyle(style, 0, width);
            c.line(x1, y1, x2, y2);
        });
    }
    const int rects[][6] = {{2, 2, 20, 12, kSolidLine, kNormWidth},  {2, 2, 20, 12, kSolidLine, kThickWidth},
                            {3, 1, 25, 14, kDottedLine, kNormWidth}, {3, 1, 25, 14, kCenterLine, kThickWidth},
                            {5, 5, 5, 9, kSolidLine, kThickWidth},   {4, 6, 9, 6, kDashedLine, kNormWidth},
                            {20, 12, 2, 2, kSolidLine, kThickWidth}, {-5, -4, 90, 70, kSolidLine, kThickWidth}};
    for (const auto& k : rects)
        shapes.push_back([=](Canvas& c) {
            c.setviewport(1, 1, 78, 58, true);
            c.setlinestyle(k[4], 0, k[5]);
            c.rectangle(k[0], k[1], k[2], k[3]);
        });
    for (size_t i = 0; i < shapes.size(); ++i) {
        Canvas copy(80, 60), once(80, 60), twice(80, 60);
        for (Canvas* c : {&copy, &once, &twice})
            c->setcolor(0x5A);
        shapes[i](copy);
        once.setwritemode(kXorPut);
        shapes[i](once);
        ASSERT_EQ(Pixels(copy), Pixels(once)) << i;
        FillNoise(twice, unsigned(i));
        const std::vector<uint8_t> before = Pixels(twice);
        twice.setwritemode(kXorPut);
        shapes[i](twice);
        shapes[i](twice);
        ASSERT_EQ(before, Pixels(twice)) << i;
    }
}

TEST(Canvas, BarsFillInTheBorlandPatternsAlignedToTheScreen)
{
    const std::pair<int, std::vector<uint8_t>> patterns[] = {
        {kSolidFill, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {kEmptyFill, {0, 0, 0, 0, 0, 0, 0, 0}},
        {kLineFill, {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}},
        {kLtSlashFill, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}},
        {kBkSlashFill, {0xF0, 0x78, 0x3C, 0x1E, 0x0F, 0x87, 0xC3, 0xE1}},
        {kHatchFill, {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}},
        {kXHatchFill, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}},
        {kCloseDotFill, {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00}},
    };
    for (const auto& p : patterns) {
        Canvas c(40, 40);
        c.setbkcolor(1);
        c.setviewport(3, 5, 39, 39, true);
        c.setfillstyle(p.first, 7);
        c.setfillstyle(kUserFill, 2);   // refused: no pattern bits were given
        c.bar(20, 20, 0, 0);            // corners in either order, no outline
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool inside = x >= 3 && x <= 23 && y >= 5 && y <= 25;
                ASSERT_EQ(inside ? ((p.second[y & 7] >> (7 - (x & 7))) & 1 ? 7 : 1) : 0, At(c, x, y))
                    << "pattern " << p.first << " at " << x << "," << y;
            }
    }
}

TEST(Canvas, CirclesAreSymmetricClosedOnTheirRadiusAndClipped)
{
    for (int r : {0, 1, 2, 5, 17, 40}) {
        Canvas c(101, 101);
        c.circle(50, 50, r);
        for (int y = 0; y < 101; ++y)
            for (int x = 0; x < 101; ++x) {
                const int dx = x - 50, dy = y - 50;
                if (At(c, x, y)) {
                    EXPECT_TRUE(At(c, 50 - dx, 50 + dy) && At(c, 50 + dx, 50 - dy) && At(c, 50 + dy, 50 + dx));
                    EXPECT_LT(std::abs(std::hypot(dx, dy) - r), 1.0) << "r " << r << " at " << dx << "," << dy;
                }
            }
        EXPECT_TRUE(At(c, 50 + r, 50) && At(c, 50, 50 - r));
        EXPECT_FALSE(At(c, 51 + r, 50));
        // Closed: a 4-way flood from the centre stays inside.
        std::vector<std::pair<int, int>> stack = {{50, 50}};
        std::set<std::pair<int, int>> seen;
        while (r >= 2 && !stack.empty()) {
            auto [x, y] = stack.back();
            stack.pop_back();
            if (At(c, x, y) || !seen.insert({x, y}).second)
                continue;
            ASSERT_LT(std::hypot(x - 50, y - 50), r) << "r " << r;
            stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
        }
    }
    // A thick circle holds the thin ones of three radii; line styles do not apply.
    Canvas thick(80, 80);
    thick.setlinestyle(kDottedLine, 0, kThickWidth);
    thick.circle(40, 40, 20);
    for (int r : {19, 20, 21}) {
        Canvas thin(80, 80);
        thin.circle(40, 40, r);
        for (int i = 0; i < 80 * 80; ++i)
            EXPECT_TRUE(!thin.pixels()[i] || thick.pixels()[i]) << r;
    }
    EXPECT_FALSE(At(thick, 40, 40 - 23) || At(thick, 40, 40 - 17));
    // Huge circles are clipped, not walked.
    Canvas c(64, 48);
    c.setviewport(0, 10, 63, 47, true);
    c.circle(32, 1000000 + 20, 1000000);   // its top passes through row 20 of the viewport
    c.circle(32, 20, 2000000000);          // far beyond the screen on every side
    EXPECT_EQ(std::string(64, '#') + "\n", Art(c, 0, 30, 63, 30));
    EXPECT_EQ(64u, SetCount(c));
}

TEST(Canvas, FillellipseAndFillpoly)
{
    Canvas c(40, 30);
    c.setcolor(4);
    c.setfillstyle(kSolidFill, 2);
    c.fillellipse(20, 15, 12, 6);
    const int ellipse[][3] = {{8, 15, 4}, {32, 15, 4}, {20, 9, 4}, {20, 21, 4}, {20, 15, 2}, {30, 15, 2}, {7, 15, 0}, {9, 10, 0}};
    for (const auto& p : ellipse)
        EXPECT_EQ(p[2], At(c, p[0], p[1])) << p[0] << "," << p[1];
    for (int y = 0; y < 30; ++y)   // left-right symmetric
        for (int x = 1; x < 40; ++x)
            ASSERT_EQ(At(c, x, y), At(c, 40 - x, y)) << x << "," << y;

    // A concave U: its notch stays empty. A pentagram by the even-odd rule:
    // its points filled, its centre empty.
    Canvas u(100, 60);
    u.setcolor(5);
    u.setfillstyle(kSolidFill, 3);
    const int shape[] = {2, 2, 30, 2, 30, 25, 22, 25, 22, 10, 10, 10, 10, 25, 2, 25};
    u.fillpoly(8, shape);
    const int star[] = {70, 2, 87, 56, 42, 22, 98, 22, 53, 56};
    u.fillpoly(5, star);
    const int polys[][3] = {{2, 2, 5}, {16, 10, 5}, {5, 20, 3}, {26, 20, 3}, {16, 6, 3}, {16, 18, 0}, {34, 20, 0},
                            {70, 32, 0}, {70, 12, 3}, {50, 24, 3}};
    for (const auto& p : polys)
        EXPECT_EQ(p[2], At(u, p[0], p[1])) << p[0] << "," << p[1];
    // Vertices far outside the screen still fill what is on it.
    Canvas f(20, 20);
    f.setfillstyle(kSolidFill, 8);
    const int huge[] = {-1000000, -1000000, 1000000, -1000000, 0, 1000000};
    f.fillpoly(3, huge);
    f.fillpoly(0, huge);
    f.fillpoly(3, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(400, 8), Pixels(f));
}

TEST(Canvas, GetimageAndPutimage)
{
    Canvas c(50, 40);
    FillNoise(c, 4);
    const std::vector<uint8_t> original = Pixels(c);
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
    const std::vector<uint8_t> before = Pixels(c);
    c.putimage(3, 3, image, kXorPut);
    EXPECT_NE(before, Pixels(c));
    c.putimage(3, 3, image, kXorPut);
    EXPECT_EQ(before, Pixels(c));

    // Partly off the screen: those pixels read 0. Put in a viewport: only its
    // part lands. Fewer pixels than it claims, or too large: nothing.
    Canvas d(20, 20);
    d.setbkcolor(6);
    d.cleardevice();
    d.getimage(-2, -1, 1, 1, image);
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 6, 6, 0, 0, 6, 6}), image.pixels);
    d.cleardevice();
    d.setviewport(5, 5, 9, 9, true);
    d.putimage(2, 2, Image{6, 6, std::vector<uint8_t>(36, 1)}, kCopyPut);
    d.putimage(0, 0, Image{10, 10, std::vector<uint8_t>(5, 2)}, kCopyPut);
    EXPECT_EQ(9, std::count(d.pixels(), d.pixels() + 400, 1));
    EXPECT_EQ(1, At(d, 7, 7));
    EXPECT_EQ(1, At(d, 9, 9));
    EXPECT_EQ(0, std::count(d.pixels(), d.pixels() + 400, 2));
    d.getimage(0, 0, 100000, 10, image);
    EXPECT_EQ(0, image.width);
    EXPECT_TRUE(image.pixels.empty());
}

TEST(Canvas, TextInTheCurrentColourClippedToTheViewport)
{
    Canvas c(30, 12);
    c.setbkcolor(1);
    c.cleardevice();
    c.setcolor(14);
    c.setviewport(2, 2, 29, 11, true);
    c.outtextxy(1, 1, "A");
    std::string art;
    for (int y = 3; y < 11; ++y, art += '\n')
        for (int x = 3; x < 11; ++x)
            art += At(c, x, y) == 14 ? '#' : At(c, x, y) == 1 ? '.' : '?';
    EXPECT_EQ("..##....\n.####...\n##..##..\n##..##..\n######..\n##..##..\n##..##..\n........\n", art);
    EXPECT_EQ(8, c.textheight("H"));
    EXPECT_EQ(24, c.textwidth("abc"));

    // Full blocks partly outside the viewport.
    Canvas v(40, 20);
    v.setviewport(10, 5, 21, 10, true);
    v.outtextxy(-4, -3, "\xDB\xDB\xDB");
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(x >= 10 && x <= 21 && y >= 5 && y <= 9, At(v, x, y) != 0) << x << "," << y;
}

}  // namespace
