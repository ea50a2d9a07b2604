// Whole cycles against a fake main window, with the recording power actions
// and real kernel timers.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/locale_win.h"
#include "common/os_error.h"
#include "common/paths_win.h"
#include "power/cycle_log_win.h"
#include "power/power_cycle.h"
#include "power/standing_wake_win.h"

using namespace zelvar;

namespace {

constexpr double kSecond = 1.0 / 86400.0;

std::wstring LogPath() { return FileBesideExe(L"power_actions.log"); }

std::vector<std::string> RecordedActions() {
    std::vector<std::string> lines;
    std::ifstream in{std::filesystem::path(LogPath())};
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// "Hibernate 2026-12-08 10:11:12.345" -> its local moment.
TDateTime RecordedMoment(const std::string& line) {
    DateTimeFields f;
    const auto at = line.find(' ');
    std::sscanf(line.c_str() + at + 1, "%d-%d-%d %d:%d:%d.%d", &f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second,
                &f.millisecond);
    return *EncodeDateTime(f);
}

// Drops whatever an earlier test left in this thread's message queue.
void DrainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void PostNothing() { PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); }

class FakeMainWindow : public PowerCycleHost {
public:
    // A window has something to handle when a cycle begins (its repaint at
    // least), so the wait pumps once before it sleeps.
    explicit FakeMainWindow(PowerCycleState& state) : state_(state) {
        DrainMessages();
        PostNothing();
    }

    // The window's controls.
    bool planArmed = true;
    TDateTime off = 0, wake = 0;
    bool offTicked = true, wakeTicked = false;
    int offMode = 1;
    bool startSound = false, restartAfterWake = false, closeApplications = true;
    bool schedulerActive = false;
    std::optional<TDateTime> nextOff, nextOn;  // as ComposeMoment gives them
    bool countdownVisible = false;
    // The plan was applied as the test began: a moment a few seconds ahead
    // was chosen at short notice and shows the seconds left.
    std::optional<double> appliedAt = RealSecondsNow();
    std::vector<int> countdownsOpened;  // OpenCountdown's counts, apart from the calls

    std::vector<std::string> calls;  // everything but the pumps, in order
    int pumps = 0;
    // What the user does during the wait, one call per pass of the pump;
    // while it is set, each pass leaves a message behind for the next.
    std::function<void(int)> onPump;
    bool wakeArmedAtClose = false;
    TDateTime wakeTimeAtClose = 0;

    TDateTime Now() override { return NowLocal(); }
    double RealNow() override { return RealSecondsNow(); }
    std::optional<double> RealSecondsOf(TDateTime local) override { return RealSecondsOfLocal(local); }
    PlanReading Plan() override {
        PlanReading plan;
        plan.armed = planArmed;
        plan.offTicked = offTicked;
        plan.wakeTicked = wakeTicked;
        plan.offMode = offMode;
        if (planArmed) {
            plan.off = ComposeMoment(DateOf(off), TimeOf(off));
            plan.wake = ComposeMoment(DateOf(wake), TimeOf(wake));
            plan.appliedAt = appliedAt;
        }
        return plan;
    }
    ScheduleReading Schedule() override { return {schedulerActive, nextOff, nextOn}; }
    CycleOptions Options() override { return {startSound, restartAfterWake, closeApplications}; }
    bool CountdownVisible() override { return countdownVisible; }
    // A date and a time of day joined as the main window joins them.
    static TDateTime ComposeMoment(TDateTime date, TDateTime timeOfDay) {
        return WholeSeconds(CombineDateAndTime(date, timeOfDay));
    }

