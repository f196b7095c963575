// A fresh program state for a test: the headless graphics backend, the
// chosen flavour, a scratch working directory, the default configuration
// and an empty master directory, with the console captured.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/fatal.h"
#include "base/flavour.h"
#include "support/testkit.h"

namespace testkit {

// 14 PLAYPAL palettes in which colour i is (i, i, i).
Bytes GreyPlaypal();

// Opens the IWAD at path as the master directory.
void OpenIwadAt(const std::string& path);

class Session {
public:
    // Resets the program state with the scratch directory as the working
    // directory; puts it back again at the end. The console reads consoleInput.
    explicit Session(const std::string& consoleInput = "", Flavour flavour = Flavour::Heretic);
    ~Session();
    // Resets the program state again, as a new Session would.
    void Reset();
    // Replaces the events to come; fails the test on a bad script. Some
    // "wait 0" events follow, so that a test may poll a while after the last
    // event of interest without ending the run.
    void Script(const std::string& text);
    // The same without the padding: the run ends as soon as the program asks
    // for more than the text holds.
    void ExactScript(const std::string& text);
    // Opens an IWAD as the master directory whose PLAYPAL palettes are grey
    // ramps, for graphics with the game palette.
    void OpenPaletteIwad();
    // Reads a PWAD as the shell's READ does; returns its row (-1 when it is
    // refused, and then it is not listed).
    int ReadPwad(const std::string& path);
    bool Exists(const std::string& file) const;
    std::string Console() { return console.output(); }
    const ScratchDir& Dir() const { return dir; }

    ScratchDir dir;
    ConsoleCapture console;

private:
    Flavour flavour_;
};

// The same as a test fixture, whose console answers every key with Enter.
// Each SetUp resets the program state.
class WadSession : public ::testing::Test, public Session {
protected:
    explicit WadSession(Flavour flavour = Flavour::Heretic) : Session(std::string(64, '\n'), flavour) {}
    void SetUp() override { Reset(); }
};

// Runs body and returns the message of the program end it comes to (""
// when it ends normally), expecting that exit code.
std::string ExitOf(const std::function<void()>& body, int code = kExitFatal);

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace testkit
