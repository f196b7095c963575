#include "shell/startup.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/config.h"
#include "base/fatal.h"
#include "base/work_dir.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "level/level_files.h"
#include "level/recovery.h"
#include "menus/check_menu.h"
#include "dialogs/edit_objects.h"
#include "checker/limits_overlay.h"
#include "menus/misc_menu.h"
#include "view3d/preview3d.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/video.h"
#include "shell/command_line.h"
#include "shell/shell.h"
#include "testplay/handoff.h"
#include "testplay/testplay.h"
#include "ui/settings_dialogs.h"
#include "ui/first_setup.h"
#include "ui/graphics.h"
#include "ui/help_viewer.h"
#include "ui/message_box.h"
#include "ui/sprite_views.h"
#include "ui/toolkit.h"
#include "wad/master.h"

StartupState startup;

namespace {

// A start from the desktop's menu works in the user's data directory, which
// the first such start makes.
void EnterDesktopDirectory() {
    std::string dir = DesktopWorkDir(EnvironmentValue("XDG_DATA_HOME"), EnvironmentValue("HOME"), ProgramName());
    if (dir.empty())
        FatalError("No directory for the files of %s: neither XDG_DATA_HOME nor HOME holds an absolute path",
                   Names().product);
    int error = 0;
    if (!MakeDirectories(dir, error) || !ChangeDirectory(dir, error))
        FatalError("Cannot work in %s (%s)", dir.c_str(), SystemErrorText(error).c_str());
}

// The working directory, of any length, with "/" appended.
void FixWorkingDirectory(const CommandLine& options) {
    if (options.desktop)
        EnterDesktopDirectory();
    SetWorkDir(CurrentDirectory());
}

// Started from the desktop's menu, no one sees the console: an error that
// ends the program is shown in a window too, and the shell ends with the
// editor instead of waiting for commands no one can type.
void ServeNoTerminal(const CommandLine& options) {
    if (!options.desktop || TerminalAttached())
        return;
    SetWindowNotice(NoticeOnGraphicsScreen);
    ConsoleEndInput();
}

void CompletePatchPath() {
    size_t length = std::strlen(config.patchPath);
    if (length > 0 && config.patchPath[length - 1] != '/' && length + 1 < sizeof config.patchPath)
        config.patchPath[length] = '/';
}

void WriteRow(int row, int column, int fg, const char* text) {
    ConsoleGotoXY(column, row);
    ConsoleSetColors(fg, kTextBlack);
    ConsoleWrite(text);
}

void ShowSetupBox() {
    ShowBanner();
    const char* box[4] = {
        "\xC9\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD"
        "\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD"
        "\xCD\xBB",
        nullptr,
        "\xBA  Please press Enter to set the File Names  \xBA",
        "\xC8\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD"
        "\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD"
        "\xCD\xBC",
    };
    char title[64];
    std::snprintf(title, sizeof title, "\xBA%*s%s%*s\xBA", 17, "", Names().setupTitle,
                  44 - 17 - static_cast<int>(std::strlen(Names().setupTitle)), "");
    box[1] = title;
    for (int i = 0; i < 4; ++i) {
        ConsoleGotoXY(1, 22 + i);
        ConsoleClearCells(i == 3 ? 79 : 80);
        WriteRow(22 + i, 15, kTextYellow, box[i]);
    }
    ConsoleSetColors(kTextLightGray, kTextBlack);
    WaitConsoleKey();
}

void RunFirstTimeSetup() {
    ShowSetupBox();
    if (startup.graphicalSetup)
        startup.graphicalSetup();
}

// Names given on the command line keep the case they were typed in.
void LoadStartupPwads() {
    if (config.autoLoad == 0 || startup.fileGiven || startup.noLoad)
        std::memset(config.pwadList, 0, sizeof config.pwadList);
    if (startup.fileGiven) {
        for (size_t i = 0; i < startup.fileArgs.size() && i < static_cast<size_t>(kLoadedPwadRows); ++i) {
            SetField(config.pwadList[i], startup.fileArgs[i].c_str());
            NormalizeWadName(config.pwadList[i], kFileNameField);
        }
    }
    LoadPwadList(RememberedPwads());
}

// A help file that is no longer where the configuration says is taken from
// where the program's data is shipped.
void FindMovedHelpFile() {
    if (FileExists(config.helpFile))
        return;
    std::string shipped = FindShippedHelpFile(config.helpFile);
    if (!shipped.empty())
        SetField(config.helpFile, shipped.c_str());
}

// Options override what the configuration file set.
void ApplyCommandLine(const CommandLine& options) {
    startup.noLoad = options.noLoad;
    if (options.iwadGiven)
        SetField(config.iwadName, options.iwad.c_str());
    if (options.videoGiven)
        config.videoMode = options.videoMode;
    if (options.filesGiven) {
        startup.fileGiven = true;
        startup.fileArgs = options.files;
    }
}

// The editor comes up at once on the last level when Auto Start is on (and
// -noload was not given), and on -edit's level whenever that was given (a
// start from the desktop's menu asks for the last one); -edit alone takes
// the level of the newest unsaved changes kept, if any.
void SetAutoStart(const CommandLine& options, const RecoveryScan& kept) {
    startup.autoStart = !startup.noLoad && config.autoStart != 0;
    startup.autoEpisode = config.lastEpisode;
    startup.autoMap = config.lastMap;
    if (!options.editGiven && !options.desktop)
        return;
    std::string fault;
    if (!ResolveLevelArgument(options.level, master.gameStyle, startup.autoEpisode, startup.autoMap, fault))
        FatalError("%s", fault.c_str());
    if (options.level.numbers.empty() && !kept.ours.empty())
        LevelNumbersOf(kept.ours.front().levelName, startup.autoEpisode, startup.autoMap);
    startup.autoStart = true;
}

// A line below the banner, above the prompt (row 24); notes beyond row 23
// are left out.
constexpr int kLastNoteRow = 23;

void StartNote(const std::string& line) {
    if (startup.noteRow <= kLastNoteRow)
        PrintAt(1, startup.noteRow++, ClearLine::Yes, "%s", line.c_str());
}

// A note of a heading and items, wrapped at the screen's width; nothing
// when there are no items.
void StartNoteList(std::string line, const std::vector<std::string>& items) {
    constexpr size_t kWidth = 78;
    for (size_t i = 0; i < items.size(); ++i) {
        std::string item = items[i] + (i + 1 < items.size() ? "," : ".");
        if (line.size() + 1 + item.size() > kWidth) {
            StartNote(line);
            line = "   ";
        }
        line += " " + item;
    }
    if (!items.empty())
        StartNote(line);
}

void AddOnce(std::vector<std::string>& items, const std::string& item) {
    if (std::find(items.begin(), items.end(), item) == items.end())
        items.push_back(item);
}

// Default textures and flats that the WAD files lack would give new walls
// and floors that the game cannot draw: told once, with what this run uses.
void ReportMissingDefaults() {
    std::vector<MissingDefault> missing = UseDefaultsTheWadsHave();
    if (missing.empty())
        return;
    std::vector<std::string> replaced, kept;
    for (const MissingDefault& m : missing) {
        if (m.used.empty())
            AddOnce(kept, m.name);
        else
            AddOnce(replaced, m.used + " for " + m.name);
    }
    StartNote("Default textures and flats not in the WAD files (F5 in the editor sets them):");
    StartNoteList("  This run uses", replaced);
    StartNoteList(std::string("  Kept, as ") + Names().game + "'s own are missing too:", kept);
}

// The shell's command that edits the level ("E 7", "E 1 3").
std::string EditCommandFor(const std::string& levelName) {
    int16_t episode = 1, map = 1;
    LevelNumbersOf(levelName, episode, map);
    return "E " + (master.gameStyle == kStyleEpisodes ? std::to_string(episode) + " " : "") + std::to_string(map);
}

// Tells of the unsaved changes that runs which died left, and how to get
// them back, and of damaged recovery files set aside: a few lines below the
// banner.
void ReportKeptChanges(const RecoveryScan& kept) {
    std::vector<std::string> lines;
    for (const RecoveryInfo& info : kept.ours) {
        lines.push_back("Unsaved changes of " + info.levelName + " from " + WrittenAtText(info.writtenAt) +
                        " are kept:");
        lines.push_back("  " + EditCommandFor(info.levelName) + " (or the option -edit) offers them back.");
    }
    for (const RecoveryInfo& info : kept.others) {
        lines.push_back("Unsaved changes of " + info.levelName + " from " + WrittenAtText(info.writtenAt) +
                        " (another IWAD) are kept:");
        lines.push_back("  start with -main " + info.iwad + " -edit " + info.levelName + " to get them back.");
    }
    lines.insert(lines.end(), kept.setAside.begin(), kept.setAside.end());
    size_t room = static_cast<size_t>(std::max(0, kLastNoteRow + 1 - startup.noteRow));
    if (lines.size() > room && room > 0) {
        lines.resize(room - 1);
        lines.push_back("(more unsaved changes are kept: E offers them in turn)");
    }
    for (const std::string& line : lines)
        StartNote(line);
}

void StartUp(const CommandLine& options) {
    startup.initMemory = FreeMemoryBytes();
    ServeNoTerminal(options);
    FixWorkingDirectory(options);
    ResetConfig();
    bool configOk = false;
    std::vector<char> configName(ConfigFileName(), ConfigFileName() + std::strlen(ConfigFileName()) + 1);
    if (FileExists(configName.data()) && CheckFileType(configName.data(), "_CFG", FileCheck::Quiet))
        configOk = LoadConfig() == 1;
    ApplyCommandLine(options);
    CompletePatchPath();
    FindMovedHelpFile();
    for (const std::string& dir : {WorkDir(), std::string(config.patchPath)})
        RemoveLeftoverTemporaryFiles(dir);
    bool helpOk = CheckFileType(config.helpFile, "_HLP", FileCheck::Quiet);
    bool iwadOk = CheckFileType(config.iwadName, "IWAD", FileCheck::Quiet);
    if (!configOk || !helpOk || !iwadOk)
        RunFirstTimeSetup();
    ShowBanner();
    OpenHelpFile();
    OpenIwad(config.iwadName);
    RecoveryScan kept = FindRecoveryFiles();
    SetAutoStart(options, kept);
    LoadStartupPwads();
    ReportKeptChanges(kept);
    ReportMissingDefaults();
    PrintAt(5, 2, ClearLine::No, "Init %lld", static_cast<long long>(startup.initMemory));
    startup.freeMemory = FreeMemoryBytes();
    PrintAt(66, 2, ClearLine::No, "Free %lld", static_cast<long long>(startup.freeMemory));
}

void EndOrderly() {
    CloseWads(WadRows::All);
    ShowBanner();
    ConsoleGotoXY(1, 24);
    ConsoleClearCells(80);
    ConsoleGotoXY(33, 24);
    ConsolePrintf("%s Ended", Names().product);
    ConsoleGotoXY(1, 24);
    ConsoleWrite("\n");
    if (!SaveConfigOrSay())
        ConsoleWrite("\n");
    ConsoleFlush();
}

}  // namespace

