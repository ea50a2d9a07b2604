#include "remote_pickers.h"

#include <commctrl.h>

namespace zelvar::e2e {
namespace {

// A SYSTEMTIME-sized buffer inside the process that owns window.
class RemoteBuffer {
public:
    explicit RemoteBuffer(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) memory_ = VirtualAllocEx(process_, nullptr, sizeof(SYSTEMTIME), MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    void* Address() const { return memory_; }
    bool Write(const SYSTEMTIME& st) {
        return memory_ && WriteProcessMemory(process_, memory_, &st, sizeof(st), nullptr);
    }
    bool Read(SYSTEMTIME& st) const {
        return memory_ && ReadProcessMemory(process_, memory_, &st, sizeof(st), nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
};

ULONGLONG Ticks(const SYSTEMTIME& st) {
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

}  // namespace

bool SetPickerTime(HWND picker, const SYSTEMTIME& value) {
    RemoteBuffer buffer(picker);
    if (!buffer.Write(value)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(buffer.Address()),
                               SMTO_NORMAL, 5000, &result) != 0 &&
           result != 0;
}

std::optional<SYSTEMTIME> PickerTime(HWND picker) {
    RemoteBuffer buffer(picker);
    DWORD_PTR result = 0;
    SYSTEMTIME st{};
    if (!buffer.Address() ||
        !SendMessageTimeoutW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(buffer.Address()), SMTO_NORMAL,
                             5000, &result) ||
        result != GDT_VALID || !buffer.Read(st))
        return std::nullopt;
    return st;
}

SYSTEMTIME NowLocal() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

SYSTEMTIME LocalTimeIn(int seconds) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    FILETIME ft{};
    SystemTimeToFileTime(&now, &ft);
    ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    t += static_cast<ULONGLONG>(seconds) * 10000000ULL;
    ft.dwLowDateTime = static_cast<DWORD>(t);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    SYSTEMTIME out{};
    FileTimeToSystemTime(&ft, &out);
    return out;
}

double SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return (static_cast<double>(Ticks(a)) - static_cast<double>(Ticks(b))) / 1e7;
}

}  // namespace zelvar::e2e
