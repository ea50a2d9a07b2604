#include "power/wake_line_win.h"

#include <algorithm>
#include <string>

#include "common/os_error_win.h"
#include "power/wake_fix_win.h"
#include "power/wake_probe_win.h"
#include "ui/gdi_win.h"
#include "ui/theme_win.h"

namespace zelvar {

void WakeLine::Create(HWND parent, int lineId, int buttonId, HWND focusFallback) {
    focusFallback_ = focusFallback;
    line_ = ui::CreateLabel(parent, lineId, L"", 0, 0, 0, 0);
    ui::SetVisible(line_, false);
    button_ = ui::CreateImageButton(parent, buttonId, L"", 0, 0, 0, 0);
    ui::SetVisible(button_, false);
}

int WakeLine::ButtonWidth(int dpi, int minWidth) const {
    ui::WindowDc dc(button_);
    if (!dc.get()) return minWidth;
    ui::Selection font(dc.get(), ui::BoldFont(dpi));
    const std::wstring caption = ui::GetText(button_);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
    return std::max(minWidth, static_cast<int>(size.cx) + ui::Scale{dpi}(16));
}

WakeProblem WakeLine::Check(bool wakeAhead, const ui::TextLookup& text, ui::Hints& hints) {
    const WakeProbeValues probe = wakeAhead ? CurrentWakeProbe() : WakeProbeValues{};
    problem_ = DecideWakeReadiness(probe);
    fix_ = DecideWakeFix(probe);
    ApplyTexts(text, hints);
    return problem_;
}

void WakeLine::ApplyTexts(const ui::TextLookup& text, ui::Hints& hints) {
    const std::wstring key(WakeProblemKey(problem_));
    ui::SetText(line_, key.empty() ? std::wstring() : text(key));
    ui::SetVisible(line_, !key.empty());
    const std::wstring caption(WakeFixCaptionKey(fix_.kind));
    if (!caption.empty()) {
        ui::SetText(button_, text(caption));
        hints.Set(button_, text(std::wstring(WakeFixHintKey(fix_.kind))));
    }
    const bool show = !key.empty() && !caption.empty();
    // The focus does not stay behind on a hidden button: the keyboard goes on from the fallback.
    const bool hadFocus = GetFocus() == button_;
    ui::SetVisible(button_, show);
    if (!show && hadFocus && IsWindowVisible(focusFallback_)) SetFocus(focusFallback_);
    InvalidateRect(button_, nullptr, FALSE);
}

void WakeLine::StartFix(HWND receiver) {
    if (fixing_ || fix_.kind == WakeFixKind::None) return;
    fixing_ = StartWakeFix(fix_, GetAncestor(receiver, GA_ROOT), receiver);
    if (fixing_) fixFor_ = problem_;
}

void WakeLine::FixDone(WPARAM wp, LPARAM lp, bool wakeAhead, const ui::TextLookup& text, ui::Hints& hints) {
    fixing_ = false;
    const WakeFixResult result = TakeWakeFixResult(wp, lp);
    const WakeProblem after = Check(wakeAhead, text, hints);
    const std::wstring key(WakeFixMessageKey(result, fixFor_, after));
    if (key.empty()) return;
    std::wstring message = text(key);
    if (const size_t at = message.find(L"%1"); at != std::wstring::npos)
        message.replace(at, 2, std::to_wstring(result.error != 0 ? result.error : result.exitCode));
    MessageBoxW(GetAncestor(line_, GA_ROOT), message.c_str(), ApplicationTitle(), MB_OK);
}

}  // namespace zelvar
