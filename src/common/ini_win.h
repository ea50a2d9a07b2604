#pragma once
// IniStore over one INI file on disk. Every access reads the whole file;
// every write rewrites it whole, through a complete new copy that replaces
// the old one (files_win.h), so nothing the program does not own is lost
// and a failed write leaves the file as it was.
//
// Encodings: a file is decoded by its byte order mark (UTF-16, UTF-8), else
// as UTF-8 when its bytes are valid UTF-8, else in the ANSI code page. A
// rewrite keeps an ANSI file ANSI while all of it fits the code page and
// otherwise stores UTF-16 with its mark, which is also what a UTF-8 file
// becomes at its first write that changes anything. New files start as
// UTF-16. All three stay readable by the platform's profile functions.
#include <string>
#include <vector>

#include "common/files_win.h"
#include "common/ini.h"
#include "common/ini_text.h"

namespace zelvar {

// The file read once, with the state that tells a missing file from one
// that is there but could not be read.
struct IniLoad {
    IniFileState state = IniFileState::Missing;
    unsigned long error = 0;  // the system's error code when Unreadable
    TextEncoding encoding = TextEncoding::Utf16Le;
    IniText values;  // empty unless Read
};

class IniFile : public IniStore {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}
    // One attempt: a missing or unreadable file reads as fallback.
    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const override;
    // What the last Read found, so a reader can tell "not there" from "there
    // but unreadable" and then leave the file alone.
    IniFileState LastReadState() const { return lastReadState_; }
    bool Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    // All entries in one rewrite, or none when anything fails: an unreadable
    // file is never written, whatever the reason it cannot be read.
    bool WriteAll(const std::vector<IniEntry>& entries) override;
    const std::wstring& Path() const { return path_; }

    // For tests: the rewrite stops after some bytes as on a full disk.
    void SetWriteFaultForTest(const WriteFault* fault) { fault_ = fault; }

    // Reads the whole file, trying again for a while when it cannot be read.
    static IniLoad Load(const std::wstring& path, const RetryPolicy& retry);

private:
    std::wstring path_;
    const WriteFault* fault_ = nullptr;
    mutable IniFileState lastReadState_ = IniFileState::Missing;
};

// The system's ANSI code page both ways; nullopt when text does not fit it.
std::wstring DecodeAnsi(std::string_view bytes);
std::optional<std::string> EncodeAnsi(std::wstring_view text);

}  // namespace zelvar
