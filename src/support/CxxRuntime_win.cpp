// The parts of the C++ library that the launchers replace: allocation, and the library's own throws. The launcher is
// built without exceptions, and nothing in it throws; what the library would throw ends the start instead. Without
// these definitions the exe would carry the library's exception runtime with its unwinding tables, the threads
// library that runtime needs, a message formatter and a symbol demangler: about half of the exe. Linked only into
// the launchers: the test programs keep the library's own.
#include "ErrorMessages.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// A start ends as a failed one does. No destructor runs: the VM and the application may still be working.
[[noreturn]] void endStart() { ExitProcess(static_cast<UINT>(-1)); }

// Telling the user needs memory too; a thread that runs out again while another reports just ends the start.
std::atomic<bool> lackOfMemoryReported{false};

[[noreturn]] void endForLackOfMemory() {
    if (!lackOfMemoryReported.exchange(true))
        reportOutOfMemory();
    endStart();
}

void* allocate(size_t size) noexcept { return std::malloc(size != 0 ? size : 1); }

void* allocateOrEnd(size_t size) {
    void* block = allocate(size);
    if (block == nullptr)
        endForLackOfMemory();
    return block;
}

} // namespace

void* operator new(size_t size) { return allocateOrEnd(size); }
void* operator new[](size_t size) { return allocateOrEnd(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }

// The library's out-of-line throws. A size beyond what can be had is a lack of memory; the others are faults in the
// launcher's use of the library, which have no message of their own.
namespace std {
void __throw_bad_alloc() { endForLackOfMemory(); }
void __throw_bad_array_new_length() { endForLackOfMemory(); }
void __throw_length_error(const char*) { endForLackOfMemory(); }
void __throw_logic_error(const char*) { endStart(); }
void __throw_out_of_range_fmt(const char*, ...) { endStart(); }
void __throw_bad_function_call() { endStart(); }
void __throw_system_error(int) { endStart(); }
} // namespace std

// std::terminate's default handler prints the exception's demangled type on a console.
namespace __gnu_cxx {
void __verbose_terminate_handler() { endStart(); }
} // namespace __gnu_cxx
