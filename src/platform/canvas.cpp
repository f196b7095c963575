// The BGI-like canvas. Every primitive works in 64-bit screen coordinates and
// is clipped before it touches a pixel, so that coordinates far outside the
// screen (a map at high zoom) cost nothing and never wrap around.
#include "platform/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/font8x8.h"

namespace {

// Wide enough for the squared radii of ellipses.
using Wide = __int128;

// Borland's line patterns; bit 15 is the first pixel of a line.
const unsigned kLinePatterns[4] = {0xFFFF, 0xCCCC, 0xFC78, 0xF8F8};

// Borland's fill patterns, 8 rows of 8 pixels, bit 7 the leftmost. They are
// aligned to the screen, so neighbouring fills join seamlessly.
const uint8_t kFillPatterns[12][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // empty: background colour
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // solid
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00},  // --- lines
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // /// light slashes
    {0xE0, 0xC1, 0x83, 0x07, 0x0E, 0x1C, 0x38, 0x70},  // /// thick slashes
    {0xF0, 0x78, 0x3C, 0x1E, 0x0F, 0x87, 0xC3, 0xE1},  // \\\ thick backslashes
    {0xA5, 0xD2, 0x69, 0xB4, 0x5A, 0x2D, 0x96, 0x4B},  // \\\ light backslashes
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},  // light hatch
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // heavy cross-hatch
    {0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33},  // interleaving lines
    {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00},  // widely spaced dots
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00},  // closely spaced dots
};

// Radii beyond this are drawn as this; such an ellipse is a straight line on
// any screen, and the limit keeps its arithmetic inside 128 bits.
constexpr int64_t kMaxRadius = int64_t(1) << 30;

// The quotient and remainder of (a * b + c) / d for a, b, c >= 0 and d > 0,
// each below 2^40. Lines near the screen (all but those of absurd length)
// take plain 64-bit arithmetic; longer ones take the product bit by bit,
// the remainder kept below d, so nothing needs more than 64 bits.
struct QuotientRemainder {
    int64_t q, r;
};

QuotientRemainder MulAddDivide(int64_t a, int64_t b, int64_t c, int64_t d)
{
    constexpr int64_t kDirect = int64_t(1) << 30;
    if (a < kDirect && b < kDirect && c < kDirect) {
        const int64_t num = a * b + c;
        return {num / d, num % d};
    }
    // a * (b mod d) / d, bit by bit from the top of a.
    const int64_t rb = b % d;
    int64_t q = 0, r = 0;
    for (int bit = 62; bit >= 0; --bit) {
        q *= 2;
        r *= 2;
        if (r >= d)
            r -= d, ++q;
        if ((a >> bit) & 1) {
            r += rb;
            if (r >= d)
                r -= d, ++q;
        }
    }
    r += c % d;
    if (r >= d)
        r -= d, ++q;
    return {q + a * (b / d) + c / d, r};
}

// A line of n major steps rising m minor steps (0 <= m <= n, n > 0) is at minor
// offset q(i) = floor((2im + n) / 2n) after i steps: the pixel nearest to the
// true line, halves rounded away from the start. Narrows [lo, hi] to the steps
// whose offset lies in [kmin, kmax]; false when none does.
bool StepsWithin(int64_t n, int64_t m, int64_t kmin, int64_t kmax, int64_t& lo, int64_t& hi)
{
    if (kmax < 0 || kmin > m || kmin > kmax)
        return false;
    // The first step at offset k or more is ceil((2kn - n) / 2m).
    if (m > 0 && kmin > 0)
        lo = std::max(lo, MulAddDivide(n, 2 * kmin - 1, 2 * m - 1, 2 * m).q);
    if (m > 0 && kmax < m)
        hi = std::min(hi, MulAddDivide(n, 2 * kmax + 1, 2 * m - 1, 2 * m).q - 1);
    return lo <= hi;
}

