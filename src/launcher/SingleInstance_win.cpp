#include "SingleInstance.h"

#include "SingleInstanceListener.h"
#include "support/ModulePath.h"
#include "support/ProcessIdentity.h"
#include "support/TextFormat.h"
#include "support/Trace.h"

#include <cstring>

namespace {

// How long a start waits for a first instance that is still writing its fields, or whose listener has no
// message queue yet, before it gives up on that instance.
constexpr ULONGLONG setupWaitMs = 5000;
// A start whose first instance keeps ending before it takes the request gives up after this many rounds.
constexpr int settleRounds = 5;

class Deadline {
public:
    explicit Deadline(ULONGLONG ms) : end_(GetTickCount64() + ms) {}
    DWORD remaining() const {
        ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }
    bool passed() const { return remaining() == 0; }

    // Asks again every few milliseconds until the answer is yes or the deadline has passed.
    template <typename Check> bool retry(Check check) const {
        for (;;) {
            if (check())
                return true;
            if (passed())
                return false;
            Sleep(10);
        }
    }

private:
    ULONGLONG end_;
};

// A named mutex held by this thread until release or destruction. An abandoned mutex is held all the same: its
// owner has ended, and what it guarded is written again by whoever comes next.
class HeldMutex {
public:
    HeldMutex() = default;
    HeldMutex(const HeldMutex&) = delete;
    HeldMutex& operator=(const HeldMutex&) = delete;
    ~HeldMutex() { release(); }

    bool acquire(HANDLE mutex, DWORD timeoutMs) {
        DWORD result = mutex ? WaitForSingleObject(mutex, timeoutMs) : WAIT_FAILED;
        return adopt(result == WAIT_OBJECT_0 || result == WAIT_ABANDONED ? mutex : nullptr);
    }
    // A mutex this thread has just acquired by a wait of its own.
    bool adopt(HANDLE mutex) {
        release();
        mutex_ = mutex;
        return mutex_ != nullptr;
    }
    void release() {
        if (mutex_)
            ReleaseMutex(mutex_);
        mutex_ = nullptr;
    }

private:
    HANDLE mutex_ = nullptr;
};

enum class Role { First, Later, Ordinary };
// What became of a later start's request: taken by the first instance, never taken because that instance stopped
// serving (the role is settled again), or not deliverable at all.
enum class Delivery { Taken, NotTaken, Failed };
// The first instance a block names: one to hand the arguments to, one that has gone, or one not to be trusted.
enum class FirstInstance { Serving, Gone, Untrusted };

std::wstring objectName(const SingleInstanceState& instance, const wchar_t* suffix) {
    return instance.instanceName + suffix;
}

bool stopped(HANDLE thread) { return WaitForSingleObject(thread, 0) != WAIT_TIMEOUT; }

// An object of that name that is not a mapping of at least the block's size (another program's) is not written.
// A block this start creates is its user's alone.
bool openInstanceBlock(SingleInstanceState& instance, bool& created) {
    ThisUserOnly security;
    instance.instanceMapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, security.attributes(), PAGE_READWRITE, 0,
                                                      sizeof(InstanceBlock), instance.instanceName.c_str()));
    if (!instance.instanceMapping)
        return false;
    created = GetLastError() != ERROR_ALREADY_EXISTS;
    instance.instanceBlock.reset(MapViewOfFile(instance.instanceMapping.get(), FILE_MAP_WRITE, 0, 0, 0));
    MEMORY_BASIC_INFORMATION view = {};
    return instance.instanceBlock && VirtualQuery(instance.instanceBlock.get(), &view, sizeof(view)) == sizeof(view) &&
           view.State == MEM_COMMIT && view.RegionSize >= sizeof(InstanceBlock);
}

uint32_t sharedField(const uint32_t& field) { return __atomic_load_n(&field, __ATOMIC_ACQUIRE); }

// A first instance of this build writes its fields while it holds the setup lock; one of an older build writes
// them without it, right after creating the mapping, so they are waited for until the deadline.
bool firstInstanceFieldsWritten(const InstanceBlock& block, const Deadline& deadline) {
    return deadline.retry([&block] {
        return sharedField(block.listenerThreadId) && sharedField(block.processId) && sharedField(block.messageId);
    });
}

// Only a block of this user's, naming this program run by this user, gets a start's arguments. A first instance
// whose listener has ended, or whose process has, serves nobody any more: its block is taken over.
FirstInstance firstInstanceNamed(SingleInstanceState& instance, const Deadline& deadline) {
    const InstanceBlock& block = *instance.block();
    if (!ownedByThisUser(instance.instanceMapping.get()))
        return FirstInstance::Untrusted;
    if (!firstInstanceFieldsWritten(block, deadline))
        return FirstInstance::Gone;
    if (sharedField(block.messageId) != instance.messageId)
        return FirstInstance::Untrusted;
    DWORD processId = sharedField(block.processId);
    instance.firstProcess.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId));
    if (!instance.firstProcess)
        return GetLastError() == ERROR_INVALID_PARAMETER ? FirstInstance::Gone : FirstInstance::Untrusted;
    if (stopped(instance.firstProcess.get()))
        return FirstInstance::Gone;
    if (!runsThisProgramForThisUser(instance.firstProcess.get()))
        return FirstInstance::Untrusted;
    instance.firstListener.reset(
        OpenThread(THREAD_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, sharedField(block.listenerThreadId)));
    if (!instance.firstListener || GetProcessIdOfThread(instance.firstListener.get()) != processId ||
        stopped(instance.firstListener.get()))
        return FirstInstance::Gone;
    instance.firstClearsTags = sharedWord(block, tagClearerOffset) == processId;
    return FirstInstance::Serving;
}

