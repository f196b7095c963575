// The headless screen: the canvas without a window, a virtual clock, and input
// from a script of one event per line.
//
// The script stands for a user who acts only once the program has finished
// reacting to the previous event: the next event is handed out when the
// program waits for input, or when it has polled the mouse a few times in a
// row without the screen changing and without an unread key. So a key is
// handled with the pointer where the script put it, and a snapshot shows the
// screen after the program redrew it. A program that keeps polling without
// ever settling still receives the events after a long stall, so no run hangs.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/console.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/video_backend.h"

namespace {

ScriptEndHandler scriptEndHandler = nullptr;

enum class EventType { Key, Move, Down, Up, Click, Wheel, Shift, Resize, Wait, Snapshot };

struct ScriptEvent {
    EventType type = EventType::Key;
    int code = 0, shiftState = 0;    // Key; Shift: the shift-state bit of Shift or Ctrl
    char typed = 0;                  // Key typed as a character
    int button = 0;                  // Down, Up, Click
    int up = 0;                      // Wheel: 1 up, -1 down; Shift: 1 down, 0 up
    bool sideways = false;           // Wheel with Shift
    bool at = false;                 // Wheel with a position
    int x = 0, y = 0;                // the position, or Resize's width and height
    int ms = 0;                      // Wait
    std::string path;                // Snapshot
};

// Polls in a row with an unchanged screen after which the program counts as
// settled, and polls after which the next event is handed out regardless.
constexpr int kSettledPolls = 3;
constexpr long kStallPolls = 2000000;

struct HeadlessState {
    std::deque<ScriptEvent> events;
    bool loaded = false;             // a script was given (or ZARN_SCRIPT looked at)
    int64_t clock = 0;
    int held = 0;                    // shift-state bits of Shift and Ctrl pressed alone and not let go
    int settled = 0;                 // settling polls in a row with the same screen
    long polls = 0;                  // polls since the last event
    uint64_t screenHash = 0;
    VideoStartError failNextStart;
};

HeadlessState headless;

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

bool ParseNumber(const std::string& text, int& value) {
    char* end = nullptr;
    long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || n < -100000 || n > 100000000)
        return false;
    value = static_cast<int>(n);
    return true;
}

bool ParseButton(const std::string& word, int& button) {
    if (word == "left")
        button = kButtonLeft;
    else if (word == "right")
        button = kButtonRight;
    else if (word == "middle")
        button = kButtonMiddle;
    else
        return false;
    return true;
}

