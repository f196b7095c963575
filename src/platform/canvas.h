// The canvas: an 8-bit indexed framebuffer with the drawing model of Borland's
// BGI (viewport with clipping, current colour, line styles, write modes, fill
// patterns, saved images, a built-in bitmap font). Pure C++, no SDL, so that
// every operation can be checked pixel by pixel.
#pragma once

#include <cstdint>
#include <vector>

// Line styles and widths.
enum LineStyle { kSolidLine = 0, kDottedLine = 1, kCenterLine = 2, kDashedLine = 3, kUserBitLine = 4 };
enum LineWidth { kNormWidth = 1, kThickWidth = 3 };

// Write modes of lines, rectangles and images.
enum WriteMode { kCopyPut = 0, kXorPut = 1 };

// The standard fill patterns (the "Thing Fill Pattern" setting 0..11 uses them).
enum FillPattern {
    kEmptyFill = 0, kSolidFill, kLineFill, kLtSlashFill, kSlashFill, kBkSlashFill,
    kLtBkSlashFill, kHatchFill, kXHatchFill, kInterleaveFill, kWideDotFill,
    kCloseDotFill, kUserFill
};

struct Viewport {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool clip = true;
};

// A block of pixels saved by getimage, put back by putimage.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;   // row-major
};

class Canvas {
public:
    Canvas(int width, int height);
    // A new size: every pixel in the background colour, the viewport the
    // whole screen; colours and styles stay.
    void resize(int width, int height);
    // As a new Canvas(width, height), in the memory this one has.
    void restart(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Row-major pixels of the whole screen, one palette index each.
    const uint8_t* pixels() const { return pixels_.data(); }
    uint8_t* pixels() { return pixels_.data(); }

    // Whole-screen limits: the largest column and row.
    int getmaxx() const { return width_ - 1; }
    int getmaxy() const { return height_ - 1; }

    // Coordinates of every drawing call below are relative to the viewport.
    // With clip set, drawing stops at the viewport's edges, else only at the
    // screen's. A viewport not inside the screen is refused (nothing changes).
    void setviewport(int left, int top, int right, int bottom, bool clip);
    Viewport getviewport() const { return viewport_; }
    // Whole screen to the background colour; the viewport is kept (as in BGI).
    void cleardevice();
    // The viewport to the background colour.
    void clearviewport();

    void setcolor(int color);
    int getcolor() const { return color_; }
    void setbkcolor(int color);
    // Borland's patterns (dotted 0xCCCC, center 0xFC78, dashed 0xF8F8, or
    // `pattern` for kUserBitLine), bit 15 first, restarting at each line's end
    // with the smaller major coordinate; 0 bits leave pixels alone. A thick
    // line is 3 pixels across its major axis. Circles use only the thickness.
    // A bad style or thickness is refused.
    void setlinestyle(int style, unsigned pattern, int thickness);
    // Fills (bar, fillellipse, fillpoly) paint the pattern's 1 bits in `color`
    // and its 0 bits in the background colour, the 8 x 8 pattern aligned to
    // the screen. Patterns beyond kCloseDotFill are refused.
    void setfillstyle(int pattern, int color);
    // XOR applies to line and rectangle, which write each pixel once,
    // so drawing twice restores the screen. Everything else copies.
    void setwritemode(int mode);
    int getwritemode() const { return writeMode_; }

    void putpixel(int x, int y, int color);
    // The buffer's pixel at (x, y), for writing a small shape straight into
    // the buffer, when the shape's box (from x + left, y + top to x + right,
    // y + bottom) lies wholly where drawing lands; else nullptr.
    uint8_t* pixelsAround(int x, int y, int left, int top, int right, int bottom);
    // Reading is not clipped to the viewport; outside the screen it gives 0.
    int getpixel(int x, int y) const;
    // Inline: a map redraw draws a few hundred thousand lines.
    void line(int x1, int y1, int x2, int y2);
    // line(x, y1, x, y2) for every x of xs, put row by row: far quicker for
    // many long columns (a grid's), as each row of the buffer is visited once.
    void columns(const std::vector<int>& xs, int y1, int y2);
    void rectangle(int left, int top, int right, int bottom);
    void bar(int left, int top, int right, int bottom);
    void circle(int x, int y, int radius);
    // Interior in the fill style, outline in the current colour and thickness.
    void fillellipse(int x, int y, int xradius, int yradius);
    // numPoints vertices as x, y pairs; the polygon is closed automatically.
    // Interior by the even-odd rule (a self-crossing star keeps its centre
    // empty), then the outline in the current colour and line style.
    void fillpoly(int numPoints, const int* points);

    // Pixels outside the screen read as 0. A rectangle wider or taller than
    // kMaxImageSide gives an empty image.
    void getimage(int left, int top, int right, int bottom, Image& image) const;
    // mode is kCopyPut or kXorPut; clipped like every drawing call.
    void putimage(int left, int top, const Image& image, int mode);
    static constexpr int kMaxImageSide = 32768;

    // Text in the built-in 8 x 8 font of the PC character set (code page 437),
    // in the current colour over what is there; the upper-left corner of the
    // first character is at (x, y).
    void outtextxy(int x, int y, const char* text);
    int textwidth(const char* text) const;
    int textheight(const char* text) const;

private:
    // A rectangle in screen coordinates, both corners included.
    struct Box {
        int64_t x0, y0, x1, y1;
    };

    // The viewport rectangle with these corners, in screen coordinates, ordered.
    Box ScreenBox(int left, int top, int right, int bottom) const;
    void DrawLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int mode);
    void PutRow(int64_t y, int64_t xs, int64_t xe);
    void PutColumn(int64_t x, int64_t ys, int64_t ye);
    void PutPatternRun(uint8_t* p, int64_t step, int64_t count, int64_t phase);
    void DrawEllipseRing(int64_t cx, int64_t cy, int64_t xr, int64_t yr);
    void FillEllipseDisc(int64_t cx, int64_t cy, int64_t xr, int64_t yr);
    void FillPolygonInterior(const std::vector<int64_t>& xs, const std::vector<int64_t>& ys);
    void ColorSpan(int64_t y, int64_t x0, int64_t x1, uint8_t color);
    void PatternSpan(int64_t y, int64_t x0, int64_t x1);
    void FillBox(const Box& box, uint8_t color);
    bool LinePixelOn(int64_t index) const;

    int width_, height_;
    std::vector<uint8_t> pixels_;
    Viewport viewport_;
    Box clip_;   // where drawing may land: the viewport when clipping, else the screen
    int color_ = 15;
    int bkcolor_ = 0;
    unsigned linePattern_ = 0xFFFF;
    int thickness_ = kNormWidth;
    int fillColor_ = 15;
    const uint8_t* fillRows_;   // the 8 rows of the fill pattern, bit 7 leftmost
    int writeMode_ = kCopyPut;
};

inline void Canvas::line(int x1, int y1, int x2, int y2)
{
    const int64_t ox = viewport_.left, oy = viewport_.top;
    if (thickness_ == kNormWidth && y1 == y2)
        PutRow(y1 + oy, (x1 < x2 ? x1 : x2) + ox, (x1 < x2 ? x2 : x1) + ox);
    else if (thickness_ == kNormWidth && x1 == x2)
        PutColumn(x1 + ox, (y1 < y2 ? y1 : y2) + oy, (y1 < y2 ? y2 : y1) + oy);
    else
        DrawLine(x1 + ox, y1 + oy, x2 + ox, y2 + oy, writeMode_);
}
