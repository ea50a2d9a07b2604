#include "online/download_worker_win.h"

#include <atomic>
#include <exception>
#include <thread>

namespace zelvar {
namespace {

// Trivially destructible, so a worker still running while the program ends
// never meets a destroyed object.
std::atomic<bool> g_running[2];

std::atomic<bool>& RunningFlag(DownloadKind kind) { return g_running[static_cast<int>(kind) & 1]; }

void RunDownload(HWND receiver, UINT message, std::unique_ptr<DownloadDone> done, DownloadLimits limits) {
    const ULONGLONG started = GetTickCount64();
    try {
        done->result = DownloadFile(done->address, done->localFile, limits);
    } catch (const std::exception&) {
        done->result = DownloadResult{};
        done->result.systemError = ERROR_NOT_ENOUGH_MEMORY;
    }
    done->elapsedMs = GetTickCount64() - started;
    const DownloadKind kind = done->kind;
    // Cleared before posting, so the receiver may start the next one at once.
    RunningFlag(kind).store(false);
    if (PostMessageW(receiver, message, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(done.get())))
        done.release();  // the receiver owns it now
}

}  // namespace

bool StartDownload(HWND receiver, UINT message, DownloadKind kind, std::wstring address, std::wstring localFile,
                   DownloadLimits limits) {
    bool expected = false;
    if (!RunningFlag(kind).compare_exchange_strong(expected, true)) return false;
    try {
        auto done = std::make_unique<DownloadDone>();
        done->kind = kind;
        done->address = std::move(address);
        done->localFile = std::move(localFile);
        std::thread(RunDownload, receiver, message, std::move(done), limits).detach();
        return true;
    } catch (const std::exception&) {
        RunningFlag(kind).store(false);
        return false;
    }
}

bool DownloadRunning(DownloadKind kind) { return RunningFlag(kind).load(); }

std::unique_ptr<DownloadDone> TakeDownloadDone(LPARAM lParam) {
    return std::unique_ptr<DownloadDone>(reinterpret_cast<DownloadDone*>(lParam));
}

}  // namespace zelvar
