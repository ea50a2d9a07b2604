#include "app/autostart_win.h"

#include "common/handles_win.h"
#include "common/paths_win.h"

namespace zelvar {
namespace {

bool WriteRunValue(HKEY key, const std::wstring& exePath) {
    const DWORD bytes = static_cast<DWORD>((exePath.size() + 1) * sizeof(wchar_t));
    const bool ok = RegSetValueExW(key, kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(exePath.c_str()),
                                   bytes) == ERROR_SUCCESS;
    RegFlushKey(key);
    return ok;
}

void DeleteRunValue(HKEY root, const std::wstring& path) {
    UniqueKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) {
        RegDeleteValueW(key.get(), kRunValueName);
        RegFlushKey(key.get());
    }
}

}  // namespace

AutoStartResult SetAutoStartIn(HKEY machineRoot, const std::wstring& machinePath, HKEY userRoot,
                               const std::wstring& userPath, bool remove, const std::wstring& exePath) {
    if (remove) {
        DeleteRunValue(machineRoot, machinePath);
        DeleteRunValue(userRoot, userPath);
        return AutoStartResult::Removed;
    }
    // The machine-wide key needs an elevated program; the usual user falls
    // back to the per-user run key, which starts the program just the same.
    {
        UniqueKey machine;
        if (RegOpenKeyExW(machineRoot, machinePath.c_str(), 0, KEY_SET_VALUE, machine.put()) == ERROR_SUCCESS &&
            WriteRunValue(machine.get(), exePath)) {
            DeleteRunValue(userRoot, userPath);  // never start twice
            return AutoStartResult::WrittenForMachine;
        }
    }
    UniqueKey user;
    if (RegCreateKeyExW(userRoot, userPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, user.put(), nullptr) ==
            ERROR_SUCCESS &&
        WriteRunValue(user.get(), exePath))
        return AutoStartResult::WrittenForUser;
    return AutoStartResult::Failed;
}

AutoStartResult SetAutoStart(bool remove) {
    return SetAutoStartIn(HKEY_LOCAL_MACHINE, kRunKeyPath, HKEY_CURRENT_USER, kRunKeyPath, remove, ExePath());
}

}  // namespace zelvar
