// The recording power actions of the test build, and the privilege switch
// both builds share.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "common/os_error.h"
#include "common/paths_win.h"
#include "power/power_actions.h"

using namespace zelvar;

namespace {

std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::path(FileBesideExe(L"power_actions.log")), std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class RecordingPowerActions : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileW(FileBesideExe(L"power_actions.log").c_str());
        DeleteFileW(FileBesideExe(L"power_fail.txt").c_str());
    }
    void TearDown() override { DeleteFileW(FileBesideExe(L"power_fail.txt").c_str()); }
};

}  // namespace

TEST_F(RecordingPowerActions, EachActionAppendsOneTimedLine) {
    PowerOffComputer();
    HibernateComputer();
    RestartComputer();
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    const std::regex timed(R"(^(PowerOff|Hibernate|Restart) \d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3}\r$)");
    for (const auto& line : lines) EXPECT_TRUE(std::regex_match(line, timed)) << line;
    EXPECT_EQ(lines[0].rfind("PowerOff ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("Hibernate ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("Restart ", 0), 0u);
}

TEST_F(RecordingPowerActions, FailFileTurnsEveryActionIntoAccessDenied) {
    { std::ofstream(std::filesystem::path(FileBesideExe(L"power_fail.txt"))) << "fail"; }
    for (auto action : {&PowerOffComputer, &HibernateComputer, &RestartComputer}) {
        try {
            action();
            ADD_FAILURE() << "no error raised";
        } catch (const OsError& e) {
            EXPECT_EQ(e.Code(), 5u);
            EXPECT_EQ(e.Message().rfind(L"System Error.  Code: 5.", 0), 0u);
        }
    }
    EXPECT_TRUE(LogLines().empty());
}

TEST(PowerPrivilege, EnablesKnownPrivilegesOnly) {
    // Requested anew before every action, so a second request must work as well.
    EXPECT_TRUE(EnablePrivilege(L"SeShutdownPrivilege"));
    EXPECT_TRUE(EnablePrivilege(L"SeShutdownPrivilege"));
    EXPECT_FALSE(EnablePrivilege(L"SeNoSuchPrivilege"));
}
