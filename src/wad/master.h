// The master directory: the IWAD's directory with every read PWAD laid over
// it, the table of open WAD files, the level list and the remembered PWADs.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "wad/wadfile.h"

constexpr int kOpenWadRows = 43;
constexpr int kLevelLumpCount = 11;   // the marker and ten lumps
constexpr int kLoadedPwadRows = 42;   // rows of the PwadList read at start

// The lumps of a level after its marker, in order.
extern const char* const kLevelLumpNames[10];

enum GameStyle : int16_t { kStyleEpisodes = 1, kStyleMaps = 2 };

struct LevelListEntry {
    char name[6] = {};
    int16_t file = 0;
};

struct MasterState {
    WadFile table[kOpenWadRows];          // row 0 the IWAD; its directory is the master directory
    std::vector<LevelListEntry> levelList;
    GameStyle gameStyle = kStyleEpisodes;
    int currentLevelRow = 0;              // row of the file that holds the level being edited
    // The next level number for names converted from the other naming style.
    int16_t nextEpisode = 1;
    int16_t nextMap = 1;
    int16_t nextMapNumber = 1;
    // Console column and row of the next " Contains level" line while reading PWADs.
    int containsColumn = 1;
    int containsRow = 1;
    // First index of each name in the master directory, built on demand so
    // that laying a large PWAD over the IWAD stays fast. Code that renames
    // master entries calls InvalidateMasterIndex.
    std::unordered_map<uint64_t, int32_t> nameIndex;
    size_t indexedCount = 0;
    // Called when the directory changes (lists built from it become stale) and
    // when all files are closed (the help file goes with them).
    void (*releaseNameLists)() = nullptr;
    void (*closeHelpFile)() = nullptr;
};

extern MasterState master;

std::vector<WadDirEntry>& MasterDirectory();
// Forgets every file, entry and level (a fresh start for tests and reloads).
void ResetMaster();
// Index of the first master entry named name, or -1.
int FindMasterIndex(const char* name);
void InvalidateMasterIndex();

bool IsLevelName(const WadDirEntry& entry);
bool IsLevelNameInStyle(const WadDirEntry& entry, GameStyle style);

void OpenIwad(char* name);
// Opens a WAD file and, for a PWAD, lays it over the master directory;
// returns its row, or -1 when it is not of the tag's type or no row of the
// open-WAD table is free (the user is told so).
int OpenWad(char* name, const char* tag);
int LoadPwad(char* name);
// Whether a lookup may find nothing.
enum class EntryNeed {
    Optional,   // a missing entry gives nullptr
    Required,   // a missing entry ends the program: " Damaged %s file %s not found"
};
// The first entry of row's directory named name; nullptr when missing and
// optional. Reopens the holding file when it is closed.
WadDirEntry* FindEntry(int row, const char* name, EntryNeed need);
// Reopens the row's file when it is closed and returns its stream.
FILE* MakeRowReady(int row);

// Which rows of the open-WAD table CloseWads closes.
enum class WadRows {
    All,     // every file; the lists built from the directory and the help file go too
    Pwads,   // rows 1 up
};
// Closes the files of the rows, keeping their names and directories; each
// reopens when an entry of it is wanted.
void CloseWads(WadRows rows);
void CloseBackups();
// Closes every file and forgets every directory, level and level-name
// conversion, as before the IWAD was first opened; the PwadList keeps its
// names.
void CloseAndForgetAll();
// The names in the rows of the PwadList that are read at start.
std::vector<std::string> RememberedPwads();
// Empties the PwadList and reads the named PWADs into it in order, as a start
// does, each listed under its name on disk; a file that cannot be read leaves
// no row.
void LoadPwadList(const std::vector<std::string>& names);
// The first empty row of the PwadList after compacting it; -1 when all are
// in use.
int NewPwadRow();
void CompactPwadList();
// The limits of the design's tables, which refuse the one action that would
// pass them: "File Limit of 43 Exceeded" (the open-WAD table; OpenWad then
// returns -1 after saying so) and "Maximum of 43 files exceeded" (the
// PwadList).
std::string FileLimitText();
std::string PwadListFullText();
// True when a PWAD of that name can be read in: it is open already, or a row
// of the open-WAD table is free.
bool RowAvailableFor(const char* name);

// Index into levelList of the level named name, or -1.
int FindLevel(const char* name);
// The row and file name of an open-WAD table row in use, or nullptr.
const char* RowFileName(int row);
// Reads an entry's data into memory (empty for a marker).
std::vector<uint8_t> ReadEntryData(const WadDirEntry& entry);