// Half the width of row y of the digital ellipse with radii a and b: the largest
// x with (x / (a + 1/2))^2 + (y / (b + 1/2))^2 <= 1, or -1 when row y is empty.
// For a circle this is the set x^2 + y^2 <= r^2 + r, symmetric in x and y.
int64_t DiscHalfWidth(int64_t a, int64_t b, int64_t y)
{
    y = y < 0 ? -y : y;
    if (y > b)
        return -1;
    const Wide A = 2 * a + 1, B = 2 * b + 1;
    const Wide limit = A * A * (B * B - Wide(4) * y * y);   // 4 x^2 B^2 <= limit
    auto fits = [&](int64_t x) { return Wide(4) * x * x * B * B <= limit; };
    int64_t x = std::min<int64_t>(a, int64_t(std::sqrt(double(limit)) / (2.0 * double(B))));
    while (x > 0 && !fits(x))
        --x;
    while (x < a && fits(x + 1))
        ++x;
    return x;
}

// Where the outline of that ellipse starts in row y (|y| <= b): the outline is
// the pixels of the disc with a 4-neighbour outside it, so a row's outline runs
// from this value to DiscHalfWidth on each side.
int64_t OutlineInnerX(int64_t a, int64_t b, int64_t y)
{
    y = y < 0 ? -y : y;
    return std::min(DiscHalfWidth(a, b, y), DiscHalfWidth(a, b, y + 1) + 1);
}

// n bytes (sizeof(Word) to twice that) as two overlapping words.
template <class Word>
void CopyByEnds(uint8_t* to, const uint8_t* from, size_t n)
{
    Word head, tail;
    std::memcpy(&head, from, sizeof head);
    std::memcpy(&tail, from + n - sizeof tail, sizeof tail);
    std::memcpy(to, &head, sizeof head);
    std::memcpy(to + n - sizeof tail, &tail, sizeof tail);
}

// n bytes from one row to another: the short rows of small pictures (Thing
// sprites by the thousand) in two overlapping words rather than a call.
void CopyRow(uint8_t* to, const uint8_t* from, size_t n)
{
    if (n > 16) {
        std::memcpy(to, from, n);
    } else if (n >= 8) {
        CopyByEnds<uint64_t>(to, from, n);
    } else if (n >= 4) {
        CopyByEnds<uint32_t>(to, from, n);
    } else {
        for (size_t k = 0; k < n; ++k)
            to[k] = from[k];
    }
}

// The state of a line being stepped: where its pixel is in the buffer, the
// Bresenham remainder, and for thick lines its position across the major axis.
struct LineRun {
    uint8_t* pixels;
    int64_t index, majorStep, minorStep, acrossStep;
    int64_t remainder, twoN, twoM;
    int64_t minor, dir, minorLo, minorHi;
    unsigned pattern;
    uint8_t color;
};

// Steps i = lo..hi of a line; a thick line puts three pixels across the major
// axis at each step, those inside the clip box.
template <bool kThick, bool kXor, bool kSolid>
void StepLine(LineRun& run, int64_t lo, int64_t hi)
{
    for (int64_t i = lo; i <= hi; ++i) {
        if (kSolid || (run.pattern >> (15 - (i & 15))) & 1) {
            for (int64_t k = kThick ? -1 : 0; k <= (kThick ? 1 : 0); ++k) {
                if (kThick && (run.minor + k < run.minorLo || run.minor + k > run.minorHi))
                    continue;
                uint8_t& p = run.pixels[run.index + k * run.acrossStep];
                p = kXor ? uint8_t(p ^ run.color) : run.color;
            }
        }
        run.index += run.majorStep;
        run.remainder += run.twoM;
        if (run.remainder >= run.twoN) {
            run.remainder -= run.twoN;
            run.index += run.minorStep;
            if (kThick)
                run.minor += run.dir;
        }
    }
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)),
      pixels_(size_t(width_) * size_t(height_), 0), fillRows_(kFillPatterns[kSolidFill])
{
    setviewport(0, 0, width_ - 1, height_ - 1, true);
}

void Canvas::resize(int width, int height)
{
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    pixels_.assign(size_t(width_) * size_t(height_), uint8_t(bkcolor_));
    setviewport(0, 0, width_ - 1, height_ - 1, true);
}

