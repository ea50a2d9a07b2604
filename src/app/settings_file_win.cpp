#include "app/settings_file_win.h"

#include "common/ini_win.h"
#include "common/os_error_win.h"

namespace zelvar {

SettingsLoad LoadSettingsFile(const std::wstring& path, int lngDefault, const RetryPolicy& retry) {
    const IniLoad load = IniFile::Load(path, retry);
    return DecideSettingsLoad(load.state, load.values, lngDefault, load.error);
}

std::wstring SettingsUnreadableMessage(const std::wstring& text, const std::wstring& path, unsigned long error) {
    std::wstring reason = SystemErrorText(error);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    std::wstring message = text + L"\r\n\r\n" + path;
    if (!reason.empty()) message += L"\r\n" + reason;
    return message;
}

}  // namespace zelvar
