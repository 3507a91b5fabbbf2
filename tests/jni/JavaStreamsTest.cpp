#include "JniTest.h"

#include "jvm/JavaStreams.h"
#include "jvm/MainClass.h"

#include <fstream>
#include <sstream>

#include <stdlib.h>
#include <unistd.h>

namespace {

std::string fileContent(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// Redirects in a fresh folder and puts System.out and System.err back afterwards.
class JavaStreamsTest : public JniTest {
protected:
    void SetUp() override {
        JniTest::SetUp();
        char pattern[] = "/tmp/koru-streams-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        savedOut = env->NewGlobalRef(systemStream("out"));
        savedErr = env->NewGlobalRef(systemStream("err"));
    }

    void TearDown() override {
        restoreStreams();
        env->DeleteGlobalRef(savedOut);
        env->DeleteGlobalRef(savedErr);
        for (const char* name : {"out.txt", "err.txt", "same.txt"})
            unlink((folder + "/" + name).c_str());
        rmdir(folder.c_str());
        JniTest::TearDown();
    }

    void restoreStreams() {
        setSystemStream("setOut", savedOut);
        setSystemStream("setErr", savedErr);
    }

    jobject systemStream(const char* name) { return staticField("java/lang/System", name, "Ljava/io/PrintStream;"); }

    void setSystemStream(const char* setter, jobject stream) {
        jclass system = env->FindClass("java/lang/System");
        env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, setter, "(Ljava/io/PrintStream;)V"), stream);
        EXPECT_FALSE(env->ExceptionCheck());
    }

    void print(const std::wstring& out, const std::wstring& err) {
        MainMethod main;
        ASSERT_EQ(findMainMethod(env, L"koru/test/Printer", main), MainLookup::Found);
        jthrowable exception = nullptr;
        EXPECT_EQ(callMain(env, main, {out, err}, nullptr, exception), MainOutcome::Returned);
    }

    std::string path(const char* name) { return folder + "/" + name; }

    std::string folder;
    jobject savedOut = nullptr;
    jobject savedErr = nullptr;
};

TEST_F(JavaStreamsTest, EachStreamLandsInItsFile) {
    ASSERT_TRUE(redirectStandardStream(env, StandardStream::Output, widen(path("out.txt"))));
    ASSERT_TRUE(redirectStandardStream(env, StandardStream::Error, widen(path("err.txt"))));
    print(L"to standard output", L"to standard error");
    EXPECT_EQ(fileContent(path("out.txt")), "to standard output");
    EXPECT_EQ(fileContent(path("err.txt")), "to standard error");
}

TEST_F(JavaStreamsTest, EveryRedirectionStartsTheFileAfresh) {
    for (StandardStream which : {StandardStream::Output, StandardStream::Error}) {
        bool toOutput = which == StandardStream::Output;
        ASSERT_TRUE(redirectStandardStream(env, which, widen(path("same.txt"))));
        print(toOutput ? L"first and rather longer content" : L"", toOutput ? L"" : L"first and rather longer content");
        ASSERT_EQ(fileContent(path("same.txt")), "first and rather longer content");
        ASSERT_TRUE(redirectStandardStream(env, which, widen(path("same.txt"))));
        EXPECT_EQ(fileContent(path("same.txt")), "") << "truncated as soon as it is opened";
        print(toOutput ? L"second" : L"", toOutput ? L"" : L"second");
        EXPECT_EQ(fileContent(path("same.txt")), "second");
        restoreStreams();
    }
}

TEST_F(JavaStreamsTest, OutputAndErrorOnOneFileKeepBothTexts) {
    redirectStandardStreams(env, widen(path("same.txt")), widen(path("same.txt")));
    print(L"out ", L"err ");
    print(L"OUT", L"ERR");
    EXPECT_EQ(fileContent(path("same.txt")), "out err OUTERR");
    EXPECT_TRUE(env->IsSameObject(systemStream("out"), systemStream("err")));
}

TEST_F(JavaStreamsTest, BothStreamsAtOnceEachInItsFileOrLeftAlone) {
    redirectStandardStreams(env, widen(path("out.txt")), widen(path("err.txt")));
    print(L"to standard output", L"to standard error");
    EXPECT_EQ(fileContent(path("out.txt")), "to standard output");
    EXPECT_EQ(fileContent(path("err.txt")), "to standard error");
    restoreStreams();

    jobject before = env->NewGlobalRef(systemStream("out"));
    redirectStandardStreams(env, L"", widen(path("err.txt")));
    EXPECT_TRUE(env->IsSameObject(systemStream("out"), before));
    env->DeleteGlobalRef(before);
}

TEST_F(JavaStreamsTest, FailedOutputDoesNotStopTheErrorRedirection) {
    jobject before = env->NewGlobalRef(systemStream("out"));
    redirectStandardStreams(env, widen(path("missing/out.txt")), widen(path("missing/out.txt")));
    EXPECT_FALSE(env->ExceptionCheck()) << "the errors are described, not left pending";
    EXPECT_TRUE(env->IsSameObject(systemStream("out"), before));
    env->DeleteGlobalRef(before);
    redirectStandardStreams(env, widen(path("missing/out.txt")), widen(path("err.txt")));
    print(L"", L"error text");
    EXPECT_EQ(fileContent(path("err.txt")), "error text");
}

TEST_F(JavaStreamsTest, MissingFolderLeavesTheStreamAsItWas) {
    for (StandardStream which : {StandardStream::Output, StandardStream::Error}) {
        const char* name = which == StandardStream::Output ? "out" : "err";
        jobject before = systemStream(name);
        EXPECT_FALSE(redirectStandardStream(env, which, widen(path("missing/out.txt"))));
        ASSERT_TRUE(env->ExceptionCheck()) << "the file error is left for the caller to describe";
        jthrowable error = env->ExceptionOccurred();
        env->ExceptionClear();
        EXPECT_TRUE(env->IsInstanceOf(error, env->FindClass("java/io/FileNotFoundException")));
        EXPECT_TRUE(env->IsSameObject(systemStream(name), before));
    }
}

TEST_F(JavaStreamsTest, PrintStreamOnAFolderIsRefused) {
    EXPECT_EQ(openFilePrintStream(env, widen(folder)), nullptr);
    EXPECT_TRUE(env->ExceptionCheck());
    env->ExceptionClear();
}

} // namespace
