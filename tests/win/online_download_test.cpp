// DownloadFile and its worker against our own server on 127.0.0.1: only a
// complete 200 answer replaces the local file, every failure leaves the copy
// fetched last time as it was, and nothing waits longer than its bounds.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "online/download_win.h"
#include "online/download_worker_win.h"
#include "common/site_address.h"
#include "support/http_test_server.h"

using namespace zelvar;
using zelvar::test::HttpReply;
using zelvar::test::HttpTestServer;

namespace {

constexpr char kPath[] = "/soft/ver.txt";
const std::string kPrevious = "[VER_INFO]\r\ncurrent_version=1.6\r\n";

// Short bounds keep the tests quick; the program uses the defaults (10 s, 10 s, 30 s, 1 MiB).
DownloadLimits ShortLimits() {
    DownloadLimits l;
    l.connectTimeoutMs = 2000;
    l.readTimeoutMs = 1000;
    l.totalTimeoutMs = 2500;
    l.maxBytes = 64 * 1024;
    return l;
}

std::uint64_t MsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The temporary files of downloads into folder\name ("ver.txt.part", "ver.txt.<n>.part").
std::vector<std::wstring> PartFiles(const std::wstring& folder, const std::wstring& name) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\" + name + L"*.part").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do found.push_back(folder + L"\\" + data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        folder_ = std::wstring(temp) + L"zelvar-download-test-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        target_ = folder_ + L"\\ver.txt";
        WriteBytes(target_, kPrevious);
        ASSERT_TRUE(server_.Start());
    }
    void TearDown() override {
        server_.Stop();
        DeleteFileW(target_.c_str());
        for (const std::wstring& part : PartFiles(folder_, L"ver.txt")) DeleteFileW(part.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    // The download failed the way expected, a timed-out one within its bound, and left the earlier copy alone. A
    // transfer given up at the deadline may still hold its temporary file (WinINet under Wine does not let it go while
    // the server keeps the connection open); every other failure has removed it.
    void ExpectFailureKeepsPrevious(const DownloadResult& r, DownloadOutcome expected, std::uint64_t ms,
                                    std::uint64_t boundMs, const char* what) {
        EXPECT_FALSE(r.Ok()) << what;
        EXPECT_EQ(r.outcome, expected) << what << ": " << Narrow(DownloadOutcomeName(r.outcome)) << " status "
                                       << r.httpStatus << " error " << r.systemError;
        // A time limit must hold within its bound; any other failure names
        // its own cause, and how long it took on this machine is printed.
        if (r.outcome == DownloadOutcome::TimedOut) EXPECT_LE(ms, boundMs) << what;
        else std::printf("[ measure  ] %s: failed after %llu ms\n", what, static_cast<unsigned long long>(ms));
        EXPECT_EQ(ReadFileBytes(target_), kPrevious) << what;
        if (r.outcome != DownloadOutcome::TimedOut) {
            EXPECT_TRUE(PartFiles(folder_, L"ver.txt").empty()) << what;
        }
    }
    // Once the server has let every connection go, no transfer is left holding a temporary file.
    void ExpectTransfersCleanUpAfterStop() {
        server_.Stop();
        const ULONGLONG deadline = GetTickCount64() + 5000;
        while (!PartFiles(folder_, L"ver.txt").empty() && GetTickCount64() < deadline) Sleep(20);
        EXPECT_TRUE(PartFiles(folder_, L"ver.txt").empty());
        EXPECT_EQ(ReadFileBytes(target_), kPrevious) << "a transfer that was given up never replaces the file";
    }

    HttpTestServer server_;
    std::wstring folder_, target_;
};

TEST_F(DownloadTest, CompleteAnswerReplacesTheFile) {
    const std::string body = "[VER_INFO]\r\ncurrent_version=1.8\r\n";
    server_.Serve(kPath, HttpReply::Ok(body));
    const DownloadResult r = DownloadFile(server_.Url(kPath), target_, ShortLimits());
    EXPECT_TRUE(r.Ok()) << Narrow(DownloadOutcomeName(r.outcome)) << " " << r.systemError;
    EXPECT_EQ(r.httpStatus, 200u);
    EXPECT_EQ(r.bytes, body.size());
    EXPECT_EQ(ReadFileBytes(target_), body);
    EXPECT_FALSE(Exists(target_ + L".part"));
    EXPECT_EQ(server_.Requests(kPath), 1);

    // An empty 200 body is a complete answer too, and a missing target is simply created.
    DeleteFileW(target_.c_str());
    server_.Serve(kPath, HttpReply::Ok(""));
    EXPECT_TRUE(DownloadFile(server_.Url(kPath), target_, ShortLimits()).Ok());
    EXPECT_EQ(ReadFileBytes(target_), "");
}

TEST_F(DownloadTest, RedirectToAnotherPathIsFollowed) {
    server_.Serve(kPath, HttpReply::Redirect(302, "/elsewhere/ver.txt"));
    server_.Serve("/elsewhere/ver.txt", HttpReply::Ok("moved body"));
    const DownloadResult r = DownloadFile(server_.Url(kPath), target_, ShortLimits());
    EXPECT_TRUE(r.Ok()) << Narrow(DownloadOutcomeName(r.outcome)) << " status " << r.httpStatus;
    EXPECT_EQ(ReadFileBytes(target_), "moved body");
    EXPECT_EQ(server_.Requests(kPath), 1);
    EXPECT_EQ(server_.Requests("/elsewhere/ver.txt"), 1);
}

TEST_F(DownloadTest, ErrorAnswersLeaveThePreviousCopy) {
    server_.Serve("/500", HttpReply::Status(500, "Internal Server Error", "<html><body>error page</body></html>"));
    server_.Serve("/204", HttpReply::Status(204, "No Content", ""));
    struct Case {
        const char* path;
        std::uint32_t status;
    };
    for (const Case& c : {Case{"/missing", 404}, Case{"/500", 500}, Case{"/204", 204}}) {
        const auto start = std::chrono::steady_clock::now();
        const DownloadResult r = DownloadFile(server_.Url(c.path), target_, ShortLimits());
        ExpectFailureKeepsPrevious(r, DownloadOutcome::HttpStatus, MsSince(start), 2000, c.path);
        EXPECT_EQ(r.httpStatus, c.status) << c.path;
    }
}

TEST_F(DownloadTest, BrokenConnectionsLeaveThePreviousCopy) {
    server_.Serve("/reset", HttpReply::Reset());
    server_.Serve("/short", HttpReply::Truncated("only a part", 5000));
    auto start = std::chrono::steady_clock::now();
    DownloadResult r = DownloadFile(server_.Url("/reset"), target_, ShortLimits());
    ExpectFailureKeepsPrevious(r, DownloadOutcome::NotReached, MsSince(start), 3000, "reset");

    start = std::chrono::steady_clock::now();
    r = DownloadFile(server_.Url("/short"), target_, ShortLimits());
    EXPECT_FALSE(r.Ok());
    EXPECT_TRUE(r.outcome == DownloadOutcome::Truncated || r.outcome == DownloadOutcome::ReadFailed)
        << Narrow(DownloadOutcomeName(r.outcome));
    ExpectFailureKeepsPrevious(r, r.outcome, MsSince(start), 3000, "truncated");

    // Nobody listens on the port of a server that has stopped.
    HttpTestServer gone;
    ASSERT_TRUE(gone.Start());
    const std::wstring refused = gone.Url(kPath);
    gone.Stop();
    start = std::chrono::steady_clock::now();
    r = DownloadFile(refused, target_, ShortLimits());
    ExpectFailureKeepsPrevious(r, DownloadOutcome::NotReached, MsSince(start), 3000, "refused");

    // Not an address WinINet can open at all.
    r = DownloadFile(L"no address", target_, ShortLimits());
    ExpectFailureKeepsPrevious(r, DownloadOutcome::NotReached, 0, 0, "no address");
}

TEST_F(DownloadTest, StallsAndTricklesEndWithinTheirBounds) {
    DownloadLimits limits = ShortLimits();
    limits.readTimeoutMs = 500;
    limits.totalTimeoutMs = 1200;
    // Headers, then silence: the read time-out ends it.
    server_.Serve("/stall", HttpReply::StallAfterHeaders());
    auto start = std::chrono::steady_clock::now();
    DownloadResult r = DownloadFile(server_.Url("/stall"), target_, limits);
    EXPECT_TRUE(r.outcome == DownloadOutcome::ReadFailed || r.outcome == DownloadOutcome::TimedOut)
        << Narrow(DownloadOutcomeName(r.outcome));
    ExpectFailureKeepsPrevious(r, r.outcome, MsSince(start), limits.totalTimeoutMs + 2500, "stall");

    // A server that takes the request and never answers.
    server_.Serve("/silent", HttpReply::NoAnswer());
    start = std::chrono::steady_clock::now();
    r = DownloadFile(server_.Url("/silent"), target_, limits);
    EXPECT_TRUE(r.outcome == DownloadOutcome::NotReached || r.outcome == DownloadOutcome::TimedOut)
        << Narrow(DownloadOutcomeName(r.outcome));
    ExpectFailureKeepsPrevious(r, r.outcome, MsSince(start), limits.totalTimeoutMs + 2500, "silent");

    // A byte every 200 ms keeps each read short; only the whole bound ends it.
    server_.Serve("/trickle", HttpReply::Trickle(std::string(100, 'x'), 200));
    start = std::chrono::steady_clock::now();
    r = DownloadFile(server_.Url("/trickle"), target_, limits);
    const std::uint64_t ms = MsSince(start);
    ExpectFailureKeepsPrevious(r, DownloadOutcome::TimedOut, ms, limits.totalTimeoutMs + 2500, "trickle");
    EXPECT_GE(ms, limits.totalTimeoutMs - 100);
    ExpectTransfersCleanUpAfterStop();
}

TEST_F(DownloadTest, RedirectLoopEndsAfterTenHops) {
    server_.Serve(kPath, HttpReply::Redirect(301, kPath));
    const auto start = std::chrono::steady_clock::now();
    const DownloadResult r = DownloadFile(server_.Url(kPath), target_, ShortLimits());
    ExpectFailureKeepsPrevious(r, DownloadOutcome::HttpStatus, MsSince(start), 2000, "redirect loop");
    EXPECT_EQ(r.httpStatus, 301u);
    EXPECT_EQ(server_.Requests(kPath), 11);

    // Only to http or https, and never from https down to http.
    server_.Serve("/to-file", HttpReply::Redirect(302, "file:///C:/windows/win.ini"));
    ExpectFailureKeepsPrevious(DownloadFile(server_.Url("/to-file"), target_, ShortLimits()),
                               DownloadOutcome::HttpStatus, 0, 2000, "redirect to a file");
    server_.Serve("/nowhere", HttpReply::Status(302, "Found", ""));  // no Location
    ExpectFailureKeepsPrevious(DownloadFile(server_.Url("/nowhere"), target_, ShortLimits()),
                               DownloadOutcome::HttpStatus, 0, 2000, "redirect without a target");
}

TEST_F(DownloadTest, SizeCapHoldsWithAndWithoutAnnouncedLength) {
    DownloadLimits limits = ShortLimits();
    limits.maxBytes = 1000;
    server_.Serve("/exact", HttpReply::Ok(std::string(1000, 'a')));
    server_.Serve("/over", HttpReply::Ok(std::string(1001, 'b')));
    server_.Serve("/big", HttpReply::Ok(std::string(5 * 1024 * 1024, 'c')));
    // Without a length the body runs to the close: the bytes that arrive count.
    HttpReply unannounced = HttpReply::Ok(std::string(300 * 1000, 'd'));
    unannounced.sendLength = false;
    server_.Serve("/unannounced", unannounced);

    DownloadResult r = DownloadFile(server_.Url("/exact"), target_, limits);
    EXPECT_TRUE(r.Ok()) << "the cap itself is allowed";
    EXPECT_EQ(ReadFileBytes(target_)->size(), 1000u);
    WriteBytes(target_, kPrevious);

    for (const char* path : {"/over", "/big", "/unannounced"}) {
        const auto start = std::chrono::steady_clock::now();
        r = DownloadFile(server_.Url(path), target_, limits);
        ExpectFailureKeepsPrevious(r, DownloadOutcome::TooLarge, MsSince(start), 3000, path);
    }
}

TEST_F(DownloadTest, UnwritableTargetFailsAndLeavesNothingBehind) {
    server_.Serve(kPath, HttpReply::Ok("body"));
    const std::wstring nowhere = folder_ + L"\\no such folder\\ver.txt";
    const DownloadResult r = DownloadFile(server_.Url(kPath), nowhere, ShortLimits());
    EXPECT_EQ(r.outcome, DownloadOutcome::FileFailed);
    EXPECT_NE(r.systemError, 0u);
    EXPECT_FALSE(Exists(nowhere));
}

TEST(SiteAddress, TestBuildTakesTheSiteFromTheEnvironment) {
    SetEnvironmentVariableW(L"ZELVAR_TEST_SITE", nullptr);
    EXPECT_EQ(WebSiteAddress(), L"https://zelvar.app");
    EXPECT_EQ(VersionFileAddress(), L"https://zelvar.app/soft/ver.txt");
    EXPECT_EQ(HistoryFileAddress(), L"https://zelvar.app/soft/zelvar_history.txt");
    EXPECT_EQ(ProductPageAddress(),
              L"https://zelvar.app/index.php?option=com_content&view=article&id=185:zelvar&catid=51:utiliti&Itemid=79");

    SetEnvironmentVariableW(L"ZELVAR_TEST_SITE", L"http://127.0.0.1:8080/");
    EXPECT_EQ(WebSiteAddress(), L"http://127.0.0.1:8080");
    EXPECT_EQ(VersionFileAddress(), L"http://127.0.0.1:8080/soft/ver.txt");
    SetEnvironmentVariableW(L"ZELVAR_TEST_SITE", L"");
    EXPECT_EQ(WebSiteAddress(), L"https://zelvar.app");
    SetEnvironmentVariableW(L"ZELVAR_TEST_SITE", nullptr);
}

// The worker: the result arrives as a message to the window that asked.
class DownloadWorkerTest : public DownloadTest {
protected:
    static constexpr UINT kDone = WM_APP + 77;
    void SetUp() override {
        DownloadTest::SetUp();
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window_);
        DownloadTest::TearDown();
    }
    // Waits in kernel waits for the next posted result; null when none comes within boundMs.
    std::unique_ptr<DownloadDone> NextDone(DWORD boundMs) {
        const ULONGLONG deadline = GetTickCount64() + boundMs;
        for (;;) {
            MSG msg;
            if (PeekMessageW(&msg, window_, kDone, kDone, PM_REMOVE)) {
                auto done = TakeDownloadDone(msg.lParam);
                EXPECT_EQ(msg.wParam, static_cast<WPARAM>(done->kind));
                return done;
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return nullptr;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_POSTMESSAGE);
        }
    }
    HWND window_ = nullptr;
};

