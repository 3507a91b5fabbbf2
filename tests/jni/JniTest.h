#pragma once
// Tests on the JVM of the test process, made on first use (a process can create only one). Each test runs in a
// local frame of its own and must leave no Java exception pending. What ends or spoils a process runs in a child.
#include "JvmSupport.h"

#include "jvm/MainClass.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

// Runs koru_jni_child with the arguments, killed after a minute; its exit status, 137 when it was killed.
inline int runJniChild(const std::string& arguments) {
    int status = std::system(("timeout -s KILL 60 '" KORU_JNI_CHILD "' " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class JniTest : public testing::Test {
protected:
    void SetUp() override {
        static JNIEnv* processEnv = nullptr;
        JavaVM* vm = nullptr;
        // -Xcheck:jni reports misuse of JNI; the default charset of a Western Windows installation, which holds no
        // supplementary characters, shows whether text is lost to it.
        if (processEnv == nullptr) {
            ASSERT_EQ(createTestVm({"-Xcheck:jni", "-Dfile.encoding=windows-1252"}, &vm, &processEnv), JNI_OK);
        }
        env = processEnv;
        ASSERT_EQ(env->PushLocalFrame(64), JNI_OK);
    }

    void TearDown() override {
        if (env == nullptr) return;
        EXPECT_FALSE(env->ExceptionCheck()) << "a Java exception was left pending";
        env->ExceptionClear();
        env->PopLocalFrame(nullptr);
    }

    // main of koru.test.App with the arguments.
    MainOutcome runApp(const std::vector<std::wstring>& arguments, jthrowable& exception,
                       const std::function<void()>& beforeCall = nullptr) {
        MainMethod main;
        EXPECT_EQ(findMainMethod(env, L"koru/test/App", main), MainLookup::Found);
        return callMain(env, main, arguments, beforeCall, exception);
    }

    jobjectArray received() {
        jclass app = env->FindClass("koru/test/App");
        return static_cast<jobjectArray>(
            env->GetStaticObjectField(app, env->GetStaticFieldID(app, "received", "[Ljava/lang/String;")));
    }

    JNIEnv* env = nullptr;
};
