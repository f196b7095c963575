#include "shell/command_line.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/config.h"
#include "base/fatal.h"
#include "base/flavour.h"

const char* const kProgramVersion = ZARN_VERSION;

namespace {

enum class OptionKind { Flag, Integer, String, List, Level, Request };
enum class OptionId { NoLoad, Main, File, Video, Edit, Desktop, Help, Version, ManualPage };

struct OptionRow {
    const char* shortName;   // "" when the option has only its long name
    const char* longName;
    OptionKind kind;
    OptionId id;
    const char* argument;    // the argument as the usage names it
    const char* help;        // null: not listed (the manual page is made at build time)
};

const OptionRow kOptions[] = {
    {"n", "noload", OptionKind::Flag, OptionId::NoLoad, "",
     "read none of the remembered PWADs and do not start the editor at once; "
     "+n switches this off again"},
    {"m", "main", OptionKind::String, OptionId::Main, "FILE",
     "the IWAD (the game's main WAD file) to use from now on"},
    {"f", "file", OptionKind::List, OptionId::File, "FILE...",
     "read these PWADs at start (at most 42) in place of the ones remembered from the last run"},
    {"v", "video", OptionKind::Integer, OptionId::Video, "N",
     "screen size of the editor: 1 640x480, 2 800x600, 3 1024x768, 4 1280x1024, "
     "5 the window's own size (following its changes)"},
    {"e", "edit", OptionKind::Level, OptionId::Edit, "[LEVEL]",
     "start the editor at once on LEVEL: a name such as E1M3 or MAP07, or the numbers that "
     "the shell's E command takes (1 3, or 7); without LEVEL the level whose unsaved changes "
     "a run that died left, else the level edited last"},
    {"", "desktop", OptionKind::Flag, OptionId::Desktop, "",
     "the start from the desktop's menu: work in the program's folder of the user's data "
     "directory ($XDG_DATA_HOME, by default ~/.local/share), made at the first start, and start "
     "the editor at once on the level that -edit alone takes; with no terminal, an error "
     "that ends the program is also shown in a window, and the program ends with the editor"},
    {"h", "help", OptionKind::Request, OptionId::Help, "", "print this list of options and end"},
    {"", "version", OptionKind::Request, OptionId::Version, "",
     "print the program's name and version and end"},
    {"", "manual-page", OptionKind::Request, OptionId::ManualPage, "", nullptr},
};

constexpr const char* kOptionRules =
    "Options begin with '-' or '+' (long names also with \"--\"), in upper or lower case; "
    "'+' means the same as '-' except for -noload. Options override the configuration.";

constexpr int kUsageWidth = 79;
constexpr int kUsageHelpColumn = 24;
constexpr int16_t kMaxLevelNumber = 99;

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

bool IsOptionWord(const char* arg) { return arg[0] == '-' || arg[0] == '+'; }

const OptionRow* FindOption(const char* name) {
    for (const OptionRow& o : kOptions)
        if ((o.shortName[0] && SameIgnoringCase(name, o.shortName)) || SameIgnoringCase(name, o.longName))
            return &o;
    return nullptr;
}

// Ends the program on a mistake in the command line, saying how to see the
// options.
[[noreturn]] void BadCommandLine(const std::string& message) {
    FatalError("%s\nType \"%s --help\" for the options.", message.c_str(), ProgramName().c_str());
}

std::string Quoted(const char* format, const char* text) {
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, format, text);
    return buffer;
}

