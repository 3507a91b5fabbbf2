#pragma once
// The keys that today's Java installers write (beside the five vendor keys of old), and what the runtime's own
// folder tells about it: the "release" file's version and implementor.
// Portable: no Windows headers.
#include "RuntimePolicy.h"

#include <optional>
#include <string>
#include <vector>

// How the kind of runtime registered under a key is told: by the key itself, or by the subkey's name ("jdk-17",
// "zulu-17-jre") and, where the name does not say, by the home's layout.
enum class KindRule { Jdk, Jre, FromName };

struct InstallerKey {
    const wchar_t* path;      // below the hive; ends in a backslash
    const wchar_t* homeValue; // the value naming the home
    KindRule kindRule;
    // Each version subkey holds a subkey per VM ("hotspot", "openj9"), and that one an "MSI" subkey with the value.
    bool perVm;
};

// In the order in which they are searched, after the five vendor keys.
const std::vector<InstallerKey>& installerKeys();

// The kind a key or a subkey name gives; none when only the home's layout can tell.
std::optional<RuntimeKind> kindFromKey(const InstallerKey& key, const std::wstring& subkeyName);

// "openj9" subkeys hold IBM runtimes, "hotspot" ones Sun runtimes; none for any other name.
std::optional<RuntimeVendor> vendorFromVmName(const std::wstring& vmName);

// What a runtime's "release" file says (lines KEY="value"); empty texts for what it does not hold.
struct ReleaseFacts {
    std::wstring javaVersion; // JAVA_VERSION, such as 17.0.2 or 1.8.0_322
    std::wstring implementor; // IMPLEMENTOR
    std::wstring jvmVariant;  // JVM_VARIANT, where the build names it
};

ReleaseFacts parseReleaseFile(const std::string& text);

// Whether the release file describes a runtime built on the OpenJ9 VM, which counts as an IBM runtime.
bool isOpenJ9(const ReleaseFacts& release);

// The version of a registered runtime: from the subkey name when it holds more than a major number, else from the
// release file's JAVA_VERSION when there is one, else the name's number. Versions 2 to 8 in the form today's
// installers write them (8.0.322.6) take the form the settings and the old keys use (1.8.0.322).
JavaVersion installedVersion(const std::wstring& subkeyName, const std::wstring& releaseVersion);
