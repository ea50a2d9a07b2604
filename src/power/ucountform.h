#pragma once
// TCountForm: the small always-on-top window that counts down the last 30
// seconds before the power-down, or 60 seconds before a restart after wake.
// It only shows and cancels; the power-down and the restart are timed by
// the main window.
#include <functional>
#include <string>

#include "ui/controls_win.h"
#include "ui/secondary_window_win.h"

namespace zelvar {

class TCountForm : public ui::SecondaryWindow {
public:
    // What is counted down to: the power-down or the restart after a wake.
    enum class Ending { PowerDown, Restart };

    bool Create(HWND owner);
    // Runs when the user presses the cancel button Image2 (click, Space),
    // or Esc or Enter in the window.
    void SetCancelHandler(std::function<void()> handler) { onCancel_ = std::move(handler); }
    // The sentences a screen reader reads ("countoff", "countrestart"; the
    // button's name "cancel"), in the language applied.
    void TakeTexts(const ui::TextLookup& text);

    // Shows the window counting down from seconds, with its ticker on. When
    // it opens it comes to the front with the focus on its button, and
    // screen readers announce it as an alert with its sentence.
    void StartCount(int seconds, Ending ending = Ending::PowerDown);
    // Back to hidden with "00:30" and CountLeft 30, the ticker off.
    void Reset();
    void StopTicker();
    bool TickerRunning() const { return tickerRunning_; }
    int CountLeft() const { return countLeft_; }
    void Tick();

    // Esc and Enter cancel, as the button does.
    bool OnEscape() override;
    bool OnEnter(HWND focus) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnCreated() override;

private:
    void SetCount(int seconds);
    void Cancel();
    // The names screen readers read: the button's, and the window's, the
    // sentence with the seconds left.
    void NameForReaders();
    void LayOut();
    void OnDpiChanged() override { LayOut(); }
    HWND label_ = nullptr, image1_ = nullptr, image2_ = nullptr;
    int countLeft_ = 30;
    Ending ending_ = Ending::PowerDown;
    std::wstring offSentence_, restartSentence_, cancelName_;
    bool tickerRunning_ = false;
    std::function<void()> onCancel_;
};

}  // namespace zelvar
