#pragma once
// A start that a later instance forwarded, served inside the running VM: the main class's static
// secondaryMain(String[]) called on a request thread of its own. Portable: no Windows headers.
#include <jni.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ForwardedStart {
    std::wstring mainClass; // slash form; empty: the one the main module's descriptor names
    std::wstring mainModule;
    std::vector<std::wstring> arguments;
    bool keepAlive = false; // the thread stays attached afterwards
};

// What the later instance ends with when its start never reached secondaryMain, as every failed start does.
constexpr int32_t failedForwardReply = -1;

using ForwardReply = std::function<void(int32_t)>;

// On a thread not yet attached to `vm`: attaches, calls secondaryMain (the void form when the class has one, else
// the int form) and detaches unless keepAlive. False, with `reply` not called, when the thread cannot attach (the VM
// has gone): the start never reached Java. Otherwise `reply` is called exactly once: with 0 just before a void call,
// with the result just after an int call, and with failedForwardReply when no call could be made (class, both forms
// or the argument array failed) or the int form threw. A Java error still pending is described first.
bool serveForwardedStart(JavaVM* vm, const ForwardedStart& start, const ForwardReply& reply);
