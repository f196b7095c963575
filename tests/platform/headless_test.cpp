// The headless screen: its input script and the areas each frame brings; the
// PNG writer behind its snapshots, read back by the tests' own reader (which
// checks every CRC and the zlib stream with the system's zlib); a sample of
// the key table through both ways in (script names and SDL keys) against the
// codes of the PC keyboard service.
#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <vector>

#include "platform/keys.h"
#include "platform/png_writer.h"
#include "platform/video.h"
#include "support/session_kit.h"
#include "support/png_reader.h"

namespace {

using testkit::Bytes;

// Each frame brings only the areas that changed, as a window is sent them:
// changes far apart in their own rectangles, whole bands of 64 columns,
// rows of bands of the same columns joined.
TEST(HeadlessTest, FramesBringOnlyTheAreasThatChanged) {
    testkit::Session session;
    VideoStartError error;
    ASSERT_TRUE(VideoStart(640, 480, "Zarn", error)) << error.message;
    using Areas = std::vector<std::vector<int>>;
    Canvas& screen = Screen();
    auto frame = [&] {
        session.ExactScript("wait 0\n");
        PlatformWaitForInput();
        Areas areas;
        for (const CanvasArea& a : VideoShownAreas())
            areas.push_back({a.left, a.top, a.right, a.bottom});
        return areas;
    };
    EXPECT_EQ(frame(), (Areas{{0, 0, 639, 479}}));   // the first frame
    screen.putpixel(10, 10, 4);
    screen.putpixel(600, 400, 4);
    EXPECT_EQ(frame(), (Areas{{0, 0, 63, 15}, {576, 400, 639, 415}}));
    screen.setcolor(5);
    screen.line(0, 100, 639, 100);
    screen.line(130, 20, 130, 60);
    EXPECT_EQ(frame(), (Areas{{128, 16, 191, 63}, {0, 96, 639, 111}}));
}

// A script line of each kind gives its events; a bad one is refused with its
// line and what is wrong.
TEST(HeadlessTest, ScriptLinesAndTheirErrors) {
    testkit::Session session;
    session.ExactScript("# comment\n\n   \nkey E\ntype ab c\nmove 1 2\ndown left\nup right\n"
                        "click left\nclick right 3 4\nwait 10\nsnapshot x.png\n");
    EXPECT_EQ(HeadlessEventsLeft(), 1 + 4 + 1 + 1 + 1 + 1 + 2 + 1 + 1);   // a click at X Y: move, click
    const std::pair<const char*, const char*> bad[] = {
        {"key E\nkey Foo\n", "line 2: no key \"Foo\""}, {"move 1\n", "line 1: move needs X Y"}, {"click left 5\n", ""},
        {"shift\n", "line 1: shift needs down or up"}, {"down centre\n", ""}, {"wheel left\n", ""}, {"wait -1\n", ""}};
    for (const auto& b : bad) {
        std::string error;
        EXPECT_FALSE(HeadlessLoadScript(b.first, error)) << b.first;
        EXPECT_TRUE(*b.second ? error == b.second : !error.empty()) << error;
    }
    EXPECT_EQ(HeadlessEventsLeft(), 13);   // a failed load keeps the events that were there
}

// Noise (literals only), a drawn screen (long runs and repeats at every
// distance up to the window) and one pixel come back whole, each replacing the
// file before; bad arguments leave no file.
TEST(PngWriter, PaletteImagesSurviveTheRoundTripAndReplaceWholeFiles) {
    testkit::ScratchDir dir;
    Bytes palette(768), noise(257 * 31);
    std::mt19937 rng(7);
    for (Bytes* random : {&palette, &noise})
        std::generate(random->begin(), random->end(), [&] { return uint8_t(rng()); });
    Canvas canvas(1280, 200);
    for (int i = 0; i < 300; ++i) {
        canvas.setcolor(int(rng() % 256));
        canvas.line(int(rng() % 1280), int(rng() % 200), int(rng() % 1280), int(rng() % 200));
    }
    canvas.outtextxy(10, 10, "Snapshot 123");
    const std::string path = dir.file("picture.png");
    const struct {
        int width, height;
        Bytes pixels;
    } cases[] = {{257, 31, noise},
                 {1280, 200, Bytes(canvas.pixels(), canvas.pixels() + 1280 * 200)},
                 {1, 1, {42}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WritePng(path, c.width, c.height, c.pixels.data(), palette.data()));
        testkit::PngPicture picture;
        ASSERT_EQ("", testkit::ReadPng(path, picture));
        EXPECT_EQ(c.width * 10000 + c.height, picture.width * 10000 + picture.height);
        EXPECT_EQ(palette, picture.palette);
        EXPECT_TRUE(picture.pixels == c.pixels);
    }
    const Bytes blank(4, 0);
    EXPECT_FALSE(WritePng(dir.file("zero.png"), 0, 2, blank.data(), palette.data()));
    EXPECT_FALSE(WritePng(dir.file("missing/dir.png"), 2, 2, blank.data(), palette.data()));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()));
}

