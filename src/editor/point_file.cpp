#include "editor/point_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <istream>

#include "editor/file_system.h"

namespace {

// Longest number text accepted; "%f" of the largest float is 46 characters.
constexpr std::size_t MAX_TOKEN_LENGTH = 512;

bool isBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Next white-space separated word from `next`, which returns one character
// at a time and EOF at the end; false at the end of the input. A word longer
// than MAX_TOKEN_LENGTH is cut there, which makes it invalid.
template <typename NextChar>
bool nextToken(NextChar& next, std::string& token)
{
    token.clear();
    int c = next();
    while (c != EOF && isBlank(c)) {
        c = next();
    }
    while (c != EOF && !isBlank(c)) {
        if (token.size() <= MAX_TOKEN_LENGTH) {
            token.push_back(static_cast<char>(c));
        }
        c = next();
    }
    return !token.empty();
}

bool parseCount(const std::string& token, long& count)
{
    const bool negative = token[0] == '-';
    const std::size_t first = (negative || token[0] == '+') ? 1 : 0;
    if (first == token.size()) {
        return false;
    }
    for (std::size_t i = first; i < token.size(); i++) {
        if (token[i] < '0' || token[i] > '9') {
            return false;
        }
    }
    // Any count with this many digits is out of range; keep strtol away from overflow.
    if (token.size() - first > 9) {
        count = negative ? -1 : MAX_POINTS + 1;
    } else {
        count = std::strtol(token.c_str(), nullptr, 10);
    }
    return true;
}

bool parseFloat(const std::string& token, float& value)
{
    if (token.size() > MAX_TOKEN_LENGTH) {
        return false;
    }
    char* end = nullptr;
    value = std::strtof(token.c_str(), &end);
    return end != token.c_str() && end == token.c_str() + token.size();  // no NUL inside
}

const char* const VALUE_NAMES[] = {"x", "y", "size"};

}  // namespace

std::string formatPointFile(const PointSet& set)
{
    char line[256];
    std::snprintf(line, sizeof line, "%d\n", set.pointCount);
    std::string text = line;
    for (int i = 0; i < set.pointCount; i++) {
        const Point& p = set.points[i];
        std::snprintf(line, sizeof line, "%f %f %f\n", static_cast<double>(p.x),
                      static_cast<double>(p.y), static_cast<double>(p.size));
        text += line;
    }
    return text;
}

namespace {

template <typename NextChar>
bool readPoints(NextChar next, PointSet& out, std::string& error)
{
    std::string token;
    if (!nextToken(next, token)) {
        error = "the file is empty";
        return false;
    }
    long count = 0;
    if (!parseCount(token, count)) {
        error = "the point count is not a whole number";
        return false;
    }
    if (count < 0 || count > MAX_POINTS) {
        error = "the point count must be from 0 to " + std::to_string(MAX_POINTS);
        return false;
    }

    Point read[MAX_POINTS];
    for (int i = 0; i < count; i++) {
        float values[3];
        for (int k = 0; k < 3; k++) {
            auto where = [&] { return std::string(VALUE_NAMES[k]) + " of point " + std::to_string(i + 1); };
            if (!nextToken(next, token)) {
                error = "the file ends before " + where() + " of " + std::to_string(count);
                return false;
            }
            if (!parseFloat(token, values[k])) {
                error = where() + " is not a number";
                return false;
            }
            if (!std::isfinite(values[k])) {
                error = where() + " is not a finite number";
                return false;
            }
        }
        read[i] = Point{values[2], values[0], values[1]};
    }

    for (int i = 0; i < count; i++) {
        out.points[i] = read[i];
    }
    out.pointCount = static_cast<int>(count);
    return true;
}

}  // namespace

bool readPointFile(std::istream& in, PointSet& out, std::string& error)
{
    return readPoints([&in] { return in.get(); }, out, error);
}

void savePointSet(int /*id*/)
{
    std::string failure;
    switch (replaceFile(POINTS_FILE, formatPointFile(editor.pointSet), failure)) {
    case SaveStatus::Saved:
        break;
    case SaveStatus::CannotCreate:
        std::cout << "No file to save to :))" << std::endl;
        break;
    case SaveStatus::Failed:
        std::cout << "Could not save the point set, " << failure << std::endl;
        break;
    }
}

void loadPointSet(int /*id*/)
{
    OpenStatus status = OpenStatus::Missing;
    std::FILE* file = openRegularFile(POINTS_FILE, status);
    if (status == OpenStatus::Missing) {
        std::cout << "No file to load from :))" << std::endl;
        return;
    }
    if (status == OpenStatus::NotRegularFile) {
        std::cout << "Invalid point file: points.txt is not a regular file" << std::endl;
        return;
    }
    std::string error;
    const bool read = readPoints([file] { return std::getc(file); }, editor.pointSet, error);
    std::fclose(file);
    if (!read) {
        std::cout << "Invalid point file: " << error << std::endl;
    }
}
