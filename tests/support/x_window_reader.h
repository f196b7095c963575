// Reads an SDL window's pixels back from the X server, through Xlib loaded at
// run time as SDL loads it: what the user sees, not what SDL was handed.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace testkit {

// The window's pixels as 0xRRGGBB, each component as 8 bits with the low bits
// the server does not keep clear.
struct WindowImage {
    int w = 0, h = 0;
    std::vector<uint32_t> rgb;
    int bits[3] = {};   // of red, green and blue kept by the server

    uint32_t at(int x, int y) const { return rgb[size_t(y) * size_t(w) + size_t(x)]; }
    // An 8-bit red, green and blue as the server keeps them.
    uint32_t Kept(uint8_t r, uint8_t g, uint8_t b) const;
};

class XWindowReader {
public:
    XWindowReader();
    ~XWindowReader();
    XWindowReader(const XWindowReader&) = delete;
    XWindowReader& operator=(const XWindowReader&) = delete;

    bool Open(SDL_Window* window);
    // The w x h pixels at the window's top left; empty when the server gave none.
    WindowImage Read(int w, int h) const;

private:
    struct Xlib;
    Xlib* x_;
};

}  // namespace testkit
