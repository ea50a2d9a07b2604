#include "app/launch.h"

#include "power/wake_task.h"

namespace zelvar {

LaunchKind ParseLaunch(std::wstring_view arguments) {
    while (!arguments.empty()) {
        const size_t start = arguments.find_first_not_of(L" \t");
        if (start == std::wstring_view::npos) break;
        arguments.remove_prefix(start);
        const size_t end = arguments.find_first_of(L" \t");
        const std::wstring_view word = arguments.substr(0, end);
        arguments = end == std::wstring_view::npos ? std::wstring_view{} : arguments.substr(end);
        if (word == kWokenArgument) return LaunchKind::Woken;
        if (word == kWokenStartArgument) return LaunchKind::WokenStart;
        if (word == kRestartedArgument) return LaunchKind::Restarted;
        if (word == kRemoveWakeTaskArgument) return LaunchKind::RemoveWakeTask;
    }
    return LaunchKind::Plain;
}

}  // namespace zelvar
