// Which jvm.dll a real start picks. The fixture libraries are empty files, so loading fails with message 222,
// which names the path that was tried.
#include "Installation.h"
#include "RegistryFixture.h"
#include "RuntimeFixtures.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const settingsHead = L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\n";

// Reads the launcher's one error box, dismisses it and checks the failed start's exit code.
std::wstring errorOfStart(const Installation& app, const std::wstring& currentFolder = L"") {
    auto process = app.start(L"-nosplash", currentFolder);
    if (!process->started())
        return L"(not started)";
    FoundWindow box = waitForWindow(process->id(), L"#32770");
    std::wstring text = box.handle ? messageBoxText(box.handle) : L"(no message box)";
    if (box.handle)
        pressButton(box.handle, IDOK);
    EXPECT_TRUE(process->waitForExit());
    EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu);
    return text;
}

std::wstring loadFailureFor(const std::wstring& library) {
    return L"Failed to load Java VM library: " + library + L" (errno = ";
}

// The message 222 for a library, whatever its error code (that depends on how the file is broken).
::testing::AssertionResult namesLibrary(const std::wstring& text, const std::wstring& library) {
    std::wstring expected = loadFailureFor(library);
    bool ends = text.size() >= 3 && text.compare(text.size() - 3, 3, L").\n") == 0;
    if (text.compare(0, expected.size(), expected) == 0 && ends)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "box text: " << narrow(text) << "\nexpected: " << narrow(expected);
}

class RuntimeSelectionStart : public ::testing::Test {
protected:
    void SetUp() override {
        if (RegistryFixture::machineHasRuntimes())
            GTEST_SKIP() << "this machine has Java runtimes registered";
    }
    TempFolder runtimes;
    RegistryFixture registry;
};

TEST_F(RuntimeSelectionStart, JrePathIsLoaded) {
    std::wstring library = installJvmLibrary(runtimes / L"jre", L"client");
    Installation app;
    app.writeSettings(std::wstring(settingsHead) + L"JRE Path=" + runtimes.path() + L"\\jre\r\n");
    EXPECT_TRUE(namesLibrary(errorOfStart(app), library));
}

TEST_F(RuntimeSelectionStart, LocalRuntimeInTheExecutablesFolderWinsOverJre64) {
    Installation app;
    app.writeSettings(settingsHead);
    markRuntimeFolder(app.folder());
    std::wstring own = installJvmLibrary(app.folder(), L"client");
    markRuntimeFolder(app.file(L"jre64"));
    installJvmLibrary(app.file(L"jre64"), L"client");
    EXPECT_TRUE(namesLibrary(errorOfStart(app), own));
}

TEST_F(RuntimeSelectionStart, LocalRuntimeInJre64) {
    Installation app;
    app.writeSettings(std::wstring(settingsHead) + L"JVM Type=server\r\n");
    markRuntimeFolder(app.file(L"jre64"));
    installJvmLibrary(app.file(L"jre64"), L"client");
    std::wstring server = installJvmLibrary(app.file(L"jre64"), L"server");
    EXPECT_TRUE(namesLibrary(errorOfStart(app), app.folder() + L"\\jre64\\bin\\server\\jvm.dll"));
    EXPECT_TRUE(fileExists(server));
}

TEST_F(RuntimeSelectionStart, RegistryChoiceIsLoaded) {
    std::wstring older = runtimes / L"jre7";
    std::wstring newer = runtimes / L"jre8";
    installJvmLibrary(older, L"client");
    std::wstring library = installJvmLibrary(newer, L"client");
    ASSERT_TRUE(registry.add(L"Software\\JavaSoft\\Java Runtime Environment", L"1.7.0_80", older));
    ASSERT_TRUE(registry.add(L"Software\\JavaSoft\\Java Runtime Environment", L"1.8.0_251", newer));
    Installation app;
    app.writeSettings(settingsHead);
    EXPECT_TRUE(namesLibrary(errorOfStart(app), library));

    app.writeSettings(std::wstring(settingsHead) + L"Maximum Version=1.7\r\n");
    EXPECT_TRUE(namesLibrary(errorOfStart(app), older + L"\\bin\\client\\jvm.dll"));
}

TEST_F(RuntimeSelectionStart, LibraryInTheCurrentFolderIsNeverLoaded) {
    installJvmLibrary(runtimes.path(), L"client"); // a download folder with bin\client\jvm.dll planted in it
    Installation app;
    app.writeSettings(settingsHead);
    auto process = app.start(L"-nosplash", runtimes.path());
    ASSERT_TRUE(process->started());
    ASSERT_TRUE(process->waitForExit());
    EXPECT_TRUE(windowsOf(process->id()).empty()) << "no load was attempted, so no error was shown";
    EXPECT_EQ(process->exitCode(), 0xFFFFFFFFu);
}

TEST_F(RuntimeSelectionStart, A32BitLibraryWithoutACompanionFailsToLoad) {
    std::wstring library = installJvmLibrary(runtimes / L"x86", L"client", x86FixtureLibraryPath());
    Installation app;
    app.writeSettings(std::wstring(settingsHead) + L"JRE Path=" + runtimes.path() + L"\\x86\\\r\n");
    std::wstring text = errorOfStart(app);
    EXPECT_TRUE(namesLibrary(text, library));
    EXPECT_NE(text.find(L"(errno = 193)"), std::wstring::npos) << narrow(text);
}

TEST_F(RuntimeSelectionStart, MissingEntryPointIsReported) {
    installJvmLibrary(runtimes / L"x64", L"client", x64FixtureLibraryPath());
    Installation app;
    app.writeSettings(std::wstring(settingsHead) + L"JRE Path=" + runtimes.path() + L"\\x64\r\n");
    EXPECT_EQ(errorOfStart(app), L"Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n");
}

} // namespace
