#include "ui/input.h"

#include <algorithm>
#include <limits>

#include "platform/canvas.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/graphics.h"

InputState input;

const char* const kPointerPicture[kPointerH] = {
    "O.........", "OO........", "OBO.......", "OBBO......", "OBBBO.....",
    "OBBBBO....", "OBBBBBO...", "OBBBBBBO..", "OBBBBBBBO.", "OBBBOOOOOO",
    "OBBO......", "OBO.......", "OO........", "O.........",
};

namespace {

// The handler reports moves and presses; a release is seen by polling.
constexpr int kHandlerEvents = kMouseMoved | kMouseLeftDown | kMouseRightDown;
// While a button is held the waits wake this often: list arrows repeat, boxes
// and drags follow the pointer.
constexpr int kHeldButtonWaitMs = 10;

// Called from the event pump for each selected mouse event. It records the
// event and never draws.
void RecordMouseEvent(int x, int y, int buttons) {
    if (input.handlerLocked)
        return;
    input.eventX = x;
    input.eventY = y;
    input.eventButtons = buttons;
    if (buttons != 0 && buttons != input.latchedButtons)
        input.latchedButtons = buttons;
    input.eventPending = true;
}

// The pointer picture is drawn straight onto the screen's pixels, whatever
// the viewport, and the block under it is kept to put back.
void DrawPointer(int x, int y) {
    Canvas& screen = Screen();
    x = std::clamp(x, 0, screen.getmaxx());
    y = std::clamp(y, 0, screen.getmaxy());
    int w = std::min(kPointerW, screen.width() - x);
    int h = std::min(kPointerH, screen.height() - y);
    input.background.resize(size_t(w) * size_t(h));
    input.backgroundW = w;
    input.backgroundH = h;
    for (int row = 0; row < h; ++row) {
        uint8_t* line = screen.pixels() + size_t(y + row) * size_t(screen.width()) + size_t(x);
        std::copy(line, line + w, input.background.begin() + row * w);
        for (int col = 0; col < w; ++col) {
            char p = kPointerPicture[row][col];
            if (p != '.')
                line[col] = p == 'O' ? input.pointerEdge : input.pointerBody;
        }
    }
    input.drawnX = x;
    input.drawnY = y;
}

void ErasePointer() {
    Canvas& screen = Screen();
    // A block saved on another screen (before a mode change) is not put back.
    bool fits = input.drawnX >= 0 && input.drawnX + input.backgroundW <= screen.width() &&
                input.drawnY + input.backgroundH <= screen.height();
    for (int row = 0; fits && row < input.backgroundH; ++row) {
        uint8_t* line = screen.pixels() + size_t(input.drawnY + row) * size_t(screen.width()) +
                        size_t(input.drawnX);
        std::copy(input.background.begin() + row * input.backgroundW,
                  input.background.begin() + (row + 1) * input.backgroundW, line);
    }
    input.drawnX = -1;
}

// A shown pointer follows the position the program reads.
void TrackPointer(int x, int y) {
    if (input.pointerHidden)
        return;
    if (input.drawnX >= 0 && x == input.drawnX && y == input.drawnY)
        return;
    ErasePointer();
    DrawPointer(x, y);
}

// Reads the event fields (or the driver, when no event came) into the
// pointer position and the buttons. A latched click is handed out (and
// forgotten) only to a caller that asks for the buttons.
void PollDriver(int* buttons) {
    LockMouseHandler();
    if (!input.eventPending)
        PlatformMouseStatus(input.eventX, input.eventY, input.eventButtons);
    input.eventPending = false;
    int b = input.eventButtons;
    if (buttons) {
        if (input.latchedButtons != 0 && b == 0)
            b = input.latchedButtons;
        input.latchedButtons = 0;
        *buttons = b;
    }
    input.pointerX = input.eventX;
    input.pointerY = input.eventY;
    UnlockMouseHandler();
}

// ReadMouse without running the event pump.
void SampleMouse(int* x, int* y, int* buttons) {
    if (input.mousePresent)
        PollDriver(buttons);
    TrackPointer(input.pointerX, input.pointerY);
    if (x)
        *x = input.pointerX;
    if (y)
        *y = input.pointerY;
}

uint8_t PointerIndex(int colorSetting) {
    int index = MapColor(colorSetting);
    return static_cast<uint8_t>(index == 0 ? 1 : index);
}

}  // namespace

