// The timer of the component library and the framework's worker thread under it: ticks from
// the worker and from the window timer, pausing, releasing, ending a worker that waits for
// the GUI thread, and handlers that change, release or free their own timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "components/VrThreads.h"
#include "framework/Error.h"
#include "framework/Thread.h"
#include "framework/Application.h"
#include "framework/HandOver.h"
#include "support/Pump.h"

namespace {

// A handle of the timer's worker that outlives it, to see whether the worker has ended.
fw::KernelHandle WorkerHandle(TVrTimer& t) {
    HANDLE dup = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), t.TimerThread()->Handle(), ::GetCurrentProcess(), &dup, SYNCHRONIZE, FALSE,
                      0);
    return fw::KernelHandle(dup);
}

bool Ended(const fw::KernelHandle& h, DWORD withinMs = 0) {
    return ::WaitForSingleObject(h.Get(), withinMs) == WAIT_OBJECT_0;
}

// Polls without handling messages until done() holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(1);
    }
    return true;
}

// Whether a worker has queued a hand-over that the GUI thread has not run yet.
bool HandOverQueued(DWORD withinMs = 5000) {
    return ::WaitForSingleObject(fw::HandOver::Instance().SyncEvent(), withinMs) == WAIT_OBJECT_0;
}

// Ends the test program when the test has not finished in time: a deadlock fails the test
// with its name instead of hanging it.
class Watchdog {
public:
    explicit Watchdog(const char* what, DWORD ms = 10000) : what_(what), ms_(ms) {
        done_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        thread_.Reset(::CreateThread(nullptr, 0, &Watchdog::Watch, this, 0, nullptr));
    }
    ~Watchdog() {
        ::SetEvent(done_.Get());
        ::WaitForSingleObject(thread_.Get(), INFINITE);
    }

private:
    static DWORD WINAPI Watch(void* param) {
        auto* self = static_cast<Watchdog*>(param);
        if (::WaitForSingleObject(self->done_.Get(), self->ms_) == WAIT_TIMEOUT) {
            std::fprintf(stderr, "DEADLOCK: %s\n", self->what_);
            std::fflush(stderr);
            ::ExitProcess(3);
        }
        return 0;
    }
    const char* what_;
    DWORD ms_;
    fw::KernelHandle done_;
    fw::KernelHandle thread_;
};

// A timer that counts every tick that reaches it (run or dropped) and whose handler counts
// the ticks it runs and notes the thread of each.
class CountingTimer : public TVrTimer {
public:
    explicit CountingTimer(TVrTimerType type, DWORD interval = 10) {
        SetTimerType(type);
        SetInterval(interval);
        SetOnTimer([this](TVrTimer& sender) {
            EXPECT_EQ(&sender, this);
            {
                std::lock_guard<std::mutex> hold(lock_);
                threads_.push_back(::GetCurrentThreadId());
            }
            ++ticks;
        });
    }
    // No tick may reach the counters while they go.
    ~CountingTimer() override { ReleaseTimer(); }

    void FireTimer() override {
        ++fires;
        TVrTimer::FireTimer();
    }
    // Enabled from construction on, so it is set anew to apply the settings.
    void Start() {
        SetEnabled(false);
        SetEnabled(true);
    }
    bool TicksReach(int n) {
        return PumpUntil([&] { return ticks >= n; });
    }
    std::vector<DWORD> Threads() {
        std::lock_guard<std::mutex> hold(lock_);
        return threads_;
    }

    std::atomic<int> ticks{0};
    std::atomic<int> fires{0};

private:
    std::mutex lock_;
    std::vector<DWORD> threads_;
};

TEST(VrTimer, NoTicksWithIntervalZeroOrWithoutHandler) {
    for (TVrTimerType type : {ttThread, ttSystem}) {
        CountingTimer zero(type, 0);
        zero.Start();
        CountingTimer silent(type, 10);
        silent.SetOnTimer(nullptr);
        silent.Start();
        ASSERT_TRUE(zero.Allocated());
        ASSERT_TRUE(silent.Allocated());
        PumpFor(150);
        EXPECT_EQ(zero.fires, 0) << "type " << type;
        EXPECT_EQ(silent.fires, 0) << "type " << type << ": a timer without a handler ticks";
        if (type == ttThread) {
            EXPECT_TRUE(zero.TimerThread()->Suspended());
            EXPECT_TRUE(silent.TimerThread()->Suspended());
        }
    }
}

