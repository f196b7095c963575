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
    bool (*start)(int width, int height, VideoStartError& error);
    void (*stop)();
    void (*present)();              // shows the canvas now (backends with a window)
    void (*poll)(PollKind kind);    // runs the event pump
    void (*waitForInput)();
    void (*warp)(int x, int y);     // the system pointer follows a warp
    void (*speedChanged)();
    int64_t (*milliseconds)();
    void (*delay)(int ms);
    void (*tone)(int freq, int ms);
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
    std::unique_ptr<Canvas> canvas;
    uint8_t palette[768] = {};                // 6-bit components
    std::vector<uint8_t> shown;               // the canvas as last shown
    bool mustShow = true;                     // shown is out of date (palette, exposure)
    int64_t lastPresent = -1;                 // real milliseconds of the last look at the canvas
    int frameMs = 16;

    struct BufferedKey {
        int code;
        char typed;                           // the character as typed, or 0
    };
    std::deque<BufferedKey> keys;             // the keyboard buffer
    char lastTyped = 0;                       // of the key read last
    int shiftState = 0;

    int mouseX = 0, mouseY = 0, buttons = 0;
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
