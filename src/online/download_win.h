#pragma once
// DownloadFile: one HTTP address into one local file, over WinINet. Only a
// complete 200 answer counts; the body goes to a temporary file beside the
// target and replaces the target only once it is whole, so a failure leaves
// the copy fetched last time as it was. Blocks its caller for at most the
// whole limit and a grace of two seconds: run it off the window thread
// (download_worker_win.h).
#include <cstdint>
#include <optional>
#include <string>

namespace zelvar {

enum class DownloadOutcome {
    Ok,
    NoSession,   // InternetOpen failed
    NotReached,  // the address could not be opened or nothing answered: no connection, refused, reset, timed out
    HttpStatus,  // the server answered with a status other than 200 (httpStatus), or not over HTTP at all
    TooLarge,    // the body is longer than the limit
    ReadFailed,  // the connection broke or a read timed out before the end of the body
    Truncated,   // the body ended before the length the server announced
    TimedOut,    // the whole download took longer than its limit
    FileFailed,  // the temporary file could not be written or could not replace the target
};

// A short name for logs and test messages ("Ok", "HttpStatus", ...).
const wchar_t* DownloadOutcomeName(DownloadOutcome outcome);

struct DownloadLimits {
    std::uint32_t connectTimeoutMs = 10000;  // WinINet's connect time-out
    std::uint32_t readTimeoutMs = 10000;     // WinINet's send and receive time-outs, per call
    std::uint32_t totalTimeoutMs = 30000;    // the whole download, from the first call on
    std::uint64_t maxBytes = 1024 * 1024;    // the longest body accepted
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::NotReached;
    std::uint32_t httpStatus = 0;   // the answer's status code, 0 when none came
    std::uint32_t systemError = 0;  // GetLastError of the call that failed, 0 when none did
    std::uint64_t bytes = 0;        // body bytes received
    bool Ok() const { return outcome == DownloadOutcome::Ok; }
    explicit operator bool() const { return Ok(); }
};

// Fetches address into localFile (a full path). The agent name is the
// executable's file name; the system's proxy settings apply; nothing is
// taken from or written to the cache. On failure localFile is untouched and
// no temporary file is left behind (a transfer given up at the deadline
// removes its own once WinINet lets it go).
DownloadResult DownloadFile(const std::wstring& address, const std::wstring& localFile,
                            const DownloadLimits& limits = {});

// The whole of a local file, or nullopt when it is missing, unreadable or
// longer than maxBytes.
std::optional<std::string> ReadFileBytes(const std::wstring& path, std::uint64_t maxBytes = 1024 * 1024);

}  // namespace zelvar
