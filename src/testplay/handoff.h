// Handing a saved level over to an external program: the node builder or the
// game. The program writes a five-line shell script (the hand-off batch) that
// changes to the program's directory, runs it and changes back. By default
// the editor runs that script itself with `sh`, the adapter directory first
// on PATH, and waits for it with its window, level, view, selection and undo
// history kept. With the configuration's exitHandOff switch on it puts its
// state away instead and ends with exit code 100; the launcher that started
// it runs the script and starts the editor again.
#pragma once

#include <string>
#include <vector>

#include "level/level_files.h"
#include "platform/process.h"

// An environment variable the program is given (NAME=value).
struct HandOffVariable {
    std::string name;
    std::string value;
};

// What to run, where, and where to return to. Directories may end in "/".
struct HandOffRequest {
    std::string runDir;
    std::string returnDir;
    std::string program;                  // looked up on PATH
    std::vector<std::string> arguments;
    std::vector<HandOffVariable> environment;   // set for the program alone
};

// What the editor shows while the program runs: what runs and how to get
// back.
struct HandOffNotice {
    std::string title;
    std::vector<std::string> lines;
};

struct HandOffResult {
    bool ran = false;     // false: nothing ran, and the user has been told why
    ChildResult child;    // how the script ran; it ends as its program does
};

struct HandOffState {
    // Where the adapters are; "" (the default): beside the program (the
    // build tree) or in ../lib/zarn/adapters from it (installed).
    std::string adapterDir;
};
extern HandOffState handOff;

// The directory of the adapters that stand for "Brelbsp", "DOOM", "DOOM2"
// and "HERETIC".
std::string AdapterDirectory();

// The word quoted for the shell: in single quotes, a quote inside written as
// '\'' (so the shell expands nothing in it).
std::string ShellQuote(const std::string& word);

// The hand-off batch's five lines, without their line breaks: ":" (no drive
// to change to), cd to the run directory, the program with each argument
// quoted (after the environment's NAME='value' assignments, which the shell
// gives to that command alone), ":", cd to the return directory.
std::vector<std::string> HandOffBatchLines(const HandOffRequest& request);

// Where the hand-off batch is written: the working directory.
std::string HandOffBatchPath();

// True when hand-offs end the program for the launcher (exitHandOff).
bool HandOffEndsProgram();

// Writes the hand-off batch and runs it as a child process in the working
// directory, showing the notice over the screen until it ends; Esc in the
// editor's window ends it (and what it started). The screen is as before
// afterwards. When the batch cannot be written, a message box "Unable to
// create %s" gives the system's reason and nothing runs.
//
// With HandOffEndsProgram(): saves the configuration and writes the batch,
// then takes the pointer down, frees the level, closes the WAD files
// (keeping their names), leaves graphics mode and ends the program with exit
// code 100. When the configuration or the batch cannot be written, nothing
// is handed off: the same message box, and HandOff returns with the program
// as it was.
HandOffResult HandOff(const HandOffRequest& request, const HandOffNotice& notice);

// The lines of a message box that say how a program ended: the last lines
// it wrote on its standard error, or why it did not start; at most maxLines,
// a long line in pieces that fit the box.
std::vector<std::string> EndLines(const ChildResult& child, size_t maxLines);

// A program's end in a few words, as the title of a message box: "DOOM2
// ended with exit code 1", "Brelbsp could not be started"...; "" for an end
// with success.
std::string EndSummary(const std::string& program, const ChildResult& child);

// The node builder ("Brelbsp", run in the working directory) on the level
// levelName written to tempFile, building outputFile. When hand-offs end the
// program, the recovery file goes first: the node builder writes the saved
// file from the level just written.
NodeBuildResult HandOffNodeBuilder(const std::string& tempFile, const std::string& outputFile,
                                   const std::string& levelName);
