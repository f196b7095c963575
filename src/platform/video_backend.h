// What the two screen backends share: the state of the screen, keyboard and
// mouse that the common code keeps, and the operations each backend provides.
// Only the video files include this.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/video.h"

struct VideoBackend {
    bool window;                    // shows the canvas somewhere
    // With VideoState::followWindow, sets width and height to the window's size.
    bool (*start)(int& width, int& height, VideoStartError& error);
    void (*stop)();
    // Shows video.areas of the canvas now (backends with a window); false when it could not.
    bool (*present)();
    void (*poll)(PollKind kind);    // runs the event pump
    void (*waitForInput)(int timeoutMs);
    void (*warp)(int x, int y);     // the system pointer follows a warp
    void (*speedChanged)();
    int64_t (*milliseconds)();
    void (*delay)(int ms);
    void (*tone)(int freq, int ms);
    bool (*displaySize)(int& width, int& height);   // of the screen the window is on
};

const VideoBackend& SdlVideoBackend();
const VideoBackend& HeadlessVideoBackend();

struct MouseLimits {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct VideoState {
    const VideoBackend* backend = nullptr;   // of the running screen
    std::string title;                        // of the window
    bool active = false;
    bool followWindow = false;                // the canvas takes the window's size
    int windowW = 0, windowH = 0;             // that size, within the canvas limits
    std::unique_ptr<Canvas> canvas;
    uint8_t palette[768] = {};                // 6-bit components
    std::vector<uint8_t> shown;               // the canvas as last shown
    bool mustShow = true;                     // shown is out of date (palette, exposure)
    std::vector<CanvasArea> areas;            // what the last frame brought (VideoShownAreas)
    int64_t pollFrameDue = 0;                 // real milliseconds before which a poll shows no frame
    int frameMs = 16;
    // ZARN_TRACE_FRAMES set: each frame shown writes "frame T C" on stderr, T
    // the monotonic clock's milliseconds and C the CPU milliseconds the
    // program has used (for the start-up benchmark).
    bool traceFrames = false;

    struct BufferedKey {
        int code;
        char typed;                           // the character as typed, or 0
    };
    std::deque<BufferedKey> keys;             // the keyboard buffer
    char lastTyped = 0;                       // of the key read last
    int shiftState = 0;

    int mouseX = 0, mouseY = 0, buttons = 0;
    bool middle = false;                      // the middle button is held
    int wheelUp = 0, wheelRight = 0;          // notches not taken yet
    MouseLimits limits;
    MouseEventHandler handler = nullptr;
    int handlerMask = 0;
    int mouseSpeed = kPlatformMouseSpeed;
    int doubleSpeedLimit = 64;
};

extern VideoState video;

// Keys and mouse events found by a backend's pump.
// typed: the character as typed (letters in their case), 0 for none.
void QueueKey(int code, int shiftState, char typed = 0);
// The pointer moves to (x, y), kept inside the limits.
void MouseMovedTo(int x, int y);
void MouseButtonChanged(int button, bool down);
// A notch of the wheel: up (1 up, -1 down), or sideways with Shift.
void MouseWheelTurned(int up, bool sideways);
// The window now has this size (for a canvas that follows it).
void WindowResized(int width, int height);
