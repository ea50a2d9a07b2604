#include "app/tray_status.h"

#include <cstdint>

namespace zelvar {
namespace {

constexpr wchar_t kEllipsis = L'\u2026';

// Where wchar_t is UTF-16 every unit counts one; where it holds whole code
// points, one beyond U+FFFF stands for a surrogate pair.
size_t UnitsOf(wchar_t c) { return (static_cast<std::uint32_t>(c) & ~std::uint32_t{0xFFFF}) != 0 ? 2 : 1; }
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool IsTrailingJunk(wchar_t c) {
    return c == L' ' || c == L'\u00B7' || c == L',' || c == L';' || c == L':' || c == L'(' || c == L'-' ||
           c == L'\u2013' || c == L'\u2014';
}

// The language text with the moment put in place of "%1" (after it, when
// the text has no place for it).
std::wstring Fill(const std::wstring& pattern, const std::wstring& moment) {
    const size_t at = pattern.find(L"%1");
    if (at == std::wstring::npos) return pattern.empty() ? moment : pattern + L" " + moment;
    std::wstring out = pattern;
    out.replace(at, 2, moment);
    return out;
}

std::wstring MomentText(TDateTime at, TDateTime now, const LocaleFormats& f, const LangTextLookup& text) {
    const double days = DateOf(at) - DateOf(now);
    std::wstring day;
    if (days >= 0 && days <= 6) day = text(L"ws" + std::to_wstring(IsoWeekday(at)));
    if (day.empty()) day = FormatDate(at, f);
    return day + L" " + FormatShortTime(at, f);
}

std::wstring SourceText(MomentSource s, const LangTextLookup& text) {
    return text(s == MomentSource::Schedule ? L"trayschedule" : L"trayplan");
}

std::wstring WithSource(std::wstring part, const std::wstring& source) {
    if (!source.empty()) part += L" " + source;
    return part;
}

}  // namespace

TrayStatus DecideTrayStatus(const TrayStatusInput& in) {
    TrayStatus st;
    // Without an armed plan or a scheduled off moment no cycle starts.
    if (!OffWaitRuns(in.planArmed, in.schedulerActive, in.hasNextOff)) return st;

    const CycleMomentSources sources{in.planArmed,  in.planOff, in.planWake,  in.planWakeTicked, in.schedulerActive,
                                     in.hasNextOff, in.nextOff, in.hasNextOn, in.nextOn};
    const CycleMoments merged = MergeCycleMoments(sources);
    if (!merged.off) return st;
    const bool wakeTicked = in.planArmed && in.planWakeTicked;
    st.action = ChoosePowerAction(in.planArmed, wakeTicked || merged.schedulerMomentTaken, in.planOffMode);
    if (st.action == PowerAction::None) return st;

    // Which source won each direction: the same rule asked one direction at a time.
    CycleMomentSources offOnly = sources;
    offOnly.hasNextOn = false;
    CycleMomentSources wakeOnly = sources;
    wakeOnly.hasNextOff = false;
    const auto sourceOf = [](bool fromSchedule) { return fromSchedule ? MomentSource::Schedule : MomentSource::Plan; };
    st.off = TrayMoment{*merged.off, sourceOf(MergeCycleMoments(offOnly).schedulerMomentTaken)};

    if (WakeTimerArmed(wakeTicked, in.schedulerActive, in.hasNextOn, merged.wake.has_value()) &&
        *merged.wake > *merged.off)
        st.wake = TrayMoment{*merged.wake, sourceOf(MergeCycleMoments(wakeOnly).schedulerMomentTaken)};
    return st;
}

std::wstring TrayTooltip(const TrayStatus& status, TDateTime now, const LocaleFormats& formats,
                         const LangTextLookup& text) {
    if (!status.off) return L"Zelvar";
    const wchar_t* actionKey = status.action == PowerAction::PowerOff ? L"traypoweroff" : L"trayhibernate";
    std::wstring tip = L"Zelvar: " + WithSource(Fill(text(actionKey), MomentText(status.off->at, now, formats, text)),
                                                SourceText(status.off->source, text));
    if (status.wake) {
        std::wstring wake = Fill(text(L"traywake"), MomentText(status.wake->at, now, formats, text));
        if (status.wake->source != status.off->source) wake = WithSource(wake, SourceText(status.wake->source, text));
        tip += L" \u00B7 " + wake;
    }
    return CutToUnits(tip);
}

size_t Utf16Units(std::wstring_view text) {
    size_t n = 0;
    for (wchar_t c : text) n += UnitsOf(c);
    return n;
}

std::wstring CutToUnits(std::wstring_view text, size_t maxUnits) {
    if (Utf16Units(text) <= maxUnits) return std::wstring(text);
    if (maxUnits == 0) return {};
    // What fits beside the ellipsis, whole characters only.
    const size_t budget = maxUnits - 1;
    size_t n = 0, units = 0;
    while (n < text.size() && units + UnitsOf(text[n]) <= budget) units += UnitsOf(text[n++]);
    if (n > 0 && IsHighSurrogate(text[n - 1])) --n;
    // Back to the end of a word unless the cut already falls on one.
    if (n < text.size() && text[n] != L' ') {
        const size_t blank = text.substr(0, n).find_last_of(L' ');
        if (blank != std::wstring_view::npos && blank > n / 2) n = blank;
    }
    while (n > 0 && IsTrailingJunk(text[n - 1])) --n;
    std::wstring out(text.substr(0, n));
    out += kEllipsis;
    return out;
}

TrayRequest DecideTrayRequest(bool currentBehaviour, unsigned event) {
    // The messages' numbers, as the shell's headers give them.
    constexpr unsigned kContextMenu = 0x007B, kLeftUp = 0x0202, kRightUp = 0x0205;
    constexpr unsigned kSelect = 0x0400, kKeySelect = 0x0401;  // NIN_SELECT, NIN_KEYSELECT
    if (currentBehaviour) {
        switch (event) {
            case kSelect: return TrayRequest::Click;
            case kKeySelect: return TrayRequest::Open;
            case kContextMenu: return TrayRequest::Menu;
        }
        return TrayRequest::None;
    }
    switch (event) {
        case kLeftUp: return TrayRequest::Click;
        case kRightUp:
        case kContextMenu: return TrayRequest::Menu;
    }
    return TrayRequest::None;
}

}  // namespace zelvar
