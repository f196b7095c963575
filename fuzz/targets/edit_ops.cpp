// Editing operations one after another on a small level: the input picks each
// operation, its objects and arguments, and the keys that answer the boxes
// and menus it opens. After every step no reference of the level names a
// missing object, and the level's validity is checked: an operation that
// keeps a level the game can use so whatever it is given (splitting
// LineDefs, joining Sectors, the lift, deleting Sectors or Things...) must
// leave a valid level valid. At the end undoing every step gives back the
// starting level byte for byte, and redoing them all the level the steps
// made.
//
// Input: the choices, read in turn (FuzzedDataProvider); the first picks the
// starting level.
#include <fuzzer/FuzzedDataProvider.h>

#include <functional>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/fatal.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/line_drawing.h"
#include "editor/objects.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "edits/edit_support.h"
#include "edits/line_drawing.h"
#include "edits/turn_scale.h"
#include "fuzz_kit.h"
#include "level/history.h"
#include "level/level.h"
#include "builders/builders.h"
#include "menus/check_menu.h"
#include "checker/checks.h"
#include "ops/linedef_ops.h"
#include "menus/misc_menu.h"
#include "builders/predefined.h"
#include "ops/rotate_scale.h"
#include "ops/vertex_check.h"
#include "ops/vertex_ops.h"
#include "platform/video.h"
#include "support/map_kit.h"
#include "support/level_validity.h"
#include "ui/graphics.h"
#include "ui/toolkit.h"

namespace {

// Steps of one input at most: the history keeps far more.
constexpr int kMostSteps = 40;

constexpr int kKinds[] = {kObjThing, kObjLineDef, kObjSideDef, kObjVertex, kObjSector};
constexpr int kModes[] = {kObjThing, kObjLineDef, kObjVertex, kObjSector};

// The keys a scripted user answers with; Esc after them closes whatever is
// still open.
const char* const kAnswerKeys[] = {"Enter", "Esc", "Y", "N", "1", "2", "3", "4", "5", "Del",
                                   "Up", "Down", "Tab", "Space", "C", "A", "0", "Left", "Right"};
constexpr int kClosingEscapes = 12;

// The starting levels: two rooms one inside the other, two rooms side by side
// sharing a wall, and nothing at all. Things stand in each.
void BuildStartingLevel(int choice) {
    using namespace mapkit;
    ClearMap();
    switch (choice % 3) {
    case 0: {
        int outer = AddSector(0, 0, 0, 128), inner = AddSector(3, 0, 16, 120);
        AddRoom(0, 0, 256, 256, outer);
        AddRoom(64, 64, 192, 192, inner, outer);
        AddThing(32, 32, 1, 90);
        AddThing(128, 128, 2001);
        break;
    }
    case 1: {
        int west = AddSector(0, 0, 0, 128), east = AddSector(0, 0, 24, 128);
        int a = AddVertex(0, 0), b = AddVertex(0, 128), c = AddVertex(128, 128), d = AddVertex(128, 0);
        int e = AddVertex(256, 128), f = AddVertex(256, 0);
        AddLineDef(a, b, AddSideDef(west));
        AddLineDef(b, c, AddSideDef(west));
        AddLineDef(c, d, AddSideDef(west), AddSideDef(east), 4);
        AddLineDef(d, a, AddSideDef(west));
        AddLineDef(c, e, AddSideDef(east));
        AddLineDef(e, f, AddSideDef(east));
        AddLineDef(f, d, AddSideDef(east));
        AddThing(64, 64, 1);
        break;
    }
    default:
        AddThing(0, 0, 1);
        break;
    }
}

// Reads the input into the arguments of the operations.
class Choices {
public:
    Choices(const uint8_t* data, size_t size) : in_(data, size) {}

