// Drawing rooms and objects point by point in Vertexes mode, and giving
// LineDefs their SideDefs and a Sector: the pointer, the band and the keys;
// the edits they make are the model's (edits/line_drawing.h).
//
// Each left click (or Enter) places a Vertex at the pointer, or picks the one
// under it, and joins it to the point before with an impassable LineDef; a
// rubber band (XOR) runs from the latest point to the pointer. The right
// button or Ins closes the shape with a LineDef from the last point back to
// the first; with "Auto Insert Sector" on, the shape then gets SideDefs and a
// Sector. Drawn clockwise a shape is a room (inside another Sector, joined to
// it by two-sided LineDefs); drawn counter-clockwise inside a Sector it is a
// solid object standing in that Sector; outside every Sector it is a room
// whichever way it was drawn. A close with nothing drawn ends the mode;
// otherwise the next shape starts.
//
// Numbers that name no object (out of range in a loaded map) are missing:
// such SideDefs count as none and are replaced, and such list entries are
// skipped.
#pragma once

#include "editor/selection.h"

// What the main loop tells line drawing.
enum class LineDrawingCommand {
    Pass,     // every pass: the buttons of the pass (EditorState::buttons)
    Point,    // Enter: a point at the pointer, as the left button places one
    Insert,   // Ins: the shape is closed
    Escape,   // Esc: the shape is left as it is drawn (an empty one ends the drawing)
    Quit,     // End: as Esc, and the drawing ends
};

// What the drawing keeps from pass to pass while the mode is on
// (EditorState::lineDrawing).
struct LineDrawingState {
    int firstPoint = -1, lastPoint = -1;   // Vertexes of the shape's first and latest point
    int pointsInSegment = 0;               // points not yet joined (0 or 1 between events)
    int pointsInShape = 0;                 // points placed since the shape began
    int bandStartX = 0, bandStartY = 0;    // the rubber band, map coordinates
    int bandEndX = 0, bandEndY = 0;
    bool bandShown = false;                // the band is on the screen
    int bandPointerX = -1, bandPointerY = -1;   // the pointer (map-area pixels) it was drawn for
    int newLineDef = -1;                   // made by the latest point; -1 when it reused one
    SelectionList drawList;                // every Vertex placed in the shape
    int previousButtons = 0;               // to tell a new press
};

extern LineDrawingState drawing;

// Ins in Vertexes mode with 0 or 1 Vertex selected: the mode begins (or a
// new shape after a close); a selected Vertex is the first point.
void StartLineDrawing();
// Ends the mode and forgets its lists (a mode change, Alt-F4).
void EndLineDrawing();

// Every pass of the main loop while the mode is on, and its keys: Pass reads
// the buttons of the pass (a left press places a point, a right press
// closes) and moves the rubber band; Point places a point at the pointer
// (Enter); Insert and Escape close the shape; Quit closes it as Escape does
// and ends the mode.
void LineDrawingEvent(LineDrawingCommand command);

// A LineDef from b to a (edits::DrawLineDef), unless a = b or a LineDef
// already joins them either way. Returns the new LineDef, or -1 when none
// was made.
int ConnectVertexes(int a, int b);

// After the map was drawn afresh while drawing: the rubber band again.
void RedrawLineDrawing();

// Ins: in Vertexes mode starts the drawing (0 or 1 Vertex selected), or
// joins two selected Vertexes across the Sector between them, else with a
// plain LineDef; in LineDefs mode builds a Sector on the selected LineDefs
// and goes to Sectors mode with it selected; in Things mode inserts a Thing.
void InsertCommand();
