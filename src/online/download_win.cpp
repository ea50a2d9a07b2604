#include "online/download_win.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/handles_win.h"
#include "common/paths_win.h"

namespace zelvar {
namespace {

struct InternetCloser {
    void operator()(HINTERNET h) const { InternetCloseHandle(h); }
};
using UniqueInternet = UniqueOwner<HINTERNET, InternetCloser, nullptr>;

// Fetch from the server, write nothing to the cache (0x84000000), and follow
// redirects here: Wine's WinINet follows a redirect to itself without end.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;
constexpr int kMaxRedirects = 10;
constexpr DWORD kReadChunk = 16 * 1024;
// How long a transfer may take to end once its request was closed at the deadline.
constexpr DWORD kGraceMs = 2000;

// One transfer, shared by the thread that runs it and the caller that waits
// for it. WinINet's time-outs bound single calls, but a server that trickles a
// byte now and then keeps every call short and the whole long; at the
// deadline the caller closes the request handle, which ends a call in
// progress. Where closing does not end it (Wine's WinINet neither applies the
// session's receive time-out nor lets a close interrupt a read, so a silent
// server would hold the call for ever), the caller gives the transfer up
// after a grace period; a transfer that was given up never touches the target.
class Transfer {
public:
    Transfer(std::wstring address, std::wstring target, const DownloadLimits& limits)
        : address_(std::move(address)),
          target_(std::move(target)),
          limits_(limits),
          deadline_(GetTickCount64() + limits.totalTimeoutMs),
          done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    bool Ready() const { return static_cast<bool>(done_); }

    // The transfer thread.
    void Run() {
        DownloadResult r = Fetch();
        {
            std::lock_guard lock(mutex_);
            result_ = r;
            finished_ = true;
        }
        SetEvent(done_.get());
    }

    // The caller: waits for the end within the bounds, then takes the result.
    DownloadResult Wait() {
        if (WaitForSingleObject(done_.get(), limits_.totalTimeoutMs) != WAIT_OBJECT_0) {
            Interrupt();
            WaitForSingleObject(done_.get(), kGraceMs);
        }
        std::lock_guard lock(mutex_);
        if (finished_) return result_;
        abandoned_ = true;
        DownloadResult r;
        r.outcome = DownloadOutcome::TimedOut;
        r.httpStatus = status_;
        r.bytes = received_;
        return r;
    }

private:
    DownloadResult Fetch();
    DownloadResult ReceiveBody(HANDLE file, std::optional<DWORD> announced);
    DownloadResult PutInPlace(const std::wstring& temp, DownloadResult r);

    // Takes the handle InternetOpenUrl returned; false when the deadline passed meanwhile.
    bool Adopt(HINTERNET request) {
        std::lock_guard lock(mutex_);
        request_ = request;
        return !Expired();
    }
    // Closes the request unless the caller has closed it already.
    void CloseRequest() {
        HINTERNET h = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!closedByCaller_) h = request_;
            request_ = nullptr;
            closedByCaller_ = false;
        }
        if (h) InternetCloseHandle(h);
    }
    // Around each call on the request. BeginCall is false once the deadline has passed.
    bool BeginCall() {
        std::lock_guard lock(mutex_);
        if (Expired()) return false;
        inCall_ = true;
        return true;
    }
    void EndCall() {
        std::lock_guard lock(mutex_);
        inCall_ = false;
    }
    bool TimedOut() {
        std::lock_guard lock(mutex_);
        return Expired();
    }
    bool Expired() {
        if (!expired_ && GetTickCount64() >= deadline_) expired_ = true;
        return expired_;
    }
    // The deadline passed: no further call, and the one in progress is ended by closing its handle.
    void Interrupt() {
        HINTERNET h = nullptr;
        {
            std::lock_guard lock(mutex_);
            expired_ = true;
            if (request_ && inCall_ && !closedByCaller_) {
                closedByCaller_ = true;
                h = request_;
            }
        }
        // Outside the lock: the call it ends must be able to reach EndCall.
        if (h) InternetCloseHandle(h);
    }

    const std::wstring address_, target_;
    const DownloadLimits limits_;
    const ULONGLONG deadline_;
    UniqueHandle done_;  // set when the transfer thread is through

    std::mutex mutex_;
    HINTERNET request_ = nullptr;
    bool inCall_ = false, expired_ = false, closedByCaller_ = false, abandoned_ = false, finished_ = false;
    std::uint32_t status_ = 0;
    std::uint64_t received_ = 0;
    DownloadResult result_;
};

