// The point file: `points.txt` in the working directory.
//
//   <count>\n                  "%d\n", 0 to 20
//   <x> <y> <size>\n           "%f %f %f\n", one line per point, in number order
//
// Readers accept any white space between the numbers and ignore whatever
// follows the last counted point.
#pragma once

#include <iosfwd>
#include <string>

#include "editor/editor_state.h"

constexpr const char* POINTS_FILE = "points.txt";

// The exact text savePointSet writes for `set`.
std::string formatPointFile(const PointSet& set);

// Reads a whole point file. On success fills entries 0 to count - 1 and the
// count of `out` and returns true; otherwise leaves `out` untouched, puts a
// short reason into `error` and returns false. Accepts a count from 0 to 20
// followed by at least that many triples of finite numbers.
bool readPointFile(std::istream& in, PointSet& out, std::string& error);

// Writes the point set to points.txt through a temporary file that replaces
// the old one only once it is completely written. On failure prints one line
// and leaves any old points.txt as it was. `id` is ignored.
void savePointSet(int id);

// Replaces the point set with the contents of points.txt. A missing or
// malformed file prints one line and changes nothing. `id` is ignored.
void loadPointSet(int id);
