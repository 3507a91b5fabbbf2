#pragma once
// A move-only owner of one COM interface reference, and the thread's COM apartment for the life of a scope.
#include <objbase.h>

#include <utility>

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    T* release() { return std::exchange(pointer_, nullptr); }
    void reset(T* pointer = nullptr) {
        T* old = std::exchange(pointer_, pointer);
        if (old)
            old->Release();
    }
    // For the out-parameter of a creating call; whatever was held is released first.
    T** put() {
        reset();
        return &pointer_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

private:
    T* pointer_ = nullptr;
};

// A single-threaded apartment for the calling thread. S_FALSE (already initialised the same way) also counts
// and must be balanced; a thread already in another apartment keeps it, and nothing is undone.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};
