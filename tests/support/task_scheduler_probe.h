#pragma once
// What Windows' Task Scheduler holds under a task's name, read back through
// its own interfaces, for the tests of the wake task. The calling thread
// has joined COM.
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace zelvar::test {

struct HeldTask {
    bool found = false;
    VARIANT_BOOL wakeToRun = VARIANT_FALSE, noBattery = VARIANT_TRUE;
    std::wstring timeLimit;
};

HeldTask ReadBackTask(const std::wstring& name);

// The user this process runs as, "S-1-5-21-...".
std::wstring UserSidOfThisProcess();

}  // namespace zelvar::test
