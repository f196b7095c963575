// The canvas primitives pixel by pixel: viewport and clipping, line styles
// and widths, XOR, fill patterns, circles, ellipses, polygons, saved images
// and text.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <set>
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
std::string Art(const Canvas& c)
{
    std::string art;
    for (int y = 0; y < c.height(); ++y, art += '\n')
        for (int x = 0; x < c.width(); ++x)
            art += At(c, x, y) ? '#' : '.';
    return art;
}

void FillNoise(Canvas& c, unsigned seed)
{
    std::mt19937 rng(seed);
    for (int i = 0; i < c.width() * c.height(); ++i)
        c.pixels()[i] = uint8_t(rng());
}

TEST(Canvas, ViewportOffsetsAndClipsDrawing)
{
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

    // Without clipping only the screen limits drawing. Viewports not inside
    // the screen are refused; clearviewport clears the viewport, cleardevice
    // the screen.
    Canvas u(40, 30);
    u.setviewport(10, 10, 20, 20, false);
    u.line(-100, 0, 100, 0);
    u.putpixel(25, 5, 4);
    EXPECT_EQ(4, At(u, 35, 15));
    EXPECT_EQ(41u, SetCount(u));
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
TEST(Canvas, RandomLinesAndRectanglesClipAndXor)
{
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

// Lines of every length up to the whole coordinate range hit the pixels
// nearest to the true line: after i steps along the major axis the minor
// offset is floor((2im + n) / 2n), halves away from the start.
TEST(Canvas, LongLinesCrossingTheScreenHitTheNearestPixels)
{
    std::mt19937 rng(7);
    const int64_t reach[] = {100, int64_t(1) << 20, int64_t(1) << 29, int64_t(1) << 31};
    for (int i = 0; i < 400; ++i) {
        const int64_t r = reach[i % 4];
        auto far = [&] { return int(std::clamp<int64_t>(int64_t(rng() % uint64_t(2 * r)) - r, INT32_MIN, INT32_MAX)); };
        const int x1 = far(), y1 = far(), x2 = int(rng() % 48), y2 = int(rng() % 40);
        Canvas c(48, 40);
        c.line(x1, y1, x2, y2);
        Canvas expected(48, 40);
        const bool xMajor = std::llabs(int64_t(x2) - x1) >= std::llabs(int64_t(y2) - y1);
        int64_t a0 = xMajor ? x1 : y1, b0 = xMajor ? y1 : x1, a1 = xMajor ? x2 : y2, b1 = xMajor ? y2 : x2;
        if (a1 < a0)
            std::swap(a0, a1), std::swap(b0, b1);
        const int64_t n = a1 - a0, rise = b1 - b0, dir = rise < 0 ? -1 : 1;
        for (int64_t major = 0; major < (xMajor ? 48 : 40); ++major) {
            const int64_t step = major - a0;
            if (step < 0 || step > n)
                continue;
            const __int128 num = __int128(2) * step * (rise * dir) + n;
            const int64_t minor = b0 + dir * int64_t(n ? num / (2 * n) : 0);
            expected.putpixel(int(xMajor ? major : minor), int(xMajor ? minor : major), 15);
        }
        ASSERT_EQ(Pixels(expected), Pixels(c)) << i << ": " << x1 << "," << y1 << " " << x2 << "," << y2;
    }
}

// A restarted canvas draws exactly as a new one, whatever the old one held.
TEST(Canvas, RestartedIsAsNew)
{
    auto draw = [](Canvas& c) {
        c.line(0, 0, 20, 9);
        c.bar(3, 3, 8, 6);
        c.outtextxy(1, 1, "Ab");
    };
    Canvas used(40, 12);
    FillNoise(used, 7);
    used.setviewport(5, 2, 30, 10, false);
    used.setcolor(9);
    used.setbkcolor(4);
    used.setlinestyle(kDottedLine, 0, kThickWidth);
    used.setfillstyle(kHatchFill, 2);
    used.setwritemode(kXorPut);
    used.restart(24, 10);
    Canvas fresh(24, 10);
    EXPECT_EQ(Pixels(used), Pixels(fresh));
    draw(used);
    draw(fresh);
    EXPECT_EQ(Pixels(used), Pixels(fresh));
}

TEST(Canvas, LineStylesAndWidths)
{
    struct Case { int style, width, w, h, x1, y1, x2, y2; bool rectangle; const char* art; };
    const Case cases[] = {
        {kDottedLine, 1, 32, 1, 0, 0, 31, 0, false, "##..##..##..##..##..##..##..##..\n"},
        {9, 2, 4, 1, 0, 0, 3, 0, false, "####\n"},   // a bad style and width are refused
        {kDottedLine, 1, 1, 8, 0, 7, 0, 0, false, "#\n#\n.\n.\n#\n#\n.\n.\n"},   // from the smaller end
        {kDottedLine, 1, 10, 10, 0, 0, 9, 9, true,   // restarting on each edge
         "##..##..##\n#........#\n..........\n..........\n#........#\n"
         "#........#\n..........\n..........\n#........#\n##..##..##\n"},
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

TEST(Canvas, BarsFillInTheBorlandPatternsAlignedToTheScreen)
{
    const std::pair<int, uint64_t> patterns[] = {   // rows 0..7, row 0 in the top byte
        {kSolidFill, ~uint64_t{0}},           {kEmptyFill, 0},
        {kLineFill, 0xFFFF0000FFFF0000},      {kLtSlashFill, 0x0102040810204080},
        {kBkSlashFill, 0xF0783C1E0F87C3E1},   {kHatchFill, 0xFF888888FF888888},
        {kXHatchFill, 0x8142241818244281},    {kCloseDotFill, 0x8800220088002200}};
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

TEST(Canvas, CirclesAreSymmetricClosedOnTheirRadiusAndClipped)
{
    for (int r : {0, 1, 2, 5, 17, 40}) {
        Canvas c(101, 101);
        c.circle(50, 50, r);
        for (int y = 0; y < 101; ++y)
            for (int x = 0; x < 101; ++x)
                if (At(c, x, y)) {
                    const int dx = x - 50, dy = y - 50;
                    EXPECT_TRUE(At(c, 50 - dx, 50 + dy) && At(c, 50 + dx, 50 - dy) && At(c, 50 + dy, 50 + dx));
                    EXPECT_LT(std::abs(std::hypot(dx, dy) - r), 1.0) << "r " << r << " at " << dx << "," << dy;
                }
        EXPECT_TRUE(At(c, 50 + r, 50) && !At(c, 51 + r, 50));
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
    // Huge circles are clipped, not walked.
    Canvas c(64, 48);
    c.setviewport(0, 10, 63, 47, true);
    c.circle(32, 1000000 + 20, 1000000);   // its top passes through row 20 of the viewport
    c.circle(32, 20, 2000000000);          // far beyond the screen on every side
    EXPECT_EQ(64, std::count(c.pixels() + 30 * 64, c.pixels() + 31 * 64, 15));
    EXPECT_EQ(64u, SetCount(c));
}

// Filled shapes: {x, y, colour} samples of the interior (fill colour), the
// outline (current colour) and the outside.
TEST(Canvas, FillellipseAndFillpoly)
{
    Canvas c(100, 60);
    c.setcolor(4);
    c.setfillstyle(kSolidFill, 2);
    c.fillellipse(20, 45, 12, 6);
    for (int y = 39; y <= 51; ++y)   // left-right symmetric
        for (int x = 8; x <= 32; ++x)
            ASSERT_EQ(At(c, x, y), At(c, 40 - x, y)) << x << "," << y;
    // A concave U keeps its notch empty; a pentagram by the even-odd rule
    // fills its points and keeps its centre empty.
    c.setcolor(5);
    c.setfillstyle(kSolidFill, 3);
    const int shape[] = {2, 2, 30, 2, 30, 25, 22, 25, 22, 10, 10, 10, 10, 25, 2, 25};
    c.fillpoly(8, shape);
    const int star[] = {70, 2, 87, 56, 42, 22, 98, 22, 53, 56};
    c.fillpoly(5, star);
    const int samples[][3] = {{8, 45, 4},  {32, 45, 4}, {20, 39, 4}, {20, 51, 4}, {20, 45, 2}, {30, 45, 2},
                              {7, 45, 0},  {9, 40, 0},  {2, 2, 5},   {16, 10, 5}, {5, 20, 3},  {26, 20, 3},
                              {16, 6, 3},  {16, 18, 0}, {34, 20, 0}, {70, 32, 0}, {70, 12, 3}, {50, 24, 3}};
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

TEST(Canvas, GetimageAndPutimage)
{
    Canvas c(50, 40);
    FillNoise(c, 4);
    const std::vector<uint8_t> original = Pixels(c);
    Image image;
    c.getimage(15, 10, 5, 2, image);   // corners in either order
    ASSERT_EQ(11 * 1000 + 9, image.width * 1000 + image.height);
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

    // Rows of every width copy exactly their own pixels, nothing beside them.
    for (int width : {1, 3, 4, 7, 8, 9, 16, 17, 40}) {
        FillNoise(c, unsigned(width));
        const std::vector<uint8_t> noise = Pixels(c);
        c.getimage(1, 1, width, 3, image);
        c.cleardevice();
        c.putimage(5, 30, image, kCopyPut);
        for (int y = 29; y <= 33; ++y)
            for (int x = 0; x < 50; ++x) {
                bool inside = y >= 30 && y <= 32 && x >= 5 && x < 5 + width;
                ASSERT_EQ(inside ? noise[size_t((y - 29) * 50 + x - 4)] : 0, At(c, x, y)) << width;
            }
    }

    // Partly off the screen: those pixels read 0. Put in a viewport: only its
    // part lands. Fewer pixels than it claims, or too large: nothing.
    Canvas d(20, 20);
    d.setbkcolor(6);
    d.cleardevice();
    d.getimage(-2, -1, 1, 1, image);
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 6, 6, 0, 0, 6, 6}), image.pixels);
    d.setviewport(5, 5, 9, 9, true);
    d.putimage(2, 2, Image{6, 6, std::vector<uint8_t>(36, 1)}, kCopyPut);
    d.putimage(0, 0, Image{10, 10, std::vector<uint8_t>(5, 2)}, kCopyPut);
    EXPECT_EQ(9, std::count(d.pixels(), d.pixels() + 400, 1));
    d.getimage(0, 0, 100000, 10, image);
    EXPECT_TRUE(image.width == 0 && image.pixels.empty());
}

TEST(Canvas, TextInTheCurrentColourClippedToTheViewport)
{
    Canvas v(12, 8);
    v.setcolor(14);
    v.setviewport(2, 2, 9, 5, true);
    v.outtextxy(-4, -3, "\xDB\xDB\xDB");   // full blocks
    EXPECT_EQ("............\n............\n..########..\n..########..\n..########..\n..########..\n"
              "............\n............\n", Art(v));
    EXPECT_EQ(14, At(v, 2, 2));
}

}  // namespace
