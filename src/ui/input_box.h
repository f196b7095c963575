// Typing a line of text: names, paths and search texts. Everything typed
// arrives in upper case, except in paths: a new file gets its name in the
// case the user typed it.
#pragma once

constexpr int kMaxInputField = 70;   // longest field shown

// Edits text (a buffer of at least maxLen + 1 bytes) in a window at (x, y)
// (negative: centred) with the buttons "_Ok" and "C_ancel"; a text longer
// than the field scrolls with the cursor. 1 when a
// non-empty text was accepted (stored in text), 0 otherwise (text unchanged).
int InputBox(int x, int y, const char* prompt, int maxLen, char* text);

// InputBox until the text is a valid path or the user cancels (0).
int PathEntry(int x, int y, const char* prompt, int maxLen, char* text);
// A valid path has no blanks or control characters and fits maxLen; when a
// full path is expected (maxLen > 12) it completes as a WAD name with a file
// part; and it does not name the main WAD file.
bool ValidPath(const char* text, int maxLen);
