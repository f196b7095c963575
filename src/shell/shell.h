// The command shell: the text-mode prompt between start-up and exit.
#pragma once

#include <cstdint>
#include <string>

// What the editor asks the shell to do when it returns.
enum EditorReturn {
    kEditorLeave = 0,
    kEditorLeaveToo = 1,
    kEditorOtherLevel = 2,
    kEditorNewLevel = 3,
    kEditorIwadOnly = 4,
    kEditorReadPwad = 5,
    kEditorSavedAs = 6,
};

// Runs the editor on a level; returns one of the codes above.
using EditorEntry = int (*)(int16_t episode, int16_t map, bool newLevel, bool levelGiven);
// Runs a graphical viewer (help, pictures) with the rest of the command line.
using ViewerEntry = void (*)(const std::string& word);

struct ShellState {
    std::string inputLine;     // shared with the editor, which may leave a PWAD name in it
    int16_t quit = 0;
    // The graphical parts the shell starts; null until they are present.
    EditorEntry editor = nullptr;
    ViewerEntry helpMain = nullptr;
    ViewerEntry helpExe = nullptr;
    ViewerEntry pictureViewer = nullptr;
    ViewerEntry spriteViewer = nullptr;
};

extern ShellState shell;

void RunShell();
// Runs one command line as typed at the prompt.
void RunCommandLine(const std::string& line);
// READ: reads the PWAD named by the next word.
void CommandRead(class CommandWords& words);
// Closes every file and opens the help file and the IWAD again.
void ReopenMainFiles();
