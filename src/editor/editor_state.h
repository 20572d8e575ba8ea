// The editor's one global state record and the operations on its point set.
//
// Every piece of state the editor has lives in `editor`. Input handlers change
// it, the display callback only reads it, and the control panel writes some of
// its ints directly as GLUI live variables.
#pragma once

constexpr int MAX_POINTS = 20;
constexpr int MIN_POINT_SIZE = 8;
constexpr int MAX_POINT_SIZE = 12;
constexpr int DEFAULT_POINT_SIZE = 10;
constexpr double PICK_TOLERANCE = 6.0;  // half the side of a point's pick square

struct Point {
    float size;  // diameter in pixels
    float x;     // scene coordinates: origin at the window centre, y up
    float y;
};

// Entries 0 to pointCount - 1 are the set, in the order they were added;
// entry i is shown as point number i + 1. Entries past the count keep stale
// data and are never shown.
struct PointSet {
    Point points[MAX_POINTS];
    int pointCount;
};

// How the points are joined. Scoped, because <windows.h> (pulled in by GLUT
// on Windows) declares a function named Polygon.
enum class DrawMode : int { Polygon = 0, TriangleFan = 1, TriangleStrip = 2 };

struct EditorState {
    PointSet pointSet;
    int pointSize;       // size given to new points; live variable of the spinner
    int drawMode;        // a DrawMode; live variable of the primitive radio group
    int showPoints;      // layer flags; live variables of the three checkboxes
    int showLines;
    int showGeometry;
    int colorSchema;     // 0 or 1
    int selectArmed;     // the next middle press picks a point
    int dragging;        // the picked point follows the pointer
    int selectedNumber;  // 1-based number of the picked point, -1 for none
    int mainWindow;      // GLUT id of the drawing window
};

extern EditorState editor;

// Resets the point set and the selection state; leaves the layer flags,
// draw mode and colour schema alone.
void initEditorState();

// Appends a point, or prints "Number of points limit reached!" when full.
void addPoint(float x, float y, float size);

// Removes the last point, or prints "No points to delete!" when empty.
void deletePoint();

// Empties the set. `id` is the GLUI button id and is ignored.
void newPointSet(int id);

// 1-based number of the first point whose pick square (side 2 * PICK_TOLERANCE,
// border excluded) contains (x, y), or -1.
int findPointAt(int x, int y);

// Switches between the two colour sets. `id` is ignored.
void changeColorSchema(int id);
