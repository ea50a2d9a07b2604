#include "ui/controls_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <vector>

#include "common/datetime_win.h"
#include "common/handles_win.h"
#include "common/locale_win.h"
#include "ui/gdi_win.h"

namespace zelvar::ui {
namespace {

constexpr wchar_t kPanelClass[] = L"ZelvarPanel";
constexpr wchar_t kFramedPanelClass[] = L"ZelvarFramedPanel";
constexpr wchar_t kPictureClass[] = L"ZelvarPicture";
constexpr wchar_t kHotProp[] = L"ZelvarHot";
constexpr wchar_t kFontProp[] = L"ZelvarFont";  // 1 bold, 2 a face of its own
constexpr wchar_t kPictureProp[] = L"ZelvarPicture";
constexpr UINT_PTR kHotTrackId = 1;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

bool IsForwarded(UINT msg) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLOREDIT: return true;
    }
    return false;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (IsForwarded(msg)) return SendMessageW(GetParent(hwnd), msg, wp, lp);
    switch (msg) {
        case WM_ERASEBKGND: {
            // The panel takes the background its parent gives its controls.
            RECT rc;
            GetClientRect(hwnd, &rc);
            auto brush = reinterpret_cast<HBRUSH>(
                SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, wp, reinterpret_cast<LPARAM>(hwnd)));
            FillRect(reinterpret_cast<HDC>(wp), &rc, brush ? brush : BrushOf(Role::Background));
            return 1;
        }
        case WM_PAINT: {
            PaintDc paint(hwnd);
            wchar_t name[32] = {};
            GetClassNameW(hwnd, name, 32);
            if (wcscmp(name, kFramedPanelClass) == 0) {  // a thin accent line around it
                RECT rc;
                GetClientRect(hwnd, &rc);
                UniquePen pen(CreatePen(PS_SOLID, 1, ColorOf(Role::Accent)));
                Selection usePen(paint.get(), pen.get());
                Selection noFill(paint.get(), GetStockObject(NULL_BRUSH));
                Rectangle(paint.get(), rc.left, rc.top, rc.right, rc.bottom);
            }
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const bool clickable = (GetWindowLongPtrW(hwnd, GWL_STYLE) & SS_NOTIFY) != 0;
    switch (msg) {
        case WM_PAINT: {
            PaintDc paint(hwnd);
            RECT rc;
            GetClientRect(hwnd, &rc);
            // The transparent parts show the background of the window beneath.
            auto bg = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC,
                                                            reinterpret_cast<WPARAM>(paint.get()),
                                                            reinterpret_cast<LPARAM>(hwnd)));
            FillRect(paint.get(), &rc, bg ? bg : BrushOf(Role::Background));
            const auto pictureId = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, kPictureProp)));
            if (HBITMAP bmp = CurrentTheme().Picture(pictureId, DpiOf(hwnd))) {
                BITMAP bm{};
                GetObjectW(bmp, sizeof(bm), &bm);
                DrawBitmap(paint.get(), bmp, (rc.right - bm.bmWidth) / 2, (rc.bottom - bm.bmHeight) / 2);
            }
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR:
            if (clickable) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_LBUTTONUP:
            if (clickable)
                SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                             reinterpret_cast<LPARAM>(hwnd));
            return 0;
        case WM_NCDESTROY:
            RemovePropW(hwnd, kPictureProp);
            RemovePropW(hwnd, kFontProp);
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterKitClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    RegisterClassW(&wc);
    wc.lpszClassName = kFramedPanelClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = PictureProc;
    wc.lpszClassName = kPictureClass;
    RegisterClassW(&wc);
}

