// The node builder's adapter with the real ZDBSP.
#include "support/map_kit.h"
#include "support/map_lumps.h"
#include "support/wad_session.h"
#include "testplay_kit.h"

namespace {

using namespace testplay;
using testkit::Bytes;

class NodeBuildTest : public testkit::WadSession {
protected:
    void SetUp() override {
        if (!HaveZdbsp())
            GTEST_SKIP() << "zdbsp is not installed (Debian package zdbsp)";
        WadSession::SetUp();
    }
};

TEST_F(NodeBuildTest, NodesAreBuiltAndTheOtherEntriesAndTheRejectKept) {
    // A room with a raised platform, in a file with entries of its own.
    mapkit::ClearMap();
    int floor = mapkit::AddSector(), platform = mapkit::AddSector(0, 0, 24);
    mapkit::AddRoom(0, 0, 512, 512, floor);
    mapkit::AddRoom(128, 128, 256, 256, platform, floor);
    mapkit::AddThing(64, 64);
    MapData map = LevelMapData();
    map.reject = Bytes(1, 0x0A);
    testkit::WadBuilder pwad;
    AddLevel(pwad.lump("EXTRA1", "before"), "MAP01", map);
    pwad.lump("EXTRA2", "after").write(dir.file("~Zarn.WAD"));

    Ended run = Shell(dir, "'" + kAdapters + "/Brelbsp' '~Zarn.WAD' 'NEW MAP.WAD' MAP01");
    ASSERT_EQ(run.code, 0) << run.output;
    testkit::WadContents saved = testkit::ReadWad(dir.file("NEW MAP.WAD"));
    EXPECT_EQ(saved.names(), (std::vector<std::string>{"EXTRA1", "MAP01", "THINGS", "LINEDEFS", "SIDEDEFS",
                                                       "VERTEXES", "SEGS", "SSECTORS", "NODES", "SECTORS",
                                                       "REJECT", "BLOCKMAP", "EXTRA2"}));
    EXPECT_EQ(saved.data("EXTRA2"), Bytes({'a', 'f', 't', 'e', 'r'}));
    EXPECT_EQ(saved.data("REJECT"), Bytes(1, 0x0A)) << run.output;
    for (const char* name : {"SEGS", "SSECTORS", "NODES", "BLOCKMAP"})
        EXPECT_FALSE(saved.data(name).empty()) << name;
}

TEST_F(NodeBuildTest, LevelTheNodeBuilderCannotBuildIsSavedAsWritten) {
    testkit::WadBuilder().level("MAP01").write(dir.file("~Brel.WAD"));   // no map in it
    Ended run = Shell(dir, "'" + kAdapters + "/Brelbsp' '~Brel.WAD' OUT.WAD MAP01");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.output.find("the nodes of MAP01 were NOT built"), std::string::npos) << run.output;
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("OUT.WAD")), testkit::ReadFileBytes(dir.file("~Brel.WAD")));
}

}  // namespace
