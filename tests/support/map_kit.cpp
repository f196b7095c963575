#include "support/map_kit.h"

#include <algorithm>
#include <array>
#include <ctime>

#include "base/config.h"
#include "level/level_files.h"
#include "platform/files.h"
#include "support/map_lumps.h"
#include "support/session_kit.h"
#include "wad/master.h"

namespace mapkit {

namespace {

template <typename T>
int Append(ObjectArray<T>& array, int type, const T& record) {
    ResizeObject(level, type, Resize::AddOne);
    array[array.count - 1] = record;
    return array.count - 1;
}

// Calls f with each of the level's five arrays.
template <typename F>
void ForEachArray(F f) {
    f(level.things);
    f(level.lineDefs);
    f(level.sideDefs);
    f(level.vertices);
    f(level.sectors);
}

}  // namespace

void ClearMap() {
    FreeLevel();
    ResetLevel();
}

std::string LevelArrayBytes() {
    std::string bytes;
    ForEachArray([&](const auto& array) {
        bytes += std::to_string(array.count) + ":";
        bytes.append(reinterpret_cast<const char*>(array.records.data()),
                     static_cast<size_t>(array.count) * sizeof(array.records[0]));
    });
    return bytes;
}

std::string RecoveryFile(const std::string& session, const std::string& levelName) {
    MapData m = LevelMapData();
    testkit::WadBuilder wad;
    wad.lump("UNSAVED", session).lump(levelName).lump("THINGS", AsBytes(m.things));
    wad.lump("LINEDEFS", AsBytes(m.lineDefs)).lump("SIDEDEFS", AsBytes(m.sideDefs));
    wad.lump("VERTEXES", AsBytes(m.vertices)).lump("SECTORS", AsBytes(m.sectors));
    testkit::Bytes bytes = wad.bytes();
    return std::string(bytes.begin(), bytes.end());
}

std::string SessionText(long pid, const std::string& iwad, long session) {
    std::string mark = ProcessStartMark(pid);
    return "written " + std::to_string(static_cast<long long>(std::time(nullptr))) + "\nowner " +
           std::to_string(pid) + " " + std::to_string(session) + " " + (mark.empty() ? "-" : mark) +
           "\niwad " + iwad + "\n";
}

int AddVertex(int x, int y) {
    return Append(level.vertices, kObjVertex, Vertex{int16_t(x), int16_t(y)});
}

int AddSector(int tag, int type, int floor, int ceiling) {
    return Append(level.sectors, kObjSector,
                  Sector{int16_t(floor), int16_t(ceiling), {}, {}, 160, int16_t(type), int16_t(tag)});
}

int AddSideDef(int sector) { return Append(level.sideDefs, kObjSideDef, SideDef{0, 0, {}, {}, {}, uint16_t(sector)}); }

int AddLineDef(int start, int end, int side1, int side2, int flags, int type, int tag) {
    LineDef ld{uint16_t(start), uint16_t(end), int16_t(flags), int16_t(type), int16_t(tag),
               uint16_t(side1), uint16_t(side2)};
    return Append(level.lineDefs, kObjLineDef, ld);
}

int AddThing(int x, int y, int type, int angle, int flags) {
    return Append(level.things, kObjThing,
                  Thing{int16_t(x), int16_t(y), int16_t(angle), int16_t(type), int16_t(flags)});
}

void PadObjectsTo(int last) {
    ForEachArray([last](auto& array) {
        if (array.count == 0)
            return;
        auto first = array.records[0];
        array.records.resize(std::max(array.records.size(), static_cast<size_t>(last) + 1));
        std::fill(array.records.begin() + array.count, array.records.begin() + last + 1, first);
        array.count = last + 1;
    });
}

// Four LineDefs around the corners in turn, their first sides facing inner
// and, with an outer Sector (whose SideDef is made first), two-sided.
static int AddLoop(const std::array<int, 4>& corners, int inner, int outer) {
    int first = level.lineDefs.count;
    for (int i = 0; i < 4; ++i) {
        int back = outer >= 0 ? AddSideDef(outer) : -1;
        AddLineDef(corners[i], corners[(i + 1) % 4], AddSideDef(inner), back, outer >= 0 ? 4 : 1);
    }
    return first;
}

int AddRoom(int x0, int y0, int x1, int y1, int inner, int outer) {
    return AddLoop({AddVertex(x0, y0), AddVertex(x0, y1), AddVertex(x1, y1), AddVertex(x1, y0)}, inner, outer);
}

int AddPillar(int x0, int y0, int x1, int y1, int s) {
    return AddLoop({AddVertex(x0, y0), AddVertex(x1, y0), AddVertex(x1, y1), AddVertex(x0, y1)}, s, -1);
}

bool OpenFreedoom2() {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        return false;
    testkit::OpenIwadAt(iwad);
    return true;
}

bool LoadIwadLevel(const char* name) {
    SetField(level.name, name);
    return LoadLevel(LevelSource::MasterDirectory);
}

}  // namespace mapkit
