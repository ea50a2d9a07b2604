// The online services through the test build, its site being a local server
// of the test (ZELVAR_TEST_SITE): the update check a real minute after the
// start, its one question and the product page, a stalled download beside a
// power-down, and the history window.
//
// The first check comes a real minute after the start. Runs that wait for it
// wait together: once a run's main window is up, the driver changes that
// window's title, which is the program's single-instance sign, so that the
// next copy can start in its own folder while the first one waits.
#include "support/http_test_server.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <sstream>
#include <thread>

#include "driver.h"
#include "app/test_seams.h"
#include "remote_pickers.h"

namespace zelvar::e2e {
namespace {

using test::HttpReply;
using test::HttpTestServer;

constexpr char kVersionPath[] = "/soft/ver.txt";
constexpr char kHistoryPath[] = "/soft/zelvar_history.txt";
constexpr char kProductPath[] = "/index.php?option=com_content&view=article&id=185:zelvar&catid=51:utiliti&Itemid=79";
const wchar_t* const kLanguageFiles[3] = {L"Russian.ini", L"English.ini", L"Deutsch.ini"};
const wchar_t* const kLanguageNames[3] = {L"ru", L"en", L"de"};
constexpr int kRussian = 0, kEnglish = 1, kGerman = 2;
constexpr double kFirstCheckSeconds = 60.0;

std::string VersionFile(const std::string& version) { return "[VER_INFO]\r\ncurrent_version=" + version + "\r\n"; }

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

std::string Encode(const std::wstring& text, UINT codePage) {
    const int n =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

double SecondsFrom(ULONGLONG from, ULONGLONG to) { return static_cast<double>(to) / 1000.0 - from / 1000.0; }

// A control's rectangle in its parent's client coordinates.
RECT ChildRect(HWND control) {
    RECT rc{};
    GetWindowRect(control, &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// One run of the program with a site of its own. The server is declared
// first, so it outlives the program.
struct SiteRun {
    explicit SiteRun(const std::wstring& scenario) : run(scenario) {}
    HttpTestServer server;
    AppRun run;
    HWND main = nullptr;
    ULONGLONG shownAt = 0;  // the first activation, as the test build publishes it

    std::wstring Lang(int language, const char* key) const {
        return ReadUtf8IniValue(run.PathOf(L"languages\\") + kLanguageFiles[language], key);
    }
    // The program's message box, if one is shown.
    HWND Box() {
        for (HWND w : run.Proc().Windows(kDialogClass))
            if (IsWindowVisible(w) && FindControl(w, IDOK)) return w;
        return nullptr;
    }
    HWND History() {
        auto windows = run.Proc().Windows(ZELVAR_HISTORY_CLASS);
        return windows.empty() ? nullptr : windows.front();
    }
    bool HistoryShown() {
        HWND w = History();
        return w && IsWindowVisible(w);
    }
    // When the test build recorded the action, if it did.
    std::optional<SYSTEMTIME> Logged(const std::string& action) {
        const auto bytes = ReadFileBytes(run.PathOf(L"power_actions.log"));
        if (!bytes) return std::nullopt;
        std::istringstream in(*bytes);
        std::string line;
        while (std::getline(in, line)) {
            char name[32] = {};
            int y, mo, d, h, mi, s, ms;
            if (sscanf(line.c_str(), "%31s %d-%d-%d %d:%d:%d.%d", name, &y, &mo, &d, &h, &mi, &s, &ms) == 8 &&
                action == name)
                return SYSTEMTIME{static_cast<WORD>(y), static_cast<WORD>(mo), 0,
                                  static_cast<WORD>(d), static_cast<WORD>(h),  static_cast<WORD>(mi),
                                  static_cast<WORD>(s), static_cast<WORD>(ms)};
        }
        return std::nullopt;
    }
};

struct Start {
    int language = kEnglish;
    bool checkUpdates = true;
    bool tray = false;  // hidden into the tray after the start
};

// Starts the program, settled (no first start), on its own site; waits until
// it is up (a start into the tray hides the window again at once); then
// changes its window's title so that the next run may start beside it. A
// failure names the step.
::testing::AssertionResult Launch(SiteRun& r, const Start& how) {
    if (!r.server.Start()) return ::testing::AssertionFailure() << "the site: the local server did not start";
    r.run.WriteConfig(std::string("[OPTIONS]\r\nfs=0\r\nautoload=0\r\nlogosound=0\r\nallclose=0\r\n") +
                      "resetafteron=0\r\ntray=" + (how.tray ? "1" : "0") + "\r\nautoupd=" +
                      (how.checkUpdates ? "1" : "0") + "\r\nlng=" + std::to_string(how.language) + "\r\n");
    r.run.SetEnvironment(L"ZELVAR_TEST_SITE", r.server.Site());
    if (auto up = r.run.StartUp(); !up) return up;
    r.main = r.run.Main();
    r.shownAt = r.run.ActivatedAt();
    SetText(r.main, std::wstring(kMainCaption) + L" - " + r.run.Scenario());
    if (!WaitFor([] { return FindWindowW(nullptr, kMainCaption) == nullptr; }))
        return ::testing::AssertionFailure() << "the title: a window is still titled \"" << Narrow(kMainCaption)
                                             << "\", so the next run could not start";
    return ::testing::AssertionSuccess();
}

class OnlineTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveRunValues(); }
    void TearDown() override { RemoveRunValues(); }
};

TEST_F(OnlineTest, CheckAMinuteAfterTheStartAsksOnceAndOnlyAboutANewerVersion) {
    BrowserRecorder browser;
    enum class Answer { None, Ok, Cancel, Close };
    struct Case {
        const wchar_t* name;
        int language;
        HttpReply reply;
        bool checkUpdates;
        Answer answer;  // None: no question may come
    };
    // Bytes that are no version file, with the key outside any section.
    std::string garbage = "current_version=1.8\r\n";
    for (unsigned i = 0, x = 7; i < 3000; ++i) garbage += static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    const Case cases[] = {
        {L"update_de_cancel", kGerman, HttpReply::Ok(VersionFile("1.8")), true, Answer::Cancel},
        {L"update_en_ok", kEnglish, HttpReply::Ok(VersionFile("1.8")), true, Answer::Ok},
        {L"update_ru_closed", kRussian, HttpReply::Ok(VersionFile("2.0")), true, Answer::Close},
        {L"update_same_version", kEnglish, HttpReply::Ok(VersionFile("1.7")), true, Answer::None},
        // A newer version in an error page is no published version.
        {L"update_not_found", kEnglish, HttpReply::Status(404, "Not Found", VersionFile("9.9")), true, Answer::None},
        {L"update_garbage", kEnglish, HttpReply::Ok(garbage), true, Answer::None},
        {L"update_unticked", kEnglish, HttpReply::Ok(VersionFile("1.8")), false, Answer::None},
    };
    constexpr size_t n = std::size(cases);

    // All in the tray, as the program usually waits; the question must show all the same.
    std::vector<std::unique_ptr<SiteRun>> runs;
    for (const Case& c : cases) {
        runs.push_back(std::make_unique<SiteRun>(c.name));
        runs.back()->server.Serve(kVersionPath, c.reply);
        ASSERT_TRUE(Launch(*runs.back(), {c.language, c.checkUpdates, true})) << Narrow(c.name);
    }

    // Each request and each question as it comes.
    struct Seen {
        ULONGLONG requestAt = 0, questionAt = 0;
        HWND box = nullptr;
    };
    std::vector<Seen> seen(n);
    const ULONGLONG deadline = runs.back()->shownAt + 75000;
    WaitFor(
        [&] {
            const ULONGLONG now = GetTickCount64();
            bool all = true;
            for (size_t i = 0; i < n; ++i) {
                if (!seen[i].requestAt) seen[i].requestAt = runs[i]->server.FirstRequestAt(kVersionPath);
                if (!seen[i].box && (seen[i].box = runs[i]->Box())) seen[i].questionAt = now;
                if (cases[i].checkUpdates && !seen[i].requestAt) all = false;
                if (cases[i].answer != Answer::None && !seen[i].box) all = false;
            }
            return all;
        },
        static_cast<DWORD>(deadline - std::min(deadline, GetTickCount64())));
    // A question where none may come would show within a moment of its
    // download (and the two minutes below watch for a later one).
    EXPECT_TRUE(StaysFalse(
        [&] {
            for (size_t i = 0; i < n; ++i)
                if (cases[i].answer == Answer::None && runs[i]->Box()) return true;
            return false;
        },
        3000))
        << "a question came where none may";

    for (size_t i = 0; i < n; ++i) {
        const Case& c = cases[i];
        SiteRun& r = *runs[i];
        SCOPED_TRACE(Narrow(c.name));
        if (!c.checkUpdates) {
            EXPECT_EQ(r.server.TotalRequests(), 0);
            continue;
        }
        ASSERT_NE(seen[i].requestAt, 0u) << "no check";
        EXPECT_NEAR(SecondsFrom(r.shownAt, seen[i].requestAt), kFirstCheckSeconds, 3.0);
        if (c.answer == Answer::None) {
            EXPECT_EQ(r.Box(), nullptr) << DialogText(r.Box());
            continue;
        }
        HWND box = seen[i].box;
        ASSERT_NE(box, nullptr) << "no question";
        EXPECT_LT(SecondsFrom(seen[i].requestAt, seen[i].questionAt), 5.0);
        EXPECT_EQ(TextOf(box), kApplicationTitle);
        EXPECT_EQ(DialogText(box), r.Lang(c.language, "msupdate"));
        EXPECT_NE(FindControl(box, IDCANCEL), nullptr);
        SaveScreenshot(box, std::wstring(L"update_question_") + kLanguageNames[c.language]);
        switch (c.answer) {
            case Answer::Ok: PostMessageW(box, WM_COMMAND, IDOK, 0); break;
            case Answer::Cancel: PostMessageW(box, WM_COMMAND, IDCANCEL, 0); break;
            default: PostMessageW(box, WM_CLOSE, 0, 0); break;
        }
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kCloseTimeoutMs));
    }

