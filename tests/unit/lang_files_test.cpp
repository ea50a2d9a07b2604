// Checks the language files that ship with the program: exactly the keys the
// program looks up, in an order old readers that match by prefix also get
// right, written the way the files are meant to be written.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "i18n/lang_lookup.h"

using namespace zelvar;

namespace {

const std::vector<std::string> kCatalogue = {
    "main",
    "language",
    "onoff",
    "sheduler",
    "startexe",
    "menuabout",
    "startwindows",
    "starttray",
    "closeapplications",
    "logosound",
    "autoupdate",
    "resetafteron",
    "languageintro",
    "apply",
    "pcoff",
    "pcon",
    "date",
    "time",
    "pcoffinfo",
    "pconinfo",
    "cancel",
    "poweroff",
    "powertohibernate",
    "startexeintro",
    "add",
    "remove",
    "w1",
    "w2",
    "w3",
    "w4",
    "w5",
    "w6",
    "w7",
    "ws1",
    "ws2",
    "ws3",
    "ws4",
    "ws5",
    "ws6",
    "ws7",
    "copyother",
    "startsheduler",
    "stopsheduler",
    "hintstartsheduler",
    "daysheduler",
    "offsheduler",
    "onsheduler",
    "pcoffat",
    "pconat",
    "history",
    "menuopen",
    "menuoff",
    "menuexit",
    "close",
    "mswrongdt",
    "msremoveexe",
    "msselstring",
    "mserrconfig",
    "msreadconfig",
    "msupdate",
    "msoffmissed",
    "mswakesoon",
    // The tray's tooltip and the wake readiness line of the plan page.
    "traypoweroff",
    "trayhibernate",
    "traywake",
    "trayplan",
    "trayschedule",
    "wakenohibernation",
    "wakehibernationoff",
    "wakeresumerefused",
    "wakeoffmains",
    "wakeoffbattery",
    "wakeoffboth",
    // The wake held by Windows' Task Scheduler: refused, and its task's description.
    "wakeonlywhilerunning",
    "waketaskdescription",
    // The button beside that line that removes the cause, and how its fix ended.
    "wakefixtimers",
    "wakefixhibernation",
    "hintwakefixtimers",
    "hintwakefixhibernation",
    "wakefixdeclined",
    "wakefixdenied",
    "wakefixfailed",
    "wakefixnochange",
    // The about page's link to the night log.
    "log",
    // The line beside controls that Group Policy sets.
    "policymanaged",
    // What screen readers read: the navigation tree, the two copy buttons, the countdown.
    "navigation",
    "copyoff",
    "copyon",
    "countoff",
    "countrestart",
};

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Line {
    std::string key, text;
};

class LanguageFile : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(LanguageFile, FileIsWellFormedAndHoldsExactlyTheCatalogue) {
    ASSERT_EQ(kCatalogue.size(), 90u);
    const std::string path = std::string(ZELVAR_SOURCE_DIR "/languages/") + GetParam();
    const std::string bytes = ReadWhole(path);
    ASSERT_FALSE(bytes.empty()) << path;
    ASSERT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte order mark";
    ASSERT_TRUE(IsValidUtf8(bytes));

    // Every line ends in CR LF, the last one included; no lone CR or LF.
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::vector<std::string> rawLines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at byte " << i;
            rawLines.push_back(bytes.substr(start, i - start));
            start = i + 2;
            ++i;
        } else {
            ASSERT_NE(bytes[i], '\n') << "LF without CR at byte " << i;
        }
    }
    ASSERT_FALSE(rawLines.empty());
    EXPECT_EQ(rawLines.front(), "[LANGFILE]");

    std::vector<Line> lines;
    for (size_t i = 1; i < rawLines.size(); ++i) {
        const std::string& raw = rawLines[i];
        const size_t eq = raw.find('=');
        ASSERT_NE(eq, std::string::npos) << "line " << i + 1 << ": " << raw;
        Line line{raw.substr(0, eq), raw.substr(eq + 1)};
        for (char c : line.key) EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) << "key " << line.key;
        EXPECT_FALSE(line.text.empty()) << "empty text for " << line.key;
        EXPECT_NE(line.text.front(), ' ') << "blank after = for " << line.key;
        EXPECT_NE(line.text.back(), ' ') << "blank at the end of " << line.key;
        lines.push_back(line);
    }

    std::vector<std::string> keys;
    for (const Line& l : lines) keys.push_back(l.key);
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()),
              std::set<std::string>(kCatalogue.begin(), kCatalogue.end()));
    EXPECT_EQ(keys.size(), kCatalogue.size()) << "a key appears twice";

    // A key that begins another key stands above it.
    for (size_t a = 0; a < keys.size(); ++a)
        for (size_t b = 0; b < a; ++b)
            EXPECT_FALSE(keys[a].size() < keys[b].size() && keys[b].compare(0, keys[a].size(), keys[a]) == 0)
                << keys[a] << " stands below " << keys[b];
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFile, ::testing::Values("Russian.ini", "English.ini", "Deutsch.ini"),
                         [](const auto& info) {
                             return std::string(info.param).substr(0, std::string(info.param).find('.'));
                         });
