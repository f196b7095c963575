#include "pictures/namelists.h"

#include <algorithm>
#include <cstring>

#include "pictures/picture_parts.h"
#include "wad/master.h"

NameListState nameLists;

namespace {

// Master directory index of a marker; a required one that is missing ends
// the program with the lookup's message.
int MarkerIndex(const char* name, bool required) {
    int i = FindMasterIndex(name);
    if (i < 0 && required)
        FindEntry(0, name, 1);
    return i;
}

// Adds the names of the entries strictly between two markers.
void AddBetween(NameList& list, int start, int end) {
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    for (int i = start + 1; i < end && i < static_cast<int>(dir.size()); ++i)
        list.Add(dir[static_cast<size_t>(i)].name);
}

void AddMarkerPair(NameList& list, const char* start, const char* end, bool required) {
    int first = MarkerIndex(start, required);
    if (first < 0)
        return;
    AddBetween(list, first, MarkerIndex(end, true));
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

void BuildTextureNames() {
    NameList& list = nameLists.TextureNames;
    list.Clear();
    list.Add("-");
    AddTextureNames(list, *FindEntry(0, "TEXTURE1", 1));
    if (const WadDirEntry* second = FindEntry(0, "TEXTURE2", 0))
        AddTextureNames(list, *second);
    list.Sort();
}

void BuildFlatNames() {
    NameList& list = nameLists.FlatNames;
    list.Clear();
    AddMarkerPair(list, "F1_START", "F1_END", true);
    AddMarkerPair(list, "F2_START", "F2_END", false);
    AddMarkerPair(list, "F3_START", "F3_END", false);
    list.Sort();
}

void FreeNameLists() {
    nameLists.TextureNames.Clear();
    nameLists.FlatNames.Clear();
}


std::vector<const char*> SortedLevelNames() {
    std::vector<const char*> names;
    for (const LevelListEntry& entry : master.levelList)
        names.push_back(entry.name);
    std::stable_sort(names.begin(), names.end(),
                     [](const char* a, const char* b) { return CompareNames(a, b) < 0; });
    return names;
}
