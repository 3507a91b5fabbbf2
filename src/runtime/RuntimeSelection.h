#pragma once
// Which runtime the launcher uses: "JRE Path", the local runtime, the registry, or the user's pick.
#include "RuntimeSearch.h"

#include <functional>
#include <string>

// What the search settles for a start.
struct RuntimeChoice {
    std::wstring jvmPath;      // the jvm.dll to load; empty until a runtime is found
    JavaVersion chosenVersion; // of the registry candidate chosen; all parts 0 for the other sources
    RuntimeVendor chosenVendor = RuntimeVendor::Sun; // of the registry candidate chosen
    bool handOff = false;    // a runtime of the companion's width: the companion launcher hosts it instead
    std::wstring pickedHome; // the folder the user picked when nothing was found; empty for the other sources
};

// A runtime folder the user picked, and the jvm.dll in it that qualifies.
struct RuntimePick {
    std::wstring home; // ends in a backslash
    std::wstring jvmPath;
};

// Asks the user for a runtime when none is found, with the "JRE Not Found" message; false when the user
// declines or cannot be asked.
using RuntimeQuestion = std::function<bool(const std::wstring& message, RuntimePick& pick)>;

// True when a runtime is settled (for this process or, with handOff, for the companion). `pairProduct` names
// the companion launcher; without one no runtime of its width is looked for or recognised.
bool resolveRuntime(const RuntimePolicy& policy, const std::wstring& pairProduct, const RuntimeQuestion& askUser,
                    RuntimeChoice& choice);

// Collects the runtimes of every searched vendor key in one view and chooses one; false when there is none.
bool searchRegistry(const RuntimePolicy& policy, RegistryView view, JreCandidate& chosen);

// The "JRE Not Found" message: text 206 (a server JVM is required) or 207, naming the versions that would do.
std::wstring runtimeNotFoundMessage(const RuntimePolicy& policy);

// KORU_JVM_PATH and KORU_JVM_HOME for the Java process and its children.
void publishRuntime(const std::wstring& jvmPath);
