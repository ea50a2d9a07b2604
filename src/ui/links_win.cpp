#include "ui/links_win.h"

#include <shellapi.h>

#include "common/web_addresses.h"

namespace zelvar {

void OpenLink(HWND owner, const std::wstring& address) {
    ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenWebSite(HWND owner) { OpenLink(owner, WebSiteAddress()); }

void OpenMailLink() {
    // The shell takes a mail link of at most 255 characters.
    const std::wstring link = (std::wstring(L"mailto:") + kMailAddress).substr(0, 255);
    ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace zelvar
