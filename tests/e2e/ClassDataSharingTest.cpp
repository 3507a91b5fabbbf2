// "Class Data Sharing" with the stand-in runtime, which takes archive options only as the runtime its release file
// names would and writes the archive at the VM's end as HotSpot does (see tests/standin/StandIn.h).
#include "StandInRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace {

const char* const java17 = "JAVA_VERSION=\"17.0.2\"";
const Setting noParameters = {jreSection, L"Virtual Machine Parameters", L""};

// The setting on, a runtime of the release given (with its default archive unless told otherwise), and %LOCALAPPDATA%
// a folder of the test's own.
struct ArchiveLaunch : StandInLaunch {
    ArchiveLaunch(const std::string& release, const Setting& setting = noParameters, bool defaultArchive = true)
        : StandInLaunch(L"", {{jreSection, L"Class Data Sharing", L"YES"},
                              {L"Product Information", L"Product Name", L"E:d"},
                              {L"Product Information", L"Product Code", L"X1"},
                              setting}),
          local(L"LOCALAPPDATA", localAppData.path()) {
        writeBytes(runtimeHome() + L"\\release", release);
        if (defaultArchive)
            writeBytes(runtimeHome() + L"\\bin\\server\\classes.jsa", "");
    }
    // The options before the class path, or the archive folder's files, with the folder as {cds}, a name's hash as
    // {hash} and the process id as {pid}.
    std::string shown(const std::string& text) const {
        std::string folder = std::regex_replace(narrow(cds()), std::regex(R"([\\.])"), R"(\$&)");
        std::string result = std::regex_replace(text, std::regex(folder), "{cds}");
        result = std::regex_replace(result, std::regex(R"(\.jsa\.[0-9]+\.tmp)"), ".jsa.{pid}.tmp");
        return std::regex_replace(result, std::regex("-[0-9a-f]{16}"), "-{hash}");
    }
    std::string options() const {
        std::string text;
        for (const std::string& option : record().values("option"))
            text += option + " ";
        return shown(text.substr(0, text.find("-Djava.class.path=")));
    }
    std::string files() const {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(cds()))
            names += shown(narrow(entry.path().filename().wstring())) + " ";
        return names;
    }
    std::wstring cds() const { return localAppData / L"Ed\\X1\\cds"; }

    TempFolder localAppData;
    ScopedEnvironment local;
};

// Each runtime is given what it knows: the stand-in, as strict as a runtime, fails a start with an option it does not.
// Nothing is added without a default archive, with the parameters' own choice, where no folder can be made, with an
// exploded module, or with an agent.
TEST(ClassDataSharing, OptionsPerRuntimeVersionAndKind) {
    const struct {
        std::string release;
        Setting setting;
        bool defaultArchive;
        const char* options;
    } rows[] = {
        {"JAVA_VERSION=\"1.8.0_392\"", noParameters, true, ""},
        {"JAVA_VERSION=\"12.0.2\"", noParameters, true, ""},
        {"", noParameters, true, ""},
        {java17, noParameters, true, "-Xlog:cds*=off -XX:ArchiveClassesAtExit={cds}\\editor-{hash}.jsa.{pid}.tmp "},
        {java17, noParameters, false, ""},
        {java17, {jreSection, L"Virtual Machine Parameters", L"-XX:SharedArchiveFile=C:\\my.jsa"}, true, ""},
        {java17, {L"Product Information", L"Product Code", L"a|b"}, true, ""},
        {java17, {L"Class Path", L"Module Path", L"\\mods"}, true, ""}, // an exploded module
        {"JAVA_VERSION=\"21.0.1\"", noParameters, true,
         "-Xlog:cds*=off -XX:SharedArchiveFile={cds}\\editor-{hash}.jsa -XX:+AutoCreateSharedArchive "},
        {"JAVA_VERSION=\"11.0.20\"\nJVM_VARIANT=\"OpenJ9\"", noParameters, true,
         "-Xshareclasses:name=editor,cacheDir={cds},nonfatal,silent "},
    };
    for (const auto& row : rows) {
        ArchiveLaunch launch(row.release, row.setting, row.defaultArchive);
        createFolders(launch.app().file(L"mods\\lib"));
        EXPECT_EQ(launch.run(), 0u) << row.release;
        EXPECT_EQ(launch.options(), row.options) << row.release;
    }
    // The VM takes options from the environment too.
    ScopedEnvironment agent(L"JAVA_TOOL_OPTIONS", L"-Dx=1 -javaagent:a.jar");
    ArchiveLaunch withAgent(java17);
    EXPECT_EQ(withAgent.run(), 0u);
    EXPECT_EQ(withAgent.options(), "");
}

// Two starts at once write an archive each, under names of their own, renamed once the VM has finished (here after
// System.exit): one is published, the other goes. The next start maps it; after a jar changed a new one is made beside
// it, and never more than two remain. An archive the runtime refuses leaves an ordinary start.
TEST(ClassDataSharing, PublishedMappedAndReplacedWhenAJarChanges) {
    ArchiveLaunch launch(java17);
    ScopedEnvironment script(L"KORU_STANDIN_SCRIPT", L"main=sleep:800,exit:3");
    auto first = launch.start(), second = launch.start();
    ASSERT_TRUE(first->waitForExit() && second->waitForExit());
    EXPECT_EQ(first->exitCode() + second->exitCode(), 6u);
    Lines written = launch.record().values("archive.written");
    EXPECT_TRUE(written.size() == 2 && written[0] != written[1]) << written.size();
    EXPECT_EQ(launch.files(), "editor-{hash}.jsa ");
    for (const char* step : {"", "", "v2", "", "v3", "", "archive=refuse"}) {
        ScopedEnvironment scripted(L"KORU_STANDIN_SCRIPT", *step == 'a' ? L"archive=refuse" : L"main=exit:3");
        if (*step == 'v')
            writeBytes(launch.app().file(L"app.jar"), step);
        launch.clearRecord();
        EXPECT_EQ(launch.run(), *step == 'a' ? 0u : 3u);
        EXPECT_TRUE(launch.record().has(*step == 'v' ? "archive.written"
                                        : *step      ? "archive.refused"
                                                     : "archive.mapped"))
            << step;
    }
    EXPECT_EQ(launch.files(), "editor-{hash}.jsa editor-{hash}.jsa ");
}

// A VM that archived a class from a folder (here the launcher's own) fails at its end: that start ends as the VM ends
// it, and later ones are ordinary.
TEST(ClassDataSharing, AFailedArchiveLeavesLaterStartsOrdinary) {
    ArchiveLaunch launch(java17, {L"Class Path", L"Class Path", L"C:\\absent.jar"});
    createFolders(launch.app().file(L"com\\example"));
    writeBytes(launch.app().file(L"com\\example\\App.class"), "");
    EXPECT_EQ(launch.run(), 1u);
    launch.clearRecord();
    EXPECT_EQ(launch.run(), 0u);
    EXPECT_EQ(launch.options(), "");
}

} // namespace