    // OK opened the product page of its own site; Cancel and closing opened nothing.
    const std::string page = Narrow(runs[1]->server.Site()) + kProductPath;
    EXPECT_TRUE(WaitFor([&] { return !browser.Opened().empty(); }, 15000)) << "OK opened nothing";

    // No run checks again, none asks again: for two minutes after the answers, nothing.
    EXPECT_TRUE(StaysFalse(
        [&] {
            for (size_t i = 0; i < n; ++i)
                if (runs[i]->server.Requests(kVersionPath) > (cases[i].checkUpdates ? 1 : 0) || runs[i]->Box())
                    return true;
            return browser.Opened().size() > 1;
        },
        120000));
    for (size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(Narrow(cases[i].name));
        EXPECT_EQ(runs[i]->server.TotalRequests(), cases[i].checkUpdates ? 1 : 0);
        EXPECT_EQ(runs[i]->Box(), nullptr);
        EXPECT_TRUE(runs[i]->run.Proc().Running());
    }
    EXPECT_EQ(browser.Opened(), std::vector<std::string>{page});
}

// Probes the window with WM_NULL from the moment the server has the request
// until spanMs later; the longest time a probe waited, in milliseconds.
struct Probes {
    double longestMs = 0;
    int count = 0, unanswered = 0;
};
Probes ProbeWhileStalled(HWND window, const HttpTestServer& server, DWORD spanMs, DWORD waitForRequestMs) {
    Probes probes;
    if (!WaitFor([&] { return server.Requests(kVersionPath) > 0; }, waitForRequestMs)) return probes;
    LARGE_INTEGER frequency, end, t0, t1;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&end);
    end.QuadPart += frequency.QuadPart * spanMs / 1000;
    do {
        QueryPerformanceCounter(&t0);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) ++probes.unanswered;
        QueryPerformanceCounter(&t1);
        probes.longestMs = std::max(probes.longestMs, (t1.QuadPart - t0.QuadPart) * 1000.0 / frequency.QuadPart);
        ++probes.count;
        Sleep(20);
    } while (t1.QuadPart < end.QuadPart);
    return probes;
}

