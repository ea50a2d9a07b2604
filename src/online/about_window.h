#pragma once
// TFabout: the about window the tray menu opens. White, a title bar without
// buttons, the logo, the version line, a fixed line, the links to the web
// site and the mail address, and an Ok button that hides it.
#include <functional>
#include <string>

#include "app/secondary_window_win.h"

namespace zelvar {

class TFabout : public SecondaryWindow {
public:
    using LangLookup = std::function<std::wstring(const std::wstring& key)>;
    bool Create(HINSTANCE instance, HWND owner, LangLookup lookup);
    // Shows the window in the middle of the given window.
    void ShowOver(HWND mainWindow);
    void LayoutAboutWindow();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnCreated() override;

private:
    LangLookup lookup_;
    HWND image1_ = nullptr, label3_ = nullptr, label1_ = nullptr, label2_ = nullptr, label16_ = nullptr,
         button1_ = nullptr;
};

}  // namespace zelvar
