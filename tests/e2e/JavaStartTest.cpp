// Starts that reach the Java VM: the stand-in runtime records what the launcher handed it and plays a behaviour.
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

std::wstring environment(const wchar_t* name) {
    wchar_t buffer[32768];
    DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    return length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

// The jars of a folder in the order the file system lists them, as the launcher takes them.
std::wstring listedJars(const std::wstring& folder) {
    std::wstring list;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*.jar").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return list;
    do {
        list += folder + L"\\" + data.cFileName + L";";
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return list;
}

uint64_t physicalKiB(unsigned percent) {
    MEMORYSTATUS status = {};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    return static_cast<uint64_t>(static_cast<double>(status.dwTotalPhys >> 10) * (percent / 100.0));
}

bool ended(TestProcess& process, DWORD expectedCode) {
    if (!process.waitForExit())
        return false;
    EXPECT_EQ(process.exitCode(), expectedCode);
    return true;
}

TEST(JavaStart, WorkedExampleOptionByOption) {
    StandInLaunch launch(L"main=return", L"launcher.exe");
    const std::wstring app = launch.app().folder();
    createFolders(app + L"\\lib");
    writeBytes(app + L"\\lib\\a.jar", "");
    writeBytes(app + L"\\lib\\b.jar", "");
    writeBytes(app + L"\\lib\\notes.txt", "");
    launch.app().writeSettings(L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\nJRE Path=" +
                               launch.runtimeHome() +
                               L"\r\nLibrary Path=native\r\n"
                               L"Virtual Machine Parameters=-Xmx50P \"-Dapp.home=%APPDATA%\\My App\"\r\n"
                               L"[Class Path]\r\nClass Path=\\lib\\*.jar;C:\\shared\\util.jar\r\n");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0));

    const std::wstring jre = launch.runtimeHome();
    const std::wstring path = environment(L"Path");
    Lines expected = {
        narrow(L"-Djava.library.path=native;" + app + L"\\;.;" + path + L";" + jre + L"\\lib"),
        narrow(L"-Djava.class.path=" + listedJars(app + L"\\lib") + L"C:\\shared\\util.jar;"),
        "-Xmx" + std::to_string(physicalKiB(50)) + "K",
        narrow(L"-Dapp.home=" + environment(L"APPDATA") + L"\\My App"),
        "abort",
        "exit",
    };
    EXPECT_EQ(launch.values("option"), expected);
    EXPECT_EQ(launch.values("option.hook"), (Lines{"abort", "exit"}));
    EXPECT_EQ(launch.value("create.version"), "0x00010002");
    EXPECT_EQ(launch.value("create.ignoreUnrecognized"), "0");
    EXPECT_EQ(launch.value("env.KORU_JVM_PATH"), narrow(launch.jvmPath()));
    EXPECT_EQ(launch.value("env.KORU_JVM_HOME"), narrow(jre));
    EXPECT_EQ(launch.value("env.Path"), narrow(path + L";" + jre + L"\\bin"));
    EXPECT_EQ(launch.value("findClass"), "com/example/App");
}

TEST(JavaStart, ArgumentsReachMainAsUtf16Text) {
    StandInLaunch launch(L"main=return");
    launch.writeSettings(L"", L"[Application]\r\nCmd=%KORU_TEST_CMD% \"x y\" \"\" -nosplash\r\n");
    ScopedEnvironment cmd(L"KORU_TEST_CMD", L"C:\\from env");
    // A supplementary character, a character outside every ANSI code page, an empty argument and the switch.
    auto process = launch.start(L"-nosplash \"two words\" \"\" \x00FC\xD83D\xDE00 \x4E2D -NOSPLASH");
    ASSERT_TRUE(ended(*process, 0));
    EXPECT_EQ(launch.values("main.arg"), (Lines{"-nosplash", "two words", "", "\xC3\xBC\xF0\x9F\x98\x80",
                                                "\xE4\xB8\xAD", "-NOSPLASH", "C:\\from", "env", "x y", "-nosplash"}));
    EXPECT_EQ(launch.value("main.argc"), "10");
}