int Script(const std::string& spec) {
    int code = 0, shift = 0;
    return ParseKeySpec(spec, code, shift) ? code : -1;
}

int Sdl(SDL_Keycode key, int shiftState = 0) {
    const KeyDef* def = FindKeyBySdl(key, (shiftState & kShiftNumLock) != 0);
    return def ? KeyCode(*def, shiftState) : -1;
}

// A sample of each kind of key. keypad: the key standing for it while Num
// Lock is off, or 0. A code of 0: the combination gives no key.
struct Key { const char* name; SDL_Keycode sdl, keypad; int plain, shift, ctrl, alt; };
const Key kPcKeys[] = {
    {"Enter", SDLK_RETURN, 0, 13, 13, 10, 0x1C00},      {"Tab", SDLK_TAB, 0, 9, 0x0F00, 0x9400, 0xA500},
    {"F1", SDLK_F1, 0, 0x3B00, 0x5400, 0x5E00, 0x6800}, {"F11", SDLK_F11, 0, 0x8500, 0x8700, 0x8900, 0x8B00},
    {"Del", SDLK_DELETE, SDLK_KP_PERIOD, 0x5300, 0x5300, 0x9300, 0xA300},
    {"Up", SDLK_UP, SDLK_KP_8, 0x4800, 0x4800, 0x8D00, 0x9800},
    {"Q", SDLK_q, 0, 'Q', 'Q', 17, 0x1000},             {"M", SDLK_m, 0, 'M', 'M', 13, 0x3200},
    {"2", '2', 0, '2', '@', 0x0300, 0x7900},             {"[", '[', 0, '[', '{', 27, 0x1A00},
    {";", ';', 0, ';', ':', 0, 0x2700}};

TEST(KeyTable, KeysWithEveryShiftByNameAndBySdl) {
    for (const Key& k : kPcKeys) {
        SCOPED_TRACE(k.name);
        const char* const prefixes[] = {"", "Shift-", "Ctrl-", "Alt-"};
        const int codes[] = {k.plain, k.shift, k.ctrl, k.alt}, states[] = {0, kShiftRight, kShiftCtrl, kShiftAlt};
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(Script(prefixes[s] + std::string(k.name)), codes[s] ? codes[s] : -1) << prefixes[s];
            EXPECT_EQ(Sdl(k.sdl, states[s]), codes[s]) << prefixes[s];
        }
        // The keypad stands for the cursor block while Num Lock is off; with
        // it on, its digits arrive as typed text.
        if (k.keypad) {
            EXPECT_EQ(Sdl(k.keypad), k.plain);
            EXPECT_EQ(FindKeyBySdl(k.keypad, true), nullptr);
        }
        // Keys with a character arrive as text unless Ctrl or Alt is held.
        EXPECT_EQ(IsCharacterKey(*FindKeyBySdl(k.sdl, false)), k.plain >= 32 && k.plain < 127);
    }
    EXPECT_EQ(Sdl(SDLK_KP_ENTER, kShiftNumLock), 13);
    EXPECT_EQ(Sdl(SDLK_LSHIFT), -1);
    // Script spellings ignore case; shifts combine.
    const std::pair<const char*, int> spellings[] = {{"pgdn", kKeyPgDn}, {"alt-e", 0x1200}, {"Ctrl-Alt-Del", 0xA300},
                                                     {"Foo", -1}, {"", -1}, {"Alt-!", -1}};
    for (const auto& s : spellings)
        EXPECT_EQ(Script(s.first), s.second) << s.first;
}

}  // namespace
