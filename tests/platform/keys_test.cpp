// The key table, key by key, through both ways in: script names and SDL keys.
#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include <string>

#include "platform/keys.h"

namespace {

int Script(const std::string& spec) {
    int code = 0, shift = 0;
    return ParseKeySpec(spec, code, shift) ? code : -1;
}

int Sdl(SDL_Keycode key, int shiftState = 0) {
    const KeyDef* def = FindKeyBySdl(key, (shiftState & kShiftNumLock) != 0);
    return def ? KeyCode(*def, shiftState) : -1;
}

TEST(KeyTable, FunctionKeysWithEveryShift) {
    const SDL_Keycode sdl[12] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4,  SDLK_F5,  SDLK_F6,
                                 SDLK_F7, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};
    for (int n = 1; n <= 10; ++n) {
        std::string name = "F" + std::to_string(n);
        SCOPED_TRACE(name);
        int step = (n - 1) * 256;
        EXPECT_EQ(Script(name), 0x3B00 + step);
        EXPECT_EQ(Script("Shift-" + name), 0x5400 + step);
        EXPECT_EQ(Script("Ctrl-" + name), 0x5E00 + step);
        EXPECT_EQ(Script("Alt-" + name), 0x6800 + step);
        EXPECT_EQ(Sdl(sdl[n - 1]), 0x3B00 + step);
        EXPECT_EQ(Sdl(sdl[n - 1], kShiftRight), 0x5400 + step);
        EXPECT_EQ(Sdl(sdl[n - 1], kShiftCtrl), 0x5E00 + step);
        EXPECT_EQ(Sdl(sdl[n - 1], kShiftAlt), 0x6800 + step);
    }
    EXPECT_EQ(Script("F11"), kKeyF11);
    EXPECT_EQ(Script("F12"), kKeyF12);
    EXPECT_EQ(Sdl(SDLK_F11), 0x8500);
    EXPECT_EQ(Sdl(SDLK_F12), 0x8600);
    EXPECT_EQ(Script("Alt-F4"), kKeyAltF4);
}

