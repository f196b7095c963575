#include "wad/output.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "base/command_words.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/work_dir.h"
#include "wad/master.h"
#include "wad/wadfile.h"

OutputFile::~OutputFile() { AbandonReplacement(file_); }

bool OutputFile::Create(const std::string& name) {
    name_ = name;
    if (IsDirectory(name)) {
        file_.error = EISDIR;
        return false;
    }
    return BeginReplacement(name, file_);
}

std::string OutputFile::reason() const { return SystemErrorText(file_.error); }

void OutputFile::Finish() {
    // A failed write leaves the stream's error flag set even when a later
    // flush succeeds; its own error number is gone by now.
    bool written = file_.stream && !std::ferror(file_.stream);
    if (!written) {
        AbandonReplacement(file_);
        file_.error = EIO;
    }
    if (!written || !CommitReplacement(file_))
        FileFatalError(FileAction::Write, reason(), "error writing %s: the file was not replaced",
                       name_.c_str());
    file_ = ReplacementFile{};   // in place: nothing left to throw away
}

int CreateOutput(const std::string& name, OutputFile& out) {
    if (out.Create(name))
        return 1;
    PrintAt(1, 25, ClearLine::Yes, "Unable to open : %s (%s)", name.c_str(), out.reason().c_str());
    return 0;
}

std::string CompleteWadName(const std::string& word) {
    // Room for the word behind either directory and the added extension, so
    // that the completion never fails for want of space.
    size_t room = std::strlen(config.patchPath) + WorkDir().size() + sizeof ".WAD";
    std::vector<char> name(word.size() + room + 1, 0);
    word.copy(name.data(), word.size());
    NormalizeWadName(name.data(), name.size());
    return name.data();
}

bool IsOpenWadFile(const std::string& name) {
    for (int r = 0; r < kOpenWadRows; ++r) {
        const char* open = RowFileName(r);
        if (open && open[0] && SameFileName(name.c_str(), open))
            return true;
    }
    return false;
}

int TargetIsFree(const std::string& name) {
    if (!IsOpenWadFile(name))
        return 1;
    PrintAt(1, 25, ClearLine::Yes, "File %s is in use here and cannot be overwritten.", name.c_str());
    return 0;
}

int TargetNameArg(CommandWords& words, const char* label, std::string& target) {
    std::string word;
    if (!GetNameArg(words, word, kMaxFileNameArg, label))
        return 0;
    target = CompleteWadName(word);
    return TargetIsFree(target);
}

void CopyEntryData(FILE* target, const WadDirEntry& entry) {
    // Markers hold no data, and their offsets need not point into the file.
    if (entry.size <= 0)
        return;
    FILE* source = MakeRowReady(entry.file);
    SeekChecked(source, RowFileName(entry.file) ? RowFileName(entry.file) : "", entry.offset);
    CopyChecked(target, source, entry.size);
}
