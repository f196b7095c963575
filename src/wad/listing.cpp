#include "wad/listing.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <vector>

#include "platform/console.h"
#include "base/command_words.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/format.h"
#include "wad/commands.h"
#include "wad/master.h"
#include "wad/output.h"

ListingState listing;

namespace {

constexpr int kEsc = 27;
constexpr int kLastConsoleLine = 23;
constexpr int kDumpBytesPerLine = 16;
constexpr char kVerticalBar = '\xB3';   // in the PC character set
const char* const kListingPrompt = " [Esc to abort ] ";

// Entry names come from files: control bytes would upset the screen.
std::string PrintableName(const char (&name)[8]) {
    std::string text = EntryNameText(name);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32)
            c = '?';
    return text;
}

const char* RowName(int row) {
    const char* name = RowFileName(row);
    return name ? name : "";
}

// Where a listing goes: the console, a screenful at a time, or a text file.
class ListingOutput {
public:
    // "" and "*" are the console. A file is refused when it is an open WAD
    // file or cannot be created (a message, and 0).
    int Open(const std::string& name) {
        if (name.empty() || name == "*")
            return 1;
        if (!TargetIsFree(name))
            return 0;
        if (!file_.Create(name)) {
            PrintAt(1, 25, ClearLine::Yes, "creating file %s (%s)", name.c_str(), file_.reason().c_str());
            return 0;
        }
        toFile_ = true;
        return 1;
    }
    bool ToFile() const { return toFile_; }
    // True when the console is full and the next line must wait for a key.
    // A script reading the console is not paged: its next line is a command.
    bool PageFull() const { return !toFile_ && line_ > kLastConsoleLine && ConsoleInteractive(); }
    // Shows the prompt, waits for a key and erases the prompt again. The end
    // of the input counts as Esc.
    int WaitForPage(const std::string& prompt) {
        ConsoleWrite(prompt.c_str());
        int key = ConsoleReadKey();
        ConsoleWrite(("\r" + std::string(prompt.size(), ' ') + "\r").c_str());
        line_ = 2;
        return key == kConsoleEndOfInput ? kEsc : key;
    }
    // Writes text in the PC character set (UTF-8 in files, as on the console).
    void Write(const std::string& text) {
        line_ += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        if (toFile_)
            std::fputs(Cp437TextToUtf8(text.c_str()).c_str(), file_.stream());
        else
            ConsoleWrite(text.c_str());
    }
    // Echoes a line written to the file on the bottom row of the screen.
    void Echo(const std::string& text) const {
        if (toFile_)
            PrintAt(1, 25, ClearLine::Yes, "%s", text.c_str());
    }
    void Finish() {
        if (!toFile_) {
            ConsoleFlush();
            return;
        }
        Write("\nEnd of file.\n");
        file_.Finish();
    }

private:
    OutputFile file_;
    bool toFile_ = false;
    int line_ = 1;
};

// One line of a directory listing or of WADS; false when the user gives up
// at a page prompt.
bool ListingLine(ListingOutput& out, const std::string& text) {
    if (out.PageFull() && out.WaitForPage(kListingPrompt) == kEsc)
        return false;
    out.Write(text);
    return true;
}

// Lists row's directory (row 0: the master directory); false when aborted.
bool ListDirectory(ListingOutput& out, int row, const std::string& pattern) {
    const std::vector<WadDirEntry>& dir = master.table[row].dir;
    bool isMaster = row == 0;
    std::string title = isMaster ? "   The Master Directory\n" : "   PWAD File Directory \n";
    title += Format("   ==================== %s Entries= %ld\n\n", RowName(row),
                    static_cast<long>(dir.size()));
    title += "   file entry# Name____   ___Size  _____Start  (hex)\n";
    if (!ListingLine(out, title))
        return false;
    for (size_t i = 0; i < dir.size(); ++i) {
        const WadDirEntry& e = dir[i];
        if (!pattern.empty() && !MatchesPattern(pattern, e.name))
            continue;
        if (pattern.empty() && e.size == 0 && !ListingLine(out, "\n"))
            return false;
        std::string head = Format("    %2hd - %4d  %-8s", e.file, static_cast<int>(i),
                                  PrintableName(e.name).c_str());
        std::string line = head + Format("   %7s  %10s", FormatThousands(e.size).c_str(),
                                         FormatThousands(e.offset).c_str());
        if (isMaster && e.file != 0)
            line += Format("  --> %s\n", RowName(e.file));
        else
            line += Format("  x%06lx\n", static_cast<unsigned long>(static_cast<uint32_t>(e.offset)));
        if (!ListingLine(out, line))
            return false;
        out.Echo(head);
    }
    if (!out.ToFile())
        out.Write("\n\n");
    else if (!pattern.empty() && pattern[0] == '*')
        out.Write("\f");
    return true;
}

