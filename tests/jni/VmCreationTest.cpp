// The VM's creation and what ends, blocks or redirects a process, each process in a child of its own.
#include "JvmSupport.h"
#include "jvm/ClassDataArchive.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string fileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

struct ChildRun {
    int status;          // 137 when the child had to be killed
    std::string printed; // on both streams
};

// Runs koru_jni_child with the arguments (as a shell reads them), killed after the time limit.
ChildRun runJniChild(const std::string& arguments, int seconds = 60) {
    char log[] = "/tmp/koru-jni-child-XXXXXX";
    close(mkstemp(log));
    std::string command = "timeout -s KILL " + std::to_string(seconds) + " '" KORU_JNI_CHILD "' " + arguments;
    int status = std::system((command + " >" + log + " 2>&1").c_str());
    std::string printed = fileText(log);
    std::remove(log);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, printed};
}

// The reasons of a refused creation are the end-to-end tests' concern (JavaStart.FailedStartsEndWithMinusOne).
TEST(VmCreation, TheRuntimesDefaultStackSizeAndModules) {
    // HotSpot still answers a JNI 1.1 request with its default stack size in whole kilobytes.
    jint size = queryDefaultStackSize(&JNI_GetDefaultJavaVMInitArgs);
    EXPECT_GT(size, 0);
    EXPECT_EQ(size % 1024, 0);
    EXPECT_TRUE(runtimeHasModules(&JNI_GetDefaultJavaVMInitArgs));
}

// Starts as the launcher makes them (see JniChild.cpp), each in a process of its own: the exit status (255: the
// start failed, 137: still running at the time limit, as a thread kept alive must be) and a piece of what was printed.
TEST(JavaMainThread, EachStartEndsWithItsStatus) {
    // the child's arguments after "start", its exit status, a piece of what it printed
    const std::tuple<const char*, int, const char*> cases[] = {
        {"-Xmx1k koru/test/App -", 255,
         "aborted: [Error occurred during initialization of VM|Too small maximum heap|]"},
        {"-XX:+UseSerialGC,-XX:+UseG1GC koru/test/App -", 255, "|Multiple garbage collectors selected|]"},
        {"-Xms100000g koru/test/App -", 255, "|Could not reserve enough space for 104857600000KB object heap|]"},
        // The VM prints its reason through System.out.
        {"--add-modules=nope koru/test/App -", 255, "aborted in the boot layer: []"},
        {"-Djdk.module.main=nope m:nope -", 255, "aborted in the boot layer: []"},
        {"-Djava.system.class.loader=nope koru/test/App -", 255, "|java.lang.Error: nope|"},
        {"'-Djava.system.class.loader=koru.test.App$InitExits' koru/test/App -", 4, ""}, // Java's own end
        {"-bogus koru/test/App -", 255, "Unrecognized option: -bogus"},
        {"- koru/test/Missing -", 255, "message 3 koru/test/Missing"},
        // Main modules: started by the class their descriptor names or by one given; "--add-opens" as two words; a
        // module without a main class, and one that is not in the boot layer.
        {"-Djdk.module.main=koru.mod m:koru.mod - module", 0, "in module koru.mod"},
        {"-Djdk.module.main=koru.mod m:koru.mod/koru/test/App - reflect", 0, "InaccessibleObjectException"},
        {"-Djdk.module.main=koru.mod,--add-opens,java.base/java.lang=koru.mod m:koru.mod/koru/test/App - reflect", 0,
         "in module koru.mod"},
        {"-Djdk.module.main=java.logging m:java.logging -", 255, "message 7 java.logging"},
        {"- m:koru.mod -", 255, "message 6 koru.mod"},
        {"- koru/test/NoMain -", 255, "java.lang.NoSuchMethodError"},
        {"- koru/test/InstanceMain -", 255, "java.lang.NoSuchMethodError"},
        {"- koru/test/IntMain -", 255, "java.lang.NoSuchMethodError"},
        {"-Xmx8m koru/test/App o", 255, "java.lang.OutOfMemoryError"},
        {"- koru/test/App - throw bad", 0, "Exception in thread \"main\" java.lang.IllegalStateException: bad"},
        {"- koru/test/App fs throw bad", 255, "dialog java.lang.IllegalStateException: bad"},
        {"- koru/test/App f throw bad", 0, "dialog java.lang.IllegalStateException: bad"},
        {"- koru/test/App - exit 7", 7, ""},
        {"- koru/test/App - linger", 0, "lingered"},
        {"- koru/test/App - thread-exit 9", 9, ""},
        {"- koru/test/App - handler-exit 3", 3, ""},
        {"- koru/test/InitThrows -", 255, "java.lang.ExceptionInInitializerError"},
        {"- 'koru/test/App$InitExits' -", 4, ""},
        {"- koru/test/InitThread -", 0, "init thread ended"},
        {"- koru/test/App k throw bad", 137, "Exception in thread \"main\" java.lang.IllegalStateException: bad"},
        {"- koru/test/App k thread-exit 9", 9, ""},
    };
    for (const auto& [arguments, status, printed] : cases) {
        ChildRun run = runJniChild(std::string("start ") + arguments, status == 137 ? 5 : 20);
        EXPECT_EQ(run.status, status) << arguments << "\n" << run.printed;
        EXPECT_NE(run.printed.find(printed), std::string::npos) << arguments << "\n" << run.printed;
        EXPECT_EQ(run.printed.find("in native method"), std::string::npos) << arguments << "\n" << run.printed;
    }
}