void Canvas::restart(int width, int height)
{
    std::vector<uint8_t> memory = std::move(pixels_);
    *this = Canvas(1, 1);   // every colour and style as new
    pixels_ = std::move(memory);
    resize(width, height);
}

// ---------------------------------------------------------------------------
// State

void Canvas::setviewport(int left, int top, int right, int bottom, bool clip)
{
    // As in BGI, a viewport that is not inside the screen is refused.
    if (left < 0 || top < 0 || right >= width_ || bottom >= height_ || left > right || top > bottom)
        return;
    viewport_ = Viewport{left, top, right, bottom, clip};
    clip_ = clip ? Box{left, top, right, bottom} : Box{0, 0, width_ - 1, height_ - 1};
}

void Canvas::cleardevice()
{
    std::fill(pixels_.begin(), pixels_.end(), uint8_t(bkcolor_));
}

void Canvas::clearviewport()
{
    FillBox(Box{viewport_.left, viewport_.top, viewport_.right, viewport_.bottom}, uint8_t(bkcolor_));
}

void Canvas::setcolor(int color) { color_ = color & 0xFF; }

void Canvas::setbkcolor(int color) { bkcolor_ = color & 0xFF; }

void Canvas::setlinestyle(int style, unsigned pattern, int thickness)
{
    if (style < kSolidLine || style > kUserBitLine || (thickness != kNormWidth && thickness != kThickWidth))
        return;
    linePattern_ = style == kUserBitLine ? (pattern & 0xFFFF) : kLinePatterns[style];
    thickness_ = thickness;
}

void Canvas::setfillstyle(int pattern, int color)
{
    // A user pattern needs pattern bits this canvas is never given: refused, as in BGI.
    if (pattern < kEmptyFill || pattern >= kUserFill)
        return;
    fillColor_ = color & 0xFF;
    fillRows_ = kFillPatterns[pattern];
}

void Canvas::setwritemode(int mode)
{
    if (mode == kCopyPut || mode == kXorPut)
        writeMode_ = mode;
}

// ---------------------------------------------------------------------------
// Pixels and spans (screen coordinates)

void Canvas::FillBox(const Box& box, uint8_t color)
{
    const int64_t x0 = std::max(box.x0, clip_.x0), x1 = std::min(box.x1, clip_.x1);
    for (int64_t y = std::max(box.y0, clip_.y0); y <= std::min(box.y1, clip_.y1) && x0 <= x1; ++y)
        std::memset(&pixels_[size_t(y * width_ + x0)], color, size_t(x1 - x0 + 1));
}

void Canvas::ColorSpan(int64_t y, int64_t x0, int64_t x1, uint8_t color)
{
    FillBox(Box{x0, y, x1, y}, color);
}

void Canvas::PatternSpan(int64_t y, int64_t x0, int64_t x1)
{
    if (y < clip_.y0 || y > clip_.y1)
        return;
    x0 = std::max(x0, clip_.x0);
    x1 = std::min(x1, clip_.x1);
    const unsigned bits = fillRows_[y & 7];
    if (bits == 0xFF || bits == 0) {
        ColorSpan(y, x0, x1, uint8_t(bits ? fillColor_ : bkcolor_));
        return;
    }
    uint8_t* row = &pixels_[size_t(y * width_)];
    for (int64_t x = x0; x <= x1; ++x)
        row[x] = uint8_t((bits >> (7 - (x & 7))) & 1 ? fillColor_ : bkcolor_);
}

bool Canvas::LinePixelOn(int64_t index) const
{
    return (linePattern_ >> (15 - (index & 15))) & 1;
}

void Canvas::putpixel(int x, int y, int color)
{
    const int64_t sx = int64_t(x) + viewport_.left, sy = int64_t(y) + viewport_.top;
    if (sx >= clip_.x0 && sx <= clip_.x1 && sy >= clip_.y0 && sy <= clip_.y1)
        pixels_[size_t(sy * width_ + sx)] = uint8_t(color);
}

