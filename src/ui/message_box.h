// Message boxes and the confirmations built on them.
#pragma once

#include <string>
#include <vector>

#include "ui/button_bar.h"

constexpr int kMaxMessageLines = 80;
// okKey of a box without buttons.
constexpr int kNoButtons = 0;

enum class LineAlign { Left, Centred };

// The answer Enter gives a question before the user moves the focus: No
// where yes would throw work away.
enum class DefaultAnswer { Yes, No };

// A box of lines under a title at (x, y) (kCentred: centred). okKey
// kNoButtons: the box is left on the screen, the pointer hidden, and 0
// returned at once. okKey kAnyKey: any key closes it. otherText null: one
// button. A null line ends the lines early. Returns the chosen button's key,
// or 27 for Esc or a right click.
//
// A question (two buttons, okKey above kAnyKey) asks yes (the first button)
// or no (the second): Y or the first button's underlined letter chooses the
// first, N or the second's letter the second, as their own keys do; the
// focus, which Enter takes, starts on the button of the default answer.
int MessageBox(int x, int y, LineAlign align, const char* okText, int okKey, const char* otherText,
               int otherKey, const char* title, const std::vector<const char*>& lines,
               DefaultAnswer answer = DefaultAnswer::Yes);

// Error tone, then a question box with the button buttonText (key) and, when
// key > 1, "No" (Esc). 1 when the answer was key.
int ConfirmBox(int x, int y, const char* title, const char* line, const char* prompt,
               const char* buttonText, int key, DefaultAnswer answer = DefaultAnswer::Yes);
// "Press Y to confirm" with the button "Yes".
int ConfirmYes(int x, int y, const char* title, const char* line,
               DefaultAnswer answer = DefaultAnswer::Yes);
// "Press Y or Del to confirm" with the button "Del"; No has the focus.
int ConfirmDel(int x, int y, const char* title, const char* line);
// "Press any Key" with the button "Ok!"; any key closes it. Returns 1.
int PressAnyKey(int x, int y, const char* title, const char* line);

// A message for a person who sees no console: a box with the lines of text
// (cut into lines that fit the screen) and the button "OK", on the graphics
// screen, which it opens first and closes again when it is not up.
void NoticeOnGraphicsScreen(const char* title, const std::string& text);
