#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "level/history.h"
#include "level/recovery.h"
#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "platform/files.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "wad/master.h"

namespace {

NodeBuilderHandOff nodeBuilderHandOff = nullptr;

constexpr int kSaveNameLength = kFileNameField - 1;
constexpr const char* kNotSavedLine = "The level was not saved.";

// One entry of the directory being written.
struct WrittenEntry {
    char name[8];
    int32_t offset;
    int32_t size;
};

// What one save has decided and written so far.
struct SaveJob {
    std::string chosen;   // the file the level is saved as
    std::string output;   // chosen, or the temporary file for the node builder
    int key = 0;
    bool rebuild = false;
    bool clearReject = false;
    bool copyAll = false;
    int32_t fillCounter = 0;
    ReplacementFile file;
    std::string source;   // the file data is being copied from
    int32_t position = 0;
    int32_t done = 0;
    std::vector<WrittenEntry> directory;
    // The level's own entries in its file's directory: [levelFirst, levelEnd).
    size_t levelFirst = 0;
    size_t levelEnd = 0;
};

bool IsNodeKey(int key) { return key == kSaveKeyAltF2 || key == kSaveKeyAltF3; }

std::string UpperText(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

int CountLevelsInFile(int row) {
    int count = 0;
    for (const WadDirEntry& e : master.table[row].dir)
        count += IsLevelName(e);
    return count;
}

// Marks the open PWAD of row as the file the save replaces. It stays where it
// is, whole, and the lumps not edited are read from it, until the new file
// is complete; only then is it kept under its ".BAK" name and replaced.
void PlanBackup(int r) { SetField(master.table[r].tag, sizeof master.table[r].tag, ".BAK"); }

// Where the file the save replaces is to be kept ("" when the save replaces
// no open PWAD).
std::string PlannedBackupName() {
    for (int r = 1; r < kOpenWadRows; ++r) {
        const WadFile& row = master.table[r];
        if (row.inUse() && row.name && std::strncmp(row.tag, ".BAK", 4) == 0)
            return BackupName(row.name);
    }
    return std::string();
}

// After a save that did not replace the file: it is an ordinary PWAD again.
void ForgetBackupPlans() {
    for (WadFile& row : master.table)
        if (std::strncmp(row.tag, ".BAK", 4) == 0)
            row.tag[0] = 0;
}

// Asks for the output file name until it is one the level may be written to.
bool AskFileName(char (&name)[kFileNameField]) {
    for (;;) {
        if (!Dialogs().PathEntry("New WAD file Name", kSaveNameLength, name))
            return false;
        NormalizeWadName(name, sizeof name);
        if (!name[0])
            Dialogs().MessageBox("Path/Name is not Valid", {name});
        else if (SameFileName(name, config.iwadName))
            Dialogs().MessageBox("This is the IWAD", {name, "The IWAD is never written: choose another name."});
        else
            return true;
    }
}

// --- SaveLevel's questions -------------------------------------------------

// The node keys build the nodes without asking: that is what they are for.
// Whether to clear the REJECT table is asked once a run.
void AskNodes(SaveJob& job) {
    if (IsNodeKey(job.key))
        job.rebuild = true;
    else if (level.mapChanged)
        job.rebuild = Dialogs().ConfirmYes("Map Changed, Rebuild NODES ?",
                                           "Not playable if no NODES are built!") == 1;
    if (!job.rebuild) {
        job.output = job.chosen;
        return;
    }
    job.output = WorkDir() + Names().tempWad;
    if (config.exitHandOff && master.releaseNameLists)   // the program ends for the node builder
        master.releaseNameLists();
    if (level.clearReject == RejectAnswer::NotAsked)
        level.clearReject = Dialogs().ConfirmYes("Clear REJECT ?", "(N copies old)") == 1 ? RejectAnswer::Clear
                                                                                           : RejectAnswer::Copy;
    job.clearReject = level.clearReject == RejectAnswer::Clear;
}

void AskRejectMask(SaveJob& job) {
    bool wanted = job.key == kSaveKeyAltF8 || level.rejectSkipEvery != 0 ||
                  level.rejectPattern != 0 || (IsNodeKey(job.key) && job.clearReject);
    if (!wanted)
        return;
    Dialogs().ShowBox("Skip/Pattern", {" 0/0   = all (normal)", " 0/255 = no  attacks",
                                       " 1/255 = 50% attacks", " 3/255 = 33% attacks",
                                       " ?/ ?  = ? who knows"});
    std::vector<NumberField> fields = {{"Skip Every", 0, 100, level.rejectSkipEvery},
                                       {"Pattern", 0, 255, level.rejectPattern}};
    int accepted = Dialogs().NumberForm("Reject Mask", fields);
    level.rejectSkipEvery = fields[0].value;
    level.rejectPattern = fields[1].value;
    if (accepted) {
        job.fillCounter = level.rejectSkipEvery + 1;
        job.clearReject = true;
    }
}

const WadFile& LevelFile() { return master.table[master.currentLevelRow]; }

// Finds the level among its own file's entries: its marker and the level
// lumps that follow it.
void FindLevelInFile(SaveJob& job) {
    const std::vector<WadDirEntry>& dir = LevelFile().dir;
    job.levelFirst = job.levelEnd = dir.size();
    if (level.markerIndex < 0 || static_cast<size_t>(level.markerIndex) >= MasterDirectory().size())
        return;
    const WadDirEntry& marker = MasterDirectory()[static_cast<size_t>(level.markerIndex)];
    for (size_t i = 0; i < dir.size(); ++i) {
        if (IsLevelName(dir[i]) && SameEntryName(dir[i].name, marker.name)) {
            job.levelFirst = i;
            break;
        }
    }
    size_t end = job.levelFirst + (job.levelFirst < dir.size());
    auto isLevelLump = [](const WadDirEntry& e) {
        return std::any_of(std::begin(kLevelLumpNames), std::end(kLevelLumpNames),
                           [&](const char* n) { return SameEntryName(e.name, n); });
    };
    while (end < dir.size() && end - job.levelFirst < kLevelLumpCount && isLevelLump(dir[end]))
        ++end;
    job.levelEnd = end;
}

bool IsCompLevelLump(const WadDirEntry& e) { return SameEntryName(e.name, kCompLevelLumpName); }

// The level's file holds more than the level: the COMPLVL lump does not
// count, as the save writes it anyway.
bool HoldsMoreThanTheLevel() {
    const std::vector<WadDirEntry>& dir = LevelFile().dir;
    size_t own = dir.size() - static_cast<size_t>(std::count_if(dir.begin(), dir.end(), IsCompLevelLump));
    return own > kLevelLumpCount;
}

void AskCopyAll(SaveJob& job) {
    if (master.currentLevelRow == 0 || !HoldsMoreThanTheLevel())
        return;
    job.copyAll = Dialogs().ConfirmYes("Copy ALL data in PWAD?", "(extra graphics,etc.)") == 1;
    if (job.copyAll)
        FindLevelInFile(job);
}

int32_t ExtraBytes(const SaveJob& job) {
    int64_t sum = 0;
    if (!job.copyAll)
        return 0;
    const std::vector<WadDirEntry>& dir = LevelFile().dir;
    for (size_t i = 0; i < dir.size(); ++i)
        if (i < job.levelFirst || i >= job.levelEnd)
            sum += dir[i].size;
    return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX / 2));
}

