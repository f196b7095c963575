// A level's lumps held in memory as record arrays, for tests that write
// levels into WAD files and read them back.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "level/level.h"
#include "support/testkit.h"

template <typename T>
testkit::Bytes AsBytes(const std::vector<T>& records) {
    const auto* p = reinterpret_cast<const uint8_t*>(records.data());
    return testkit::Bytes(p, p + records.size() * sizeof(T));
}

template <typename T>
std::vector<T> AsRecords(const testkit::Bytes& bytes) {
    std::vector<T> records(bytes.size() / sizeof(T));
    std::copy_n(bytes.begin(), records.size() * sizeof(T), reinterpret_cast<uint8_t*>(records.data()));
    return records;
}

// A map's lumps in memory.
struct MapData {
    std::vector<Thing> things{{64, 64, 90, 1, 7}};
    std::vector<LineDef> lineDefs;
    std::vector<SideDef> sideDefs;
    std::vector<Vertex> vertices;
    std::vector<Sector> sectors{{0, 128, "FLAT1", "CEIL3_5", 160, 0, 0}};
    testkit::Bytes segs = testkit::Bytes(48, 0x5E), ssectors = testkit::Bytes(4, 0x55), nodes,
                   reject = testkit::Bytes(1, 0), blockmap = testkit::Bytes(40, 0xB1);
};

// The five record arrays of the level model, the other lumps empty.
MapData LevelMapData();

// Adds the level's marker and its ten lumps.
inline void AddLevel(testkit::WadBuilder& wad, const std::string& marker, const MapData& map) {
    wad.lump(marker).lump("THINGS", AsBytes(map.things)).lump("LINEDEFS", AsBytes(map.lineDefs));
    wad.lump("SIDEDEFS", AsBytes(map.sideDefs)).lump("VERTEXES", AsBytes(map.vertices)).lump("SEGS", map.segs);
    wad.lump("SSECTORS", map.ssectors).lump("NODES", map.nodes).lump("SECTORS", AsBytes(map.sectors));
    wad.lump("REJECT", map.reject).lump("BLOCKMAP", map.blockmap);
}

// Adds a level in another format than DOOM's, made from the room's records
// where the formats share them: "Hexen" (20-byte Things, 16-byte LineDefs, a
// BEHAVIOR lump), "Doom 64" (14-byte Things, 16-byte LineDefs with 32-bit
// flags, LEAFS, LIGHTS and MACROS) or "UDMF" (a TEXTMAP). Read as DOOM's,
// the LineDefs name vertices that are not there.
void AddForeignLevel(testkit::WadBuilder& wad, const std::string& marker, const std::string& format,
                     const MapData& room);
