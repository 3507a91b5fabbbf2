// Single-instance mode: the first start runs the application, later starts from the same path hand it their
// arguments and end with the reply of its secondaryMain.
#include "StandInRecord.h"
#include "support/ProcessIdentity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <functional>

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

// The shared block as another program sees it, to disturb the exchange from outside.
struct BlockView {
    explicit BlockView(const std::wstring& name)
        : mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str())),
          view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr) {}
    const uint32_t* field() const { return static_cast<const uint32_t*>(view.get()); }
    std::wstring firstArgument() const { return view ? reinterpret_cast<const wchar_t*>(field() + 3) : L""; }
    UniqueHandle mapping;
    UniqueMappedView view;
};

// The first instance stays in main until the test ends, when it is killed.
TEST(SingleInstance, LaterStartsEndWithTheReply) {
    const struct {
        const wchar_t* script;
        std::wstring arguments;
        DWORD exitCode;
        Calls calls;
        bool readyLeftSet = false; // the event that lets requests into Java, as an ending first instance leaves it
    } cases[] = {
        {L"secondary=arg", L"4660 \"b c\"", 4660, {{"4660", "b c"}}},
        {L"secondary=arg", L"-2", 0xFFFFFFFE, {{"-2"}}},
        {L"secondary=arg", L"", 0, {{""}}},
        {L"secondary=arg", std::wstring(519, L'x'), failedStart, {}}, // 1,042 bytes: the first instance is not touched
        {L"secondary=void;secondaryMain=sleep:60000", L"a b", 0, {{"a", "b"}}}, // answered before the call
        {L"secondary=7;secondaryMain=throw:java/lang/IllegalStateException", L"a", failedStart, {{"a"}}},
        {L"", L"a", failedStart, {}}, // no secondaryMain: answered at once, not when the first instance ends
        {L"startup=1500;secondary=arg", L"5", 5, {{"5"}}}, // started during the VM's creation
        {L"startup=1500;secondary=arg", L"6", 6, {{"6"}}, true},
    };
    for (const auto& c : cases) {
        StandInLaunch launch(L"main=sleep:60000;" + std::wstring(c.script), {singleInstance()});
        UniqueHandle ready(c.readyLeftSet ? CreateEventW(nullptr, TRUE, TRUE, (blockName(launch) + L"_upr_evt").c_str())
                                          : nullptr);
        auto first = launch.start();
        ASSERT_TRUE(waitForRecord(launch, "create.version")) << narrow(c.script);
        EXPECT_EQ(launch.run(c.arguments, 8000), c.exitCode) << narrow(c.script);
        // The void form answers before the call, which the stand-in records a moment later.
        waitUntil([&] { return secondaryCalls(launch).size() >= c.calls.size(); }, 2000);
        EXPECT_EQ(secondaryCalls(launch), c.calls) << narrow(c.script);
        EXPECT_FALSE(first->waitForExit(0)) << narrow(c.script) << ": the first instance still runs";
    }
}

// The first instance's listener thread, suspended until this goes.
struct PausedListener {
    explicit PausedListener(StandInLaunch& launch)
        : block(blockName(launch)), thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, block.field()[0])) {
        SuspendThread(thread.get());
    }
    ~PausedListener() { ResumeThread(thread.get()); }
    BlockView block;
    UniqueHandle thread;
};

