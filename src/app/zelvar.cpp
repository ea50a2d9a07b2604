// The main window's life: creation, first activation, hiding into the tray,
// exit and the save on close (also when Windows ends the session).
#include "app/zelvar.h"

#include "app/autostart_win.h"
#include "app/control_ids.h"
#include "app/secondary_window_win.h"
#include "common/locale_win.h"
#include "common/os_error_win.h"
#include "i18n/lang_files_win.h"
#include "online/about_window.h"
#include "power/ucountform.h"

namespace zelvar {

std::wstring MainWindowCaption() { return std::wstring(L"Zelvar ") + kAppVersion; }

TForm1* TForm1::Create(HINSTANCE instance, HWND applicationWindow) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ui::DarkBrush();
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZELVAR), IMAGE_ICON, 32, 32, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZELVAR), IMAGE_ICON, 16, 16, 0));
    wc.lpszClassName = ZELVAR_MAIN_CLASS;
    RegisterClassExW(&wc);

    auto* form = new TForm1(instance);
    form->applicationWindow_ = applicationWindow;
    form->icon_ = wc.hIcon;
    form->smallIcon_ = wc.hIconSm;
    // Borderless; the owner is the hidden application window, so the
    // taskbar button comes from WS_EX_APPWINDOW while the window is shown.
    CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, ZELVAR_MAIN_CLASS, MainWindowCaption().c_str(),
                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 507, 284, applicationWindow,
                    nullptr, instance, form);
    if (!form->hwnd_) {
        delete form;
        return nullptr;
    }
    form->CreateControls();
    form->FormCreate();
    return form;
}

void TForm1::SetSecondaryWindows(TFabout* about, SecondaryWindow* sheddays, SecondaryWindow* history,
                                 TCountForm* count) {
    about_ = about;
    sheddays_ = sheddays;
    history_ = history;
    count_ = count;
}

void TForm1::FormCreate() {
    formats_ = ReadUserLocaleFormats();
    LoadSettings();
    // Texts missing from the chosen file come from English; a file that is
    // missing or cannot be read is reported once, after the texts are on.
    ApplyLanguage();
    ShowLanguageFileProblems(hwnd_);
    RefreshOneShotPlan();

    // The scheduler page starts on Monday.
    ui::SetText(dday, L"1");
    ui::SetText(Label22, hints_.Get(dayButtons_[0]));
    LoadScheduleDay(1);
    FillWeekGrid();
    SelectToday();
    if (SchedulerTag == 0) {
        ui::SetText(PNGButton8, GetLangText(L"startsheduler"));
        ShowDayEditor(true);
        KillTimer(hwnd_, TIMER_SCHEDULER);
    } else {
        ui::SetText(PNGButton8, GetLangText(L"stopsheduler"));
        ShowDayEditor(false);
        ComputeNextSchedule();
        SetTimer(hwnd_, TIMER_SCHEDULER, 803, nullptr);
    }

    ArrangeMainWindow();
    SetCheck(CheckBox3, false);  // a one-shot plan never survives a restart
    UpdateWakeControls();
    AddTrayIcon();
}

void TForm1::FormActivate() {
    if (!ui::IsChecked(CheckBox3)) RefreshOneShotPlan();
    if (count_ && !count_->TickerRunning()) count_->Hide();
    if (ActivatedOnce) return;
    ActivatedOnce = true;
    RunStartupPrograms();
    if (ui::IsChecked(CheckBox4) && !FirstStart) SetTimer(hwnd_, TIMER_TIMER1, 888, nullptr);
    if (ui::IsChecked(CheckBox6)) PlayStartSound();
    StartUpdateTimer();
}

void TForm1::Timer1Timer() {
    KillTimer(hwnd_, TIMER_TIMER1);
    if (ui::IsChecked(CheckBox4)) HideMainWindow();
}

void TForm1::Image1Click() {
    SaveScheduleDay(_wtoi(ui::GetText(dday).c_str()));
    HideMainWindow();
}

