// The words of a shell command line, taken one at a time, and the checked
// name argument the file commands share.
#pragma once

#include <cstddef>
#include <string>

#include "base/config.h"

class CommandWords {
public:
    explicit CommandWords(const std::string& line) : line_(line) {}
    // The next word (split at spaces); false when there is none.
    bool Next(std::string& word);
    // The next word without taking it ("" when none).
    std::string Peek() const;

private:
    std::string line_;
    size_t pos_ = 0;
};

// Command words, options, entry and level names are compared ignoring case.
bool SameWordIgnoringCase(const std::string& a, const std::string& b);

// Takes the next word as a name of at most maxLength characters. Names of 8 or
// fewer characters are WAD entry names and may hold no ".". Shows the shell's
// message and returns 0 when the word is missing or unfit.
int GetNameArg(CommandWords& words, std::string& out, int maxLength, const char* label);

// Longest file name a command takes: any path Linux allows.
constexpr int kMaxFileNameArg = kFileNameField - 1;