uint8_t* Canvas::pixelsAround(int x, int y, int left, int top, int right, int bottom)
{
    const int64_t sx = int64_t(x) + viewport_.left, sy = int64_t(y) + viewport_.top;
    // (x, y) itself must lie there too, for the pointer to be into the buffer.
    if (sx + std::min(left, 0) < clip_.x0 || sx + std::max(right, 0) > clip_.x1 ||
        sy + std::min(top, 0) < clip_.y0 || sy + std::max(bottom, 0) > clip_.y1)
        return nullptr;
    return &pixels_[size_t(sy * width_ + sx)];
}

int Canvas::getpixel(int x, int y) const
{
    const int64_t sx = int64_t(x) + viewport_.left, sy = int64_t(y) + viewport_.top;
    if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_)
        return 0;
    return pixels_[size_t(sy * width_ + sx)];
}

// ---------------------------------------------------------------------------
// Lines

namespace {

// n >= 1 bytes of color from p. The short rows of a map at a small scale
// take two overlapping stores instead of a call to memset.
void FillRow(uint8_t* p, uint8_t color, size_t n)
{
    if (n >= 16) {
        std::memset(p, color, n);
    } else if (n >= 8) {
        const uint64_t v = color * 0x0101010101010101u;
        std::memcpy(p, &v, 8);
        std::memcpy(p + n - 8, &v, 8);
    } else if (n >= 4) {
        const uint32_t v = color * 0x01010101u;
        std::memcpy(p, &v, 4);
        std::memcpy(p + n - 4, &v, 4);
    } else {
        p[0] = p[n / 2] = p[n - 1] = color;
    }
}

}  // namespace

// Thin lines along a row or a column are put straight into the buffer: most
// lines of a map at a small scale are such. The pattern counts from the end
// with the smaller coordinate, as DrawLine steps it.

void Canvas::PutRow(int64_t y, int64_t xs, int64_t xe)
{
    const int64_t x0 = std::max(xs, clip_.x0), x1 = std::min(xe, clip_.x1);
    if (y < clip_.y0 || y > clip_.y1 || x0 > x1)
        return;
    uint8_t* p = &pixels_[size_t(y * width_ + x0)];
    if (linePattern_ == 0xFFFF && writeMode_ == kCopyPut)
        FillRow(p, uint8_t(color_), size_t(x1 - x0 + 1));
    else
        PutPatternRun(p, 1, x1 - x0 + 1, (x0 - xs) & 15);
}

void Canvas::PutColumn(int64_t x, int64_t ys, int64_t ye)
{
    const int64_t y0 = std::max(ys, clip_.y0), y1 = std::min(ye, clip_.y1);
    if (x < clip_.x0 || x > clip_.x1 || y0 > y1)
        return;
    uint8_t* p = &pixels_[size_t(y0 * width_ + x)];
    if (linePattern_ != 0xFFFF || writeMode_ != kCopyPut) {
        PutPatternRun(p, width_, y1 - y0 + 1, (y0 - ys) & 15);
        return;
    }
    const uint8_t color = uint8_t(color_);
    for (int64_t n = y1 - y0 + 1; n > 0; --n, p += width_)
        *p = color;
}

void Canvas::columns(const std::vector<int>& xs, int y1, int y2)
{
    if (thickness_ != kNormWidth) {
        for (int x : xs)
            line(x, y1, x, y2);
        return;
    }
    const int64_t ys = int64_t(std::min(y1, y2)) + viewport_.top;
    const int64_t y0 = std::max(ys, clip_.y0), ye = std::min(int64_t(std::max(y1, y2)) + viewport_.top, clip_.y1);
    std::vector<int64_t> inside;   // the columns within the clip box
    for (int x : xs) {
        const int64_t sx = int64_t(x) + viewport_.left;
        if (sx >= clip_.x0 && sx <= clip_.x1)
            inside.push_back(sx);
    }
    const uint8_t color = uint8_t(color_);
    // The write mode is chosen once, outside the loops over every pixel.
    auto put = [&](auto write) {
        for (int64_t y = y0; y <= ye; ++y) {
            if (!LinePixelOn(y - ys))
                continue;
            uint8_t* row = &pixels_[size_t(y * width_)];
            for (int64_t x : inside)
                write(row[x]);
        }
    };
    if (writeMode_ == kXorPut)
        put([color](uint8_t& p) { p ^= color; });
    else
        put([color](uint8_t& p) { p = color; });
}