enum class DumpStep { Go, SkipEntry, Abort };

// Waits at a full console page during a dump, showing how much of the entry
// has been shown.
DumpStep DumpPause(ListingOutput& out, int64_t shown, int64_t size) {
    if (!out.PageFull())
        return DumpStep::Go;
    int percent = static_cast<int>(size > 0 ? shown * 100 / size : 100);
    int key = out.WaitForPage(Format("[%d%% - Esc to abort, S(kip) entry ]", percent));
    if (key == kEsc)
        return DumpStep::Abort;
    return key == 'S' || key == 's' ? DumpStep::SkipEntry : DumpStep::Go;
}

// Dumps one entry's data; false when the user ends the whole dump.
bool DumpEntry(ListingOutput& out, const WadDirEntry& e, int number) {
    std::vector<uint8_t> data = ReadEntryData(e);
    int64_t size = static_cast<int64_t>(data.size());
    std::vector<std::string> head = {
        Format("Contents of entry %d %s (size = %ld bytes):\n", number, PrintableName(e.name).c_str(),
               static_cast<long>(e.size)),
        "\n"};
    for (const std::string& line : head) {
        DumpStep step = DumpPause(out, 0, size);
        if (step != DumpStep::Go)
            return step == DumpStep::SkipEntry;
        out.Write(line);
    }
    for (int64_t offset = 0; offset < size; offset += kDumpBytesPerLine) {
        DumpStep step = DumpPause(out, offset, size);
        if (step != DumpStep::Go)
            return step == DumpStep::SkipEntry;
        int count = static_cast<int>(std::min<int64_t>(kDumpBytesPerLine, size - offset));
        out.Write(DumpLine(&data[static_cast<size_t>(offset)], count, static_cast<int32_t>(offset)));
    }
    return true;
}

bool HasEntry(int row, const std::string& name) {
    for (const WadDirEntry& e : master.table[row].dir)
        if (SameEntryName(e.name, name.c_str()))
            return true;
    return false;
}

// Dumps every entry of row's directory named name.
void DumpEntries(ListingOutput& out, int row, const std::string& name) {
    out.Write(Format("Dump  %s\n", RowName(row)));
    int number = 0;
    for (const WadDirEntry& e : master.table[row].dir)
        if (SameEntryName(e.name, name.c_str()) && !DumpEntry(out, e, ++number))
            return;
}

bool StartsWithDigit(const std::string& word) {
    return !word.empty() && std::isdigit(static_cast<unsigned char>(word[0]));
}

int WadNumber(const std::string& word) {
    long n = std::strtol(word.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(n, INT_MIN, INT_MAX));
}

// The words after DIRW's pattern or DUMPW's entry name: an output and a WAD
// file number, where a word that begins with a digit is the number (and the
// output is then the console). number keeps its value when none is given.
void TakeOutputAndNumber(CommandWords& words, std::string& output, int& number) {
    std::string word;
    if (!words.Next(word))
        return;
    if (!StartsWithDigit(word)) {
        output = word;
        if (!words.Next(word))
            return;
    }
    number = WadNumber(word);
}

// A WAD file number names a row of the open-WAD table that is in use.
bool ActiveWadNumber(int number) {
    if (number >= 1 && number < kOpenWadRows && master.table[number].inUse())
        return true;
    PrintAt(1, 25, ClearLine::Yes, "Wad file# %d not active", number);
    return false;
}

}  // namespace

void ResetListingState() { listing = ListingState{}; }

std::string FormatThousands(int64_t value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return value < 0 ? "-" + grouped : grouped;
}

bool MatchesPattern(const std::string& pattern, const char (&name)[8]) {
    size_t length = EntryNameText(name).size();
    for (size_t i = 0; i < pattern.size(); ++i) {
        int p = std::toupper(static_cast<unsigned char>(pattern[i]));
        if (p == '*')
            return true;
        if (i >= length)
            return false;
        if (p != '?' && p != std::toupper(static_cast<unsigned char>(name[i])))
            return false;
    }
    return pattern.size() == length;
}

