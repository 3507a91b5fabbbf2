#include "InstallerKeys.h"

#include "support/TextCompare.h"

#include <algorithm>
#include <cwctype>

namespace {

// Made before main, on one thread, so that no call needs to guard its first use.
// clang-format off
const std::vector<InstallerKey> theInstallerKeys = {
    {L"Software\\JavaSoft\\JDK\\",           L"JavaHome",         KindRule::Jdk,      false},
    {L"Software\\JavaSoft\\JRE\\",           L"JavaHome",         KindRule::Jre,      false},
    {L"Software\\Eclipse Adoptium\\JDK\\",   L"Path",             KindRule::Jdk,      true},
    {L"Software\\Eclipse Adoptium\\JRE\\",   L"Path",             KindRule::Jre,      true},
    {L"Software\\Eclipse Foundation\\JDK\\", L"Path",             KindRule::Jdk,      true},
    {L"Software\\Eclipse Foundation\\JRE\\", L"Path",             KindRule::Jre,      true},
    {L"Software\\AdoptOpenJDK\\JDK\\",       L"Path",             KindRule::Jdk,      true},
    {L"Software\\AdoptOpenJDK\\JRE\\",       L"Path",             KindRule::Jre,      true},
    {L"Software\\Microsoft\\JDK\\",          L"Path",             KindRule::Jdk,      true},
    {L"Software\\Azul Systems\\Zulu\\",      L"InstallationPath", KindRule::FromName, false},
    {L"Software\\BellSoft\\Liberica\\",      L"InstallationPath", KindRule::FromName, false},
};
// clang-format on

} // namespace

const std::vector<InstallerKey>& installerKeys() { return theInstallerKeys; }

namespace {

std::wstring lowerCase(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
    return text;
}

bool contains(const std::wstring& text, const wchar_t* part) {
    return lowerCase(text).find(part) != std::wstring::npos;
}

// Release values are ASCII in practice; other bytes are taken one by one, enough to tell versions and VMs apart.
std::wstring widened(const std::string& text) {
    std::wstring result;
    for (char c : text)
        result += wchar_t(static_cast<unsigned char>(c));
    return result;
}

std::string unquoted(std::string value) {
    while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
        value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::optional<RuntimeKind> kindFromKey(const InstallerKey& key, const std::wstring& subkeyName) {
    if (key.kindRule == KindRule::Jdk)
        return RuntimeKind::Jdk;
    if (key.kindRule == KindRule::Jre)
        return RuntimeKind::Jre;
    if (contains(subkeyName, L"jre"))
        return RuntimeKind::Jre;
    if (contains(subkeyName, L"jdk"))
        return RuntimeKind::Jdk;
    return std::nullopt;
}

std::optional<RuntimeVendor> vendorFromVmName(const std::wstring& vmName) {
    if (equalsIgnoringCase(vmName, L"openj9"))
        return RuntimeVendor::Ibm;
    if (equalsIgnoringCase(vmName, L"hotspot"))
        return RuntimeVendor::Sun;
    return std::nullopt;
}

ReleaseFacts parseReleaseFile(const std::string& text) {
    ReleaseFacts facts;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string name = line.substr(0, equals);
        std::wstring value = widened(unquoted(line.substr(equals + 1)));
        if (name == "JAVA_VERSION")
            facts.javaVersion = value;
        else if (name == "IMPLEMENTOR")
            facts.implementor = value;
        else if (name == "JVM_VARIANT")
            facts.jvmVariant = value;
    }
    return facts;
}

bool isOpenJ9(const ReleaseFacts& release) {
    // IBM's own runtimes are built on J9, whatever their JVM_VARIANT says.
    return contains(release.jvmVariant, L"openj9") || lowerCase(release.implementor).rfind(L"ibm", 0) == 0;
}

JavaVersion installedVersion(const std::wstring& subkeyName, const std::wstring& releaseVersion) {
    JavaVersion version = parseJavaVersion(subkeyName, 0);
    if (version.count < 2 && !releaseVersion.empty()) {
        JavaVersion fromRelease = parseJavaVersion(releaseVersion, 0);
        if (fromRelease.count > 0)
            version = fromRelease;
    }
    int32_t major = version.parts[0];
    if (major < 2 || major > 8)
        return version;
    JavaVersion legacy = version;
    legacy.parts[0] = 1;
    std::copy(version.parts, version.parts + 3, legacy.parts + 1);
    return legacy;
}
