// Group Policy values: what is in force and what is ignored, the computer
// over the user, the user's own values kept for the files, and the week
// over scheduler.ini.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/policy.h"
#include "scheduler/schedule_file.h"
#include "scheduler/schedule_policy.h"
#include "scheduler/scheduler_rules.h"

using namespace zelvar;

namespace {

RawPolicyValue Sz(const std::wstring& text, bool terminated = true) {
    RawPolicyValue v{kRegSz, {}};
    for (wchar_t c : text) {
        v.data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        v.data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminated) v.data.insert(v.data.end(), {0, 0});
    return v;
}

RawPolicyValue Dword(std::uint32_t n) {
    return {kRegDword,
            {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
             static_cast<std::uint8_t>(n >> 24)}};
}

struct RawCase {
    const wchar_t* id;
    RawPolicyValue raw;
    const wchar_t* inForce;  // nullptr: ignored as malformed
};

}  // namespace

TEST(PolicyValues, EachRawValueIsTakenOrIgnoredOnItsOwn) {
    const RawCase cases[] = {
        {L"allclose", Sz(L"1"), L"1"},
        {L"allclose", Sz(L" 0 ", false), L"0"},  // no terminator, blanks around
        {L"allclose", Dword(1), L"1"},
        {L"allclose", Dword(0), L"0"},
        {L"allclose", Sz(L"yes"), nullptr},
        {L"allclose", Sz(L""), nullptr},
        {L"allclose", Dword(2), nullptr},
        {L"allclose", {kRegDword, {1, 0, 0}}, nullptr},  // a DWORD of three bytes
        {L"allclose", {2, Sz(L"1").data}, nullptr},      // REG_EXPAND_SZ
        {L"allclose", {3, {1}}, nullptr},                // REG_BINARY
        {L"Week\\off_time1_3", Sz(L"22:00:00"), L"22:00:00"},
        {L"Week\\off_time2_3", Sz(L"7:05:09"), L"07:05:09"},
        {L"Week\\off_time1_3", Sz(L"00:00:00"), L"00:00:00"},
        {L"Week\\off_time1_3", Sz(L"24:00:00"), nullptr},
        {L"Week\\off_time1_3", Sz(L"23:60:00"), nullptr},
        {L"Week\\off_time1_3", Sz(L"22:00"), nullptr},
        {L"Week\\off_time1_3", Sz(L"10:00:00 PM"), nullptr},
        {L"Week\\off_time1_3", Sz(L"+1:00:00"), nullptr},
        {L"Week\\off_time1_3", Dword(1), nullptr},
        {L"Week\\off_check1_3", Dword(1), L"1"},
        {L"Week\\off_check1_3", Sz(L"22:00:00"), nullptr},
        {L"Week\\off_check1_8", Sz(L"1"), nullptr},  // no such day: not a value of the program
    };
    for (const RawCase& c : cases) {
        const PolicySet set = DecidePolicy({}, {{c.id, c.raw}});
        const std::wstring* value = set.Find(c.id);
        if (c.inForce) {
            ASSERT_NE(value, nullptr) << c.id;
            EXPECT_EQ(*value, c.inForce) << c.id;
            EXPECT_TRUE(set.problems.empty()) << c.id;
        } else {
            EXPECT_EQ(value, nullptr) << c.id;
            const bool known = std::wstring(c.id) != L"Week\\off_check1_8";
            EXPECT_EQ(set.problems.size(), known ? 1u : 0u) << c.id;
        }
    }
}

TEST(PolicyValues, TheComputerWinsAndAMalformedValueUnlocksNothingElse) {
    const RawPolicyValues machine = {
        {L"autoupd", Dword(0)}, {L"allclose", Sz(L"maybe")}, {L"Week\\off_time1_1", Sz(L"25:00:00")}};
    const RawPolicyValues user = {{L"autoupd", Dword(1)},
                                  {L"allclose", Sz(L"1")},
                                  {L"resetafteron", Sz(L"1")},
                                  {L"Week\\off_check1_1", Sz(L"1")}};
    const PolicySet set = DecidePolicy(machine, user);
    EXPECT_EQ(set.Tick(L"autoupd"), false);
    EXPECT_EQ(set.Tick(L"allclose"), true);  // the computer's is ignored, the user's holds
    EXPECT_EQ(set.Tick(L"resetafteron"), true);
    EXPECT_EQ(set.Tick(L"autoload"), std::nullopt);
    EXPECT_EQ(set.Find(L"Week\\off_time1_1"), nullptr);
    EXPECT_EQ(*set.Find(L"Week\\off_check1_1"), L"1");
    ASSERT_EQ(set.problems.size(), 2u);
    EXPECT_EQ(set.problems[0], (PolicyProblem{true, L"allclose", L"not a tick: maybe"}));
    EXPECT_EQ(set.problems[1], (PolicyProblem{true, L"Week\\off_time1_1", L"not a time: 25:00:00"}));
    EXPECT_EQ(WeekPolicyOf(set), (std::map<std::wstring, std::wstring>{{L"off_check1_1", L"1"}}));

    // The log line names the whole value, on one line whatever the data.
    EXPECT_EQ(PolicyProblemLine("2026-12-08T21:59:50+01:00", {false, L"allclose", L"not a tick: a\r\nb"}),
              "2026-12-08T21:59:50+01:00 policy ignored HKCU\\SOFTWARE\\Policies\\Zelvar\\allclose: "
              "not a tick: a  b\r\n");
}

