// Column-coded pictures (sprites and wall patches): a header of width,
// height and offsets, a table of column offsets, and per column a run of
// posts (top row, pixel count, a pad byte, the pixels, a pad byte) ended by
// 0xFF.
#include "pictures/picture.h"

#include <algorithm>
#include <new>

#include "pictures/picture_parts.h"
#include "platform/files.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "wad/master.h"

PictureState pictures;

namespace {

constexpr int kHeaderBytes = 8;
constexpr int kMaxPictureWidth = 320;
constexpr int kMaxPictureHeight = 200;
constexpr int kColumnLimit = 512;      // bytes of one column's posts looked at
constexpr uint8_t kEndOfColumn = 0xFF;
// Reads below this size are not worth asking the system about free memory.
constexpr int64_t kMemoryTestBytes = 256 * 1024;
// Size of the failure box of a picture drawn at its own size.
constexpr int kSmallestCrossBox = 16;

enum class PictureFault { None, NotImage, NoMemory };

// The master directory entry of the picture, remembering the last one found.
const WadDirEntry* LookUpPicture(const char* name) {
    std::vector<WadDirEntry>& dir = MasterDirectory();
    size_t last = static_cast<size_t>(pictures.lastIndex);
    if (pictures.lastIndex < 0 || last >= dir.size() || !SameEntryName(dir[last].name, name)) {
        pictures.lastIndex = -1;
        const WadDirEntry* entry = FindEntry(0, name, 0);
        if (!entry)
            return nullptr;
        pictures.lastIndex = static_cast<int32_t>(entry - dir.data());
        last = static_cast<size_t>(pictures.lastIndex);
    }
    return &dir[last];
}

bool FitsInMemory(int64_t bytes, int width) {
    if (bytes < kMemoryTestBytes)
        return true;
    int64_t free = pictures.freeMemory ? pictures.freeMemory() : FreeMemoryBytes();
    return bytes + 512 <= free - 512 + 20 - 4 * static_cast<int64_t>(width);
}

bool Drawable(int width, int height) {
    return width >= 1 && width <= kMaxPictureWidth && height >= 1 && height <= kMaxPictureHeight;
}

// A picture lump in memory.
struct PictureLump {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;
};

PictureFault ReadPicture(const WadDirEntry& entry, PictureLump& picture) {
    if (entry.size < kHeaderBytes)
        return PictureFault::NotImage;
    std::vector<uint8_t> header = ReadLumpPart(entry, 0, kHeaderBytes);
    picture.width = LE16(&header[0]);
    picture.height = LE16(&header[2]);
    if (!Drawable(picture.width, picture.height) || kHeaderBytes + 4 * picture.width > entry.size)
        return PictureFault::NotImage;
    if (!FitsInMemory(entry.size, picture.width))
        return PictureFault::NoMemory;
    try {
        picture.bytes = ReadLumpPart(entry, 0, entry.size);
    } catch (const std::bad_alloc&) {
        return PictureFault::NoMemory;
    }
    return PictureFault::None;
}

// Draws the posts of one column at image column x. False when the column
// runs out of the lump before its end marker; a column that goes on past
// kColumnLimit bytes simply stops there.
bool DrawColumn(const PictureLump& picture, size_t start, Image& image, int x, int dy, int mag) {
    const std::vector<uint8_t>& bytes = picture.bytes;
    bool limitedByColumn = start + kColumnLimit <= bytes.size();
    size_t limit = std::min(bytes.size(), start + kColumnLimit);
    size_t p = start;
    while (p < limit && bytes[p] != kEndOfColumn) {
        if (p + 3 > limit)
            return limitedByColumn;
        int top = bytes[p];
        int count = bytes[p + 1];
        size_t pixels = p + 3;
        for (int k = 0; k < count; ++k) {
            if (pixels + k >= limit)
                return limitedByColumn;
            PutScaled(image, x, dy + top + k, mag, bytes[pixels + k]);
        }
        p = pixels + count + 1;
    }
    return p < limit || limitedByColumn;
}

// Draws every column at (dx, dy) of the image; false when the lump is damaged
// (a column outside it or cut short).
bool DrawColumns(const PictureLump& picture, Image& image, int dx, int dy, int mag) {
    bool whole = true;
    int size = static_cast<int>(picture.bytes.size());
    for (int c = 0; c < picture.width; ++c) {
        int32_t offset = LE32(&picture.bytes[kHeaderBytes + 4 * c]);
        if (offset < 0 || offset >= size) {
            whole = false;
            continue;
        }
        int x = dx + c;
        if (x >= 0)
            whole = DrawColumn(picture, static_cast<size_t>(offset), image, x, dy, mag) && whole;
    }
    return whole;
}

void DrawFailure(int x1, int y1, int x2, int y2, PictureFault fault) {
    DrawCross(x1 + 8, y1 + 8, x2 - 8, y2 - 8, 4);
    if (fault != PictureFault::None)
        Screen().outtextxy(x1 + graphics.CharW2, y1 + graphics.LineH,
                           fault == PictureFault::NoMemory ? "no memory" : " not image ");
}

// Moves (x, y) so that it becomes the centre of a box of the size, not left
// of or above 0.
void Centre(int& x, int& y, int width, int height) {
    x = std::max(0, x - width / 2);
    y = std::max(0, y - height / 2);
}

}  // namespace

int DrawPicture(int x1, int y1, int x2, int y2, Image* target, const char* name, int dx, int dy,
                int mag, int background, int centred) {
    if (KeyWaiting())
        return kNotDrawn;
    PointerGuard guard;
    mag = LimitMag(mag);
    const WadDirEntry* entry = name ? LookUpPicture(name) : nullptr;
    if (!entry)
        return kNotDrawn;
    PictureLump picture;
    PictureFault fault = ReadPicture(*entry, picture);
    bool drawable = fault == PictureFault::None;
    int width = x2 - x1 + 1, height = y2 - y1 + 1;
    if (x2 == -1) {
        // A picture that cannot be drawn still gets a box that holds its cross.
        width = ScaledSize(drawable ? picture.width
                                    : std::clamp(picture.width, kSmallestCrossBox, kMaxPictureWidth),
                           mag);
        height = ScaledSize(drawable ? picture.height
                                     : std::clamp(picture.height, kSmallestCrossBox, kMaxPictureHeight),
                            mag);
    }
    if (target && !drawable)
        return kDrawFailed;
    if (!target && (width < 1 || height < 1))
        return kNotDrawn;
    if (dx == kPictureSizeText && drawable) {
        DrawSizeText(x1, y1 + height - 1 + 3, picture.width, picture.height);
        dx = 0;
    }
    if (centred)
        Centre(x1, y1, width, height);
    if (!drawable) {
        DrawFailure(x1, y1, x1 + width - 1, y1 + height - 1, fault);
        return kDrawFailed;
    }
    Image fresh;
    if (!target)
        fresh = FilledImage(width, height, static_cast<uint8_t>(MapColor(background)));
    bool whole = DrawColumns(picture, target ? *target : fresh, std::clamp(dx, -32768, 32767),
                             std::clamp(dy, -32768, 32767), mag);
    if (!target) {
        Screen().putimage(x1, y1, fresh, kCopyPut);
        if (!whole)
            DrawFailure(x1, y1, x1 + width - 1, y1 + height - 1, PictureFault::None);
    }
    return whole ? kDrawn : kDrawFailed;
}
