#include "level/level.h"

#include <cstdio>
#include <utility>

#include "base/fatal.h"
#include "wad/master.h"

LevelState level;

namespace {

const char* const kObjectTypeNames[] = {
    "<?unknown>?", "Thing", "LineDef", "SideDef", "Vertex", "Segment",
    "SSector", "Node", "Sector", "Reject", "Blockmap",
};

// Adds one record, growing the room by step records when it is full.
template <typename T>
void Grow(ObjectArray<T>& array, int32_t step) {
    if (array.count >= array.capacity()) {
        size_t room = static_cast<size_t>(array.capacity()) + static_cast<size_t>(step);
        try {
            array.records.resize(room, T{});
        } catch (const std::bad_alloc&) {
            OutOfLevelMemory(room * sizeof(T));
        }
    }
    ++array.count;
}

template <typename T>
void Shrink(ObjectArray<T>& array) {
    if (array.count > 0)
        --array.count;
}

template <typename T>
void ResizeArray(ObjectArray<T>& array, int32_t step, Resize change) {
    if (change == Resize::AddOne)
        Grow(array, step);
    else
        Shrink(array);
}

template <typename T>
void Release(ObjectArray<T>& array) {
    array.records.clear();
    array.records.shrink_to_fit();
    array.count = 0;
}

}  // namespace

const char* ObjectTypeName(int type) {
    if (type < kObjNone || type > kObjBlockmap)
        type = kObjNone;
    return kObjectTypeNames[type];
}

void OutOfLevelMemory(size_t bytes) {
    FatalError("out of memory trying to allocate %d bytes", static_cast<int>(bytes));
}

std::string LevelNameFor(int16_t episode, int16_t map) {
    char text[16];
    if (master.gameStyle == kStyleEpisodes)
        std::snprintf(text, sizeof text, "E%hdM%hd", episode, map);
    else
        std::snprintf(text, sizeof text, "MAP%02hd", map);
    return text;
}

bool LevelNumbersOf(const std::string& name, int16_t& episode, int16_t& map) {
    short e = 1, m = 0;
    char rest = 0;
    bool ok = master.gameStyle == kStyleEpisodes ? std::sscanf(name.c_str(), "E%hdM%hd%c", &e, &m, &rest) == 2
                                                 : std::sscanf(name.c_str(), "MAP%hd%c", &m, &rest) == 1;
    if (!ok || e < 1 || m < 1)
        return false;
    episode = e;
    map = m;
    return true;
}

void SetLevelName(int16_t episode, int16_t map) {
    std::snprintf(level.name, sizeof level.name, "%.8s", LevelNameFor(episode, map).c_str());
    if (master.gameStyle == kStyleEpisodes)
        std::snprintf(level.warpText, sizeof level.warpText, "%hd %hd", episode, map);
    else
        std::snprintf(level.warpText, sizeof level.warpText, "%hd", map);
}

void ResizeObject(LevelState& level, int type, Resize change) {
    switch (type) {
    case kObjThing: ResizeArray(level.things, 400, change); break;
    case kObjLineDef: ResizeArray(level.lineDefs, 500, change); break;
    case kObjSideDef: ResizeArray(level.sideDefs, 1000, change); break;
    case kObjVertex: ResizeArray(level.vertices, 1000, change); break;
    case kObjSector: ResizeArray(level.sectors, 400, change); break;
    default: FatalError("ResizeObject wrong type %hd", static_cast<short>(type));
    }
}

void FreeLevel() {
    Release(level.things);
    Release(level.lineDefs);
    Release(level.sideDefs);
    Release(level.vertices);
    Release(level.sectors);
    level.oldVertexNumbers.clear();
    level.oldVertexNumbers.shrink_to_fit();
}

void ResetLevel() {
    LevelState fresh;
    fresh.rejectSkipEvery = level.rejectSkipEvery;
    fresh.rejectPattern = level.rejectPattern;
    fresh.clearReject = level.clearReject;
    fresh.newLevelTarget = level.newLevelTarget;
    level = std::move(fresh);
}

std::string LimitLine(int type, int64_t count) {
    const char* kind = type == kObjVertex    ? "Vertexes"
                       : type == kObjLineDef ? "LineDefs"
                       : type == kObjSideDef ? "SideDefs"
                       : type == kObjSector  ? "Sectors"
                                             : nullptr;
    if (!kind || count <= kMaxReferencedObjects)
        return "";
    char text[80];
    std::snprintf(text, sizeof text, "%lld %s, more than the %ld a level can hold", static_cast<long long>(count),
                  kind, static_cast<long>(kMaxReferencedObjects));
    return text;
}

std::string PassedLimit() {
    const std::pair<int, int32_t> kinds[] = {
        {kObjVertex, level.vertices.count},
        {kObjLineDef, level.lineDefs.count},
        {kObjSideDef, level.sideDefs.count},
        {kObjSector, level.sectors.count},
    };
    for (const auto& [type, count] : kinds)
        if (std::string line = LimitLine(type, count); !line.empty())
            return line;
    return "";
}

