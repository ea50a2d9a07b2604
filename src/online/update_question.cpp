#include "online/update_question.h"

#include "i18n/lang_lookup.h"
#include "online/update_rules.h"

namespace zelvar {

std::wstring UpdateQuestionText(const std::optional<std::string>& selectedFile, std::wstring_view usualText) {
    if (selectedFile) {
        const auto text = FindLangText(LanguageFileAsUtf8(*selectedFile), kUpdateQuestionKey);
        return text && !text->empty() ? *text : kUpdateQuestionFallback;
    }
    if (usualText.empty() || usualText == kUpdateQuestionKey) return kUpdateQuestionFallback;
    return std::wstring(usualText);
}

}  // namespace zelvar
