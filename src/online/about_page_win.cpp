#include "online/about_page_win.h"

#include <shellapi.h>

#include "common/handles_win.h"
#include "common/paths_win.h"
#include "ui/links_win.h"
#include "common/web_addresses.h"
#include "ui/art.h"
#include "online/online_ids.h"

namespace zelvar {

void AboutPage::CreateControls() {
    using namespace ui;
    Image4 = CreatePicture(hwnd_, IDC_IMAGE4, kBitmapAbout, 0, 0, 128, 96, true);
    Label15 = CreateLabel(hwnd_, IDC_LABEL15, L"", 0, 0, 0, 0, SS_CENTER);
    ui::MakeBold(Label15);
    Label13 = CreateLink(hwnd_, IDC_LABEL13, kSiteName, 0, 0, 0, 0);
    Label16 = CreateLink(hwnd_, IDC_LABEL16, kMailAddress, 0, 0, 0, 0);
    Label23 = CreateLink(hwnd_, IDC_LABEL23, L"", 0, 0, 0, 0);
    LogLink = CreateLink(hwnd_, IDC_LOGLINK, L"", 0, 0, 0, 0);
}

void AboutPage::Layout() {
    const int w = Width();
    ui::Move(Image4, (w - S(128)) / 2, S(14), S(128), S(96));
    ui::Move(Label15, S(10), S(120), w - S(20), S(22));
    ui::Move(Label13, S(10), S(150), w - S(20), S(20));
    ui::Move(Label16, S(10), S(174), w - S(20), S(20));
    ui::Move(Label23, S(10), S(198), w - S(20), S(20));
    ui::Move(LogLink, S(10), S(222), w - S(20), S(20));
}

void AboutPage::ApplyTexts(const ui::TextLookup& text) {
    ui::SetText(Label23, text(L"history"));
    ui::SetText(LogLink, text(L"log"));
}

void AboutPage::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return;
    switch (id) {
        // The picture and the site link lead to the maker's web site.
        case IDC_IMAGE4:
        case IDC_LABEL13: OpenWebSite(GetAncestor(hwnd_, GA_ROOT)); return;
        case IDC_LABEL16: OpenMailLink(); return;
        case IDC_LABEL23:
            if (showChangeHistory_) showChangeHistory_();
            return;
        case IDC_LOGLINK: OpenCycleLog(GetAncestor(hwnd_, GA_ROOT)); return;
    }
}

bool AboutPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    // Links in the accent colour on the dark page, white under the pointer.
    ui::DrawLink(item, ui::ColorOf(ui::Role::Background), ui::ColorOf(ui::Role::Link), ui::ColorOf(ui::Role::LinkHot),
                 ui::MainFont(dpi_));
    return true;
}

std::wstring CycleLogToOpen(const std::wstring& logPath) {
    // A file or a folder of that name: the shell shows whichever it is.
    if (GetFileAttributesW(logPath.c_str()) != INVALID_FILE_ATTRIBUTES) return logPath;
    UniqueFileHandle made(CreateFileW(logPath.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    // A cycle may have written its first line just now.
    if (made || GetLastError() == ERROR_FILE_EXISTS) return logPath;
    const size_t cut = logPath.find_last_of(L"\\/");
    return cut == std::wstring::npos ? logPath : logPath.substr(0, cut + 1);
}

void OpenCycleLog(HWND owner) {
    const std::wstring log = FileBesideExe(L"zelvar.log");
    const std::wstring target = CycleLogToOpen(log);
    const auto opened =
        reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened > 32 || target != log || (GetFileAttributesW(log.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) return;
    // No program registered for .log files (a setting changed, a bare system).
    const std::wstring quoted = L"\"" + log + L"\"";
    ShellExecuteW(owner, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace zelvar
