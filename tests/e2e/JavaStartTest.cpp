// Starts that reach the Java runtime: the stand-in runtime plays a script and records what the launcher gave it.
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
constexpr DWORD failed = 0xFFFFFFFF;
const wchar_t* const runtimeSection = L"Java Runtime Environment";

// The jars of a folder in the order the file system lists them, which is the order the launcher keeps.
std::wstring listedJars(const std::wstring& folder) {
    std::wstring list;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.jar").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        list += folder + L"\\" + found.cFileName + L";";
    FindClose(search);
    return list;
}

std::string physicalKiB(unsigned percent) {
    MEMORYSTATUS status = {};
    GlobalMemoryStatus(&status);
    return std::to_string(static_cast<uint64_t>(static_cast<double>(status.dwTotalPhys >> 10) * (percent / 100.0)));
}

TEST(JavaStart, WorkedExampleOptionByOption) {
    StandInLaunch launch(L"");
    const std::wstring app = launch.app().folder();
    createFolders(app + L"\\lib");
    for (const wchar_t* name : {L"a.jar", L"b.jar", L"notes.txt"})
        writeBytes(app + L"\\lib\\" + name, "");
    launch.app().set(runtimeSection, L"Library Path", L"native");
    launch.app().set(runtimeSection, L"Virtual Machine Parameters", L"-Xmx50P \"-Dapp.home=%APPDATA%\\My App\"");
    launch.app().set(L"Class Path", L"Class Path", L"\\lib\\*.jar;C:\\shared\\util.jar");
    ASSERT_EQ(launch.run(), 0u);

    const std::wstring jre = launch.runtimeHome();
    const std::wstring path = _wgetenv(L"Path"); // neither this nor APPDATA is changed by the tests
    StandInRecord record = launch.record();
    EXPECT_EQ(record.values("option"),
              (Lines{narrow(L"-Djava.library.path=native;" + app + L"\\;.;" + path + L";" + jre + L"\\lib"),
                     narrow(L"-Djava.class.path=" + listedJars(app + L"\\lib") + L"C:\\shared\\util.jar;"),
                     "-Xmx" + physicalKiB(50) + "K",
                     narrow(L"-Dapp.home=" + std::wstring(_wgetenv(L"APPDATA")) + L"\\My App"), "abort", "exit"}));
    EXPECT_EQ(record.values("hook"), (Lines{"abort", "exit"}));
    EXPECT_EQ(record.value("create.version"), "0x00010002");
    EXPECT_EQ(record.value("create.ignoreUnrecognized"), "0");
    EXPECT_EQ(record.value("env.KORU_JVM_PATH"), narrow(launch.jvmPath()));
    EXPECT_EQ(record.value("env.KORU_JVM_HOME"), narrow(jre));
    EXPECT_EQ(record.value("env.Path"), narrow(path + L";" + jre + L"\\bin"));
    EXPECT_EQ(record.value("findClass"), "com/example/App");
}

TEST(JavaStart, ClassNameAndArgumentsReachJavaUnchanged) {
    StandInLaunch launch(L"");
    launch.app().set(runtimeSection, L"Main Class", L"com.ex\x00E4mple.Ma\xD835\xDD38n");
    launch.app().set(L"Application", L"Cmd", L"%KORU_TEST_CMD% \"x y\" \"\" -nosplash");
    ScopedEnvironment cmd(L"KORU_TEST_CMD", L"C:\\from env");
    // A supplementary character, a character outside every ANSI code page, an empty argument and the switch.
    ASSERT_EQ(launch.run(L"-nosplash \"two words\" \"\" \x00FC\xD83D\xDE00 \x4E2D -NOSPLASH"), 0u);
    EXPECT_EQ(launch.record().values("main.arg"),
              (Lines{"-nosplash", "two words", "", "\xC3\xBC\xF0\x9F\x98\x80", "\xE4\xB8\xAD", "-NOSPLASH", "C:\\from",
                     "env", "x y", "-nosplash"}));
    EXPECT_EQ(launch.record().value("findClass"), "com/ex\xC3\xA4mple/Ma\xED\xA0\xB5\xED\xB4\xB8n") << "modified UTF-8";
}

struct FailedStart {
    const wchar_t* script;
    std::vector<std::wstring> boxes;  // the messages, in order ({jvm}: the library); none: the runtime describes it
    const wchar_t* setting = nullptr; // "key=value" in [Java Runtime Environment], or for "Class Path" in its section
    std::wstring (*library)() = nullptr; // a library in place of the stand-in
};