// The size of the level's old lump of that name, which the save copies
// whole; a new level has none.
int32_t OldLumpSize(const char* name) {
    const WadDirEntry* lump = level.fromFile ? FindLevelLump(name, EntryNeed::Optional) : nullptr;
    return lump ? lump->size : 0;
}

int32_t EstimatedTotal(const SaveJob& job) {
    int64_t total = int64_t{level.things.count} * 10 + int64_t{level.vertices.count} * 4 +
                    int64_t{level.lineDefs.count} * 14 + int64_t{level.sideDefs.count} * 30 +
                    int64_t{level.sectors.count} * 26 + int64_t{OldLumpSize("SEGS")} +
                    OldLumpSize("SSECTORS") + OldLumpSize("NODES") + RejectBytes(level.sectors.count) +
                    OldLumpSize("BLOCKMAP") + 511 + ExtraBytes(job);
    return static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
}

// --- Writing ---------------------------------------------------------------

void Advance(SaveJob& job, const char* name, int32_t offset, int32_t size) {
    WrittenEntry entry{};
    std::strncpy(entry.name, name, 8);
    entry.offset = offset;
    entry.size = size;
    job.directory.push_back(entry);
    job.position += size;
    job.done += size;
    Dialogs().ProgressUpdate(job.done);
}

