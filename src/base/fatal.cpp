#include "base/fatal.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "platform/console.h"
#include "platform/video.h"

namespace {

GraphicsMessageSink graphicsSink = nullptr;
WindowNotice windowNotice = nullptr;

struct Cleanup {
    CleanupStage stage;
    void (*run)();
};
std::vector<Cleanup> cleanups;

void RunCleanups(CleanupStage stage) {
    for (auto c = cleanups.rbegin(); c != cleanups.rend(); ++c)
        if (c->stage == stage)
            c->run();
}

void ErrorBeep() {
    if (!config.soundErrors)
        return;
    PlatformTone(config.beepErrorFreq, 10);
    PlatformDelay(10);
}

}  // namespace

void RegisterEarlyEndCleanup(CleanupStage stage, void (*cleanup)()) {
    bool known = std::any_of(cleanups.begin(), cleanups.end(),
                             [&](const Cleanup& c) { return c.run == cleanup; });
    if (!known)
        cleanups.push_back({stage, cleanup});
}

void EndEarly(const ProgramExit& exit) {
    RunCleanups(CleanupStage::BeforeMessage);
    bool fatal = exit.code() == kExitFatal;
    if (fatal)
        ErrorBeep();
    if (fatal || exit.code() == kExitScriptError) {
        ConsoleSetColors(kTextLightGray, kTextBlack);
        ConsolePrintf("\n%s%s\n", fatal ? "Error: " : "", exit.what());
        ConsoleFlush();
    }
    if (fatal)
        NoticeInWindow("Error", exit.what());
    RunCleanups(CleanupStage::AfterMessage);
}

void SetWindowNotice(WindowNotice notice) { windowNotice = notice; }

void NoticeInWindow(const char* title, const std::string& text) {
    if (!windowNotice)
        return;
    try {
        windowNotice(title, text);
    } catch (const ProgramExit&) {
    }
}

void FatalError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatV(format, args);
    va_end(args);
    throw ProgramExit(kExitFatal, message);
}

void FileFatalError(FileAction action, const std::string& reason, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatV(format, args);
    va_end(args);
    throw FileError(message + " (" + reason + ")", action, reason);
}

void SetGraphicsMessageSink(GraphicsMessageSink sink) { graphicsSink = sink; }

bool GraphicsScreenUp() { return graphicsSink != nullptr; }

void PrintAt(int column, int row, ClearLine clear, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatV(format, args);
    va_end(args);
    const char* text = message.c_str();
    if (graphicsSink) {
        graphicsSink(text);
        return;
    }
    int fg = console.fg, bg = console.bg;
    ConsoleSetColors(kTextYellow, kTextBlue);
    ConsoleGotoXY(column, row);
    if (clear == ClearLine::Yes)
        ConsoleClearCells(row == 25 ? 80 - column : 81 - column);
    ConsoleWrite(text);
    ConsoleSetColors(fg, bg);
    ConsoleFlush();
}

void WaitConsoleKey() { ConsoleWaitForKey(); }
