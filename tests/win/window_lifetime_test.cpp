// The whole set of windows made and released as the program does it: every
// window goes, and what they held (GDI objects, icons, menus) goes with them.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application_win.h"
#include "common/handles_win.h"
#include "common/paths_win.h"

using namespace zelvar;

namespace {

// A settled config.ini beside the test program for the time of a test, so the
// load is no first start and starts nothing; the file before is put back.
class SettledConfig {
public:
    SettledConfig() : path_(FileBesideExe(L"config.ini")), backup_(path_ + L".test-backup") {
        hadFile_ = MoveFileExW(path_.c_str(), backup_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        std::ofstream(std::filesystem::path(path_), std::ios::binary)
            << "[OPTIONS]\r\nfs=0\r\ntray=0\r\nautoload=0\r\nlogosound=0\r\nautoupd=0\r\nlng=1\r\nactsheduler=0\r\n";
    }
    ~SettledConfig() {
        DeleteFileW(path_.c_str());
        if (hadFile_) MoveFileExW(backup_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

private:
    std::wstring path_, backup_;
    bool hadFile_ = false;
};

void DrainMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // the main window's end asks the loop to stop
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

DWORD GdiObjectsOfProcess() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

// Makes the program's windows, shows and paints them once without taking the
// activation, and lets them all go. Returns the windows it saw.
std::vector<HWND> OneRun(long* heldWhileRunning) {
    std::vector<HWND> windows;
    Application app;
    EXPECT_TRUE(app.Create());
    HWND main = app.MainForm().Handle();
    windows.push_back(main);
    windows.push_back(GetWindow(main, GW_OWNER));
    ShowWindow(main, SW_SHOWNA);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DrainMessages();
    *heldWhileRunning = LiveUiObjects();
    return windows;
}

}  // namespace

TEST(WindowLifetime, EveryWindowGoesAndReleasesWhatItHeld) {
    SettledConfig config;
    long held = 0;
    // A first run lets the system make what it keeps for the process (window
    // classes, the common controls' own brushes and fonts).
    const std::vector<HWND> first = OneRun(&held);
    DrainMessages();
    const long ownedBefore = LiveUiObjects();
    const DWORD gdiBefore = GdiObjectsOfProcess();

    const std::vector<HWND> second = OneRun(&held);
    DrainMessages();
    EXPECT_GT(held, ownedBefore) << "the windows held no objects of their own while they ran";
    EXPECT_EQ(LiveUiObjects(), ownedBefore);
    for (HWND w : second) EXPECT_FALSE(IsWindow(w));
    // Wine does not count GDI objects (it answers 0); Windows does.
    if (gdiBefore != 0) {
        EXPECT_EQ(GdiObjectsOfProcess(), gdiBefore);
    }
}
