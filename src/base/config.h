// The configuration record: every setting that outlives a run. The file
// ("Zarn.cfg" / "Brel.cfg" in the working directory) is the 2516-byte record,
// little-endian, whose file names have 44-byte fields.
//
// In memory the file names (IWAD, patch path, help file, the remembered
// PWADs) have room for any path Linux allows. A name that fits its 44-byte
// field is written there and nothing else is added, so the file stays byte
// for byte what it always was. A longer name is written to its field cut to
// 43 characters, and the whole name follows the record as a line of text:
//
//     <2516-byte record>
//     "LONG NAMES\n"
//     "IWAD <path>\n" | "PATCH <path>\n" | "HELP <path>\n" | "PWAD <row> <path>\n" ...
//
// On loading, such a line replaces its field when the field holds the cut
// form of that path; the record's layout and its checks are unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kConfigVersion = 0x7000;
constexpr int kConfigSize = 2516;
constexpr int16_t kConfigEndMark = 0x6666;
constexpr int16_t kNoSavedView = static_cast<int16_t>(0x8066);
constexpr int kRecordNameField = 44;  // a file-name field of the file's record
constexpr int kFileNameField = 4096;  // a file name in memory: any path Linux allows
constexpr int kPwadListRows = 43;
constexpr int kTextureField = 10;
// Which changes of built-in defaults a configuration file has seen (it is
// stored in a field that older builds left 0): 1, the menus' hot letters
// became dark red.
constexpr int16_t kSettingsRevision = 1;

// Roles of the 23 colour settings, in record order.
enum ColorRole {
    kColorSelectBox, kColorDragging, kColorMouse, kColorMouseEdge, kColorMenu,
    kColorMenuHilite, kColorInsertVertex, kColorVertexSquare, kColorHiLight,
    kColorGrid, kColorTwoSided, kColorOneSided, kColorBackGround,
    kColorBackGroundThings, kColorBackGroundThingLines, kColorSecret,
    kColorInvisible, kColorMonsterBlock, kColorSoundBlock, kColorTagged,
    kColorNotNormalLine, kColorBadTag, kColorNotNormalSector,
    kColorRoleCount
};

#pragma pack(push, 1)
// Every setting up to the file names, as laid out in the file.
struct ConfigSettings {
    char tag[4];
    uint16_t version;
    int16_t recordSize;
    int16_t lastEpisode;
    int16_t lastMap;
    int16_t gridSize;
    int16_t lineThickness;          // 3 = Thick Lines
    int16_t selectRange;
    int16_t savedViewX;             // kNoSavedView: none
    int16_t savedViewY;
    int16_t thingPicture;
    int16_t mapBorder;
    int16_t selectDashed;
    int16_t gridDashed;
    int16_t gridShown;              // key H
    int16_t gridSnap;               // key /
    int16_t settingsRevision;       // kSettingsRevision; 0 in files of older builds
    float scale;
    float upperZoom;
    float lowerZoom;
    int16_t autoCloseDelay;
    int16_t scrollSpeed;
    int16_t overlapTolerance;
    int16_t mouseSensitivity;
    int16_t beepErrorFreq;
    int16_t beepBrowseFreq;
    int16_t beepSelectFreq;
    int16_t rulerRadius;
    int16_t clickSpeed;
    int16_t clickSpeedCopy;
    int16_t thingFillPattern;
    int16_t colors[kColorRoleCount];
    int16_t colorRuler;
    int16_t colorStatusText;
    int16_t colorButton;
    int16_t colorButtonActive;
    int16_t soundSelection;
    int16_t soundErrors;
    int16_t expertMode;
    int16_t menuNesting;
    int16_t editMode;               // 1 Things, 2 LineDefs, 4 Vertexes, 8 Sectors
    int16_t highlightFollows;       // key A
    int16_t recentreAfterZoom;      // key backslash
    int16_t infoObjects;
    int16_t infoPicture;
    int16_t lineDefSplit;
    int16_t autoLoad;
    int16_t autoStart;
    int16_t snapCursor;
    int16_t selectObject0;
    int16_t additiveSelect;
    int16_t autoInsertSector;
    int16_t responseFile;
    int16_t vertexArrows;
    int16_t defaultFloor;
    int16_t defaultCeiling;
    int16_t videoMode;              // 1 640x480 .. 4 1280x1024, 5 the window's size
    char driverName[8];             // "VESA256": stored, not read
    // 1: node building and test play hand over by ending the program with
    // exit code 100, for the launcher; 0 (the default): the program runs
    // them itself and waits. The two bytes after the driver name, which
    // files of older builds leave 0.
    int16_t exitHandOff;
    int16_t paletteNumber;
    int16_t gamma;
    int16_t bottomTextureMagnify;
    int16_t colorMap[25];
    int16_t defaultThingType;
    char textureNormal[kTextureField];
    char textureUpper[kTextureField];
    char textureLower[kTextureField];
    char flatFloor[kTextureField];
    char flatCeiling[kTextureField];
    char textureDoor[kTextureField];
    char textureDoorTrack[kTextureField];
    char textureLift[kTextureField];
    char flatPoolBottom[kTextureField];
    char texturePoolSide[kTextureField];
    char flatPedestalTop[kTextureField];
    char texturePedestalSide[kTextureField];
    char flatLight[kTextureField];
    char testOptions[80];
};

