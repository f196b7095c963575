#include "wad/master.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/config.h"
#include "platform/files.h"
#include "base/fatal.h"
#include "base/flavour.h"

MasterState master;

const char* const kLevelLumpNames[10] = {
    "THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS",
    "SSECTORS", "NODES", "SECTORS", "REJECT", "BLOCKMAP",
};

namespace {

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

size_t NameLength(const char (&name)[8]) { return strnlen(name, 8); }

void ReleaseNameLists() {
    if (master.releaseNameLists)
        master.releaseNameLists();
}

void CloseRowHandle(WadFile& row) {
    if (row.handle)
        std::fclose(row.handle);
    row.handle = nullptr;
}

void CloseAllWads() { CloseWads(WadRows::All); }

void ForgetRow(int r) {
    WadFile& row = master.table[r];
    CloseRowHandle(row);
    row.dir.clear();
    row.dir.shrink_to_fit();
    row.tag[0] = 0;
    row.state = RowState::Free;
    row.count = 0;
    if (r >= 1 && row.name)
        row.name[0] = 0;
}

// The next name for a level that uses the other naming style.
void NextConvertedName(char (&name)[8]) {
    char text[16];
    if (master.gameStyle == kStyleEpisodes) {
        std::snprintf(text, sizeof text, "E%hdM%hd", master.nextEpisode, master.nextMap);
        if (++master.nextMap > 9) {
            master.nextMap = 1;
            ++master.nextEpisode;
        }
    } else {
        std::snprintf(text, sizeof text, "MAP%02hd", master.nextMapNumber);
        ++master.nextMapNumber;
    }
    SetEntryName(name, text);
}

void ShowContainsLevel(const char (&name)[8]) {
    PrintAt(master.containsColumn, master.containsRow, ClearLine::No, " Contains level %s",
            EntryNameText(name).c_str());
    if (++master.containsRow > 21) {
        master.containsRow = 1;
        master.containsColumn = 40;
    }
}

void ListLevel(const char (&name)[8], int row) {
    std::string text = EntryNameText(name);
    int found = FindLevel(text.c_str());
    if (found >= 0) {
        master.levelList[static_cast<size_t>(found)].file = row;
        return;
    }
    LevelListEntry entry;
    std::strncpy(entry.name, text.c_str(), sizeof entry.name - 1);
    entry.file = row;
    master.levelList.push_back(entry);
}

// The name upper-cased and packed into one number.
uint64_t NameKey(const char* name) {
    uint64_t key = 0;
    for (int i = 0; i < 8 && name[i]; ++i)
        key |= static_cast<uint64_t>(std::toupper(static_cast<unsigned char>(name[i]))) << (8 * i);
    return key;
}

void TakeEntry(WadDirEntry& target, const WadDirEntry& source, int row) {
    target.offset = source.offset;
    target.size = source.size;
    target.file = row;
}

void AppendEntry(const WadDirEntry& source, int row) {
    WadDirEntry e = source;
    e.file = row;
    MasterDirectory().push_back(e);
    master.table[0].count = static_cast<int32_t>(MasterDirectory().size());
}

// Lays the level that starts at entry i of the PWAD over the master
// directory; returns the index of the first PWAD entry not taken.
size_t OverlayLevel(const std::vector<WadDirEntry>& pwad, size_t i, int row) {
    int markerIndex = FindMasterIndex(pwad[i].name);
    if (markerIndex < 0) {
        // A level the IWAD lacks: its entries are added in their own order.
        AppendEntry(pwad[i], row);
        size_t k = 1;
        while (k < kLevelLumpCount && i + k < pwad.size() &&
               SameEntryName(pwad[i + k].name, kLevelLumpNames[k - 1])) {
            AppendEntry(pwad[i + k], row);
            ++k;
        }
        if (k < kLevelLumpCount && i + k < pwad.size()) {
            PrintAt(1, 23, ClearLine::No, "%s entry sequence ?, press a key", kLevelLumpNames[k - 1]);
            WaitConsoleKey();
        }
        return i + k;
    }
    size_t k = 0;
    while (k < kLevelLumpCount && i + k < pwad.size()) {
        size_t m = static_cast<size_t>(markerIndex) + k;
        std::vector<WadDirEntry>& dir = MasterDirectory();
        if (m >= dir.size() || !SameEntryName(dir[m].name, pwad[i + k].name)) {
            std::string expected = m < dir.size() ? EntryNameText(dir[m].name) : "";
            PrintAt(1, 23, ClearLine::No, "%s entry sequence ?, press a key", expected.c_str());
            WaitConsoleKey();
            break;
        }
        TakeEntry(dir[m], pwad[i + k], row);
        ++k;
    }
    return i + k;
}

void OverlayPwad(int row) {
    std::vector<WadDirEntry>& pwad = master.table[row].dir;
    bool converted = false;
    int added = 0, replaced = 0;
    size_t i = 0;
    while (i < pwad.size()) {
        WadDirEntry& entry = pwad[i];
        if (entry.name[0] == 0) {
            ++i;
            continue;
        }
        GameStyle other = master.gameStyle == kStyleEpisodes ? kStyleMaps : kStyleEpisodes;
        if (IsLevelNameInStyle(entry, other)) {
            NextConvertedName(entry.name);
            converted = true;
        }
        if (IsLevelName(entry)) {
            ShowContainsLevel(entry.name);
            ListLevel(entry.name, row);
            i = OverlayLevel(pwad, i, row);
            if (converted)
                PrintAt(1, 23, ClearLine::Yes, "Converted to %s %s level name", Names().game,
                        master.gameStyle == kStyleEpisodes ? "I" : "II");
            continue;
        }
        int m = FindMasterIndex(entry.name);
        if (m >= 0) {
            TakeEntry(MasterDirectory()[static_cast<size_t>(m)], entry, row);
            ++replaced;
        } else {
            AppendEntry(entry, row);
            ++added;
        }
        ++i;
    }
    if (added || replaced)
        PrintAt(41, 22, ClearLine::No, " %d Entries added, %d Entries replaced", added, replaced);
}

void ForgetUnreferencedPwads() {
    bool referenced[kOpenWadRows] = {};
    for (const WadDirEntry& e : MasterDirectory())
        if (e.file >= 0 && e.file < kOpenWadRows)
            referenced[e.file] = true;
    for (int r = 1; r < kOpenWadRows; ++r)
        if (master.table[r].inUse() && !referenced[r])
            ForgetRow(r);
    if (!master.table[master.currentLevelRow].inUse())
        master.currentLevelRow = 0;
}

// A damaged PWAD is refused like one that is missing: the user is told which
// and why, its row is freed and its name emptied, and the session goes on.
bool ReadPwadDirectory(int r) {
    WadFile& row = master.table[r];
    std::string damage = TryReadWadDirectory(row, r);
    if (damage.empty())
        return true;
    std::string text = "WAD file " + std::string(row.name) + " is damaged: " + damage +
                       "; it is not read, press a key";
    ForgetRow(r);   // empties the name too, so the file leaves the PWAD list
    row.name = nullptr;
    ComplainAboutFile(text.c_str());
    return false;
}

}  // namespace

