// Consistency checker and find and replace speed: every check together on
// Freedoom 2's MAP12 and on a generated map of about 60,000 LineDefs (the
// dialogs answered at once, their time not counted), and replacing a wall
// texture throughout MAP12.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "level/level.h"
#include "level/level_files.h"
#include "checker/check_dialogs.h"
#include "pictures/name_keys.h"
#include "checker/checks.h"
#include "checker/find_replace.h"
#include "pictures/namelists.h"
#include "wad/master.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kIwad = "/usr/share/games/doom/freedoom2.wad";
constexpr int kRuns = 15;

// Answers every dialog at once: findings are continued, fixes declined.
class Silent : public CheckDialogs {
public:
    void Title(const std::string&) override {}
    void Progress(long, long) override {}
    void Note(const std::string&, const std::string&) override {}
    bool Verify(const std::string&, const std::string&, int, int, Severity) override {
        ++findings;
        return true;
    }
    bool Confirm(Question, const std::string&, const std::string&) override { return false; }
    void Tell(const std::string&, const std::string&) override {}
    void Status(const std::string&) override {}
    void Warn(const std::string&, const std::vector<std::string>&) override {}
    bool WarnContinue(const std::string&, const std::vector<std::string>&) override { return true; }
    void Result(const std::string&, const std::vector<std::string>&) override {}
    long findings = 0;
};

void Report(const char* what, std::vector<double> times, double limit) {
    std::sort(times.begin(), times.end());
    std::printf("  %-40s min %8.3f ms  median %8.3f ms  max %8.3f ms  (limit %.0f ms)\n", what, times.front(),
                times[times.size() / 2], times.back(), limit);
}

struct NamedCheck {
    const char* name;
    std::function<bool(CheckDialogs&)> run;
};
const NamedCheck kChecks[] = {
    {"closed Sectors", CheckClosedSectors},
    {"cross-references", CheckCrossReferences},
    {"missing textures", [](CheckDialogs& d) { return CheckMissingTextures(d, FixStyle::Ask); }},
    {"texture names", [](CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Ask); }},
    {"Thing types", CheckThingTypes},
    {"LineDef types and tags", CheckLineDefTypes},
    {"Sector types and tags", CheckSectorTypes},
    {"exits and starts", CheckExitsAndStarts},
};
constexpr int kCheckCount = sizeof kChecks / sizeof kChecks[0];

