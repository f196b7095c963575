#include "platform/keys.h"

#include <SDL_keycode.h>

#include <cctype>
#include <strings.h>

namespace {

// Ctrl with a letter gives its control character, Alt the letter key's scan code.
#define LETTER(ch, lower, scan) \
    {ch, lower, 0, ch[0], ch[0], static_cast<uint16_t>(ch[0] - '@'), (scan) << 8}
// A character key of the US layout: its shifted character, its Ctrl and Alt codes.
#define CHARKEY(ch, sdl, shifted, ctrl, alt) {ch, sdl, 0, ch[0], shifted, ctrl, alt}

const KeyDef kKeys[] = {
    {"Enter", SDLK_RETURN, SDLK_KP_ENTER, kKeyEnter, kKeyEnter, 10, 0x1C00},
    {"Esc", SDLK_ESCAPE, 0, kKeyEsc, kKeyEsc, kKeyEsc, 0x0100},
    {"Tab", SDLK_TAB, 0, kKeyTab, kKeyShiftTab, 0x9400, 0xA500},
    {"Backspace", SDLK_BACKSPACE, 0, kKeyBackspace, kKeyBackspace, 127, 0x0E00},
    {"Space", SDLK_SPACE, 0, kKeySpace, kKeySpace, kKeySpace, kKeySpace},
    {"Ins", SDLK_INSERT, SDLK_KP_0, kKeyIns, kKeyIns, 0x9200, 0xA200},
    {"Del", SDLK_DELETE, SDLK_KP_PERIOD, kKeyDel, kKeyDel, 0x9300, 0xA300},
    {"Home", SDLK_HOME, SDLK_KP_7, kKeyHome, kKeyHome, 0x7700, 0x9700},
    {"End", SDLK_END, SDLK_KP_1, kKeyEnd, kKeyEnd, 0x7500, 0x9F00},
    {"PgUp", SDLK_PAGEUP, SDLK_KP_9, kKeyPgUp, kKeyPgUp, 0x8400, 0x9900},
    {"PgDn", SDLK_PAGEDOWN, SDLK_KP_3, kKeyPgDn, kKeyPgDn, 0x7600, 0xA100},
    {"Up", SDLK_UP, SDLK_KP_8, kKeyUp, kKeyUp, 0x8D00, 0x9800},
    {"Down", SDLK_DOWN, SDLK_KP_2, kKeyDown, kKeyDown, 0x9100, 0xA000},
    {"Left", SDLK_LEFT, SDLK_KP_4, kKeyLeft, kKeyLeft, 0x7300, 0x9B00},
    {"Right", SDLK_RIGHT, SDLK_KP_6, kKeyRight, kKeyRight, 0x7400, 0x9D00},
    {"F1", SDLK_F1, 0, 0x3B00, 0x5400, 0x5E00, 0x6800},
    {"F2", SDLK_F2, 0, 0x3C00, 0x5500, 0x5F00, 0x6900},
    {"F3", SDLK_F3, 0, 0x3D00, 0x5600, 0x6000, 0x6A00},
    {"F4", SDLK_F4, 0, 0x3E00, 0x5700, 0x6100, 0x6B00},
    {"F5", SDLK_F5, 0, 0x3F00, 0x5800, 0x6200, 0x6C00},
    {"F6", SDLK_F6, 0, 0x4000, 0x5900, 0x6300, 0x6D00},
    {"F7", SDLK_F7, 0, 0x4100, 0x5A00, 0x6400, 0x6E00},
    {"F8", SDLK_F8, 0, 0x4200, 0x5B00, 0x6500, 0x6F00},
    {"F9", SDLK_F9, 0, 0x4300, 0x5C00, 0x6600, 0x7000},
    {"F10", SDLK_F10, 0, 0x4400, 0x5D00, 0x6700, 0x7100},
    {"F11", SDLK_F11, 0, 0x8500, 0x8700, 0x8900, 0x8B00},
    {"F12", SDLK_F12, 0, 0x8600, 0x8800, 0x8A00, 0x8C00},
    LETTER("A", SDLK_a, 0x1E), LETTER("B", SDLK_b, 0x30), LETTER("C", SDLK_c, 0x2E),
    LETTER("D", SDLK_d, 0x20), LETTER("E", SDLK_e, 0x12), LETTER("F", SDLK_f, 0x21),
    LETTER("G", SDLK_g, 0x22), LETTER("H", SDLK_h, 0x23), LETTER("I", SDLK_i, 0x17),
    LETTER("J", SDLK_j, 0x24), LETTER("K", SDLK_k, 0x25), LETTER("L", SDLK_l, 0x26),
    LETTER("M", SDLK_m, 0x32), LETTER("N", SDLK_n, 0x31), LETTER("O", SDLK_o, 0x18),
    LETTER("P", SDLK_p, 0x19), LETTER("Q", SDLK_q, 0x10), LETTER("R", SDLK_r, 0x13),
    LETTER("S", SDLK_s, 0x1F), LETTER("T", SDLK_t, 0x14), LETTER("U", SDLK_u, 0x16),
    LETTER("V", SDLK_v, 0x2F), LETTER("W", SDLK_w, 0x11), LETTER("X", SDLK_x, 0x2D),
    LETTER("Y", SDLK_y, 0x15), LETTER("Z", SDLK_z, 0x2C),
    CHARKEY("1", SDLK_1, '!', 0, 0x7800), CHARKEY("2", SDLK_2, '@', 0x0300, 0x7900),
    CHARKEY("3", SDLK_3, '#', 0, 0x7A00), CHARKEY("4", SDLK_4, '$', 0, 0x7B00),
    CHARKEY("5", SDLK_5, '%', 0, 0x7C00), CHARKEY("6", SDLK_6, '^', 30, 0x7D00),
    CHARKEY("7", SDLK_7, '&', 0, 0x7E00), CHARKEY("8", SDLK_8, '*', 0, 0x7F00),
    CHARKEY("9", SDLK_9, '(', 0, 0x8000), CHARKEY("0", SDLK_0, ')', 0, 0x8100),
    CHARKEY("-", SDLK_MINUS, '_', 31, 0x8200), CHARKEY("=", SDLK_EQUALS, '+', 0, 0x8300),
    CHARKEY("[", SDLK_LEFTBRACKET, '{', 27, 0x1A00),
    CHARKEY("]", SDLK_RIGHTBRACKET, '}', 29, 0x1B00),
    CHARKEY("\\", SDLK_BACKSLASH, '|', 28, 0x2B00),
    CHARKEY(";", SDLK_SEMICOLON, ':', 0, 0x2700), CHARKEY("'", SDLK_QUOTE, '"', 0, 0x2800),
    CHARKEY("`", SDLK_BACKQUOTE, '~', 0, 0x2900), CHARKEY(",", SDLK_COMMA, '<', 0, 0x3300),
    CHARKEY(".", SDLK_PERIOD, '>', 0, 0x3400), CHARKEY("/", SDLK_SLASH, '?', 0, 0x3500),
};

#undef LETTER
#undef CHARKEY

struct Prefix {
    const char* text;
    int bit;
};
const Prefix kPrefixes[] = {{"Shift-", kShiftLeft}, {"Ctrl-", kShiftCtrl}, {"Alt-", kShiftAlt}};

}  // namespace