// Everything goes before the setup lock does, so that a start waiting for it finds no block, or cleared fields.
void dropSingleInstance(Launcher& launcher, HeldMutex& setup) {
    SingleInstanceState& instance = launcher.instance;
    if (launcher.isFirstInstance && instance.instanceBlock) {
        InstanceBlock& block = *instance.block();
        block.listenerThreadId = 0;
        block.processId = 0;
        block.messageId = 0;
    }
    instance = SingleInstanceState();
    launcher.java.readyEvent.reset();
    launcher.singleInstance = false;
    launcher.isFirstInstance = false;
    setup.release();
    trace([] { return std::wstring(L"single instance: unavailable, this start runs as an ordinary one"); });
}

bool becomeFirstInstance(Launcher& launcher) {
    SingleInstanceState& instance = launcher.instance;
    launcher.java.readyEvent.reset(CreateEventW(nullptr, TRUE, FALSE, objectName(instance, L"_upr_evt").c_str()));
    // A first instance that is still ending may have left it set: requests wait for this start's main.
    if (launcher.java.readyEvent)
        ResetEvent(launcher.java.readyEvent.get());
    instance.argumentsRead.reset(CreateEventW(nullptr, FALSE, FALSE, objectName(instance, L"_args_evt").c_str()));
    if (!launcher.java.readyEvent || !instance.argumentsRead)
        return false;
    InstanceBlock& block = *instance.block();
    block.processId = GetCurrentProcessId();
    block.messageId = instance.messageId;
    setSharedWord(block, tagClearerOffset, GetCurrentProcessId());
    return startListener(launcher);
}

// The role of this start. A block whose first instance never finished or has gone is taken over, but only under
// the setup lock: without it another start may be doing the same. A first instance holds the lock from creating the
// mapping until its fields are written, so a later start that waits for it reads them whole.
Role settleRole(Launcher& launcher, const std::wstring& executable, const Deadline& deadline) {
    SingleInstanceState& instance = launcher.instance;
    int rounds = instance.rounds + 1;
    instance = SingleInstanceState();
    instance.rounds = rounds;
    instance.instanceName = instanceNameFor(executable);
    UniqueHandle setupLock(CreateMutexW(nullptr, FALSE, objectName(instance, L"_init_mtx").c_str()));
    HeldMutex setup;
    bool locked = setup.acquire(setupLock.get(), deadline.remaining());
    instance.messageId = RegisterWindowMessageW(instance.instanceName.c_str());
    bool created = false;
    FirstInstance named = FirstInstance::Untrusted;
    if (instance.messageId != 0 && openInstanceBlock(instance, created))
        named = created ? FirstInstance::Gone : firstInstanceNamed(instance, deadline);
    if (named == FirstInstance::Serving)
        return Role::Later;
    launcher.isFirstInstance = named == FirstInstance::Gone && (created || locked);
    if (!launcher.isFirstInstance || !becomeFirstInstance(launcher)) {
        dropSingleInstance(launcher, setup);
        return Role::Ordinary;
    }
    return Role::First;
}

// Waits for the arguments lock; false when the first instance stopped serving meanwhile. Without a lock to wait
// for, the start goes on unguarded, as older copies always do.
bool takeArgumentsLock(const SingleInstanceState& instance, HANDLE lock, HeldMutex& held) {
    if (!lock)
        return true;
    HANDLE handles[] = {lock, instance.firstProcess.get(), instance.firstListener.get()};
    DWORD result = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
    return held.adopt(result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0 ? lock : nullptr);
}

// A listener of an older first instance may not have its message queue yet when its fields are written.
bool postRequest(const SingleInstanceState& instance, const Deadline& deadline) {
    DWORD listener = GetThreadId(instance.firstListener.get());
    bool posted = false;
    deadline.retry([&] {
        posted = PostThreadMessageW(listener, instance.messageId, GetCurrentThreadId(), 0) != FALSE;
        return posted || stopped(instance.firstListener.get());
    });
    return posted;
}

// A first instance of this build clears the tag once it has the arguments; an older one is taken at its word, the
// event, or at once when it sets none.
bool requestTaken(const SingleInstanceState& instance) {
    return !instance.firstClearsTags || sharedWord(*instance.block(), requesterTagOffset) != GetCurrentThreadId();
}

