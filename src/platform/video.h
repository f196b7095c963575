// The graphics screen, keyboard, mouse, clock and speaker of graphics mode.
//
// Two backends share this interface: an SDL window (the default), and a
// headless one (environment ZARN_VIDEO=headless) that has the same canvas but
// no window, a virtual clock, and takes its input from a script (environment
// ZARN_SCRIPT=FILE, or HeadlessLoadScript in tests).
//
// The program draws on the canvas returned by Screen(). The canvas reaches the
// window when the program polls or waits for input: at most once per display
// frame, and always before it blocks; only what changed is sent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/canvas.h"

// Exit code of a headless run whose input script cannot be read or parsed
// (the script's line and fault on the console).
constexpr int kExitScriptError = 2;
// Exit code of a headless run whose input script ran out while the program
// asked for more ("input script ended" on the console).
constexpr int kExitScriptEnded = 3;

// ---- Screen

// Why the screen did not start.
enum class VideoFailure {
    None,
    Library,       // SDL failed (message: SDL's)
    NoDisplay,     // no display to show a window on (message: SDL's, and how to run instead)
    InputScript,   // the headless input script cannot be read or parsed (message: file, line, fault)
};

struct VideoStartError {
    VideoFailure failure = VideoFailure::None;
    std::string message;
};

// Width and height of VideoStart for a canvas of the window's own size: the
// window opens as large as the screen allows (maximised), and the canvas
// follows it when it is resized, within the limits below. The headless
// screen has no window: its canvas starts at 1280 x 1024, and the script's
// "resize W H" stands for the window being resized.
constexpr int kWindowSized = 0;
constexpr int kMinCanvasWidth = 640, kMinCanvasHeight = 480;
constexpr int kMaxCanvasWidth = 3840, kMaxCanvasHeight = 2160;

// Opens the screen with a canvas of the given size, the default VGA palette
// and a cleared canvas; a window gets the title. False with the reason when
// it cannot.
bool VideoStart(int width, int height, const std::string& title, VideoStartError& error);
// For a canvas that follows the window: true with the size the canvas should
// now have when the window was resized to another (the window shows the old
// canvas, scaled, until VideoResizeCanvas).
bool VideoWindowResized(int& width, int& height);
// The size of the display the window is on; false without a window.
bool VideoDisplaySize(int& width, int& height);
// Gives the canvas that size: cleared, the viewport the whole screen.
void VideoResizeCanvas(int width, int height);
void VideoStop();
// Stops the screen and forgets its canvas (blank again, its memory kept),
// palette, keyboard buffer and mouse driver, as before the first start.
void VideoReset();
bool VideoActive();
// True when the environment selects the headless backend.
bool VideoHeadless();
// False when a window could not possibly be opened (no display to show it on).
bool VideoDisplayPresent();
// The canvas of the screen (a 640 x 480 one before the first start).
Canvas& Screen();
// The 256 colours, 6 bits per component (0..63), red, green, blue; setting
// them recolours what is on the screen, as on a VGA.
void VideoSetPalette(const uint8_t rgb6[768]);
void VideoGetPalette(uint8_t rgb6[768]);
// Shows the canvas if a display frame has passed since it was last shown.
void VideoPresent();

// A rectangle of canvas pixels, both corners included.
struct CanvasArea {
    int left, top, right, bottom;
};
// The areas of the canvas that the last frame shown brought to the window:
// only those that differed from what it showed before, in rectangles that
// leave out unchanged bands of 64 columns; the whole canvas after a new
// palette, an exposure, a new size or a frame that could not be shown. The
// headless screen finds them as a window would, and shows nothing.
const std::vector<CanvasArea>& VideoShownAreas();
// Writes what the screen shows (the canvas through the palette) as a PNG file.
bool VideoSnapshot(const std::string& path);

// ---- Input: the event pump

// What the program polls; the headless backend hands out its script events
// only once the program has settled, which it judges from the mouse polls.
// Aside: the program waits for another program and takes no input but a key
// to stop it; the window stays alive, and the headless script waits until
// the program asks for input again.
enum class PollKind { Keys, Mouse, Aside };

