// Starts that reach the Java runtime: the stand-in runtime plays a script and records what the launcher gave it.
#include "RuntimeFixtures.h"
#include "StandInRecord.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

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

// Class path entries with slashes or without a leading backslash are kept as written, made full where relative. A
// main module with its module path, every option that the java command takes with its value as the next word, and
// the last "-Xss" as the Java main thread's stack size. The class name and the arguments reach Java unchanged: a
// supplementary character, one outside every ANSI code page, empty arguments and the switch, then the "Cmd" ones.
TEST(JavaStart, WorkedExampleOptionByOption) {
    StandInLaunch launch(L"", {{L"Application", L"Cmd", L"%KORU_TEST_CMD% \"x y\" \"\" -nosplash"}});
    ScopedEnvironment cmd(L"KORU_TEST_CMD", L"C:\\from env");
    const std::wstring app = launch.app().folder(), lib = app + L"\\lib";
    for (const wchar_t* name : {L"a.jar", L"b.jar", L"c.jar", L"notes.txt"})
        writeBytes(lib + L"\\" + name, "");
    launch.app().set(
        {{jreSection, L"Library Path", L"native"},
         {jreSection, L"Main Module", L"a/com.ex\x00E4mple.Ma\xD835\xDD38n"},
         {jreSection, L"Virtual Machine Parameters",
          L"-Xmx50P \"-Dapp.home=%APPDATA%\\My App\" -Xss1m -Xss16m --add-opens java.base/java.lang=ALL-UNNAMED "
          L"--add-exports a/b=c --add-reads a=b --add-modules m --limit-modules m --patch-module m=p "
          L"--upgrade-module-path u --enable-native-access ALL-UNNAMED -cp C:\\1.jar -classpath C:\\2.jar "
          L"--class-path C:\\3.jar -p C:\\m1 --module-path C:\\m2"},
         {L"Class Path", L"Class Path",
          L"\\lib\\*.jar;lib\\a.jar;\\lib/b.jar;" + app + L"/lib/c*.jar;C:\\shared\\util.jar"},
         {L"Class Path", L"Module Path", L"\\lib;;C:\\mods"}});
    ASSERT_EQ(launch.run(L"-nosplash \"two words\" \"\" \x00FC\xD83D\xDE00 \x4E2D -NOSPLASH"), 0u);

    const std::wstring jre = launch.runtimeHome();
    const std::wstring path = _wgetenv(L"Path"); // neither this nor APPDATA is changed by the tests
    MEMORYSTATUS memory = {};
    GlobalMemoryStatus(&memory);
    StandInRecord record = launch.record();
    EXPECT_EQ(record.values("option"),
              (Lines{narrow(L"-Djava.library.path=native;" + app + L"\\;.;" + path + L";" + jre + L"\\lib"),
                     narrow(L"-Djava.class.path=" + listedJars(lib) + lib + L"\\a.jar;" + lib + L"/b.jar;" + app +
                            L"/lib/c.jar;C:\\shared\\util.jar;C:\\1.jar;C:\\2.jar;C:\\3.jar;" + app + L"\\"),
                     narrow(L"--module-path=" + lib + L";C:\\mods;C:\\m1;C:\\m2"), "-Djdk.module.main=a",
                     "-Xmx" + std::to_string(uint64_t(double(memory.dwTotalPhys >> 10) * 0.5)) + "K",
                     narrow(L"-Dapp.home=" + std::wstring(_wgetenv(L"APPDATA")) + L"\\My App"), "-Xss1m", "-Xss16m",
                     "--add-opens=java.base/java.lang=ALL-UNNAMED", "--add-exports=a/b=c", "--add-reads=a=b",
                     "--add-modules=m", "--limit-modules=m", "--patch-module=m=p", "--upgrade-module-path=u",
                     "--enable-native-access=ALL-UNNAMED", "abort", "exit", "vfprintf"}));
    EXPECT_EQ(record.values("hook"), (Lines{"abort", "exit", "vfprintf"}));
    EXPECT_EQ(record.value("create.version"), "0x00010002");
    EXPECT_EQ(record.value("env.KORU_JVM_PATH"), narrow(launch.jvmPath()));
    EXPECT_EQ(record.value("env.KORU_JVM_HOME"), narrow(jre));
    EXPECT_EQ(record.value("env.Path"), narrow(path + L";" + jre + L"\\bin"));
    EXPECT_EQ(record.values("main.arg"), (Lines{"-nosplash", "two words", "", "\xC3\xBC\xF0\x9F\x98\x80",
                                                "\xE4\xB8\xAD", "-NOSPLASH", "C:\\from", "env", "x y", "-nosplash"}));
    EXPECT_EQ(record.value("findClass"), "com/ex\xC3\xA4mple/Ma\xED\xA0\xB5\xED\xB4\xB8n") << "modified UTF-8";
    EXPECT_GE(std::stoull(record.value("stackReserve")), 16ull << 20);
}

