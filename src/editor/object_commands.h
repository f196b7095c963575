// The editor's commands on objects, started by its keys: Ins in Things mode,
// Del with its confirmation, O (copy in place), D and the right button (drag
// by whole grid steps, with an XOR image and cancel), and bringing an object
// into view.
//
// Each command acts on the selection, or on the highlighted object when
// nothing is selected. Inserting, deleting and copying are the model's edits
// (edits/object_edits.h), which name their steps ("delete 3 LineDefs"). A
// drag is one edit (an EditScope) from its start to its drop: put down, it
// is one step ("move 3 Things"), however many passes it took; cancelled, it
// leaves the level as before and no step.
#pragma once

// How the view is brought to an object.
enum class GoToMode {
    Centre,   // centred on it
    Zoom,     // centred, zoomed in until picking at the pointer finds it
};

// Ins: a Thing at the pointer (snapped to the grid while snapping is on), a
// copy of the highlighted Thing or one of the default type; it becomes the
// highlighted object. Other modes beep (line drawing takes the Vertexes and
// LineDefs modes over: it replaces the entry and hands the rest on here).
void InsertObjectCommand();

// Del: deletes the selection, or the highlighted object, with what depends
// on them. Outside Things mode, unless "Expert Mode" is on, the user confirms
// first. A drag or a selection box in progress is dropped; nothing is
// highlighted afterwards. Beeps when nothing is highlighted.
void DeleteObjectsCommand();

// O: copies the selection (or the highlighted object) in place; the copies
// become the selection (or the highlighted object) that the next drag moves.
void CopyObjectsCommand();

// D: starts a drag of the selection (or the highlighted object) from the
// pointer, or ends the drag in progress; after a drag that moved something
// the vertex check runs on what moved (Vertexes and LineDefs keep the level
// free of overlaps).
void MoveObjectsCommand();
// Every pass of the main loop while dragging: moves the objects by the
// whole grid steps the pointer has gone since the last step.
void DragStep();
// Ends the drag, putting the level back as it was when the drag started.
void CancelDrag();
// After the map was drawn afresh during a drag: the selection's highlight
// (only while copies are dragged) and the drag image.
void DrawDragHighlights();

// The drag image of the objects in moveState, drawn in XOR: shown once,
// taken off once (for operations that move the dragged objects their own way).
void ShowDragImage();
void HideDragImage();
// Takes the selection's highlight and the highlighted object's off the
// screen (XOR) while the map there is complete, before a drag image replaces
// them.
void HideSelectionHighlights();

// Centres the view on an object so that picking at the pointer finds it: a
// Sector is looked for at its reference point, then at the midpoints of its
// LineDefs, then in rings around the last point tried; with GoToMode::Zoom
// the view zooms in (up to a scale of 4) until the object is found under the
// pointer. The pointer ends at the view centre.
void GoToObject(int type, int n, GoToMode mode);
