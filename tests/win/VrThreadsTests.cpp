// The timer of the component library and the framework's worker thread under it: ticks from
// the worker and from the window timer, pausing, releasing, and ending a worker that waits
// for the GUI thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "VrTestSupport.h"
#include "components/VrThreads.h"
#include "framework/Error.h"
#include "framework/Thread.h"

namespace {

// A handle of the timer's worker that outlives it, to see whether the worker has ended.
fw::KernelHandle WorkerHandle(TVrTimer& t) {
    HANDLE dup = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), t.TimerThread()->Handle(), ::GetCurrentProcess(), &dup, SYNCHRONIZE, FALSE,
                      0);
    return fw::KernelHandle(dup);
}

bool Ended(const fw::KernelHandle& h) { return ::WaitForSingleObject(h.Get(), 0) == WAIT_OBJECT_0; }

// A timer with a handler that counts its ticks and notes the thread each ran on.
struct CountingTimer {
    explicit CountingTimer(TVrTimerType type, DWORD interval = 10) {
        timer.SetTimerType(type);
        timer.SetInterval(interval);
        timer.SetOnTimer([this](TVrTimer& sender) {
            EXPECT_EQ(&sender, &timer);
            threads.push_back(::GetCurrentThreadId());
            ++ticks;
        });
    }
    bool TicksReach(int n) { return PumpUntil([&] { return ticks >= n; }); }
    TVrTimer timer;
    std::atomic<int> ticks{0};
    std::vector<DWORD> threads;
};

TEST(VrTimer, NoTicksWithIntervalZeroOrWithoutHandler) {
    for (TVrTimerType type : {ttThread, ttSystem}) {
        CountingTimer t(type, 0);
        t.timer.SetEnabled(false);
        t.timer.SetEnabled(true);  // applies the settings
        ASSERT_TRUE(t.timer.Allocated());
        PumpFor(150);
        EXPECT_EQ(t.ticks, 0);
        if (type == ttThread) EXPECT_TRUE(t.timer.TimerThread()->Suspended());
        else EXPECT_FALSE(::KillTimer(t.timer.TimerWindow(), 1));  // no window timer was set

        TVrTimer silent;
        silent.SetTimerType(type);
        silent.SetInterval(10);
        silent.SetEnabled(false);
        silent.SetEnabled(true);
        if (type == ttThread) EXPECT_TRUE(silent.TimerThread()->Suspended());
        else EXPECT_FALSE(::KillTimer(silent.TimerWindow(), 1));
    }
}

TEST(VrTimer, WorkerTicksRunOnTheGuiThreadUnlessSyncEventIsOff) {
    CountingTimer t(ttThread);
    t.timer.SetEnabled(false);
    t.timer.SetEnabled(true);
    ASSERT_TRUE(t.TicksReach(3));
    for (DWORD id : t.threads) EXPECT_EQ(id, ::GetCurrentThreadId());

    CountingTimer w(ttThread);
    w.timer.SetSyncEvent(false);
    w.timer.SetEnabled(false);
    w.timer.SetEnabled(true);
    const DWORD worker = w.timer.TimerThread()->ThreadId();
    for (int i = 0; i < 1000 && w.ticks < 3; ++i) ::Sleep(5);  // no pumping needed
    ASSERT_GE(w.ticks, 3);
    w.timer.SetEnabled(false);
    ::Sleep(30);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(w.threads[i], worker);
}

TEST(VrTimer, WindowTimerTicksOnTheGuiThread) {
    CountingTimer t(ttSystem);
    t.timer.SetEnabled(false);
    t.timer.SetEnabled(true);
    ASSERT_TRUE(t.TicksReach(3));
    for (DWORD id : t.threads) EXPECT_EQ(id, ::GetCurrentThreadId());
    EXPECT_NE(t.timer.TimerWindow(), nullptr);
    EXPECT_EQ(t.timer.TimerThread(), nullptr);
}

TEST(VrTimer, DisablingDropsTicksAndEnablingAppliesTheCurrentSettings) {
    CountingTimer t(ttThread);
    t.timer.SetEnabled(false);
    t.timer.SetEnabled(true);
    ASSERT_TRUE(t.TicksReach(1));
    t.timer.SetEnabled(false);
    const int before = t.ticks;
    EXPECT_FALSE(t.timer.TimerThread()->Suspended());  // keeps waking, its ticks dropped
    t.timer.SetInterval(25);                           // stored only while disabled
    t.timer.SetPriority(fw::ThreadPriority::Lower);
    EXPECT_EQ(t.timer.TimerThread()->WaitInterval(), 10u);
    PumpFor(150);
    EXPECT_EQ(t.ticks, before);

    t.timer.SetEnabled(true);
    EXPECT_EQ(t.timer.TimerThread()->WaitInterval(), 25u);
    EXPECT_EQ(::GetThreadPriority(t.timer.TimerThread()->Handle()), THREAD_PRIORITY_BELOW_NORMAL);
    ASSERT_TRUE(t.TicksReach(before + 2));

    t.timer.SetPriority(fw::ThreadPriority::Highest);  // applied at once while enabled
    EXPECT_EQ(::GetThreadPriority(t.timer.TimerThread()->Handle()), THREAD_PRIORITY_HIGHEST);
}