// Each failed start shows its messages and then ends with -1 within seconds: nothing keeps the runtime waiting.
TEST(JavaStart, FailedStartsEndWithMinusOne) {
    const std::wstring notCreated = L"JNI exception: failed to create the Java VM\nReason: ";
    const struct {
        const wchar_t* script;
        std::vector<std::wstring> boxes; // the messages, in order ({jvm}: the library); none: the runtime describes it
        std::vector<Setting> settings;
        std::wstring (*library)() = nullptr; // a library in place of the stand-in
    } cases[] = {
        {L"", {notCreated + L"unknown.\n"}, {{jreSection, L"Virtual Machine Parameters", L"-bogus"}}},
        {L"", {notCreated + L"invalid arguments.\n"}, {{jreSection, L"Virtual Machine Parameters", L"-Xmx1Q"}}},
        {L"create=-7", {notCreated + L".\n"}, {}},
        {L"abort=Too small maximum heap",
         {notCreated + L"Error occurred during initialization of VM\nToo small maximum heap.\n"},
         {}},
        {L"fail=NewCharArray", {L"Failed to load Main Class: com/example/App.\n"}, {}},
        {L"missing=class",
         {L"Could not find the main class com/ex\x00E4mple/Ma\xD835\xDD38n.\n"},
         {{jreSection, L"Main Class", L"com.ex\x00E4mple.Ma\xD835\xDD38n"}}},
        {L"clinit=throw:java/lang/IllegalStateException", {L"Could not find the main class com/example/App.\n"}, {}},
        {L"missing=main-silent", {L"No main method found in specified class.\n"}, {}},
        {L"", {L"Main class was not specified in INI file."}, {{jreSection, L"Main Class", L""}}},
        {L"",
         {L"Virtual Machine Parameters: -jar is an option of the java command, which the Java VM itself does not "
          L"take.\n"},
         {{jreSection, L"Virtual Machine Parameters", L"-Xmx1g -jar app.jar"}}},
        {L"java=8",
         {L"The main module m needs Java 9 or later; the Java runtime {jvm} is older.\n"},
         {{jreSection, L"Main Module", L"m/com.example.App"}}},
        {L"",
         {L"Could not start the main module nope: it, or a module it requires, is not on the module path, or two "
          L"modules conflict.\n"},
         {{jreSection, L"Main Module", L"nope"}, {L"Class Path", L"Class Path", L""}}},
        {L"", {L"Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n"}, {}, createOnlyLibraryPath},
    };
    for (const auto& c : cases) {
        StandInLaunch launch(c.script, c.settings);
        if (c.library)
            installJvmLibrary(launch.runtimeHome(), L"server", c.library());
        auto process = launch.start();
        for (std::wstring box : c.boxes) {
            if (box.find(L"{jvm}") != std::wstring::npos)
                box.replace(box.find(L"{jvm}"), 5, launch.jvmPath());
            EXPECT_EQ(dismissMessageBox(process->id()), box) << narrow(c.script);
        }
        EXPECT_EQ(process->exitCodeAfterWait(10000), failedStart) << narrow(c.script);
    }
}

// The exit code, and what the record tells of main's thread and of the VM's end, in order.
TEST(JavaStart, ExitCodesAndTheVmsEnd) {
    // script, "VM Provider", exit code, facts
    const std::tuple<const wchar_t*, const wchar_t*, DWORD, Lines> cases[] = {
        {L"main=exit:-2", L"", 0xFFFFFFFE, {"exit=-2"}},
        // Left pending, what main threw goes to the application's uncaught-exception handler when the thread detaches
        // (the VM's own prints it); with "Failure Check" the exception dialog takes it.
        {L"main=throw:java/lang/IllegalStateException;handler=exit:3",
         L"",
         3,
         {"uncaught=java/lang/IllegalStateException", "exit=3"}},
        // The Java main thread stays attached, so the VM cannot be destroyed: the launcher must not wait for it.
        {L"detach=-1", L"", failedStart, {"detach=-1"}},
        {L"main=linger:600", L"", 0, {"detach", "destroy.begin", "thread.ended", "destroy.end"}},
        // IBM runtimes: the Java main thread stays after main returns, and the process ends when Java ends it.
        {L"", L"any", killed, {}},
    };
    for (const auto& [script, vmProvider, exitCode, facts] : cases) {
        StandInLaunch launch(script, {{jreSection, L"VM Provider", vmProvider}});
        EXPECT_EQ(launch.run(L"", exitCode == killed ? 1500 : 20000), exitCode) << narrow(script);
        StandInRecord record = launch.record();
        EXPECT_EQ(record.value("main.argc"), "0") << "no arguments give an empty array";
        EXPECT_EQ(record.facts({"exit", "detach", "uncaught", "thread.", "destroy."}), facts) << narrow(script);
    }
}

