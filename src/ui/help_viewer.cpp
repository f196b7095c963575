#include "ui/help_viewer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/console.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/printer.h"
#include "platform/video.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/work_dir.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/input_box.h"
#include "ui/message_box.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"

HelpState help;

void OpenHelpFile() {
    CloseHelpFile();
    help.file = OpenExisting(config.helpFile, "rb");
    if (!help.file)
        FatalError("Help File %s Missing", config.helpFile);
}

void CloseHelpFile() {
    if (help.file)
        std::fclose(help.file);
    help.file = nullptr;
}

namespace {

constexpr int kDefaultColumns = 54;
constexpr int kDefaultRows = 41;
constexpr int kMargin = 6;       // between the window's edge and what is in it
constexpr int kButtonGap = 4;
constexpr int kTextInset = 3;    // between the text area's frame and the text
constexpr int kPaper = 15;       // the text area is white
constexpr int kKeyF3 = kKeyF1 + 2 * 256;

struct ColorLetter {
    char letter;
    int color;
};

const ColorLetter kColorLetters[] = {
    {'x', 0}, {'b', 1}, {'g', 2},  {'c', 3},  {'r', 4},  {'p', 5},  {'y', 14}, {'w', 15},
    {'A', 7}, {'a', 8}, {'B', 9},  {'G', 10}, {'C', 11}, {'R', 12}, {'P', 13},
};

bool IsComment(char first) { return first == '*' || first == '/' || first == ':'; }

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trimmed(const std::string& text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

// Hands each line of the file to take, without its line end and cut to the
// line length (NUL bytes and tabs become blanks), until take returns false.
template <typename Take>
void ForEachLine(FILE* file, Take take) {
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return;
    std::string line;
    auto finish = [&] {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kHelpLineMax)
            line.resize(kHelpLineMax);
        bool more = take(line);
        line.clear();
        return more;
    };
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (size_t i = 0; i < got; ++i) {
            char c = buffer[i];
            if (c == '\n') {
                if (!finish())
                    return;
            } else if (line.size() <= kHelpLineMax) {   // one more, to see a CR at the end
                line += c == '\0' || c == '\t' ? ' ' : c;
            }
        }
    }
    if (!line.empty())
        finish();
}

bool HasHelpType(FILE* file) {
    char tag[4];
    return std::fseek(file, 0, SEEK_SET) == 0 && std::fread(tag, 1, 4, file) == 4 &&
           std::memcmp(tag + 1, "HLP", 3) == 0;
}

// The help file of the help type; start-up keeps it open, and it is opened by
// its configured name when it is not.
FILE* HelpFile() {
    if (!help.file)
        help.file = OpenExisting(config.helpFile, "rb");
    if (help.file && !HasHelpType(help.file))
        return nullptr;
    return help.file;
}

void ReportMissingHelpFile() {
    MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0,
               "Help File not Found", {"Please set with alt+F5"});
}

bool IsHeaderOf(const std::string& line, const std::string& topic) {
    return line.size() > 2 && Upper(Trimmed(line.substr(2))) == topic;
}

std::vector<HelpLine> ShownLines(std::vector<HelpLine> lines) {
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const HelpLine& l) { return l.header; }),
                lines.end());
    return lines;
}

// The lines a range covers: a search covers the rest of the file.
HelpRange LinesOf(HelpRange range) {
    return range == HelpRange::TopicOnly ? HelpRange::TopicOnly : HelpRange::ToEnd;
}

int DisplayLength(const char* text) {
    int n = 0;
    for (; *text; ++text)
        n += *text != '_';
    return n;
}

// The screen in the whole-screen viewport, so that the menu bar and the
// status line come back too when graphics mode was left for printing.
void SaveWholeScreen(SavedArea& area) {
    Canvas& screen = Screen();
    Viewport view = screen.getviewport();
    screen.setviewport(0, 0, screen.getmaxx(), screen.getmaxy(), true);
    SaveArea(0, 0, screen.getmaxx(), screen.getmaxy(), area, WindowSave::Always);
    screen.setviewport(view.left, view.top, view.right, view.bottom, view.clip);
}

// ---- The viewer

class Viewer {
public:
    Viewer(const char* topic, HelpRange range, std::vector<HelpLine> lines,
           const HelpWindow& window)
        : topic_(topic), range_(range), window_(window) {
        page_.lines = std::move(lines);
        page_.rows = window_.rows;
    }

