#include "pictures_fixture.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "shell/config.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace picturetest {

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string NameAt(const Bytes& b, size_t at) {
    std::string name(reinterpret_cast<const char*>(&b[at]), 8);
    return Upper(name.substr(0, name.find('\0')));
}

}  // namespace

int Le16(const Bytes& b, size_t at) { return static_cast<int16_t>(b[at] | b[at + 1] << 8); }

int32_t Le32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

RawWad::RawWad(const std::string& path) : file_(testkit::ReadFileBytes(path)) {
    int32_t count = Le32(file_, 4), offset = Le32(file_, 8);
    for (int32_t i = 0; i < count; ++i) {
        size_t at = static_cast<size_t>(offset) + 16 * static_cast<size_t>(i);
        dir_.push_back({NameAt(file_, at + 8), {Le32(file_, at), Le32(file_, at + 4)}});
    }
}

bool RawWad::has(const std::string& name) const {
    for (const auto& entry : dir_)
        if (entry.first == Upper(name))
            return true;
    return false;
}

Bytes RawWad::lump(const std::string& name) const {
    for (const auto& entry : dir_)
        if (entry.first == Upper(name))
            return Bytes(file_.begin() + entry.second.first,
                         file_.begin() + entry.second.first + entry.second.second);
    ADD_FAILURE() << "no lump " << name;
    return {};
}

Grid EmptyGrid(int width, int height, int fill) {
    Grid grid;
    grid.width = width;
    grid.height = height;
    grid.cells.assign(static_cast<size_t>(width) * height, fill);
    return grid;
}

Grid DecodePicture(const Bytes& lump) {
    Grid grid = EmptyGrid(Le16(lump, 0), Le16(lump, 2));
    for (int c = 0; c < grid.width; ++c) {
        size_t p = static_cast<size_t>(Le32(lump, 8 + 4 * c));
        while (lump[p] != 0xFF) {
            int top = lump[p], count = lump[p + 1];
            for (int k = 0; k < count; ++k)
                if (top + k < grid.height)
                    grid.at(c, top + k) = lump[p + 3 + k];
            p += count + 4;
        }
    }
    return grid;
}

void Overlay(Grid& grid, const Grid& picture, int x, int y) {
    for (int row = 0; row < picture.height; ++row)
        for (int col = 0; col < picture.width; ++col) {
            int gx = x + col, gy = y + row;
            if (gx >= 0 && gy >= 0 && gx < grid.width && gy < grid.height &&
                picture.at(col, row) >= 0)
                grid.at(gx, gy) = picture.at(col, row);
        }
}

Grid ComposeTexture(const RawWad& wad, const std::string& name) {
    Bytes textures = wad.lump("TEXTURE1"), pnames = wad.lump("PNAMES");
    for (int i = 0; i < Le32(textures, 0); ++i) {
        size_t record = static_cast<size_t>(Le32(textures, 4 + 4 * i));
        if (NameAt(textures, record) != Upper(name))
            continue;
        Grid grid = EmptyGrid(Le16(textures, record + 12), Le16(textures, record + 14));
        for (int k = 0; k < Le16(textures, record + 20); ++k) {
            size_t patch = record + 22 + 10 * k;
            std::string patchName = NameAt(pnames, 4 + 8 * Le16(textures, patch + 4));
            Overlay(grid, DecodePicture(wad.lump(patchName)), Le16(textures, patch),
                    Le16(textures, patch + 2));
        }
        return grid;
    }
    ADD_FAILURE() << "no texture " << name;
    return {};
}

Grid Scale(const Grid& grid, int mag) {
    if (mag >= 1) {
        Grid big = EmptyGrid(grid.width * mag, grid.height * mag);
        for (int y = 0; y < big.height; ++y)
            for (int x = 0; x < big.width; ++x)
                big.at(x, y) = grid.at(x / mag, y / mag);
        return big;
    }
    int step = 2 - mag;
    Grid small = EmptyGrid((grid.width + step - 1) / step, (grid.height + step - 1) / step);
    for (int y = 0; y < small.height; ++y)
        for (int x = 0; x < small.width; ++x)
            small.at(x, y) = grid.at(x * step, y * step);
    return small;
}