void WriteLump(SaveJob& job, const char* name, const void* data, int32_t size) {
    WriteChecked(job.file.stream, data, size);
    Advance(job, name, job.position, size);
}

template <typename T>
void WriteArray(SaveJob& job, const char* name, const ObjectArray<T>& array) {
    WriteLump(job, name, array.records.data(), array.count * static_cast<int32_t>(sizeof(T)));
}

// Copies an entry's data byte for byte (from whichever file holds it), from
// the byte skip on; returns the bytes copied.
int32_t CopyEntryData(SaveJob& job, const WadDirEntry& entry, int32_t skip = 0) {
    if (entry.size <= skip)
        return 0;
    const char* file = RowFileName(entry.file);
    job.source = file ? file : "";
    FILE* source = MakeRowReady(entry.file);
    SeekChecked(source, job.source.c_str(), entry.offset + skip);
    CopyChecked(job.file.stream, source, entry.size - skip);
    return entry.size - skip;
}

// The level's old lump of that name, whole and unchanged, whatever it holds
// (node builders for large maps write records of other sizes); a new level
// gets an empty lump.
void CopyOldLump(SaveJob& job, const char* name) {
    int32_t offset = job.position;
    const WadDirEntry* lump = level.fromFile ? FindLevelLump(name, EntryNeed::Optional) : nullptr;
    Advance(job, name, offset, lump ? CopyEntryData(job, *lump) : 0);
}

void CopyExtraEntries(SaveJob& job, size_t first, size_t end) {
    const std::vector<WadDirEntry>& dir = LevelFile().dir;
    for (size_t i = first; i < end; ++i) {
        if (IsCompLevelLump(dir[i]))
            continue;
        char name[9] = {};
        std::memcpy(name, dir[i].name, 8);
        int32_t offset = job.position;
        Advance(job, name, offset, CopyEntryData(job, dir[i]));
    }
}

// While the map is unchanged its file keeps the old VERTEXES lump, which the
// node builder's lumps refer to; the LineDefs must then use the old vertex
// numbers too.
bool KeepsOldVertexes() { return level.fromFile && !level.mapChanged; }

void WriteLineDefs(SaveJob& job) {
    if (!KeepsOldVertexes()) {
        WriteArray(job, "LINEDEFS", level.lineDefs);
        return;
    }
    const std::vector<uint16_t>& old = level.oldVertexNumbers;
    auto oldNumber = [&](uint16_t v) { return v < old.size() ? old[v] : v; };
    std::vector<LineDef> lines(level.lineDefs.begin(), level.lineDefs.end());
    for (LineDef& l : lines) {
        l.start = oldNumber(l.start);
        l.end = oldNumber(l.end);
    }
    WriteLump(job, "LINEDEFS", lines.data(), static_cast<int32_t>(lines.size() * sizeof(LineDef)));
}

// The old node lumps, copied into a file whose map has changed (the user
// chose not to rebuild them), still find every Vertex they name: after the
// Vertexes in memory come the old lump's records beyond their count.
void WriteVertexes(SaveJob& job) {
    if (KeepsOldVertexes()) {
        CopyOldLump(job, "VERTEXES");
        return;
    }
    int32_t offset = job.position;
    int32_t size = level.vertices.count * static_cast<int32_t>(sizeof(Vertex));
    WriteChecked(job.file.stream, level.vertices.records.data(), size);
    const WadDirEntry* old = level.fromFile && !job.rebuild ? FindLevelLump("VERTEXES", EntryNeed::Optional) : nullptr;
    if (old && old->size > size)
        size += CopyEntryData(job, *old, size);
    Advance(job, "VERTEXES", offset, size);
}

// A table of 65,535 Sectors is 512 MB: it is written a chunk at a time.
constexpr int32_t kRejectChunk = 64 * 1024;

// bytes of the fill: 0, with the mask's pattern in every (skip + 1)-th byte
// once the mask was asked for.
void WriteRejectFill(SaveJob& job, int32_t bytes) {
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min(bytes, kRejectChunk)));
    for (int32_t done = 0; done < bytes;) {
        int32_t n = std::min(kRejectChunk, bytes - done);
        for (int32_t i = 0; i < n; ++i) {
            chunk[static_cast<size_t>(i)] = 0;
            if (--job.fillCounter != 0)
                continue;
            chunk[static_cast<size_t>(i)] = static_cast<uint8_t>(level.rejectPattern);
            job.fillCounter = level.rejectSkipEvery + 1;
        }
        WriteChecked(job.file.stream, chunk.data(), n);
        done += n;
    }
}