    void ArmCountdown(std::uint32_t ms) override { calls.push_back("ArmCountdown " + std::to_string(ms)); }
    void OpenCountdown(int seconds) override {
        countdownsOpened.push_back(seconds);
        countdownVisible = true;
    }
    void PlanMomentSkipped() override { calls.push_back("PlanMomentSkipped"); }
    void ScheduledMomentSkipped() override { calls.push_back("ScheduledMomentSkipped"); }
    void PumpMessages() override {
        ++pumps;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!onPump) return;
        onPump(pumps);
        PostNothing();  // the user keeps acting: another pass comes
    }
    void CloseApplications() override {
        calls.push_back("CloseApplications");
        wakeArmedAtClose = state_.WakeTimerActive && state_.WakeTimer && state_.WakeTimer->Handle;
        if (wakeArmedAtClose) wakeTimeAtClose = state_.WakeTimer->Time;
    }
    void KeepAwakeAfterResume() override { calls.push_back("KeepAwakeAfterResume"); }
    void ResetCountdownWindow() override { calls.push_back("ResetCountdownWindow"); }
    void ClearPlanTicks() override { calls.push_back("ClearPlanTicks"); }
    void ShowPlanState(bool editable) override {
        calls.push_back(editable ? "ShowPlanState editable" : "ShowPlanState armed");
    }
    void RefreshOneShotPlan() override { calls.push_back("RefreshOneShotPlan"); }
    void PlayStartSound() override { calls.push_back("PlayStartSound"); }
    void RunStartupPrograms() override { calls.push_back("RunStartupPrograms"); }
    void SelectToday() override { calls.push_back("SelectToday"); }
    void ResumeScheduler() override { calls.push_back("ResumeScheduler"); }
    void StartRestartCountdown() override { calls.push_back("StartRestartCountdown"); }

private:
    PowerCycleState& state_;
};

class PowerCycle : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileW(LogPath().c_str());
        DeleteFileW(FileBesideExe(L"power_fail.txt").c_str());
    }
    void TearDown() override {
        DeleteFileW(FileBesideExe(L"power_fail.txt").c_str());
        state.DestroyTimers();
    }
    // A whole second a few seconds from now, as the pickers would hold it.
    static TDateTime SecondsAhead(int s) { return WholeSeconds(NowLocal()) + s * kSecond; }

    PowerCycleState state;
    FakeMainWindow host{state};
};

const std::vector<std::string> kResumeTasks = {
    "KeepAwakeAfterResume", "ResetCountdownWindow", "ClearPlanTicks", "ShowPlanState editable", "RefreshOneShotPlan",
    "PlayStartSound",       "RunStartupPrograms",   "SelectToday",    "StartRestartCountdown"};

}  // namespace

TEST_F(PowerCycle, PlanWithWakeHibernatesAtTheOffMomentThenRunsTheResumeTasks) {
    host.off = SecondsAhead(2);
    host.wake = SecondsAhead(3600);
    host.wakeTicked = true;
    host.offMode = 0;  // "power off" is overruled by the wake
    host.startSound = true;
    host.restartAfterWake = true;

    RunPowerCycle(host, state);

    const auto actions = RecordedActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].rfind("Hibernate ", 0), 0u) << actions[0];
    // Not before the off moment, give or take the rounding to whole seconds.
    EXPECT_GE(RecordedMoment(actions[0]), host.off - 0.6 * kSecond);
    EXPECT_GT(host.pumps, 0);

    std::vector<std::string> expected = {"CloseApplications"};
    expected.insert(expected.end(), kResumeTasks.begin(), kResumeTasks.end());
    EXPECT_EQ(host.calls, expected);
    EXPECT_TRUE(host.wakeArmedAtClose);
    EXPECT_NEAR(host.wakeTimeAtClose, host.wake, kSecond / 1000);
    // Resume released both timers.
    EXPECT_FALSE(state.OffTimerActive);
    EXPECT_FALSE(state.WakeTimerActive);
    EXPECT_FALSE(state.OffTimer);
    EXPECT_FALSE(state.WakeTimer);
}

