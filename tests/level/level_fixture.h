// The set-up every level test shares: a scratch working directory that is
// also the patch path, a fresh configuration, master directory and level, and
// scripted dialogs.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "shell/config.h"
#include "shell/fatal.h"
#include "shell/flavour.h"
#include "shell/startup.h"
#include "support/level_kit.h"
#include "support/testkit.h"
#include "wad/master.h"

class LevelTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFlavour(Flavour::Doom);
        startup = StartupState{};
        startup.workDir = dir.path();
        ResetConfig();
        SetField(config.patchPath, dir.path().c_str());
        ResetMaster();
        FreeLevel();
        level = LevelState{};
        SetLevelDialogs(&dialogs);
    }
    void TearDown() override {
        SetLevelDialogs(nullptr);
        FreeLevel();
        ResetLevel();
        ResetMaster();
    }

    void OpenIwadAt(const std::string& path) {
        SetField(config.iwadName, path.c_str());
        OpenIwad(config.iwadName);
    }
    void WriteIwad(const testkit::WadBuilder& wad) {
        wad.write(dir.file("base.wad"));
        OpenIwadAt(dir.file("base.wad"));
    }
    // Reads a PWAD as the shell does; returns its row.
    int ReadPwad(const std::string& path) {
        int row = NewPwadRow();
        SetField(config.pwadList[row], path.c_str());
        return LoadPwad(config.pwadList[row]);
    }
    void Load(const std::string& name, int newLevel = 0) {
        SetField(level.name, name.c_str());
        LoadLevel(newLevel);
    }
    // Runs body and returns the message of the fatal error it ends with
    // ("" when it ends normally).
    static std::string FatalOf(const std::function<void()>& body) {
        try {
            body();
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), kExitFatal);
            return e.what();
        }
        return "";
    }
    // F2 on the current level episode/map as the editor stores them.
    int SaveAs(int16_t episode, int16_t map, int key = kSaveKeyF2) {
        char* name = ChooseSaveFile(episode, map);
        if (!name)
            return 0;
        return SaveLevel(name, key);
    }

    testkit::ScratchDir dir;
    testkit::ConsoleCapture console{std::string(64, '\n')};
    levelkit::ScriptedDialogs dialogs;
};
