// Measurements, not tests: disabled by default, run by tools/measure. They
// print their numbers as "[ measure  ]" lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

#include "driver.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return (b.QuadPart - a.QuadPart) * 1000.0 / f.QuadPart;
}

// Milliseconds from CreateProcess to a visible window of the given class.
double TimeToWindow(const std::wstring& exe, const std::wstring& workDir, const wchar_t* cls) {
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    Process p = StartProcess(exe, workDir);
    if (!p) return -1;
    HWND w = nullptr;
    if (!WaitFor([&] {
            for (HWND h : p.Windows(cls))
                if (IsWindowVisible(h)) w = h;
            return w != nullptr;
        }, 20000))
        return -1;
    QueryPerformanceCounter(&t1);
    p.Kill();
    return Ms(t0, t1);
}

double CpuSeconds(HANDLE process) {
    FILETIME c, e, k, u;
    GetProcessTimes(process, &c, &e, &k, &u);
    auto v = [](FILETIME f) { return ((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7; };
    return v(k) + v(u);
}

}  // namespace

TEST(Measure, DISABLED_StartupTimeNextToAMinimalWindow) {
    std::vector<double> zelvar, minimal;
    for (int i = 0; i < 5; ++i) {
        AppRun run(L"measure_startup");
        run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nlng=1\r\n");
        zelvar.push_back(TimeToWindow(run.ExePath(), run.Folder(), ZELVAR_MAIN_CLASS));
        minimal.push_back(TimeToWindow(DriverFolder() + L"e2e_minimal_window.exe", DriverFolder(), L"ZelvarMinimalWindow"));
    }
    std::sort(zelvar.begin(), zelvar.end());
    std::sort(minimal.begin(), minimal.end());
    std::printf("[ measure  ] start to window, median of 5 (min..max): zelvar %.0f ms (%.0f..%.0f), minimal %.0f ms (%.0f..%.0f)\n",
                zelvar[2], zelvar[0], zelvar[4], minimal[2], minimal[0], minimal[4]);
}

TEST(Measure, DISABLED_CpuWhileACycleWaitsNextToIdle) {
    constexpr int kSpanSeconds = 120;
    AppRun run(L"measure_cpu");
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nallclose=0\r\nlogosound=0\r\nautoupd=0\r\nlng=1\r\n");
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, kStartTimeoutMs));
    std::printf("[ phase    ] idle from %lld\n", static_cast<long long>(time(nullptr)));
    // Idle: the program with no cycle, over the same span.
    const double idle0 = CpuSeconds(run.Proc().Handle());
    Sleep(kSpanSeconds * 1000);
    const double idle = CpuSeconds(run.Proc().Handle()) - idle0;
    // Waiting: a plan whose off moment lies beyond the span.
    const SYSTEMTIME off = LocalTimeIn(kSpanSeconds + 40);
    Click(run.Control(IDC_CHECKBOX3));
    SetPickerTime(run.Control(IDC_DATETIMEPICKER1), off);
    SetPickerTime(run.Control(IDC_DATETIMEPICKER2), off);
    PostClick(run.Control(IDC_PNGBUTTON2));
    ASSERT_TRUE(WaitFor([&] { return (GetWindowLongPtrW(run.Control(IDC_PANEL6), GWL_STYLE) & WS_VISIBLE) != 0; }));
    const double wait0 = CpuSeconds(run.Proc().Handle());
    std::printf("[ phase    ] waiting from %lld\n", static_cast<long long>(time(nullptr)));
    Sleep(kSpanSeconds * 1000);
    const double waiting = CpuSeconds(run.Proc().Handle()) - wait0;
    std::printf("[ phase    ] end at %lld\n", static_cast<long long>(time(nullptr)));
    std::fflush(stdout);
    std::printf("[ measure  ] CPU over %d s: idle %.3f s, waiting for the off moment %.3f s\n", kSpanSeconds, idle,
                waiting);
    Click(run.Control(IDC_PNGBUTTON5));
}

