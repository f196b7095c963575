// Operating-system services: file names, whole-file replacement, the working
// directory, free memory and sleeping.
//
// Users type names in upper case while Linux names are case-sensitive, so an
// existing file is found by comparing each path component without regard to
// case when the exact name does not exist. New files keep the name as given.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// The existing path that matches name ignoring case, component by component.
// Components from the first one that has no match on are kept as given, so a
// new file keeps its name but lands in the existing directory.
std::string ResolveExistingPath(const std::string& name);
bool FileExists(const std::string& name);
bool IsDirectory(const std::string& name);
// Opens an existing file (name resolved as above); nullptr on failure.
FILE* OpenExisting(const std::string& name, const char* mode);
// Size of an open file in bytes, or -1.
int64_t FileSize(FILE* file);
bool RemoveFile(const std::string& name);
bool RenameFile(const std::string& from, const std::string& to);

// A file that replaces another is written under a temporary name in the same
// directory and renamed into place only when complete, so a crash or a full
// disk never leaves half a file where a good one was.
struct ReplacementFile {
    FILE* stream = nullptr;
    std::string target;     // the name the finished file gets
    std::string temporary;  // where it is written meanwhile
};
// Creates the temporary file for target; false when it cannot be created.
bool BeginReplacement(const std::string& target, ReplacementFile& file);
// Flushes, closes and renames into place; false (and nothing replaced) on any error.
bool CommitReplacement(ReplacementFile& file);
// Closes and deletes the temporary file; the target is left as it was.
void AbandonReplacement(ReplacementFile& file);

// The current directory with "/" appended.
std::string CurrentDirectory();
// Directory of the running program, with "/" appended ("" when unknown).
std::string ProgramDirectory();
// Available physical memory plus free swap, in bytes.
int64_t FreeMemoryBytes();
void SleepMilliseconds(int ms);
// Milliseconds from an arbitrary fixed point; never goes backwards.
int64_t MonotonicMilliseconds();
// Hundredths of a second since midnight, local time.
int32_t TimeOfDayHundredths();
// Value of an environment variable, or "" when unset.
std::string EnvironmentValue(const char* name);
