#include "components/VrThreads.h"

#include <utility>

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/TimerWindow.h"

// ---- TVrTimerThread

TVrTimerThread::TVrTimerThread(TVrTimer& owner) : owner_(owner) {
    wakeEvent_.Reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!wakeEvent_) throw fw::OutOfResources(L"Thread creation error");
}

TVrTimerThread::~TVrTimerThread() {
    // Execute uses the wake event and the owner: end it before they go.
    StopThread();
    WaitFor();
}

void TVrTimerThread::StopThread() {
    Resume();
    Terminate();
    ::SetEvent(wakeEvent_.Get());
}

void TVrTimerThread::Execute() {
    while (!Terminated()) {
        if (!CheckSuspended()) break;
        if (::WaitForSingleObject(wakeEvent_.Get(), waitInterval_) != WAIT_TIMEOUT) continue;
        // A wait that began before a pause may end after it: a paused worker does not tick.
        if (Terminated() || Suspended() || fw::Application::Instance().Terminated()) continue;
        if (owner_.SyncEvent())
            Synchronize([this] { Tick(); });
        else
            owner_.FireTimer();
    }
}

void TVrTimerThread::Tick() {
    // On the GUI thread, which may have paused or stopped the worker since the tick was
    // queued (a destroying timer runs the queued hand-overs while it waits for the worker).
    // The handler may free the timer: nothing of the owner is touched after it.
    if (!Terminated() && !Suspended()) owner_.FireTimer();
}

// ---- TVrTimer

TVrTimer::TVrTimer(fw::Control* owner) : TVrComponent(owner) {}

TVrTimer::~TVrTimer() {
    destroying_ = true;
    enabled_ = false;
    // The worker ends first: with SyncEvent false it may be running the handler right now.
    ReleaseTimer();
    onTimer_.store(nullptr);
}

TVrTimer::TTimerEvent TVrTimer::OnTimer() const {
    const auto handler = onTimer_.load();
    return handler ? *handler : TTimerEvent();
}

void TVrTimer::SetOnTimer(TTimerEvent handler) {
    onTimer_.store(handler ? std::make_shared<const TTimerEvent>(std::move(handler)) : nullptr);
}

void TVrTimer::SetEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    if (e) UpdateTimer();
}

void TVrTimer::SetInterval(DWORD ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) UpdateTimer();
}

void TVrTimer::SetTimerType(TVrTimerType t) {
    if (t == timerType_) return;
    // Stored before the release, which may run hand-overs (and so handlers that set this
    // timer) while it waits for the worker: whatever they allocate is of the new kind.
    timerType_ = t;
    ReleaseTimer();
    if (enabled_) UpdateTimer();
}

void TVrTimer::SetPriority(fw::ThreadPriority p) {
    if (p == priority_) return;
    priority_ = p;
    if (timerType_ == ttThread && enabled_) UpdateTimer();
}

void TVrTimer::FireTimer() {
    if (!enabled_) return;
    // Held here: a handler that frees its timer, or sets another handler, runs to its end.
    // Nothing of this object is touched after the call, which may have freed it.
    const std::shared_ptr<const TTimerEvent> handler = onTimer_.load();
    if (!handler) return;
    try {
        (*handler)(*this);
    } catch (...) {
        fw::Application::Instance().HandleException(std::current_exception());
    }
}

void TVrTimer::AllocateTimer() {
    if (timerType_ == ttThread) {
        timerThread_ = std::make_unique<TVrTimerThread>(*this);
    } else {
        // A tick may free this timer, and the window with it: nothing is touched after it.
        timerWindow_ = std::make_unique<fw::TimerWindow>([this] { FireTimer(); });
        timerWindowHandle_ = timerWindow_->Handle();
    }
    allocated_ = true;
}

void TVrTimer::ReleaseTimer() {
    if (!allocated_) return;
    // Taken out before anything waits: the hand-overs that run while the worker ends find
    // this timer not allocated, never half released.
    std::unique_ptr<TVrTimerThread> thread = std::move(timerThread_);
    std::unique_ptr<fw::TimerWindow> window = std::move(timerWindow_);
    const HWND windowHandle = std::exchange(timerWindowHandle_, nullptr);
    allocated_ = false;
    if (thread) {
        thread->StopThread();
        // Waits for the worker, running its queued hand-overs meanwhile; from inside the
        // worker's own tick it leaves the worker to end by itself.
        fw::Thread::Dispose(std::move(thread));
    }
    if (window) {
        ::KillTimer(windowHandle, fw::TimerWindow::kId);
        window.reset();  // also from inside its own WM_TIMER, which touches nothing after the tick
    }
}

void TVrTimer::UpdateTimer() {
    if (destroying_) return;
    if (!allocated_) AllocateTimer();
    const bool ticking = interval_ != 0 && enabled_ && onTimer_.load();
    if (timerType_ == ttThread) {
        if (!timerThread_->Suspended()) timerThread_->Suspend();
        timerThread_->SetWaitInterval(interval_);
        if (ticking) {
            timerThread_->SetPriority(priority_);
            timerThread_->Resume();
        }
    } else {
        // The window's handle is kept apart from the window object, so a window destroyed
        // from outside shows up here as a failing SetTimer rather than as a thread timer.
        ::KillTimer(timerWindowHandle_, fw::TimerWindow::kId);
        if (ticking && !::SetTimer(timerWindowHandle_, fw::TimerWindow::kId, interval_, nullptr))
            throw fw::OutOfResources(L"No timer resources left.");
    }
}
