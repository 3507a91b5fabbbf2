#include "SingleInstanceListener.h"

#include "jvm/SecondaryMain.h"
#include "support/ExceptionGuard.h"

#include <cstring>
#include <memory>

namespace {

struct ListenerStart {
    Launcher& launcher;
    HANDLE queueReady;
};

// What a request thread needs, its own copy: the thread is not waited for at shutdown.
struct ForwardRequest {
    DWORD requester = 0;
    UINT messageId = 0;
    UniqueHandle readyEvent;
    JavaLaunch* java = nullptr;
    ForwardedStart start;
};

void postReply(DWORD requester, UINT messageId, int32_t value) {
    // Sign-extended; the later instance reads the low 32 bits.
    PostThreadMessageW(requester, messageId, static_cast<WPARAM>(static_cast<INT_PTR>(value)), 0);
}

DWORD WINAPI requestThreadProc(void* parameter) {
    std::unique_ptr<ForwardRequest> request(static_cast<ForwardRequest*>(parameter));
    bool replied = false;
    auto reply = [&request, &replied](int32_t value) {
        replied = true;
        postReply(request->requester, request->messageId, value);
    };
    bool served = guardedStep(false, [&] {
        // Nothing reaches Java before main has been called.
        if (WaitForSingleObject(request->readyEvent.get(), INFINITE) != WAIT_OBJECT_0)
            return false;
        serveForwardedStart(request->java->javaVm, request->start, reply);
        return true;
    });
    if (!served && !replied)
        reply(failedForwardReply);
    return 0;
}

StringList argumentsInBlock(const InstanceBlock& block) {
    char16_t area[readableArgumentUnits];
    std::memcpy(area, block.arguments, sizeof(area));
    return decodeForwardedArguments(area, readableArgumentUnits);
}

std::unique_ptr<ForwardRequest> newRequest(Launcher& launcher, DWORD requester) {
    auto request = std::make_unique<ForwardRequest>();
    request->requester = requester;
    request->messageId = launcher.instance.messageId;
    request->java = &launcher.java;
    request->start.mainClass = launcher.java.mainClass;
    request->start.keepAlive = launcher.java.keepAlive;
    request->start.arguments = argumentsInBlock(*launcher.instance.block());
    HANDLE event = nullptr;
    HANDLE self = GetCurrentProcess();
    DuplicateHandle(self, launcher.java.readyEvent.get(), self, &event, SYNCHRONIZE, FALSE, 0);
    request->readyEvent.reset(event);
    return request;
}

// The arguments are copied here, before any wait, so that the next later start may write its own at once.
bool startRequestThread(Launcher& launcher, DWORD requester) {
    std::unique_ptr<ForwardRequest> request = newRequest(launcher, requester);
    if (launcher.instance.argumentsRead)
        SetEvent(launcher.instance.argumentsRead.get());
    HANDLE thread = CreateThread(nullptr, 0, requestThreadProc, request.get(), 0, nullptr);
    if (!thread)
        return false;
    request.release();
    CloseHandle(thread);
    return true;
}

void acceptRequest(Launcher& launcher, DWORD requester) {
    if (!guardedStep(false, [&] { return startRequestThread(launcher, requester); }))
        postReply(requester, launcher.instance.messageId, failedForwardReply);
}

DWORD WINAPI listenerThreadProc(void* parameter) {
    Launcher& launcher = static_cast<ListenerStart*>(parameter)->launcher;
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // creates this thread's queue
    SetEvent(static_cast<ListenerStart*>(parameter)->queueReady);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == launcher.instance.messageId)
            acceptRequest(launcher, static_cast<DWORD>(message.wParam));
    }
    return 0;
}

} // namespace

bool startListener(Launcher& launcher) {
    UniqueHandle queueReady(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!queueReady)
        return false;
    ListenerStart start{launcher, queueReady.get()};
    // The thread id goes straight into the shared block.
    auto* threadId = reinterpret_cast<DWORD*>(&launcher.instance.block()->listenerThreadId);
    UniqueHandle thread(CreateThread(nullptr, 0, listenerThreadProc, &start, 0, threadId));
    if (!thread)
        return false;
    HANDLE handles[] = {queueReady.get(), thread.get()};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0)
        return false;
    launcher.instance.listenerThread = std::move(thread);
    return true;
}

bool stopListener(Launcher& launcher) {
    HANDLE thread = launcher.instance.listenerThread.get();
    DWORD threadId = GetThreadId(thread);
    for (int round = 0; round < 50; ++round) {
        PostThreadMessageW(threadId, WM_QUIT, 0, 0);
        if (WaitForSingleObject(thread, 100) != WAIT_TIMEOUT)
            return true;
    }
    return false;
}
