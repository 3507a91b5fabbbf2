#include "JavaMainThread.h"

#include "VmCreation.h"
#include "VmLoading.h"
#include "resource.h"
#include "support/Console.h"
#include "support/ErrorMessages.h"
#include "support/ErrorOwner.h"
#include "ui/ExceptionDialog.h"

namespace {

UINT messageFor(MainLookup failure) {
    switch (failure) {
    case MainLookup::ClassNotFound:
        return IDS_MAIN_CLASS_NOT_FOUND;
    case MainLookup::ModuleNotFound:
        return IDS_MAIN_MODULE_NOT_STARTED;
    case MainLookup::NoModuleMainClass:
        return IDS_NO_MODULE_MAIN_CLASS;
    default:
        return IDS_MAIN_CLASS_NOT_LOADED;
    }
}

// What the Java main thread is given: the launch, and the messages, the dialog and the splash around main.
struct JavaMainThreadWork final : MainThreadHost {
    JavaMainThreadWork(JavaLaunch& java, SplashState& splash) : java(java), splash(splash) {}

    void reportMainLookupFailure(MainLookup failure, const std::wstring& name) override {
        if (failure == MainLookup::MainMissing) {
            reportError(errorOwner(), loadResourceString(IDS_NO_MAIN_METHOD));
            return;
        }
        // The module's message names it twice.
        reportFormattedError(errorOwner(), messageFor(failure), {name, name});
    }

    // Forwarded starts may reach Java from now on.
    void mainStarting() override {
        if (java.readyEvent)
            SetEvent(java.readyEvent.get());
    }

    void mainEnded() override { closeSplash(splash); }

    // The console launcher prints the trace and stops: "Failure Check" asks that an exception escaping main not be
    // let go unseen, and a command-line tool's caller sees the failure only in the exit code.
    bool stopAfterException(const std::wstring& trace) override {
        if (!isConsoleLauncher())
            return showExceptionDialog(trace);
        writeErrorText(trace);
        return true;
    }

    [[noreturn]] void waitForever() override {
        for (;;)
            Sleep(INFINITE);
    }

    JavaLaunch& java;
    SplashState& splash;
};

DWORD WINAPI javaMainThreadProc(void* parameter) {
    auto& work = *static_cast<JavaMainThreadWork*>(parameter);
    if (!createJavaVm(work.java))
        return 1;
    return invokeMain(work.java, work) ? 0 : 1;
}

} // namespace

uint32_t runJavaMainThread(JavaLaunch& java, SplashState& splash) {
    if (java.threadStackSize == 0)
        java.threadStackSize = static_cast<uint64_t>(queryDefaultStackSize(java.getDefaultInitArgsProc));
    JavaMainThreadWork work{java, splash};
    // The size is the stack's commit size (no reservation flag), as the runtime's own launchers pass it.
    DWORD id = 0;
    UniqueHandle thread(
        CreateThread(nullptr, static_cast<SIZE_T>(java.threadStackSize), javaMainThreadProc, &work, 0, &id));
    if (!thread)
        return javaMainThreadProc(&work);
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD result = 1;
    GetExitCodeThread(thread.get(), &result);
    return result;
}
