#include "platform/console.h"

#include <algorithm>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

ConsoleState console;

namespace {

struct TerminalModes {
    termios saved{};
    bool savedValid = false;
    bool raw = false;
};
TerminalModes terminalModes;

const char* const kCp437High[128] = {
    "Ç", "ü", "é", "â", "ä", "à", "å", "ç",
    "ê", "ë", "è", "ï", "î", "ì", "Ä", "Å",
    "É", "æ", "Æ", "ô", "ö", "ò", "û", "ù",
    "ÿ", "Ö", "Ü", "¢", "£", "¥", "₧", "ƒ",
    "á", "í", "ó", "ú", "ñ", "Ñ", "ª", "º",
    "¿", "⌐", "¬", "½", "¼", "¡", "«", "»",
    "░", "▒", "▓", "│", "┤", "╡", "╢", "╖",
    "╕", "╣", "║", "╗", "╝", "╜", "╛", "┐",
    "└", "┴", "┬", "├", "─", "┼", "╞", "╟",
    "╚", "╔", "╩", "╦", "╠", "═", "╬", "╧",
    "╨", "╤", "╥", "╙", "╘", "╒", "╓", "╫",
    "╪", "┘", "┌", "█", "▄", "▌", "▐", "▀",
    "α", "ß", "Γ", "π", "Σ", "σ", "µ", "τ",
    "Φ", "Θ", "Ω", "δ", "∞", "φ", "ε", "∩",
    "≡", "±", "≥", "≤", "⌠", "⌡", "÷", "≈",
    "°", "∙", "·", "√", "ⁿ", "²", "■", " ",};

// ANSI colour numbers of the PC colours 0..7 (PC order is BGR, ANSI is RGB).
const int kAnsiOfPc[8] = {0, 4, 2, 6, 1, 5, 3, 7};

FILE* OutStream() { return console.out ? console.out : stdout; }
FILE* InStream() { return console.in ? console.in : stdin; }

void SetRawMode(bool raw) {
    if (!console.terminal || !terminalModes.savedValid || terminalModes.raw == raw)
        return;
    termios t = terminalModes.saved;
    if (raw) {
        t.c_lflag &= ~(ICANON | ECHO);
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
    }
    tcsetattr(STDIN_FILENO, TCSANOW, &t);
    terminalModes.raw = raw;
}

void RestoreOnSignal(int sig) {
    ConsoleRestore();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void EndPlainLine() {
    if (console.lineOpen) {
        std::fputc('\n', OutStream());
        console.lineOpen = false;
    }
    console.plainColumn = 1;
}

// Reads the rest of an escape sequence that a cursor or function key sent,
// so that it does not arrive as separate key presses.
void DrainEscapeSequence() {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    unsigned char c;
    while (poll(&p, 1, 20) > 0 && read(STDIN_FILENO, &c, 1) == 1) {
    }
}

}  // namespace

const char* Cp437ToUtf8(unsigned char byte) {
    static char ascii[128][2];
    if (byte >= 128)
        return kCp437High[byte - 128];
    ascii[byte][0] = static_cast<char>(byte);
    ascii[byte][1] = 0;
    return ascii[byte];
}

std::string Cp437TextToUtf8(const char* text) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        out += Cp437ToUtf8(*p);
    return out;
}

void ConsoleInit() {
    if (console.initialised)
        return;
    console.initialised = true;
    // A closed output pipe must not kill the program halfway through writing a file.
    std::signal(SIGPIPE, SIG_IGN);
    console.terminal = console.in == nullptr && console.out == nullptr &&
                       isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
    if (!console.terminal)
        return;
    console.reader = ConsoleReader::Person;
    if (tcgetattr(STDIN_FILENO, &terminalModes.saved) == 0)
        terminalModes.savedValid = true;
    std::atexit(ConsoleRestore);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT})
        std::signal(sig, RestoreOnSignal);
}

void ConsoleUsePlainStreams(FILE* in, FILE* out, ConsoleReader reader) {
    console = ConsoleState{};
    console.in = in;
    console.out = out;
    console.reader = reader;
    console.initialised = true;
}

void ConsoleRestore() {
    if (!console.terminal)
        return;
    SetRawMode(false);
    std::fputs("\x1b[0m", OutStream());
    std::fflush(OutStream());
}