    void Run() {
        PointerRestore pointer;
        DrawWindow();
        ShowPointer();
        if (range_ == HelpRange::SearchToEnd)
            AskAndSearch();
        for (;;) {
            int key = ButtonBar(restartBar_ ? ButtonBarMode::Restart : ButtonBarMode::Continue,
                                window_.buttons);
            restartBar_ = false;
            int top = page_.top;
            int mouse = ListMouse(window_.bar, top, &toolkit.pointer);
            if (mouse == kListScrolled) {
                page_.top = top;
                DrawPage();
            } else if (mouse == kListCancel || mouse == kListMenuBar) {
                key = kKeyEsc;
            }
            if (key == -1) {
                if (mouse == kListNothing)
                    WaitForInput();
                continue;
            }
            if (toolkit.pointer.buttons & 1)
                WaitRelease(nullptr);   // one step per click on a button
            if (!Act(key))
                return;
        }
    }

private:
    // False when the viewer ends.
    bool Act(int key) {
        switch (key) {
        case kKeyEsc:
            return false;
        case 'S':
            AskAndSearch();
            break;
        case kKeyF3:
            if (help.searchText.empty())
                AskAndSearch();
            else
                Search(page_.top + 1);
            break;
        case 'P':
            PrintHelp(topic_, LinesOf(range_));
            DrawWindow();   // printing left the graphics screen
            ShowPointer();
            break;
        default:
            if (page_.Scroll(key))
                DrawPage();
            break;
        }
        return true;
    }

    void DrawWindow() {
        PointerGuard guard;
        RaisedBox(window_.x1, window_.y1, window_.x2, window_.y2, config.colors[kColorMenu]);
        restartBar_ = true;
        ResetListMouse();
        DrawPage();
    }

    void DrawPage() {
        PointerGuard guard;
        SunkenBox(window_.textX1, window_.textY1, window_.textX2, window_.textY2, kPaper);
        int count = static_cast<int>(page_.lines.size());
        for (int row = 0; row < page_.rows && page_.top + row < count; ++row)
            DrawHelpLine(window_.LineX(), window_.LineY(row), window_.columns,
                         page_.lines[page_.top + row]);
        DrawScrollBar(window_.bar, page_.top);
    }

    void AskAndSearch() {
        char text[kHelpSearchMax + 1] = {};
        std::snprintf(text, sizeof text, "%s", help.searchText.c_str());
        if (!InputBox(kCentred, kCentred, "Search (F3 repeat)", kHelpSearchMax, text))
            return;
        help.searchText = Upper(text);
        Search(page_.top);
    }

    void Search(int from) {
        int found = page_.Find(help.searchText, from);
        if (found < 0) {
            ErrorBeep();
            std::string line = "\"" + help.searchText + "\" not found";
            MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0, "Search",
                       {line.c_str()});
            return;
        }
        DrawPage();
        Viewport view = Screen().getviewport();
        SetMousePos(view.left + window_.LineX(), view.top + window_.LineY(0) + graphics.charH / 2);
    }

    const char* topic_;
    HelpRange range_;
    HelpWindow window_;
    HelpPage page_;
    bool restartBar_ = true;
};

// ---- Printing

bool IsPrinterName(const std::string& name) {
    std::string upper = Upper(name);
    return upper == "PRN" || upper == "LPT1" || upper == "LPT2" || upper == "LPT3";
}

// Where a topic is printed: the spooler, or a file written through a
// replacement so that a failure leaves an older file of that name alone.
class PrintTarget {
public:
    ~PrintTarget() {
        if (printer_)
            ClosePrinter(printer_);
        AbandonReplacement(file_);
    }

    bool Open(const std::string& device) {
        if (IsPrinterName(device)) {
            printer_ = OpenPrinter();
            return printer_ != nullptr;
        }
        std::string path = device[0] == '/' ? device : WorkDir() + device;
        return !IsDirectory(path) && BeginReplacement(path, file_);
    }

    FILE* stream() const { return printer_ ? printer_ : file_.stream; }

    // True when everything reached the printer or the file.
    bool Close() {
        if (printer_) {
            FILE* printer = printer_;
            printer_ = nullptr;
            return ClosePrinter(printer);
        }
        if (std::ferror(file_.stream)) {
            AbandonReplacement(file_);
            return false;
        }
        return CommitReplacement(file_);
    }

private:
    FILE* printer_ = nullptr;
    ReplacementFile file_;
};

void ReportPrintError() {
    MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0,
               "Print File Error?", {});
}

bool EscapeOnConsole() { return ConsoleKeyWaiting() && ConsoleReadKey() == kKeyEsc; }

