#include "base/config.h"

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "base/work_dir.h"

ConfigRecord config;

namespace {

// Default names given another value for this run (SetForThisRun).
struct ThisRunName {
    NameField field;
    std::string kept, used;
};
std::vector<ThisRunName> thisRunNames;

std::string NameIn(const ConfigSettings& s, NameField field) {
    return std::string(s.*field, strnlen(s.*field, kTextureField));
}

// The hot letters of menus ("MenuHilite") are dark red: yellow, as they were
// once, can hardly be read on the light grey of the menus.
const int16_t kDefaultColors[kColorRoleCount] = {
    3, 4, 14, 0, 7, 18, 14, 9, 14, 9, 7, 15, 0, 8, 0, 21, 22, 19, 18, 10, 13, 12, 11,
};
constexpr int16_t kOldMenuHilite = 14;

const int16_t kHereticColorMap[25] = {
    0, 195, 215, 181, 154, 172, 76, 18, 12, 200, 218, 183, 160,
    175, 144, 35, 18, 8, 151, 213, 191, 171, 140, 80, 245,
};

// The same colours found in the DOOM palette (nearest of its 256 entries).
const int16_t kDoomColorMap[25] = {
    0, 203, 120, 117, 183, 253, 223, 90, 103, 197, 113, 194, 173,
    250, 229, 4, 97, 109, 188, 124, 207, 254, 215, 63, 251,
};

struct DefaultTextures {
    const char* normal;
    const char* upper;
    const char* lower;
    const char* floor;
    const char* ceiling;
    const char* door;
    const char* doorTrack;
    const char* lift;
    const char* poolBottom;
    const char* poolSide;
    const char* pedestalTop;
    const char* pedestalSide;
    const char* light;
    int16_t thingType;
};

const DefaultTextures kHereticTextures = {
    "GRSTNPB", "GRSKULL1", "METL1", "FLOOR25", "FLAT500", "DOORWOOD", "WOODWL",
    "METL2", "FLTWAWA1", "RCKSNMUD", "FLOOR08", "GRSTNPBV", "FLAT500", 68,
};

// Textures and flats present in every DOOM and DOOM II IWAD and in Freedoom.
const DefaultTextures kDoomTextures = {
    "STARTAN3", "STARG3", "STEP6", "FLOOR4_8", "CEIL3_5", "BIGDOOR2", "DOORTRAK",
    "PLAT1", "NUKAGE1", "STONE2", "FLOOR7_2", "BROWNGRN", "TLITE6_4", 3004,
};

const char* const kHereticIwads[] = {"/usr/share/games/heretic/heretic.wad"};
const char* const kDoomIwads[] = {
    "/usr/share/games/doom/doom2.wad", "/usr/share/games/doom/doom.wad",
    "/usr/share/games/doom/freedoom2.wad", "/usr/share/games/doom/freedoom1.wad",
};

template <size_t N>
std::string FirstExisting(const char* const (&names)[N]) {
    for (const char* name : names)
        if (FileExists(name))
            return name;
    return names[0];
}

std::string DefaultIwad() {
    return IsHeretic() ? FirstExisting(kHereticIwads) : FirstExisting(kDoomIwads);
}

constexpr const char* kDefaultHelpName = "Brel.HLP";

std::string DefaultHelpFile() {
    std::string found = FindShippedHelpFile(kDefaultHelpName);
    return found.empty() ? kDefaultHelpName : found;
}

// share/zarn/ beside the directory of the running program (/usr/share/zarn/
// for /usr/games/brel); "" when the program's directory is unknown.
std::string InstalledDataDirectory() {
    std::string dir = ProgramDirectory();
    size_t parent = dir.size() > 1 ? dir.rfind('/', dir.size() - 2) : std::string::npos;
    return parent == std::string::npos ? std::string() : dir.substr(0, parent + 1) + "share/zarn/";
}

void Clamp(int16_t& value, int low, int high, int fallback) {
    if (value < low || value > high)
        value = static_cast<int16_t>(fallback);
}

void TerminateText(char* field, size_t size) { field[size - 1] = 0; }

}  // namespace

std::string FindShippedHelpFile(const char* name) {
    std::string file = name;
    file = file.substr(file.rfind('/') + 1);
    if (file.empty())
        return std::string();
    if (FileExists(WorkDir() + file))
        return file;
    // Where the program's data is installed (or, for a program run from its
    // build tree, the source tree).
    std::string candidates[] = {
        InstalledDataDirectory() + file,
        std::string(ZARN_DATA_DIR) + "/" + file,
        std::string(ZARN_SOURCE_DATA_DIR) + "/" + file,
    };
    for (const std::string& path : candidates)
        if (FileExists(path))
            return path;
    return std::string();
}

