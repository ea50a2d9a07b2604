#include "online/update_timer_win.h"

#include "common/version.h"
#include "common/files_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "i18n/lang_files_win.h"
#include "i18n/lang_lookup.h"
#include "ui/links_win.h"
#include "common/site_address.h"
#include "online/update_question.h"
#include "online/online_ids.h"

namespace zelvar {
namespace {

// How often a question held back by a power-down looks again.
constexpr UINT kQuestionRetryMs = 5000;

std::wstring QuestionText(int languageIndex) {
    std::optional<std::string> file;
    if (IsLanguageIndex(languageIndex)) {
        FileRead read = ReadWholeFile(LanguageFilePath(ExeFolder(), languageIndex));
        if (read.state == IniFileState::Read) file = std::move(read.bytes);
    }
    return UpdateQuestionText(file, GetLangText(languageIndex, kUpdateQuestionKey));
}

}  // namespace

void UpdateChecker::Attach(HWND mainWindow, UINT downloadMessage, Links links) {
    window_ = mainWindow;
    message_ = downloadMessage;
    links_ = std::move(links);
}

void UpdateChecker::StartUpdateTimer(bool optionTicked) { Apply(UpdateTimerOnStart(optionTicked)); }

void UpdateChecker::Timer_updTimer() {
    KillTimer(window_, TIMER_TIMER_UPD);
    if (questionWaiting_) {
        AskQuestion();
        return;
    }
    Apply(UpdateTimerOnTick(state_));
}

void UpdateChecker::Apply(const UpdateTimerStep& step) {
    state_ = step.state;
    if (step.armMs) SetTimer(window_, TIMER_TIMER_UPD, step.armMs, nullptr);
    if (step.startCheck) StartCheck();
    if (step.askQuestion) {
        questionWaiting_ = true;
        AskQuestion();
    }
}

void UpdateChecker::StartCheck() {
    // The worker fetches; the window thread goes on and hears of the end
    // through the main window.
    if (!StartDownload(window_, message_, DownloadKind::VersionFile, VersionFileAddress(), FileBesideExe(L"ver.txt")))
        Apply(UpdateTimerOnCheckDone(state_, false));
}

void UpdateChecker::OnDownloadDone(std::unique_ptr<DownloadDone> done) {
    if (!done || state_ != UpdateCheckState::Checking) return;
    std::optional<std::string> bytes;
    if (done->result.Ok()) bytes = ReadFileBytes(done->localFile);
    Apply(UpdateTimerOnCheckDone(state_, CheckForUpdate(bytes.has_value(), bytes.value_or(""), kAppVersion)));
}

void UpdateChecker::AskQuestion() {
    if (links_.powerDownUnderWay && links_.powerDownUnderWay()) {
        SetTimer(window_, TIMER_TIMER_UPD, kQuestionRetryMs, nullptr);
        return;
    }
    questionWaiting_ = false;
    const std::wstring text = QuestionText(links_.selectedLanguage ? links_.selectedLanguage() : -1);
    // The question comes unasked, often while the window sits in the tray:
    // it takes the foreground so that it is seen.
    const int answer =
        MessageBoxW(window_, text.c_str(), ApplicationTitle(), MB_OKCANCEL | MB_ICONQUESTION | MB_SETFOREGROUND);
    if (answer == IDOK) OpenLink(window_, ProductPageAddress());
}

}  // namespace zelvar
