// Column-coded pictures (sprites and wall patches): a header of width,
// height and offsets, a table of column offsets, and per column a run of
// posts (top row, pixel count, a pad byte, the pixels, a pad byte) ended by
// 0xFF.
#include "pictures/picture.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>

#include "pictures/picture_parts.h"
#include "platform/files.h"
#include "wad/master.h"

PictureState pictures;

namespace {

constexpr int kHeaderBytes = 8;
constexpr int kColumnLimit = 512;      // bytes of one column's posts looked at
constexpr uint8_t kEndOfColumn = 0xFF;
// Reads below this size are not worth asking the system about free memory.
constexpr int64_t kMemoryTestBytes = 256 * 1024;
// Pictures kept at most (sprites of a level's Thing types at a few scales).
constexpr size_t kKeptPictures = 512;

// The master directory entry of the picture, remembering the last one found.
const WadDirEntry* LookUpPicture(const char* name) {
    std::vector<WadDirEntry>& dir = MasterDirectory();
    size_t last = static_cast<size_t>(pictures.lastIndex);
    if (pictures.lastIndex < 0 || last >= dir.size() || !SameEntryName(dir[last].name, name)) {
        pictures.lastIndex = -1;
        const WadDirEntry* entry = FindEntry(0, name, EntryNeed::Optional);
        if (!entry)
            return nullptr;
        pictures.lastIndex = static_cast<int32_t>(entry - dir.data());
        last = static_cast<size_t>(pictures.lastIndex);
    }
    return &dir[last];
}

bool SameEntry(const WadDirEntry& a, const WadDirEntry& b) {
    return a.file == b.file && a.offset == b.offset && a.size == b.size;
}

bool FitsInMemory(int64_t bytes, int width) {
    if (bytes < kMemoryTestBytes)
        return true;
    int64_t free = pictures.freeMemory ? pictures.freeMemory() : FreeMemoryBytes();
    return bytes + 512 <= free - 512 + 20 - 4 * static_cast<int64_t>(width);
}

// Whether an entry name begins with the first n characters of name.
bool NameBegins(const char* entry, const char* name, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(entry[i])) !=
            std::toupper(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// The first entry whose name begins with the first n characters of name.
const WadDirEntry* FindEntryBeginning(const char* name, size_t n) {
    for (const WadDirEntry& entry : MasterDirectory())
        if (NameBegins(entry.name, name, n))
            return &entry;
    return nullptr;
}

// The first lump of the sprite whose second frame and rotation (the mirrored
// view, "TROOA2A8" for "TROOA8") are those of the 6-character name.
const WadDirEntry* FindMirroredRotation(const char* name) {
    for (const WadDirEntry& entry : MasterDirectory())
        if (NameBegins(entry.name, name, 4) && NameBegins(entry.name + 6, name + 4, 2))
            return &entry;
    return nullptr;
}

PictureFault ReadLump(const WadDirEntry& entry, Picture& picture) {
    if (entry.size < kHeaderBytes)
        return PictureFault::NotImage;
    std::vector<uint8_t> header = ReadLumpPart(entry, 0, kHeaderBytes);
    picture.width = LE16(&header[0]);
    picture.height = LE16(&header[2]);
    if (!PlausiblePictureSize(picture.width, picture.height) ||
        kHeaderBytes + 4 * picture.width > entry.size)
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
bool DrawColumn(const Picture& picture, size_t start, Image& image, int x, int dy, int mag) {
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

}  // namespace

bool FindSpriteLump(const char* name, char (&lump)[9]) {
    constexpr size_t kLumpNameChars = 8;
    constexpr size_t kFrameName = 6;   // sprite (4), frame letter, rotation digit
    constexpr size_t kFrame = 5;
    lump[0] = 0;
    if (!name || !name[0])
        return false;
    const WadDirEntry* entry = FindEntry(0, name, EntryNeed::Optional);
    size_t length = strnlen(name, kLumpNameChars);
    if (!entry && length >= kFrameName)
        entry = FindEntryBeginning(name, kFrameName);
    if (!entry && length == kFrameName)
        entry = FindMirroredRotation(name);
    if (!entry && length >= kFrame)
        entry = FindEntryBeginning(name, kFrame);
    if (!entry)
        return false;
    std::memcpy(lump, entry->name, kLumpNameChars);
    lump[kLumpNameChars] = 0;
    return true;
}

bool ReadPicture(const char* name, Picture& picture) {
    picture = Picture{};
    const WadDirEntry* entry = name ? LookUpPicture(name) : nullptr;
    if (!entry)
        return false;
    picture.fault = ReadLump(*entry, picture);
    return true;
}

bool DrawPictureColumns(const Picture& picture, Image& image, int dx, int dy, int mag) {
    if (!picture.drawable())
        return false;
    mag = LimitMag(mag);
    dx = std::clamp(dx, -32768, 32767);
    dy = std::clamp(dy, -32768, 32767);
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

std::shared_ptr<const KeptPictureImage> KeptPicture(const char* name, int mag, uint8_t background) {
    const WadDirEntry* entry = name ? LookUpPicture(name) : nullptr;
    if (!entry)
        return nullptr;
    mag = LimitMag(mag);
    std::string key(entry->name, strnlen(entry->name, sizeof entry->name));
    key += '/' + std::to_string(mag) + '/' + std::to_string(background);
    auto found = pictures.kept.find(key);
    if (found != pictures.kept.end() && SameEntry(found->second.entry, *entry))
        return found->second.picture;
    auto drawn = std::make_shared<KeptPictureImage>();
    Picture picture;
    picture.fault = ReadLump(*entry, picture);
    if (picture.drawable()) {
        Image image = FilledImage(ScaledSize(picture.width, mag), ScaledSize(picture.height, mag), background);
        drawn->whole = DrawPictureColumns(picture, image, 0, 0, mag);
        if (drawn->whole)
            drawn->image = std::move(image);
    }
    if (pictures.kept.size() >= kKeptPictures)
        pictures.kept.clear();
    pictures.kept[key] = {*entry, drawn};
    return drawn;
}

int DrawPictureInto(Image& image, const char* name, int dx, int dy, int mag) {
    Picture picture;
    if (!ReadPicture(name, picture))
        return kNotDrawn;
    return DrawPictureColumns(picture, image, dx, dy, mag) ? kDrawn : kDrawFailed;
}
