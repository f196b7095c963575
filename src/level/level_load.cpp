#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "wad/master.h"

namespace {

// Capacities of the arrays of a new level.
constexpr int32_t kNewThings = 200;
constexpr int32_t kNewLineDefs = 1500;
constexpr int32_t kNewSideDefs = 2000;
constexpr int32_t kNewVertices = 1000;
constexpr int32_t kNewSectors = 300;
// Longer COMPLVL text is no keyword; it is not read.
constexpr int32_t kLongestCompLevelText = 16;

const char* LevelFileName() {
    const char* name = RowFileName(master.currentLevelRow);
    return name ? name : "";
}

// What stops a level from being edited: the lines of the message that tells
// the user; empty when nothing does.
using Refusal = std::vector<std::string>;

Refusal MissingLump(const char* name) {
    return {std::string(" Damaged ") + LevelFileName() + " file " + name + " not found"};
}

// Finds the level's marker, takes the file that holds it as the level's file
// and remembers where the marker is.
Refusal FindMarker() {
    const WadDirEntry* marker = FindEntry(0, level.name, EntryNeed::Optional);
    if (!marker)
        return MissingLump(level.name);
    level.markerIndex = static_cast<int32_t>(marker - MasterDirectory().data());
    master.currentLevelRow = marker->file;
    MakeRowReady(master.currentLevelRow);
    return {};
}

// --- Formats this editor does not edit --------------------------------------

// The lumps that can belong to a level in any of the binary or text formats;
// the level's own lumps are the run of such names after its marker.
const char* const kAnyLevelLumpNames[] = {
    "THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS", "SSECTORS", "NODES", "SECTORS",
    "REJECT", "BLOCKMAP", "BEHAVIOR", "SCRIPTS", "LEAFS", "LIGHTS", "MACROS", "TEXTMAP",
    "ZNODES", "DIALOGUE", "ENDMAP",
};

bool IsAnyLevelLump(const WadDirEntry& e) {
    for (const char* name : kAnyLevelLumpNames)
        if (SameEntryName(e.name, name))
            return true;
    return false;
}

// The level's entries in the directory of the file that holds it, marker
// first. The IWAD's directory is the master directory itself.
std::vector<WadDirEntry> LevelEntriesInFile() {
    const std::vector<WadDirEntry>& all = MasterDirectory();
    const WadDirEntry& marker = all[static_cast<size_t>(level.markerIndex)];
    const std::vector<WadDirEntry>& dir = marker.file == 0 ? all : master.table[marker.file].dir;
    size_t first = static_cast<size_t>(level.markerIndex);
    if (marker.file != 0) {
        first = dir.size();
        for (size_t i = 0; i < dir.size() && first == dir.size(); ++i)
            if (IsLevelName(dir[i]) && SameEntryName(dir[i].name, marker.name))
                first = i;
    }
    std::vector<WadDirEntry> entries;
    for (size_t i = first; i < dir.size() && (i == first || IsAnyLevelLump(dir[i])); ++i)
        entries.push_back(dir[i]);
    return entries;
}

// The name of the level's format when it is one this editor does not edit,
// else nullptr. A format is recognised by the lump only it has, and taken
// only when the record sizes fit it too, so that a DOOM-format level with a
// stray lump still loads.
const char* ForeignFormat() {
    std::vector<WadDirEntry> entries = LevelEntriesInFile();
    auto has = [&](const char* name) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const WadDirEntry& e) { return SameEntryName(e.name, name); });
    };
    auto whole = [&](const char* name, int32_t record) {
        for (const WadDirEntry& e : entries)
            if (SameEntryName(e.name, name))
                return e.size % record == 0;
        return true;
    };
    if (entries.size() > 1 && SameEntryName(entries[1].name, "TEXTMAP"))
        return "UDMF";
    if (has("BEHAVIOR") && whole("LINEDEFS", 16) && whole("THINGS", 20))
        return "Hexen";
    if ((has("LEAFS") || has("LIGHTS") || has("MACROS")) && whole("LINEDEFS", 16) &&
        whole("THINGS", 14))
        return "Doom 64";
    return nullptr;
}

Refusal CheckFormat() {
    const char* format = ForeignFormat();
    if (!format)
        return {};
    return {std::string(level.name) + " is a " + format + "-format level,",
            std::string("which ") + Names().product + " does not edit."};
}