TEST(JavaStart, NoArgumentsGiveAnEmptyArray) {
    StandInLaunch launch(L"main=return");
    launch.writeSettings(L"");
    auto process = launch.start(L"");
    ASSERT_TRUE(ended(*process, 0));
    EXPECT_EQ(launch.value("main.argc"), "0");
    EXPECT_TRUE(launch.has("main.called"));
}

TEST(JavaStart, CreationFailuresNameTheirReason) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"create=-1", L"unknown"},
        {L"create=-4", L"not enough memory"},
        {L"create=-6", L"invalid arguments"},
        {L"create=-7", L""},
    };
    for (const auto& c : cases) {
        StandInLaunch launch(c.first);
        launch.writeSettings(L"");
        auto process = launch.start();
        EXPECT_EQ(dismissMessageBox(process->id()),
                  std::wstring(L"JNI exception: failed to create the Java VM\nReason: ") + c.second + L".\n")
            << c.first;
        ASSERT_TRUE(ended(*process, 0xFFFFFFFFu)) << c.first;
        EXPECT_FALSE(launch.has("main.called"));
        EXPECT_FALSE(launch.has("destroy.begin")) << "a VM that was never created is not destroyed";
    }
}

TEST(JavaStart, UnknownOptionsAreNotIgnored) {
    StandInLaunch launch(L"reject-unknown");
    launch.writeSettings(L"Virtual Machine Parameters=-Xmx64m --no-such-option");
    auto process = launch.start();
    EXPECT_EQ(dismissMessageBox(process->id()), L"JNI exception: failed to create the Java VM\nReason: unknown.\n");
    ASSERT_TRUE(ended(*process, 0xFFFFFFFFu));
    EXPECT_EQ(launch.value("stderr"), "Unrecognized option: --no-such-option");
}

TEST(JavaStart, MissingMainClassIsNamedWithEveryCharacter) {
    StandInLaunch launch(L"class-missing");
    launch.app().writeSettings(
        L"[Java Runtime Environment]\r\nMain Class=com.ex\x00E4mple.Ma\xD835\xDD38n\r\nJRE Path=" +
        launch.runtimeHome() + L"\r\n[Class Path]\r\nClass Path=C:\\app.jar\r\n");
    auto process = launch.start();
    EXPECT_EQ(dismissMessageBox(process->id()), L"Could not find the main class com/ex\x00E4mple/Ma\xD835\xDD38n.\n");
    ASSERT_TRUE(ended(*process, 0xFFFFFFFFu));
    EXPECT_EQ(launch.value("findClass"), "com/ex\xC3\xA4mple/Ma\xED\xA0\xB5\xED\xB4\xB8n") << "modified UTF-8";
}

TEST(JavaStart, MainClassNameThatCannotBecomeAJavaString) {
    StandInLaunch launch(L"string-missing");
    launch.writeSettings(L"");
    auto process = launch.start();
    EXPECT_EQ(dismissMessageBox(process->id()), L"Failed to load Main Class: com/example/App.\n");
    ASSERT_TRUE(ended(*process, 0xFFFFFFFFu));
    EXPECT_FALSE(launch.has("main.called"));
}

TEST(JavaStart, MissingMainMethod) {
    {
        StandInLaunch launch(L"no-main");
        launch.writeSettings(L"");
        auto process = launch.start();
        ASSERT_TRUE(ended(*process, 0xFFFFFFFFu)); // the VM's own description, no box
        EXPECT_TRUE(windowsOf(process->id()).empty());
        EXPECT_FALSE(launch.values("stderr").empty());
    }
    StandInLaunch launch(L"no-main-silent");
    launch.writeSettings(L"");
    auto process = launch.start();
    EXPECT_EQ(dismissMessageBox(process->id()), L"No main method found in specified class.\n");
    ASSERT_TRUE(ended(*process, 0xFFFFFFFFu));
}

TEST(JavaStart, SystemExitEndsTheProcessWithItsCode) {
    StandInLaunch launch(L"main=exit:4660");
    launch.writeSettings(L"");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 4660u));
    EXPECT_EQ(launch.value("exit"), "4660");
}