    bool more() { return in_.remaining_bytes() > 0; }
    int upTo(int most) { return in_.ConsumeIntegralInRange<int>(0, most); }
    bool flag() { return in_.ConsumeBool(); }
    template <typename T, size_t N>
    T pick(const T (&table)[N]) {
        return table[in_.ConsumeIntegralInRange<size_t>(0, N - 1)];
    }

    // An object number of the kind: mostly one that exists, now and then the
    // first number after them (missing).
    int object(int kind) {
        int count = Count(kind);
        return in_.ConsumeIntegralInRange<int>(0, count);
    }
    // A list of distinct object numbers of the kind, newest last.
    SelectionList list(int kind, int most = 4) {
        SelectionList chosen;
        for (int n = upTo(most); n > 0; --n) {
            int object = this->object(kind);
            if (!IsSelected(chosen, object))
                SelectObject(chosen, object);
        }
        return chosen;
    }
    // A map coordinate: near the rooms on a coarse grid, or anywhere.
    int coordinate() {
        if (flag())
            return in_.ConsumeIntegralInRange<int>(-8, 40) * 8;
        return in_.ConsumeIntegral<int16_t>();
    }
    int grid() { return pick({0, 1, 8, 16, 64}); }

    // A script for the boxes the next operation opens: a few answers, then
    // escapes.
    std::string answers() {
        std::string script;
        for (int n = upTo(6); n > 0; --n)
            script += std::string("key ") + pick(kAnswerKeys) + "\n";
        for (int n = 0; n < kClosingEscapes; ++n)
            script += "key Esc\n";
        return script;
    }

