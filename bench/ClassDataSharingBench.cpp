// The class-data archive, natively against the real runtime of KORU_JAVA_HOME and through the launcher's own JNI start
// code: a headless Swing workload (bench/java) started without archive options, as the first start that writes the
// archive at its end, and as a later start that maps it; beside it the runtime's own java launcher without the archive
// and mapping it. Round by round, so that whatever else the machine does falls on all of them alike. Each start is a
// process of its own (a process holds one VM); its CPU time (user and system, of all its threads) and its wall time
// are taken. Medians and quartiles are printed, and the ratios taken within each round.
//   cds_bench [rounds]
#include "jvm/ClassDataArchive.h"
#include "jvm/JavaMain.h"
#include "jvm/VmCreation.h"

#include <jni.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct QuietHost final : MainThreadHost {
    void reportMainLookupFailure(MainLookup, const std::wstring& name) override {
        std::fprintf(stderr, "main class %ls not found\n", name.c_str());
    }
    bool stopAfterException(const std::wstring&) override { return false; }
    [[noreturn]] void waitForever() override {
        for (;;)
            pause();
    }
};

std::string written;
std::string archive;

// As the launcher does once the VM has finished: the archive appears under its name whole.
void publish() { std::rename(written.c_str(), archive.c_str()); }

// A child: one start as the launcher makes it, with the archive options of the mode.
int runStart(ArchiveMode mode, const std::string& folder) {
    archive = folder + "/bench.jsa";
    written = archive + "." + std::to_string(getpid()) + ".tmp";
    std::vector<std::string> options = {"-Djava.class.path=" KORU_BENCH_JAR, "-Djava.awt.headless=true"};
    for (const std::string& option : archiveOptions(mode, mode == ArchiveMode::DumpAtExit ? written : archive, "bench"))
        options.push_back(option);
    setVmEndHandlers({publish, nullptr});
    JavaMain java;
    java.mainClass = L"bench/SwingWorkload";
    QuietHost host;
    bool called = false;
    std::thread javaMain([&] {
        if (createJavaVm(&JNI_CreateJavaVM, options, &java.javaVm, &java.jniEnv) != JNI_OK)
            return;
        java.javaMainThreadAttached = true;
        called = invokeMain(java, host);
    });
    javaMain.join();
    destroyJavaVm(java);
    return called ? 0 : 1;
}

struct Sample {
    double cpu = 0; // ms
    double wall = 0;
};

double milliseconds(const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; }

// Runs the program with the arguments in a process of its own.
Sample measure(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    timeval start, end;
    gettimeofday(&start, nullptr);
    pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    wait4(child, &status, 0, &usage);
    gettimeofday(&end, nullptr);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "a start (%s %s) failed\n", arguments[0].c_str(), arguments[1].c_str());
    return {milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime), milliseconds(end) - milliseconds(start)};
}

double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(q * (values.size() - 1) + 0.5)];
}

void printRow(const char* name, const std::vector<double>& cpu, const std::vector<double>& wall, const char* unit) {
    std::printf("%-30s %8.2f%s [%.2f-%.2f]   %8.2f%s [%.2f-%.2f]\n", name, quantile(cpu, 0.5), unit,
                quantile(cpu, 0.25), quantile(cpu, 0.75), quantile(wall, 0.5), unit, quantile(wall, 0.25),
                quantile(wall, 0.75));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "start") {
        std::string mode = argv[2];
        return runStart(mode == "dump"  ? ArchiveMode::DumpAtExit
                        : mode == "map" ? ArchiveMode::Map
                                        : ArchiveMode::None,
                        argv[3]);
    }
    int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    char folder[] = "/tmp/koru-cds-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string self = argv[0], archive = std::string(folder) + "/bench.jsa";
    // The launcher's starts without the archive, writing it and mapping it; then the runtime's own java launcher
    // without it and mapping the same archive, for comparison.
    const std::string java = KORU_BENCH_JAVA_HOME "/bin/java";
    const std::vector<std::vector<std::string>> starts = {
        {self, "start", "none", folder},
        {self, "start", "dump", folder},
        {self, "start", "map", folder},
        {java, "-Djava.awt.headless=true", "-cp", KORU_BENCH_JAR, "bench.SwingWorkload"},
        {java, "-Djava.awt.headless=true", "-Xlog:cds*=off", "-XX:SharedArchiveFile=" + archive, "-cp", KORU_BENCH_JAR,
         "bench.SwingWorkload"}};
    measure(starts[0]); // the runtime's files into the page cache
    std::vector<double> cpu[5], wall[5], cpuRatio[3], wallRatio[3];
    for (int round = 0; round < rounds; ++round) {
        Sample samples[5];
        // A start without the archive comes first in even rounds and last in odd ones.
        if (round % 2 == 0)
            samples[0] = measure(starts[0]);
        std::remove(archive.c_str());
        for (int i = 1; i < 5; ++i)
            samples[i] = measure(starts[i]);
        if (round % 2 == 1)
            samples[0] = measure(starts[0]);
        for (int i = 0; i < 5; ++i) {
            cpu[i].push_back(samples[i].cpu);
            wall[i].push_back(samples[i].wall);
        }
        const int pairs[3][2] = {{2, 0}, {1, 0}, {4, 3}};
        for (int i = 0; i < 3; ++i) {
            cpuRatio[i].push_back(samples[pairs[i][0]].cpu / samples[pairs[i][1]].cpu);
            wallRatio[i].push_back(samples[pairs[i][0]].wall / samples[pairs[i][1]].wall);
        }
    }
    std::printf("Class-data archive: headless Swing workload on %s, %d rounds\n", KORU_BENCH_JAVA_HOME, rounds);
    std::printf("%-30s %-26s %s\n", "median [quartiles]", "CPU", "wall");
    printRow("without the archive", cpu[0], wall[0], " ms");
    printRow("first start (writes it)", cpu[1], wall[1], " ms");
    printRow("later start (maps it)", cpu[2], wall[2], " ms");
    printRow("java, without it", cpu[3], wall[3], " ms");
    printRow("java, mapping it", cpu[4], wall[4], " ms");
    printRow("later / without, per round", cpuRatio[0], wallRatio[0], "x");
    printRow("first / without, per round", cpuRatio[1], wallRatio[1], "x");
    printRow("java: mapping / without", cpuRatio[2], wallRatio[2], "x");
    std::printf("goal, later starts at most 0.75x the CPU of a start without the archive: %s\n",
                quantile(cpuRatio[0], 0.5) <= 0.75 ? "met" : "not met");
    std::system((std::string("rm -rf ") + folder).c_str());
    return 0;
}