// Ticks the off box, sets the off moment and applies a plan without a wake
// (hibernate, the list's choice after the language is applied).
void ArmPlan(SiteRun& r, const SYSTEMTIME& off) {
    PostMenuCommand(r.main, IDM_N4_ONOFF);
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(r.run.Control(IDC_PANEL4)); }));
    ASSERT_TRUE(Click(r.run.Control(IDC_CHECKBOX3)));
    ASSERT_TRUE(SetPickerTime(r.run.Control(IDC_DATETIMEPICKER1), off));
    ASSERT_TRUE(SetPickerTime(r.run.Control(IDC_DATETIMEPICKER2), off));
    ASSERT_EQ(ComboSelection(r.run.Control(IDC_COMBOBOX2)), 1);
    PostClick(r.run.Control(IDC_PNGBUTTON2));  // the cycle runs inside the click
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(r.run.Control(IDC_PANEL6)); })) << "the plan was not armed";
}

SYSTEMTIME SecondsAfter(ULONGLONG tick, double seconds) {
    return LocalTimeIn(static_cast<int>(seconds - SecondsFrom(tick, GetTickCount64()) + 0.5));
}

TEST_F(OnlineTest, UpdateCheckNeverHoldsUpAPowerDown) {
    // newer: 1.8 is found while a plan's cycle waits for its off moment.
    // stalled: the answer stops after its headers and the download waits up
    // to its limit of 30 seconds; a plan's countdown falls into that time.
    // Every cycle waits on the one system-wide timer of the program, so the
    // two plans follow each other: the stalled run's once the other's is over.
    SiteRun newer(L"update_while_powering_down"), stalled(L"update_stalled");
    newer.server.Serve(kVersionPath, HttpReply::Ok(VersionFile("1.8")));
    stalled.server.Serve(kVersionPath, HttpReply::StallAfterHeaders());
    ASSERT_TRUE(Launch(newer, {}));
    ASSERT_TRUE(Launch(stalled, {}));
    const SYSTEMTIME newerOff = SecondsAfter(newer.shownAt, kFirstCheckSeconds + 6);
    ASSERT_NO_FATAL_FAILURE(ArmPlan(newer, newerOff));

    Probes probes;
    std::thread prober([&] { probes = ProbeWhileStalled(stalled.main, stalled.server, 27000, 90000); });
    struct Join {
        std::thread& t;
        ~Join() {
            if (t.joinable()) t.join();
        }
    } join{prober};

    // The newer version: found while the cycle waited, asked only once the
    // machine was down and up again; the power-down came on time.
    bool askedBeforeThePowerDown = false;
    ULONGLONG requestAt = 0;  // for the failure messages
    const bool asked = WaitFor(
        [&] {
            requestAt = newer.server.FirstRequestAt(kVersionPath);
            if (!newer.Box()) return false;
            askedBeforeThePowerDown = !newer.Logged("Hibernate");
            return true;
        },
        90000);
    SCOPED_TRACE(::testing::Message() << "seconds after the start: check " << SecondsFrom(newer.shownAt, requestAt)
                                      << ", countdown " << SecondsFrom(newer.shownAt, newer.run.Countdown().at)
                                      << ", question " << SecondsFrom(newer.shownAt, GetTickCount64())
                                      << ", off moment " << kFirstCheckSeconds + 6);
    EXPECT_EQ(newer.server.Requests(kVersionPath), 1);
    const auto newerAction = newer.Logged("Hibernate");
    ASSERT_TRUE(newerAction) << "no power action";
    // Not before its moment; how long after it is the machine's to say (printed below).
    EXPECT_GE(SecondsBetween(*newerAction, newerOff), -0.05);
    ASSERT_TRUE(asked) << "no question after the power-down";
    EXPECT_FALSE(askedBeforeThePowerDown);
    HWND box = newer.Box();
    EXPECT_EQ(DialogText(box), newer.Lang(kEnglish, "msupdate"));
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kCloseTimeoutMs));

    // The stalled download: a plan armed while it waits counts down on time,
    // and the window answers throughout.
    // Placed from the moment its check came (the server's own), which may
    // be later than the other run's on a busy machine.
    ASSERT_TRUE(WaitFor([&] { return stalled.server.FirstRequestAt(kVersionPath) != 0; }, 60000)) << "no check";
    const ULONGLONG stallFrom = stalled.server.FirstRequestAt(kVersionPath);
    ASSERT_LT(SecondsFrom(stallFrom, GetTickCount64()), 20) << "too late for the plan";
    const SYSTEMTIME stalledOff = SecondsAfter(stallFrom, 55);
    ASSERT_NO_FATAL_FAILURE(ArmPlan(stalled, stalledOff));
    ASSERT_TRUE(WaitFor([&] { return stalled.run.Countdown().count > 0; }, 60000)) << "no countdown";
    // Opened in full, not earlier than 31 s ahead, while the download still stalled.
    const auto countdown = stalled.run.Countdown();
    EXPECT_EQ(countdown.shown, L"00:30");
    EXPECT_LT(SecondsBetween(stalledOff, NowLocal()) + SecondsSince(countdown.at), 32.5);
    EXPECT_LT(SecondsFrom(stallFrom, countdown.at), 29) << "after the stall";
    ASSERT_TRUE(WaitFor([&] { return stalled.Logged("Hibernate").has_value(); }, 40000)) << "no power action";
    const auto stalledAction = stalled.Logged("Hibernate");
    EXPECT_GE(SecondsBetween(*stalledAction, stalledOff), -0.05);
    std::printf(
        "[ measure  ] power actions after their moments: %.3f s beside a found version, %.3f s after a "
        "stalled download\n",
        SecondsBetween(*newerAction, newerOff), SecondsBetween(*stalledAction, stalledOff));
    prober.join();
    ASSERT_GT(probes.count, 0);
    // A download on the window thread would hold it for the whole stall: a
    // probe would then wait out its 5 s. How quickly the window answers on a
    // busy machine is a measurement (printed below), not a pass or a fail.
    EXPECT_EQ(probes.unanswered, 0);
    std::printf("[ measure  ] main window during a stalled download: %d WM_NULL probes over 27 s, longest %.1f ms\n",
                probes.count, probes.longestMs);
    EXPECT_EQ(stalled.server.Requests(kVersionPath), 1);
    EXPECT_EQ(stalled.Box(), nullptr) << "a failed download asked";
}

