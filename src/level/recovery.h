// Crash recovery. While the level has unsaved changes the editor writes it
// now and then to a recovery file of its session in the working directory,
// named after the flavour and the process ("BrelUnsaved-4711.WAD"): a PWAD
// holding a text lump "UNSAVED" that says when and by which session it was
// written (the process, the IWAD and PWADs read, whether the file last saved
// has nodes that no longer fit its map), then the level's marker and its five
// edited lumps exactly as they are in memory. Leaving the editor normally and
// saving remove the file, so a recovery file whose session no longer runs
// was left by a run that died. Several editors may run in one directory: a
// running session's file is never offered to another, nor written over.
//
// A recovery file is read as untrusted input. One that is damaged, or whose
// level would not pass the loader's checks, is set aside (renamed to
// "...WAD.damaged") and the user told where; it never stops a start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RecoveryInfo {
    std::string path;
    std::string levelName;   // "MAP12", "E1M3"
    int64_t writtenAt = 0;   // seconds since 1970, as the system's clock counts
    std::string iwad;        // "" in a file of an older build: any IWAD takes it
    std::vector<std::string> pwads;
    bool nodesStale = false;   // the file last saved has nodes that do not fit its map
};

struct RecoveryScan {
    std::vector<RecoveryInfo> ours;      // left for this IWAD, newest first
    std::vector<RecoveryInfo> others;    // left for other IWADs, newest first
    std::vector<std::string> setAside;   // the lines that tell of damaged files set aside
};

// The recovery files in the working directory whose sessions no longer run
// (this session's own file is not among them); damaged ones are set aside on
// the way.
RecoveryScan FindRecoveryFiles();

// "20:14" today, "3 Dec 20:14" on another day.
std::string WrittenAtText(int64_t seconds);

// This session's recovery file; "" before it has one.
std::string RecoveryFilePath();

// Writes the level as it stands to this session's file (replaced whole or
// not at all); false with the system's reason in error.
bool WriteRecoveryFile(std::string& error);

// Lays the recovered level over the loaded level of its name, as the first
// undoable step after it (the change flags then say how it differs), when the
// file, read again, holds that level whole and every LineDef of it names a
// Vertex it has; the file becomes this session's. Otherwise the level is left
// as loaded and refusal says why: a damaged file is set aside, and refusal
// also says where it went.
bool RestoreRecoveryFile(const RecoveryInfo& info, std::vector<std::string>& refusal);

// Removes this session's file.
void RemoveRecoveryFile();
// Removes another session's file, whose changes the user declined.
void DiscardRecoveryFile(const RecoveryInfo& info);

// Begins a new session of this process: the files of the one before count
// as left by a run that died (a new start of the program, to tests).
void StartRecoverySession();