std::vector<WadDirEntry>& MasterDirectory() { return master.table[0].dir; }

void InvalidateMasterIndex() {
    master.nameIndex.clear();
    master.indexedCount = 0;
}

int FindMasterIndex(const char* name) {
    std::vector<WadDirEntry>& dir = MasterDirectory();
    if (master.indexedCount > dir.size())
        InvalidateMasterIndex();
    for (; master.indexedCount < dir.size(); ++master.indexedCount)
        master.nameIndex.emplace(NameKey(dir[master.indexedCount].name),
                                 static_cast<int32_t>(master.indexedCount));
    auto found = master.nameIndex.find(NameKey(name));
    return found == master.nameIndex.end() ? -1 : found->second;
}

void ResetMaster() {
    for (WadFile& row : master.table)
        CloseRowHandle(row);
    auto releaseNameLists = master.releaseNameLists;
    auto closeHelpFile = master.closeHelpFile;
    master = MasterState{};
    master.releaseNameLists = releaseNameLists;
    master.closeHelpFile = closeHelpFile;
}

bool IsLevelNameInStyle(const WadDirEntry& entry, GameStyle style) {
    if (entry.size != 0)
        return false;
    const char* n = entry.name;
    size_t length = NameLength(entry.name);
    auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    if (style == kStyleEpisodes)
        return length <= 4 && length >= 3 && upper(n[0]) == 'E' && upper(n[2]) == 'M';
    return length <= 5 && length >= 3 && upper(n[0]) == 'M' && upper(n[1]) == 'A' && upper(n[2]) == 'P';
}

