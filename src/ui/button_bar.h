// The row of push buttons that every dialog shares. Its state lives in
// toolkit.buttonBar, so that a dialog may run one pass per turn of its own loop.
#pragma once

#include <vector>

#include "ui/toolkit.h"

// One push button. A "_" in the text marks its hot letter (removed for
// display); a text without one has its first non-blank character as hot key.
struct ButtonDef {
    const char* text;
    int key;                 // result key
    int x1, y1, x2, y2;      // viewport pixels
    int moreKeys[2] = {0, 0};   // other keys that choose it (0: none)
};

// Result key of button 1 that makes any key (Esc too) choose it; a right
// click still gives 27.
constexpr int kAnyKey = 1;
// Result key of button 1 that leaves Tab and Enter to the caller.
constexpr int kFormButtonKey = 257;

enum class ButtonBarMode {
    Wait,               // until a button is chosen (or Esc, or a right click: 27)
    Continue,           // one pass, continuing the previous call
    Restart,            // one pass, starting anew with the focus on the first button
    RestartUnfocused,   // the same with no button focused
};

// A left press inside a button, its hot key or one of its moreKeys, or Enter
// while it has the focus chooses it; Tab and Shift+Tab move the focus on.
// Returns the key of the pass: a button's result key, 27, another key read
// (single passes only), or -1 when nothing happened. The pointer as the pass
// read it is left in toolkit.pointer, the key in toolkit.buttonBar.lastKey.
// At most four buttons. Wait and Restart start with the focus on button
// focus.
int ButtonBar(ButtonBarMode mode, const std::vector<ButtonDef>& buttons, int focus = 0);

// The letter a button's text marks (after its "_", else its first non-blank
// character), upper case; 0 for none.
int HotLetterOf(const char* text);

// The key of a hot letter: Alt+O, Alt+P, Alt+A, Alt+C, Alt+Y, Alt+N for those
// letters (either case), else 0.
int HotKeyFor(int letter);

// Keeps the button row of an enclosing dialog across a nested dialog that
// runs a row of its own: the enclosing row's focus and drawn states come back
// when the scope ends (the last key read stays as the nested row left it).
class ButtonBarScope {
public:
    ButtonBarScope() : saved_(toolkit.buttonBar) {}
    ~ButtonBarScope() {
        int lastKey = toolkit.buttonBar.lastKey;
        toolkit.buttonBar = saved_;
        toolkit.buttonBar.lastKey = lastKey;
    }
    ButtonBarScope(const ButtonBarScope&) = delete;
    ButtonBarScope& operator=(const ButtonBarScope&) = delete;

private:
    ButtonBarState saved_;
};
