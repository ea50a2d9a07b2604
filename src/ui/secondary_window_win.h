#pragma once
// A secondary window of the program: made once, on its first use, owned by
// the application window, only ever shown and hidden until the program ends.
// Closing it hides it; Esc does the same unless the window means more by it.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/theme_win.h"
#include "ui/window_win.h"

namespace zelvar::ui {

class SecondaryWindow : public Window {
public:
    bool Create(HWND owner, const wchar_t* className, const std::wstring& caption, int clientWidth, int clientHeight,
                DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, DWORD exStyle = 0);
    // How the window is made when it is first needed; showing it or giving
    // it a caption makes it.
    void MakeOnFirstUse(std::function<bool()> make) { make_ = std::move(make); }
    bool EnsureMade();
    void Show();
    void Hide();
    bool IsVisible() const;
    void SetCaption(const std::wstring& caption);
    // Centres the window over another one and shows it.
    void ShowOver(HWND window);
    bool OnEscape() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    HBRUSH Background() const override;
    virtual void OnCreated() {}
    // The window moved to a screen of another density: lay it out anew.
    virtual void OnDpiChanged() {}
    // Design pixels at the density of the window's screen.
    int S(int designPixels) const { return Scale{DpiOf(hwnd_)}(designPixels); }
    // The control that takes the focus when the window is first activated.
    virtual HWND FirstFocus() const;

private:
    HWND savedFocus_ = nullptr;
    std::function<bool()> make_;
};

}  // namespace zelvar::ui
