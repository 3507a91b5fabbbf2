#pragma once
// Base of the tests that use the process's JVM: each test runs in a local frame of its own and must leave no
// Java exception pending.
#include "JvmSupport.h"

#include <gtest/gtest.h>

class JniTest : public testing::Test {
protected:
    void SetUp() override {
        env = testEnv();
        ASSERT_NE(env, nullptr);
        ASSERT_EQ(env->PushLocalFrame(64), JNI_OK);
    }

    void TearDown() override {
        if (env == nullptr)
            return;
        EXPECT_FALSE(env->ExceptionCheck()) << "a Java exception was left pending";
        env->ExceptionClear();
        env->PopLocalFrame(nullptr);
    }

    jobject staticField(const char* className, const char* name, const char* signature) {
        jclass type = env->FindClass(className);
        return env->GetStaticObjectField(type, env->GetStaticFieldID(type, name, signature));
    }

    JNIEnv* env = nullptr;
};
