#include "testplay/testplay.h"

#include <cstring>
#include <sstream>

#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "level/level.h"
#include "level/level_files.h"
#include "level/recovery.h"
#include "platform/files.h"
#include "testplay/handoff.h"
#include "ui/input_box.h"
#include "ui/menus.h"
#include "ui/message_box.h"
#include "ui/message_panel.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace {

constexpr int kOptionsLength = 79;
// A game that ends sooner than this did not play: it met an error.
constexpr int64_t kQuickEndMs = 1000;
constexpr size_t kGameLinesShown = 6;

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

enum class PlayChoice { SaveBuildAndPlay, LastSaved, Cancel };

// The level has unsaved changes: save, build the nodes and play them
// (Enter), play the file as last saved, or nothing.
PlayChoice AskAboutUnsavedChanges() {
    static const char* const kItems[] = {"Save, build nodes and play", "Play the last saved file", "Cancel"};
    static const int kKeys[] = {'S', 'P', 'C'};
    // A level of the IWAD has no saved file of its own to play.
    int hotPos[] = {1, master.currentLevelRow > 0 ? 1 : 0, 1};
    MenuExtras extras;
    extras.keys = kKeys;
    extras.hotPos = hotPos;
    std::string title = std::string(level.name) + " has unsaved changes";
    int choice = DisplayMenu(kCentred, kCentred, MenuStyle::Plain, 1, "TESTPLAY", WindowSave::Always,
                             title.c_str(), 3, kItems, extras);
    return choice == 1 ? PlayChoice::SaveBuildAndPlay : choice == 2 ? PlayChoice::LastSaved : PlayChoice::Cancel;
}

bool PlaysInPort() { return !IsHeretic() && level.target != MapTarget::Original; }

// The name the user knows the game by: the adapter's for the original
// games, the port's otherwise.
std::string PlayedIn() {
    if (!PlaysInPort())
        return GameProgramName();
    return EngineFor(level.target).title;
}

HandOffNotice PlayNotice() {
    return {std::string("Playing ") + level.name + " in " + PlayedIn(),
            {std::string("Quit the game to come back to ") + Names().product + ".", "Esc here ends the game."}};
}

// A game that failed, or ended at once, says why in a message box; one the
// user ended with Esc says nothing.
void ReportGameEnd(const ChildResult& child) {
    std::string program = PlayedIn();
    std::string title = EndSummary(program, child);
    if (title.empty() && child.end == ChildEnd::Exited && child.milliseconds < kQuickEndMs)
        title = program + " ended at once";
    if (title.empty() || child.end == ChildEnd::Stopped)
        return;
    std::vector<std::string> lines = EndLines(child, kGameLinesShown);
    if (lines.empty())
        lines.push_back("It wrote no error message.");
    std::vector<const char*> texts;
    for (const std::string& line : lines)
        texts.push_back(line.c_str());
    MessageBox(kCentred, kCentred, LineAlign::Left, "OK", kAnyKey, nullptr, 0, title.c_str(), texts);
}

}  // namespace

GameEngine EngineFor(MapTarget target) {
    if (IsHeretic())
        return {"chocolate-heretic", "chocolate-doom", "Chocolate Heretic", {}};
    switch (target) {
    case MapTarget::Original:
        return {"chocolate-doom", "chocolate-doom", "Chocolate Doom", {}};
    case MapTarget::LimitRemoving:
        return {"crispy-doom", "crispy-doom", "Crispy Doom", {}};
    case MapTarget::Boom:
        return {"woof", "woof-doom", "Woof! (Boom)", {"-complevel", "boom"}};
    case MapTarget::Mbf21:
        return {"woof", "woof-doom", "Woof! (MBF21)", {"-complevel", "mbf21"}};
    }
    return {};
}

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
    if (PlaysInPort()) {
        GameEngine engine = EngineFor(level.target);
        request.environment.push_back({kEngineVariable, engine.program});
        request.environment.push_back({kEnginePackageVariable, engine.package});
        request.arguments.insert(request.arguments.end(), engine.options.begin(), engine.options.end());
    }
    return request;
}

void TestPlay() {
    bool byExit = HandOffEndsProgram();
    PlayChoice choice = !byExit && level.levelChanged ? AskAboutUnsavedChanges() : PlayChoice::LastSaved;
    if (choice == PlayChoice::Cancel ||
        (choice == PlayChoice::SaveBuildAndPlay && SaveLevelFromEditor(kSaveKeyAltF2) != kSaved))
        return;
    if (master.currentLevelRow <= 0 || !master.table[master.currentLevelRow].name) {
        PressAnyKey(kCentred, kCentred, "Save as a File first,", "then you can play it.");
        return;
    }
    std::string pwad = FullPath(master.table[master.currentLevelRow].name);
    MessagePanel(kCentred, kCentred, "File %s Level %s", master.table[master.currentLevelRow].name,
                 level.name);
    char kept[sizeof config.testOptions];
    std::memcpy(kept, config.testOptions, sizeof kept);
    // Played as last saved, a changed map may be in the file without its
    // nodes; a map changed since the save is not in it.
    bool savedWithoutNodes = level.mapChanged && (byExit || !level.levelChanged);
    if (savedWithoutNodes &&
        !ConfirmYes(kCentred, kCentred, "Warning, Map Changes require", "Nodes to be built, Continue?"))
        return;
    if (!EditOptions()) {
        std::memcpy(config.testOptions, kept, sizeof kept);
        return;
    }
    if (!AllOnProgramLine() && !WriteResponseFile(pwad, config.testOptions))
        return;
    if (byExit)
        KeepUnsavedChanges();
    HandOffResult run = HandOff(TestPlayRequest(pwad, config.testOptions), PlayNotice());
    if (run.ran)
        ReportGameEnd(run.child);
}

void InstallTestPlay() { editorActions.testPlay = TestPlay; }