// The old table is kept, whole, only while it was built for as many Sectors
// as the map has; what it lacks of the size the map needs (all of it when
// clearing) is filled with the pattern. An empty table (the level is for
// engines that do without one) then stays empty.
void WriteReject(SaveJob& job) {
    int32_t offset = job.position;
    int32_t copied = 0;
    const WadDirEntry* old = level.fromFile ? FindLevelLump("REJECT", EntryNeed::Optional) : nullptr;
    bool keep = !job.clearReject && level.rejectSectorCount == level.sectors.count && old;
    if (keep)
        copied = CopyEntryData(job, *old);
    int32_t size = keep && copied == 0 ? 0 : RejectBytes(level.sectors.count);
    int32_t filled = std::max(0, size - copied);
    WriteRejectFill(job, filled);
    Advance(job, "REJECT", offset, copied + filled);
}

// The COMPLVL lump: the file's own, byte for byte, while the level keeps the
// target it names; else the bare keyword of a port's target, or none for the
// original games.
void WriteTarget(SaveJob& job) {
    const WadDirEntry* old = level.fromFile ? FindCompLevelLump() : nullptr;
    if (old && level.target == level.fileTarget) {
        int32_t offset = job.position;
        Advance(job, kCompLevelLumpName, offset, CopyEntryData(job, *old));
        return;
    }
    if (level.target == MapTarget::Original || IsHeretic())
        return;
    const char* keyword = CompLevelKeyword(level.target);
    WriteLump(job, kCompLevelLumpName, keyword, static_cast<int32_t>(std::strlen(keyword)));
}

void WriteDirectory(SaveJob& job) {
    int32_t dirOffset = job.position;
    for (const WrittenEntry& e : job.directory)
        WriteDirEntry(job.file.stream, e.offset, e.size, e.name);
    if (std::fseek(job.file.stream, 4, SEEK_SET) != 0)
        FileFatalError(FileAction::Write, SystemErrorText(errno), "error seeking to file");
    WriteLE32(job.file.stream, static_cast<int32_t>(job.directory.size()));
    WriteLE32(job.file.stream, dirOffset);
}

void WriteLevelFile(SaveJob& job) {
    WriteChecked(job.file.stream, "PWAD", 4);
    WriteLE32(job.file.stream, kLevelLumpCount);
    WriteLE32(job.file.stream, kWadHeaderSize);
    job.position = kWadHeaderSize;
    if (job.copyAll)
        CopyExtraEntries(job, 0, job.levelFirst);
    Advance(job, level.name, job.position, 0);
    WriteArray(job, "THINGS", level.things);
    WriteLineDefs(job);
    WriteArray(job, "SIDEDEFS", level.sideDefs);
    WriteVertexes(job);
    CopyOldLump(job, "SEGS");
    CopyOldLump(job, "SSECTORS");
    CopyOldLump(job, "NODES");
    WriteArray(job, "SECTORS", level.sectors);
    WriteReject(job);
    CopyOldLump(job, "BLOCKMAP");
    WriteTarget(job);
    if (job.copyAll)
        CopyExtraEntries(job, job.levelEnd, LevelFile().dir.size());
    WriteDirectory(job);
}

// Why a save did not happen: a message box naming the file and the system's
// reason. Editing goes on, so the user can save elsewhere.
void ReportFailure(const char* title, const std::string& file, const std::string& reason,
                   const char* advice) {
    Dialogs().MessageBox(title, {file, reason, advice});
}

