#include "editor/point_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <istream>

namespace {

// Longest number text accepted; "%f" of the largest float is 46 characters.
constexpr std::size_t MAX_TOKEN_LENGTH = 512;

bool isBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Next white-space separated word of `in`; false at the end of the input.
// A word longer than MAX_TOKEN_LENGTH is cut there, which makes it invalid.
bool nextToken(std::istream& in, std::string& token)
{
    token.clear();
    int c = in.get();
    while (c != EOF && isBlank(c)) {
        c = in.get();
    }
    while (c != EOF && !isBlank(c)) {
        if (token.size() <= MAX_TOKEN_LENGTH) {
            token.push_back(static_cast<char>(c));
        }
        c = in.get();
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

std::string describeErrno(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
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

bool readPointFile(std::istream& in, PointSet& out, std::string& error)
{
    std::string token;
    if (!nextToken(in, token)) {
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
            if (!nextToken(in, token)) {
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

namespace {

// Permissions a plain fopen(..., "w") would have given a new file.
mode_t newFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes `text` to a new temporary file beside points.txt and renames it over
// points.txt. Returns an empty string on success, else what failed.
std::string replacePointsFile(const std::string& text, bool& couldNotCreate)
{
    std::string tempName = std::string(POINTS_FILE) + ".XXXXXX";
    const int fd = mkstemp(&tempName[0]);
    if (fd < 0) {
        couldNotCreate = true;
        return describeErrno("cannot create a file");
    }
    fchmod(fd, newFileMode());

    std::string failure;
    std::FILE* file = fdopen(fd, "w");
    if (file == nullptr) {
        failure = describeErrno("cannot open the temporary file");
        close(fd);
    } else {
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                             std::fflush(file) == 0 && fsync(fd) == 0;
        if (!written) {
            failure = describeErrno("write failed");
        }
        if (std::fclose(file) != 0 && failure.empty()) {
            failure = describeErrno("close failed");
        }
    }
    if (failure.empty() && std::rename(tempName.c_str(), POINTS_FILE) != 0) {
        failure = describeErrno("cannot replace points.txt");
    }
    if (!failure.empty()) {
        std::remove(tempName.c_str());
    }
    return failure;
}

}  // namespace

void savePointSet(int /*id*/)
{
    bool couldNotCreate = false;
    const std::string failure = replacePointsFile(formatPointFile(editor.pointSet), couldNotCreate);
    if (couldNotCreate) {
        std::cout << "No file to save to :))" << std::endl;
    } else if (!failure.empty()) {
        std::cout << "Could not save the point set, " << failure << std::endl;
    }
}

void loadPointSet(int /*id*/)
{
    // Only a regular file is read: opening a FIFO would block the editor.
    struct stat info {};
    if (stat(POINTS_FILE, &info) != 0) {
        std::cout << "No file to load from :))" << std::endl;
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        std::cout << "Invalid point file: points.txt is not a regular file" << std::endl;
        return;
    }
    std::ifstream in(POINTS_FILE, std::ios::binary);
    if (!in) {
        std::cout << "No file to load from :))" << std::endl;
        return;
    }
    std::string error;
    if (!readPointFile(in, editor.pointSet, error)) {
        std::cout << "Invalid point file: " << error << std::endl;
    }
}