void SetField(char* field, size_t size, const char* text) {
    std::memset(field, 0, size);
    std::strncpy(field, text, size - 1);
}

ConfigRecord DefaultConfig() {
    ConfigRecord c;
    std::memset(&c, 0, sizeof c);
    std::memcpy(c.tag, "xCFG", 4);
    c.version = kConfigVersion;
    c.recordSize = kConfigSize;
    c.lastEpisode = 1;
    c.lastMap = 1;
    c.gridSize = 8;
    c.lineThickness = 1;
    c.selectRange = 4;
    c.savedViewX = kNoSavedView;
    c.savedViewY = kNoSavedView;
    c.mapBorder = 1;
    c.selectDashed = 1;
    c.gridDashed = 1;
    c.gridSnap = 1;
    c.settingsRevision = kSettingsRevision;
    c.scale = 0.125f;
    c.upperZoom = 2.0f;
    c.lowerZoom = 0.125f;
    c.scrollSpeed = 10;
    c.overlapTolerance = 3;
    c.beepErrorFreq = 1000;
    c.beepBrowseFreq = 50;
    c.beepSelectFreq = 500;
    c.rulerRadius = 512;
    c.clickSpeed = 250;
    c.clickSpeedCopy = 250;
    std::memcpy(c.colors, kDefaultColors, sizeof c.colors);
    c.colorRuler = 5;
    c.colorStatusText = 15;
    c.colorButton = 7;
    c.colorButtonActive = 7;
    c.soundSelection = 1;
    c.soundErrors = 1;
    c.menuNesting = 1;
    c.editMode = 1;
    c.highlightFollows = 1;
    c.recentreAfterZoom = 1;
    c.infoObjects = 1;
    c.infoPicture = 1;
    c.lineDefSplit = 1;
    c.autoLoad = 1;
    c.snapCursor = 1;
    c.selectObject0 = 1;
    c.autoInsertSector = 1;
    c.responseFile = 1;
    c.vertexArrows = 1;
    c.defaultCeiling = 128;
    c.videoMode = 1;
    SetField(c.driverName, "VESA256");
    c.gamma = 8;
    std::memcpy(c.colorMap, IsHeretic() ? kHereticColorMap : kDoomColorMap, sizeof c.colorMap);
    const DefaultTextures& t = IsHeretic() ? kHereticTextures : kDoomTextures;
    c.defaultThingType = t.thingType;
    for (const DefaultName& n : DefaultNames())
        SetField(c.*n.field, n.builtIn);
    SetField(c.testOptions, "-skill 4 -debug -nomonsters");
    SetField(c.iwadName, DefaultIwad().c_str());
    SetField(c.helpFile, DefaultHelpFile().c_str());
    SetField(c.secondFile, IsHeretic() ? "Zarn.Ini" : "Brel.Ini");
    c.endMark = kConfigEndMark;
    return c;
}

void ResetConfig() {
    config = DefaultConfig();
    thisRunNames.clear();
}

std::vector<DefaultName> DefaultNames() {
    const DefaultTextures& t = IsHeretic() ? kHereticTextures : kDoomTextures;
    using S = ConfigSettings;
    return {{"normal wall texture", false, &S::textureNormal, t.normal},
            {"upper wall texture", false, &S::textureUpper, t.upper},
            {"lower wall texture", false, &S::textureLower, t.lower},
            {"floor flat", true, &S::flatFloor, t.floor},
            {"ceiling flat", true, &S::flatCeiling, t.ceiling},
            {"door texture", false, &S::textureDoor, t.door},
            {"door track texture", false, &S::textureDoorTrack, t.doorTrack},
            {"lift texture", false, &S::textureLift, t.lift},
            {"pool floor flat", true, &S::flatPoolBottom, t.poolBottom},
            {"pool side texture", false, &S::texturePoolSide, t.poolSide},
            {"pedestal top flat", true, &S::flatPedestalTop, t.pedestalTop},
            {"pedestal side texture", false, &S::texturePedestalSide, t.pedestalSide},
            {"light box flat", true, &S::flatLight, t.light}};
}

void SetForThisRun(NameField field, const char* name) {
    std::string kept = NameIn(config, field);
    SetField(config.*field, name);
    thisRunNames.push_back({field, kept, NameIn(config, field)});
}

const char* ConfigFileName() {
    static std::string name;
    std::string current = WorkDir() + Names().configFile;
    if (current != name)   // an unchanged name keeps its buffer: callers hold it
        name = current;
    return name.c_str();
}

