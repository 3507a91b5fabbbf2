// Single-instance mode: the first start runs the application, later starts from the same path hand it their
// arguments and end with the reply of its secondaryMain.
#include "StandInRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

namespace {

using Calls = std::vector<Lines>;

Setting singleInstance(const wchar_t* mode = L"yes") { return {L"Application", L"Single Instance", mode}; }

// The name of the shared block and of the message: the executable's path with underscores for backslashes.
std::wstring blockName(StandInLaunch& launch) {
    std::wstring name = launch.app().exePath();
    std::replace(name.begin(), name.end(), L'\\', L'_');
    return name;
}

bool waitForRecord(const StandInLaunch& launch, const char* key) {
    return waitUntil([&] { return launch.record().has(key); }, 10000);
}

// Each call's arguments, in the order of the calls.
Calls secondaryCalls(const StandInLaunch& launch) {
    Calls calls;
    for (const std::string& fact : launch.record().facts({"secondaryMain.arg"})) {
        if (fact.compare(0, 19, "secondaryMain.argc=") == 0)
            calls.emplace_back();
        else
            calls.back().push_back(fact.size() > 18 ? fact.substr(18) : ""); // after "secondaryMain.arg="
    }
    return calls;
}

// The first instance stays in main until the test ends, when it is killed.
TEST(SingleInstance, LaterStartsEndWithTheReply) {
    const struct {
        const wchar_t* script;
        std::wstring arguments;
        DWORD exitCode;
        Calls calls;
    } cases[] = {
        {L"secondary=arg", L"4660 \"b c\"", 4660, {{"4660", "b c"}}},
        {L"secondary=arg", L"-2", 0xFFFFFFFE, {{"-2"}}},
        {L"secondary=arg", L"", 0, {{""}}},
        {L"secondary=arg", std::wstring(519, L'x'), failedStart, {}}, // 1,042 bytes: the first instance is not touched
        {L"secondary=void;secondaryMain=sleep:60000", L"a b", 0, {{"a", "b"}}}, // answered before the call
        {L"secondary=7;secondaryMain=throw:java/lang/IllegalStateException", L"a", failedStart, {{"a"}}},
        {L"", L"a", failedStart, {}}, // no secondaryMain: answered at once, not when the first instance ends
        {L"startup=1500;secondary=arg", L"5", 5, {{"5"}}}, // started during the VM's creation
    };
    for (const auto& c : cases) {
        StandInLaunch launch(L"main=sleep:60000;" + std::wstring(c.script), {singleInstance()});
        auto first = launch.start();
        ASSERT_TRUE(waitForRecord(launch, "create.version")) << narrow(c.script);
        EXPECT_EQ(launch.run(c.arguments, 15000), c.exitCode) << narrow(c.script);
        EXPECT_EQ(secondaryCalls(launch), c.calls) << narrow(c.script);
        EXPECT_FALSE(first->waitForExit(0)) << narrow(c.script) << ": the first instance still runs";
    }
}

// Every start is served exactly once with its own arguments, and ends with the reply made for them.
TEST(SingleInstance, TwentyLaterStartsAtOnce) {
    StandInLaunch launch(L"main=sleep:60000;secondary=arg", {singleInstance()});
    auto first = launch.start();
    ASSERT_TRUE(waitForRecord(launch, "main.argc"));
    std::vector<std::unique_ptr<TestProcess>> starts;
    std::set<Lines> expected;
    for (int i = 0; i < 20; ++i) {
        starts.push_back(launch.start(std::to_wstring(100 + i) + L" tag" + std::to_wstring(i)));
        expected.insert({std::to_string(100 + i), "tag" + std::to_string(i)});
    }
    for (size_t i = 0; i < starts.size(); ++i) {
        EXPECT_TRUE(starts[i]->waitForExit(30000));
        EXPECT_EQ(starts[i]->exitCode(), 100 + i);
    }
    Calls calls = secondaryCalls(launch);
    EXPECT_EQ(calls.size(), 20u);
    EXPECT_EQ(std::set<Lines>(calls.begin(), calls.end()), expected);
}

// Whichever of two starts made at the same moment comes first, the other is served: none ends with -1.
TEST(SingleInstance, TwoStartsAtTheSameMoment) {
    for (int round = 0; round < 3; ++round) {
        StandInLaunch launch(L"main=sleep:1500;secondary=arg", {singleInstance()});
        auto one = launch.start(L"1 -nosplash");
        auto two = launch.start(L"2 -nosplash");
        ASSERT_TRUE(one->waitForExit() && two->waitForExit());
        std::set<DWORD> codes{one->exitCode(), two->exitCode()};
        EXPECT_TRUE(codes == std::set<DWORD>({0, 1}) || codes == std::set<DWORD>({0, 2})) << round;
        EXPECT_EQ(launch.record().values("main.argc").size(), 1u) << round;
    }
}

// Two starts that both run the application: "Yes" is not "yes", service mode, and an object of the block's name
// that is not a block to write in (another program's; this mapping is reserved, not committed, so a write faults).
TEST(SingleInstance, IndependentInstances) {
    const struct {
        const wchar_t* mode;
        const wchar_t* applicationType;
        int foreignObject; // 1: a mapping, 2: a mutex
    } cases[] = {{L"Yes", L"", 0}, {L"yes", L"service", 0}, {L"yes", L"", 1}, {L"yes", L"", 2}};
    for (const auto& c : cases) {
        StandInLaunch launch(L"main=sleep:1500;secondary=7",
                             {singleInstance(c.mode), {L"Application", L"Application Type", c.applicationType}});
        std::wstring name = blockName(launch);
        UniqueHandle object(
            c.foreignObject == 1
                ? CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_RESERVE, 0, 2092, name.c_str())
            : c.foreignObject == 2 ? CreateMutexW(nullptr, FALSE, name.c_str())
                                   : nullptr);
        auto first = launch.start();
        ASSERT_TRUE(waitForRecord(launch, "main.argc"));
        EXPECT_EQ(launch.run(L"a -nosplash"), 0u) << narrow(c.mode) << c.foreignObject;
        EXPECT_TRUE(first->waitForExit());
        EXPECT_EQ(first->exitCode(), 0u);
        EXPECT_EQ(launch.record().values("main.argc").size(), 2u) << narrow(c.mode) << c.foreignObject;
    }
}