TEST(Measure, DISABLED_CountdownAndActionAgainstTheOffMoment) {
    for (int i = 0; i < 5; ++i) {
        AppRun run(L"measure_plan");
        run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nallclose=0\r\nlogosound=0\r\nautoupd=0\r\nlng=1\r\n");
        ASSERT_TRUE(run.Start());
        HWND main = run.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, kStartTimeoutMs));
        const SYSTEMTIME off = LocalTimeIn(34);
        Click(run.Control(IDC_CHECKBOX3));
        SetPickerTime(run.Control(IDC_DATETIMEPICKER1), off);
        SetPickerTime(run.Control(IDC_DATETIMEPICKER2), off);
        PostClick(run.Control(IDC_PNGBUTTON2));
        SYSTEMTIME shown{};
        ASSERT_TRUE(WaitFor([&] {
            for (HWND w : run.Proc().Windows(ZELVAR_COUNT_CLASS))
                if (IsWindowVisible(w)) return true;
            return false;
        }, 20000));
        GetLocalTime(&shown);
        std::optional<std::string> log;
        ASSERT_TRUE(WaitFor([&] { return (log = ReadFileBytes(run.PathOf(L"power_actions.log"))).has_value(); }, 40000));
        int y, mo, d, h, mi, s, ms;
        char action[32];
        ASSERT_EQ(sscanf(log->c_str(), "%31s %d-%d-%d %d:%d:%d.%d", action, &y, &mo, &d, &h, &mi, &s, &ms), 8);
        SYSTEMTIME at{static_cast<WORD>(y), static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
                      static_cast<WORD>(mi), static_cast<WORD>(s), static_cast<WORD>(ms)};
        std::printf("[ measure  ] plan %d: countdown shown %.2f s before the off moment, %s %.3f s after it\n", i + 1,
                    SecondsBetween(off, shown), action, SecondsBetween(at, off));
    }
}

namespace {

std::string HmsText(const SYSTEMTIME& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return text;
}

int IsoWeekday(const SYSTEMTIME& t) { return t.wDayOfWeek == 0 ? 7 : t.wDayOfWeek; }

}  // namespace

// The running scheduler with no moment near costs what the idle program
// costs: its tick opens no file.
TEST(Measure, DISABLED_CpuOfARunningSchedulerNextToIdle) {
    constexpr int kSpanSeconds = 120;
    AppRun run(L"measure_cpu_scheduler");
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int tomorrow = IsoWeekday(now) % 7 + 1;
    WriteFileBytes(run.PathOf(L"scheduler.ini"), "[Week]\r\noff_check1_" + std::to_string(tomorrow) +
                                                     "=1\r\noff_time1_" + std::to_string(tomorrow) +
                                                     "=22:00:00\r\noff_check2_" + std::to_string(tomorrow) +
                                                     "=1\r\noff_time2_" + std::to_string(tomorrow) + "=23:00:00\r\n");
    run.WriteConfig("[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nallclose=0\r\nlogosound=0\r\nautoupd=0\r\nlng=1\r\n");
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, kStartTimeoutMs));
    std::printf("[ phase    ] idle from %lld\n", static_cast<long long>(time(nullptr)));
    std::fflush(stdout);
    Sleep(kSpanSeconds * 1000);
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON8)));
    std::printf("[ phase    ] scheduler from %lld\n", static_cast<long long>(time(nullptr)));
    std::fflush(stdout);
    Sleep(kSpanSeconds * 1000);
    std::printf("[ phase    ] end at %lld\n", static_cast<long long>(time(nullptr)));
    std::fflush(stdout);
    Click(run.Control(IDC_PNGBUTTON8));
}

// Five scheduled cycles: the countdown's lead and the action's lateness
// against the scheduled off moment.
TEST(Measure, DISABLED_ScheduledCyclesAgainstTheirMoments) {
    for (int i = 0; i < 5; ++i) {
        AppRun run(L"measure_scheduled");
        const SYSTEMTIME off = LocalTimeIn(40);
        WriteFileBytes(run.PathOf(L"scheduler.ini"), "[Week]\r\noff_check1_" + std::to_string(IsoWeekday(off)) +
                                                         "=1\r\noff_time1_" + std::to_string(IsoWeekday(off)) + "=" +
                                                         HmsText(off) + "\r\n");
        run.WriteConfig(
            "[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nallclose=0\r\nlogosound=0\r\nautoupd=0\r\nlng=1\r\nactsheduler=1\r\n");
        ASSERT_TRUE(run.Start());
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        SYSTEMTIME shown{};
        ASSERT_TRUE(WaitFor([&] {
            for (HWND w : run.Proc().Windows(ZELVAR_COUNT_CLASS))
                if (IsWindowVisible(w)) return true;
            return false;
        }, 30000));
        GetLocalTime(&shown);
        std::optional<std::string> log;
        ASSERT_TRUE(WaitFor([&] { return (log = ReadFileBytes(run.PathOf(L"power_actions.log"))).has_value(); }, 40000));
        int y, mo, d, h, mi, s, ms;
        char action[32];
        ASSERT_EQ(sscanf(log->c_str(), "%31s %d-%d-%d %d:%d:%d.%d", action, &y, &mo, &d, &h, &mi, &s, &ms), 8);
        SYSTEMTIME at{static_cast<WORD>(y), static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
                      static_cast<WORD>(mi), static_cast<WORD>(s), static_cast<WORD>(ms)};
        std::printf("[ measure  ] scheduled %d: countdown shown %.2f s before the off moment, %s %.3f s after it\n",
                    i + 1, SecondsBetween(off, shown), action, SecondsBetween(at, off));
    }
}

}  // namespace zelvar::e2e
