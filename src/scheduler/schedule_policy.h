#pragma once
// scheduler.ini with the administrator's week over it: the keys a policy
// sets answer with the policy's value (its times in this PC's regional
// format, as the file keeps them), the others come from the file. Writes of
// a key the policy sets are dropped, so the file keeps the user's own value;
// the others reach the file.
#include <map>
#include <string>

#include "common/ini.h"
#include "common/locale_format.h"

namespace zelvar {

// The week's policy values by their scheduler.ini key ("off_time1_3"), ticks
// "1"/"0", times 24-hour "HH:mm:ss".
using WeekPolicy = std::map<std::wstring, std::wstring>;

class PolicyScheduleIni : public IniStore {
public:
    // Keeps its own copy of the policy and the formats; the file is the caller's.
    PolicyScheduleIni(IniStore& file, WeekPolicy policy, LocaleFormats formats)
        : file_(&file), readOnly_(&file), policy_(std::move(policy)), formats_(std::move(formats)) {}
    PolicyScheduleIni(const IniStore& file, WeekPolicy policy, LocaleFormats formats)
        : readOnly_(&file), policy_(std::move(policy)), formats_(std::move(formats)) {}

    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback) const override;
    bool Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    bool WriteAll(const std::vector<IniEntry>& entries) override;

    // Whether the policy sets this key of the week.
    bool Locked(const std::wstring& key) const { return policy_.count(key) > 0; }

private:
    IniStore* file_ = nullptr;  // null: reading only
    const IniStore* readOnly_;
    WeekPolicy policy_;
    LocaleFormats formats_;
};

}  // namespace zelvar
