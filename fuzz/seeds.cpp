// Writes seed inputs for the fuzz targets, one directory per target:
//
//   fuzz_seeds hand-made DIR   small inputs made from scratch (the corpus
//                              kept in the tree was written this way)
//   fuzz_seeds freedoom DIR    inputs cut from the installed Freedoom IWADs
//                              and the shipped help file; nothing when
//                              Freedoom is not installed
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "fuzz_kit.h"
#include "support/map_lumps.h"
#include "support/picture_kit.h"
#include "support/testkit.h"
#include "source_paths.h"

namespace {

using testkit::Bytes;
using testkit::WadBuilder;
using testkit::WadContents;
using testkit::WadLump;

std::string outDir;

void Write(const std::string& target, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(outDir + "/" + target);
    fuzzkit::WriteFile(outDir + "/" + target + "/" + name, bytes);
}

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Input parts joined by the separator the targets cut them at.
std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? fuzzkit::kPartSeparator : "") + parts[i];
    return out;
}

// A square room: four Vertexes, four one-sided LineDefs, one Sector.
MapData Room() {
    MapData m;
    m.vertices = {{0, 0}, {0, 256}, {256, 256}, {256, 0}};
    for (uint16_t i = 0; i < 4; ++i) {
        m.lineDefs.push_back({i, static_cast<uint16_t>((i + 1) % 4), 1, 0, 0, i, kNoReference});
        m.sideDefs.push_back({0, 0, "-", "-", "WALL", 0});
    }
    return m;
}

void HandMade() {
    Bytes iwad = fuzzkit::SmallIwad("MAP01");
    WadBuilder pwad;
    AddLevel(pwad, "MAP01", Room());
    pwad.lump("PLAYA1", Bytes{1, 0, 1, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 1, 0, 5, 5, 0xFF});
    WadBuilder other;
    other.lump("TEXTURE1", Bytes(4, 0)).level("MAP02");
    Write("wad_open", "iwad-and-pwads", Join({Text(iwad), Text(pwad.bytes()), Text(other.bytes())}));
    Write("wad_open", "iwad-only", Text(iwad));

    Write("level_load", "room", Text(pwad.bytes()));
    // A level for a port: its target in COMPLVL, generalized and Boom types,
    // Sector bits and the new flags.
    MapData port = Room();
    port.lineDefs[0].type = static_cast<int16_t>(0x6091);
    port.lineDefs[1].type = 260;
    port.lineDefs[2].flags = static_cast<int16_t>(0x3A01);
    port.sectors[0].type = static_cast<int16_t>(0x31E8);
    port.things[0].flags = static_cast<int16_t>(0x1E7);
    WadBuilder ported;
    AddLevel(ported, "MAP01", port);
    ported.lump("COMPLVL", std::string("mbf21"));
    Write("level_load", "port-level", Text(ported.bytes()));
    WadBuilder levels;
    MapData bad = Room();
    bad.lineDefs[2].end = 9;
    AddLevel(levels, "MAP03", Room());
    AddLevel(levels, "MAP04", bad);
    AddForeignLevel(levels, "MAP05", "Hexen", Room());
    Write("level_load", "levels", Text(levels.bytes()));

    Write("pictures", "small", Text(fuzzkit::SmallIwad("")));
    WadBuilder pictures("IWAD");
    pictures.lump("PLAYPAL", Bytes(768 * 2, 40));
    pictures.lump("TEXTURE1", testkit::TextureLump({{"TWO", 16, 8, {{0, 0, 0}, {-2, 3, 1}}}}));
    pictures.lump("TEXTURE2", testkit::TextureLump({{"MISS", 8, 8, {{0, 0, 5}}}}));
    pictures.lump("PNAMES", testkit::PnamesLump({"P1", "P2"}));
    pictures.lump("P_START").lump("P1", testkit::PictureLump(2, 2, {{{0, {1, 2}}}, {{1, {3}}}}));
    pictures.lump("P2", testkit::PictureLump(3, 1, {{{0, {4}}}, {}, {{0, {5}}}})).lump("P_END");
    pictures.lump("F_START").lump("F1_START").lump("F1", Bytes(4096, 3)).lump("F1_END");
    pictures.lump("F2_START").lump("SHORT", Bytes(100, 3)).lump("F2_END").lump("F_END");
    Write("pictures", "patches-and-flats", Text(pictures.bytes()));

    for (Flavour flavour : {Flavour::Heretic, Flavour::Doom}) {
        SetFlavour(flavour);
        ResetConfig();
        std::string name = flavour == Flavour::Doom ? "doom" : "heretic";
        Write("config", name, ConfigFileBytes());
        SetField(config.pwadList[2], ("/tmp/" + std::string(60, 'L') + "/LONG.WAD").c_str());
        SetField(config.iwadName, "SOME.WAD");
        Write("config", name + "-long-names", ConfigFileBytes());
    }

    Write("help", "small", Join({"*HLP test\n|-ONE\ny Title\n* a comment\r\nx text \x1erred\n plain\n"
                                 "|-MAIN\nb main\nx see \x1egONE\n|-EMPTY\n: none\n",
                                 "TEXT"}));

    // Recovery files: "@IWAD@" is put in place of the IWAD's name by the target.
    auto recovery = [](const std::string& session, const MapData& m) {
        WadBuilder wad;
        wad.lump("UNSAVED", session).lump("MAP01").lump("THINGS", AsBytes(m.things));
        wad.lump("LINEDEFS", AsBytes(m.lineDefs)).lump("SIDEDEFS", AsBytes(m.sideDefs));
        wad.lump("VERTEXES", AsBytes(m.vertices)).lump("SECTORS", AsBytes(m.sectors));
        return Text(wad.bytes());
    };
    const std::string ended = "written 1733600000\nowner 999999999 1 -\niwad @IWAD@\n";
    Write("recovery", "room", recovery(ended + "pwad /tmp/NONE.WAD\nnodes-stale 0\n", Room()));
    Write("recovery", "older-build", recovery("1733600000", Room()));
    MapData far = Room();
    far.lineDefs[0].start = 60000;
    Write("recovery", "missing-vertex", recovery(ended, far));
    Write("recovery", "time-past-any-clock",
          recovery("written 99999999999999999\nowner 999999999 1 -\niwad @IWAD@\n", Room()));

    Write("script", "keys", "key E\nkey Alt-F2\nkey Shift-Tab\n# comment\n\ntype ABC 12\nkey Enter\n");
    Write("script", "mouse", "move 320 240\nclick left\ndown right\nup right\nclick left 10 10\nwait 500\n"
                             "key Down\nkey Enter\nkey Esc\n");
}

