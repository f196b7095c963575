// The configuration record: every setting that outlives a run. The file
// ("Zarn.cfg" / "Brel.cfg" in the working directory) is this record byte for
// byte, 2516 bytes little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint16_t kConfigVersion = 0x7000;
constexpr int kConfigSize = 2516;
constexpr int16_t kConfigEndMark = 0x6666;
constexpr int16_t kNoSavedView = static_cast<int16_t>(0x8066);
constexpr int kFileNameField = 44;    // size of every file-name field
constexpr int kPwadListRows = 43;
constexpr int kTextureField = 10;

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
struct ConfigRecord {
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
    int16_t reserved34;
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
    int16_t videoMode;              // 1 640x480 .. 4 1280x1024
    char driverName[10];
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
    char iwadName[kFileNameField];
    char patchPath[kFileNameField];
    char helpFile[kFileNameField];
    char secondFile[46];
    char pwadList[kPwadListRows][kFileNameField];
    int16_t endMark;
};
#pragma pack(pop)

static_assert(sizeof(ConfigRecord) == kConfigSize, "configuration record layout");
static_assert(offsetof(ConfigRecord, scale) == 36, "configuration record layout");
static_assert(offsetof(ConfigRecord, colors) == 70, "configuration record layout");
static_assert(offsetof(ConfigRecord, colorMap) == 182, "configuration record layout");
static_assert(offsetof(ConfigRecord, testOptions) == 364, "configuration record layout");
static_assert(offsetof(ConfigRecord, pwadList) == 622, "configuration record layout");

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
// when it could not be written.
bool SaveConfig();
// The configuration file's name in the working directory.
const char* ConfigFileName();

// Copies text into a fixed, zero-terminated field.
void SetField(char* field, size_t size, const char* text);
template <size_t N>
void SetField(char (&field)[N], const char* text) { SetField(field, N, text); }
