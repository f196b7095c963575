#include "ui/picture_views.h"

#include <algorithm>

#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"

namespace {

// Size of the failure box of a picture drawn at its own size.
constexpr int kSmallestCrossBox = 16;
constexpr int kTextureBackground = 8;   // logical colour under and around a texture

// A cross of logical colour c from corner to corner of the box.
void DrawCross(int x1, int y1, int x2, int y2, int colour) {
    Canvas& screen = Screen();
    screen.setlinestyle(kSolidLine, 0, kNormWidth);
    SetColor(colour);
    screen.line(x1, y1, x2, y2);
    screen.line(x1, y2, x2, y1);
    screen.setlinestyle(kSolidLine, 0, config.lineThickness == 3 ? kThickWidth : kNormWidth);
}

void DrawFailure(int x1, int y1, int x2, int y2, PictureFault fault) {
    DrawCross(x1 + 8, y1 + 8, x2 - 8, y2 - 8, 4);
    if (fault != PictureFault::None)
        Screen().outtextxy(x1 + graphics.charW2, y1 + graphics.lineH,
                           fault == PictureFault::NoMemory ? "no memory" : " not image ");
}

// The side of the box of a picture drawn at its own size; one that cannot be
// drawn still gets a box that holds its cross.
int OwnSide(int side, int largest, bool drawable, int mag) {
    return ScaledSize(drawable ? side : std::clamp(side, kSmallestCrossBox, largest), mag);
}

// Moves (x, y) so that it becomes the centre of a box of the size, not left
// of or above 0.
void Centre(int& x, int& y, int width, int height) {
    x = std::max(0, x - width / 2);
    y = std::max(0, y - height / 2);
}

void WriteTextureTexts(int x1, int y1, int y2, const TextureInfo& info, const char* label) {
    if (!label) {
        DrawSizeText(x1, y2 + 3, info.width, info.height);
        if (info.patchCount > 1)
            TextAt(x1 + 18 * graphics.charW, y2 + 6, "%hd patches", info.patchCount);
        else
            TextAt(x1 + 18 * graphics.charW, y2 + 6, "TRANS for 2-Sided");
    } else if (label[0] != '+') {
        SetColor(14);
        TextAt(x1 + graphics.charW, y1 - graphics.charH, "%s", label);
    }
}

}  // namespace

void DrawSizeText(int x, int y, int width, int height) {
    FillBox(x + 10 * graphics.charW, y + 3, x + 36 * graphics.charW, y + graphics.charH + 3,
            config.colors[kColorMenu]);
    SetColor(0);
    TextAt(x + 10 * graphics.charW, y + 3, "%hdx%hd", static_cast<short>(width),
           static_cast<short>(height));
}

int DrawPicture(int x1, int y1, int x2, int y2, Image* target, const char* name, int dx, int dy,
                int mag, int background, PictureAnchor anchor) {
    if (KeyWaiting())
        return kNotDrawn;
    PointerGuard guard;
    mag = LimitMag(mag);
    Picture picture;
    if (!ReadPicture(name, picture))
        return kNotDrawn;
    bool drawable = picture.drawable();
    int width = x2 - x1 + 1, height = y2 - y1 + 1;
    if (x2 == -1) {
        width = OwnSide(picture.width, kMaxPictureWidth, drawable, mag);
        height = OwnSide(picture.height, kMaxPictureHeight, drawable, mag);
    }
    if (target && !drawable)
        return kDrawFailed;
    if (!target && (width < 1 || height < 1))
        return kNotDrawn;
    if (anchor == PictureAnchor::Centre)
        Centre(x1, y1, width, height);
    if (!drawable) {
        DrawFailure(x1, y1, x1 + width - 1, y1 + height - 1, picture.fault);
        return kDrawFailed;
    }
    Image fresh;
    if (!target)
        fresh = FilledImage(width, height, static_cast<uint8_t>(MapColor(background)));
    bool whole = DrawPictureColumns(picture, target ? *target : fresh, dx, dy, mag);
    if (!target) {
        Screen().putimage(x1, y1, fresh, kCopyPut);
        if (!whole)
            DrawFailure(x1, y1, x1 + width - 1, y1 + height - 1, PictureFault::None);
    }
    return whole ? kDrawn : kDrawFailed;
}

int DrawFlat(int x1, int y1, int x2, int y2, const char* name, int mag) {
    PointerGuard guard;
    Image image;
    int status = DecodeFlat(name, mag, image);
    if (status == kDrawn)
        Screen().putimage(x1, y1, image, kCopyPut);
    else
        DrawCross(x1 + 2, y1 + 2, x2 - 2, y2 - 2, status == kNotDrawn ? 8 : 4);
    return status;
}

int DrawTexture(int x1, int y1, int x2, int y2, const char* name, const char* label) {
    TextureInfo info;
    if (x2 < x1 || y2 < y1 || KeyWaiting() || !FindTexture(name, &info))
        return kNotDrawn;
    PointerGuard guard;
    WriteTextureTexts(x1, y1, y2, info, label);
    uint8_t background = static_cast<uint8_t>(MapColor(kTextureBackground));
    int mag = pictures.pictureMag;
    int width = std::min(x2 - x1 + 1, ScaledSize(std::max<int>(info.width, 0), mag));
    int height = std::min(y2 - y1 + 1, ScaledSize(std::max<int>(info.height, 0), mag));
    Image image = FilledImage(width, height, background);
    bool whole = ComposeTexture(info, mag, image, KeyWaiting);
    if (KeyWaiting())
        return kNotDrawn;
    FillBox(x1, y1, x2, y2, kTextureBackground);
    Screen().putimage(x1, y1, image, kCopyPut);
    if (whole)
        return kDrawn;
    DrawCross(x1 + 8, y1 + 8, x2 - 8, y2 - 8, 4);
    return kDrawFailed;
}