// ---- Mouse

void InitMouse() {
    bool installed = ResetMouse();
    input.pointerBody = PointerIndex(config.colors[kColorMouse]);
    input.pointerEdge = PointerIndex(config.colors[kColorMouseEdge]);
    input.background.clear();
    input.backgroundW = input.backgroundH = 0;
    input.mousePresent = installed;
    if (!input.mousePresent)
        return;
    PlatformSetMouseHandler(RecordMouseEvent, kHandlerEvents);
    if (input.driverSpeed == -1) {
        GetMouseSpeed();
        if (config.mouseSensitivity == 0)
            config.mouseSensitivity = input.driverSpeed;
    }
    SetMouseSpeed();
}

bool ResetMouse() {
    HidePointer();
    input.eventPending = false;
    input.latchedButtons = 0;
    return PlatformMouseReset();
}

void HidePointer() {
    if (input.pointerHidden)
        return;
    input.pointerHidden = true;
    ErasePointer();
}

void ShowPointer() {
    input.pointerHidden = false;
    SampleMouse(nullptr, nullptr, nullptr);
}

void ReadMouse(int* x, int* y, int* buttons) {
    PlatformPoll(PollKind::Mouse);
    SampleMouse(x, y, buttons);
}

void ReadButtons(int* buttons) {
    if (!input.mousePresent)
        return;
    PlatformPoll(PollKind::Mouse);
    if (buttons)
        *buttons = HeldButtons();
}

int HeldButtons() {
    if (!input.mousePresent)
        return 0;
    LockMouseHandler();
    int x, y, b;
    PlatformMouseStatus(x, y, b);
    UnlockMouseHandler();
    return b;
}

bool MiddleButtonDown() { return input.mousePresent && PlatformMiddleButtonDown(); }

void TakeWheel(int& up, int& right) {
    PlatformTakeWheel(up, right);
    if (!input.mousePresent)
        up = right = 0;
}

void SetMousePos(int x, int y) {
    if (!input.mousePresent)
        return;
    LockMouseHandler();
    PlatformWarpMouse(x, y);
    // An event recorded before the warp no longer tells where the pointer is.
    input.eventPending = false;
    UnlockMouseHandler();
    input.pointerX = x;
    input.pointerY = y;
}

void SetMouseLimits() {
    // Screen pixels: under the menu bar the map area ends kMenuBarHeight
    // rows further down the screen than in the viewport.
    int bottom = graphics.maxY + (graphics.menuBarShown ? kMenuBarHeight : 0);
    LockMouseHandler();
    PlatformSetMouseLimits(0, 0, graphics.maxX, bottom);
    UnlockMouseHandler();
}

void GetMouseSpeed() {
    int speed, limit;
    LockMouseHandler();
    PlatformGetMouseSpeed(speed, limit);
    UnlockMouseHandler();
    input.driverSpeed = speed;
    input.doubleSpeedLimit = limit;
}

void SetMouseSpeed() {
    int speed = config.mouseSensitivity > 0 ? config.mouseSensitivity : input.driverSpeed;
    if (speed <= 0)
        return;
    LockMouseHandler();
    PlatformSetMouseSpeed(speed, input.doubleSpeedLimit);
    UnlockMouseHandler();
}

void RestoreMouseSpeed() {
    if (input.driverSpeed <= 0)
        return;
    LockMouseHandler();
    PlatformSetMouseSpeed(input.driverSpeed, input.doubleSpeedLimit);
    UnlockMouseHandler();
}

// The handler runs inside the program's own event pump, never while the
// program reads its fields; the lock is kept so that the reads stay marked.
void LockMouseHandler() { input.handlerLocked = true; }

void UnlockMouseHandler() { input.handlerLocked = false; }

