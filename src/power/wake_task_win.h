#pragma once
// Keeps the wake task (wake_task.h) in Windows' Task Scheduler in line with
// the wake moments the program knows: written when they change and at
// start, removed when none is left. The Task Scheduler is asked through its
// COM interfaces on a worker thread of its own, so the window never waits
// for it; the outcome comes back to the window as a message. A failure
// never stops the program: the wake then holds only while it runs.
#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "power/wake_task.h"

namespace zelvar {

// What writes and removes the task. An outcome is S_OK or the failing
// HRESULT with the step that failed.
class WakeTaskRegistrar {
public:
    struct Outcome {
        HRESULT hr = S_OK;
        const char* step = "";
    };
    virtual ~WakeTaskRegistrar() = default;
    virtual Outcome Register(const std::wstring& name, const std::wstring& xml) = 0;
    // A task that is not there counts as removed.
    virtual Outcome Remove(const std::wstring& name) = 0;
};

// The Task Scheduler through its COM interfaces, for the calling thread
// (which the caller has joined to COM's multithreaded apartment).
std::unique_ptr<WakeTaskRegistrar> MakeTaskSchedulerRegistrar();
// What the program goes by: zelvar.exe the Task Scheduler; the test build
// the same, unless ZELVAR_TEST_WAKE_TASK=refuse, which refuses every call
// with access denied (wake_task_seam_*.cpp).
std::unique_ptr<WakeTaskRegistrar> CurrentWakeTaskRegistrar();

// Whether the Task Scheduler holds the wake task now, as the program's
// keeper last heard (nullopt: no wake task asked for, or no answer yet);
// read with the wake probe, on the window thread.
std::optional<bool> WakeTaskHeldNow();

// A local moment for the one-time trigger, by the user's zone's rules.
WakeTaskMoment WakeTaskMomentAt(TDateTime local);

// Removes the user's wake task at once, on the calling thread (for the
// uninstaller); true when it is gone or was never there.
bool RemoveWakeTaskNow();

// The user the program runs as, "S-1-5-21-..."; empty when it cannot be told.
std::wstring CurrentUserSid();

class WakeTaskKeeper {
public:
    WakeTaskKeeper() = default;
    // Finishes the write under way, so the task the program leaves is the
    // last one asked for.
    ~WakeTaskKeeper();
    WakeTaskKeeper(const WakeTaskKeeper&) = delete;
    WakeTaskKeeper& operator=(const WakeTaskKeeper&) = delete;

    // The window told of each outcome: message with lParam a Done that
    // TakeDone releases. Nothing is written before this.
    void Attach(HWND window, UINT doneMessage);
    // The task to follow this plan: written when its definition differs from
    // the last one asked for, or that one failed (the first time always),
    // removed when the plan is empty.
    void Keep(const WakeTaskPlan& plan, const WakeTaskIdentity& who, TDateTime today);

    struct Done {
        bool removal = false;
        WakeTaskRegistrar::Outcome outcome;
        std::wstring xml;  // what was written (empty for a removal)
    };
    // On the window thread, for the done message: the outcome, which the
    // keeper also takes as whether the wake now holds beyond the program.
    std::unique_ptr<Done> TakeDone(LPARAM lp);
    // Whether the last outcome left the wake held by the Task Scheduler;
    // nullopt before any outcome.
    std::optional<bool> Held() const { return held_; }

private:
    struct Request {
        std::wstring name;
        std::wstring xml;  // empty: remove
    };
    void Run();
    void SetHeld(std::optional<bool> held);

    HWND window_ = nullptr;
    UINT doneMessage_ = 0;
    std::optional<Request> lastAsked_;
    std::optional<bool> held_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Request> pending_;  // the newest request not yet taken by the worker
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace zelvar