// Later starts numbered 1..n, each with its number as its only argument, while something happens meanwhile. Each
// number reaches Java once (by secondaryMain, or by main in a start that became the first instance when the first
// one ended), never before the first main call, and each start ends with its number or, after main, with 0. A start
// the row kills may reach Java once or not at all.
TEST(SingleInstance, EachLaterStartReachesJavaOnceWhateverHappensMeanwhile) {
    struct Round {
        StandInLaunch& launch;
        std::vector<std::unique_ptr<TestProcess>> starts; // null: killed by the row
        void startLater() { starts.push_back(launch.start(std::to_wstring(starts.size() + 1) + L" -nosplash")); }
    };
    const struct {
        const char* name;
        const wchar_t* script;
        int starts, spacingMs;
        std::function<void(Round&)> meanwhile; // after the first main call, before the later starts
        bool allCallsBeforeTheFirstReply;
    } rows[] = {
        // Each call takes 2 s: the calls run side by side, not one after the other.
        {"slow secondaryMain", L"main=sleep:60000;secondary=arg;secondaryMain=sleep:2000", 20, 0, nullptr, true},
        {"first instance ending", L"main=sleep:1500;secondary=arg", 12, 40, [](Round&) { Sleep(1100); }, false},
        // The first instance's listener, held still, takes the requests only once the first instance is ending.
        {"first instance ending with requests waiting", L"main=sleep:1500;secondary=arg", 0, 0,
         [](Round& round) {
             PausedListener listener(round.launch);
             for (int i = 0; i < 3; ++i)
                 round.startLater();
             waitUntil([&] { return round.launch.record().has("destroy.end"); }, 10000);
             Sleep(100);
         },
         false},
        {"requester killed in flight", L"main=sleep:60000;secondary=arg", 0, 0,
         [](Round& round) {
             PausedListener listener(round.launch);
             round.startLater();
             waitUntil([&] { return listener.block.firstArgument() == L"1"; });
             Sleep(300);
             round.starts[0].reset();
             round.startLater();
             waitUntil([&] { return listener.block.firstArgument() == L"2"; });
             Sleep(300);
         },
         false},
        {"forged requests", L"main=sleep:60000;secondary=arg", 1, 0,
         [](Round& round) {
             round.startLater();
             round.starts[0]->waitForExit();
             BlockView block(blockName(round.launch));
             for (int i = 0; i < 5; ++i)
                 PostThreadMessageW(block.field()[0], block.field()[2], GetCurrentThreadId(), 0);
             Sleep(500);
         },
         false},
    };
    for (const auto& row : rows) {
        StandInLaunch launch(row.script, {singleInstance()});
        auto first = launch.start(L"first -nosplash");
        ASSERT_TRUE(waitForRecord(launch, "main.argc")) << row.name;
        Round round{launch, {}};
        if (row.meanwhile)
            row.meanwhile(round);
        for (int i = 0; i < row.starts; ++i, Sleep(row.spacingMs))
            round.startLater();
        std::vector<DWORD> codes;
        DWORD deadline = GetTickCount() + 20000; // one for all: a start that hangs makes the others wait no longer
        for (auto& start : round.starts) {
            codes.push_back(
                start && start->waitForExit(std::max<LONG>(deadline - GetTickCount(), 0)) ? start->exitCode() : killed);
            EXPECT_TRUE(!row.allCallsBeforeTheFirstReply || codes.size() > 1 ||
                        secondaryCalls(launch).size() == round.starts.size())
                << row.name << ": calls made before the first later start ended";
        }
        StandInRecord record = launch.record();
        Lines byMain = record.values("main.arg");
        Lines delivered = byMain;
        for (const Lines& call : secondaryCalls(launch))
            delivered.insert(delivered.end(), call.begin(), call.end());
        Lines order = record.facts({"main.argc", "secondaryMain.argc"});
        EXPECT_EQ(order.front().substr(0, 9), "main.argc") << row.name;
        // Every call but the first main carries one start's number: a replayed or emptied area would show.
        long numbered = 0;
        for (size_t i = 1; i <= round.starts.size(); ++i) {
            std::string number = std::to_string(i);
            auto times = std::count(delivered.begin(), delivered.end(), number);
            numbered += times;
            EXPECT_TRUE(round.starts[i - 1] ? times == 1 : times <= 1) << row.name << ": start " << i << " " << times;
            EXPECT_TRUE(!round.starts[i - 1] ||
                        codes[i - 1] == (std::count(byMain.begin(), byMain.end(), number) ? 0 : i))
                << row.name << ": start " << i << " ended with " << codes[i - 1];
        }
        EXPECT_EQ(numbered + 1, long(order.size())) << row.name;
    }
}

