// Files the shell commands write (built WADs, raw entries, listings) and the
// checks on their names.
#pragma once

#include <cstdio>
#include <string>

#include "platform/files.h"
#include "wad/wadfile.h"

class CommandWords;

// A file being written. It is created under a temporary name and put in place
// only by Finish, so that an error or a fatal exit part-way never leaves half a
// file where a good one was: the destructor throws an unfinished file away.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file; false when it cannot be created (nothing is shown;
    // reason() says why).
    bool Create(const std::string& name);
    FILE* stream() const { return file_.stream; }
    const std::string& name() const { return name_; }
    // The system's reason why the file could not be created.
    std::string reason() const;
    // Puts the finished file in place; a file that cannot be completed ends the
    // program with a fatal error naming the system's reason (the old file, if
    // any, stays as it was).
    void Finish();

private:
    ReplacementFile file_;
    std::string name_;
};

// Creates an output WAD file; failure shows "Unable to open : %s" with the
// system's reason and gives 0.
int CreateOutput(const std::string& name, OutputFile& out);

// A target name as the user gave it, completed like every WAD name (patch
// path or working directory, extension ".WAD").
std::string CompleteWadName(const std::string& word);
// True when name is an open WAD file, under whatever spelling.
bool IsOpenWadFile(const std::string& name);
// Refuses a target that is an open WAD file with the shell's message; 1 when
// the target may be written.
int TargetIsFree(const std::string& name);
// Takes the next word as the name of a WAD file to write, completes it and
// refuses an open file; 1 when target holds a name that may be written.
int TargetNameArg(CommandWords& words, const char* label, std::string& target);
// Copies an entry's data from the file that holds it to the output.
void CopyEntryData(FILE* target, const WadDirEntry& entry);
