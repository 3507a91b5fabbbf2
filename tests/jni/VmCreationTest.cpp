#include "JniTest.h"

namespace {

// What a stand-in for JNI_CreateJavaVM was given; the launcher's option array is gone once the call returns.
JavaVMInitArgs seenArgs;
std::vector<std::pair<std::string, void*>> seenOptions;

jint JNICALL recordingCreate(JavaVM**, void**, void* args) {
    seenArgs = *static_cast<JavaVMInitArgs*>(args);
    for (jint i = 0; i < seenArgs.nOptions; ++i)
        seenOptions.emplace_back(seenArgs.options[i].optionString, seenArgs.options[i].extraInfo);
    return JNI_ENOMEM;
}

TEST(VmCreation, OptionsThenHooksAndNothingIgnored) {
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    EXPECT_EQ(createJavaVm(&recordingCreate, {"-Xmx64m", "-Dname=v\xC3\xA4lue"}, &vm, &env), JNI_ENOMEM);
    EXPECT_EQ(seenArgs.version, JNI_VERSION_1_2);
    EXPECT_EQ(seenArgs.ignoreUnrecognized, JNI_FALSE);
    const std::vector<std::pair<std::string, void*>> expected = {{"-Xmx64m", nullptr},
                                                                 {"-Dname=v\xC3\xA4lue", nullptr},
                                                                 {"abort", reinterpret_cast<void*>(&abortHook)},
                                                                 {"exit", reinterpret_cast<void*>(&exitHook)}};
    EXPECT_EQ(seenOptions, expected);
}

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

TEST(VmCreation, WhatEndsTheProcess) {
    EXPECT_EQ(runJniChild("exit-main 3"), 3);
    EXPECT_EQ(runJniChild("system-exit"), 255);
    EXPECT_EQ(runJniChild("create -Xss2m"), 0);
    for (const char* unknown : {"-XX:+KoruNoSuchFlag", "-Xkoru-no-such-option", "--koru-no-such-option"}) {
        int status = runJniChild(std::string("create ") + unknown);
        EXPECT_TRUE(status == -JNI_ERR || status == -JNI_EINVAL) << unknown << " gave " << status;
    }
}

// The main class lookup fails on the thread that created the VM; that thread ends, and the first thread must then
// be able to destroy the VM.
TEST(VmCreation, FailedStartLeavesTheVmDestroyable) {
    EXPECT_EQ(runJniChild("failed-start"), 0);
}

} // namespace
