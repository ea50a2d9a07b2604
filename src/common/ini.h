#pragma once
// The seam between the program and its INI files. The program's files are
// plain INI files (IniFile in ini_win.h reads and rewrites them whole, see
// there); tests of the rules use MemoryIni.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zelvar {

// One value to write: section, key, value.
struct IniEntry {
    std::wstring section, key, value;
};

// What reading a whole file found. A file that is there but cannot be read
// (held open by another program, access denied, a read error) is never
// taken for a missing one: that would let the program write its defaults
// over the user's file.
enum class IniFileState { Read, Missing, Unreadable };

class IniStore {
public:
    virtual ~IniStore() = default;
    // The value, or fallback when the file, section or key is missing.
    virtual std::wstring Read(const std::wstring& section, const std::wstring& key,
                              const std::wstring& fallback) const = 0;
    // Creates file, section and key as needed; false when the write failed.
    virtual bool Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;
    // Writes the entries in order. IniFile and MemoryIni write all of them
    // or none; this fallback for other stores writes one after the other
    // and stops at the first failure.
    virtual bool WriteAll(const std::vector<IniEntry>& entries) {
        for (const auto& e : entries)
            if (!Write(e.section, e.key, e.value)) return false;
        return true;
    }
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
    // All or nothing, as IniFile does it: a batch that would run into the
    // failure point writes nothing.
    bool WriteAll(const std::vector<IniEntry>& entries) override {
        if (failAfterWrites_ >= 0 && static_cast<size_t>(failAfterWrites_) < entries.size()) return false;
        for (const auto& e : entries) Write(e.section, e.key, e.value);
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
