// Putting the chosen language's texts on the main window, its pages, the
// tray menu and the program-wide messages, in the documented order: each
// page fills its own rows when its turn comes.
#include "app/zelvar.h"
#include "i18n/lang_files_win.h"
#include "online/about_window.h"
#include "app/main_ids.h"

namespace zelvar {

std::wstring TForm1::GetLangText(const std::wstring& key) const {
    return zelvar::GetLangText(language_.SelectedLanguage(), key);
}

void TForm1::ApplyLanguage() {
    // Each row looks its key up for every target, so a file that cannot be
    // read stops the application at that row and the earlier texts stay.
    const LanguageTexts::Batch oneLook(ProgramLanguageTexts());
    const ui::TextLookup text = [this](const std::wstring& key) { return GetLangText(key); };
    SetWindowTextW(hwnd_, MainWindowCaption().c_str());
    static const wchar_t* const kNodes[] = {L"main", L"language", L"onoff", L"sheduler", L"startexe", L"menuabout"};
    for (int i = 0; i < 6; ++i) {
        std::wstring node = text(kNodes[i]);
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = treeNodes_[i];
        item.pszText = node.data();
        TreeView_SetItem(TreeView1, &item);
    }
    options_.ApplyBoxTexts(text);
    plan_.ApplyOffCaption(text);
    scheduler_.ApplyOffCaption(text);
    scheduler_.ApplyEditorTexts(text);
    options_.ApplyAutoUpdateText(text);
    plan_.ApplyPlanTexts(text);
    startup_.ApplyTexts(text);
    language_.ApplyTexts(text);
    scheduler_.ApplyDayTexts(text);
    options_.ApplyRestartText(text);
    scheduler_.ApplyButtonTexts(text);
    Messages.MsgWrongDt = text(L"mswrongdt");
    Messages.MsgRemoveExe = text(L"msremoveexe");
    Messages.MsgSelString = text(L"msselstring");
    Messages.MsgErrConfig = text(L"mserrconfig");
    SetTrayMenuText(IDM_N1_OPEN, text(L"menuopen"));
    SetTrayMenuText(IDM_N4_ONOFF, text(L"menuoff"));
    const std::wstring aboutText = text(L"menuabout");
    SetTrayMenuText(IDM_N3_ABOUT, aboutText);
    SetTrayMenuText(IDM_N2_EXIT, text(L"menuexit"));
    // At start the about window does not exist yet; it takes its caption when shown.
    if (windows_.about.Handle()) windows_.about.SetCaption(aboutText);
    hints_.Set(Image1, text(L"close"));
    plan_.ApplyActionList(text);
    scheduler_.ApplySchedulerPageTexts(text);
    about_.ApplyTexts(text);
    UpdateTrayStatus();  // the tooltip in the new language
}

}  // namespace zelvar