    // The check dialogs' answers, read when asked.
    FuzzedDataProvider& raw() { return in_; }

private:
    static int Count(int kind) {
        switch (kind) {
        case kObjThing: return level.things.count;
        case kObjLineDef: return level.lineDefs.count;
        case kObjSideDef: return level.sideDefs.count;
        case kObjVertex: return level.vertices.count;
        default: return level.sectors.count;
        }
    }
    FuzzedDataProvider in_;
};

// The checker's dialogs answered from the input: go on or stop, yes or no.
class AnsweringDialogs : public CheckDialogs {
public:
    explicit AnsweringDialogs(Choices& choices) : in_(choices.raw()) {}
    void Title(const std::string&) override {}
    void Progress(long, long) override {}
    void Note(const std::string&, const std::string&) override {}
    bool Verify(const std::string&, const std::string&, int, int, Severity) override { return Yes(); }
    bool Confirm(Question, const std::string&, const std::string&) override { return Yes(); }
    void Tell(const std::string&, const std::string&) override {}
    void Status(const std::string&) override {}
    void Warn(const std::string&, const std::vector<std::string>&) override {}
    bool WarnContinue(const std::string&, const std::vector<std::string>&) override { return Yes(); }
    void Result(const std::string&, const std::vector<std::string>&) override {}

private:
    // Yes when the input has run out, so that a short input still fixes.
    bool Yes() { return in_.remaining_bytes() == 0 || in_.ConsumeBool(); }
    FuzzedDataProvider& in_;
};

void UseSelection(int mode, SelectionList list) {
    config.editMode = static_cast<int16_t>(mode);
    ForgetSelection(selection.list);
    for (auto it = list.end(); it != list.begin();)
        SelectObject(selection.list, *--it);
}

// A drag of the objects of a mode: a few steps, then dropped or cancelled;
// or the drag turned and scaled about its centre.
void Drag(Choices& in) {
    int mode = in.pick(kModes), grid = in.grid();
    SelectionList list = in.list(mode);
    if (!BeginMove(mode, list, in.coordinate(), in.coordinate(), grid))
        return;
    if (in.flag()) {
        double cx = 0, cy = 0;
        DragCentre(cx, cy);
        PlaceRotatedScaled(cx, cy, in.upTo(720) - 360, in.upTo(400) / 100.0);
    } else {
        for (int n = in.upTo(3); n > 0; --n)
            MoveObjectsToCoords(moveState.type, moveState.list, in.coordinate(), in.coordinate(), grid);
    }
    if (in.flag())
        EndMove();
    else
        CancelMove();
}

// Line drawing: points at pointer positions on the map area, closed or ended
// as the input says.
void Draw(Choices& in) {
    UseSelection(kObjVertex, in.list(kObjVertex, 1));
    StartLineDrawing();
    for (int n = in.upTo(6); n > 0 && editor.lineDrawing; --n) {
        view.pointerX = in.upTo(39) * 16;
        view.pointerY = in.upTo(28) * 16;
        LineDrawingEvent(in.flag() ? LineDrawingCommand::Point
                                   : in.flag() ? LineDrawingCommand::Insert : LineDrawingCommand::Escape);
    }
    EndLineDrawing();
}

void RunCheck(Choices& in) {
    AnsweringDialogs dialogs(in);
    FixStyle style = in.flag() ? FixStyle::Fix : FixStyle::Ask;
    switch (in.upTo(7)) {
    case 0: CheckClosedSectors(dialogs); break;
    case 1: CheckCrossReferences(dialogs); break;
    case 2: CheckMissingTextures(dialogs, style); break;
    case 3: CheckTextureNames(dialogs, style); break;
    case 4: CheckThingTypes(dialogs); break;
    case 5: CheckLineDefTypes(dialogs); break;
    case 6: CheckSectorTypes(dialogs); break;
    default: CheckExitsAndStarts(dialogs); break;
    }
}

// Whether an operation keeps a valid level valid whatever it is given (the
// others may be asked for a broken level: a LineDef inserted alone, a Vertex
// dragged across a wall).
enum class Keeps { Validity, Nothing };

// Set by an operation whose promise depends on what it was given.
bool keepsValidity = false;

struct Operation {
    const char* name;
    std::function<void(Choices&)> run;
    Keeps keeps = Keeps::Nothing;
};

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> table = {
        {"insert", [](Choices& in) {
             int kind = in.pick(kKinds);
             InsertObject(kind, in.flag() ? in.object(kind) : -1, in.coordinate(), in.coordinate());
         }},
        {"delete", [](Choices& in) {
             int kind = in.pick(kKinds);
             SelectionList list = in.list(kind);
             DeleteObjects(level, kind, list);
             keepsValidity = kind == kObjThing || kind == kObjSector;
         }},
        {"copy", [](Choices& in) {
             int kind = in.pick(kKinds);
             SelectionList list = in.list(kind);
             CopyObjects(level, kind, list);
         }},
        {"move", [](Choices& in) {
             const int kinds[] = {kObjThing, kObjVertex, kMoveFreeVertexes};
             int kind = in.pick(kinds);
             SelectionList list = in.list(kind == kObjThing ? kObjThing : kObjVertex);
             int grid = in.grid();
             MoveObjectsToCoords(kind, SelectionList(), in.coordinate(), in.coordinate(), grid);
             MoveObjectsToCoords(kind, list, in.coordinate(), in.coordinate(), grid);
         }},
        {"drag", Drag},
        {"draw lines", Draw},
        {"connect", [](Choices& in) { ConnectVertexes(in.object(kObjVertex), in.object(kObjVertex)); }},
        // Ins in LineDefs mode, or a drawn shape closed.
        {"build sector", [](Choices& in) {
             UseSelection(kObjLineDef, in.list(kObjLineDef, 6));
             std::vector<int> lineDefs = NumbersOf(selection.list);
             SectorBuild command = in.pick({SectorBuild::FromLineDefs, SectorBuild::RightButton,
                                            SectorBuild::InsertKey, SectorBuild::EscapeKey});
             int first = in.flag() ? in.object(kObjVertex) : -1;
             int last = in.flag() ? in.object(kObjVertex) : -1;
             if (command == SectorBuild::FromLineDefs)
                 edits::InsertSector(level, lineDefs);
             else
                 edits::CloseShapeSector(level, lineDefs, command, first, last);
         }},
        {"delete vertex join", [](Choices& in) { DeleteVertexesJoinLineDefs(in.list(kObjVertex)); }},
        {"merge vertexes", [](Choices& in) {
             SelectionList list = in.list(kObjVertex);
             MergeVertexes(list);
         }},
        {"split at vertex", [](Choices& in) {
             SplitLineDefAtVertex(in.object(kObjLineDef), in.object(kObjVertex));
         }},
        {"split linedefs", [](Choices& in) { SplitLineDefs(in.list(kObjLineDef)); }, Keeps::Validity},
        {"add linedef split sector", [](Choices& in) {
             int a = in.object(kObjVertex), b = in.object(kObjVertex);
             AddLineDefSplitSector(a, b, in.flag() ? in.object(kObjLineDef) : -1);
         }},
        {"split linedefs and sector", [](Choices& in) {
             SplitLineDefsAndSector(in.object(kObjLineDef), in.object(kObjLineDef));
         }},
        {"join sectors", [](Choices& in) {
             SelectionList list = in.list(kObjSector);
             JoinSectors(level, list);
         }, Keeps::Validity},
        {"delete linedefs join sectors", [](Choices& in) {
             SelectionList list = in.list(kObjLineDef);
             DeleteLineDefsJoinSectors(list);
         }, Keeps::Validity},
        {"flip", [](Choices& in) {
             FlipLineDefs(level, in.list(kObjLineDef),
                          in.pick({FlipPart::Vertexes, FlipPart::SideDefs, FlipPart::Both}));
         }},
        {"door", [](Choices& in) {
             SelectionList list = in.list(kObjLineDef, 5);
             MakeDoor(list);
         }},
        {"lift", [](Choices& in) { MakeLift(in.object(kObjSector)); }, Keeps::Validity},
        {"distribute", [](Choices& in) {
             DistributeSectorValue(level, in.list(kObjSector, 5),
                                          in.pick({SectorValue::Floor, SectorValue::Ceiling, SectorValue::Light}));
         }, Keeps::Validity},
        {"align y", [](Choices& in) { AlignTexturesY(in.list(kObjLineDef)); }, Keeps::Validity},
        {"align x", [](Choices& in) { AlignTexturesX(in.list(kObjLineDef)); }, Keeps::Validity},
        {"stairs", [](Choices& in) {
             SelectionList list = in.list(kObjLineDef, 3);
             MakeStairs(list);
         }},
        {"turn things", [](Choices& in) {
             UseSelection(kObjThing, in.list(kObjThing));
             edits::TurnThings(level, selection.list, in.flag() ? edits::TurnWay::Anticlockwise : edits::TurnWay::Clockwise);
         }, Keeps::Validity},
        {"polygon vertexes", [](Choices& in) {
             int x = in.coordinate(), y = in.coordinate();
             edits::AddPolygonVertexes(level, x, y, in.upTo(12), in.upTo(300));
         }},
        // As the Object menu places them: a room outside every Sector (-1),
        // an object or a door inside an existing one.
        {"predefined shape", [](Choices& in) {
             int x = in.coordinate(), y = in.coordinate();
             int sector = level.sectors.count > 0 && in.flag() ? in.upTo(level.sectors.count - 1) : -1;
             auto kind = static_cast<ObjectKind>(in.upTo(3));
             switch (in.upTo(2)) {
             case 0: InsertRectangle(x, y, in.upTo(512), in.upTo(512), sector, kind, in.upTo(64)); break;
             case 1: InsertPolygon(x, y, in.upTo(40), in.upTo(512), sector, kind, in.upTo(64)); break;
             default:
                 if (sector >= 0)
                     InsertDoorShape(x, y, in.upTo(64), in.upTo(256), sector);
                 break;
             }
         }},
        {"vertex check", [](Choices& in) {
             SelectionList list = in.list(kObjVertex);
             CheckVertexes(list, in.flag() ? CheckStyle::Quiet : CheckStyle::Interactive);
         }},
        {"linedef vertex check", [](Choices& in) {
             SelectionList list = in.list(kObjLineDef);
             CheckLineDefVertexes(list, in.flag() ? CheckStyle::Quiet : CheckStyle::Interactive);
         }},
        {"check", RunCheck},
        {"misc menu", [](Choices& in) {
             int mode = in.pick(kModes);
             UseSelection(mode, in.list(mode));
             MiscMenu(0, 0, in.flag() ? MiscStart::Menu : MiscStart::RotateAndScale);
         }},
        {"object menu", [](Choices& in) {
             int mode = in.pick(kModes);
             UseSelection(mode, in.list(mode));
             view.pointerX = in.upTo(39) * 16;
             view.pointerY = in.upTo(28) * 16;
             PredefinedObjectMenu(0, 0);
         }},
        {"check menu", [](Choices&) { CheckMenu(0, 0); }},
    };
    return table;
}

