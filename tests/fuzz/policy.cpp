// Group Policy values as the registry may hold them: each input line is one
// value, its first byte choosing the value of the table, the hive and the
// registry type, the rest its data as it is.
#include <cstdint>

#include "app/policy.h"
#include "fuzz_input.h"
#include "scheduler/schedule_policy.h"
#include "scheduler/schedule_time.h"

using namespace zelvar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto& names = PolicyValueNames();
    RawPolicyValues hives[2];
    for (std::string_view line : fuzz::Lines(fuzz::Bytes(data, size), 8)) {
        if (line.empty()) continue;
        const auto pick = static_cast<std::uint8_t>(line[0]);
        const std::uint32_t types[] = {kRegSz, kRegDword, 2, 3};
        RawPolicyValue raw{types[(pick >> 6) & 3], std::vector<std::uint8_t>(line.begin() + 1, line.end())};
        hives[(pick >> 5) & 1][PolicyValueId(names[pick % names.size()])] = std::move(raw);
    }
    const PolicySet set = DecidePolicy(hives[0], hives[1]);

    // What is in force is a tick or a 24-hour time, and every value is either in force or a problem.
    for (const PolicyValueName& name : names) {
        const std::wstring* v = set.Find(PolicyValueId(name));
        if (!v) continue;
        if (name.kind == PolicyKind::Tick) {
            ZELVAR_FUZZ_CHECK(*v == L"1" || *v == L"0");
        } else {
            ZELVAR_FUZZ_CHECK(v->size() == 8 && ReadScheduleTime(*v, GermanFormats()).has_value());
        }
    }
    size_t given = 0;
    for (const auto& hive : hives) given += hive.size();
    ZELVAR_FUZZ_CHECK(set.values.size() + set.problems.size() <= given);

    // The week reads the same in every regional format, and nothing of it reaches the file.
    const std::map<std::wstring, std::wstring> week = WeekPolicyOf(set);
    MemoryIni file;
    PolicyScheduleIni us(file, week, UsEnglishFormats());
    for (const auto& [key, value] : week) {
        ZELVAR_FUZZ_CHECK(us.Write(L"Week", key, L"x"));
        if (key.rfind(L"off_time", 0) == 0)
            ZELVAR_FUZZ_CHECK(ReadScheduleTime(us.Read(L"Week", key, L""), UsEnglishFormats()) ==
                              ReadScheduleTime(value, GermanFormats()));
    }
    ZELVAR_FUZZ_CHECK(file.WriteOrder().empty());
    return 0;
}
