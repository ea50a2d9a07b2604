#include "app/ui_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <vector>

namespace zelvar::ui {
namespace {

HINSTANCE g_instance = nullptr;
constexpr wchar_t kPanelClass[] = L"ZelvarPanel";
constexpr wchar_t kFramedPanelClass[] = L"ZelvarFramedPanel";
constexpr wchar_t kPictureClass[] = L"ZelvarPicture";
constexpr wchar_t kHotProp[] = L"ZelvarHot";

HWND TopLevel(HWND hwnd) { return GetAncestor(hwnd, GA_ROOT); }

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLOREDIT:
            return SendMessageW(TopLevel(hwnd), msg, wp, lp);
        case WM_ERASEBKGND: {
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(reinterpret_cast<HDC>(wp), &rc, DarkBrush());
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) == 1) {  // framed panel: a thin accent line
                RECT rc;
                GetClientRect(hwnd, &rc);
                HPEN pen = CreatePen(PS_SOLID, 1, kAccent);
                HGDIOBJ old = SelectObject(dc, pen);
                SelectObject(dc, GetStockObject(NULL_BRUSH));
                Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
                SelectObject(dc, old);
                DeleteObject(pen);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT rc;
            GetClientRect(hwnd, &rc);
            // The picture's transparent parts show the background of its window.
            auto bg = reinterpret_cast<HBRUSH>(GetClassLongPtrW(GetParent(hwnd), GCLP_HBRBACKGROUND));
            FillRect(dc, &rc, bg ? bg : DarkBrush());
            auto bmp = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (bmp) {
                BITMAP bm{};
                GetObjectW(bmp, sizeof(bm), &bm);
                DrawBitmap(dc, bmp, (rc.right - bm.bmWidth) / 2, (rc.bottom - bm.bmHeight) / 2);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR:
            if (GetWindowLongPtrW(hwnd, GWL_STYLE) & SS_NOTIFY) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_LBUTTONUP:
            if (GetWindowLongPtrW(hwnd, GWL_STYLE) & SS_NOTIFY)
                SendMessageW(TopLevel(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                             reinterpret_cast<LPARAM>(hwnd));
            return 0;
        case WM_NCDESTROY: {
            auto bmp = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (bmp) DeleteObject(bmp);
            break;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Tracks the pointer over an image button so it can draw its hover state.
LRESULT CALLBACK HotTrackProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_MOUSEMOVE && !GetPropW(hwnd, kHotProp)) {
        SetPropW(hwnd, kHotProp, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&tme);
        InvalidateRect(hwnd, nullptr, FALSE);
    } else if (msg == WM_MOUSELEAVE) {
        RemovePropW(hwnd, kHotProp);
        InvalidateRect(hwnd, nullptr, FALSE);
    } else if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kHotProp);
        RemoveWindowSubclass(hwnd, HotTrackProc, 1);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// Links show the hand pointer.
LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    // The link changes its colour while the pointer is over it.
    if (msg == WM_MOUSEMOVE && !GetPropW(hwnd, kHotProp)) {
        SetPropW(hwnd, kHotProp, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&tme);
        InvalidateRect(hwnd, nullptr, TRUE);
    } else if (msg == WM_MOUSELEAVE) {
        RemovePropW(hwnd, kHotProp);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kHotProp);
        RemoveWindowSubclass(hwnd, LinkProc, 2);
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateLink(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h) {
    HWND link = CreateLabel(parent, id, text, x, y, w, h, SS_CENTER | SS_NOTIFY);
    SetWindowSubclass(link, LinkProc, 2, 0);
    return link;
}

bool IsHot(HWND control) { return GetPropW(control, kHotProp) != nullptr; }

HBRUSH WhiteBrush() {
    static HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    return brush;
}

void RegisterClasses(HINSTANCE instance) {
    g_instance = instance;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    RegisterClassW(&wc);
    wc.lpszClassName = kFramedPanelClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = PictureProc;
    wc.lpszClassName = kPictureClass;
    RegisterClassW(&wc);
}

HBRUSH DarkBrush() {
    static HBRUSH brush = CreateSolidBrush(kDark);
    return brush;
}

HBRUSH DarkLightBrush() {
    static HBRUSH brush = CreateSolidBrush(kDarkLight);
    return brush;
}

HFONT MainFont() {
    static HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
    return font;
}

HFONT BoldFont() {
    static HFONT font = CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
    return font;
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 HWND parent, int id, DWORD exStyle) {
    // Siblings clip each other, so a panel laid over others (the armed view
    // of the plan page) is never painted over by the controls beneath it.
    HWND hwnd = CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_CLIPSIBLINGS, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_instance, nullptr);
    if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(MainFont()), FALSE);
    return hwnd;
}

HWND CreatePanel(HWND parent, int id, int x, int y, int w, int h, bool framed) {
    HWND p = CreateChild(framed ? kFramedPanelClass : kPanelClass, L"", WS_CLIPCHILDREN, x, y, w, h, parent, id,
                         WS_EX_CONTROLPARENT);
    if (framed) SetWindowLongPtrW(p, GWLP_USERDATA, 1);
    return p;
}

HWND CreateLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, DWORD align) {
    return CreateChild(L"STATIC", text, WS_VISIBLE | align | SS_NOPREFIX, x, y, w, h, parent, id);
}