// One operation. The scripted user running out of answers ends the input
// (as it ends the program); any other end of the program is a fault: no edit
// may give up on a sound level.
void RunStep(const Operation& op, Choices& in) {
    try {
        op.run(in);
    } catch (const ProgramExit& exit) {
        if (exit.code() != kExitScriptEnded)
            fuzzkit::Fail(std::string(op.name) + " ended the program: " + exit.what());
        throw;
    }
}

void RequireSound(const std::string& after) {
    std::vector<std::string> dangling = testkit::DanglingReferences();
    if (!dangling.empty())
        fuzzkit::Fail("after " + after + ": " + dangling.front());
}

bool LevelValid() { return testkit::LevelFaults(testkit::Validity::Game).empty(); }

// A valid level made invalid by an operation that keeps validity.
void RequireValid(bool wasValid, const std::string& after) {
    if (!wasValid || !keepsValidity)
        return;
    std::vector<testkit::LevelFault> faults = testkit::LevelFaults(testkit::Validity::Game);
    if (!faults.empty())
        fuzzkit::Fail("after " + after + ": " + testkit::FaultLines(faults));
}

void PrepareEditor() {
    InstallToolkit();
    InstallMiscOperations();
    InstallChecker();
    config.soundErrors = 0;
    InitGraphics(GraphicsPalette::Basic);
    InitView();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Choices in(data, size);
    fuzzkit::RunInput(Flavour::Doom, "", [&] {
        fuzzkit::OpenSmallIwad("BASE.WAD", "MAP01");
        PrepareEditor();
        BuildStartingLevel(in.upTo(2));
        ResetHistory();
        const std::string start = mapkit::LevelArrayBytes();
        const std::vector<Operation>& operations = Operations();
        int steps = 0;
        std::string done;
        for (; steps < kMostSteps && in.more(); ++steps) {
            const Operation& op = operations[in.upTo(static_cast<int>(operations.size()) - 1)];
            std::string error;
            if (!HeadlessLoadScript(in.answers(), error))
                fuzzkit::Fail("the answers' script: " + error);
            bool wasValid = LevelValid();
            keepsValidity = op.keeps == Keeps::Validity;
            RunStep(op, in);
            RecordStep();
            done += std::string(done.empty() ? "" : ", ") + op.name;
            RequireSound(done);
            RequireValid(wasValid, done);
        }
        const std::string end = mapkit::LevelArrayBytes();
        while (Undo())
            RequireSound("an undo of " + done);
        if (mapkit::LevelArrayBytes() != start)
            fuzzkit::Fail("undoing " + done + " does not give back the starting level");
        while (Redo())
            RequireSound("a redo of " + done);
        if (mapkit::LevelArrayBytes() != end)
            fuzzkit::Fail("redoing " + done + " does not give back the level they made");
    });
    return 0;
}
