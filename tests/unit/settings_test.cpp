#include <gtest/gtest.h>

#include "app/settings.h"

using namespace zelvar;

TEST(SettingsReading, TickBoxesNeedExactlyOneAfterTrimming) {
    EXPECT_TRUE(ReadTickValue(L"1"));
    EXPECT_TRUE(ReadTickValue(L" 1 "));
    EXPECT_TRUE(ReadTickValue(L"\t1"));
    EXPECT_FALSE(ReadTickValue(L""));
    EXPECT_FALSE(ReadTickValue(L"0"));
    EXPECT_FALSE(ReadTickValue(L"11"));
    EXPECT_FALSE(ReadTickValue(L"yes"));
    EXPECT_FALSE(ReadTickValue(L"1 1"));
}

TEST(SettingsReading, SchedulerStopsOnlyForExactZeroAndFirstStartOnlyForExactOne) {
    EXPECT_FALSE(ReadSchedulerRunning(L"0"));
    EXPECT_TRUE(ReadSchedulerRunning(L""));
    EXPECT_TRUE(ReadSchedulerRunning(L" 0"));
    EXPECT_TRUE(ReadSchedulerRunning(L"1"));
    EXPECT_TRUE(ReadFirstStart(L"1"));
    EXPECT_FALSE(ReadFirstStart(L" 1"));
    EXPECT_FALSE(ReadFirstStart(L"0"));
    EXPECT_FALSE(ReadFirstStart(L""));
}

TEST(SettingsReading, LanguageIndexOutsideTheListSelectsRussianAndGarbageTheDefault) {
    EXPECT_EQ(ReadLanguageIndex(L"2", 1), 2);
    EXPECT_EQ(ReadLanguageIndex(L" 0 ", 1), 0);
    EXPECT_EQ(ReadLanguageIndex(L"7", 1), 0);
    EXPECT_EQ(ReadLanguageIndex(L"-1", 1), 0);
    EXPECT_EQ(ReadLanguageIndex(L"99999999999999", 1), 1);  // not a representable whole number
    EXPECT_EQ(ReadLanguageIndex(L"abc", 1), 1);
    EXPECT_EQ(ReadLanguageIndex(L"1.5", 0), 0);
    EXPECT_EQ(ReadLanguageIndex(L"", 1), 1);
}

