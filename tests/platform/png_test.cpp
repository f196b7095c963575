// PNG files of the writer read back by the tests' own reader, which checks
// every CRC and the zlib stream with the system's zlib.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "platform/canvas.h"
#include "platform/png_writer.h"
#include "support/png_reader.h"
#include "support/testkit.h"

namespace {

using testkit::Bytes;

TEST(PngWriter, PaletteImagesSurviveTheRoundTripAndReplaceWholeFiles)
{
    testkit::ScratchDir dir;
    Bytes palette(768), noise(257 * 31);   // noise: literals only
    for (int i = 0; i < 768; ++i)
        palette[size_t(i)] = uint8_t(i / 3 + (i % 3) * 7);
    std::mt19937 rng(7);
    std::generate(noise.begin(), noise.end(), [&] { return uint8_t(rng()); });
    // A drawn screen: long runs and repeats at every distance up to the window.
    Canvas canvas(1280, 200);
    for (int i = 0; i < 300; ++i) {
        canvas.setcolor(int(rng() % 256));
        canvas.line(int(rng() % 1280), int(rng() % 200), int(rng() % 1280), int(rng() % 200));
    }
    canvas.outtextxy(10, 10, "Snapshot 123");
    const std::string path = dir.file("picture.png");
    struct Case { int width, height; Bytes pixels; };
    const Bytes screen(canvas.pixels(), canvas.pixels() + 1280 * 200);
    const Case cases[] = {{257, 31, noise}, {1280, 200, screen}, {1, 1, {42}}};
    for (const auto& c : cases) {   // each replaces the one before
        ASSERT_TRUE(WritePng(path, c.width, c.height, c.pixels.data(), palette.data()));
        testkit::PngPicture picture;
        ASSERT_EQ("", testkit::ReadPng(path, picture));
        EXPECT_EQ(c.width * 10000 + c.height, picture.width * 10000 + picture.height);
        EXPECT_EQ(palette, picture.palette);
        EXPECT_TRUE(picture.pixels == c.pixels);
    }
    // A plain screen compresses well. Bad arguments are refused and leave no file.
    const Bytes blank(1280 * 1024, 0);
    ASSERT_TRUE(WritePng(path, 1280, 1024, blank.data(), palette.data()));
    EXPECT_LT(testkit::ReadFileBytes(path).size(), 32u * 1024);
    EXPECT_FALSE(WritePng(dir.file("zero.png"), 0, 2, blank.data(), palette.data()));
    EXPECT_FALSE(WritePng(dir.file("null.png"), 2, 2, nullptr, palette.data()));
    EXPECT_FALSE(WritePng(dir.file("missing/dir.png"), 2, 2, blank.data(), palette.data()));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()));
}

}  // namespace
