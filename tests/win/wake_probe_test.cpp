// The wake probe: never fails where an interface is missing or refuses
// (as under Wine), reads the scheme only after the scheme itself was read,
// and the test build's stand-in values.
#include <windows.h>

#include <gtest/gtest.h>

#include "power/wake_probe_win.h"

using namespace zelvar;

namespace {

// Fakes of the powrprof functions, with what they were asked.
struct FakePower {
    BOOLEAN capsResult = TRUE;
    SYSTEM_POWER_CAPABILITIES caps{};
    DWORD schemeResult = ERROR_SUCCESS;
    DWORD readResult = ERROR_SUCCESS;
    DWORD acValue = 1, dcValue = 1;
    int reads = 0;
    bool rightSetting = true;
    std::optional<bool> resume = true;
};
FakePower g_fake;
const GUID kScheme = {0x381b4222, 0xf694, 0x41f0, {0x96, 0x85, 0xff, 0x5b, 0xb2, 0x60, 0xdf, 0x2e}};

BOOLEAN WINAPI FakeCaps(PSYSTEM_POWER_CAPABILITIES caps) {
    *caps = g_fake.caps;
    return g_fake.capsResult;
}
DWORD WINAPI FakeScheme(HKEY, GUID** scheme) {
    if (g_fake.schemeResult != ERROR_SUCCESS) return g_fake.schemeResult;
    *scheme = static_cast<GUID*>(LocalAlloc(LMEM_FIXED, sizeof(GUID)));
    **scheme = kScheme;
    return ERROR_SUCCESS;
}
DWORD Read(const GUID* scheme, const GUID* sub, const GUID* setting, LPDWORD value, DWORD v) {
    ++g_fake.reads;
    if (!IsEqualGUID(*scheme, kScheme) || !IsEqualGUID(*sub, kSleepSubgroup) || !IsEqualGUID(*setting, kAllowWakeTimers))
        g_fake.rightSetting = false;
    *value = v;
    return g_fake.readResult;
}
DWORD WINAPI FakeReadAc(HKEY, const GUID* scheme, const GUID* sub, const GUID* setting, LPDWORD value) {
    return Read(scheme, sub, setting, value, g_fake.acValue);
}
DWORD WINAPI FakeReadDc(HKEY, const GUID* scheme, const GUID* sub, const GUID* setting, LPDWORD value) {
    return Read(scheme, sub, setting, value, g_fake.dcValue);
}
std::optional<bool> FakeResume() { return g_fake.resume; }

PowerProbeApi FakeApi() { return {&FakeCaps, &FakeScheme, &FakeReadAc, &FakeReadDc, &FakeResume}; }

class WakeProbe : public ::testing::Test {
protected:
    void SetUp() override {
        g_fake = FakePower{};
        g_fake.caps.SystemS4 = TRUE;
        g_fake.caps.HiberFilePresent = TRUE;
    }
    void TearDown() override { SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", nullptr); }
};

}  // namespace

TEST_F(WakeProbe, MissingInterfacesLeaveEverythingUnknown) {
    EXPECT_EQ(ProbeWakeReadiness(PowerProbeApi{}), WakeProbeValues{});
    EXPECT_EQ(DecideWakeReadiness(ProbeWakeReadiness(PowerProbeApi{})), WakeProblem::None);
    // Readers without the scheme function are never called.
    PowerProbeApi readersOnly;
    readersOnly.powerReadACValueIndex = &FakeReadAc;
    readersOnly.powerReadDCValueIndex = &FakeReadDc;
    EXPECT_EQ(ProbeWakeReadiness(readersOnly), WakeProbeValues{});
    EXPECT_EQ(g_fake.reads, 0);
}

TEST_F(WakeProbe, AnUnreadableSchemeIsNeverAskedForItsValues) {
    // Wine: PowerGetActiveScheme answers 120, and its readers would abort.
    g_fake.schemeResult = ERROR_CALL_NOT_IMPLEMENTED;
    const WakeProbeValues v = ProbeWakeReadiness(FakeApi());
    EXPECT_EQ(g_fake.reads, 0);
    EXPECT_EQ(v.onMains, std::nullopt);
    EXPECT_EQ(v.onBattery, std::nullopt);
    EXPECT_EQ(v.hibernationSupported, true);
    EXPECT_EQ(v.hibernationEnabled, true);
    EXPECT_EQ(v.resumeAccepted, true);
    EXPECT_EQ(DecideWakeReadiness(v), WakeProblem::None);
}

TEST_F(WakeProbe, ReadsTheAllowWakeTimersSettingOfTheActiveScheme) {
    g_fake.caps.SystemBatteriesPresent = TRUE;
    g_fake.acValue = 1;
    g_fake.dcValue = 2;
    WakeProbeValues v = ProbeWakeReadiness(FakeApi());
    EXPECT_EQ(g_fake.reads, 2);
    EXPECT_TRUE(g_fake.rightSetting);
    EXPECT_EQ(v.onMains, WakeTimerPolicy::Enabled);
    EXPECT_EQ(v.onBattery, WakeTimerPolicy::ImportantOnly);
    EXPECT_EQ(v.batteryPresent, true);
    EXPECT_EQ(DecideWakeReadiness(v), WakeProblem::TimersOffBattery);

    // A failed read, or a value we do not know, is unknown.
    g_fake.readResult = ERROR_FILE_NOT_FOUND;
    v = ProbeWakeReadiness(FakeApi());
    EXPECT_EQ(v.onMains, std::nullopt);
    EXPECT_EQ(v.onBattery, std::nullopt);
    g_fake.readResult = ERROR_SUCCESS;
    g_fake.acValue = 9;
    EXPECT_EQ(ProbeWakeReadiness(FakeApi()).onMains, std::nullopt);
}

TEST_F(WakeProbe, CapabilitiesAndResumeCheck) {
    g_fake.caps.HiberFilePresent = FALSE;
    EXPECT_EQ(DecideWakeReadiness(ProbeWakeReadiness(FakeApi())), WakeProblem::HibernationOff);
    g_fake.capsResult = FALSE;  // the call failed: whatever it wrote does not count
    const WakeProbeValues v = ProbeWakeReadiness(FakeApi());
    EXPECT_EQ(v.hibernationSupported, std::nullopt);
    EXPECT_EQ(v.hibernationEnabled, std::nullopt);
    EXPECT_EQ(v.batteryPresent, std::nullopt);
    g_fake.capsResult = TRUE;
    g_fake.caps.HiberFilePresent = TRUE;
    g_fake.resume = false;
    EXPECT_EQ(DecideWakeReadiness(ProbeWakeReadiness(FakeApi())), WakeProblem::ResumeRefused);
}

TEST_F(WakeProbe, TheRealProbeAnswersHere) {
    // Whatever this system lacks, the probe returns, and the resume check
    // leaves no timer behind (it is unnamed and closed).
    const WakeProbeValues v = ProbeSystemWakeReadiness();
    EXPECT_TRUE(v.hibernationSupported.has_value());
    EXPECT_TRUE(v.resumeAccepted.has_value());
    // Under Wine 8 there is no readable scheme; on Windows both values are known.
    EXPECT_EQ(v.onMains.has_value(), v.onBattery.has_value());
    const auto resume = CheckResumeTimerAccepted();
    ASSERT_TRUE(resume.has_value());
    EXPECT_EQ(*resume, *v.resumeAccepted);
    // Wine, where these tests run, can hibernate, takes the resume flag and
    // has no scheme that blocks wake timers: a warning would be a false alarm.
    EXPECT_EQ(DecideWakeReadiness(v), WakeProblem::None)
        << "hibernation " << v.hibernationSupported.value_or(false) << "/" << v.hibernationEnabled.value_or(false)
        << ", resume " << v.resumeAccepted.value_or(false);
}

TEST_F(WakeProbe, TestBuildTakesTheEnvironmentsValuesWhileSet) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", L"hiberfile=0"));
    const WakeProbeValues injected = CurrentWakeProbe();
    EXPECT_EQ(injected.hibernationEnabled, false);
    EXPECT_EQ(injected.hibernationSupported, std::nullopt);  // only what it names
    EXPECT_EQ(DecideWakeReadiness(injected), WakeProblem::HibernationOff);
    EXPECT_EQ(WakeProblemKey(DecideWakeReadiness(injected)), L"wakehibernationoff");

    ASSERT_TRUE(SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", L"ac=off,dc=off,battery=1"));
    EXPECT_EQ(DecideWakeReadiness(CurrentWakeProbe()), WakeProblem::TimersOffBoth);

    ASSERT_TRUE(SetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_PROBE", nullptr));
    EXPECT_EQ(CurrentWakeProbe(), ProbeSystemWakeReadiness());
}
