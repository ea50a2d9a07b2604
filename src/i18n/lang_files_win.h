#pragma once
// Reading the language files beside the program. A lookup never fails and
// never leaves a caption blank: the text comes from the selected file, else
// from English.ini, else from the English catalogue built into the program,
// else it is the key itself. A selected file that is missing or cannot be
// read is reported once per run, for the shell to show.
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/ini.h"

namespace zelvar {

struct LanguageFileProblem {
    std::wstring path;
    unsigned long code = 0;  // the system's error code (ERROR_FILE_NOT_FOUND for a missing file)
    std::wstring message;    // for the user: the file, the system's reason, what is shown instead
};

class LanguageTexts {
public:
    // programFolder holds the "languages" folder; builtinEnglish is the
    // built-in English catalogue in the language file format.
    LanguageTexts(std::wstring programFolder, std::string builtinEnglish);

    // The text of key in the language with the given index of the language
    // list (an index outside the list gives English).
    std::wstring Get(int languageIndex, const std::wstring& key);

    // The problems met since the last call, oldest first; each file only once
    // in the life of this object.
    std::vector<LanguageFileProblem> TakeProblems();

    // While one lives, each file is looked at on disk once: the hundred
    // lookups of one application of a language cost one look, and an edited
    // file still takes effect at the next application.
    class Batch {
    public:
        explicit Batch(LanguageTexts& texts) : texts_(texts) { ++texts_.batches_; }
        ~Batch() {
            if (--texts_.batches_ == 0) texts_.looked_.clear();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        LanguageTexts& texts_;
    };

private:
    // A file as last read. Kept while the file's last-write time and size
    // stay the same, so an edited file takes effect at the next lookup while
    // the eighty lookups of one application read it once.
    struct CachedFile {
        IniFileState state = IniFileState::Missing;
        unsigned long error = 0;
        unsigned long long writeTime = 0, size = 0;
        std::string bytes;  // UTF-8
    };
    const CachedFile& File(const std::wstring& path);
    void NoteProblem(const std::wstring& path, const CachedFile& file);

    std::wstring folder_;
    std::string builtin_;
    std::map<std::wstring, CachedFile> files_;
    std::set<std::wstring> reported_;
    int batches_ = 0;
    std::set<std::wstring> looked_;  // the files looked at in the open batch
    std::vector<LanguageFileProblem> pending_;
};

// The English catalogue built into the running executable (the resource
// BUILTIN_ENGLISH of type RCDATA, made from languages\English.ini); empty
// when it has none.
std::string BuiltinEnglishCatalogue();

// The program's lookup: the files beside the executable and its built-in
// catalogue.
LanguageTexts& ProgramLanguageTexts();
std::wstring GetLangText(int languageIndex, const std::wstring& key);

// Shows each problem the program's lookups met and nobody has shown yet, in
// a message box of its own (the application's title, an error icon).
void ShowLanguageFileProblems(HWND owner);

// The language for a first start, from the system's default locale.
int SystemDefaultLanguageIndex();

}  // namespace zelvar