TEST(JavaStart, UncaughtExceptionWithoutFailureCheckEndsWithZero) {
    StandInLaunch launch(L"main=throw:java/lang/IllegalStateException:bad");
    launch.writeSettings(L"");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_TRUE(launch.has("main.called"));
    EXPECT_TRUE(launch.has("detach"));
    EXPECT_EQ(launch.value("uncaught"), "java/lang/IllegalStateException") << "left pending for the VM to print";
}

TEST(JavaStart, UncaughtExceptionWithFailureCheckIsIgnoredForNow) {
    StandInLaunch launch(L"main=throw:java/lang/IllegalStateException:bad");
    launch.writeSettings(L"", L"[Application]\r\nFailure Check=Yes\r\n");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_TRUE(launch.has("detach"));
    EXPECT_FALSE(launch.has("uncaught")) << "the exception was cleared before the thread detached";
}

TEST(JavaStart, FailedDetachFailsTheStart) {
    StandInLaunch launch(L"main=return;detach=-1");
    launch.writeSettings(L"");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0xFFFFFFFFu));
    EXPECT_TRUE(launch.has("main.called"));
}

TEST(JavaStart, IbmRuntimesKeepTheProcessUntilJavaEndsIt) {
    StandInLaunch launch(L"main=return");
    launch.writeSettings(L"VM Provider=any");
    auto process = launch.start();
    EXPECT_FALSE(process->waitForExit(1500)) << "the Java main thread stays after main returns";
    EXPECT_TRUE(launch.has("main.called"));
    EXPECT_FALSE(launch.has("detach"));

    StandInLaunch exiting(L"main=exit:7");
    exiting.writeSettings(L"VM Provider=any");
    auto ended7 = exiting.start();
    ASSERT_TRUE(ended(*ended7, 7u));
}

TEST(JavaStart, DestroyWaitsForTheApplicationsThreads) {
    StandInLaunch launch(L"main=return;linger=600");
    launch.writeSettings(L"");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    Lines order;
    for (const auto& line : launch.record()) {
        if (line.first == "thread.ended" || line.first == "destroy.begin" || line.first == "destroy.end")
            order.push_back(line.first);
    }
    EXPECT_EQ(order, (Lines{"destroy.begin", "thread.ended", "destroy.end"}));
}

TEST(JavaStart, StackSizeOfTheJavaMainThread) {
    {
        StandInLaunch launch(L"main=return");
        launch.writeSettings(L"Virtual Machine Parameters=-Xss1m -Xss16m");
        auto process = launch.start();
        ASSERT_TRUE(ended(*process, 0u));
        EXPECT_GE(std::stoull(launch.value("thread.stackReserve")), 16ull << 20);
        EXPECT_EQ(launch.values("option")[1], "-Xss1m");
    }
    StandInLaunch launch(L"main=return;default-stack=12582912");
    launch.writeSettings(L"");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_GE(std::stoull(launch.value("thread.stackReserve")), 12ull << 20);
}

TEST(JavaStart, OutputRedirectedIntoNewFoldersAndTruncated) {
    StandInLaunch launch(L"main=print:hello \x00FC\xD83D\xDE00,eprint:oops");
    TempFolder logs;
    std::wstring out = logs / L"new\\deeper\\out.log";
    std::wstring err = logs / L"err.log";
    writeBytes(err, std::string(1000, 'x'));
    launch.writeSettings(L"", L"[Application]\r\nOutput File=" + out + L"\r\nError File=" + err + L"\r\n");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_EQ(readBytes(out), "hello \xC3\xBC\xF0\x9F\x98\x80\r\n");
    EXPECT_EQ(readBytes(err), "oops\r\n");
}

std::wstring shortPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : path;
}

TEST(JavaStart, OutputAndErrorNamingOneFileKeepBothTexts) {
    TempFolder logs;
    const std::wstring both = logs / L"both-streams.log";
    writeBytes(both, "");
    std::wstring upper = both;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    // The same text, other letter case, relative to the current folder, the short form.
    for (const std::wstring& errorFile : {both, upper, std::wstring(L"both-streams.log"), shortPath(both)}) {
        StandInLaunch launch(L"main=print:out,eprint:err,print:again");
        launch.writeSettings(L"", L"[Application]\r\nOutput File=" + both + L"\r\nError File=" + errorFile + L"\r\n");
        auto process = launch.app().start(L"-nosplash", logs.path());
        ASSERT_TRUE(ended(*process, 0u));
        EXPECT_EQ(readBytes(both), "out\r\nerr\r\nagain\r\n") << narrow(errorFile);
    }
}

