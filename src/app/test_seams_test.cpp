#include "app/test_seams.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>
#include <string>
#include <vector>

#include "common/text.h"
#include "power/power_ids.h"
#include "ui/accessible_win.h"
#include "ui/gdi_win.h"
#include "ui/theme_win.h"

namespace zelvar {
namespace {

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Whether the control's text fits its client area in the font it draws with.
// Controls without a text fit; the classes measured are the ones the program
// makes; a list box and a box of several lines are left out on purpose.
bool TextFits(HWND control) {
    wchar_t cls[32] = {};
    GetClassNameW(control, cls, 32);
    RECT client;
    GetClientRect(control, &client);
    ui::WindowDc dc(control);
    if (!dc.get()) return false;
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
    if (_wcsicmp(cls, L"ZelvarWeekGrid") == 0) {
        // Its page sizes the columns to their texts; the window's edge could still cut it.
        HWND root = GetAncestor(control, GA_ROOT);
        RECT grid, rootClient;
        GetWindowRect(control, &grid);
        MapWindowPoints(nullptr, root, reinterpret_cast<POINT*>(&grid), 2);
        GetClientRect(root, &rootClient);
        return grid.right <= rootClient.right && grid.bottom <= rootClient.bottom;
    }
    if (_wcsicmp(cls, DATETIMEPICK_CLASSW) == 0) {
        // The picker draws its value in the user's short date or time format,
        // left of its drop-down button or its arrows.
        SYSTEMTIME value{};
        if (DateTime_GetSystemtime(control, &value) != GDT_VALID) return true;
        wchar_t shown[128] = {};
        if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
            GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &value, nullptr, shown, 128);
        else GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &value, nullptr, shown, 128);
        const RECT r = measure(shown, 0, DT_SINGLELINE);
        return r.right <= client.right - GetSystemMetrics(SM_CXVSCROLL) - 4;
    }
    const std::wstring text = TextOf(control);
    if (text.empty()) return true;
    if (_wcsicmp(cls, WC_COMBOBOXW) == 0) {
        // The selected item, within the box's own text area.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(control, &info)) return false;
        const RECT r = measure(text, 0, DT_SINGLELINE);
        return r.right <= info.rcItem.right - info.rcItem.left;
    }
    if (_wcsicmp(cls, L"Edit") == 0) {
        // A box of several lines wraps and scrolls its text; one line must fit.
        if (style & ES_MULTILINE) return true;
        const RECT r = measure(text, 0, DT_SINGLELINE);
        return r.right <= client.right;
    }
    // Not measured: a list box shows the user's own entries, which scroll.
    if (_wcsicmp(cls, WC_LISTBOXW) == 0) return true;
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
    // A class with a text that nothing here measures counts as cut, so a new
    // kind of control is measured before it passes.
    return false;
}

bool TakesFocus(HWND control) {
    return IsWindowVisible(control) && (GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

std::wstring ClassOf(HWND control) {
    wchar_t cls[64] = {};
    GetClassNameW(control, cls, 64);
    return cls;
}

// The name a screen reader reads for a control, by the rules Windows'
// accessibility layer names standard controls with: a name the program gave
// it, asked of its accessible object as a reader asks; else a button's own
// text; else, for any other control (edit, list, combo box, picker, tree),
// the text of a static label just before it in the z-order, shown or not.
std::wstring ReaderName(HWND control) {
    if (ui::HasAccessibleName(control)) {
        std::wstring name;
        IAccessible* acc = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&acc)))) {
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR text = nullptr;
            if (acc->get_accName(self, &text) == S_OK && text) name = text;
            SysFreeString(text);
            acc->Release();
        }
        return name;
    }
    std::wstring own = TextOf(control);
    own.erase(std::remove(own.begin(), own.end(), L'&'), own.end());
    if (_wcsicmp(ClassOf(control).c_str(), L"Button") == 0) return own;
    HWND before = GetWindow(control, GW_HWNDPREV);
    if (before && _wcsicmp(ClassOf(before).c_str(), L"Static") == 0) return TextOf(before);
    return {};
}

