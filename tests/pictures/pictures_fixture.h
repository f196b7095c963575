// A fresh master directory of hand-made or Freedoom lumps for the picture
// tests.
#pragma once

#include "pictures/picture.h"
#include "support/headless_kit.h"
#include "support/picture_kit.h"
#include "support/wad_session.h"

namespace picturetest {

using namespace testkit;

class PictureTest : public WadSession {
protected:
    // An IWAD of the lumps, a level and the PLAYPAL (none when empty).
    void OpenBuilt(const Lumps& lumps, const Bytes& playpal = GreyPlaypal()) {
        OpenPictureIwad(dir, lumps, playpal);
    }
};

// An image of w x h pixels of one colour.
inline Image Filled(int w, int h, uint8_t colour) {
    return Image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, colour)};
}

}  // namespace picturetest