TEST_F(DownloadWorkerTest, ResultIsPostedAndTheWindowThreadDoesNotWait) {
    server_.Serve(kPath, HttpReply::Ok("[VER_INFO]\r\ncurrent_version=1.10\r\n"));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(StartDownload(window_, kDone, DownloadKind::VersionFile, server_.Url(kPath), target_, ShortLimits()));
    EXPECT_LE(MsSince(start), 500u) << "starting returns at once";
    auto done = NextDone(5000);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->kind, DownloadKind::VersionFile);
    EXPECT_TRUE(done->result.Ok());
    EXPECT_EQ(done->localFile, target_);
    EXPECT_EQ(done->address, server_.Url(kPath));
    EXPECT_FALSE(DownloadRunning(DownloadKind::VersionFile));
    EXPECT_EQ(ReadFileBytes(target_), "[VER_INFO]\r\ncurrent_version=1.10\r\n");
}

TEST_F(DownloadWorkerTest, SecondRequestWhileOneRunsStartsNothing) {
    server_.Serve(kPath, HttpReply::StallAfterHeaders());
    server_.Serve("/soft/zelvar_history.txt", HttpReply::Ok("history"));
    const std::wstring history = folder_ + L"\\zelvar_history.txt";

    ASSERT_TRUE(StartDownload(window_, kDone, DownloadKind::VersionFile, server_.Url(kPath), target_, ShortLimits()));
    EXPECT_TRUE(DownloadRunning(DownloadKind::VersionFile));
    EXPECT_FALSE(StartDownload(window_, kDone, DownloadKind::VersionFile, server_.Url(kPath), target_, ShortLimits()));
    // The other kind is independent.
    ASSERT_TRUE(StartDownload(window_, kDone, DownloadKind::History, server_.Url("/soft/zelvar_history.txt"), history,
                              ShortLimits()));

    auto first = NextDone(5000);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->kind, DownloadKind::History) << "the stalled one is still running";
    EXPECT_TRUE(first->result.Ok());
    EXPECT_TRUE(DownloadRunning(DownloadKind::VersionFile));
    EXPECT_FALSE(StartDownload(window_, kDone, DownloadKind::VersionFile, server_.Url(kPath), target_, ShortLimits()));

    auto second = NextDone(6000);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->kind, DownloadKind::VersionFile);
    EXPECT_FALSE(second->result.Ok());
    EXPECT_EQ(ReadFileBytes(target_), kPrevious);
    EXPECT_EQ(server_.Requests(kPath), 1) << "no second request came";
    EXPECT_FALSE(DownloadRunning(DownloadKind::VersionFile));
    DeleteFileW(history.c_str());
}

