// The scheduler's engine with its page never made: it reads scheduler.ini
// beside the executable, starts its tick on the window it is given, starts
// and stops, and the page's routines touch neither controls nor the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/ini_win.h"
#include "common/paths_win.h"
#include "power/countdowns_win.h"
#include "power/ucountform.h"
#include "scheduler/schedule_file.h"
#include "scheduler/scheduler_engine_win.h"
#include "scheduler/scheduler_ids.h"
#include "scheduler/scheduler_page_win.h"
#include "scheduler/sheddays_win.h"

namespace zelvar {
namespace {

std::optional<std::string> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

// Whether the window gets the timer's tick within two seconds (a timer of
// the test's own ends the wait).
bool TickArrives(HWND window, UINT_PTR id) {
    constexpr UINT_PTR kGiveUp = 99;
    SetTimer(window, kGiveUp, 2000, nullptr);
    MSG msg;
    bool arrived = false;
    while (GetMessageW(&msg, window, WM_TIMER, WM_TIMER) > 0) {
        if (msg.wParam == id) arrived = true;
        if (arrived || msg.wParam == kGiveUp) break;
    }
    KillTimer(window, kGiveUp);
    return arrived;
}

class SchedulerEngineAlone : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = ReadBytes(path_);
        // Every day but Monday off at 23:59:59; Monday is not in the file.
        std::string week = "[Week]\r\n";
        for (int day = 2; day <= 7; ++day)
            week += "off_check1_" + std::to_string(day) + "=1\r\noff_time1_" + std::to_string(day) + "=23:59:59\r\n";
        WriteBytes(path_, week);
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        engine_.Attach(window_);
    }
    void TearDown() override {
        KillTimer(window_, TIMER_SCHEDULER);
        DestroyWindow(window_);
        if (saved_) WriteBytes(path_, *saved_);
        else DeleteFileW(path_.c_str());
    }

    const std::wstring path_ = FileBesideExe(L"scheduler.ini");
    std::optional<std::string> saved_;
    HWND window_ = nullptr;
    PowerCycleState cycle_;
    TCountForm countForm_;
    Countdowns countdowns_{cycle_, countForm_};
    MessageTexts messages_;
    LocaleFormats formats_ = RussianFormats();
    std::vector<bool> runningSaved_;
    int changes_ = 0;
    SchedulerEngine engine_{SchedulerEngine::Links{
        cycle_, countForm_, countdowns_, messages_, formats_, [] { return std::optional<TDateTime>(); }, [] {},
        [this](bool running) { runningSaved_.push_back(running); }, [this] { ++changes_; }}};
};

TEST_F(SchedulerEngineAlone, RunsFromTheFileAndTheUnmadePageLeavesAllAlone) {
    Tfsheddays copyDialog;
    SchedulerPage page(engine_, {copyDialog, messages_, formats_, [](const std::wstring& key) { return key; }});

    // At start Monday is written back as the editor would show it, the
    // moments come from the file and the tick runs on the window given.
    engine_.SetTag(1);
    engine_.StartUp();
    const ScheduleDay monday = ReadScheduleDay(IniFile(path_), 1);
    EXPECT_EQ(monday, (ScheduleDay{L"0", L"8:00:00", L"0", L"20:00:00"}));
    EXPECT_TRUE(engine_.NextOff.Has);
    EXPECT_FALSE(engine_.NextOn.Has);
    EXPECT_TRUE(TickArrives(window_, TIMER_SCHEDULER));
    EXPECT_GT(changes_, 0);
    page.ShowEngineState();

    // The page's routines do nothing to a file or a control they do not have.
    const std::optional<std::string> before = ReadBytes(path_);
    page.SelectToday();
    page.CommitEdits();
    page.SaveScheduleDay(3);
    engine_.PNGButton8Click();  // stop: saved, the tick off
    EXPECT_FALSE(engine_.Running());
    EXPECT_FALSE(TickArrives(window_, TIMER_SCHEDULER));
    engine_.PNGButton8Click();  // start
    EXPECT_TRUE(engine_.Running());
    EXPECT_EQ(runningSaved_, (std::vector<bool>{false, true}));
    EXPECT_EQ(ReadBytes(path_), before);

    // A policy that keeps it stopped stops it without saving the state, and
    // its week is what the moments come from.
    engine_.ApplyPolicy({{ScheduleTickKey(ScheduleDirection::On, 4), L"1"}}, false, false);
    EXPECT_FALSE(engine_.Running());
    EXPECT_EQ(runningSaved_.size(), 2u);
    engine_.ApplyPolicy({{ScheduleTickKey(ScheduleDirection::On, 4), L"1"}}, std::nullopt, true);
    EXPECT_TRUE(engine_.Running());
    EXPECT_TRUE(engine_.NextOn.Has);
    EXPECT_EQ(ReadBytes(path_), before);
}

}  // namespace
}  // namespace zelvar