// count pixels from p, step apart, in the line pattern from its bit phase on,
// in the write mode: each bit of the pattern in turn, over every 16th pixel.
void Canvas::PutPatternRun(uint8_t* p, int64_t step, int64_t count, int64_t phase)
{
    const uint8_t color = uint8_t(color_);
    const bool xorMode = writeMode_ == kXorPut;
    for (int64_t k = 0; k < 16 && k < count; ++k) {
        if (!LinePixelOn(phase + k))
            continue;
        uint8_t* q = p + k * step;
        if (xorMode)
            for (int64_t i = k; i < count; i += 16, q += 16 * step)
                *q ^= color;
        else
            for (int64_t i = k; i < count; i += 16, q += 16 * step)
                *q = color;
    }
}

// The line is stepped along its major axis from the end with the smaller major
// coordinate, so that a line and its reverse cover the same pixels and XOR
// erases either. A thick line is three pixels across the major axis at every
// step, so no pixel is visited twice. Only the steps that can reach the clip
// box are visited; the first one's position is computed directly.
void Canvas::DrawLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int mode)
{
    const bool xMajor = std::llabs(x2 - x1) >= std::llabs(y2 - y1);
    if (xMajor ? x2 < x1 : y2 < y1) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int64_t majorStart = xMajor ? x1 : y1, minorStart = xMajor ? y1 : x1;
    const int64_t n = xMajor ? x2 - x1 : y2 - y1;
    const int64_t rise = xMajor ? y2 - y1 : x2 - x1;
    const int64_t dir = rise < 0 ? -1 : 1, m = rise * dir;
    const int64_t majorLo = xMajor ? clip_.x0 : clip_.y0, majorHi = xMajor ? clip_.x1 : clip_.y1;
    const int64_t minorLo = xMajor ? clip_.y0 : clip_.x0, minorHi = xMajor ? clip_.y1 : clip_.x1;
    const int64_t half = thickness_ == kThickWidth ? 1 : 0;

    int64_t lo = std::max<int64_t>(0, majorLo - majorStart);
    int64_t hi = std::min(n, majorHi - majorStart);
    if (lo > hi)
        return;
    const int64_t reachLo = minorLo - half, reachHi = minorHi + half;
    if (n == 0) {
        if (minorStart < reachLo || minorStart > reachHi)
            return;
    } else {
        const int64_t kmin = dir > 0 ? reachLo - minorStart : minorStart - reachHi;
        const int64_t kmax = dir > 0 ? reachHi - minorStart : minorStart - reachLo;
        if (!StepsWithin(n, m, kmin, kmax, lo, hi))
            return;
    }

    // Bresenham state at step lo: offset q and remainder r of (2 lo m + n) / 2n.
    const int64_t twoN = 2 * std::max<int64_t>(n, 1), twoM = 2 * m;
    // From its first step (most lines) the line starts at offset 0, remainder n.
    const QuotientRemainder start = lo == 0 ? QuotientRemainder{0, n} : MulAddDivide(lo, twoM, n, twoN);
    int64_t minor = minorStart + dir * start.q;
    int64_t r = start.r;
    const int64_t majorStep = xMajor ? 1 : width_;
    const int64_t acrossStep = xMajor ? width_ : 1;
    int64_t index = xMajor ? minor * width_ + majorStart + lo : (majorStart + lo) * width_ + minor;
    LineRun run{pixels_.data(), index, majorStep, dir * acrossStep, acrossStep, r, twoN, twoM,
                minor, dir, minorLo, minorHi, linePattern_, uint8_t(color_)};
    const bool xorMode = mode == kXorPut;
    if (half)
        xorMode ? StepLine<true, true, false>(run, lo, hi) : StepLine<true, false, false>(run, lo, hi);
    else if (linePattern_ != 0xFFFF)
        xorMode ? StepLine<false, true, false>(run, lo, hi) : StepLine<false, false, false>(run, lo, hi);
    else   // most lines: thin and solid
        xorMode ? StepLine<false, true, true>(run, lo, hi) : StepLine<false, false, true>(run, lo, hi);
}

