#include "support/picture_kit.h"

#include <cstring>

#include "base/config.h"
#include "platform/video.h"
#include "support/session_kit.h"
#include "wad/master.h"

namespace testkit {

void Overlay(Grid& grid, const Bytes& lump, int x, int y) {
    for (int c = 0; c < LE16(lump, 0); ++c)
        for (size_t p = static_cast<size_t>(LE32(lump, 8 + 4 * c)); lump[p] != 0xFF; p += lump[p + 1] + 4u)
            for (int k = 0; k < lump[p + 1]; ++k) {
                int gx = x + c, gy = y + lump[p] + k;
                if (gx >= 0 && gy >= 0 && gx < grid.width && gy < grid.height)
                    grid.cells[static_cast<size_t>(gy) * grid.width + gx] = lump[p + 3 + k];
            }
}

Grid PlainPicture(const Bytes& lump) {
    Grid grid(LE16(lump, 0), LE16(lump, 2));
    Overlay(grid, lump, 0, 0);
    return grid;
}

::testing::AssertionResult Shows(const Image& image, int x, int y, int w, int h, const Grid& grid,
                                 int mag, int transparent) {
    const int step = mag >= 1 ? 1 : 2 - mag, size = mag >= 1 ? mag : 1;
    for (int i = 0; i < w * h; ++i) {
        const int gx = i % w / size * step, gy = i / w / size * step;
        const int cell = gx < grid.width && gy < grid.height ? grid.at(gx, gy) : -1;
        const int want = cell < 0 ? transparent : cell;
        const int got = image.pixels[static_cast<size_t>(y + i / w) * image.width + x + i % w];
        if (got != want)
            return ::testing::AssertionFailure() << "pixel (" << i % w << ", " << i / w << ") is " << got
                                                 << ", expected " << want;
    }
    return ::testing::AssertionSuccess();
}

Bytes PictureLump(int width, int height, const Columns& columns) {
    Bytes lump, data;
    for (int value : {width, height, 0, 0})
        PutLE16(lump, value);
    for (const std::vector<Post>& column : columns) {
        PutLE32(lump, static_cast<int32_t>(8 + 4 * columns.size() + data.size()));
        for (const Post& post : column) {
            data.insert(data.end(), {static_cast<uint8_t>(post.first), static_cast<uint8_t>(post.second.size()), 0});
            data.insert(data.end(), post.second.begin(), post.second.end());
            data.push_back(0);
        }
        data.push_back(0xFF);
    }
    lump.insert(lump.end(), data.begin(), data.end());
    return lump;
}

Bytes TextureLump(const std::vector<TextureDef>& textures) {
    Bytes lump, records;
    PutLE32(lump, static_cast<int32_t>(textures.size()));
    for (const TextureDef& t : textures) {
        PutLE32(lump, static_cast<int32_t>(4 + 4 * textures.size() + records.size()));
        PutName(records, t.name);
        for (int value : {0, 0, t.width, t.height, 0, 0, static_cast<int>(t.patches.size())})
            PutLE16(records, value);
        for (const std::vector<int>& p : t.patches)
            for (int value : {p[0], p[1], p[2], 1, 0})
                PutLE16(records, value);
    }
    lump.insert(lump.end(), records.begin(), records.end());
    return lump;
}

Bytes PnamesLump(const std::vector<std::string>& names) {
    Bytes lump;
    PutLE32(lump, static_cast<int32_t>(names.size()));
    for (const std::string& name : names)
        PutName(lump, name);
    return lump;
}

void OpenPictureIwad(const ScratchDir& dir, const Lumps& lumps, const Bytes& playpal) {
    WadBuilder wad("IWAD");
    for (const auto& lump : lumps)
        wad.lump(lump.first, lump.second);
    if (!playpal.empty())
        wad.lump("PLAYPAL", playpal);
    std::string path = dir.file("built.wad");
    wad.level("E1M1").write(path);
    ResetMaster();
    OpenIwadAt(path);
}

Bytes CurrentPalette() {
    uint8_t rgb[768];
    VideoGetPalette(rgb);
    return Bytes(rgb, rgb + 768);
}

}  // namespace testkit
