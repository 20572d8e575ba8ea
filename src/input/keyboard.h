// The drawing window's keyboard shortcuts: one key for each button, radio
// button and checkbox of the control panel (the key in its caption), and Q.
//
//   1 2 3   Polygon, Triangle Fan, Triangle Strip
//   4 5 6   toggle points, lines, geometry
//   7       change colour schema
//   N L S   new, load, save point set
//   Q       quit at once, saving nothing
//
// Letters count in upper case only.
#pragma once

void onKeyboard(unsigned char key, int px, int py);
