#include "support/x_window_reader.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

namespace testkit {

std::vector<uint32_t> ReadXWindow(SDL_Window* window, int w, int h) {
    static void* const xlib = dlopen("libX11.so.6", RTLD_NOW);
    const auto getImage = xlib ? reinterpret_cast<decltype(&XGetImage)>(dlsym(xlib, "XGetImage")) : nullptr;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!getImage || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    XImage* image = getImage(info.info.x11.display, info.info.x11.window, 0, 0, unsigned(w), unsigned(h),
                             AllPlanes, ZPixmap);
    std::vector<uint32_t> rgb;
    if (image && image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 && image->blue_mask == 0xFF)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                rgb.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
    if (image)
        XDestroyImage(image);
    return rgb;
}

}  // namespace testkit
