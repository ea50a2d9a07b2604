#pragma once
// An operating-system call that failed, carried up to the one place that
// shows it (the window procedures' guard) as "System Error.  Code: ...".
#include <stdexcept>
#include <string>

namespace zelvar {

class OsError : public std::runtime_error {
public:
    OsError(unsigned long code, std::wstring message)
        : std::runtime_error("OS error"), code_(code), message_(std::move(message)) {}
    unsigned long Code() const { return code_; }
    const std::wstring& Message() const { return message_; }

private:
    unsigned long code_;
    std::wstring message_;
};

// The message shown for an error code and the system's text for it.
std::wstring FormatOsErrorMessage(unsigned long code, const std::wstring& systemText);

}  // namespace zelvar
