#include "SingleInstanceListener.h"

#include "jvm/SecondaryMain.h"
#include "support/ProcessIdentity.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>

// What the listener and the request threads work with, shared with them: none of them reads the launcher, which
// ends with the entry point, and none waits for ever once the start is ending.
struct ForwardedStarts {
    InstanceBlock* block = nullptr;
    UINT messageId = 0;
    UniqueHandle argumentsRead;
    UniqueHandle ready;  // set just before main is called
    UniqueHandle ending; // set when the start ends: requests that have not reached Java by then never will
    std::wstring mainClass;
    std::wstring mainModule;
    bool keepAlive = false;
    std::atomic<int> pending{0};

    // The VM, read once the ready event is set; none once the launcher has let go of it, as it ends.
    std::optional<JavaVM*> vm() {
        std::lock_guard<std::mutex> hold(javaLock);
        return java ? std::optional<JavaVM*>(java->javaVm) : std::nullopt;
    }
    std::mutex javaLock;
    const JavaLaunch* java = nullptr;
};

namespace {

// A few dozen forwarded starts may wait for the application at once; one beyond that is answered at once.
constexpr int maxPendingRequests = 32;

struct ListenerStart {
    std::shared_ptr<ForwardedStarts> starts;
    HANDLE queueReady;
};

struct ForwardRequest {
    std::shared_ptr<ForwardedStarts> starts;
    DWORD requester = 0;
    ForwardedStart start;
};

void postReply(const ForwardedStarts& starts, DWORD requester, int32_t value, LPARAM mark = 0) {
    // Sign-extended; the later instance reads the low 32 bits.
    PostThreadMessageW(requester, starts.messageId, static_cast<WPARAM>(static_cast<INT_PTR>(value)), mark);
}

// Waits until main has been called, or the start is ending; the VM to serve the request in, none when ending.
std::optional<JavaVM*> vmOnceReady(ForwardedStarts& starts) {
    HANDLE events[] = {starts.ready.get(), starts.ending.get()};
    return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 ? starts.vm() : std::nullopt;
}

// Hands the start to Java once it is ready; false when no reply has been posted.
bool serveRequest(ForwardedStarts& starts, const ForwardRequest& request, const ForwardReply& reply) {
    std::optional<JavaVM*> vm = vmOnceReady(starts);
    // Ready with no VM: the event was set by someone else, and this request fails as any other that cannot be served.
    if (vm && *vm == nullptr)
        return false;
    if (vm && serveForwardedStart(*vm, request.start, reply))
        return true;
    // A start that never reached Java, as this one was ending, is told so and settles its role again.
    postReply(starts, request.requester, failedForwardReply, requestNotTaken);
    return true;
}

DWORD WINAPI requestThreadProc(void* parameter) {
    std::unique_ptr<ForwardRequest> request(static_cast<ForwardRequest*>(parameter));
    ForwardedStarts& starts = *request->starts;
    auto reply = [&](int32_t value) { postReply(starts, request->requester, value); };
    if (!serveRequest(starts, *request, reply))
        reply(failedForwardReply);
    --starts.pending;
    return 0;
}

// Only this program, run by this user, hands arguments to the application; anyone else's post is not answered.
bool fromThisProgramAndUser(DWORD threadId) {
    UniqueHandle thread(OpenThread(THREAD_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, threadId));
    if (!thread || WaitForSingleObject(thread.get(), 0) != WAIT_TIMEOUT)
        return false;
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, GetProcessIdOfThread(thread.get())));
    return runsThisProgramForThisUser(process.get());
}

StringList takeArguments(InstanceBlock& block) {
    char16_t area[readableArgumentUnits];
    std::memcpy(area, block.arguments, sizeof(area));
    clearForwardedArguments(block);
    return decodeForwardedArguments(area, readableArgumentUnits);
}

bool startRequestThread(std::unique_ptr<ForwardRequest> request) {
    ForwardedStarts& starts = *request->starts;
    if (++starts.pending > maxPendingRequests) {
        --starts.pending;
        return false;
    }
    HANDLE thread = CreateThread(nullptr, 0, requestThreadProc, request.get(), 0, nullptr);
    if (!thread) {
        --starts.pending;
        return false;
    }
    request.release();
    CloseHandle(thread);
    return true;
}