std::wstring AgentName() {
    const std::wstring path = ExePath();
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void SetTimeout(HINTERNET session, DWORD option, std::uint32_t ms) {
    DWORD value = ms;
    InternetSetOptionW(session, option, &value, sizeof value);
}

std::optional<DWORD> QueryNumber(HINTERNET request, DWORD info) {
    DWORD value = 0, size = sizeof value, index = 0;
    if (!HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index)) return std::nullopt;
    return value;
}

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Where a redirect answer points, resolved against the address that gave it. Only http and https, and never
// from https down to http (WinINet refuses that downgrade too).
std::optional<std::wstring> RedirectTarget(HINTERNET request, const std::wstring& from) {
    std::vector<wchar_t> location(1024);
    for (;;) {
        DWORD size = static_cast<DWORD>(location.size() * sizeof(wchar_t)), index = 0;
        if (HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location.data(), &size, &index)) break;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size > 64 * 1024) return std::nullopt;
        location.resize(size / sizeof(wchar_t) + 1);
    }
    std::vector<wchar_t> combined(INTERNET_MAX_URL_LENGTH + 1);
    DWORD length = static_cast<DWORD>(combined.size());
    if (!InternetCombineUrlW(from.c_str(), location.data(), combined.data(), &length, ICU_NO_ENCODE))
        return std::nullopt;
    const std::wstring next(combined.data(), length);
    auto startsWith = [](const std::wstring& s, const wchar_t* prefix) {
        return _wcsnicmp(s.c_str(), prefix, wcslen(prefix)) == 0;
    };
    const bool toHttps = startsWith(next, L"https://");
    if (!toHttps && !startsWith(next, L"http://")) return std::nullopt;
    if (startsWith(from, L"https://") && !toHttps) return std::nullopt;
    return next;
}

DownloadResult Failure(DownloadOutcome outcome, DWORD error, std::uint32_t status = 0) {
    DownloadResult r;
    r.outcome = outcome;
    r.systemError = error;
    r.httpStatus = status;
    return r;
}

// The temporary file beside the target. A transfer that was given up may
// still hold the usual one open; then this transfer takes a name of its own.
UniqueFileHandle CreateTempFile(const std::wstring& target, std::wstring& path) {
    path = target + L".part";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
        path = target + L"." + std::to_wstring(GetCurrentThreadId()) + L".part";
        h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return UniqueFileHandle(h);
}

DownloadResult Transfer::Fetch() {
    UniqueInternet session(InternetOpenW(AgentName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return Failure(DownloadOutcome::NoSession, GetLastError());
    SetTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, limits_.connectTimeoutMs);
    SetTimeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT, limits_.readTimeoutMs);
    SetTimeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.readTimeoutMs);

    // The request is closed before the session on every path from here.
    struct Closer {
        Transfer* t;
        ~Closer() { t->CloseRequest(); }
    } closer{this};
    std::wstring url = address_;
    std::optional<DWORD> status;
    DWORD statusError = 0;
    for (int hop = 0;; ++hop) {
        if (TimedOut()) return Failure(DownloadOutcome::TimedOut, 0);
        HINTERNET opened = InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0, kOpenUrlFlags, 0);
        if (!opened) {
            const DWORD error = GetLastError();
            return Failure(TimedOut() ? DownloadOutcome::TimedOut : DownloadOutcome::NotReached, error);
        }
        if (!Adopt(opened)) return Failure(DownloadOutcome::TimedOut, 0);
        status = QueryNumber(opened, HTTP_QUERY_STATUS_CODE);
        statusError = status ? 0 : GetLastError();
        if (!status || !IsRedirect(*status)) break;
        const std::optional<std::wstring> next = RedirectTarget(opened, url);
        if (!next || hop == kMaxRedirects) return Failure(DownloadOutcome::HttpStatus, 0, *status);
        CloseRequest();
        url = *next;
    }
    // A connection the server broke before its status line can still open under Wine, with a status of 0:
    // nothing answered, the same as a refused or reset connection.
    if (status == 0u) return Failure(DownloadOutcome::NotReached, statusError);
    if (status != 200u) return Failure(DownloadOutcome::HttpStatus, statusError, status.value_or(0));
    {
        std::lock_guard lock(mutex_);
        status_ = 200;
    }
    HINTERNET opened = request_;
    const std::optional<DWORD> announced = QueryNumber(opened, HTTP_QUERY_CONTENT_LENGTH);

    std::wstring temp;
    DownloadResult r;
    {
        UniqueFileHandle file = CreateTempFile(target_, temp);
        if (!file) return Failure(DownloadOutcome::FileFailed, GetLastError(), 200);
        r = ReceiveBody(file.get(), announced);
        if (r.Ok() && !FlushFileBuffers(file.get())) r = Failure(DownloadOutcome::FileFailed, GetLastError(), 200);
    }
    return PutInPlace(temp, r);
}