TEST_F(PowerCycle, SchedulerCycleTakesTheScheduledMomentsAndResumesTheScheduler) {
    host.planArmed = false;
    host.offTicked = false;
    host.schedulerActive = true;
    const TDateTime off = SecondsAhead(1), on = SecondsAhead(7200);
    host.nextOff = host.ComposeMoment(DateOf(off), TimeOf(off));
    host.nextOn = host.ComposeMoment(DateOf(on), TimeOf(on));
    // The tick's countdown has been on screen since 31 s before the moment.
    host.countdownVisible = true;
    state.Warn(OffWarning{*RealSecondsOfLocal(off) - 31, *RealSecondsOfLocal(off)});

    RunPowerCycle(host, state);

    const auto actions = RecordedActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].rfind("Hibernate ", 0), 0u);
    EXPECT_TRUE(host.wakeArmedAtClose);
    EXPECT_NEAR(host.wakeTimeAtClose, on, kSecond / 1000);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"CloseApplications", "KeepAwakeAfterResume", "ResetCountdownWindow",
                                                    "ClearPlanTicks", "ShowPlanState editable", "RefreshOneShotPlan",
                                                    "RunStartupPrograms", "SelectToday", "ResumeScheduler"}));
}

TEST_F(PowerCycle, PowerOffWithoutWakeEndsTheCycleAtTheCall) {
    host.off = SecondsAhead(0);
    host.offMode = 0;

    RunPowerCycle(host, state);

    const auto actions = RecordedActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].rfind("PowerOff ", 0), 0u) << actions[0];
    EXPECT_EQ(host.calls, (std::vector<std::string>{"CloseApplications"}));
    EXPECT_FALSE(host.wakeArmedAtClose);
}

TEST_F(PowerCycle, AbortDuringTheWaitEndsWithoutAnAction) {
    host.off = SecondsAhead(60);
    host.wakeTicked = true;
    host.wake = SecondsAhead(3600);
    // A stop of the scheduler only raises the flag; the cycle releases its timer itself.
    host.onPump = [&](int pass) {
        if (pass == 3) state.AbortWait();
    };

    RunPowerCycle(host, state);

    EXPECT_TRUE(RecordedActions().empty());
    EXPECT_EQ(host.pumps, 3);
    ASSERT_EQ(host.calls.size(), 1u);  // the countdown, 31 seconds before the off moment
    EXPECT_TRUE(host.calls[0] == "ArmCountdown 29000" || host.calls[0] == "ArmCountdown 28000") << host.calls[0];
    EXPECT_FALSE(state.OffTimerActive);
    EXPECT_FALSE(state.OffTimer);
    EXPECT_FALSE(state.WakeTimerActive);
    EXPECT_TRUE(state.CycleAbort());  // stays set for the countdown timer to see
}

TEST_F(PowerCycle, WaitTakenOverByANestedCycleEndsWithoutASecondAction) {
    host.off = SecondsAhead(20);
    // Apply again during the wait, with a plan for now: discard the timers,
    // clear the abort request and run the new cycle inside the pump.
    host.onPump = [&](int pass) {
        if (pass != 2) return;
        state.Discard();
        host.off = SecondsAhead(0);
        RunPowerCycle(host, state);
    };

    RunPowerCycle(host, state);

    const auto actions = RecordedActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].rfind("Hibernate ", 0), 0u);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "SelectToday"), 1);
}

TEST_F(PowerCycle, DiscardedTimersWithoutANewCycleEndTheWait) {
    // Apply with the off tick cleared: timers discarded, CycleAbort cleared, no new cycle.
    host.off = SecondsAhead(20);
    host.onPump = [&](int) { state.Discard(); };

    RunPowerCycle(host, state);

    EXPECT_TRUE(RecordedActions().empty());
    EXPECT_EQ(host.pumps, 1);
}

