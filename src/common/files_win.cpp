#include "common/files_win.h"

#include <windows.h>

#include <algorithm>

#include "common/handles_win.h"

namespace zelvar {

namespace {

bool IsMissingError(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME ||
           code == ERROR_BAD_NETPATH;
}

FileRead Unreadable(DWORD code) {
    FileRead r;
    r.state = IniFileState::Unreadable;
    r.error = code ? code : ERROR_READ_FAULT;
    return r;
}

}  // namespace

FileRead ReadWholeFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    // Sharing everything: an editor or the scheduler's reader may have it open too.
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = GetLastError();
        if (IsMissingError(code)) return {};
        return Unreadable(code);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return Unreadable(GetLastError());
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxWholeFileBytes) return Unreadable(ERROR_FILE_TOO_LARGE);
    FileRead r;
    r.state = IniFileState::Read;
    r.bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t got = 0;
    while (got < r.bytes.size()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(r.bytes.size() - got, 1u << 24));
        if (!ReadFile(file.get(), r.bytes.data() + got, want, &n, nullptr)) return Unreadable(GetLastError());
        if (n == 0) break;  // it shrank while we read: what is there is the file
        got += n;
    }
    r.bytes.resize(got);
    return r;
}

FileRead ReadWholeFileRetrying(const std::wstring& path, const RetryPolicy& retry) {
    FileRead r = ReadWholeFile(path);
    for (int attempt = 1; attempt < retry.attempts && r.state == IniFileState::Unreadable; ++attempt) {
        Sleep(retry.intervalMs);
        r = ReadWholeFile(path);
    }
    return r;
}

bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes, const WriteFault* fault) {
    const std::wstring temp = path + L".new";
    bool ok = false;
    {
        UniqueFileHandle file(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        const size_t limit = fault ? std::min(fault->failAfterBytes, bytes.size()) : bytes.size();
        size_t done = 0;
        ok = true;
        while (ok && done < limit) {
            DWORD n = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(limit - done, 1u << 20));
            ok = WriteFile(file.get(), bytes.data() + done, chunk, &n, nullptr) && n == chunk;
            done += n;
        }
        if (ok && done < bytes.size()) {
            SetLastError(ERROR_DISK_FULL);
            ok = false;
        }
        // On disk before it takes the old file's place: the program may power
        // the machine off right after a save.
        ok = ok && FlushFileBuffers(file.get());
    }
    if (ok) {
        // A hidden or system file stays so; a read-only one refuses the move.
        const DWORD old = GetFileAttributesW(path.c_str());
        if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            SetFileAttributesW(temp.c_str(),
                               old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
        ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (!ok) {
        const DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        SetLastError(code);
    }
    return ok;
}

}  // namespace zelvar
