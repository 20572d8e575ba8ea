// What the display pass draws, decided without OpenGL: which point pairs the
// edge layer joins, and where a point's number goes.
#pragma once

#include "editor/editor_state.h"

constexpr double LABEL_OFFSET = 10.0;  // a number sits this far above its point

struct Segment {
    int from;  // point indices, 0-based
    int to;
};

// A fan over 20 points has the most edges: three for each of its 18 triangles.
constexpr int MAX_SEGMENTS = 3 * (MAX_POINTS - 2);

struct SegmentList {
    int count;
    Segment segments[MAX_SEGMENTS];
};

// The outline of exactly what the geometry layer fills for `mode` and
// `pointCount` points: the polygon's sides, or each triangle's three edges
// (an edge shared by two triangles appears once for each).
SegmentList edgeSegments(DrawMode mode, int pointCount);

struct LabelPosition {
    bool visible;  // false when the position does not fit in an int
    int x;
    int y;
};

// Where drawLabel puts the number of `point`: LABEL_OFFSET above it, truncated
// toward zero. A point so far away that the position leaves the range of int
// gets no label (it would lie far outside the view anyway).
LabelPosition labelPosition(const Point& point);