// Each failed start shows its messages and then ends with -1 within seconds: nothing keeps the runtime waiting.
TEST(JavaStart, FailedStartsEndWithMinusOne) {
    const std::wstring notCreated = L"JNI exception: failed to create the Java VM\nReason: ";
    const FailedStart cases[] = {
        {L"create=-1", {notCreated + L"unknown.\n"}},
        {L"create=-4", {notCreated + L"not enough memory.\n"}},
        {L"create=-6", {notCreated + L"invalid arguments.\n"}},
        {L"create=-7", {notCreated + L".\n"}},
        {L"fail=NewCharArray", {L"Failed to load Main Class: com/example/App.\n"}},
        {L"missing=class",
         {L"Could not find the main class com/ex\x00E4mple/Ma\xD835\xDD38n.\n"},
         L"Main Class=com.ex\x00E4mple.Ma\xD835\xDD38n"},
        {L"missing=main-silent", {L"No main method found in specified class.\n"}},
        {L"missing=main", {}},
        {L"fail=NewObjectArray", {}},
        {L"",
         {L"Java Class Path was not specified in INI file.", L"Could not find the main class com/example/App.\n"},
         L"Class Path=\\missing.jar"},
        {L"", {L"Main class was not specified in INI file."}, L"Main Class="},
        {L"", {L"Failed to load Java VM library: {jvm} (errno = 193).\n"}, nullptr, x86FixtureLibraryPath},
        {L"", {L"Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n"}, nullptr, x64FixtureLibraryPath},
    };
    for (const FailedStart& c : cases) {
        StandInLaunch launch(c.script);
        if (c.setting) {
            std::wstring setting = c.setting, key = setting.substr(0, setting.find(L'='));
            launch.app().set(key == L"Class Path" ? key : runtimeSection, key, setting.substr(key.size() + 1));
        }
        if (c.library)
            installJvmLibrary(launch.runtimeHome(), L"server", c.library());
        auto process = launch.start();
        for (std::wstring box : c.boxes) {
            if (box.find(L"{jvm}") != std::wstring::npos)
                box.replace(box.find(L"{jvm}"), 5, launch.jvmPath());
            EXPECT_EQ(dismissMessageBox(process->id()), box) << narrow(c.script);
        }
        EXPECT_TRUE(process->waitForExit(10000)) << narrow(c.script) << " did not end";
        EXPECT_EQ(process->exitCode(), failed) << narrow(c.script);
    }
}

TEST(JavaStart, ExitCodes) {
    const std::pair<const wchar_t*, DWORD> cases[] = {
        {L"", 0},
        {L"main=exit:4660", 4660},
        {L"main=exit:-2", 0xFFFFFFFE},
        // The Java main thread stays attached, so the VM cannot be destroyed: the launcher must not wait for it.
        {L"detach=-1", failed}};
    for (const auto& c : cases) {
        StandInLaunch launch(c.first);
        EXPECT_EQ(launch.run(L""), c.second) << narrow(c.first);
        EXPECT_EQ(launch.record().value("main.argc"), "0") << "no arguments give an empty array";
    }
}

// With "Failure Check" the exception dialog takes it (ExceptionDialogTest.cpp).
TEST(JavaStart, UncaughtExceptionEndsWithZero) {
    StandInLaunch launch(L"main=throw:java/lang/IllegalStateException:bad");
    EXPECT_EQ(launch.run(), 0u);
    // Left pending, the VM prints it when the thread detaches.
    EXPECT_TRUE(launch.record().has("uncaught"));
    EXPECT_TRUE(launch.record().has("detach"));
}

TEST(JavaStart, IbmRuntimesKeepTheProcessUntilJavaEndsIt) {
    StandInLaunch staying(L"");
    staying.app().set(runtimeSection, L"VM Provider", L"any");
    auto process = staying.start();
    EXPECT_FALSE(process->waitForExit(1500)) << "the Java main thread stays after main returns";
    EXPECT_TRUE(staying.record().has("main.argc"));
    EXPECT_FALSE(staying.record().has("detach"));

    StandInLaunch exiting(L"main=exit:7");
    exiting.app().set(runtimeSection, L"VM Provider", L"any");
    EXPECT_EQ(exiting.run(), 7u);
}

TEST(JavaStart, DestroyWaitsForTheApplicationsThreads) {
    StandInLaunch launch(L"main=linger:600");
    ASSERT_EQ(launch.run(), 0u);
    Lines order;
    StandInRecord record = launch.record();
    for (const auto& line : record.lines()) {
        if (line.first == "thread.ended" || line.first.compare(0, 8, "destroy.") == 0)
            order.push_back(line.first);
    }
    EXPECT_EQ(order, (Lines{"destroy.begin", "thread.ended", "destroy.end"}));
}

TEST(JavaStart, StackSizeOfTheJavaMainThread) {
    const struct {
        const wchar_t* script;
        const wchar_t* parameters;
        unsigned long long atLeast;
    } cases[] = {{L"", L"-Xss1m -Xss16m", 16ull << 20}, {L"stack=12582912", L"", 12ull << 20}};
    for (const auto& c : cases) {
        StandInLaunch launch(c.script);
        launch.app().set(runtimeSection, L"Virtual Machine Parameters", c.parameters);
        ASSERT_EQ(launch.run(), 0u);
        EXPECT_GE(std::stoull(launch.record().value("stackReserve")), c.atLeast) << narrow(c.parameters);
    }
}

