#include "app/policy_win.h"

#include <set>
#include <tuple>

#include "common/handles_win.h"
#include "power/cycle_log_win.h"

namespace zelvar {

RawPolicyValues ReadPolicyValues(HKEY root, const std::wstring& path) {
    RawPolicyValues values;
    UniqueKey keys[2];
    const std::wstring week = path + L"\\" + kPolicyWeekSubkey;
    // The program is 64-bit: the policies' own view of the registry.
    RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, keys[0].put());
    RegOpenKeyExW(root, week.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, keys[1].put());
    for (const PolicyValueName& name : PolicyValueNames()) {
        HKEY key = name.subkey.empty() ? keys[0].get() : keys[1].get();
        if (!key) continue;
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, name.name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) continue;
        if (size > 64 * 1024) continue;  // no setting of ours is anywhere near this
        RawPolicyValue raw;
        raw.data.resize(size);
        if (RegQueryValueExW(key, name.name.c_str(), nullptr, &type, raw.data.data(), &size) != ERROR_SUCCESS) continue;
        raw.type = type;
        raw.data.resize(size);
        values[PolicyValueId(name)] = std::move(raw);
    }
    return values;
}

PolicySet ReadPolicy() {
    return DecidePolicy(ReadPolicyValues(HKEY_LOCAL_MACHINE, kPolicyKeyPath),
                        ReadPolicyValues(HKEY_CURRENT_USER, kPolicyKeyPath));
}

void LogPolicyProblemsOnce(const PolicySet& policy) {
    static std::set<std::tuple<bool, std::wstring, std::wstring>> logged;
    for (const PolicyProblem& p : policy.problems) {
        if (!logged.insert({p.machine, p.id, p.reason}).second) continue;
        AppendCycleLog(PolicyProblemLine(FormatLogMoment(LogNow()), p));
    }
}

}  // namespace zelvar
