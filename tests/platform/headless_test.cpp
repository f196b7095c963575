// The headless screen: its input script and the areas each frame brings; the
// PNG writer behind its snapshots, read back by the tests' own reader (which
// checks every CRC and the zlib stream with the system's zlib); the key table,
// key by key, through both ways in (script names and SDL keys) against the
// codes of the PC keyboard service.
#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <tuple>
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
// rows of bands of the same columns joined; the whole canvas after a new
// palette.
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
    screen.putpixel(639, 479, 1);
    EXPECT_EQ(frame(), (Areas{{576, 464, 639, 479}}));
    uint8_t palette[768] = {};
    VideoSetPalette(palette);
    EXPECT_EQ(frame(), (Areas{{0, 0, 639, 479}}));
}

// A script line of each kind gives its events; a bad one is refused with its
// line and what is wrong.
TEST(HeadlessTest, ScriptLinesAndTheirErrors) {
    testkit::Session session;
    session.ExactScript("# comment\n\n   \nkey E\ntype ab c\nmove 1 2\ndown left\nup right\n"
                        "click left\nclick right 3 4\nwait 10\nsnapshot x.png\n");
    EXPECT_EQ(HeadlessEventsLeft(), 1 + 4 + 1 + 1 + 1 + 1 + 2 + 1 + 1);   // a click at X Y: move, click
    const std::pair<const char*, const char*> bad[] = {
        {"key E\nkey Foo\n", "line 2: no key \"Foo\""}, {"move 1\n", "line 1: move needs X Y"},
        {"\n\njump\n", "line 3: unknown event \"jump\""}, {"move 1 x\n", ""}, {"down centre\n", ""},
        {"wheel left\n", ""}, {"wheel up 5\n", ""}, {"shift\n", "line 1: shift needs down or up"},
        {"click left 5\n", ""}, {"wait -1\n", ""}, {"snapshot\n", ""}};
    for (const auto& b : bad) {
        std::string error;
        EXPECT_FALSE(HeadlessLoadScript(b.first, error)) << b.first;
        EXPECT_TRUE(*b.second ? error == b.second : !error.empty()) << error;
    }
    EXPECT_EQ(HeadlessEventsLeft(), 13);   // a failed load keeps the events that were there
}

// Noise (literals only), a drawn screen (long runs and repeats at every
// distance up to the window) and one pixel come back whole, each replacing the
// file before; a plain screen compresses well; bad arguments leave no file.
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
    const Bytes blank(1280 * 1024, 0);
    ASSERT_TRUE(WritePng(path, 1280, 1024, blank.data(), palette.data()));
    EXPECT_LT(testkit::ReadFileBytes(path).size(), 32u * 1024);
    EXPECT_FALSE(WritePng(dir.file("zero.png"), 0, 2, blank.data(), palette.data()));
    EXPECT_FALSE(WritePng(dir.file("null.png"), 2, 2, nullptr, palette.data()));
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

// keypad: the key standing for it while Num Lock is off, or 0. A code of 0:
// the combination gives no key.
struct Key { std::string name; SDL_Keycode sdl, keypad; int plain, shift, ctrl, alt; };

std::vector<Key> PcKeys() {
    std::vector<Key> keys = {
        {"Enter", SDLK_RETURN, 0, 13, 13, 10, 0x1C00},     {"Esc", SDLK_ESCAPE, 0, 27, 27, 27, 0x0100},
        {"Tab", SDLK_TAB, 0, 9, 0x0F00, 0x9400, 0xA500},    {"Backspace", SDLK_BACKSPACE, 0, 8, 8, 127, 0x0E00},
        {"Space", SDLK_SPACE, 0, 32, 32, 32, 32},           {"F11", SDLK_F11, 0, 0x8500, 0x8700, 0x8900, 0x8B00},
        {"F12", SDLK_F12, 0, 0x8600, 0x8800, 0x8A00, 0x8C00}};
    // The cursor block, where Shift changes nothing: {name, key, keypad key,
    // scan code, Ctrl and Alt scan codes}.
    const std::tuple<const char*, SDL_Keycode, SDL_Keycode, int, int, int> cursor[] = {
        {"Ins", SDLK_INSERT, SDLK_KP_0, 0x52, 0x92, 0xA2},   {"Del", SDLK_DELETE, SDLK_KP_PERIOD, 0x53, 0x93, 0xA3},
        {"Home", SDLK_HOME, SDLK_KP_7, 0x47, 0x77, 0x97},    {"End", SDLK_END, SDLK_KP_1, 0x4F, 0x75, 0x9F},
        {"PgUp", SDLK_PAGEUP, SDLK_KP_9, 0x49, 0x84, 0x99},  {"PgDn", SDLK_PAGEDOWN, SDLK_KP_3, 0x51, 0x76, 0xA1},
        {"Up", SDLK_UP, SDLK_KP_8, 0x48, 0x8D, 0x98},        {"Down", SDLK_DOWN, SDLK_KP_2, 0x50, 0x91, 0xA0},
        {"Left", SDLK_LEFT, SDLK_KP_4, 0x4B, 0x73, 0x9B},    {"Right", SDLK_RIGHT, SDLK_KP_6, 0x4D, 0x74, 0x9D}};
    for (const auto& [name, sdl, keypad, scan, ctrl, alt] : cursor)
        keys.push_back({name, sdl, keypad, scan << 8, scan << 8, ctrl << 8, alt << 8});
    for (int n = 1; n <= 10; ++n)
        keys.push_back({"F" + std::to_string(n), SDLK_F1 + n - 1, 0, (0x3A + n) << 8, (0x53 + n) << 8,
                        (0x5D + n) << 8, (0x67 + n) << 8});
    // Letters: Ctrl gives the control character, Alt the scan code of the
    // key, counted along the three letter rows.
    const std::pair<std::string, int> rows[] = {{"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};
    for (const auto& row : rows)
        for (size_t i = 0; i < row.first.size(); ++i) {
            char c = row.first[i];
            keys.push_back({std::string(1, c), SDLK_a + (c - 'A'), 0, c, c, c - '@', (row.second + int(i)) << 8});
        }
    // Digits and punctuation of the US layout.
    const std::string plain = "1234567890-=[]\\;'`,./", shifted = "!@#$%^&*()_+{}|:\"~<>?";
    const int ctrl[] = {0, 0x0300, 0, 0, 0, 30, 0, 0, 0, 0, 31, 0, 27, 29, 28, 0, 0, 0, 0, 0, 0};
    const int alt[] = {0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F, 0x80, 0x81, 0x82,
                       0x83, 0x1A, 0x1B, 0x2B, 0x27, 0x28, 0x29, 0x33, 0x34, 0x35};
    for (size_t i = 0; i < plain.size(); ++i)   // their SDL key codes are their characters
        keys.push_back({std::string(1, plain[i]), plain[i], 0, plain[i], shifted[i], ctrl[i], alt[i] << 8});
    return keys;
}

TEST(KeyTable, EveryKeyWithEveryShiftByNameAndBySdl) {
    for (const Key& k : PcKeys()) {
        SCOPED_TRACE(k.name);
        const char* const prefixes[] = {"", "Shift-", "Ctrl-", "Alt-"};
        const int codes[] = {k.plain, k.shift, k.ctrl, k.alt}, states[] = {0, kShiftRight, kShiftCtrl, kShiftAlt};
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(Script(prefixes[s] + k.name), codes[s] ? codes[s] : -1) << prefixes[s];
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
