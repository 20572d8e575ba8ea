// The drawing window's display callback and its three layers, bottom to top:
// filled geometry, edges, points with their numbers. Reads `editor` only.
#pragma once

void displayScene();
void drawGeometry();
void drawEdges();
void drawPoints();

// Bitmap text whose first character starts at scene position (x, y).
void drawLabel(int x, int y, const char* text);