// A number of one or two digits from 1 to kMaxLevelNumber; -1 otherwise.
int16_t LevelNumber(const std::string& text) {
    if (text.empty() || text.size() > 2)
        return -1;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
    int value = std::atoi(text.c_str());
    return value >= 1 && value <= kMaxLevelNumber ? static_cast<int16_t>(value) : -1;
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// E1M3, MAP07, "1 3" or "7"; false for anything else.
bool ReadLevelWords(const std::vector<std::string>& words, LevelArgument& level) {
    level = LevelArgument{};
    if (words.size() == 1) {
        std::string name = UpperCase(words[0]);
        size_t m = name.find('M', 1);
        if (name.size() > 1 && name[0] == 'E' && m != std::string::npos && name.compare(0, 3, "MAP") != 0) {
            int16_t episode = LevelNumber(name.substr(1, m - 1));
            int16_t map = LevelNumber(name.substr(m + 1));
            level.numbers = {episode, map};
            level.style = kStyleEpisodes;
            return episode > 0 && map > 0;
        }
        if (name.compare(0, 3, "MAP") == 0) {
            level.numbers = {LevelNumber(name.substr(3))};
            level.style = kStyleMaps;
            return level.numbers[0] > 0;
        }
    }
    if (words.size() > 2)
        return false;
    for (const std::string& word : words) {
        level.numbers.push_back(LevelNumber(word));
        if (level.numbers.back() < 1)
            return false;
    }
    return true;
}

std::vector<std::string> TakeWords(int argc, const char* const* argv, int& i) {
    std::vector<std::string> words;
    while (i + 1 < argc && !IsOptionWord(argv[i + 1]))
        words.push_back(argv[++i]);
    return words;
}

void TakeOption(const OptionRow& option, const char* typed, bool minus, int argc,
                const char* const* argv, int& i, CommandLine& line) {
    if (option.kind == OptionKind::Flag) {
        (option.id == OptionId::NoLoad ? line.noLoad : line.desktop) = minus;
        return;
    }
    if (option.kind == OptionKind::Request) {
        line.request = option.id == OptionId::Help      ? CommandLineRequest::Usage
                       : option.id == OptionId::Version ? CommandLineRequest::Version
                                                        : CommandLineRequest::ManualPage;
        return;
    }
    if (option.kind == OptionKind::Level) {
        std::vector<std::string> words = TakeWords(argc, argv, i);
        std::string given;
        for (const std::string& w : words)
            given += (given.empty() ? "" : " ") + w;
        if (!ReadLevelWords(words, line.level))
            BadCommandLine(Quoted("not a level: \"%s\" (a level is E1M3, MAP07, 1 3 or 7)", given.c_str()));
        line.level.text = given;
        line.editGiven = true;
        return;
    }
    if (i + 1 >= argc)
        BadCommandLine(Quoted("missing argument after %s", typed));
    if (option.kind == OptionKind::Integer) {
        line.videoGiven = true;
        line.videoMode = static_cast<int16_t>(std::atoi(argv[++i]));
    } else if (option.kind == OptionKind::String) {
        line.iwadGiven = true;
        line.iwad = argv[++i];
    } else {
        line.filesGiven = true;
        line.files = TakeWords(argc, argv, i);
    }
}

// Splits text into lines of at most width characters at blanks.
std::vector<std::string> Wrap(const std::string& text, size_t width) {
    std::vector<std::string> lines(1);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(start, end - start);
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width)
            lines.emplace_back();
        lines.back() += (lines.back().empty() ? "" : " ") + word;
        start = end + 1;
    }
    return lines;
}

std::string OptionNames(const OptionRow& o, const char* dash) {
    std::string names = o.shortName[0] ? std::string(dash) + o.shortName + ", " : "    ";
    names += std::string(dash) + o.longName;
    if (o.argument[0])
        names += std::string(" ") + o.argument;
    return names;
}

std::string Summary() {
    return std::string(Names().product) + " is a map editor for " + Names().game + " WAD files";
}

std::string Description() {
    return std::string("It opens the game's main WAD file (the IWAD) and any patch files (PWADs) "
                       "into one directory, and edits a level's Things, LineDefs, SideDefs, "
                       "Vertexes and Sectors in a window with the mouse and the keyboard. It "
                       "starts in a text-mode command shell: ? shows the help, E edits a level "
                       "and Q quits. When standard input is not a terminal the shell reads one "
                       "command per line, so that a script can drive it. The program keeps its "
                       "configuration (") +
           Names().configFile + ") and writes its files in the directory it is started from; "
           "started from the desktop's menu (-desktop), in its folder of the user's data directory.";
}

struct ExitStatus {
    int code;
    const char* meaning;
};

const ExitStatus kExitStatuses[] = {
    {0, "the program ended normally (Q)"},
    {5, "an error ended it; the message follows \"Error:\""},
    {100, "a level was handed to the node builder or the game: the launcher runs the hand-off "
          "script and starts the program again"},
    {2, "the headless input script could not be read"},
    {3, "the headless input script ended while the program waited for input"},
};

// Text for troff: backslashes and minus signs escaped, and a line that would
// begin with a control character protected.
std::string Troff(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

}  // namespace

std::string ProgramName() {
    std::string name = Names().product;
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!IsOptionWord(arg))
            BadCommandLine("options start with '-' or '+'");
        // "--name" is the long form people type from habit.
        const char* name = std::strncmp(arg, "--", 2) == 0 ? arg + 2 : arg + 1;
        const OptionRow* option = FindOption(name);
        if (!option)
            BadCommandLine(Quoted("invalid argument: \"%s\"", arg));
        TakeOption(*option, arg, arg[0] == '-', argc, argv, i, line);
    }
    return line;
}

bool ResolveLevelArgument(const LevelArgument& level, GameStyle style, int16_t& episode,
                          int16_t& map, std::string& fault) {
    if (level.style && *level.style != style) {
        fault = "no level " + level.text + ": the levels of this game are named " +
                (style == kStyleEpisodes ? "ExMy (E1M1, E1M2, ...)" : "MAPxx (MAP01, MAP02, ...)");
        return false;
    }
    if (level.numbers.empty())
        return true;
    if (style == kStyleMaps) {
        map = level.numbers[0];
        return true;
    }
    episode = level.numbers[0];
    if (level.numbers.size() > 1)
        map = level.numbers[1];
    return true;
}

