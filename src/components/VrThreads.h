#pragma once
// A timer component that raises OnTimer every Interval milliseconds, from a worker thread of
// its own (ttThread, which by default hands each tick to the GUI thread and waits for it) or
// from a Windows timer on a hidden window (ttSystem).
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "components/VrControls.h"
#include "framework/Thread.h"
#include "framework/TimerWindow.h"

enum TVrTimerType { ttThread, ttSystem };

class TVrTimer;

// The worker of a TVrTimer in ttThread mode: waits WaitInterval on WakeEvent, then ticks.
// The GUI thread changes WaitInterval and the priority only while the worker is paused.
class TVrTimerThread : public fw::Thread {
public:
    explicit TVrTimerThread(TVrTimer& owner);
    ~TVrTimerThread() override;

    DWORD WaitInterval() const { return waitInterval_; }
    void SetWaitInterval(DWORD ms) { waitInterval_ = ms; }

    // Resumes the worker, asks it to end and wakes it from its wait.
    void StopThread();

protected:
    void Execute() override;

private:
    void Tick();

    TVrTimer& owner_;
    fw::KernelHandle wakeEvent_;
    std::atomic<DWORD> waitInterval_{1000};
};

class TVrTimer : public TVrComponent {
public:
    using TTimerEvent = std::function<void(TVrTimer& sender)>;

    explicit TVrTimer(fw::Control* owner = nullptr);
    ~TVrTimer() override;

    // Ticks raise OnTimer only while enabled. Disabling only stores: a running timer keeps
    // running and its ticks are dropped.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);
    // Milliseconds between ticks; 0 means no ticks.
    DWORD Interval() const { return interval_; }
    void SetInterval(DWORD ms);
    // With the worker: run the tick on the GUI thread (true) or on the worker (false).
    bool SyncEvent() const { return syncEvent_; }
    void SetSyncEvent(bool s) { syncEvent_ = s; }
    TVrTimerType TimerType() const { return timerType_; }
    void SetTimerType(TVrTimerType t);
    fw::ThreadPriority Priority() const { return priority_; }
    void SetPriority(fw::ThreadPriority p);
    // The handler may change, release or free its own timer (on the GUI thread). A worker
    // with SyncEvent false reads it while the GUI thread may replace it.
    TTimerEvent OnTimer() const;
    void SetOnTimer(TTimerEvent handler);

    HWND TimerWindow() const { return timerWindowHandle_; }
    TVrTimerThread* TimerThread() const { return timerThread_.get(); }
    bool Allocated() const { return allocated_; }

    // One tick: OnTimer when enabled; an error it raises is shown by the application and the
    // timer goes on.
    virtual void FireTimer();

protected:
    void AllocateTimer();
    void ReleaseTimer();
    // Starts or pauses the worker, or sets or kills the window timer, to match Interval,
    // Enabled and OnTimer. Throws fw::OutOfResources when Windows has no timer left.
    void UpdateTimer();

private:
    std::atomic<bool> enabled_{true};
    DWORD interval_ = 1000;
    std::atomic<bool> syncEvent_{true};
    TVrTimerType timerType_ = ttThread;
    fw::ThreadPriority priority_ = fw::ThreadPriority::Normal;
    std::atomic<std::shared_ptr<const TTimerEvent>> onTimer_;
    std::unique_ptr<TVrTimerThread> timerThread_;
    std::unique_ptr<fw::TimerWindow> timerWindow_;
    HWND timerWindowHandle_ = nullptr;
    bool allocated_ = false;
    bool destroying_ = false;  // nothing is allocated anew while the destructor releases
};