// One line: false with the reason in error.
bool ParseLine(const std::string& line, std::vector<ScriptEvent>& out, std::string& error) {
    std::string text = Trim(line);
    if (text.empty() || text[0] == '#')
        return true;
    size_t space = text.find_first_of(" \t");
    std::string word = text.substr(0, space);
    std::string rest = space == std::string::npos ? "" : text.substr(space + 1);
    std::vector<std::string> args = Words(rest);
    ScriptEvent e;
    if (word == "key") {
        if (!ParseKeySpec(Trim(rest), e.code, e.shiftState)) {
            error = "no key \"" + Trim(rest) + "\"";
            return false;
        }
    } else if (word == "type") {
        // The rest of the line as it stands, blanks included.
        size_t from = line.find("type") + 5;
        std::string chars = from < line.size() ? line.substr(from) : "";
        if (!chars.empty() && chars.back() == '\r')
            chars.pop_back();
        for (unsigned char c : chars) {
            e.code = CharacterCode(c);
            e.typed = static_cast<char>(c);
            if (e.code == 0) {
                error = "cannot type character " + std::to_string(c);
                return false;
            }
            out.push_back(e);
        }
        return true;
    } else if (word == "move") {
        e.type = EventType::Move;
        if (args.size() != 2 || !ParseNumber(args[0], e.x) || !ParseNumber(args[1], e.y)) {
            error = "move needs X Y";
            return false;
        }
    } else if (word == "down" || word == "up") {
        e.type = word == "down" ? EventType::Down : EventType::Up;
        if (args.size() != 1 || !ParseButton(args[0], e.button)) {
            error = word + " needs left, right or middle";
            return false;
        }
    } else if (word == "click") {
        // The pointer gets there first, as a move of its own; the press and
        // the release come together as the next event.
        bool at = args.size() == 3;
        if ((args.size() != 1 && !at) || !ParseButton(args[0], e.button) ||
            (at && (!ParseNumber(args[1], e.x) || !ParseNumber(args[2], e.y)))) {
            error = "click needs left, right or middle, and optionally X Y";
            return false;
        }
        if (at) {
            e.type = EventType::Move;
            out.push_back(e);
        }
        e.type = EventType::Click;
    } else if (word == "wheel") {
        e.type = EventType::Wheel;
        e.at = args.size() == 3;
        std::string turn = args.empty() ? "" : args[0];
        e.sideways = turn.rfind("Shift-", 0) == 0;
        if (e.sideways)
            turn = turn.substr(6);
        e.up = turn == "up" ? 1 : turn == "down" ? -1 : 0;
        if ((args.size() != 1 && !e.at) || e.up == 0 ||
            (e.at && (!ParseNumber(args[1], e.x) || !ParseNumber(args[2], e.y)))) {
            error = "wheel needs up or down (or Shift-up, Shift-down), and optionally X Y";
            return false;
        }
    } else if (word == "shift" || word == "ctrl") {
        e.type = EventType::Shift;
        e.code = word == "shift" ? kShiftLeft : kShiftCtrl;
        if (args.size() != 1 || (args[0] != "down" && args[0] != "up")) {
            error = word + " needs down or up";
            return false;
        }
        e.up = args[0] == "down";
    } else if (word == "resize") {
        e.type = EventType::Resize;
        if (args.size() != 2 || !ParseNumber(args[0], e.x) || !ParseNumber(args[1], e.y)) {
            error = "resize needs WIDTH HEIGHT";
            return false;
        }
    } else if (word == "wait") {
        e.type = EventType::Wait;
        if (args.size() != 1 || !ParseNumber(args[0], e.ms) || e.ms < 0) {
            error = "wait needs milliseconds";
            return false;
        }
    } else if (word == "snapshot") {
        e.type = EventType::Snapshot;
        e.path = Trim(rest);
        if (e.path.empty()) {
            error = "snapshot needs a file name";
            return false;
        }
    } else {
        error = "unknown event \"" + word + "\"";
        return false;
    }
    out.push_back(e);
    return true;
}

uint64_t ScreenHash() {
    const Canvas& screen = Screen();
    const uint8_t* p = screen.pixels();
    size_t n = size_t(screen.width()) * size_t(screen.height());
    uint64_t h = 0xcbf29ce484222325ull;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        h = (h ^ word) * 0x100000001b3ull;
        h ^= h >> 29;
    }
    for (; i < n; ++i)
        h = (h ^ p[i]) * 0x100000001b3ull;
    return h;
}

[[noreturn]] void EndOfScript() {
    ConsoleGotoXY(1, 25);
    ConsoleWrite("input script ended\n");
    ConsoleFlush();
    if (scriptEndHandler)
        scriptEndHandler();
    std::exit(kExitScriptEnded);
}

void TakeSnapshot(const std::string& path) {
    if (!VideoSnapshot(path)) {
        ConsoleGotoXY(1, 25);
        ConsolePrintf("input script: cannot write snapshot %s\n", path.c_str());
    }
}

