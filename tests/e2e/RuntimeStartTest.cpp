// Which runtime a start loads (the hand-off to the companion launcher is CompanionPairTest's), and the opt-in trace
// that tells of the choice: of a start that chooses a runtime and of one that refuses candidates, and that without
// KORU_TRACE no file is made.
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

// "JRE Path" starts every stand-in launch, and the registry's candidates are the unit tests' concern. The launcher
// lives in root\App and is started in root\work.
TEST(RuntimeSelectionStart, LocalRuntimeBesideTheLauncherAndNoLibraryFromTheCurrentFolder) {
    // "JVM Type" (or null), the empty files made under the test's folder, and the library tried (empty when none is
    // found and the user is asked); the local runtime's folder is named after the width
    const std::wstring jre = sizeof(void*) == 8 ? L"App\\jre64\\" : L"App\\jre32\\";
    const std::tuple<const wchar_t*, std::vector<std::wstring>, std::wstring> cases[] = {
        // the executable's own folder is a runtime before its jre64 folder
        {nullptr,
         {L"App\\bin\\java.dll", L"App\\bin\\client\\jvm.dll", jre + L"bin\\java.dll", jre + L"bin\\client\\jvm.dll"},
         L"App\\bin\\client\\jvm.dll"},
        {L"server",
         {jre + L"bin\\java.dll", jre + L"bin\\client\\jvm.dll", jre + L"bin\\server\\jvm.dll"},
         jre + L"bin\\server\\jvm.dll"},
        {nullptr, {L"work\\bin\\client\\jvm.dll"}, L""},
    };
    // The last place the launcher looks: relative, it would name the current folder.
    ScopedEnvironment relativeJavaHome(L"JAVA_HOME", L".");
    for (const auto& [jvmType, files, loaded] : cases) {
        if (loaded.empty() && RegistryFixture::machineHasRuntimes())
            continue; // a registered runtime would be found
        TempFolder root;
        Installation app(root / L"App");
        app.set(jreSection, L"Main Class", L"com.example.App");
        if (jvmType)
            app.set(jreSection, L"JVM Type", jvmType);
        for (const std::wstring file : files)
            writeBytes(root / file, "");
        createFolders(root / L"work");
        auto process = app.start(L"-nosplash", root / L"work");
        if (!loaded.empty()) {
            std::wstring expected = L"Failed to load Java VM library: " + root / loaded + L" (errno = ";
            EXPECT_EQ(dismissMessageBox(process->id()).substr(0, expected.size()), expected);
        } else {
            HWND dialog = waitForDialog(process->id(), L"JRE Not Found");
            ASSERT_TRUE(dialog) << "nothing was loaded: the user is asked";
            pressButton(dialog, IDCANCEL);
        }
        EXPECT_EQ(process->exitCodeAfterWait(10000), failedStart);
    }
}

// The first expected piece that no line holds, each looked for after the line of the one before; empty when none.
std::string firstMissing(const Lines& lines, const Lines& expected) {
    auto at = lines.begin();
    for (const std::string& piece : expected) {
        at = std::find_if(at, lines.end(), [&](const std::string& line) { return line.find(piece) != line.npos; });
        if (at++ == lines.end())
            return piece;
    }
    return "";
}

// A runtime folder with the stand-in as its server library and a release file naming the version.
std::wstring standInRuntime(const std::wstring& home, const std::string& version) {
    installJvmLibrary(home, L"server", standInJvmPath());
    writeBytes(home + L"\\release", "JAVA_VERSION=\"" + version + "\"\n");
    return home;
}

// Starts the launcher and gives the lines it added to the trace, each checked for its process id.
Lines tracedStart(const StandInLaunch& launch, const std::wstring& tracePath) {
    size_t before = readLines(tracePath).size();
    auto process = launch.start();
    EXPECT_EQ(process->exitCodeAfterWait(), 0u);
    Lines lines = readLines(tracePath);
    lines.erase(lines.begin(), lines.begin() + std::min(before, lines.size()));
    for (const std::string& line : lines)
        EXPECT_EQ(std::stoul(line), process->id()) << line;
    return lines;
}

