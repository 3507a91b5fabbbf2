// How long the runtime search takes with many registered runtimes: 200 subkeys spread over the five vendor
// keys, each naming a real runtime folder, searched by the whole resolution sequence and by the registry search
// alone. Prints the median of repeated runs.
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

bool registerRuntimes(RegistryFixture& registry, const TempFolder& folder) {
    for (int i = 0; i < subkeyCount; ++i) {
        int vendor = i % 5;
        std::wstring name = L"1." + std::to_wstring(5 + i % 17) + L".0_" + std::to_wstring(i);
        std::wstring home = folder / (L"rt" + std::to_wstring(i));
        bool isJdk = vendorKeys()[vendor].kind == RuntimeKind::Jdk;
        installJvmLibrary(isJdk ? home + L"\\jre" : home, i % 3 == 0 ? L"server" : L"client");
        if (!registry.add(vendorKeys()[vendor].path, name, home))
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
    TempFolder folder;
    RegistryFixture registry;
    if (!registerRuntimes(registry, folder)) {
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
    std::printf("runtime search, %d subkeys over 5 vendor keys, median of %d runs:\n", subkeyCount, runs);
    std::printf("  resolveRuntime: %.2f ms\n", resolve);
    std::printf("  searchRegistry: %.2f ms\n", search);
    return resolve < 0 || search < 0 ? 1 : 0;
}