TEST(KeyTable, AltLettersGiveTheScanCodeOfTheirKey) {
    // The letter rows of the PC keyboard and the scan code of their first key.
    const struct {
        const char* letters;
        int firstScan;
    } rows[] = {{"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};
    int seen = 0;
    for (const auto& row : rows) {
        for (int i = 0; row.letters[i]; ++i, ++seen) {
            char letter = row.letters[i];
            SCOPED_TRACE(std::string(1, letter));
            int scan = (row.firstScan + i) << 8;
            EXPECT_EQ(Script(std::string("Alt-") + letter), scan);
            EXPECT_EQ(Script(std::string("Alt-") + char(letter + 32)), scan);
            EXPECT_EQ(Sdl(SDLK_a + (letter - 'A'), kShiftAlt), scan);
            EXPECT_EQ(Script(std::string(1, letter)), letter);
            EXPECT_EQ(Script(std::string(1, char(letter + 32))), letter);
            EXPECT_EQ(Script(std::string("Ctrl-") + letter), letter - '@');
            EXPECT_EQ(Sdl(SDLK_a + (letter - 'A'), kShiftCtrl), letter - '@');
        }
    }
    EXPECT_EQ(seen, 26);
    // The codes the toolkit compares against.
    EXPECT_EQ(Script("Alt-O"), 0x1800);
    EXPECT_EQ(Script("Alt-P"), 0x1900);
    EXPECT_EQ(Script("Alt-A"), 0x1E00);
    EXPECT_EQ(Script("Alt-C"), 0x2E00);
    EXPECT_EQ(Script("Alt-Y"), 0x1500);
    EXPECT_EQ(Script("Alt-N"), 0x3100);
}

TEST(KeyTable, AltDigits) {
    for (int d = 1; d <= 9; ++d) {
        EXPECT_EQ(Script("Alt-" + std::to_string(d)), (0x77 + d) << 8) << d;
        EXPECT_EQ(Sdl(SDLK_0 + d, kShiftAlt), (0x77 + d) << 8) << d;
    }
    EXPECT_EQ(Script("Alt-0"), 0x8100);
    EXPECT_EQ(Script("Alt--"), 0x8200);
    EXPECT_EQ(Script("Alt-="), 0x8300);
    EXPECT_EQ(Script("5"), '5');
}

TEST(KeyTable, CursorBlock) {
    const struct {
        const char* name;
        SDL_Keycode sdl, keypad;
        int plain, ctrl;
    } keys[] = {
        {"Ins", SDLK_INSERT, SDLK_KP_0, 0x5200, 0x9200},
        {"Del", SDLK_DELETE, SDLK_KP_PERIOD, 0x5300, 0x9300},
        {"Home", SDLK_HOME, SDLK_KP_7, 0x4700, 0x7700},
        {"End", SDLK_END, SDLK_KP_1, 0x4F00, 0x7500},
        {"PgUp", SDLK_PAGEUP, SDLK_KP_9, 0x4900, 0x8400},
        {"PgDn", SDLK_PAGEDOWN, SDLK_KP_3, 0x5100, 0x7600},
        {"Up", SDLK_UP, SDLK_KP_8, 0x4800, 0x8D00},
        {"Down", SDLK_DOWN, SDLK_KP_2, 0x5000, 0x9100},
        {"Left", SDLK_LEFT, SDLK_KP_4, 0x4B00, 0x7300},
        {"Right", SDLK_RIGHT, SDLK_KP_6, 0x4D00, 0x7400},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(Script(k.name), k.plain);
        EXPECT_EQ(Script(std::string("Shift-") + k.name), k.plain);
        EXPECT_EQ(Script(std::string("Ctrl-") + k.name), k.ctrl);
        EXPECT_EQ(Sdl(k.sdl), k.plain);
        EXPECT_EQ(Sdl(k.sdl, kShiftCtrl), k.ctrl);
        // The keypad stands for the cursor block while Num Lock is off; with
        // it on, its digits arrive as typed text.
        EXPECT_EQ(Sdl(k.keypad), k.plain);
        EXPECT_EQ(FindKeyBySdl(k.keypad, true), nullptr);
    }
    EXPECT_EQ(Script("pgdn"), kKeyPgDn);
}

TEST(KeyTable, EditingKeys) {
    EXPECT_EQ(Script("Enter"), 13);
    EXPECT_EQ(Script("Esc"), 27);
    EXPECT_EQ(Script("Backspace"), 8);
    EXPECT_EQ(Script("Tab"), 9);
    EXPECT_EQ(Script("Shift-Tab"), 0x0F00);
    EXPECT_EQ(Script("Space"), 32);
    EXPECT_EQ(Sdl(SDLK_RETURN), 13);
    EXPECT_EQ(Sdl(SDLK_KP_ENTER, kShiftNumLock), 13);
    EXPECT_EQ(Sdl(SDLK_ESCAPE), 27);
    EXPECT_EQ(Sdl(SDLK_BACKSPACE), 8);
    EXPECT_EQ(Sdl(SDLK_TAB), 9);
    EXPECT_EQ(Sdl(SDLK_TAB, kShiftLeft), 0x0F00);
}

TEST(KeyTable, CharactersArriveUpperCase) {
    EXPECT_EQ(CharacterCode('e'), 'E');
    EXPECT_EQ(CharacterCode('z'), 'Z');
    EXPECT_EQ(CharacterCode(','), ',');
    EXPECT_EQ(CharacterCode(' '), ' ');
    EXPECT_EQ(CharacterCode('\t'), 0);
    EXPECT_EQ(CharacterCode(0xE9), 0);
    EXPECT_EQ(Script(","), ',');
    EXPECT_EQ(Script("!"), '!');
    EXPECT_EQ(Script("Shift-1"), '!');
    EXPECT_EQ(Script("Shift-g"), 'G');
}

TEST(KeyTable, CharacterKeysAreTypedAsText) {
    // Keys with a character arrive through SDL's text input (in the user's
    // layout) unless Ctrl or Alt is held; the others arrive as key presses.
    EXPECT_TRUE(IsCharacterKey(*FindKeyBySdl(SDLK_a, false)));
    EXPECT_TRUE(IsCharacterKey(*FindKeyBySdl(SDLK_COMMA, false)));
    EXPECT_TRUE(IsCharacterKey(*FindKeyBySdl(SDLK_SPACE, false)));
    EXPECT_FALSE(IsCharacterKey(*FindKeyBySdl(SDLK_RETURN, false)));
    EXPECT_FALSE(IsCharacterKey(*FindKeyBySdl(SDLK_F1, false)));
    EXPECT_EQ(FindKeyBySdl(SDLK_LSHIFT, false), nullptr);
}

TEST(KeyTable, ScriptNamesThatAreNoKey) {
    EXPECT_EQ(Script("Foo"), -1);
    EXPECT_EQ(Script(""), -1);
    EXPECT_EQ(Script("Ctrl-!"), -1);
    EXPECT_EQ(Script("Alt-!"), -1);
    EXPECT_EQ(Script("Shift-"), -1);
    int code = 0, shift = 0;
    ASSERT_TRUE(ParseKeySpec("Ctrl-Alt-Del", code, shift));
    EXPECT_EQ(shift, kShiftCtrl | kShiftAlt);
    EXPECT_EQ(code, 0xA300);
}

}  // namespace
