#include "view3d/preview3d_assets.h"

#include <cstdio>
#include <cstring>
#include <set>

#include "base/flavour.h"
#include "gamedefs/thingtypes.h"
#include "pictures/name_keys.h"
#include "pictures/picture.h"
#include "pictures/picture_parts.h"
#include "wad/master.h"

namespace {

constexpr int kNameChars = 8;

// The upper-case name of an 8-character field ("" for none or "-").
std::string PictureKey(const char* name8) {
    std::string name = NameKey(name8);
    return name == "-" ? "" : name;
}
constexpr int kRotations = 8;
constexpr size_t kColormapBytes = static_cast<size_t>(kLightRows) * 256;
// Two fills no picture can tell apart from its own pixels in both: where the
// two drawings differ, the picture is transparent.
constexpr uint8_t kFillLow = 0, kFillHigh = 255;

Image BlankImage(int width, int height, uint8_t fill) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, fill);
    return image;
}

// The row-major image as columns; with a second drawing on the other fill,
// the mask of the pixels both drawings agree on.
ColumnPicture ColumnsOf(const Image& low, const Image* high) {
    ColumnPicture picture;
    picture.width = low.width;
    picture.height = low.height;
    size_t count = static_cast<size_t>(low.width) * low.height;
    picture.pixels.resize(count);
    if (high)
        picture.opaque.resize(count);
    for (int y = 0; y < low.height; ++y)
        for (int x = 0; x < low.width; ++x) {
            size_t from = static_cast<size_t>(y) * low.width + x;
            size_t to = static_cast<size_t>(x) * low.height + y;
            picture.pixels[to] = low.pixels[from];
            if (high)
                picture.opaque[to] = low.pixels[from] == high->pixels[from];
        }
    return picture;
}

bool HasTextureLump() { return FindMasterIndex("TEXTURE1") >= 0; }

// A texture composed from its patches (missing patches leave their place in
// the fill); false when no texture has the name.
bool DecodeTexture(const std::string& name, bool withHoles, ColumnPicture& picture) {
    TextureInfo info;
    if (name.empty() || !HasTextureLump() || !FindTexture(name.c_str(), &info))
        return false;
    if (info.width < 1 || info.height < 1)
        return false;
    auto never = [] { return false; };
    Image low = BlankImage(info.width, info.height, kFillLow);
    ComposeTexture(info, 1, low, never);
    if (!withHoles) {
        picture = ColumnsOf(low, nullptr);
        return true;
    }
    Image high = BlankImage(info.width, info.height, kFillHigh);
    ComposeTexture(info, 1, high, never);
    picture = ColumnsOf(low, &high);
    return true;
}

bool DecodeSprite(const char* lump, ColumnPicture& picture) {
    Picture source;
    if (!ReadPicture(lump, source) || !source.drawable() || source.width < 1 || source.height < 1)
        return false;
    Image low = BlankImage(source.width, source.height, kFillLow);
    Image high = BlankImage(source.width, source.height, kFillHigh);
    DrawPictureColumns(source, low, 0, 0, 1);
    DrawPictureColumns(source, high, 0, 0, 1);
    picture = ColumnsOf(low, &high);
    picture.leftOffset = LE16(&source.bytes[4]);
    picture.topOffset = LE16(&source.bytes[6]);
    return true;
}

void LoadColormap(PreviewAssets& assets) {
    const WadDirEntry* entry = FindEntry(0, "COLORMAP", EntryNeed::Optional);
    if (entry && entry->size >= static_cast<int32_t>(kColormapBytes))
        assets.colormap = ReadLumpPart(*entry, 0, static_cast<int32_t>(kColormapBytes));
}

void LoadFlat(PreviewAssets& assets, const char* name8) {
    std::string name = PictureKey(name8);
    if (name.empty() || assets.flats.count(name))
        return;
    Image image;
    if (DecodeFlat(name.c_str(), 1, image) == kDrawn)
        assets.flats[name] = std::move(image.pixels);
}

