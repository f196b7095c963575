// Key codes of the PC keyboard service, and the one table that turns the keys
// of SDL and the key names of input scripts into them.
//
// A key with a character gives its character code (letters upper case); a key
// without one gives its PC scan code times 256. Each key of the table has a
// code of its own with Shift, Ctrl and Alt held, as the PC BIOS gives them.
#pragma once

#include <cstdint>
#include <string>

constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyEsc = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyShiftTab = 0x0F00;
constexpr int kKeyF1 = 0x3B00;   // F1..F10 follow on: F(n) = kKeyF1 + (n - 1) * 256
constexpr int kKeyShiftF1 = 0x5400;
constexpr int kKeyCtrlF1 = 0x5E00;
constexpr int kKeyAltF1 = 0x6800;
constexpr int kKeyF11 = 0x8500;
constexpr int kKeyF12 = 0x8600;
constexpr int kKeyHome = 0x4700;
constexpr int kKeyUp = 0x4800;
constexpr int kKeyPgUp = 0x4900;
constexpr int kKeyLeft = 0x4B00;
constexpr int kKeyRight = 0x4D00;
constexpr int kKeyEnd = 0x4F00;
constexpr int kKeyDown = 0x5000;
constexpr int kKeyPgDn = 0x5100;
constexpr int kKeyIns = 0x5200;
constexpr int kKeyDel = 0x5300;
constexpr int kKeyAltF4 = 0x6B00;

// The window's close button. No PC key gives this code; the input layer turns
// it into the key that closing means where the program is.
constexpr int kKeyWindowClose = 0xFF00;

// Shift-state bits of the keyboard service.
constexpr int kShiftRight = 0x01;
constexpr int kShiftLeft = 0x02;
constexpr int kShiftCtrl = 0x04;
constexpr int kShiftAlt = 0x08;
constexpr int kShiftScrollLock = 0x10;
constexpr int kShiftNumLock = 0x20;
constexpr int kShiftCapsLock = 0x40;

struct KeyDef {
    const char* name;      // in input scripts; a character key is its character
    int32_t sdlKey;        // SDL key code
    int32_t sdlKeypad;     // SDL key code of the keypad key that stands for it, or 0
    uint16_t plain, shift, ctrl, alt;   // key codes; 0: the combination gives none
};

// A key by its script name: a key name ignoring case ("Enter", "pgdn", "F12")
// or a single character ("E", "e", ","). nullptr when there is none.
const KeyDef* FindKeyByName(const std::string& name);
// A key by its SDL key code. Keypad keys count as cursor keys while Num Lock
// is off; the keypad Enter always counts as Enter.
const KeyDef* FindKeyBySdl(int32_t sdlKey, bool numLock);
// The code of a key with the shift state: Alt before Ctrl before Shift; 0 when
// the combination gives no key.
int KeyCode(const KeyDef& key, int shiftState);
// True for a key that types a character (it arrives as text when neither Ctrl
// nor Alt is held).
bool IsCharacterKey(const KeyDef& key);
// The code of a typed character: printable ASCII, letters upper case; 0 for
// anything else.
int CharacterCode(unsigned char c);
// A key as scripts write it: an optional chain of "Shift-", "Ctrl-", "Alt-"
// prefixes and a key name or character. False when no such key exists.
bool ParseKeySpec(const std::string& text, int& code, int& shiftState);
