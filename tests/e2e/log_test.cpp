// The night log, zelvar.log, through the real controls of the test build: a
// plan's whole cycle with its moments as entered, a plan cancelled on the
// page, a log that cannot be written, and the about page's link to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "driver.h"

#include <commctrl.h>

#include "plan_steps.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

// A local moment as the log writes it: ISO 8601 to the second with the
// offset from UTC in force at it.
std::string Iso(const SYSTEMTIME& local) {
    SYSTEMTIME utc{};
    int offset = 0;
    if (TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc))
        offset = static_cast<int>(std::lround(SecondsBetween(local, utc) / 60));
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u%c%02d:%02d", local.wYear, local.wMonth, local.wDay,
                  local.wHour, local.wMinute, local.wSecond, offset < 0 ? '-' : '+', std::abs(offset) / 60,
                  std::abs(offset) % 60);
    return text;
}

// The log's lines without their stamps ("start source=plan ...", "end done").
struct LogLine {
    std::string stamp, event;
};

std::vector<LogLine> NightLog(const AppRun& run) {
    std::vector<LogLine> lines;
    const std::string bytes = ReadFileBytes(run.PathOf(L"zelvar.log")).value_or("");
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        lines.push_back({line.substr(0, blank), line.substr(blank + 1)});
    }
    return lines;
}

std::string Events(const std::vector<LogLine>& lines) {
    std::string out;
    for (const LogLine& l : lines) out += l.stamp + " " + l.event + "\n";
    return out;
}

bool Logged(const AppRun& run, const std::string& event) {
    for (const LogLine& l : NightLog(run))
        if (l.event == event) return true;
    return false;
}

// Top-level windows of any process whose title holds part.
std::vector<HWND> WindowsTitledWith(const std::wstring& part) {
    struct Search {
        std::wstring part;
        std::vector<HWND> found;
    } search{part, {}};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (TextOf(w).find(s->part) != std::wstring::npos && IsWindowVisible(w)) s->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void EndProcessesOf(const std::vector<HWND>& windows) {
    for (HWND w : windows) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        Process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid), pid)
            .Kill();
    }
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveRunValues(); }
    void TearDown() override {
        RemoveRunValues();
        EndProcessesOf(WindowsTitledWith(L"zelvar.log"));
    }

    // The about page, as the last node of the tree opens it.
    void OpenAboutPage(AppRun& run) {
        SelectNode(run.Control(IDC_TREEVIEW1), 5);
        ASSERT_TRUE(WaitFor([&] { return OwnVisible(run.Control(IDC_PANEL7)); }));
    }
};

TEST_F(LogTest, APlansCycleWritesItsMomentsAsEnteredAndEndsDone) {
    AppRun run(L"log_plan_done");
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    // Soon, and the wake far enough not to come.
    const SYSTEMTIME wake = LocalTimeIn(600);
    SYSTEMTIME off{};
    ArmPlanIn(run, kSoonLeadSeconds, &off, &wake);
    ASSERT_TRUE(WaitFor([&] { return Logged(run, "end done"); }, kAtOffTimeoutMs)) << Events(NightLog(run));

    const std::vector<LogLine> lines = NightLog(run);
    ASSERT_EQ(lines.size(), 4u) << Events(lines);
    EXPECT_EQ(lines[0].event, "start source=plan off=" + Iso(off) + " wake=" + Iso(wake));
    EXPECT_EQ(lines[1].event, "action hibernate");
    EXPECT_EQ(lines[2].event, "resumed");
    EXPECT_EQ(lines[3].event, "end done");
    // Stamped in order, the action at the off moment.
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_LE(lines[i - 1].stamp, lines[i].stamp) << Events(lines);
    EXPECT_LT(lines[0].stamp, Iso(off));
    EXPECT_GE(lines[1].stamp, Iso(off));
    const auto actions = RecordedPowerActions(run);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].action, "Hibernate");
    // The resume tasks ran: the page is back in its editing view.
    EXPECT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));
}

