#include "plan_steps.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "remote_pickers.h"

namespace zelvar::e2e {

std::vector<RecordedAction> RecordedPowerActions(const AppRun& run) {
    std::vector<RecordedAction> out;
    std::istringstream in(ReadFileBytes(run.PathOf(L"power_actions.log")).value_or(""));
    for (std::string line; std::getline(in, line);) {
        char action[32] = {};
        int y, mo, d, h, mi, s, ms;
        if (sscanf(line.c_str(), "%31s %d-%d-%d %d:%d:%d.%d", action, &y, &mo, &d, &h, &mi, &s, &ms) != 8) continue;
        out.push_back({action, SYSTEMTIME{static_cast<WORD>(y), static_cast<WORD>(mo), 0, static_cast<WORD>(d),
                                          static_cast<WORD>(h), static_cast<WORD>(mi), static_cast<WORD>(s),
                                          static_cast<WORD>(ms)}});
    }
    return out;
}

HWND CountWindow(AppRun& run) {
    auto windows = run.Proc().Windows(ZELVAR_COUNT_CLASS);
    return windows.empty() ? nullptr : windows.front();
}

bool CountShown(AppRun& run) {
    HWND w = CountWindow(run);
    return w && IsWindowVisible(w);
}

bool CountOpened(AppRun& run, int openings) { return run.Countdown().count >= openings; }

HWND StartOnPlanPage(AppRun& run, const std::string& options) {
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nlng=1\r\n" + options);
    HWND main = run.MainIfUp(run.StartUp());
    if (!main) return nullptr;
    PostMenuCommand(main, IDM_N4_ONOFF);
    WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL4)); });
    return main;
}

void EnterPlan(AppRun& run, const SYSTEMTIME& off, const SYSTEMTIME* wake) {
    if (!IsChecked(run.Control(IDC_CHECKBOX3))) {
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX3)));
    }
    if (wake && !IsChecked(run.Control(IDC_CHECKBOX1))) {
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX1)));
    }
    ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER1), off));
    ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER2), off));
    if (wake) {
        ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER3), *wake));
        ASSERT_TRUE(SetPickerTime(run.Control(IDC_DATETIMEPICKER4), *wake));
    }
}

void ApplyPlan(AppRun& run) {
    PostClick(run.Control(IDC_PNGBUTTON2));
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL6)); })) << "the plan was not armed";
}

void ArmPlanIn(AppRun& run, int leadSeconds, SYSTEMTIME* off, const SYSTEMTIME* wake) {
    if (!IsChecked(run.Control(IDC_CHECKBOX3))) {
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX3)));
    }
    if (wake && !IsChecked(run.Control(IDC_CHECKBOX1))) {
        ASSERT_TRUE(Click(run.Control(IDC_CHECKBOX1)));
    }
    const SYSTEMTIME at = LocalTimeIn(leadSeconds);
    if (off) *off = at;
    ASSERT_NO_FATAL_FAILURE(EnterPlan(run, at, wake));
    ApplyPlan(run);
}

}  // namespace zelvar::e2e
