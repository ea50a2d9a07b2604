#pragma once
// TCountForm: the small always-on-top window that counts down the last 30
// seconds before the power-down, or 60 seconds before a restart after wake.
// It only shows and cancels; the power-down and the restart are timed by
// the main window.
#include <functional>

#include "ui/secondary_window_win.h"

namespace zelvar {

class TCountForm : public ui::SecondaryWindow {
public:
    bool Create(HWND owner);
    // Runs when the user clicks the cancel picture Image2.
    void SetCancelHandler(std::function<void()> handler) { onCancel_ = std::move(handler); }

    // Shows the window counting down from seconds, with its ticker on.
    void StartCount(int seconds);
    // Back to hidden with "00:30" and CountLeft 30, the ticker off.
    void Reset();
    void StopTicker();
    bool TickerRunning() const { return tickerRunning_; }
    int CountLeft() const { return countLeft_; }
    void Tick();

    // Esc cancels, when the window has the focus (it never takes it by itself).
    bool OnEscape() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnCreated() override;

private:
    void SetCount(int seconds);
    void LayOut();
    void OnDpiChanged() override { LayOut(); }
    HWND label_ = nullptr, image1_ = nullptr, image2_ = nullptr;
    int countLeft_ = 30;
    bool tickerRunning_ = false;
    std::function<void()> onCancel_;
};

}  // namespace zelvar
