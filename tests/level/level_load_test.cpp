#include "level_fixture.h"

namespace {

using LevelLoadTest = LevelTest;

TEST_F(LevelLoadTest, LevelsThatCannotBeEditedAreRefusedAndTheProgramGoesOn) {
    const std::string damaged = " Damaged " + dir.file("base.wad") + " file ";
    const std::string other = "|which Brel does not edit.";
    // E1M1 in the IWAD, or in a PWAD over a DOOM-format E1M1: a room of
    // the format, changed as the row says; "cut" is DOOM's format with its
    // lumps after LINEDEFS missing (not taken from the next level).
    struct Case {
        const char* what;
        std::string format;
        bool inPwad;
        std::function<void(MapData&)> edit;
        std::string message;   // the box's lines; none: loaded, whole records only
    } cases[] = {
        {"Hexen", "Hexen", false, nullptr, "E1M1 is a Hexen-format level," + other},
        {"Doom 64", "Doom 64", false, nullptr, "E1M1 is a Doom 64-format level," + other},
        {"UDMF in a PWAD", "UDMF", true, nullptr, "E1M1 is a UDMF-format level," + other},
        {"a stray BEHAVIOR lump beside DOOM-format records", "BEHAVIOR", false, nullptr, ""},
        {"a vertex past the end", "DOOM", false, [](MapData& m) { m.lineDefs[3].end = 4; },   // the old count
         "vertex in linedef 3 not valid 3,4 ?|VERTEXES holds vertices 0 to 3"},
        {"no vertex (0xFFFF) and one far past the end", "DOOM", false,
         [](MapData& m) { m.lineDefs[1].start = kNoReference, m.lineDefs[2].start = 40000; },
         "vertex in linedef 1 not valid 65535,2 ?|VERTEXES holds vertices 0 to 3"},
        {"an empty VERTEXES lump", "DOOM", false, [](MapData& m) { m.vertices.clear(); },
         "vertex in linedef 0 not valid 0,1 ?|VERTEXES holds no vertices"},
        {"a lump missing", "cut", false, nullptr, damaged + "SIDEDEFS not found"},
        {"a part-record at the end of every lump", "partial", false, nullptr, ""},
        {"no such level", "none", false, nullptr, damaged + "E1M1 not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WadBuilder iwad("IWAD"), pwad;
        MapData map = Room();
        if (c.edit)
            c.edit(map);
        if (c.inPwad)
            AddLevel(iwad, "E1M1", Room());
        WadBuilder& e1m1 = c.inPwad ? pwad : iwad;
        if (c.format == "DOOM" || c.format == "BEHAVIOR")
            AddLevel(e1m1, "E1M1", map);
        else if (c.format == "cut")
            e1m1.lump("E1M1").lump("THINGS", AsBytes(map.things)).lump("LINEDEFS", AsBytes(map.lineDefs));
        else if (c.format == "partial") {
            WadBuilder whole;
            AddLevel(whole, "E1M1", map);
            for (testkit::WadLump lump : testkit::ParseWad(whole.bytes()).lumps) {
                if (lump.name != "E1M1")
                    lump.data.push_back(0x7F);
                e1m1.lump(lump.name, lump.data);
            }
        }
        else if (c.format != "none")
            AddForeignLevel(e1m1, "E1M1", c.format, map);
        if (c.format == "BEHAVIOR")
            e1m1.lump("BEHAVIOR", Bytes(8, 0));
        AddLevel(iwad, "E1M2", Room());
        ResetMaster();
        WriteIwad(iwad);
        pwad.lump("PLAYPAL", Bytes(768, 0));
        pwad.write(dir.file("other.wad"));
        ASSERT_GT(ReadPwad(dir.file("other.wad")), 0);
        dialogs.log.clear();
        SetField(level.name, "E1M1");
        EXPECT_EQ(LoadLevel(LevelSource::MasterDirectory), c.message.empty());
        if (!c.message.empty()) {
            EXPECT_EQ(dialogs.log.back(), "!Cannot edit E1M1|" + c.message);
            EXPECT_EQ(level.lineDefs.count + level.vertices.count + level.things.count, 0);
        } else {
            EXPECT_EQ((std::vector<int32_t>{level.things.count, level.lineDefs.count, level.sideDefs.count,
                                            level.oldVertexCount, level.sectors.count}),
                      (std::vector<int32_t>{1, 4, 4, 4, 1}));
        }
        // Another level loads as usual afterwards.
        Load("E1M2");
        EXPECT_EQ(level.lineDefs.count, 4);
    }
}

}  // namespace
