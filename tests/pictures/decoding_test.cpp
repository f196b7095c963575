// Pictures drawn into images from hand-made lumps: where a picture lands;
// palettes with gamma and odd PLAYPALs.
#include <algorithm>

#include "base/fatal.h"
#include "pictures/palette.h"
#include "pictures/picture.h"
#include "support/session_kit.h"
#include "support/picture_kit.h"

namespace {

using namespace testkit;

class PictureTest : public WadSession {};

constexpr uint8_t kUnder = 99;   // what the image holds before drawing

TEST_F(PictureTest, PicturesLandWhereAskedAndKeepWhatLiesUnderTheirHoles) {
    // Three columns with gaps: rows 0-1; rows 1-3; row 0 and row 3.
    const Bytes lump = PictureLump(3, 4, {{{0, {1, 2}}}, {{1, {3, 4, 5}}}, {{0, {6}}, {3, {7}}}});
    const Bytes wide = PictureLump(321, 4, Columns(321));   // wider than the game's screen
    OpenPictureIwad(dir, {{"PIC", lump}, {"WIDE", wide}}, GreyPlaypal());
    const Image blank{6, 6, std::vector<uint8_t>(36, kUnder)};
    struct Place { const char* what; int dx, dy, mag; };
    const Place table[] = {
        {"at the corner", 0, 0, 1},          {"left of the image, clipped", -1, 2, 1},
        {"doubled and above", 2, -1, 2},     {"halved", 1, 1, 0},
        {"thirded", 0, 0, -1},               {"cut by the right edge", 5, 0, 1},
        {"far outside", 32767, -32768, 3},
    };
    for (const Place& p : table) {
        SCOPED_TRACE(p.what);
        Image image = blank;
        ASSERT_EQ(DrawPictureInto(image, "pic", p.dx, p.dy, p.mag), kDrawn);
        Grid want(64, 64);
        Overlay(want, lump, p.dx, p.dy);
        EXPECT_TRUE(Shows(image, 0, 0, 6, 6, want, p.mag, kUnder));
    }
    // Nothing of a missing or oversized picture reaches the image.
    Image image = blank;
    EXPECT_EQ(DrawPictureInto(image, "NOPIC", 0, 0, 1), kNotDrawn);
    EXPECT_EQ(DrawPictureInto(image, "WIDE", 0, 0, 1), kDrawFailed);
    EXPECT_EQ(image.pixels, blank.pixels);
}

TEST_F(PictureTest, PalettesWithGammaAndOddPlaypals) {
    // Grey palettes, colour i being (i, i, i): reduced to 6 bits, gamma
    // added, black kept black and nothing beyond 63.
    OpenPictureIwad(dir, {}, GreyPlaypal());
    LoadPalette(0, 8);
    for (auto [colour, want] : {std::pair{0, 0}, {3, 0}, {4, 9}, {100, 33}, {220, 63}, {255, 63}})
        EXPECT_EQ(CurrentPalette()[3 * colour], want) << "colour " << colour;
    // One and a half palettes give palette 0 for every number; one shorter
    // than a palette leaves the colours it lacks black.
    OpenPictureIwad(dir, {}, Bytes(768 + 384, 200));
    LoadPalette(13, 0);
    LoadPalette(14, 5);   // no such palette: nothing changes
    EXPECT_EQ(CurrentPalette(), Bytes(768, 50));
    OpenPictureIwad(dir, {}, Bytes(30, 255));
    LoadPalette(3, 0);
    Bytes shortOne(768, 0);
    std::fill(shortOne.begin(), shortOne.begin() + 30, 63);
    EXPECT_EQ(CurrentPalette(), shortOne);
    OpenPictureIwad(dir, {}, {});
    EXPECT_THROW(LoadPalette(0, 0), ProgramExit);   // no PLAYPAL
}

}  // namespace