// Folders are made; one file named in other spellings (letter case, another way there) takes both streams.
TEST(JavaStart, StandardStreamsRedirected) {
    TempFolder logs;
    // "Output File", "Error File", whether the two name one file
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {{L"new\\deeper\\out.log", L"err.log", false},
                                                                      {L"case.log", L"CASE.LOG", true},
                                                                      {L"way.log", L"new\\..\\way.log", true}};
    for (const auto& [output, error, oneFile] : cases) {
        StandInLaunch launch(L"main=print:hello,eprint:oops", {{L"Application", L"Output File", logs / output},
                                                               {L"Application", L"Error File", logs / error}});
        ASSERT_EQ(launch.run(), 0u);
        EXPECT_EQ(readBytes(logs / output), oneFile ? "hello\r\noops\r\n" : "hello\r\n") << narrow(output);
        EXPECT_EQ(readBytes(logs / error), oneFile ? "hello\r\noops\r\n" : "oops\r\n") << narrow(error);
        EXPECT_FALSE(launch.record().has("stdout") || launch.record().has("stderr")) << narrow(output);
    }
}

TEST(JavaStart, BuiltInSettingsThePlusSectionAndTheFile) {
    const std::wstring text =
        L"[Java Runtime Environment]\r\nMain Class=builtin.M\x00E4in\r\n"
        L"Virtual Machine Parameters=-Dbuilt=in\r\n[Class Path]\r\nClass Path=C:\\builtin.jar\r\n";
    const std::string utf16(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    for (const std::string& stamped : {narrow(text), "\xFF\xFE" + utf16}) {
        StandInLaunch launch(L"", {{L"Java Runtime Environment+", L"Virtual Machine Parameters", L"-Dplus=1"}});
        ASSERT_TRUE(launch.app().stampBuiltInSettings(stamped));
        launch.app().remove(jreSection, L"Main Class");
        ASSERT_EQ(launch.run(L"-nosplash", 5000), 0u); // a launcher that lost its settings waits in a box
        EXPECT_EQ(launch.record().value("findClass"), "builtin/M\xC3\xA4in");
        EXPECT_EQ(launch.record().values("option"),
                  (Lines{narrow(L"-Djava.class.path=" + launch.app().file(L"app.jar;") + launch.app().folder() + L"\\"),
                         "-Dbuilt=in", "-Dplus=1", "abort", "exit", "vfprintf"}));
    }
}

// "Embedded Jar" puts the executable on the class path; "Override WorkingDir" starts in the executable's folder.
// Wherever the launcher is started, the folder it starts in is not searched for classes (here it holds the main
// class), not even when the class path came out empty: the executable's own folder stands for an empty entry. Without
// "-Xss" the Java main thread has the runtime's default stack size.
TEST(JavaStart, EmbeddedJarOverrideWorkingDirAndNoClassesFromTheCurrentFolder) {
    TempFolder elsewhere;
    writeBytes(elsewhere / L"com\\example\\App.class", "");
    for (bool yes : {true, false}) {
        StandInLaunch launch(L"stack=12582912", {{L"Application", L"Override WorkingDir", yes ? L"YES" : L"no"},
                                                 {L"Application", L"Embedded Jar", yes ? L"Yes" : L"no"},
                                                 {L"Class Path", L"Class Path", yes ? L"" : L"\\missing.jar"}});
        auto process = launch.app().start(L"-nosplash", elsewhere.path());
        if (!yes) {
            EXPECT_EQ(dismissMessageBox(process->id()), L"Java Class Path was not specified in INI file.");
            EXPECT_EQ(dismissMessageBox(process->id()), L"Could not find the main class com/example/App.\n");
        }
        ASSERT_EQ(process->exitCodeAfterWait(), yes ? 0u : failedStart);
        EXPECT_GE(std::stoull(launch.record().value("stackReserve")), 12ull << 20) << "the runtime's default";
        StandInRecord record = launch.record();
        EXPECT_EQ(record.value("cwd"), narrow(yes ? launch.app().folder() : elsewhere.path()));
        EXPECT_EQ(record.value("option"),
                  "-Djava.class.path=" + narrow(yes ? launch.app().exePath() : launch.app().folder() + L"\\"));
    }
}

} // namespace
