#include "pictures/namelists.h"

#include <algorithm>
#include <cstring>

#include "base/config.h"
#include "pictures/picture_parts.h"
#include "wad/master.h"

NameListState nameLists;

namespace {

// Master directory index of a marker, or -1; a required one that is missing
// ends the program with the lookup's message.
int MarkerIndex(const char* name, EntryNeed need) {
    int i = FindMasterIndex(name);
    if (i < 0 && need == EntryNeed::Required)
        FindEntry(0, name, need);
    return i;
}

// Adds the names of the entries strictly between two markers.
void AddBetween(NameList& list, int start, int end) {
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    for (int i = start + 1; i < end && i < static_cast<int>(dir.size()); ++i)
        list.Add(dir[static_cast<size_t>(i)].name);
}

// Adds the names between the start and end markers; the end marker is
// required once the start marker is there.
void AddMarkerPair(NameList& list, const char* start, const char* end, EntryNeed need) {
    int first = MarkerIndex(start, need);
    if (first < 0)
        return;
    AddBetween(list, first, MarkerIndex(end, EntryNeed::Required));
}

// The texture names of one TEXTURE lump. Only records that lie inside the
// lump are read; the count cannot claim more offsets than the lump holds.
void AddTextureNames(NameList& list, const WadDirEntry& entry) {
    std::vector<uint8_t> data = ReadEntryData(entry);
    if (data.size() < 4)
        return;
    int64_t size = static_cast<int64_t>(data.size());
    int64_t count = std::clamp<int64_t>(LE32(data.data()), 0, (size - 4) / 4);
    for (int64_t i = 0; i < count; ++i) {
        int64_t offset = LE32(&data[static_cast<size_t>(4 + 4 * i)]);
        if (offset >= 0 && offset + kNameLength <= size)
            list.Add(reinterpret_cast<const char*>(&data[static_cast<size_t>(offset)]));
    }
}

// The flats of every marker pair that is whole; none is required.
void AddWholeMarkerPairs(NameList& list) {
    for (const char* pair : {"F1", "F2", "F3"}) {
        int start = FindMasterIndex((std::string(pair) + "_START").c_str());
        int end = FindMasterIndex((std::string(pair) + "_END").c_str());
        if (start >= 0 && end > start)
            AddBetween(list, start, end);
    }
    list.Sort();
}

// Whether an entry's first 4 bytes give a picture's plausible size.
bool LooksLikePicture(const WadDirEntry& entry) {
    if (entry.size < 4)
        return false;
    std::vector<uint8_t> header = ReadLumpPart(entry, 0, 4);
    return PlausiblePictureSize(LE16(header.data()), LE16(header.data() + 2));
}

}  // namespace

int CompareNames(const char* a, const char* b) { return std::strncmp(a, b, kNameLength); }

int NameList::Find(const char* name) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (SameEntryName(names_[i], name))
            return static_cast<int>(i);
    return -1;
}

void NameList::Add(const char* name) {
    std::array<char, kNameLength + 1> slot{};
    std::strncpy(slot.data(), name, kNameLength);
    slots_.push_back(slot);
    names_.clear();
}

void NameList::Sort() {
    names_.clear();
    for (const auto& slot : slots_)
        names_.push_back(slot.data());
    std::stable_sort(names_.begin(), names_.end(),
                     [](const char* a, const char* b) { return CompareNames(a, b) < 0; });
}

void NameList::Clear() {
    slots_.clear();
    names_.clear();
}

namespace {

// "-" and the names of TEXTURE1 and TEXTURE2.
void FillTextureNames(NameList& list, const WadDirEntry& first) {
    list.Clear();
    list.Add("-");
    AddTextureNames(list, first);
    if (const WadDirEntry* second = FindEntry(0, "TEXTURE2", EntryNeed::Optional))
        AddTextureNames(list, *second);
    list.Sort();
}

}  // namespace

void BuildTextureNames() {
    FillTextureNames(nameLists.TextureNames, *FindEntry(0, "TEXTURE1", EntryNeed::Required));
}

void BuildFlatNames() {
    NameList& list = nameLists.FlatNames;
    list.Clear();
    AddMarkerPair(list, "F1_START", "F1_END", EntryNeed::Required);
    AddMarkerPair(list, "F2_START", "F2_END", EntryNeed::Optional);
    AddMarkerPair(list, "F3_START", "F3_END", EntryNeed::Optional);
    list.Sort();
}

void FreeNameLists() {
    nameLists.TextureNames.Clear();
    nameLists.FlatNames.Clear();
}

void BuildSpriteNames(NameList& list) {
    list.Clear();
    AddMarkerPair(list, "S_START", "S_END", EntryNeed::Required);
    list.Sort();
}

void BuildPictureNames(NameList& list, NameListProgress* progress) {
    list.Clear();
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    int first = FindMasterIndex("TEXTURE1");
    size_t from = first < 0 ? dir.size() : static_cast<size_t>(first);
    int total = 0;
    for (size_t i = from; i < dir.size(); ++i)
        total += dir[i].size > 0;
    if (progress)
        progress->Start(total);
    int found = 0;
    for (size_t i = from; i < dir.size(); ++i) {
        const WadDirEntry& entry = dir[i];
        if (entry.size <= 0 || !LooksLikePicture(entry))
            continue;
        list.Add(entry.name);
        ++found;
        if (progress)
            progress->Step(entry.name, found);
    }
    list.Sort();
}

std::vector<const char*> SortedLevelNames() {
    std::vector<const char*> names;
    for (const LevelListEntry& entry : master.levelList)
        names.push_back(entry.name);
    std::stable_sort(names.begin(), names.end(),
                     [](const char* a, const char* b) { return CompareNames(a, b) < 0; });
    return names;
}

std::vector<MissingDefault> UseDefaultsTheWadsHave() {
    std::vector<MissingDefault> missing;
    const WadDirEntry* textureLump = FindEntry(0, "TEXTURE1", EntryNeed::Optional);
    NameList textures, flats;
    if (textureLump)
        FillTextureNames(textures, *textureLump);
    AddWholeMarkerPairs(flats);
    if (textures.count() == 0 || flats.count() == 0)
        return missing;
    for (const DefaultName& d : DefaultNames()) {
        const NameList& names = d.flat ? flats : textures;
        const char* name = config.*d.field;
        if (names.Find(name) >= 0)
            continue;
        MissingDefault m{d.what, std::string(name, strnlen(name, kTextureField)), ""};
        if (names.Find(d.builtIn) >= 0) {
            m.used = d.builtIn;
            SetForThisRun(d.field, d.builtIn);
        }
        missing.push_back(m);
    }
    return missing;
}
