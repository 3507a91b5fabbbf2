// How long the runtime search takes with many registered runtimes: 200 subkeys spread over the five vendor
// keys, then 200 spread over the vendor keys and the keys of today's installers in both hives, each naming a real
// runtime folder, searched by the whole resolution sequence and by the registry search alone. Prints the median of
// repeated runs.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "TestFiles.h"
#include "runtime/RuntimeSelection.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int subkeyCount = 200;
constexpr int runs = 31;

bool registerVendorRuntime(RegistryFixture& registry, const TempFolder& folder, int i, int vendor) {
    std::wstring name = L"1." + std::to_wstring(5 + i % 17) + L".0_" + std::to_wstring(i);
    std::wstring home = folder / (L"rt" + std::to_wstring(i));
    bool isJdk = vendorKeys()[vendor].kind == RuntimeKind::Jdk;
    installJvmLibrary(isJdk ? home + L"\\jre" : home, i % 3 == 0 ? L"server" : L"client");
    return registry.add(vendorKeys()[vendor].path, name, home);
}

// A Java 9 or later runtime as an installer registers it, under HKEY_CURRENT_USER for every third one; half of them
// have a release file, and the names of the last two keys (Zulu, Liberica) hold only a major version.
bool registerInstalledRuntime(RegistryFixture& registry, const TempFolder& folder, int i, const InstallerKey& key) {
    std::wstring version = std::to_wstring(9 + i % 13) + L".0." + std::to_wstring(i);
    std::wstring home = folder / (L"rt" + std::to_wstring(i));
    installJvmLibrary(home, L"server");
    if (i % 2 == 0)
        writeBytes(home + L"\\release", "JAVA_VERSION=\"" + narrow(version) + "\"\nIMPLEMENTOR=\"Someone\"\n");
    std::wstring name = key.kindRule == KindRule::FromName ? L"jdk-" + std::to_wstring(i) : version;
    std::wstring path = key.path + name + (key.perVm ? L"\\hotspot\\MSI" : L"");
    HKEY root = i % 3 == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    return registry.addValue(root, path, key.homeValue, home);
}

bool registerRuntimes(RegistryFixture& registry, const TempFolder& folder, bool withInstallerKeys) {
    size_t keyCount = vendorKeys().size() + (withInstallerKeys ? installerKeys().size() : 0);
    for (int i = 0; i < subkeyCount; ++i) {
        size_t slot = i % keyCount;
        bool registered =
            slot < vendorKeys().size()
                ? registerVendorRuntime(registry, folder, i, int(slot))
                : registerInstalledRuntime(registry, folder, i, installerKeys()[slot - vendorKeys().size()]);
        if (!registered)
            return false;
    }
    return true;
}

double medianMilliseconds(const std::function<bool()>& work) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        if (!work())
            return -1;
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int wmain() {
    if (RegistryFixture::machineHasRuntimes()) {
        std::fprintf(stderr, "this machine has Java runtimes registered; the benchmark needs a clean registry\n");
        return 2;
    }
    bool failed = false;
    for (bool withInstallerKeys : {false, true}) {
        TempFolder folder;
        RegistryFixture registry;
        if (!registerRuntimes(registry, folder, withInstallerKeys)) {
            std::fprintf(stderr, "could not write the registry keys\n");
            return 1;
        }
        RuntimePolicy policy;
        applyVmProvider(policy, L"any");
        policy.preferredVersions = {L"1.9", L"1.12"};
        double resolve = medianMilliseconds([&] {
            RuntimeChoice choice;
            return resolveRuntime(policy, L"", nullptr, choice) && !choice.jvmPath.empty();
        });
        double search = medianMilliseconds([&] {
            JreCandidate chosen;
            return searchRegistry(policy, RegistryView::Native, chosen);
        });
        std::printf("runtime search, %d subkeys over %s, median of %d runs:\n", subkeyCount,
                    withInstallerKeys ? "the 5 vendor keys and the 11 installer keys in both hives" : "5 vendor keys",
                    runs);
        std::printf("  resolveRuntime: %.2f ms\n", resolve);
        std::printf("  searchRegistry: %.2f ms\n", search);
        failed = failed || resolve < 0 || search < 0;
    }
    return failed ? 1 : 0;
}
