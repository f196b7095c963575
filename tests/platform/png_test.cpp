#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/canvas.h"
#include "platform/png_writer.h"
#include "support/png_reader.h"
#include "support/testkit.h"

namespace {

using testkit::PngPicture;
using testkit::ReadPng;
using testkit::ScratchDir;

std::vector<uint8_t> GreyRamp()
{
    std::vector<uint8_t> palette(768);
    for (int i = 0; i < 768; ++i)
        palette[size_t(i)] = uint8_t(i / 3 + (i % 3) * 7);
    return palette;
}

void ExpectRoundTrip(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels)
{
    const std::vector<uint8_t> palette = GreyRamp();
    ASSERT_TRUE(WritePng(path, width, height, pixels.data(), palette.data()));
    PngPicture picture;
    ASSERT_EQ("", ReadPng(path, picture));
    EXPECT_EQ(width, picture.width);
    EXPECT_EQ(height, picture.height);
    EXPECT_EQ(palette, picture.palette);
    EXPECT_TRUE(picture.pixels == pixels);
}

TEST(PngWriter, FileStructureIsAPaletteImage)
{
    ScratchDir dir;
    const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6};
    const std::vector<uint8_t> palette = GreyRamp();
    ASSERT_TRUE(WritePng(dir.file("a.png"), 3, 2, pixels.data(), palette.data()));
    const testkit::Bytes file = testkit::ReadFileBytes(dir.file("a.png"));
    const testkit::Bytes head = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                 0,    0,   0,   3,   0,  0,  0,  2,  8, 3, 0, 0,  0};
    ASSERT_GE(file.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), file.begin()));
    PngPicture picture;
    ASSERT_EQ("", ReadPng(dir.file("a.png"), picture));   // every CRC checked
    EXPECT_EQ((std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}), picture.chunks);
    EXPECT_EQ(768u, picture.palette.size());
}

TEST(PngWriter, PixelsSurviveEncoding)
{
    ScratchDir dir;
    std::mt19937 rng(7);
    // Noise: literals only.
    std::vector<uint8_t> noise(257 * 31);
    for (uint8_t& p : noise)
        p = uint8_t(rng());
    ExpectRoundTrip(dir.file("noise.png"), 257, 31, noise);
    // A drawn screen: long runs and repeats at every distance up to the window.
    Canvas canvas(1280, 200);
    canvas.setbkcolor(3);
    canvas.cleardevice();
    for (int i = 0; i < 300; ++i) {
        canvas.setcolor(int(rng() % 256));
        canvas.line(int(rng() % 1280), int(rng() % 200), int(rng() % 1280), int(rng() % 200));
    }
    canvas.outtextxy(10, 10, "Snapshot 123");
    ExpectRoundTrip(dir.file("screen.png"),
                    1280, 200, std::vector<uint8_t>(canvas.pixels(), canvas.pixels() + 1280 * 200));
    ExpectRoundTrip(dir.file("one.png"), 1, 1, {42});
}

TEST(PngWriter, PlainScreensCompressWell)
{
    ScratchDir dir;
    const std::vector<uint8_t> blank(1280 * 1024, 0), palette = GreyRamp();
    ASSERT_TRUE(WritePng(dir.file("blank.png"), 1280, 1024, blank.data(), palette.data()));
    EXPECT_LT(testkit::ReadFileBytes(dir.file("blank.png")).size(), 32u * 1024);
}

TEST(PngWriter, ReplacesWholeFilesAndRefusesBadArguments)
{
    ScratchDir dir;
    const std::vector<uint8_t> palette = GreyRamp(), first(4, 1), second(4, 2);
    const std::string path = dir.file("shot.png");
    ASSERT_TRUE(WritePng(path, 2, 2, first.data(), palette.data()));
    ASSERT_TRUE(WritePng(path, 2, 2, second.data(), palette.data()));
    PngPicture picture;
    ASSERT_EQ("", ReadPng(path, picture));
    EXPECT_EQ(second, picture.pixels);
    // No temporary file is left beside it.
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(1, entries);

    EXPECT_FALSE(WritePng(dir.file("zero.png"), 0, 2, first.data(), palette.data()));
    EXPECT_FALSE(WritePng(dir.file("null.png"), 2, 2, nullptr, palette.data()));
    EXPECT_FALSE(WritePng(dir.file("missing/dir.png"), 2, 2, first.data(), palette.data()));
    EXPECT_FALSE(testkit::ReadFileBytes(dir.file("zero.png")).size() > 0);
}

}  // namespace
