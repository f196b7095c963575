#include <cstring>
#include <string>

#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "base/fatal.h"
#include "wad/master.h"

namespace {

// Capacities of the arrays of a new level.
constexpr int32_t kNewThings = 200;
constexpr int32_t kNewLineDefs = 1500;
constexpr int32_t kNewSideDefs = 2000;
constexpr int32_t kNewVertices = 1000;
constexpr int32_t kNewSectors = 300;

const char* LevelFileName() {
    const char* name = RowFileName(master.currentLevelRow);
    return name ? name : "";
}

// Finds the level's marker, takes the file that holds it as the level's file
// and remembers where the marker is.
void FindMarker() {
    const WadDirEntry* marker = FindEntry(0, level.name, 1);
    level.markerIndex = static_cast<int32_t>(marker - MasterDirectory().data());
    master.currentLevelRow = marker->file;
    MakeRowReady(master.currentLevelRow);
}

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
    WadDirEntry entry = *FindLevelLump(lumpName, 1);
    int32_t count = entry.size / static_cast<int32_t>(sizeof(T));
    AllocateArray(array, 2 * count, count);
    ReadLumpRecords(entry, array.records.data(), count * static_cast<int32_t>(sizeof(T)));
}

// Marks the vertices the LineDefs use; a LineDef outside the lump ends the
// program. Returns the number used.
int32_t MarkUsedVertices(std::vector<int16_t>& newNumber) {
    int32_t oldCount = static_cast<int32_t>(newNumber.size());
    int32_t used = 0;
    for (int32_t i = 0; i < level.lineDefs.count; ++i) {
        const LineDef& l = level.lineDefs[i];
        if (l.start < 0 || l.start >= oldCount || l.end < 0 || l.end >= oldCount)
            FatalError("vertex in linedef %hd not valid %hd,%hd ?", static_cast<short>(i), l.start,
                       l.end);
        for (int16_t v : {l.start, l.end}) {
            if (newNumber[static_cast<size_t>(v)] < 0) {
                newNumber[static_cast<size_t>(v)] = 0;
                ++used;
            }
        }
    }
    return used;
}

void Widen(const Vertex& v) {
    if (v.x < level.minX) level.minX = v.x;
    if (v.x > level.maxX) level.maxX = v.x;
    if (v.y < level.minY) level.minY = v.y;
    if (v.y > level.maxY) level.maxY = v.y;
}

// Takes the used vertices in their old order, numbering them from 0, keeps
// the old number of each and points the LineDefs at the new numbers.
void ReadUsedVertices() {
    WadDirEntry entry = *FindLevelLump("VERTEXES", 1);
    level.oldVertexCount = entry.size / static_cast<int32_t>(sizeof(Vertex));
    std::vector<int16_t> newNumber(static_cast<size_t>(level.oldVertexCount), -1);
    int32_t used = MarkUsedVertices(newNumber);
    AllocateArray(level.vertices, used > 0 ? 2 * used : kNewVertices);
    level.oldVertexNumbers.reserve(static_cast<size_t>(used));
    if (used > 0) {
        std::vector<Vertex> old(static_cast<size_t>(level.oldVertexCount));
        ReadLumpRecords(entry, old.data(), level.oldVertexCount * static_cast<int32_t>(sizeof(Vertex)));
        for (int32_t i = 0; i < level.oldVertexCount; ++i) {
            if (newNumber[static_cast<size_t>(i)] < 0)
                continue;
            newNumber[static_cast<size_t>(i)] = static_cast<int16_t>(level.vertices.count);
            level.oldVertexNumbers.push_back(static_cast<int16_t>(i));
            level.vertices[level.vertices.count++] = old[static_cast<size_t>(i)];
            Widen(old[static_cast<size_t>(i)]);
        }
    }
    for (LineDef& l : level.lineDefs) {
        l.start = newNumber[static_cast<size_t>(l.start)];
        l.end = newNumber[static_cast<size_t>(l.end)];
    }
}

int32_t LumpSize(const char* name) { return FindLevelLump(name, 1)->size; }

void ReadKeptSizes() {
    level.numSegs = LumpSize("SEGS") / kSegRecord;
    level.numSSectors = LumpSize("SSECTORS") / kSSectorRecord;
    level.numNodes = LumpSize("NODES") / kNodeRecord;
    level.rejectSize = LumpSize("REJECT");
    level.blockmapSize = LumpSize("BLOCKMAP");
}

void SetUpNewLevel() {
    AllocateArray(level.things, kNewThings);
    AllocateArray(level.lineDefs, kNewLineDefs);
    AllocateArray(level.sideDefs, kNewSideDefs);
    AllocateArray(level.vertices, kNewVertices);
    AllocateArray(level.sectors, kNewSectors);
}

void ReadLevel() {
    ReadArray("THINGS", level.things);
    ReadArray("LINEDEFS", level.lineDefs);
    ReadArray("SIDEDEFS", level.sideDefs);
    ReadUsedVertices();
    ReadArray("SECTORS", level.sectors);
    ReadKeptSizes();
    level.fromFile = true;
    level.rejectSectorCount = level.sectors.count;
}

}  // namespace

const WadDirEntry* FindLevelLump(const char* name, int complain) {
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    size_t first = static_cast<size_t>(level.markerIndex) + 1;
    for (size_t i = first; level.markerIndex >= 0 && i < dir.size() && !IsLevelName(dir[i]); ++i)
        if (SameEntryName(dir[i].name, name))
            return &dir[i];
    if (complain)
        FatalError(" Damaged %s file %s not found", LevelFileName(), name);
    return nullptr;
}

void LoadLevel(int newLevel) {
    RegisterEarlyEndCleanup(CleanupStage::BeforeMessage, FreeLevel);
    CloseWads('P', 0, 0);
    Dialogs().ShowBox(std::string("Processing Level ") + level.name, {});
    // A fresh model that keeps the name and warp text set when the level was
    // chosen.
    char name[sizeof level.name], warpText[sizeof level.warpText];
    std::memcpy(name, level.name, sizeof name);
    std::memcpy(warpText, level.warpText, sizeof warpText);
    ResetLevel();
    std::memcpy(level.name, name, sizeof name);
    std::memcpy(level.warpText, warpText, sizeof warpText);
    FindMarker();
    if (newLevel)
        SetUpNewLevel();
    else
        ReadLevel();
}