TEST(RuntimeTrace, ChoicesAndRefusalsOfTwoStartsInOneFile) {
    if (RegistryFixture::machineHasRuntimes())
        GTEST_SKIP() << "this machine has Java runtimes registered";
    TempFolder temp;
    RegistryFixture registry;
    StandInLaunch launch(L"", {{jreSection, L"Minimum Version", L"1.8"}});
    launch.app().remove(jreSection, L"JRE Path");
    std::wstring temurin = standInRuntime(temp / L"temurin", "17.0.2");
    ASSERT_TRUE(registry.addValue(HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JDK\\17.0.2.8\\hotspot\\MSI",
                                  L"Path", temurin));
    ASSERT_TRUE(registry.add(vendorKeys()[1].path, L"1.7.0_80", standInRuntime(temp / L"jre7", "1.7.0_80")));
    ScopedEnvironment traceVariable(L"KORU_TRACE", temp / L"trace.log");
    Lines first = tracedStart(launch, temp / L"trace.log");
    EXPECT_EQ(
        firstMissing(first,
                     {"start: " + narrow(launch.app().exePath()),
                      "settings: " + narrow(launch.app().file(L"editor.ini")), "search settings: versions 1.8 to any,",
                      "Java Runtime Environment\\1.7.0_80: refused, version 1.7.0.80 outside the bounds",
                      "17.0.2.8\\hotspot\\MSI: candidate 17.0.2.8 JDK Sun server favoured in " + narrow(temurin) + "\\",
                      "registry, native view: chose 17.0.2.8 JDK",
                      "runtime: " + narrow(temurin) + "\\bin\\server\\jvm.dll from the registry",
                      "companion: no hand-off", "VM option: -Djava.class.path=" + narrow(launch.app().folder()),
                      "VM creation: JNI_CreateJavaVM returned 0", "end: exit code 0"}),
        "");

    // Refused by the settings, the registry's runtimes leave the start to JAVA_HOME.
    launch.app().set(jreSection, L"Maximum Version", L"11");
    std::wstring jdk11 = standInRuntime(temp / L"jdk11", "11.0.2");
    ScopedEnvironment javaHome(L"JAVA_HOME", jdk11);
    Lines second = tracedStart(launch, temp / L"trace.log");
    EXPECT_EQ(firstMissing(second, {"search settings: versions 1.8 to 11,",
                                    "17.0.2.8\\hotspot\\MSI: refused, version 17.0.2.8 outside the bounds",
                                    "registry, native view: no candidate",
                                    "JAVA_HOME \"" + narrow(jdk11) + "\": candidate 11.0.2 JRE Sun server",
                                    "from JAVA_HOME", "end: exit code 0"}),
              "");
    EXPECT_EQ(readLines(temp / L"trace.log").size(), first.size() + second.size()) << "the second start appends";
}

// "1" names a file in the temporary folder after the executable, a full path itself; anything else makes none (a word
// is no file name in the current folder), nor does a file that cannot be opened or a pipe. An argument cannot forge a
// line.
TEST(RuntimeTrace, WhereTheTraceGoes) {
    wchar_t tempFolder[MAX_PATH];
    GetTempPathW(MAX_PATH, tempFolder);
    const std::wstring defaultPath = std::wstring(tempFolder) + L"editor-trace.log";
    const std::wstring pipeName = L"\\\\.\\pipe\\koru-trace-" + std::to_wstring(GetCurrentProcessId());
    UniqueHandle pipe(CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_INBOUND, PIPE_NOWAIT, 1, 0, 0, 0, nullptr));
    TempFolder temp;
    const std::wstring settings[] = {L"",          L"1",    temp / L"missing\\trace.log", L"0", L"no", L"off", L"true",
                                     L"trace.log", pipeName};
    for (const std::wstring& setting : settings) {
        DeleteFileW(defaultPath.c_str());
        StandInLaunch launch(L"");
        ScopedEnvironment variable(L"KORU_TRACE", setting);
        EXPECT_EQ(launch.run(L"-nosplash \"a\nend: forged\""), 0u) << narrow(setting);
        EXPECT_TRUE(launch.record().has("main.argc")) << narrow(setting);
        EXPECT_EQ(fileExists(defaultPath), setting == L"1") << narrow(setting);
        if (setting == L"1") {
            EXPECT_EQ(firstMissing(readLines(defaultPath), {"\"a\\u000Aend: forged\"", "end: exit code 0"}), "");
        }
        EXPECT_FALSE(fileExists(temp / L"missing") || (!setting.empty() && fileExists(launch.app().file(setting))))
            << narrow(setting);
    }
    DeleteFileW(defaultPath.c_str());
    EXPECT_FALSE(ConnectNamedPipe(pipe.get(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PIPE_LISTENING)) << "the pipe was opened";
}

} // namespace
