// The wake task of the test build and the Win32 tests: Windows' Task
// Scheduler, unless the environment variable ZELVAR_TEST_WAKE_TASK is
// "refuse", which stands in for a Task Scheduler that refuses every call
// (the service off, a policy, access denied).
#include <string>

#include "power/wake_task_win.h"

namespace zelvar {
namespace {

class RefusingRegistrar : public WakeTaskRegistrar {
public:
    Outcome Register(const std::wstring&, const std::wstring&) override { return {E_ACCESSDENIED, "register"}; }
    Outcome Remove(const std::wstring&) override { return {E_ACCESSDENIED, "remove"}; }
};

}  // namespace

std::unique_ptr<WakeTaskRegistrar> CurrentWakeTaskRegistrar() {
    wchar_t value[16] = {};
    if (GetEnvironmentVariableW(L"ZELVAR_TEST_WAKE_TASK", value, 16) && std::wstring(value) == L"refuse")
        return std::make_unique<RefusingRegistrar>();
    return MakeTaskSchedulerRegistrar();
}

}  // namespace zelvar
