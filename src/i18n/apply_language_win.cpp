// Putting the chosen language's texts on the main window, the tray menu and
// the program-wide messages.
#include "app/control_ids.h"
#include "app/secondary_window_win.h"
#include "app/zelvar.h"
#include "i18n/lang_files_win.h"
#include "online/about_window.h"

namespace zelvar {

std::wstring TForm1::GetLangText(const std::wstring& key) const { return zelvar::GetLangText(SelectedLanguage(), key); }

void TForm1::ApplyLanguage() {
    // Each row looks its key up for every target; a lookup always gives a
    // text (English when the chosen file lacks it or cannot be read).
    SetWindowTextW(hwnd_, MainWindowCaption().c_str());
    static const wchar_t* const kNodes[] = {L"main", L"language", L"onoff", L"sheduler", L"startexe", L"menuabout"};
    for (int i = 0; i < 6; ++i) {
        std::wstring text = GetLangText(kNodes[i]);
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = treeNodes_[i];
        item.pszText = text.data();
        TreeView_SetItem(TreeView1, &item);
    }
    ui::SetText(CheckBox2, GetLangText(L"startwindows"));
    ui::SetText(CheckBox4, GetLangText(L"starttray"));
    ui::SetText(CheckBox5, GetLangText(L"closeapplications"));
    ui::SetText(CheckBox6, GetLangText(L"logosound"));
    ui::SetText(CheckBox3, GetLangText(L"pcoff"));
    ApplySchedulerPageTexts(1);
    ui::SetText(Label19, GetLangText(L"autoupdate"));
    ui::SetText(Label3, GetLangText(L"date"));
    ui::SetText(Label4, GetLangText(L"time"));
    ui::SetText(CheckBox1, GetLangText(L"pcon"));
    ui::SetText(Label5, GetLangText(L"date"));
    ui::SetText(Label6, GetLangText(L"time"));
    SetCaptionAndHint(PNGButton2, L"apply");
    SetCaptionAndHint(PNGButton5, L"cancel");
    ui::SetText(Label7, GetLangText(L"pcoffinfo"));
    ui::SetText(Label8, GetLangText(L"date"));
    ui::SetText(Label9, GetLangText(L"time"));
    ui::SetText(Label10, GetLangText(L"pconinfo"));
    ui::SetText(Label11, GetLangText(L"date"));
    ui::SetText(Label12, GetLangText(L"time"));
    ui::SetText(Label1, GetLangText(L"startexeintro"));
    SetCaptionAndHint(PNGButton1, L"add");
    SetCaptionAndHint(PNGButton4, L"remove");
    ui::SetText(Label2, GetLangText(L"languageintro"));
    SetCaptionAndHint(PNGButton3, L"apply");
    for (int d = 1; d <= 7; ++d) hints_.Set(dayButtons_[d - 1], GetLangText(L"w" + std::to_wstring(d)));
    for (int d = 1; d <= 7; ++d) ui::SetText(dayButtons_[d - 1], GetLangText(L"ws" + std::to_wstring(d)));
    // The edited day's name follows the pressed day button (Monday at start).
    int day = _wtoi(ui::GetText(dday).c_str());
    if (day < 1 || day > 7) day = 1;
    ui::SetText(Label22, hints_.Get(dayButtons_[day - 1]));
    ui::SetText(Label24, GetLangText(L"resetafteron"));
    ui::SetText(PNGButton8, GetLangText(SchedulerTag != 0 ? L"stopsheduler" : L"startsheduler"));
    hints_.Set(PNGButton8, GetLangText(L"hintstartsheduler"));
    MsgWrongDt = GetLangText(L"mswrongdt");
    MsgRemoveExe = GetLangText(L"msremoveexe");
    MsgSelString = GetLangText(L"msselstring");
    MsgErrConfig = GetLangText(L"mserrconfig");
    SetTrayMenuText(IDM_N1_OPEN, GetLangText(L"menuopen"));
    SetTrayMenuText(IDM_N4_ONOFF, GetLangText(L"menuoff"));
    const std::wstring aboutText = GetLangText(L"menuabout");
    SetTrayMenuText(IDM_N3_ABOUT, aboutText);
    SetTrayMenuText(IDM_N2_EXIT, GetLangText(L"menuexit"));
    if (about_) about_->SetCaption(aboutText);
    hints_.Set(Image1, GetLangText(L"close"));
    SendMessageW(ComboBox2, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* key : {L"poweroff", L"powertohibernate"}) {
        const std::wstring text = GetLangText(key);
        SendMessageW(ComboBox2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(ComboBox2, CB_SETCURSEL, 1, 0);
    ApplySchedulerPageTexts(2);
    ui::SetText(Label23, GetLangText(L"history"));
}

void TForm1::SetCaptionAndHint(HWND button, const wchar_t* key) {
    ui::SetText(button, GetLangText(key));
    hints_.Set(button, GetLangText(key));
}

void TForm1::PNGButton3Click() {
    ApplyLanguage();
    InvalidateRect(PNGButton3, nullptr, TRUE);
    UpdateWindow(PNGButton3);
    ShowLanguageFileProblems(hwnd_);
}

}  // namespace zelvar
