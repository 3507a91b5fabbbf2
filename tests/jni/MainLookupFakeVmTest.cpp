// Outcomes of the main class lookup that the real VM does not produce on demand (no error pending where one is
// expected, names the VM cannot take), played by a JNI function table of our own.
#include "jvm/MainClass.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>

namespace {

// Modified UTF-8 of "koru/App" followed by U+1D11E as two surrogate sequences.
const char* const nameBytes = "koru/App\xED\xA0\xB4\xED\xB4\x9E";

struct FakeVm {
    bool charArrayFails = false;
    bool utfFails = false;
    bool classMissing = false;
    bool methodMissing = false;
    bool raiseOnFailure = true;
    bool pending = false;
    int describes = 0;
    int utfHandedOut = 0;
    int utfReleased = 0;
    std::string classAskedFor;
};
FakeVm vm;

char anyObject;
char anyMethod;
jobject object() { return reinterpret_cast<jobject>(&anyObject); }

jobject failWith(bool raise) {
    vm.pending = raise;
    return nullptr;
}

jclass JNICALL findClass(JNIEnv*, const char* name) {
    vm.classAskedFor = name;
    bool missing = vm.classMissing && std::strcmp(name, "java/lang/String") != 0;
    return static_cast<jclass>(missing ? failWith(vm.raiseOnFailure) : object());
}

jmethodID JNICALL getMethodID(JNIEnv*, jclass, const char*, const char*) {
    return reinterpret_cast<jmethodID>(&anyMethod);
}

jmethodID JNICALL getStaticMethodID(JNIEnv*, jclass, const char*, const char*) {
    if (vm.methodMissing)
        return reinterpret_cast<jmethodID>(failWith(vm.raiseOnFailure));
    return reinterpret_cast<jmethodID>(&anyMethod);
}

jcharArray JNICALL newCharArray(JNIEnv*, jsize) {
    return static_cast<jcharArray>(vm.charArrayFails ? failWith(true) : object());
}

void JNICALL setCharArrayRegion(JNIEnv*, jcharArray, jsize, jsize, const jchar*) {}
jobject JNICALL newObjectV(JNIEnv*, jclass, jmethodID, va_list) { return object(); }
void JNICALL deleteLocalRef(JNIEnv*, jobject) {}
jboolean JNICALL exceptionCheck(JNIEnv*) { return vm.pending ? JNI_TRUE : JNI_FALSE; }

void JNICALL exceptionDescribe(JNIEnv*) {
    ++vm.describes;
    vm.pending = false;
}

const char* JNICALL getStringUtfChars(JNIEnv*, jstring, jboolean*) {
    if (vm.utfFails)
        return static_cast<const char*>(static_cast<void*>(failWith(true)));
    ++vm.utfHandedOut;
    return nameBytes;
}

void JNICALL releaseStringUtfChars(JNIEnv*, jstring, const char* chars) {
    if (chars == nameBytes)
        ++vm.utfReleased;
}

class MainLookupFakeVm : public testing::Test {
protected:
    void SetUp() override {
        vm = FakeVm();
        table.FindClass = findClass;
        table.GetMethodID = getMethodID;
        table.GetStaticMethodID = getStaticMethodID;
        table.NewCharArray = newCharArray;
        table.SetCharArrayRegion = setCharArrayRegion;
        table.NewObjectV = newObjectV;
        table.DeleteLocalRef = deleteLocalRef;
        table.ExceptionCheck = exceptionCheck;
        table.ExceptionDescribe = exceptionDescribe;
        table.GetStringUTFChars = getStringUtfChars;
        table.ReleaseStringUTFChars = releaseStringUtfChars;
        env.functions = &table;
    }

    void TearDown() override { EXPECT_EQ(vm.utfReleased, vm.utfHandedOut) << "modified UTF-8 chars were leaked"; }

    MainLookup lookUp() { return findMainMethod(&env, L"koru/App\U0001D11E", found); }

    JNINativeInterface_ table{};
    JNIEnv env{};
    MainMethod found;
};

TEST_F(MainLookupFakeVm, MainMissingWhenNoErrorIsPending) {
    vm.methodMissing = true;
    vm.raiseOnFailure = false;
    EXPECT_EQ(lookUp(), MainLookup::MainMissing);
    EXPECT_EQ(vm.describes, 0);
    EXPECT_EQ(found.classNameAsPassed, L"koru/App\U0001D11E");
}

TEST_F(MainLookupFakeVm, MainLookupErrorIsDescribed) {
    vm.methodMissing = true;
    EXPECT_EQ(lookUp(), MainLookup::MainLookupFailed);
    EXPECT_EQ(vm.describes, 1);
    EXPECT_FALSE(vm.pending);
}

TEST_F(MainLookupFakeVm, ClassIsAskedForByTheExactBytesAndTheNameIsKept) {
    vm.classMissing = true;
    EXPECT_EQ(lookUp(), MainLookup::ClassNotFound);
    EXPECT_EQ(vm.classAskedFor, nameBytes);
    EXPECT_EQ(found.classNameAsPassed, L"koru/App\U0001D11E");
    EXPECT_EQ(vm.describes, 1);
    EXPECT_EQ(vm.utfReleased, 1);
}

TEST_F(MainLookupFakeVm, UnreadableNameIsDescribed) {
    vm.utfFails = true;
    EXPECT_EQ(lookUp(), MainLookup::NameUnreadable);
    EXPECT_EQ(vm.describes, 1);
}

TEST_F(MainLookupFakeVm, NameThatCannotBecomeAJavaString) {
    vm.charArrayFails = true;
    EXPECT_EQ(lookUp(), MainLookup::NameNotConvertible);
    EXPECT_FALSE(vm.pending) << "the VM's error is described rather than left behind";
}

TEST_F(MainLookupFakeVm, FoundKeepsClassAndMethod) {
    EXPECT_EQ(lookUp(), MainLookup::Found);
    EXPECT_NE(found.mainClass, nullptr);
    EXPECT_NE(found.method, nullptr);
    EXPECT_EQ(vm.utfReleased, 1);
}

} // namespace