// A history of several hundred lines in Russian and German.
std::wstring LongHistory() {
    std::wstring text =
        L"Zelvar: \u0438\u0441\u0442\u043e\u0440\u0438\u044f \u0438\u0437\u043c\u0435\u043d\u0435"
        L"\u043d\u0438\u0439 / \u00c4nderungsverlauf\r\n";
    for (int i = 400; i >= 1; --i)
        text += L"1." + std::to_wstring(i) +
                L": \u0438\u0441\u043f\u0440\u0430\u0432\u043b\u0435\u043d\u044b "
                L"\u043e\u0448\u0438\u0431\u043a\u0438; gr\u00f6\u00dfere \u00c4nderungen f\u00fcr "
                L"den Zeitplan\r\n";
    return text + L"\u041a\u043e\u043d\u0435\u0446 / Ende\r\n";
}

// A newer one, in Russian only, as a Windows-1251 file with bare LF line ends.
std::wstring NewerHistory() {
    std::wstring text;
    for (int i = 0; i < 60; ++i)
        text += L"1.8: \u043d\u043e\u0432\u043e\u0435 \u0432 \u0432\u0435\u0440\u0441\u0438\u0438 " +
                std::to_wstring(i) + L"\r\n";
    return text;
}
std::string WithBareLineFeeds(std::string bytes) {
    std::erase(bytes, '\r');
    return bytes;
}

