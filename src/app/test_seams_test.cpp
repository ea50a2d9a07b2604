#include "app/test_seams.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ui/gdi_win.h"

namespace zelvar {
namespace {

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Whether the control's text fits its client area in the font it draws with.
bool TextFits(HWND control) {
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    RECT client;
    GetClientRect(control, &client);
    ui::WindowDc dc(control);
    if (!dc.get()) return true;
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    ui::Selection useFont(dc.get(), font);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    auto measure = [&](const std::wstring& text, int width, UINT flags) {
        RECT r{0, 0, width, 0};
        DrawTextW(dc.get(), text.c_str(), -1, &r, flags | DT_CALCRECT | DT_NOPREFIX);
        return r;
    };
    if (_wcsicmp(cls, WC_TREEVIEWW) == 0) {
        for (auto item = TreeView_GetRoot(control); item; item = TreeView_GetNextSibling(control, item)) {
            RECT r{};
            std::memcpy(&r, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
            if (SendMessageW(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)) && r.right > client.right)
                return false;
        }
        return true;
    }
    const std::wstring text = TextOf(control);
    if (text.empty()) return true;
    if (_wcsicmp(cls, L"Static") == 0) {
        const RECT r = measure(text, client.right, DT_WORDBREAK);
        return r.bottom <= client.bottom && r.right <= client.right;
    }
    if (_wcsicmp(cls, L"Button") == 0) {
        const LONG_PTR type = style & BS_TYPEMASK;
        if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
            const int glyph = GetSystemMetrics(SM_CXMENUCHECK) + 4;
            const RECT r = measure(text, client.right - glyph, (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
            return r.bottom <= client.bottom && r.right <= client.right - glyph;
        }
        // Image buttons and links draw one line, in the plain face when the bold one is too wide.
        const RECT r = measure(text, 0, DT_SINGLELINE);
        return r.right <= client.right - 2;
    }
    return true;
}

struct Search {
    int found = 0;
};

BOOL CALLBACK CheckOne(HWND control, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    if (!IsWindowVisible(control)) return TRUE;
    if (!TextFits(control)) {
        search->found = GetDlgCtrlID(control);
        if (search->found == 0) search->found = -1;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void PublishTrayStatus(HWND mainWindow, const std::wstring& tip, bool planned) {
    if (auto old = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(mainWindow, L"ZelvarTrayTip"))))
        GlobalDeleteAtom(old);
    const ATOM atom = GlobalAddAtomW(tip.empty() ? L" " : tip.c_str());
    SetPropW(mainWindow, L"ZelvarTrayTip", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
    SetPropW(mainWindow, L"ZelvarTrayPlanned", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(planned ? 1 : 2)));
}

void PublishStandingWake(HWND mainWindow, const std::optional<TDateTime>& moment) {
    std::wstring text = L"none";
    if (moment) {
        const DateTimeFields f = DecodeDateTime(WholeSeconds(*moment));
        wchar_t line[32];
        swprintf(line, 32, L"%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour, f.minute, f.second);
        text = line;
    }
    if (auto old = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(mainWindow, L"ZelvarWakeDue"))))
        GlobalDeleteAtom(old);
    SetPropW(mainWindow, L"ZelvarWakeDue", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomW(text.c_str()))));
}

bool HandleTestSeamMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == kTestHoldThreadMessage) {
        Sleep(static_cast<DWORD>(wp));
        result = 0;
        return true;
    }
    if (msg == kTestFindCutTextMessage) {
        Search search;
        EnumChildWindows(reinterpret_cast<HWND>(wp), CheckOne, reinterpret_cast<LPARAM>(&search));
        result = search.found;
        return true;
    }
    return false;
}

}  // namespace zelvar
