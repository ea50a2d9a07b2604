#pragma once
// Another program (a backup or sync tool) holding a file without sharing,
// from the constructor until Release(), the end of holdMs or the destructor,
// whichever comes first.
#include <windows.h>

#include <string>
#include <thread>

namespace zelvar {

class FileHolder {
public:
    explicit FileHolder(const std::wstring& path, DWORD holdMs = INFINITE)
        : release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, path, holdMs, held] {
            HANDLE f = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            opened_ = f != INVALID_HANDLE_VALUE;
            SetEvent(held);
            if (opened_) {
                WaitForSingleObject(release_, holdMs);
                CloseHandle(f);
            }
            SetEvent(done_);
        });
        WaitForSingleObject(held, INFINITE);
        CloseHandle(held);
    }
    ~FileHolder() {
        Release();
        thread_.join();
        CloseHandle(release_);
        CloseHandle(done_);
    }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    // Whether the file could be opened (it was held at all).
    bool Holds() const { return opened_; }
    void Release() { SetEvent(release_); }
    // Waits until the file is closed again; false on timeout.
    bool Released(DWORD timeoutMs) const { return WaitForSingleObject(done_, timeoutMs) == WAIT_OBJECT_0; }

private:
    HANDLE release_;
    HANDLE done_;
    bool opened_ = false;
    std::thread thread_;
};

}  // namespace zelvar
