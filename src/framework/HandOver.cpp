#include "framework/HandOver.h"

#include "framework/Error.h"

namespace fw {

HandOver& HandOver::Instance() {
    static HandOver* handOver = new HandOver();  // lives as long as the process
    return *handOver;
}

void HandOver::Start(HWND window) {
    guiThread_ = ::GetCurrentThreadId();
    window_ = window;
    if (!syncEvent_) syncEvent_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

void HandOver::Synchronize(const std::function<void()>& call) {
    if (::GetCurrentThreadId() == guiThread_) {
        call();
        return;
    }
    SyncCall entry{&call, ::CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    // Without its event the entry could not be waited for, and it lives on this stack.
    if (!entry.done) throw OutOfResources();
    {
        std::lock_guard<std::mutex> hold(lock_);
        queue_.push_back(&entry);
        ::SetEvent(syncEvent_.Get());
    }
    ::PostMessageW(window_, kSyncMessage, 0, 0);
    ::WaitForSingleObject(entry.done, INFINITE);
    ::CloseHandle(entry.done);
    if (entry.error) std::rethrow_exception(entry.error);
}

bool HandOver::CheckSynchronize() {
    if (::GetCurrentThreadId() != guiThread_) return false;
    bool ran = false;
    for (;;) {
        SyncCall* entry = nullptr;
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (queue_.empty()) {
                ::ResetEvent(syncEvent_.Get());
                return ran;
            }
            entry = queue_.front();
            queue_.pop_front();
        }
        try {
            (*entry->call)();
        } catch (...) {
            entry->error = std::current_exception();
        }
        ran = true;
        ::SetEvent(entry->done);
    }
}

}  // namespace fw
