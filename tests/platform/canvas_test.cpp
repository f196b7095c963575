// The canvas primitives pixel by pixel: viewport and clipping, line styles
// and widths, XOR, fill patterns, circles, ellipses, polygons, saved images
// and text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "platform/canvas.h"

namespace {

// Screen pixel (absolute coordinates, whatever the viewport).
int At(const Canvas& c, int x, int y) { return c.pixels()[y * c.width() + x]; }
std::vector<uint8_t> Pixels(const Canvas& c) { return {c.pixels(), c.pixels() + c.width() * c.height()}; }
size_t SetCount(const Canvas& c) {
    return size_t(c.width() * c.height() - std::count(c.pixels(), c.pixels() + c.width() * c.height(), 0));
}

// The whole screen, '#' for set pixels, '.' for 0.
std::string Art(const Canvas& c) {
    std::string art;
    for (int y = 0; y < c.height(); ++y, art += '\n')
        for (int x = 0; x < c.width(); ++x)
            art += At(c, x, y) ? '#' : '.';
    return art;
}

void FillNoise(Canvas& c, unsigned seed) {
    std::mt19937 rng(seed);
    for (int i = 0; i < c.width() * c.height(); ++i)
        c.pixels()[i] = uint8_t(rng());
}

TEST(Canvas, ViewportOffsetsAndClipsDrawing) {
    Canvas c(64, 48);
    c.setviewport(10, 20, 29, 39, true);
    for (int i = -1; i <= 20; ++i)
        c.putpixel(i, i, 5);   // the diagonal and one pixel beyond either end
    EXPECT_TRUE(At(c, 10, 20) == 5 && At(c, 29, 39) == 5);
    EXPECT_EQ(20u, SetCount(c));
    // Reading is relative but not clipped; off the screen it gives 0.
    c.pixels()[20 * 64 + 9] = 8;
    EXPECT_EQ(8, c.getpixel(-1, 0));
    EXPECT_EQ(0, c.getpixel(-2000000000, 2000000000));
    // A shape's box gets the buffer's pixel only when it and its centre lie
    // wholly in the viewport.
    const struct { int x, y, left, top, right, bottom; bool inside; } boxes[] = {
        {0, 0, 0, 0, 19, 19, true}, {5, 5, -5, -5, 14, 14, true}, {1, 0, 0, 0, 19, 0, false},
        {0, 5, 0, -6, 0, 0, false}, {-1, 0, 1, 0, 1, 0, false}};
    for (const auto& b : boxes)
        EXPECT_EQ(b.inside ? &c.pixels()[(20 + b.y) * 64 + 10 + b.x] : nullptr,
                  c.pixelsAround(b.x, b.y, b.left, b.top, b.right, b.bottom)) << b.x << "," << b.y;

    // Viewports not inside the screen are refused; clearviewport clears the
    // viewport, cleardevice the screen.
    Canvas u(40, 30);
    u.setviewport(5, 5, 14, 14, true);
    const int refused[][4] = {{-1, 0, 10, 10}, {0, 0, 40, 10}, {10, 10, 9, 20}};
    for (const auto& v : refused)
        u.setviewport(v[0], v[1], v[2], v[3], true);
    u.setbkcolor(2);
    u.clearviewport();
    EXPECT_EQ(100, std::count(u.pixels(), u.pixels() + 40 * 30, 2));
    u.cleardevice();
    EXPECT_EQ(std::vector<uint8_t>(40 * 30, 2), Pixels(u));
}

// Random lines and rectangles of every width, solid and dotted: the same
// either way round, a solid thin line as many pixels as its longer side; in a
// clipping viewport the part of the whole shape there; in XOR each pixel
// written once, so once on black it is the copy and twice restores anything.
TEST(Canvas, RandomLinesAndRectanglesClipAndXor) {
    std::mt19937 rng(2);
    for (int i = 0; i < 320; ++i) {
        // Every eighth line is a row, and two in eight are columns, thin and thick.
        const int x1 = int(rng() % 120), y1 = int(rng() % 90);
        const int y2 = i % 8 == 6 ? y1 : int(rng() % 90);
        const int x2 = i % 8 == 7 || i % 8 == 4 ? x1 : int(rng() % 120);
        auto draw = [&](Canvas& c, int ax, int ay, int bx, int by) {
            c.setcolor(0x5A);
            c.setlinestyle(i % 3 ? kSolidLine : kDottedLine, 0, i % 2 ? kThickWidth : kNormWidth);
            if (i % 4 == 3)
                c.rectangle(ax, ay, bx, by);
            else
                c.line(ax, ay, bx, by);
        };
        Canvas whole(120, 90), reverse(120, 90), clipped(120, 90), once(120, 90), twice(120, 90);
        draw(whole, x1, y1, x2, y2);
        draw(reverse, x2, y2, x1, y1);
        ASSERT_EQ(Pixels(whole), Pixels(reverse)) << i;
        EXPECT_TRUE(i % 12 != 2 || SetCount(whole) == size_t(std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1)) << i;
        once.setwritemode(kXorPut);
        draw(once, x1, y1, x2, y2);
        ASSERT_EQ(Pixels(whole), Pixels(once)) << i;
        FillNoise(twice, unsigned(i));
        const std::vector<uint8_t> noise = Pixels(twice);
        twice.setwritemode(kXorPut);
        draw(twice, x1, y1, x2, y2);
        draw(twice, x1, y1, x2, y2);
        ASSERT_EQ(noise, Pixels(twice)) << i;
        clipped.setviewport(40, 30, 79, 59, true);
        draw(clipped, x1 - 40, y1 - 30, x2 - 40, y2 - 30);
        Image inside;
        whole.getimage(40, 30, 79, 59, inside);
        whole.cleardevice();
        whole.putimage(40, 30, inside, kCopyPut);
        ASSERT_EQ(Pixels(whole), Pixels(clipped)) << i;
    }
    // Many columns at once come out as the same lines drawn one by one, in
    // every style, width and write mode, clipped.
    const std::vector<int> xs = {-3, 0, 5, 5, 17, 33, 44};
    for (int i = 0; i < 12; ++i) {
        Canvas one(40, 30), many(40, 30);
        for (Canvas* c : {&one, &many}) {
            FillNoise(*c, unsigned(i));
            c->setviewport(2, 3, 35, 27, i % 2 == 0);
            c->setwritemode(i % 3 ? kCopyPut : kXorPut);
            c->setlinestyle(i % 4 ? kDottedLine : kSolidLine, 0, i % 4 == 3 ? kThickWidth : kNormWidth);
            c->setcolor(0x3C);
        }
        for (int x : xs)
            one.line(x, 25 - i, x, i - 4);
        many.columns(xs, 25 - i, i - 4);
        ASSERT_EQ(Pixels(one), Pixels(many)) << i;
    }
    // Far-away coordinates never wrap around.
    Canvas c(64, 48);
    c.line(-1000000, 10, 1000000, 10);
    c.line(65541, 30, 65600, 30);   // would land at x = 5 if wrapped
    c.line(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_EQ(64u + 48 - 1, SetCount(c));
}

TEST(Canvas, LineStylesAndWidths) {
    struct Case { int style, width, w, h, x1, y1, x2, y2; bool rectangle; const char* art; };
    const Case cases[] = {
        {kDottedLine, 1, 32, 1, 0, 0, 31, 0, false, "##..##..##..##..##..##..##..##..\n"},
        {9, 2, 4, 1, 0, 0, 3, 0, false, "####\n"},   // a bad style and width are refused
        {kSolidLine, 3, 12, 6, 1, 1, 10, 4, false,
         ".##.........\n.#####......\n.########...\n...########.\n......#####.\n.........##.\n"},
        {kSolidLine, 3, 12, 10, 2, 2, 8, 7, true,
         "............\n..#######...\n.#########..\n.#########..\n.###...###..\n"
         ".###...###..\n.#########..\n.#########..\n..#######...\n............\n"},
    };
    for (const auto& k : cases) {
        Canvas c(k.w, k.h);
        c.setlinestyle(k.style, 0, k.width);
        if (k.rectangle)
            c.rectangle(k.x1, k.y1, k.x2, k.y2);
        else
            c.line(k.x1, k.y1, k.x2, k.y2);
        EXPECT_EQ(k.art, Art(c)) << &k - cases;
    }
}

TEST(Canvas, BarsFillInTheBorlandPatternsAlignedToTheScreen) {
    const std::pair<int, uint64_t> patterns[] = {   // rows 0..7, row 0 in the top byte
        {kSolidFill, ~uint64_t{0}}, {kEmptyFill, 0}, {kBkSlashFill, 0xF0783C1E0F87C3E1}};
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
                const bool bit = (p.second >> (63 - 8 * (y & 7) - (x & 7))) & 1;
                ASSERT_EQ(inside ? (bit ? 7 : 1) : 0, At(c, x, y)) << p.first << " at " << x << "," << y;
            }
    }
}

