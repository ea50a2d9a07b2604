// The update check's decisions: which published version is newer, what the
// version file says, when Timer_upd runs.
#include <gtest/gtest.h>

#include <string>

#include "online/update_rules.h"

using namespace zelvar;

namespace {

constexpr wchar_t kOwn[] = L"1.7";

std::string VersionFile(const std::string& value) { return "[VER_INFO]\r\ncurrent_version=" + value + "\r\n"; }

// ASCII text as a UTF-16 LE file with its byte order mark.
std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += std::string{c, '\0'};
    return bytes;
}

}  // namespace

TEST(UpdateVersion, PartsCompareAsNumbersAgainstOwnVersion) {
    struct Case {
        const wchar_t* published;
        bool newer;
    };
    const Case cases[] = {
        {L"1.8", true},     {L"2.0", true},    {L"1.10", true},  {L"2", false},  // one part is no version
        {L"2.0.0", true},   {L"10.0", true},   {L"1.7.1", true}, {L"1.07.1", true},
        {L"1.7", false},    {L"1.7.0", false}, {L"1.07", false}, {L"1.5", false},
        {L"1.6.99", false}, {L"0.99", false},  {L" 1.8 ", true}, {L"999999999.0", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsNewerVersion(c.published, kOwn), c.newer) << c.published;
}

TEST(UpdateVersion, AnythingButDigitsAndFullStopsIsNoVersion) {
    using namespace std::string_literals;
    const std::wstring texts[] = {L"",
                                  L" ",
                                  L"abc",
                                  L"1.",
                                  L".7",
                                  L"1..8",
                                  L"-1.8",
                                  L"+1.8",
                                  L"1.8a",
                                  L"1.8 beta",
                                  L"1,8",
                                  L"1 .8",
                                  L"v1.8",
                                  L"99999999999999999999.1",
                                  L"1.99999999999999999999",
                                  L"1000000000.0",
                                  L"\uFF11.\uFF18" /* full-width digits */,
                                  L"1.8\0001"s};
    for (const std::wstring& t : texts) {
        EXPECT_FALSE(ParseVersion(t)) << std::string(t.begin(), t.end());
        EXPECT_FALSE(IsNewerVersion(t, kOwn));
    }
    EXPECT_EQ(ParseVersion(L"1.10.0"), (std::vector<std::uint32_t>{1, 10, 0}));
    EXPECT_FALSE(IsNewerVersion(L"9.9", L"seventeen"));  // an own version that does not parse decides nothing
}

TEST(UpdateVersionFile, CurrentVersionIsReadLikeAnIniFile) {
    EXPECT_EQ(ReadCurrentVersion(VersionFile("1.8")), L"1.8");
    EXPECT_EQ(ReadCurrentVersion("\xEF\xBB\xBF[VER_INFO]\ncurrent_version = 1.9 \n"), L"1.9");
    EXPECT_EQ(ReadCurrentVersion("; published\r\n[other]\r\ncurrent_version=5.0\r\n[ ver_info ]\r\n"
                                 "Current_Version=\"2.1\"\r\ncurrent_version=3.0\r\n"),
              L"2.1");
    EXPECT_EQ(ReadCurrentVersion(Utf16Le(VersionFile("1.8"))), L"1.8");
    EXPECT_EQ(ReadCurrentVersion("[VER_INFO]\ncurrent_version=\n"), L"");
    EXPECT_FALSE(ReadCurrentVersion(""));
    EXPECT_FALSE(ReadCurrentVersion("current_version=1.8\n"));  // outside the section
    EXPECT_FALSE(ReadCurrentVersion("[VER_INFO]\ncurrent_versions=1.8\ncurrent_version 1.8\n"));
}

TEST(UpdateCheck, BadVersionFilesNeverAsk) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xFF));
    std::string megabytes(5 * 1024 * 1024, 'x');
    megabytes += '\n';
    megabytes += VersionFile("9.0");            // a key far down is found and still read soundly
    std::string oneLine(3 * 1024 * 1024, '[');  // no line end anywhere
    const std::string files[] = {
        "",
        "<html><head><title>404 Not Found</title></head><body>[VER_INFO] current_version=9.9</body></html>",
        binary,
        oneLine,
        "[VERSION]\ncurrent_version=9.9\n",
        VersionFile(""),
        VersionFile("abc"),
        VersionFile("1."),
        VersionFile(".7"),
        VersionFile("99999999999999999999.1"),
        VersionFile("-1.8"),
        VersionFile("1.7"),
        VersionFile("1.10.x"),
    };
    for (const std::string& f : files) EXPECT_FALSE(CheckForUpdate(true, f, kOwn)) << f.substr(0, 60);
    EXPECT_TRUE(CheckForUpdate(true, megabytes, kOwn));
    EXPECT_TRUE(CheckForUpdate(true, VersionFile("1.10"), kOwn));
    EXPECT_FALSE(CheckForUpdate(false, VersionFile("1.10"), kOwn)) << "a failed download leaves an older copy";
}

TEST(UpdateTimer, FirstMinuteThenHourlyUntilSomethingNewerIsAskedOnce) {
    EXPECT_EQ(UpdateTimerOnStart(false).state, UpdateCheckState::Off);
    EXPECT_EQ(UpdateTimerOnStart(false).armMs, 0u);

    UpdateTimerStep step = UpdateTimerOnStart(true);
    EXPECT_EQ(step.state, UpdateCheckState::WaitingFirst);
    EXPECT_EQ(step.armMs, 60000u);

    for (int hour = 0; hour < 3; ++hour) {
        step = UpdateTimerOnTick(step.state);
        EXPECT_EQ(step.state, UpdateCheckState::Checking);
        EXPECT_TRUE(step.startCheck);
        EXPECT_EQ(step.armMs, 0u) << "no tick while the check runs";
        // A second tick meanwhile starts no second check.
        EXPECT_FALSE(UpdateTimerOnTick(step.state).startCheck);
        step = UpdateTimerOnCheckDone(step.state, false);
        EXPECT_EQ(step.state, UpdateCheckState::WaitingHour);
        EXPECT_EQ(step.armMs, 3600000u);
        EXPECT_FALSE(step.askQuestion);
    }

    step = UpdateTimerOnCheckDone(UpdateTimerOnTick(step.state).state, true);
    EXPECT_EQ(step.state, UpdateCheckState::Finished);
    EXPECT_TRUE(step.askQuestion);
    EXPECT_EQ(step.armMs, 0u);
    // Nothing more in this run, whatever arrives.
    for (const UpdateTimerStep& later : {UpdateTimerOnTick(step.state), UpdateTimerOnCheckDone(step.state, true),
                                         UpdateTimerOnCheckDone(step.state, false)}) {
        EXPECT_EQ(later.state, UpdateCheckState::Finished);
        EXPECT_EQ(later.armMs, 0u);
        EXPECT_FALSE(later.startCheck);
        EXPECT_FALSE(later.askQuestion);
    }
    // A result without a running check (option off) neither asks nor arms.
    EXPECT_FALSE(UpdateTimerOnCheckDone(UpdateCheckState::Off, true).askQuestion);
    EXPECT_EQ(UpdateTimerOnCheckDone(UpdateCheckState::Off, false).armMs, 0u);
}
