// Wall textures: TEXTURE1 and TEXTURE2 hold a count, the offsets of the
// texture records, and the records (name, flags, width, height, an unused
// field, the patch count and per patch x and y origin, patch number and two
// unused fields). Patch numbers index the 8-character names of PNAMES. DOOM
// and HERETIC share this layout.
#include <algorithm>
#include <cstring>

#include "pictures/picture.h"
#include "pictures/picture_parts.h"
#include "wad/master.h"

namespace {

constexpr int kRecordHeader = 22;
constexpr int kPatchEntry = 10;
constexpr int kNameBytes = 8;

bool SameLump(const WadDirEntry& a, const WadDirEntry& b) {
    return a.file == b.file && a.offset == b.offset && a.size == b.size;
}

// Brings the directory up to date with the lump the master directory names
// now; true when it was read anew.
bool RefreshLump(TextureDirectory& directory, const char* name, EntryNeed need) {
    const WadDirEntry* entry = FindEntry(0, name, need);
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
    if (which == 0 ? RefreshLump(directory, "TEXTURE1", EntryNeed::Required)
                   : RefreshLump(directory, "TEXTURE2", EntryNeed::Optional))
        ListTextures(directory);
    return directory;
}

// The patch name of PNAMES entry number (9 bytes with the terminator); false
// for a number PNAMES does not have.
bool PatchName(int number, char (&name)[kNameBytes + 1]) {
    RefreshLump(pictures.patchNames, "PNAMES", EntryNeed::Optional);
    const std::vector<uint8_t>& data = pictures.patchNames.data;
    if (number < 0 || number >= ItemCount(data, kNameBytes))
        return false;
    std::memcpy(name, &data[4 + kNameBytes * static_cast<size_t>(number)], kNameBytes);
    name[kNameBytes] = 0;
    return true;
}

}  // namespace

void FreeTextureDirectories() {
    for (TextureDirectory& directory : pictures.textures)
        directory = TextureDirectory{};
    pictures.patchNames = TextureDirectory{};
    pictures.lastIndex = -1;
    pictures.kept.clear();
}

int FindTexture(const char* name, TextureInfo* info) {
    if (!name || name[0] == 0 || name[0] == '-')
        return 0;
    for (int which = 0; which < 2; ++which) {
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

bool ComposeTexture(const TextureInfo& info, int mag, Image& image, const StopCheck& stop) {
    if (info.lump < 0 || info.lump > 1)
        return false;
    const std::vector<uint8_t>& data = pictures.textures[info.lump].data;
    size_t first = static_cast<size_t>(info.position) + kRecordHeader;
    bool whole = info.patchCount >= 0 && info.width >= 1 && info.height >= 1;
    for (int k = 0; k < info.patchCount && !stop(); ++k) {
        size_t at = first + static_cast<size_t>(k) * kPatchEntry;
        if (at + kPatchEntry > data.size())
            return false;
        char name[kNameBytes + 1];
        int status = kDrawFailed;
        if (PatchName(LE16(&data[at + 4]), name))
            status = stop() ? kNotDrawn
                            : DrawPictureInto(image, name, LE16(&data[at]), LE16(&data[at + 2]), mag);
        whole = whole && (status == kDrawn || (status == kNotDrawn && stop()));
    }
    return whole;
}
