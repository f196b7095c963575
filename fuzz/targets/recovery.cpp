// A recovery file that a run which died left beside a small IWAD: looked
// at as a start does, offered when the editor opens MAP01, taken, restored
// and saved. What the editor holds must name only Vertexes it has, and a
// level it saved must load again.
//
// Input: the recovery file. "@IWAD@" in it stands for the IWAD's full name
// (the scratch directory differs from run to run).
#include <string>

#include "base/config.h"
#include "base/fatal.h"
#include "editor/editor.h"
#include "fuzz_kit.h"
#include "level/level.h"
#include "level/level_files.h"
#include "level/recovery.h"
#include "platform/files.h"
#include "platform/video.h"
#include "shell/shell.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace {

const char kIwadMark[] = "@IWAD@";

// Y takes the changes back; F2 saves them (Enter takes the proposed name, N
// keeps the old nodes).
const char kEditorScript[] = "key Y\nwait 0\nkey F2\nkey Enter\nkey N\nkey N\nwait 0\n";

void CheckReferences(const char* what) {
    for (int i = 0; i < level.lineDefs.count; ++i)
        if (!ValidVertex(level.lineDefs[i].start) || !ValidVertex(level.lineDefs[i].end))
            fuzzkit::Fail(std::string(what) + ": LineDef " + std::to_string(i) + " names a missing Vertex");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::RunInput(Flavour::Doom, "", [&] {
        fuzzkit::OpenSmallIwad("BASE.WAD", "MAP01");
        std::string file = fuzzkit::AsText(data, size);
        for (size_t at = file.find(kIwadMark); at != std::string::npos; at = file.find(kIwadMark, at))
            file.replace(at, sizeof kIwadMark - 1, config.iwadName);
        fuzzkit::WriteFile(fuzzkit::ScratchFile("BrelUnsaved-1.WAD"), file);
        for (const RecoveryInfo& info : FindRecoveryFiles().ours)
            WrittenAtText(info.writtenAt);
        std::string error;
        if (!HeadlessLoadScript(kEditorScript, error))
            fuzzkit::Fail("the editor script: " + error);
        InstallToolkit();
        shell.editor = EditOnGraphicsScreen;
        try {
            RunCommandLine("E 1");
        } catch (const ProgramExit&) {
            // the script's end, in the middle of editing
        }
        CheckReferences("the level in the editor");
        if (!FileExists(fuzzkit::ScratchFile("MAP01.WAD")))
            return;
        ResetLevel();
        SetField(level.name, "MAP01");
        if (!LoadLevel(LevelSource::MasterDirectory))
            fuzzkit::Fail("the level saved does not load");
        CheckReferences("the level saved");
    });
    return 0;
}