std::string UsageText() {
    std::string text = "Usage: " + ProgramName() + " [OPTION]...\n" + Summary() + ", version " +
                       kProgramVersion + ".\n\n";
    for (const std::string& l : Wrap(kOptionRules, kUsageWidth))
        text += l + "\n";
    text += "\n";
    for (const OptionRow& o : kOptions) {
        if (!o.help)
            continue;
        std::string names = "  " + OptionNames(o, "-");
        std::vector<std::string> help = Wrap(o.help, kUsageWidth - kUsageHelpColumn);
        bool ownLine = names.size() + 1 > static_cast<size_t>(kUsageHelpColumn);
        if (ownLine)
            text += names + "\n";
        for (size_t i = 0; i < help.size(); ++i) {
            std::string lead = i == 0 && !ownLine ? names : "";
            text += lead + std::string(kUsageHelpColumn - lead.size(), ' ') + help[i] + "\n";
        }
    }
    text += "\nExit status:\n";
    for (const ExitStatus& s : kExitStatuses) {
        std::vector<std::string> meaning = Wrap(s.meaning, kUsageWidth - 8);
        for (size_t i = 0; i < meaning.size(); ++i)
            text += (i == 0 ? "  " + std::to_string(s.code) + std::string(6 - std::to_string(s.code).size(), ' ')
                            : std::string(8, ' ')) +
                    meaning[i] + "\n";
    }
    text += "\nStart it through " + ProgramName() + "-launcher to build nodes and test levels.\n";
    return text;
}

std::string VersionText() {
    return std::string(Names().product) + " " + kProgramVersion + " (" + ProgramName() + "), map editor for " +
           Names().game + " WAD files\n";
}

std::string ManualPageText() {
    std::string program = ProgramName();
    std::string launcher = program + "-launcher";
    std::string t;
    t += ".TH " + UpperCase(program) + " 6 \"\" \"" + Names().product + " " + kProgramVersion +
         "\" \"Games\"\n";
    t += ".SH NAME\n" + program + ", " + Troff(launcher) + " \\- map editor for " + Names().game +
         " WAD files\n";
    t += ".SH SYNOPSIS\n.B " + program + "\n.RI [ OPTION ]...\n.br\n.B " + Troff(launcher) +
         "\n.RI [ OPTION ]...\n";
    t += ".SH DESCRIPTION\n" + Troff(Summary() + ". " + Description()) + "\n";
    t += ".PP\n" +
         Troff("To build nodes and test levels, start it through " + launcher +
               ", which takes the same options. When the program ends with exit status 100 the "
               "launcher runs the hand-off script (" + Names().playBatch +
               ") and then starts the program again.") +
         "\n";
    t += ".SH OPTIONS\n" + Troff(kOptionRules) + "\n";
    for (const OptionRow& o : kOptions) {
        if (!o.help)
            continue;
        t += ".TP\n";
        if (o.shortName[0])
            t += "\\fB\\-" + Troff(o.shortName) + "\\fR, ";
        t += "\\fB\\-" + Troff(o.longName) + "\\fR";
        if (o.argument[0])
            t += " \\fI" + Troff(o.argument) + "\\fR";
        t += "\n" + Troff(o.help) + "\n";
    }
    t += ".SH ENVIRONMENT\n.TP\n.B ZARN_VIDEO\n" +
         Troff("headless: no window; the screen is kept in memory and the editor's input comes "
               "from the script that ZARN_SCRIPT names (the shell still reads standard input).") +
         "\n.TP\n.B ZARN_SCRIPT\n" +
         Troff("the input script of the headless screen: one event per line, such as key Enter, "
               "type MAP01, click left 100 80 or snapshot screen.png.") +
         "\n";
    t += ".SH FILES\n.TP\n.B " + std::string(Names().configFile) + "\n" +
         Troff("the configuration, in the directory the program is started from, or with -desktop "
               "in $XDG_DATA_HOME/" + ProgramName() + " (by default ~/.local/share/" + ProgramName() + ").") +
         "\n.TP\n.B " +
         Names().playBatch + "\n" + Troff("the hand-off script written for the launcher.") +
         "\n.TP\n.B Brel.HLP\n" +
         Troff("the help file, looked up in the working directory and then in share/zarn beside the "
               "program's own directory (/usr/share/zarn for /usr/games/" + ProgramName() + ").") +
         "\n";
    t += ".SH EXIT STATUS\n";
    for (const ExitStatus& s : kExitStatuses)
        t += ".TP\n.B " + std::to_string(s.code) + "\n" + Troff(s.meaning) + "\n";
    t += ".SH SEE ALSO\n.BR " + Troff(IsHeretic() ? "chocolate-heretic" : "chocolate-doom") +
         " (6),\n.BR zdbsp (6)\n";
    return t;
}