struct Search {
    LPARAM check = 0;
    int found = 0;
};

BOOL CALLBACK CheckOne(HWND control, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    if (!IsWindowVisible(control)) return TRUE;
    const bool fault = search->check == kTestFindUnnamed ? TakesFocus(control) && Trim(ReaderName(control)).empty()
                                                         : !TextFits(control);
    if (fault) {
        search->found = GetDlgCtrlID(control);
        if (search->found == 0) search->found = -1;
        return FALSE;
    }
    return TRUE;
}

// The first control Tab reaches out of the reading order (rows from the top,
// in a row from the left), walking from the control the reading starts at.
int OutOfReadingOrder(HWND root) {
    std::vector<std::pair<HWND, RECT>> order;
    HWND first = GetNextDlgTabItem(root, nullptr, FALSE);
    for (HWND at = first; at && order.size() < 64;) {
        RECT r{};
        GetWindowRect(at, &r);
        order.emplace_back(at, r);
        at = GetNextDlgTabItem(root, at, FALSE);
        if (at == first) break;
    }
    if (order.size() < 2) return 0;
    // In a row from the left; in a column from the top; columns side by
    // side (the navigation and its page, the days and their button) may be
    // read one after the other.
    auto readsBefore = [](const RECT& a, const RECT& b) {
        if (a.top < b.bottom && b.top < a.bottom) return a.left < b.left;
        if (a.left < b.right && b.left < a.right) return a.top < b.top;
        return false;
    };
    // Tab goes round: start at the control read first, the top left one.
    size_t start = 0;
    for (size_t i = 1; i < order.size(); ++i) {
        const RECT& r = order[i].second;
        const RECT& best = order[start].second;
        if (r.top < best.top || (r.top == best.top && r.left < best.left)) start = i;
    }
    for (size_t k = 1; k < order.size(); ++k) {
        const auto& previous = order[(start + k - 1) % order.size()];
        const auto& next = order[(start + k) % order.size()];
        if (readsBefore(next.second, previous.second)) {
            const int id = GetDlgCtrlID(next.first);
            return id ? id : -1;
        }
    }
    return 0;
}

// Sets the window's property name to a global atom of text; the old atom
// goes last, so the same text keeps its atom for a reader in between.
void SetAtomProperty(HWND window, const wchar_t* name, const std::wstring& text) {
    const auto old = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(window, name)));
    const ATOM atom = GlobalAddAtomW(text.empty() ? L" " : text.c_str());
    SetPropW(window, name, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
    if (old) GlobalDeleteAtom(old);
}

void SetTickProperty(HWND window, const wchar_t* name) {
    SetPropW(window, name, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GetTickCount64())));
}

bool StandInFromEnvironment() {
    wchar_t value[8] = {};
    const DWORD n = GetEnvironmentVariableW(L"ZELVAR_TEST_HIGH_CONTRAST", value, 8);
    return n > 0 && n < 8 && wcscmp(value, L"1") == 0;
}

bool g_highContrastStandIn = StandInFromEnvironment();

BOOL CALLBACK TellHighContrastChanged(HWND window, LPARAM) {
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    return TRUE;
}

