#include "level/level_dialogs.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/console.h"
#include "base/fatal.h"

namespace {

ConsoleLevelDialogs consoleDialogs;
LevelDialogs* activeDialogs = nullptr;

void ShowLines(const std::string& title, const std::vector<std::string>& lines) {
    if (!title.empty())
        PrintAt(1, 25, ClearLine::Yes, "%s", title.c_str());
    for (const std::string& line : lines)
        PrintAt(1, 25, ClearLine::Yes, "%s", line.c_str());
}

// Reads one line of input; false at end of input.
bool ReadAnswer(std::string& line) {
    ConsoleFlush();
    return ConsoleReadLine(line);
}

}  // namespace

LevelDialogs& Dialogs() { return activeDialogs ? *activeDialogs : consoleDialogs; }

void SetLevelDialogs(LevelDialogs* dialogs) { activeDialogs = dialogs; }

void ConsoleLevelDialogs::ShowBox(const std::string& title, const std::vector<std::string>& lines) {
    ShowLines(title, lines);
}

void ConsoleLevelDialogs::MessageBox(const std::string& title,
                                     const std::vector<std::string>& lines) {
    ShowLines(title, lines);
    PrintAt(1, 25, ClearLine::Yes, "Press any Key");
    WaitConsoleKey();
}

int ConsoleLevelDialogs::ConfirmYes(const std::string& title, const std::string& line) {
    ShowLines(title, {line, "Press Y to confirm"});
    int key = ConsoleReadKey();
    return key == 'Y' || key == 'y';
}

void ConsoleLevelDialogs::PressAnyKey(const std::string& title, const std::string& line) {
    ShowLines(title, {line, "Press any Key"});
    WaitConsoleKey();
}

int ConsoleLevelDialogs::PathEntry(const std::string& prompt, int maxLength, char* text) {
    PrintAt(1, 25, ClearLine::Yes, "%s [%s]: ", prompt.c_str(), text);
    std::string line;
    if (!ReadAnswer(line))
        return 0;
    if (line.empty())
        return text[0] != 0;
    bool valid = static_cast<int>(line.size()) <= maxLength;
    for (char c : line)
        valid = valid && !std::isspace(static_cast<unsigned char>(c)) && !std::iscntrl(static_cast<unsigned char>(c));
    if (!valid) {
        PrintAt(1, 25, ClearLine::Yes, "Path/Name is not Valid");
        return 0;
    }
    // A new file gets its name in the case it was typed in.
    std::memcpy(text, line.c_str(), line.size() + 1);
    return 1;
}

int ConsoleLevelDialogs::NumberForm(const std::string& title, std::vector<NumberField>& fields) {
    PrintAt(1, 25, ClearLine::Yes, "%s", title.c_str());
    for (NumberField& field : fields) {
        PrintAt(1, 25, ClearLine::Yes, "%s (%d..%d) [%d]: ", field.label, field.min, field.max, field.value);
        std::string line;
        if (!ReadAnswer(line))
            return 0;
        if (line.empty())
            continue;
        char* end = nullptr;
        long value = std::strtol(line.c_str(), &end, 10);
        if (*end != 0 || value < field.min || value > field.max)
            return 0;
        field.value = static_cast<int>(value);
    }
    return 1;
}

void ConsoleLevelDialogs::ProgressStart(const std::string& title, int32_t total) {
    PrintAt(1, 25, ClearLine::Yes, "%s", title.c_str());
    progressTitle_ = title;
    progressTotal_ = total;
    progressPercent_ = -1;
    progress_ = ConsoleProgress(total);
}

void ConsoleLevelDialogs::ProgressUpdate(int32_t done) {
    int percent = progressTotal_ > 0
                      ? static_cast<int>(std::clamp<int64_t>(int64_t{done} * 100 / progressTotal_, 0, 100))
                      : 100;
    if (percent == progressPercent_ || !progress_.Due(done))
        return;
    progressPercent_ = percent;
    PrintAt(1, 25, ClearLine::Yes, "%s %3d%%", progressTitle_.c_str(), percent);
}

void ConsoleLevelDialogs::ProgressEnd() {}
