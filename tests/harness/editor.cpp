// What the harness knows of the editor that every program driving it needs:
// its colours and the text of its point file.
#include <cstdio>

#include "harness.h"

namespace e2e {

// The editor's palette as README.md gives it ("Colours"): what a user sees,
// and the one place the tests take it from.
const Rgb GEOMETRY_COLOURS[2] = {rgbFromFloat(0.4, 1.0, 0.4), rgbFromFloat(0.4, 0.7, 1.0)};
const Rgb LINES_COLOURS[2] = {rgbFromFloat(0.4, 0.0, 0.9), rgbFromFloat(1.0, 0.3, 0.0)};
const Rgb POINTS_COLOURS[2] = {rgbFromFloat(0.3, 0.3, 0.3), rgbFromFloat(0.0, 0.0, 0.7)};

std::string pointLine(const PointSpec& point)
{
    char line[128];
    std::snprintf(line, sizeof line, "%f %f %f", point.x, point.y, point.size);
    return line;
}

std::string pointFileText(const std::vector<PointSpec>& points)
{
    std::string s = std::to_string(points.size()) + "\n";
    for (const PointSpec& p : points)
        s += pointLine(p) + "\n";
    return s;
}

std::string addedLine(int number, int x, int y)
{
    return "Point " + std::to_string(number) + " added to x:" + std::to_string(x) + " y:" + std::to_string(y) + " ";
}

}  // namespace e2e
