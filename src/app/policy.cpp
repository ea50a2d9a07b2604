#include "app/policy.h"

#include <cwctype>

#include "common/text.h"
#include "scheduler/schedule_file.h"

namespace zelvar {
namespace {

std::vector<PolicyValueName> MakeNames() {
    std::vector<PolicyValueName> names;
    for (const wchar_t* option : {L"actsheduler", L"allclose", L"resetafteron", L"autoload", L"autoupd"})
        names.push_back({L"", option, PolicyKind::Tick});
    for (int day = 1; day <= 7; ++day)
        for (ScheduleDirection d : {ScheduleDirection::Off, ScheduleDirection::On}) {
            names.push_back({kPolicyWeekSubkey, ScheduleTickKey(d, day), PolicyKind::Tick});
            names.push_back({kPolicyWeekSubkey, ScheduleTimeKey(d, day), PolicyKind::Time});
        }
    return names;
}

// REG_SZ data as text: UTF-16, up to the first NUL (the terminator is
// optional in the registry). An odd byte count is no string.
std::optional<std::wstring> StringData(const std::vector<std::uint8_t>& data) {
    if (data.size() % 2 != 0) return std::nullopt;
    std::wstring text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (c == L'\0') break;
        text += c;
    }
    return text;
}

// "HH:mm:ss" (one-digit hours too), 24-hour, as "HH:mm:ss".
std::optional<std::wstring> NormalTime(const std::wstring& text) {
    const std::wstring t = Trim(text);
    const size_t first = t.find(L':');
    if (first != 1 && first != 2) return std::nullopt;
    if (t.size() != first + 6 || t[first + 3] != L':') return std::nullopt;
    for (size_t i = 0; i < t.size(); ++i)
        if (i != first && i != first + 3 && !std::iswdigit(t[i])) return std::nullopt;
    const int hour = std::stoi(t.substr(0, first));
    const int minute = std::stoi(t.substr(first + 1, 2));
    const int second = std::stoi(t.substr(first + 4, 2));
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    std::wstring normal = t;
    if (first == 1) normal = L"0" + normal;
    return normal;
}

// The value's text as the files write it, or the reason it cannot be taken.
struct Decoded {
    std::optional<std::wstring> text;
    std::wstring reason;
};

Decoded Decode(const RawPolicyValue& raw, PolicyKind kind) {
    if (kind == PolicyKind::Tick && raw.type == kRegDword) {
        if (raw.data.size() != 4) return {std::nullopt, L"a DWORD of " + std::to_wstring(raw.data.size()) + L" bytes"};
        const std::uint32_t v =
            raw.data[0] | (raw.data[1] << 8) | (raw.data[2] << 16) | (static_cast<std::uint32_t>(raw.data[3]) << 24);
        if (v > 1) return {std::nullopt, L"not a tick: " + std::to_wstring(v)};
        return {v == 1 ? L"1" : L"0", {}};
    }
    if (raw.type != kRegSz) return {std::nullopt, L"wrong type " + std::to_wstring(raw.type)};
    const std::optional<std::wstring> text = StringData(raw.data);
    if (!text) return {std::nullopt, L"a string of an odd byte count"};
    if (kind == PolicyKind::Tick) {
        const std::wstring t = Trim(*text);
        if (t != L"1" && t != L"0") return {std::nullopt, L"not a tick: " + *text};
        return {t, {}};
    }
    if (auto time = NormalTime(*text)) return {*time, {}};
    return {std::nullopt, L"not a time: " + *text};
}

}  // namespace

const std::vector<PolicyValueName>& PolicyValueNames() {
    static const std::vector<PolicyValueName> names = MakeNames();
    return names;
}

std::wstring PolicyValueId(const PolicyValueName& value) {
    return value.subkey.empty() ? value.name : value.subkey + L"\\" + value.name;
}

std::optional<bool> PolicySet::Tick(const std::wstring& name) const {
    if (const std::wstring* v = Find(name)) return *v == L"1";
    return std::nullopt;
}

PolicySet DecidePolicy(const RawPolicyValues& machine, const RawPolicyValues& user) {
    PolicySet set;
    for (const PolicyValueName& name : PolicyValueNames()) {
        const std::wstring id = PolicyValueId(name);
        for (const bool fromMachine : {true, false}) {
            const RawPolicyValues& hive = fromMachine ? machine : user;
            auto it = hive.find(id);
            if (it == hive.end()) continue;
            const Decoded d = Decode(it->second, name.kind);
            if (d.text) {
                set.values[id] = *d.text;
                break;  // the computer's value wins
            }
            set.problems.push_back({fromMachine, id, d.reason});
        }
    }
    return set;
}

OptionLocks PolicyOptionLocks(const PolicySet& policy) {
    OptionLocks locks;
    locks.autoload = policy.Tick(L"autoload");
    locks.allclose = policy.Tick(L"allclose");
    locks.resetafteron = policy.Tick(L"resetafteron");
    locks.autoupd = policy.Tick(L"autoupd");
    locks.actsheduler = policy.Tick(L"actsheduler");
    return locks;
}

Settings ShownSettings(const Settings& own, const OptionLocks& locks) {
    Settings s = own;
    s.autoload = locks.autoload.value_or(own.autoload);
    s.allclose = locks.allclose.value_or(own.allclose);
    s.resetafteron = locks.resetafteron.value_or(own.resetafteron);
    s.autoupd = locks.autoupd.value_or(own.autoupd);
    s.schedulerRunning = locks.actsheduler.value_or(own.schedulerRunning);
    return s;
}

Settings OwnSettings(const Settings& shown, const Settings& ownBefore, const OptionLocks& locks) {
    Settings s = shown;
    if (locks.autoload) s.autoload = ownBefore.autoload;
    if (locks.allclose) s.allclose = ownBefore.allclose;
    if (locks.resetafteron) s.resetafteron = ownBefore.resetafteron;
    if (locks.autoupd) s.autoupd = ownBefore.autoupd;
    if (locks.actsheduler) s.schedulerRunning = ownBefore.schedulerRunning;
    return s;
}

std::map<std::wstring, std::wstring> WeekPolicyOf(const PolicySet& policy) {
    std::map<std::wstring, std::wstring> week;
    const std::wstring prefix = std::wstring(kPolicyWeekSubkey) + L"\\";
    for (const auto& [id, value] : policy.values)
        if (id.rfind(prefix, 0) == 0) week[id.substr(prefix.size())] = value;
    return week;
}

std::string PolicyProblemLine(const std::string& at, const PolicyProblem& problem) {
    std::wstring reason;
    for (wchar_t c : problem.reason) reason += (c == L'\r' || c == L'\n') ? L' ' : c;  // one line, whatever the value
    const std::wstring where =
        std::wstring(problem.machine ? L"HKLM\\" : L"HKCU\\") + kPolicyKeyPath + L"\\" + problem.id;
    return at + " policy ignored " + Utf16ToUtf8(where) + ": " + Utf16ToUtf8(reason) + "\r\n";
}

}  // namespace zelvar
