#include "power/cycle_log_win.h"

#include "common/datetime_win.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <string>

#include "common/handles_win.h"
#include "common/paths_win.h"
#include "power/wtimer.h"

namespace zelvar {
namespace {

constexpr double kMinutesPerDay = 1440.0;

std::optional<TDateTime> FromFileTime(const FILETIME& ft) {
    SYSTEMTIME t{};
    if (!FileTimeToSystemTime(&ft, &t)) return std::nullopt;
    t.wMilliseconds = 0;  // the log counts whole seconds
    return FromSystemTime(t);
}

int MinutesBetween(TDateTime later, TDateTime earlier) {
    return static_cast<int>(std::lround((later - earlier) * kMinutesPerDay));
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

std::optional<std::string> ReadAll(HANDLE file, LONGLONG size) {
    std::string bytes(static_cast<size_t>(size), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - got, 1u << 20));
        if (!ReadFile(file, bytes.data() + got, chunk, &n, nullptr)) return std::nullopt;
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

// The log with the new line, cut to its newer half, goes to a fresh file
// that then replaces the old one, so a failure half way leaves the old log
// as it was.
bool ReplaceWithCut(const std::wstring& path, std::string log) {
    const std::string_view kept = std::string_view(log).substr(CycleLogCutOffset(log));
    const std::wstring fresh = path + L".new";
    {
        UniqueFileHandle out(
            CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out || !WriteAll(out.get(), kept)) {
            DeleteFileW(fresh.c_str());
            return false;
        }
    }
    if (MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(fresh.c_str());
    return false;
}

bool Append(const std::wstring& path, std::string_view line) {
    // Others may read the log while we write; nobody waits for anybody.
    UniqueFileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), line);
}

// The whole log when adding the line takes it past the limit; nullopt while
// it stays within (or the log cannot be read, and simply grows for now).
std::optional<std::string> LogToCut(const std::wstring& path, std::string_view line) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
    if (static_cast<unsigned long long>(size.QuadPart) + line.size() <= kCycleLogLimit) return std::nullopt;
    std::optional<std::string> log = ReadAll(file.get(), size.QuadPart);
    if (log) *log += line;
    return log;
}

}  // namespace

LogMoment LogNow() {
    SYSTEMTIME utc{}, local{};
    GetSystemTime(&utc);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) GetLocalTime(&local);
    const TDateTime localValue = FromSystemTime(local).value_or(0);
    const TDateTime utcValue = FromSystemTime(utc).value_or(localValue);
    return {localValue, MinutesBetween(localValue, utcValue)};
}

namespace {

LogMoment WithOffset(TDateTime local, const std::optional<FILETIME>& utcFt) {
    if (utcFt)
        if (const std::optional<TDateTime> utc = FromFileTime(*utcFt))
            return {local, MinutesBetween(WholeSeconds(local), *utc)};
    // Before 1601 the system has no rules; today's offset is as good as any.
    return {local, LogNow().utcOffsetMinutes};
}

}  // namespace

LogMoment LogMomentAt(TDateTime local) { return WithOffset(local, LocalMomentToUtcFileTime(local)); }

LogMoment LogMomentAt(TDateTime local, const DYNAMIC_TIME_ZONE_INFORMATION& zone) {
    return WithOffset(local, LocalMomentToUtcFileTime(local, zone));
}

bool AppendCycleLogTo(const std::wstring& path, std::string_view line) noexcept {
    try {
        std::optional<std::string> log;
        try {
            log = LogToCut(path, line);
        } catch (const std::bad_alloc&) {
            // Not enough memory to cut it now: the line is appended all the same.
        }
        if (log && ReplaceWithCut(path, std::move(*log))) return true;
        return Append(path, line);
    } catch (...) {
        return false;
    }
}

bool AppendCycleLog(std::string_view line) noexcept {
    try {
        return AppendCycleLogTo(FileBesideExe(L"zelvar.log"), line);
    } catch (...) {
        return false;
    }
}

void LogCycleCancelled(CycleCancel how) noexcept {
    try {
        AppendCycleLog(CycleCancelledLine(LogNow(), how));
    } catch (...) {}
}

void LogScheduledMomentSkipped(TDateTime moment) noexcept {
    try {
        AppendCycleLog(MomentSkippedLine(LogNow(), LogMomentAt(moment)));
    } catch (...) {}
}

}  // namespace zelvar
