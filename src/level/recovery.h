// Crash recovery. While the level has unsaved changes the editor writes it
// now and then to a recovery file in the working directory (the flavour's
// "...Unsaved.WAD"): a PWAD holding a lump "UNSAVED" with the time it was
// written, then the level's marker and its five edited lumps, exactly as they
// are in memory. Leaving the editor normally and saving remove the file, so a
// recovery file found at start was left by a run that died.
#pragma once

#include <cstdint>
#include <string>

struct RecoveryInfo {
    std::string levelName;   // "MAP12", "E1M3"
    int64_t writtenAt = 0;   // seconds since 1970, as the system's clock counts
};

std::string RecoveryFilePath();

// Writes the level as it stands (the file is replaced whole or not at all);
// false with the system's reason in error.
bool WriteRecoveryFile(std::string& error);

// True, with what it holds, when a readable recovery file is there.
bool FindRecoveryFile(RecoveryInfo& info);

// Replaces the five arrays of the loaded level with the recovered ones and
// marks the level and the map changed. False, the level untouched, when the
// file is missing, damaged, or holds another level.
bool RestoreRecoveryFile();

void RemoveRecoveryFile();
