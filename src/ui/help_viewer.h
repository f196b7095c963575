// The help viewer: one topic of the help file, or the rest of the file from a
// topic on, in a scrolling window with a search; and printing a topic to the
// printer or into a file.
//
// The help file is text. A line beginning with "|" starts a topic (its name
// from the third character on); lines beginning with "*", "/" or ":" are
// comments. The first character of every other line is a marker that is not
// shown; a colour letter there gives the line its colour, any other marker
// keeps the colour of the line before. The byte 0x1E followed by a colour
// letter changes the colour for the rest of the line.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "ui/button_bar.h"
#include "ui/list_mouse.h"

constexpr int kHelpLineMax = 79;     // characters read of each line
constexpr int kHelpSearchMax = 40;
constexpr int kPrintDeviceMax = 12;
constexpr char kHelpColorSwitch = '\x1e';

// One line of a topic as the file holds it.
struct HelpLine {
    std::string text;      // marker first, colour switches kept
    int color = 0;         // the line's colour (logical colour)
    bool header = false;   // a topic's first line, met in a range to the end
};

struct HelpState {
    FILE* file = nullptr;     // the help file, kept open from start to end
    std::string searchText;   // kept for the run, upper case
};

extern HelpState help;

// Opens the help file named in the configuration, or ends the program.
void OpenHelpFile();
void CloseHelpFile();

// The logical colour of a colour letter, or -1.
int HelpColor(char letter);
// What a line shows: the text after its marker without the colour switches.
std::string HelpPlainText(const std::string& line);
// The lines of a topic (its name compared ignoring case) in the help file
// kept open (opened by its configured name when it is not); the
// topic's headers only in ranges to the end. Empty when the topic is missing.
// helpFileOk is false when there is no help file of the help type.
std::vector<HelpLine> ReadHelpTopic(const char* topic, HelpRange range, bool& helpFileOk);

// Draws a line's text at (x, y), at most columns characters, in its colours.
void DrawHelpLine(int x, int y, int columns, const HelpLine& line);

// The shown lines and the first line of the page.
struct HelpPage {
    std::vector<HelpLine> lines;
    int rows = 1;
    int top = 0;
    // The first line of the last full page.
    int LastTop() const;
    // Up, Down, PgUp, PgDn, Enter, Home, End; true when the page moved.
    bool Scroll(int key);
    // The first line from `from` on whose text holds `text` (upper case),
    // made the first line of the page; -1 when there is none.
    int Find(const std::string& text, int from);
};

// Where the viewer draws. The text area is (x2 - x1) / charW characters by
// (y2 - y1) / lineH lines (54 by 41 when that comes out 0 or less), cut to
// what the screen holds; the window is centred on the middle of (x1, y1)-(x2,
// y2), on the drawing area when x1 or y1 is negative, and kept on the screen.
struct HelpWindow {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;                  // the window
    int textX1 = 0, textY1 = 0, textX2 = 0, textY2 = 0;  // the text area
    int columns = 0, rows = 0;
    ListMouseArea bar;
    std::vector<ButtonDef> buttons;
    // Where line `row` of the page is written.
    int LineX() const { return textX1 + 3; }
    int LineY(int row) const;
};
HelpWindow LayOutHelpWindow(int x1, int y1, int x2, int y2, int lineCount);

// Shows the topic in a window over (x1, y1)-(x2, y2) until Esc. Keys: Up,
// Down, PgUp, PgDn (Enter), Home, End; S searches, F3 searches again, P
// prints. A missing help file is reported, a missing topic shows nothing.
void HelpViewer(const char* topic, HelpRange range, int x1, int y1, int x2, int y2);
// Asks for the "Print Device" and writes the topic there as plain text: PRN
// is the print spooler, any other name a file. The graphics screen is left
// while printing; Esc on the console stops after the current line.
void PrintHelp(const char* topic, HelpRange range);
// The viewer in its default window, centred.
void ShowHelp(const char* topic, HelpRange range);

// The viewer in its default window on a graphics screen of its own, from the
// text console (the shell's ? and HELP).
void HelpOnGraphicsScreen(const char* topic, HelpRange range);