TEST(JavaStart, StandardStreamsRedirected) {
    TempFolder logs;
    writeBytes(logs / L"err.log", std::string(100, 'x'));
    writeBytes(logs / L"file", "");
    const struct {
        const wchar_t* output;
        const wchar_t* error;
        const char* outputText;
        const char* errorText;
    } cases[] = {
        {L"new\\deeper\\out.log", L"err.log", "hello\r\n", "oops\r\n"}, // folders made, old text dropped
        {L"both.log", L"both.log", "hello\r\noops\r\n", "hello\r\noops\r\n"},
        // one file in other spellings: other letter case, another way there
        {L"case.log", L"CASE.LOG", "hello\r\noops\r\n", "hello\r\noops\r\n"},
        {L"way.log", L"new\\..\\way.log", "hello\r\noops\r\n", "hello\r\noops\r\n"},
        // cannot be opened: System.out stays as it was, and System.err is still redirected
        {L"file\\out.log", L"err3.log", "", "oops\r\n"},
    };
    for (const auto& c : cases) {
        StandInLaunch launch(L"main=print:hello,eprint:oops");
        launch.app().set(L"Application", L"Output File", logs / c.output);
        launch.app().set(L"Application", L"Error File", logs / c.error);
        ASSERT_EQ(launch.run(), 0u);
        EXPECT_EQ(readBytes(logs / c.output), c.outputText) << narrow(c.output);
        EXPECT_EQ(readBytes(logs / c.error), c.errorText) << narrow(c.error);
        StandInRecord record = launch.record();
        EXPECT_EQ(record.has("stdout"), !*c.outputText) << narrow(c.output);
        EXPECT_EQ(record.value("exception") == "java/io/FileNotFoundException", !*c.outputText);
    }
}

TEST(JavaStart, BuiltInSettingsThePlusSectionAndTheFile) {
    StandInLaunch launch(L"");
    ASSERT_TRUE(launch.app().stampBuiltInSettings("[Java Runtime Environment]\r\nMain Class=builtin.Main\r\n"
                                                  "Virtual Machine Parameters=-Dbuilt=in\r\n"
                                                  "[Class Path]\r\nClass Path=C:\\builtin.jar\r\n"));
    launch.app().remove(runtimeSection, L"Main Class");
    launch.app().set(L"Java Runtime Environment+", L"Virtual Machine Parameters", L"-Dplus=1");
    ASSERT_EQ(launch.run(), 0u);
    EXPECT_EQ(launch.record().value("findClass"), "builtin/Main");
    EXPECT_EQ(launch.record().values("option"),
              (Lines{"-Djava.class.path=C:\\app.jar;", "-Dbuilt=in", "-Dplus=1", "abort", "exit"}));
}

TEST(JavaStart, ClassPathEntriesWithSlashesOrWithoutALeadingBackslash) {
    StandInLaunch launch(L"");
    const std::wstring app = launch.app().folder();
    createFolders(app + L"\\lib");
    for (const wchar_t* jar : {L"a.jar", L"b.jar", L"c.jar"})
        writeBytes(app + L"\\lib\\" + jar, "");
    launch.app().set(L"Class Path", L"Class Path", L"lib\\a.jar;\\lib/b.jar;" + app + L"/lib/c*.jar");
    ASSERT_EQ(launch.run(), 0u);
    EXPECT_EQ(launch.record().value("option"),
              narrow(L"-Djava.class.path=" + app + L"\\lib\\a.jar;" + app + L"\\lib/b.jar;" + app + L"/lib/c.jar;"));
}

TEST(JavaStart, EmbeddedJarPutsTheExecutableOnTheClassPath) {
    StandInLaunch launch(L"");
    launch.app().set(L"Application", L"Embedded Jar", L"Yes");
    launch.app().remove(L"Class Path", L"Class Path");
    ASSERT_EQ(launch.run(), 0u);
    EXPECT_EQ(launch.record().value("option"), narrow(L"-Djava.class.path=" + launch.app().exePath()));
}

TEST(JavaStart, OverrideWorkingDirMovesToTheExecutablesFolder) {
    TempFolder elsewhere;
    for (const wchar_t* value : {L"YES", L"no"}) {
        StandInLaunch launch(L"");
        launch.app().set(L"Application", L"Override WorkingDir", value);
        auto process = launch.app().start(L"-nosplash", elsewhere.path());
        ASSERT_TRUE(process->waitForExit());
        EXPECT_EQ(launch.record().value("cwd"), narrow(*value == L'Y' ? launch.app().folder() : elsewhere.path()));
    }
}

} // namespace