TEST_F(DownloadWorkerTest, ResultForAWindowThatIsGoneIsDropped) {
    server_.Serve(kPath, HttpReply::Ok("body"));
    HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(StartDownload(gone, kDone, DownloadKind::VersionFile, server_.Url(kPath), target_, ShortLimits()));
    DestroyWindow(gone);
    // The worker ends on its own; the next download of that kind can start.
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (DownloadRunning(DownloadKind::VersionFile) && GetTickCount64() < deadline) Sleep(20);
    EXPECT_FALSE(DownloadRunning(DownloadKind::VersionFile));
    EXPECT_EQ(ReadFileBytes(target_), "body");
}

// The child's exit code when it got as far as its own exit; gtest's own
// codes (0, 1) mean it ran no test or failed.
constexpr int kChildEndedItself = 42;

// Run in a child process by the test below: a download that the server never answers is under way when the
// program ends, as wWinMain's return ends it (the CRT's exit, then ExitProcess).
TEST(DownloadWorkerExit, DISABLED_ChildEndsWhileADownloadRuns) {
    auto* server = new HttpTestServer;  // never stopped: the process ends under it
    ASSERT_TRUE(server->Start());
    server->Serve(kPath, HttpReply::NoAnswer());
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring target = std::wstring(temp) + L"zelvar-exit-test-ver.txt";
    ASSERT_TRUE(StartDownload(window, WM_APP, DownloadKind::VersionFile, server->Url(kPath), target));
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (server->Requests(kPath) == 0 && GetTickCount64() < deadline) Sleep(10);
    ASSERT_EQ(server->Requests(kPath), 1);
    std::exit(kChildEndedItself);
}

