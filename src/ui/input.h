// The pointer and the keys: the mouse driver's state, the pointer picture
// that the program draws itself, the keyboard in one key code, and the
// waiting, timing and beep helpers of the toolkit.
//
// Pointer protocol: every routine that draws hides the pointer first unless it
// is hidden already, and shows it again at the end only if it was shown on
// entry (PointerGuard does both).
//
// Polls (ReadMouse, ReadButtons, ReadKey, KeyWaiting, GetInput, WaitRelease,
// Delay) run the event pump and show the canvas on the screen. A loop that
// waits for the user should call WaitForInput when a pass found nothing.
//
// "Mouse Sensitivity" (1..200) scales the pointer's motion: at the platform's
// driver speed (50) the pointer follows the system pointer one to one; other
// values capture the pointer in the window and move it by the system
// pointer's motion times sensitivity / 50. A fresh configuration (0) takes the
// driver speed at the first graphics start.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/keys.h"
#include "platform/video.h"

// Key code of a mouse click reported by GetInput.
constexpr int kMouseClick = -1;

// Work the program does on a schedule of its own while it waits for the
// user, in menus and dialogs too: dueMs gives the milliseconds until it is
// due (0: now; negative: nothing waits), run does it and draws nothing.
struct BackgroundWork {
    int64_t (*dueMs)() = nullptr;
    void (*run)() = nullptr;
};

struct InputState {
    bool mousePresent = false;
    int pointerX = 0, pointerY = 0;   // last set or read position, screen pixels
    bool pointerHidden = true;
    int drawnX = -1, drawnY = -1;     // where the pointer picture is; -1: not drawn
    std::vector<uint8_t> background;      // the screen block under the drawn pointer
    int backgroundW = 0, backgroundH = 0;
    bool eventPending = false;
    bool handlerLocked = false;
    int eventX = 0, eventY = 0, eventButtons = 0;
    int latchedButtons = 0;
    int driverSpeed = -1;
    int doubleSpeedLimit = 0;
    uint8_t pointerBody = 255, pointerEdge = 31;   // palette indices of the picture
    // The key that closing the window gives (Esc; the editor's own loop may
    // take Alt-F4 instead).
    int windowCloseKey = kKeyEsc;
    BackgroundWork backgroundWork;   // the editor's, while it runs
    std::deque<int> heldKeys;        // read ahead of their time, read again first
};

extern InputState input;

// Pointer picture: 10 x 14, hot spot at the upper left; 'O' outline, 'B' body.
constexpr int kPointerW = 10;
constexpr int kPointerH = 14;
extern const char* const kPointerPicture[kPointerH];

// Resets the driver, recolours the pointer from the "Mouse" and "MouseEdge"
// settings, installs the event handler and sets the speed.
void InitMouse();
// Hides the pointer and resets the driver; true when a mouse is installed.
bool ResetMouse();
void HidePointer();
void ShowPointer();
// Current position (screen pixels) and buttons (bit 0 left, bit 1 right); each
// may be null. A click that began and ended since the last read is reported
// once as pressed. Moves the visible pointer.
void ReadMouse(int* x, int* y, int* buttons);
void ReadButtons(int* buttons);
// The buttons held as the last poll left them, without polling: after a
// quick click that ReadMouse reported, none are.
int HeldButtons();
// The wheel and the middle button, which the old driver lacked: only the map
// view asks for them. TakeWheel gives the notches turned up and right since
// it was last called (read by the polls above) and forgets them.
bool MiddleButtonDown();
void TakeWheel(int& up, int& right);
void SetMousePos(int x, int y);
// Limits the pointer to (0, 0)-(maxX, maxY) of the graphics layer.
void SetMouseLimits();
void GetMouseSpeed();
void SetMouseSpeed();
void RestoreMouseSpeed();
void LockMouseHandler();
void UnlockMouseHandler();
enum class Snap {
    ToButton,   // remember the pointer in x, y and put it on the button at (bx, by)
    Back,       // put it back at x, y (not onto the bands)
};
// Moves the pointer for a dialog, with "Snap Cursor" on. (bx, by) is the
// button's corner in the current viewport, (x, y) the pointer's place on the
// screen.
void SnapPointer(Snap snap, int* x, int* y, int bx, int by);
// Waits until no button is held; buttons (may be null) ends as 0.
void WaitRelease(int* buttons);

// Reads a waiting key into key (may be null): 1, or 0 when none is waiting.
int ReadKey(int* key);
// 1 when a key is waiting (it stays in the buffer).
int KeyWaiting();
// Puts back a key read ahead of its time (a long task watching for Esc), so
// that the next ReadKey gives it again.
void KeepKey(int key);
// Shift state bits (platform/keys.h) as of the last poll.
int ShiftState();
// Empties the keyboard buffer; with ms != 0 reads only the first waiting key
// and then pauses ms.
void FlushKeys(int ms);
enum class InputWait { Poll, Wait };
// Poll: 1 when a key was read (and dropped) or *buttons was already set, 0
// when nothing is there. Wait: waits for a key (returns its code) or a button
// (stores it in buttons, waits for its release, returns kMouseClick).
int GetInput(int* buttons, InputWait wait);
// The program has nothing to do until the user acts: does the background
// work that is due, then sleeps until an event, or at most timeoutMs, and not
// past the time the background work is due. While a mouse button is held it
// wakes every few milliseconds, for what repeats or follows a held button.
void WaitForInput(int timeoutMs = kWaitUntilInput);
// The sooner of two waits in milliseconds, kWaitUntilInput (negative) being
// the longest.
int SoonerWait(int ms, int64_t other);

void Delay(int ms);
// With "Sound Selection" on: a tone of freq Hz for ms milliseconds.
void Beep(int freq, int ms);
// With "Sound Errors" on: the error tone for 10 ms.
void ErrorBeep();

// Hides the pointer for a drawing routine and shows it again at the end if it
// was shown when the routine began.
class PointerGuard {
public:
    PointerGuard();
    ~PointerGuard();
    PointerGuard(const PointerGuard&) = delete;
    PointerGuard& operator=(const PointerGuard&) = delete;

private:
    bool wasHidden_;
};
