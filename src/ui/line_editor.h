// The line editing that the input box and the number fields share: typed
// characters are inserted at the cursor up to a limit (upper case, or as
// typed for names of files), the
// first typed character replaces a proposed text, and Backspace, Del, Left,
// Right, Home and End edit and move as usual.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/keys.h"

struct LineEditor {
    std::string text;
    size_t cursor = 0;
    size_t limit = 0;
    bool proposal = true;   // the proposed text is replaced by the first typed character
    bool keepCase = false;  // letters go in as typed rather than in upper case

    // Applies an editing key; false for keys that are not editing keys.
    // character is the key's character as typed, when known.
    bool Apply(int key, char character = 0) {
        bool typed = key >= kKeySpace && key < 127;
        if (typed && key > kKeySpace && proposal) {
            text.clear();
            cursor = 0;
        }
        proposal = false;
        if (typed) {
            if (text.size() < limit) {
                bool asTyped = keepCase && std::toupper(static_cast<unsigned char>(character)) == key;
                text.insert(cursor, 1, asTyped ? character : static_cast<char>(std::toupper(key)));
                ++cursor;
            }
            return true;
        }
        switch (key) {
        case kKeyBackspace:
            if (cursor > 0)
                text.erase(--cursor, 1);
            return true;
        case kKeyDel:
            if (cursor < text.size())
                text.erase(cursor, 1);
            return true;
        case kKeyLeft: cursor = cursor > 0 ? cursor - 1 : 0; return true;
        case kKeyRight: cursor = std::min(cursor + 1, text.size()); return true;
        case kKeyHome: cursor = 0; return true;
        case kKeyEnd: cursor = text.size(); return true;
        default: return false;
        }
    }
};

