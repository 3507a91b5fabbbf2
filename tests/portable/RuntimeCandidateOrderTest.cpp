#include "runtime/CandidateOrder.h"
#include "runtime/ImageHeader.h"
#include "runtime/InstallerKeys.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

RuntimePolicy policyFor(const wchar_t* jvmSource, const wchar_t* vmProvider, JvmType type = JvmType::Default) {
    RuntimePolicy policy;
    applyJvmSource(policy, jvmSource);
    applyVmProvider(policy, vmProvider);
    policy.jvmType = type;
    return policy;
}

// One mark per vendor key in search order: '-' not searched, 's' searched, 'F' searched and favoured.
std::string keyMarks(const wchar_t* jvmSource, const wchar_t* vmProvider) {
    RuntimePolicy policy = policyFor(jvmSource, vmProvider);
    std::string marks;
    for (const VendorKey& key : vendorKeys())
        marks += !isKeySearched(policy, key) ? '-' : isKeyFavored(policy, key) ? 'F' : 's';
    return marks;
}

TEST(RuntimeKeys, SearchedFavouredAndProbedAsTheSettingsSay) {
    // Sun JDK, Sun JRE, JRockit JRE, JRockit JDK, IBM JRE.
    EXPECT_EQ(keyMarks(L"", L""), "FF---");
    EXPECT_EQ(keyMarks(L"favor_JRE", L""), "sF---");
    EXPECT_EQ(keyMarks(L"favor_JDK", L"favor_sun"), "Fssss");
    EXPECT_EQ(keyMarks(L"only_JDK", L"FAVOR_jrockit"), "s--F-");
    EXPECT_EQ(keyMarks(L"only_JRE", L"any"), "-ss-s");
    EXPECT_EQ(keyMarks(L"favour_JRE", L""), "-----");
    EXPECT_EQ(keyMarks(L"", L"iBm"), "----F");
    EXPECT_EQ(keyMarks(L"", L"JRockit"), "--FF-");
    EXPECT_EQ(keyMarks(L"", L"ibm "), "FF---");
    const std::vector<VendorKey>& keys = vendorKeys();
    // Only the Sun JRE key is probed for the client library first under "favor_server".
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(probeTypeFor(policyFor(L"", L"", JvmType::FavorServer), keys[i]),
                  i == 1 ? JvmType::Default : JvmType::FavorServer);
    EXPECT_EQ(probeTypeFor(policyFor(L"", L"", JvmType::Server), keys[1]), JvmType::Server);
    EXPECT_EQ(runtimeHomeFor(keys[0], L"C:\\jdk"), L"C:\\jdk\\jre\\");
    EXPECT_EQ(runtimeHomeFor(keys[3], L"C:\\jdk\\"), L"C:\\jdk\\jre\\");
    EXPECT_EQ(runtimeHomeFor(keys[1], L"C:\\jre\\"), L"C:\\jre\\");
}

// Candidates named by one letter: "a1.6" is a at version 1.6; '*' makes it favoured, '+' a server runtime.
std::vector<JreCandidate> candidates(std::initializer_list<std::wstring> shorthands) {
    std::vector<JreCandidate> list;
    for (const std::wstring& shorthand : shorthands) {
        JreCandidate candidate;
        candidate.home = shorthand.substr(0, 1);
        candidate.version = parseJavaVersion(shorthand.substr(1), 0);
        candidate.isFavored = shorthand.find(L'*') != std::wstring::npos;
        candidate.isServer = shorthand.find(L'+') != std::wstring::npos;
        list.push_back(candidate);
    }
    return list;
}

// The homes in the order the policy gives.
std::wstring order(const RuntimePolicy& policy, std::initializer_list<std::wstring> shorthands) {
    std::vector<JreCandidate> list = candidates(shorthands);
    orderCandidates(policy, list);
    std::wstring homes;
    for (const JreCandidate& candidate : list)
        homes += candidate.home;
    return homes;
}