// Writes the whole file under a temporary name and puts it in place only when
// it is complete, keeping the file it replaces as the backup that the choice
// of the file planned. Any failure on the way removes the temporary file,
// leaves every other file as it was and is reported.
bool WriteOutput(SaveJob& job) {
    Dialogs().ProgressStart("Saving Level to " + job.output, EstimatedTotal(job));
    if (!BeginReplacement(job.output, job.file)) {
        Dialogs().ProgressEnd();
        ReportFailure("Error Creating File", job.output, SystemErrorText(job.file.error), "Check PATCH path!");
        return false;
    }
    if (!job.rebuild)
        job.file.backup = PlannedBackupName();
    try {
        WriteLevelFile(job);
    } catch (const FileError& e) {
        AbandonReplacement(job.file);
        Dialogs().ProgressEnd();
        bool reading = e.action() == FileAction::Read;
        ReportFailure(reading ? "Error Reading File" : "Error Writing File", reading ? job.source : job.output,
                      e.reason(), kNotSavedLine);
        return false;
    } catch (...) {
        AbandonReplacement(job.file);
        Dialogs().ProgressEnd();
        throw;
    }
    Dialogs().ProgressEnd();
    if (CommitReplacement(job.file))
        return true;
    ReportFailure("Error Writing File", job.file.failedName, SystemErrorText(job.file.error), kNotSavedLine);
    return false;
}

// --- Reading the new file back ---------------------------------------------

// Entries of the master directory that still name a file dropped by the save
// (a backup, or a PWAD overwritten without copying all its data) fall back to
// the IWAD's entry at their place, or leave the directory when the IWAD has
// none; likewise the level list. Nothing is then read from a forgotten file.
void RestoreEntriesOfForgottenFiles() {
    std::vector<WadDirEntry>& dir = MasterDirectory();
    auto forgotten = [](int row) { return row < 0 || row >= kOpenWadRows || !master.table[row].inUse(); };
    if (std::none_of(dir.begin(), dir.end(), [&](const WadDirEntry& e) { return forgotten(e.file); }) &&
        std::none_of(master.levelList.begin(), master.levelList.end(),
                     [&](const LevelListEntry& l) { return forgotten(l.file); }))
        return;
    WadFile iwad;
    iwad.name = master.table[0].name;
    iwad.handle = MakeRowReady(0);
    ReadWadDirectory(iwad, 0);
    size_t kept = 0;
    for (size_t i = 0; i < dir.size(); ++i) {
        WadDirEntry e = dir[i];
        if (forgotten(e.file)) {
            if (i >= iwad.dir.size() || !SameEntryName(iwad.dir[i].name, e.name))
                continue;
            e = iwad.dir[i];
        }
        dir[kept++] = e;
    }
    dir.resize(kept);
    master.table[0].count = static_cast<int32_t>(dir.size());
    std::vector<LevelListEntry> levels;
    for (LevelListEntry l : master.levelList) {
        if (forgotten(l.file)) {
            const WadDirEntry* marker = FindEntry(0, l.name, EntryNeed::Optional);
            if (!marker || forgotten(marker->file))
                continue;
            l.file = marker->file;
        }
        levels.push_back(l);
    }
    master.levelList = levels;
    if (master.releaseNameLists)
        master.releaseNameLists();
}

int PwadListRow(const std::string& name) {
    for (int i = 0; i < kPwadListRows; ++i)
        if (config.pwadList[i][0] && SameFileName(config.pwadList[i], name.c_str()))
            return i;
    int row = NewPwadRow();
    SetField(config.pwadList[row], name.c_str());
    return row;
}

// Tells that the node builder did not build the nodes, why, and what the
// chosen file holds now.
void ReportNodesNotBuilt(const SaveJob& job, std::vector<std::string> why, bool written) {
    why.push_back(written ? job.chosen + " holds the level with its old nodes."
                          : job.chosen + " was not changed: the level is not saved.");
    Dialogs().MessageBox(std::string("The nodes of ") + level.name + " were not built", why);
}

// Lays the new file over the master directory and takes the level from it.
void ReadBack(const SaveJob& job) {
    CloseWads(WadRows::Pwads);
    OpenWad(config.pwadList[PwadListRow(job.chosen)], "PWAD");
    const WadDirEntry* marker = FindEntry(0, level.name, EntryNeed::Required);
    level.markerIndex = static_cast<int32_t>(marker - MasterDirectory().data());
    master.currentLevelRow = marker->file;
    MakeRowReady(master.currentLevelRow);
    level.rejectSize = RejectBytes(level.sectors.count);
    level.rejectSectorCount = level.sectors.count;
    level.fileTarget = level.target;
    MarkSaved();
    RemoveRecoveryFile();
}

template <typename T>
bool SameRecords(const ObjectArray<T>& a, const ObjectArray<T>& b) {
    return a.count == b.count && std::equal(a.begin(), a.end(), b.begin(), [](const T& x, const T& y) {
               return std::memcmp(&x, &y, sizeof(T)) == 0;
           });
}