// Each redirection in a start of its own, whose main prints "out " and "err ".
TEST(JavaStreams, EachStreamInItsFileOneFileForBothAndAFailureLeavesTheStream) {
    std::string folder = "/tmp/koru-streams-XXXXXX";
    ASSERT_NE(mkdtemp(&folder[0]), nullptr);
    const std::vector<std::string> cases[] = {{"/out.txt", "/err.txt", "|out |err "},
                                              {"/same.txt", "/same.txt", "|out err |out err "},
                                              {"/missing/out.txt", "/err2.txt", "out ||err "}};
    for (const auto& c : cases) {
        // The last line printed: the standard output, where its redirection failed (the error described before).
        const std::string output = folder + c[0], error = folder + c[1];
        std::string printed =
            runJniChild("start out=" + output + ",err=" + error + " koru/test/App - print 'out ' 'err '").printed;
        EXPECT_EQ(printed.substr(printed.rfind('\n') + 1) + "|" + fileText(output) + "|" + fileText(error), c[2])
            << c[0];
    }
    std::system(("rm -rf '" + folder + "'").c_str());
}

// The archive options of a HotSpot 13 to 18 start: the archive written at the VM's end is whole when the VM reports
// that it has finished (DestroyJavaVM returned, or the exit hook after System.exit), the next start maps it, and once
// a jar of the class path has changed the runtime refuses it without a word and starts as without it.
TEST(ClassDataArchive, WrittenWholeByTheEndMappedNextRefusedQuietlyAfterAJarChanged) {
    std::string folder = "/tmp/koru-archive-XXXXXX";
    ASSERT_NE(mkdtemp(&folder[0]), nullptr);
    const std::string jar = folder + "/app.jar", archive = folder + "/app.jsa", written = archive + ".1.tmp";
    // The classes in a jar: a VM that archived a class from a folder would fail at its end.
    std::system(("'" KORU_JAVA_HOME "/bin/jar' --create --file '" + jar + "' -C '" KORU_JNI_CLASSES "' .").c_str());
    // The options quoted: the shell must not take the ">" of "publish=".
    auto start = [&](ArchiveMode mode, const std::string& more, const std::string& rest) {
        std::string options = "-Djava.class.path=" + jar + ",-Xlog:class+load=info" + more;
        for (const std::string& option : archiveOptions(mode, mode == ArchiveMode::Map ? archive : written, "app"))
            options += "," + option;
        return runJniChild("start '" + options + "' koru/test/App -" + rest);
    };
    for (const auto& [end, status] : {std::pair<const char*, int>{"", 0}, {" exit 7", 7}}) {
        std::remove(archive.c_str());
        ChildRun run = start(ArchiveMode::DumpAtExit, ",publish=" + written + ">" + archive, end);
        EXPECT_EQ(run.status, status) << run.printed;
        std::error_code error;
        long long size = static_cast<long long>(std::filesystem::file_size(archive, error));
        EXPECT_TRUE(size > 0 && run.printed.find("published " + std::to_string(size)) != std::string::npos)
            << run.printed;
    }
    const std::string mapped = "koru.test.App source: shared objects file (top)";
    EXPECT_NE(start(ArchiveMode::Map, "", "").printed.find(mapped), std::string::npos);
    std::filesystem::last_write_time(jar, std::filesystem::last_write_time(jar) + std::chrono::minutes(1));
    ChildRun refused = start(ArchiveMode::Map, "", "");
    EXPECT_EQ(refused.status, 0);
    EXPECT_NE(refused.printed.find("koru.test.App source: file:"), std::string::npos) << refused.printed;
    EXPECT_EQ(refused.printed.find("[warning]"), std::string::npos) << refused.printed;
    std::filesystem::remove_all(folder);
}

} // namespace
