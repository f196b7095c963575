// Set-up shared by the tests of the WAD commands: a scratch working
// directory, an IWAD made of named levels and lumps, PWADs read over it, and
// commands run with their console captured.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "shell/command_words.h"
#include "shell/config.h"
#include "shell/flavour.h"
#include "shell/startup.h"
#include "support/testkit.h"
#include "wad/listing.h"
#include "wad/master.h"

namespace wadtest {

using testkit::Bytes;
using testkit::WadBuilder;

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A level whose lumps hold "<level>/<lump>/<origin>", so that every lump's
// data tells where it came from.
inline WadBuilder& AddLevel(WadBuilder& b, const std::string& level, const std::string& origin) {
    b.lump(level);
    for (const char* name : testkit::kLevelLumps)
        b.lump(name, level + "/" + name + "/" + origin);
    return b;
}

struct ParsedWad {
    std::string type;
    std::vector<std::pair<std::string, Bytes>> entries;
    std::vector<std::string> names() const {
        std::vector<std::string> n;
        for (const auto& e : entries)
            n.push_back(e.first);
        return n;
    }
};

inline int32_t LE32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

inline ParsedWad ParseWad(const Bytes& b) {
    ParsedWad w;
    if (b.size() < 12)
        return w;
    w.type.assign(b.begin(), b.begin() + 4);
    int32_t count = LE32(b, 4);
    int32_t dir = LE32(b, 8);
    for (int32_t i = 0; i < count; ++i) {
        size_t at = static_cast<size_t>(dir) + 16 * static_cast<size_t>(i);
        int32_t offset = LE32(b, at), size = LE32(b, at + 4);
        std::string name(reinterpret_cast<const char*>(&b[at + 8]), 8);
        name = name.substr(0, name.find('\0'));
        w.entries.emplace_back(name, Bytes(b.begin() + offset, b.begin() + offset + size));
    }
    return w;
}

class WadCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFlavour(Flavour::Heretic);
        startup = StartupState{};
        startup.workDir = dir.path();
        ResetConfig();
        ResetMaster();
        ResetListingState();
    }
    void TearDown() override { ResetMaster(); }

    // "base.wad": PLAYPAL, the levels, then the extra lumps.
    void MakeIwad(const std::vector<std::string>& levels,
                  const std::vector<std::pair<std::string, Bytes>>& extra = {}) {
        WadBuilder b("IWAD");
        b.lump("PLAYPAL", Bytes(768, 1));
        for (const std::string& l : levels)
            AddLevel(b, l, "iwad");
        for (const auto& e : extra)
            b.lump(e.first, e.second);
        b.write(dir.file("base.wad"));
        OpenIwadNamed(dir.file("base.wad"));
    }
    void OpenIwadNamed(const std::string& path) {
        testkit::ConsoleCapture quiet;
        SetField(config.iwadName, path.c_str());
        OpenIwad(config.iwadName);
    }
    int Read(const std::string& file) {
        testkit::ConsoleCapture quiet(std::string(20, '\n'));
        int row = NewPwadRow();
        SetField(config.pwadList[row], dir.file(file).c_str());
        int r = LoadPwad(config.pwadList[row]);
        if (r <= 0)
            config.pwadList[row][0] = 0;
        return r;
    }
    // Runs a command on the words after the command word; returns what it
    // showed. input holds the lines the console reads.
    std::string Run(void (*command)(CommandWords&), const std::string& words,
                    const std::string& input = "") {
        testkit::ConsoleCapture capture(input);
        CommandWords w(words);
        command(w);
        return capture.output();
    }
    ParsedWad ReadWad(const std::string& file) { return ParseWad(testkit::ReadFileBytes(dir.file(file))); }
    bool Exists(const std::string& file) { return std::filesystem::exists(dir.file(file)); }

    testkit::ScratchDir dir;
};

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace wadtest
