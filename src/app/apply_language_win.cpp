// Putting the chosen language's texts on the main window, its pages, the
// tray menu and the program-wide messages, in the documented order: each
// page fills its own rows when its turn comes.
#include "app/zelvar.h"
#include "i18n/lang_files_win.h"
#include "online/about_window.h"
#include "power/ucountform.h"
#include "ui/accessible_win.h"
#include "app/main_ids.h"

namespace zelvar {

std::wstring TForm1::GetLangText(const std::wstring& key) const {
    return zelvar::GetLangText(language_.SelectedLanguage(), key);
}

void TForm1::ApplyLanguage() {
    // Each row looks its key up for every target; the file is read once.
    const LanguageTexts::Batch oneLook(ProgramLanguageTexts());
    SetWindowTextW(hwnd_, MainWindowCaption().c_str());
    // The language applied now, also for the pages made later.
    const int language = language_.SelectedLanguage();
    appliedTexts_.Take([language](const std::wstring& key) { return zelvar::GetLangText(language, key); });
    const ui::TextLookup& text = appliedTexts_.Lookup();
    static const wchar_t* const kNodes[] = {L"main", L"language", L"onoff", L"sheduler", L"startexe", L"menuabout"};
    for (int i = 0; i < 6; ++i) {
        std::wstring node = text(kNodes[i]);
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = treeNodes_[i];
        item.pszText = node.data();
        TreeView_SetItem(TreeView1, &item);
    }
    // No label stands before the tree: it reads as the navigation.
    ui::SetAccessibleName(TreeView1, text(L"navigation"));
    // One call per page, in the order of their first rows; a page not made
    // yet takes the texts when it is.
    for (ui::Page* page : std::initializer_list<ui::Page*>{&options_, &plan_, &scheduler_, &startup_, &language_})
        page->TakeTexts(text);
    Messages.MsgWrongDt = text(L"mswrongdt");
    Messages.MsgRemoveExe = text(L"msremoveexe");
    Messages.MsgSelString = text(L"msselstring");
    Messages.MsgErrConfig = text(L"mserrconfig");
    SetTrayMenuText(IDM_N1_OPEN, text(L"menuopen"));
    SetTrayMenuText(IDM_N4_ONOFF, text(L"menuoff"));
    const std::wstring aboutText = text(L"menuabout");
    SetTrayMenuText(IDM_N3_ABOUT, aboutText);
    SetTrayMenuText(IDM_N2_EXIT, text(L"menuexit"));
    // The about window is made on first use and takes its caption then.
    if (windows_.about.Handle()) windows_.about.SetCaption(aboutText);
    hints_.Set(Image1, text(L"close"));
    windows_.count.TakeTexts(text);
    about_.TakeTexts(text);
    UpdateTrayStatus();  // the tooltip in the new language
}

}  // namespace zelvar
