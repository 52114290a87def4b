#include "components/VrThreads.h"

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Window.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

// The hidden window of a ttSystem timer: WM_TIMER fires the timer, the rest goes to
// DefWindowProc.
class TVrTimerWindow : public fw::Window {
public:
    explicit TVrTimerWindow(TVrTimer& timer) : timer_(timer) {
        fw::WindowParams p;
        p.className = L"SvVrTimerWindow";
        p.style = 0;
        p.x = p.y = p.width = p.height = 0;
        p.parent = HWND_MESSAGE;
        CreateHandle(p);
    }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_TIMER) {
            timer_.FireTimer();
            return 0;
        }
        return Default(msg, wp, lp);
    }

private:
    TVrTimer& timer_;
};

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
        if (Terminated() || Suspended() || fw::Application::Instance().ShuttingDown()) continue;
        if (owner_.SyncEvent())
            Synchronize([this] { Tick(); });
        else
            owner_.FireTimer();
    }
}

void TVrTimerThread::Tick() {
    // On the GUI thread, which may have paused or stopped the worker since the tick was
    // queued (a destroying timer runs the queued hand-overs while it waits for the worker).
    if (!Terminated() && !Suspended()) owner_.FireTimer();
}

// ---- TVrTimer

TVrTimer::TVrTimer(fw::Control* owner) : TVrComponent(owner) {}

TVrTimer::~TVrTimer() {
    enabled_ = false;
    onTimer_ = nullptr;
    ReleaseTimer();
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
    ReleaseTimer();
    timerType_ = t;
    if (enabled_) UpdateTimer();
}

void TVrTimer::SetPriority(fw::ThreadPriority p) {
    if (p == priority_) return;
    priority_ = p;
    if (timerType_ == ttThread && enabled_) UpdateTimer();
}

void TVrTimer::FireTimer() {
    if (!enabled_ || !onTimer_) return;
    try {
        onTimer_(*this);
    } catch (...) {
        fw::Application::Instance().HandleException(std::current_exception());
    }
}

void TVrTimer::AllocateTimer() {
    if (timerType_ == ttThread) {
        timerThread_ = std::make_unique<TVrTimerThread>(*this);
    } else {
        timerWindow_ = std::make_unique<TVrTimerWindow>(*this);
        timerWindowHandle_ = timerWindow_->Handle();
    }
    allocated_ = true;
}

void TVrTimer::ReleaseTimer() {
    if (!allocated_) return;
    if (timerThread_) {
        timerThread_->StopThread();
        timerThread_.reset();  // waits for the worker, running its queued hand-overs meanwhile
    }
    if (timerWindow_) {
        ::KillTimer(timerWindowHandle_, kTimerId);
        timerWindow_.reset();
        timerWindowHandle_ = nullptr;
    }
    allocated_ = false;
}

void TVrTimer::UpdateTimer() {
    if (!allocated_) AllocateTimer();
    const bool ticking = interval_ != 0 && enabled_ && onTimer_;
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
        ::KillTimer(timerWindowHandle_, kTimerId);
        if (ticking && !::SetTimer(timerWindowHandle_, kTimerId, interval_, nullptr))
            throw fw::OutOfResources(L"No timer resources left.");
    }
}
