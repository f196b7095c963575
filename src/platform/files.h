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

// A file that replaces another is written under a temporary name in the same
// directory and renamed into place only when complete, so a crash or a full
// disk never leaves half a file where a good one was, nor no file at all.
// Temporary names carry the writing process's id, so that a later run can
// tell its own leftovers (RemoveLeftoverTemporaryFiles).
struct ReplacementFile {
    FILE* stream = nullptr;
    std::string target;     // the name the finished file gets (a link's own file)
    std::string temporary;  // where it is written meanwhile
    // When set and the target exists, the old target is kept under this name
    // (an old file of that name is replaced) just before the new one takes its
    // place; the old target itself is never moved away.
    std::string backup;
    // After a failure: the system's error number and the file it concerns
    // (the target, or the backup).
    int error = 0;
    std::string failedName;
};
// Creates the temporary file for target; false when it cannot be created.
bool BeginReplacement(const std::string& target, ReplacementFile& file);
// Flushes, closes, makes the backup if one is asked for, and renames into
// place; false on any error, and then the target is as it was.
bool CommitReplacement(ReplacementFile& file);
// Closes and deletes the temporary file; the target is left as it was.
void AbandonReplacement(ReplacementFile& file);

// Replaces the file at path with the size bytes of data, through a
// replacement as above; false with the system's error number when it cannot.
bool ReplaceFileContents(const std::string& path, const void* data, size_t size, int& error);

// How a backup is made. A hard link costs nothing but shares the file: only
// safe while whoever writes the original next replaces it by renaming.
enum class BackupMethod { LinkOrCopy, Copy };
// Makes backup a complete copy of original, which is left where it is. An old
// backup is replaced only once the new one is complete. False with error set
// (the system's error number) when it cannot be made.
bool MakeBackupFile(const std::string& original, const std::string& backup, BackupMethod method,
                    int& error);

// Removes the temporary files that replacements of earlier runs left in dir
// (a run that was killed or lost its power); those of running processes stay.
void RemoveLeftoverTemporaryFiles(const std::string& dir);
// True when the file name (without directory) is one that replacements use
// for their temporary files.
bool IsTemporaryFileName(const std::string& name);

// The running program's process id.
long CurrentProcessId();
// What tells the process of that id from any other that ever had the id: the
// boot and the moment it started ("<boot id>:<start time>"); "" when no such
// process runs (one that has ended but is not yet reaped included) or the
// system does not say.
std::string ProcessStartMark(long pid);

// The system's text for an error number ("No space left on device").
std::string SystemErrorText(int error);

// The current directory with "/" appended.
std::string CurrentDirectory();
// Makes the directory and the parents it lacks (new ones readable by their
// owner alone); true when it exists afterwards, else false with the system's
// error number.
bool MakeDirectories(const std::string& path, int& error);
// Makes path the current directory; false with the system's error number.
bool ChangeDirectory(const std::string& path, int& error);
// Directory of the running program, with "/" appended ("" when unknown).
std::string ProgramDirectory();
// Available physical memory plus free swap, in bytes.
int64_t FreeMemoryBytes();
void SleepMilliseconds(int ms);
// Milliseconds from an arbitrary fixed point; never goes backwards.
int64_t MonotonicMilliseconds();
// CPU milliseconds the program has used so far, all its threads together.
double ProcessCpuMilliseconds();
// Value of an environment variable, or "" when unset.
std::string EnvironmentValue(const char* name);

// What tells one version of a file from another: the file it is (device and
// inode), its size and the time it was last written. A name that leads to
// no file has the stamp of a fresh FileStamp.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = -1;
    int64_t writtenNs = 0;
    bool operator==(const FileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size && writtenNs == o.writtenNs;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
FileStamp StampOfFile(const std::string& name);
