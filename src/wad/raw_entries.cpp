#include "wad/raw_entries.h"

#include <cctype>
#include <memory>

#include "platform/files.h"
#include "base/command_words.h"
#include "base/fatal.h"
#include "wad/commands.h"
#include "wad/master.h"
#include "wad/output.h"

namespace {

constexpr int64_t kMaxEntryBytes = INT32_MAX - kOneEntryDataOffset;

void WriteOneEntryHeader(FILE* target, int32_t size, const char (&name)[8]) {
    WriteChecked(target, "PWAD", 4);
    WriteLE32(target, 1);
    WriteLE32(target, kWadHeaderSize);
    WriteDirEntry(target, kOneEntryDataOffset, size, name);
}

bool HasWadExtension(const std::string& name, size_t dot) {
    std::string extension = name.substr(dot);
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension == ".WAD";
}

using FileCloser = std::unique_ptr<FILE, int (*)(FILE*)>;

FILE* OpenRawFile(const std::string& path) {
    return IsDirectory(path) ? nullptr : OpenExisting(path, "rb");
}

// A raw file is looked for where XTRACT puts it (the patch path, else the
// working directory) when the name gives no directory, then as given.
FILE* OpenRawSource(const std::string& name) {
    std::string completed = CompleteWadName(name);
    bool extensionAdded = FileNamePart(name.c_str()).find('.') == std::string::npos &&
                          completed.size() > 4 && completed.compare(completed.size() - 4, 4, ".WAD") == 0;
    if (extensionAdded)
        completed.resize(completed.size() - 4);   // raw names get no ".WAD"
    FILE* raw = OpenRawFile(completed);
    return raw ? raw : OpenRawFile(name);
}

}  // namespace

int WriteEntry(const std::string& target, const std::string& entryName, const std::string& newName,
               EntryForm form) {
    const WadDirEntry* found = FindEntry(0, entryName.c_str(), EntryNeed::Optional);
    if (!found) {
        PrintAt(1, 25, ClearLine::Yes, "Entry %s not Found", entryName.c_str());
        return 0;
    }
    WadDirEntry entry = *found;
    OutputFile out;
    if (!out.Create(target)) {
        PrintAt(1, 25, ClearLine::Yes, "creating file %s (%s)", target.c_str(), out.reason().c_str());
        return 0;
    }
    if (form == EntryForm::Pwad) {
        char name[8];
        std::copy(entry.name, entry.name + 8, name);
        if (!newName.empty())
            SetEntryName(name, newName.c_str());
        WriteOneEntryHeader(out.stream(), entry.size, name);
    }
    CopyEntryData(out.stream(), entry);
    out.Finish();
    return 1;
}

int InsertRaw(FILE* target, FILE* raw, const std::string& objectName) {
    if (std::fseek(raw, 0, SEEK_END) != 0)
        FatalError("seekend rawfile");
    long size = std::ftell(raw);
    if (size < 0)
        FatalError("rawfile size < 0 ?");
    if (size > kMaxEntryBytes) {
        PrintAt(1, 25, ClearLine::Yes, "The raw file is too large for a WAD file (%ld bytes)", size);
        return 0;
    }
    SeekChecked(raw, "rawfile", 0);
    char name[8];
    SetEntryName(name, objectName.c_str());
    WriteOneEntryHeader(target, static_cast<int32_t>(size), name);
    CopyChecked(target, raw, static_cast<int32_t>(size));
    return 1;
}

std::string RawTargetName(const std::string& completed) {
    size_t slash = completed.rfind('/');
    size_t dot = completed.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return completed + ".RAW";
    if (HasWadExtension(completed, dot))
        return completed.substr(0, dot) + ".RAW";
    return completed;
}

void CommandInsert(CommandWords& words) {
    std::string rawName, object;
    if (!GetNameArg(words, rawName, kMaxFileNameArg, "Raw File") ||
        !GetNameArg(words, object, 8, "Object Name"))
        return;
    FileCloser raw(OpenRawSource(rawName), std::fclose);
    if (!raw) {
        PrintAt(1, 25, ClearLine::Yes, "Input file %s not found", rawName.c_str());
        return;
    }
    std::string target = CompleteWadName(object);
    if (!TargetIsFree(target))
        return;
    PrintAt(1, 25, ClearLine::Yes, "Including new object %s in file %s", object.c_str(), target.c_str());
    OutputFile out;
    if (!out.Create(target)) {
        PrintAt(1, 25, ClearLine::Yes, "creating file %s (%s)", target.c_str(), out.reason().c_str());
        return;
    }
    if (InsertRaw(out.stream(), raw.get(), object))
        out.Finish();
}

void CommandXtract(CommandWords& words) {
    std::string object, rawWord;
    if (!GetNameArg(words, object, 8, "Object Name") ||
        !GetNameArg(words, rawWord, kMaxFileNameArg, "Raw File"))
        return;
    std::string target = RawTargetName(CompleteWadName(rawWord));
    if (!TargetIsFree(target))
        return;
    PrintAt(1, 25, ClearLine::Yes, "Saving directory entry %s data to %s", object.c_str(), target.c_str());
    WriteEntry(target, object, "", EntryForm::Raw);
}

void CommandSave(CommandWords& words) {
    std::string object, target, newName;
    if (!GetNameArg(words, object, 8, "Object Name") || !TargetNameArg(words, "WAD File", target))
        return;
    if (!words.Peek().empty() && !GetNameArg(words, newName, 8, "Object Name"))
        return;
    PrintAt(1, 25, ClearLine::Yes, "Saving directory entry %s %s to %s", object.c_str(), newName.c_str(),
            target.c_str());
    WriteEntry(target, object, newName, EntryForm::Pwad);
}
