// The wake probe: never fails where an interface is missing or refuses
// (as under Wine), reads the scheme only after the scheme itself was read,
// and the test build's stand-in values. The fixes: the plan's writes through
// fakes of powrprof, a program run through the elevation prompt.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "power/wake_fix_win.h"
#include "power/wake_probe_win.h"
#include "power/wake_task_win.h"

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
    DWORD acWriteResult = ERROR_SUCCESS;
    std::string writes;  // what the writers were asked, in order
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
    if (!IsEqualGUID(*scheme, kScheme) || !IsEqualGUID(*sub, kSleepSubgroup) ||
        !IsEqualGUID(*setting, kAllowWakeTimers))
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

DWORD Write(const char* which, const GUID* scheme, const GUID* sub, const GUID* setting, DWORD value, DWORD result) {
    if (!IsEqualGUID(*scheme, kScheme) || !IsEqualGUID(*sub, kSleepSubgroup) ||
        !IsEqualGUID(*setting, kAllowWakeTimers))
        g_fake.rightSetting = false;
    g_fake.writes += std::string(which) + "=" + std::to_string(value) + " ";
    return result;
}
DWORD WINAPI FakeWriteAc(HKEY, const GUID* scheme, const GUID* sub, const GUID* setting, DWORD value) {
    return Write("ac", scheme, sub, setting, value, g_fake.acWriteResult);
}
DWORD WINAPI FakeWriteDc(HKEY, const GUID* scheme, const GUID* sub, const GUID* setting, DWORD value) {
    return Write("dc", scheme, sub, setting, value, ERROR_SUCCESS);
}
DWORD WINAPI FakeSetActive(HKEY, const GUID* scheme) {
    g_fake.writes += IsEqualGUID(*scheme, kScheme) ? "apply" : "apply another";
    return ERROR_SUCCESS;
}

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
    // What the wake task's keeper last heard comes with every probe.
    WakeProbeValues system = ProbeSystemWakeReadiness();
    system.wakeTaskHeld = WakeTaskHeldNow();
    EXPECT_EQ(CurrentWakeProbe(), system);
}

TEST_F(WakeProbe, AllowingWakeTimersWritesTheAskedValuesOfTheActiveSchemeAndAppliesIt) {
    const PowerWriteApi api{&FakeScheme, &FakeWriteAc, &FakeWriteDc, &FakeSetActive};
    for (const auto& [mains, battery, want] :
         {std::tuple{true, false, "ac=1 apply"}, std::tuple{false, true, "dc=1 apply"},
          std::tuple{true, true, "ac=1 dc=1 apply"}}) {
        g_fake.writes.clear();
        EXPECT_EQ(AllowWakeTimersThrough(api, mains, battery), 0u);
        EXPECT_EQ(g_fake.writes, want);
    }
    EXPECT_TRUE(g_fake.rightSetting);
    // Refused on mains: the battery value is still written and applied, the refusal told.
    g_fake.writes.clear();
    g_fake.acWriteResult = ERROR_ACCESS_DENIED;
    EXPECT_EQ(AllowWakeTimersThrough(api, true, true), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(g_fake.writes, "ac=1 dc=1 apply");
    g_fake.writes.clear();
    EXPECT_EQ(AllowWakeTimersThrough(api, true, false), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(g_fake.writes, "ac=1 ");
    // Wine: no scheme to write to, and a missing writer: nothing is called.
    g_fake.writes.clear();
    g_fake.schemeResult = ERROR_CALL_NOT_IMPLEMENTED;
    EXPECT_EQ(AllowWakeTimersThrough(api, true, true), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    g_fake.schemeResult = ERROR_SUCCESS;
    EXPECT_EQ(AllowWakeTimersThrough({&FakeScheme, nullptr, &FakeWriteDc, &FakeSetActive}, true, true),
              static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_EQ(g_fake.writes, "");
}

TEST_F(WakeProbe, AProgramRunThroughTheElevationPromptIsWaitedForWithItsExitCode) {
    // Wine asks no one; Windows would ask whoever runs the tests.
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "Windows would ask";
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    const WakeFixResult ran = RunElevatedAndWait(nullptr, std::wstring(system) + L"\\cmd.exe", L"/c exit 3", 30000);
    EXPECT_EQ(ran.error, 0u);
    EXPECT_EQ(ran.exitCode, 3u);
    const WakeFixResult missing =
        RunElevatedAndWait(nullptr, std::wstring(system) + L"\\no_such_program.exe", L"", 30000);
    EXPECT_NE(missing.error, 0u);
    EXPECT_EQ(missing.exitCode, 0u);
}