TEST(JavaStart, OutputFileThatCannotBeOpenedLeavesTheStream) {
    StandInLaunch launch(L"main=print:still here");
    launch.writeSettings(L"", L"[Application]\r\nOutput File=Q:\\no-such-drive\\out.log\r\n");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_EQ(launch.value("stdout"), "still here");
    EXPECT_FALSE(launch.values("stderr").empty()) << "the file stream's error is described";
}

TEST(JavaStart, EmptyClassPathIsReportedAndTheStartGoesOn) {
    StandInLaunch launch(L"main=return");
    launch.app().writeSettings(L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\nJRE Path=" +
                               launch.runtimeHome() + L"\r\n[Class Path]\r\nClass Path=\\missing.jar\r\n");
    auto process = launch.start();
    EXPECT_EQ(dismissMessageBox(process->id()), L"Java Class Path was not specified in INI file.");
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_EQ(launch.values("option"), (Lines{"abort", "exit"}));
}

TEST(JavaStart, ClassPathEntriesWithSlashesOrWithoutALeadingBackslash) {
    StandInLaunch launch(L"main=return");
    const std::wstring app = launch.app().folder();
    createFolders(app + L"\\lib");
    for (const wchar_t* jar : {L"a.jar", L"b.jar", L"c.jar"})
        writeBytes(app + L"\\lib\\" + jar, "");
    launch.app().writeSettings(L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\nJRE Path=" +
                               launch.runtimeHome() + L"\r\n[Class Path]\r\nClass Path=lib\\a.jar;\\lib/b.jar;" + app +
                               L"/lib/c*.jar\r\n");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_EQ(launch.value("option"),
              narrow(L"-Djava.class.path=" + app + L"\\lib\\a.jar;" + app + L"\\lib/b.jar;" + app + L"/lib/c.jar;"));
}

TEST(JavaStart, EmbeddedJarPutsTheExecutableOnTheClassPath) {
    StandInLaunch launch(L"main=return");
    launch.app().writeSettings(L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\nJRE Path=" +
                               launch.runtimeHome() + L"\r\n[Application]\r\nEmbedded Jar=yes\r\n");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_EQ(launch.value("option"), narrow(L"-Djava.class.path=" + launch.app().exePath()));
}

TEST(JavaStart, OverrideWorkingDirMovesToTheExecutablesFolder) {
    TempFolder elsewhere;
    for (bool moves : {true, false}) {
        StandInLaunch launch(L"main=return");
        launch.writeSettings(L"", std::wstring(L"[Application]\r\nOverride WorkingDir=") + (moves ? L"YES" : L"no"));
        auto process = launch.app().start(L"-nosplash", elsewhere.path());
        ASSERT_TRUE(ended(*process, 0u));
        EXPECT_EQ(launch.value("cwd"), narrow(moves ? launch.app().folder() : elsewhere.path()));
    }
}

TEST(JavaStart, MainClassFromThePlusSectionAndBuiltInLayer) {
    StandInLaunch launch(L"main=return");
    ASSERT_TRUE(launch.app().stampBuiltInSettings(
        "[Java Runtime Environment]\r\nVirtual Machine Parameters=-Dbuilt=in\r\nMain Class=builtin.Main\r\n"));
    launch.app().writeSettings(L"[Java Runtime Environment]\r\nJRE Path=" + launch.runtimeHome() +
                               L"\r\n[Java Runtime Environment+]\r\nVirtual Machine Parameters=-Dplus=1\r\n"
                               L"[Class Path]\r\nClass Path=C:\\app.jar\r\n");
    auto process = launch.start();
    ASSERT_TRUE(ended(*process, 0u));
    EXPECT_EQ(launch.value("findClass"), "builtin/Main");
    EXPECT_EQ(launch.values("option"),
              (Lines{"-Djava.class.path=C:\\app.jar;", "-Dbuilt=in", "-Dplus=1", "abort", "exit"}));
}

} // namespace
