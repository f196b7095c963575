// PNG files of the writer read back by the tests' own reader, which checks
// every CRC, the zlib header and the Adler-32.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/canvas.h"
#include "platform/png_writer.h"
#include "support/png_reader.h"
#include "support/testkit.h"

namespace {

using testkit::Bytes;

Bytes Palette()
{
    Bytes palette(768);
    for (int i = 0; i < 768; ++i)
        palette[size_t(i)] = uint8_t(i / 3 + (i % 3) * 7);
    return palette;
}

TEST(PngWriter, PaletteImagesSurviveTheRoundTrip)
{
    testkit::ScratchDir dir;
    std::mt19937 rng(7);
    Bytes noise(257 * 31);   // literals only
    for (uint8_t& p : noise)
        p = uint8_t(rng());
    // A drawn screen: long runs and repeats at every distance up to the window.
    Canvas canvas(1280, 200);
    canvas.setbkcolor(3);
    canvas.cleardevice();
    for (int i = 0; i < 300; ++i) {
        canvas.setcolor(int(rng() % 256));
        canvas.line(int(rng() % 1280), int(rng() % 200), int(rng() % 1280), int(rng() % 200));
    }
    canvas.outtextxy(10, 10, "Snapshot 123");
    const struct {
        int width, height;
        Bytes pixels;
    } cases[] = {{257, 31, noise}, {1280, 200, Bytes(canvas.pixels(), canvas.pixels() + 1280 * 200)}, {1, 1, {42}}};
    for (const auto& c : cases) {
        const std::string path = dir.file("picture.png");
        ASSERT_TRUE(WritePng(path, c.width, c.height, c.pixels.data(), Palette().data()));
        testkit::PngPicture picture;
        ASSERT_EQ("", testkit::ReadPng(path, picture));
        EXPECT_EQ((std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}), picture.chunks);
        EXPECT_EQ(c.width, picture.width);
        EXPECT_EQ(c.height, picture.height);
        EXPECT_EQ(Palette(), picture.palette);
        EXPECT_TRUE(picture.pixels == c.pixels);
    }
    // A plain screen compresses well.
    const Bytes blank(1280 * 1024, 0);
    ASSERT_TRUE(WritePng(dir.file("blank.png"), 1280, 1024, blank.data(), Palette().data()));
    EXPECT_LT(testkit::ReadFileBytes(dir.file("blank.png")).size(), 32u * 1024);
}

TEST(PngWriter, ReplacesWholeFilesAndRefusesBadArguments)
{
    testkit::ScratchDir dir;
    const Bytes first(4, 1), second(4, 2);
    const std::string path = dir.file("shot.png");
    ASSERT_TRUE(WritePng(path, 2, 2, first.data(), Palette().data()));
    ASSERT_TRUE(WritePng(path, 2, 2, second.data(), Palette().data()));
    testkit::PngPicture picture;
    ASSERT_EQ("", testkit::ReadPng(path, picture));
    EXPECT_EQ(second, picture.pixels);
    EXPECT_FALSE(WritePng(dir.file("zero.png"), 0, 2, first.data(), Palette().data()));
    EXPECT_FALSE(WritePng(dir.file("null.png"), 2, 2, nullptr, Palette().data()));
    EXPECT_FALSE(WritePng(dir.file("missing/dir.png"), 2, 2, first.data(), Palette().data()));
    // Nothing but the replaced file is left: no temporary, no failed file.
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()));
}

}  // namespace
