#pragma once
// The launcher's reading of the runtime settings, and one runtime found in the registry.
// Portable: no Windows headers.
#include "JavaVersion.h"

#include <string>
#include <vector>

enum class JvmType { Default, Server, FavorServer };
enum class RuntimeKind { Jdk, Jre };
// Runtimes built on the OpenJ9 VM count as IBM; every other runtime of today counts as Sun.
enum class RuntimeVendor { Sun, JRockit, Ibm };

struct RuntimePolicy {
    JavaVersion minVersion;
    JavaVersion maxVersion;
    std::vector<std::wstring> preferredVersions;
    JvmType jvmType = JvmType::Default;
    bool jdkWanted = true;
    bool jreWanted = true;
    bool favorMode = true;
    bool acceptSun = true;
    bool acceptJRockit = false;
    bool acceptIbm = false;
    bool favorSun = true;
    bool favorJRockit = false;
    bool favorIbm = false;
    std::wstring jrePath;
};

struct JreCandidate {
    JavaVersion version;
    std::wstring home; // ends in a backslash; the folder whose bin\ holds the library (a Java 8 JDK's "jre\")
    bool isServer = false;
    bool isFavored = false;
    RuntimeKind kind = RuntimeKind::Jre;
    RuntimeVendor vendor = RuntimeVendor::Sun;
};

// "server" and "favor_server", compared case-sensitively; anything else is Default.
JvmType jvmTypeFromSetting(const std::wstring& value);
// Sets jdkWanted, jreWanted and favorMode from "JVM Source" (case-sensitive; a misspelt value wants neither kind).
void applyJvmSource(RuntimePolicy& policy, const std::wstring& value);
// Sets the six vendor flags from "VM Provider" (any letter case); empty or unknown keeps the Sun-only defaults.
void applyVmProvider(RuntimePolicy& policy, const std::wstring& value);

// "Minimum Version": exactly "any" or a version parsed with fill 0.
JavaVersion minVersionFromSetting(const std::wstring& value);
// "Maximum Version": exactly "any" gives all parts 65535; a version is parsed with fill 65535.
JavaVersion maxVersionFromSetting(const std::wstring& value);