namespace {

// A file that passed its checks may still hold values that would make the
// editor divide by zero or index past a table; those take their defaults.
void RepairConfig(ConfigRecord& c) {
    ConfigRecord d = DefaultConfig();
    Clamp(c.lastEpisode, 0, 9, d.lastEpisode);
    Clamp(c.lastMap, 0, 99, d.lastMap);
    Clamp(c.gridSize, 1, 4096, d.gridSize);
    if (c.lineThickness != 1 && c.lineThickness != 3)
        c.lineThickness = d.lineThickness;
    Clamp(c.selectRange, 0, 50, d.selectRange);
    auto repairZoom = [](float& value, float fallback) {
        if (!std::isfinite(value) || value <= 0.0f || value > 1000.0f)
            value = fallback;
    };
    repairZoom(c.scale, d.scale);
    repairZoom(c.upperZoom, d.upperZoom);
    repairZoom(c.lowerZoom, d.lowerZoom);
    Clamp(c.autoCloseDelay, 0, 500, d.autoCloseDelay);
    Clamp(c.scrollSpeed, 2, 50, d.scrollSpeed);
    Clamp(c.overlapTolerance, 0, 4, d.overlapTolerance);
    Clamp(c.mouseSensitivity, 0, 200, d.mouseSensitivity);
    Clamp(c.beepErrorFreq, 20, 4000, d.beepErrorFreq);
    Clamp(c.beepBrowseFreq, 20, 4000, d.beepBrowseFreq);
    Clamp(c.beepSelectFreq, 20, 4000, d.beepSelectFreq);
    Clamp(c.rulerRadius, 0, 1024, d.rulerRadius);
    Clamp(c.clickSpeed, 50, 1000, d.clickSpeed);
    Clamp(c.thingFillPattern, 0, 11, d.thingFillPattern);
    for (int i = 0; i < kColorRoleCount; ++i)
        Clamp(c.colors[i], 0, 24, d.colors[i]);
    Clamp(c.colorRuler, 0, 24, d.colorRuler);
    Clamp(c.colorStatusText, 0, 24, d.colorStatusText);
    Clamp(c.colorButton, 0, 24, d.colorButton);
    Clamp(c.colorButtonActive, 0, 24, d.colorButtonActive);
    if (c.editMode != 1 && c.editMode != 2 && c.editMode != 4 && c.editMode != 8)
        c.editMode = d.editMode;
    Clamp(c.videoMode, 1, 5, d.videoMode);
    Clamp(c.exitHandOff, 0, 1, d.exitHandOff);
    Clamp(c.paletteNumber, 0, 13, d.paletteNumber);
    Clamp(c.gamma, 0, 30, d.gamma);
    for (int i = 0; i < 25; ++i)
        Clamp(c.colorMap[i], 0, 255, d.colorMap[i]);
    TerminateText(c.driverName, sizeof c.driverName);
    for (char* field : {c.textureNormal, c.textureUpper, c.textureLower, c.flatFloor,
                        c.flatCeiling, c.textureDoor, c.textureDoorTrack, c.textureLift,
                        c.flatPoolBottom, c.texturePoolSide, c.flatPedestalTop,
                        c.texturePedestalSide, c.flatLight})
        TerminateText(field, kTextureField);
    TerminateText(c.testOptions, sizeof c.testOptions);
    TerminateText(c.secondFile, sizeof c.secondFile);
}

// A file written before a default changed gets the new default where it
// still holds the old one, once: a value chosen later is kept.
void UpgradeConfig(ConfigRecord& c) {
    if (c.settingsRevision >= kSettingsRevision)
        return;
    if (c.colors[kColorMenuHilite] == kOldMenuHilite)
        c.colors[kColorMenuHilite] = kDefaultColors[kColorMenuHilite];
    c.settingsRevision = kSettingsRevision;
}

}  // namespace