TEST_F(PowerCycle, FailingPowerActionPropagatesAndLeavesTheTimers) {
    { std::ofstream(std::filesystem::path(FileBesideExe(L"power_fail.txt"))) << "x"; }
    host.off = SecondsAhead(0);
    host.wakeTicked = true;
    host.wake = SecondsAhead(3600);

    try {
        RunPowerCycle(host, state);
        FAIL() << "no error";
    } catch (const OsError& e) {
        EXPECT_EQ(e.Code(), 5u);
    }
    EXPECT_TRUE(state.OffTimerActive);
    EXPECT_TRUE(state.WakeTimerActive);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"CloseApplications"}));
}

TEST_F(PowerCycle, FarOffMomentAimsTheCountdownInSteps) {
    host.off = SecondsAhead(60 * 86400);
    host.onPump = [&](int) { state.AbortWait(); };

    RunPowerCycle(host, state);

    ASSERT_EQ(host.calls, (std::vector<std::string>{"ArmCountdown 2147483000"}));
    // Each step that fires aims the next from what is left then; the last
    // one opens the countdown.
    const double off = *RealSecondsOfLocal(host.off);
    const double afterTwoSteps = off - (60 * 86400 - 2 * 2147483);
    EXPECT_EQ(state.ContinueCountdown(afterTwoSteps - 2147483), 2147483000u);
    EXPECT_EQ(state.ContinueCountdown(afterTwoSteps), (60u * 86400 - 2 * 2147483 - 31) * 1000);
    EXPECT_FALSE(state.ContinueCountdown(off - 31));
}

TEST_F(PowerCycle, AMomentPassedWhileTheProgramWasHeldIsSkipped) {
    host.off = SecondsAhead(1);
    host.wakeTicked = true;
    host.wake = SecondsAhead(3600);
    // Held from before the moment to more than the grace after it, as a
    // machine asleep or a thread blocked would be.
    host.onPump = [&](int pass) {
        if (pass == 1) Sleep(7000);
    };

    RunPowerCycle(host, state);

    EXPECT_TRUE(RecordedActions().empty());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"PlanMomentSkipped"}));
    EXPECT_EQ(host.countdownsOpened, (std::vector<int>{1})) << "the seconds left of a plan of short notice";
    EXPECT_FALSE(state.OffTimer);
    EXPECT_FALSE(state.WakeTimerActive) << "no wake armed for a moment not acted on";
}

TEST_F(PowerCycle, AScheduledMomentSkippedLeavesThePlanWaitingForItsOwn) {
    host.off = SecondsAhead(90);
    host.schedulerActive = true;
    const TDateTime scheduled = SecondsAhead(1);
    host.nextOff = host.ComposeMoment(DateOf(scheduled), TimeOf(scheduled));
    state.Warn(OffWarning{*RealSecondsOfLocal(scheduled) - 31, *RealSecondsOfLocal(scheduled)});
    host.countdownVisible = true;
    host.onPump = [&](int pass) {
        if (pass == 1) Sleep(7000);
        if (pass == 2) state.AbortWait();  // the plan's wait is back: enough
    };

    RunPowerCycle(host, state);

    EXPECT_TRUE(RecordedActions().empty());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ScheduledMomentSkipped"}));
    EXPECT_EQ(host.pumps, 2) << "the cycle ended with the skip instead of waiting for the plan";
}

namespace {

class RecordingTimer : public StandingWake::Timer {
public:
    explicit RecordingTimer(std::vector<std::string>& armed) : armed_(armed) {}
    bool Arm(std::int64_t dueTicks) override {
        armed_.push_back(std::to_string(dueTicks));
        return true;
    }
    void Cancel() override { armed_.push_back("cancel"); }

private:
    std::vector<std::string>& armed_;
};

}  // namespace