TEST(VrTimer, WorkerTicksRunOnTheGuiThreadUnlessSyncEventIsOff) {
    CountingTimer t(ttThread);
    t.Start();
    ASSERT_TRUE(t.TicksReach(3));
    for (DWORD id : t.Threads()) EXPECT_EQ(id, ::GetCurrentThreadId());

    CountingTimer w(ttThread);
    w.SetSyncEvent(false);
    w.Start();
    const DWORD worker = w.TimerThread()->ThreadId();
    ASSERT_TRUE(WaitUntil([&] { return w.ticks >= 3; })) << "no pumping needed";
    w.SetEnabled(false);
    const std::vector<DWORD> threads = w.Threads();
    ASSERT_GE(threads.size(), 3u);
    for (DWORD id : threads) EXPECT_EQ(id, worker);
}

TEST(VrTimer, WindowTimerTicksOnTheGuiThread) {
    CountingTimer t(ttSystem);
    t.Start();
    ASSERT_TRUE(t.TicksReach(3));
    for (DWORD id : t.Threads()) EXPECT_EQ(id, ::GetCurrentThreadId());
    EXPECT_NE(t.TimerWindow(), nullptr);
    EXPECT_EQ(t.TimerThread(), nullptr);
}

TEST(VrTimer, DisablingDropsTicksAndEnablingAppliesTheCurrentSettings) {
    CountingTimer t(ttThread);
    t.Start();
    ASSERT_TRUE(t.TicksReach(1));
    t.SetEnabled(false);
    const int before = t.ticks;
    EXPECT_FALSE(t.TimerThread()->Suspended());  // keeps waking, its ticks dropped
    t.SetInterval(25);                           // stored only while disabled
    t.SetPriority(fw::ThreadPriority::Lower);
    EXPECT_EQ(t.TimerThread()->WaitInterval(), 10u);
    const int firesBefore = t.fires;
    ASSERT_TRUE(PumpUntil([&] { return t.fires >= firesBefore + 3; })) << "a disabled timer stopped waking";
    EXPECT_EQ(t.ticks, before);

    t.SetEnabled(true);
    EXPECT_EQ(t.TimerThread()->WaitInterval(), 25u);
    EXPECT_EQ(::GetThreadPriority(t.TimerThread()->Handle()), THREAD_PRIORITY_BELOW_NORMAL);
    ASSERT_TRUE(t.TicksReach(before + 2));

    t.SetPriority(fw::ThreadPriority::Highest);  // applied at once while enabled
    EXPECT_EQ(::GetThreadPriority(t.TimerThread()->Handle()), THREAD_PRIORITY_HIGHEST);
}

TEST(VrTimer, ChangingTheTypeWhileEnabledReleasesTheOldKindFirst) {
    CountingTimer t(ttThread);
    t.Start();
    ASSERT_TRUE(t.TicksReach(1));
    fw::KernelHandle worker = WorkerHandle(t);

    t.SetTimerType(ttSystem);
    EXPECT_TRUE(Ended(worker));
    EXPECT_EQ(t.TimerThread(), nullptr);
    HWND window = t.TimerWindow();
    ASSERT_TRUE(::IsWindow(window));
    const int before = t.ticks;
    ASSERT_TRUE(t.TicksReach(before + 2));
    for (DWORD id : t.Threads()) EXPECT_EQ(id, ::GetCurrentThreadId());

    t.SetTimerType(ttThread);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(t.TimerWindow(), nullptr);
    ASSERT_NE(t.TimerThread(), nullptr);
    ASSERT_TRUE(t.TicksReach(t.ticks + 2));
}

TEST(VrTimer, DestroyingWhileATickWaitsForTheGuiThreadEndsTheWorker) {
    auto t = std::make_unique<CountingTimer>(ttThread, 1);
    t->Start();
    fw::KernelHandle worker = WorkerHandle(*t);
    // No message is handled: the worker now waits in its hand-over.
    ASSERT_TRUE(HandOverQueued());
    EXPECT_EQ(t->ticks, 0);
    const DWORD start = ::GetTickCount();
    t.reset();
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_TRUE(Ended(worker));
    PumpFor(30);  // the hand-over's message finds nothing left to run
}

