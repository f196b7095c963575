// The options dialog and the numeric settings.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "base/map_target.h"
#include "edits/level_target.h"
#include "level/level.h"
#include "platform/files.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/input_box.h"
#include "ui/message_box.h"
#include "ui/saved_area.h"
#include "ui/settings_dialogs.h"
#include "ui/toolkit.h"
#include "wad/wadfile.h"

namespace {

constexpr int kThick = 3, kThin = 1;
constexpr int kVideoModes = kVideoModeCount;
constexpr int kNameLength = 255;   // longer than the old 43: Linux paths are longer
constexpr int kPathLength = 255;

// A switch of the configuration with its check box.
struct Switch {
    const char* label;
    int16_t ConfigSettings::*field;
};

const Switch kSwitches[] = {
    {"Sound Selection", &ConfigSettings::soundSelection},
    {"Sound Errors", &ConfigSettings::soundErrors},
    {"LineDef Split", &ConfigSettings::lineDefSplit},
    {"Select Object0", &ConfigSettings::selectObject0},
    {"Additive Select", &ConfigSettings::additiveSelect},
    {"Auto Load", &ConfigSettings::autoLoad},
    {"Auto Start", &ConfigSettings::autoStart},
    {"Grid Dashed", &ConfigSettings::gridDashed},
    {"Select Dashed", &ConfigSettings::selectDashed},
    {"Info Objects", &ConfigSettings::infoObjects},
    {"Info Picture", &ConfigSettings::infoPicture},
    {"Auto Insert Sector", &ConfigSettings::autoInsertSector},
    {"Thick Lines", &ConfigSettings::lineThickness},
    {"Response File", &ConfigSettings::responseFile},
    {"Vertex Arrows", &ConfigSettings::vertexArrows},
    {"Snap Cursor", &ConfigSettings::snapCursor},
    {"Expert Mode", &ConfigSettings::expertMode},
    {"Map Border", &ConfigSettings::mapBorder},
    {"Thing Picture", &ConfigSettings::thingPicture},
    {"Menu Nesting", &ConfigSettings::menuNesting},
    {"Exit to Launcher", &ConfigSettings::exitHandOff},
};
constexpr int kSwitchCount = sizeof kSwitches / sizeof kSwitches[0];
const char* const kVideoLabels[kVideoModes] = {"_1 640x480", "_2 800x600", "_31024x768", "_41280x1024",
                                               "_W Window size"};
enum FileItem { kMainWad, kFilePath, kHelpFile, kFileItems };
const char* const kFileLabels[kFileItems] = {"_5 MainWAD File", "_6 File Path", "_7 Help File"};

// The game the level is made for, a DOOM-flavour choice: one check box per
// target, under a heading, below the file buttons.
constexpr int kTargetTop = 195;
int TargetChoices() { return IsHeretic() ? 0 : kMapTargetCount; }

bool IsThickness(const Switch& s) { return s.field == &ConfigSettings::lineThickness; }

// What the dialog edits until Ok writes it back.
struct OptionValues {
    int switches[kSwitchCount];
    int videoMode;
    std::string files[kFileItems];
    MapTarget target;
};

// The level being edited shows its own target; without one, the target new
// levels take.
MapTarget ShownTarget() { return level.markerIndex >= 0 ? level.target : level.newLevelTarget; }

OptionValues CurrentOptions() {
    OptionValues v;
    for (int i = 0; i < kSwitchCount; ++i)
        v.switches[i] = IsThickness(kSwitches[i]) ? config.lineThickness == kThick
                                                  : config.*kSwitches[i].field != 0;
    v.videoMode = std::clamp<int>(config.videoMode, 1, kVideoModes);
    v.files[kMainWad] = config.iwadName;
    v.files[kFilePath] = config.patchPath;
    v.files[kHelpFile] = config.helpFile;
    v.target = ShownTarget();
    return v;
}

void StoreOptions(const OptionValues& v) {
    for (int i = 0; i < kSwitchCount; ++i)
        config.*kSwitches[i].field = static_cast<int16_t>(
            IsThickness(kSwitches[i]) ? (v.switches[i] ? kThick : kThin) : v.switches[i]);
    config.videoMode = static_cast<int16_t>(v.videoMode);
    SetField(config.iwadName, v.files[kMainWad].c_str());
    SetField(config.patchPath, v.files[kFilePath].c_str());
    SetField(config.helpFile, v.files[kHelpFile].c_str());
    if (TargetChoices() == 0)
        return;
    // The editor records a change of the edited level's target as an
    // undoable step after the dialog.
    if (level.markerIndex >= 0)
        edits::MakeLevelFor(level, v.target);
    level.newLevelTarget = v.target;
}

std::vector<OptionItem> FormItems(const OptionValues& v) {
    std::vector<OptionItem> items;
    for (int i = 0; i < kSwitchCount; ++i)
        items.push_back({kSwitches[i].label, 0, 30 + 15 * i, v.switches[i], OptionKind::CheckBox});
    for (int m = 1; m <= kVideoModes; ++m)
        items.push_back({kVideoLabels[m - 1], 200, 15 + 15 * m, v.videoMode == m, OptionKind::CheckBox});
    for (int f = 0; f < kFileItems; ++f)
        items.push_back({kFileLabels[f], 200, 120 + 15 * f, 0, OptionKind::Button});
    for (int t = 0; t < TargetChoices(); ++t)
        items.push_back({MapTargetName(static_cast<MapTarget>(t)), 200, kTargetTop + 15 * t,
                         static_cast<int>(v.target) == t, OptionKind::CheckBox});
    return items;
}

void Tell(const char* title, const std::vector<const char*>& lines) {
    MessageBox(kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0, title, lines);
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char p, char q) { return std::toupper(p) == std::toupper(q); });
}

