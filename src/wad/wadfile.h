// WAD files: the on-disk format, the in-memory directory, one open WAD file,
// and the checked file routines everything that reads or writes WADs uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr int kWadHeaderSize = 12;
constexpr int kWadEntrySize = 16;

// One directory entry, in file order. Names are 8 characters padded with
// zeros, with no terminating zero when all 8 are used.
struct WadDirEntry {
    int32_t offset = 0;
    int32_t size = 0;
    char name[8] = {};
    int16_t file = 0;      // row of the open-WAD table whose file holds the data
};

// What a row of the open-WAD table holds.
enum class RowState : char {
    Free = 0,
    Open = 'O',     // a file and its open handle
    Closed = 'C',   // a known file whose handle is closed; it reopens on demand
};

// One row of the open-WAD table.
struct WadFile {
    char* name = nullptr;  // 44-character field owned by the configuration
    FILE* handle = nullptr;
    RowState state = RowState::Free;
    int32_t count = 0;
    int32_t dirOffset = 0;
    char tag[6] = {};      // "" or ".BAK"
    std::vector<WadDirEntry> dir;

    bool inUse() const { return state != RowState::Free; }
};

// Entry names: compared over at most 8 characters, ignoring case.
bool SameEntryName(const char* a, const char* b);
void SetEntryName(char (&name)[8], const char* text);
std::string EntryNameText(const char (&name)[8]);

// How much CheckFileType says and does about a file that fails.
enum class FileCheck {
    Quiet,      // a missing file is not reported
    Complain,   // a missing file is reported too, and a failing name is emptied
};
// Accepts the file when bytes 2..4 equal the tag's, and the first bytes are
// equal or the tag begins with '_'; a file of another kind is always reported
// as the shell does.
int CheckFileType(char* name, const char* tag, FileCheck check);
// Completes a WAD name with the patch path (or the working directory) and the
// extension ".WAD". Returns 1 when the name has a file part. A completed name
// too long for its field is left as given and gives 0.
int NormalizeWadName(char* name, size_t fieldSize);
FILE* OpenWadStream(const char* name);
// Upper-case file name with extension, without directory.
std::string FileNamePart(const char* path);
// True when both names lead to one file: the same device and inode once each
// name is resolved ignoring case (other spellings, "./", "../", symbolic
// links). Names of files that do not exist are the same when their absolute,
// normalised paths are.
bool SameFileName(const char* a, const char* b);
// The file that writing under name replaces: the existing file under any
// case, followed through symbolic links; otherwise the name as given.
std::string FileToReplace(const std::string& name);
// The backup of a file: its name on disk with the extension (after the last
// ".") replaced by ".BAK", or ".BAK" appended when it has none; an existing
// backup under another case keeps its name.
std::string BackupName(const std::string& name);

void SeekChecked(FILE* stream, const char* fileName, int32_t offset);
void ReadChunked(FILE* stream, void* buffer, int32_t length);
void WriteChecked(FILE* stream, const void* buffer, int32_t length);
void CopyChecked(FILE* target, FILE* source, int32_t length);
void WriteLE32(FILE* stream, int32_t value);

// Reads header and directory of the open file of row into file.dir. A damaged
// file (too short for its header, its directory or an entry outside the file)
// leaves the directory empty, and the result says what is wrong; "" when the
// directory was read.
std::string TryReadWadDirectory(WadFile& file, int row);
// The same, ending the program on a damaged file with a message naming it.
void ReadWadDirectory(WadFile& file, int row);

// Shows a complaint about a file at the foot of the console and, in text
// mode, waits for a key so that it is read before later lines cover it.
void ComplainAboutFile(const char* text);

// Writes the 16-byte directory entry of one lump.
void WriteDirEntry(FILE* stream, int32_t offset, int32_t size, const char (&name)[8]);
