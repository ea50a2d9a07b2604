#pragma once
// Whole files in and out. A file is read in one piece, and rewritten by
// writing a complete new copy beside it that then takes its place, so a
// failure halfway (a full disk, a lock) leaves the old file as it was.
#include <cstddef>
#include <string>
#include <string_view>

#include "common/ini.h"

namespace zelvar {

// Bigger than any settings file could honestly be; a file beyond it is not
// read (and so never rewritten).
inline constexpr unsigned long long kMaxWholeFileBytes = 256ull << 20;

struct FileRead {
    IniFileState state = IniFileState::Missing;
    std::string bytes;        // the whole file when state is Read
    unsigned long error = 0;  // the system's error code when state is Unreadable
};

// One attempt. A missing file or folder is Missing, and so is a folder that
// stands where the file should be (there is nothing to lose, and every
// write there fails). Any other failure to open or read is Unreadable.
FileRead ReadWholeFile(const std::wstring& path);

// Another program (a backup or sync tool, an editor) may hold the file for
// a moment: an unreadable file is tried again after intervalMs, up to
// `attempts` tries in all. Waits with Sleep, so only for the start.
struct RetryPolicy {
    int attempts = 13;
    unsigned intervalMs = 250;  // 13 tries: about 3 s
};
FileRead ReadWholeFileRetrying(const std::wstring& path, const RetryPolicy& retry);

// Stops the write of the new copy after this many bytes, as a full disk
// would: only for the tests of what a failed rewrite leaves behind.
struct WriteFault {
    size_t failAfterBytes = 0;
};

// Writes bytes to "<path>.new" in the same folder, flushes it, and moves it
// over path. False when any step failed; the old file is then untouched and
// the new copy removed.
bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes, const WriteFault* fault = nullptr);

}  // namespace zelvar