// Asks for a name in a box of its own; false when the user cancelled.
bool AskName(const char* prompt, int length, std::string& name) {
    std::vector<char> text(kFileNameField, '\0');
    std::strncpy(text.data(), name.c_str(), text.size() - 1);
    if (!InputBox(kCentred, kCentred, prompt, length, text.data()))
        return false;
    name = text.data();
    return true;
}

// A file that opens with the type tag; names that do not are reported.
bool FileOfType(const std::string& name, const char* tag, const char* title) {
    std::vector<char> text(kFileNameField, '\0');
    std::strncpy(text.data(), name.c_str(), text.size() - 1);
    if (FileExists(name) && CheckFileType(text.data(), tag, FileCheck::Quiet))
        return true;
    Tell(title, {name.c_str(), "not found, please reenter"});
    return false;
}

// The main WAD or the help file: kept only when it opens with its type.
void EditFileName(std::string& name, const char* prompt, const char* tag, const char* title,
                  const char* changedTitle) {
    std::string typed = name;
    if (!AskName(prompt, kNameLength, typed) || !FileOfType(typed, tag, title))
        return;
    if (!SameName(typed, name))
        Tell(changedTitle, {"End Program and restart", "to activate new filename"});
    name = typed;
}

void EditPath(std::string& path) {
    std::string typed = path;
    if (!AskName("Default Path Read/Save", kPathLength, typed))
        return;
    if (typed.back() != '/')
        typed += '/';
    if (typed != path)
        Tell("Path Name Changed.", {"Be sure to check!"});
    path = typed;
}

// Each in a saved area of its own: the screen, as the file check may leave a
// message anywhere on it.
void EditFile(int item, OptionValues& v) {
    SavedArea area;
    SaveArea(0, 0, graphics.maxX, graphics.maxY, area, WindowSave::Always);
    if (item == kMainWad)
        EditFileName(v.files[kMainWad], "Main Wad File Name/Location", "IWAD", "MainWAD Name",
                     "MainWAD Name Changed.");
    else if (item == kFilePath)
        EditPath(v.files[kFilePath]);
    else
        EditFileName(v.files[kHelpFile], "Help File Name", "_HLP", "Help Name", "Help Name Changed.");
    RestoreArea(area);
}

// Acts on the item the form returned.
void ActOn(int item, OptionValues& v) {
    if (item < kSwitchCount)
        v.switches[item] = !v.switches[item];
    else if (item < kSwitchCount + kVideoModes)
        v.videoMode = item - kSwitchCount + 1;
    else if (item < kSwitchCount + kVideoModes + kFileItems)
        EditFile(item - kSwitchCount - kVideoModes, v);
    else
        v.target = static_cast<MapTarget>(item - kSwitchCount - kVideoModes - kFileItems);
}

void DrawOptionsWindow(int x, int y, int x2, int y2) {
    RaisedBox(x, y, x2, y2, config.colors[kColorMenu]);
    LabelBox(x + graphics.charW, y + 6, "Options");
    if (TargetChoices() > 0) {
        SetColor(0);
        Screen().outtextxy(x + 2 * graphics.charW + 200, y + 4 + kTargetTop - 13, "Map made for:");
    }
}

}  // namespace

