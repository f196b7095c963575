// Opening an IWAD, laying one or two PWADs over it with the shell's READ, and
// running the listing and extraction commands on what came out.
//
// Input: IWAD, then PWAD, then a second PWAD, between part separators.
#include <string>
#include <vector>

#include "base/config.h"
#include "fuzz_kit.h"
#include "shell/shell.h"
#include "wad/master.h"

namespace {

// Up to three entry names of the master directory that the commands name:
// the first, the last, and the first one with data.
std::vector<std::string> EntriesToName() {
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    std::vector<std::string> names;
    if (dir.empty())
        return names;
    names.push_back(EntryNameText(dir.front().name));
    names.push_back(EntryNameText(dir.back().name));
    for (const WadDirEntry& e : dir)
        if (e.size > 0) {
            names.push_back(EntryNameText(e.name));
            break;
        }
    return names;
}

// Output files go to the scratch directory under these names.
std::string Out(const char* name) { return " " + fuzzkit::ScratchFile(name); }

void ListAndExtract() {
    for (const std::string& line :
         {std::string("WADS"), std::string("DIR"), std::string("DIRA"), "DIRA *" + Out("A.TXT"),
          std::string("DIRM"), "DIRM ?A*" + Out("M.TXT"), std::string("DIRW 1"), "DIRW *" + Out("W.TXT") + " 2",
          std::string("DIRW 0")})
        RunCommandLine(line);
    for (const std::string& name : EntriesToName()) {
        RunCommandLine("DUMPM " + name);
        RunCommandLine("DUMPM " + name + Out("D.TXT"));
        RunCommandLine("DUMPW " + name + Out("E.TXT") + " 1");
        RunCommandLine("XTRACT " + name + Out("X"));
        RunCommandLine("SAVE " + name + Out("S.WAD") + " COPY");
    }
    RunCommandLine("BUILD" + Out("B.WAD"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> parts = fuzzkit::SplitInput(data, size, 3);
    fuzzkit::RunInput(Flavour::Doom, "", [&] {
        fuzzkit::WriteFile(fuzzkit::ScratchFile("BASE.WAD"), parts[0]);
        fuzzkit::WriteFile(fuzzkit::ScratchFile("ONE.WAD"), parts[1]);
        if (!parts[2].empty())
            fuzzkit::WriteFile(fuzzkit::ScratchFile("TWO.WAD"), parts[2]);
        SetField(config.iwadName, fuzzkit::ScratchFile("BASE.WAD").c_str());
        OpenIwad(config.iwadName);
        RunCommandLine("READ" + Out("ONE.WAD"));
        if (!parts[2].empty())
            RunCommandLine("READ" + Out("TWO.WAD"));
        RunCommandLine("READ" + Out("ONE.WAD"));
        ListAndExtract();
    });
    return 0;
}
