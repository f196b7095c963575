#include "level/recovery.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>

#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "level/history.h"
#include "level/level.h"
#include "level/level_files.h"
#include "platform/files.h"
#include "wad/master.h"
#include "wad/wadfile.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* kSessionLump = "UNSAVED";
constexpr const char* kSetAsideSuffix = ".damaged";
constexpr size_t kMaxSessionText = 1 << 16;
// The last second of the year 9999: a later time is damage.
constexpr int64_t kLatestTime = 253402300799;

struct RecoveryState {
    std::string ownPath;   // this session's file once it has one
    long session = 1;      // which session of this process
};

RecoveryState recovery;

void PutLE32(Bytes& out, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

int32_t GetLE32(const Bytes& in, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= uint32_t{in[at + static_cast<size_t>(i)]} << (8 * i);
    return static_cast<int32_t>(value);
}

// A PWAD put together in memory, lump by lump.
class WadImage {
public:
    WadImage() : bytes_(kWadHeaderSize, 0) { std::memcpy(bytes_.data(), "PWAD", 4); }
    void Add(const char* name, const void* data, size_t size) {
        Entry entry{static_cast<int32_t>(bytes_.size()), static_cast<int32_t>(size), {}};
        SetEntryName(entry.name, name);
        entries_.push_back(entry);
        const uint8_t* from = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), from, from + size);
    }
    template <typename T>
    void AddArray(const char* name, const ObjectArray<T>& array) {
        Add(name, array.records.data(), static_cast<size_t>(array.count) * sizeof(T));
    }
    const Bytes& Finish() {
        PutLE32(bytes_, 4, static_cast<int32_t>(entries_.size()));
        PutLE32(bytes_, 8, static_cast<int32_t>(bytes_.size()));
        for (const Entry& e : entries_) {
            size_t at = bytes_.size();
            bytes_.resize(at + kWadEntrySize);
            PutLE32(bytes_, at, e.offset);
            PutLE32(bytes_, at + 4, e.size);
            std::memcpy(&bytes_[at + 8], e.name, 8);
        }
        return bytes_;
    }

private:
    struct Entry {
        int32_t offset, size;
        char name[8];
    };
    Bytes bytes_;
    std::vector<Entry> entries_;
};

struct Lump {
    std::string name;
    size_t offset = 0;
    size_t size = 0;
};

// The directory of a WAD held in memory; empty when the file is not a PWAD
// or a lump lies outside it.
std::vector<Lump> Directory(const Bytes& file) {
    if (file.size() < kWadHeaderSize || std::memcmp(file.data(), "PWAD", 4) != 0)
        return {};
    int64_t count = GetLE32(file, 4), at = GetLE32(file, 8);
    if (count < 0 || at < 0 || at + count * kWadEntrySize > static_cast<int64_t>(file.size()))
        return {};
    std::vector<Lump> lumps;
    for (int64_t i = 0; i < count; ++i) {
        size_t entry = static_cast<size_t>(at + i * kWadEntrySize);
        int64_t offset = GetLE32(file, entry), size = GetLE32(file, entry + 4);
        if (offset < 0 || size < 0 || offset + size > static_cast<int64_t>(file.size()))
            return {};
        char name[8];
        std::memcpy(name, &file[entry + 8], 8);
        lumps.push_back({EntryNameText(name), static_cast<size_t>(offset), static_cast<size_t>(size)});
    }
    return lumps;
}

