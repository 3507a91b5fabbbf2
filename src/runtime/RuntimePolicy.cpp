#include "RuntimePolicy.h"

#include "support/TextCompare.h"

JvmType jvmTypeFromSetting(const std::wstring& value) {
    if (value == L"server")
        return JvmType::Server;
    if (value == L"favor_server")
        return JvmType::FavorServer;
    return JvmType::Default;
}

void applyJvmSource(RuntimePolicy& policy, const std::wstring& value) {
    struct Row {
        const wchar_t* name;
        bool jdkWanted, jreWanted, favorMode;
    };
    static const Row rows[] = {
        {L"favor_JRE", false, true, true},
        {L"favor_JDK", true, false, true},
        {L"only_JDK", true, false, false},
        {L"only_JRE", false, true, false},
    };
    if (value.empty()) {
        policy.jdkWanted = policy.jreWanted = true;
        return;
    }
    for (const Row& row : rows) {
        if (value == row.name) {
            policy.jdkWanted = row.jdkWanted;
            policy.jreWanted = row.jreWanted;
            policy.favorMode = row.favorMode;
            return;
        }
    }
    policy.jdkWanted = policy.jreWanted = policy.favorMode = false;
}

void applyVmProvider(RuntimePolicy& policy, const std::wstring& value) {
    struct Row {
        const wchar_t* name;
        bool acceptSun, acceptJRockit, acceptIbm, favorSun, favorJRockit, favorIbm;
    };
    // clang-format off
    static const Row rows[] = {
        //                  accepted: Sun, JRockit, IBM   favoured: Sun, JRockit, IBM
        {L"jrockit",        false, true,  false,          false, true,  false},
        {L"ibm",            false, false, true,           false, false, true},
        {L"favor_sun",      true,  true,  true,           true,  false, false},
        {L"favor_jrockit",  true,  true,  true,           false, true,  false},
        {L"favor_ibm",      true,  true,  true,           false, false, true},
        {L"any",            true,  true,  true,           false, false, false},
    };
    // clang-format on
    for (const Row& row : rows) {
        if (!equalsIgnoringCase(value, row.name))
            continue;
        policy.acceptSun = row.acceptSun;
        policy.acceptJRockit = row.acceptJRockit;
        policy.acceptIbm = row.acceptIbm;
        policy.favorSun = row.favorSun;
        policy.favorJRockit = row.favorJRockit;
        policy.favorIbm = row.favorIbm;
        return;
    }
}

JavaVersion minVersionFromSetting(const std::wstring& value) {
    if (value == L"any")
        return JavaVersion::allParts(0);
    return parseJavaVersion(value, 0);
}

JavaVersion maxVersionFromSetting(const std::wstring& value) {
    if (value == L"any")
        return JavaVersion::allParts(JavaVersion::noUpperBound);
    return parseJavaVersion(value, JavaVersion::noUpperBound);
}