void TForm1::m_exitExecute() {
    SetCheck(CheckBox3, false);
    SetCheck(CheckBox1, false);
    Cycle.CycleAbort = true;
    OnExitStopTimers();
    ShowPlanState(true);
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::FormCloseQuery() {
    SaveSettings();
    SaveScheduleDay(_wtoi(ui::GetText(dday).c_str()));
    // After a start that could not read the settings the box shows a default,
    // not the user's choice; only a click on it changes the run value then.
    if (!SettingsReadOnly) SetAutoStart(!ui::IsChecked(CheckBox2));
}

void TForm1::RefreshOneShotPlan() {
    const TDateTime now = NowLocal();
    if (ui::IsChecked(CheckBox3) && now > OffMoment()) SetCheck(CheckBox3, false);
    // A plan whose wake moment has passed is dropped as a whole.
    if (ui::IsChecked(CheckBox1) && now > WakeMoment()) SetCheck(CheckBox3, false);
    if (!ui::IsChecked(CheckBox3)) {
        SetPickerValue(DateTimePicker1, now);
        SetPickerValue(DateTimePicker2, now);
    }
    if (!ui::IsChecked(CheckBox1)) {
        SetPickerValue(DateTimePicker3, now);
        SetPickerValue(DateTimePicker4, now);
    }
}

void TForm1::UpdateWakeControls() {
    const bool show = ui::IsChecked(CheckBox3);
    for (HWND c : {CheckBox1, Label5, Label6, DateTimePicker3, DateTimePicker4}) ui::SetVisible(c, show);
}

void TForm1::SetCheck(HWND box, bool checked) {
    if (ui::IsChecked(box) == checked) return;
    ui::SetChecked(box, checked);
    if (!loadingSettings_) RunCheckBoxHandler(box);
}

void TForm1::RunCheckBoxHandler(HWND box) {
    if (box == CheckBox1) CheckBox1Click();
    else if (box == CheckBox2) CheckBox2Click();
    else if (box == CheckBox3) CheckBox3Click();
    else if (box == CheckBox4) CheckBox4Click();
    else if (box == CheckBox5) CheckBox5Click();
    else if (box == CheckBox6) CheckBox6Click();
    else if (box == CheckBox7) CheckBox7Click();
}

TDateTime TForm1::PickerValue(HWND picker) const {
    SYSTEMTIME st{};
    if (DateTime_GetSystemtime(picker, &st) != GDT_VALID) return NowLocal();
    return EncodeDateTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, 0}).value_or(0);
}

void TForm1::SetPickerValue(HWND picker, TDateTime value) {
    const DateTimeFields f = DecodeDateTime(value);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDay = static_cast<WORD>(f.day);
    st.wDayOfWeek = static_cast<WORD>(IsoWeekday(value) % 7);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    DateTime_SetSystemtime(picker, GDT_VALID, &st);
}

TDateTime TForm1::OffMoment() const {
    const TDateTime date = PickerValue(DateTimePicker1), time = PickerValue(DateTimePicker2);
    return zelvar::ComposeMoment(date, time, formats_).value_or(CombineDateAndTime(date, WholeSeconds(time)));
}

TDateTime TForm1::WakeMoment() const {
    const TDateTime date = PickerValue(DateTimePicker3), time = PickerValue(DateTimePicker4);
    return zelvar::ComposeMoment(date, time, formats_).value_or(CombineDateAndTime(date, WholeSeconds(time)));
}

LRESULT CALLBACK TForm1::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    // The one top-level place for errors that escape a handler (a refused
    // power call, an unreadable language file): show it, go on with the
    // next event.
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        ShowUnhandledError(hwnd, e);
        return 0;
    }
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (taskbarCreatedMessage_ && msg == taskbarCreatedMessage_) {
        AddTrayIcon();  // Explorer restarted: the icon must come back
        return 0;
    }
    switch (msg) {
        case WM_NCHITTEST: {
            // The window's own surface drags it like a caption.
            LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) FormActivate();
            return 0;
        case WM_SIZE:
            if (wp == SIZE_MINIMIZED) HideMainWindow();  // a minimised window lives in the tray
            return 0;
        case WM_PAINT:
            PaintWindow();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lp));
        case WM_DRAWITEM:
            OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_MEASUREITEM: {
            auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (mi->CtlID == IDC_COMBOBOX2) mi->itemHeight = 19;
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_TIMER:
            OnTimer(wp);
            return 0;
        case kTrayMessage:
            if (LOWORD(lp) == WM_RBUTTONUP || LOWORD(lp) == WM_CONTEXTMENU) ShowTrayMenu();
            else if (LOWORD(lp) == WM_LBUTTONUP) ctrayClick();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;  // closing is always allowed
        case WM_ENDSESSION:
            // Windows ends the session (also our own power-off): save now,
            // the process may not see another message.
            if (wp) {
                Cycle.CycleAbort = true;
                FormCloseQuery();
                RemoveTrayIcon();
            }
            return 0;
        case WM_CLOSE:
            FormCloseQuery();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            RemoveTrayIcon();
            // The program ends: its other windows go with it, without taking
            // the activation from the closing main window first.
            for (SecondaryWindow* w : {static_cast<SecondaryWindow*>(about_), sheddays_, history_, static_cast<SecondaryWindow*>(count_)})
                if (w) ShowWindow(w->Handle(), SW_HIDE);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void TForm1::OnTimer(UINT_PTR id) {
    switch (id) {
        case TIMER_TIMER1: Timer1Timer(); break;
        case TIMER_TIMER_UPD: Timer_updTimer(); break;
        default: OnPowerTimer(id); break;
    }
}

}  // namespace zelvar
