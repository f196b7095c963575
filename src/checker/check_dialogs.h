// What the consistency checker, find and replace ask and tell the user, in
// one interface: on the graphics screen the boxes and dialogs of the
// toolkit; in a run without a screen (tests, benchmarks) whatever answers
// for the user.
#pragma once

#include <string>
#include <vector>

// How grave a finding is, which decides the heading of its dialog.
enum class Severity {
    Fault,   // "Verification failed:"
    Crash,   // the same, and that the game will crash
    Found,   // a find: no heading
};

enum class Question {
    Yes,      // "Press Y to confirm"
    Delete,   // "Press Y or Del to confirm"
};

class CheckDialogs {
public:
    virtual ~CheckDialogs() = default;

    // The title box of a check with an empty progress bar; Progress fills
    // the bar to done out of total (nothing when total is 0).
    virtual void Title(const std::string& text) = 0;
    virtual void Progress(long done, long total) = 0;
    // Whether the user asked to stop a long check (Esc); never without a
    // screen.
    virtual bool StopAsked() { return false; }
    // A box that says what the check about to run looks for.
    virtual void Note(const std::string& line1, const std::string& line2) = 0;
    // The verification dialog on object n of the kind (an ObjectType code):
    // true to go on; false when the user cancelled, having been taken to the
    // object. second may be empty.
    virtual bool Verify(const std::string& first, const std::string& second, int kind, int n,
                        Severity severity) = 0;
    // A question with one button (and "No"): true on yes.
    virtual bool Confirm(Question question, const std::string& title, const std::string& line) = 0;
    // A message the user closes with any key.
    virtual void Tell(const std::string& title, const std::string& line) = 0;
    // A transient message: what was just changed.
    virtual void Status(const std::string& text) = 0;
    // A box titled title with the lines and the button "OK".
    virtual void Warn(const std::string& title, const std::vector<std::string>& lines) = 0;
    // The same with "_Continue" and "C_ancel": true on continue.
    virtual bool WarnContinue(const std::string& title, const std::vector<std::string>& lines) = 0;
    // A box titled title with the lines and the button "Ok!".
    virtual void Result(const std::string& title, const std::vector<std::string>& lines) = 0;
    // A box of findings titled title, with "Press Cancel to see the Object",
    // "_Continue" and "C_ancel": true on continue; on cancel the editor is
    // taken to object n of the kind, as by Verify. Without a screen: as
    // WarnContinue.
    virtual bool VerifyList(const std::string& title, std::vector<std::string> lines, int kind, int n);
};

// The dialogs on the graphics screen. Cancelling a verification dialog
// centres the map on the object, makes its kind the EditMode and highlights
// it (a SideDef: the LineDef at the pointer after centring, in LineDefs mode).
CheckDialogs& ScreenDialogs();
