// The set-up every level test shares: a fresh DOOM-flavour session whose
// scratch directory is also the patch path, an empty level and scripted
// dialogs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "level/level.h"
#include "level/level_files.h"
#include "shell/config.h"
#include "shell/fatal.h"
#include "support/level_kit.h"
#include "support/wad_session.h"
#include "wad/master.h"

class LevelTest : public testkit::WadSession {
protected:
    LevelTest() : WadSession(Flavour::Doom) {}
    void SetUp() override {
        WadSession::SetUp();
        SetField(config.patchPath, dir.path().c_str());
        FreeLevel();
        level = LevelState{};
        SetLevelDialogs(&dialogs);
    }
    void TearDown() override {
        SetLevelDialogs(nullptr);
        FreeLevel();
        ResetLevel();
        WadSession::TearDown();
    }

    void WriteIwad(const testkit::WadBuilder& wad) {
        wad.write(dir.file("base.wad"));
        OpenIwadAt(dir.file("base.wad"));
    }
    // Writes a PWAD of the given builder to name and reads it.
    int WritePwad(const std::string& name, const testkit::WadBuilder& wad) {
        wad.write(dir.file(name));
        return ReadPwad(dir.file(name));
    }
    void Load(const std::string& name, int newLevel = 0) {
        SetField(level.name, name.c_str());
        LoadLevel(newLevel);
    }
    // Runs body and returns the message of the program end it comes to (""
    // when it ends normally), expecting that exit code.
    static std::string ExitOf(const std::function<void()>& body, int code = kExitFatal) {
        try {
            body();
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), code);
            return e.what();
        }
        return "";
    }
    // A save under the level episode/map as the editor asks for it, the
    // proposed file name accepted.
    int SaveAs(int16_t episode, int16_t map, int key = kSaveKeyF2) {
        dialogs.paths.push_back({true, ""});
        char* name = ChooseSaveFile(episode, map);
        return name ? SaveLevel(name, key) : 0;
    }

    levelkit::ScriptedDialogs dialogs;
};

// Each LineDef as the game sees it: its fields with the vertex numbers
// replaced by their coordinates (-1, -1 for a vertex that is not there).
inline std::vector<std::vector<int>> ResolvedLineDefs(const testkit::WadContents& wad, size_t from = 0) {
    std::vector<Vertex> v = levelkit::AsRecords<Vertex>(wad.data("VERTEXES", from));
    auto at = [&](int16_t n) {
        return n >= 0 && static_cast<size_t>(n) < v.size() ? v[static_cast<size_t>(n)] : Vertex{-1, -1};
    };
    std::vector<std::vector<int>> out;
    for (const LineDef& l : levelkit::AsRecords<LineDef>(wad.data("LINEDEFS", from)))
        out.push_back({at(l.start).x, at(l.start).y, at(l.end).x, at(l.end).y, l.flags, l.type, l.tag,
                       l.sideDef1, l.sideDef2});
    return out;
}
