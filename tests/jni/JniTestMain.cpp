// One JVM serves every test of this process: a process can create only one.
#include "JvmSupport.h"

#include <gtest/gtest.h>

namespace {

class JvmEnvironment : public testing::Environment {
public:
    void SetUp() override {
        JNIEnv* env = nullptr;
        // -Xcheck:jni reports misuse of JNI by the code under test. The default charset of a Western Windows
        // installation, which holds no supplementary characters, shows whether text is lost to it.
        ASSERT_EQ(createTestVm({"-Xcheck:jni", "-Dfile.encoding=windows-1252"}, &vm_, &env), JNI_OK);
        setTestEnv(env);
    }

    void TearDown() override {
        if (vm_ != nullptr)
            vm_->DestroyJavaVM();
        setTestEnv(nullptr);
    }

private:
    JavaVM* vm_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new JvmEnvironment);
    return RUN_ALL_TESTS();
}