// Sees the countdown window come on screen: its count is set before it is shown.
LRESULT CALLBACK CountdownOpeningProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW)) {
        SetAtomProperty(hwnd, L"ZelvarCountOpenedWith", TextOf(GetDlgItem(hwnd, IDC_COUNT_LABEL1)));
        SetTickProperty(hwnd, L"ZelvarCountOpenedAt");
        const auto openings = reinterpret_cast<UINT_PTR>(GetPropW(hwnd, L"ZelvarCountOpenings"));
        SetPropW(hwnd, L"ZelvarCountOpenings", reinterpret_cast<HANDLE>(openings + 1));
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, CountdownOpeningProc, 1);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MenuWatchProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_ENTERMENULOOP) {
        const auto loops = reinterpret_cast<UINT_PTR>(GetPropW(hwnd, L"ZelvarMenuLoops"));
        SetPropW(hwnd, L"ZelvarMenuLoops", reinterpret_cast<HANDLE>(loops + 1));
    } else if (msg == WM_EXITMENULOOP) {
        const auto ends = reinterpret_cast<UINT_PTR>(GetPropW(hwnd, L"ZelvarMenuEnds"));
        SetPropW(hwnd, L"ZelvarMenuEnds", reinterpret_cast<HANDLE>(ends + 1));
    } else if (msg == WM_MENUSELECT && !(HIWORD(wp) == 0xFFFF && lp == 0)) {
        // (0xFFFF with no menu is the menu closing, which selects nothing.)
        SetPropW(hwnd, L"ZelvarMenuItem", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(LOWORD(wp))));
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, MenuWatchProc, 2);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool HighContrastInEffect() { return g_highContrastStandIn || ui::SystemHighContrast(); }

void PublishFirstActivation(HWND mainWindow) { SetTickProperty(mainWindow, L"ZelvarActivatedAt"); }

void PublishCountdownOpenings(HWND countWindow) { SetWindowSubclass(countWindow, CountdownOpeningProc, 1, 0); }

void PublishTrayStatus(HWND mainWindow, const std::wstring& tip, bool planned) {
    if (auto old = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(mainWindow, L"ZelvarTrayTip"))))
        GlobalDeleteAtom(old);
    const ATOM atom = GlobalAddAtomW(tip.empty() ? L" " : tip.c_str());
    SetPropW(mainWindow, L"ZelvarTrayTip", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
    SetPropW(mainWindow, L"ZelvarTrayPlanned", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(planned ? 1 : 2)));
}

void PublishTrayBehaviour(HWND mainWindow, bool current) {
    SetPropW(mainWindow, L"ZelvarTrayVersion", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(current ? 4 : 1)));
    SetWindowSubclass(mainWindow, MenuWatchProc, 2, 0);
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
    SetPropW(mainWindow, L"ZelvarWakeDue",
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomW(text.c_str()))));
}

void PublishWakeTask(HWND mainWindow, const std::optional<bool>& held) {
    const UINT_PTR value = !held ? 3 : *held ? 1 : 2;
    SetPropW(mainWindow, L"ZelvarWakeTask", reinterpret_cast<HANDLE>(value));
}

bool HandleTestSeamMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == kTestHoldThreadMessage) {
        Sleep(static_cast<DWORD>(wp));
        result = 0;
        return true;
    }
    if (msg == kTestSetHighContrastMessage) {
        wchar_t pairs[256] = {};
        if (lp && GlobalGetAtomNameW(static_cast<ATOM>(lp), pairs, 256)) {
            std::vector<INT> indexes;
            std::vector<COLORREF> colours;
            int index = 0, used = 0;
            unsigned long colour = 0;
            for (const wchar_t* at = pairs; swscanf(at, L" %d=%lu%n", &index, &colour, &used) == 2; at += used) {
                indexes.push_back(index);
                colours.push_back(static_cast<COLORREF>(colour));
            }
            if (!indexes.empty()) SetSysColors(static_cast<int>(indexes.size()), indexes.data(), colours.data());
        }
        g_highContrastStandIn = wp != 0;
        EnumThreadWindows(GetCurrentThreadId(), TellHighContrastChanged, 0);
        result = 0;
        return true;
    }
    if (msg == kTestFindCutTextMessage) {
        if (lp == kTestFindOutOfOrder) {
            result = OutOfReadingOrder(reinterpret_cast<HWND>(wp));
            return true;
        }
        Search search;
        search.check = lp;
        EnumChildWindows(reinterpret_cast<HWND>(wp), CheckOne, reinterpret_cast<LPARAM>(&search));
        result = search.found;
        return true;
    }
    return false;
}

}  // namespace zelvar