// The arguments are taken here, before any wait, so that the next later start may write its own at once. A request
// whose requester's tag is not in the area was overwritten, after its start ended with the arguments lock held: it
// is not served with another start's arguments.
void acceptRequest(const std::shared_ptr<ForwardedStarts>& starts, DWORD requester) {
    if (!fromThisProgramAndUser(requester))
        return;
    InstanceBlock& block = *starts->block;
    uint32_t tag = sharedWord(block, requesterTagOffset);
    if (tag != 0 && tag != requester)
        return postReply(*starts, requester, failedForwardReply, requestNotTaken);
    auto request = std::make_unique<ForwardRequest>();
    request->starts = starts;
    request->requester = requester;
    request->start = {starts->mainClass, starts->mainModule, takeArguments(block), starts->keepAlive};
    SetEvent(starts->argumentsRead.get());
    if (!startRequestThread(std::move(request)))
        postReply(*starts, requester, failedForwardReply);
}

DWORD WINAPI listenerThreadProc(void* parameter) {
    auto* start = static_cast<ListenerStart*>(parameter);
    std::shared_ptr<ForwardedStarts> starts = start->starts;
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // creates this thread's queue
    SetEvent(start->queueReady);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != starts->messageId)
            continue;
        acceptRequest(starts, static_cast<DWORD>(message.wParam));
    }
    return 0;
}

UniqueHandle duplicateForWaiting(HANDLE handle) {
    HANDLE copy = nullptr;
    HANDLE self = GetCurrentProcess();
    DuplicateHandle(self, handle, self, &copy, SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, 0);
    return UniqueHandle(copy);
}

std::shared_ptr<ForwardedStarts> forwardedStartsOf(Launcher& launcher) {
    auto starts = std::make_shared<ForwardedStarts>();
    starts->block = launcher.instance.block();
    starts->messageId = launcher.instance.messageId;
    starts->argumentsRead = duplicateForWaiting(launcher.instance.argumentsRead.get());
    starts->ready = duplicateForWaiting(launcher.java.readyEvent.get());
    starts->ending.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    starts->mainClass = launcher.java.mainClass;
    starts->mainModule = launcher.java.mainModule;
    starts->keepAlive = launcher.java.keepAlive;
    starts->java = &launcher.java;
    return starts->ready && starts->ending ? starts : nullptr;
}

} // namespace

bool startListener(Launcher& launcher) {
    UniqueHandle queueReady(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::shared_ptr<ForwardedStarts> starts = forwardedStartsOf(launcher);
    if (!queueReady || !starts)
        return false;
    ListenerStart start{starts, queueReady.get()};
    // The thread id goes straight into the shared block.
    auto* threadId = reinterpret_cast<DWORD*>(&launcher.instance.block()->listenerThreadId);
    UniqueHandle thread(CreateThread(nullptr, 0, listenerThreadProc, &start, 0, threadId));
    if (!thread)
        return false;
    HANDLE handles[] = {queueReady.get(), thread.get()};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0)
        return false;
    launcher.instance.listenerThread = std::move(thread);
    launcher.instance.forwarded = std::move(starts);
    return true;
}

bool stopListener(Launcher& launcher) {
    ForwardedStarts& starts = *launcher.instance.forwarded;
    {
        std::lock_guard<std::mutex> hold(starts.javaLock);
        starts.java = nullptr;
    }
    SetEvent(starts.ending.get());
    HANDLE thread = launcher.instance.listenerThread.get();
    DWORD threadId = GetThreadId(thread);
    bool ended = false;
    for (int round = 0; round < 50 && !ended; ++round) {
        PostThreadMessageW(threadId, WM_QUIT, 0, 0);
        ended = WaitForSingleObject(thread, 100) != WAIT_TIMEOUT;
    }
    // Requests that never reached Java answer so before the process ends, so that their starts settle again.
    for (int round = 0; round < 200 && starts.pending > 0; ++round)
        Sleep(10);
    return ended;
}
