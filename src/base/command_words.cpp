#include "base/command_words.h"

#include <cctype>

#include "base/fatal.h"

bool SameWordIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool CommandWords::Next(std::string& word) {
    while (pos_ < line_.size() && line_[pos_] == ' ')
        ++pos_;
    size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ')
        ++pos_;
    word = line_.substr(start, pos_ - start);
    return !word.empty();
}

std::string CommandWords::Peek() const {
    CommandWords copy = *this;
    std::string word;
    copy.Next(word);
    return word;
}

int GetNameArg(CommandWords& words, std::string& out, int maxLength, const char* label) {
    if (!words.Next(out)) {
        PrintAt(1, 25, ClearLine::Yes, "%s name missing", label);
        return 0;
    }
    if (maxLength <= 8) {
        if (out.size() > 8) {
            PrintAt(1, 25, ClearLine::Yes, "maxname length is 8");
            return 0;
        }
        if (out.find('.') != std::string::npos) {
            PrintAt(1, 25, ClearLine::Yes, "name cannot have a .");
            return 0;
        }
    } else if (out.size() > static_cast<size_t>(maxLength)) {
        PrintAt(1, 25, ClearLine::Yes, "%s name is longer than %d characters", label, maxLength);
        return 0;
    }
    return 1;
}
