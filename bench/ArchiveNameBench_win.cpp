// What "Class Data Sharing" costs a start whose archive is already there: the archive's name derived from the
// runtime's files, each entry of a class path of 200 jars (and the launcher's folder) with its size and time, and the
// options, then the checks around it, as every such start does before the VM is created. Prints the median and
// quartiles of repeated runs; run under Wine by bench/run.sh.
#include "TestFiles.h"
#include "jvm/ClassDataSharing.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int jarCount = 200;
constexpr int runs = 201;

double nowMs() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

} // namespace

int wmain() {
    TempFolder folder;
    createFolders(folder / L"jre\\bin\\server");
    createFolders(folder / L"app\\lib");
    writeBytes(folder / L"jre\\bin\\server\\jvm.dll", std::string(4096, 'j'));
    writeBytes(folder / L"jre\\bin\\server\\classes.jsa", std::string(4096, 'c'));
    std::string classPath = "-Djava.class.path=";
    for (int i = 0; i < jarCount; ++i) {
        std::wstring jar = folder / (L"app\\lib\\library-" + std::to_wstring(i) + L".jar");
        writeBytes(jar, std::string(1000 + i, 'x'));
        classPath += narrow(jar) + ";";
    }
    classPath += narrow(folder / L"app\\");
    ArchiveSite site{folder / L"cds", folder / L"app\\bench.exe", folder / L"jre\\bin\\server\\jvm.dll", {17, false}};
    const std::vector<std::string> options = {"-Djava.library.path=x", classPath, "-Xmx1g", "-Dapp=1"};

    // The first start chooses to write the archive; its name without ".<pid>.tmp" is where the VM would leave it.
    JavaLaunch first;
    first.vmOptions = options;
    setUpClassDataSharing(first, site);
    std::string written = first.vmOptions[1].substr(first.vmOptions[1].find('=') + 1);
    writeBytes(std::wstring(written.begin(), written.begin() + written.rfind(".jsa") + 4), "archive");

    std::vector<double> times;
    std::string chosen;
    for (int run = 0; run < runs; ++run) {
        JavaLaunch java;
        java.vmOptions = options;
        double start = nowMs();
        setUpClassDataSharing(java, site);
        times.push_back(nowMs() - start);
        chosen = java.vmOptions[1];
    }
    std::sort(times.begin(), times.end());
    std::printf("Class Data Sharing, archive already there, %d jars on the class path (%d runs): median %.3f ms "
                "[quartiles %.3f-%.3f]; goal under 1 ms: %s\n  %s\n",
                jarCount, runs, times[runs / 2], times[runs / 4], times[3 * runs / 4],
                times[runs / 2] < 1.0 ? "met" : "not met", chosen.c_str());
    return chosen.rfind("-XX:SharedArchiveFile=", 0) == 0 ? 0 : 1;
}