Canvas::Box Canvas::ScreenBox(int left, int top, int right, int bottom) const
{
    int64_t l = int64_t(left) + viewport_.left, r = int64_t(right) + viewport_.left;
    int64_t t = int64_t(top) + viewport_.top, b = int64_t(bottom) + viewport_.top;
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// The outline is what four lines along the edges would draw, but every pixel
// is written once even where thick edges overlap at the corners, so an XOR
// rectangle shows solid corners and drawing it twice restores the screen. A
// patterned pixel is on when any edge that covers it has it on.
void Canvas::rectangle(int left, int top, int right, int bottom)
{
    const Box box = ScreenBox(left, top, right, bottom);
    const int64_t l = box.x0, t = box.y0, r = box.x1, b = box.y1;
    const int64_t h = thickness_ == kThickWidth ? 1 : 0;
    struct Edge {
        Box box;
        bool horizontal;   // pattern counted along x from l, else along y from t
    };
    const Edge edges[4] = {{{l, t - h, r, t + h}, true},
                           {{l, b - h, r, b + h}, true},
                           {{l - h, t, l + h, b}, false},
                           {{r - h, t, r + h, b}, false}};
    auto covers = [](const Box& box, int64_t x, int64_t y) {
        return x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1;
    };
    const uint8_t color = uint8_t(color_);
    const bool solid = linePattern_ == 0xFFFF, xorMode = writeMode_ == kXorPut;

    for (int64_t y = std::max(t - h, clip_.y0); y <= std::min(b + h, clip_.y1); ++y) {
        // The edges crossing this row, left to right; each pixel is visited once.
        const Edge* row[4];
        int count = 0;
        for (const Edge& e : edges)
            if (y >= e.box.y0 && y <= e.box.y1)
                row[count++] = &e;
        for (int a = 1; a < count; ++a)
            for (int k = a; k > 0 && row[k - 1]->box.x0 > row[k]->box.x0; --k)
                std::swap(row[k - 1], row[k]);
        int64_t next = clip_.x0;
        uint8_t* dst = &pixels_[size_t(y * width_)];
        for (int k = 0; k < count; ++k) {
            const int64_t to = std::min(row[k]->box.x1, clip_.x1);
            for (int64_t x = std::max(next, row[k]->box.x0); x <= to; ++x) {
                bool on = solid;
                for (int e = 0; e < count && !on; ++e)
                    on = covers(row[e]->box, x, y) && LinePixelOn(row[e]->horizontal ? x - l : y - t);
                if (on)
                    dst[x] = xorMode ? uint8_t(dst[x] ^ color) : color;
            }
            next = std::max(next, to + 1);
        }
    }
}

// ---------------------------------------------------------------------------
// Filled shapes

void Canvas::bar(int left, int top, int right, int bottom)
{
    const Box box = ScreenBox(left, top, right, bottom);
    const int64_t l = box.x0, t = box.y0, r = box.x1, b = box.y1;
    for (int64_t y = std::max(t, clip_.y0); y <= std::min(b, clip_.y1); ++y)
        PatternSpan(y, l, r);
}

// Outline of the ellipse in the current colour; a thick outline is the ring
// from the ellipse one pixel smaller to the one a pixel larger, so it holds the
// thin outlines of all three.
void Canvas::DrawEllipseRing(int64_t cx, int64_t cy, int64_t xr, int64_t yr)
{
    const int64_t h = thickness_ == kThickWidth ? 1 : 0;
    const int64_t outerX = std::min(xr, kMaxRadius) + h, outerY = std::min(yr, kMaxRadius) + h;
    const int64_t innerX = outerX - 2 * h, innerY = outerY - 2 * h;
    const bool hollow = innerX >= 0 && innerY >= 0;
    const uint8_t color = uint8_t(color_);
    for (int64_t y = std::max(-outerY, clip_.y0 - cy); y <= std::min(outerY, clip_.y1 - cy); ++y) {
        const int64_t w = DiscHalfWidth(outerX, outerY, y);
        const int64_t inside = hollow && std::llabs(y) <= innerY ? OutlineInnerX(innerX, innerY, y) : 0;
        if (inside == 0) {
            ColorSpan(cy + y, cx - w, cx + w, color);
        } else {
            ColorSpan(cy + y, cx - w, cx - inside, color);
            ColorSpan(cy + y, cx + inside, cx + w, color);
        }
    }
}

void Canvas::FillEllipseDisc(int64_t cx, int64_t cy, int64_t xr, int64_t yr)
{
    xr = std::min(xr, kMaxRadius);
    yr = std::min(yr, kMaxRadius);
    for (int64_t y = std::max(-yr, clip_.y0 - cy); y <= std::min(yr, clip_.y1 - cy); ++y) {
        const int64_t w = DiscHalfWidth(xr, yr, y);
        PatternSpan(cy + y, cx - w, cx + w);
    }
}

void Canvas::circle(int x, int y, int radius)
{
    if (radius < 0)
        return;
    DrawEllipseRing(int64_t(x) + viewport_.left, int64_t(y) + viewport_.top, radius, radius);
}

void Canvas::fillellipse(int x, int y, int xradius, int yradius)
{
    if (xradius < 0 || yradius < 0)
        return;
    const int64_t cx = int64_t(x) + viewport_.left, cy = int64_t(y) + viewport_.top;
    FillEllipseDisc(cx, cy, xradius, yradius);
    DrawEllipseRing(cx, cy, xradius, yradius);
}

// Even-odd rule, sampled at pixel centres: a pixel is filled when a ray from it
// crosses the outline an odd number of times, so the points of a self-crossing
// star are filled and its centre is not, as BGI's fillpoly does it.
void Canvas::FillPolygonInterior(const std::vector<int64_t>& xs, const std::vector<int64_t>& ys)
{
    const size_t n = xs.size();
    const int64_t top = std::max(*std::min_element(ys.begin(), ys.end()), clip_.y0);
    const int64_t bottom = std::min(*std::max_element(ys.begin(), ys.end()), clip_.y1);
    std::vector<double> crossings;
    for (int64_t y = top; y <= bottom; ++y) {
        crossings.clear();
        for (size_t i = 0; i < n; ++i) {
            const size_t j = (i + 1) % n;
            const int64_t ya = ys[i], yb = ys[j];
            if ((ya <= y && y < yb) || (yb <= y && y < ya))
                crossings.push_back(double(xs[i]) + double(y - ya) * double(xs[j] - xs[i]) / double(yb - ya));
        }
        std::sort(crossings.begin(), crossings.end());
        const double left = double(clip_.x0 - 1), right = double(clip_.x1 + 1);
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const double from = std::clamp(std::ceil(crossings[k]), left, right);
            const double to = std::clamp(std::floor(crossings[k + 1]), left, right);
            PatternSpan(y, int64_t(from), int64_t(to));
        }
    }
}

