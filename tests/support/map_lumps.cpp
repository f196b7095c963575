#include "support/map_lumps.h"

namespace {

using testkit::Bytes;

// Four LineDefs around the room, in the 16-byte layout both formats use.
Bytes WideLineDefs(bool doom64) {
    Bytes lines;
    for (int i = 0; i < 4; ++i) {
        for (int v : {i, (i + 1) % 4, 1})
            testkit::PutLE16(lines, v);
        if (doom64)
            testkit::PutLE16(lines, 0);   // high half of the flags
        lines.resize(lines.size() + (doom64 ? 4 : 6), 0x65);   // special and tag, or special and args
        testkit::PutLE16(lines, i);
        testkit::PutLE16(lines, 0xFFFF);
    }
    return lines;
}

}  // namespace

MapData LevelMapData() {
    MapData map;
    map.things.assign(level.things.begin(), level.things.end());
    map.lineDefs.assign(level.lineDefs.begin(), level.lineDefs.end());
    map.sideDefs.assign(level.sideDefs.begin(), level.sideDefs.end());
    map.vertices.assign(level.vertices.begin(), level.vertices.end());
    map.sectors.assign(level.sectors.begin(), level.sectors.end());
    map.segs.clear();
    map.ssectors.clear();
    map.reject.clear();
    map.blockmap.clear();
    return map;
}

void AddForeignLevel(testkit::WadBuilder& wad, const std::string& marker, const std::string& format,
                     const MapData& room) {
    wad.lump(marker);
    if (format == "UDMF") {
        wad.lump("TEXTMAP", std::string("namespace = \"zdoom\";")).lump("ENDMAP");
        return;
    }
    bool doom64 = format == "Doom 64";
    wad.lump("THINGS", Bytes(doom64 ? 28 : 40, 1)).lump("LINEDEFS", WideLineDefs(doom64));
    wad.lump("SIDEDEFS", AsBytes(room.sideDefs)).lump("VERTEXES", AsBytes(room.vertices));
    wad.lump("SEGS", room.segs).lump("SSECTORS", room.ssectors).lump("NODES", room.nodes);
    wad.lump("SECTORS", AsBytes(room.sectors)).lump("REJECT", room.reject).lump("BLOCKMAP", room.blockmap);
    if (format == "Hexen")
        wad.lump("BEHAVIOR", Bytes{'A', 'C', 'S', 0, 8, 0, 0, 0});
    if (doom64)
        for (const char* name : {"LEAFS", "LIGHTS", "MACROS"})
            wad.lump(name, Bytes(4, 2));
}
