#include "level/history.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <new>
#include <utility>
#include <vector>

#include "level/level.h"
#include "level/level_dialogs.h"

namespace {

constexpr int kArrays = 5;   // Things, LineDefs, SideDefs, Vertexes, Sectors
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

// A fingerprint of an array: the sum of a hash of each record and its
// number, over the whole records and over the fields that the node builder's
// lumps depend on (the map's shape). A step changes it by what its runs
// change, so the level is compared with the saved state at the cost of the
// step, not of the level.
struct Print {
    uint64_t all = 0, shape = 0;
    Print& operator+=(const Print& o) {
        all += o.all;
        shape += o.shape;
        return *this;
    }
    Print& operator-=(const Print& o) {
        all -= o.all;
        shape -= o.shape;
        return *this;
    }
};

struct ArrayChange {
    int array = 0;
    int32_t heldCount = 0;   // the record count of the state not shown
    std::vector<Run> runs;
    // The fingerprint of the state shown minus that of the state held.
    Print shift;
};

// A change of the level's target: the target of the state not shown.
struct TargetChange {
    bool changed = false;
    MapTarget held = MapTarget::Original;
};

struct Step {
    std::string label;
    std::vector<ArrayChange> changes;
    TargetChange target;
    size_t bytes = 0;
};

using Fingerprints = std::array<Print, kArrays>;

struct HistoryState {
    std::array<ArrayCopy, kArrays> copy;
    std::deque<Step> done;       // oldest first
    std::vector<Step> undone;    // the next to redo last
    std::string pendingLabel;
    Fingerprints shown{};        // of the level as it stands at the last step
    Fingerprints saved{};        // of the state last saved
    bool savedMapChanged = false;
    MapTarget shownTarget = MapTarget::Original;   // the level's target at the last step
    MapTarget savedTarget = MapTarget::Original;
    size_t bytes = 0;
    bool refused = false;        // the edit in the making is to be dropped
};

HistoryState history;

// The bytes of each array's records that the map's shape is made of: a
// LineDef's Vertexes and SideDefs, a SideDef's Sector, a Vertex whole; of a
// Sector only that it is there. Things are no part of it.
struct ByteRange {
    size_t first, length;
};
const std::vector<ByteRange> kShapeBytes[kArrays] = {{}, {{0, 4}, {10, 4}}, {{28, 2}}, {{0, 4}}, {}};

uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdu;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53u;
    return h ^ (h >> 33);
}

uint64_t HashBytes(uint64_t h, const uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i)
        h = (h ^ bytes[i]) * 0x100000001b3u;
    return h;
}

Print RecordPrint(int array, int32_t number, const uint8_t* record, size_t size) {
    const uint64_t seed = 0xcbf29ce484222325u ^ static_cast<uint32_t>(number);
    Print print;
    print.all = Mix(HashBytes(seed, record, size));
    if (array == 0)
        return print;
    uint64_t shape = seed;
    for (const ByteRange& range : kShapeBytes[array])
        shape = HashBytes(shape, record + range.first, range.length);
    print.shape = Mix(shape);
    return print;
}

