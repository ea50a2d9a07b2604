// The countdown as a screen reader user meets it: announced as an alert with
// its sentence when it opens, the seconds left read on demand, and answered
// at once from the keyboard.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "power/power_ids.h"
#include "power/ucountform.h"
#include "ui/message_loop_win.h"

using namespace zelvar;

namespace {

struct Alert {
    HWND window;
    std::wstring name;
    long role;
};
std::vector<Alert> g_alerts;

// What a reader does on the event: asks the object it names for its name and role.
void CALLBACK OnAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    Alert alert{window, L"", 0};
    IAccessible* acc = nullptr;
    VARIANT self{};
    if (SUCCEEDED(
            AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child), &acc, &self))) {
        BSTR name = nullptr;
        if (acc->get_accName(self, &name) == S_OK && name) alert.name = name;
        SysFreeString(name);
        VARIANT role{};
        if (acc->get_accRole(self, &role) == S_OK && role.vt == VT_I4) alert.role = role.lVal;
        acc->Release();
    }
    g_alerts.push_back(alert);
}

std::wstring NameOf(HWND window) {
    IAccessible* acc = nullptr;
    std::wstring out;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&acc))))
        return out;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (acc->get_accName(self, &name) == S_OK && name) out = name;
    SysFreeString(name);
    acc->Release();
    return out;
}

// Runs a key through the program's message loop as if pressed in the focused control.
void Press(WPARAM key) {
    MSG msg{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    if (!ui::TranslateDialogKeys(msg)) DispatchMessageW(&msg);
}

}  // namespace

TEST(CountdownWindow, OpensAsAnAlertReadsTheSecondsOnDemandAndCancelsFromTheKeyboard) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TCountForm count;
    ASSERT_TRUE(count.Create(nullptr));
    count.TakeTexts([](const std::wstring& key) -> std::wstring {
        if (key == L"countoff") return L"Off in %1 s.";
        if (key == L"countrestart") return L"Restart in %1 s.";
        return key == L"cancel" ? L"Cancel" : L"";
    });
    int cancels = 0;
    count.SetCancelHandler([&] { ++cancels; });
    g_alerts.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, OnAlert,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);

    count.StartCount(30);
    ui::PumpMessages();  // an out-of-context listener hears through this thread's queue
    ASSERT_EQ(g_alerts.size(), 1u);
    EXPECT_EQ(g_alerts[0].window, count.Handle());
    EXPECT_EQ(g_alerts[0].name, L"Off in 30 s.");
    EXPECT_EQ(g_alerts[0].role, ROLE_SYSTEM_ALERT);
    HWND cancel = GetDlgItem(count.Handle(), IDC_COUNT_IMAGE2);
    EXPECT_EQ(GetFocus(), cancel);
    EXPECT_EQ(NameOf(cancel), L"Cancel");

    // Each second changes what is read on demand, and announces nothing.
    count.Tick();
    count.Tick();
    ui::PumpMessages();
    EXPECT_EQ(g_alerts.size(), 1u);
    EXPECT_EQ(NameOf(count.Handle()), L"Off in 28 s.");

    // Esc, Enter and Space each cancel, as a click does.
    Press(VK_ESCAPE);
    EXPECT_EQ(cancels, 1);
    Press(VK_RETURN);
    EXPECT_EQ(cancels, 2);
    SendMessageW(cancel, BM_CLICK, 0, 0);
    EXPECT_EQ(cancels, 3);

    // The restart countdown has a sentence of its own, announced once more
    // when it opens from hidden.
    count.Reset();
    count.StartCount(60, TCountForm::Ending::Restart);
    ui::PumpMessages();
    ASSERT_EQ(g_alerts.size(), 2u);
    EXPECT_EQ(g_alerts[1].name, L"Restart in 60 s.");
    UnhookWinEvent(hook);
    count.Reset();
}