namespace {

constexpr const char* kLongNamesTag = "LONG NAMES";

// One file name of the record: its name in the long-names lines, and where it
// lives in memory and in the file.
struct NameSlot {
    std::string key;
    char* memory;
    char* record;
};

template <typename Record, typename Names>
std::vector<NameSlot> NameSlots(Record& inMemory, Names& inFile) {
    std::vector<NameSlot> slots = {{"IWAD", inMemory.iwadName, inFile.iwadName},
                                   {"PATCH", inMemory.patchPath, inFile.patchPath},
                                   {"HELP", inMemory.helpFile, inFile.helpFile}};
    for (int i = 0; i < kPwadListRows; ++i)
        slots.push_back({"PWAD " + std::to_string(i), inMemory.pwadList[i], inFile.pwadList[i]});
    return slots;
}

// The long names of a file's tail: key -> path.
std::vector<std::pair<std::string, std::string>> ParseLongNames(const std::string& tail) {
    std::vector<std::pair<std::string, std::string>> names;
    size_t start = tail.find(std::string(kLongNamesTag) + "\n");
    if (start == std::string::npos)
        return names;
    start += std::strlen(kLongNamesTag) + 1;
    while (start < tail.size()) {
        size_t end = tail.find('\n', start);
        if (end == std::string::npos)
            break;
        std::string line = tail.substr(start, end - start);
        start = end + 1;
        size_t space = line.find(' ');
        if (space != std::string::npos && line.compare(0, space, "PWAD") == 0)
            space = line.find(' ', space + 1);
        if (space != std::string::npos)
            names.emplace_back(line.substr(0, space), line.substr(space + 1));
    }
    return names;
}

void TakeRecord(const ConfigFileRecord& file, const std::string& tail) {
    static_cast<ConfigSettings&>(config) = file.settings;
    config.endMark = file.names.endMark;
    std::memcpy(config.secondFile, file.names.secondFile, sizeof config.secondFile);
    ConfigFileRecord copy = file;
    std::vector<std::pair<std::string, std::string>> longNames = ParseLongNames(tail);
    for (const NameSlot& slot : NameSlots(config, copy.names)) {
        // A field is zero-terminated within its size.
        std::string field(slot.record, strnlen(slot.record, kRecordNameField - 1));
        SetField(slot.memory, kFileNameField, field.c_str());
        // A long name counts only where the field holds its cut form.
        for (const auto& [key, path] : longNames)
            if (key == slot.key && field.size() == kRecordNameField - 1 && path.size() > field.size() &&
                path.size() < static_cast<size_t>(kFileNameField) && path.compare(0, field.size(), field) == 0)
                SetField(slot.memory, kFileNameField, path.c_str());
    }
}

}  // namespace

std::string ConfigFileBytes() {
    ConfigFileRecord file;
    std::memset(&file, 0, sizeof file);
    file.settings = config;
    for (const ThisRunName& n : thisRunNames)
        if (n.used == NameIn(config, n.field))
            SetField(file.settings.*n.field, n.kept.c_str());
    file.names.endMark = config.endMark;
    std::memcpy(file.names.secondFile, config.secondFile, sizeof file.names.secondFile);
    std::string longNames;
    for (const NameSlot& slot : NameSlots(config, file.names)) {
        SetField(slot.record, kRecordNameField, slot.memory);
        if (std::strlen(slot.memory) >= static_cast<size_t>(kRecordNameField))
            longNames += slot.key + " " + slot.memory + "\n";
    }
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    if (!longNames.empty())
        bytes += std::string(kLongNamesTag) + "\n" + longNames;
    return bytes;
}

int LoadConfig() {
    FILE* f = OpenExisting(ConfigFileName(), "rb");
    if (!f)
        return 0;
    ConfigFileRecord loaded;
    std::string tail;
    bool valid = false;
    unsigned char head[8];
    if (std::fread(head, 1, 8, f) == 8 && std::memcmp(head + 1, "CFG", 3) == 0 &&
        (head[4] | head[5] << 8) == kConfigVersion &&
        static_cast<int16_t>(head[6] | head[7] << 8) == kConfigSize) {
        valid = std::fseek(f, 0, SEEK_SET) == 0 &&
                std::fread(&loaded, 1, kConfigSize, f) == static_cast<size_t>(kConfigSize) &&
                loaded.names.endMark == kConfigEndMark;
        char buffer[4096];
        size_t n;
        while (valid && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            tail.append(buffer, n);
    }
    std::fclose(f);
    if (!valid) {
        PrintAt(1, 25, ClearLine::Yes, "%s.CFG File is invalid, reset to defaults", Names().product);
        WaitConsoleKey();
        return 0;
    }
    TakeRecord(loaded, tail);
    thisRunNames.clear();
    UpgradeConfig(config);
    RepairConfig(config);
    return 1;
}

bool SaveConfig(std::string* reason) {
    std::string bytes = ConfigFileBytes();
    int error = 0;
    if (ReplaceFileContents(ConfigFileName(), bytes.data(), bytes.size(), error))
        return true;
    if (reason)
        *reason = SystemErrorText(error);
    return false;
}

bool SaveConfigOrSay() {
    std::string reason;
    if (SaveConfig(&reason))
        return true;
    PrintAt(1, 25, ClearLine::Yes, "Settings not saved: %s could not be written (%s)", ConfigFileName(),
            reason.c_str());
    return false;
}
