// Handing a saved level over to an external program: the node builder or the
// game. The program cannot run them itself, so it writes a five-line shell
// script (the hand-off batch) that changes to the program's directory, runs
// it and changes back, puts its own state away for the next run and ends with
// exit code 100. The launcher that started it runs the script with `sh` and
// then starts the editor again.
#pragma once

#include <string>
#include <vector>

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

// Saves the configuration and writes the hand-off batch, then takes the
// pointer down, frees the level, closes the WAD files (keeping their names),
// leaves graphics mode and ends the program with exit code 100. When the
// configuration or the batch cannot be written, nothing is handed off: a
// message box "Unable to create %s" gives the system's reason and HandOff
// returns, with the program as it was.
void HandOff(const HandOffRequest& request);

// The node builder ("Brelbsp", run in the working directory) on the level
// levelName written to tempFile, building outputFile. Returns only when the
// hand-off could not go ahead.
void HandOffNodeBuilder(const std::string& tempFile, const std::string& outputFile,
                        const std::string& levelName);
