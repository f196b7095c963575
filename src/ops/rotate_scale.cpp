#include "ops/rotate_scale.h"

#include <algorithm>
#include <cmath>

#include "base/config.h"
#include "base/format.h"
#include "editor/editor.h"
#include "editor/map_draw.h"
#include "editor/menu_bar.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor/view.h"
#include "edits/turn_scale.h"
#include "level/level.h"
#include "ops/edit_support.h"
#include "ops/vertex_check.h"
#include "platform/keys.h"
#include "platform/video.h"
#include "ui/input.h"
#include "ui/message_box.h"

RotateScaleSteps rotateScaleSteps;

namespace {

constexpr double kMaxAngle = 360.0;
constexpr double kMouseTurn = 1.0;
constexpr int64_t kFrameMs = 16;   // a display frame

void ShowRotateHelp() {
    MessageBox(kCentred, kCentred, LineAlign::Left, "Ok!", kAnyKey, nullptr, 0, "Rotate Help",
               {"Mouse", "Left Button = End", "Right Button = Cancel",
                "Mouse Movement Rotates object", "", "Keyboard Keys",
                "+ - = Increase/Decrease object size", "<> = Rotates object",
                "Esc or C Cancel any movement", "Cursor moves the Map"});
}

void ToggleSteps() {
    bool small = rotateScaleSteps.scale == 0.01;
    rotateScaleSteps.scale = small ? 0.04 : 0.01;
    rotateScaleSteps.angle = small ? 4.0 : 1.0;
}

// The map afresh with the drag image on it, after the view scrolled.
void RedrawUnderDrag() {
    DrawMap(MapDrawing::Full);
    moveState.imageShown = false;
    ShowDragImage();
}

// One key of the operation; true when it changed something.
bool RotateScaleKey(RotateScaleInteraction& op, int key) {
    switch (key) {
    case '<':
    case ',':
        op.angle += rotateScaleSteps.angle;
        return true;
    case '>':
    case '.':
        op.angle -= rotateScaleSteps.angle;
        return true;
    case '+':
    case '=':
        op.scale += rotateScaleSteps.scale;
        return true;
    case '-':
    case '_':
        op.scale -= rotateScaleSteps.scale;
        return true;
    case kKeyEnter:
        op.state = RotateScaleState::Accepted;
        return true;
    case kKeyEsc:
        op.state = RotateScaleState::Cancelled;
        return true;
    case ' ':
        ToggleSteps();
        return true;
    case kKeyF1:
        ShowRotateHelp();
        RedrawUnderDrag();
        return true;
    default:
        if (!ScrollMapByKey(key))
            return false;
        RedrawUnderDrag();
        return true;
    }
}

// Mouse movement turns one degree per step, left or up one way, right or down
// the other, however far it went.
bool RotateScaleMouse(RotateScaleInteraction& op, int x, int y) {
    if (x == op.lastX && y == op.lastY)
        return false;
    int d = (op.lastX - x) + (op.lastY - y);
    op.angle += d > 0 ? kMouseTurn : -kMouseTurn;
    return true;
}

void ShowAngle(double angle) {
    ShowStatusMessage(Format("%3d", static_cast<int>(std::trunc(angle))));
}

// Every further mouse movement is measured from the centre.
void PointerToCentre(RotateScaleInteraction& op, double cx, double cy) {
    op.lastX = MapToScreenX(static_cast<int>(cx));
    op.lastY = MapToScreenY(static_cast<int>(cy)) + MapAreaTop();
    SetMousePos(op.lastX, op.lastY);
}

// Keys come faster than frames (a key held down): the objects are placed
// for each, the image drawn for the last one before a frame is shown.
void RunRotateScale(RotateScaleInteraction& op) {
    double cx = 0.0, cy = 0.0;
    DragCentre(cx, cy);
    ReadMouse(&op.lastX, &op.lastY, nullptr);
    int64_t imageDrawn = PlatformMilliseconds();
    while (op.state == RotateScaleState::Running) {
        bool changed = RotateScaleInput(op);
        if (changed) {
            HideDragImage();
            PlaceRotatedScaled(cx, cy, op.angle, op.scale);
            PointerToCentre(op, cx, cy);
        }
        if (op.state != RotateScaleState::Running)
            break;
        if (!moveState.imageShown && (!KeyWaiting() || PlatformMilliseconds() - imageDrawn >= kFrameMs)) {
            ShowDragImage();
            imageDrawn = PlatformMilliseconds();
        }
        if (!changed)
            WaitForInput();
    }
}

// What an accepted operation moved, as Vertexes, for the vertex check.
SelectionList MovedVertexes() {
    SelectionList vertexes;
    for (int n : moveState.list)
        SelectObject(vertexes, n);
    return vertexes;
}

}  // namespace

bool RotateScaleInput(RotateScaleInteraction& op) {
    int x = 0, y = 0, buttons = 0;
    ReadMouse(&x, &y, &buttons);
    if (buttons & 1)
        op.state = RotateScaleState::Accepted;
    else if (buttons & 2)
        op.state = RotateScaleState::Cancelled;
    int key = 0;
    bool changed = KeyWaiting() && ReadKey(&key) ? RotateScaleKey(op, key)
                                                 : RotateScaleMouse(op, x, y);
    if (!changed)
        return false;
    op.scale = std::max(op.scale, 0.0);
    if (op.state == RotateScaleState::Cancelled)
        return false;
    op.angle = std::clamp(op.angle, -kMaxAngle, kMaxAngle);
    ShowAngle(op.angle);
    return true;
}

void DragCentre(double& cx, double& cy) { edits::CentreOf(moveState.backup, cx, cy); }

void PlaceRotatedScaled(double cx, double cy, double angle, double scale) {
    edits::PlaceTurnedScaled(level, moveState.type, moveState.list, moveState.backup, {cx, cy, angle, scale});
}

void RotateScaleObjects(int mode, const SelectionList& list) {
    if (list.empty() || !BeginMove(mode, list, 0, 0, 0)) {
        EndMove();
        return;
    }
    HideSelectionHighlights();
    ShowStatusMessage("<> = Rotate ,+ - = Scale, F1=Help");
    ShowDragImage();
    RotateScaleInteraction op;
    RunRotateScale(op);
    HideDragImage();
    if (op.state == RotateScaleState::Cancelled) {
        CancelMove();
    } else {
        edits::AcceptTurnScale(level, mode, list.size());
        if (moveState.type != kObjThing) {
            SelectionList vertexes = MovedVertexes();
            CheckVertexes(vertexes, CheckStyle::Interactive);
            ForgetSelection(vertexes);
        }
        EndMove();
    }
    editor.redrawMap = true;
    WaitRelease(nullptr);
}