const KeyDef* FindKeyByName(const std::string& name) {
    for (const KeyDef& key : kKeys) {
        bool single = key.name[1] == 0;
        if (single ? name.size() == 1 && std::toupper(static_cast<unsigned char>(name[0])) ==
                                             static_cast<unsigned char>(key.name[0])
                   : strcasecmp(name.c_str(), key.name) == 0)
            return &key;
    }
    return nullptr;
}

const KeyDef* FindKeyBySdl(int32_t sdlKey, bool numLock) {
    for (const KeyDef& key : kKeys) {
        if (key.sdlKey == sdlKey)
            return &key;
        if (key.sdlKeypad == sdlKey && (!numLock || sdlKey == SDLK_KP_ENTER))
            return &key;
    }
    return nullptr;
}

int KeyCode(const KeyDef& key, int shiftState) {
    if (shiftState & kShiftAlt)
        return key.alt;
    if (shiftState & kShiftCtrl)
        return key.ctrl;
    if (shiftState & (kShiftLeft | kShiftRight))
        return key.shift;
    return key.plain;
}

bool IsCharacterKey(const KeyDef& key) { return key.plain >= 32 && key.plain < 127; }

int CharacterCode(unsigned char c) {
    if (c < 32 || c >= 127)
        return 0;
    return std::toupper(c);
}

bool ParseKeySpec(const std::string& text, int& code, int& shiftState) {
    shiftState = 0;
    std::string rest = text;
    for (bool found = true; found && rest.size() > 1;) {
        found = false;
        for (const Prefix& prefix : kPrefixes) {
            size_t n = std::char_traits<char>::length(prefix.text);
            if (rest.size() > n && strncasecmp(rest.c_str(), prefix.text, n) == 0) {
                shiftState |= prefix.bit;
                rest.erase(0, n);
                found = true;
            }
        }
    }
    const KeyDef* key = FindKeyByName(rest);
    if (key)
        code = KeyCode(*key, shiftState);
    else if (rest.size() == 1 && !(shiftState & (kShiftCtrl | kShiftAlt)))
        code = CharacterCode(static_cast<unsigned char>(rest[0]));
    else
        code = 0;
    return code != 0;
}
