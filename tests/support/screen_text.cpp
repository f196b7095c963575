#include "support/screen_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/config.h"
#include "platform/canvas.h"
#include "platform/video.h"
#include "support/png_reader.h"
#include "ui/graphics.h"

namespace testkit {

namespace {

constexpr int kGlyphSide = 8;

// The text's cells as the font draws them: 1 where a pixel is set.
Image MaskOf(const std::string& text) {
    Canvas canvas(static_cast<int>(text.size()) * kGlyphSide, kGlyphSide);
    canvas.setcolor(1);
    canvas.outtextxy(0, 0, text.c_str());
    Image mask;
    canvas.getimage(0, 0, static_cast<int>(text.size()) * kGlyphSide - 1, kGlyphSide - 1, mask);
    return mask;
}

// Whether the pixels, width to a row, show the mask's text with its top left
// corner at (left, top): its glyphs in colour (-1: the colour of the first
// glyph pixel) and the rest of its cells in background (-1: any other).
bool TextAt(const std::vector<uint8_t>& pixels, int width, int left, int top, const Image& mask,
            int colour, int background) {
    auto shown = [&](size_t i) {
        return pixels[(top + i / mask.width) * static_cast<size_t>(width) + left + i % mask.width];
    };
    if (colour < 0) {
        auto first = std::find(mask.pixels.begin(), mask.pixels.end(), 1);
        colour = shown(static_cast<size_t>(first - mask.pixels.begin()) % mask.pixels.size());
    }
    for (size_t i = 0; i < mask.pixels.size(); ++i) {
        bool ok = mask.pixels[i] ? shown(i) == colour
                                 : shown(i) != colour && (background < 0 || shown(i) == background);
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace

bool SnapshotShowsText(const std::string& path, const std::string& text) {
    PngPicture picture;
    std::string error = ReadPng(path, picture);
    EXPECT_EQ(error, "") << path;
    if (!error.empty() || text.empty())
        return false;
    Image mask = MaskOf(text);
    for (int top = 0; top + kGlyphSide <= picture.height; ++top)
        for (int left = 0; left + mask.width <= picture.width; ++left)
            if (TextAt(picture.pixels, picture.width, left, top, mask, -1, -1))
                return true;
    return false;
}

bool ShowsText(int x, int y, const std::string& text, int colour) {
    Image shown;
    Screen().getimage(x, y, x + kGlyphSide * static_cast<int>(text.size()) - 1, y + kGlyphSide - 1, shown);
    return TextAt(shown.pixels, shown.width, 0, 0, MaskOf(text), MapColor(colour),
                  MapColor(config.colors[kColorMenu]));
}

bool PanelLine(const PanelRect& panel, int i, const std::string& text, int colour, int column) {
    return ShowsText(panel.x1 + 4 + column * graphics.charW, panel.y1 + 4 + i * graphics.lineH,
                     text, colour);
}

}  // namespace testkit