void WriteLines(FILE* out, const std::vector<HelpLine>& lines) {
    const std::string rule(79, '-');
    int number = 0;
    for (const HelpLine& line : lines) {
        ++number;
        if (line.header)
            std::fprintf(out, "\n\n%s\n", rule.c_str());
        else
            std::fprintf(out, "%14s%s\n", "",
                         Cp437TextToUtf8(HelpPlainText(line.text).c_str()).c_str());
        PrintAt(33, 16, ClearLine::No, "Printing Line %d", number);
        if (EscapeOnConsole())
            break;
    }
    std::fputc('\f', out);
}

}  // namespace

int HelpColor(char letter) {
    for (const ColorLetter& c : kColorLetters)
        if (c.letter == letter)
            return c.color;
    return -1;
}

std::string HelpPlainText(const std::string& line) {
    std::string text;
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == kHelpColorSwitch)
            ++i;   // and its colour letter
        else
            text += line[i];
    }
    return text;
}

std::vector<HelpLine> ReadHelpTopic(const char* topic, HelpRange range, bool& helpFileOk) {
    std::vector<HelpLine> result;
    FILE* file = HelpFile();
    helpFileOk = file != nullptr;
    if (!file)
        return result;
    std::string name = Upper(Trimmed(topic ? topic : ""));
    bool inTopic = false;
    int color = 0;
    ForEachLine(file, [&](const std::string& line) {
        char first = line.empty() ? ' ' : line[0];
        if (first == '|') {
            if (!inTopic) {
                inTopic = !name.empty() && IsHeaderOf(line, name);
                return true;
            }
            if (LinesOf(range) == HelpRange::TopicOnly)
                return false;
            result.push_back({line, color, true});
            return true;
        }
        if (!inTopic || IsComment(first))
            return true;
        int letter = HelpColor(first);
        if (letter >= 0)
            color = letter;
        result.push_back({line, color, false});
        return true;
    });
    return result;
}

void DrawHelpLine(int x, int y, int columns, const HelpLine& line) {
    PointerGuard guard;
    const std::string& text = line.text;
    int color = line.color;
    int shown = 0;
    std::string run;
    auto flush = [&] {
        if (run.empty())
            return;
        SetColor(color);
        Screen().outtextxy(x + (shown - static_cast<int>(run.size())) * graphics.charW, y,
                           run.c_str());
        run.clear();
    };
    for (size_t i = 1; i < text.size() && shown < columns; ++i) {
        if (text[i] == kHelpColorSwitch) {
            flush();
            if (i + 1 < text.size() && HelpColor(text[i + 1]) >= 0)
                color = HelpColor(text[i + 1]);
            ++i;
            continue;
        }
        run += text[i];
        ++shown;
    }
    flush();
}

int HelpPage::LastTop() const {
    return std::max(0, static_cast<int>(lines.size()) - rows);
}

bool HelpPage::Scroll(int key) {
    int last = LastTop();
    int old = top;
    switch (key) {
    case kKeyUp: top = std::max(0, top - 1); break;
    case kKeyDown: top = std::max(top, std::min(top + 1, last)); break;
    case kKeyPgUp: top = std::max(0, top - rows); break;
    case kKeyPgDn:
    case kKeyEnter: top = std::max(top, std::min(top + rows, last)); break;
    case kKeyHome: top = 0; break;
    case kKeyEnd: top = last; break;
    default: return false;
    }
    return top != old;
}

int HelpPage::Find(const std::string& text, int from) {
    if (text.empty())
        return -1;
    for (int i = std::max(0, from); i < static_cast<int>(lines.size()); ++i) {
        if (Upper(HelpPlainText(lines[i].text)).find(text) != std::string::npos) {
            top = i;
            return i;
        }
    }
    return -1;
}

int HelpWindow::LineY(int row) const { return textY1 + kTextInset + row * graphics.lineH; }

