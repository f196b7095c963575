// Everything loading and saving ask of the user, in one small interface. The editor's dialog toolkit supplies the
// real implementation (SetLevelDialogs) when it starts; until then, and in the
// text shell, a console implementation answers; tests plug in scripted
// answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/console.h"

struct NumberField {
    const char* label;
    int min;
    int max;
    int value;
};

class LevelDialogs {
public:
    virtual ~LevelDialogs() = default;

    // A box without buttons, left on the screen (the caller goes on at once).
    virtual void ShowBox(const std::string& title, const std::vector<std::string>& lines) = 0;
    // A box with an OK button; returns when the user closes it.
    virtual void MessageBox(const std::string& title, const std::vector<std::string>& lines) = 0;
    // Yes/no question; 1 for yes.
    virtual int ConfirmYes(const std::string& title, const std::string& line) = 0;
    // A message that waits for any key.
    virtual void PressAnyKey(const std::string& title, const std::string& line) = 0;
    // Lets the user edit a file name of at most maxLength characters in text
    // (a field of at least maxLength + 1 bytes). Returns 1 with a valid name,
    // 0 when cancelled (text unchanged).
    virtual int PathEntry(const std::string& prompt, int maxLength, char* text) = 0;
    // A form of number fields; each field's value is updated as soon as it is
    // left with a valid entry. Enter accepts it from any field (Tab goes to
    // the next). Returns 1 when the form was accepted.
    virtual int NumberForm(const std::string& title, std::vector<NumberField>& fields) = 0;
    // The progress window of a long operation: opened with its title and the
    // estimated total, told the bytes done, closed at the end.
    virtual void ProgressStart(const std::string& title, int32_t total) = 0;
    virtual void ProgressUpdate(int32_t done) = 0;
    virtual void ProgressEnd() = 0;
};

// The implementation in force; the console one when none was set.
LevelDialogs& Dialogs();
// Puts dialogs in force (nullptr: the console implementation). The object
// stays owned by the caller.
void SetLevelDialogs(LevelDialogs* dialogs);

// Questions and messages on the text console: boxes become lines, questions
// read one key, names and numbers read one line (empty keeps the value);
// progress is the title with a percentage, paced as the console paces it.
class ConsoleLevelDialogs : public LevelDialogs {
public:
    void ShowBox(const std::string& title, const std::vector<std::string>& lines) override;
    void MessageBox(const std::string& title, const std::vector<std::string>& lines) override;
    int ConfirmYes(const std::string& title, const std::string& line) override;
    void PressAnyKey(const std::string& title, const std::string& line) override;
    int PathEntry(const std::string& prompt, int maxLength, char* text) override;
    int NumberForm(const std::string& title, std::vector<NumberField>& fields) override;
    void ProgressStart(const std::string& title, int32_t total) override;
    void ProgressUpdate(int32_t done) override;
    void ProgressEnd() override;

private:
    std::string progressTitle_;
    int32_t progressTotal_ = 0;
    int progressPercent_ = -1;
    ConsoleProgress progress_{0};
};