void SnapPointer(Snap snap, int* x, int* y, int bx, int by) {
    if (!config.snapCursor)
        return;
    if (snap == Snap::ToButton) {
        ReadMouse(x, y, nullptr);
        Viewport view = Screen().getviewport();
        SetMousePos(view.left + bx + graphics.charW, view.top + by + 4);
    } else if (*y >= 2 * graphics.charH) {
        SetMousePos(*x, *y);
    }
}

void WaitRelease(int* buttons) {
    if (!input.mousePresent) {
        FlushKeys(0);
        return;
    }
    int held = 1;
    for (;;) {
        ReadMouse(&input.pointerX, &input.pointerY, &held);
        if (held == 0)
            break;
        WaitForInput();
    }
    if (buttons)
        *buttons = 0;
}

// ---- Keys

int ReadKey(int* key) {
    if (!input.heldKeys.empty()) {
        if (key)
            *key = input.heldKeys.front();
        input.heldKeys.pop_front();
        return 1;
    }
    PlatformPoll(PollKind::Keys);
    int code = PlatformReadKey();
    if (code < 0)
        return 0;
    if (code == kKeyWindowClose)
        code = input.windowCloseKey;
    if (key)
        *key = code;
    return 1;
}

void KeepKey(int key) { input.heldKeys.push_back(key); }

int KeyWaiting() {
    if (!input.heldKeys.empty())
        return 1;
    PlatformPoll(PollKind::Keys);
    return PlatformKeyWaiting() ? 1 : 0;
}

int ShiftState() { return PlatformShiftState(); }

void FlushKeys(int ms) {
    while (ReadKey(nullptr)) {
        if (ms != 0) {
            Delay(ms);
            return;
        }
    }
}

int GetInput(int* buttons, InputWait wait) {
    int key = 0;
    int pressed = 0;
    bool gotKey = ReadKey(&key) != 0;
    if (wait == InputWait::Poll) {
        if (gotKey || (buttons && *buttons != 0))
            return 1;
        ReadMouse(nullptr, nullptr, &pressed);
        if (pressed == 0)
            return 0;
    } else {
        for (;;) {
            if (gotKey)
                break;
            ReadMouse(nullptr, nullptr, &pressed);
            if (pressed != 0)
                break;
            WaitForInput();
            gotKey = ReadKey(&key) != 0;
        }
    }
    if (pressed != 0) {
        if (buttons)
            *buttons = pressed;
        WaitRelease(nullptr);
        return kMouseClick;
    }
    return key;
}

int SoonerWait(int ms, int64_t other) {
    if (other < 0)
        return ms;
    int bounded = static_cast<int>(std::min<int64_t>(other, std::numeric_limits<int>::max()));
    return ms < 0 ? bounded : std::min(ms, bounded);
}

void WaitForInput(int timeoutMs) {
    const BackgroundWork& work = input.backgroundWork;
    if (work.dueMs && work.run && work.dueMs() == 0)
        work.run();
    if (work.dueMs)
        timeoutMs = SoonerWait(timeoutMs, work.dueMs());
    int x = 0, y = 0, held = 0;
    PlatformMouseStatus(x, y, held);
    if (held != 0 || PlatformMiddleButtonDown())
        timeoutMs = SoonerWait(timeoutMs, kHeldButtonWaitMs);
    if (!input.heldKeys.empty())
        return;
    PlatformWaitForInput(timeoutMs);
}

// ---- Time and sound

void Delay(int ms) { PlatformDelay(ms); }

void Beep(int freq, int ms) {
    if (!config.soundSelection)
        return;
    PlatformTone(freq, ms);
    if (ms > 0)
        Delay(ms);
}

void ErrorBeep() {
    if (!config.soundErrors)
        return;
    PlatformTone(config.beepErrorFreq, 10);
    Delay(10);
}

// ---- Pointer protocol

PointerGuard::PointerGuard() : wasHidden_(input.pointerHidden) {
    if (!wasHidden_)
        HidePointer();
}

PointerGuard::~PointerGuard() {
    if (!wasHidden_)
        ShowPointer();
}