void LoadTextures(PreviewAssets& assets, const LevelState& lvl) {
    std::set<std::string> solid, holed;
    for (const LineDef& line : lvl.lineDefs) {
        const SideDef* sides[2] = {lvl.sideDefs.at(line.sideDef1), lvl.sideDefs.at(line.sideDef2)};
        bool twoSided = sides[0] && sides[1];
        for (const SideDef* side : sides) {
            if (!side)
                continue;
            solid.insert(PictureKey(side->upper));
            solid.insert(PictureKey(side->lower));
            (twoSided ? holed : solid).insert(PictureKey(side->middle));
        }
    }
    for (const std::string& name : holed) {
        ColumnPicture picture;
        if (DecodeTexture(name, true, picture))
            assets.textures[name] = std::move(picture);
    }
    for (const std::string& name : solid) {
        ColumnPicture picture;
        if (!assets.textures.count(name) && DecodeTexture(name, false, picture))
            assets.textures[name] = std::move(picture);
    }
}

// The lump showing rotation r (1..8) of the frame spriteName names.
SpriteView FindRotation(PreviewAssets& assets, const char* spriteName, int rotation) {
    char wanted[kNameChars + 1] = {};
    std::strncpy(wanted, spriteName, 5);
    wanted[5] = static_cast<char>(spriteName[5] == '0' ? '0' : '0' + rotation);
    char lump[kNameChars + 1];
    if (!FindSpriteLump(wanted, lump))
        return {};
    auto found = assets.spritePictures.find(lump);
    if (found == assets.spritePictures.end()) {
        ColumnPicture picture;
        if (!DecodeSprite(lump, picture))
            return {};
        found = assets.spritePictures.emplace(lump, std::move(picture)).first;
    }
    bool mirrored = std::strncmp(lump + 4, wanted + 4, 2) != 0 && std::strncmp(lump + 6, wanted + 4, 2) == 0;
    return {&found->second, mirrored};
}

void LoadSprites(PreviewAssets& assets, const LevelState& lvl) {
    for (const Thing& thing : lvl.things) {
        int type = static_cast<uint16_t>(thing.type);
        if (assets.thingSprites.count(type))
            continue;
        std::vector<SpriteView>& views = assets.thingSprites[type];
        const char* sprite = GetThingTypeSprite(static_cast<uint16_t>(type));
        if (!sprite || std::strlen(sprite) != 6 || sprite[0] == '<')
            continue;
        for (int r = 1; r <= kRotations; ++r)
            views.push_back(FindRotation(assets, sprite, r));
    }
}

}  // namespace

bool IsSkyFlat(const char* name8) { return PictureKey(name8) == "F_SKY1"; }

std::string SkyTextureFor(const char* levelName) {
    int first = 0, number = 0;
    if (std::sscanf(levelName, "E%1dM%d", &first, &number) == 2) {
        if (IsHeretic())
            return first == 2 ? "SKY2" : (first == 3 || first == 5) ? "SKY3" : "SKY1";
        return "SKY" + std::to_string(first >= 1 && first <= 4 ? first : 1);
    }
    if (std::sscanf(levelName, "MAP%d", &number) == 1)
        return number <= 11 ? "SKY1" : number <= 20 ? "SKY2" : "SKY3";
    return "SKY1";
}

const ColumnPicture* PreviewAssets::Texture(const char* name8) const {
    auto found = textures.find(PictureKey(name8));
    return found == textures.end() ? nullptr : &found->second;
}

const uint8_t* PreviewAssets::Flat(const char* name8) const {
    auto found = flats.find(PictureKey(name8));
    return found == flats.end() ? nullptr : found->second.data();
}

const ColumnPicture* PreviewAssets::Sky() const {
    auto found = textures.find(skyName);
    return found == textures.end() ? nullptr : &found->second;
}

const uint8_t* PreviewAssets::LightRow(int row) const {
    return colormap.empty() ? nullptr : &colormap[static_cast<size_t>(row) * 256];
}

PreviewAssets LoadPreviewAssets(const LevelState& lvl) {
    PreviewAssets assets;
    LoadColormap(assets);
    for (const Sector& sector : lvl.sectors) {
        LoadFlat(assets, sector.floorTexture);
        LoadFlat(assets, sector.ceilingTexture);
    }
    LoadTextures(assets, lvl);
    assets.skyName = SkyTextureFor(lvl.name);
    ColumnPicture sky;
    if (!assets.textures.count(assets.skyName) && DecodeTexture(assets.skyName, false, sky))
        assets.textures[assets.skyName] = std::move(sky);
    LoadSprites(assets, lvl);
    return assets;
}
