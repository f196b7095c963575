#include "testplay/testplay.h"

#include <cstring>
#include <sstream>

#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "editor/editor_actions.h"
#include "level/level.h"
#include "level/recovery.h"
#include "platform/files.h"
#include "testplay/handoff.h"
#include "ui/input_box.h"
#include "ui/message_box.h"
#include "ui/message_panel.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace {

constexpr int kOptionsLength = 79;

// A name as the game, started in another directory, finds it.
std::string FullPath(const std::string& name) {
    std::string path = ResolveExistingPath(name);
    return !path.empty() && path[0] == '/' ? path : WorkDir() + path;
}

// Where the game runs: the directory of its IWAD.
std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? WorkDir() : path.substr(0, slash + 1);
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool AllOnProgramLine() {
    return !IsHeretic() && !config.responseFile && master.gameStyle == kStyleEpisodes;
}

std::string ResponseFilePath() { return WorkDir() + Names().responseFile; }

// The response file; false (with a message box) when it cannot be written.
bool WriteResponseFile(const std::string& pwad, const std::string& options) {
    std::string text;
    for (const std::string& line : ResponseFileLines(pwad, options))
        text += line + "\n";
    int error = 0;
    if (ReplaceFileContents(ResponseFilePath(), text.data(), text.size(), error))
        return true;
    std::string title = "Unable to create " + ResponseFilePath();
    std::string reason = SystemErrorText(error);
    MessageBox(kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0, title.c_str(),
               {reason.c_str(), "The test play was cancelled."});
    return false;
}

void ShowHereticBulletin() {
    MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0, "Testing Bulletin",
               {"Heretic shows a skill level", "1 less than the actual number.",
                "-- for SOME systems --", "HERETIC crashes!", "Other testing is erratic??"});
}

// Lets the user edit the test options; false when they came back empty.
bool EditOptions() {
    if (IsHeretic())
        ShowHereticBulletin();
    std::string prompt = std::string(Names().game) + " Options";
    if (!InputBox(kCentred, kCentred, prompt.c_str(), kOptionsLength, config.testOptions))
        config.testOptions[0] = '\0';
    return config.testOptions[0] != '\0';
}

// Unsaved edits would go with the program: the recovery file keeps them
// for the next run to offer.
void KeepUnsavedChanges() {
    std::string error;
    if (level.levelChanged)
        WriteRecoveryFile(error);
}

}  // namespace

const char* GameProgramName() {
    if (IsHeretic())
        return "HERETIC";
    return master.gameStyle == kStyleMaps ? "DOOM2" : "DOOM";
}

std::vector<std::string> ResponseFileLines(const std::string& pwad, const std::string& options) {
    std::string file = pwad.find(' ') == std::string::npos ? pwad : "\"" + pwad + "\"";
    return {std::string("-devparm -warp ") + level.warpText, "-file " + file + " " + options};
}

HandOffRequest TestPlayRequest(const std::string& pwad, const std::string& options) {
    std::string iwad = FullPath(config.iwadName);
    HandOffRequest request{DirectoryOf(iwad), WorkDir(), GameProgramName(), {}, {{kIwadVariable, iwad}}};
    if (AllOnProgramLine()) {
        request.arguments = Words(std::string("-devparm -warp ") + level.warpText);
        request.arguments.push_back("-file");
        request.arguments.push_back(pwad);
        for (const std::string& word : Words(options))
            request.arguments.push_back(word);
    } else {
        request.arguments = {"@" + ResponseFilePath()};
    }
    return request;
}

void TestPlay() {
    if (master.currentLevelRow <= 0 || !master.table[master.currentLevelRow].name) {
        PressAnyKey(kCentred, kCentred, "Save as a File first,", "then you can play it.");
        return;
    }
    std::string pwad = FullPath(master.table[master.currentLevelRow].name);
    MessagePanel(kCentred, kCentred, "File %s Level %s", master.table[master.currentLevelRow].name,
                 level.name);
    char kept[sizeof config.testOptions];
    std::memcpy(kept, config.testOptions, sizeof kept);
    if (level.mapChanged &&
        !ConfirmYes(kCentred, kCentred, "Warning, Map Changes require", "Nodes to be built, Continue?"))
        return;
    if (!EditOptions()) {
        std::memcpy(config.testOptions, kept, sizeof kept);
        return;
    }
    if (!AllOnProgramLine() && !WriteResponseFile(pwad, config.testOptions))
        return;
    KeepUnsavedChanges();
    HandOff(TestPlayRequest(pwad, config.testOptions));
}

void InstallTestPlay() { editorActions.testPlay = TestPlay; }
