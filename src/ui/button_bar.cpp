#include "ui/button_bar.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/keys.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/toolkit.h"

namespace {

// How a button's text is shown and which key chooses it besides its result key.
struct ButtonFace {
    std::string text;    // without the "_"
    int hotIndex = -1;   // letter underlined
    int hotKey = 0;
};

ButtonFace FaceOf(const char* text) {
    ButtonFace face;
    face.text = text ? text : "";
    size_t mark = face.text.find('_');
    if (mark != std::string::npos && mark + 1 < face.text.size()) {
        face.text.erase(mark, 1);
        face.hotIndex = static_cast<int>(mark);
        face.hotKey = HotKeyFor(static_cast<unsigned char>(face.text[mark]));
        return face;
    }
    // Without a mark the first character is the hot key; leading blanks (used
    // to widen a button) are skipped so that Space does not choose it.
    size_t first = face.text.find_first_not_of(' ');
    if (first != std::string::npos) {
        face.hotIndex = static_cast<int>(first);
        face.hotKey = std::toupper(static_cast<unsigned char>(face.text[first]));
    }
    return face;
}

bool StrictlyInside(const PointerSample& p, const ButtonDef& b) {
    return p.x > b.x1 && p.x < b.x2 && p.y > b.y1 && p.y < b.y2;
}

void DrawChanged(const std::vector<ButtonDef>& buttons, int count) {
    ButtonBarState& s = toolkit.buttonBar;
    for (int i = 0; i < count; ++i) {
        s.focused[i] = i == s.focus;
        if (!s.redraw && s.raised[i] == s.drawnRaised[i] && s.focused[i] == s.drawnFocused[i])
            continue;
        const ButtonDef& b = buttons[i];
        ButtonFace face = FaceOf(b.text);
        DrawButton(s.raised[i] ? ButtonLook::Raised : ButtonLook::Pressed, face.text.c_str(),
                   face.hotIndex, s.focused[i] ? ButtonFocus::Focused : ButtonFocus::None, b.x1,
                   b.y1, b.x2, b.y2);
        s.drawnRaised[i] = s.raised[i];
        s.drawnFocused[i] = s.focused[i];
    }
    s.redraw = false;
}

// The mouse part of a pass: a left press inside a button focuses it, shows it
// pressed and gives its key; the right button gives Esc.
int MouseKey(const std::vector<ButtonDef>& buttons, int count) {
    ButtonBarState& s = toolkit.buttonBar;
    PointerSample p = SamplePointer();
    int key = -1;
    int pressed = -1;
    for (int i = 0; i < count; ++i)
        if ((p.buttons & 1) && StrictlyInside(p, buttons[i]))
            pressed = i;
    for (int i = 0; i < count; ++i)
        s.raised[i] = i != pressed;
    if (pressed >= 0) {
        s.focus = pressed;
        key = buttons[pressed].key;
    }
    if (p.buttons & 2)
        key = kKeyEsc;
    return key;
}

// One pass; sets decided when the bar has an answer.
int Pass(const std::vector<ButtonDef>& buttons, int count, bool& decided) {
    ButtonBarState& s = toolkit.buttonBar;
    bool formButtons = buttons[0].key == kFormButtonKey;
    for (;;) {
        int key = MouseKey(buttons, count);
        bool chosen = key != -1;   // a button or the right button chose the key
        int typed = 0;
        if (ReadKey(&typed)) {
            key = typed;
            chosen = false;
            for (int i = 0; i < count; ++i) {
                const ButtonDef& b = buttons[i];
                int hot = FaceOf(b.text).hotKey;
                bool more = typed == b.moreKeys[0] || typed == b.moreKeys[1];
                if (typed != 0 && ((hot != 0 && typed == hot) || more)) {
                    key = b.key;
                    chosen = true;
                }
            }
        }
        if (key != -1)
            s.lastKey = key;
        if (!formButtons && (key == kKeyTab || key == kKeyShiftTab)) {
            s.focus = (s.focus + 1) % count;
            DrawChanged(buttons, count);
            continue;
        }
        if (buttons[0].key == kAnyKey && key != -1 && !(typed == 0 && key == kKeyEsc)) {
            key = kAnyKey;
            decided = true;
        } else if (!formButtons && !chosen && key == kKeyEnter) {
            if (s.focus >= 0)
                key = buttons[s.focus].key;
            decided = true;
        } else if (key == kKeyEsc) {
            decided = true;
        } else if (key != -1) {
            for (int i = 0; i < count; ++i)
                decided = decided || key == buttons[i].key;
        }
        DrawChanged(buttons, count);
        return key;
    }
}

}  // namespace

int ButtonBar(ButtonBarMode mode, const std::vector<ButtonDef>& buttons, int focus) {
    int count = std::min<int>(static_cast<int>(buttons.size()), kMaxButtons);
    if (count == 0)
        return -1;
    PointerRestore pointer;
    ButtonBarState& s = toolkit.buttonBar;
    if (mode != ButtonBarMode::Continue) {
        s.focus = mode == ButtonBarMode::RestartUnfocused ? -1 : focus;
        s.redraw = true;
        s.lastKey = -1;
    }
    s.focus = std::min(s.focus, count - 1);
    for (;;) {
        bool decided = false;
        int key = Pass(buttons, count, decided);
        if (mode != ButtonBarMode::Wait || decided)
            return key;
        if (key == -1)
            WaitForInput();
    }
}

int HotLetterOf(const char* text) {
    ButtonFace face = FaceOf(text);
    return face.hotIndex < 0 ? 0 : std::toupper(static_cast<unsigned char>(face.text[size_t(face.hotIndex)]));
}

int HotKeyFor(int letter) {
    switch (std::toupper(letter)) {
    case 'O': return 0x1800;
    case 'P': return 0x1900;
    case 'A': return 0x1E00;
    case 'C': return 0x2E00;
    case 'Y': return 0x1500;
    case 'N': return 0x3100;
    default: return 0;
    }
}
