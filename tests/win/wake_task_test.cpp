// The wake task through Windows' Task Scheduler for real (Wine keeps a
// task's settings but drops its triggers, principal and action on reading
// back, so those are checked on the definition itself, in the unit tests),
// and the keeper that writes it off the window thread.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "power/wake_task_win.h"
#include "support/task_scheduler_probe.h"

using namespace zelvar;

namespace {

const std::wstring kName = WakeTaskName(L"S-1-5-21-1-2-3-1001");

class WakeTask : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    void TearDown() override {
        MakeTaskSchedulerRegistrar()->Remove(kName);
        SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_TASK", nullptr);
        CoUninitialize();
    }
    WakeTaskPlan Plan() const {
        WakeTaskPlan plan;
        plan.weekly[2] = 7.5 / 24;  // Wednesday 07:30
        return plan;
    }
    WakeTaskIdentity Who() const {
        return {L"C:\\Program Files\\Zelvar & Co\\zelvar.exe", L"S-1-5-21-1-2-3-1001", L"Wakes"};
    }
};

TEST_F(WakeTask, IsWrittenAndRemovedThroughTheTaskSchedulersInterfaces) {
    const auto registrar = MakeTaskSchedulerRegistrar();
    const TDateTime today = 46364;  // 2026-12-08
    ASSERT_EQ(registrar->Register(kName, WakeTaskXml(Plan(), Who(), today)).hr, S_OK);
    test::HeldTask held = test::ReadBackTask(kName);
    ASSERT_TRUE(held.found);
    EXPECT_EQ(held.wakeToRun, VARIANT_TRUE);
    EXPECT_EQ(held.noBattery, VARIANT_FALSE) << "a laptop on battery must wake too";
    EXPECT_EQ(held.timeLimit, kWakeTaskTimeLimit);

    // Written again over itself (the next change), then removed; a task
    // that is not there any more counts as removed.
    EXPECT_EQ(registrar->Register(kName, WakeTaskXml(Plan(), Who(), today + 1)).hr, S_OK);
    EXPECT_EQ(registrar->Remove(kName).hr, S_OK);
    EXPECT_FALSE(test::ReadBackTask(kName).found);
    EXPECT_EQ(registrar->Remove(kName).hr, S_OK);
}

// A window of the test thread for the keeper's outcomes.
class OutcomeWindow {
public:
    static constexpr UINT kDone = WM_APP + 3;
    OutcomeWindow() {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~OutcomeWindow() { DestroyWindow(hwnd_); }
    HWND get() const { return hwnd_; }
    // The next outcome the keeper posts, waited for in the message queue.
    LPARAM Next(DWORD timeoutMs = 20000) {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        for (;;) {
            MSG msg;
            while (PeekMessageW(&msg, hwnd_, 0, 0, PM_REMOVE))
                if (msg.message == kDone) return msg.lParam;
            const ULONGLONG now = GetTickCount64();
            if (now >= end) return 0;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
        }
    }

private:
    HWND hwnd_ = nullptr;
};

TEST_F(WakeTask, TheKeeperWritesEachChangeOnceRemovesItWhenNoWakeIsLeftAndSaysWhenRefused) {
    OutcomeWindow window;
    {
        WakeTaskKeeper keeper;
        keeper.Attach(window.get(), OutcomeWindow::kDone);
        keeper.Keep(Plan(), Who(), 46364);
        auto done = keeper.TakeDone(window.Next());
        ASSERT_TRUE(done);
        EXPECT_EQ(done->outcome.hr, S_OK);
        EXPECT_EQ(keeper.Held(), true);
        EXPECT_TRUE(test::ReadBackTask(kName).found);

        keeper.Keep(Plan(), Who(), 46364);  // nothing changed: nothing asked
        keeper.Keep(WakeTaskPlan{}, Who(), 46364);
        done = keeper.TakeDone(window.Next());
        ASSERT_TRUE(done);
        EXPECT_TRUE(done->removal);
        EXPECT_EQ(keeper.Held(), std::nullopt);
        EXPECT_FALSE(test::ReadBackTask(kName).found);
    }
    // A Task Scheduler that refuses: the keeper says so, and asks again at
    // the next change, even the same one.
    SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_TASK", L"refuse");
    WakeTaskKeeper keeper;
    keeper.Attach(window.get(), OutcomeWindow::kDone);
    keeper.Keep(Plan(), Who(), 46364);
    auto done = keeper.TakeDone(window.Next());
    ASSERT_TRUE(done);
    EXPECT_EQ(done->outcome.hr, E_ACCESSDENIED);
    EXPECT_EQ(keeper.Held(), false);
    EXPECT_EQ(WakeTaskHeldNow(), false);
    keeper.Keep(Plan(), Who(), 46364);
    EXPECT_TRUE(keeper.TakeDone(window.Next()));
}

}  // namespace
