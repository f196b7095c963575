// Speed of the WAD layer on a real IWAD: opening freedoom2.wad with its
// master directory, reading a PWAD over it, and building a complete IWAD.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/console.h"
#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "wad/build.h"
#include "wad/master.h"

namespace {

const char* const kIwad = "/usr/share/games/doom/freedoom2.wad";
constexpr int kRuns = 20;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A short scratch directory, as the program's 44-byte name fields need.
std::string MakeScratchDir() {
    std::mt19937 random(std::random_device{}());
    std::string dir = "/tmp/zb_" + std::to_string(random() % 1000000) + "/";
    std::filesystem::create_directories(dir);
    return dir;
}

void PutLE32(std::vector<char>& out, int32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(static_cast<uint32_t>(value) >> (8 * i)));
}

// A PWAD that replaces MAP01 with the IWAD's own lumps, a palette, and adds
// two hundred new 4 KiB entries: the kind of file a level designer reads.
size_t WritePwad(const std::string& path) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> lumps;
    const WadDirEntry* marker = FindEntry(0, "MAP01", EntryNeed::Required);
    for (int k = 0; k < kLevelLumpCount; ++k)
        lumps.emplace_back(EntryNameText(marker[k].name), ReadEntryData(marker[k]));
    lumps.emplace_back("PLAYPAL", ReadEntryData(*FindEntry(0, "PLAYPAL", EntryNeed::Required)));
    for (int i = 0; i < 200; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "BNCH%04d", i);
        lumps.emplace_back(name, std::vector<uint8_t>(4096, static_cast<uint8_t>(i)));
    }
    std::vector<char> data, dir;
    for (const auto& l : lumps) {
        PutLE32(dir, static_cast<int32_t>(12 + data.size()));
        PutLE32(dir, static_cast<int32_t>(l.second.size()));
        char name[8] = {};
        l.first.copy(name, 8);
        dir.insert(dir.end(), name, name + 8);
        data.insert(data.end(), l.second.begin(), l.second.end());
    }
    std::vector<char> header = {'P', 'W', 'A', 'D'};
    PutLE32(header, static_cast<int32_t>(lumps.size()));
    PutLE32(header, static_cast<int32_t>(12 + data.size()));
    std::ofstream out(path, std::ios::binary);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.write(dir.data(), static_cast<std::streamsize>(dir.size()));
    return lumps.size();
}

void OpenFreshIwad() {
    ResetMaster();
    std::memset(config.pwadList, 0, sizeof config.pwadList);
    SetField(config.iwadName, kIwad);
    OpenIwad(config.iwadName);
}

double BestOpenMs() {
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        ResetMaster();
        SetField(config.iwadName, kIwad);
        Clock::time_point start = Clock::now();
        OpenIwad(config.iwadName);
        best = std::min(best, MillisecondsSince(start));
    }
    return best;
}

int ReadPwad(const std::string& path) {
    SetField(config.pwadList[0], path.c_str());
    return LoadPwad(config.pwadList[0]);
}

double BestReadMs(const std::string& pwad) {
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        OpenFreshIwad();
        Clock::time_point start = Clock::now();
        ReadPwad(pwad);
        best = std::min(best, MillisecondsSince(start));
    }
    return best;
}

}  // namespace

int main() {
    if (!std::filesystem::exists(kIwad)) {
        std::printf("wad_bench: %s is not installed; nothing measured\n", kIwad);
        return 0;
    }
    // The commands' progress texts go nowhere.
    FILE* quiet = std::fopen("/dev/null", "w+");
    ConsoleUsePlainStreams(quiet, quiet);
    SetFlavour(Flavour::Doom);
    ResetConfig();
    std::string dir = MakeScratchDir();
    SetWorkDir(dir);

    OpenFreshIwad();
    size_t iwadEntries = MasterDirectory().size();
    std::string pwad = dir + "bench.wad";
    size_t pwadEntries = WritePwad(pwad);

    double openMs = BestOpenMs();
    double readMs = BestReadMs(pwad);

    std::string built = dir + "BUILT.WAD";
    double bestBuildMs = 1e9;
    for (int i = 0; i < 3; ++i) {
        OpenFreshIwad();
        ReadPwad(pwad);
        Clock::time_point start = Clock::now();
        BuildIwad(built);
        bestBuildMs = std::min(bestBuildMs, MillisecondsSince(start));
    }
    double megabytes = static_cast<double>(std::filesystem::file_size(built)) / (1024.0 * 1024.0);

    std::printf("open freedoom2.wad (%zu entries) and build the master directory: %.2f ms (target < 10 ms)\n",
                iwadEntries, openMs);
    std::printf("read a PWAD of %zu entries over it:                       %.2f ms (target < 10 ms)\n",
                pwadEntries, readMs);
    std::printf("BUILD the full IWAD (%.1f MiB):                           %.1f ms, %.0f MB/s\n", megabytes,
                bestBuildMs, megabytes / (bestBuildMs / 1000.0));

    ResetMaster();
    std::filesystem::remove_all(dir);
    std::fclose(quiet);
    return 0;
}