namespace {

struct BannerText {
    int row;
    int column;
    int color;
    std::string text;
};

std::string Repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

// Writes each row's pieces in column order, so that the banner comes out
// right on a terminal and as plain lines alike.
void DrawBannerRows(std::vector<BannerText> texts) {
    std::stable_sort(texts.begin(), texts.end(), [](const BannerText& a, const BannerText& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    for (const BannerText& t : texts)
        WriteRow(t.row, t.column, t.color, t.text.c_str());
}

}  // namespace

void ShowBanner() {
    const char kVertical = '\xBA';
    std::vector<BannerText> texts;
    texts.push_back({1, 1, kTextLightCyan, "\xC9" + Repeat('\xCD', 78) + "\xBB"});
    for (int row = 2; row <= 14; ++row) {
        texts.push_back({row, 1, kTextLightCyan, std::string(1, kVertical)});
        texts.push_back({row, 80, kTextLightCyan, std::string(1, kVertical)});
    }
    texts.push_back({15, 1, kTextLightCyan, "\xC8" + Repeat('\xCD', 78) + "\xBC"});
    texts.push_back({3, 28, kTextYellow, Names().longProduct});
    char line[128];
    std::snprintf(line, sizeof line, "Map editor for %s, version %s", Names().game, kProgramVersion);
    texts.push_back({5, 40 - static_cast<int>(std::strlen(line)) / 2, kTextWhite, line});
    texts.push_back({7, 13, kTextLightGray, "Things, LineDefs, SideDefs, Vertexes and Sectors,"});
    texts.push_back({8, 13, kTextLightGray, "drawn, selected, moved, built and checked."});
    texts.push_back({10, 13, kTextLightGray, "Type ? at the prompt for help, E to edit a level, Q to quit."});
    std::snprintf(line, sizeof line, "%-9s= ", Names().game);
    texts.push_back({16, 2, kTextLightGreen, line});
    std::snprintf(line, sizeof line, "%.66s", config.iwadName);
    texts.push_back({16, 13, kTextWhite, line});
    texts.push_back({17, 2, kTextLightGreen, "PATCHES  = "});
    texts.push_back({17, 13, kTextWhite, config.patchPath[0] ? config.patchPath : WorkDir()});
    texts.push_back({18, 2, kTextLightGreen, "HELP     = "});
    texts.push_back({18, 13, kTextWhite, config.helpFile});
    ConsoleSetColors(kTextLightGray, kTextBlack);
    ConsoleClearScreen();
    DrawBannerRows(texts);
    ConsoleSetColors(kTextLightGray, kTextBlack);
    ConsoleFlush();
}

namespace {

void EndScriptRun() { throw ProgramExit(kExitScriptEnded, "input script ended"); }

void ShellHelpMain(const std::string&) { HelpOnGraphicsScreen("MAIN", HelpRange::ToEnd); }
void ShellHelpExe(const std::string&) { HelpOnGraphicsScreen("EXE", HelpRange::TopicOnly); }

// PICTURE and VIEW: a viewer on the graphics screen with the game's palette.
void OnGraphicsScreen(void (*viewer)(int, int, const char*, const char*), const char* title,
                      const std::string& start) {
    InitGraphics(GraphicsPalette::Game);
    viewer(kCentred, kCentred, title, start.empty() ? nullptr : start.c_str());
    CloseGraphics();
}
void ShellPictureViewer(const std::string& start) { OnGraphicsScreen(PictureViewer, "Picture Viewer", start); }
void ShellSpriteViewer(const std::string& start) { OnGraphicsScreen(SpriteViewer, "Sprite Viewer", start); }

// Where the modules meet: each lower one is given what the higher ones provide.
void ConnectModules() {
    ResetMaster();
    SetWindowNotice(nullptr);
    master.closeHelpFile = CloseHelpFile;
    // Texture definitions read from the directory are read again after it changes.
    master.releaseNameLists = FreeTextureDirectories;
    HeadlessSetScriptEndHandler(EndScriptRun);
    SetNodeBuilderHandOff(HandOffNodeBuilder);
    InstallToolkit();
    InstallMiscOperations();
    InstallChecker();
    InstallTestPlay();
    InstallSettingsDialogs();
    InstallEditDialogs();
    InstallPreview3d();
    InstallLimitsOverlay();
    startup.graphicalSetup = GraphicalFirstTimeSetup;
    shell.helpMain = ShellHelpMain;
    shell.helpExe = ShellHelpExe;
    shell.pictureViewer = ShellPictureViewer;
    shell.spriteViewer = ShellSpriteViewer;
    if (!shell.editor)   // a caller (a test) may run the shell with an editor of its own
        shell.editor = EditOnGraphicsScreen;
}

int AnswerRequest(CommandLineRequest request) {
    std::string text = request == CommandLineRequest::Usage     ? UsageText()
                       : request == CommandLineRequest::Version ? VersionText()
                                                                : ManualPageText();
    ConsoleWrite(text.c_str());
    ConsoleFlush();
    return kExitOk;
}

}  // namespace

int RunProgram(Flavour flavour, int argc, const char* const* argv) {
    SetFlavour(flavour);
    ConsoleInit();
    startup = StartupState{};
    ConnectModules();
    try {
        CommandLine options = ParseCommandLine(argc, argv);
        if (options.request != CommandLineRequest::Run)
            return AnswerRequest(options.request);
        StartUp(options);
        RunShell();
        EndOrderly();
        return kExitOk;
    } catch (const ProgramExit& e) {
        EndEarly(e);
        return e.code();
    }
}
