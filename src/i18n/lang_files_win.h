#pragma once
// Reading the language files beside the program. Every lookup reads the file
// anew, so an edited file takes effect at the next lookup.
#include <optional>
#include <stdexcept>
#include <string>

namespace zelvar {

// A language file that is missing or cannot be read. what() is the message for
// the user in UTF-8 (it names the file and gives the system's reason), which
// is what the top-level error handler shows.
class LanguageFileError : public std::runtime_error {
public:
    LanguageFileError(std::wstring path, unsigned long code, const std::wstring& message);
    const std::wstring& Path() const { return path_; }
    // The system error code of the failed open or read (0 when there was none).
    unsigned long Code() const { return code_; }

private:
    std::wstring path_;
    unsigned long code_;
};

// The text of `key` in the language with the given index of the language list,
// read from "languages\<file>" beside the executable.
// - A key that the selected file lacks yields the English text of that key,
//   and the key itself when English lacks it too (or cannot be read).
// - A missing or unreadable selected file, or an index outside the list,
//   throws LanguageFileError.
std::wstring GetLangText(int languageIndex, const std::wstring& key);
// The same with the program folder given (the folder that holds "languages").
std::wstring GetLangText(const std::wstring& programFolder, int languageIndex, const std::wstring& key);

// Whether the selected language file can be read: nullopt when it can, else the
// error a lookup would throw, for callers that report it once and carry on.
std::optional<LanguageFileError> CheckLanguageFile(int languageIndex);
std::optional<LanguageFileError> CheckLanguageFile(const std::wstring& programFolder, int languageIndex);

// The language for a first start, from the system's default locale.
int SystemDefaultLanguageIndex();

}  // namespace zelvar
