#pragma once
// TFabout: the about window the tray menu opens. White, a title bar without
// buttons, the logo, the version line, a fixed line, the links to the web
// site and the mail address, and an Ok button that hides it.
#include <functional>
#include <string>

#include "ui/secondary_window_win.h"

namespace zelvar {

class TFabout : public ui::SecondaryWindow {
public:
    using LangLookup = std::function<std::wstring(const std::wstring& key)>;
    bool Create(HWND owner, LangLookup lookup);
    void LayoutAboutWindow();
    bool OnEnter(HWND focus) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    HBRUSH Background() const override;
    void OnCreated() override;
    void OnDpiChanged() override { LayoutAboutWindow(); }
    HWND FirstFocus() const override { return button1_; }

private:
    LangLookup lookup_;
    HWND image1_ = nullptr, label3_ = nullptr, label1_ = nullptr, label2_ = nullptr, label16_ = nullptr,
         button1_ = nullptr;
};

}  // namespace zelvar
