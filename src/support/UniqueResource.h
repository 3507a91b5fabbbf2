#pragma once
// Move-only owners for Windows handles: one template pairs a handle type with its close function.
#include <windows.h>

#include <utility>

template <typename T, typename Traits> class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    T get() const { return value_; }
    bool valid() const { return value_ != Traits::invalid(); }
    explicit operator bool() const { return valid(); }

    T release() { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) {
        T old = std::exchange(value_, value);
        if (old != Traits::invalid())
            Traits::close(old);
    }

private:
    T value_ = Traits::invalid();
};

struct HandleTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
struct RegKeyTraits {
    static HKEY invalid() { return nullptr; }
    static void close(HKEY k) { RegCloseKey(k); }
};
struct ModuleTraits {
    static HMODULE invalid() { return nullptr; }
    static void close(HMODULE m) { FreeLibrary(m); }
};
struct MappedViewTraits {
    static void* invalid() { return nullptr; }
    static void close(void* view) { UnmapViewOfFile(view); }
};

// Any GDI object (bitmap, brush, font): deleted with DeleteObject once no device context holds it selected.
template <typename T> struct GdiObjectTraits {
    static T invalid() { return nullptr; }
    static void close(T object) { DeleteObject(object); }
};
// Device contexts made with CreateCompatibleDC are deleted; the screen's, from GetDC(nullptr), are released.
struct MemoryDcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC dc) { DeleteDC(dc); }
};
struct ScreenDcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC dc) { ReleaseDC(nullptr, dc); }
};
struct WindowTraits {
    static HWND invalid() { return nullptr; }
    static void close(HWND w) { DestroyWindow(w); }
};

using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;         // threads, events, mappings, processes
using UniqueFileHandle = UniqueResource<HANDLE, FileHandleTraits>; // CreateFileW results
using UniqueFindHandle = UniqueResource<HANDLE, FindHandleTraits>;
using UniqueRegKey = UniqueResource<HKEY, RegKeyTraits>;
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;
using UniqueMappedView = UniqueResource<void*, MappedViewTraits>;
using UniqueBitmap = UniqueResource<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueResource<HFONT, GdiObjectTraits<HFONT>>;
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;
using UniqueScreenDc = UniqueResource<HDC, ScreenDcTraits>;
using UniqueWindow = UniqueResource<HWND, WindowTraits>; // windows made by code, not by a dialog template
