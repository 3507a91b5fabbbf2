#include "SingleInstance.h"

#include "SingleInstanceListener.h"
#include "support/ModulePath.h"
#include "support/Trace.h"

#include <cstring>

namespace {

// How long a start waits for a first instance that is still writing its fields, or whose listener has no
// message queue yet, before it gives up on that instance.
constexpr ULONGLONG setupWaitMs = 5000;

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
        mutex_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED ? mutex : nullptr;
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

std::wstring objectName(const SingleInstanceState& instance, const wchar_t* suffix) {
    return instance.instanceName + suffix;
}

// An object of that name that is not a mapping of at least the block's size (another program's) is not written.
bool openInstanceBlock(SingleInstanceState& instance, bool& created) {
    instance.instanceMapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
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

// False when the first instance named in the block has ended: its mapping lives on only through starts that
// still hold it. A first instance that cannot be opened for other reasons is still served, unwatched.
bool firstInstanceRunning(SingleInstanceState& instance) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, instance.block()->processId);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    instance.firstProcess.reset(process);
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool servedByAnotherInstance(SingleInstanceState& instance, const Deadline& deadline) {
    if (!firstInstanceFieldsWritten(*instance.block(), deadline) || !firstInstanceRunning(instance)) {
        instance.firstProcess.reset();
        return false;
    }
    instance.messageId = instance.block()->messageId;
    return true;
}

void clearFirstInstanceFields(InstanceBlock& block) {
    block.listenerThreadId = 0;
    block.processId = 0;
    block.messageId = 0;
}

// Everything goes before the setup lock does, so that a start waiting for it finds no block, or cleared fields.
void dropSingleInstance(Launcher& launcher, HeldMutex& setup) {
    SingleInstanceState& instance = launcher.instance;
    if (launcher.isFirstInstance && instance.instanceBlock)
        clearFirstInstanceFields(*instance.block());
    UniqueHandle setupLock = std::move(instance.setupLock);
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
    instance.argumentsRead.reset(CreateEventW(nullptr, FALSE, FALSE, objectName(instance, L"_args_evt").c_str()));
    instance.messageId = RegisterWindowMessageW(instance.instanceName.c_str());
    if (!launcher.java.readyEvent || instance.messageId == 0)
        return false;
    InstanceBlock& block = *instance.block();
    block.processId = GetCurrentProcessId();
    block.messageId = instance.messageId;
    return startListener(launcher);
}

// Waits for the arguments lock, or for the end of the first instance (false). Without a lock to wait for, the
// start goes on unguarded, as older copies always do.
bool takeArgumentsLock(SingleInstanceState& instance) {
    instance.argumentsLock.reset(CreateMutexW(nullptr, FALSE, objectName(instance, L"_args_mtx").c_str()));
    if (!instance.argumentsLock)
        return true;
    HANDLE handles[] = {instance.argumentsLock.get(), instance.firstProcess.get()};
    DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    instance.holdsArgumentsLock = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0;
    return result != WAIT_OBJECT_0 + 1;
}

void releaseArgumentsLock(SingleInstanceState& instance) {
    if (instance.holdsArgumentsLock)
        ReleaseMutex(instance.argumentsLock.get());
    instance.holdsArgumentsLock = false;
}

// A listener of an older first instance may not have its message queue yet when its fields are written.
bool postRequest(const SingleInstanceState& instance, const Deadline& deadline) {
    DWORD listener = sharedField(instance.block()->listenerThreadId);
    return deadline.retry(
        [&] { return PostThreadMessageW(listener, instance.messageId, GetCurrentThreadId(), 0) != FALSE; });
}

// Hands appArguments to the first instance: they are written to the block's arguments area under the arguments
// lock, then the request is posted. The block is not needed afterwards, and is let go at once so that it does not
// outlive the first instance because of this start.
bool forwardToFirstInstance(Launcher& launcher, const Deadline& deadline) {
    SingleInstanceState& instance = launcher.instance;
    std::u16string area;
    if (!encodeForwardedArguments(launcher.java.appArguments, area))
        return false;
    if (instance.firstProcess) {
        if (!takeArgumentsLock(instance))
            return true; // the first instance has ended: its exit code is the answer
        if (instance.argumentsRead)
            ResetEvent(instance.argumentsRead.get());
    }
    std::memcpy(instance.block()->arguments, area.data(), forwardedArgumentsLimit);
    // The reply is posted to this thread, which has no message queue until it asks for one.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    if (!postRequest(instance, deadline)) {
        releaseArgumentsLock(instance);
        return false;
    }
    instance.instanceBlock.reset();
    instance.instanceMapping.reset();
    return true;
}