TEST(RuntimeCandidates, BoundsOrderAndPreferredVersions) {
    RuntimePolicy policy;
    policy.minVersion = minVersionFromSetting(L"1.6.0_20");
    for (const wchar_t* maximum : {L"1.7", L""}) {
        policy.maxVersion = maxVersionFromSetting(maximum);
        for (const auto& [version, within] : {std::pair(L"1.6.0_20", true), {L"1.7.0_80", true}, {L"1.6.0_18", false}})
            EXPECT_EQ(isWithinBounds(policy, parseJavaVersion(version, 0)), within) << version;
        EXPECT_EQ(isWithinBounds(policy, parseJavaVersion(L"1.8", 0)), !*maximum) << "an unset maximum is no bound";
    }

    RuntimePolicy favorServer = policyFor(L"", L"", JvmType::FavorServer);
    EXPECT_EQ(order(policyFor(L"", L""), {L"a1.6*", L"b1.8", L"c1.8*+", L"d1.7*+"}), L"cdab");
    EXPECT_EQ(order(policyFor(L"only_JRE", L""), {L"a1.6*", L"b1.8"}), L"ba");
    EXPECT_EQ(order(favorServer, {L"a1.9+", L"b1.5*", L"c1.8*", L"d1.7*+"}), L"dcba");
    EXPECT_EQ(order(favorServer, {L"a1.7", L"b1.8", L"c1.7", L"d1.7", L"e1.8", L"f1.8.0_251"}), L"fbeacd");

    // Preferred versions outrank the order, which decides among the candidates that one of them matches.
    const std::pair<std::vector<std::wstring>, const wchar_t*> preferred[] = {{{L"1.7", L"1.8"}, L"c"},
                                                                              {{L"1.9", L"1.8"}, L"a"},
                                                                              {{L"1.5"}, L"a"},
                                                                              {{L"1.7.0_45"}, L"b"},
                                                                              {{L"latest", L"1.7"}, L"a"}};
    for (const auto& [versions, home] : preferred) {
        favorServer.preferredVersions = versions;
        std::vector<JreCandidate> list = candidates({L"a1.8.0_251*+", L"b1.7.0_45", L"c1.7.0_80"});
        EXPECT_EQ(chooseCandidate(favorServer, list).home, home) << versions.front();
    }
}

// What a runtime folder's release file says, and the version a runtime registered by today's installers has.
TEST(InstallerKeys, ReleaseFileAndInstalledVersion) {
    ReleaseFacts facts =
        parseReleaseFile("IMPLEMENTOR=\"Eclipse\" \r\nJAVA_VERSION=\"\"\nJVM_VARIANT=Openj9\nno equals");
    EXPECT_EQ(facts.implementor + L"|" + facts.javaVersion + L"|" + facts.jvmVariant, L"Eclipse||Openj9");
    EXPECT_TRUE(isOpenJ9(facts) && isOpenJ9({L"", L"IBM Corporation", L"hotspot"}));
    EXPECT_FALSE(isOpenJ9({L"", L"Eclipse", L"hotspot"}));
    const std::array<const wchar_t*, 3> versions[] = {{L"8.0.292.10", L"", L"1.8.0.292"},
                                                      {L"17", L"17.0.2", L"17.0.2"},
                                                      {L"17.0", L"17.0.2", L"17.0"},
                                                      {L"2", L"", L"1.2"},
                                                      {L"9", L"x", L"9.0"}};
    for (const auto& [name, release, version] : versions)
        EXPECT_EQ(format(installedVersion(name, release)), version) << name;
}

// "MZ", the NT header offset at 0x3C, then the signature and the machine value at that offset where they fit.
uint16_t machineOf(uint32_t ntOffset, uint16_t machine, size_t size, size_t given, const char* signature = "PE") {
    std::vector<uint8_t> bytes(size, 0);
    std::memcpy(bytes.data(), "MZ", 2);
    std::memcpy(&bytes[0x3C], &ntOffset, 4);
    if (uint64_t(ntOffset) + 6 <= size) {
        std::memcpy(&bytes[ntOffset], signature, 2);
        std::memcpy(&bytes[ntOffset + 4], &machine, 2);
    }
    return imageMachine(bytes.data(), given);
}

TEST(RuntimeImageHeader, OnlyWholeHeadersCount) {
    EXPECT_EQ(machineOf(0x80, 0x014C, 0x100, 0x100), 0x014C);
    EXPECT_EQ(machineOf(0x80, 0x8664, 0x100, 0x100), 0x8664);
    EXPECT_EQ(machineOf(0x40, 0x014C, 0x46, 0x46), 0x014C);
    EXPECT_EQ(machineOf(0x40, 0x014C, 0x46, 0x45), 0);
    EXPECT_EQ(machineOf(0x36, 0x014C, 0x40, 0x40), 0x014C) << "headers inside the DOS header still count";
    EXPECT_EQ(machineOf(0x36, 0x014C, 0x40, 0x3F), 0);
    for (uint32_t outside : {0x100u, 0xFBu, 0xFFFFFFFFu, 0xFFFFFFFAu})
        EXPECT_EQ(machineOf(outside, 0x014C, 0x100, 0x100), 0) << outside;
    EXPECT_EQ(machineOf(0x80, 0x014C, 0x100, 0x100, "PX"), 0);
    EXPECT_EQ(machineOf(0x0, 0x014C, 0x100, 0x100), 0) << "NT headers over the MZ signature";
    EXPECT_EQ(imageMachine(nullptr, 0), 0);
}

} // namespace
