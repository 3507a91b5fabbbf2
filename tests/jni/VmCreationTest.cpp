#include "JniTest.h"

namespace {

TEST(VmCreation, ReasonsAndTheRuntimesDefaultStackSize) {
    const jint results[] = {JNI_ERR, JNI_EDETACHED, JNI_EVERSION, JNI_ENOMEM, JNI_EEXIST, JNI_EINVAL};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(creationFailureReasonId(results[i]), 225 + i);
    for (jint other : {-7, 0, 1, -2147483647 - 1})
        EXPECT_EQ(creationFailureReasonId(other), 0);
    // HotSpot still answers a JNI 1.1 request with its default stack size in whole kilobytes.
    jint size = queryDefaultStackSize(&JNI_GetDefaultJavaVMInitArgs);
    EXPECT_GT(size, 0);
    EXPECT_EQ(size % 1024, 0);
}

// With the launcher's "exit" hook the VM still ends the process with the status given to System.exit.
TEST(VmCreation, SystemExitInMainEndsTheProcessWithItsStatus) {
    EXPECT_EQ(runJniChild("exit-main 3"), 3);
}

// The main class lookup fails on the thread that created the VM; that thread ends, and the first thread must then
// be able to destroy the VM.
TEST(VmCreation, FailedStartLeavesTheVmDestroyable) {
    EXPECT_EQ(runJniChild("failed-start"), 0);
}

} // namespace
