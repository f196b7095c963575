#include "pictures/picture_parts.h"

#include <algorithm>

#include "pictures/picture.h"
#include "platform/video.h"
#include "wad/master.h"

std::vector<uint8_t> ReadLumpPart(const WadDirEntry& entry, int32_t from, int32_t length) {
    std::vector<uint8_t> bytes(static_cast<size_t>(length > 0 ? length : 0));
    if (bytes.empty())
        return bytes;
    FILE* stream = MakeRowReady(entry.file);
    SeekChecked(stream, master.table[entry.file].name, entry.offset + from);
    ReadChunked(stream, bytes.data(), length);
    return bytes;
}

bool PlausiblePictureSize(int width, int height) {
    return width >= 1 && width <= kMaxPictureWidth && height >= 1 && height <= kMaxPictureHeight;
}

int ScaledSize(int size, int mag) {
    if (mag >= 1)
        return size * mag;
    int step = 2 - mag;
    return (size + step - 1) / step;
}

int LimitMag(int mag) { return std::clamp(mag, -64, 64); }

void PutScaled(Image& image, int x, int y, int mag, uint8_t colour) {
    if (x < 0 || y < 0)
        return;
    int block = 1;
    if (mag >= 1) {
        x *= mag;
        y *= mag;
        block = mag;
    } else {
        int step = 2 - mag;
        if (x % step != 0 || y % step != 0)
            return;
        x /= step;
        y /= step;
    }
    int x2 = std::min(image.width, x + block), y2 = std::min(image.height, y + block);
    for (int row = y; row < y2; ++row)
        for (int col = x; col < x2; ++col)
            image.pixels[static_cast<size_t>(row) * image.width + col] = colour;
}

Image FilledImage(int width, int height, uint8_t colour) {
    Image image;
    const Canvas& screen = Screen();
    image.width = std::clamp(width, 0, screen.width());
    image.height = std::clamp(height, 0, screen.height());
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, colour);
    return image;
}
