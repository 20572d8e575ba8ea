// The point file: `points.txt` in the working directory.
//
//   <count>\n                  "%d\n", 0 to 20
//   <x> <y> <size>\n           "%f %f %f\n", one line per point, in number order
//
// Lines end as text files do on the platform: "\n", or "\r\n" on Windows.
// Readers accept any white space between the numbers (so files from either
// platform) and ignore whatever follows the last counted point.
#pragma once

#include <iosfwd>
#include <string>

#include "editor/editor_state.h"

constexpr const char* POINTS_FILE = "points.txt";

// The text savePointSet writes for `set`, with "\n" line ends.
std::string formatPointFile(const PointSet& set);

// Reads a whole point file. On success fills entries 0 to count - 1 and the
// count of `out` and returns true; otherwise leaves `out` untouched, puts a
// short reason into `error` and returns false. Accepts a count from 0 to 20
// followed by at least that many triples of finite numbers.
bool readPointFile(std::istream& in, PointSet& out, std::string& error);

// Writes the point set to points.txt through a temporary file that replaces
// the old one only once it is completely written. A symbolic link at
// points.txt is saved through, and the old file's permissions are kept. On
// failure prints one line and leaves any old points.txt as it was. `id` is
// ignored.
void savePointSet(int id);

// Replaces the point set with the contents of points.txt. A missing or
// malformed file, or anything there that is not a regular file (a FIFO is
// not waited on), prints one line and changes nothing. `id` is ignored.
void loadPointSet(int id);
