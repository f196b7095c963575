// The command line: one table of options from which the parser, the usage
// text (--help) and the manual page are all made, so that they never differ.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wad/master.h"

extern const char* const kProgramVersion;

// What the command line asks for besides the options that set up a run.
enum class CommandLineRequest { Run, Usage, Version, ManualPage };

// A level named on the command line: numbers as the shell's E command takes
// them, and the naming style when it was given as a name (E1M3, MAP07).
struct LevelArgument {
    std::string text;                  // as typed, for messages
    std::vector<int16_t> numbers;      // empty: the last level edited
    std::optional<GameStyle> style;    // none for plain numbers
};

// The options as given; nothing is applied until start-up has read the
// configuration, which the options override.
struct CommandLine {
    CommandLineRequest request = CommandLineRequest::Run;
    bool noLoad = false;               // -noload; +noload or none leave it unset
    bool iwadGiven = false;
    std::string iwad;
    bool videoGiven = false;
    int16_t videoMode = 0;
    bool filesGiven = false;
    std::vector<std::string> files;
    bool editGiven = false;
    LevelArgument level;
    bool desktop = false;              // -desktop: started from the desktop's menu
};

// Reads the options after the program name. A bad command line ends the
// program through FatalError with a message that says how to get the usage.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// The lower-case name the program is started by ("zarn", "brel").
std::string ProgramName();

// The texts a request prints: the usage of every option, the program and its
// version, and the manual page (troff, section 6).
std::string UsageText();
std::string VersionText();
std::string ManualPageText();

// Episode and map of the level for the current naming style, starting from
// the last level edited, as the shell's E command reads its numbers. False
// when the level was named in the other style; why is then in `fault`.
bool ResolveLevelArgument(const LevelArgument& level, GameStyle style, int16_t& episode,
                          int16_t& map, std::string& fault);