HWND CreateCheckBox(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h) {
    HWND box = CreateChild(L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE, x, y, w, h,
                           parent, id);
    SetWindowTheme(box, L"", L"");
    return box;
}

HWND CreateImageButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h) {
    HWND b = CreateChild(L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, x, y, w, h, parent, id);
    SetWindowSubclass(b, HotTrackProc, 1, 0);
    return b;
}

HWND CreatePicture(HWND parent, int id, int bitmapId, int x, int y, int w, int h, bool notify) {
    HWND p = CreateChild(kPictureClass, L"", WS_VISIBLE | (notify ? SS_NOTIFY : 0), x, y, w, h, parent, id);
    if (p && bitmapId) SetWindowLongPtrW(p, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(LoadBitmapResource(bitmapId)));
    return p;
}

void SetText(HWND control, const std::wstring& text) { SetWindowTextW(control, text.c_str()); }

std::wstring GetText(HWND control) {
    const int n = GetWindowTextLengthW(control);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(control, s.data(), n + 1)));
    return s;
}

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND box, bool checked) { SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

void SetVisible(HWND control, bool visible) { ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE); }
bool IsShown(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

void Move(HWND control, int x, int y, int w, int h) { MoveWindow(control, x, y, w, h, TRUE); }

RECT ChildRect(HWND control) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void Hints::Attach(HWND owner) {
    owner_ = owner;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, g_instance,
                           nullptr);
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void Hints::Set(HWND control, const std::wstring& text) {
    if (!tip_) return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    if (!SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti)) || Get(control) != text) {
        SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

std::wstring Hints::Get(HWND control) const {
    if (!tip_) return {};
    std::vector<wchar_t> buf(1024, L'\0');
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = buf.data();
    SendMessageW(tip_, TTM_GETTEXTW, buf.size(), reinterpret_cast<LPARAM>(&ti));
    return buf.data();
}

void DrawImageButton(const DRAWITEMSTRUCT& item, bool hot) {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillRect(dc, &rc, DarkBrush());
    // A rounded face, lighter when the pointer is over it, with the accent edge.
    const COLORREF face = pressed ? RGB(200, 104, 0) : hot ? RGB(118, 80, 142) : kDarkLight;
    HBRUSH faceBrush = CreateSolidBrush(face);
    HPEN edge = CreatePen(PS_SOLID, 1, disabled ? RGB(130, 110, 140) : kAccent);
    HGDIOBJ oldBrush = SelectObject(dc, faceBrush);
    HGDIOBJ oldPen = SelectObject(dc, edge);
    RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, 6, 6);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(faceBrush);
    DeleteObject(edge);

    wchar_t text[256] = {};
    GetWindowTextW(item.hwndItem, text, 256);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? RGB(160, 150, 170) : kText);
    HGDIOBJ oldFont = SelectObject(dc, BoldFont());
    if (pressed) OffsetRect(&rc, 1, 1);
    DrawTextW(dc, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

HBITMAP LoadBitmapResource(int id) {
    return static_cast<HBITMAP>(
        LoadImageW(g_instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    BITMAP bm{};
    if (!GetObjectW(bitmap, sizeof(bm), &bm)) return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, bm.bmWidth, bm.bmHeight, blend);
    SelectObject(mem, old);
    DeleteDC(mem);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {  // leave it for the main loop
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace zelvar::ui
