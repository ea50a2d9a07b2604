#include "power/local_time_rules.h"

#include <algorithm>

namespace zelvar {

ResolvedLocalTime ResolveLocalTime(std::int64_t localSeconds,
                                   const std::function<std::int64_t(std::int64_t)>& offsetAt) {
    // Offsets a day either side: zones change their clock at most once in that span.
    constexpr std::int64_t kDay = 86400;
    const std::int64_t before = offsetAt(localSeconds - kDay);
    const std::int64_t after = offsetAt(localSeconds + kDay);

    const std::int64_t first = localSeconds - before;
    const std::int64_t second = localSeconds - after;
    const bool firstFits = offsetAt(first) == before;
    const bool secondFits = offsetAt(second) == after;

    if (firstFits && secondFits && first != second) return {std::min(first, second), LocalTimeKind::Repeated};
    if (firstFits) return {first, LocalTimeKind::Unique};
    if (secondFits) return {second, LocalTimeKind::Unique};
    return {first, LocalTimeKind::Skipped};
}

}  // namespace zelvar
