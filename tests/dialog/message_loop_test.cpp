// The message loop: idle handlers run once per emptied queue, filters see messages newest first, and the
// program ends with the code of WM_QUIT (or 0 when its dialog cannot be made).
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "app/app_module.h"
#include "app/application.h"
#include "app/message_loop.h"
#include "common/unique_handle.h"
#include "tests/support/launched_program.h"

namespace kelvane {
namespace {

constexpr UINT kMark = WM_APP + 1;   // posted by the test to note how many idle calls happened so far
// Bounds each wait of the posting thread, so that a broken loop fails the test instead of hanging it.
constexpr DWORD kStepWaitMs = 10000;

// A condition another thread waits for: signalled each time the loop's thread gets somewhere.
struct Progress {
    bool WaitUntil(const std::function<bool()>& reached) const
    {
        const ULONGLONG deadline = GetTickCount64() + kStepWaitMs;
        while (!reached()) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline)
                return false;
            WaitForSingleObject(changed.get(), static_cast<DWORD>(deadline - now));
        }
        return true;
    }
    UniqueKernelObject changed{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

struct CountingIdle : IdleHandler {
    explicit CountingIdle(const Progress& progress) : progress(progress) {}
    bool HandleIdle() override
    {
        ++calls;
        SetEvent(progress.changed.get());
        return true;   // the loop must ignore a true answer
    }
    std::atomic<int> calls{0};
    const Progress& progress;
};

// Notes that the loop took a message of the given kind from its queue; lets it through.
struct SeenFilter : MessageFilter {
    SeenFilter(UINT watched, const Progress& progress) : watched(watched), progress(progress) {}
    bool FilterMessage(MSG* message) override
    {
        if (message->message == watched) {
            seen = true;
            SetEvent(progress.changed.get());
        }
        return false;
    }
    UINT watched;
    const Progress& progress;
    std::atomic<bool> seen{false};
};

// Notes a value at each of the test's marks, consuming the mark when told to; lets every other message through.
struct MarkFilter : MessageFilter {
    MarkFilter(std::vector<int>& seen, std::function<int()> value, bool consume)
        : seen(seen), value(std::move(value)), consume(consume) {}
    bool FilterMessage(MSG* message) override
    {
        if (message->message != kMark)
            return false;
        seen.push_back(value());
        return consume;
    }
    std::vector<int>& seen;
    std::function<int()> value;
    bool consume;
};

TEST(MessageLoopTest, IdleRunsOnceWhenTheQueueEmptiesAndNotAgainForMouseMovesOrPaint)
{
    MessageLoop loop;
    Progress progress;
    CountingIdle idle(progress);
    SeenFilter mouseMoves(WM_NCMOUSEMOVE, progress);
    std::vector<int> marks;   // the idle count at each mark
    MarkFilter recorder(marks, [&idle] { return idle.calls.load(); }, true);
    ASSERT_TRUE(loop.AddIdle(&idle));
    ASSERT_TRUE(loop.AddFilter(&recorder));
    ASSERT_TRUE(loop.AddFilter(&mouseMoves));
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    const DWORD thread = GetCurrentThreadId();

    // Another thread posts each step once the queue has emptied and the idle step that follows has run.
    std::atomic<bool> stepsReached{true};
    std::thread poster([&] {
        const auto idleCalls = [&](int count) {
            stepsReached = stepsReached && progress.WaitUntil([&] { return idle.calls >= count; });
        };
        idleCalls(1);
        PostThreadMessageW(thread, kMark, 0, 0);                   // after start-up: 1 idle call
        idleCalls(2);
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        PostMessageW(window, WM_NCMOUSEMOVE, HTCLIENT, 0);
        stepsReached = stepsReached && progress.WaitUntil([&] { return mouseMoves.seen.load(); });
        // No idle call to wait for here: a message sent from another thread is handled only when the loop looks at
        // its queue, so the second of two has been handled once the loop waits again, past any idle step.
        for (int look = 0; look < 2; ++look)
            SendMessageW(window, WM_NULL, 0, 0);
        PostThreadMessageW(thread, kMark, 0, 0);                   // mouse moves do not wake idle: still 1
        idleCalls(3);
        PostMessageW(window, WM_KEYDOWN, 'A', 0);
        idleCalls(4);
        PostThreadMessageW(thread, kMark, 0, 0);                   // a key press does: 2
        PostThreadMessageW(thread, WM_QUIT, 7, 0);
    });
    const int code = loop.Run();
    poster.join();
    DestroyWindow(window);

    EXPECT_TRUE(stepsReached) << "the loop stopped calling the idle handlers";
    EXPECT_EQ(code, 7);
    // A mark is an ordinary message too: it re-arms the idle phase, which then runs once more.
    // So: 1 at the first mark; 2 at the second (the mouse moves added none); the key and the mark before it
    // add one each, 4 at the third.
    EXPECT_EQ(marks, (std::vector<int>{1, 2, 4})) << "the second: mouse moves must not call the idle handlers again";
}

TEST(MessageLoopTest, TheLastFilterAddedSeesMessagesFirstAndRemovalKeepsTheOrder)
{
    MessageLoop loop;
    std::vector<int> order;
    MarkFilter first(order, [] { return 1; }, true), second(order, [] { return 2; }, false),
        third(order, [] { return 3; }, false);
    loop.AddFilter(&first);
    loop.AddFilter(&second);
    loop.AddFilter(&third);
    EXPECT_TRUE(loop.RemoveFilter(&second));
    EXPECT_FALSE(loop.RemoveFilter(&second));
    PostThreadMessageW(GetCurrentThreadId(), kMark, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(order, (std::vector<int>{3, 1}));
}

TEST(AppModuleTest, FindsTheLoopOfTheCallingThreadOnly)
{
    Module().Initialize(nullptr);
    MessageLoop loop;
    ASSERT_TRUE(Module().RegisterLoop(&loop));
    EXPECT_EQ(Module().LoopForThread(), &loop);
    MessageLoop* seenElsewhere = &loop;
    std::thread([&] { seenElsewhere = Module().LoopForThread(); }).join();
    EXPECT_EQ(seenElsewhere, nullptr);
    EXPECT_TRUE(Module().UnregisterLoop());
    EXPECT_EQ(Module().LoopForThread(), nullptr);
    EXPECT_FALSE(Module().UnregisterLoop());
}

TEST(AppModuleTest, AModuleWithoutTheDialogTemplateEndsTheRunWithZeroAndNoWindow)
{
    // kernel32 has no dialog 129: creation fails and the run returns at once.
    Module().Initialize(GetModuleHandleW(L"kernel32.dll"));
    const int code = RunApplication(L"", SW_SHOWNORMAL);
    Module().Initialize(reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr)));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(FindWindowW(L"#32770", test::kProgramTitle), nullptr);
}

}  // namespace
}  // namespace kelvane
