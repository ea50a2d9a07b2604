#include "app/test_seams.h"

#include "ui/theme_win.h"

namespace zelvar {

void PublishFirstActivation(HWND) {}
void PublishCountdownOpenings(HWND) {}
bool HandleTestSeamMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool HighContrastInEffect() { return ui::SystemHighContrast(); }
void PublishTrayStatus(HWND, const std::wstring&, bool) {}
void PublishTrayBehaviour(HWND, bool) {}
void PublishStandingWake(HWND, const std::optional<TDateTime>&) {}
void PublishWakeTask(HWND, const std::optional<bool>&) {}

}  // namespace zelvar