// This test plays the first instance, written from the block's layout and names alone, as older copies of the
// launcher know them; it writes its fields a second after the later start began, holding the setup lock meanwhile
// as this build does, or not, as older ones do. The later start waits for them, and is served.
TEST(SingleInstance, LaterStartWaitsForTheFirstInstancesFields) {
    for (bool holdsSetupLock : {true, false}) {
        StandInLaunch launch(L"", {singleInstance()});
        std::wstring name = blockName(launch);
        UniqueHandle setupLock(CreateMutexW(nullptr, holdsSetupLock, (name + L"_init_mtx").c_str()));
        UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 2092, name.c_str()));
        UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
        auto* block = static_cast<uint32_t*>(view.get());
        ASSERT_NE(block, nullptr);
        UINT message = RegisterWindowMessageW(name.c_str());
        std::wstring arguments;
        DWORD listenerId = 0;
        UniqueHandle queueReady(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread listener([&] {
            MSG request;
            PeekMessageW(&request, nullptr, 0, 0, PM_NOREMOVE);
            listenerId = GetCurrentThreadId();
            SetEvent(queueReady.get());
            while (GetMessageW(&request, nullptr, 0, 0) > 0 && request.message != message) {
            }
            arguments.assign(reinterpret_cast<const wchar_t*>(block + 3), 8);
            PostThreadMessageW(DWORD(request.wParam), message, WPARAM(-3), 0);
        });
        WaitForSingleObject(queueReady.get(), 5000);
        auto later = launch.start(L"x \"y z\"");
        Sleep(1000);
        block[0] = listenerId;
        block[1] = GetCurrentProcessId();
        block[2] = message;
        ReleaseMutex(setupLock.get());
        EXPECT_TRUE(later->waitForExit());
        EXPECT_EQ(later->exitCode(), 0xFFFFFFFD) << holdsSetupLock;
        PostThreadMessageW(listenerId, WM_QUIT, 0, 0);
        listener.join();
        EXPECT_EQ(arguments, std::wstring(L"x\0y z\0\0\0", 8)) << holdsSetupLock;
        EXPECT_FALSE(launch.record().has("create.version")) << "a later start loads no runtime";
    }
}

} // namespace
