// Reads an SDL window's pixels back from a 24-bit X server, through Xlib
// loaded at run time as SDL loads it: what the user sees, not what SDL was
// handed.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace testkit {

// The w x h pixels at the window's top left as 0xRRGGBB, row by row; empty
// when the server gave none or not of 8-bit red, green and blue.
std::vector<uint32_t> ReadXWindow(SDL_Window* window, int w, int h);

}  // namespace testkit