// Runs the event pump (SDL events, or the next script event) and shows the
// canvas if due.
void PlatformPoll(PollKind kind);
// The program has nothing to do until the user acts: shows the canvas and
// sleeps until an event comes, or at most timeoutMs milliseconds (a timeout
// of kWaitUntilInput: no limit), or a few milliseconds while a key waits.
// Headless: hands out the next script event at once, or ends the run with
// kExitScriptEnded when none is left.
constexpr int kWaitUntilInput = -1;
void PlatformWaitForInput(int timeoutMs = kWaitUntilInput);

// ---- Keyboard (the BIOS keyboard service). These do not pump events.

bool PlatformKeyWaiting();
// The next key code of the keyboard buffer, or -1 when it is empty.
int PlatformReadKey();
// The character of the key read last as it was typed (letters keep their
// case, which key codes do not), or 0 when it typed none.
char PlatformLastTypedCharacter();
// Shift state bits (platform/keys.h) at the time of the last key event.
int PlatformShiftState();

// ---- Mouse (the mouse driver). Positions are canvas pixels.

// Event mask bits of the mouse event handler.
constexpr int kMouseMoved = 0x01;
constexpr int kMouseLeftDown = 0x02;
constexpr int kMouseLeftUp = 0x04;
constexpr int kMouseRightDown = 0x08;
constexpr int kMouseRightUp = 0x10;
// Button bits.
constexpr int kButtonLeft = 1;
constexpr int kButtonRight = 2;
// The middle button, which the old driver lacked: never among the button
// bits above (so nothing that reads them changes meaning); asked for apart.
constexpr int kButtonMiddle = 4;

// The speed that makes the pointer follow the system pointer one to one; the
// driver speed the program finds at its first start.
constexpr int kPlatformMouseSpeed = 50;

// Called from inside the pump for each event that the mask selects.
using MouseEventHandler = void (*)(int x, int y, int buttons);

// Resets the driver: no handler, limits of the whole canvas, the platform
// speed. True when there is a pointing device.
bool PlatformMouseReset();
void PlatformSetMouseHandler(MouseEventHandler handler, int mask);
void PlatformMouseStatus(int& x, int& y, int& buttons);
// Whether the middle button is held.
bool PlatformMiddleButtonDown();
// The wheel's notches since the last call, and forgets them: up (towards the
// screen's top, negative down) and right (negative left). A notch of the
// wheel with Shift held, and a sideways wheel, turn right or left.
void PlatformTakeWheel(int& up, int& right);
// Moves the pointer; the system pointer follows while it is over the window.
void PlatformWarpMouse(int x, int y);
void PlatformSetMouseLimits(int x1, int y1, int x2, int y2);
// Speed 1..200: with kPlatformMouseSpeed the pointer follows the system
// pointer exactly; any other value captures the pointer in the window and
// moves it by the system pointer's motion times speed / kPlatformMouseSpeed.
// The double-speed threshold is kept and reported but has no effect.
void PlatformSetMouseSpeed(int speed, int doubleSpeedLimit);
void PlatformGetMouseSpeed(int& speed, int& doubleSpeedLimit);

// ---- Clock (virtual in the headless backend)

int64_t PlatformMilliseconds();
// Shows the canvas, then pauses; headless: returns at once, the clock moves on.
void PlatformDelay(int ms);

// ---- Speaker

// A square-wave tone of freq Hz for ms milliseconds, without waiting for it;
// a new tone replaces one still sounding. Silent without an audio device, in
// the headless backend, and for 18 Hz and below. The audio device is opened
// at the first tone, quietly: a machine without one hears and reads nothing.
void PlatformTone(int freq, int ms);

// ---- Headless backend control (tests, and the environment's script)

// Called when the program asks for input after the last script event, once
// "input script ended" is on the console. It ends the run (the program throws
// its exit); without one, or should it return, the process exits with
// kExitScriptEnded.
using ScriptEndHandler = void (*)();
void HeadlessSetScriptEndHandler(ScriptEndHandler handler);

// Replaces the events still to come by those of the script text. False with
// "line N: ..." in error when a line is not an event.
bool HeadlessLoadScript(const std::string& text, std::string& error);
bool HeadlessLoadScriptFile(const std::string& path, std::string& error);
// Script events not handed out yet.
int HeadlessEventsLeft();
// The next VideoStart fails with this message (tests of start failures).
void HeadlessFailNextStart(const std::string& message, VideoFailure failure = VideoFailure::Library);
// Forgets the script, the keyboard buffer and the mouse, and sets the clock to 0.
void HeadlessReset();
