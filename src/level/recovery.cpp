#include "level/recovery.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "base/flavour.h"
#include "base/work_dir.h"
#include "level/level.h"
#include "platform/files.h"
#include "wad/wadfile.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* kTimeLump = "UNSAVED";

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

Bytes ReadWholeFile(const std::string& path) {
    Bytes bytes;
    FILE* file = OpenExisting(path, "rb");
    if (!file)
        return bytes;
    int64_t size = FileSize(file);
    if (size > 0) {
        bytes.resize(static_cast<size_t>(size));
        if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
            bytes.clear();
    }
    std::fclose(file);
    return bytes;
}

// A recovery file read and checked: the time lump, then the marker and the
// five lumps, each a whole number of records.
struct Recovered {
    Bytes file;
    std::vector<Lump> lumps;   // marker first
    int64_t writtenAt = 0;
};

const char* const kEditedLumps[] = {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SECTORS"};
const size_t kRecordSizes[] = {sizeof(Thing), sizeof(LineDef), sizeof(SideDef), sizeof(Vertex),
                               sizeof(Sector)};

bool ReadRecovery(Recovered& out) {
    out.file = ReadWholeFile(RecoveryFilePath());
    std::vector<Lump> lumps = Directory(out.file);
    if (lumps.size() != 7 || lumps[0].name != kTimeLump || lumps[0].size > 20)
        return false;
    out.lumps.assign(lumps.begin() + 1, lumps.end());
    for (size_t i = 0; i < 5; ++i)
        if (out.lumps[i + 1].name != kEditedLumps[i] || out.lumps[i + 1].size % kRecordSizes[i] != 0)
            return false;
    std::string time(out.file.begin() + static_cast<long>(lumps[0].offset),
                     out.file.begin() + static_cast<long>(lumps[0].offset + lumps[0].size));
    out.writtenAt = std::strtoll(time.c_str(), nullptr, 10);
    return true;
}

template <typename T>
void TakeRecords(ObjectArray<T>& array, const Recovered& from, int lump) {
    const Lump& l = from.lumps[static_cast<size_t>(lump)];
    int32_t count = static_cast<int32_t>(l.size / sizeof(T));
    AllocateArray(array, count, count);
    if (l.size > 0)
        std::memcpy(array.records.data(), &from.file[l.offset], l.size);
}

}  // namespace

std::string RecoveryFilePath() { return WorkDir() + Names().recoveryFile; }

bool WriteRecoveryFile(std::string& error) {
    WadImage wad;
    std::string time = std::to_string(static_cast<long long>(std::time(nullptr)));
    wad.Add(kTimeLump, time.data(), time.size());
    wad.Add(level.name, nullptr, 0);
    wad.AddArray(kEditedLumps[0], level.things);
    wad.AddArray(kEditedLumps[1], level.lineDefs);
    wad.AddArray(kEditedLumps[2], level.sideDefs);
    wad.AddArray(kEditedLumps[3], level.vertices);
    wad.AddArray(kEditedLumps[4], level.sectors);
    const Bytes& bytes = wad.Finish();
    int code = 0;
    if (ReplaceFileContents(RecoveryFilePath(), bytes.data(), bytes.size(), code))
        return true;
    error = SystemErrorText(code);
    return false;
}

bool FindRecoveryFile(RecoveryInfo& info) {
    Recovered recovered;
    if (!ReadRecovery(recovered))
        return false;
    info.levelName = recovered.lumps[0].name;
    info.writtenAt = recovered.writtenAt;
    return true;
}

bool RestoreRecoveryFile() {
    Recovered recovered;
    if (!ReadRecovery(recovered) || !SameEntryName(recovered.lumps[0].name.c_str(), level.name))
        return false;
    TakeRecords(level.things, recovered, 1);
    TakeRecords(level.lineDefs, recovered, 2);
    TakeRecords(level.sideDefs, recovered, 3);
    TakeRecords(level.vertices, recovered, 4);
    TakeRecords(level.sectors, recovered, 5);
    level.levelChanged = level.mapChanged = true;
    return true;
}

void RemoveRecoveryFile() { std::remove(RecoveryFilePath().c_str()); }