TEST(DownloadWorkerExit, ProgramEndsAtOnceWhileADownloadRuns) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command =
        std::wstring(L"\"") + exe + L"\" --gtest_also_run_disabled_tests --gtest_filter=DownloadWorkerExit.DISABLED_*";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    // The download would hold a joining program for its whole 30 s.
    const DWORD waited = WaitForSingleObject(pi.hProcess, 15000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 2);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the program waited for its download";
    EXPECT_EQ(code, static_cast<DWORD>(kChildEndedItself))
        << "the child ran no test, failed before its exit, or crashed in it";
}

// The time a 1 MiB history takes from the local server, with the program's own limits.
TEST_F(DownloadTest, DISABLED_MeasureOneMebibyteHistory) {
    const std::string body(1024 * 1024, 'h');
    server_.Serve("/soft/zelvar_history.txt", HttpReply::Ok(body));
    const std::wstring history = folder_ + L"\\zelvar_history.txt";
    constexpr int kRuns = 10;
    std::uint64_t total = 0, best = ~0ull;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const DownloadResult r = DownloadFile(server_.Url("/soft/zelvar_history.txt"), history);
        const std::uint64_t ms = MsSince(start);
        ASSERT_TRUE(r.Ok()) << Narrow(DownloadOutcomeName(r.outcome));
        ASSERT_EQ(r.bytes, body.size());
        total += ms;
        best = std::min(best, ms);
    }
    std::printf("[ measure ] 1 MiB history: mean %llu ms, best %llu ms over %d runs\n",
                static_cast<unsigned long long>(total / kRuns), static_cast<unsigned long long>(best), kRuns);
    DeleteFileW(history.c_str());
}

}  // namespace
