// The SDL screen: a resizable window titled with the product name, showing
// the canvas scaled to fit with its aspect kept, the system pointer hidden
// over it; SDL's keyboard and mouse events; a square-wave tone through SDL
// audio.
#include <SDL.h>
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/keys.h"
#include "platform/video_backend.h"

namespace {

constexpr int kAudioRate = 22050;
constexpr int16_t kToneAmplitude = 4000;

// The canvas is drawn straight into the window's surface, which the window
// system shows from shared memory: converting the areas that changed is all
// the work a frame costs here.
struct SdlState {
    SDL_Window* window = nullptr;
    SDL_Surface* surface = nullptr;   // the window's, as last drawn on
    int surfaceW = 0, surfaceH = 0;
    int canvasW = 0, canvasH = 0;     // the canvas size the picture was fitted for
    SDL_Rect picture = {};            // where the canvas lies on the surface
    std::vector<int> columns, rows;   // canvas column/row of each picture column/row
    bool whole = true;                // the surface must be drawn again whole
    uint32_t colours[256] = {};       // the palette in the pixel format drawn
    std::vector<uint32_t> staging;    // a row for surfaces not of 32-bit pixels
    std::vector<SDL_Rect> updated;    // the window areas drawn this frame
    bool relative = false;            // pointer captured, motion scaled by the speed
    double restX = 0, restY = 0;      // fractions of scaled motion not yet moved
    int64_t lastPump = -1;            // real milliseconds
    bool audioTried = false;
    SDL_AudioDeviceID audio = 0;
    int audioRate = kAudioRate;
};

SdlState sdl;

int BiosShiftState(Uint16 mod) {
    int state = 0;
    if (mod & KMOD_RSHIFT)
        state |= kShiftRight;
    if (mod & KMOD_LSHIFT)
        state |= kShiftLeft;
    if (mod & KMOD_CTRL)
        state |= kShiftCtrl;
    if (mod & KMOD_ALT)
        state |= kShiftAlt;
    if (mod & KMOD_SCROLL)
        state |= kShiftScrollLock;
    if (mod & KMOD_NUM)
        state |= kShiftNumLock;
    if (mod & KMOD_CAPS)
        state |= kShiftCapsLock;
    return state;
}

// Where the canvas lies in a window (or drawable) of the given size.
struct Placement {
    double scale, left, top;
};

Placement PlaceCanvas(int width, int height) {
    const Canvas& screen = Screen();
    double scale = std::min(double(width) / screen.width(), double(height) / screen.height());
    if (scale <= 0)
        scale = 1;
    return {scale, (width - screen.width() * scale) / 2, (height - screen.height() * scale) / 2};
}

Placement WindowPlacement() {
    int w = 0, h = 0;
    SDL_GetWindowSize(sdl.window, &w, &h);
    return PlaceCanvas(w, h);
}

void MoveToWindowPoint(int wx, int wy) {
    Placement p = WindowPlacement();
    MouseMovedTo(int(std::floor((wx - p.left) / p.scale)), int(std::floor((wy - p.top) / p.scale)));
}

void MoveByMotion(int dx, int dy) {
    double f = double(video.mouseSpeed) / kPlatformMouseSpeed;
    sdl.restX += dx * f;
    sdl.restY += dy * f;
    int mx = int(std::trunc(sdl.restX)), my = int(std::trunc(sdl.restY));
    sdl.restX -= mx;
    sdl.restY -= my;
    MouseMovedTo(video.mouseX + mx, video.mouseY + my);
}

int ButtonBit(Uint8 button) {
    if (button == SDL_BUTTON_LEFT)
        return kButtonLeft;
    if (button == SDL_BUTTON_RIGHT)
        return kButtonRight;
    if (button == SDL_BUTTON_MIDDLE)
        return kButtonMiddle;
    return 0;
}

// A key press: keys without a character (and every key with Ctrl or Alt) are
// queued here; characters arrive as text input with the keyboard's layout.
void KeyDown(const SDL_KeyboardEvent& key) {
    int shift = BiosShiftState(key.keysym.mod);
    video.shiftState = shift;
    const KeyDef* def = FindKeyBySdl(key.keysym.sym, (shift & kShiftNumLock) != 0);
    if (!def || (IsCharacterKey(*def) && !(shift & (kShiftCtrl | kShiftAlt))))
        return;
    if (int code = KeyCode(*def, shift))
        QueueKey(code, shift);
}

void TextInput(const char* text) {
    int shift = BiosShiftState(SDL_GetModState());
    if (shift & (kShiftCtrl | kShiftAlt))
        return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (int code = CharacterCode(*p))
            QueueKey(code, shift, static_cast<char>(*p));
}

// Each notch of the wheel; Shift turns the wheel sideways, and a sideways
// wheel (or a touchpad's sideways swipe) turns right and left.
void Wheel(const SDL_MouseWheelEvent& wheel) {
    int sign = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
    bool shift = (SDL_GetModState() & KMOD_SHIFT) != 0;
    for (int n = 0; n < std::abs(wheel.y); ++n)
        MouseWheelTurned(wheel.y * sign > 0 ? 1 : -1, shift);
    for (int n = 0; n < std::abs(wheel.x); ++n)
        MouseWheelTurned(wheel.x * sign > 0 ? -1 : 1, true);
}

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT: QueueKey(kKeyWindowClose, video.shiftState); break;
    case SDL_KEYDOWN: KeyDown(e.key); break;
    case SDL_KEYUP: video.shiftState = BiosShiftState(e.key.keysym.mod); break;
    case SDL_TEXTINPUT: TextInput(e.text.text); break;
    case SDL_MOUSEMOTION:
        if (sdl.relative)
            MoveByMotion(e.motion.xrel, e.motion.yrel);
        else
            MoveToWindowPoint(e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (!sdl.relative)
            MoveToWindowPoint(e.button.x, e.button.y);
        if (int bit = ButtonBit(e.button.button))
            MouseButtonChanged(bit, e.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_MOUSEWHEEL: Wheel(e.wheel); break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            video.mustShow = true;
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && video.followWindow)
            WindowResized(e.window.data1, e.window.data2);
        break;
    default: break;
    }
}

