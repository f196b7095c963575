// The level being edited: five arrays of records laid out exactly as the
// level's lumps, the sizes of the node builder's lumps (kept, not edited), the
// level's name and place in the master directory, and the two change flags.
//
// A loaded map may hold any value in any field. Code that follows a reference
// (a LineDef's vertex, a SideDef's sector...) goes through the accessors below,
// which give nullptr for a number outside the array, so it never reads off an
// array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "base/map_target.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "level records are read and written in the host's byte order");

// References between records (a LineDef's Vertexes and SideDefs, a SideDef's
// Sector) are unsigned 16-bit numbers, as the games read them: 0..65534 name
// an object, 0xFFFF names none. So a level holds at most 65,535 objects of a
// kind that is referred to.
constexpr uint16_t kNoReference = 0xFFFF;
constexpr int32_t kMaxReferencedObjects = 65535;

// The number a user sees for a reference: -1 for none, as the dialogs take
// it, else the unsigned number (never a negative one above 32767).
inline int ReferenceNumber(uint16_t reference) { return reference == kNoReference ? -1 : reference; }

#pragma pack(push, 1)
struct Thing {
    int16_t x;
    int16_t y;
    int16_t angle;   // degrees
    int16_t type;
    int16_t flags;
};

struct LineDef {
    uint16_t start;      // Vertex numbers
    uint16_t end;
    int16_t flags;
    int16_t type;
    int16_t tag;
    uint16_t sideDef1;   // right side
    uint16_t sideDef2;   // left side; kNoReference when there is none
};

// The LineDef flags that the editor's own edits and checks set and read.
constexpr int16_t kLineImpassable = 1;
constexpr int16_t kLineTwoSided = 4;

// Texture names are 8 characters padded with zeros, with no terminating zero
// when all 8 are used.
struct SideDef {
    int16_t xOffset;
    int16_t yOffset;
    char upper[8];
    char lower[8];
    char middle[8];
    uint16_t sector;
};

struct Vertex {
    int16_t x;
    int16_t y;
};

struct Sector {
    int16_t floorHeight;
    int16_t ceilingHeight;
    char floorTexture[8];
    char ceilingTexture[8];
    int16_t light;
    int16_t type;
    int16_t tag;
};
#pragma pack(pop)

static_assert(sizeof(Thing) == 10, "THINGS record");
static_assert(sizeof(LineDef) == 14, "LINEDEFS record");
static_assert(sizeof(SideDef) == 30, "SIDEDEFS record");
static_assert(sizeof(Vertex) == 4, "VERTEXES record");
static_assert(sizeof(Sector) == 26, "SECTORS record");

// Record sizes of the node builder's lumps.
constexpr int kSegRecord = 12;
constexpr int kSSectorRecord = 4;
constexpr int kNodeRecord = 28;

enum ObjectType : int16_t {
    kObjNone = 0,
    kObjThing = 1,
    kObjLineDef = 2,
    kObjSideDef = 3,
    kObjVertex = 4,
    kObjSegment = 5,
    kObjSSector = 6,
    kObjNode = 7,
    kObjSector = 8,
    kObjReject = 9,
    kObjBlockmap = 10,
};

// The name shown to the user ("Thing", "LineDef"...); "<?unknown>?" for a code
// outside the table.
const char* ObjectTypeName(int type);

// One array of records: `count` records in use, room for capacity() records.
template <typename T>
struct ObjectArray {
    std::vector<T> records;   // capacity() records allocated
    int32_t count = 0;

    int32_t capacity() const { return static_cast<int32_t>(records.size()); }
    bool valid(int n) const { return n >= 0 && n < count; }
    T* at(int n) { return valid(n) ? &records[static_cast<size_t>(n)] : nullptr; }
    const T* at(int n) const { return valid(n) ? &records[static_cast<size_t>(n)] : nullptr; }
    // Unchecked, for loops over 0..count-1.
    T& operator[](int n) { return records[static_cast<size_t>(n)]; }
    const T& operator[](int n) const { return records[static_cast<size_t>(n)]; }
    T* begin() { return records.data(); }
    T* end() { return records.data() + count; }
    const T* begin() const { return records.data(); }
    const T* end() const { return records.data() + count; }
};

enum class RejectAnswer { NotAsked, Copy, Clear };

struct LevelState {
    ObjectArray<Thing> things;
    ObjectArray<LineDef> lineDefs;
    ObjectArray<SideDef> sideDefs;
    ObjectArray<Vertex> vertices;
    ObjectArray<Sector> sectors;

