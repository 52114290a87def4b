#pragma once
// A worker thread. Pausing is cooperative: Suspend only clears an event that the worker waits
// on at its pause points (CheckSuspended), so a paused worker never holds a lock, a hand-over
// or anything else the GUI thread may need; SuspendThread is never used. Termination is a
// request that Execute polls (Terminated).
//
// Lifetime: Execute runs on members of the derived class, so a derived class whose Execute
// waits on something of its own must wake it and call WaitFor in its own destructor; the base
// destructor only ends a worker that is still running as a last resort. Dispose ends and
// deletes a worker even from inside one of its own hand-overs, where waiting could never end.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "framework/Gdi.h"

namespace fw {

enum class ThreadPriority { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };

// The SetThreadPriority value of a priority (-15, -2, -1, 0, 1, 2, 15).
int Win32Priority(ThreadPriority priority);

class Thread {
public:
    // The worker starts suspended: Execute begins at the first Resume.
    Thread();
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // The worker stops at its next pause point; calls do not nest (one Resume undoes any
    // number of Suspend calls).
    void Suspend();
    void Resume();
    bool Suspended() const { return suspended_; }

    // Asks the worker to end; it ends at its next test of Terminated.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Waits until the worker has ended and returns its exit code. On the GUI thread the wait
    // keeps running the hand-overs that workers queue (HandOver::Synchronize), so a worker
    // blocked in one can still end.
    DWORD WaitFor();
    bool Finished() const;

    // Deletes a thread whose worker has been asked to end (and woken from its own waits).
    // Normally the deletion waits for the worker. Called inside a hand-over of that very
    // worker (a tick handler that frees its own timer, on the GUI thread) or on the worker
    // itself, a wait could never end: the worker then ends once the hand-over has returned
    // and deletes the object itself.
    static void Dispose(std::unique_ptr<Thread> thread);

    ThreadPriority Priority() const { return priority_; }
    void SetPriority(ThreadPriority priority);

    HANDLE Handle() const { return handle_.Get(); }
    DWORD ThreadId() const { return threadId_; }

protected:
    // The worker's body. It should test Terminated and call CheckSuspended in its loop.
    virtual void Execute() = 0;
    // A pause point: blocks while the thread is suspended; false once termination has been
    // requested.
    bool CheckSuspended();
    // Runs a call on the GUI thread and waits for it to finish there.
    void Synchronize(const std::function<void()>& call);

private:
    enum Life { kRunning, kEnded, kDisposed };

    static DWORD WINAPI ThreadProc(void* param);
    DWORD Run();

    KernelHandle running_;  // manual-reset event, signalled while not suspended
    KernelHandle handle_;
    DWORD threadId_ = 0;
    std::atomic<bool> suspended_{true};
    std::atomic<bool> terminated_{false};
    ThreadPriority priority_ = ThreadPriority::Normal;
    bool inHandOver_ = false;          // a hand-over of this worker runs on the GUI thread (GUI thread only)
    std::atomic<int> life_{kRunning};  // who deletes a disposed thread: Dispose or the worker's end
};

}  // namespace fw
