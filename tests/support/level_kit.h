// Helpers for the level tests: scripted answers to the level dialogs, small
// maps built in memory, and WAD files taken apart for checking.
#pragma once

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "level/level.h"
#include "level/level_dialogs.h"
#include "support/testkit.h"

namespace levelkit {

using testkit::Bytes;

// Answers the level dialogs from queues and logs everything shown, one line
// per box or question ("?" before a question's title, "!" before a box with a
// button, "#" before a box without buttons).
class ScriptedDialogs : public LevelDialogs {
public:
    struct PathAnswer {
        bool accept;
        std::string text;   // empty: accept the proposal as it is
    };
    struct FormAnswer {
        bool accept;
        std::vector<int> values;
    };
    struct NodeCall {
        std::string tempFile, outputFile, levelName;
    };

    std::deque<int> confirms;          // ConfirmYes answers, in order
    std::deque<PathAnswer> paths;
    std::deque<FormAnswer> forms;
    std::vector<std::string> log;
    std::vector<std::string> proposals;   // names offered by PathEntry
    std::vector<NodeCall> nodeCalls;
    int32_t progressTotal = 0;
    int32_t progressDone = 0;

    void ShowBox(const std::string& title, const std::vector<std::string>& lines) override;
    void MessageBox(const std::string& title, const std::vector<std::string>& lines) override;
    int ConfirmYes(const std::string& title, const std::string& line) override;
    void PressAnyKey(const std::string& title, const std::string& line) override;
    int PathEntry(const std::string& prompt, int maxLength, char* text) override;
    int NumberForm(const std::string& title, std::vector<NumberField>& fields) override;
    void ProgressStart(const std::string& title, int32_t total) override;
    void ProgressUpdate(int32_t done) override;
    void ProgressEnd() override {}
    // Records the call and ends the program as the hand-off does.
    void BuildNodes(const std::string& tempFile, const std::string& outputFile,
                    const std::string& levelName) override;

    bool Logged(const std::string& text) const;
    // Questions asked, in order (their titles).
    std::vector<std::string> Questions() const;
};

// A map's lumps in memory.
struct MapData {
    std::vector<Thing> things;
    std::vector<LineDef> lineDefs;
    std::vector<SideDef> sideDefs;
    std::vector<Vertex> vertices;
    std::vector<Sector> sectors;
    Bytes segs, ssectors, nodes, reject, blockmap;
};

template <typename T>
Bytes AsBytes(const std::vector<T>& records) {
    Bytes b(records.size() * sizeof(T));
    if (!b.empty())
        std::memcpy(b.data(), records.data(), b.size());
    return b;
}

template <typename T>
std::vector<T> AsRecords(const Bytes& bytes) {
    std::vector<T> records(bytes.size() / sizeof(T));
    if (!records.empty())
        std::memcpy(records.data(), bytes.data(), records.size() * sizeof(T));
    return records;
}

// A square room of four vertices, four one-sided LineDefs and one Sector,
// with `unused` vertices that no LineDef uses placed before the room's.
MapData Room(int unused = 0);
Sector MakeSector(int floor, int ceiling);
SideDef MakeSideDef(int sector, const char* middle = "STARTAN3");

// Adds the level's marker and its ten lumps.
void AddLevel(testkit::WadBuilder& wad, const std::string& marker, const MapData& map);

// The lumps of a WAD file, in directory order.
struct WadLump {
    std::string name;
    Bytes data;
};
std::vector<WadLump> ReadWad(const std::string& path);
// The data of the first lump so named from index `from` on; fails the test
// when it is missing.
Bytes LumpData(const std::vector<WadLump>& wad, const std::string& name, size_t from = 0);
std::vector<std::string> LumpNames(const std::vector<WadLump>& wad);

}  // namespace levelkit
