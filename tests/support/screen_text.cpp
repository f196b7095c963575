#include "support/screen_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/canvas.h"
#include "support/png_reader.h"

namespace testkit {

namespace {

constexpr int kGlyphSide = 8;

// The text's cells as the font draws them: true where a pixel is set.
struct TextMask {
    int width = 0;
    std::vector<bool> set;   // width x kGlyphSide
    int firstX = 0, firstY = 0;
};

TextMask MaskOf(const std::string& text) {
    TextMask mask;
    mask.width = static_cast<int>(text.size()) * kGlyphSide;
    Canvas canvas(mask.width, kGlyphSide);
    canvas.setcolor(1);
    canvas.outtextxy(0, 0, text.c_str());
    mask.set.resize(static_cast<size_t>(mask.width * kGlyphSide));
    bool first = true;
    for (int y = 0; y < kGlyphSide; ++y)
        for (int x = 0; x < mask.width; ++x) {
            bool on = canvas.getpixel(x, y) != 0;
            mask.set[static_cast<size_t>(y * mask.width + x)] = on;
            if (on && first) {
                mask.firstX = x, mask.firstY = y;
                first = false;
            }
        }
    return mask;
}

bool MatchesAt(const PngPicture& p, const TextMask& mask, int left, int top) {
    uint8_t colour = p.pixels[static_cast<size_t>((top + mask.firstY) * p.width + left + mask.firstX)];
    for (int y = 0; y < kGlyphSide; ++y) {
        const uint8_t* row = &p.pixels[static_cast<size_t>((top + y) * p.width + left)];
        for (int x = 0; x < mask.width; ++x)
            if ((row[x] == colour) != mask.set[static_cast<size_t>(y * mask.width + x)])
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
    TextMask mask = MaskOf(text);
    for (int top = 0; top + kGlyphSide <= picture.height; ++top)
        for (int left = 0; left + mask.width <= picture.width; ++left)
            if (MatchesAt(picture, mask, left, top))
                return true;
    return false;
}

}  // namespace testkit
