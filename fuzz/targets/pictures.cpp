// Decoding the game's pictures from an IWAD: the palette, sprites and wall
// patches, flats, and wall textures composed of patches, into images and on
// the headless screen with the game palette; and the name lists built from
// the same lumps.
//
// Input: the IWAD.
#include <string>
#include <vector>

#include "base/config.h"
#include "fuzz_kit.h"
#include "pictures/namelists.h"
#include "pictures/palette.h"
#include "pictures/picture.h"
#include "ui/graphics.h"
#include "ui/picture_views.h"
#include "wad/master.h"

namespace {

// At most this many lumps of each kind are drawn, so that one input stays quick.
constexpr size_t kMostOfAKind = 12;

// The lumps with data between a start marker of the kind ("S" gives S_START
// and SS_START) and its end.
std::vector<std::string> NamesBetween(const std::string& kind) {
    std::vector<std::string> names;
    bool inside = false;
    for (const WadDirEntry& e : MasterDirectory()) {
        std::string name = EntryNameText(e.name);
        if (name == kind + "_START" || name == kind + kind + "_START")
            inside = true;
        else if (name == kind + "_END" || name == kind + kind + "_END")
            inside = false;
        else if (inside && e.size > 0 && names.size() < kMostOfAKind)
            names.push_back(name);
    }
    return names;
}

// The texture names of TEXTURE1 and TEXTURE2, when the lumps are there.
std::vector<std::string> TextureNames() {
    std::vector<std::string> names;
    if (FindMasterIndex("TEXTURE1") < 0)
        return names;
    BuildTextureNames();
    for (int i = 0; i < nameLists.TextureNames.count() && names.size() < kMostOfAKind; ++i)
        names.push_back(nameLists.TextureNames[i]);
    return names;
}

void DecodePictures(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        for (int mag : {1, 2, 0, -2}) {
            Image image = FilledImage(96, 96, 0);
            DrawPictureInto(image, name.c_str(), mag == 1 ? -3 : 5, 7, mag);
        }
}

void DecodeFlats(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        for (int mag : {1, 3, -1}) {
            Image image;
            DecodeFlat(name.c_str(), mag, image);
        }
}

void ComposeTextures(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        TextureInfo info;
        if (!FindTexture(name.c_str(), &info))
            continue;
        for (int mag : {1, 0}) {
            Image image = FilledImage(ScaledSize(info.width, mag), ScaledSize(info.height, mag), 0);
            ComposeTexture(info, mag, image, [] { return false; });
        }
    }
}

// The same pictures as the browsers show them, with their frames and texts.
void ShowOnScreen(const std::vector<std::string>& sprites, const std::vector<std::string>& flats,
                  const std::vector<std::string>& textures) {
    InitGraphics(GraphicsPalette::Game);
    for (const std::string& name : sprites)
        DrawPicture(10, 10, -1, -1, nullptr, name.c_str(), 0, 0, 2, 0, PictureAnchor::Corner);
    for (const std::string& name : flats)
        DrawFlat(100, 100, 300, 300, name.c_str(), 2);
    for (const std::string& name : textures)
        DrawTexture(50, 50, 400, 300, name.c_str(), nullptr);
    CloseGraphics();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::RunInput(Flavour::Doom, "", [&] {
        fuzzkit::WriteFile(fuzzkit::ScratchFile("PICS.WAD"), fuzzkit::AsText(data, size));
        SetField(config.iwadName, fuzzkit::ScratchFile("PICS.WAD").c_str());
        OpenIwad(config.iwadName);
        for (int palette : {0, 13, 14})
            for (int gamma : {0, 20})
                LoadPalette(palette, gamma);
        std::vector<std::string> sprites = NamesBetween("S");
        std::vector<std::string> patches = NamesBetween("P");
        std::vector<std::string> flats = NamesBetween("F");
        if (FindMasterIndex("F1_START") >= 0)
            BuildFlatNames();
        std::vector<std::string> textures = TextureNames();
        DecodePictures(sprites);
        DecodePictures(patches);
        DecodeFlats(flats);
        ComposeTextures(textures);
        ShowOnScreen(sprites, flats, textures);
    });
    return 0;
}
