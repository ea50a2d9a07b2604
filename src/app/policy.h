#pragma once
// Group Policy: the values an administrator sets under SOFTWARE\Policies\Zelvar
// (the computer's key wins over the user's). They are named after the keys
// the program stores: the options as the config.ini keys directly under the
// policy key, the week as the scheduler.ini keys under its subkey Week. A
// policy value wins over the files, which keep the user's own values: the
// program never writes a policy value into them.
//
// Here the values are decided from what the registry holds (type and data);
// policy_win.h reads the registry.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "common/datetime.h"

namespace zelvar {

inline constexpr wchar_t kPolicyKeyPath[] = L"SOFTWARE\\Policies\\Zelvar";
inline constexpr wchar_t kPolicyWeekSubkey[] = L"Week";

// A tick is REG_SZ "1"/"0" or REG_DWORD 1/0; a time is REG_SZ "HH:mm:ss",
// 24-hour whatever the regional format of the PC.
enum class PolicyKind { Tick, Time };

struct PolicyValueName {
    std::wstring subkey;  // empty: directly under the policy key; else kPolicyWeekSubkey
    std::wstring name;    // the value's name, the same as the file's key
    PolicyKind kind;
};

// Every value the program reads: actsheduler, allclose, resetafteron,
// autoload and autoupd, then the 28 keys of the week, day by day. The
// administrative template names the same (tools/check-policy-template
// compares it with this list, printed by the policy_names program).
const std::vector<PolicyValueName>& PolicyValueNames();

// The registry types the program takes (the numbers of winnt.h).
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// One value as the registry holds it.
struct RawPolicyValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};
// One hive's values, by "name" or "Week\name"; absent values are not there.
using RawPolicyValues = std::map<std::wstring, RawPolicyValue>;
// The map key of a value in RawPolicyValues and PolicySet.
std::wstring PolicyValueId(const PolicyValueName& value);

// A value that is there but cannot be taken.
struct PolicyProblem {
    bool machine = false;  // HKEY_LOCAL_MACHINE, else HKEY_CURRENT_USER
    std::wstring id;       // as PolicyValueId
    std::wstring reason;   // "wrong type 3", "not a tick: yes", "not a time: 25:00:00"
    friend bool operator==(const PolicyProblem&, const PolicyProblem&) = default;
};

// What is in force: for each value set by a policy its text as the files
// write it ("1"/"0" for ticks, "HH:mm:ss" for times).
struct PolicySet {
    std::map<std::wstring, std::wstring> values;
    std::vector<PolicyProblem> problems;

    bool Empty() const { return values.empty(); }
    const std::wstring* Find(const std::wstring& id) const {
        auto it = values.find(id);
        return it == values.end() ? nullptr : &it->second;
    }
    // An option under the policy key: its tick, nullopt when no policy sets it.
    std::optional<bool> Tick(const std::wstring& name) const;
    // The values alone, problems aside: whether anything in force changed.
    bool SameValues(const PolicySet& other) const { return values == other.values; }
};

// The computer's value wins; a value that is malformed (wrong type, a tick
// other than 1/0, a time that is no 24-hour time of day) is ignored for its
// own setting alone, as if it were not there, and listed in problems.
PolicySet DecidePolicy(const RawPolicyValues& machine, const RawPolicyValues& user);

// The option values a policy can set, the ones the settings file keeps.
struct OptionLocks {
    std::optional<bool> autoload, allclose, resetafteron, autoupd, actsheduler;
    bool Any() const { return autoload || allclose || resetafteron || autoupd || actsheduler; }
};
OptionLocks PolicyOptionLocks(const PolicySet& policy);

// What the window shows: the user's own values with the policy's over them.
Settings ShownSettings(const Settings& own, const OptionLocks& locks);
// The user's own values back from what the window shows: a value the policy
// sets keeps the user's value from before (ownBefore), the others are the
// window's. This is what a save writes.
Settings OwnSettings(const Settings& shown, const Settings& ownBefore, const OptionLocks& locks);

// The week's values by their scheduler.ini key ("off_time1_3" and so on).
std::map<std::wstring, std::wstring> WeekPolicyOf(const PolicySet& policy);

// The night log's line for a value that was ignored.
std::string PolicyProblemLine(const std::string& at, const PolicyProblem& problem);

}  // namespace zelvar