TEST(AutoexeList, EmptyAndBlankPiecesAreSkippedOthersKeptUnchanged) {
    EXPECT_TRUE(ParseAutoexe(L"").empty());
    EXPECT_TRUE(ParseAutoexe(L"   ").empty());
    EXPECT_TRUE(ParseAutoexe(L"|").empty());
    EXPECT_EQ(ParseAutoexe(L"|a||b|"), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(ParseAutoexe(L"C:\\A\\one.exe|D:\\B\\two.bat"),
              (std::vector<std::wstring>{L"C:\\A\\one.exe", L"D:\\B\\two.bat"}));
    EXPECT_EQ(ParseAutoexe(L" a | |b"), (std::vector<std::wstring>{L" a ", L"b"}));
    EXPECT_EQ(ParseAutoexe(L"single"), (std::vector<std::wstring>{L"single"}));
}

TEST(AutoexeList, JoinIsTheInverseOfParseForRealEntries) {
    EXPECT_EQ(JoinAutoexe({}), L"");
    EXPECT_EQ(JoinAutoexe({L"a"}), L"a");
    const std::vector<std::wstring> entries{L"C:\\A\\one.exe", L"D:\\B B\\two.bat", L" spaced "};
    EXPECT_EQ(JoinAutoexe(entries), L"C:\\A\\one.exe|D:\\B B\\two.bat| spaced ");
    EXPECT_EQ(ParseAutoexe(JoinAutoexe(entries)), entries);
}

TEST(SettingsFile, MissingFileGivesTheDefaultsOfAFirstStart) {
    MemoryIni ini;
    const Settings s = ReadSettings(ini, 1);
    EXPECT_TRUE(s.autoload);
    EXPECT_FALSE(s.tray);
    EXPECT_TRUE(s.allclose);
    EXPECT_TRUE(s.autoexe.empty());
    EXPECT_TRUE(s.logosound);
    EXPECT_TRUE(s.autoupd);
    EXPECT_FALSE(s.resetafteron);
    EXPECT_FALSE(s.schedulerRunning);
    EXPECT_TRUE(s.firstStart);
    EXPECT_EQ(s.lng, 1);
    EXPECT_EQ(ReadSettings(ini, 0).lng, 0);
}

TEST(SettingsFile, DamagedValuesReadSoundAndAreWrittenBackSound) {
    MemoryIni ini;
    ini.Write(kOptionsSection, L"lng", L"7");
    ini.Write(kOptionsSection, L"actsheduler", L"");
    ini.Write(kOptionsSection, L"autoload", L" 1 ");
    ini.Write(kOptionsSection, L"autoexe", L"|a||b|");
    ini.Write(kOptionsSection, L"fs", L"0");
    const Settings s = ReadSettings(ini, 1);
    EXPECT_EQ(s.lng, 0);
    EXPECT_TRUE(s.schedulerRunning);
    EXPECT_TRUE(s.autoload);
    EXPECT_EQ(s.autoexe, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_FALSE(s.firstStart);

    ASSERT_TRUE(WriteSettings(ini, s));
    EXPECT_EQ(ini.Read(kOptionsSection, L"lng", L"?"), L"0");
    EXPECT_EQ(ini.Read(kOptionsSection, L"actsheduler", L"?"), L"1");
    EXPECT_EQ(ini.Read(kOptionsSection, L"autoload", L"?"), L"1");
    EXPECT_EQ(ini.Read(kOptionsSection, L"autoexe", L"?"), L"a|b");
}

TEST(SettingsFile, SaveWritesTheTenKeysInOrderAndAllOrNothing) {
    MemoryIni ini;
    Settings s;
    s.autoexe = {L"x.exe"};
    ASSERT_TRUE(WriteSettings(ini, s));
    const std::vector<std::wstring> order{L"autoload", L"tray",         L"allclose",    L"autoexe", L"logosound",
                                          L"autoupd",  L"resetafteron", L"actsheduler", L"fs",      L"lng"};
    EXPECT_EQ(ini.WriteOrder(), order);
    EXPECT_EQ(ini.Read(kOptionsSection, L"fs", L"?"), L"0");

    // A save that fails at the fourth key leaves nothing half written, and
    // never settles the first start.
    MemoryIni failing;
    failing.FailAfter(3);
    EXPECT_FALSE(WriteSettings(failing, s));
    EXPECT_FALSE(failing.Has(kOptionsSection, L"autoload"));
    EXPECT_FALSE(failing.Has(kOptionsSection, L"fs"));
}

TEST(SettingsLoadDecision, OnlyAMissingFileOrAMissingOrOneFsIsAFirstStart) {
    MemoryIni none;
    const SettingsLoad missing = DecideSettingsLoad(IniFileState::Missing, none, 1);
    EXPECT_TRUE(missing.settings.firstStart);
    EXPECT_TRUE(missing.writable);
    EXPECT_FALSE(missing.reportUnreadable);

    MemoryIni settled;
    settled.Write(kOptionsSection, L"fs", L"0");
    settled.Write(kOptionsSection, L"tray", L"1");
    const SettingsLoad read = DecideSettingsLoad(IniFileState::Read, settled, 1);
    EXPECT_FALSE(read.settings.firstStart);
    EXPECT_TRUE(read.settings.tray);
    EXPECT_TRUE(read.writable);

    // A readable file without fs, or with fs "1", still is a first start.
    MemoryIni noFs;
    noFs.Write(kOptionsSection, L"lng", L"2");
    EXPECT_TRUE(DecideSettingsLoad(IniFileState::Read, noFs, 1).settings.firstStart);
    EXPECT_EQ(DecideSettingsLoad(IniFileState::Read, noFs, 1).settings.lng, 2);
    settled.Write(kOptionsSection, L"fs", L"1");
    EXPECT_TRUE(DecideSettingsLoad(IniFileState::Read, settled, 1).settings.firstStart);
}

TEST(SettingsLoadDecision, AnUnreadableFileRunsOnDefaultsWritesNothingAndIsReportedOnce) {
    // Whatever the store holds is not looked at: the file could not be read.
    MemoryIni values;
    values.Write(kOptionsSection, L"tray", L"1");
    const SettingsLoad load = DecideSettingsLoad(IniFileState::Unreadable, values, 0, 32);
    EXPECT_FALSE(load.settings.firstStart);  // no product page, no first-start save
    EXPECT_FALSE(load.writable);
    EXPECT_TRUE(load.reportUnreadable);
    EXPECT_EQ(load.readError, 32u);
    EXPECT_FALSE(load.settings.tray);
    EXPECT_TRUE(load.settings.autoload);
    EXPECT_EQ(load.settings.lng, 0);  // the system's default language
}
