#include "i18n/lang_files_win.h"

#include <windows.h>

#include "common/handles_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "common/text.h"
#include "i18n/lang_lookup.h"

namespace zelvar {

namespace {

// A language file holds a few dozen short lines; anything this big is not one.
constexpr LONGLONG kMaxLanguageFileSize = 4 * 1024 * 1024;

std::wstring SystemMessage(DWORD code) {
    std::wstring text = SystemErrorText(code);
    if (text.empty()) text = L"Error code " + std::to_wstring(code) + L".";
    return text;
}

LanguageFileError FileError(const std::wstring& path, DWORD code) {
    return LanguageFileError(path, code, FormatLanguageFileErrorMessage(path, SystemMessage(code)));
}

std::wstring PathFor(const std::wstring& programFolder, int languageIndex) {
    return LanguageFilePath(programFolder, languageIndex);
}

void RequireLanguageIndex(const std::wstring& programFolder, int languageIndex) {
    if (IsLanguageIndex(languageIndex)) return;
    const std::wstring path = PathFor(programFolder, languageIndex);
    throw LanguageFileError(path, 0,
                            FormatLanguageFileErrorMessage(path, L"No language is selected (list index " +
                                                                     std::to_wstring(languageIndex) + L")."));
}

// The whole file, or LanguageFileError.
std::string ReadLanguageFile(const std::wstring& path) {
    // Sharing everything lets an editor keep the file open while we read it.
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw FileError(path, GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw FileError(path, GetLastError());
    if (size.QuadPart > kMaxLanguageFileSize) throw FileError(path, ERROR_FILE_TOO_LARGE);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        if (!ReadFile(file.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr))
            throw FileError(path, GetLastError());
        if (n == 0) break;  // the file shrank while we read it
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace

LanguageFileError::LanguageFileError(std::wstring path, unsigned long code, const std::wstring& message)
    : std::runtime_error(Utf16ToUtf8(message)), path_(std::move(path)), code_(code) {}

std::wstring GetLangText(const std::wstring& programFolder, int languageIndex, const std::wstring& key) {
    RequireLanguageIndex(programFolder, languageIndex);
    const std::string selected = ReadLanguageFile(PathFor(programFolder, languageIndex));
    if (auto text = FindLangText(selected, key)) return std::move(*text);
    // Every caller puts the result straight on screen: a key missing from a
    // translation shows in English, and as the bare key when English lacks it.
    if (languageIndex != kEnglishLanguageIndex) {
        try {
            const std::string english = ReadLanguageFile(PathFor(programFolder, kEnglishLanguageIndex));
            if (auto text = FindLangText(english, key)) return std::move(*text);
        } catch (const LanguageFileError&) {
            // The selected file was readable; a missing fallback is no reason to fail.
        }
    }
    return key;
}

std::wstring GetLangText(int languageIndex, const std::wstring& key) {
    return GetLangText(ExeFolder(), languageIndex, key);
}

std::optional<LanguageFileError> CheckLanguageFile(const std::wstring& programFolder, int languageIndex) {
    try {
        RequireLanguageIndex(programFolder, languageIndex);
        ReadLanguageFile(PathFor(programFolder, languageIndex));
    } catch (const LanguageFileError& error) {
        return error;
    }
    return std::nullopt;
}

std::optional<LanguageFileError> CheckLanguageFile(int languageIndex) {
    return CheckLanguageFile(ExeFolder(), languageIndex);
}

int SystemDefaultLanguageIndex() { return DefaultLanguageIndex(GetSystemDefaultLCID()); }

}  // namespace zelvar
