#include "runtime/InstallerKeys.h"
#include "support/Trace.h"

#include <gtest/gtest.h>

namespace {

TEST(InstalledVersion, FromTheKeyNameOrTheReleaseFileInTheSettingsForm) {
    const std::tuple<const wchar_t*, const char*, const wchar_t*> cases[] = {
        {L"17.0.2.8", "JAVA_VERSION=\"11\"", L"17.0.2.8"},      // a full name wins over the release file
        {L"zulu-17", "JAVA_VERSION=\"17.0.2\"\r\n", L"17.0.2"}, // a major number alone does not
        {L"jdk-8", "IMPLEMENTOR=\"x\"\nJAVA_VERSION=1.8.0_322", L"1.8.0.322"},
        {L"17", "JAVA_VERSION=\"\"", L"17.0"}, // nothing better: the name
        {L"8.0.292.10", "", L"1.8.0.292"},     // before 9: the form the settings use
        {L"zulu-8", "JAVA_VERSION=\"8.0.1\"", L"1.8.0.1"},
        {L"9.0.4", "", L"9.0.4"},
        {L"", "JAVA_VERSION=\"21-ea\"", L"21.0"},
        {L"", "", L"0.0.0.0"},
    };
    for (const auto& [name, release, expected] : cases)
        EXPECT_EQ(format(installedVersion(name, parseReleaseFile(release).javaVersion)), expected) << release;
}

TEST(InstalledVersion, OpenJ9CountsAsIbm) {
    const std::pair<const char*, bool> cases[] = {
        {"IMPLEMENTOR=\"Eclipse Adoptium\"\nJVM_VARIANT=\"Hotspot\"", false},
        {"IMPLEMENTOR=\"Eclipse Adoptium\"\nJVM_VARIANT=\"Openj9\"", true},
        {"IMPLEMENTOR=\"IBM Corporation\"", true},
        {"IMPLEMENTOR=\"Not IBM\"", false},
        {"", false},
    };
    for (const auto& [release, openJ9] : cases)
        EXPECT_EQ(isOpenJ9(parseReleaseFile(release)), openJ9) << release;
}

TEST(TracePath, OneMeansTheTemporaryFolder) {
    EXPECT_EQ(tracePathFor(L"1", L"C:\\App\\editor.exe", L"C:\\Temp\\"), L"C:\\Temp\\editor-trace.log");
    EXPECT_EQ(tracePathFor(L"1", L"C:\\My.App\\run", L"T\\"), L"T\\run-trace.log");
    EXPECT_EQ(tracePathFor(L"D:\\t.log", L"C:\\App\\editor.exe", L"C:\\Temp\\"), L"D:\\t.log");
    EXPECT_EQ(tracePathFor(L"", L"C:\\App\\editor.exe", L"C:\\Temp\\"), L"");
}

} // namespace
