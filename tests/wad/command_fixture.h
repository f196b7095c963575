// Set-up shared by the WAD tests: an IWAD made of named levels and lumps, and
// commands run with their console captured.
#pragma once

#include "base/command_words.h"
#include "support/session_kit.h"
#include "wad/commands.h"
#include "wad/listing.h"
#include "wad/master.h"

namespace wadtest {

using testkit::Bytes;
using testkit::Contains;
using testkit::Count;
using testkit::OpenIwadAt;
using testkit::ReadFileBytes;
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

class WadCommandTest : public testkit::WadSession {
protected:
    // "base.wad": PLAYPAL, the levels, then the extra lumps.
    void MakeIwad(const std::vector<std::string>& levels, const std::vector<std::pair<std::string, Bytes>>& extra = {}) {
        WadBuilder b("IWAD");
        b.lump("PLAYPAL", Bytes(768, 1));
        for (const std::string& l : levels)
            AddLevel(b, l, "iwad");
        for (const auto& e : extra)
            b.lump(e.first, e.second);
        b.write(dir.file("base.wad"));
        OpenIwadAt(dir.file("base.wad"));
    }
    // Writes the PWAD under the file name and reads it; returns its row.
    int Read(const std::string& file, const WadBuilder& wad) {
        wad.write(dir.file(file));
        return ReadPwad(dir.file(file));
    }
    // Runs a command on the words after the command word; returns what it
    // showed. input holds what the console reads: lines of a script, or the
    // keys a person presses.
    std::string Run(void (*command)(CommandWords&), const std::string& words, const std::string& input = "",
                    ConsoleReader reader = ConsoleReader::Script) {
        testkit::ConsoleCapture capture(input, reader);
        CommandWords w(words);
        command(w);
        return capture.output();
    }
    testkit::WadContents Wad(const std::string& file) { return testkit::ReadWad(dir.file(file)); }
    static std::vector<testkit::WadLump> Lumps(const WadBuilder& b) { return testkit::ParseWad(b.bytes()).lumps; }
};

}  // namespace wadtest
