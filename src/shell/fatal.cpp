#include "shell/fatal.h"

#include <cstdarg>
#include <cstdio>

#include "platform/console.h"

namespace {
GraphicsMessageSink graphics_sink = nullptr;
}

void FatalError(const char* format, ...) {
    char message[161];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    throw ProgramExit(kExitFatal, message);
}

void SetGraphicsMessageSink(GraphicsMessageSink sink) { graphics_sink = sink; }

bool GraphicsScreenUp() { return graphics_sink != nullptr; }

void PrintAt(int column, int row, int clear, const char* format, ...) {
    char text[257];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (graphics_sink) {
        graphics_sink(text);
        return;
    }
    int fg = console.fg, bg = console.bg;
    ConsoleSetColors(kTextYellow, kTextBlue);
    ConsoleGotoXY(column, row);
    if (clear == 1)
        ConsoleClearCells(row == 25 ? 80 - column : 81 - column);
    ConsoleWrite(text);
    ConsoleSetColors(fg, bg);
    ConsoleFlush();
}

int WaitConsoleKey() { return ConsoleReadKey(); }
