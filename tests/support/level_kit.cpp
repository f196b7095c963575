#include "support/level_kit.h"

#include <gtest/gtest.h>

#include "shell/fatal.h"

namespace levelkit {

namespace {

int32_t LE32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

std::string Joined(const std::string& title, const std::vector<std::string>& lines) {
    std::string text = title;
    for (const std::string& l : lines)
        text += "|" + l;
    return text;
}

}  // namespace

void ScriptedDialogs::ShowBox(const std::string& title, const std::vector<std::string>& lines) {
    log.push_back("#" + Joined(title, lines));
}

void ScriptedDialogs::MessageBox(const std::string& title, const std::vector<std::string>& lines) {
    log.push_back("!" + Joined(title, lines));
}

int ScriptedDialogs::ConfirmYes(const std::string& title, const std::string& line) {
    log.push_back("?" + Joined(title, {line}));
    if (confirms.empty()) {
        ADD_FAILURE() << "unexpected question: " << title;
        return 0;
    }
    int answer = confirms.front();
    confirms.pop_front();
    return answer;
}

void ScriptedDialogs::PressAnyKey(const std::string& title, const std::string& line) {
    log.push_back("!" + Joined(title, {line}));
}

int ScriptedDialogs::PathEntry(const std::string& prompt, int maxLength, char* text) {
    log.push_back("?" + prompt);
    proposals.push_back(text);
    if (paths.empty()) {
        ADD_FAILURE() << "unexpected path entry: " << prompt;
        return 0;
    }
    PathAnswer answer = paths.front();
    paths.pop_front();
    if (!answer.accept)
        return 0;
    if (!answer.text.empty())
        std::strncpy(text, answer.text.c_str(), static_cast<size_t>(maxLength));
    text[maxLength] = 0;
    return 1;
}

int ScriptedDialogs::NumberForm(const std::string& title, std::vector<NumberField>& fields) {
    log.push_back("?" + title);
    if (forms.empty()) {
        ADD_FAILURE() << "unexpected form: " << title;
        return 0;
    }
    FormAnswer answer = forms.front();
    forms.pop_front();
    for (size_t i = 0; i < fields.size() && i < answer.values.size(); ++i)
        fields[i].value = answer.values[i];
    return answer.accept;
}

void ScriptedDialogs::ProgressStart(const std::string& title, int32_t total) {
    log.push_back("#" + title);
    progressTotal = total;
    progressDone = 0;
}

void ScriptedDialogs::ProgressUpdate(int32_t done) { progressDone = done; }

void ScriptedDialogs::BuildNodes(const std::string& tempFile, const std::string& outputFile,
                                 const std::string& levelName) {
    nodeCalls.push_back({tempFile, outputFile, levelName});
    throw ProgramExit(kExitHandOff, "hand-off");
}

bool ScriptedDialogs::Logged(const std::string& text) const {
    for (const std::string& l : log)
        if (l.find(text) != std::string::npos)
            return true;
    return false;
}

std::vector<std::string> ScriptedDialogs::Questions() const {
    std::vector<std::string> q;
    for (const std::string& l : log)
        if (!l.empty() && l[0] == '?')
            q.push_back(l.substr(1, l.find('|') == std::string::npos ? std::string::npos : l.find('|') - 1));
    return q;
}

Sector MakeSector(int floor, int ceiling) {
    Sector s{};
    s.floorHeight = static_cast<int16_t>(floor);
    s.ceilingHeight = static_cast<int16_t>(ceiling);
    std::memcpy(s.floorTexture, "FLOOR4_8", 8);
    std::memcpy(s.ceilingTexture, "CEIL3_5", 7);
    s.light = 160;
    return s;
}

SideDef MakeSideDef(int sector, const char* middle) {
    SideDef s{};
    s.upper[0] = '-';
    s.lower[0] = '-';
    std::strncpy(s.middle, middle, 8);
    s.sector = static_cast<int16_t>(sector);
    return s;
}

MapData Room(int unused) {
    MapData m;
    for (int i = 0; i < unused; ++i)
        m.vertices.push_back({static_cast<int16_t>(1000 + i), static_cast<int16_t>(-1000 - i)});
    int16_t base = static_cast<int16_t>(unused);
    m.vertices.push_back({0, 0});
    m.vertices.push_back({0, 256});
    m.vertices.push_back({256, 256});
    m.vertices.push_back({256, 0});
    for (int16_t i = 0; i < 4; ++i) {
        LineDef l{};
        l.start = static_cast<int16_t>(base + i);
        l.end = static_cast<int16_t>(base + (i + 1) % 4);
        l.flags = 1;
        l.sideDef1 = i;
        l.sideDef2 = -1;
        m.lineDefs.push_back(l);
        m.sideDefs.push_back(MakeSideDef(0));
    }
    m.sectors.push_back(MakeSector(0, 128));
    m.things.push_back({64, 64, 90, 1, 7});
    m.segs = Bytes(4 * 12, 0x5E);
    m.ssectors = Bytes(4, 0x55);
    m.nodes = Bytes(0);
    m.reject = Bytes(1, 0);
    m.blockmap = Bytes(40, 0xB1);
    return m;
}

void AddLevel(testkit::WadBuilder& wad, const std::string& marker, const MapData& map) {
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

std::vector<WadLump> ReadWad(const std::string& path) {
    Bytes file = testkit::ReadFileBytes(path);
    std::vector<WadLump> lumps;
    if (file.size() < 12) {
        ADD_FAILURE() << path << " is too short for a WAD";
        return lumps;
    }
    int32_t count = LE32(file, 4);
    int32_t dir = LE32(file, 8);
    for (int32_t i = 0; i < count; ++i) {
        size_t at = static_cast<size_t>(dir) + static_cast<size_t>(i) * 16;
        if (at + 16 > file.size()) {
            ADD_FAILURE() << path << ": directory outside the file";
            break;
        }
        int32_t offset = LE32(file, at);
        int32_t size = LE32(file, at + 4);
        WadLump lump;
        lump.name = std::string(reinterpret_cast<const char*>(&file[at + 8]),
                                strnlen(reinterpret_cast<const char*>(&file[at + 8]), 8));
        if (size > 0 && static_cast<size_t>(offset) + static_cast<size_t>(size) <= file.size())
            lump.data.assign(file.begin() + offset, file.begin() + offset + size);
        else if (size > 0)
            ADD_FAILURE() << path << ": lump " << lump.name << " outside the file";
        lumps.push_back(lump);
    }
    return lumps;
}

Bytes LumpData(const std::vector<WadLump>& wad, const std::string& name, size_t from) {
    for (size_t i = from; i < wad.size(); ++i)
        if (wad[i].name == name)
            return wad[i].data;
    ADD_FAILURE() << "lump " << name << " missing";
    return {};
}

std::vector<std::string> LumpNames(const std::vector<WadLump>& wad) {
    std::vector<std::string> names;
    for (const WadLump& l : wad)
        names.push_back(l.name);
    return names;
}

}  // namespace levelkit
