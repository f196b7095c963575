// The command shell: the text-mode prompt between start-up and exit.
#pragma once

#include <cstdint>
#include <string>

#include "editor/editor.h"

// Runs the editor on a level; returns one of the editor's return codes.
using EditorEntry = int (*)(int16_t episode, int16_t map, LevelSource source, LevelChoice choice);
// Runs a graphical viewer (help, sprites, pictures) with the next word of
// the command line (empty when there is none).
using ViewerEntry = void (*)(const std::string& word);

struct ShellState {
    bool quit = false;
    // The graphical parts the shell starts, connected at start (tests put
    // their own in); null ones say they are not available.
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