// The fingerprint share of records [first, end) given from record first on.
Print Share(int array, const uint8_t* records, int32_t first, int32_t end, size_t size) {
    Print sum;
    for (int32_t i = first; i < end; ++i)
        sum += RecordPrint(array, i, records + static_cast<size_t>(i - first) * size, size);
    return sum;
}

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
void TakeCopy(int number, ObjectArray<T>& array) {
    ArrayCopy& copy = history.copy[static_cast<size_t>(number)];
    const uint8_t* bytes = RecordBytes(array);
    copy.bytes.assign(bytes, bytes + static_cast<size_t>(array.count) * sizeof(T));
    copy.count = array.count;
    history.shown[static_cast<size_t>(number)] = Share(number, bytes, 0, array.count, sizeof(T));
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

// What the runs add to the fingerprint: the level's records in place of the
// copy's.
Print Shift(int array, const uint8_t* now, int32_t nowCount, const std::vector<Run>& runs,
            int32_t heldCount, size_t size) {
    Print shift;
    for (const Run& run : runs) {
        int32_t end = run.first + run.length;
        int32_t nowEnd = std::min(end, nowCount);
        if (nowEnd > run.first)
            shift += Share(array, now + static_cast<size_t>(run.first) * size, run.first, nowEnd, size);
        shift -= Share(array, run.held.data(), run.first, std::min(end, heldCount), size);
    }
    return shift;
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
    change.shift = Shift(number, now, array.count, change.runs, copy.count, sizeof(T));
    history.shown[static_cast<size_t>(number)] += change.shift;
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
    history.shown[static_cast<size_t>(change.array)] -= change.shift;
    change.shift = Print{0 - change.shift.all, 0 - change.shift.shape};
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
    if (step.target.changed) {
        std::swap(level.target, step.target.held);
        history.shownTarget = level.target;
    }
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

// The level is changed when it differs from the state last saved, and the
// map when its shape does or the saved state's nodes did not fit already.
void SettleFlags() {
    bool records = false, shape = false;
    for (size_t i = 0; i < history.shown.size(); ++i) {
        records = records || history.shown[i].all != history.saved[i].all;
        shape = shape || history.shown[i].shape != history.saved[i].shape;
    }
    level.levelChanged = records || level.target != history.savedTarget;
    level.mapChanged = history.savedMapChanged || shape;
}

void DropOldest() {
    if (!history.done.empty()) {
        history.bytes -= history.done.front().bytes;
        history.done.pop_front();
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
}

// Puts each array back as it stood at the last step.
template <typename T>
void PutBack(int number, ObjectArray<T>& array) {
    const ArrayCopy& copy = history.copy[static_cast<size_t>(number)];
    SetCount(array, copy.count);
    if (!copy.bytes.empty())
        std::memcpy(RecordBytes(array), copy.bytes.data(), copy.bytes.size());
}

// Records the changes since the last step as one; false when there are none
// or the edit was refused (its changes are dropped).
bool RecordChanges() {
    if (history.refused) {
        history.refused = false;
        history.pendingLabel.clear();
        ForEachArray([](int number, auto& array) { PutBack(number, array); });
        level.target = history.shownTarget;
        return false;
    }
    Step step;
    step.label = history.pendingLabel.empty() ? "change" : history.pendingLabel;
    history.pendingLabel.clear();
    ForEachArray([&](int number, auto& array) {
        ArrayChange change;
        if (DiffArray(number, array, change))
            step.changes.push_back(std::move(change));
    });
    if (level.target != history.shownTarget) {
        step.target = {true, history.shownTarget};
        history.shownTarget = level.target;
    }
    if (step.changes.empty() && !step.target.changed)
        return false;
    ForgetUndone();
    step.bytes = StepBytes(step);
    history.bytes += step.bytes;
    history.done.push_back(std::move(step));
    KeepWithinLimits();
    return true;
}

}  // namespace

void ResetHistory() {
    history = HistoryState{};
    history.savedMapChanged = level.mapChanged;
    ForEachArray([](int number, auto& array) { TakeCopy(number, array); });
    history.saved = history.shown;
    history.shownTarget = history.savedTarget = level.target;
}

void NameStep(const std::string& label) { history.pendingLabel = label; }

void RefuseEdit(const std::string& limitLine) {
    if (!history.refused)
        Dialogs().MessageBox("Level too large to save", {limitLine});
    history.refused = true;
}

bool EditRefused() { return history.refused; }

bool RecordStep() {
    bool recorded = RecordChanges();
    SettleFlags();
    return recorded;
}

std::string UndoLabel() { return history.done.empty() ? "" : history.done.back().label; }

std::string RedoLabel() { return history.undone.empty() ? "" : history.undone.back().label; }

bool Undo() {
    RecordChanges();
    bool undone = !history.done.empty();
    if (undone) {
        Swap(history.done.back());
        history.undone.push_back(std::move(history.done.back()));
        history.done.pop_back();
    }
    SettleFlags();
    return undone;
}

bool Redo() {
    bool redone = !history.undone.empty();
    if (redone) {
        Swap(history.undone.back());
        history.done.push_back(std::move(history.undone.back()));
        history.undone.pop_back();
    }
    SettleFlags();
    return redone;
}

void MarkSaved() {
    RecordChanges();
    history.saved = history.shown;
    history.savedTarget = level.target;
    history.savedMapChanged = level.mapChanged;
    level.levelChanged = false;
}

bool SavedMapChanged() { return history.savedMapChanged; }

int HistorySteps() { return static_cast<int>(history.done.size() + history.undone.size()); }

size_t HistoryBytes() { return history.bytes; }

struct EditScope::Kept {
    ObjectArray<Thing> things;
    ObjectArray<LineDef> lineDefs;
    ObjectArray<SideDef> sideDefs;
    ObjectArray<Vertex> vertices;
    ObjectArray<Sector> sectors;
    bool levelChanged, mapChanged;
    std::string pendingLabel;
};

EditScope::EditScope(std::string label)
    : label_(std::move(label)),
      kept_(new Kept{level.things, level.lineDefs, level.sideDefs, level.vertices, level.sectors,
                     level.levelChanged, level.mapChanged, history.pendingLabel}) {}

EditScope::~EditScope() { Cancel(); }

void EditScope::Cancel() {
    if (!kept_)
        return;
    level.things = std::move(kept_->things);
    level.lineDefs = std::move(kept_->lineDefs);
    level.sideDefs = std::move(kept_->sideDefs);
    level.vertices = std::move(kept_->vertices);
    level.sectors = std::move(kept_->sectors);
    level.levelChanged = kept_->levelChanged;
    level.mapChanged = kept_->mapChanged;
    history.pendingLabel = std::move(kept_->pendingLabel);
    kept_.reset();
}

void EditScope::Commit() {
    if (!kept_)
        return;
    kept_.reset();
    NameStep(label_);
}

void EditScope::Commit(const std::string& label) {
    label_ = label;
    Commit();
}
