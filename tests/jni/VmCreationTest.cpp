#include "JniTest.h"

#include "ChildProcess.h"

#include "jvm/VmCreation.h"

#include <cstring>

namespace {

// What a stand-in for JNI_CreateJavaVM saw; the launcher's option array is gone once the call returns.
struct SeenOption {
    std::string text;
    void* extraInfo;
};
struct SeenCreation {
    jint version = 0;
    jboolean ignoreUnrecognized = JNI_TRUE;
    std::vector<SeenOption> options;
};
SeenCreation seen;

jint JNICALL recordingCreate(JavaVM**, void**, void* args) {
    auto* initArgs = static_cast<JavaVMInitArgs*>(args);
    seen = SeenCreation{initArgs->version, initArgs->ignoreUnrecognized, {}};
    for (jint i = 0; i < initArgs->nOptions; ++i)
        seen.options.push_back({initArgs->options[i].optionString, initArgs->options[i].extraInfo});
    return JNI_ENOMEM;
}

TEST(CreateJavaVm, OptionsThenHooksAndNothingIgnored) {
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    EXPECT_EQ(createJavaVm(&recordingCreate, {"-Xmx64m", "", "-Dname=v\xC3\xA4lue"}, &vm, &env), JNI_ENOMEM);
    EXPECT_EQ(seen.version, JNI_VERSION_1_2);
    EXPECT_EQ(seen.ignoreUnrecognized, JNI_FALSE);
    ASSERT_EQ(seen.options.size(), 5u);
    EXPECT_EQ(seen.options[0].text, "-Xmx64m");
    EXPECT_EQ(seen.options[1].text, "");
    EXPECT_EQ(seen.options[2].text, "-Dname=v\xC3\xA4lue");
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(seen.options[i].extraInfo, nullptr);
    EXPECT_EQ(seen.options[3].text, "abort");
    EXPECT_EQ(seen.options[3].extraInfo, reinterpret_cast<void*>(&abortHook));
    EXPECT_EQ(seen.options[4].text, "exit");
    EXPECT_EQ(seen.options[4].extraInfo, reinterpret_cast<void*>(&exitHook));
}

TEST(CreateJavaVm, SecondVmInOneProcessIsRefused) {
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    jint result = createTestVm({}, &vm, &env);
    EXPECT_EQ(result, JNI_EEXIST);
    EXPECT_EQ(creationFailureReasonId(result), 229);
}

TEST(CreationFailureReason, EachJniErrorHasItsText) {
    const jint results[] = {JNI_ERR, JNI_EDETACHED, JNI_EVERSION, JNI_ENOMEM, JNI_EEXIST, JNI_EINVAL};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(creationFailureReasonId(results[i]), 225 + i);
    EXPECT_EQ(creationFailureReasonId(-7), 0);
    EXPECT_EQ(creationFailureReasonId(1), 0);
    EXPECT_EQ(creationFailureReasonId(-2147483647 - 1), 0);
}

// The JNI 1.1 record is 96 bytes on 64-bit systems, its javaStackSize 24 bytes in.
constexpr size_t recordSize = 96;
constexpr size_t stackSizeOffset = 24;
jint cannedStackSize = 0;
bool recordArrivedClean = false;

jint JNICALL cannedDefaults(void* args) {
    auto* bytes = static_cast<unsigned char*>(args);
    jint version = 0;
    std::memcpy(&version, bytes, sizeof version);
    recordArrivedClean = version == JNI_VERSION_1_1;
    for (size_t i = sizeof version; i < recordSize; ++i)
        recordArrivedClean = recordArrivedClean && bytes[i] == 0;
    if (cannedStackSize != 0)
        std::memcpy(bytes + stackSizeOffset, &cannedStackSize, sizeof cannedStackSize);
    return JNI_ERR;
}

TEST(QueryDefaultStackSize, OnlyAPositiveSizeCounts) {
    for (jint canned : {0, -4096, 262144}) {
        cannedStackSize = canned;
        recordArrivedClean = false;
        EXPECT_EQ(queryDefaultStackSize(&cannedDefaults), canned > 0 ? canned : 0);
        EXPECT_TRUE(recordArrivedClean);
    }
}

TEST(QueryDefaultStackSize, RealRuntimeFillsTheRecord) {
    jint size = queryDefaultStackSize(&JNI_GetDefaultJavaVMInitArgs);
    EXPECT_GE(size, 0);
    // HotSpot still answers a 1.1 request with its default stack size in whole kilobytes.
    EXPECT_GT(size, 0);
    EXPECT_EQ(size % 1024, 0);
}

// Children that create a JVM of their own and end their process through it.
ChildResult runJniChild(const std::vector<std::string>& arguments) {
    ChildResult result = runChild(KORU_JNI_CHILD, arguments, std::chrono::seconds(60));
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut) << "the child was killed after its time limit";
    EXPECT_EQ(result.signal, 0);
    return result;
}

TEST(ProcessEnd, SystemExitInMainEndsTheProcessWithItsStatus) {
    for (const char* status : {"0", "3", "42"})
        EXPECT_EQ(runJniChild({"exit-main", status}).exitStatus, std::stoi(status));
}

TEST(ProcessEnd, CallSystemExitEndsWithMinusOne) { EXPECT_EQ(runJniChild({"system-exit"}).exitStatus, 255); }

TEST(ProcessEnd, UnknownOptionIsNotIgnored) {
    for (const char* option : {"-XX:+KoruNoSuchFlag", "-Xkoru-no-such-option", "--koru-no-such-option"}) {
        ChildResult result = runJniChild({"create", option});
        EXPECT_GE(result.exitStatus, 1) << option;
        EXPECT_LE(result.exitStatus, 6) << option;
    }
}

TEST(ProcessEnd, KnownOptionStillCreates) { EXPECT_EQ(runJniChild({"create", "-Xss2m"}).exitStatus, 0); }

} // namespace