TEST(PolicyValues, TheTableNamesTheOptionsAndEveryKeyOfTheWeek) {
    const auto& names = PolicyValueNames();
    ASSERT_EQ(names.size(), 5u + 28u);
    for (const PolicyValueName& n : names) {
        const bool week = n.subkey == kPolicyWeekSubkey;
        EXPECT_TRUE(week || n.subkey.empty());
        EXPECT_EQ(n.kind == PolicyKind::Time, n.name.rfind(L"off_time", 0) == 0) << n.name;
    }
}

TEST(PolicyOptions, TheWindowShowsThePolicyAndTheSaveKeepsTheUsersOwnValues) {
    Settings own;
    own.autoload = true;
    own.autoupd = true;
    own.allclose = false;
    own.schedulerRunning = false;
    own.tray = false;
    const OptionLocks locks = PolicyOptionLocks(DecidePolicy({{L"autoupd", Dword(0)}, {L"actsheduler", Sz(L"1")}}, {}));
    EXPECT_TRUE(locks.Any());
    Settings shown = ShownSettings(own, locks);
    EXPECT_FALSE(shown.autoupd);
    EXPECT_TRUE(shown.schedulerRunning);
    EXPECT_TRUE(shown.autoload);
    EXPECT_FALSE(shown.allclose);

    // The user changes what is not locked; the save writes the own values of the locked ones.
    shown.tray = true;
    shown.allclose = true;
    const Settings saved = OwnSettings(shown, own, locks);
    EXPECT_TRUE(saved.autoupd);
    EXPECT_FALSE(saved.schedulerRunning);
    EXPECT_TRUE(saved.tray);
    EXPECT_TRUE(saved.allclose);
    EXPECT_FALSE(OptionLocks{}.Any());
}

TEST(PolicySchedule, ThePolicysWeekIsReadInTheLocalesFormatAndNeverWrittenToTheFile) {
    MemoryIni file;
    file.Write(kScheduleSection, L"off_check1_1", L"0");
    file.Write(kScheduleSection, L"off_time1_1", L"6:00:00 AM");
    file.Write(kScheduleSection, L"off_check2_2", L"1");
    file.Write(kScheduleSection, L"off_time2_2", L"7:30:00 AM");
    file.Write(kScheduleSection, L"off_check2_4", L"1");
    file.Write(kScheduleSection, L"off_time2_4", L"never");
    const std::map<std::wstring, std::wstring> week = {
        {L"off_check1_1", L"1"}, {L"off_time1_1", L"22:00:00"}, {L"off_check2_3", L"1"}, {L"off_time2_3", L"06:15:00"}};
    const LocaleFormats us = UsEnglishFormats();
    PolicyScheduleIni overlay(file, week, us);

    // The wake task wakes for the wake times the engine can find: the
    // file's, the policy's over them, none for a time that does not read.
    const auto wakes = WeekWakeTimes(overlay, us);
    EXPECT_EQ(wakes[1], *EncodeTime(7, 30, 0));
    EXPECT_EQ(wakes[2], *EncodeTime(6, 15, 0));
    EXPECT_EQ(std::count_if(wakes.begin(), wakes.end(), [](const auto& t) { return t.has_value(); }), 2);

    const auto grid = ReadWeekGrid(overlay);
    EXPECT_EQ(grid[0], (WeekGridRow{L"10:00:00 PM", L""}));
    EXPECT_EQ(grid[1], (WeekGridRow{L"", L"7:30:00 AM"}));  // the file's own day

    // A day saved from the editor: the locked keys stay the user's in the file.
    ASSERT_TRUE(WriteScheduleDay(overlay, 1, {L"1", L"10:00:00 PM", L"1", L"9:00:00 PM"}));
    EXPECT_EQ(file.Read(kScheduleSection, L"off_check1_1", L""), L"0");
    EXPECT_EQ(file.Read(kScheduleSection, L"off_time1_1", L""), L"6:00:00 AM");
    EXPECT_EQ(file.Read(kScheduleSection, L"off_check2_1", L""), L"1");
    EXPECT_EQ(file.Read(kScheduleSection, L"off_time2_1", L""), L"9:00:00 PM");
    ASSERT_TRUE(overlay.WriteAll({{kScheduleSection, L"off_time1_1", L"x"}, {kScheduleSection, L"off_time1_4", L"y"}}));
    EXPECT_EQ(file.Read(kScheduleSection, L"off_time1_1", L""), L"6:00:00 AM");
    EXPECT_EQ(file.Read(kScheduleSection, L"off_time1_4", L""), L"y");

    // Read only over a file that cannot be written: a write fails, it is not lost silently.
    const MemoryIni& constFile = file;
    PolicyScheduleIni reading(constFile, week, us);
    EXPECT_FALSE(reading.Write(kScheduleSection, L"off_time1_5", L"z"));
}