// Whether the level read back is the one written but for the numbers of its
// Vertexes (node builders renumber them). If so, fileNumbers gets the
// file's number of each Vertex in memory (0 for one no LineDef uses, which
// is not in the file).
bool SameButVertexNumbers(const LevelState& written, const LevelState& read, std::vector<uint16_t>& fileNumbers) {
    if (!SameRecords(written.things, read.things) || !SameRecords(written.sideDefs, read.sideDefs) ||
        !SameRecords(written.sectors, read.sectors) || written.lineDefs.count != read.lineDefs.count)
        return false;
    std::vector<int32_t> found(static_cast<size_t>(written.vertices.count), -1);
    auto sameVertex = [&](uint16_t mine, uint16_t theirs) {
        const Vertex* a = written.vertices.at(mine);
        const Vertex* b = read.vertices.at(theirs);
        if (!a || !b || a->x != b->x || a->y != b->y || theirs >= read.oldVertexNumbers.size())
            return false;
        int32_t number = read.oldVertexNumbers[theirs];
        int32_t& seen = found[mine];
        if (seen >= 0 && seen != number)
            return false;
        seen = number;
        return true;
    };
    for (int32_t i = 0; i < written.lineDefs.count; ++i) {
        LineDef mine = written.lineDefs[i], theirs = read.lineDefs[i];
        if (!sameVertex(mine.start, theirs.start) || !sameVertex(mine.end, theirs.end))
            return false;
        mine.start = theirs.start;
        mine.end = theirs.end;
        if (std::memcmp(&mine, &theirs, sizeof mine) != 0)
            return false;
    }
    fileNumbers.clear();
    for (int32_t number : found)
        fileNumbers.push_back(static_cast<uint16_t>(std::max(number, 0)));
    return true;
}

// The level as the node builder saved it, read back so that the sizes of
// its lumps are those of the file and the map's changes count as saved.
// Normally it holds the level as written, its Vertexes renumbered: the
// level in memory stays as it is, with the file's numbers of its Vertexes
// (so the undo history and selections still fit it). What the node builder
// changed beyond that (objects it dropped as unused) becomes an undo step of
// its own. A file that cannot be read back as a level leaves the level in
// memory as it was.
void TakeBuiltLevel() {
    LevelState written = level;
    if (!LoadLevel(LevelSource::MasterDirectory)) {
        level = std::move(written);
        return;
    }
    std::vector<uint16_t> fileNumbers;
    if (SameButVertexNumbers(written, level, fileNumbers)) {
        LevelState read = std::move(level);
        level = std::move(written);
        level.numSegs = read.numSegs;
        level.numSSectors = read.numSSectors;
        level.numNodes = read.numNodes;
        level.rejectSize = read.rejectSize;
        level.blockmapSize = read.blockmapSize;
        level.markerIndex = read.markerIndex;
        level.fromFile = true;
        level.oldVertexCount = read.oldVertexCount;
        level.oldVertexNumbers = std::move(fileNumbers);
        level.rejectSectorCount = read.rejectSectorCount;
    }
    NameStep("the node builder's changes");
    level.levelChanged = level.mapChanged = false;
    MarkSaved();
}

// The level written to the temporary file goes to the node builder, which
// writes the chosen file. A file it replaces is kept as a copy, not a link:
// a node builder may well rewrite its output in place. Then the chosen file
// is read back: unless nothing was written, the level is saved.
int HandToNodeBuilder(const SaveJob& job, char* fileName) {
    std::string backup = PlannedBackupName();
    int error = 0;
    if (!backup.empty() && FileExists(job.chosen) &&
        !MakeBackupFile(job.chosen, backup, BackupMethod::Copy, error)) {
        ForgetBackupPlans();
        ReportFailure("Error Writing File", backup, SystemErrorText(error), kNotSavedLine);
        fileName[0] = 0;
        return kNotSaved;
    }
    // A file the save replaces is in the list already, under its own row.
    if (!backup.empty())
        fileName[0] = 0;
    if (!nodeBuilderHandOff)
        FatalError("node builder hand-off returned");
    FileStamp before = StampOfFile(job.chosen);
    NodeBuildResult built = nodeBuilderHandOff(job.output, job.chosen, level.name);
    bool written = built.end != NodeBuildEnd::NotRun && StampOfFile(job.chosen) != before;
    if (built.end == NodeBuildEnd::Built && !written)
        built = {NodeBuildEnd::Failed, {"The node builder did not write " + job.chosen + "."}};
    if (built.end == NodeBuildEnd::Failed)
        ReportNodesNotBuilt(job, built.why, written);
    if (!written) {
        ForgetBackupPlans();
        fileName[0] = 0;
        return kNotSaved;
    }
    CloseBackups();
    RestoreEntriesOfForgottenFiles();
    ReadBack(job);
    if (built.end != NodeBuildEnd::Built)
        return kSavedWithoutNodes;
    TakeBuiltLevel();
    return kSaved;
}

}  // namespace