// A block whose first instance has gone, kept by another program, is taken over by exactly one of two starts made
// at the same moment; the other is served by it. While a start that hangs holds the setup lock, neither takes it
// over: both run the application as ordinary starts, and the block still names the instance that has gone.
TEST(SingleInstance, TwoStartsTakeOverAnEndedInstanceOnce) {
    for (bool setupHeld : {false, false, true}) {
        StandInLaunch launch(L"main=sleep:1500;secondary=arg", {singleInstance()});
        auto gone = launch.start(L"0 -nosplash");
        ASSERT_TRUE(waitForRecord(launch, "main.argc"));
        BlockView block(blockName(launch));
        DWORD goneId = gone->id();
        gone.reset();
        UniqueHandle setupLock(CreateMutexW(nullptr, setupHeld, (blockName(launch) + L"_init_mtx").c_str()));
        auto one = launch.start(L"1 -nosplash");
        auto two = launch.start(L"2 -nosplash");
        ASSERT_TRUE(one->waitForExit() && two->waitForExit());
        std::set<DWORD> codes{one->exitCode(), two->exitCode()};
        using Codes = std::set<DWORD>;
        EXPECT_TRUE((setupHeld ? codes == Codes{0} : codes == Codes{0, 1} || codes == Codes{0, 2})) << setupHeld;
        EXPECT_EQ(launch.record().values("main.argc").size(), setupHeld ? 3u : 2u) << setupHeld;
        EXPECT_EQ(block.field()[1] == goneId, setupHeld);
    }
}

// Two starts that both run the application: "Yes" is not "yes", service mode, an object of the block's name that
// is not a block to write in (another program's; this mapping is reserved, not committed, so a write faults), and a
// block that another program wrote, naming itself as the first instance: it is not handed anyone's arguments.
TEST(SingleInstance, IndependentInstances) {
    const struct {
        const wchar_t* mode;
        const wchar_t* applicationType;
        int foreignObject; // 1: a mapping, 2: a mutex, 3: a block naming this test
    } cases[] = {{L"Yes", L"", 0}, {L"yes", L"service", 0}, {L"yes", L"", 1}, {L"yes", L"", 2}, {L"yes", L"", 3}};
    for (const auto& c : cases) {
        StandInLaunch launch(L"main=sleep:1500;secondary=7",
                             {singleInstance(c.mode), {L"Application", L"Application Type", c.applicationType}});
        std::wstring name = blockName(launch);
        UniqueHandle object(
            c.foreignObject == 1
                ? CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_RESERVE, 0, 2092, name.c_str())
            : c.foreignObject == 2 ? CreateMutexW(nullptr, FALSE, name.c_str())
            : c.foreignObject == 3 ? CreateFileMappingW(INVALID_HANDLE_VALUE, ThisUserOnly().attributes(),
                                                        PAGE_READWRITE, 0, 2092, name.c_str())
                                   : nullptr);
        UniqueMappedView view(c.foreignObject == 3 ? MapViewOfFile(object.get(), FILE_MAP_WRITE, 0, 0, 0) : nullptr);
        if (auto* fields = static_cast<uint32_t*>(view.get())) {
            fields[0] = GetCurrentThreadId();
            fields[1] = GetCurrentProcessId();
            fields[2] = RegisterWindowMessageW(name.c_str());
        }
        auto first = launch.start();
        ASSERT_TRUE(waitForRecord(launch, "main.argc"));
        EXPECT_EQ(launch.run(L"a -nosplash"), 0u) << narrow(c.mode) << c.foreignObject;
        EXPECT_TRUE(first->waitForExit());
        EXPECT_EQ(first->exitCode(), 0u);
        EXPECT_EQ(launch.record().values("main.argc").size(), 2u) << narrow(c.mode) << c.foreignObject;
    }
}

} // namespace