TEST(VrTimer, ChangingTheTypeWhileEnabledReleasesTheOldKindFirst) {
    CountingTimer t(ttThread);
    t.timer.SetEnabled(false);
    t.timer.SetEnabled(true);
    ASSERT_TRUE(t.TicksReach(1));
    fw::KernelHandle worker = WorkerHandle(t.timer);

    t.timer.SetTimerType(ttSystem);
    EXPECT_TRUE(Ended(worker));
    EXPECT_EQ(t.timer.TimerThread(), nullptr);
    HWND window = t.timer.TimerWindow();
    ASSERT_TRUE(::IsWindow(window));
    t.threads.clear();
    const int before = t.ticks;
    ASSERT_TRUE(t.TicksReach(before + 2));

    t.timer.SetTimerType(ttThread);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(t.timer.TimerWindow(), nullptr);
    ASSERT_NE(t.timer.TimerThread(), nullptr);
    ASSERT_TRUE(t.TicksReach(t.ticks + 2));
}

TEST(VrTimer, DestroyingWhileATickWaitsForTheGuiThreadEndsTheWorker) {
    auto t = std::make_unique<CountingTimer>(ttThread, 1);
    t->timer.SetEnabled(false);
    t->timer.SetEnabled(true);
    fw::KernelHandle worker = WorkerHandle(t->timer);
    ::Sleep(100);  // no messages handled: the worker is now blocked handing a tick over
    EXPECT_EQ(t->ticks, 0);
    const DWORD start = ::GetTickCount();
    t.reset();
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_TRUE(Ended(worker));
    PumpFor(30);  // the hand-over's message finds nothing left to run
}

TEST(VrTimer, SetTimerFailureRaisesOutOfResources) {
    CountingTimer t(ttSystem);
    t.timer.SetEnabled(false);
    t.timer.SetEnabled(true);
    ::DestroyWindow(t.timer.TimerWindow());  // Windows can no longer set a timer on it
    try {
        t.timer.SetInterval(20);
        FAIL() << "no error";
    } catch (const fw::OutOfResources& e) {
        EXPECT_EQ(e.Message(), L"No timer resources left.");
    }
    EXPECT_TRUE(t.timer.Allocated());
}

TEST(VrTimer, AnErrorInTheHandlerIsShownAndTheTimerGoesOn) {
    auto& app = fw::Application::Instance();
    std::vector<std::wstring> shown;
    app.messageBoxHook = [&](const std::wstring& text, const std::wstring& caption, UINT flags) {
        shown.push_back(caption + L": " + text);
        EXPECT_TRUE(flags & MB_ICONERROR);
        return IDOK;
    };
    int ticks = 0;
    TVrTimer timer;
    timer.SetInterval(10);
    timer.SetOnTimer([&](TVrTimer&) {
        if (++ticks == 1) throw fw::Error(L"Stream write error");
    });
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    const bool reached = PumpUntil([&] { return ticks >= 3; });
    app.messageBoxHook = nullptr;
    ASSERT_TRUE(reached);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], L"Snapvane 1.1: Stream write error.");
}

TEST(VrTimer, TicksAreSkippedWhileTheApplicationShutsDown) {
    // Shutting down cannot be undone, so it happens in a child process.
    EXPECT_EXIT(
        {
            fw::Application::Instance().Terminate();
            std::atomic<int> ticks{0};
            {
                TVrTimer timer;
                timer.SetInterval(5);
                timer.SetSyncEvent(false);  // would tick on the worker, without the GUI thread
                timer.SetOnTimer([&](TVrTimer&) { ++ticks; });
                timer.SetEnabled(false);
                timer.SetEnabled(true);
                ::Sleep(150);
            }
            std::exit(ticks == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// A worker that counts its passes through its pause point.
class CountingThread : public fw::Thread {
public:
    ~CountingThread() override {
        Terminate();
        Resume();
        WaitFor();
    }
    std::atomic<int> passes{0};

protected:
    void Execute() override {
        while (CheckSuspended()) {
            ++passes;
            ::Sleep(1);
        }
    }
};

TEST(FwThread, RunsOnlyWhileResumedAndStopsAtItsPausePoint) {
    CountingThread t;
    ::Sleep(50);
    EXPECT_EQ(t.passes, 0);  // created suspended
    t.Resume();
    ASSERT_TRUE(PumpUntil([&] { return t.passes > 5; }));
    t.Suspend();
    ::Sleep(100);  // a pass under way finishes
    const int paused = t.passes;
    ::Sleep(50);
    EXPECT_EQ(t.passes, paused);
    t.Resume();
    ASSERT_TRUE(PumpUntil([&] { return t.passes > paused + 5; }));
}

// A worker that hands one call to the GUI thread and ends.
class HandingThread : public fw::Thread {
public:
    ~HandingThread() override { WaitFor(); }
    DWORD ranOn = 0;

protected:
    void Execute() override {
        Synchronize([this] { ranOn = ::GetCurrentThreadId(); });
    }
};

TEST(FwThread, WaitForOnTheGuiThreadRunsTheWorkersHandOvers) {
    HandingThread t;
    t.Resume();
    ::Sleep(50);  // the worker waits for the GUI thread, which handles no messages
    EXPECT_EQ(t.ranOn, 0u);
    t.WaitFor();
    EXPECT_TRUE(t.Finished());
    EXPECT_EQ(t.ranOn, ::GetCurrentThreadId());
}

}  // namespace