bool IsLevelName(const WadDirEntry& entry) { return IsLevelNameInStyle(entry, master.gameStyle); }

int FindLevel(const char* name) {
    for (size_t i = 0; i < master.levelList.size(); ++i)
        if (SameNameIgnoringCase(master.levelList[i].name, name))
            return static_cast<int>(i);
    return -1;
}

void OpenIwad(char* name) {
    RegisterEarlyEndCleanup(CleanupStage::AfterMessage, CloseAllWads);
    if (OpenWad(name, "IWAD") != 0)
        FatalError("Please restart and set the correct main IWAD file name!");
    master.currentLevelRow = 0;
    master.gameStyle = kStyleEpisodes;
    for (const WadDirEntry& e : MasterDirectory())
        if (SameEntryName(e.name, "MAP01"))
            master.gameStyle = kStyleMaps;
    master.levelList.clear();
    for (const WadDirEntry& e : MasterDirectory())
        if (IsLevelName(e))
            ListLevel(e.name, 0);
}

int OpenWad(char* name, const char* tag) {
    int freeRow = -1;
    for (int r = 0; r < kOpenWadRows; ++r) {
        WadFile& row = master.table[r];
        if (!row.inUse()) {
            if (freeRow < 0)
                freeRow = r;
            continue;
        }
        if (row.name && SameFileName(row.name, name)) {
            MakeRowReady(r);
            return r;
        }
    }
    if (freeRow < 0) {
        ComplainAboutFile((FileLimitText() + ", " + name + " is not read, press a key").c_str());
        return -1;
    }
    if (!CheckFileType(name, tag, FileCheck::Complain))
        return -1;
    int r = freeRow;
    WadFile& row = master.table[r];
    row.handle = OpenWadStream(name);
    row.state = RowState::Open;
    ReleaseNameLists();
    row.name = name;
    if (r == 0)
        ReadWadDirectory(row, r);
    else if (!ReadPwadDirectory(r))
        return -1;
    row.tag[0] = 0;
    if (r == 0) {
        InvalidateMasterIndex();
        return 0;
    }
    OverlayPwad(r);
    ForgetUnreferencedPwads();
    CompactPwadList();
    return r;
}

int LoadPwad(char* name) {
    PrintAt(1, 25, ClearLine::Yes, "Loading PWAD file: %s", name);
    master.containsColumn = 1;
    master.containsRow = 1;
    int r = OpenWad(name, "PWAD");
    if (r > 0 && master.table[r].inUse()) {
        CloseRowHandle(master.table[r]);
        master.table[r].state = RowState::Closed;
    }
    config.savedViewX = kNoSavedView;
    config.savedViewY = kNoSavedView;
    return r;
}

WadDirEntry* FindEntry(int row, const char* name, EntryNeed need) {
    std::vector<WadDirEntry>& dir = master.table[row].dir;
    WadDirEntry* found = nullptr;
    if (row == 0) {
        int i = FindMasterIndex(name);
        found = i >= 0 ? &dir[static_cast<size_t>(i)] : nullptr;
    } else {
        for (WadDirEntry& e : dir)
            if (!found && SameEntryName(e.name, name))
                found = &e;
    }
    if (found) {
        if (found->file >= 0 && found->file < kOpenWadRows)
            MakeRowReady(found->file);
        return found;
    }
    if (need == EntryNeed::Required) {
        char text[9] = {};
        std::strncpy(text, name, 8);
        FatalError(" Damaged %s file %s not found", RowFileName(row) ? RowFileName(row) : "", text);
    }
    return nullptr;
}