// The entries of a WAD file by name; empty data for a missing one.
Bytes DataOf(const WadContents& wad, const std::string& name) {
    for (const WadLump& lump : wad.lumps)
        if (lump.name == name)
            return lump.data;
    return {};
}

// The level of the WAD whose lumps add up to the fewest bytes.
size_t SmallestLevel(const WadContents& wad) {
    size_t best = 0, bestSize = SIZE_MAX;
    for (size_t i = 0; i + 10 < wad.lumps.size(); ++i) {
        if (wad.lumps[i].name.rfind("MAP", 0) != 0 || !wad.lumps[i].data.empty() ||
            wad.lumps[i + 1].name != "THINGS")
            continue;
        size_t size = 0;
        for (size_t k = 1; k <= 10; ++k)
            size += wad.lumps[i + k].data.size();
        if (size < bestSize) {
            best = i;
            bestSize = size;
        }
    }
    return best;
}

void AddLumps(WadBuilder& wad, const WadContents& from, size_t first, size_t count) {
    for (size_t i = first; i < first + count && i < from.lumps.size(); ++i)
        wad.lump(from.lumps[i].name, from.lumps[i].data);
}

// The first count lumps with data after the marker.
void AddSection(WadBuilder& wad, const WadContents& from, const std::string& start, const std::string& end,
                size_t count) {
    wad.lump(start);
    bool inside = false;
    for (const WadLump& lump : from.lumps) {
        if (lump.name == start)
            inside = true;
        else if (lump.name == end)
            break;
        else if (inside && !lump.data.empty() && count > 0) {
            wad.lump(lump.name, lump.data);
            --count;
        }
    }
    wad.lump(end);
}

void Freedoom() {
    std::string path = testkit::FreedoomIwad(2);
    if (!path.empty()) {
        WadContents wad = testkit::ReadWad(path);
        size_t level = SmallestLevel(wad);
        WadBuilder pwad;
        AddLumps(pwad, wad, level, 11);
        Write("level_load", "freedoom2-level", Text(pwad.bytes()));
        WadBuilder iwad("IWAD");
        iwad.lump("PLAYPAL", DataOf(wad, "PLAYPAL"));
        AddLumps(iwad, wad, level, 11);
        Write("wad_open", "freedoom2-level", Join({Text(iwad.bytes()), Text(pwad.bytes())}));

        WadBuilder pictures("IWAD");
        pictures.lump("PLAYPAL", DataOf(wad, "PLAYPAL")).lump("COLORMAP", DataOf(wad, "COLORMAP"));
        pictures.lump("TEXTURE1", DataOf(wad, "TEXTURE1")).lump("PNAMES", DataOf(wad, "PNAMES"));
        AddSection(pictures, wad, "P_START", "P_END", 8);
        AddSection(pictures, wad, "S_START", "S_END", 8);
        AddSection(pictures, wad, "F_START", "F_END", 4);
        Write("pictures", "freedoom2-pictures", Text(pictures.bytes()));
    }
    std::string helpFile = std::string(ZARN_SOURCE_DIR) + "/data/Brel.HLP";
    Bytes help = testkit::ReadFileBytes(helpFile);
    if (!help.empty())
        Write("help", "shipped", Join({Text(help), "LEVEL"}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::string(argv[1]) != "hand-made" && std::string(argv[1]) != "freedoom")) {
        std::fprintf(stderr, "usage: %s hand-made|freedoom DIR\n", argv[0]);
        return 2;
    }
    outDir = argv[2];
    if (std::string(argv[1]) == "hand-made")
        HandMade();
    else
        Freedoom();
    return 0;
}
