// Wall textures: TEXTURE1 and TEXTURE2 hold a count, the offsets of the
// texture records, and the records (name, flags, width, height, an unused
// field, the patch count and per patch x and y origin, patch number and two
// unused fields). Patch numbers index the 8-character names of PNAMES. DOOM
// and HERETIC share this layout.
#include <algorithm>
#include <cstring>

#include "pictures/picture.h"
#include "pictures/picture_parts.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "wad/master.h"

namespace {

constexpr int kRecordHeader = 22;
constexpr int kPatchEntry = 10;
constexpr int kNameBytes = 8;
constexpr int kTextureBackground = 8;   // logical colour under and around a texture

bool SameLump(const WadDirEntry& a, const WadDirEntry& b) {
    return a.file == b.file && a.offset == b.offset && a.size == b.size;
}

// Brings the directory up to date with the lump the master directory names
// now; true when it was read anew. A missing lump is fatal with complain set.
bool RefreshLump(TextureDirectory& directory, const char* name, int complain) {
    const WadDirEntry* entry = FindEntry(0, name, complain);
    bool same = entry ? directory.present && SameLump(*entry, directory.lump) : !directory.present;
    if (directory.loaded && same)
        return false;
    directory = TextureDirectory{};
    directory.loaded = true;
    if (entry) {
        directory.present = true;
        directory.lump = *entry;
        directory.data = ReadEntryData(*entry);
    }
    return true;
}

// The count at the start of a lump of count-prefixed items, limited to the
// items the lump can hold.
int32_t ItemCount(const std::vector<uint8_t>& data, int itemBytes) {
    if (data.size() < 4)
        return 0;
    int64_t fits = static_cast<int64_t>(data.size() - 4) / itemBytes;
    return static_cast<int32_t>(std::clamp<int64_t>(LE32(&data[0]), 0, fits));
}

// Lists the records of a texture lump; records outside the lump are skipped.
void ListTextures(TextureDirectory& directory) {
    const std::vector<uint8_t>& data = directory.data;
    int32_t count = ItemCount(data, 4);
    for (int32_t i = 0; i < count; ++i) {
        int32_t position = LE32(&data[4 + 4 * static_cast<size_t>(i)]);
        if (position < 0 || static_cast<size_t>(position) + kRecordHeader > data.size())
            continue;
        const uint8_t* record = &data[static_cast<size_t>(position)];
        TextureEntry entry;
        std::memcpy(entry.name, record, kNameBytes);
        entry.position = position;
        entry.width = LE16(record + 12);
        entry.height = LE16(record + 14);
        entry.patchCount = LE16(record + 20);
        directory.entries.push_back(entry);
    }
}

TextureDirectory& Textures(int which) {
    TextureDirectory& directory = pictures.textures[which];
    if (RefreshLump(directory, which == 0 ? "TEXTURE1" : "TEXTURE2", which == 0))
        ListTextures(directory);
    return directory;
}

// The patch name of PNAMES entry number (9 bytes with the terminator); false
// for a number PNAMES does not have.
bool PatchName(int number, char (&name)[kNameBytes + 1]) {
    RefreshLump(pictures.patchNames, "PNAMES", 0);
    const std::vector<uint8_t>& data = pictures.patchNames.data;
    if (number < 0 || number >= ItemCount(data, kNameBytes))
        return false;
    std::memcpy(name, &data[4 + kNameBytes * static_cast<size_t>(number)], kNameBytes);
    name[kNameBytes] = 0;
    return true;
}

// Draws the patches of the texture into the image; false when one of them
// cannot be drawn. Stops early when a key is waiting.
bool ComposeTexture(const TextureInfo& info, Image& image) {
    const std::vector<uint8_t>& data = pictures.textures[info.lump].data;
    size_t first = static_cast<size_t>(info.position) + kRecordHeader;
    bool whole = info.patchCount >= 0 && info.width >= 1 && info.height >= 1;
    for (int k = 0; k < info.patchCount && !KeyWaiting(); ++k) {
        size_t at = first + static_cast<size_t>(k) * kPatchEntry;
        if (at + kPatchEntry > data.size())
            return false;
        char name[kNameBytes + 1];
        int status = kDrawFailed;
        if (PatchName(LE16(&data[at + 4]), name))
            status = DrawPicture(0, 0, image.width - 1, image.height - 1, &image, name,
                                 LE16(&data[at]), LE16(&data[at + 2]), pictures.PictureMag,
                                 kTextureBackground, 0);
        whole = whole && (status == kDrawn || (status == kNotDrawn && KeyWaiting()));
    }
    return whole;
}

void WriteTextureTexts(int x1, int y1, int y2, const TextureInfo& info, const char* label) {
    if (!label) {
        DrawSizeText(x1, y2 + 3, info.width, info.height);
        if (info.patchCount > 1)
            TextAt(x1 + 18 * graphics.CharW, y2 + 6, "%hd patches", info.patchCount);
        else
            TextAt(x1 + 18 * graphics.CharW, y2 + 6, "TRANS for 2-Sided");
    } else if (label[0] != '+') {
        SetColor(14);
        TextAt(x1 + graphics.CharW, y1 - graphics.CharH, "%s", label);
    }
}

}  // namespace