HelpWindow LayOutHelpWindow(int x1, int y1, int x2, int y2, int lineCount) {
    HelpWindow w;
    const int charW = graphics.charW, lineH = graphics.lineH;
    const int buttonH = 2 * lineH;
    w.buttons = {{"Continue", kKeyEnter, 0, 0, 0, 0},
                 {" C_ancel ", kKeyEsc, 0, 0, 0, 0},
                 {" Print  ", 'P', 0, 0, 0, 0},
                 {" Search ", 'S', 0, 0, 0, 0}};
    int buttonsW = -kButtonGap;
    for (const ButtonDef& b : w.buttons)
        buttonsW += (DisplayLength(b.text) + 2) * charW + kButtonGap;

    int columns = (x2 - x1) / charW;
    int rows = (y2 - y1) / lineH;
    if (columns <= 0)
        columns = kDefaultColumns;
    if (rows <= 0)
        rows = kDefaultRows;
    const int extraW = 2 * kTextInset + 2 + kScrollBarWidth + 2 * kMargin;
    const int extraH = 2 * kTextInset + buttonH + 3 * kMargin;
    columns = std::max(1, std::min(columns, (graphics.maxX + 1 - extraW) / charW));
    rows = std::max(1, std::min(rows, (graphics.maxY + 1 - extraH) / lineH));
    w.columns = columns;
    w.rows = rows;

    int textW = columns * charW + 2 * kTextInset;
    int textH = rows * lineH + 2 * kTextInset;
    int width = std::max(textW + 2 + kScrollBarWidth, buttonsW) + 2 * kMargin;
    int height = textH + buttonH + 3 * kMargin;
    bool centreOnScreen = x1 < 0 || y1 < 0;
    int cx = centreOnScreen ? graphics.maxX / 2 : (x1 + x2) / 2;
    int cy = centreOnScreen ? graphics.maxY / 2 : (y1 + y2) / 2;
    w.x1 = std::clamp(cx - width / 2, 0, std::max(0, graphics.maxX - width));
    w.y1 = std::clamp(cy - height / 2, 0, std::max(0, graphics.maxY - height));
    w.x2 = w.x1 + width;
    w.y2 = w.y1 + height;

    w.textX1 = w.x1 + kMargin;
    w.textY1 = w.y1 + kMargin;
    w.textX2 = w.textX1 + textW;
    w.textY2 = w.textY1 + textH;

    w.bar.wx1 = w.x1;
    w.bar.wy1 = w.y1;
    w.bar.wx2 = w.x2;
    w.bar.wy2 = w.y2;
    w.bar.barX = w.textX2 + 2;
    w.bar.barY1 = w.textY1;
    w.bar.barY2 = w.textY2;
    w.bar.length = std::max(0, lineCount - rows) + 1;
    w.bar.page = rows;

    int bx = w.x1 + (width - buttonsW) / 2;
    int by = w.textY2 + kMargin;
    for (ButtonDef& b : w.buttons) {
        int bw = (DisplayLength(b.text) + 2) * charW;
        b.x1 = bx;
        b.y1 = by;
        b.x2 = bx + bw;
        b.y2 = by + buttonH;
        bx += bw + kButtonGap;
    }
    return w;
}

void HelpViewer(const char* topic, HelpRange range, int x1, int y1, int x2, int y2) {
    SavedArea screen;
    SaveWholeScreen(screen);
    bool fileOk = false;
    std::vector<HelpLine> lines = ShownLines(ReadHelpTopic(topic, range, fileOk));
    if (!fileOk) {
        ReportMissingHelpFile();
    } else if (!lines.empty()) {
        HelpWindow window = LayOutHelpWindow(x1, y1, x2, y2, static_cast<int>(lines.size()));
        Viewer(topic, range, std::move(lines), window).Run();
    }
    RestoreArea(screen);
}

void ShowHelp(const char* topic, HelpRange range) { HelpViewer(topic, range, -1, -1, -1, -1); }

void PrintHelp(const char* topic, HelpRange range) {
    bool fileOk = false;
    std::vector<HelpLine> lines = ReadHelpTopic(topic, LinesOf(range), fileOk);
    if (!fileOk) {
        ReportMissingHelpFile();
        return;
    }
    if (lines.empty())
        return;
    char device[kPrintDeviceMax + 1] = "PRN";
    if (!PathEntry(kCentred, kCentred, "Print Device", kPrintDeviceMax, device))
        return;
    PrintTarget target;
    if (!target.Open(device)) {
        ReportPrintError();
        return;
    }
    bool graphicsUp = graphics.graphicsMode != 0;
    MenuBarMode menuBar = graphics.menuBarShown ? MenuBarMode::Shown : MenuBarMode::Hidden;
    CloseGraphics();
    ConsoleSetColors(kTextLightGray, kTextBlack);
    ConsoleClearScreen();
    PrintAt(33, 12, ClearLine::No, "Printing Started");
    PrintAt(33, 14, ClearLine::No, "Press Esc to Cancel");
    WriteLines(target.stream(), lines);
    bool printed = target.Close();
    if (graphicsUp) {
        InitGraphics(GraphicsPalette::Game);
        SetMenuBarMode(menuBar);
    }
    if (!printed)
        ReportPrintError();
}
