// The VM's creation and what ends, blocks or redirects a process, each process in a child of its own.
#include "JvmSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Runs koru_jni_child with the arguments, killed after a minute; its exit status, 137 when it was killed.
int runJniChild(const std::string& arguments) {
    int status = std::system(("timeout -s KILL 60 '" KORU_JNI_CHILD "' " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(VmCreation, ReasonsAndTheRuntimesDefaultStackSize) {
    // JNI_ERR (-1) to JNI_EINVAL (-6) name texts 225 to 230; other results have no text.
    for (jint result : {-1, -6, -7, 0, -2147483647 - 1})
        EXPECT_EQ(creationFailureReasonId(result), result < -6 || result > -1 ? 0 : 224 - result) << result;
    // HotSpot still answers a JNI 1.1 request with its default stack size in whole kilobytes.
    jint size = queryDefaultStackSize(&JNI_GetDefaultJavaVMInitArgs);
    EXPECT_GT(size, 0);
    EXPECT_EQ(size % 1024, 0);
}

// With the launcher's "exit" hook the VM still ends the process with the status given to System.exit.
TEST(VmCreation, SystemExitInMainEndsTheProcessWithItsStatus) { EXPECT_EQ(runJniChild("exit-main 3"), 3); }

// The main class lookup fails on the thread that created the VM; that thread ends, and the first thread must then
// be able to destroy the VM.
TEST(VmCreation, FailedStartLeavesTheVmDestroyable) { EXPECT_EQ(runJniChild("failed-start"), 0); }

// Each redirection runs in a child of its own, which prints "out " and "err " twice.
TEST(JavaStreams, EachStreamInItsFileOneFileForBothAndAFailureLeavesTheStream) {
    std::string folder = "/tmp/koru-streams-XXXXXX";
    ASSERT_NE(mkdtemp(&folder[0]), nullptr);
    auto redirect = [&](const std::string& output, const std::string& error) {
        return runJniChild("redirect '" + folder + output + "' '" + folder + error + "'");
    };
    auto content = [&](const std::string& name) {
        std::ostringstream text;
        text << std::ifstream(folder + name).rdbuf();
        return text.str();
    };
    EXPECT_EQ(redirect("/out.txt", "/err.txt"), 0);
    EXPECT_EQ(content("/out.txt") + "|" + content("/err.txt"), "out out |err err ");
    EXPECT_EQ(redirect("/same.txt", "/same.txt"), 0);
    EXPECT_EQ(content("/same.txt"), "out err out err ");
    EXPECT_EQ(redirect("/missing/out.txt", "/error.txt"), 0) << "described, not left pending; System.out still works";
    EXPECT_EQ(content("/error.txt"), "err err ");
    std::system(("rm -rf '" + folder + "'").c_str());
}

} // namespace
