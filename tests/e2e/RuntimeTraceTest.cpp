// The opt-in trace: what it tells of a start that chooses a runtime and of one that refuses candidates, and that
// without KORU_TRACE no file is made.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
const wchar_t* const runtimeSection = L"Java Runtime Environment";

// The first expected piece that no line holds, each found in a line after the previous one's; empty when all are.
std::string firstMissing(const Lines& lines, const Lines& expected) {
    size_t at = 0;
    for (const std::string& piece : expected) {
        while (at < lines.size() && lines[at].find(piece) == std::string::npos)
            ++at;
        if (at == lines.size())
            return piece;
        ++at;
    }
    return "";
}

// A start of the launcher whose runtime comes from the registry or JAVA_HOME, traced into one file.
class RuntimeTrace : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
        launch.app().remove(runtimeSection, L"JRE Path");
    }

    // A runtime folder with the stand-in as its server library and a release file naming the version.
    std::wstring standInRuntime(const std::wstring& name, const std::string& version) {
        std::wstring home = temp / name;
        installJvmLibrary(home, L"server", standInJvmPath());
        writeBytes(home + L"\\release", "JAVA_VERSION=\"" + version + "\"\n");
        return home;
    }

    // Starts the launcher and gives the trace lines of that start, each checked for its process id.
    Lines tracedStart() {
        size_t before = readLines(tracePath).size();
        auto process = launch.start();
        EXPECT_TRUE(process->waitForExit());
        EXPECT_EQ(process->exitCode(), 0u);
        Lines lines = readLines(tracePath);
        lines.erase(lines.begin(), lines.begin() + std::min(before, lines.size()));
        for (const std::string& line : lines) {
            EXPECT_EQ(std::stoul(line), process->id()) << line;
            EXPECT_NE(line.find(" ms  "), std::string::npos) << line;
        }
        return lines;
    }

    TempFolder temp;
    RegistryFixture registry;
    StandInLaunch launch{L""};
    std::wstring tracePath = temp / L"trace.log";
    ScopedEnvironment traceVariable{L"KORU_TRACE", tracePath};
};

TEST_F(RuntimeTrace, ChoicesAndRefusalsOfTwoStartsInOneFile) {
    const std::wstring temurin = L"Software\\Eclipse Adoptium\\JDK\\17.0.2.8\\hotspot\\MSI";
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, temurin, L"Path", standInRuntime(L"temurin", "17.0.2")));
    ASSERT_TRUE(registry.add(vendorKeys()[1].path, L"1.7.0_80", standInRuntime(L"jre7", "1.7.0_80")));
    launch.app().set(runtimeSection, L"Minimum Version", L"1.8");
    Lines first = tracedStart();
    EXPECT_EQ(firstMissing(first, {"start: " + narrow(launch.app().exePath()),
                                   "settings: " + narrow(launch.app().file(L"editor.ini")),
                                   "search settings: versions 1.8 to any",
                                   "Java Runtime Environment\\1.7.0_80: refused, version 1.7.0.80 outside the bounds",
                                   "17.0.2.8\\hotspot\\MSI: candidate 17.0.2.8 JDK Sun server favoured in " +
                                       narrow(temp / L"temurin\\"),
                                   "registry, native view: chose 17.0.2.8 JDK",
                                   "runtime: " + narrow(temp / L"temurin\\bin\\server\\jvm.dll") + " from the registry",
                                   "companion: no hand-off", "VM option: -Djava.class.path=C:\\app.jar",
                                   "VM creation: JNI_CreateJavaVM returned 0", "end: exit code 0"}),
              "");

    // Refused by the settings, the registry's runtimes leave the start to JAVA_HOME.
    launch.app().set(runtimeSection, L"Maximum Version", L"11");
    ScopedEnvironment javaHome(L"JAVA_HOME", standInRuntime(L"jdk11", "11.0.2"));
    Lines second = tracedStart();
    EXPECT_EQ(firstMissing(second, {"search settings: versions 1.8 to 11,",
                                    "17.0.2.8\\hotspot\\MSI: refused, version 17.0.2.8 outside the bounds",
                                    "registry, native view: no candidate",
                                    "JAVA_HOME \"" + narrow(temp / L"jdk11") + "\": candidate 11.0.2 JRE Sun server",
                                    "from JAVA_HOME", "end: exit code 0"}),
              "");
    EXPECT_EQ(readLines(tracePath).size(), first.size() + second.size()) << "the second start appends";
}

// "1" names a file in the temporary folder after the executable; an unset variable makes none, and a file that
// cannot be opened leaves the start as it was.
TEST(RuntimeTraceFile, WhereTheTraceGoes) {
    wchar_t tempFolder[MAX_PATH];
    GetTempPathW(MAX_PATH, tempFolder);
    const std::wstring defaultPath = std::wstring(tempFolder) + L"traced-trace.log";
    TempFolder temp;
    struct Case {
        std::wstring setting;
        std::wstring written; // empty when no file may appear
    };
    const Case cases[] = {
        {L"", L""},
        {L"1", defaultPath},
        {temp / L"trace.log", temp / L"trace.log"},
        {temp / L"missing\\trace.log", L""},
    };
    for (const Case& c : cases) {
        DeleteFileW(defaultPath.c_str());
        StandInLaunch launch(L"");
        Installation traced(launch.app().folder(), L"traced.exe");
        traced.set(runtimeSection, L"Main Class", L"com.example.App");
        traced.set(runtimeSection, L"JRE Path", launch.runtimeHome());
        traced.set(L"Class Path", L"Class Path", L"C:\\app.jar");
        ScopedEnvironment variable(L"KORU_TRACE", c.setting);
        auto process = traced.start();
        ASSERT_TRUE(process->waitForExit());
        EXPECT_EQ(process->exitCode(), 0u) << narrow(c.setting);
        EXPECT_TRUE(launch.record().has("main.argc")) << narrow(c.setting);
        EXPECT_EQ(fileExists(defaultPath), c.written == defaultPath) << narrow(c.setting);
        EXPECT_EQ(fileExists(temp / L"missing"), false);
        if (c.written.empty())
            continue;
        EXPECT_EQ(firstMissing(readLines(c.written), {"start: ", "end: exit code 0"}), "") << narrow(c.setting);
    }
    DeleteFileW(defaultPath.c_str());
}

} // namespace
