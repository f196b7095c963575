// The SDL screen: a resizable window titled with the product name, showing
// the canvas scaled to fit with its aspect kept, the system pointer hidden
// over it; SDL's keyboard and mouse events; a square-wave tone through SDL
// audio.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/files.h"
#include "platform/keys.h"
#include "platform/video_backend.h"
#include "shell/flavour.h"

namespace {

constexpr int kAudioRate = 22050;
constexpr int16_t kToneAmplitude = 4000;

struct SdlState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
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
            QueueKey(code, shift);
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
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
            e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            video.mustShow = true;
        break;
    default: break;
    }
}

void OpenAudio() {
    if (sdl.audioTried)
        return;
    sdl.audioTried = true;
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
    if (sdl.texture)
        SDL_DestroyTexture(sdl.texture);
    if (sdl.renderer)
        SDL_DestroyRenderer(sdl.renderer);
    if (sdl.window)
        SDL_DestroyWindow(sdl.window);
    sdl.texture = nullptr;
    sdl.renderer = nullptr;
    sdl.window = nullptr;
}

bool Fail(std::string& error) {
    error = SDL_GetError();
    DestroyWindow();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

void SpeedChanged();

// SDL falls back on drivers that show nothing ("offscreen", "dummy"); the
// program would wait for a user who cannot see it. They are used only when
// the environment asks for them by name.
void ExcludeInvisibleDrivers() {
    if (!EnvironmentValue("SDL_VIDEODRIVER").empty())
        return;
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        std::string name = SDL_GetVideoDriver(i);
        if (name != "offscreen" && name != "dummy")
            drivers += (drivers.empty() ? "" : ",") + name;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

bool Start(int width, int height, std::string& error) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ExcludeInvisibleDrivers();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return false;
    }
    sdl.window = SDL_CreateWindow(Names().product, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  width, height, SDL_WINDOW_RESIZABLE);
    if (!sdl.window)
        return Fail(error);
    sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
    if (!sdl.renderer)
        sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_SOFTWARE);
    if (!sdl.renderer)
        return Fail(error);
    sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!sdl.texture)
        return Fail(error);
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(sdl.window);
    video.frameMs = 16;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
        video.frameMs = std::max(1, 1000 / mode.refresh_rate);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StartTextInput();
    sdl.relative = false;
    SpeedChanged();
    OpenAudio();
    return true;
}

void Stop() {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    sdl.relative = false;
    DestroyWindow();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Present() {
    const Canvas& screen = Screen();
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i) {
        const uint8_t* c = video.palette + 3 * i;
        auto eight = [](uint8_t v) { return uint32_t(v << 2 | v >> 4); };
        colours[i] = 0xFF000000u | eight(c[0]) << 16 | eight(c[1]) << 8 | eight(c[2]);
    }
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(sdl.texture, nullptr, &target, &pitch) != 0)
        return;
    const uint8_t* from = screen.pixels();
    for (int y = 0; y < screen.height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target) + y * pitch);
        for (int x = 0; x < screen.width(); ++x)
            row[x] = colours[*from++];
    }
    SDL_UnlockTexture(sdl.texture);
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(sdl.renderer, &w, &h);
    Placement p = PlaceCanvas(w, h);
    SDL_Rect to = {int(std::lround(p.left)), int(std::lround(p.top)),
                   int(std::lround(screen.width() * p.scale)),
                   int(std::lround(screen.height() * p.scale))};
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, &to);
    SDL_RenderPresent(sdl.renderer);
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

void WaitForInput() {
    SDL_WaitEventTimeout(nullptr, 10);
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
    if (sdl.audio == 0)
        return;
    std::vector<int16_t> wave(size_t(int64_t(sdl.audioRate) * ms / 1000));
    double half = double(sdl.audioRate) / freq / 2;
    for (size_t i = 0; i < wave.size(); ++i)
        wave[i] = int64_t(i / half) % 2 ? -kToneAmplitude : kToneAmplitude;
    SDL_ClearQueuedAudio(sdl.audio);
    SDL_QueueAudio(sdl.audio, wave.data(), Uint32(wave.size() * sizeof(int16_t)));
}

}  // namespace

const VideoBackend& SdlVideoBackend() {
    static const VideoBackend backend = {true, Start, Stop, Present, Poll, WaitForInput,
                                         Warp, SpeedChanged, Milliseconds, Delay, Tone};
    return backend;
}
