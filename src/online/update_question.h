#pragma once
// The text of the update question in the language chosen now.
#include <optional>
#include <string_view>
#include <string>

namespace zelvar {

inline constexpr wchar_t kUpdateQuestionKey[] = L"msupdate";

// selectedFile: the bytes of the chosen language's file, or nullopt when it
// is missing or cannot be read. usualText: what the program's lookup gives
// for the key then (English.ini, then the built-in English, else the key
// itself), since everything else is shown in English in that case too.
//  - A file with a non-empty text for the key: that text.
//  - A file without it (one written for an older version, or a text that is
//    empty or not UTF-8): the question as it always read, in Russian
//    (kUpdateQuestionFallback). So is a lookup that found nothing.
std::wstring UpdateQuestionText(const std::optional<std::string>& selectedFile, std::wstring_view usualText);

}  // namespace zelvar
