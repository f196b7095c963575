#include "wad/build.h"

#include <cctype>
#include <cstdint>
#include <numeric>
#include <vector>

#include "platform/console.h"
#include "base/command_words.h"
#include "base/fatal.h"
#include "wad/commands.h"
#include "wad/master.h"
#include "wad/output.h"

namespace {

constexpr int64_t kMaxWadBytes = INT32_MAX;

int64_t KiBRoundedUp(int64_t bytes) { return (bytes + 1023) / 1024; }

// The running total of bytes written, shown in KiB after "Size:", and for a
// group file the first entry of each file's run. On a terminal each figure is
// drawn over the last; in plain mode the row is written whole, paced.
class Progress {
public:
    explicit Progress(int64_t total) : pacer_(total) {
        if (pacer_.InPlace())
            PrintAt(1, 24, ClearLine::Yes, "Size:");
    }
    void File(const std::string& name) {
        file_ = name;
        if (pacer_.InPlace())
            PrintAt(20, 24, ClearLine::No, "%-8s", file_.c_str());
    }
    void Add(int32_t bytes) {
        done_ += bytes;
        long shown = static_cast<long>(KiBRoundedUp(done_));
        if (shown == shown_ || !pacer_.Due(done_))
            return;
        shown_ = shown;
        if (!pacer_.InPlace())
            PrintAt(1, 24, ClearLine::Yes, "Size:");
        PrintAt(6, 24, ClearLine::No, " %ldK", shown);
        if (!pacer_.InPlace() && !file_.empty())
            PrintAt(20, 24, ClearLine::No, "%-8s", file_.c_str());
    }

private:
    ConsoleProgress pacer_;
    int64_t done_ = 0;
    long shown_ = -1;
    std::string file_;
};

// The bytes of the selected master directory entries' data.
int64_t DataSize(const std::vector<size_t>& selection) {
    int64_t total = 0;
    for (size_t i : selection)
        total += MasterDirectory()[i].size;
    return total;
}

// Offsets in a WAD file are signed 32-bit: refuse a file they cannot address.
bool FitsInWad(const std::vector<size_t>& selection, const std::string& name) {
    int64_t total = kWadHeaderSize + static_cast<int64_t>(selection.size()) * kWadEntrySize + DataSize(selection);
    if (total <= kMaxWadBytes)
        return true;
    PrintAt(1, 25, ClearLine::Yes, "%s would be larger than a WAD file can be (2 GiB)", name.c_str());
    return false;
}

// Whether the progress line names the first entry of each file's run.
enum class FileRuns { Unnamed, Named };

// Writes a WAD file of the selected master directory entries: header, their
// data one after another, and a directory with the new offsets.
void WriteWad(const std::string& name, const char* type, const std::vector<size_t>& selection,
              FileRuns runs) {
    if (!FitsInWad(selection, name))
        return;
    OutputFile out;
    if (!CreateOutput(name, out))
        return;
    FILE* stream = out.stream();
    WriteChecked(stream, type, 4);
    WriteLE32(stream, 0);
    WriteLE32(stream, 0);
    Progress progress(DataSize(selection));
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    int lastFile = -1;
    for (size_t i : selection) {
        const WadDirEntry& e = dir[i];
        if (e.file != lastFile) {
            CloseWads(WadRows::Pwads);
            if (runs == FileRuns::Named)
                progress.File(EntryNameText(e.name));
            lastFile = e.file;
        }
        CopyEntryData(stream, e);
        progress.Add(e.size);
    }
    CloseWads(WadRows::Pwads);
    int32_t offset = kWadHeaderSize;
    for (size_t i : selection) {
        WriteDirEntry(stream, offset, dir[i].size, dir[i].name);
        offset += dir[i].size;
    }
    SeekChecked(stream, name.c_str(), 4);
    WriteLE32(stream, static_cast<int32_t>(selection.size()));
    WriteLE32(stream, offset);
    out.Finish();
    PrintAt(1, 25, ClearLine::Yes, "---  All Done ---");
}

bool AnyPwadRead() {
    for (int r = 1; r < kOpenWadRows; ++r)
        if (master.table[r].inUse())
            return true;
    return false;
}

// Asks whether a group file takes the PWADs' other entries too. Each answer
// is a line; the end of the input counts as "no".
GroupContents AskGroupContents() {
    for (;;) {
        PrintAt(1, 25, ClearLine::Yes, "Include Extra Data [y/n] > ");
        std::string answer;
        if (!ConsoleReadLine(answer))
            return GroupContents::Levels;
        size_t first = answer.find_first_not_of(' ');
        int c = first == std::string::npos ? 0 : std::toupper(static_cast<unsigned char>(answer[first]));
        if (c == 'Y' || c == 'N')
            return c == 'Y' ? GroupContents::LevelsAndExtras : GroupContents::Levels;
    }
}

// The master directory entries (by index, in order) that a group file takes.
std::vector<size_t> GroupSelection(GroupContents contents) {
    // A level is its marker and the ten entries after it. The ones a PWAD
    // supplies are taken, whichever PWAD it is; other PWAD entries only with
    // the extra data.
    std::vector<size_t> taken;
    const std::vector<WadDirEntry>& dir = MasterDirectory();
    int levelEntriesLeft = 0;
    for (size_t i = 0; i < dir.size(); ++i) {
        bool fromPwad = dir[i].file != 0;
        bool take;
        if (IsLevelName(dir[i])) {
            levelEntriesLeft = fromPwad ? kLevelLumpCount - 1 : 0;
            take = fromPwad;
        } else if (levelEntriesLeft > 0) {
            --levelEntriesLeft;
            take = fromPwad;
        } else {
            take = contents == GroupContents::LevelsAndExtras && fromPwad;
        }
        if (take)
            taken.push_back(i);
    }
    return taken;
}

}  // namespace

void BuildIwad(const std::string& name) {
    FILE* iwad = MakeRowReady(0);
    int64_t size = iwad ? FileSize(iwad) : -1;
    if (size < 0)
        FatalError("seekend wadfile");
    PrintAt(1, 23, ClearLine::Yes, "Building new Main Wad file %s (size %ldK)", name.c_str(),
            static_cast<long>(KiBRoundedUp(size)));
    std::vector<size_t> all(MasterDirectory().size());
    std::iota(all.begin(), all.end(), size_t{0});
    WriteWad(name, "IWAD", all, FileRuns::Unnamed);
}

void BuildGroup(const std::string& name, GroupContents contents) {
    PrintAt(1, 23, ClearLine::Yes, "Building compound Patch Wad file %s", name.c_str());
    WriteWad(name, "PWAD", GroupSelection(contents), FileRuns::Named);
}

void CommandBuild(CommandWords& words) {
    std::string target;
    if (TargetNameArg(words, "WAD File", target))
        BuildIwad(target);
}

void CommandGroup(CommandWords& words) {
    std::string target;
    if (!TargetNameArg(words, "WAD File", target))
        return;
    if (!AnyPwadRead()) {
        PrintAt(1, 25, ClearLine::Yes, "You have not read any PWAD files to group.");
        return;
    }
    BuildGroup(target, AskGroupContents());
}
