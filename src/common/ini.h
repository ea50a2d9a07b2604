#pragma once
// The seam between the program and its INI files. The program's files are
// plain INI files read and written through the Win32 private-profile
// functions (IniFile in ini_win.h); tests of the rules use MemoryIni.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zelvar {

class IniStore {
public:
    virtual ~IniStore() = default;
    // The value, or fallback when the file, section or key is missing.
    virtual std::wstring Read(const std::wstring& section, const std::wstring& key,
                              const std::wstring& fallback) const = 0;
    // Creates file, section and key as needed; false when the write failed.
    virtual bool Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;
};

// An INI store in memory, for tests and for rules that need no file.
class MemoryIni : public IniStore {
public:
    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const override {
        auto it = values_.find({section, key});
        return it == values_.end() ? fallback : it->second;
    }
    bool Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override {
        if (failAfterWrites_ == 0) return false;
        if (failAfterWrites_ > 0) --failAfterWrites_;
        values_[{section, key}] = value;
        writeOrder_.push_back(key);
        return true;
    }
    bool Has(const std::wstring& section, const std::wstring& key) const { return values_.count({section, key}) > 0; }
    // Lets the next n writes succeed and every one after them fail (-1: never fail).
    void FailAfter(int n) { failAfterWrites_ = n; }
    const std::vector<std::wstring>& WriteOrder() const { return writeOrder_; }

private:
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> values_;
    std::vector<std::wstring> writeOrder_;
    int failAfterWrites_ = -1;
};

}  // namespace zelvar