// Until the first instance has the arguments, or has stopped serving without having taken them.
Delivery waitUntilTaken(const SingleInstanceState& instance) {
    if (!instance.argumentsRead)
        return Delivery::Taken;
    HANDLE handles[] = {instance.argumentsRead.get(), instance.firstProcess.get(), instance.firstListener.get()};
    for (;;) {
        bool signalled = WaitForMultipleObjects(3, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
        if (requestTaken(instance))
            return Delivery::Taken;
        if (!signalled)
            return Delivery::NotTaken;
    }
}

// Hands appArguments to the first instance: they are written to the block's arguments area, with this thread's id
// as their tag, under the arguments lock; the request is posted, and the lock held until the first instance has
// them or has ended, so that two later starts never share the area. The block is not needed afterwards, and is let
// go at once so that it does not outlive the first instance because of this start.
Delivery forwardToFirstInstance(Launcher& launcher, const Deadline& deadline) {
    SingleInstanceState& instance = launcher.instance;
    std::u16string area;
    if (!encodeForwardedArguments(launcher.java.appArguments, area))
        return Delivery::Failed;
    UniqueHandle argumentsLock(CreateMutexW(nullptr, FALSE, objectName(instance, L"_args_mtx").c_str()));
    HeldMutex heldArguments;
    if (!takeArgumentsLock(instance, argumentsLock.get(), heldArguments))
        return Delivery::NotTaken;
    instance.argumentsRead.reset(
        OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, objectName(instance, L"_args_evt").c_str()));
    if (instance.argumentsRead)
        ResetEvent(instance.argumentsRead.get());
    std::memcpy(instance.block()->arguments, area.data(), forwardedArgumentsLimit);
    setSharedWord(*instance.block(), requesterTagOffset, GetCurrentThreadId());
    // The reply is posted to this thread, which has no message queue until it asks for one.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    Delivery delivery = Delivery::Failed;
    if (postRequest(instance, deadline))
        delivery = waitUntilTaken(instance);
    else if (stopped(instance.firstListener.get()))
        delivery = Delivery::NotTaken;
    heldArguments.release();
    instance.instanceBlock.reset();
    instance.instanceMapping.reset();
    return delivery;
}

uint32_t exitCodeOf(HANDLE process) {
    DWORD code = 0;
    return GetExitCodeProcess(process, &code) ? code : static_cast<uint32_t>(-1);
}

// The first instance's answer, if one has come: false when none has, or when it says that the request never
// reached Java.
bool replyArrived(const SingleInstanceState& instance, uint32_t& reply, bool& taken) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == instance.messageId) {
            reply = static_cast<uint32_t>(message.wParam);
            taken = message.lParam != requestNotTaken;
            return true;
        }
    }
    return false;
}

void traceLaterStart(const SingleInstanceState& instance) {
    trace([&] {
        return L"single instance: later start, for process " + decimalText(GetProcessId(instance.firstProcess.get()));
    });
}

} // namespace

bool setupSingleInstance(Launcher& launcher) {
    DWORD error = 0;
    std::wstring executable = launcher.singleInstance ? modulePath(nullptr, error) : std::wstring();
    if (executable.empty()) {
        launcher.singleInstance = false;
        return true;
    }
    while (launcher.instance.rounds < settleRounds) {
        Deadline deadline(setupWaitMs);
        Role role = settleRole(launcher, executable, deadline);
        if (role == Role::First)
            trace([] { return std::wstring(L"single instance: first instance"); });
        if (role != Role::Later)
            return true;
        traceLaterStart(launcher.instance);
        Delivery delivery = forwardToFirstInstance(launcher, deadline);
        if (delivery != Delivery::NotTaken)
            return delivery == Delivery::Taken;
        trace([] { return std::wstring(L"single instance: the first instance stopped before it took the request"); });
    }
    return false;
}

bool waitForFirstInstance(Launcher& launcher, uint32_t& result) {
    SingleInstanceState& instance = launcher.instance;
    HANDLE process = instance.firstProcess.get();
    if (!process) {
        result = 0;
        return true;
    }
    for (;;) {
        // A reply posted just before the first instance ended still wins over its exit code.
        bool ended = WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
        bool taken = true;
        if (replyArrived(instance, result, taken)) {
            if (taken)
                return true;
            // The first instance is ending: its listener goes first, and a start made now takes the block over.
            HANDLE stops[] = {instance.firstListener.get(), process};
            WaitForMultipleObjects(2, stops, FALSE, setupWaitMs);
            trace([] { return std::wstring(L"single instance: the request never reached Java"); });
            return false;
        }
        if (ended) {
            result = exitCodeOf(process);
            return true;
        }
        MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_POSTMESSAGE);
    }
}

void stopSingleInstance(Launcher& launcher) {
    SingleInstanceState& instance = launcher.instance;
    // The fields stay: a start made from now on finds the listener ended and takes the block over.
    if (launcher.isFirstInstance && instance.listenerThread && !stopListener(launcher)) {
        instance.instanceBlock.release(); // the listener may still read it; the process is ending
        return;
    }
    instance.instanceBlock.reset();
    instance.instanceMapping.reset();
}
