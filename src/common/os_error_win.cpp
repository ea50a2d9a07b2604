#include "common/os_error_win.h"

#include "common/version.h"
#include "common/text.h"

namespace zelvar {

const wchar_t* ApplicationTitle() { return kApplicationTitle; }

std::wstring SystemErrorText(DWORD code) {
    std::wstring text;
    wchar_t* buf = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    if (n && buf) text.assign(buf, n);
    if (buf) LocalFree(buf);
    return text;
}

OsError OsErrorFromCode(DWORD code) {
    return OsError(code, FormatOsErrorMessage(code, code ? SystemErrorText(code) : std::wstring()));
}

OsError LastOsError() { return OsErrorFromCode(GetLastError()); }

void RaiseLastOsError() { throw LastOsError(); }

void ShowUnhandledError(HWND owner, const std::exception& error) {
    std::wstring text;
    if (auto os = dynamic_cast<const OsError*>(&error)) text = os->Message();
    else text = Utf8ToUtf16(error.what());
    MessageBoxW(owner, text.c_str(), ApplicationTitle(), MB_OK | MB_ICONERROR);
}

}  // namespace zelvar