void Canvas::fillpoly(int numPoints, const int* points)
{
    if (numPoints < 1 || points == nullptr)
        return;
    const size_t count = size_t(numPoints);
    std::vector<int64_t> xs(count), ys(count);
    for (int i = 0; i < numPoints; ++i) {
        xs[size_t(i)] = int64_t(points[2 * i]) + viewport_.left;
        ys[size_t(i)] = int64_t(points[2 * i + 1]) + viewport_.top;
    }
    FillPolygonInterior(xs, ys);
    for (size_t i = 0; i < xs.size(); ++i) {
        const size_t j = (i + 1) % xs.size();
        DrawLine(xs[i], ys[i], xs[j], ys[j], kCopyPut);
    }
}

// ---------------------------------------------------------------------------
// Saved images

void Canvas::getimage(int left, int top, int right, int bottom, Image& image) const
{
    const Box box = ScreenBox(left, top, right, bottom);
    const int64_t l = box.x0, t = box.y0, r = box.x1, b = box.y1;
    image = Image();
    if (r - l + 1 > kMaxImageSide || b - t + 1 > kMaxImageSide)
        return;
    image.width = int(r - l + 1);
    image.height = int(b - t + 1);
    image.pixels.assign(size_t(image.width) * size_t(image.height), 0);
    const int64_t x0 = std::max<int64_t>(l, 0), x1 = std::min<int64_t>(r, width_ - 1);
    for (int64_t y = std::max<int64_t>(t, 0); y <= std::min<int64_t>(b, height_ - 1) && x0 <= x1; ++y)
        std::memcpy(&image.pixels[size_t((y - t) * image.width + (x0 - l))], &pixels_[size_t(y * width_ + x0)],
                    size_t(x1 - x0 + 1));
}