FILE* MakeRowReady(int row) {
    WadFile& file = master.table[row];
    if (file.state == RowState::Closed) {
        file.handle = OpenWadStream(file.name);
        file.state = RowState::Open;
    }
    return file.handle;
}

void CloseWads(WadRows rows) {
    int first = rows == WadRows::All ? 0 : 1;
    if (rows == WadRows::All) {
        ReleaseNameLists();
        if (master.closeHelpFile)
            master.closeHelpFile();
    }
    for (int r = first; r < kOpenWadRows; ++r) {
        WadFile& row = master.table[r];
        if (!row.inUse())
            continue;
        CloseRowHandle(row);
        row.state = RowState::Closed;
    }
}

void CloseBackups() {
    for (int r = 1; r < kOpenWadRows; ++r)
        if (master.table[r].inUse() && std::strncmp(master.table[r].tag, ".BAK", 4) == 0)
            ForgetRow(r);
    CompactPwadList();
}

int NewPwadRow() {
    CompactPwadList();
    for (int i = 0; i < kPwadListRows; ++i)
        if (config.pwadList[i][0] == 0)
            return i;
    return -1;
}

std::string FileLimitText() { return "File Limit of " + std::to_string(kOpenWadRows) + " Exceeded"; }

std::string PwadListFullText() { return "Maximum of " + std::to_string(kOpenWadRows) + " files exceeded"; }

bool RowAvailableFor(const char* name) {
    for (int r = 1; r < kOpenWadRows; ++r) {
        const WadFile& row = master.table[r];
        if (!row.inUse() || (row.name && SameFileName(row.name, name)))
            return true;
    }
    return false;
}

void CompactPwadList() {
    char (*list)[kFileNameField] = config.pwadList;
    int target = 0;
    for (int source = 0; source < kPwadListRows; ++source) {
        if (list[source][0] == 0)
            continue;
        if (source != target) {
            std::memcpy(list[target], list[source], kFileNameField);
            for (WadFile& row : master.table)
                if (row.name == list[source])
                    row.name = list[target];
        }
        ++target;
    }
    for (int i = target; i < kPwadListRows; ++i)
        std::memset(list[i], 0, kFileNameField);
}

void CloseAndForgetAll() {
    CloseWads(WadRows::All);
    ResetMaster();
}

std::vector<std::string> RememberedPwads() {
    std::vector<std::string> names;
    for (int i = 0; i < kLoadedPwadRows; ++i)
        if (config.pwadList[i][0])
            names.push_back(config.pwadList[i]);
    return names;
}

void LoadPwadList(const std::vector<std::string>& names) {
    // Loading may drop rows and move the rest up, so each name gets the first
    // free row of a list emptied first.
    std::memset(config.pwadList, 0, sizeof config.pwadList);
    for (const std::string& name : names) {
        int row = NewPwadRow();
        if (row < 0) {
            ComplainAboutFile((PwadListFullText() + ", " + name + " is not read, press a key").c_str());
            break;
        }
        SetField(config.pwadList[row], ResolveExistingPath(name).c_str());
        if (LoadPwad(config.pwadList[row]) <= 0)
            config.pwadList[row][0] = 0;
    }
    CompactPwadList();
}

const char* RowFileName(int row) {
    if (row < 0 || row >= kOpenWadRows || !master.table[row].inUse())
        return nullptr;
    return master.table[row].name;
}

std::vector<uint8_t> ReadEntryData(const WadDirEntry& entry) {
    std::vector<uint8_t> data(static_cast<size_t>(entry.size > 0 ? entry.size : 0));
    if (data.empty())
        return data;
    FILE* stream = MakeRowReady(entry.file);
    SeekChecked(stream, master.table[entry.file].name, entry.offset);
    ReadChunked(stream, data.data(), entry.size);
    return data;
}