// The body, read to its end into the open temporary file.
DownloadResult Transfer::ReceiveBody(HANDLE file, std::optional<DWORD> announced) {
    DownloadResult r;
    r.httpStatus = 200;
    if (announced && *announced > limits_.maxBytes) {
        r.outcome = DownloadOutcome::TooLarge;
        return r;
    }
    std::vector<char> buffer(kReadChunk);
    for (;;) {
        if (!BeginCall()) {
            r.outcome = DownloadOutcome::TimedOut;
            return r;
        }
        DWORD got = 0;
        const BOOL ok = InternetReadFile(request_, buffer.data(), kReadChunk, &got);
        const DWORD error = ok ? 0 : GetLastError();
        EndCall();
        if (!ok) {
            r.outcome = TimedOut() ? DownloadOutcome::TimedOut : DownloadOutcome::ReadFailed;
            r.systemError = error;
            return r;
        }
        if (got == 0) break;  // the end of the body
        r.bytes += got;
        {
            std::lock_guard lock(mutex_);
            received_ = r.bytes;
        }
        if (r.bytes > limits_.maxBytes) {
            r.outcome = DownloadOutcome::TooLarge;
            return r;
        }
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), got, &written, nullptr) || written != got) {
            r.outcome = DownloadOutcome::FileFailed;
            r.systemError = GetLastError();
            return r;
        }
    }
    r.outcome = announced && r.bytes != *announced ? DownloadOutcome::Truncated : DownloadOutcome::Ok;
    return r;
}

// A complete body replaces the target, unless the caller has given up on this transfer; anything else only
// removes the temporary file.
DownloadResult Transfer::PutInPlace(const std::wstring& temp, DownloadResult r) {
    if (r.Ok()) {
        std::lock_guard lock(mutex_);
        if (abandoned_) {
            r.outcome = DownloadOutcome::TimedOut;
        } else if (!MoveFileExW(temp.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            r.outcome = DownloadOutcome::FileFailed;
            r.systemError = GetLastError();
        } else {
            // In place: the caller sees this result even if it stops waiting right now.
            result_ = r;
            finished_ = true;
        }
    }
    if (!r.Ok()) DeleteFileW(temp.c_str());
    return r;
}

}  // namespace

const wchar_t* DownloadOutcomeName(DownloadOutcome outcome) {
    switch (outcome) {
        case DownloadOutcome::Ok: return L"Ok";
        case DownloadOutcome::NoSession: return L"NoSession";
        case DownloadOutcome::NotReached: return L"NotReached";
        case DownloadOutcome::HttpStatus: return L"HttpStatus";
        case DownloadOutcome::TooLarge: return L"TooLarge";
        case DownloadOutcome::ReadFailed: return L"ReadFailed";
        case DownloadOutcome::Truncated: return L"Truncated";
        case DownloadOutcome::TimedOut: return L"TimedOut";
        case DownloadOutcome::FileFailed: return L"FileFailed";
    }
    return L"?";
}

DownloadResult DownloadFile(const std::wstring& address, const std::wstring& localFile, const DownloadLimits& limits) {
    auto transfer = std::make_shared<Transfer>(address, localFile, limits);
    if (!transfer->Ready()) return Failure(DownloadOutcome::NoSession, GetLastError());
    try {
        // The thread holds its own reference: a transfer that is given up ends on its own, whenever.
        std::thread([transfer] { transfer->Run(); }).detach();
    } catch (const std::exception&) {
        return Failure(DownloadOutcome::NoSession, ERROR_NOT_ENOUGH_MEMORY);
    }
    return transfer->Wait();
}

std::optional<std::string> ReadFileBytes(const std::wstring& path, std::uint64_t maxBytes) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || static_cast<std::uint64_t>(size.QuadPart) > maxBytes)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) return std::nullopt;
        if (got == 0) break;  // the file shrank meanwhile: what is there
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace zelvar
