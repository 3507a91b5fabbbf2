// Forwarded starts served on threads of their own against the real VM: which form is called, when the reply is
// made, and whether the thread stays attached.
#include "JniTest.h"

#include "jvm/SecondaryMain.h"

#include <thread>

namespace {

using Texts = std::vector<std::wstring>;

// What the probe class's secondaryMain kept (null when it has not run), forgotten afterwards when asked.
jobjectArray received(JNIEnv* env, const char* probe, bool forget) {
    jclass type = env->FindClass(probe);
    jfieldID field = env->GetStaticFieldID(type, "received", "[Ljava/lang/String;");
    auto array = static_cast<jobjectArray>(env->GetStaticObjectField(type, field));
    if (forget)
        env->SetStaticObjectField(type, field, nullptr);
    return array;
}

TEST_F(JniTest, SecondaryMainFormsRepliesAndAttachment) {
    const char* const voidForm = "koru/test/Forwarded";
    const char* const intForm = "koru/test/ForwardedInt";
    const struct {
        const char* className;
        const char* probe; // the class whose secondaryMain may run
        Texts arguments;
        bool keepAlive;
        int32_t reply;
        bool calledBeforeReply; // an int form that threw leaves its error pending: the probe cannot look
        Texts received;
    } cases[] = {
        {voidForm, voidForm, {L"a", L"b"}, false, 0, false, {L"a", L"b"}},
        {intForm, intForm, {L"-2", L""}, true, -2, true, {L"-2", L""}},
        {intForm, intForm, {L"not a number"}, false, -1, false, {L"not a number"}},
        {"koru/test/NoMain", voidForm, {L"a"}, false, -1, false, {}},
        {"koru/test/Missing", voidForm, {L"a"}, false, -1, false, {}},
    };
    JavaVM* vm = nullptr;
    ASSERT_EQ(env->GetJavaVM(&vm), JNI_OK);
    for (const auto& c : cases) {
        received(env, c.probe, true);
        std::vector<int32_t> replies;
        bool called = false;
        JNIEnv* requestEnv = nullptr;
        std::thread request([&] {
            serveForwardedStart(vm, {widen(c.className), c.arguments, c.keepAlive}, [&](int32_t value) {
                replies.push_back(value);
                vm->GetEnv(reinterpret_cast<void**>(&requestEnv), JNI_VERSION_1_2);
                called = !requestEnv->ExceptionCheck() && received(requestEnv, c.probe, false) != nullptr;
            });
            requestEnv = nullptr;
            if (vm->GetEnv(reinterpret_cast<void**>(&requestEnv), JNI_VERSION_1_2) == JNI_OK)
                vm->DetachCurrentThread();
        });
        request.join();
        EXPECT_EQ(replies, std::vector<int32_t>{c.reply}) << c.className;
        EXPECT_EQ(called, c.calledBeforeReply) << c.className;
        EXPECT_EQ(requestEnv != nullptr, c.keepAlive) << c.className << ": still attached afterwards";
        Texts texts;
        jobjectArray array = received(env, c.probe, true);
        for (jsize i = 0; array != nullptr && i < env->GetArrayLength(array); ++i) {
            std::u16string units = javaUnits(env, static_cast<jstring>(env->GetObjectArrayElement(array, i)));
            texts.emplace_back(units.begin(), units.end());
        }
        EXPECT_EQ(texts, c.received) << c.className;
    }
}

} // namespace
