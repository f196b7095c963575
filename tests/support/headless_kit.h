// Running the graphics screen headless inside a test: the environment that
// selects the headless backend, a fresh program state, a scratch working
// directory and a captured console.
#pragma once

#include <string>

#include "support/testkit.h"

namespace testkit {

// 14 PLAYPAL palettes in which colour i is (i, i, i).
Bytes GreyPlaypal();

class HeadlessSession {
public:
    // Selects the headless backend and resets the program state (Heretic
    // flavour) with the scratch directory as the working directory; puts it
    // back again at the end. The console reads consoleInput.
    explicit HeadlessSession(const std::string& consoleInput = "");
    ~HeadlessSession();
    // Replaces the events to come; fails the test on a bad script. Some
    // "wait 0" events follow, so that a test may poll a while after the last
    // event of interest without ending the run.
    void Script(const std::string& text);
    // The same without the padding: the run ends as soon as the program asks
    // for more than the text holds.
    void ExactScript(const std::string& text);
    // Opens an IWAD as the master directory whose PLAYPAL palettes are grey
    // ramps (colour i is i, i, i), for graphics with the game palette.
    void OpenPaletteIwad();
    std::string Console() { return console_.output(); }
    const ScratchDir& Dir() const { return dir_; }

private:
    ScratchDir dir_;
    ConsoleCapture console_;
};

}  // namespace testkit