// Filled shapes: {x, y, colour} samples of the interior (fill colour), the
// outline (current colour) and the outside.
TEST(Canvas, FillellipseAndFillpoly) {
    Canvas c(100, 60);
    c.setcolor(4);
    c.setfillstyle(kSolidFill, 2);
    c.fillellipse(20, 45, 12, 6);
    // A concave U keeps its notch empty; a pentagram by the even-odd rule
    // fills its points and keeps its centre empty.
    c.setcolor(5);
    c.setfillstyle(kSolidFill, 3);
    const int shape[] = {2, 2, 30, 2, 30, 25, 22, 25, 22, 10, 10, 10, 10, 25, 2, 25};
    c.fillpoly(8, shape);
    const int star[] = {70, 2, 87, 56, 42, 22, 98, 22, 53, 56};
    c.fillpoly(5, star);
    const int samples[][3] = {{8, 45, 4},  {20, 39, 4}, {20, 45, 2}, {7, 45, 0}, {2, 2, 5},   {16, 10, 5},
                              {26, 20, 3}, {16, 18, 0}, {34, 20, 0}, {70, 32, 0}, {70, 12, 3}, {50, 24, 3}};
    for (const auto& s : samples)
        EXPECT_EQ(s[2], At(c, s[0], s[1])) << s[0] << "," << s[1];
    // Vertices far outside the screen still fill what is on it; no points, nothing.
    Canvas f(20, 20);
    f.setfillstyle(kSolidFill, 8);
    const int huge[] = {-1000000, -1000000, 1000000, -1000000, 0, 1000000};
    f.fillpoly(3, huge);
    f.fillpoly(0, huge);
    f.fillpoly(3, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(400, 8), Pixels(f));
}

}  // namespace
