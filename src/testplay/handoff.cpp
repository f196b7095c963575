#include "testplay/handoff.h"

#include "level/level.h"
#include "level/level_dialogs.h"
#include "platform/files.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "wad/master.h"

namespace {

constexpr const char* kNodeBuilder = "Brelbsp";

// A name the shell takes as it is: nothing in it to expand or split on.
bool IsPlainWord(const std::string& word) {
    if (word.empty())
        return false;
    for (char c : word) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '_' || c == '-' || c == '.' || c == '/' || c == '+';
        if (!plain)
            return false;
    }
    return true;
}

// The directory without its trailing "/" (the root stays "/").
std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

std::string ChangeDirectoryLine(const std::string& dir) {
    return "cd " + ShellQuote(WithoutTrailingSlash(dir));
}

// Everything but the state the next run starts from is let go, so that the
// external program has the files and the screen.
void PutProgramAway() {
    HidePointer();
    FreeLevel();
    CloseWads(WadRows::All);
    CloseGraphics();
}

// Writes the hand-off batch; false with the system's reason when it cannot.
bool WriteBatch(const std::vector<std::string>& lines, std::string& reason) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    int error = 0;
    if (ReplaceFileContents(HandOffBatchPath(), text.data(), text.size(), error))
        return true;
    reason = SystemErrorText(error);
    return false;
}

// What the next run needs and the hand-off batch, written before anything is
// let go; false (and a message box naming the file and the reason) when
// either cannot be written.
bool PrepareNextRun(const HandOffRequest& request) {
    std::string reason, file;
    if (!SaveConfig(&reason))
        file = ConfigFileName();
    else if (!WriteBatch(HandOffBatchLines(request), reason))
        file = HandOffBatchPath();
    if (file.empty())
        return true;
    Dialogs().MessageBox("Unable to create " + file, {reason, "The hand-off was cancelled."});
    return false;
}

}  // namespace

std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::vector<std::string> HandOffBatchLines(const HandOffRequest& request) {
    std::string command;
    for (const HandOffVariable& variable : request.environment)
        command += variable.name + "=" + ShellQuote(variable.value) + " ";
    command += IsPlainWord(request.program) ? request.program : ShellQuote(request.program);
    for (const std::string& argument : request.arguments)
        command += " " + ShellQuote(argument);
    return {":", ChangeDirectoryLine(request.runDir), command, ":",
            ChangeDirectoryLine(request.returnDir)};
}

std::string HandOffBatchPath() { return WorkDir() + Names().playBatch; }

void HandOff(const HandOffRequest& request) {
    if (!PrepareNextRun(request))
        return;
    PutProgramAway();
    throw ProgramExit(kExitHandOff, "hand-off to " + request.program);
}

void HandOffNodeBuilder(const std::string& tempFile, const std::string& outputFile,
                        const std::string& levelName) {
    HandOff({WorkDir(), WorkDir(), kNodeBuilder, {tempFile, outputFile, levelName}, {}});
}
