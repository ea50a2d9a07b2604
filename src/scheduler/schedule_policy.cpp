#include "scheduler/schedule_policy.h"

#include "scheduler/schedule_file.h"
#include "scheduler/schedule_time.h"

namespace zelvar {

std::wstring PolicyScheduleIni::Read(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& fallback) const {
    if (section == kScheduleSection) {
        auto it = policy_.find(key);
        if (it != policy_.end()) {
            // A time reads as the locale writes it, so every reader of the
            // file takes it as it takes the file's own times.
            if (key.rfind(L"off_time", 0) == 0)
                if (auto time = ReadScheduleTime(it->second, formats_)) return ScheduleTimeText(*time, formats_);
            return it->second;
        }
    }
    return readOnly_->Read(section, key, fallback);
}

bool PolicyScheduleIni::Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (section == kScheduleSection && Locked(key)) return true;
    return file_ && file_->Write(section, key, value);
}

bool PolicyScheduleIni::WriteAll(const std::vector<IniEntry>& entries) {
    std::vector<IniEntry> own;
    for (const IniEntry& e : entries)
        if (!(e.section == kScheduleSection && Locked(e.key))) own.push_back(e);
    if (own.empty()) return true;
    return file_ && file_->WriteAll(own);
}

}  // namespace zelvar
