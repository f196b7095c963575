// Flats: Freedoom's at several sizes, and missing, short and long lumps.
#include "pictures_fixture.h"
#include "ui/graphics.h"

namespace picturetest {
namespace {

constexpr int kPaint = 251;

// A flat's bytes as a 64 x 64 grid.
Grid FlatGrid(const Bytes& lump) {
    Grid grid = EmptyGrid(64, 64);
    for (int i = 0; i < 4096; ++i)
        grid.cells[i] = lump[i];
    return grid;
}

TEST_F(PictureTest, FreedoomFlats) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    Open(iwad);
    RawWad wad(iwad);
    for (const char* name : {"FLOOR0_1", "NUKAGE1", "F_SKY1", "flat1"}) {
        Grid flat = FlatGrid(wad.lump(name));
        for (int mag : {1, 2, 3, 0}) {
            Paint(kPaint);
            EXPECT_EQ(DrawFlat(7, 9, 7 + 63, 9 + 63, name, mag), kDrawn);
            Grid expected = Scale(flat, mag);
            EXPECT_TRUE(ShowsGrid(7, 9, expected, -1)) << name << " mag " << mag;
            EXPECT_EQ(At(7 + expected.width, 9), kPaint);
            EXPECT_EQ(At(7, 9 + expected.height), kPaint);
        }
    }
}

TEST_F(PictureTest, MissingShortAndLongFlats) {
    Bytes longer(5000, 0);
    for (size_t i = 0; i < longer.size(); ++i)
        longer[i] = static_cast<uint8_t>(i < 4096 ? i % 200 : 250);
    testkit::WadBuilder wad("IWAD");
    wad.lump("F_START").lump("SHORT", Bytes(4095, 3)).lump("EMPTY").lump("LONG", longer).lump("F_END");
    OpenBuilt(wad);

    // Missing: a grey cross inside the box, inset by 2.
    Paint(kPaint);
    EXPECT_EQ(DrawFlat(10, 10, 73, 73, "NOFLAT", 1), kNotDrawn);
    EXPECT_EQ(At(12, 12), MapColor(8));
    EXPECT_EQ(At(71, 71), MapColor(8));
    EXPECT_EQ(At(12, 71), MapColor(8));
    EXPECT_EQ(At(11, 11), kPaint);
    EXPECT_EQ(Count(10, 10, 73, 73, kPaint), 64 * 64 - Count(10, 10, 73, 73, MapColor(8)));

    // Shorter than a flat: damaged, the red cross and no pixels of it.
    for (const char* name : {"SHORT", "EMPTY"}) {
        Paint(kPaint);
        EXPECT_EQ(DrawFlat(10, 10, 73, 73, name, 1), kDrawFailed) << name;
        EXPECT_EQ(At(12, 12), MapColor(4));
        EXPECT_EQ(At(71, 12), MapColor(4));
        EXPECT_EQ(Count(10, 10, 73, 73, 3), 0);
    }

    // Longer: the first 4096 bytes, as the game reads them.
    Paint(kPaint);
    EXPECT_EQ(DrawFlat(10, 10, 73, 73, "LONG", 1), kDrawn);
    EXPECT_TRUE(ShowsGrid(10, 10, FlatGrid(longer), -1));
}

}  // namespace
}  // namespace picturetest
