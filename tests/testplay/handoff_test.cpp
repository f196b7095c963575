#include "level/level.h"
#include "base/config.h"
#include "base/work_dir.h"
#include "support/map_kit.h"
#include "support/session_kit.h"
#include "testplay/handoff.h"
#include "testplay_kit.h"
#include "wad/master.h"

namespace {

using namespace testplay;

class HandOffTest : public testkit::WadSession {
protected:
    HandOffTest() : WadSession(Flavour::Doom) {}
    void SetUp() override {
        WadSession::SetUp();
        config.exitHandOff = 1;   // the launcher's way, unless a test says otherwise
    }
};

TEST_F(HandOffTest, NothingIsHandedOffWhenTheConfigurationOrTheScriptCannotBeWritten) {
    testkit::WadBuilder("IWAD").level("MAP01").write(dir.file("DOOM2.WAD"));
    testkit::OpenIwadAt(dir.file("DOOM2.WAD"));
    FILE* iwad = MakeRowReady(0);
    // A directory where the file should be: it cannot be replaced.
    for (const char* blocked : {"Brel.cfg", "BrelPlay.BAT"}) {
        mapkit::ClearMap();
        mapkit::AddRoom(0, 0, 64, 64, mapkit::AddSector());
        std::filesystem::create_directory(dir.file(blocked));
        Ended ended = ExitOf([] { HandOffNodeBuilder("~Brel.WAD", "MAP01.WAD", "MAP01"); });
        EXPECT_EQ(ended.code, -1) << blocked;
        EXPECT_TRUE(testkit::Contains(console.output(), "Unable to create " + dir.file(blocked)));
        EXPECT_TRUE(testkit::Contains(console.output(), "Is a directory"));
        EXPECT_TRUE(testkit::Contains(console.output(), "The hand-off was cancelled."));
        // The level and the files stay for the user to save another way.
        EXPECT_EQ(level.lineDefs.count, 4) << blocked;
        EXPECT_EQ(master.table[0].handle, iwad) << blocked;
        std::filesystem::remove(dir.file(blocked));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("BrelPlay.BAT")));
}

// By default the editor runs the node builder itself, through the same
// script with the adapters first on PATH, and hears how it ended.
TEST_F(HandOffTest, TheNodeBuilderRunsAsAChildAndItsEndComesBack) {
    config.exitHandOff = 0;
    handOff.adapterDir = dir.file("adapters");
    std::filesystem::create_directory(handOff.adapterDir);
    const struct {
        const char* builder;   // the adapter's commands; null: there is none
        NodeBuildEnd end;
        std::vector<std::string> why;
    } cases[] = {
        {"printf '%s|' \"$PWD\" \"$@\" \"${PATH%%:*}\" > args", NodeBuildEnd::Built, {}},
        {"echo 'Map is incomplete' >&2; echo 'Brelbsp: the nodes of MAP07 were NOT built.' >&2; exit 1",
         NodeBuildEnd::Failed,
         {"Brelbsp ended with exit code 1", "Map is incomplete", "Brelbsp: the nodes of MAP07 were NOT built."}},
        {nullptr, NodeBuildEnd::Failed, {"Brelbsp could not be started", "./BrelPlay.BAT: 3: Brelbsp: not found"}},
    };
    testkit::StderrCapture quiet;   // what the adapters say
    for (const auto& c : cases) {
        std::filesystem::remove(handOff.adapterDir + "/Brelbsp");
        if (c.builder)
            WriteScript(handOff.adapterDir + "/Brelbsp", std::string("#!/bin/sh\n") + c.builder + "\n");
        NodeBuildResult built = HandOffNodeBuilder(dir.file("~Brel.WAD"), "NEW $HOME'S.WAD", "MAP07");
        EXPECT_EQ(built.end, c.end) << c.why.size();
        EXPECT_EQ(built.why, c.why);
    }
    EXPECT_EQ(ReadText(dir.file("args")),
              dir.path().substr(0, dir.path().size() - 1) + "|" + dir.file("~Brel.WAD") + "|NEW $HOME'S.WAD|MAP07|" +
                  handOff.adapterDir + "|");
}

}  // namespace
