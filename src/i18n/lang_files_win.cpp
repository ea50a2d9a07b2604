#include "i18n/lang_files_win.h"

#include <utility>

#include "common/files_win.h"
#include "common/os_error_win.h"
#include "common/paths_win.h"
#include "i18n/lang_lookup.h"

namespace zelvar {

namespace {

// A language file holds a few dozen short lines; anything this big is not one.
constexpr unsigned long long kMaxLanguageFileSize = 4 * 1024 * 1024;

unsigned long long Join(DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; }

std::wstring SystemMessage(DWORD code) {
    std::wstring text = SystemErrorText(code);
    if (text.empty()) text = L"Error code " + std::to_wstring(code) + L".";
    return text;
}

}  // namespace

LanguageTexts::LanguageTexts(std::wstring programFolder, std::string builtinEnglish)
    : folder_(std::move(programFolder)), builtin_(LanguageFileAsUtf8(std::move(builtinEnglish))) {}

const LanguageTexts::CachedFile& LanguageTexts::File(const std::wstring& path) {
    CachedFile& cached = files_[path];
    if (batches_ > 0 && !looked_.insert(path).second) return cached;
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info)) {
        const DWORD code = GetLastError();
        cached = CachedFile{};
        cached.error = code;
        cached.state = (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) ? IniFileState::Missing
                                                                                      : IniFileState::Unreadable;
        return cached;
    }
    const unsigned long long time = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    const unsigned long long size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    if (cached.state == IniFileState::Read && cached.writeTime == time && cached.size == size) return cached;

    cached = CachedFile{};
    cached.writeTime = time;
    cached.size = size;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        cached.state = IniFileState::Unreadable;
        cached.error = ERROR_ACCESS_DENIED;
    } else if (size > kMaxLanguageFileSize) {
        cached.state = IniFileState::Unreadable;
        cached.error = ERROR_FILE_TOO_LARGE;
    } else {
        FileRead read = ReadWholeFile(path);
        cached.state = read.state;
        cached.error = read.state == IniFileState::Missing ? ERROR_FILE_NOT_FOUND : read.error;
        cached.bytes = LanguageFileAsUtf8(std::move(read.bytes));
    }
    return cached;
}

void LanguageTexts::NoteProblem(const std::wstring& path, const CachedFile& file) {
    if (!reported_.insert(path).second) return;
    LanguageFileProblem problem;
    problem.path = path;
    problem.code = file.error;
    problem.message = FormatLanguageFileErrorMessage(path, SystemMessage(file.error)) +
                      L"\r\nThe texts are shown in English instead.";
    pending_.push_back(std::move(problem));
}

std::wstring LanguageTexts::Get(int languageIndex, const std::wstring& key) {
    if (IsLanguageIndex(languageIndex)) {
        const std::wstring path = LanguageFilePath(folder_, languageIndex);
        const CachedFile& selected = File(path);
        if (selected.state == IniFileState::Read) {
            if (auto text = FindLangText(selected.bytes, key)) return std::move(*text);
        } else {
            NoteProblem(path, selected);
        }
    }
    // A key missing from a translation, or a file that cannot be read,
    // shows in English.
    if (languageIndex != kEnglishLanguageIndex) {
        const CachedFile& english = File(LanguageFilePath(folder_, kEnglishLanguageIndex));
        if (english.state == IniFileState::Read)
            if (auto text = FindLangText(english.bytes, key)) return std::move(*text);
    }
    if (auto text = FindLangText(builtin_, key)) return std::move(*text);
    return key;
}

std::vector<LanguageFileProblem> LanguageTexts::TakeProblems() { return std::exchange(pending_, {}); }

std::string BuiltinEnglishCatalogue() {
    HRSRC res = FindResourceW(nullptr, L"BUILTIN_ENGLISH", RT_RCDATA);
    if (!res) return {};
    HGLOBAL data = LoadResource(nullptr, res);
    const DWORD size = SizeofResource(nullptr, res);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes || size == 0) return {};
    return std::string(static_cast<const char*>(bytes), size);
}

LanguageTexts& ProgramLanguageTexts() {
    static LanguageTexts texts(ExeFolder(), BuiltinEnglishCatalogue());
    return texts;
}

std::wstring GetLangText(int languageIndex, const std::wstring& key) {
    return ProgramLanguageTexts().Get(languageIndex, key);
}

void ShowLanguageFileProblems(HWND owner) {
    for (const auto& problem : ProgramLanguageTexts().TakeProblems())
        MessageBoxW(owner, problem.message.c_str(), ApplicationTitle(), MB_OK | MB_ICONERROR);
}

int SystemDefaultLanguageIndex() { return DefaultLanguageIndex(GetSystemDefaultLCID()); }

}  // namespace zelvar