// A key brings its own shift state, which lasts until the next event that is
// not a wait; Shift or Ctrl held alone lasts until it is let go.
void Apply(const ScriptEvent& e) {
    if (e.type == EventType::Shift)
        headless.held = e.up != 0 ? headless.held | e.code : headless.held & ~e.code;
    if (e.type != EventType::Key && e.type != EventType::Wait)
        video.shiftState = headless.held;
    switch (e.type) {
    case EventType::Key: QueueKey(e.code, e.shiftState, e.typed); break;
    case EventType::Move: MouseMovedTo(e.x, e.y); break;
    case EventType::Down: MouseButtonChanged(e.button, true); break;
    case EventType::Up: MouseButtonChanged(e.button, false); break;
    case EventType::Click:
        MouseButtonChanged(e.button, true);
        MouseButtonChanged(e.button, false);
        break;
    case EventType::Wheel:
        if (e.at)
            MouseMovedTo(e.x, e.y);
        MouseWheelTurned(e.up, e.sideways);
        break;
    case EventType::Shift: break;
    case EventType::Resize: WindowResized(e.x, e.y); break;
    case EventType::Wait: headless.clock += e.ms; break;
    case EventType::Snapshot: TakeSnapshot(e.path); break;
    }
}

// Takes the snapshots due now and hands out one event; ends the run when the
// script has none left.
void HandOutEvent() {
    while (!headless.events.empty() && headless.events.front().type == EventType::Snapshot) {
        Apply(headless.events.front());
        headless.events.pop_front();
    }
    if (headless.events.empty())
        EndOfScript();
    ScriptEvent e = headless.events.front();
    headless.events.pop_front();
    headless.settled = 0;
    headless.polls = 0;
    Apply(e);
}

void CountSettlingPoll() {
    if (!video.keys.empty())
        return;
    uint64_t hash = ScreenHash();
    headless.settled = hash == headless.screenHash ? headless.settled + 1 : 0;
    headless.screenHash = hash;
}

void Poll(PollKind kind) {
    if (kind == PollKind::Aside)
        return;
    ++headless.polls;
    if (kind == PollKind::Mouse)
        CountSettlingPoll();
    bool settled = video.keys.empty() && headless.settled >= kSettledPolls - 1;
    if (settled || headless.polls >= kStallPolls)
        HandOutEvent();
}

bool Start(int&, int&, VideoStartError& error) {
    if (headless.failNextStart.failure != VideoFailure::None) {
        error = headless.failNextStart;
        headless.failNextStart = {};
        return false;
    }
    if (!headless.loaded) {
        std::string path = EnvironmentValue("ZARN_SCRIPT");
        std::string message;
        if (!path.empty() && !HeadlessLoadScriptFile(path, message)) {
            error = {VideoFailure::InputScript, "input script " + path + ": " + message};
            return false;
        }
        headless.loaded = true;
    }
    headless.settled = 0;
    headless.polls = 0;
    return true;
}

void Stop() {}
void WaitForInput(int) { HandOutEvent(); }
void Warp(int, int) {}
void SpeedChanged() {}
int64_t Milliseconds() { return headless.clock; }

void Delay(int ms) { headless.clock += ms; }

void Tone(int, int) {}

}  // namespace

const VideoBackend& HeadlessVideoBackend() {
    static const VideoBackend backend = {false, Start, Stop, nullptr, Poll, WaitForInput,
                                         Warp, SpeedChanged, Milliseconds, Delay, Tone, nullptr};
    return backend;
}

bool HeadlessLoadScript(const std::string& text, std::string& error) {
    std::vector<ScriptEvent> events;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string reason;
        if (!ParseLine(line, events, reason)) {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    headless.events.assign(events.begin(), events.end());
    headless.loaded = true;
    headless.settled = 0;
    headless.polls = 0;
    return true;
}

bool HeadlessLoadScriptFile(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot be read";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return HeadlessLoadScript(text.str(), error);
}

int HeadlessEventsLeft() { return static_cast<int>(headless.events.size()); }

void HeadlessFailNextStart(const std::string& message, VideoFailure failure) {
    headless.failNextStart = {failure, message};
}

void HeadlessSetScriptEndHandler(ScriptEndHandler handler) { scriptEndHandler = handler; }

void HeadlessReset() {
    headless = HeadlessState{};
    video.keys.clear();
    video.shiftState = 0;
    video.buttons = 0;
    video.middle = false;
    video.wheelUp = video.wheelRight = 0;
    video.mouseX = video.mouseY = 0;
}
