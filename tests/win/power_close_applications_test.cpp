// Ending the user's programs, against helper programs started for the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/paths_win.h"
#include "power/close_applications.h"

using namespace zelvar;

namespace {

struct Helper {
    UniqueHandle process;
    DWORD id = 0;
    ~Helper() {
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 5000);
        }
    }
};

bool HelperExists(const wchar_t* exe) {
    return GetFileAttributesW(FileBesideExe(exe).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Start(Helper& helper, const wchar_t* exe, const std::wstring& args = L"") {
    const std::wstring path = FileBesideExe(exe);
    std::wstring cmd = L"\"" + path + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    helper.process.reset(pi.hProcess);
    helper.id = pi.dwProcessId;
}

struct Found {
    DWORD processId;
    HWND window;
};

// The process's visible top-level window, waited for with a bounded poll.
HWND VisibleWindowOf(DWORD processId) {
    for (int i = 0; i < 400; ++i) {
        Found found{processId, nullptr};
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* f = reinterpret_cast<Found*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != f->processId || !IsWindowVisible(w)) return TRUE;
                f->window = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found.window) return found.window;
        Sleep(50);
    }
    return nullptr;
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

// A visible, unowned, titled window of this very process.
UniqueOwner<HWND, decltype([](HWND w) { DestroyWindow(w); }), nullptr> OwnWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZelvarCloseTestOwn";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"Zelvar close test: own window", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                             nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    return decltype(OwnWindow())(w);
}

bool StillRunning(const Helper& h, DWORD ms) { return WaitForSingleObject(h.process.get(), ms) == WAIT_TIMEOUT; }

}  // namespace

TEST(CloseApplications, EndsOnlyVisibleUnownedTitledWindowsOfOtherProcesses) {
    for (const wchar_t* exe : {L"titled_window.exe", L"untitled_window.exe", L"owned_window.exe"})
        ASSERT_TRUE(HelperExists(exe)) << "helper program not built beside the tests: " << exe;

    Helper titled, untitled, owned;
    Start(titled, L"titled_window.exe", L"Zelvar close test: titled");
    Start(untitled, L"untitled_window.exe");
    Start(owned, L"owned_window.exe");
    auto own = OwnWindow();
    ASSERT_TRUE(own);
    const HWND titledWindow = VisibleWindowOf(titled.id);
    const HWND untitledWindow = VisibleWindowOf(untitled.id);
    const HWND ownedWindow = VisibleWindowOf(owned.id);
    ASSERT_TRUE(titledWindow && untitledWindow && ownedWindow) << "helpers did not show their windows";

    const std::vector<HWND> collected = CollectApplicationWindows(own.get());
    auto has = [&](HWND w) { return std::find(collected.begin(), collected.end(), w) != collected.end(); };
    EXPECT_TRUE(has(titledWindow));
    EXPECT_FALSE(has(untitledWindow));
    EXPECT_FALSE(has(ownedWindow));
    EXPECT_FALSE(has(own.get()));

    // Unticked: nothing is ended.
    CloseApplications(own.get(), false);
    EXPECT_TRUE(StillRunning(titled, 300));

    CloseApplications(own.get(), true);
    ASSERT_EQ(WaitForSingleObject(titled.process.get(), 10'000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(titled.process.get(), &code);
    EXPECT_EQ(code, 4u);
    // The same call would have ended these too by now.
    EXPECT_TRUE(StillRunning(untitled, 300));
    EXPECT_TRUE(StillRunning(owned, 0));
    EXPECT_TRUE(IsWindow(own.get()));
}

namespace {

std::vector<DWORD> ProcessesOf(const std::vector<HWND>& windows) {
    std::vector<DWORD> ids;
    for (HWND w : windows) {
        DWORD id = 0;
        GetWindowThreadProcessId(w, &id);
        ids.push_back(id);
    }
    return ids;
}

bool Contains(const std::vector<DWORD>& ids, DWORD id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

// Both windows of a shell helper, the shell one and its folder, waited for with a bounded poll.
bool BothWindowsShown(DWORD processId) {
    for (int i = 0; i < 400; ++i) {
        int shown = 0;
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == processId && IsWindowVisible(w)) ++shown;
        }
        if (shown >= 2) return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

TEST(CloseApplications, SparesTheShellAndEveryTaskbar) {
    for (const wchar_t* exe : {L"titled_window.exe", L"shell_window.exe"})
        ASSERT_TRUE(HelperExists(exe)) << "helper program not built beside the tests: " << exe;

    Helper titled, desktop, taskbar;
    Start(titled, L"titled_window.exe", L"Zelvar close test: an ordinary program");
    Start(desktop, L"shell_window.exe", L"desktop");
    Start(taskbar, L"shell_window.exe", L"taskbar");
    auto own = OwnWindow();
    ASSERT_TRUE(VisibleWindowOf(titled.id));
    ASSERT_TRUE(BothWindowsShown(desktop.id) && BothWindowsShown(taskbar.id)) << "helpers did not show their windows";
    // The shell window is the helper's unless a real shell runs; either way its process is spared.
    DWORD shellProcess = 0;
    GetWindowThreadProcessId(GetShellWindow(), &shellProcess);
    ASSERT_NE(shellProcess, 0u);

    const SparedProcesses spared = CurrentSparedProcesses();
    EXPECT_TRUE(IsSpared(shellProcess, spared));
    EXPECT_TRUE(IsSpared(taskbar.id, spared));
    EXPECT_TRUE(IsSpared(GetCurrentProcessId(), spared));
    EXPECT_FALSE(IsSpared(titled.id, spared));

    const std::vector<DWORD> collected = ProcessesOf(CollectApplicationWindows(own.get()));
    EXPECT_TRUE(Contains(collected, titled.id));
    EXPECT_FALSE(Contains(collected, shellProcess));
    EXPECT_FALSE(Contains(collected, taskbar.id));
    EXPECT_FALSE(Contains(collected, GetCurrentProcessId()));
    if (shellProcess != desktop.id) {
        EXPECT_TRUE(Contains(collected, desktop.id)) << "not the shell: an ordinary program";
    }

    CloseApplications(own.get(), true);
    ASSERT_EQ(WaitForSingleObject(titled.process.get(), 10'000), WAIT_OBJECT_0);
    EXPECT_TRUE(StillRunning(taskbar, 300));
    if (shellProcess == desktop.id) {
        EXPECT_TRUE(StillRunning(desktop, 0));
    }
}
