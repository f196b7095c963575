// The parts of the screen, keyboard and mouse that both backends share: the
// canvas and palette, the keyboard buffer, the mouse driver's state, and the
// choice of backend.
#include "platform/video.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "platform/png_writer.h"
#include "platform/video_backend.h"

VideoState video;

namespace {

constexpr size_t kKeyBufferSize = 16;
constexpr int kKeyWaitingMs = 10;
// The canvas a window-sized screen starts with, before the window says its size.
constexpr int kFirstWindowWidth = 1280, kFirstWindowHeight = 1024;
// A new window shows its first picture when the program first waits, unless
// the work before takes this long: a half-drawn first picture would cost a
// whole frame and be drawn over at once.
constexpr int kFirstPollFrameMs = 250;
// The canvas before the first start.
constexpr int kBlankWidth = 640, kBlankHeight = 480;

// The VGA's palette after a mode start: the 16 EGA colours, a grey ramp, then
// nine rings of 24 hues (three intensities, three saturations each), black.
void SetDefaultPalette(uint8_t* p) {
    static const uint8_t kEga[16][3] = {
        {0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
        {42, 21, 0},  {42, 42, 42}, {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
        {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63},
    };
    static const uint8_t kGreys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
    // Per ring: the low level, the three steps between, the high level.
    static const uint8_t kRings[9][5] = {
        {0, 16, 31, 47, 63},  {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
        {0, 7, 14, 21, 28},   {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
        {0, 4, 8, 12, 16},    {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16},
    };
    std::memset(p, 0, 768);
    for (int i = 0; i < 16; ++i) {
        std::memcpy(p + 3 * i, kEga[i], 3);
        std::memset(p + 3 * (16 + i), kGreys[i], 3);
    }
    for (int ring = 0; ring < 9; ++ring) {
        const uint8_t* l = kRings[ring];
        // Blue to magenta to red to yellow to green to cyan and back to blue:
        // one component rises or falls through the steps at a time.
        for (int k = 0; k < 24; ++k) {
            int phase = k / 4, step = k % 4;
            uint8_t up = l[step], down = l[4 - step];
            uint8_t rgb[3];
            switch (phase) {
            case 0: rgb[0] = up, rgb[1] = l[0], rgb[2] = l[4]; break;
            case 1: rgb[0] = l[4], rgb[1] = l[0], rgb[2] = down; break;
            case 2: rgb[0] = l[4], rgb[1] = up, rgb[2] = l[0]; break;
            case 3: rgb[0] = down, rgb[1] = l[4], rgb[2] = l[0]; break;
            case 4: rgb[0] = l[0], rgb[1] = l[4], rgb[2] = up; break;
            default: rgb[0] = l[0], rgb[1] = down, rgb[2] = l[4]; break;
            }
            std::memcpy(p + 3 * (32 + ring * 24 + k), rgb, 3);
        }
    }
}

const VideoBackend& ChosenBackend() {
    if (video.active)
        return *video.backend;
    return VideoHeadless() ? HeadlessVideoBackend() : SdlVideoBackend();
}

// The canvas is compared with what was shown in tiles of this many columns
// and rows; a changed area spans whole tiles.
constexpr int kTileWidth = 64, kTileHeight = 16;

bool TileChanged(int x0, int y0, int x1, int y1) {
    const Canvas& screen = Screen();
    const size_t width = size_t(screen.width());
    for (int y = y0; y <= y1; ++y) {
        const size_t at = size_t(y) * width + size_t(x0);
        if (std::memcmp(video.shown.data() + at, screen.pixels() + at, size_t(x1 - x0 + 1)) != 0)
            return true;
    }
    return false;
}

// The areas of the canvas that differ from what was shown: per band of
// rows, each run of changed tiles; a run under one of the same columns
// lengthens it.
std::vector<CanvasArea> ChangedAreas() {
    const Canvas& screen = Screen();
    const int maxX = screen.getmaxx(), maxY = screen.getmaxy();
    std::vector<CanvasArea> done, open;   // open: areas that reach the band above
    for (int y0 = 0; y0 <= maxY; y0 += kTileHeight) {
        const int y1 = std::min(maxY, y0 + kTileHeight - 1);
        std::vector<CanvasArea> band;
        for (int x0 = 0; x0 <= maxX;) {
            int x1 = std::min(maxX, x0 + kTileWidth - 1);
            if (!TileChanged(x0, y0, x1, y1)) {
                x0 = x1 + 1;
                continue;
            }
            const int left = x0;
            while (x1 < maxX && TileChanged(x1 + 1, y0, std::min(maxX, x1 + kTileWidth), y1))
                x1 = std::min(maxX, x1 + kTileWidth);
            auto above = std::find_if(open.begin(), open.end(),
                                      [&](const CanvasArea& a) { return a.left == left && a.right == x1; });
            if (above != open.end()) {
                band.push_back({left, above->top, x1, y1});
                open.erase(above);
            } else {
                band.push_back({left, y0, x1, y1});
            }
            x0 = x1 + 1;
        }
        done.insert(done.end(), open.begin(), open.end());
        open = std::move(band);
    }
    done.insert(done.end(), open.begin(), open.end());
    return done;
}

void KeepShown(const std::vector<CanvasArea>& areas) {
    const Canvas& screen = Screen();
    const size_t width = size_t(screen.width());
    for (const CanvasArea& a : areas)
        for (int y = a.top; y <= a.bottom; ++y) {
            const size_t at = size_t(y) * width + size_t(a.left);
            std::memcpy(video.shown.data() + at, screen.pixels() + at, size_t(a.right - a.left + 1));
        }
}

// Shows the canvas when it differs from what the window shows: right away
// before the program blocks, else at most once per display frame.
void Show(bool beforeBlocking) {
    if (!video.active)
        return;
    int64_t now = MonotonicMilliseconds();
    if (!beforeBlocking && now < video.pollFrameDue)
        return;
    video.pollFrameDue = now + video.frameMs;
    const Canvas& screen = Screen();
    size_t size = size_t(screen.width()) * size_t(screen.height());
    bool whole = video.mustShow || video.shown.size() != size;
    std::vector<CanvasArea> areas =
        whole ? std::vector<CanvasArea>{{0, 0, screen.getmaxx(), screen.getmaxy()}} : ChangedAreas();
    if (areas.empty())
        return;
    video.areas = std::move(areas);
    // A failed frame (the window was being resized) is shown whole next time.
    video.mustShow = video.backend->present && !video.backend->present();
    if (whole)
        video.shown.assign(screen.pixels(), screen.pixels() + size);
    else
        KeepShown(video.areas);
    if (video.traceFrames && video.backend->window)
        std::fprintf(stderr, "frame %lld %.1f\n", static_cast<long long>(MonotonicMilliseconds()),
                     ProcessCpuMilliseconds());
}

void ResetMouseDriver() {
    video.handler = nullptr;
    video.handlerMask = 0;
    video.limits = MouseLimits{0, 0, Screen().getmaxx(), Screen().getmaxy()};
    video.mouseSpeed = kPlatformMouseSpeed;
    if (video.active)
        video.backend->speedChanged();
}

// A canvas as new: the one there is reused, so that starting and resetting
// the screen again and again (the tests, the fuzz targets) allocates nothing.
void FreshCanvas(int width, int height) {
    if (video.canvas)
        video.canvas->restart(width, height);
    else
        video.canvas = std::make_unique<Canvas>(width, height);
}

void CallHandler(int event) {
    if (video.handler && (video.handlerMask & event))
        video.handler(video.mouseX, video.mouseY, video.buttons);
}

}  // namespace

bool VideoHeadless() { return EnvironmentValue("ZARN_VIDEO") == "headless"; }

bool VideoDisplayPresent() {
    return VideoHeadless() || !EnvironmentValue("DISPLAY").empty() ||
           !EnvironmentValue("WAYLAND_DISPLAY").empty() || !EnvironmentValue("SDL_VIDEODRIVER").empty();
}

Canvas& Screen() {
    if (!video.canvas)
        FreshCanvas(kBlankWidth, kBlankHeight);
    return *video.canvas;
}

bool VideoStart(int width, int height, const std::string& title, VideoStartError& error) {
    VideoStop();
    video.title = title;
    const VideoBackend& backend = ChosenBackend();
    video.followWindow = width == kWindowSized || height == kWindowSized;
    if (video.followWindow)
        width = kFirstWindowWidth, height = kFirstWindowHeight;
    FreshCanvas(width, height);
    SetDefaultPalette(video.palette);
    video.buttons = 0;
    video.middle = false;
    video.wheelUp = video.wheelRight = 0;
    ResetMouseDriver();
    if (!backend.start(width, height, error))
        return false;
    if (video.followWindow) {
        WindowResized(width, height);
        VideoResizeCanvas(video.windowW, video.windowH);
    }
    video.mouseX = std::clamp(video.mouseX, 0, Screen().getmaxx());
    video.mouseY = std::clamp(video.mouseY, 0, Screen().getmaxy());
    video.backend = &backend;
    video.active = true;
    video.shown.clear();
    video.mustShow = true;
    video.pollFrameDue = MonotonicMilliseconds() + kFirstPollFrameMs;
    video.traceFrames = !EnvironmentValue("ZARN_TRACE_FRAMES").empty();
    return true;
}

bool VideoWindowResized(int& width, int& height) {
    if (!video.followWindow || (video.windowW == Screen().width() && video.windowH == Screen().height()))
        return false;
    width = video.windowW;
    height = video.windowH;
    return true;
}

bool VideoDisplaySize(int& width, int& height) {
    return video.active && video.backend->window && video.backend->displaySize(width, height);
}

void VideoResizeCanvas(int width, int height) {
    Canvas& screen = Screen();
    if (width == screen.width() && height == screen.height())
        return;
    screen.resize(width, height);
    video.limits = MouseLimits{0, 0, screen.getmaxx(), screen.getmaxy()};
    video.mouseX = std::clamp(video.mouseX, 0, screen.getmaxx());
    video.mouseY = std::clamp(video.mouseY, 0, screen.getmaxy());
    video.mustShow = true;
}

void WindowResized(int width, int height) {
    video.windowW = std::clamp(width, kMinCanvasWidth, kMaxCanvasWidth);
    video.windowH = std::clamp(height, kMinCanvasHeight, kMaxCanvasHeight);
}

void VideoStop() {
    if (!video.active)
        return;
    video.backend->stop();
    video.active = false;
}

void VideoReset() {
    VideoStop();
    std::unique_ptr<Canvas> canvas = std::move(video.canvas);
    video = VideoState{};
    video.canvas = std::move(canvas);
    if (video.canvas)
        FreshCanvas(kBlankWidth, kBlankHeight);
}

bool VideoActive() { return video.active; }

void VideoSetPalette(const uint8_t rgb6[768]) {
    for (int i = 0; i < 768; ++i)
        video.palette[i] = rgb6[i] & 63;
    video.mustShow = true;
}

void VideoGetPalette(uint8_t rgb6[768]) { std::memcpy(rgb6, video.palette, 768); }

void VideoPresent() { Show(false); }

const std::vector<CanvasArea>& VideoShownAreas() { return video.areas; }

bool VideoSnapshot(const std::string& path) {
    uint8_t rgb8[768];
    for (int i = 0; i < 768; ++i)
        rgb8[i] = static_cast<uint8_t>(video.palette[i] << 2 | video.palette[i] >> 4);
    const Canvas& screen = Screen();
    return WritePng(path, screen.width(), screen.height(), screen.pixels(), rgb8);
}

void PlatformPoll(PollKind kind) {
    if (!video.active)
        return;
    video.backend->poll(kind);
    VideoPresent();
}

void PlatformWaitForInput(int timeoutMs) {
    if (!video.active)
        return;
    Show(true);
    // A key left in the buffer is not an event to wait for: whoever waits
    // while one is there is waiting for something else, and looks again soon.
    if (!video.keys.empty() && (timeoutMs < 0 || timeoutMs > kKeyWaitingMs))
        timeoutMs = kKeyWaitingMs;
    video.backend->waitForInput(timeoutMs);
}

// ---- Keyboard

void QueueKey(int code, int shiftState, char typed) {
    video.shiftState = shiftState;
    if (video.keys.size() < kKeyBufferSize)
        video.keys.push_back({code, typed});
}

bool PlatformKeyWaiting() { return !video.keys.empty(); }

int PlatformReadKey() {
    if (video.keys.empty())
        return -1;
    VideoState::BufferedKey key = video.keys.front();
    video.keys.pop_front();
    video.lastTyped = key.typed;
    return key.code;
}

char PlatformLastTypedCharacter() { return video.lastTyped; }

int PlatformShiftState() { return video.shiftState; }

// ---- Mouse

void MouseMovedTo(int x, int y) {
    x = std::clamp(x, video.limits.x1, video.limits.x2);
    y = std::clamp(y, video.limits.y1, video.limits.y2);
    if (x == video.mouseX && y == video.mouseY)
        return;
    video.mouseX = x;
    video.mouseY = y;
    CallHandler(kMouseMoved);
}

void MouseButtonChanged(int button, bool down) {
    if (button == kButtonMiddle) {
        video.middle = down;
        return;
    }
    int before = video.buttons;
    video.buttons = down ? before | button : before & ~button;
    if (video.buttons == before)
        return;
    bool left = button == kButtonLeft;
    CallHandler(down ? (left ? kMouseLeftDown : kMouseRightDown)
                     : (left ? kMouseLeftUp : kMouseRightUp));
}

void MouseWheelTurned(int up, bool sideways) {
    if (sideways)
        video.wheelRight -= up;
    else
        video.wheelUp += up;
}

bool PlatformMiddleButtonDown() { return video.middle; }

void PlatformTakeWheel(int& up, int& right) {
    up = video.wheelUp;
    right = video.wheelRight;
    video.wheelUp = video.wheelRight = 0;
}

bool PlatformMouseReset() {
    ResetMouseDriver();
    return true;
}

void PlatformSetMouseHandler(MouseEventHandler handler, int mask) {
    video.handler = handler;
    video.handlerMask = mask;
}

void PlatformMouseStatus(int& x, int& y, int& buttons) {
    x = video.mouseX;
    y = video.mouseY;
    buttons = video.buttons;
}

void PlatformWarpMouse(int x, int y) {
    video.mouseX = std::clamp(x, video.limits.x1, video.limits.x2);
    video.mouseY = std::clamp(y, video.limits.y1, video.limits.y2);
    if (video.active)
        video.backend->warp(video.mouseX, video.mouseY);
}

void PlatformSetMouseLimits(int x1, int y1, int x2, int y2) {
    const Canvas& screen = Screen();
    video.limits.x1 = std::clamp(std::min(x1, x2), 0, screen.getmaxx());
    video.limits.x2 = std::clamp(std::max(x1, x2), 0, screen.getmaxx());
    video.limits.y1 = std::clamp(std::min(y1, y2), 0, screen.getmaxy());
    video.limits.y2 = std::clamp(std::max(y1, y2), 0, screen.getmaxy());
    video.mouseX = std::clamp(video.mouseX, video.limits.x1, video.limits.x2);
    video.mouseY = std::clamp(video.mouseY, video.limits.y1, video.limits.y2);
}

void PlatformSetMouseSpeed(int speed, int doubleSpeedLimit) {
    video.mouseSpeed = std::clamp(speed, 1, 200);
    video.doubleSpeedLimit = doubleSpeedLimit;
    if (video.active)
        video.backend->speedChanged();
}

void PlatformGetMouseSpeed(int& speed, int& doubleSpeedLimit) {
    speed = video.mouseSpeed;
    doubleSpeedLimit = video.doubleSpeedLimit;
}

// ---- Clock and speaker

int64_t PlatformMilliseconds() { return ChosenBackend().milliseconds(); }

void PlatformDelay(int ms) {
    Show(true);
    ChosenBackend().delay(ms < 0 ? 0 : ms);
}

void PlatformTone(int freq, int ms) {
    if (freq > 18 && ms > 0)
        ChosenBackend().tone(freq, ms);
}
