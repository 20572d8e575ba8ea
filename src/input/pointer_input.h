// The drawing window's mouse, motion and pop-up menu callbacks. The left
// button adds points; the right button opens the menu; the middle button
// picks and drags a point once the menu has armed select-and-move.
#pragma once

// Values of the right-button menu's entries.
enum MenuEntry { MENU_SELECT_AND_MOVE = 0, MENU_DELETE_POINT = 1 };

void onMouseButton(int button, int state, int px, int py);
void onMouseMotion(int px, int py);
void onMenu(int value);
