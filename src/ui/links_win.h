#pragma once
// Opening the maker's web site, any address a link shows, and a mail to the
// maker, through the shell. A failure opens nothing and says nothing.
#include <windows.h>

#include <string>

namespace zelvar {

// The address with the verb "open", owned by owner, in a normal window.
void OpenLink(HWND owner, const std::wstring& address);
// The program's web site (the logos and the pages' pictures lead there).
void OpenWebSite(HWND owner);
// "mailto:" and the support address, with no owner.
void OpenMailLink();

}  // namespace zelvar
