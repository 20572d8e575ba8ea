// Select-and-move: the pop-up menu arms it, a middle-button press picks a
// point, motion drags it, the middle release ends it.
//
//   state              event                         next               effect
//   idle (0, 0)        menu "Select and Move Point"  armed (1, 0)
//   armed              middle press on a point       dragging (1, 1)    prints "Selected Point: N"
//   armed              middle press on empty space   armed              selectedNumber = -1
//   armed, dragging    middle release                idle               the point stays
//   dragging           motion                        dragging           the point jumps to the pointer
//   idle               middle press or motion        idle
//   any                menu "Select and Move Point"  selectArmed = 1, dragging unchanged
//
// (selectArmed, dragging) live in `editor`. Positions are scene coordinates.
#pragma once

void armSelectAndMove();
void pickPointAt(int x, int y);
void dragPickedPointTo(int x, int y);
void endPick();
