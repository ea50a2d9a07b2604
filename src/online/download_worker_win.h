#pragma once
// One download at a time of each kind, each on a thread of its own, its
// result posted to the window that asked. The window thread never waits: the
// worker owns copies of everything it uses, is never joined, and a program
// that ends while it runs just ends.
#include <windows.h>

#include <memory>
#include <string>

#include "online/download_win.h"

namespace zelvar {

enum class DownloadKind { VersionFile = 0, History = 1 };

// What the worker posts: the message's wParam is the kind, its lParam a
// DownloadDone* that the receiver takes over with TakeDownloadDone.
struct DownloadDone {
    DownloadKind kind = DownloadKind::VersionFile;
    std::wstring address;
    std::wstring localFile;
    DownloadResult result;
    std::uint64_t elapsedMs = 0;
};

// Starts the download and returns at once. False, and nothing started, while
// a download of the same kind runs or when no thread could be started. When
// the download ends, posts message to receiver; if the window is gone by
// then, the result is dropped.
bool StartDownload(HWND receiver, UINT message, DownloadKind kind, std::wstring address, std::wstring localFile,
                   DownloadLimits limits = {});

// True from a successful StartDownload of that kind until just before its
// result is posted.
bool DownloadRunning(DownloadKind kind);

// The result a posted message carries; call once per message.
std::unique_ptr<DownloadDone> TakeDownloadDone(LPARAM lParam);

}  // namespace zelvar
