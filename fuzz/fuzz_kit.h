// What every fuzz target shares: the input split into parts, a scratch
// working directory, and one input's run from a fresh program state to a
// clean end.
//
// A run ends normally, or with the program's own end (FatalError and the
// other ProgramExit throws): both are fine. What is a fault is left to the
// sanitizers and libFuzzer (a crash, a report, a hang, a leak), plus what the
// run checks itself: a file descriptor or a scratch file that the input left
// behind aborts with a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/flavour.h"
#include "support/testkit.h"

namespace fuzzkit {

using testkit::Bytes;

// Between the parts of an input that holds several files (an IWAD and a
// PWAD, a help file and a script).
extern const char kPartSeparator[];

// The input cut at each separator into at most count parts; missing parts
// are empty, and the last part keeps any further separators.
std::vector<std::string> SplitInput(const uint8_t* data, size_t size, size_t count);
Bytes AsBytes(const std::string& text);
std::string AsText(const uint8_t* data, size_t size);

// The working directory of every run in this process (ending in "/").
const std::string& ScratchPath();
std::string ScratchFile(const std::string& name);
void WriteFile(const std::string& path, const std::string& bytes);

// One input: puts the program state back as a fresh start of the flavour
// (testkit::ResetProgramState, with the flavour's configuration defaults
// looked up once: no files open, no level, headless screen and script) with
// the console reading consoleInput, and runs body. A ProgramExit that body
// throws ends it normally. Afterwards the state is reset once more and the
// scratch directory emptied; a file descriptor still open then, or a
// temporary file of the program left there, aborts the run. With
// ZARN_FUZZ_SHOW set in the environment, the console's output and the
// program's end are written to the standard error (to see what an input
// does).
void RunInput(Flavour flavour, const std::string& consoleInput, const std::function<void()>& body);

// A small IWAD of everything the editor needs besides a level: PLAYPAL,
// TEXTURE1 and PNAMES with one wall patch, a sprite, and a flat between
// F1_START and F1_END; with the level marker given, an empty level of that
// name. Written into the scratch directory as name and opened as the master
// directory.
void OpenSmallIwad(const std::string& name, const std::string& levelMarker);
Bytes SmallIwad(const std::string& levelMarker);

// Aborts with the message: a property the target checks did not hold.
[[noreturn]] void Fail(const std::string& message);

}  // namespace fuzzkit
