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
