// Forwarded starts served on threads of their own against the real VM: which form is called, when the reply is
// made, and whether the thread stays attached.
#include "JniTest.h"

#include "jvm/SecondaryMain.h"

#include <thread>

namespace {

using Texts = std::vector<std::wstring>;

const char* const forwarded = "koru/test/Forwarded";
const char* const forwardedInt = "koru/test/ForwardedInt";

struct Served {
    std::vector<int32_t> replies;
    bool calledBeforeReply = false;
    bool attachedAfterwards = false;
};

jobjectArray receivedBy(JNIEnv* env, const char* className) {
    jclass type = env->FindClass(className);
    jobject value = env->GetStaticObjectField(type, env->GetStaticFieldID(type, "received", "[Ljava/lang/String;"));
    env->DeleteLocalRef(type);
    return static_cast<jobjectArray>(value);
}

JNIEnv* threadEnv(JavaVM* vm) {
    JNIEnv* env = nullptr;
    return vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_2) == JNI_OK ? env : nullptr;
}

class SecondaryMainTest : public JniTest {
protected:
    void SetUp() override {
        JniTest::SetUp();
        ASSERT_EQ(env->GetJavaVM(&vm), JNI_OK);
    }

    void forget(const char* className) {
        jclass type = env->FindClass(className);
        env->SetStaticObjectField(type, env->GetStaticFieldID(type, "received", "[Ljava/lang/String;"), nullptr);
    }

    // On a thread of its own, as a request thread is. At the reply, `probe` tells whether secondaryMain has run.
    Served serve(const char* className, const char* probe, const Texts& arguments, bool keepAlive) {
        Served served;
        ForwardedStart start{widen(className), arguments, keepAlive};
        std::thread thread([&] {
            serveForwardedStart(vm, start, [&](int32_t value) {
                served.replies.push_back(value);
                JNIEnv* requestEnv = threadEnv(vm);
                served.calledBeforeReply =
                    requestEnv != nullptr && !requestEnv->ExceptionCheck() && receivedBy(requestEnv, probe) != nullptr;
            });
            served.attachedAfterwards = threadEnv(vm) != nullptr;
            if (served.attachedAfterwards)
                vm->DetachCurrentThread();
        });
        thread.join();
        return served;
    }

    Texts received(const char* className) {
        Texts texts;
        jobjectArray array = receivedBy(env, className);
        for (jsize i = 0; array != nullptr && i < env->GetArrayLength(array); ++i) {
            auto element = static_cast<jstring>(env->GetObjectArrayElement(array, i));
            std::u16string units = javaUnits(env, element);
            texts.emplace_back(units.begin(), units.end());
        }
        return texts;
    }

    JavaVM* vm = nullptr;
};

TEST_F(SecondaryMainTest, FormsRepliesAndAttachment) {
    struct Case {
        const char* className;
        const char* probe; // the class whose secondaryMain may have run
        Texts arguments;
        bool keepAlive;
        int32_t reply;
        bool calledBeforeReply;
        Texts received;
    };
    const Case cases[] = {
        {forwarded, forwarded, {L"a", L"b"}, false, 0, false, {L"a", L"b"}},
        {forwarded, forwarded, {L""}, true, 0, false, {L""}},
        {forwardedInt, forwardedInt, {L"4660", L"x"}, false, 4660, true, {L"4660", L"x"}},
        {forwardedInt, forwardedInt, {L"-2"}, true, -2, true, {L"-2"}},
        // The int form threw: the reply says so. Its error is still pending then, so the probe cannot look.
        {forwardedInt, forwardedInt, {L"not a number"}, false, -1, false, {L"not a number"}},
        {"koru/test/NoMain", forwarded, {L"a"}, false, -1, false, {}},
        {"koru/test/Missing", forwarded, {L"a"}, false, -1, false, {}},
    };
    for (const Case& c : cases) {
        forget(forwarded);
        forget(forwardedInt);
        Served served = serve(c.className, c.probe, c.arguments, c.keepAlive);
        EXPECT_EQ(served.replies, std::vector<int32_t>{c.reply}) << c.className;
        EXPECT_EQ(served.calledBeforeReply, c.calledBeforeReply) << c.className;
        EXPECT_EQ(served.attachedAfterwards, c.keepAlive) << c.className;
        EXPECT_EQ(received(c.probe), c.received) << c.className;
    }
}

TEST_F(SecondaryMainTest, ConcurrentStartsEachGetTheirOwnReply) {
    std::vector<int32_t> replies(16, 0);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < replies.size(); ++i) {
        threads.emplace_back([this, i, &replies] {
            ForwardedStart start{widen(forwardedInt), {std::to_wstring(i + 100)}, false};
            serveForwardedStart(vm, start, [&replies, i](int32_t value) { replies[i] = value; });
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (size_t i = 0; i < replies.size(); ++i)
        EXPECT_EQ(replies[i], int32_t(i + 100));
}

} // namespace
