// Level loading and saving speed on real maps: Freedoom 2's MAP12 (about
// 10,900 LineDefs) loaded and saved, and every Freedoom level loaded in one run;
// recording, undoing and redoing changes to MAP12.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "level/history.h"
#include "level/recovery.h"
#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "platform/console.h"
#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "wad/master.h"

namespace {

using Clock = std::chrono::steady_clock;

// Accepts every proposed name and says no to every question.
class QuietDialogs : public ConsoleLevelDialogs {
public:
    void ShowBox(const std::string&, const std::vector<std::string>&) override {}
    void MessageBox(const std::string&, const std::vector<std::string>&) override {}
    int ConfirmYes(const std::string&, const std::string&) override { return 0; }
    int PathEntry(const std::string&, int, char* text) override { return text[0] != 0; }
    void ProgressStart(const std::string&, int32_t) override {}
};

double Milliseconds(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void OpenIwadOnly(const std::string& path) {
    ResetMaster();
    for (auto& row : config.pwadList)
        row[0] = 0;
    SetField(config.iwadName, path.c_str());
    OpenIwad(config.iwadName);
}

void Choose(const char* name, int16_t map) {
    SetField(level.name, name);
    config.lastEpisode = 1;
    config.lastMap = map;
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s min %7.3f ms  median %7.3f ms  (%zu runs)\n", what, times.front(),
                times[times.size() / 2], times.size());
}

template <typename T>
void DeleteMiddle(ObjectArray<T>& array) {
    int n = array.count / 2;
    std::memmove(&array[n], &array[n + 1], static_cast<size_t>(array.count - n - 1) * sizeof(T));
    --array.count;
}

// What every editor command pays (a check that finds no change), one small
// change recorded, and undo and redo of the largest kind of single step: a
// LineDef and a SideDef deleted from the middle, every later record moved.
void MeasureHistory() {
    ResetHistory();
    std::vector<double> unchanged, small, undo, redo;
    for (int i = 0; i < 200; ++i) {
        Clock::time_point start = Clock::now();
        RecordStep();
        unchanged.push_back(Milliseconds(start));
        level.vertices[i * 37 % level.vertices.count].x += 8;
        start = Clock::now();
        RecordStep();
        small.push_back(Milliseconds(start));
    }
    for (int i = 0; i < 40; ++i) {
        DeleteMiddle(level.lineDefs);
        DeleteMiddle(level.sideDefs);
        RecordStep();
        Clock::time_point start = Clock::now();
        Undo();
        undo.push_back(Milliseconds(start));
        start = Clock::now();
        Redo();
        redo.push_back(Milliseconds(start));
    }
    Report("record a command that changed nothing", unchanged);
    Report("record moving one Vertex", small);
    Report("undo a deletion from the middle", undo);
    Report("redo it", redo);
    std::printf("history: %d steps in %.1f MB\n", HistorySteps(), HistoryBytes() / 1048576.0);
}

}  // namespace

int main() {
    const std::string doom2 = "/usr/share/games/doom/freedoom2.wad";
    const std::string doom1 = "/usr/share/games/doom/freedoom1.wad";
    if (!std::filesystem::exists(doom1) || !std::filesystem::exists(doom2)) {
        std::printf("Freedoom is not installed: nothing to measure\n");
        return 0;
    }
    std::string work = std::filesystem::temp_directory_path().string() + "/level_bench/";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    FILE* nowhere = std::fopen("/dev/null", "w+");
    ConsoleUsePlainStreams(nowhere, nowhere);
    SetFlavour(Flavour::Doom);
    ResetConfig();
    SetWorkDir(work);
    SetField(config.patchPath, work.c_str());
    QuietDialogs dialogs;
    SetLevelDialogs(&dialogs);

    const int runs = 40;
    std::vector<double> loads, saves;
    OpenIwadOnly(doom2);
    for (int i = 0; i < runs; ++i) {
        Choose("MAP12", 12);
        Clock::time_point start = Clock::now();
        LoadLevel(LevelSource::MasterDirectory);
        loads.push_back(Milliseconds(start));
    }
    std::printf("MAP12: %d LineDefs, %d SideDefs, %d Vertexes, %d Sectors, %d Things\n",
                level.lineDefs.count, level.sideDefs.count, level.vertices.count,
                level.sectors.count, level.things.count);
    Report("load MAP12", loads);
    MeasureHistory();

    for (int i = 0; i < runs; ++i) {
        OpenIwadOnly(doom2);
        Choose("MAP12", 12);
        LoadLevel(LevelSource::MasterDirectory);
        std::filesystem::remove(work + "MAP12.WAD");
        Clock::time_point start = Clock::now();
        char* name = ChooseSaveFile(1, 12);
        SaveLevel(name, kSaveKeyF2);
        saves.push_back(Milliseconds(start));
    }
    Report("save MAP12 (new PWAD, read back)", saves);

    // The editor writes this between two frames while edits are unsaved.
    std::vector<double> recoveries;
    for (int i = 0; i < runs; ++i) {
        std::string error;
        Clock::time_point start = Clock::now();
        WriteRecoveryFile(error);
        recoveries.push_back(Milliseconds(start));
    }
    RemoveRecoveryFile();
    Report("write the recovery file of MAP12", recoveries);

    std::vector<double> everything;
    for (int i = 0; i < 5; ++i) {
        int levels = 0;
        Clock::time_point start = Clock::now();
        for (const std::string& iwad : {doom1, doom2}) {
            OpenIwadOnly(iwad);
            std::vector<LevelListEntry> list = master.levelList;
            for (const LevelListEntry& l : list) {
                SetField(level.name, l.name);
                LoadLevel(LevelSource::MasterDirectory);
                ++levels;
            }
        }
        everything.push_back(Milliseconds(start));
        if (i == 0)
            std::printf("all Freedoom levels: %d\n", levels);
    }
    Report("load all Freedoom levels", everything);

    SetLevelDialogs(nullptr);
    FreeLevel();
    ResetMaster();
    ConsoleUsePlainStreams(nullptr, nullptr);
    std::fclose(nowhere);
    std::filesystem::remove_all(work);
    return 0;
}