// Image buttons and links know whether the pointer is over them, to draw
// their hover state; links show the hand pointer.
LRESULT CALLBACK HotTrackProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR handCursor) {
    switch (msg) {
        case WM_SETCURSOR:
            if (handCursor) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            if (!GetPropW(hwnd, kHotProp)) {
                SetPropW(hwnd, kHotProp, reinterpret_cast<HANDLE>(1));
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
                TrackMouseEvent(&tme);
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            RemovePropW(hwnd, kHotProp);
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case WM_NCDESTROY:
            RemovePropW(hwnd, kHotProp);
            RemovePropW(hwnd, kFontProp);
            RemovePropW(hwnd, kPictureProp);
            RemoveWindowSubclass(hwnd, HotTrackProc, kHotTrackId);
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w, int h, HWND parent,
                 int id, DWORD exStyle) {
    RegisterKitClasses();
    // Siblings clip each other, so a panel laid over others (the armed view
    // of the plan page) is never painted over by the controls beneath it.
    HWND hwnd = CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_CLIPSIBLINGS, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (hwnd) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(MainFont(DpiOf(parent))), FALSE);
    return hwnd;
}

HWND CreateForwardingPanel(HWND parent, int id, int x, int y, int w, int h, bool framed) {
    return CreateChild(framed ? kFramedPanelClass : kPanelClass, L"", WS_CLIPCHILDREN, x, y, w, h, parent, id,
                       WS_EX_CONTROLPARENT);
}

HWND CreateLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, DWORD align) {
    return CreateChild(L"STATIC", text, WS_VISIBLE | align | SS_NOPREFIX, x, y, w, h, parent, id);
}

HWND CreateCheckBox(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h) {
    HWND box = CreateChild(L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE | BS_NOTIFY, x, y,
                           w, h, parent, id);
    SetWindowTheme(box, L"", L"");
    return box;
}

HWND CreateImageButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h) {
    HWND b = CreateChild(L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, x, y, w, h, parent, id);
    SetWindowSubclass(b, HotTrackProc, kHotTrackId, 0);
    return b;
}

HWND CreateLink(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h) {
    HWND link = CreateChild(L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, x, y, w, h, parent, id);
    SetWindowSubclass(link, HotTrackProc, kHotTrackId, 1);
    return link;
}

HWND CreatePictureButton(HWND parent, int id, int pictureId, int x, int y, int w, int h) {
    HWND b = CreateChild(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, x, y, w, h, parent, id);
    if (!b) return nullptr;
    SetPropW(b, kPictureProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(pictureId)));
    SetWindowSubclass(b, HotTrackProc, kHotTrackId, 1);
    return b;
}

HWND CreatePicture(HWND parent, int id, int pictureId, int x, int y, int w, int h, bool notify) {
    HWND p = CreateChild(kPictureClass, L"", WS_VISIBLE | (notify ? SS_NOTIFY : 0), x, y, w, h, parent, id);
    if (p) SetPropW(p, kPictureProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(pictureId)));
    return p;
}

void MakeBold(HWND control) {
    SetPropW(control, kFontProp, reinterpret_cast<HANDLE>(1));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont(DpiOf(control))), FALSE);
}

void KeepOwnFont(HWND control) { SetPropW(control, kFontProp, reinterpret_cast<HANDLE>(2)); }

void ApplyFonts(HWND root, int dpi) {
    struct Walk {
        static BOOL CALLBACK One(HWND control, LPARAM lp) {
            const auto face = reinterpret_cast<INT_PTR>(GetPropW(control, kFontProp));
            if (face == 2) return TRUE;
            const int dpi = static_cast<int>(lp);
            // No redraw here: the caller lays the window out and repaints it once.
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(face == 1 ? BoldFont(dpi) : MainFont(dpi)),
                         FALSE);
            return TRUE;
        }
    };
    EnumChildWindows(root, Walk::One, dpi);
}

bool IsHot(HWND control) { return GetPropW(control, kHotProp) != nullptr; }

