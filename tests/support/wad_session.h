// A fresh program state for tests that open WAD files: the chosen flavour, a
// scratch working directory, the default configuration and an empty master
// directory, with the console captured (every key it asks for is Enter).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/fatal.h"
#include "base/flavour.h"
#include "support/testkit.h"

namespace testkit {

class WadSession : public ::testing::Test {
protected:
    explicit WadSession(Flavour flavour = Flavour::Heretic) : flavour_(flavour) {}
    void SetUp() override;
    void TearDown() override;

    void OpenIwadAt(const std::string& path);
    // Reads a PWAD as the shell's READ does; returns its row (-1 when it is
    // refused, and then it is not listed).
    int ReadPwad(const std::string& path);
    bool Exists(const std::string& file) const;

    ScratchDir dir;
    ConsoleCapture console{std::string(64, '\n')};

private:
    Flavour flavour_;
};

// Runs body and returns the message of the program end it comes to (""
// when it ends normally), expecting that exit code.
std::string ExitOf(const std::function<void()>& body, int code = kExitFatal);

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace testkit
