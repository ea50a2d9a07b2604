// The update question's text: the chosen file's own, else the question as it
// always read, in Russian; English only when the chosen file cannot be read.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "common/text.h"
#include "online/update_question.h"
#include "online/update_rules.h"

using namespace zelvar;

namespace {

constexpr wchar_t kEnglish[] = L"A new version of Zelvar is available. Would you like to update?";

std::optional<std::string> File(const std::string& lines) { return "[LANGFILE]\r\n" + lines; }

}  // namespace

TEST(UpdateQuestion, ChosenFileGivesItsOwnTextElseTheRussianQuestion) {
    EXPECT_EQ(UpdateQuestionText(File("history=Verlauf\r\nmsupdate=Neue Version \xC3\xBC"
                                      "ber\r\n"),
                                 kEnglish),
              L"Neue Version \u00FCber");
    // Files written before the key existed, or with a text that cannot be shown.
    EXPECT_EQ(UpdateQuestionText(File("history=Verlauf\r\n"), kEnglish), kUpdateQuestionFallback);
    EXPECT_EQ(UpdateQuestionText(File("msupdate=\r\n"), kEnglish), kUpdateQuestionFallback);
    EXPECT_EQ(UpdateQuestionText(File("msupdate=caf\xE9\r\n"), kEnglish), kUpdateQuestionFallback);
    EXPECT_EQ(UpdateQuestionText(std::string(), kEnglish), kUpdateQuestionFallback);
    // A longer key that begins with it is another key.
    EXPECT_EQ(UpdateQuestionText(File("msupdatenote=x\r\n"), kEnglish), kUpdateQuestionFallback);
}

TEST(UpdateQuestion, UnreadableChosenFileShowsWhatTheLookupGives) {
    EXPECT_EQ(UpdateQuestionText(std::nullopt, kEnglish), kEnglish);
    // The lookup found nothing anywhere (it answers with the key then).
    EXPECT_EQ(UpdateQuestionText(std::nullopt, L"msupdate"), kUpdateQuestionFallback);
    EXPECT_EQ(UpdateQuestionText(std::nullopt, L""), kUpdateQuestionFallback);
}

TEST(UpdateQuestion, ShippedRussianFileHoldsTheFallbackWordForWord) {
    std::ifstream in(ZELVAR_SOURCE_DIR "/languages/Russian.ini", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.find(Utf16ToUtf8(std::wstring(L"msupdate=") + kUpdateQuestionFallback) + "\r\n"),
              std::string::npos);
}