TEST_F(PowerCycle, TheStandingWakeFollowsItsMomentAndOwnsOnlyItsResumes) {
    std::vector<std::string> armed;
    StandingWake wake(std::make_unique<RecordingTimer>(armed));
    const TDateTime on = SecondsAhead(3600), later = SecondsAhead(7200);
    const auto ticks = [](TDateTime local) { return std::to_string(DueTicksOf(*RealSecondsOfLocal(local))); };

    wake.Keep(on);
    wake.Keep(on);  // unchanged: not armed again
    wake.Keep(later);
    wake.Keep(std::nullopt);  // the scheduler stopped
    EXPECT_EQ(armed, (std::vector<std::string>{ticks(on), ticks(later), "cancel"}));

    // A resume at its due moment runs the tasks after a wake once; the user's
    // resume an hour early none.
    wake.Keep(on);
    const double due = *RealSecondsOfLocal(on);
    EXPECT_FALSE(wake.Ledger().TakeResume(due - 3600, {}));
    EXPECT_EQ(wake.Ledger().TakeResume(due + 3, {}), on);
    EXPECT_FALSE(wake.Ledger().TakeResume(due + 4, {})) << "Windows announces a resume twice";

    host.startSound = true;
    host.restartAfterWake = true;
    RunTimerWakeTasks(host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"KeepAwakeAfterResume", "PlayStartSound", "RunStartupPrograms",
                                                    "StartRestartCountdown"}));
}

// ---- The wait: one kernel wait on the off timer and the message queue.

namespace {

// A window of the test thread whose messages do what a user's would.
class MessageWindow {
public:
    std::function<void(UINT)> onMessage;

    MessageWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZelvarCycleTestMessages";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageWindow() {
        if (poster_.joinable()) poster_.join();
        DestroyWindow(hwnd_);
    }
    // Posts the message from another thread after the delay, while the cycle waits.
    void PostLater(UINT message, DWORD delayMs) {
        poster_ = std::thread([this, message, delayMs] {
            Sleep(delayMs);
            PostMessageW(hwnd_, message, 0, 0);
        });
    }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (self && m >= WM_APP && self->onMessage) {
            self->onMessage(m);
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    }
    HWND hwnd_ = nullptr;
    std::thread poster_;
};

double SecondsSince(TDateTime start) { return (NowLocal() - start) * 86400.0; }

}  // namespace

TEST_F(PowerCycle, WaitSleepsUntilTheOffMomentWithoutIdlePasses) {
    host.off = SecondsAhead(2);
    RunPowerCycle(host, state);

    const auto actions = RecordedActions();
    ASSERT_EQ(actions.size(), 1u);
    const double late = (RecordedMoment(actions[0]) - host.off) * 86400.0;
    EXPECT_GE(late, -0.001) << "before the off moment";
    EXPECT_LT(late, 0.5) << "the timer fired late";
    // Only the message that was there when the cycle began: no passes while nothing happens.
    EXPECT_EQ(host.pumps, 1);
}

TEST_F(PowerCycle, AbortSetByAPostedMessageEndsTheWaitAtOnce) {
    host.off = SecondsAhead(30);
    MessageWindow window;
    window.onMessage = [&](UINT) { state.AbortWait(); };
    window.PostLater(WM_APP, 300);
    const TDateTime start = NowLocal();

    RunPowerCycle(host, state);

    EXPECT_LT(SecondsSince(start), 10.0);
    EXPECT_TRUE(RecordedActions().empty());
    EXPECT_FALSE(state.OffTimer);
    EXPECT_EQ(host.pumps, 2);  // the first message, then the one that cancelled
}

TEST_F(PowerCycle, NestedCycleStartedByAMessageTakesTheWaitOver) {
    host.off = SecondsAhead(30);
    MessageWindow window;
    // Apply pressed again during the wait, with an off moment of now.
    window.onMessage = [&](UINT) {
        state.Discard();
        host.off = SecondsAhead(0);
        RunPowerCycle(host, state);
    };
    window.PostLater(WM_APP, 300);
    const TDateTime start = NowLocal();

    RunPowerCycle(host, state);

    EXPECT_LT(SecondsSince(start), 10.0);
    EXPECT_EQ(RecordedActions().size(), 1u);
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "SelectToday"), 1);
}

