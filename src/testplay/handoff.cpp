#include "testplay/handoff.h"

#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/recovery.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_box.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"
#include "wad/master.h"

HandOffState handOff;

namespace {

constexpr const char* kNodeBuilder = "Brelbsp";
// The widest line of a message box about a program's end.
constexpr size_t kEndLineWidth = 72;
constexpr size_t kEndLinesShown = 6;

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

// The batch, and for a hand-off that ends the program what the next run
// needs, written before anything is let go; false (and a message box naming
// the file and the reason) when either cannot be written.
bool PrepareHandOff(const HandOffRequest& request) {
    std::string reason, file;
    if (HandOffEndsProgram() && !SaveConfig(&reason))
        file = ConfigFileName();
    else if (!WriteBatch(HandOffBatchLines(request), reason))
        file = HandOffBatchPath();
    if (file.empty())
        return true;
    Dialogs().MessageBox("Unable to create " + file, {reason, "The hand-off was cancelled."});
    return false;
}

// While the program runs: the window stays alive, and Esc in it ends the
// program. Other keys are not for the editor.
bool KeepWaiting() {
    PlatformPoll(PollKind::Aside);
    bool stop = false;
    for (int key; (key = PlatformReadKey()) != -1;)
        stop = stop || key == kKeyEsc;
    return !stop;
}

// Runs the batch with the notice over the screen, which is put back after.
ChildResult RunBatch(const HandOffNotice& notice) {
    ChildCommand command{{"sh", "-e", std::string("./") + Names().playBatch}, WorkDir(), AdapterDirectory()};
    if (graphics.graphicsMode == 0)
        return RunChild(command, KeepWaiting);
    PointerGuard pointer;
    SavedArea area;
    SaveArea(0, 0, graphics.maxX, graphics.maxY, area, WindowSave::Always);
    std::vector<const char*> lines;
    for (const std::string& line : notice.lines)
        lines.push_back(line.c_str());
    MessageBox(kCentred, kCentred, LineAlign::Centred, nullptr, kNoButtons, nullptr, 0, notice.title.c_str(), lines);
    ChildResult child = RunChild(command, KeepWaiting);
    RestoreArea(area);
    return child;
}

// A line of a program's output as a box shows it: printable, and in pieces
// that fit the box.
void AddBoxLines(const std::string& text, std::vector<std::string>& lines) {
    std::string line;
    for (char c : text)
        line += c >= ' ' && c < 127 ? c : c == '\t' ? ' ' : '?';
    if (line.find_first_not_of(' ') == std::string::npos)
        return;
    for (size_t at = 0; at < line.size(); at += kEndLineWidth)
        lines.push_back(line.substr(at, kEndLineWidth));
}

}  // namespace

std::string AdapterDirectory() {
    if (!handOff.adapterDir.empty())
        return handOff.adapterDir;
    std::string here = ProgramDirectory();
    return IsDirectory(here + "adapters") ? here + "adapters" : here + "../lib/zarn/adapters";
}

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

bool HandOffEndsProgram() { return config.exitHandOff != 0; }

HandOffResult HandOff(const HandOffRequest& request, const HandOffNotice& notice) {
    if (!PrepareHandOff(request))
        return {};
    if (HandOffEndsProgram()) {
        PutProgramAway();
        throw ProgramExit(kExitHandOff, "hand-off to " + request.program);
    }
    return {true, RunBatch(notice)};
}

std::vector<std::string> EndLines(const ChildResult& child, size_t maxLines) {
    std::vector<std::string> lines;
    const std::string& text = child.end == ChildEnd::NotStarted ? child.reason : child.errorTail;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        AddBoxLines(text.substr(start, end - start), lines);
        start = end + 1;
    }
    if (lines.size() > maxLines)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(maxLines));
    return lines;
}

std::string EndSummary(const std::string& program, const ChildResult& child) {
    switch (child.end) {
    case ChildEnd::NotStarted:
        return program + " could not be started";
    case ChildEnd::Stopped:
        return program + " was stopped";
    case ChildEnd::Signalled:
        return program + " was ended by signal " + std::to_string(child.code) +
               (child.reason.empty() ? "" : " (" + child.reason + ")");
    case ChildEnd::Exited:
        break;
    }
    // 127: the shell found no such program, or an adapter no engine.
    if (child.code == 127)
        return program + " could not be started";
    return child.code == 0 ? "" : program + " ended with exit code " + std::to_string(child.code);
}

NodeBuildResult HandOffNodeBuilder(const std::string& tempFile, const std::string& outputFile,
                                   const std::string& levelName) {
    if (HandOffEndsProgram())
        RemoveRecoveryFile();
    HandOffNotice notice{"Building the nodes of " + levelName,
                         {std::string(kNodeBuilder) + " is building them; " + Names().product +
                              " goes on when it has finished.",
                          "Esc stops it."}};
    HandOffResult run = HandOff({WorkDir(), WorkDir(), kNodeBuilder, {tempFile, outputFile, levelName}, {}}, notice);
    if (!run.ran)
        return {};
    std::string summary = EndSummary(kNodeBuilder, run.child);
    if (summary.empty())
        return {NodeBuildEnd::Built, {}};
    NodeBuildResult failed{NodeBuildEnd::Failed, {summary}};
    for (const std::string& line : EndLines(run.child, kEndLinesShown))
        failed.why.push_back(line);
    return failed;
}
