#include "input/select_move.h"

#include <iostream>

#include "editor/editor_state.h"

void armSelectAndMove()
{
    editor.selectArmed = 1;
}

void pickPointAt(int x, int y)
{
    if (!editor.selectArmed) {
        return;
    }
    editor.selectedNumber = findPointAt(x, y);
    if (editor.selectedNumber != -1) {
        std::cout << "Selected Point: " << editor.selectedNumber << std::endl;
        editor.dragging = 1;
    }
}

void dragPickedPointTo(int x, int y)
{
    if (!editor.dragging || !editor.selectArmed) {
        return;
    }
    // A drag whose press missed (no release seen in between) has no point to move.
    // The picked entry may have been removed from the set meanwhile; the drag
    // still writes it, but never outside the array.
    const int number = editor.selectedNumber;
    if (number < 1 || number > MAX_POINTS) {
        return;
    }
    Point& point = editor.pointSet.points[number - 1];
    point.x = static_cast<float>(x);
    point.y = static_cast<float>(y);
}

void endPick()
{
    editor.dragging = 0;
    editor.selectArmed = 0;
}
