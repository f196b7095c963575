// Helpers for the level tests: scripted answers to the level dialogs and
// small maps built in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "level/level.h"
#include "level/level_dialogs.h"
#include "shell/fatal.h"
#include "support/testkit.h"

namespace levelkit {

using testkit::Bytes;

// Answers the level dialogs from queues and logs everything shown, one line
// per box or question ("?" before a question's title, "!" before a box with a
// button, "#" before a box without buttons). A question with no answer queued
// fails the test and is answered no.
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
    std::vector<std::string> questions;   // titles of the questions asked, in order
    std::vector<std::string> proposals;   // names offered by PathEntry
    std::vector<NodeCall> nodeCalls;

    void ShowBox(const std::string& title, const std::vector<std::string>& lines) override {
        Log("#", title, lines);
    }
    void MessageBox(const std::string& title, const std::vector<std::string>& lines) override {
        Log("!", title, lines);
    }
    void PressAnyKey(const std::string& title, const std::string& line) override { Log("!", title, {line}); }
    int ConfirmYes(const std::string& title, const std::string& line) override {
        Log("?", title, {line});
        int answer = 0;
        return Next(confirms, title, answer) ? answer : 0;
    }
    int PathEntry(const std::string& prompt, int maxLength, char* text) override {
        Log("?", prompt, {});
        proposals.push_back(text);
        PathAnswer answer;
        if (!Next(paths, prompt, answer) || !answer.accept)
            return 0;
        if (!answer.text.empty())
            std::strncpy(text, answer.text.c_str(), static_cast<size_t>(maxLength));
        text[maxLength] = 0;
        return 1;
    }
    int NumberForm(const std::string& title, std::vector<NumberField>& fields) override {
        Log("?", title, {});
        FormAnswer answer;
        if (!Next(forms, title, answer))
            return 0;
        for (size_t i = 0; i < fields.size() && i < answer.values.size(); ++i)
            fields[i].value = answer.values[i];
        return answer.accept;
    }
    void ProgressStart(const std::string& title, int32_t) override { Log("#", title, {}); }
    void ProgressUpdate(int32_t) override {}
    void ProgressEnd() override {}
    // Records the call and ends the program as the hand-off does.
    void BuildNodes(const std::string& tempFile, const std::string& outputFile,
                    const std::string& levelName) override {
        nodeCalls.push_back({tempFile, outputFile, levelName});
        throw ProgramExit(kExitHandOff, "hand-off");
    }

    bool Logged(const std::string& text) const {
        for (const std::string& l : log)
            if (l.find(text) != std::string::npos)
                return true;
        return false;
    }

private:
    void Log(const char* kind, const std::string& title, const std::vector<std::string>& lines) {
        if (kind[0] == '?')
            questions.push_back(title);
        log.push_back(kind + title);
        for (const std::string& l : lines)
            log.back() += "|" + l;
    }
    template <typename T>
    static bool Next(std::deque<T>& queue, const std::string& question, T& answer) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected question: " << question;
            return false;
        }
        answer = queue.front();
        queue.pop_front();
        return true;
    }
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
inline MapData Room(int unused = 0) {
    MapData m;
    for (int i = 0; i < unused; ++i)
        m.vertices.push_back({static_cast<int16_t>(1000 + i), static_cast<int16_t>(-1000 - i)});
    for (Vertex v : {Vertex{0, 0}, Vertex{0, 256}, Vertex{256, 256}, Vertex{256, 0}})
        m.vertices.push_back(v);
    for (int16_t i = 0; i < 4; ++i) {
        LineDef l{};
        l.start = static_cast<int16_t>(unused + i);
        l.end = static_cast<int16_t>(unused + (i + 1) % 4);
        l.flags = 1;
        l.sideDef1 = i;
        l.sideDef2 = -1;
        m.lineDefs.push_back(l);
        SideDef s{};
        s.upper[0] = s.lower[0] = '-';
        std::memcpy(s.middle, "STARTAN3", 8);
        m.sideDefs.push_back(s);
    }
    Sector sector{};
    sector.ceilingHeight = 128;
    std::memcpy(sector.floorTexture, "FLOOR4_8", 8);
    std::memcpy(sector.ceilingTexture, "CEIL3_5", 7);
    sector.light = 160;
    m.sectors.push_back(sector);
    m.things.push_back({64, 64, 90, 1, 7});
    m.segs = Bytes(4 * 12, 0x5E);
    m.ssectors = Bytes(4, 0x55);
    m.reject = Bytes(1, 0);
    m.blockmap = Bytes(40, 0xB1);
    return m;
}

// Adds the level's marker and its ten lumps.
inline void AddLevel(testkit::WadBuilder& wad, const std::string& marker, const MapData& map) {
    wad.lump(marker)
        .lump("THINGS", AsBytes(map.things))
        .lump("LINEDEFS", AsBytes(map.lineDefs))
        .lump("SIDEDEFS", AsBytes(map.sideDefs))
        .lump("VERTEXES", AsBytes(map.vertices))
        .lump("SEGS", map.segs)
        .lump("SSECTORS", map.ssectors)
        .lump("NODES", map.nodes)
        .lump("SECTORS", AsBytes(map.sectors))
        .lump("REJECT", map.reject)
        .lump("BLOCKMAP", map.blockmap);
}

}  // namespace levelkit
