#pragma once
// What the tray icon tells: whether something is planned (the icon with the
// clock badge) and the tooltip naming the next power-off or hibernation and
// the next wake with their source. Plain values in, plain values out; the
// shell gathers the plan's and the scheduler's state, the texts come through
// a lookup by language key.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/datetime.h"
#include "common/locale_format.h"
#include "power/power_cycle_rules.h"

namespace zelvar {

struct TrayStatusInput {
    bool planArmed = false;        // Panel6 visible
    TDateTime planOff = 0;         // DateTimePicker1 + DateTimePicker2
    bool planWakeTicked = false;   // CheckBox1
    TDateTime planWake = 0;        // DateTimePicker3 + DateTimePicker4
    int planOffMode = 1;           // ComboBox2: 0 power off, 1 hibernate, -1 none
    bool schedulerActive = false;  // PNGButton8 tag 1
    bool hasNextOff = false;
    TDateTime nextOff = 0;
    bool hasNextOn = false;
    TDateTime nextOn = 0;
};

enum class MomentSource { Plan, Schedule };

struct TrayMoment {
    TDateTime at = 0;
    MomentSource source = MomentSource::Plan;
    friend bool operator==(const TrayMoment&, const TrayMoment&) = default;
};

struct TrayStatus {
    // The off moment the next cycle acts on and what it does then; no off
    // moment while nothing is planned (a cycle that would do nothing counts
    // as nothing).
    std::optional<TrayMoment> off;
    PowerAction action = PowerAction::None;
    // The wake that follows it; none when no wake timer is armed or it would
    // expire before the off moment (then nothing wakes the machine).
    std::optional<TrayMoment> wake;
    // Whether the tray shows the "something is planned" icon.
    bool Planned() const { return off.has_value(); }
};

// The moments settle as in the power cycle (MergeCycleMoments and its rules
// for the wait, the wake timer and the power action).
TrayStatus DecideTrayStatus(const TrayStatusInput& in);

// The text of one language key (empty when the file lacks it).
using LangTextLookup = std::function<std::wstring(std::wstring_view key)>;

// "Zelvar" while nothing is planned; otherwise, e.g.
// "Zelvar: hibernate Wed 22:00 (schedule) · wake Thu 7:30 AM", from the keys
// traypoweroff / trayhibernate / traywake ("%1" stands for the moment) and
// trayplan / trayschedule (the source, given for the wake only when it
// differs from the off moment's). A moment within the coming six days shows
// its short weekday name (ws1 ... ws7), a later one its short date; then the
// short time. Cut to the 127 characters the shell allows.
std::wstring TrayTooltip(const TrayStatus& status, TDateTime now, const LocaleFormats& formats,
                         const LangTextLookup& text);

// The longest tooltip the shell takes, in UTF-16 units (szTip holds 128 with
// the terminating zero).
inline constexpr size_t kTrayTipMaxUnits = 127;

// `text` if it fits in `maxUnits` UTF-16 units; otherwise cut at the last
// word boundary that fits (mid-word only when that would drop more than half
// of what fits), never inside a surrogate pair, trailing blanks and
// separators dropped, with "…" at the end.
std::wstring CutToUnits(std::wstring_view text, size_t maxUnits = kTrayTipMaxUnits);

// UTF-16 units of a text (a character beyond U+FFFF counts two, also where
// wchar_t holds it in one).
size_t Utf16Units(std::wstring_view text);

// What a message from the tray icon asks for: a click (the window comes up
// in front), the keyboard's choice of the icon (the window comes up), or
// its menu.
enum class TrayRequest { None, Click, Open, Menu };

// The event of the icon's message (the low word of its lParam). Where the
// shell took the current behaviour (version 4), it sends NIN_SELECT for a
// click, NIN_KEYSELECT for Enter or Space, WM_CONTEXTMENU for a right
// click, the menu key or Shift+F10, and the raw mouse messages beside them,
// which are then left alone; where it did not, only the mouse messages.
TrayRequest DecideTrayRequest(bool currentBehaviour, unsigned event);

}  // namespace zelvar
