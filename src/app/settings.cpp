#include "app/settings.h"

#include "common/text.h"

namespace zelvar {

bool ReadTickValue(const std::wstring& value) { return Trim(value) == L"1"; }
bool ReadSchedulerRunning(const std::wstring& value) { return value != L"0"; }
bool ReadFirstStart(const std::wstring& value) { return value == L"1"; }

int ReadLanguageIndex(const std::wstring& value, int defaultIndex) {
    const auto n = ParseWholeNumber(value);
    if (!n) return defaultIndex;
    return (*n >= 0 && *n <= 2) ? *n : 0;
}

std::vector<std::wstring> ParseAutoexe(const std::wstring& value) {
    std::vector<std::wstring> entries;
    if (IsBlank(value)) return entries;
    size_t start = 0;
    for (;;) {
        const size_t bar = value.find(L'|', start);
        const std::wstring piece = value.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
        if (!IsBlank(piece)) entries.push_back(piece);
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
    return entries;
}

std::wstring JoinAutoexe(const std::vector<std::wstring>& entries) {
    std::wstring value;
    for (const auto& e : entries) value += e + L"|";
    if (!value.empty()) value.pop_back();
    return value;
}

Settings ReadSettings(const IniStore& ini, int lngDefault) {
    auto read = [&ini](const wchar_t* key, const std::wstring& fallback) {
        return ini.Read(kOptionsSection, key, fallback);
    };
    Settings s;
    s.autoload = ReadTickValue(read(L"autoload", L"1"));
    s.tray = ReadTickValue(read(L"tray", L"0"));
    s.allclose = ReadTickValue(read(L"allclose", L"1"));
    s.autoexe = ParseAutoexe(read(L"autoexe", L""));
    s.logosound = ReadTickValue(read(L"logosound", L"1"));
    s.autoupd = ReadTickValue(read(L"autoupd", L"1"));
    s.resetafteron = ReadTickValue(read(L"resetafteron", L"0"));
    s.schedulerRunning = ReadSchedulerRunning(read(L"actsheduler", L"0"));
    s.firstStart = ReadFirstStart(read(L"fs", L"1"));
    s.lng = ReadLanguageIndex(read(L"lng", std::to_wstring(lngDefault)), lngDefault);
    return s;
}

bool WriteSettings(IniStore& ini, const Settings& s) {
    auto flag = [](bool b) { return std::wstring(b ? L"1" : L"0"); };
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"autoload", flag(s.autoload)},
        {L"tray", flag(s.tray)},
        {L"allclose", flag(s.allclose)},
        {L"autoexe", JoinAutoexe(s.autoexe)},
        {L"logosound", flag(s.logosound)},
        {L"autoupd", flag(s.autoupd)},
        {L"resetafteron", flag(s.resetafteron)},
        {L"actsheduler", flag(s.schedulerRunning)},
        {L"fs", L"0"},
        {L"lng", std::to_wstring(s.lng)},
    };
    std::vector<IniEntry> entries;
    for (const auto& [key, value] : values) entries.push_back({kOptionsSection, key, value});
    return ini.WriteAll(entries);
}

SettingsLoad DecideSettingsLoad(IniFileState state, const IniStore& values, int lngDefault, unsigned long readError) {
    SettingsLoad load;
    if (state == IniFileState::Unreadable) {
        load.settings = ReadSettings(MemoryIni(), lngDefault);
        load.settings.firstStart = false;  // the user's file is there: no first-start steps
        load.writable = false;
        load.reportUnreadable = true;
        load.readError = readError;
        return load;
    }
    load.settings =
        state == IniFileState::Read ? ReadSettings(values, lngDefault) : ReadSettings(MemoryIni(), lngDefault);
    return load;
}

}  // namespace zelvar
