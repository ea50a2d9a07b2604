#pragma once
// TCountForm: the small always-on-top window that counts down the last 30
// seconds before the power-down, or 60 seconds before a restart after wake.
#include "app/secondary_window_win.h"

namespace zelvar {

class TCountForm : public SecondaryWindow {
public:
    bool Create(HINSTANCE instance, HWND owner);
    bool TickerRunning() const { return tickerRunning_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool tickerRunning_ = false;
};

}  // namespace zelvar
