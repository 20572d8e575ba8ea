// The harness's assertions for GoogleTest, and the hook that keeps the
// working directories of a failed test's programs.
#include "harness_gtest.h"

namespace e2e {

bool currentTestHasFailed()
{
    return ::testing::UnitTest::GetInstance()->current_test_info() && ::testing::Test::HasFailure();
}

::testing::AssertionResult pixelNear(const Image& img, Pixel p, Rgb expected)
{
    if (img.shows(p, expected))
        return ::testing::AssertionSuccess();
    if (!img.contains(p.x, p.y))
        return ::testing::AssertionFailure() << p << " is outside the " << img.width() << "x"
                                             << img.height() << " image";
    return ::testing::AssertionFailure() << p << " is " << img.at(p) << ", expected " << expected;
}

::testing::AssertionResult imagesEqual(const Image& actual, const Image& expected)
{
    ImageDifference d = compareImages(actual, expected);
    if (d.none())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << describe(d, actual, expected);
}

::testing::AssertionResult endedCleanly(Process& p, bool requireSuccess, Millis timeout)
{
    if (std::optional<std::string> why = uncleanEnd(p, requireSuccess, timeout))
        return ::testing::AssertionFailure() << *why;
    return ::testing::AssertionSuccess();
}

}  // namespace e2e