// What a tick handler does to its own timer, on the GUI thread.
enum class OwnChange { Free, Retype, Rethread };

TEST(VrTimer, AHandlerMayFreeRetypeOrRethreadItsOwnTimer) {
    Watchdog watchdog("a tick handler changed its own timer");
    for (TVrTimerType type : {ttThread, ttSystem}) {
        for (OwnChange change : {OwnChange::Free, OwnChange::Retype, OwnChange::Rethread}) {
            SCOPED_TRACE(testing::Message() << "type " << type << ", change " << int(change));
            auto* timer = new TVrTimer();
            timer->SetTimerType(type);
            timer->SetInterval(5);
            int ticks = 0, before = 0;
            bool freed = false;
            DWORD tickThread = 0;
            timer->SetOnTimer([&](TVrTimer& self) {
                ++ticks;
                tickThread = ::GetCurrentThreadId();
                if (ticks > 1) return;
                if (change == OwnChange::Free) {
                    delete &self;
                    freed = true;
                } else if (change == OwnChange::Retype) {
                    self.SetTimerType(type == ttThread ? ttSystem : ttThread);
                } else {
                    self.SetTimerType(type == ttThread ? ttSystem : ttThread);
                    self.SetTimerType(type);
                }
            });
            timer->SetEnabled(false);
            timer->SetEnabled(true);
            fw::KernelHandle worker;
            if (type == ttThread) worker = WorkerHandle(*timer);
            ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }));
            if (worker) {
                EXPECT_TRUE(Ended(worker, 5000)) << "the first worker did not end";
            }
            if (change == OwnChange::Free) {
                EXPECT_TRUE(freed);
                PumpFor(40);  // a tick reaching the freed timer would count
                EXPECT_EQ(ticks, 1);
                continue;
            }
            before = ticks;
            ASSERT_TRUE(PumpUntil([&] { return ticks >= before + 3; })) << "no ticks after the change";
            EXPECT_EQ(tickThread, ::GetCurrentThreadId());
            const TVrTimerType now = change == OwnChange::Retype ? (type == ttThread ? ttSystem : ttThread) : type;
            EXPECT_EQ(timer->TimerType(), now);
            EXPECT_EQ(timer->TimerThread() != nullptr, now == ttThread);
            EXPECT_EQ(timer->TimerWindow() != nullptr, now == ttSystem);
            delete timer;
        }
    }
}

// A worker that hands one call of the test's to the GUI thread and ends.
class HandingThread : public fw::Thread {
public:
    explicit HandingThread(std::function<void()> call) : call_(std::move(call)) {}
    ~HandingThread() override { WaitFor(); }
    std::atomic<bool> raised{false};

protected:
    void Execute() override {
        try {
            Synchronize(call_);
        } catch (const fw::OutOfResources&) {
            raised = true;
        }
    }

private:
    std::function<void()> call_;
};