Bytes PictureLump(int width, int height, const std::vector<std::vector<Post>>& columns) {
    Bytes lump;
    testkit::PutLE16(lump, width);
    testkit::PutLE16(lump, height);
    testkit::PutLE16(lump, 0);
    testkit::PutLE16(lump, 0);
    Bytes data;
    size_t first = 8 + 4 * columns.size();
    for (const std::vector<Post>& column : columns) {
        testkit::PutLE32(lump, static_cast<int32_t>(first + data.size()));
        for (const Post& post : column) {
            data.push_back(static_cast<uint8_t>(post.top));
            data.push_back(static_cast<uint8_t>(post.pixels.size()));
            data.push_back(0);
            data.insert(data.end(), post.pixels.begin(), post.pixels.end());
            data.push_back(0);
        }
        data.push_back(0xFF);
    }
    lump.insert(lump.end(), data.begin(), data.end());
    return lump;
}

Bytes TextureLump(const std::vector<TextureDef>& textures) {
    Bytes lump;
    testkit::PutLE32(lump, static_cast<int32_t>(textures.size()));
    size_t offset = 4 + 4 * textures.size();
    for (const TextureDef& t : textures) {
        testkit::PutLE32(lump, static_cast<int32_t>(offset));
        offset += 22 + 10 * t.patches.size();
    }
    for (const TextureDef& t : textures) {
        char name[8] = {};
        std::strncpy(name, t.name.c_str(), 8);
        lump.insert(lump.end(), name, name + 8);
        testkit::PutLE32(lump, 0);
        testkit::PutLE16(lump, t.width);
        testkit::PutLE16(lump, t.height);
        testkit::PutLE32(lump, 0);
        testkit::PutLE16(lump, static_cast<int>(t.patches.size()));
        for (const PatchPlace& p : t.patches) {
            testkit::PutLE16(lump, p.x);
            testkit::PutLE16(lump, p.y);
            testkit::PutLE16(lump, p.patch);
            testkit::PutLE16(lump, 1);
            testkit::PutLE16(lump, 0);
        }
    }
    return lump;
}

Bytes PnamesLump(const std::vector<std::string>& names) {
    Bytes lump;
    testkit::PutLE32(lump, static_cast<int32_t>(names.size()));
    for (const std::string& n : names) {
        char name[8] = {};
        std::strncpy(name, n.c_str(), 8);
        lump.insert(lump.end(), name, name + 8);
    }
    return lump;
}

Bytes GreyPlaypal() {
    Bytes playpal;
    for (int palette = 0; palette < 14; ++palette)
        for (int i = 0; i < 768; ++i)
            playpal.push_back(static_cast<uint8_t>(i / 3));
    return playpal;
}

void PictureTest::SetUp() {
    pictures = PictureState{};
}

void PictureTest::TearDown() {
    FreeTextureDirectories();
}

void PictureTest::Open(const std::string& iwad) {
    iwadPath = iwad;
    CloseGraphics();
    ResetMaster();
    SetField(config.iwadName, iwad.c_str());
    OpenIwad(config.iwadName);
    InitGraphics(1);
    SetMenuBarMode(0);
}

void PictureTest::OpenBuilt(testkit::WadBuilder& wad) {
    std::string path = session.Dir().file("built.wad");
    wad.level("E1M1").lump("PLAYPAL", GreyPlaypal()).write(path);
    Open(path);
}

void PictureTest::Paint(int colour) {
    Canvas& screen = Screen();
    std::fill(screen.pixels(), screen.pixels() + screen.width() * screen.height(),
              static_cast<uint8_t>(colour));
}

::testing::AssertionResult PictureTest::ShowsGrid(int x, int y, const Grid& grid,
                                                  int transparent) const {
    for (int row = 0; row < grid.height; ++row)
        for (int col = 0; col < grid.width; ++col) {
            int want = grid.at(col, row) < 0 ? transparent : grid.at(col, row);
            if (At(x + col, y + row) != want)
                return ::testing::AssertionFailure()
                       << "pixel (" << col << ", " << row << ") of the picture is "
                       << At(x + col, y + row) << ", expected " << want;
        }
    return ::testing::AssertionSuccess();
}

int PictureTest::Count(int x1, int y1, int x2, int y2, int colour) const {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            n += At(x, y) == colour;
    return n;
}

}  // namespace picturetest