void Canvas::putimage(int left, int top, const Image& image, int mode)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < size_t(image.width) * size_t(image.height))
        return;
    const int64_t l = int64_t(left) + viewport_.left, t = int64_t(top) + viewport_.top;
    const int64_t x0 = std::max(l, clip_.x0), x1 = std::min(l + image.width - 1, clip_.x1);
    const int64_t y0 = std::max(t, clip_.y0), y1 = std::min(t + image.height - 1, clip_.y1);
    if (x0 > x1 || y0 > y1)
        return;
    const size_t n = size_t(x1 - x0 + 1);
    size_t at = size_t((y0 - t) * image.width + (x0 - l)), toAt = size_t(y0 * width_ + x0);
    const size_t rows = size_t(y1 - y0 + 1), fromStep = size_t(image.width), toStep = size_t(width_);
    // Plain pointers: the bytes written could alias the vectors' own.
    const uint8_t* const source = image.pixels.data();
    uint8_t* const screen = pixels_.data();
    if (mode == kXorPut) {
        for (size_t y = 0; y < rows; ++y, at += fromStep, toAt += toStep)
            for (size_t k = 0; k < n; ++k)
                screen[toAt + k] ^= source[at + k];
    } else {
        for (size_t y = 0; y < rows; ++y, at += fromStep, toAt += toStep)
            CopyRow(screen + toAt, source + at, n);
    }
}

// ---------------------------------------------------------------------------
// Text

void Canvas::outtextxy(int x, int y, const char* text)
{
    if (text == nullptr)
        return;
    const int64_t top = int64_t(y) + viewport_.top;
    const int64_t rowFrom = std::max<int64_t>(0, clip_.y0 - top);
    const int64_t rowTo = std::min<int64_t>(kFontCharHeight - 1, clip_.y1 - top);
    const uint8_t color = uint8_t(color_);
    int64_t left = int64_t(x) + viewport_.left;
    for (const char* c = text; *c != '\0' && left <= clip_.x1; ++c, left += kFontCharWidth) {
        if (left + kFontCharWidth - 1 < clip_.x0)
            continue;
        const uint8_t* glyph = FontGlyph(uint8_t(*c));
        for (int64_t row = rowFrom; row <= rowTo; ++row) {
            uint8_t* dst = &pixels_[size_t((top + row) * width_)];
            for (int col = 0; col < kFontCharWidth; ++col) {
                const int64_t sx = left + col;
                if ((glyph[row] >> (7 - col)) & 1 && sx >= clip_.x0 && sx <= clip_.x1)
                    dst[sx] = color;
            }
        }
    }
}

int Canvas::textwidth(const char* text) const
{
    return text == nullptr ? 0 : int(std::strlen(text)) * kFontCharWidth;
}

int Canvas::textheight(const char*) const { return kFontCharHeight; }