    // Kept sizes of the lumps that are not edited, as loaded.
    int32_t numSegs = 0;
    int32_t numSSectors = 0;
    int32_t numNodes = 0;
    int32_t rejectSize = 0;     // bytes
    int32_t blockmapSize = 0;   // bytes

    // The game the level is made for (DOOM flavour; kept in the PWAD's
    // COMPLVL lump when it is not the original games).
    MapTarget target = MapTarget::Original;
    // The target the level's file names in its COMPLVL lump: Original when
    // it has none, or one whose text names no target. While the level keeps
    // that target a save copies the lump as it is.
    MapTarget fileTarget = MapTarget::Original;
    // The target new levels take, as chosen in the options; kept for the run.
    MapTarget newLevelTarget = MapTarget::Original;

    char name[9] = {};        // "E1M1", "MAP01"
    char warpText[16] = {};   // "1 1" or "1": the game's warp argument
    // Index of the level's marker in the master directory (entries are kept by
    // index: the directory is a vector that moves as it grows); -1 for none.
    int32_t markerIndex = -1;

    bool levelChanged = false;   // any edit since the editor started or the last save
    bool mapChanged = false;     // geometry edited: the old nodes no longer fit

    // What the node builder's lumps were made for, so that saving an unchanged
    // map keeps them consistent: whether the level came from a file (a new
    // level has none), the VERTEXES record count of that file, the old number
    // of each Vertex in memory (new -> old; loading drops unused vertices and
    // renumbers the rest) and the Sector count the REJECT table was built for.
    bool fromFile = false;
    int32_t oldVertexCount = 0;
    std::vector<uint16_t> oldVertexNumbers;
    int32_t rejectSectorCount = 0;

    // Reject fill settings of the save dialog, kept for the run.
    int rejectSkipEvery = 0;
    int rejectPattern = 0;
    // The answer to "Clear REJECT ?", asked at the first node build of the
    // run and kept for the others.
    RejectAnswer clearReject = RejectAnswer::NotAsked;
};

extern LevelState level;

// The level name of an episode and map in the game's naming style ("E1M3",
// "MAP03").
std::string LevelNameFor(int16_t episode, int16_t map);
// The episode and map of a level name in the game's naming style (episode 1
// for MAPxx); false when the name is not one.
bool LevelNumbersOf(const std::string& name, int16_t& episode, int16_t& map);
// Makes the episode and map the current level: its name and the game's warp
// argument for it ("1 3" for ExMy, "3" for MAPxx).
void SetLevelName(int16_t episode, int16_t map);

// The first limit of the format that the level passes, as a line for the
// user ("70000 SideDefs, more than the 65535 a level can hold"), or "" when
// it fits. Only the kinds that references count (LineDefs in the node
// builder's segments) have a limit.
std::string PassedLimit();
// PassedLimit's line for count objects of the type: "" when they fit, or
// for a kind without a limit.
std::string LimitLine(int type, int64_t count);

// What ResizeObject does to an array.
enum class Resize {
    AddOne,       // one record place more at the end, the capacity growing by the type's step when needed
    RemoveLast,   // one place less (never below 0; the memory is kept)
};
// Resizes the level's array of type; types other than Thing, LineDef,
// SideDef, Vertex and Sector end the program.
void ResizeObject(LevelState& level, int type, Resize change);
// Frees the five arrays and sets their counts to 0.
void FreeLevel();
// A fresh, empty model (tests, and the start of every load). Keeps the
// run-long reject settings and answer and the target of new levels.
void ResetLevel();

// Safe access for code that follows references stored in the map.
inline bool ValidLineDef(int n) { return level.lineDefs.valid(n); }
inline bool ValidSideDef(int n) { return level.sideDefs.valid(n); }
inline bool ValidVertex(int n) { return level.vertices.valid(n); }
inline bool ValidSector(int n) { return level.sectors.valid(n); }
inline Thing* ThingAt(int n) { return level.things.at(n); }
inline LineDef* LineDefAt(int n) { return level.lineDefs.at(n); }
inline SideDef* SideDefAt(int n) { return level.sideDefs.at(n); }
inline Vertex* VertexAt(int n) { return level.vertices.at(n); }
inline Sector* SectorAt(int n) { return level.sectors.at(n); }

[[noreturn]] void OutOfLevelMemory(size_t bytes);

// Gives an array room for capacity records (zeroed) and count records in use;
// running out of memory ends the program with the usual message.
template <typename T>
void AllocateArray(ObjectArray<T>& array, int32_t capacity, int32_t count = 0) {
    try {
        array.records.assign(static_cast<size_t>(capacity), T{});
    } catch (const std::bad_alloc&) {
        OutOfLevelMemory(static_cast<size_t>(capacity) * sizeof(T));
    }
    array.count = count;
}