void OptionsDialog(int x, int y) {
    int w = 50 * graphics.charW, h = 54 * graphics.charH;
    if (x < 0)
        x = (graphics.maxX - w) / 2;
    if (y < 0)
        y = std::max(0, (graphics.maxY - h) / 2);
    int x2 = x + w, y2 = std::min(y + h, graphics.maxY);
    PointerRestore pointer;
    HidePointer();
    SavedArea area;
    SaveArea(x, y, x2, y2, area, WindowSave::Always);
    DrawOptionsWindow(x, y, x2, y2);
    int px = 0, py = 0;
    SnapPointer(Snap::ToButton, &px, &py, x + w / 2, y + 30);

    OptionValues v = CurrentOptions();
    int oldVideoMode = v.videoMode;
    int xBase = x + 2 * graphics.charW, yBase = y + 4;
    int by = yBase + 300;
    ButtonDef ok{"_Ok", kKeyEnter, xBase + 200, by, xBase + 200 + 6 * graphics.charW, by + 20};
    ButtonDef cancel{"C_ancel", kKeyEsc, ok.x2 + 8, by, ok.x2 + 8 + 10 * graphics.charW, by + 20};
    int current = 0, key = 0, result;
    for (;;) {
        std::vector<OptionItem> items = FormItems(v);
        result = OptionForm(FormMode::UntilDecided, "OPTIONS", current, key, ok, cancel, xBase, yBase, items);
        if (result < 0)
            break;
        ActOn(result, v);
    }
    if (result == kOptionOk) {
        StoreOptions(v);
        if (v.videoMode != oldVideoMode)
            Tell("Video Resolution Changed",
                 {"Restart Edit for new resolution", "If restart fails, resolution is", "reset to 640x480!"});
    }
    RestoreArea(area);
    SnapPointer(Snap::Back, &px, &py, 0, 0);
    SaveConfigOrSay();
}

void ZoomMouseMapDialog(int x, int y) {
    auto thousandths = [](float factor) { return static_cast<int>(std::lround(factor * 1000.0f)); };
    std::vector<FormField> fields = {
        {"Object Select Range", 0, 50, config.selectRange},
        {"Overlap Tolerance", 0, 4, config.overlapTolerance},
        {"Ruler Circle Radius", 0, 1024, config.rulerRadius},
        {"Thing Fill Pattern", 0, 11, config.thingFillPattern},
        {"Map Scroll Speed", 2, 50, config.scrollSpeed},
        {"Mouse Sensitivity", 1, 200, config.mouseSensitivity},
        {"Mouse Click Speed ms", 50, 1000, config.clickSpeed},
        {"Lower Zoom", 20, 4000, thousandths(config.lowerZoom)},
        {"Upper Zoom", 200, 16000, thousandths(config.upperZoom)},
        {"Palette Number", 0, 13, config.paletteNumber},
        {"Botm Texture Magnify", 0, 1, config.bottomTextureMagnify},
        {"Beep Browse Freq", 20, 4000, config.beepBrowseFreq},
        {"Beep Select Freq", 20, 4000, config.beepSelectFreq},
        {"Beep Error  Freq", 20, 4000, config.beepErrorFreq},
    };
    NumberForm(x, y, WindowSave::Always, "Zoom/Mouse/Map Options", fields);
    int16_t* targets[] = {&config.selectRange,    &config.overlapTolerance, &config.rulerRadius,
                          &config.thingFillPattern, &config.scrollSpeed,    &config.mouseSensitivity,
                          &config.clickSpeed,       nullptr,                nullptr,
                          &config.paletteNumber,  &config.bottomTextureMagnify, &config.beepBrowseFreq,
                          &config.beepSelectFreq, &config.beepErrorFreq};
    for (size_t i = 0; i < fields.size(); ++i)
        if (targets[i])
            *targets[i] = static_cast<int16_t>(fields[i].value);
    config.lowerZoom = fields[7].value / 1000.0f;
    config.upperZoom = fields[8].value / 1000.0f;
    SetMouseSpeed();
    config.clickSpeedCopy = config.clickSpeed;
    SaveConfigOrSay();
}

void InstallSettingsDialogs() { toolkit.optionsDialog = OptionsDialog; }
