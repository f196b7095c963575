#include "support/builder_scenes.h"

#include <cstring>
#include <initializer_list>

#include "level/level.h"
#include "support/map_kit.h"

using mapkit::AddLineDef;
using mapkit::AddVertex;

namespace {

void Name(char (&field)[8], const char* name) { std::strncpy(field, name, sizeof field); }

// Walls of the Sector from each Vertex of the chain to the next.
void Walls(int sector, std::initializer_list<int> chain) {
    for (const int* v = chain.begin(); v + 1 < chain.end(); ++v)
        AddLineDef(v[0], v[1], AddWallSide(sector));
}

}  // namespace

int AddSceneSector(int floor, int ceiling) {
    int s = mapkit::AddSector(0, 0, floor, ceiling);
    Name(level.sectors[s].floorTexture, "FLOOR4_8");
    Name(level.sectors[s].ceilingTexture, "CEIL3_5");
    return s;
}

int AddWallSide(int sector) {
    int sd = AddOpenSide(sector);
    Name(level.sideDefs[sd].middle, "STARTAN3");
    return sd;
}

int AddOpenSide(int sector) {
    int sd = mapkit::AddSideDef(sector);
    SideDef& side = level.sideDefs[sd];
    Name(side.upper, "-");
    Name(side.lower, "-");
    Name(side.middle, "-");
    return sd;
}

DoorwayScene AddDoorway(int x, int y) {
    DoorwayScene d{AddSceneSector(0, 128), AddSceneSector(0, 128), AddSceneSector(8, 120)};
    int a = AddVertex(x, y), b = AddVertex(x + 64, y), c = AddVertex(x + 64, y + 16), e = AddVertex(x, y + 16);
    int f = AddVertex(x, y - 64), g = AddVertex(x + 64, y - 64), h = AddVertex(x, y + 80),
        i = AddVertex(x + 64, y + 80);
    Walls(d.south, {a, b, g, f, a});   // 0: south face
    Walls(d.north, {c, e, h, i, c});   // 4: north face
    AddLineDef(a, e, AddWallSide(d.way));     // 8: west edge
    AddLineDef(c, b, AddWallSide(d.way));     // 9: east edge
    return d;
}

LiftScene AddLiftScene(int x, int y) {
    LiftScene s{AddSceneSector(0, 100), AddSceneSector(0, 128), AddSceneSector(64, 200)};
    int a = AddVertex(x, y), b = AddVertex(x, y + 64), c = AddVertex(x + 64, y + 64), d = AddVertex(x + 64, y);
    int e = AddVertex(x - 64, y), f = AddVertex(x - 64, y + 64), g = AddVertex(x + 128, y + 64),
        h = AddVertex(x + 128, y);
    AddLineDef(a, b, AddOpenSide(s.lift), AddOpenSide(s.low), 4);    // 0: low border, lift first
    AddLineDef(b, c, AddWallSide(s.lift));                          // 1: wall
    AddLineDef(d, c, AddOpenSide(s.high), AddOpenSide(s.lift), 4);   // 2: high border, lift second
    AddLineDef(d, a, AddWallSide(s.lift));                          // 3: wall
    Walls(s.low, {e, f, b});
    Walls(s.low, {a, e});
    Walls(s.high, {c, g, h, d});
    return s;
}

int AddCorridor(int x, int y, bool sameWay) {
    int corridor = AddSceneSector(0, 128);
    int v[8] = {AddVertex(x, y),           AddVertex(x, y + 64),      AddVertex(x, y + 192),
                AddVertex(x, y + 256),     AddVertex(x + 64, y + 256), AddVertex(x + 64, y + 192),
                AddVertex(x + 64, y + 64), AddVertex(x + 64, y)};
    for (int i = 0; i < 8; ++i) {
        if (i == 5 && sameWay)
            AddLineDef(v[6], v[5], -1, AddOpenSide(corridor), 4);
        else
            AddLineDef(v[i], v[(i + 1) % 8], AddWallSide(corridor));
    }
    return corridor;
}

void AddRoomsBesideDoor(int sector, int first) {
    const Vertex bl = level.vertices[first], tr = level.vertices[first + 2];
    int w1 = AddVertex(bl.x - 256, bl.y), w2 = AddVertex(bl.x - 256, tr.y);
    int e1 = AddVertex(tr.x + 256, tr.y), e2 = AddVertex(tr.x + 256, bl.y);
    Walls(sector, {w1, w2, first + 3});
    Walls(sector, {first, w1});
    Walls(sector, {first + 2, e1, e2, first + 1});
}

void AddAlignmentChain() {
    int room = mapkit::AddSector();
    int v[5] = {AddVertex(0, 0), AddVertex(0, 64), AddVertex(0, 128), AddVertex(0, 160), AddVertex(64, 160)};
    for (int i = 0; i < 4; ++i) {
        int sd = mapkit::AddSideDef(room);
        Name(level.sideDefs[sd].middle, i < 3 ? "WALL" : "BRICK");
        level.sideDefs[sd].xOffset = 7;
        AddLineDef(v[i], v[i + 1], sd);
    }
}