double Since(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Every check in turn; the time of each into times.
double AllChecks(Silent& dialogs, std::vector<double> (&times)[kCheckCount]) {
    auto from = Clock::now();
    for (int c = 0; c < kCheckCount; ++c) {
        auto start = Clock::now();
        kChecks[c].run(dialogs);
        times[c].push_back(Since(start));
    }
    return Since(from);
}

// Times every check on the level that make() sets up afresh for each run.
void BenchChecks(const char* what, const std::function<void()>& make, double limit) {
    std::vector<double> times, each[kCheckCount];
    long findings = 0;
    for (int i = 0; i < kRuns; ++i) {
        make();
        Silent dialogs;
        times.push_back(AllChecks(dialogs, each));
        findings = dialogs.findings;
    }
    std::printf("%s: %d LineDefs, %d SideDefs, %d Sectors, %d Things; %ld findings\n", what,
                level.lineDefs.count, level.sideDefs.count, level.sectors.count, level.things.count, findings);
    Report("every check", times, limit);
    for (int c = 0; c < kCheckCount; ++c)
        Report(kChecks[c].name, each[c], limit);
}

void LoadMap12() {
    SetField(level.name, "MAP12");
    LoadLevel(LevelSource::MasterDirectory);
}

// A room of four walls drawn clockwise from (x0, y0) to (x1, y1), the first
// sides facing the Sector inner; with an outer Sector the walls are two-sided.
void AddRoom(int x0, int y0, int x1, int y1, int inner, int outer) {
    uint16_t first = uint16_t(level.vertices.count);
    for (auto [x, y] : {std::pair{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}})
        level.vertices[level.vertices.count++] = Vertex{int16_t(x), int16_t(y)};
    auto side = [](int sector, const char* middle) {
        uint16_t n = uint16_t(level.sideDefs.count++);
        SideDef& sd = level.sideDefs[n];
        sd = SideDef{};
        SetFieldName(sd.upper, "STARTAN3");
        SetFieldName(sd.lower, "STARTAN3");
        SetFieldName(sd.middle, middle);
        sd.sector = uint16_t(sector);
        return n;
    };
    for (int k = 0; k < 4; ++k) {
        bool twoSided = outer >= 0;
        uint16_t front = side(inner, twoSided ? "-" : "STARTAN3");
        uint16_t back = twoSided ? side(outer, "-") : kNoReference;
        level.lineDefs[level.lineDefs.count++] = LineDef{uint16_t(first + k), uint16_t(first + (k + 1) % 4),
                                                         int16_t(twoSided ? 4 : 1), 0, 0, front, back};
    }
}

int AddSector(int floor, bool sky) {
    int n = level.sectors.count++;
    Sector& s = level.sectors[n];
    s = Sector{int16_t(floor), 128, {}, {}, 160, int16_t(n % 17 == 0 ? 9 : 0), 0};
    SetFieldName(s.floorTexture, "FLOOR4_8");
    SetFieldName(s.ceilingTexture, sky ? "F_SKY1" : "CEIL3_5");
    return n;
}

// columns x rows separate square rooms, each a Sector closed by four
// one-sided walls with a Thing in it; every 32nd room holds a smaller, higher
// Sector of four two-sided walls. 61,876 LineDefs in all for 125 x 120.
void GenerateRooms(int columns, int rows, int pitch, int size) {
    FreeLevel();
    ResetLevel();
    int rooms = columns * rows, inner = (rooms + 31) / 32;
    int lines = 4 * (rooms + inner);
    AllocateArray(level.vertices, lines);
    AllocateArray(level.sectors, rooms + inner);
    AllocateArray(level.things, rooms + 8);
    AllocateArray(level.lineDefs, lines);
    AllocateArray(level.sideDefs, 4 * rooms + 8 * inner);
    for (int r = 0; r < rooms; ++r) {
        int x0 = -30000 + (r % columns) * pitch, y0 = -30000 + (r / columns) * pitch;
        int room = AddSector(0, r % 5 == 0);
        AddRoom(x0, y0, x0 + size, y0 + size, room, -1);
        if (r % 32 == 0)
            AddRoom(x0 + size / 4, y0 + size / 4, x0 + size * 3 / 4, y0 + size * 3 / 4, AddSector(8, false), room);
        level.things[level.things.count++] =
            Thing{int16_t(x0 + size / 8), int16_t(y0 + size / 8), 0, int16_t(r % 3 ? 2014 : 3004), 7};
    }
    level.lineDefs[0].type = 11;
    for (int16_t type : {1, 2, 3, 4, 11, 11, 11, 11})
        level.things[level.things.count++] = Thing{-29990, -29990, 0, type, 7};
}

void BenchReplace() {
    LoadMap12();
    SetFieldName(search.wall, NameKey(level.sideDefs[0].middle).c_str());
    SetFieldName(search.wallReplacement, "ZZWALL");
    std::vector<double> times;
    Silent dialogs;
    for (int i = 0; i < 2 * kRuns; ++i) {
        search.kind = kReplaceWallTexture;
        auto from = Clock::now();
        FindReplace(0, 0, SearchStart::Repeat, dialogs);
        times.push_back(Since(from));
        std::swap(search.wall, search.wallReplacement);
    }
    Report("replace a wall texture", times, 5);
}

}  // namespace

int main() {
    SetFlavour(Flavour::Doom);
    ResetConfig();
    SetField(config.iwadName, kIwad);
    OpenIwad(config.iwadName);
    BuildTextureNames();
    BuildFlatNames();
    std::printf("Checker\n");
    BenchChecks("freedoom2 MAP12", LoadMap12, 30);
    BenchChecks("generated rooms", [] { GenerateRooms(125, 120, 96, 64); }, 150);
    BenchReplace();
    return 0;
}
