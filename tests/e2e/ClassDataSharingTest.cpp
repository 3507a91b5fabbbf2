// "Class Data Sharing" with the stand-in runtime, which takes archive options only as the runtime its release file
// names would, writes the archive at the VM's end and checks it as HotSpot does (see tests/standin/StandIn.h).
#include "StandInRecord.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

const char* const java17 = "JAVA_VERSION=\"17.0.2\"";

// The setting on, a runtime of the release given (with its default archive unless told otherwise), and %LOCALAPPDATA%
// a folder of the test's own.
struct ArchiveLaunch : StandInLaunch {
    ArchiveLaunch(const std::string& release, std::vector<Setting> settings = {}, bool defaultArchive = true)
        : StandInLaunch(L"", settings), local(L"LOCALAPPDATA", localAppData.path()) {
        app().set({{jreSection, L"Class Data Sharing", L"YES"},
                   {L"Product Information", L"Product Name", L"E:d"},
                   {L"Product Information", L"Product Code", L"X1"}});
        writeBytes(runtimeHome() + L"\\release", release);
        if (defaultArchive)
            writeBytes(runtimeHome() + L"\\bin\\server\\classes.jsa", "");
    }
    // What is given before the class path, and the archive folder's files, with the folder as {cds}, the name's hash
    // as {hash} and the process id as {pid}.
    std::string options() const {
        std::string text;
        for (const std::string& option : record().values("option"))
            text += option.rfind("-Djava.class.path=", 0) == 0 ? "" : option + " ";
        std::string folder =
            std::regex_replace(narrow(localAppData / L"Ed\\X1\\cds"), std::regex(R"([\\.])"), R"(\$&)");
        text = std::regex_replace(text.substr(0, text.find("abort ")), std::regex(folder), "{cds}");
        text = std::regex_replace(text, std::regex(R"(\.jsa\.[0-9]+\.tmp)"), ".jsa.{pid}.tmp");
        return std::regex_replace(text, std::regex("-[0-9a-f]{16}"), "-{hash}");
    }
    std::string files() const {
        std::string names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((localAppData / L"Ed\\X1\\cds\\editor-*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            names += std::regex_replace(narrow(found.cFileName), std::regex("[0-9a-f]{16}"), "{hash}") + " ";
        FindClose(search);
        return names;
    }

    TempFolder localAppData;
    ScopedEnvironment local;
};

// Each runtime is given what it knows: the stand-in, as strict as a runtime, fails a start with an option it does not.
TEST(ClassDataSharing, OptionsPerRuntimeVersionAndKind) {
    const struct {
        std::string release;
        const wchar_t* parameters;
        bool defaultArchive;
        const char* options;
    } rows[] = {
        {"JAVA_VERSION=\"1.8.0_392\"", L"", true, ""},
        {"JAVA_VERSION=\"12.0.2\"", L"", true, ""},
        {"", L"", true, ""},
        {java17, L"", true, "-Xlog:cds*=off -XX:ArchiveClassesAtExit={cds}\\editor-{hash}.jsa.{pid}.tmp "},
        {java17, L"", false, ""},
        {java17, L"-XX:SharedArchiveFile=C:\\mine.jsa", true, "-XX:SharedArchiveFile=C:\\mine.jsa "},
        {"JAVA_VERSION=\"21.0.1\"", L"", true,
         "-Xlog:cds*=off -XX:SharedArchiveFile={cds}\\editor-{hash}.jsa -XX:+AutoCreateSharedArchive "},
        {"JAVA_VERSION=\"11.0.20\"\nJVM_VARIANT=\"OpenJ9\"", L"", true,
         "-Xshareclasses:name=editor,cacheDir={cds},nonfatal,silent "},
    };
    for (const auto& row : rows) {
        ArchiveLaunch launch(row.release, {{jreSection, L"Virtual Machine Parameters", row.parameters}},
                             row.defaultArchive);
        EXPECT_EQ(launch.run(), 0u) << row.release;
        EXPECT_EQ(launch.options(), row.options) << row.release;
    }
}

// Two starts at once write an archive each, under names of their own, renamed once the VM has finished (here after
// System.exit): one is published, the other goes. The next start maps it; after a jar changed, a new archive is made
// beside the old one, and never more than two remain.
TEST(ClassDataSharing, PublishedMappedAndReplacedWhenAJarChanges) {
    ArchiveLaunch launch(java17);
    ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", L"main=sleep:800,exit:3");
    auto first = launch.start(), second = launch.start();
    ASSERT_TRUE(first->waitForExit() && second->waitForExit());
    EXPECT_EQ(first->exitCode() + second->exitCode(), 6u);
    Lines written = launch.record().values("archive.written");
    EXPECT_TRUE(written.size() == 2 && written[0] != written[1]) << written.size();
    EXPECT_EQ(launch.files(), "editor-{hash}.jsa ");
    ScopedEnvironment exits(L"KORU_STANDIN_SCRIPT", L"main=exit:3");
    for (const char* jar : {"", "", "v2", "", "v3", ""}) {
        if (*jar)
            writeBytes(launch.app().file(L"app.jar"), jar);
        launch.clearRecord();
        EXPECT_EQ(launch.run(), 3u);
        EXPECT_TRUE(launch.record().has(*jar ? "archive.written" : "archive.mapped")) << jar;
    }
    EXPECT_EQ(launch.files(), "editor-{hash}.jsa editor-{hash}.jsa ");
}

// Whatever stands in the way, the start is an ordinary one, and the runtime's complaints reach nobody: a folder that
// cannot be made (below a file), an archive the runtime refuses, and a VM that fails at its end because it archived a
// class from a folder (here the launcher's own): that start ends as the VM ends it, later ones without the options.
TEST(ClassDataSharing, FailuresEndInAnOrdinaryStart) {
    const struct {
        const wchar_t* localAppData; // below the application's folder; none: a folder of the test's own
        const wchar_t* script;       // of the second start
        bool classInFolder;
        DWORD firstExit;
    } rows[] = {{L"app.jar", L"", false, 0}, {nullptr, L"archive=refuse", false, 0}, {nullptr, L"", true, 1}};
    for (const auto& row : rows) {
        ArchiveLaunch launch(java17,
                             {{L"Class Path", L"Class Path", row.classInFolder ? L"C:\\absent.jar" : L"\\app.jar"}});
        ScopedEnvironment local(L"LOCALAPPDATA",
                                row.localAppData ? launch.app().file(row.localAppData) : launch.localAppData.path());
        createFolders(launch.app().file(L"com\\example"));
        writeBytes(launch.app().file(row.classInFolder ? L"com\\example\\App.class" : L"com\\x"), "");
        EXPECT_EQ(launch.run(), row.firstExit);
        ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", row.script);
        launch.clearRecord();
        EXPECT_EQ(launch.run(), 0u);
        bool refused = launch.record().has("archive.refused");
        EXPECT_EQ(refused, *row.script != 0) << narrow(row.script);
        EXPECT_EQ(launch.options().empty(), !refused) << narrow(row.script);
        EXPECT_FALSE(launch.record().has("printed")) << narrow(row.script);
    }
}

} // namespace
