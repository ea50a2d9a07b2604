#pragma once
// Removes what stands in the way of a timer wake, where the program can: wake
// timers allowed in the active power plan through powrprof (a user may
// change the plan where Windows lets them, without administrator rights),
// hibernation switched on by powercfg through Windows' elevation prompt. The
// decision of what to fix is wake_readiness.h; the fix runs on a worker and
// its end is posted back to the window that asked.
#include <windows.h>

#include <string>

#include "power/wake_readiness.h"

namespace zelvar {

// Posted to the window that started a fix when it has ended; TakeWakeFixResult
// reads what it carries.
inline constexpr UINT kWakeFixDoneMessage = WM_APP + 20;
WakeFixResult TakeWakeFixResult(WPARAM wp, LPARAM lp);

// Starts the fix on a worker thread (owner: the window Windows' prompt
// belongs to); kWakeFixDoneMessage reaches receiver at its end. False when a
// fix is running already (one at a time, whichever page asked) or no worker
// could start; nothing is posted then.
bool StartWakeFix(const WakeFix& fix, HWND owner, HWND receiver);

// What a fix does, on the worker; one implementation per executable, like
// the power actions: zelvar.exe changes the machine (wake_fix_real.cpp), the
// test build and the Win32 tests record it (wake_fix_recording.cpp).
WakeFixResult ApplyWakeFix(const WakeFix& fix, HWND owner);

// The powrprof.dll functions that write the plan; any of them may be missing.
// Resolved at run time as the probe's are (wake_probe_win.h): under Wine the
// scheme cannot be read, so nothing is written after it.
struct PowerWriteApi {
    using PowerGetActiveSchemeFn = DWORD(WINAPI*)(HKEY, GUID**);
    using PowerWriteValueIndexFn = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, DWORD);
    using PowerSetActiveSchemeFn = DWORD(WINAPI*)(HKEY, const GUID*);
    PowerGetActiveSchemeFn powerGetActiveScheme = nullptr;
    PowerWriteValueIndexFn powerWriteACValueIndex = nullptr;
    PowerWriteValueIndexFn powerWriteDCValueIndex = nullptr;
    PowerSetActiveSchemeFn powerSetActiveScheme = nullptr;
};

// Sets "Allow wake timers" of the active scheme to Enable on mains and/or on
// battery, then makes the scheme active again so what was written applies;
// nothing else of the plan is touched. The error of the first step that
// failed (ERROR_CALL_NOT_IMPLEMENTED when a function is missing), else 0.
DWORD AllowWakeTimersThrough(const PowerWriteApi& api, bool onMains, bool onBattery);
// The same with powrprof.dll loaded for the call.
DWORD AllowWakeTimersOnSystem(bool onMains, bool onBattery);

// Runs program with parameters through the elevation prompt ("runas"), its
// window hidden, and waits up to timeoutMs for it to end. The error is the
// prompt's (ERROR_CANCELLED when the user declined) or the wait's; the exit
// code the program's.
WakeFixResult RunElevatedAndWait(HWND owner, const std::wstring& program, const wchar_t* parameters, DWORD timeoutMs);
// "powercfg.exe /hibernate on", from the system folder.
WakeFixResult SwitchHibernationOnElevated(HWND owner);

}  // namespace zelvar
