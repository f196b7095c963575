// The set-up every level test shares: a fresh DOOM-flavour session whose
// scratch directory is also the patch path, an empty level, scripted dialogs
// and small maps built in memory.
#pragma once

#include <algorithm>
#include <functional>
#include <cstdio>
#include <cstring>
#include <deque>
#include <sstream>

#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "base/config.h"
#include "support/map_lumps.h"
#include "support/session_kit.h"
#include "wad/master.h"

using testkit::Bytes;
using testkit::ExitOf;
using testkit::OpenIwadAt;
using testkit::WadBuilder;

// Answers the level dialogs from one queue and logs what is shown: "?title"
// for a question, "!title|line..." for a box to close, "#title|line..." for
// a box left standing. A yes/no question takes "y" or "n"; a file name ""
// (the proposal), "-" (cancel) or a name; a number form its values, after a
// "!" when it is then cancelled. Nothing queued fails the test and cancels.
class ScriptedDialogs : public LevelDialogs {
public:
    std::deque<std::string> answers;
    std::vector<std::string> log;

    void ShowBox(const std::string& t, const std::vector<std::string>& l) override { Log("#" + t, l); }
    void MessageBox(const std::string& t, const std::vector<std::string>& l) override { Log("!" + t, l); }
    void PressAnyKey(const std::string& t, const std::string& line) override { Log("!" + t, {line}); }
    int ConfirmYes(const std::string& t, const std::string& line) override { return Ask(t, {line}) == "y"; }
    int PathEntry(const std::string& prompt, int maxLength, char* text) override {
        std::string answer = Ask(prompt, {});
        if (answer != "-" && !answer.empty())
            std::snprintf(text, static_cast<size_t>(maxLength) + 1, "%s", answer.c_str());
        return answer != "-";
    }
    int NumberForm(const std::string& title, std::vector<NumberField>& fields) override {
        std::istringstream in(Ask(title, {}));
        bool cancelled = in.peek() == '!';
        if (cancelled)
            in.get();
        for (NumberField& f : fields)
            in >> f.value;
        return !cancelled;
    }
    void ProgressStart(const std::string& title, int32_t) override { Log("#" + title, {}); }
    void ProgressUpdate(int32_t) override {}
    void ProgressEnd() override {}
    bool Logged(const std::string& text) const {
        return std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l.find(text) != l.npos; });
    }

private:
    void Log(std::string entry, const std::vector<std::string>& lines) {
        for (const std::string& l : lines)
            entry += "|" + l;
        log.push_back(entry);
    }
    std::string Ask(const std::string& title, const std::vector<std::string>& lines) {
        Log("?" + title, lines);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << title;
            return "-";
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A square room of four vertices, four one-sided LineDefs and one Sector.
inline MapData Room() {
    MapData m;
    m.vertices = {{0, 0}, {0, 256}, {256, 256}, {256, 0}};
    for (int i = 0; i < 4; ++i) {
        m.lineDefs.push_back({static_cast<uint16_t>(i), static_cast<uint16_t>((i + 1) % 4), 1, 0, 0,
                              static_cast<uint16_t>(i), kNoReference});
        m.sideDefs.push_back({0, 0, "-", "-", "BROWN1", 0});
    }
    return m;
}

class LevelTest : public testkit::WadSession {
protected:
    LevelTest() : WadSession(Flavour::Doom) {}
    void SetUp() override {
        WadSession::SetUp();
        SetField(config.patchPath, dir.path().c_str());
        SetLevelDialogs(&dialogs);
    }
    void TearDown() override {
        EXPECT_TRUE(dialogs.answers.empty()) << "answers left: " << dialogs.answers.front();
        WadSession::TearDown();
    }
    // The IWAD opened afresh, no PWAD read.
    void Reopen(const std::string& iwad) {
        ResetMaster();
        std::memset(config.pwadList, 0, sizeof config.pwadList);
        OpenIwadAt(iwad);
    }
    void WriteIwad(const WadBuilder& wad) {
        wad.write(dir.file("base.wad"));
        OpenIwadAt(dir.file("base.wad"));
    }
    // The level of that name loaded (or a new level put in its place).
    void Load(const std::string& name, LevelSource source = LevelSource::MasterDirectory) {
        SetField(level.name, name.c_str());
        EXPECT_TRUE(LoadLevel(source)) << name;
    }
    // A save under the level episode/map as the editor asks for it, the
    // file name typed ("": the proposed name accepted); 0 when refused.
    int SaveAs(int16_t episode, int16_t map, int key = kSaveKeyF2, const std::string& typed = "") {
        dialogs.answers.push_front(typed);
        char* name = ChooseSaveFile(episode, map);
        return name ? SaveLevel(name, key) : 0;
    }

    ScriptedDialogs dialogs;
};
