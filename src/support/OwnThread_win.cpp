#include "OwnThread.h"

#include "UniqueResource.h"

#include <windows.h>

#include <memory>

namespace {

DWORD WINAPI runWork(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

} // namespace

// A Windows thread rather than std::thread, which would bring a threads library into the exe.
void runOnOwnThread(std::function<void()> work, unsigned waitMs) {
    auto* owned = new std::function<void()>(std::move(work));
    UniqueHandle thread(CreateThread(nullptr, 0, runWork, owned, 0, nullptr));
    if (!thread) {
        delete owned;
        return;
    }
    WaitForSingleObject(thread.get(), waitMs);
}
