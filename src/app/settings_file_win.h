#pragma once
// config.ini beside the program, as the start reads it.
#include <string>

#include "app/settings.h"
#include "common/files_win.h"

namespace zelvar {

inline constexpr wchar_t kConfigFileName[] = L"config.ini";

// Reads the file (waiting a few seconds while another program holds it)
// and decides what the start makes of it.
SettingsLoad LoadSettingsFile(const std::wstring& path, int lngDefault, const RetryPolicy& retry = RetryPolicy{});

// The message for a file that could not be read: the language's text, the
// file and the system's reason.
std::wstring SettingsUnreadableMessage(const std::wstring& text, const std::wstring& path, unsigned long error);

}  // namespace zelvar
