#include "wad/wadfile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/work_dir.h"

namespace {

constexpr int32_t kReadPiece = 61440;
constexpr int32_t kWritePiece = 32768;
// Copies go through a buffer large enough to run at disk-cache speed.
constexpr int32_t kCopyBuffer = 1 << 20;

int32_t ReadLE32(const unsigned char* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 |
                                static_cast<uint32_t>(p[3]) << 24);
}

// The system's reason for a failed transfer on stream; error is errno as it
// was right after the failure.
std::string TransferReason(FILE* stream, int error) {
    if (stream && !std::ferror(stream))
        return "the file ends too soon";
    return SystemErrorText(error);
}

[[noreturn]] void ShortTransfer(FileAction action, FILE* stream, int32_t length) {
    std::string reason = TransferReason(stream, errno);
    FileFatalError(action, reason, " %s %hd left for %ld bytes dataloc=%ld",
                   action == FileAction::Read ? "read" : "write", static_cast<short>(0),
                   static_cast<long>(length), stream ? std::ftell(stream) : -1L);
}

bool InTextMode() { return !GraphicsScreenUp(); }

}  // namespace

bool SameEntryName(const char* a, const char* b) {
    for (int i = 0; i < 8; ++i) {
        int ca = std::toupper(static_cast<unsigned char>(a[i]));
        int cb = std::toupper(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return false;
        if (ca == 0)
            return true;
    }
    return true;
}

void SetEntryName(char (&name)[8], const char* text) {
    std::memset(name, 0, 8);
    for (int i = 0; i < 8 && text[i]; ++i)
        name[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
}

std::string EntryNameText(const char (&name)[8]) {
    return std::string(name, strnlen(name, 8));
}

void ComplainAboutFile(const char* text) {
    PrintAt(1, 25, ClearLine::Yes, "%s", text);
    if (InTextMode())
        WaitConsoleKey();
}

int CheckFileType(char* name, const char* tag, FileCheck check) {
    FILE* f = OpenExisting(name, "rb");
    if (!f) {
        if (check == FileCheck::Complain) {
            ComplainAboutFile(("file " + std::string(name) + " not found, press a key").c_str());
            name[0] = 0;
        }
        return 0;
    }
    char found[5] = {};
    size_t n = std::fread(found, 1, 4, f);
    std::fclose(f);
    bool accepted = n == 4 && std::memcmp(found + 1, tag + 1, 3) == 0 &&
                    (tag[0] == '_' || found[0] == tag[0]);
    if (accepted)
        return 1;
    for (char& c : found)
        if (c && !std::isprint(static_cast<unsigned char>(c)))
            c = '?';
    ComplainAboutFile((std::string(name) + " is not " + tag + ", found " + found + ", press a key").c_str());
    if (check == FileCheck::Complain)
        name[0] = 0;
    return 0;
}

int NormalizeWadName(char* name, size_t fieldSize) {
    if (!name[0])
        return 0;
    std::string given = name;
    size_t slash = given.rfind('/');
    std::string dir = slash == std::string::npos ? "" : given.substr(0, slash + 1);
    std::string file = slash == std::string::npos ? given : given.substr(slash + 1);
    if (file.empty())
        return 0;
    if (dir.empty())
        dir = config.patchPath[0] ? config.patchPath : WorkDir();
    if (file.find('.') == std::string::npos)
        file += ".WAD";
    std::string completed = dir + file;
    if (completed.size() >= fieldSize)
        return 0;
    std::memset(name, 0, fieldSize);
    std::memcpy(name, completed.data(), completed.size());
    return 1;
}

FILE* OpenWadStream(const char* name) {
    errno = 0;
    FILE* f = OpenExisting(name, "rb");
    if (!f)
        FileFatalError(FileAction::Read, SystemErrorText(errno ? errno : ENOENT), "opening %s", name);
    return f;
}

std::string FileNamePart(const char* path) {
    const char* slash = std::strrchr(path, '/');
    std::string part = slash ? slash + 1 : path;
    for (char& c : part)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return part;
}

bool SameFileName(const char* a, const char* b) {
    std::filesystem::path pa = ResolveExistingPath(a), pb = ResolveExistingPath(b);
    std::error_code error;
    if (std::filesystem::exists(pa, error) && std::filesystem::exists(pb, error)) {
        bool same = std::filesystem::equivalent(pa, pb, error);
        return !error && same;
    }
    auto normal = [](const std::filesystem::path& p) {
        std::error_code ignored;
        return std::filesystem::absolute(p, ignored).lexically_normal();
    };
    return normal(pa) == normal(pb);
}

std::string FileToReplace(const std::string& name) {
    std::string onDisk = ResolveExistingPath(name);
    std::error_code error;
    if (!std::filesystem::is_symlink(onDisk, error))
        return onDisk;
    std::filesystem::path target = std::filesystem::canonical(onDisk, error);
    return error ? onDisk : target.string();
}

std::string BackupName(const std::string& name) {
    std::string onDisk = ResolveExistingPath(name);
    size_t slash = onDisk.rfind('/');
    size_t dot = onDisk.rfind('.');
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return ResolveExistingPath((hasExtension ? onDisk.substr(0, dot) : onDisk) + ".BAK");
}

void SeekChecked(FILE* stream, const char* fileName, int32_t offset) {
    if (!stream || offset < 0 || std::fseek(stream, offset, SEEK_SET) != 0)
        FileFatalError(FileAction::Read, SystemErrorText(stream && offset >= 0 ? errno : EINVAL),
                       "%s error seeking at %ld", fileName, static_cast<long>(offset));
}

void ReadChunked(FILE* stream, void* buffer, int32_t length) {
    char* out = static_cast<char*>(buffer);
    while (length > 0) {
        int32_t piece = std::min(length, kReadPiece);
        if (std::fread(out, 1, static_cast<size_t>(piece), stream) != static_cast<size_t>(piece))
            ShortTransfer(FileAction::Read, stream, piece);
        out += piece;
        length -= piece;
    }
}

void WriteChecked(FILE* stream, const void* buffer, int32_t length) {
    const char* in = static_cast<const char*>(buffer);
    while (length > 0) {
        int32_t piece = std::min(length, kWritePiece);
        if (std::fwrite(in, 1, static_cast<size_t>(piece), stream) != static_cast<size_t>(piece))
            ShortTransfer(FileAction::Write, stream, piece);
        in += piece;
        length -= piece;
    }
}

void CopyChecked(FILE* target, FILE* source, int32_t length) {
    if (length < 1)
        return;
    std::vector<char> buffer(static_cast<size_t>(std::min(length, kCopyBuffer)));
    while (length > 0) {
        int32_t piece = std::min(length, static_cast<int32_t>(buffer.size()));
        if (std::fread(buffer.data(), 1, static_cast<size_t>(piece), source) !=
            static_cast<size_t>(piece))
            ShortTransfer(FileAction::Read, source, piece);
        if (std::fwrite(buffer.data(), 1, static_cast<size_t>(piece), target) !=
            static_cast<size_t>(piece))
            ShortTransfer(FileAction::Write, target, piece);
        length -= piece;
    }
}

void WriteLE32(FILE* stream, int32_t value) {
    unsigned char b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
    WriteChecked(stream, b, 4);
}

void WriteDirEntry(FILE* stream, int32_t offset, int32_t size, const char (&name)[8]) {
    WriteLE32(stream, offset);
    WriteLE32(stream, size);
    WriteChecked(stream, name, 8);
}

std::string TryReadWadDirectory(WadFile& file, int row) {
    file.dir.clear();
    int64_t fileSize = FileSize(file.handle);
    SeekChecked(file.handle, file.name, 4);
    unsigned char header[8];
    if (fileSize < kWadHeaderSize || std::fread(header, 1, 8, file.handle) != 8)
        return "it is too short for a WAD header";
    file.count = ReadLE32(header);
    file.dirOffset = ReadLE32(header + 4);
    char why[120];
    if (file.count < 0 || file.dirOffset < 0 ||
        file.dirOffset + static_cast<int64_t>(file.count) * kWadEntrySize > fileSize) {
        std::snprintf(why, sizeof why, "its directory (%ld entries at %ld) lies outside the file",
                      static_cast<long>(file.count), static_cast<long>(file.dirOffset));
        return why;
    }
    std::vector<unsigned char> raw(static_cast<size_t>(file.count) * kWadEntrySize);
    SeekChecked(file.handle, file.name, file.dirOffset);
    ReadChunked(file.handle, raw.data(), static_cast<int32_t>(raw.size()));
    std::vector<WadDirEntry> dir(static_cast<size_t>(file.count));
    for (int32_t i = 0; i < file.count; ++i) {
        const unsigned char* p = &raw[static_cast<size_t>(i) * kWadEntrySize];
        WadDirEntry& e = dir[static_cast<size_t>(i)];
        e.offset = ReadLE32(p);
        e.size = ReadLE32(p + 4);
        std::memcpy(e.name, p + 8, 8);
        e.file = row;
        bool outside = e.size < 0 ||
                       (e.size > 0 && (e.offset < 0 || e.offset + static_cast<int64_t>(e.size) > fileSize));
        if (outside) {
            std::snprintf(why, sizeof why, "entry %ld (%s) lies outside the file", static_cast<long>(i),
                          EntryNameText(e.name).c_str());
            return why;
        }
    }
    file.dir = std::move(dir);
    return "";
}

void ReadWadDirectory(WadFile& file, int row) {
    std::string damage = TryReadWadDirectory(file, row);
    if (!damage.empty())
        FatalError("WAD file %s is damaged: %s", file.name, damage.c_str());
}