// The file's bytes; false when it is not a file that can be read whole.
bool ReadWholeFile(const std::string& path, Bytes& bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    FILE* file = OpenExisting(path, "rb");
    if (!file)
        return false;
    int64_t size = FileSize(file);
    bool read = size >= 0;
    if (read && size > 0) {
        bytes.resize(static_cast<size_t>(size));
        read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return read;
}

// The session that wrote a file: process id, which session of the process,
// and the mark of the process's start ("-" when the system gave none).
struct Owner {
    long pid = 0;   // 0: unknown (a file of an older build)
    long session = 0;
    std::string mark;
};

// A recovery file read and checked: the session's text, then the marker and
// the five lumps, each a whole number of records.
struct Recovered {
    Bytes file;
    std::vector<Lump> lumps;   // marker first
    RecoveryInfo info;
    Owner owner;
    std::optional<MapTarget> target;   // none in a file of an older build
};

const char* const kEditedLumps[] = {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SECTORS"};
const size_t kRecordSizes[] = {sizeof(Thing), sizeof(LineDef), sizeof(SideDef), sizeof(Vertex),
                               sizeof(Sector)};

// A number of at most digits decimal digits and nothing else.
bool ParseNumber(const std::string& text, size_t digits, int64_t& value) {
    if (text.empty() || text.size() > digits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = std::stoll(text);
    return true;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != std::string::npos) {
        size_t end = text.find(' ', at);
        words.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? text.size() : end;
    }
    return words;
}

bool ParseOwner(const std::string& text, Owner& owner) {
    std::vector<std::string> words = Words(text);
    int64_t pid = 0, session = 0;
    if (words.size() != 3 || !ParseNumber(words[0], 9, pid) || !ParseNumber(words[1], 9, session) || pid == 0)
        return false;
    owner = Owner{static_cast<long>(pid), static_cast<long>(session), words[2]};
    return true;
}

// Reads the session's lines ("key value"; keys it does not know are passed
// over); "" when they are sound, else what is wrong.
std::string ParseSession(const std::string& text, Recovered& out) {
    if (text.size() > kMaxSessionText)
        return "its session text is too long";
    for (char c : text)
        if (c != '\n' && std::iscntrl(static_cast<unsigned char>(c)))
            return "its session text holds control characters";
    int64_t number = 0;
    if (ParseNumber(text, 18, number)) {   // an older build wrote the time alone
        out.info.writtenAt = number;
        return number <= kLatestTime ? "" : "its time is out of range";
    }
    bool written = false;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        at = end + 1;
        size_t blank = line.find(' ');
        std::string key = line.substr(0, blank), value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (key == "written") {
            if (!ParseNumber(value, 18, number) || number > kLatestTime)
                return "its time is out of range";
            out.info.writtenAt = number;
            written = true;
        } else if (key == "owner" && !ParseOwner(value, out.owner)) {
            return "its owner line is not sound";
        } else if (key == "iwad") {
            out.info.iwad = value;
        } else if (key == "pwad") {
            out.info.pwads.push_back(value);
        } else if (key == "nodes-stale") {
            out.info.nodesStale = value == "1";
        } else if (key == "target") {
            out.target = value == "original" ? MapTarget::Original : TargetOfCompLevel(value);
        }
    }
    if (!written || out.owner.pid == 0 || out.info.iwad.empty())
        return "its session text is incomplete";
    return "";
}

// "" when the file is a whole recovery file, else what is wrong with it.
std::string ReadRecovery(const std::string& path, Recovered& out) {
    if (!ReadWholeFile(path, out.file))
        return "it cannot be read as a file";
    std::vector<Lump> lumps = Directory(out.file);
    if (lumps.size() != 7 || lumps[0].name != kSessionLump)
        return "it is not a PWAD of the session and the level's lumps";
    out.lumps.assign(lumps.begin() + 1, lumps.end());
    WadDirEntry marker{};
    SetEntryName(marker.name, out.lumps[0].name.c_str());
    marker.size = static_cast<int32_t>(out.lumps[0].size);
    if (!IsLevelNameInStyle(marker, kStyleEpisodes) && !IsLevelNameInStyle(marker, kStyleMaps))
        return "it holds no level marker";
    for (size_t i = 0; i < 5; ++i)
        if (out.lumps[i + 1].name != kEditedLumps[i] || out.lumps[i + 1].size % kRecordSizes[i] != 0)
            return std::string("its ") + kEditedLumps[i] + " lump is not whole";
    const Lump& session = lumps[0];
    std::string text(out.file.begin() + static_cast<long>(session.offset),
                     out.file.begin() + static_cast<long>(session.offset + session.size));
    out.info.path = path;
    out.info.levelName = out.lumps[0].name;
    return ParseSession(text, out);
}

// True while the session that wrote the file runs.
bool OwnerRunning(const Owner& owner) {
    if (owner.pid <= 0)
        return false;
    std::string mark = ProcessStartMark(owner.pid);
    if (mark.empty() || mark != owner.mark)
        return false;
    return owner.pid != CurrentProcessId() || owner.session == recovery.session;
}

// The flavour's recovery file name without ".WAD" ("BrelUnsaved").
std::string NameStem() {
    std::string name = Names().recoveryFile;
    return name.substr(0, name.rfind('.'));
}

// "BrelUnsaved.WAD" (an older build's), "BrelUnsaved-4711.WAD",
// "BrelUnsaved-4711-2.WAD".
bool IsRecoveryFileName(const std::string& name) {
    std::string stem = NameStem(), extension = ".WAD";
    if (name.size() < stem.size() + extension.size() || name.compare(0, stem.size(), stem) != 0 ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        return false;
    std::string middle = name.substr(stem.size(), name.size() - stem.size() - extension.size());
    return middle.empty() ||
           (middle[0] == '-' && std::all_of(middle.begin(), middle.end(), [](char c) {
                return c == '-' || (c >= '0' && c <= '9');
            }));
}

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string FullName(const std::string& name) {
    return name.empty() || name[0] == '/' ? name : WorkDir() + name;
}

// Renames a damaged file out of the way; the lines that tell the user.
std::vector<std::string> SetAside(const std::string& path, const std::string& damage) {
    std::string target = path + kSetAsideSuffix;
    for (int n = 2; FileExists(target) && n < 100; ++n)
        target = path + kSetAsideSuffix + "-" + std::to_string(n);
    std::error_code error;
    std::filesystem::rename(path, target, error);
    std::vector<std::string> lines = {"Recovery file " + FileNameOf(path) + " is damaged:", damage + ";"};
    lines.push_back(error ? "it could not be set aside: " + error.message()
                          : "it is set aside as " + FileNameOf(target));
    return lines;
}

// Left for this IWAD, with a level named as its levels are.
bool ForThisGame(const Recovered& recovered) {
    WadDirEntry marker{};
    SetEntryName(marker.name, recovered.info.levelName.c_str());
    const std::string& iwad = recovered.info.iwad;
    return IsLevelName(marker) &&
           (iwad.empty() || SameFileName(iwad.c_str(), FullName(config.iwadName).c_str()));
}

template <typename T>
void TakeRecords(ObjectArray<T>& array, const Recovered& from, int lump) {
    const Lump& l = from.lumps[static_cast<size_t>(lump)];
    int32_t count = static_cast<int32_t>(l.size / sizeof(T));
    AllocateArray(array, count, count);
    if (l.size > 0)
        std::memcpy(array.records.data(), &from.file[l.offset], l.size);
}

// The first name of this session's file that no file has.
std::string NewOwnPath() {
    std::string base = WorkDir() + NameStem() + "-" + std::to_string(CurrentProcessId());
    std::string path = base + ".WAD";
    for (int n = 2; FileExists(path); ++n)
        path = base + "-" + std::to_string(n) + ".WAD";
    return path;
}

std::string SessionText() {
    std::string mark = ProcessStartMark(CurrentProcessId());
    std::string text = "written " + std::to_string(static_cast<long long>(std::time(nullptr))) + "\n";
    text += "owner " + std::to_string(CurrentProcessId()) + " " + std::to_string(recovery.session) + " " +
            (mark.empty() ? "-" : mark) + "\n";
    text += "iwad " + FullName(config.iwadName) + "\n";
    for (const std::string& pwad : RememberedPwads())
        text += "pwad " + FullName(pwad) + "\n";
    text += std::string("nodes-stale ") + (SavedMapChanged() ? "1" : "0") + "\n";
    text += std::string("target ") + (level.target == MapTarget::Original ? "original" : CompLevelKeyword(level.target)) +
            "\n";
    return text;
}

}  // namespace

RecoveryScan FindRecoveryFiles() {
    RecoveryScan scan;
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(WorkDir(), error), end; !error && it != end; it.increment(error))
        if (IsRecoveryFileName(it->path().filename().string()))
            names.push_back(WorkDir() + it->path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& path : names) {
        if (path == recovery.ownPath)
            continue;
        Recovered recovered;
        std::string damage = ReadRecovery(path, recovered);
        if (!damage.empty()) {
            std::vector<std::string> lines = SetAside(path, damage);
            scan.setAside.insert(scan.setAside.end(), lines.begin(), lines.end());
        } else if (!OwnerRunning(recovered.owner)) {
            (ForThisGame(recovered) ? scan.ours : scan.others).push_back(recovered.info);
        }
    }
    auto newestFirst = [](const RecoveryInfo& a, const RecoveryInfo& b) { return a.writtenAt > b.writtenAt; };
    std::stable_sort(scan.ours.begin(), scan.ours.end(), newestFirst);
    std::stable_sort(scan.others.begin(), scan.others.end(), newestFirst);
    return scan;
}

