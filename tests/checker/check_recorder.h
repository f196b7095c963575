// Dialogs for the checker's tests: every question and message is written
// down as one line, and the questions are answered as the test says.
#pragma once

#include <string>
#include <vector>

#include "level/level.h"
#include "checker/check_dialogs.h"

namespace checktest {

class Recorder : public CheckDialogs {
public:
    // Answers: Confirm gives confirmAnswer, WarnContinue warningAnswer; the
    // verification dialogs are cancelled with cancelVerify, else continued.
    bool confirmAnswer = false, warningAnswer = true, cancelVerify = false;
    // Esc once progress reaches stopAt (-1: never).
    long stopAt = -1;

    // What was said, one line each:
    //   "Fault LineDef 3: first | second" (Crash, Found likewise)
    //   "Del? title | line", "Y? title | line", "Tell: title | line",
    //   "Status: text", "Warn: line | line ...", "Ask: ...", "Result Title: ...".
    std::vector<std::string> said;
    std::vector<std::string> titles;   // of the progress boxes
    long lastDone = -1, lastTotal = -1;
    bool progressWentBack = false;

    void Title(const std::string& text) override { titles.push_back(text), lastDone = -1; }
    void Progress(long done, long total) override {
        progressWentBack = progressWentBack || (done < lastDone && total == lastTotal);
        lastDone = done, lastTotal = total;
    }
    bool StopAsked() override { return stopAt >= 0 && lastDone >= stopAt; }
    void Note(const std::string&, const std::string&) override {}
    bool Verify(const std::string& first, const std::string& second, int kind, int n,
                Severity severity) override {
        const char* grade = severity == Severity::Fault ? "Fault" : severity == Severity::Crash ? "Crash" : "Found";
        said.push_back(std::string(grade) + " " + ObjectTypeName(kind) + " " + std::to_string(n) + ": " + first +
                       (second.empty() ? "" : " | " + second));
        return !cancelVerify;
    }
    bool Confirm(Question question, const std::string& title, const std::string& line) override {
        said.push_back(std::string(question == Question::Delete ? "Del? " : "Y? ") + title + " | " + line);
        return confirmAnswer;
    }
    void Tell(const std::string& title, const std::string& line) override { said.push_back("Tell: " + title + " | " + line); }
    void Status(const std::string& text) override { said.push_back("Status: " + text); }
    void Warn(const std::string&, const std::vector<std::string>& lines) override { said.push_back("Warn: " + Joined(lines)); }
    bool WarnContinue(const std::string&, const std::vector<std::string>& lines) override {
        said.push_back("Ask: " + Joined(lines));
        return warningAnswer;
    }
    void Result(const std::string& title, const std::vector<std::string>& lines) override {
        said.push_back("Result " + title + ": " + Joined(lines));
    }

private:
    static std::string Joined(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += (text.empty() ? "" : " | ") + line;
        return text;
    }
};

}  // namespace checktest
