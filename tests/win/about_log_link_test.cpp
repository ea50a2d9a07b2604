// What the about page's log link opens: the night log, an empty one made
// before the first cycle, or the folder when none can be made there.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/paths_win.h"
#include "online/about_page_win.h"

using namespace zelvar;

namespace {

class LogLink : public ::testing::Test {
protected:
    void SetUp() override {
        path = FileBesideExe(L"about_log_link_test.log");
        Clean();
    }
    void TearDown() override { Clean(); }
    void Clean() const {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(path.c_str());
    }
    std::string Contents() const {
        std::ifstream in{std::filesystem::path(path), std::ios::binary};
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::wstring path;
};

}  // namespace

TEST_F(LogLink, OpensTheLogAsItIsAndMakesAnEmptyOneBeforeTheFirstCycle) {
    // None yet: an empty log is made, so the editor has something to show.
    EXPECT_EQ(CycleLogToOpen(path), path);
    const DWORD made = GetFileAttributesW(path.c_str());
    ASSERT_NE(made, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(made & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(Contents(), "");

    // A log with lines stays exactly as it is.
    const std::string lines = "2026-12-08T22:00:00+01:00 action hibernate\r\n";
    std::ofstream{std::filesystem::path(path), std::ios::binary} << lines;
    EXPECT_EQ(CycleLogToOpen(path), path);
    EXPECT_EQ(Contents(), lines);
}

TEST_F(LogLink, AFolderOfThatNameIsShownAndAnUnwritablePlaceGivesItsFolder) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    EXPECT_EQ(CycleLogToOpen(path), path);
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    // Where no file can be made, the folder that would hold it.
    const std::wstring inside = path + L"\\missing\\zelvar.log";
    EXPECT_EQ(CycleLogToOpen(inside), path + L"\\missing\\");
    EXPECT_EQ(GetFileAttributesW(inside.c_str()), INVALID_FILE_ATTRIBUTES);
}
