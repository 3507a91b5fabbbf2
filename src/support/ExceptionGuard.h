#pragma once
// No C++ exception leaves the entry point or a thread routine: a step that throws fails as a whole.
#include "ErrorMessages.h"

#include <new>

// The step's result, or `failure` when it throws. Running out of memory is told to the user first (message 202);
// any other exception fails the step without a message, as its cause cannot be named.
template <typename Result, typename Step> Result guardedStep(Result failure, Step step) noexcept {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        reportOutOfMemory();
    } catch (...) {
    }
    return failure;
}
