// The leak check that the sanitizer build makes of every program the
// end-to-end tests run: a GL program on a private X server, ended with Q.
// Its own leak must fail the test and be named; the GL driver's and the X
// libraries' leaks are suppressed by library name only.
#include "harness_gtest.h"

#include <string>

using namespace e2e;

namespace {

class LeakCheckTest : public ::testing::Test {
protected:
    // The probe with the options the test runs set, so that this test does
    // not depend on the environment ctest was started with.
    void startProbe(bool suppressions)
    {
        std::string lsan = "LSAN_OPTIONS=print_suppressions=0";
        if (suppressions)
            lsan += std::string(":suppressions=") + LSAN_SUPPRESSIONS;
        server_ = std::make_unique<XServer>();
        x_ = std::make_unique<XClient>(*server_);
        probe_ = std::make_unique<Process>(LEAK_PROBE_PATH, std::vector<std::string>{}, server_->display(), "",
                                           std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=1:abort_on_error=1", lsan});
        ASSERT_TRUE(probe_->waitForLine("ready", 20s)) << probe_->transcript();
        window_ = x_->waitForWindow("leak probe");
        x_->movePointer(window_, 50, 50);
    }
    void quit() { x_->tapKey('Q'); }

    std::unique_ptr<XServer> server_;
    std::unique_ptr<XClient> x_;
    std::unique_ptr<Process> probe_;
    Window window_ = 0;
};

TEST_F(LeakCheckTest, ProgramWithoutLeaksEndsCleanlyDespiteTheDriver)
{
    startProbe(true);
    quit();
    EXPECT_TRUE(endedCleanly(*probe_, true));
}

TEST_F(LeakCheckTest, ProgramsOwnLeakFailsAndIsNamed)
{
    startProbe(true);
    x_->tapKey('L');
    ASSERT_TRUE(probe_->waitForLine([](const std::string& l) { return l.rfind("leaked ", 0) == 0; }))
        << probe_->transcript();
    quit();
    EXPECT_FALSE(endedCleanly(*probe_, true)) << "a leak of the program itself was not reported";
    // Standard output holds only "ready" and "leaked <address>".
    std::string err = probe_->transcript();
    EXPECT_NE(err.find("ERROR: LeakSanitizer"), std::string::npos) << err;
    EXPECT_NE(err.find("40 byte(s) leaked in 1 allocation(s)"), std::string::npos)
        << "more than the program's own leak is left after the suppressions:\n" << err;
    EXPECT_NE(err.find("leakOnPurpose"), std::string::npos) << "the report does not name the leaking function:\n"
                                                            << err;
}

// Without the suppressions, the GL driver's leaks are reported, and under
// the driver's library name, which is what the suppressions match.
TEST_F(LeakCheckTest, DriverLeaksAreReportedUnderTheDriversName)
{
    startProbe(false);
    quit();
    ASSERT_TRUE(probe_->waitForExit(30s)) << probe_->transcript();
    probe_->waitForEndOfOutput(5s);
    std::string err = probe_->transcript();
    EXPECT_NE(err.find("ERROR: LeakSanitizer"), std::string::npos)
        << "no leak reported without the suppressions, so they are not tested:\n" << err;
    EXPECT_NE(err.find("swrast_dri.so"), std::string::npos) << "the driver's library is not named:\n" << err;
    EXPECT_EQ(err.find("<unknown module>"), std::string::npos) << err;
}

}  // namespace