uint32_t exitCodeOf(HANDLE process) {
    DWORD code = 0;
    return GetExitCodeProcess(process, &code) ? code : static_cast<uint32_t>(-1);
}

bool replyArrived(const SingleInstanceState& instance, uint32_t& reply) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == instance.messageId) {
            reply = static_cast<uint32_t>(message.wParam);
            return true;
        }
    }
    return false;
}

} // namespace

bool setupSingleInstance(Launcher& launcher) {
    DWORD error = 0;
    std::wstring executable = launcher.singleInstance ? modulePath(nullptr, error) : std::wstring();
    if (executable.empty()) {
        launcher.singleInstance = false;
        return true;
    }
    SingleInstanceState& instance = launcher.instance;
    instance.instanceName = instanceNameFor(executable);
    Deadline deadline(setupWaitMs);
    instance.setupLock.reset(CreateMutexW(nullptr, FALSE, objectName(instance, L"_init_mtx").c_str()));
    HeldMutex setup;
    setup.acquire(instance.setupLock.get(), deadline.remaining());
    bool created = false;
    if (!openInstanceBlock(instance, created)) {
        dropSingleInstance(launcher, setup);
        return true;
    }
    // A block whose first instance never finished or has ended is taken over: this start serves the later ones.
    launcher.isFirstInstance = created || !servedByAnotherInstance(instance, deadline);
    if (launcher.isFirstInstance) {
        if (!becomeFirstInstance(launcher))
            dropSingleInstance(launcher, setup);
        else
            trace([] { return std::wstring(L"single instance: first instance"); });
        return true;
    }
    setup.release();
    trace([&] { return L"single instance: later start, for process " + std::to_wstring(instance.block()->processId); });
    instance.argumentsRead.reset(
        OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, objectName(instance, L"_args_evt").c_str()));
    return forwardToFirstInstance(launcher, deadline);
}

uint32_t waitForFirstInstance(Launcher& launcher) {
    SingleInstanceState& instance = launcher.instance;
    if (!instance.firstProcess)
        return 0;
    for (;;) {
        uint32_t reply = 0;
        if (replyArrived(instance, reply))
            return reply;
        HANDLE process = instance.firstProcess.get();
        // A reply posted just before the first instance ended still wins over its exit code.
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return replyArrived(instance, reply) ? reply : exitCodeOf(process);
        if (instance.holdsArgumentsLock && WaitForSingleObject(instance.argumentsRead.get(), 0) == WAIT_OBJECT_0)
            releaseArgumentsLock(instance);
        HANDLE handles[] = {process, instance.argumentsRead.get()};
        DWORD count = instance.holdsArgumentsLock && instance.argumentsRead ? 2 : 1;
        MsgWaitForMultipleObjects(count, handles, FALSE, 100, QS_POSTMESSAGE);
    }
}

void stopSingleInstance(Launcher& launcher) {
    SingleInstanceState& instance = launcher.instance;
    releaseArgumentsLock(instance);
    if (launcher.isFirstInstance && instance.listenerThread) {
        // Later starts that come now find the fields cleared and serve themselves.
        HeldMutex setup;
        setup.acquire(instance.setupLock.get(), setupWaitMs);
        if (!stopListener(launcher)) {
            instance.instanceBlock.release(); // the listener may still read it; the process is ending
            return;
        }
        clearFirstInstanceFields(*instance.block());
    }
    instance.instanceBlock.reset();
    instance.instanceMapping.reset();
}