Refusal CheckLumps() {
    for (const char* name : kLevelLumpNames)
        if (!FindLevelLump(name, EntryNeed::Optional))
            return MissingLump(name);
    return {};
}

// --- Reading -----------------------------------------------------------------

// The data of a level lump, count records of size bytes each, into buffer.
void ReadLumpRecords(const WadDirEntry& entry, void* buffer, int32_t bytes) {
    if (bytes <= 0)
        return;
    FILE* stream = MakeRowReady(entry.file);
    SeekChecked(stream, RowFileName(entry.file), entry.offset);
    ReadChunked(stream, buffer, bytes);
}

// Reads a whole lump of records into an array with room for twice as many.
template <typename T>
void ReadArray(const char* lumpName, ObjectArray<T>& array) {
    WadDirEntry entry = *FindLevelLump(lumpName, EntryNeed::Required);
    int32_t count = entry.size / static_cast<int32_t>(sizeof(T));
    AllocateArray(array, 2 * count, count);
    ReadLumpRecords(entry, array.records.data(), count * static_cast<int32_t>(sizeof(T)));
}

// The message for a LineDef whose vertex is not in the VERTEXES lump; it
// names the numbers the lump holds.
Refusal BadVertex(int32_t line, const LineDef& l, int32_t oldCount) {
    char text[80], limit[80];
    std::snprintf(text, sizeof text, "vertex in linedef %d not valid %d,%d ?", static_cast<int>(line),
                  l.start, l.end);
    if (oldCount == 0)
        std::snprintf(limit, sizeof limit, "VERTEXES holds no vertices");
    else
        std::snprintf(limit, sizeof limit, "VERTEXES holds vertices 0 to %d", static_cast<int>(oldCount - 1));
    return {text, limit};
}

// Marks the vertices the LineDefs use (newNumber 0); a LineDef outside the
// lump refuses the level. Counts the vertices used into used.
Refusal MarkUsedVertices(std::vector<int32_t>& newNumber, int32_t& used) {
    used = 0;
    Refusal refusal = LineDefVertexFault(level.lineDefs, static_cast<int32_t>(newNumber.size()));
    if (!refusal.empty())
        return refusal;
    for (const LineDef& l : level.lineDefs) {
        for (uint16_t v : {l.start, l.end}) {
            if (newNumber[v] < 0) {
                newNumber[v] = 0;
                ++used;
            }
        }
    }
    return {};
}

// Takes the used vertices in their old order, numbering them from 0, keeps
// the old number of each and points the LineDefs at the new numbers.
Refusal ReadUsedVertices() {
    WadDirEntry entry = *FindLevelLump("VERTEXES", EntryNeed::Required);
    level.oldVertexCount = entry.size / static_cast<int32_t>(sizeof(Vertex));
    std::vector<int32_t> newNumber(static_cast<size_t>(level.oldVertexCount), -1);
    int32_t used = 0;
    Refusal refusal = MarkUsedVertices(newNumber, used);
    if (!refusal.empty())
        return refusal;
    AllocateArray(level.vertices, used > 0 ? 2 * used : kNewVertices);
    level.oldVertexNumbers.reserve(static_cast<size_t>(used));
    if (used > 0) {
        std::vector<Vertex> old(static_cast<size_t>(level.oldVertexCount));
        ReadLumpRecords(entry, old.data(), level.oldVertexCount * static_cast<int32_t>(sizeof(Vertex)));
        for (int32_t i = 0; i < level.oldVertexCount; ++i) {
            if (newNumber[static_cast<size_t>(i)] < 0)
                continue;
            newNumber[static_cast<size_t>(i)] = level.vertices.count;
            level.oldVertexNumbers.push_back(static_cast<uint16_t>(i));
            level.vertices[level.vertices.count++] = old[static_cast<size_t>(i)];
        }
    }
    for (LineDef& l : level.lineDefs) {
        l.start = static_cast<uint16_t>(newNumber[l.start]);
        l.end = static_cast<uint16_t>(newNumber[l.end]);
    }
    return {};
}

int32_t LumpSize(const char* name) { return FindLevelLump(name, EntryNeed::Required)->size; }

