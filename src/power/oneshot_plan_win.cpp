// The one-shot plan page: which controls show, the armed and editing views.
#include "app/control_ids.h"
#include "app/zelvar.h"
#include "common/locale_win.h"

namespace zelvar {

void TForm1::CheckBox3Click() {
    UpdateWakeControls();
    ui::SetVisible(ComboBox2, ui::IsChecked(CheckBox3) && !ui::IsChecked(CheckBox1));
}

void TForm1::CheckBox1Click() { ui::SetVisible(ComboBox2, !ui::IsChecked(CheckBox1)); }

void TForm1::ShowPlanState(bool editable) {
    for (HWND c : {CheckBox3, DateTimePicker1, DateTimePicker2, CheckBox1, DateTimePicker3, DateTimePicker4})
        EnableWindow(c, editable);
    ui::SetVisible(PNGButton2, editable);
    ui::SetVisible(PNGButton5, !editable);
    if (editable) {
        ui::SetVisible(Panel6, false);
        ui::SetVisible(ComboBox2, ui::IsChecked(CheckBox3) && !ui::IsChecked(CheckBox1));
        return;
    }
    ui::SetVisible(Panel6, true);
    ui::SetText(Label8, FormatDate(PickerValue(DateTimePicker1), formats_));
    ui::SetText(Label9, FormatTime(PickerValue(DateTimePicker2), formats_));
    const bool wake = ui::IsChecked(CheckBox1);
    for (HWND l : {Label10, Label11, Label12}) ui::SetVisible(l, wake);
    if (wake) {
        ui::SetText(Label11, FormatDate(PickerValue(DateTimePicker3), formats_));
        ui::SetText(Label12, FormatTime(PickerValue(DateTimePicker4), formats_));
    }
    ui::SetVisible(ComboBox2, false);
}

void TForm1::OnPageCommand(int, int, HWND) {}
void TForm1::OnPowerTimer(UINT_PTR id) { KillTimer(hwnd_, id); }
void TForm1::OnExitStopTimers() {}

}  // namespace zelvar
