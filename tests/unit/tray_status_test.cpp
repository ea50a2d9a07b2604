// The tray's status: what is planned, and the tooltip in each shipped
// language (texts read from the real language files).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "moments.h"

#include "app/tray_status.h"
#include "i18n/lang_lookup.h"

using namespace zelvar;
using zelvar::testing::At;

namespace {

// Wednesday noon; the scheduler's next moments are tonight and tomorrow morning.
const TDateTime kNow = At(2026, 3, 4, 12, 0, 0);
const TDateTime kTonight = At(2026, 3, 4, 22, 0, 0);
const TDateTime kTomorrowMorning = At(2026, 3, 5, 7, 30, 0);

std::string ReadLanguageFile(const char* name) {
    std::ifstream in(std::string(ZELVAR_SOURCE_DIR "/languages/") + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

LangTextLookup FileLookup(const char* name) {
    auto bytes = std::make_shared<std::string>(ReadLanguageFile(name));
    return [bytes](std::wstring_view key) { return FindLangText(*bytes, key).value_or(L""); };
}

TrayStatusInput Schedule(bool withWake = true) {
    TrayStatusInput in;
    in.schedulerActive = true;
    in.hasNextOff = true;
    in.nextOff = kTonight;
    in.hasNextOn = withWake;
    in.nextOn = kTomorrowMorning;
    return in;
}

TrayStatusInput Plan(TDateTime off, std::optional<TDateTime> wake, int mode = 1) {
    TrayStatusInput in;
    in.planArmed = true;
    in.planOff = off;
    in.planWakeTicked = wake.has_value();
    in.planWake = wake.value_or(At(2026, 3, 4, 12, 0, 0));
    in.planOffMode = mode;
    return in;
}

TrayStatusInput PlanAndSchedule(TrayStatusInput plan, bool withWake = true) {
    const TrayStatusInput s = Schedule(withWake);
    plan.schedulerActive = true;
    plan.hasNextOff = s.hasNextOff;
    plan.nextOff = s.nextOff;
    plan.hasNextOn = s.hasNextOn;
    plan.nextOn = s.nextOn;
    return plan;
}

std::wstring Tip(const TrayStatusInput& in, const char* file, const LocaleFormats& f) {
    return TrayTooltip(DecideTrayStatus(in), kNow, f, FileLookup(file));
}

}  // namespace

TEST(TrayStatus, WhatIsPlannedFollowsThePowerCycle) {
    using S = MomentSource;
    struct Case {
        const char* what;
        TrayStatusInput in;
        std::optional<TrayMoment> off;
        PowerAction action;
        std::optional<TrayMoment> wake;
    };
    TrayStatusInput stoppedScheduler = Schedule();
    stoppedScheduler.schedulerActive = false;
    TrayStatusInput noOffScheduled = Schedule();
    noOffScheduled.hasNextOff = false;
    TrayStatusInput editedNotArmed = Plan(kTonight, kTomorrowMorning);
    editedNotArmed.planArmed = false;
    const TDateTime planOff = At(2026, 3, 4, 21, 0, 0), planWake = At(2026, 3, 5, 6, 0, 0);
    const Case cases[] = {
        {"nothing", {}, std::nullopt, PowerAction::None, std::nullopt},
        {"stopped scheduler", stoppedScheduler, std::nullopt, PowerAction::None, std::nullopt},
        {"scheduler with wake days only", noOffScheduled, std::nullopt, PowerAction::None, std::nullopt},
        {"plan ticked but not applied", editedNotArmed, std::nullopt, PowerAction::None, std::nullopt},
        {"scheduler", Schedule(), TrayMoment{kTonight, S::Schedule}, PowerAction::Hibernate,
         TrayMoment{kTomorrowMorning, S::Schedule}},
        {"scheduler without wake", Schedule(false), TrayMoment{kTonight, S::Schedule}, PowerAction::Hibernate,
         std::nullopt},
        {"plan power-off", Plan(planOff, std::nullopt, 0), TrayMoment{planOff, S::Plan}, PowerAction::PowerOff,
         std::nullopt},
        {"plan hibernate", Plan(planOff, std::nullopt, 1), TrayMoment{planOff, S::Plan}, PowerAction::Hibernate,
         std::nullopt},
        {"plan without an off mode does nothing", Plan(planOff, std::nullopt, -1), std::nullopt, PowerAction::None,
         std::nullopt},
        {"plan with wake hibernates on power-off mode", Plan(planOff, planWake, 0), TrayMoment{planOff, S::Plan},
         PowerAction::Hibernate, TrayMoment{planWake, S::Plan}},
        {"earlier plan beats the scheduler both ways", PlanAndSchedule(Plan(planOff, planWake, 0)),
         TrayMoment{planOff, S::Plan}, PowerAction::Hibernate, TrayMoment{planWake, S::Plan}},
        {"plan without wake takes the scheduled wake and hibernates", PlanAndSchedule(Plan(planOff, std::nullopt, 0)),
         TrayMoment{planOff, S::Plan}, PowerAction::Hibernate, TrayMoment{kTomorrowMorning, S::Schedule}},
        {"later plan: the scheduled off wins, the plan's earlier wake stays",
         PlanAndSchedule(Plan(At(2026, 3, 4, 23, 0, 0), At(2026, 3, 5, 6, 0, 0))), TrayMoment{kTonight, S::Schedule},
         PowerAction::Hibernate, TrayMoment{planWake, S::Plan}},
        {"tie on the off moment keeps the plan's and its power-off",
         PlanAndSchedule(Plan(kTonight, std::nullopt, 0), false), TrayMoment{kTonight, S::Plan}, PowerAction::PowerOff,
         std::nullopt},
        {"a later plan's power-off gives way to the scheduler's hibernation",
         PlanAndSchedule(Plan(At(2026, 3, 4, 23, 0, 0), std::nullopt, 0), false), TrayMoment{kTonight, S::Schedule},
         PowerAction::Hibernate, std::nullopt},
        // The wake timer would be armed in the past and expire before the power action.
        {"wake before the off moment wakes nothing", Plan(At(2026, 3, 5, 9, 0, 0), kTomorrowMorning),
         TrayMoment{At(2026, 3, 5, 9, 0, 0), S::Plan}, PowerAction::Hibernate, std::nullopt},
        {"wake at the off moment wakes nothing", Plan(kTonight, kTonight), TrayMoment{kTonight, S::Plan},
         PowerAction::Hibernate, std::nullopt},
    };
    for (const Case& c : cases) {
        const TrayStatus st = DecideTrayStatus(c.in);
        EXPECT_EQ(st.off, c.off) << c.what;
        EXPECT_EQ(st.Planned(), c.off.has_value()) << c.what;
        if (c.off) {
            EXPECT_EQ(st.action, c.action) << c.what;
        }
        EXPECT_EQ(st.wake, c.wake) << c.what;
    }
}

TEST(TrayTooltip, ScheduledNightInEachLanguage) {
    EXPECT_EQ(Tip(Schedule(), "English.ini", UsEnglishFormats()),
              L"Zelvar: hibernate Wed 10:00 PM (schedule) \u00B7 wake Thu 7:30 AM");
    EXPECT_EQ(Tip(Schedule(), "Russian.ini", RussianFormats()),
              L"Zelvar: гибернация Ср 22:00 (по расписанию) \u00B7 включение Чт 7:30");
    EXPECT_EQ(Tip(Schedule(), "Deutsch.ini", GermanFormats()),
              L"Zelvar: Ruhezustand Mi 22:00 (Wochenplan) \u00B7 Einschalten Do 07:30");
    EXPECT_EQ(Tip(Schedule(false), "Deutsch.ini", GermanFormats()), L"Zelvar: Ruhezustand Mi 22:00 (Wochenplan)");
}

TEST(TrayTooltip, PlanCombinationsInEachLanguage) {
    // A plan more than six days ahead shows its date; sources are named for
    // the wake only when it comes from elsewhere.
    const TrayStatusInput farOff = Plan(At(2026, 3, 14, 21, 15, 0), std::nullopt, 0);
    const TrayStatusInput mixed = PlanAndSchedule(Plan(At(2026, 3, 4, 21, 0, 0), std::nullopt, 0));
    const TrayStatusInput planWins = PlanAndSchedule(Plan(At(2026, 3, 4, 21, 0, 0), At(2026, 3, 10, 6, 0, 0)), false);
    struct Case {
        const char* file;
        LocaleFormats f;
        const wchar_t *farOff, *mixed, *planWins;
    };
    const Case cases[] = {
        {"English.ini", UsEnglishFormats(), L"Zelvar: shut down 3/14/2026 9:15 PM (one-time task)",
         L"Zelvar: hibernate Wed 9:00 PM (one-time task) \u00B7 wake Thu 7:30 AM (schedule)",
         L"Zelvar: hibernate Wed 9:00 PM (one-time task) \u00B7 wake Tue 6:00 AM"},
        {"Russian.ini", RussianFormats(), L"Zelvar: выключение 14.03.2026 21:15 (разовое задание)",
         L"Zelvar: гибернация Ср 21:00 (разовое задание) \u00B7 включение Чт 7:30 (по расписанию)",
         L"Zelvar: гибернация Ср 21:00 (разовое задание) \u00B7 включение Вт 6:00"},
        {"Deutsch.ini", GermanFormats(), L"Zelvar: Herunterfahren 14.03.2026 21:15 (einmalige Aufgabe)",
         L"Zelvar: Ruhezustand Mi 21:00 (einmalige Aufgabe) \u00B7 Einschalten Do 07:30 (Wochenplan)",
         L"Zelvar: Ruhezustand Mi 21:00 (einmalige Aufgabe) \u00B7 Einschalten Di 06:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Tip(farOff, c.file, c.f), c.farOff) << c.file;
        EXPECT_EQ(Tip(mixed, c.file, c.f), c.mixed) << c.file;
        EXPECT_EQ(Tip(planWins, c.file, c.f), c.planWins) << c.file;
        EXPECT_EQ(Tip({}, c.file, c.f), L"Zelvar") << c.file;
    }
}

TEST(TrayTooltip, MissingTextsStillNameTheMoments) {
    const auto none = [](std::wstring_view) { return std::wstring(); };
    EXPECT_EQ(TrayTooltip(DecideTrayStatus(Schedule()), kNow, GermanFormats(), none),
              L"Zelvar: 04.03.2026 22:00 \u00B7 05.03.2026 07:30");
    // A text without a place for the moment gets it after a blank.
    const auto noPlaceholder = [](std::wstring_view key) {
        return key == L"trayhibernate" ? std::wstring(L"sleep deeply") : std::wstring();
    };
    EXPECT_EQ(TrayTooltip(DecideTrayStatus(Schedule(false)), kNow, GermanFormats(), noPlaceholder),
              L"Zelvar: sleep deeply 04.03.2026 22:00");
}

TEST(TrayTooltip, LongTextsAreCutToWhatTheShellTakes) {
    for (const char* file : {"English.ini", "Russian.ini", "Deutsch.ini"}) {
        const LangTextLookup real = FileLookup(file);
        // Translations grow; a long source word must still leave a clean cut.
        const auto wordy = [real](std::wstring_view key) {
            std::wstring t = real(key);
            if (key == L"trayschedule" || key == L"trayplan")
                for (int i = 0; i < 6; ++i) t += L" " + real(key);
            return t;
        };
        const std::wstring tip = TrayTooltip(DecideTrayStatus(PlanAndSchedule(Plan(kTonight - 0.1, std::nullopt))),
                                             kNow, GermanFormats(), wordy);
        EXPECT_LE(Utf16Units(tip), kTrayTipMaxUnits) << file;
        EXPECT_GE(Utf16Units(tip), kTrayTipMaxUnits - 30) << file;  // not cut needlessly short
        EXPECT_EQ(tip.back(), L'\u2026') << file;
        EXPECT_NE(tip[tip.size() - 2], L' ') << file;
        EXPECT_EQ(tip.rfind(L"Zelvar: ", 0), 0u) << file;
    }
}

TEST(TrayTooltip, CutKeepsWholeWordsAndWholeCharacters) {
    EXPECT_EQ(CutToUnits(L"short enough", 12), L"short enough");
    EXPECT_EQ(CutToUnits(L"one two three", 12), L"one two\u2026");
    EXPECT_EQ(CutToUnits(L"one two three", 8), L"one two\u2026");      // the cut falls on a blank
    EXPECT_EQ(CutToUnits(L"abc · defghij", 9), L"abc\u2026");          // no dangling separator
    EXPECT_EQ(CutToUnits(L"a verylongword", 10), L"a verylon\u2026");  // one long word is cut inside
    EXPECT_EQ(CutToUnits(L"abc", 1), L"\u2026");
    EXPECT_EQ(CutToUnits(L"abc", 0), L"");

    // Characters beyond U+FFFF take two units and are never split.
    const std::wstring moons = L"ab\U0001F319\U0001F319\U0001F319";
    EXPECT_EQ(Utf16Units(moons), 8u);
    EXPECT_EQ(CutToUnits(moons, 8), moons);
    EXPECT_EQ(CutToUnits(moons, 7), L"ab\U0001F319\U0001F319\u2026");
    EXPECT_EQ(CutToUnits(moons, 6), L"ab\U0001F319\u2026");  // 5 units fit, the second moon does not
    for (size_t max = 1; max < 8; ++max) {
        const std::wstring cut = CutToUnits(moons, max);
        EXPECT_LE(Utf16Units(cut), max);
        for (size_t i = 0; i < cut.size(); ++i)
            if (cut[i] >= 0xD800 && cut[i] <= 0xDBFF) {
                ASSERT_LT(i + 1, cut.size());
                EXPECT_TRUE(cut[i + 1] >= 0xDC00 && cut[i + 1] <= 0xDFFF);
            }
    }
}

TEST(TrayRequest, EachBehaviourActsOnItsOwnMessagesAndOnlyOnceForAClick) {
    constexpr unsigned kContextMenu = 0x007B, kLeftDown = 0x0201, kLeftUp = 0x0202, kRightUp = 0x0205,
                       kLeftDouble = 0x0203, kMouseMove = 0x0200, kSelect = 0x0400, kKeySelect = 0x0401;
    struct Row {
        bool current;
        unsigned event;
        TrayRequest expected;
    } rows[] = {
        // Version 4: a click sends the button's message and then NIN_SELECT,
        // a right click its message and then WM_CONTEXTMENU; each acts once.
        {true, kLeftDown, TrayRequest::None},
        {true, kLeftUp, TrayRequest::None},
        {true, kSelect, TrayRequest::Click},
        {true, kKeySelect, TrayRequest::Open},
        {true, kRightUp, TrayRequest::None},
        {true, kContextMenu, TrayRequest::Menu},
        {true, kMouseMove, TrayRequest::None},
        {true, kLeftDouble, TrayRequest::None},
        // The oldest behaviour: the mouse messages alone.
        {false, kLeftUp, TrayRequest::Click},
        {false, kRightUp, TrayRequest::Menu},
        {false, kContextMenu, TrayRequest::Menu},
        {false, kLeftDown, TrayRequest::None},
        {false, kMouseMove, TrayRequest::None},
    };
    for (const Row& r : rows)
        EXPECT_EQ(DecideTrayRequest(r.current, r.event), r.expected) << r.current << " " << std::hex << r.event;
}
