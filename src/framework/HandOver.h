#pragma once
// The hand-over of calls from worker threads to the GUI thread, the one thread that touches
// windows. A worker queues a call and waits for it: the GUI thread runs the queue when the
// message it is posted arrives, or whenever a wait of its own includes SyncEvent. A call made
// on the GUI thread runs at once. An error the call raises is raised again in the worker.
#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <mutex>

#include "framework/Gdi.h"

namespace fw {

class HandOver {
public:
    static HandOver& Instance();

    // Makes the calling thread the GUI thread and `window` (one of its windows) the one that
    // is posted kSyncMessage when a call is queued. Safe to call more than once.
    void Start(HWND window);
    DWORD GuiThreadId() const { return guiThread_; }

    // Runs a call on the GUI thread and waits for it; from the GUI thread it runs at once.
    // Throws fw::OutOfResources, with nothing queued, when the wait cannot be set up.
    void Synchronize(const std::function<void()>& call);
    // On the GUI thread: runs the calls that workers have queued; true when one ran.
    bool CheckSynchronize();
    // Signalled while calls wait; a GUI thread that blocks should wait on it too.
    HANDLE SyncEvent() const { return syncEvent_.Get(); }

private:
    HandOver() = default;

    struct SyncCall {
        const std::function<void()>* call;
        HANDLE done;
        std::exception_ptr error;
    };
    DWORD guiThread_ = 0;
    HWND window_ = nullptr;
    std::mutex lock_;
    std::deque<SyncCall*> queue_;
    KernelHandle syncEvent_;
};

// Posted to the hand-over's window when a worker queues a call.
inline constexpr UINT kSyncMessage = WM_APP + 0x100;

}  // namespace fw