void FreeTextureDirectories() {
    for (TextureDirectory& directory : pictures.textures)
        directory = TextureDirectory{};
    pictures.patchNames = TextureDirectory{};
    pictures.lastIndex = -1;
}

int FindTexture(const char* name, TextureInfo* info) {
    if (!name || name[0] == 0 || name[0] == '-')
        return 0;
    for (int16_t which = 0; which < 2; ++which) {
        for (const TextureEntry& entry : Textures(which).entries) {
            if (!SameEntryName(entry.name, name))
                continue;
            if (info) {
                info->width = entry.width;
                info->height = entry.height;
                info->patchCount = entry.patchCount;
                info->lump = which;
                info->position = entry.position;
            }
            return 1;
        }
    }
    return 0;
}

int DrawTexture(int x1, int y1, int x2, int y2, const char* name, const char* label) {
    TextureInfo info;
    if (x2 < x1 || y2 < y1 || KeyWaiting() || !FindTexture(name, &info))
        return kNotDrawn;
    PointerGuard guard;
    WriteTextureTexts(x1, y1, y2, info, label);
    uint8_t background = static_cast<uint8_t>(MapColor(kTextureBackground));
    int width = std::min(x2 - x1 + 1, ScaledSize(std::max<int>(info.width, 0), pictures.PictureMag));
    int height = std::min(y2 - y1 + 1, ScaledSize(std::max<int>(info.height, 0), pictures.PictureMag));
    Image image = FilledImage(width, height, background);
    bool whole = ComposeTexture(info, image);
    if (KeyWaiting())
        return kNotDrawn;
    FillBox(x1, y1, x2, y2, kTextureBackground);
    Screen().putimage(x1, y1, image, kCopyPut);
    if (whole)
        return kDrawn;
    DrawCross(x1 + 8, y1 + 8, x2 - 8, y2 - 8, 4);
    return kDrawFailed;
}

void DrawTextureSwatch(int x, int y, int size, const char* name, const char* label) {
    PointerGuard guard;
    RaisedBox(x, y, x + size + 4, y + size + 4, config.colors[kColorMenu]);
    if (name && name[0] != '-') {
        int16_t mag = pictures.PictureMag;
        pictures.PictureMag = config.bottomTextureMagnify;
        DrawTexture(x + 2, y + 2, x + size + 2, y + size + 2, name, label);
        pictures.PictureMag = mag;
    } else if (label) {
        SetColor(14);
        TextAt(x + graphics.CharW, y + size - graphics.CharH - 2, "%s", label);
    }
}
