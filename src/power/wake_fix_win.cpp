#include "power/wake_fix_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <exception>
#include <thread>

#include "common/handles_win.h"
#include "power/wake_probe_win.h"

namespace zelvar {
namespace {

// Trivially destructible, so a worker still running while the program ends
// never meets a destroyed object.
std::atomic<bool> g_fixRunning{false};

constexpr DWORD kEnableWakeTimers = 1;
// powercfg takes a moment; one that hangs must not hold the next fix off for ever.
constexpr DWORD kPowercfgTimeoutMs = 60000;

}  // namespace

WakeFixResult TakeWakeFixResult(WPARAM wp, LPARAM lp) {
    return {static_cast<unsigned long>(wp), static_cast<unsigned long>(lp)};
}

bool StartWakeFix(const WakeFix& fix, HWND owner, HWND receiver) {
    bool expected = false;
    if (!g_fixRunning.compare_exchange_strong(expected, true)) return false;
    try {
        std::thread([fix, owner, receiver] {
            WakeFixResult result;
            try {
                result = ApplyWakeFix(fix, owner);
            } catch (const std::exception&) {
                result.error = ERROR_NOT_ENOUGH_MEMORY;
            }
            // Cleared before posting, so the receiver may start the next one at once.
            g_fixRunning.store(false);
            PostMessageW(receiver, kWakeFixDoneMessage, result.error, static_cast<LPARAM>(result.exitCode));
        }).detach();
        return true;
    } catch (const std::exception&) {
        g_fixRunning.store(false);
        return false;
    }
}

DWORD AllowWakeTimersThrough(const PowerWriteApi& api, bool onMains, bool onBattery) {
    if (!api.powerGetActiveScheme || !api.powerSetActiveScheme || (onMains && !api.powerWriteACValueIndex) ||
        (onBattery && !api.powerWriteDCValueIndex))
        return ERROR_CALL_NOT_IMPLEMENTED;
    GUID* scheme = nullptr;
    DWORD error = api.powerGetActiveScheme(nullptr, &scheme);
    if (error == ERROR_SUCCESS && !scheme) error = ERROR_CALL_NOT_IMPLEMENTED;
    if (error != ERROR_SUCCESS) {
        if (scheme) LocalFree(scheme);
        return error;
    }
    bool wrote = false;
    auto write = [&](PowerWriteApi::PowerWriteValueIndexFn fn) {
        const DWORD e = fn(nullptr, scheme, &kSleepSubgroup, &kAllowWakeTimers, kEnableWakeTimers);
        wrote = wrote || e == ERROR_SUCCESS;
        if (error == ERROR_SUCCESS) error = e;
    };
    if (onMains) write(api.powerWriteACValueIndex);
    if (onBattery) write(api.powerWriteDCValueIndex);
    // Values written to the active scheme take effect when it is made active
    // again: what was written applies even when the other value was refused.
    if (wrote) {
        const DWORD e = api.powerSetActiveScheme(nullptr, scheme);
        if (error == ERROR_SUCCESS) error = e;
    }
    LocalFree(scheme);
    return error;
}

DWORD AllowWakeTimersOnSystem(bool onMains, bool onBattery) {
    UniqueModule powrprof(LoadLibraryW(L"powrprof.dll"));
    PowerWriteApi api;
    api.powerGetActiveScheme =
        ModuleFunction<PowerWriteApi::PowerGetActiveSchemeFn>(powrprof.get(), "PowerGetActiveScheme");
    api.powerWriteACValueIndex =
        ModuleFunction<PowerWriteApi::PowerWriteValueIndexFn>(powrprof.get(), "PowerWriteACValueIndex");
    api.powerWriteDCValueIndex =
        ModuleFunction<PowerWriteApi::PowerWriteValueIndexFn>(powrprof.get(), "PowerWriteDCValueIndex");
    api.powerSetActiveScheme =
        ModuleFunction<PowerWriteApi::PowerSetActiveSchemeFn>(powrprof.get(), "PowerSetActiveScheme");
    return AllowWakeTimersThrough(api, onMains, onBattery);
}

WakeFixResult RunElevatedAndWait(HWND owner, const std::wstring& program, const wchar_t* parameters, DWORD timeoutMs) {
    // The shell may hand the verb to COM objects: COM on this thread, as
    // ShellExecuteEx asks.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The process handle to wait on; errors come back to us, not as the shell's boxes.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters;
    info.nShow = SW_HIDE;
    WakeFixResult result;
    // Returns once the user has answered the prompt: ERROR_CANCELLED when declined.
    if (!ShellExecuteExW(&info)) result.error = GetLastError();
    if (SUCCEEDED(com)) CoUninitialize();
    if (result.error != 0 || !info.hProcess) return result;
    UniqueHandle process(info.hProcess);
    const DWORD waited = WaitForSingleObject(process.get(), timeoutMs);
    if (waited == WAIT_TIMEOUT) result.error = ERROR_TIMEOUT;
    else if (waited != WAIT_OBJECT_0) result.error = GetLastError();
    else {
        DWORD code = 0;
        if (!GetExitCodeProcess(process.get(), &code)) result.error = GetLastError();
        result.exitCode = code;
    }
    return result;
}

WakeFixResult SwitchHibernationOnElevated(HWND owner) {
    wchar_t system[MAX_PATH];
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {ERROR_PATH_NOT_FOUND, 0};
    // By its full path: a powercfg.exe elsewhere on the path never gets the rights.
    return RunElevatedAndWait(owner, std::wstring(system, n) + L"\\powercfg.exe", L"/hibernate on", kPowercfgTimeoutMs);
}

}  // namespace zelvar