TEST_F(PowerCycle, ThePlanAndTheOptionsAreReadAsTheWaitLeftThem) {
    host.off = SecondsAhead(2);
    host.wake = SecondsAhead(3600);
    host.wakeTicked = true;
    MessageWindow window;
    // During the wait the user unticks the wake, chooses power-off and no
    // longer wants the programs closed.
    window.onMessage = [&](UINT) {
        host.wakeTicked = false;
        host.offMode = 0;
        host.closeApplications = false;
    };
    window.PostLater(WM_APP, 300);

    RunPowerCycle(host, state);

    const auto actions = RecordedActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].rfind("PowerOff ", 0), 0u) << actions[0];
    EXPECT_TRUE(host.calls.empty()) << host.calls.front();
    EXPECT_FALSE(state.WakeTimerActive) << "a wake armed for a box no longer ticked";
}

// ---- The night log.

namespace {

std::vector<std::string> NightLog() {
    std::vector<std::string> lines;
    std::ifstream in{std::filesystem::path(FileBesideExe(L"zelvar.log"))};
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line.substr(line.find(' ') + 1));  // without its stamp
    }
    return lines;
}

std::string Iso(TDateTime local) { return FormatLogMoment(LogMomentAt(local)); }

class PowerCycleLog : public PowerCycle {
protected:
    void SetUp() override {
        PowerCycle::SetUp();
        ClearLog();
    }
    void TearDown() override {
        ClearLog();
        PowerCycle::TearDown();
    }
    static void ClearLog() {
        const std::wstring log = FileBesideExe(L"zelvar.log");
        DeleteFileW(log.c_str());
        RemoveDirectoryW(log.c_str());
    }
};

}  // namespace

TEST_F(PowerCycleLog, ACycleWritesItsEventsAndItsEnd) {
    host.off = SecondsAhead(0);
    host.wake = SecondsAhead(3600);
    host.wakeTicked = true;
    RunPowerCycle(host, state);
    EXPECT_EQ(NightLog(),
              (std::vector<std::string>{"start source=plan off=" + Iso(host.off) + " wake=" + Iso(host.wake),
                                        "action hibernate", "resumed", "end done"}));

    // A scheduled wake taken by a plan without its own: both sources.
    ClearLog();
    host.wakeTicked = false;
    host.schedulerActive = true;
    const TDateTime on = SecondsAhead(7200);
    host.nextOn = host.ComposeMoment(DateOf(on), TimeOf(on));
    RunPowerCycle(host, state);
    EXPECT_EQ(NightLog().at(0), "start source=both off=" + Iso(host.off) + " wake=" + Iso(on));

    // Refused: the code is logged and the error still leaves the cycle.
    ClearLog();
    { std::ofstream(std::filesystem::path(FileBesideExe(L"power_fail.txt"))) << "x"; }
    host.schedulerActive = false;
    host.offMode = 0;
    EXPECT_THROW(RunPowerCycle(host, state), OsError);
    EXPECT_EQ(NightLog(), (std::vector<std::string>{"start source=plan off=" + Iso(host.off) + " wake=none",
                                                    "action poweroff", "end refused poweroff code=5"}));
}

TEST_F(PowerCycleLog, AnUnwritableLogChangesNothingElse) {
    // zelvar.log is a folder: no line can be written.
    ASSERT_TRUE(CreateDirectoryW(FileBesideExe(L"zelvar.log").c_str(), nullptr));
    host.off = SecondsAhead(1);
    host.wake = SecondsAhead(3600);
    host.wakeTicked = true;
    host.startSound = true;
    host.restartAfterWake = true;

    RunPowerCycle(host, state);

    const auto actions = RecordedActions();
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].rfind("Hibernate ", 0), 0u);
    std::vector<std::string> expected = {"CloseApplications"};
    expected.insert(expected.end(), kResumeTasks.begin(), kResumeTasks.end());
    EXPECT_EQ(host.calls, expected);
    EXPECT_TRUE(host.wakeArmedAtClose);
    EXPECT_FALSE(state.OffTimer);
}