std::string WrittenAtText(int64_t seconds) {
    std::time_t when = static_cast<std::time_t>(seconds), now = std::time(nullptr);
    const std::tm* local = std::localtime(&when);
    if (!local)
        return "an unknown time";
    std::tm then = *local;
    std::tm today = *std::localtime(&now);
    bool sameDay = then.tm_year == today.tm_year && then.tm_yday == today.tm_yday;
    char text[32];
    std::strftime(text, sizeof text, sameDay ? "%H:%M" : "%d %b %H:%M", &then);
    return text;
}

std::string RecoveryFilePath() { return recovery.ownPath; }

bool WriteRecoveryFile(std::string& error) {
    if (recovery.ownPath.empty())
        recovery.ownPath = NewOwnPath();
    WadImage wad;
    std::string session = SessionText();
    wad.Add(kSessionLump, session.data(), session.size());
    wad.Add(level.name, nullptr, 0);
    wad.AddArray(kEditedLumps[0], level.things);
    wad.AddArray(kEditedLumps[1], level.lineDefs);
    wad.AddArray(kEditedLumps[2], level.sideDefs);
    wad.AddArray(kEditedLumps[3], level.vertices);
    wad.AddArray(kEditedLumps[4], level.sectors);
    const Bytes& bytes = wad.Finish();
    int code = 0;
    if (ReplaceFileContents(recovery.ownPath, bytes.data(), bytes.size(), code))
        return true;
    error = SystemErrorText(code);
    return false;
}

