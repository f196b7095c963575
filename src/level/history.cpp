#include "level/history.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <new>
#include <vector>

#include "level/level.h"

namespace {

constexpr int kArrays = 5;
constexpr int kThingsArray = 0;
// Records compared at once before looking at single ones.
constexpr int32_t kBlock = 64;
// Unchanged records between two changed ones that still join them into one
// run: a run costs more than a few records.
constexpr int32_t kJoinGap = 4;

// The level's records of one array as they stood at the last step.
struct ArrayCopy {
    std::vector<uint8_t> bytes;
    int32_t count = 0;
};

// A range of record numbers in which something changed, with the records of
// the state the level does not show, as far as that state's count reaches.
struct Run {
    int32_t first = 0;
    int32_t length = 0;
    std::vector<uint8_t> held;
};

struct ArrayChange {
    int array = 0;
    int32_t heldCount = 0;   // the record count of the state not shown
    std::vector<Run> runs;
};

struct Step {
    std::string label;
    std::vector<ArrayChange> changes;
    bool geometry = false;   // something but Things changed
    size_t bytes = 0;
};

struct HistoryState {
    std::array<ArrayCopy, kArrays> copy;
    std::deque<Step> done;       // oldest first
    std::vector<Step> undone;    // the next to redo last
    std::string pendingLabel;
    int64_t dropped = 0;         // steps dropped from the front of done
    int64_t savedAt = 0;         // position of the saved state; -1 when it is gone
    bool savedMapChanged = false;
    size_t bytes = 0;
};

HistoryState history;

// Calls action(array number, level array) for each of the five arrays.
template <typename Action>
void ForEachArray(Action action) {
    action(0, level.things);
    action(1, level.lineDefs);
    action(2, level.sideDefs);
    action(3, level.vertices);
    action(4, level.sectors);
}

template <typename T>
uint8_t* RecordBytes(ObjectArray<T>& array) {
    return reinterpret_cast<uint8_t*>(array.records.data());
}

template <typename T>
void TakeCopy(ObjectArray<T>& array, ArrayCopy& copy) {
    const uint8_t* bytes = RecordBytes(array);
    copy.bytes.assign(bytes, bytes + static_cast<size_t>(array.count) * sizeof(T));
    copy.count = array.count;
}

struct Span {
    int32_t first, end;
};

void AddChanged(std::vector<Span>& spans, int32_t first, int32_t end) {
    if (!spans.empty() && first - spans.back().end <= kJoinGap)
        spans.back().end = end;
    else
        spans.push_back({first, end});
}

// The record numbers where the level differs from the copy.
std::vector<Span> ChangedSpans(const uint8_t* now, int32_t nowCount, const ArrayCopy& copy,
                               size_t size) {
    std::vector<Span> spans;
    const uint8_t* was = copy.bytes.data();
    int32_t common = std::min(nowCount, copy.count);
    for (int32_t block = 0; block < common; block += kBlock) {
        int32_t end = std::min(block + kBlock, common);
        size_t offset = static_cast<size_t>(block) * size;
        if (std::memcmp(now + offset, was + offset, static_cast<size_t>(end - block) * size) == 0)
            continue;
        for (int32_t i = block; i < end; ++i) {
            size_t at = static_cast<size_t>(i) * size;
            if (std::memcmp(now + at, was + at, size) != 0)
                AddChanged(spans, i, i + 1);
        }
    }
    if (nowCount != copy.count)
        AddChanged(spans, common, std::max(nowCount, copy.count));
    return spans;
}

// The bytes of records [first, first + length) that exist among count records.
std::vector<uint8_t> HeldBytes(const uint8_t* records, int32_t count, int32_t first,
                               int32_t length, size_t size) {
    int32_t end = std::min(first + length, count);
    if (end <= first)
        return {};
    return std::vector<uint8_t>(records + static_cast<size_t>(first) * size,
                                records + static_cast<size_t>(end) * size);
}

// Brings the copy's runs up to the level's records.
void UpdateCopy(const uint8_t* now, int32_t nowCount, const std::vector<Run>& runs,
                ArrayCopy& copy, size_t size) {
    copy.bytes.resize(static_cast<size_t>(nowCount) * size);
    copy.count = nowCount;
    for (const Run& run : runs) {
        int32_t end = std::min(run.first + run.length, nowCount);
        if (end > run.first)
            std::memcpy(copy.bytes.data() + static_cast<size_t>(run.first) * size,
                        now + static_cast<size_t>(run.first) * size,
                        static_cast<size_t>(end - run.first) * size);
    }
}

template <typename T>
bool DiffArray(int number, ObjectArray<T>& array, ArrayChange& change) {
    ArrayCopy& copy = history.copy[static_cast<size_t>(number)];
    const uint8_t* now = RecordBytes(array);
    std::vector<Span> spans = ChangedSpans(now, array.count, copy, sizeof(T));
    if (spans.empty())
        return false;
    change.array = number;
    change.heldCount = copy.count;
    for (const Span& span : spans) {
        int32_t length = span.end - span.first;
        change.runs.push_back(
            {span.first, length, HeldBytes(copy.bytes.data(), copy.count, span.first, length, sizeof(T))});
    }
    UpdateCopy(now, array.count, change.runs, copy, sizeof(T));
    return true;
}

template <typename T>
void SetCount(ObjectArray<T>& array, int32_t count) {
    if (count > array.capacity()) {
        try {
            array.records.resize(static_cast<size_t>(count), T{});
        } catch (const std::bad_alloc&) {
            OutOfLevelMemory(static_cast<size_t>(count) * sizeof(T));
        }
    }
    array.count = count;
}

// Puts the held records into the level and keeps the level's instead.
template <typename T>
void SwapArray(ObjectArray<T>& array, ArrayChange& change) {
    const size_t size = sizeof(T);
    int32_t shown = array.count;
    std::vector<std::vector<uint8_t>> taken;
    for (const Run& run : change.runs)
        taken.push_back(HeldBytes(RecordBytes(array), shown, run.first, run.length, size));
    SetCount(array, change.heldCount);
    for (size_t i = 0; i < change.runs.size(); ++i) {
        Run& run = change.runs[i];
        if (!run.held.empty())
            std::memcpy(RecordBytes(array) + static_cast<size_t>(run.first) * size, run.held.data(),
                        run.held.size());
        run.held = std::move(taken[i]);
    }
    change.heldCount = shown;
    UpdateCopy(RecordBytes(array), array.count, change.runs,
               history.copy[static_cast<size_t>(change.array)], size);
}

size_t StepBytes(const Step& step) {
    size_t bytes = sizeof(Step) + step.label.size();
    for (const ArrayChange& change : step.changes) {
        bytes += sizeof(ArrayChange);
        for (const Run& run : change.runs)
            bytes += sizeof(Run) + run.held.size();
    }
    return bytes;
}

void Swap(Step& step) {
    // In the reverse of the order recorded, though the arrays are independent.
    for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change)
        ForEachArray([&](int number, auto& array) {
            if (number == change->array)
                SwapArray(array, *change);
        });
    history.bytes -= step.bytes;
    step.bytes = StepBytes(step);
    history.bytes += step.bytes;
}

