#include "render/layout.h"

#include <cassert>
#include <climits>

namespace {

// MAX_SEGMENTS holds a full fan; a list that would overflow is a broken
// invariant, and even then nothing is written past the array.
void add(SegmentList& list, int from, int to)
{
    assert(list.count < MAX_SEGMENTS && "edge list overflow");
    if (list.count < MAX_SEGMENTS) {
        list.segments[list.count++] = Segment{from, to};
    }
}

// True when truncating `value` toward zero gives a representable int.
bool fitsInInt(double value)
{
    return value > static_cast<double>(INT_MIN) - 1.0 && value < static_cast<double>(INT_MAX) + 1.0;
}

}  // namespace

SegmentList edgeSegments(DrawMode mode, int pointCount)
{
    SegmentList list{};
    const int n = pointCount < MAX_POINTS ? pointCount : MAX_POINTS;
    if (n <= 1) {
        return list;
    }
    switch (mode) {
    case DrawMode::Polygon:
        for (int i = 0; i + 1 < n; i++) {
            add(list, i, i + 1);
        }
        add(list, 0, n - 1);
        break;
    case DrawMode::TriangleFan:
        for (int i = 1; i + 1 < n; i++) {
            add(list, 0, i);
            add(list, 0, i + 1);
            add(list, i, i + 1);
        }
        break;
    case DrawMode::TriangleStrip:
        for (int i = 0; i + 2 < n; i++) {
            add(list, i, i + 1);
            add(list, i + 1, i + 2);
            add(list, i + 2, i);
        }
        break;
    default:
        assert(!"unknown draw mode");
        break;
    }
    return list;
}

LabelPosition labelPosition(const Point& point)
{
    const double x = point.x;
    const double y = static_cast<double>(point.y) + LABEL_OFFSET;
    if (!fitsInInt(x) || !fitsInInt(y)) {
        return LabelPosition{false, 0, 0};
    }
    return LabelPosition{true, static_cast<int>(x), static_cast<int>(y)};
}