bool RestoreRecoveryFile(const RecoveryInfo& info, std::vector<std::string>& refusal) {
    Recovered recovered;
    std::string damage = ReadRecovery(info.path, recovered);
    if (damage.empty() && OwnerRunning(recovered.owner)) {
        refusal = {"Another editor has taken these changes back meanwhile."};
        return false;
    }
    if (damage.empty() && !SameEntryName(recovered.info.levelName.c_str(), level.name)) {
        refusal = {"The file holds " + recovered.info.levelName + ", not " + level.name + "."};
        return false;
    }
    ObjectArray<LineDef> lineDefs;
    if (damage.empty()) {
        TakeRecords(lineDefs, recovered, 2);
        int32_t vertices = static_cast<int32_t>(recovered.lumps[4].size / sizeof(Vertex));
        refusal = LineDefVertexFault(lineDefs, vertices);
        if (!refusal.empty())
            damage = "a LineDef names a missing Vertex";
    }
    if (!damage.empty()) {
        std::vector<std::string> lines = SetAside(info.path, damage);
        refusal.insert(refusal.end(), lines.begin(), lines.end());
        return false;
    }
    level.levelChanged = false;
    level.mapChanged = recovered.info.nodesStale;
    ResetHistory();
    TakeRecords(level.things, recovered, 1);
    level.lineDefs = std::move(lineDefs);
    TakeRecords(level.sideDefs, recovered, 3);
    TakeRecords(level.vertices, recovered, 4);
    TakeRecords(level.sectors, recovered, 5);
    level.target = recovered.target.value_or(level.target);
    NameStep("restore unsaved changes");
    RecordStep();
    // The file is this session's now: written again under its name and owner.
    recovery.ownPath = info.path;
    std::string error;
    WriteRecoveryFile(error);
    return true;
}

void RemoveRecoveryFile() {
    if (!recovery.ownPath.empty())
        std::remove(recovery.ownPath.c_str());
}

void DiscardRecoveryFile(const RecoveryInfo& info) { std::remove(info.path.c_str()); }

void StartRecoverySession() {
    recovery.ownPath.clear();
    ++recovery.session;
}