int64_t Position() { return history.dropped + static_cast<int64_t>(history.done.size()); }

// Step number k (the first step is 1): done up to the position, undone after it.
const Step& StepNumbered(int64_t k) {
    int64_t at = Position();
    if (k <= at)
        return history.done[static_cast<size_t>(k - history.dropped - 1)];
    return history.undone[history.undone.size() - static_cast<size_t>(k - at)];
}

bool MapChangedSinceSave(int64_t at) {
    if (history.savedAt < history.dropped)
        return true;
    if (history.savedMapChanged)
        return true;
    for (int64_t k = std::min(at, history.savedAt) + 1; k <= std::max(at, history.savedAt); ++k)
        if (StepNumbered(k).geometry)
            return true;
    return false;
}

void SettleFlags() {
    int64_t at = Position();
    level.levelChanged = at != history.savedAt;
    level.mapChanged = MapChangedSinceSave(at);
}

void DropOldest() {
    if (!history.done.empty()) {
        history.bytes -= history.done.front().bytes;
        history.done.pop_front();
        ++history.dropped;
    } else {
        history.bytes -= history.undone.front().bytes;
        history.undone.erase(history.undone.begin());
    }
}

void KeepWithinLimits() {
    auto kept = [] { return history.done.size() + history.undone.size(); };
    while (kept() > static_cast<size_t>(kHistorySteps) ||
           (history.bytes > kHistoryBytes && kept() > 1))
        DropOldest();
}

void ForgetUndone() {
    for (const Step& step : history.undone)
        history.bytes -= step.bytes;
    history.undone.clear();
    if (history.savedAt > Position())
        history.savedAt = -1;
}

}  // namespace

void ResetHistory() {
    history = HistoryState{};
    history.savedMapChanged = level.mapChanged;
    ForEachArray([](int number, auto& array) { TakeCopy(array, history.copy[static_cast<size_t>(number)]); });
}

void NameStep(const std::string& label) { history.pendingLabel = label; }

bool RecordStep() {
    Step step;
    step.label = history.pendingLabel.empty() ? "change" : history.pendingLabel;
    history.pendingLabel.clear();
    ForEachArray([&](int number, auto& array) {
        ArrayChange change;
        if (!DiffArray(number, array, change))
            return;
        step.geometry = step.geometry || number != kThingsArray;
        step.changes.push_back(std::move(change));
    });
    if (step.changes.empty())
        return false;
    ForgetUndone();
    step.bytes = StepBytes(step);
    history.bytes += step.bytes;
    history.done.push_back(std::move(step));
    KeepWithinLimits();
    return true;
}

std::string UndoLabel() { return history.done.empty() ? "" : history.done.back().label; }

std::string RedoLabel() { return history.undone.empty() ? "" : history.undone.back().label; }

bool Undo() {
    RecordStep();
    if (history.done.empty())
        return false;
    Swap(history.done.back());
    history.undone.push_back(std::move(history.done.back()));
    history.done.pop_back();
    SettleFlags();
    return true;
}

bool Redo() {
    if (history.undone.empty())
        return false;
    Swap(history.undone.back());
    history.done.push_back(std::move(history.undone.back()));
    history.undone.pop_back();
    SettleFlags();
    return true;
}

void MarkSaved() {
    RecordStep();
    history.savedAt = Position();
    history.savedMapChanged = level.mapChanged;
}

int HistorySteps() { return static_cast<int>(history.done.size() + history.undone.size()); }

size_t HistoryBytes() { return history.bytes; }
