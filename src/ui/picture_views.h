// The game's pictures on the screen: sprites and wall patches, flats and
// composed wall textures drawn in a box, with the size and patch texts and
// the crosses that mark what cannot be drawn.
//
// Drawing goes on Screen() in viewport coordinates and keeps the pointer
// protocol (ui/input.h). The routines return kDrawn, kNotDrawn or
// kDrawFailed (pictures/picture.h); a damaged lump never draws outside its
// box.
#pragma once

#include "pictures/picture.h"

// "%hdx%hd" with a picture's size on a box in the menu colour, for a
// picture whose box has its lower left corner at (x, y - 3).
void DrawSizeText(int x, int y, int width, int height);

// What (x1, y1) of DrawPicture is.
enum class PictureAnchor {
    Corner,   // the image's upper left corner
    Centre,   // its centre (the corner kept not left of or above 0)
};

// Draws the picture lump name. Without target: into a new image put on the
// screen at (x1, y1), of the picture's own size times mag when x2 is -1, else
// of (x2 - x1 + 1) x (y2 - y1 + 1). With target: into that image. (dx, dy) is
// the picture's place in the image, in picture pixels. mag >= 1 magnifies,
// mag < 1 shrinks by 2 - mag. background is the logical colour of the
// transparent pixels of a new image. Returns at once with kNotDrawn when a
// key is waiting. A picture over 320 x 200 or beyond free memory gives
// kDrawFailed: without a target the red cross with " not image " or "no
// memory" shows it; with a target the caller marks the failure.
int DrawPicture(int x1, int y1, int x2, int y2, Image* target, const char* name, int dx, int dy,
                int mag, int background, PictureAnchor anchor);

// Draws the flat name (64 x 64 pixels) magnified by mag at (x1, y1). A
// missing flat gives a grey cross inside the box (x1, y1)-(x2, y2), a lump
// shorter than a flat a red one.
int DrawFlat(int x1, int y1, int x2, int y2, const char* name, int mag);

// Composes texture name with pictureMag and draws it in the box, clipped to
// the texture's size; the rest of the box is dark grey. label null: the size
// and patch texts under the box; a label not beginning with "+": the label in
// yellow above the box. A patch that cannot be drawn marks the texture with
// the red cross. kNotDrawn when a key is waiting or the name is unknown.
int DrawTexture(int x1, int y1, int x2, int y2, const char* name, const char* label);