int FirstVisibleLine(HWND memo) {
    DWORD_PTR line = 0;
    SendMessageTimeoutW(memo, EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_NORMAL, kStateTimeoutMs, &line);
    return static_cast<int>(line);
}

TEST_F(OnlineTest, HistoryShowsTheServedChangesInAnyLanguageAndTheLastCopyWithoutASite) {
    SiteRun r(L"history");
    r.server.Serve(kHistoryPath, HttpReply::Ok(Encode(LongHistory(), CP_UTF8)));
    ASSERT_TRUE(Launch(r, {kEnglish, false}));
    SelectNode(r.run.Control(IDC_TREEVIEW1), 5);
    ASSERT_TRUE(WaitFor([&] { return OwnVisible(r.run.Control(IDC_PANEL7)); }));
    HWND link = r.run.Control(IDC_LABEL23);
    ASSERT_EQ(TextOf(link), r.Lang(kEnglish, "history"));

    ASSERT_TRUE(Click(link));
    ASSERT_TRUE(WaitFor([&] { return r.HistoryShown(); })) << "the history did not open";
    HWND history = r.History();
    HWND memo = FindControl(history, IDC_HISTORY_MEMO1);
    HWND title = FindControl(history, IDC_HISTORY_LABEL2);
    EXPECT_EQ(TextOf(title), r.Lang(kEnglish, "history"));
    EXPECT_EQ(TextOf(memo), LongHistory());
    EXPECT_EQ(FirstVisibleLine(memo), 0);
    EXPECT_EQ(ProgramFault(r.main, history, kTestFindUnnamed), 0) << "a control without a name";

    // Frameless, 507 x 340, over the middle of the main window; the text
    // below a strip of 23, the close image in the strip's last 33 pixels.
    RECT client{}, frame{}, owner{};
    GetClientRect(history, &client);
    GetWindowRect(history, &frame);
    GetWindowRect(r.main, &owner);
    EXPECT_EQ(client.right, 507);
    EXPECT_EQ(client.bottom, 340);
    EXPECT_EQ(frame.right - frame.left, 507);
    EXPECT_LE(std::abs((frame.left + frame.right) - (owner.left + owner.right)), 2);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (owner.top + owner.bottom)), 2);
    const RECT memoRect = ChildRect(memo), closeRect = ChildRect(FindControl(history, IDC_HISTORY_IMAGE1));
    EXPECT_EQ(memoRect.left, 0);
    EXPECT_EQ(memoRect.top, 23);
    EXPECT_EQ(memoRect.right, 507);
    EXPECT_EQ(memoRect.bottom, 340);
    EXPECT_EQ(closeRect.left, 507 - 33);
    EXPECT_EQ(closeRect.right, 507);
    const LONG_PTR memoStyle = GetWindowLongPtrW(memo, GWL_STYLE);
    EXPECT_EQ(memoStyle & (ES_MULTILINE | ES_READONLY | WS_VSCROLL), ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    EXPECT_EQ(memoStyle & (WS_HSCROLL | ES_AUTOHSCROLL), 0) << "lines are wrapped, not scrolled sideways";
    // Its own surface drags it.
    POINT strip{60, 10};
    ClientToScreen(history, &strip);
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(history, WM_NCHITTEST, 0, MAKELPARAM(strip.x, strip.y), SMTO_NORMAL, kStateTimeoutMs, &hit);
    EXPECT_EQ(hit, static_cast<DWORD_PTR>(HTCAPTION));
    SaveScreenshot(history, L"history_en");

    // The keyboard reaches the text; Esc closes the window.
    ASSERT_TRUE(BringToFront(history));
    ASSERT_TRUE(WaitFor([&] { return FocusedControl(history) == memo; }));
    PressKey(VK_NEXT);
    EXPECT_TRUE(WaitFor([&] { return FirstVisibleLine(memo) > 0; })) << "Page Down did not scroll";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !r.HistoryShown(); }, kCloseTimeoutMs));

    // German chosen in the list, not applied: the history's title follows at
    // once, the main window keeps its texts. The newer file is shown, from the top.
    r.server.Serve(kHistoryPath, HttpReply::Ok(WithBareLineFeeds(Encode(NewerHistory(), 1251))));
    SelectComboItem(r.run.Control(IDC_COMBOBOX1), kGerman);
    ASSERT_TRUE(Click(link));
    ASSERT_TRUE(WaitFor([&] { return r.HistoryShown() && TextOf(memo) == NewerHistory(); }))
        << Narrow(TextOf(memo).substr(0, 80));
    EXPECT_EQ(TextOf(title), r.Lang(kGerman, "history"));
    EXPECT_EQ(TextOf(link), r.Lang(kEnglish, "history"));
    EXPECT_EQ(FirstVisibleLine(memo), 0);
    EXPECT_EQ(r.server.Requests(kHistoryPath), 2);
    SaveScreenshot(history, L"history_de");

    // Closed by its close image; with the site gone, the copy fetched last time.
    PostMouseClick(FindControl(history, IDC_HISTORY_IMAGE1));
    ASSERT_TRUE(WaitFor([&] { return !r.HistoryShown(); }, kCloseTimeoutMs));
    SelectComboItem(r.run.Control(IDC_COMBOBOX1), kRussian);
    r.server.Stop();
    ASSERT_TRUE(Click(link));
    ASSERT_TRUE(WaitFor([&] { return r.HistoryShown(); }, 15000)) << "no last copy shown";
    EXPECT_EQ(TextOf(memo), NewerHistory());
    EXPECT_EQ(TextOf(title), r.Lang(kRussian, "history"));
    SaveScreenshot(history, L"history_ru");
}

