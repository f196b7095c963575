// Moving single entries between WAD files and raw files: one entry's data
// written as a raw file or as a one-entry PWAD, and a raw file put into a
// one-entry PWAD.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

constexpr int32_t kOneEntryDataOffset = 28;   // header and the one directory entry

enum class EntryForm { Raw, Pwad };

// Writes the master directory entry named entryName to the file target: its
// bare data, or a PWAD holding it under newName (its own name when newName
// is empty). Shows why and gives 0 when the entry is missing or the file
// cannot be created; nothing is written then.
int WriteEntry(const std::string& target, const std::string& entryName, const std::string& newName,
               EntryForm form);
// Writes a one-entry PWAD named objectName holding the whole raw file. Gives
// 0 (after a message) when the raw file is too large for a WAD file.
int InsertRaw(FILE* target, FILE* raw, const std::string& objectName);
// The name XTRACT writes to: a completed WAD name with ".RAW" in place of
// ".WAD".
std::string RawTargetName(const std::string& completed);