// In plain mode text placed further along the row it is on continues that
// line; anything else starts a new line.
void ConsoleGotoXY(int column, int row) {
    ConsoleInit();
    if (console.terminal) {
        std::fprintf(OutStream(), "\x1b[%d;%dH", row, column);
        return;
    }
    if (console.lineOpen && row == console.plainRow && column >= console.plainColumn) {
        std::fprintf(OutStream(), "%*s", column - console.plainColumn, "");
        console.plainColumn = column;
        return;
    }
    EndPlainLine();
    console.plainRow = row;
    console.plainColumn = column;
}

void ConsoleSetColors(int fg, int bg) {
    ConsoleInit();
    console.fg = fg & 15;
    console.bg = bg & 7;
    if (console.terminal)
        std::fprintf(OutStream(), "\x1b[0;%s%d;%dm", console.fg >= 8 ? "1;" : "",
                     30 + kAnsiOfPc[console.fg & 7], 40 + kAnsiOfPc[console.bg]);
}

void ConsoleClearScreen() {
    ConsoleInit();
    if (console.terminal)
        std::fputs("\x1b[2J\x1b[H", OutStream());
    else
        EndPlainLine();
}

void ConsoleClearCells(int cells) {
    ConsoleInit();
    if (!console.terminal || cells <= 0)
        return;
    std::fprintf(OutStream(), "\x1b[s%*s\x1b[u", cells, "");
}

void ConsoleWrite(const char* text) {
    ConsoleInit();
    std::string utf8 = Cp437TextToUtf8(text);
    if (utf8.empty())
        return;
    std::fputs(utf8.c_str(), OutStream());
    if (console.terminal)
        return;
    const char* lastBreak = std::strrchr(text, '\n');
    console.plainColumn = lastBreak ? 1 + static_cast<int>(std::strlen(lastBreak + 1))
                                    : console.plainColumn + static_cast<int>(std::strlen(text));
    console.lineOpen = utf8.back() != '\n';
}

void ConsolePrintf(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    ConsoleWrite(buffer);
}

void ConsoleFlush() { std::fflush(OutStream()); }

bool TerminalAttached() {
    return isatty(STDIN_FILENO) || isatty(STDOUT_FILENO) || isatty(STDERR_FILENO);
}

void ConsoleEndInput() {
    ConsoleInit();
    console.inputEnded = true;
}

bool ConsoleInteractive() {
    ConsoleInit();
    return console.reader == ConsoleReader::Person;
}

int ConsoleReadKey() {
    ConsoleInit();
    ConsoleFlush();
    if (console.terminal) {
        SetRawMode(true);
        unsigned char c;
        ssize_t n = read(STDIN_FILENO, &c, 1);
        SetRawMode(false);
        if (n != 1)
            return kConsoleEndOfInput;
        if (c == 27)
            DrainEscapeSequence();
        return c == '\n' ? 13 : c;
    }
    if (console.reader == ConsoleReader::Person) {
        int c = std::fgetc(InStream());
        return c == EOF ? kConsoleEndOfInput : c == '\n' ? 13 : c;
    }
    std::string line;
    if (!ConsoleReadLine(line))
        return kConsoleEndOfInput;
    return line.empty() ? 13 : static_cast<unsigned char>(line[0]);
}

void ConsoleWaitForKey() {
    if (ConsoleInteractive())
        ConsoleReadKey();
    else
        ConsoleFlush();
}

bool ConsoleKeyWaiting() {
    ConsoleInit();
    if (!console.terminal)
        return false;
    pollfd p{STDIN_FILENO, POLLIN, 0};
    return poll(&p, 1, 0) > 0;
}

bool ConsoleReadLine(std::string& line) {
    ConsoleInit();
    ConsoleFlush();
    line.clear();
    if (console.inputEnded)
        return false;
    FILE* in = InStream();
    int c;
    while ((c = std::fgetc(in)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (c == EOF && line.empty()) {
        console.inputEnded = true;
        return false;
    }
    return true;
}

ConsoleProgress::ConsoleProgress(int64_t total) : total_(total) {
    ConsoleInit();
    inPlace_ = console.terminal;
}

bool ConsoleProgress::Due(int64_t done) {
    if (inPlace_)
        return true;
    if (ended_)
        return false;
    if (total_ <= 0 || done >= total_) {
        ended_ = true;
        return true;
    }
    int tenth = static_cast<int>(std::max<int64_t>(done, 0) * 10 / total_);
    if (tenth < nextTenth_)
        return false;
    nextTenth_ = tenth + 1;
    return true;
}