TEST_F(OnlineTest, HistoryFetchRunsOnceAtATimeAndNeverHoldsUpTheExit) {
    SiteRun r(L"history_stalled");
    // An error page is no history, and there is no copy yet: the window stays shut.
    r.server.Serve(kHistoryPath, HttpReply::Status(404, "Not Found", "<html><body>Not found</body></html>"));
    ASSERT_TRUE(Launch(r, {kEnglish, false}));
    SelectNode(r.run.Control(IDC_TREEVIEW1), 5);
    HWND link = r.run.Control(IDC_LABEL23);
    ASSERT_TRUE(Click(link));
    ASSERT_TRUE(WaitFor([&] { return r.server.Requests(kHistoryPath) == 1; }));
    EXPECT_TRUE(StaysFalse([&] { return r.HistoryShown(); }, 1500));
    EXPECT_EQ(GetFileAttributesW(r.run.PathOf(L"zelvar_history.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    // A stalled fetch: more clicks start nothing, the window answers.
    r.server.Serve(kHistoryPath, HttpReply::StallAfterHeaders());
    ASSERT_TRUE(Click(link));
    ASSERT_TRUE(WaitFor([&] { return r.server.Requests(kHistoryPath) == 2; }));
    ASSERT_TRUE(Click(link));
    ASSERT_TRUE(Click(link));
    EXPECT_TRUE(Sync(r.main, 1000));
    EXPECT_TRUE(StaysFalse([&] { return r.server.Requests(kHistoryPath) > 2; }, 1000));

    // Exit while it runs: the program ends at once.
    const ULONGLONG exitAt = GetTickCount64();
    ASSERT_TRUE(r.run.ExitFromTray()) << "the program did not end";
    const double seconds = SecondsFrom(exitAt, GetTickCount64());
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(r.run.Proc().ExitCode().value_or(1), 0u);
    std::printf("[ measure  ] exit while the history download stalls: ended after %.2f s\n", seconds);
}

}  // namespace
}  // namespace zelvar::e2e
