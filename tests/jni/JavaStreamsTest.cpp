#include "JniTest.h"

#include <fstream>
#include <sstream>

#include <stdlib.h>

namespace {

// Each case redirects in a child of its own, in a fresh folder, and prints "out " and "err " twice.
class JavaStreams : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(mkdtemp(&folder[0]), nullptr); }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    int redirect(const std::string& output, const std::string& error) {
        return runJniChild("redirect '" + folder + output + "' '" + folder + error + "'");
    }

    std::string content(const std::string& name) {
        std::ostringstream text;
        text << std::ifstream(folder + name).rdbuf();
        return text.str();
    }

    std::string folder = "/tmp/koru-streams-XXXXXX";
};

TEST_F(JavaStreams, EachStreamLandsInItsFile) {
    EXPECT_EQ(redirect("/out.txt", "/err.txt"), 0);
    EXPECT_EQ(content("/out.txt"), "out out ");
    EXPECT_EQ(content("/err.txt"), "err err ");
}

TEST_F(JavaStreams, OutputAndErrorOnOneFileKeepBothTexts) {
    EXPECT_EQ(redirect("/same.txt", "/same.txt"), 0);
    EXPECT_EQ(content("/same.txt"), "out err out err ");
}

TEST_F(JavaStreams, FailedOutputLeavesItsStreamAndStillRedirectsErrors) {
    EXPECT_EQ(redirect("/missing/out.txt", "/err.txt"), 0) << "described, not left pending, and System.out still works";
    EXPECT_EQ(content("/err.txt"), "err err ");
}

} // namespace