void SetNodeBuilderHandOff(NodeBuilderHandOff handOff) { nodeBuilderHandOff = handOff; }

int32_t RejectBytes(int32_t sectors) {
    return static_cast<int32_t>((int64_t{sectors} * sectors + 7) / 8);
}

char* ChooseSaveFile(int16_t newEpisode, int16_t newMap) {
    std::string limit = PassedLimit();
    if (!limit.empty()) {
        Dialogs().MessageBox("Level too large to save", {limit});
        return nullptr;
    }
    std::string oldName = LevelNameFor(config.lastEpisode, config.lastMap);
    std::string newName = LevelNameFor(newEpisode, newMap);
    SetLevelName(config.lastEpisode, config.lastMap);
    int oldLevel = FindLevel(oldName.c_str());
    if (oldLevel < 0)
        FatalError("old %s missing?", oldName.c_str());
    int newLevel = FindLevel(newName.c_str());
    if (newLevel < 0)
        FatalError("new %s missing?", newName.c_str());
    int oldFile = master.levelList[static_cast<size_t>(oldLevel)].file;
    int newFile = master.levelList[static_cast<size_t>(newLevel)].file;
    int levelsInOldFile = oldFile > 0 ? CountLevelsInFile(oldFile) : 0;
    bool renamed = UpperText(oldName) != UpperText(newName);
    if ((renamed && oldFile == newFile && levelsInOldFile > 1) ||
        (oldFile != newFile && oldFile > 0 && newFile > 0)) {
        Dialogs().PressAnyKey("You have read a PWAD file", "using the same Level name.");
        return nullptr;
    }
    int row = NewPwadRow();
    if (row < 0) {
        Dialogs().MessageBox(PwadListFullText(), {kNotSavedLine});
        return nullptr;
    }
    char name[kFileNameField] = {};
    if (oldFile == 0 || levelsInOldFile >= 2) {
        SetField(name, newName.c_str());
        NormalizeWadName(name, sizeof name);
        if (levelsInOldFile >= 2)
            Dialogs().MessageBox("This level is in the Group File",
                                 {RowFileName(oldFile) ? RowFileName(oldFile) : ""});
    } else {
        const char* file = RowFileName(oldFile);
        SetField(name, file ? file : "");
    }
    if (!AskFileName(name))
        return nullptr;
    // A file that exists keeps its name on disk, whatever case it was typed in.
    SetField(name, FileToReplace(name).c_str());
    // The saved file is read back: it needs a row of the open-WAD table.
    if (!RowAvailableFor(name)) {
        Dialogs().MessageBox(FileLimitText(), {kNotSavedLine, "Save it over one of the PWADs read, or read fewer."});
        return nullptr;
    }
    SetField(config.pwadList[row], name);
    config.lastEpisode = newEpisode;
    config.lastMap = newMap;
    SetLevelName(newEpisode, newMap);
    for (int r = 1; r < kOpenWadRows; ++r)
        if (master.table[r].inUse() && master.table[r].name && SameFileName(master.table[r].name, name))
            PlanBackup(r);
    return config.pwadList[row];
}

int SaveLevel(char* fileName, int key) {
    SaveJob job;
    job.chosen = fileName;
    job.key = key;
    AskNodes(job);
    AskRejectMask(job);
    AskCopyAll(job);
    if (!WriteOutput(job)) {
        ForgetBackupPlans();
        fileName[0] = 0;
        return kNotSaved;
    }
    if (job.rebuild)
        return HandToNodeBuilder(job, fileName);
    CloseBackups();
    RestoreEntriesOfForgottenFiles();
    ReadBack(job);
    return kSaved;
}