// A timer whose worker (SyncEvent false) stays in its first tick's handler until let go:
// releasing the timer then waits for the worker, and runs the hand-overs queued meanwhile.
struct HeldTimer {
    HeldTimer()
        : entered(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          letGo(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        timer = std::make_unique<TVrTimer>();
        timer->SetSyncEvent(false);
        timer->SetInterval(5);
        timer->SetOnTimer([this](TVrTimer&) {
            if (ticks++ > 0) return;
            ::SetEvent(entered.Get());
            ::WaitForSingleObject(letGo.Get(), 5000);
        });
        timer->SetEnabled(false);
        timer->SetEnabled(true);
    }
    fw::KernelHandle entered, letGo;
    std::unique_ptr<TVrTimer> timer;
    std::atomic<int> ticks{0};
};

TEST(VrTimer, AHandOverThatSetsATimerWhileItsWorkerIsReleasedFindsItReleased) {
    Watchdog watchdog("a hand-over set a timer being released");
    // Released by a change of type: the hand-over sets the timer up, of the new kind.
    {
        HeldTimer held;
        TVrTimer& t = *held.timer;
        ASSERT_EQ(::WaitForSingleObject(held.entered.Get(), 5000), WAIT_OBJECT_0);
        HandingThread other([&] {
            t.SetInterval(25);
            ::SetEvent(held.letGo.Get());
        });
        other.Resume();
        ASSERT_TRUE(HandOverQueued());
        t.SetTimerType(ttSystem);
        EXPECT_EQ(t.TimerThread(), nullptr);
        EXPECT_TRUE(::IsWindow(t.TimerWindow()));
        EXPECT_EQ(t.Interval(), 25u);
        const int before = held.ticks;
        EXPECT_TRUE(PumpUntil([&] { return held.ticks >= before + 2; })) << "no ticks of the new kind";
    }
    // Released by destruction: the hand-over enables the timer on its way out, which starts
    // nothing anew.
    {
        HeldTimer held;
        ASSERT_EQ(::WaitForSingleObject(held.entered.Get(), 5000), WAIT_OBJECT_0);
        fw::KernelHandle worker = WorkerHandle(*held.timer);
        TVrTimer* t = held.timer.get();
        bool allocatedAnew = true;
        HandingThread other([&] {
            t->SetEnabled(true);
            allocatedAnew = t->Allocated();
            ::SetEvent(held.letGo.Get());
        });
        other.Resume();
        ASSERT_TRUE(HandOverQueued());
        held.timer.reset();
        EXPECT_TRUE(Ended(worker));
        EXPECT_FALSE(allocatedAnew);
    }
}

// The handler of a worker with SyncEvent false holds something that reports being destroyed.
struct Witness {
    explicit Witness(std::atomic<bool>& inHandler, std::atomic<bool>& lostWhileRunning)
        : inHandler_(inHandler),
          lostWhileRunning_(lostWhileRunning) {}
    ~Witness() {
        if (inHandler_) lostWhileRunning_ = true;
    }
    std::atomic<bool>& inHandler_;
    std::atomic<bool>& lostWhileRunning_;
};

TEST(VrTimer, DestroyingWaitsForAHandlerRunningOnTheWorker) {
    std::atomic<bool> inHandler{false}, lostWhileRunning{false};
    fw::KernelHandle entered(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto timer = std::make_unique<TVrTimer>();
    timer->SetSyncEvent(false);
    timer->SetInterval(5);
    auto witness = std::make_shared<Witness>(inHandler, lostWhileRunning);
    timer->SetOnTimer([witness, &inHandler, &entered](TVrTimer&) {
        inHandler = true;
        ::SetEvent(entered.Get());
        ::Sleep(100);  // a handler at work on the worker
        inHandler = false;
    });
    witness.reset();  // the handler holds the only reference
    timer->SetEnabled(false);
    timer->SetEnabled(true);
    ASSERT_EQ(::WaitForSingleObject(entered.Get(), 5000), WAIT_OBJECT_0);
    timer.reset();
    EXPECT_FALSE(inHandler) << "the timer went while its handler was still running";
    EXPECT_FALSE(lostWhileRunning) << "the handler was destroyed while it ran";
}

TEST(VrTimer, SetTimerFailureRaisesOutOfResources) {
    CountingTimer t(ttSystem);
    t.Start();
    ::DestroyWindow(t.TimerWindow());  // Windows can no longer set a timer on it
    try {
        t.SetInterval(20);
        FAIL() << "no error";
    } catch (const fw::OutOfResources& e) {
        EXPECT_EQ(e.Message(), L"No timer resources left.");
    }
    EXPECT_TRUE(t.Allocated());
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
            fw::KernelHandle ticked(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
            bool quiet = false;
            {
                TVrTimer timer;
                timer.SetInterval(5);
                timer.SetSyncEvent(false);  // would tick on the worker, without the GUI thread
                timer.SetOnTimer([&](TVrTimer&) { ::SetEvent(ticked.Get()); });
                timer.SetEnabled(false);
                timer.SetEnabled(true);
                quiet = ::WaitForSingleObject(ticked.Get(), 150) == WAIT_TIMEOUT;  // 30 intervals
            }
            std::exit(quiet ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// A worker that counts its passes through its pause point and signals each.
class CountingThread : public fw::Thread {
public:
    CountingThread() : pass_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~CountingThread() override {
        Terminate();
        Resume();
        WaitFor();
    }
    // True when no pass comes within the time.
    bool NoPassWithin(DWORD ms) {
        ::ResetEvent(pass_.Get());
        return ::WaitForSingleObject(pass_.Get(), ms) == WAIT_TIMEOUT;
    }
    std::atomic<int> passes{0};

protected:
    void Execute() override {
        while (CheckSuspended()) {
            ++passes;
            ::SetEvent(pass_.Get());
            ::Sleep(1);
        }
    }

private:
    fw::KernelHandle pass_;
};

TEST(FwThread, RunsOnlyWhileResumedAndStopsAtItsPausePoint) {
    CountingThread t;
    EXPECT_TRUE(t.NoPassWithin(50)) << "ran before Resume";
    EXPECT_EQ(t.passes, 0);
    t.Resume();
    ASSERT_TRUE(PumpUntil([&] { return t.passes > 5; }));
    const int atSuspend = t.passes;
    t.Suspend();
    t.NoPassWithin(30);  // a pass under way finishes
    EXPECT_TRUE(t.NoPassWithin(100)) << "went on after Suspend";
    EXPECT_LE(t.passes, atSuspend + 1);
    const int paused = t.passes;
    t.Resume();
    ASSERT_TRUE(PumpUntil([&] { return t.passes > paused + 5; }));
}

TEST(FwThread, WaitForOnTheGuiThreadRunsTheWorkersHandOvers) {
    DWORD ranOn = 0;
    HandingThread t([&] { ranOn = ::GetCurrentThreadId(); });
    t.Resume();
    ASSERT_TRUE(HandOverQueued());  // the worker waits for the GUI thread, which handles no messages
    EXPECT_EQ(ranOn, 0u);
    t.WaitFor();
    EXPECT_TRUE(t.Finished());
    EXPECT_EQ(ranOn, ::GetCurrentThreadId());
}

// ---- a hand-over whose event cannot be made

// This program's own import of a kernel32 function, replaced while the object lives.
class ImportPatch {
public:
    ImportPatch(const char* name, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
        const auto* nt =
            reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
            if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "kernel32.dll") != 0) continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0)
                    slot_ = reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
        if (slot_) original_ = Swap(replacement);
    }
    ~ImportPatch() {
        if (slot_) Swap(original_);
    }
    bool Found() const { return slot_ != nullptr; }
    void* Original() const { return original_; }

private:
    void* Swap(void* to) {
        DWORD was = 0;
        ::VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &was);
        void* from = ::InterlockedExchangePointer(slot_, to);
        ::VirtualProtect(slot_, sizeof(void*), was, &was);
        return from;
    }
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

std::atomic<DWORD> gNoEventsFor{0};  // the thread whose CreateEventW fails
decltype(&::CreateEventW) gCreateEvent = nullptr;

HANDLE WINAPI CreateEventFailingForOneThread(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL initial, LPCWSTR name) {
    if (::GetCurrentThreadId() == gNoEventsFor) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return gCreateEvent(security, manual, initial, name);
}

TEST(FwThread, AHandOverWithoutItsEventRaisesAndLeavesNothingQueued) {
    bool ran = false;
    HandingThread t([&] { ran = true; });
    HANDLE dup = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), t.Handle(), ::GetCurrentProcess(), &dup, SYNCHRONIZE, FALSE, 0);
    fw::KernelHandle worker(dup);
    {
        ImportPatch patch("CreateEventW", reinterpret_cast<void*>(&CreateEventFailingForOneThread));
        ASSERT_TRUE(patch.Found());
        gCreateEvent = reinterpret_cast<decltype(&::CreateEventW)>(patch.Original());
        gNoEventsFor = t.ThreadId();
        t.Resume();
        // Not t.WaitFor, which would run what is queued: the plain end of the worker.
        ASSERT_TRUE(Ended(worker, 5000)) << "the hand-over waited for an event it does not have";
        gNoEventsFor = 0;
    }
    EXPECT_TRUE(t.raised) << "no error for the hand-over that could not be made";
    // Running what is queued then would call into the ended worker's stack.
    ASSERT_FALSE(HandOverQueued(0)) << "an entry of the ended worker's stack is still queued";
    EXPECT_FALSE(fw::HandOver::Instance().CheckSynchronize());
    EXPECT_FALSE(ran);
}

}  // namespace
