#include "support/x_window_reader.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

namespace testkit {

namespace {

int Bits(unsigned long mask) { return __builtin_popcountl(mask); }

uint32_t Component(unsigned long pixel, unsigned long mask) {
    if (mask == 0)
        return 0;
    return uint32_t((pixel & mask) >> __builtin_ctzl(mask)) << (8 - Bits(mask));
}

}  // namespace

uint32_t WindowImage::Kept(uint8_t r, uint8_t g, uint8_t b) const {
    auto cut = [](uint8_t v, int kept) { return uint32_t(v >> (8 - kept) << (8 - kept)); };
    return cut(r, bits[0]) << 16 | cut(g, bits[1]) << 8 | cut(b, bits[2]);
}

struct XWindowReader::Xlib {
    void* lib = nullptr;
    Display* display = nullptr;
    Window window = 0;
    decltype(&XGetImage) getImage = nullptr;
};

XWindowReader::XWindowReader() : x_(new Xlib) {}

XWindowReader::~XWindowReader() {
    if (x_->lib)
        dlclose(x_->lib);
    delete x_;
}

bool XWindowReader::Open(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!x_->lib)
        x_->lib = dlopen("libX11.so.6", RTLD_NOW);
    if (!x_->lib || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    x_->display = info.info.x11.display;
    x_->window = info.info.x11.window;
    x_->getImage = reinterpret_cast<decltype(&XGetImage)>(dlsym(x_->lib, "XGetImage"));
    return x_->getImage != nullptr;
}

WindowImage XWindowReader::Read(int w, int h) const {
    WindowImage result;
    XImage* image = x_->getImage ? x_->getImage(x_->display, x_->window, 0, 0, unsigned(w),
                                                unsigned(h), AllPlanes, ZPixmap)
                                 : nullptr;
    if (!image)
        return result;
    result.w = w;
    result.h = h;
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    for (int c = 0; c < 3; ++c)
        result.bits[c] = Bits(masks[c]);
    result.rgb.reserve(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            result.rgb.push_back(Component(pixel, masks[0]) << 16 |
                                 Component(pixel, masks[1]) << 8 | Component(pixel, masks[2]));
        }
    XDestroyImage(image);
    return result;
}

}  // namespace testkit
