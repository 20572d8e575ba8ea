// libFuzzer target for the point-file reader. Besides the sanitizers' own
// checks it traps when the reader accepts a count outside 0 to 20 or a value
// that is not finite, when a rejected file changed the set, or when what the
// editor would save from an accepted file does not read back.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "editor/point_file.h"

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "point file fuzzer: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PointSet set;
    std::memset(&set, 0xA5, sizeof set);
    PointSet before;
    std::memcpy(&before, &set, sizeof set);

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    if (!readPointFile(in, set, error)) {
        check(!error.empty(), "rejected without a reason");
        check(std::memcmp(&set, &before, sizeof set) == 0, "a rejected file changed the set");
        return 0;
    }
    check(set.pointCount >= 0 && set.pointCount <= MAX_POINTS, "accepted a count outside 0 to 20");
    for (int i = 0; i < set.pointCount; i++) {
        const Point& p = set.points[i];
        check(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.size),
              "accepted a value that is not finite");
    }
    for (int i = set.pointCount; i < MAX_POINTS; i++) {
        check(std::memcmp(&set.points[i], &before.points[i], sizeof(Point)) == 0,
              "wrote past the count");
    }

    PointSet reread{};
    std::istringstream saved(formatPointFile(set));
    check(readPointFile(saved, reread, error), "a saved file does not read back");
    check(reread.pointCount == set.pointCount, "a saved file reads back another count");
    return 0;
}
