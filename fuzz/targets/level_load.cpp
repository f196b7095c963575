// Loading the levels of a PWAD laid over a small IWAD, counting views by
// their nodes as the limits scan does, and editing the first one on the
// headless screen: every mode drawn, objects stepped through.
//
// Input: the PWAD.
#include <cstdio>
#include <string>

#include "base/config.h"
#include "editor/editor.h"
#include "fuzz_kit.h"
#include "level/level.h"
#include "level/level_files.h"
#include "checker/limits_nodes.h"
#include "view3d/preview3d_assets.h"
#include "platform/video.h"
#include "shell/shell.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace {

// Walks the model's references as the loader promises them: every LineDef's
// Vertexes exist, and each array holds its count.
void CheckLoadedLevel() {
    auto fits = [](const auto& array) { return array.count >= 0 && array.count <= array.capacity(); };
    if (!fits(level.things) || !fits(level.lineDefs) || !fits(level.sideDefs) ||
        !fits(level.vertices) || !fits(level.sectors))
        fuzzkit::Fail("a loaded array holds more records than it has room for");
    for (int i = 0; i < level.lineDefs.count; ++i)
        if (!ValidVertex(level.lineDefs[i].start) || !ValidVertex(level.lineDefs[i].end))
            fuzzkit::Fail("loaded LineDef " + std::to_string(i) + " names a missing Vertex");
    if (level.oldVertexNumbers.size() != static_cast<size_t>(level.vertices.count))
        fuzzkit::Fail("the old numbers of the loaded Vertexes do not match their count");
}

// The node lumps as the limits scan takes them: when they are taken, views
// counted by them from the first Vertex end.
void CountByTheNodes() {
    LevelNodes nodes;
    if (!ReadLevelNodes(nodes) || level.vertices.count == 0)
        return;
    PreviewAssets assets = LoadPreviewAssets(level);
    PreviewScene scene = BuildPreviewScene(level, assets);
    NodeWalkCounter walk(nodes, scene, level);
    for (int quarter = 0; quarter < 4; ++quarter)
        walk.Count({double(level.vertices[0].x) + 1, double(level.vertices[0].y) + 1, 41, quarter * 1.5707963});
}

// The shell's EDIT command for a level name, or "" when it names none.
std::string EditCommand(const char* name) {
    short episode = 0, map = 0;
    if (master.gameStyle == kStyleMaps && std::sscanf(name, "MAP%hd", &map) == 1)
        return "E " + std::to_string(map);
    if (master.gameStyle == kStyleEpisodes && std::sscanf(name, "E%hdM%hd", &episode, &map) == 2)
        return "E " + std::to_string(episode) + " " + std::to_string(map);
    return "";
}

const char kEditorScript[] =
    "move 320 240\nkey N\nkey N\nkey L\nkey N\nkey Tab\nkey N\nkey S\nkey N\nkey V\n"
    "key +\nkey +\nkey -\nmove 100 100\nkey T\nkey Esc\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::RunInput(Flavour::Doom, "", [&] {
        fuzzkit::OpenSmallIwad("BASE.WAD", "MAP01");
        fuzzkit::WriteFile(fuzzkit::ScratchFile("IN.WAD"), fuzzkit::AsText(data, size));
        RunCommandLine("READ " + fuzzkit::ScratchFile("IN.WAD"));
        std::string command;
        int loaded = 0;
        for (const LevelListEntry& entry : std::vector<LevelListEntry>(master.levelList)) {
            if (entry.file == 0 || loaded++ == 4)
                continue;
            ResetLevel();
            SetField(level.name, entry.name);
            if (LoadLevel(LevelSource::MasterDirectory)) {
                CheckLoadedLevel();
                CountByTheNodes();
                if (command.empty())
                    command = EditCommand(entry.name);
            }
            FreeLevel();
        }
        if (command.empty())
            return;
        std::string error;
        if (!HeadlessLoadScript(kEditorScript, error))
            fuzzkit::Fail("the editor script: " + error);
        InstallToolkit();
        shell.editor = EditOnGraphicsScreen;
        RunCommandLine(command);
    });
    return 0;
}