// ALSA writes several lines on stderr whenever it finds no sound card; a
// machine without one is normal for this program, so ALSA's messages are
// silenced before SDL tries it (SDL loads the same library).
void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!alsa)
        return;
    auto setHandler = reinterpret_cast<int (*)(ErrorHandler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler)
        setHandler(IgnoreAlsaMessage);
}

// Opened at the first tone: a program that never beeps never touches audio.
void OpenAudio() {
    if (sdl.audioTried)
        return;
    sdl.audioTried = true;
    SilenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    SDL_AudioSpec want{}, have{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    sdl.audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (sdl.audio == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    sdl.audioRate = have.freq;
    SDL_PauseAudioDevice(sdl.audio, 0);
}

void DestroyWindow() {
    if (sdl.window)
        SDL_DestroyWindow(sdl.window);
    sdl.window = nullptr;
    sdl.surface = nullptr;
    sdl.whole = true;
}

bool Fail(VideoStartError& error) {
    error = {VideoFailure::Library, SDL_GetError()};
    DestroyWindow();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

void SpeedChanged();

// Whether SDL should try a video driver. It falls back on drivers that show
// nothing ("offscreen", "dummy", "evdev"), and the program would wait for a
// user who cannot see it. The Wayland library, asked without a session to
// connect to, writes its complaint on stderr.
bool WorthTrying(const std::string& driver) {
    if (driver == "offscreen" || driver == "dummy" || driver == "evdev")
        return false;
    if (driver == "wayland")
        return !EnvironmentValue("WAYLAND_DISPLAY").empty() || !EnvironmentValue("XDG_RUNTIME_DIR").empty();
    return true;
}

// The environment's own choice of driver is used as it stands.
void ChooseDrivers() {
    if (!EnvironmentValue("SDL_VIDEODRIVER").empty())
        return;
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        std::string name = SDL_GetVideoDriver(i);
        if (WorthTrying(name))
            drivers += (drivers.empty() ? "" : ",") + name;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

// SDL asks the session bus for an input method as video starts. Where no
// bus runs, the bus library would fork and search PATH for dbus-launch to
// start one, at every start; a bus started so has no input method on it.
// An address that cannot be reached gives the same answer at once.
constexpr const char* kBusAddress = "DBUS_SESSION_BUS_ADDRESS";

bool SessionBusRuns() {
    if (!EnvironmentValue(kBusAddress).empty())
        return true;
    const std::string runtime = EnvironmentValue("XDG_RUNTIME_DIR");
    return !runtime.empty() && access((runtime + "/bus").c_str(), F_OK) == 0;
}

bool StartVideoWithoutStartingABus() {
    const bool unreachable = !SessionBusRuns();
    if (unreachable)
        setenv(kBusAddress, "unix:path=/dev/null/no-session-bus", 1);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (unreachable)
        unsetenv(kBusAddress);
    return started;
}

bool Start(int& width, int& height, VideoStartError& error) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // An editor left alone may let the screen saver come; keeping it away
    // would also mean asking the session bus at every start.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    ChooseDrivers();
    if (!StartVideoWithoutStartingABus()) {
        error = {VideoFailure::NoDisplay, "No display to show a window on: run under xvfb-run, "
                                          "or with ZARN_VIDEO=headless (" + std::string(SDL_GetError()) + ")"};
        return false;
    }
    // X11 shows a window surface from shared memory; SDL would otherwise put
    // it in an OpenGL texture, which costs far more CPU where OpenGL is
    // rendered in software (a virtual display, a remote desktop).
    if (std::string(SDL_GetCurrentVideoDriver()) == "x11")
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    Uint32 flags = SDL_WINDOW_RESIZABLE;
    SDL_Rect usable;
    if (video.followWindow) {
        flags |= SDL_WINDOW_MAXIMIZED;
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0)
            width = usable.w, height = usable.h;
    }
    sdl.window = SDL_CreateWindow(video.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  width, height, flags);
    if (!sdl.window || !SDL_GetWindowSurface(sdl.window))
        return Fail(error);
    if (video.followWindow)
        SDL_GetWindowSize(sdl.window, &width, &height);
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(sdl.window);
    video.frameMs = 16;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
        video.frameMs = std::max(1, 1000 / mode.refresh_rate);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StartTextInput();
    sdl.relative = false;
    SpeedChanged();
    return true;
}

void Stop() {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    sdl.relative = false;
    DestroyWindow();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// A new surface's memory is backed in one call rather than page by page as
// the first whole picture touches it: under a virtual machine the first touch
// of a page can cost tens of microseconds, and a 1280x1024 window has 1,280.
void BackSurfaceMemory(const SDL_Surface* surface) {
#ifdef MADV_POPULATE_WRITE
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t first = uintptr_t(surface->pixels) & ~(page - 1);
    const uintptr_t end = uintptr_t(surface->pixels) + size_t(surface->pitch) * size_t(surface->h);
    madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);   // failing costs nothing
#else
    (void)surface;
#endif
}

// Where the canvas goes on a surface of a new size, and which canvas pixel
// each picture pixel shows (the nearest).
void FitSurface(SDL_Surface* surface) {
    BackSurfaceMemory(surface);
    const Canvas& screen = Screen();
    Placement p = PlaceCanvas(surface->w, surface->h);
    SDL_Rect& to = sdl.picture;
    to.w = std::clamp(int(std::lround(screen.width() * p.scale)), 1, surface->w);
    to.h = std::clamp(int(std::lround(screen.height() * p.scale)), 1, surface->h);
    to.x = std::clamp(int(std::lround(p.left)), 0, surface->w - to.w);
    to.y = std::clamp(int(std::lround(p.top)), 0, surface->h - to.h);
    sdl.columns.resize(size_t(to.w));
    for (int x = 0; x < to.w; ++x)
        sdl.columns[size_t(x)] = int(int64_t(x) * screen.width() / to.w);
    sdl.rows.resize(size_t(to.h));
    for (int y = 0; y < to.h; ++y)
        sdl.rows[size_t(y)] = int(int64_t(y) * screen.height() / to.h);
    sdl.surface = surface;
    sdl.surfaceW = surface->w;
    sdl.surfaceH = surface->h;
    sdl.canvasW = screen.width();
    sdl.canvasH = screen.height();
    sdl.staging.resize(size_t(to.w));
}

bool Direct(const SDL_Surface* surface) { return surface->format->BytesPerPixel == 4; }

// The palette in the surface's pixel format, or as ARGB for the staging row.
void MapPalette(const SDL_Surface* surface) {
    for (int i = 0; i < 256; ++i) {
        const uint8_t* c = video.palette + 3 * i;
        auto eight = [](uint8_t v) { return uint8_t(v << 2 | v >> 4); };
        uint8_t r = eight(c[0]), g = eight(c[1]), b = eight(c[2]);
        sdl.colours[i] = Direct(surface) ? SDL_MapRGB(surface->format, r, g, b)
                                         : 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
    }
}

// Four pixels a step: one load of the indexes, four of the colours.
void ConvertRow(const uint8_t* from, uint32_t* to, int count) {
    const uint32_t* colours = sdl.colours;
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        uint8_t a = from[x], b = from[x + 1], c = from[x + 2], d = from[x + 3];
        to[x] = colours[a];
        to[x + 1] = colours[b];
        to[x + 2] = colours[c];
        to[x + 3] = colours[d];
    }
    for (; x < count; ++x)
        to[x] = colours[from[x]];
}

// Picture columns [first, first + count) of a canvas row.
void ScaleRow(const uint8_t* from, uint32_t* to, int first, int count) {
    const int* column = sdl.columns.data() + first;
    for (int x = 0; x < count; ++x)
        to[x] = sdl.colours[from[column[x]]];
}

uint8_t* SurfacePixel(SDL_Surface* surface, int x, int y) {
    return static_cast<uint8_t*>(surface->pixels) + size_t(y) * size_t(surface->pitch) +
           size_t(x) * surface->format->BytesPerPixel;
}

// An area of the picture (in picture coordinates) from its canvas pixels; a
// row that shows the same canvas row as the one above (a window taller than
// the canvas) is copied.
void DrawArea(SDL_Surface* surface, const SDL_Rect& area) {
    const Canvas& screen = Screen();
    bool scaled = sdl.picture.w != screen.width() || sdl.picture.h != screen.height();
    size_t bytes = size_t(area.w) * surface->format->BytesPerPixel;
    for (int y = area.y; y < area.y + area.h; ++y) {
        uint8_t* to = SurfacePixel(surface, sdl.picture.x + area.x, sdl.picture.y + y);
        if (y > area.y && sdl.rows[size_t(y)] == sdl.rows[size_t(y) - 1]) {
            std::memcpy(to, to - surface->pitch, bytes);
            continue;
        }
        const uint8_t* from = screen.pixels() + size_t(sdl.rows[size_t(y)]) * size_t(screen.width());
        uint32_t* row = Direct(surface) ? reinterpret_cast<uint32_t*>(to) : sdl.staging.data();
        if (scaled)
            ScaleRow(from, row, area.x, area.w);
        else
            ConvertRow(from + area.x, row, area.w);
        if (!Direct(surface))
            SDL_ConvertPixels(area.w, 1, SDL_PIXELFORMAT_ARGB8888, row, area.w * 4,
                              surface->format->format, to, surface->pitch);
    }
}

// Black around the picture, where the window's aspect differs from the canvas's.
void ClearBorders(SDL_Surface* surface) {
    const SDL_Rect& p = sdl.picture;
    const SDL_Rect borders[4] = {{0, 0, surface->w, p.y},
                                 {0, p.y + p.h, surface->w, surface->h - p.y - p.h},
                                 {0, p.y, p.x, p.h},
                                 {p.x + p.w, p.y, surface->w - p.x - p.w, p.h}};
    SDL_FillRects(surface, borders, 4, SDL_MapRGB(surface->format, 0, 0, 0));
}

// Canvas columns or rows [first, last), the picture's that show them.
struct Span {
    int first, last;
    bool empty() const { return first >= last; }
};

Span PictureSpan(const std::vector<int>& shows, Span canvas) {
    auto at = [&](int n) {
        return int(std::lower_bound(shows.begin(), shows.end(), n) - shows.begin());
    };
    return {at(canvas.first), at(canvas.last)};
}

// Draws the canvas areas the frame brings and notes the window areas they cover.
void DrawChangedAreas(SDL_Surface* surface) {
    for (const CanvasArea& a : video.areas) {
        Span across = PictureSpan(sdl.columns, {a.left, a.right + 1});
        Span down = PictureSpan(sdl.rows, {a.top, a.bottom + 1});
        if (across.empty() || down.empty())
            continue;
        SDL_Rect area = {across.first, down.first, across.last - across.first, down.last - down.first};
        DrawArea(surface, area);
        sdl.updated.push_back({sdl.picture.x + area.x, sdl.picture.y + area.y, area.w, area.h});
    }
}

// Shows the canvas: whole after a palette change, an exposure, a new window
// size or a failure; else only the areas that changed since the last frame
// (video.areas).
bool Present() {
    SDL_Surface* surface = SDL_GetWindowSurface(sdl.window);
    if (!surface) {
        sdl.whole = true;
        return false;
    }
    const Canvas& screen = Screen();
    bool whole = sdl.whole || video.mustShow ||
                 video.shown.size() != size_t(screen.width()) * size_t(screen.height());
    if (surface != sdl.surface || surface->w != sdl.surfaceW || surface->h != sdl.surfaceH ||
        screen.width() != sdl.canvasW || screen.height() != sdl.canvasH) {
        FitSurface(surface);
        whole = true;
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        sdl.whole = true;
        return false;
    }
    sdl.updated.clear();
    if (whole) {
        MapPalette(surface);
        ClearBorders(surface);
        DrawArea(surface, {0, 0, sdl.picture.w, sdl.picture.h});
        sdl.updated.push_back({0, 0, surface->w, surface->h});
    } else {
        DrawChangedAreas(surface);
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    sdl.whole = !sdl.updated.empty() &&
                SDL_UpdateWindowSurfaceRects(sdl.window, sdl.updated.data(), int(sdl.updated.size())) != 0;
    return !sdl.whole;
}

void Pump() {
    sdl.lastPump = MonotonicMilliseconds();
    SDL_Event e;
    while (SDL_PollEvent(&e))
        HandleEvent(e);
}

// Long operations poll for keys between their steps; asking the window system
// once a millisecond is plenty and keeps those polls cheap.
void Poll(PollKind) {
    if (MonotonicMilliseconds() != sdl.lastPump)
        Pump();
}

// Sleeps in the window system's event wait: an idle program costs nothing.
void WaitForInput(int timeoutMs) {
    if (timeoutMs < 0)
        SDL_WaitEvent(nullptr);
    else
        SDL_WaitEventTimeout(nullptr, timeoutMs);
    Pump();
}

// The system pointer is moved only while it is over the window: a warp must
// not pull it out of another program's window.
void Warp(int x, int y) {
    if (sdl.relative || SDL_GetMouseFocus() != sdl.window)
        return;
    Placement p = WindowPlacement();
    SDL_WarpMouseInWindow(sdl.window, int(p.left + (x + 0.5) * p.scale),
                          int(p.top + (y + 0.5) * p.scale));
}

void SpeedChanged() {
    bool relative = video.mouseSpeed != kPlatformMouseSpeed;
    if (relative == sdl.relative)
        return;
    sdl.relative = relative;
    sdl.restX = sdl.restY = 0;
    SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
    if (!relative)
        Warp(video.mouseX, video.mouseY);
}

// From the first reading on, so that hundredths of a second fit 32 bits for
// months of running.
int64_t Milliseconds() {
    static const int64_t origin = MonotonicMilliseconds();
    return MonotonicMilliseconds() - origin;
}

void Delay(int ms) { SleepMilliseconds(ms); }

void Tone(int freq, int ms) {
    OpenAudio();
    if (sdl.audio == 0)
        return;
    std::vector<int16_t> wave(size_t(int64_t(sdl.audioRate) * ms / 1000));
    double half = double(sdl.audioRate) / freq / 2;
    for (size_t i = 0; i < wave.size(); ++i)
        wave[i] = int64_t(i / half) % 2 ? -kToneAmplitude : kToneAmplitude;
    SDL_ClearQueuedAudio(sdl.audio);
    SDL_QueueAudio(sdl.audio, wave.data(), Uint32(wave.size() * sizeof(int16_t)));
}

bool DisplaySize(int& width, int& height) {
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(sdl.window);
    if (display < 0 || SDL_GetDesktopDisplayMode(display, &mode) != 0)
        return false;
    width = mode.w;
    height = mode.h;
    return true;
}

}  // namespace

const VideoBackend& SdlVideoBackend() {
    static const VideoBackend backend = {true, Start, Stop, Present, Poll, WaitForInput,
                                         Warp, SpeedChanged, Milliseconds, Delay, Tone, DisplaySize};
    return backend;
}