TEST_F(LogTest, APlanCancelledOnThePageEndsCancelledAndPowersNothingDown) {
    AppRun run(L"log_plan_cancel");
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    SYSTEMTIME off{};
    ArmPlanIn(run, kSoonLeadSeconds, &off);
    ASSERT_TRUE(WaitFor([&] { return !NightLog(run).empty(); })) << "no start line";
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON5)));
    ASSERT_TRUE(WaitFor([&] { return Logged(run, "end cancelled-page"); })) << Events(NightLog(run));
    // Past the off moment: nothing more, neither in the log nor as an action.
    EXPECT_TRUE(StaysFalse([&] { return NightLog(run).size() != 2 || !RecordedPowerActions(run).empty(); },
                           static_cast<DWORD>(std::max(0.0, SecondsBetween(off, NowLocal())) * 1000 + 1500)));
    const std::vector<LogLine> lines = NightLog(run);
    ASSERT_EQ(lines.size(), 2u) << Events(lines);
    EXPECT_EQ(lines[0].event, "start source=plan off=" + Iso(off) + " wake=none");
    EXPECT_EQ(lines[1].event, "end cancelled-page");
}

TEST_F(LogTest, AnUnwritableLogChangesNothingElse) {
    AppRun run(L"log_unwritable");
    // A folder where the log would be: no line can be written.
    ASSERT_TRUE(CreateDirectoryW(run.PathOf(L"zelvar.log").c_str(), nullptr));
    ASSERT_NE(StartOnPlanPage(run), nullptr);
    SYSTEMTIME off{};
    ArmPlanIn(run, kSoonLeadSeconds, &off);
    ASSERT_TRUE(WaitFor([&] { return !RecordedPowerActions(run).empty(); }, kAtOffTimeoutMs)) << "nothing recorded";
    const auto actions = RecordedPowerActions(run);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].action, "Hibernate");
    const double late = SecondsBetween(actions[0].at, off);
    EXPECT_GE(late, -0.05);
    EXPECT_LT(late, 1.5);
    std::printf("[ measure  ] with an unwritable log the action came %.3f s after the off moment\n", late);
    // The resume tasks ran, no message came up, and the folder is as it was.
    EXPECT_TRUE(WaitFor([&] { return !OwnVisible(run.Control(IDC_PANEL6)); }));
    EXPECT_EQ(run.WaitForMessageBox(1500), nullptr) << "a message box came up";
    EXPECT_TRUE(GetFileAttributesW(run.PathOf(L"zelvar.log").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(ListFolder(run.PathOf(L"zelvar.log")).empty());
    EXPECT_TRUE(run.Proc().Running());
    ASSERT_TRUE(run.ExitFromTray());
}

TEST_F(LogTest, TheLogLinkOpensTheLogAndBeforeTheFirstCycleAnEmptyOne) {
    AppRun run(L"log_link");
    HWND main = StartOnPlanPage(run);
    ASSERT_NE(main, nullptr);
    OpenAboutPage(run);
    HWND link = run.Control(IDC_LOGLINK);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(TextOf(link), ReadUtf8IniValue(run.PathOf(L"languages\\English.ini"), "log"));
    // Under the history link, as wide.
    RECT history{}, log{};
    GetWindowRect(run.Control(IDC_LABEL23), &history);
    GetWindowRect(link, &log);
    EXPECT_GE(log.top, history.bottom);
    EXPECT_EQ(log.left, history.left);
    EXPECT_EQ(log.right, history.right);
    SaveScreenshot(main, L"about_page_log_link");

    // No cycle yet: the click makes an empty log and an editor shows it.
    ASSERT_EQ(GetFileAttributesW(run.PathOf(L"zelvar.log").c_str()), INVALID_FILE_ATTRIBUTES);
    PostClick(link);
    EXPECT_TRUE(WaitFor([] { return !WindowsTitledWith(L"zelvar.log").empty(); }, 20000)) << "nothing opened";
    EXPECT_EQ(ReadFileBytes(run.PathOf(L"zelvar.log")).value_or("<none>"), "");
    EndProcessesOf(WindowsTitledWith(L"zelvar.log"));
    ASSERT_TRUE(WaitFor([] { return WindowsTitledWith(L"zelvar.log").empty(); }));

    // The text follows the language applied.
    SelectComboItem(run.Control(IDC_COMBOBOX1), 2);
    ASSERT_TRUE(Click(run.Control(IDC_PNGBUTTON3)));
    EXPECT_EQ(TextOf(link), ReadUtf8IniValue(run.PathOf(L"languages\\Deutsch.ini"), "log"));
    ASSERT_TRUE(run.ExitFromTray());
}

}  // namespace
}  // namespace zelvar::e2e