// The file names and the end of the record; NameField is the size of a name.
template <int NameField>
struct ConfigNames {
    char iwadName[NameField];
    char patchPath[NameField];
    char helpFile[NameField];
    char secondFile[46];
    char pwadList[kPwadListRows][NameField];
    int16_t endMark;
};

// The record as the file holds it.
struct ConfigFileRecord {
    ConfigSettings settings;
    ConfigNames<kRecordNameField> names;
};
#pragma pack(pop)

static_assert(sizeof(ConfigFileRecord) == kConfigSize, "configuration record layout");
static_assert(offsetof(ConfigSettings, scale) == 36, "configuration record layout");
static_assert(offsetof(ConfigSettings, colors) == 70, "configuration record layout");
static_assert(offsetof(ConfigSettings, exitHandOff) == 174, "configuration record layout");
static_assert(offsetof(ConfigSettings, colorMap) == 182, "configuration record layout");
static_assert(offsetof(ConfigSettings, testOptions) == 364, "configuration record layout");
static_assert(offsetof(ConfigFileRecord, names) + offsetof(ConfigNames<kRecordNameField>, pwadList) == 622,
              "configuration record layout");

// The record in memory: the settings and file names of any length.
struct ConfigRecord : ConfigSettings, ConfigNames<kFileNameField> {};

// The record in force for this run.
extern ConfigRecord config;

// The built-in defaults of the current flavour, with the default IWAD and help
// file looked up on this machine.
ConfigRecord DefaultConfig();
// Puts the built-in defaults in force.
void ResetConfig();
// Takes the configuration file when it is valid (1); otherwise keeps the
// defaults, says so when a file was there, and returns 0.
int LoadConfig();
// Writes the record to the configuration file (replacing it safely); false
// when it could not be written, with the system's reason in reason if given.
bool SaveConfig(std::string* reason = nullptr);
// The same, saying on the console (a message panel in graphics mode) that
// the settings were not saved and why.
bool SaveConfigOrSay();
// The configuration file's content for the record in force.
std::string ConfigFileBytes();
// The help file of that name (its last path component) in the working
// directory or where the program's data is shipped; "" when there is none.
std::string FindShippedHelpFile(const char* name);
// The configuration file's name in the working directory; it stays valid
// while the working directory and the flavour stay the same.
const char* ConfigFileName();

// A default texture or flat of new objects: what it is, its field, and the
// current flavour's built-in value.
using NameField = char (ConfigSettings::*)[kTextureField];
struct DefaultName {
    const char* what;
    bool flat;             // a flat, else a wall texture
    NameField field;
    const char* builtIn;
};
// The thirteen of them.
std::vector<DefaultName> DefaultNames();
// Gives a default name another value for this run only: the configuration
// file keeps the one it had, unless the field is set to something else
// meanwhile. ResetConfig and LoadConfig forget such values.
void SetForThisRun(NameField field, const char* name);

// Copies text into a fixed, zero-terminated field.
void SetField(char* field, size_t size, const char* text);
template <size_t N>
void SetField(char (&field)[N], const char* text) { SetField(field, N, text); }
