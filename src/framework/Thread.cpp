#include "framework/Thread.h"

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/HandOver.h"

namespace fw {

int Win32Priority(ThreadPriority priority) {
    switch (priority) {
    case ThreadPriority::Idle:
        return THREAD_PRIORITY_IDLE;
    case ThreadPriority::Lowest:
        return THREAD_PRIORITY_LOWEST;
    case ThreadPriority::Lower:
        return THREAD_PRIORITY_BELOW_NORMAL;
    case ThreadPriority::Normal:
        return THREAD_PRIORITY_NORMAL;
    case ThreadPriority::Higher:
        return THREAD_PRIORITY_ABOVE_NORMAL;
    case ThreadPriority::Highest:
        return THREAD_PRIORITY_HIGHEST;
    case ThreadPriority::TimeCritical:
        return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

Thread::Thread() {
    running_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!running_) throw OutOfResources(L"Thread creation error");
    // The OS thread runs at once but waits at its first pause point until Resume, so Execute
    // never starts before the derived object is complete.
    handle_.Reset(::CreateThread(nullptr, 0, &Thread::ThreadProc, this, 0, &threadId_));
    if (!handle_) throw OutOfResources(L"Thread creation error");
}

Thread::~Thread() {
    if (!Finished()) {
        Terminate();
        Resume();
        WaitFor();
    }
}

void Thread::Suspend() {
    suspended_ = true;
    ::ResetEvent(running_.Get());
}

void Thread::Resume() {
    suspended_ = false;
    ::SetEvent(running_.Get());
}

bool Thread::CheckSuspended() {
    // Suspend sets the flag before it clears the event, so a pass through a still signalled
    // event only loops once more.
    while (suspended_ && !terminated_) ::WaitForSingleObject(running_.Get(), INFINITE);
    return !terminated_;
}

bool Thread::Finished() const { return !handle_ || ::WaitForSingleObject(handle_.Get(), 0) == WAIT_OBJECT_0; }

DWORD Thread::WaitFor() {
    HANDLE thread = handle_.Get();
    if (!thread || ::GetCurrentThreadId() == threadId_) return 0;
    HandOver& handOver = HandOver::Instance();
    if (::GetCurrentThreadId() == handOver.GuiThreadId() && handOver.SyncEvent()) {
        // The worker may be blocked in a hand-over to this very thread: run those while
        // waiting, and let sent messages through.
        HANDLE handles[2] = {thread, handOver.SyncEvent()};
        for (;;) {
            DWORD r = ::MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
            if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) break;
            if (r == WAIT_OBJECT_0 + 1) {
                handOver.CheckSynchronize();
            } else {
                MSG msg;
                ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers sent messages
            }
        }
    } else {
        ::WaitForSingleObject(thread, INFINITE);
    }
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    return code;
}

void Thread::SetPriority(ThreadPriority priority) {
    priority_ = priority;
    ::SetThreadPriority(handle_.Get(), Win32Priority(priority));
}

void Thread::Synchronize(const std::function<void()>& call) {
    // The flag is set and cleared on the GUI thread while the worker waits, so it is true
    // exactly while the call may reach Dispose of this thread. The object outlives the call
    // even then: the worker has not ended yet.
    HandOver::Instance().Synchronize([&] {
        inHandOver_ = true;
        try {
            call();
        } catch (...) {
            inHandOver_ = false;
            throw;
        }
        inHandOver_ = false;
    });
}

void Thread::Dispose(std::unique_ptr<Thread> thread) {
    if (!thread) return;
    if (!thread->inHandOver_ && ::GetCurrentThreadId() != thread->threadId_) {
        thread.reset();  // waits for the worker, running its hand-overs meanwhile
        return;
    }
    thread->Terminate();
    thread->Resume();
    Thread* self = thread.release();
    // The worker cannot have ended (it waits for this hand-over, or this is the worker), but
    // whichever of the two comes second deletes.
    if (self->life_.exchange(kDisposed) == kEnded) delete self;
}

DWORD Thread::Run() {
    if (!CheckSuspended()) return 0;
    try {
        Execute();
    } catch (...) {
        // Nothing unwinds out of the thread: the GUI thread shows the error.
        std::exception_ptr error = std::current_exception();
        try {
            Synchronize([&] { Application::Instance().HandleException(error); });
        } catch (...) {}
        return 1;
    }
    return 0;
}

DWORD WINAPI Thread::ThreadProc(void* param) {
    auto* self = static_cast<Thread*>(param);
    const DWORD code = self->Run();
    // After this the worker touches nothing of the object, which its owner may delete.
    if (self->life_.exchange(kEnded) == kDisposed) delete self;
    return code;
}

}  // namespace fw
