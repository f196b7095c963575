// Turning and resizing the selection about its centre: the interactive
// operation (mouse movement and the keys < > + - turn and scale, a drag image
// shows the result, the left button or Enter accepts, the right button or Esc
// cancels) and the 45-degree turns of Things. The placing is the model's
// (edits/turn_scale.h).
#pragma once

#include "editor/selection.h"

// The steps of the keys; Space switches between the small and the large ones,
// and the choice lasts from one operation to the next.
struct RotateScaleSteps {
    double angle = 1.0;
    double scale = 0.01;
};
extern RotateScaleSteps rotateScaleSteps;

enum class RotateScaleState { Running, Accepted, Cancelled };

// One operation in progress.
struct RotateScaleInteraction {
    RotateScaleState state = RotateScaleState::Running;
    int lastX = 0, lastY = 0;   // pointer (screen pixels) at the last step
    double angle = 0.0;         // -360..360
    double scale = 1.0;         // never below 0
};

// Reads one mouse step or key into the interaction; true when the angle, the
// scale or the view changed (the objects must be placed and drawn again).
bool RotateScaleInput(RotateScaleInteraction& op);

// Places every object of the drag in progress (moveState) at its starting
// position turned by angle and scaled by scale about (cx, cy)
// (edits::PlaceTurnedScaled).
void PlaceRotatedScaled(double cx, double cy, double angle, double scale);
// The average of the starting positions of the drag in progress.
void DragCentre(double& cx, double& cy);

// The interactive operation on the objects of an EditMode (Things, Vertexes,
// the ends of LineDefs, the ends of every LineDef beside a Sector). Accepted
// on Vertexes, the vertex check runs on what moved; cancelled, everything is
// back where it was. The accepted result is one undo step.
void RotateScaleObjects(int mode, const SelectionList& list);

