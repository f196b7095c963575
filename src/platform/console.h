// Text console: the 80 x 25 character screen of the command shell.
//
// On a terminal, text is placed with ANSI sequences in the 16 PC text colours
// and single keys are read in raw mode. Anywhere else (pipes, tests, scripts)
// positioned text becomes plain lines, nothing waits for a key and a question
// reads its answer from one line, so that a shell session can be driven by a
// here-document without a wait eating the next command.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// PC text colours.
enum TextColor {
    kTextBlack = 0, kTextBlue = 1, kTextGreen = 2, kTextCyan = 3, kTextRed = 4,
    kTextMagenta = 5, kTextBrown = 6, kTextLightGray = 7, kTextDarkGray = 8,
    kTextLightBlue = 9, kTextLightGreen = 10, kTextLightCyan = 11,
    kTextLightRed = 12, kTextLightMagenta = 13, kTextYellow = 14, kTextWhite = 15
};

// Key code returned by ConsoleReadKey when the input has ended.
constexpr int kConsoleEndOfInput = -1;

// Who reads the console's input.
enum class ConsoleReader {
    Script,   // lines of a pipe or file: nothing pauses for a key
    Person,   // key presses: "press a key" waits and listing pages pause
};

struct ConsoleState {
    FILE* in = nullptr;             // nullptr: standard input
    FILE* out = nullptr;            // nullptr: standard output
    bool terminal = false;          // ANSI screen and raw keys
    ConsoleReader reader = ConsoleReader::Script;
    bool initialised = false;
    int fg = kTextLightGray;
    int bg = kTextBlack;
    bool lineOpen = false;          // plain mode: text written since the last line break
    int plainRow = 0;               // plain mode: screen row and column of the open line
    int plainColumn = 1;
    bool inputEnded = false;
};

extern ConsoleState console;

// Chooses terminal or plain mode from the standard streams. Idempotent.
void ConsoleInit();
// Routes the console to the given streams in plain mode (tests, scripts).
// With ConsoleReader::Person each byte of in is one key press.
void ConsoleUsePlainStreams(FILE* in, FILE* out, ConsoleReader reader = ConsoleReader::Script);
// Gives the terminal back its normal mode; safe to call more than once.
void ConsoleRestore();
// True when a person can see the console: standard input, output or error is
// a terminal. A program started from a desktop's menu has none of them, and
// neither has one whose streams a script or a test redirected.
bool TerminalAttached();
// Nothing more is read from the console: reads answer as at the end of a
// script, so that a shell no one sees ends instead of waiting.
void ConsoleEndInput();

void ConsoleGotoXY(int column, int row);     // 1-based, 80 x 25
void ConsoleSetColors(int fg, int bg);
void ConsoleClearScreen();
void ConsoleClearCells(int cells);           // blanks cells from the cursor on
// Writes text in the PC character set; bytes 128..255 become their Unicode forms.
void ConsoleWrite(const char* text);
void ConsolePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ConsoleFlush();

// True when a person answers the console (a terminal): only then do waits for
// a key and listing pages pause.
bool ConsoleInteractive();
// Reads the answer to a question: one key, returned as its character (13 for
// Enter, 27 for Esc), or kConsoleEndOfInput when nothing more can be read.
// From a script one whole line is consumed and its first character returned
// (13 for an empty line).
int ConsoleReadKey();
// "Press a key": waits for one key when a person reads the console; returns
// at once for a script, whose next line is a command, not a key.
void ConsoleWaitForKey();
// True when a key press is waiting (terminal only; plain mode never has one).
bool ConsoleKeyWaiting();
// Reads one line without its line break; false at end of input.
bool ConsoleReadLine(std::string& line);

// Paces text that a long operation redraws in place as its work goes on (a
// running byte count, a percentage). On a terminal every change is drawn over
// the last. In plain mode each drawing would be a new line, so one is due only
// when the work has passed another tenth of its total, and at its end.
class ConsoleProgress {
public:
    explicit ConsoleProgress(int64_t total);
    // True on a terminal: text drawn again replaces what was there.
    bool InPlace() const { return inPlace_; }
    // True when the text for `done` units of work is to be drawn now.
    bool Due(int64_t done);

private:
    int64_t total_;
    bool inPlace_;
    int nextTenth_ = 1;    // plain mode: the tenth of the total that makes the next line due
    bool ended_ = false;   // plain mode: the end has been drawn
};

// The Unicode text of one byte of the PC character set (code page 437).
const char* Cp437ToUtf8(unsigned char byte);
// Converts a text in the PC character set to UTF-8.
std::string Cp437TextToUtf8(const char* text);