bool ShowsFocusCues(HWND control) { return (SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0; }

void PressButton(HWND button) {
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return;
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

double PickerValue(HWND picker) {
    SYSTEMTIME st{};
    if (DateTime_GetSystemtime(picker, &st) != GDT_VALID) return NowLocal();
    st.wMilliseconds = 0;
    return FromSystemTime(st).value_or(0);
}

void SetPickerValue(HWND picker, double value) {
    SYSTEMTIME st = ToSystemTime(value);
    st.wMilliseconds = 0;
    DateTime_SetSystemtime(picker, GDT_VALID, &st);
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

int Bottom(HWND control) { return ChildRect(control).bottom; }

Hints::~Hints() {
    if (tip_) DestroyWindow(tip_);
}

void Hints::Attach(HWND owner) {
    owner_ = owner;
    tip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, Instance(), nullptr);
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

void SetCaptionAndHint(HWND button, Hints& hints, const TextLookup& text, const wchar_t* key) {
    SetText(button, text(key));
    hints.Set(button, text(key));
}

void DrawImageButton(const DRAWITEMSTRUCT& item, bool down, bool plain) {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0 || down;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool hot = IsHot(item.hwndItem);
    FillRect(dc, &rc, BrushOf(Role::Background));
    // A rounded face, lighter when the pointer is over it, with the accent edge.
    const Role face = pressed ? Role::Pressed : hot ? Role::Hot : Role::Face;
    {
        UniquePen edge(CreatePen(PS_SOLID, 1, ColorOf(disabled ? Role::DisabledEdge : Role::FaceEdge)));
        Selection useBrush(dc, BrushOf(face));
        Selection usePen(dc, edge.get());
        const int round = MulDiv(6, rc.bottom - rc.top, 28);
        RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, round, round);
    }
    const std::wstring text = GetText(item.hwndItem);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorOf(disabled  ? Role::Disabled
                             : pressed ? Role::PressedText
                             : hot     ? Role::HotText
                                       : Role::FaceText));
    {
        // Bold when the caption fits so, else the plain face, before it is cut.
        const int dpi = DpiOf(item.hwndItem);
        HFONT face = plain ? MainFont(dpi) : BoldFont(dpi);
        if (!plain) {
            Selection measure(dc, face);
            SIZE size{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            if (size.cx > rc.right - rc.left - 4) face = MainFont(dpi);
        }
        Selection font(dc, face);
        if (pressed) OffsetRect(&rc, 1, 1);
        DrawTextW(dc, text.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void DrawPictureButton(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    // The background of the window beneath, as a picture's.
    auto bg =
        reinterpret_cast<HBRUSH>(SendMessageW(GetParent(item.hwndItem), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(item.hwndItem)));
    FillRect(dc, &rc, bg ? bg : BrushOf(Role::Background));
    const auto pictureId = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(item.hwndItem, kPictureProp)));
    if (HBITMAP bmp = CurrentTheme().Picture(pictureId, DpiOf(item.hwndItem))) {
        BITMAP bm{};
        GetObjectW(bmp, sizeof(bm), &bm);
        const int push = (item.itemState & ODS_SELECTED) ? 1 : 0;
        DrawBitmap(dc, bmp, (rc.right - bm.bmWidth) / 2 + push, (rc.bottom - bm.bmHeight) / 2 + push);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &rc);
}

void DrawLink(const DRAWITEMSTRUCT& item, COLORREF background, COLORREF color, COLORREF hotColor, HFONT font) {
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    UniqueBrush bg(CreateSolidBrush(background));
    FillRect(dc, &rc, bg.get());
    const std::wstring text = GetText(item.hwndItem);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsHot(item.hwndItem) ? hotColor : color);
    Selection useFont(dc, font);
    RECT textRect = rc;
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int w = textRect.right - textRect.left, h = textRect.bottom - textRect.top;
    OffsetRect(&textRect, rc.left + (rc.right - rc.left - w) / 2 - textRect.left,
               rc.top + (rc.bottom - rc.top - h) / 2 - textRect.top);
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        InflateRect(&textRect, 2, 1);
        DrawFocusRect(dc, &textRect);
    }
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm)) return;
    MemoryDc mem(dc);
    Selection select(mem.get(), bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, blend);
}

}  // namespace zelvar::ui