void ReadKeptSizes() {
    level.numSegs = LumpSize("SEGS") / kSegRecord;
    level.numSSectors = LumpSize("SSECTORS") / kSSectorRecord;
    level.numNodes = LumpSize("NODES") / kNodeRecord;
    level.rejectSize = LumpSize("REJECT");
    level.blockmapSize = LumpSize("BLOCKMAP");
}

// The target the level's file names. Text that names none (it may hold any
// bytes) leaves the original games; the save keeps such a lump as it is.
MapTarget TargetOfFile() {
    const WadDirEntry* lump = FindCompLevelLump();
    if (!lump || lump->size > kLongestCompLevelText)
        return MapTarget::Original;
    std::vector<uint8_t> bytes = ReadEntryData(*lump);
    return TargetOfCompLevel(std::string(bytes.begin(), bytes.end())).value_or(MapTarget::Original);
}

void SetUpNewLevel() {
    level.target = IsHeretic() ? MapTarget::Original : level.newLevelTarget;
    AllocateArray(level.things, kNewThings);
    AllocateArray(level.lineDefs, kNewLineDefs);
    AllocateArray(level.sideDefs, kNewSideDefs);
    AllocateArray(level.vertices, kNewVertices);
    AllocateArray(level.sectors, kNewSectors);
}

Refusal ReadLevel() {
    Refusal refusal = CheckFormat();
    if (refusal.empty())
        refusal = CheckLumps();
    if (!refusal.empty())
        return refusal;
    ReadArray("THINGS", level.things);
    ReadArray("LINEDEFS", level.lineDefs);
    ReadArray("SIDEDEFS", level.sideDefs);
    refusal = ReadUsedVertices();
    if (!refusal.empty())
        return refusal;
    ReadArray("SECTORS", level.sectors);
    ReadKeptSizes();
    if (!IsHeretic())
        level.fileTarget = level.target = TargetOfFile();
    level.fromFile = true;
    level.rejectSectorCount = level.sectors.count;
    return {};
}

}  // namespace

std::vector<std::string> LineDefVertexFault(const ObjectArray<LineDef>& lineDefs, int32_t vertexCount) {
    for (int32_t i = 0; i < lineDefs.count; ++i)
        if (lineDefs[i].start >= vertexCount || lineDefs[i].end >= vertexCount)
            return BadVertex(i, lineDefs[i], vertexCount);
    return {};
}

const WadDirEntry* FindCompLevelLump() {
    if (master.currentLevelRow <= 0 || master.currentLevelRow >= kOpenWadRows)
        return nullptr;
    for (const WadDirEntry& e : master.table[master.currentLevelRow].dir)
        if (SameEntryName(e.name, kCompLevelLumpName))
            return &e;
    return nullptr;
}

const WadDirEntry* FindLevelLump(const char* name, EntryNeed need) {
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    size_t first = static_cast<size_t>(level.markerIndex) + 1;
    for (size_t i = first; level.markerIndex >= 0 && i < dir.size() && !IsLevelName(dir[i]); ++i)
        if (SameEntryName(dir[i].name, name))
            return &dir[i];
    if (need == EntryNeed::Required)
        FatalError(" Damaged %s file %s not found", LevelFileName(), name);
    return nullptr;
}

bool LoadLevel(LevelSource source) {
    RegisterEarlyEndCleanup(CleanupStage::BeforeMessage, FreeLevel);
    CloseWads(WadRows::Pwads);
    Dialogs().ShowBox(std::string("Processing Level ") + level.name, {});
    // A fresh model that keeps the name and warp text set when the level was
    // chosen.
    char name[sizeof level.name], warpText[sizeof level.warpText];
    std::memcpy(name, level.name, sizeof name);
    std::memcpy(warpText, level.warpText, sizeof warpText);
    ResetLevel();
    std::memcpy(level.name, name, sizeof name);
    std::memcpy(level.warpText, warpText, sizeof warpText);
    Refusal refusal = FindMarker();
    if (refusal.empty() && source == LevelSource::NewLevel)
        SetUpNewLevel();
    else if (refusal.empty())
        refusal = ReadLevel();
    if (refusal.empty())
        return true;
    FreeLevel();
    Dialogs().MessageBox(std::string("Cannot edit ") + level.name, refusal);
    return false;
}
