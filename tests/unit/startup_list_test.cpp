#include <gtest/gtest.h>

#include "app/startup_list.h"

using namespace zelvar;

TEST(StartupList, AddingSkipsExactDuplicatesButNotOtherCase) {
    std::vector<std::wstring> list{L"C:\\Tools\\one.exe"};
    AddPrograms(list, {L"C:\\Tools\\one.exe"});
    EXPECT_EQ(list.size(), 1u);
    AddPrograms(list, {L"c:\\tools\\ONE.exe", L"D:\\two.bat", L"D:\\two.bat"});
    EXPECT_EQ(list, (std::vector<std::wstring>{L"C:\\Tools\\one.exe", L"c:\\tools\\ONE.exe", L"D:\\two.bat"}));
}

TEST(StartupList, RemovingSelectsTheFirstRemainingEntry) {
    std::vector<std::wstring> list{L"a", L"b", L"c"};
    EXPECT_EQ(RemoveProgram(list, 2), 0);
    EXPECT_EQ(list, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(RemoveProgram(list, 0), 0);
    EXPECT_EQ(RemoveProgram(list, 0), -1);  // the last one: nothing left to select
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(RemoveProgram(list, 0), -1);
    EXPECT_EQ(RemoveProgram(list, -1), -1);
}

TEST(ProcessNames, FileNameAfterTheLastBackslashOrColon) {
    EXPECT_EQ(ProgramFileName(L"C:\\Program Files\\App\\app.exe"), L"app.exe");
    EXPECT_EQ(ProgramFileName(L"C:app.exe"), L"app.exe");
    EXPECT_EQ(ProgramFileName(L"app.exe"), L"app.exe");
    EXPECT_EQ(ProgramFileName(L"C:\\dir\\"), L"");
}

TEST(ProcessNames, RunningMatchIgnoresFolderAndAsciiCaseOnly) {
    const std::vector<std::wstring> running{L"C:\\Windows\\explorer.exe", L"D:\\Apps\\Notepad.EXE",
                                            L"C:\\x\\ÄPFEL.exe"};
    EXPECT_TRUE(IsProcessInList(running, L"E:\\elsewhere\\notepad.exe"));
    EXPECT_TRUE(IsProcessInList(running, L"EXPLORER.EXE"));
    EXPECT_FALSE(IsProcessInList(running, L"C:\\x\\äpfel.exe"));  // only A to Z fold
    EXPECT_TRUE(IsProcessInList(running, L"C:\\y\\ÄPFEL.EXE"));
    EXPECT_FALSE(IsProcessInList(running, L"C:\\Windows\\explorer"));
    EXPECT_FALSE(IsProcessInList({}, L"a.exe"));
}

TEST(StartupList, TooltipShowsEveryEntryOnItsOwnLine) {
    EXPECT_EQ(ListTooltip({}), L"");
    EXPECT_EQ(ListTooltip({L"a", L"b"}), L"a\r\nb");
}

TEST(StartupPaths, SpellingsOfOneFileCompareEqual) {
    const std::wstring plain = NormalizedPathForCompare(L"C:\\Tools\\One.exe");
    for (const wchar_t* same :
         {L"c:\\tools\\ONE.EXE", L"C:/Tools/One.exe", L"C:\\Tools\\\\.\\One.exe", L"C:\\Tools\\Sub\\..\\One.exe",
          L"C:\\..\\Tools\\One.exe", L"C:\\Tools\\One.exe.", L"\\\\?\\C:\\Tools\\One.exe"})
        EXPECT_EQ(NormalizedPathForCompare(same), plain) << same;
    EXPECT_NE(NormalizedPathForCompare(L"C:\\Tools\\Two.exe"), plain);
    EXPECT_NE(NormalizedPathForCompare(L"D:\\Tools\\One.exe"), plain);
    EXPECT_NE(NormalizedPathForCompare(L"Tools\\One.exe"), plain);  // relative is not the same as rooted
    EXPECT_EQ(NormalizedPathForCompare(L"\\\\?\\UNC\\srv\\share\\a.exe"),
              NormalizedPathForCompare(L"//SRV/share/a.exe"));
    // The system takes the UNC of a long path in any case.
    EXPECT_EQ(NormalizedPathForCompare(L"\\\\?\\unc\\srv\\share\\a.exe"),
              NormalizedPathForCompare(L"//SRV/share/a.exe"));
    EXPECT_EQ(NormalizedPathForCompare(L"\\\\?\\UnC\\a. b.\\e.xe"), NormalizedPathForCompare(L"\\\\a. b\\E.XE"));
    // Letters beyond ASCII fold too.
    EXPECT_EQ(NormalizedPathForCompare(L"C:\\\u041F\u0440\u043E\u0433\\\u00E4.exe"),
              NormalizedPathForCompare(L"C:\\\u043F\u0420\u041E\u0413\\\u00C4.EXE"));
}

namespace {

// A small machine: a few files, two environment variables.
StartupFileChecks FakeMachine() {
    StartupFileChecks checks;
    checks.expand = [](const std::wstring& entry) -> std::optional<std::wstring> {
        std::wstring out = entry;
        for (const auto& [name, value] :
             {std::pair<std::wstring, std::wstring>{L"%APPS%", L"C:\\Apps"}, {L"%LONG%", std::wstring(300, L'x')}}) {
            for (size_t at; (at = out.find(name)) != std::wstring::npos;) out.replace(at, name.size(), value);
        }
        return out;
    };
    checks.isFile = [](const std::wstring& path) {
        const std::wstring n = NormalizedPathForCompare(path);
        for (const wchar_t* file :
             {L"C:\\Apps\\one.exe", L"C:\\Apps\\two.exe", L"D:\\Other\\one.exe", L"C:\\Apps\\run.bat"})
            if (NormalizedPathForCompare(file) == n) return true;
        return false;
    };
    return checks;
}

std::vector<StartupSkip> Skips(const std::vector<StartupDecision>& plan) {
    std::vector<StartupSkip> skips;
    for (const auto& d : plan) skips.push_back(d.skip);
    return skips;
}

}  // namespace

TEST(StartupPlan, LongMissingAndRepeatedEntriesAreSkippedTheRestOpenedOnce) {
    const std::vector<std::wstring> entries{
        L"C:\\" + std::wstring(3000, L'a') + L".exe",  // far beyond the shell's limit
        L"%APPS%\\one.exe",
        L"c:\\apps\\ONE.EXE",           // the same file in other letters
        L"C:\\Apps\\sub\\..\\one.exe",  // and through ".."
        L"C:\\Apps\\missing.exe",
        L"C:\\Apps",         // a folder
        L"%LONG%\\one.exe",  // short as written, too long expanded
        L"C:\\Apps\\two.exe",
    };
    const auto plan = PlanStartupPrograms(entries, {}, FakeMachine());
    using S = StartupSkip;
    EXPECT_EQ(Skips(plan), (std::vector<S>{S::TooLong, S::None, S::Duplicate, S::Duplicate, S::NotAFile, S::NotAFile,
                                           S::TooLong, S::None}));
    EXPECT_EQ(plan[1].entry, L"%APPS%\\one.exe");
    EXPECT_EQ(plan[1].path, L"C:\\Apps\\one.exe");  // the shell gets the expanded path
    ASSERT_EQ(plan.size(), entries.size());
    for (size_t i = 0; i < plan.size(); ++i) EXPECT_EQ(plan[i].entry, entries[i]);

    // The limit itself is allowed, one more is not.
    StartupFileChecks any = FakeMachine();
    any.isFile = [](const std::wstring&) { return true; };
    const std::wstring atLimit = L"C:\\" + std::wstring(kMaxStartupPathLength - 3, L'b');
    EXPECT_EQ(Skips(PlanStartupPrograms({atLimit, atLimit + L"c"}, {}, any)), (std::vector<S>{S::None, S::TooLong}));
    // Expansion that fails counts as too long.
    any.expand = [](const std::wstring&) -> std::optional<std::wstring> { return std::nullopt; };
    EXPECT_EQ(Skips(PlanStartupPrograms({L"C:\\Apps\\one.exe"}, {}, any)), (std::vector<S>{S::TooLong}));
}

TEST(StartupPlan, RunningProgramsAndOnesJustStartedAreNotStartedAgain) {
    using S = StartupSkip;
    // Already running under another folder: not started.
    EXPECT_EQ(
        Skips(PlanStartupPrograms({L"C:\\Apps\\one.exe", L"C:\\Apps\\two.exe"}, {L"E:\\x\\ONE.exe"}, FakeMachine())),
        (std::vector<S>{S::Running, S::None}));
    // Another file with the same name, started by an earlier entry of this run.
    EXPECT_EQ(Skips(PlanStartupPrograms({L"C:\\Apps\\one.exe", L"D:\\Other\\one.exe", L"C:\\Apps\\run.bat"}, {},
                                        FakeMachine())),
              (std::vector<S>{S::None, S::Running, S::None}));
    EXPECT_TRUE(PlanStartupPrograms({}, {}, FakeMachine()).empty());
}
