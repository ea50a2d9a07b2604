#pragma once
// IniStore over one INI file, through GetPrivateProfileStringW and
// WritePrivateProfileStringW: the file is opened for each access and closed
// again, nothing is cached.
#include <string>

#include "common/ini.h"

namespace zelvar {

class IniFile : public IniStore {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}
    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const override;
    bool Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

}  // namespace zelvar
