// Ending the program on an unrecoverable error, and the positioned console
// message that every text-mode command uses.
#pragma once

#include <stdexcept>
#include <string>

// Process exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFatal = 5;
constexpr int kExitHandOff = 100;

// Thrown by FatalError and by the hand-off; the program's entry catches it,
// puts the machine back in order and ends with its code. Tests catch it to
// check the message.
class ProgramExit : public std::runtime_error {
public:
    ProgramExit(int code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// A file that could not be opened, read, written or sought. It ends the
// program as FatalError does, unless a caller that can carry on (saving from
// the editor) catches it. The message ends with the system's reason.
enum class FileAction { Read, Write };
class FileError : public ProgramExit {
public:
    FileError(const std::string& message, FileAction action, const std::string& reason)
        : ProgramExit(kExitFatal, message), action_(action), reason_(reason) {}
    FileAction action() const { return action_; }
    const std::string& reason() const { return reason_; }

private:
    FileAction action_;
    std::string reason_;
};

// Formats the message, adds " (reason)" and throws a FileError. Never
// returns.
[[noreturn]] void FileFatalError(FileAction action, const std::string& reason, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Clean-up that a module registers when it takes hold of something that must
// be given back however the program ends early (the graphics screen, open
// files). A routine registered again keeps its first place.
enum class CleanupStage { BeforeMessage, AfterMessage };
void RegisterEarlyEndCleanup(CleanupStage stage, void (*cleanup)());

// Puts the machine back in order when a ProgramExit ends the program: the
// BeforeMessage clean-ups, newest first; after a fatal error the error beep
// and "\nError: " with the message on the console, after a bad input script
// (kExitScriptError) the message alone, and a fatal error's message in the
// window notice too; then the AfterMessage clean-ups, newest first. The
// configuration is not written.
void EndEarly(const ProgramExit& exit);

// Where a message that a person must read is shown as well when no one sees
// the console (a start from the desktop's menu): a box in a window that
// waits for the user. Null, the default: the console alone.
using WindowNotice = void (*)(const char* title, const std::string& text);
void SetWindowNotice(WindowNotice notice);
// Shows the text through the window notice when one is set. The console is
// the caller's; a run that ends while the box waits (a headless script) ends
// the box alone.
void NoticeInWindow(const char* title, const std::string& text);

// Formats the message (of any length: paths are never cut) and ends the program with exit
// code 5. Never returns.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whether PrintAt first blanks the line from its column on.
enum class ClearLine { No, Yes };
// Shows text at a column and row (from 1) of the 80 x 25 console in yellow on
// blue. While the graphics screen is up the text is shown in a message panel
// instead.
void PrintAt(int column, int row, ClearLine clear, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// Where PrintAt sends its text while the graphics screen is up; the graphics
// layer sets it when it starts and clears it when it ends.
using GraphicsMessageSink = void (*)(const char* text);
void SetGraphicsMessageSink(GraphicsMessageSink sink);
// True while the graphics screen is up (a message sink is set).
bool GraphicsScreenUp();

// "Press a key" on the console: waits for one key at a terminal; returns at
// once when the input is a script, so that no command line is taken as a key.
void WaitConsoleKey();
