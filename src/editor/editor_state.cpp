#include "editor/editor_state.h"

#include <iostream>

EditorState editor;

void initEditorState()
{
    editor.pointSet.pointCount = 0;
    editor.pointSize = DEFAULT_POINT_SIZE;
    editor.selectedNumber = -1;
    editor.dragging = 0;
    editor.selectArmed = 0;
}

void addPoint(float x, float y, float size)
{
    PointSet& set = editor.pointSet;
    if (set.pointCount >= MAX_POINTS) {
        std::cout << "Number of points limit reached!" << std::endl;
        return;
    }
    set.points[set.pointCount] = Point{size, x, y};
    set.pointCount++;
    std::cout << "Point " << set.pointCount << " added to x:" << x << " y:" << y << " "
              << std::endl;
}

void deletePoint()
{
    PointSet& set = editor.pointSet;
    if (set.pointCount <= 0) {
        std::cout << "No points to delete!" << std::endl;
        return;
    }
    std::cout << "Point " << set.pointCount << " deleted!" << std::endl;
    set.pointCount--;
}

void newPointSet(int /*id*/)
{
    editor.pointSet.pointCount = 0;
}

int findPointAt(int x, int y)
{
    const PointSet& set = editor.pointSet;
    const double sx = x;
    const double sy = y;
    for (int i = 0; i < set.pointCount; i++) {
        const double px = set.points[i].x;
        const double py = set.points[i].y;
        if (px + PICK_TOLERANCE > sx && px - PICK_TOLERANCE < sx &&
            py + PICK_TOLERANCE > sy && py - PICK_TOLERANCE < sy) {
            return i + 1;
        }
    }
    return -1;
}

void changeColorSchema(int /*id*/)
{
    editor.colorSchema = editor.colorSchema ? 0 : 1;
}
