#pragma once
// Language files: which file belongs to which entry of the language list, the
// default language for a first start, and the lookup of one text by its key in
// a file's bytes. No file access here; the Win32 side reads the file.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"  // IsValidUtf8

namespace zelvar {

struct LanguageInfo {
    std::wstring_view listEntry;  // shown in the language list, the same in every language
    std::wstring_view fileName;   // inside the "languages" folder beside the program
};

inline constexpr int kLanguageCount = 3;
inline constexpr int kRussianLanguageIndex = 0;
inline constexpr int kEnglishLanguageIndex = 1;
inline constexpr int kGermanLanguageIndex = 2;

// Index 0 Russian, 1 English, 2 Deutsch: the order of the language list.
const std::array<LanguageInfo, kLanguageCount>& LanguageList();

bool IsLanguageIndex(int index);
// "Russian.ini", "English.ini", "Deutsch.ini"; empty for any other index.
std::wstring LanguageFileName(int index);
// programFolder (with or without a trailing backslash) + "languages\" + file name.
std::wstring LanguageFilePath(std::wstring_view programFolder, int index);

// The language for a first start from the system's default locale, by its
// primary language: Russian for any Russian locale, German for any German
// one, English for everything else. Only the low 16 bits (the language
// identifier) count, so a whole LCID may be passed as well.
int DefaultLanguageIndex(unsigned long languageId);
// A stored index outside the list selects Russian.
int LanguageIndexOrRussian(int index);

// The text of `key` in a language file's raw bytes, or nullopt when no line
// carries that key.
//  - A line is "key=text"; the key is everything before the first "=" with
//    blanks around it dropped and must equal `key` exactly (case matters). A
//    key that is only the beginning of a line's key never matches.
//  - The text is everything after that "=", without the blanks directly after
//    it; blanks at its end belong to it. An empty text is a found text.
//  - Lines end in CR LF, LF or CR; a UTF-8 byte order mark is skipped; section
//    headers ("[LANGFILE]") and ";" comments are never keys; the first line
//    with the key wins, wherever it stands.
//  - A text that is not valid UTF-8 (a file saved in a single-byte code page,
//    a cut-off line) counts as missing, so the next file in line supplies it
//    rather than the window showing garbage or nothing.
std::optional<std::wstring> FindLangText(std::string_view fileBytes, std::wstring_view key);

// A language file saved as UTF-16 (with its byte order mark) as UTF-8; any
// other file unchanged.
std::string LanguageFileAsUtf8(std::string bytes);

// The message shown when a language file cannot be opened or read.
std::wstring FormatLanguageFileErrorMessage(std::wstring_view path, std::wstring_view systemText);

}  // namespace zelvar