std::string DumpLine(const uint8_t* bytes, int count, int32_t offset) {
    std::string line = Format("%04X: ", static_cast<unsigned>(offset));
    for (int i = 0; i < kDumpBytesPerLine; ++i)
        line += i < count ? Format(" %02X", bytes[i]) : "   ";
    line += ' ';
    line += kVerticalBar;
    line += ' ';
    // Control characters (and DEL) would act on the screen instead of showing.
    for (int i = 0; i < kDumpBytesPerLine; ++i)
        line += i >= count ? ' ' : bytes[i] >= 32 && bytes[i] != 127 ? static_cast<char>(bytes[i]) : '.';
    line += ' ';
    line += kVerticalBar;
    line += '\n';
    return line;
}

// Lists or dumps into output (the console when it is empty or "*"); a file
// is announced on the screen first.
template <typename Body>
void WriteListing(const std::string& output, const std::string& announcement, Body body) {
    ListingOutput out;
    if (!out.Open(output))
        return;
    if (out.ToFile())
        PrintAt(1, 24, ClearLine::Yes, "%s", announcement.c_str());
    body(out);
    out.Finish();
}

void CommandWads(CommandWords&) {
    ListingOutput out;
    ConsoleGotoXY(1, 1);
    out.Write(Format("IWAD  == %-30s  (Main file)\n", RowFileName(0) ? RowFileName(0) : config.iwadName));
    out.Write("--------\n");
    for (int r = 1; r < kOpenWadRows; ++r) {
        if (!master.table[r].inUse())
            continue;
        bool holdsLevel = false;
        for (const LevelListEntry& level : master.levelList) {
            if (level.file != r)
                continue;
            holdsLevel = true;
            if (!ListingLine(out, Format("PWAD %2d  %-30s  (Patch for %s)\n", r, RowName(r), level.name)))
                return;
        }
        if (!holdsLevel && !ListingLine(out, Format("PWAD %2d  %-30s  (Patch)\n", r, RowName(r))))
            return;
    }
    out.Finish();
}

void CommandDir(CommandWords&) {}

void CommandDirA(CommandWords& words) {
    std::string pattern, output;
    words.Next(pattern);
    words.Next(output);
    WriteListing(output, Format("Listing Directory to %s", output.c_str()), [&](ListingOutput& out) {
        for (int r = 0; r < kOpenWadRows; ++r)
            if (master.table[r].inUse() && !ListDirectory(out, r, pattern))
                break;
    });
}

void CommandDirM(CommandWords& words) {
    std::string pattern, output;
    words.Next(pattern);
    words.Next(output);
    WriteListing(output, Format("Listing Master Directory to %s", output.c_str()), [&](ListingOutput& out) {
        ListDirectory(out, 0, pattern);
    });
}

void CommandDirW(CommandWords& words) {
    std::string pattern, output;
    if (!StartsWithDigit(words.Peek()))
        words.Next(pattern);
    int number = listing.lastDirFile;
    TakeOutputAndNumber(words, output, number);
    if (!ActiveWadNumber(number))
        return;
    listing.lastDirFile = number;
    int row = number;
    WriteListing(output, Format("Listing directory of %s to %s", RowName(row), output.c_str()), [&](ListingOutput& out) {
        ListDirectory(out, row, pattern);
    });
}

void CommandDumpM(CommandWords& words) {
    std::string name, output;
    if (!GetNameArg(words, name, 8, "Object name"))
        return;
    words.Next(output);
    if (!HasEntry(0, name)) {
        PrintAt(1, 25, ClearLine::Yes, "Entry not in master directory");
        return;
    }
    WriteListing(output, Format("Dumping directory entry data to %s", output.c_str()), [&](ListingOutput& out) {
        DumpEntries(out, 0, name);
    });
}

void CommandDumpW(CommandWords& words) {
    std::string name, output;
    if (!GetNameArg(words, name, 8, "Object name"))
        return;
    int number = listing.lastDumpFile;
    TakeOutputAndNumber(words, output, number);
    if (!ActiveWadNumber(number))
        return;
    listing.lastDumpFile = number;
    int row = number;
    if (!HasEntry(row, name)) {
        PrintAt(1, 25, ClearLine::Yes, "Entry not in master directory");
        return;
    }
    WriteListing(output, Format("Dumping directory entry from %s to %s", RowName(row), output.c_str()), [&](ListingOutput& out) {
        DumpEntries(out, row, name);
    });
}
