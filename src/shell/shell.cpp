#include "shell/shell.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/console.h"
#include "platform/files.h"
#include "base/command_words.h"
#include "base/config.h"
#include "editor/editor.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "shell/startup.h"
#include "ui/help_viewer.h"
#include "wad/commands.h"
#include "wad/master.h"

ShellState shell;

namespace {

using Handler = void (*)(CommandWords&);

struct Command {
    const char* shortName;   // null: callable only by its long name
    const char* longName;
    Handler handler;
};

void CommandQuit(CommandWords&) { shell.quit = true; }

void SayNotAvailable(const char* what) { PrintAt(1, 25, ClearLine::Yes, "The %s is not available yet.", what); }

void RunViewer(ViewerEntry viewer, CommandWords& words, const char* what) {
    if (!viewer) {
        SayNotAvailable(what);
        return;
    }
    viewer(words.Peek());
}

void CommandHelpMain(CommandWords& words) { RunViewer(shell.helpMain, words, "help viewer"); }
void CommandHelpExe(CommandWords& words) { RunViewer(shell.helpExe, words, "help viewer"); }
void CommandPicture(CommandWords& words) { RunViewer(shell.pictureViewer, words, "picture viewer"); }
void CommandView(CommandWords& words) { RunViewer(shell.spriteViewer, words, "sprite viewer"); }

void EnterEditor(const std::string& commandWord, CommandWords& words);

void CommandEdit(CommandWords& words) { EnterEditor("E", words); }
void CommandNew(CommandWords& words) { EnterEditor("N", words); }

const Command kCommandTable[] = {
    {"?", "", CommandHelpMain},
    {"B", "BUILD", CommandBuild},
    {"N", "NEW", CommandNew},
    {"E", "EDIT", CommandEdit},
    {"G", "GROUP", CommandGroup},
    {"H", "HELP", CommandHelpExe},
    {"I", "INSERT", CommandInsert},
    {nullptr, "DUMPM", CommandDumpM},
    {nullptr, "DUMPW", CommandDumpW},
    {nullptr, "DIR", CommandDir},
    {nullptr, "DIRA", CommandDirA},
    {nullptr, "DIRM", CommandDirM},
    {nullptr, "DIRW", CommandDirW},
    {"Q", "QUIT", CommandQuit},
    {"P", "PICTURE", CommandPicture},
    {"R", "READ", CommandRead},
    {"S", "SAVE", CommandSave},
    {"V", "VIEW", CommandView},
    {"W", "WADS", CommandWads},
    {"X", "XTRACT", CommandXtract},
};

void RememberLevel(const char* name) {
    short episode, map;
    if (master.gameStyle == kStyleEpisodes) {
        if (std::sscanf(name, "E%hdM%hd", &episode, &map) == 2) {
            config.lastEpisode = episode;
            config.lastMap = map;
        }
    } else if (std::sscanf(name, "MAP%hd", &map) == 1) {
        config.lastMap = map;
    }
}

// Acts on what the editor returned before its next pass. Files are closed
// and read again from scratch, so the master directory comes out as a fresh
// start with the same PWAD list makes it.
void ActOnEditorReturn(int code) {
    if (code == kEditorIwadOnly) {
        SaveConfigOrSay();
        CloseAndForgetAll();
        std::memset(config.pwadList, 0, sizeof config.pwadList);
        ReopenMainFiles();
    } else if (code == kEditorReadPwad) {
        CommandWords words(editor.pwadToRead);
        CommandRead(words);
    } else if (code == kEditorSavedAs) {
        std::vector<std::string> names = RememberedPwads();
        CloseAndForgetAll();
        ReopenMainFiles();
        LoadPwadList(names);
    }
}

bool ReadNumber(CommandWords& words, int16_t& value) {
    std::string word;
    if (!words.Next(word))
        return false;
    value = static_cast<int16_t>(std::atoi(word.c_str()));
    return true;
}

void EnterEditor(const std::string& commandWord, CommandWords& words) {
    LevelSource source =
        commandWord[0] == 'N' ? LevelSource::NewLevel : LevelSource::MasterDirectory;
    int16_t episode = config.lastEpisode, map = config.lastMap;
    bool levelGiven = false;
    if (master.gameStyle == kStyleEpisodes) {
        levelGiven = ReadNumber(words, episode);
        if (levelGiven)
            ReadNumber(words, map);
    } else {
        levelGiven = ReadNumber(words, map);
    }
    if (!shell.editor) {
        SayNotAvailable("map editor");
        return;
    }
    int code;
    do {
        code = shell.editor(episode, map, source,
                            levelGiven ? LevelChoice::Given : LevelChoice::FromList);
        levelGiven = true;
        source = code == kEditorNewLevel ? LevelSource::NewLevel : LevelSource::MasterDirectory;
        ActOnEditorReturn(code);
        episode = config.lastEpisode;
        map = config.lastMap;
    } while (code >= kEditorOtherLevel);
}

const Command* FindCommand(const std::string& word) {
    for (const Command& c : kCommandTable)
        if ((c.shortName && SameWordIgnoringCase(word, c.shortName)) ||
            (c.longName[0] && SameWordIgnoringCase(word, c.longName)))
            return &c;
    return nullptr;
}

// Reads the next command line; false at the end of the input.
bool ReadCommandLine(std::string& line) {
    if (startup.autoStart) {
        startup.autoStart = false;
        char text[32];
        if (master.gameStyle == kStyleEpisodes)
            std::snprintf(text, sizeof text, "E %hd %hd", startup.autoEpisode, startup.autoMap);
        else
            std::snprintf(text, sizeof text, "E %2hd", startup.autoMap);
        line = text;
        return true;
    }
    PrintAt(1, 24, ClearLine::Yes, "%s [?=help] > ", Names().product);
    ConsoleGotoXY(17, 24);
    // Names keep the case they were typed in; commands are found ignoring it.
    return ConsoleReadLine(line);
}

}  // namespace

void CommandRead(CommandWords& words) {
    std::string name;
    if (!GetNameArg(words, name, kMaxFileNameArg, "Wad File"))
        return;
    int row = NewPwadRow();
    if (row < 0) {
        PrintAt(1, 25, ClearLine::Yes, "%s", PwadListFullText().c_str());
        return;
    }
    char* field = config.pwadList[row];
    SetField(field, kFileNameField, name.c_str());
    if (!NormalizeWadName(field, kFileNameField)) {
        PrintAt(1, 25, ClearLine::Yes, "File name %s is too long", name.c_str());
        field[0] = 0;
        return;
    }
    SetField(field, kFileNameField, ResolveExistingPath(field).c_str());
    int r = LoadPwad(field);
    if (r <= 0) {
        field[0] = 0;
        return;
    }
    // A file that was already open keeps its own row of the list.
    if (master.table[r].name != field)
        field[0] = 0;
    for (const LevelListEntry& l : master.levelList) {
        if (l.file == r) {
            RememberLevel(l.name);
            break;
        }
    }
    CompactPwadList();
}

void ReopenMainFiles() {
    OpenHelpFile();
    OpenIwad(config.iwadName);
}

void RunCommandLine(const std::string& line) {
    CommandWords words(line);
    std::string word;
    if (!words.Next(word))
        return;
    const Command* command = FindCommand(word);
    if (!command)
        return;
    ConsoleSetColors(kTextWhite, kTextBlack);
    ConsoleClearScreen();
    command->handler(words);
}

void RunShell() {
    shell.quit = false;
    std::string line;
    while (!shell.quit) {
        if (!ReadCommandLine(line))
            break;
        RunCommandLine(line);
    }
}
