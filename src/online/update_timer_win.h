#pragma once
// The update check on the main window: Timer_upd, the version file fetched
// by a worker, and the one question per run when a newer version is
// published. The decisions are update_rules.h; this object keeps the state
// and does what they say.
#include <windows.h>

#include <functional>
#include <memory>

#include "online/download_worker_win.h"
#include "online/update_rules.h"

namespace zelvar {

class UpdateChecker {
public:
    struct Links {
        // The index selected in the language list now.
        std::function<int()> selectedLanguage;
        // True while a power-down is under way (a cycle waits for its moment,
        // the countdown runs). The question's modal loop would hold that wait
        // up until the user answers, so the question waits instead.
        std::function<bool()> powerDownUnderWay;
    };

    // mainWindow owns Timer_upd, receives the download's result as
    // downloadMessage and owns the question.
    void Attach(HWND mainWindow, UINT downloadMessage, Links links);
    // At the first activation: the timer runs only when the option is ticked then.
    void StartUpdateTimer(bool optionTicked);
    void Timer_updTimer();
    // The version file's download has ended (the main window hands it on).
    void OnDownloadDone(std::unique_ptr<DownloadDone> done);

    UpdateCheckState State() const { return state_; }

private:
    void Apply(const UpdateTimerStep& step);
    void StartCheck();
    void AskQuestion();

    HWND window_ = nullptr;
    UINT message_ = 0;
    Links links_;
    UpdateCheckState state_ = UpdateCheckState::Off;
    bool questionWaiting_ = false;
};

}  // namespace zelvar
