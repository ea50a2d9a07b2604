#include "support/task_scheduler_probe.h"

#include <objbase.h>
#include <sddl.h>
#include <taskschd.h>

#include <initializer_list>

namespace zelvar::test {

HeldTask ReadBackTask(const std::wstring& name) {
    HeldTask held;
    ITaskService* service = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(TaskScheduler), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                reinterpret_cast<void**>(&service))))
        return held;
    VARIANT none{};
    ITaskFolder* folder = nullptr;
    IRegisteredTask* task = nullptr;
    ITaskDefinition* definition = nullptr;
    ITaskSettings* settings = nullptr;
    BSTR root = SysAllocString(L"\\"), bname = SysAllocString(name.c_str());
    if (SUCCEEDED(service->Connect(none, none, none, none)) && SUCCEEDED(service->GetFolder(root, &folder)) &&
        SUCCEEDED(folder->GetTask(bname, &task)) && SUCCEEDED(task->get_Definition(&definition))) {
        held.found = true;
        if (SUCCEEDED(definition->get_Settings(&settings))) {
            settings->get_WakeToRun(&held.wakeToRun);
            settings->get_DisallowStartIfOnBatteries(&held.noBattery);
            BSTR limit = nullptr;
            if (SUCCEEDED(settings->get_ExecutionTimeLimit(&limit)) && limit) held.timeLimit = limit;
            SysFreeString(limit);
        }
    }
    for (IUnknown* p : std::initializer_list<IUnknown*>{settings, definition, task, folder, service})
        if (p) p->Release();
    SysFreeString(root);
    SysFreeString(bname);
    return held;
}

std::wstring UserSidOfThisProcess() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    char buffer[256];
    DWORD size = 0;
    std::wstring sid;
    wchar_t* text = nullptr;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

}  // namespace zelvar::test
