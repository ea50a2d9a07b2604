#include "driver.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/test_seams.h"
#include "common/ini_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace zelvar::e2e {

// ---- Waiting

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
}

bool StaysFalse(const std::function<bool()>& condition, DWORD spanMs) { return !WaitFor(condition, spanMs); }

double SecondsSince(ULONGLONG tick) { return static_cast<double>(GetTickCount64() - tick) / 1000.0; }

void Trace(const std::wstring& what) {
    static const ULONGLONG start = GetTickCount64();
    static const bool on = [] {
        wchar_t buf[8] = {};
        return GetEnvironmentVariableW(L"ZELVAR_E2E_TRACE", buf, 8) > 0 && buf[0] == L'1';
    }();
    if (on) std::fwprintf(stderr, L"[%6llu ms] %ls\n", GetTickCount64() - start, what.c_str());
}

// ---- Files

std::wstring DriverFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring ReadIni(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                     const std::wstring& fallback) {
    // Read with every sharing allowed. The profile reader opens the file
    // without FILE_SHARE_DELETE while it reads, and a save of the program's
    // (a new file moved over the old) that came just then failed.
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return fallback;
    const DecodedText decoded = DecodeTextFile(*bytes, [](std::string_view ansi) {
        std::wstring wide(ansi.size(), L'\0');
        wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                            wide.data(), static_cast<int>(wide.size()))));
        return wide;
    });
    return IniText(decoded.text).Read(section, key, fallback);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(f);
    return ok;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(f);
    return bytes;
}

std::wstring ReadUtf8IniValue(const std::wstring& path, const std::string& key) {
    // A text to compare with must exist: a missing one fails the scenario
    // instead of matching an empty control.
    const auto missing = [&] {
        ADD_FAILURE() << "no key " << key << " in " << std::string(path.begin(), path.end());
        return L"<no key " + std::wstring(key.begin(), key.end()) + L">";
    };
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return missing();
    size_t pos = 0;
    while (pos < bytes->size()) {
        size_t end = bytes->find('\n', pos);
        if (end == std::string::npos) end = bytes->size();
        std::string line = bytes->substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == '=') {
            const std::string value = line.substr(key.size() + 1);
            std::wstring wide(value.size(), L'\0');
            const int n = MultiByteToWideChar(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), wide.data(),
                                              static_cast<int>(wide.size()));
            wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
            return wide;
        }
    }
    return missing();
}

namespace {

void ListInto(const std::wstring& folder, const std::wstring& prefix, std::vector<FileEntry>& out) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        FileEntry e;
        e.name = prefix + name;
        e.directory = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.size = (static_cast<ULONGLONG>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        e.lastWrite =
            (static_cast<ULONGLONG>(fd.ftLastWriteTime.dwHighDateTime) << 32) | fd.ftLastWriteTime.dwLowDateTime;
        if (e.directory) e.size = e.lastWrite = 0;  // a folder's own times say nothing here
        out.push_back(e);
        if (e.directory) ListInto(folder + L"\\" + name, e.name + L"\\", out);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
}

}  // namespace

std::vector<FileEntry> ListFolder(const std::wstring& folder) {
    std::wstring f = folder;
    while (!f.empty() && (f.back() == L'\\' || f.back() == L'/')) f.pop_back();
    std::vector<FileEntry> out;
    ListInto(f, L"", out);
    std::sort(out.begin(), out.end(), [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    return out;
}

// ---- Registry

std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& path, const std::wstring& name) {
    DWORD bytes = 0;
    if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

std::optional<std::wstring> RunValue(HKEY root) { return ReadRegistryString(root, kRunKeyPath, kRunValueName); }

void RemoveRunValues() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        HKEY key;
        if (RegOpenKeyExW(root, kRunKeyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, kRunValueName);
            RegCloseKey(key);
        }
    }
}

// ---- Windows of another process

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kStateTimeoutMs, &len)) return {};
    std::wstring text(len + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kStateTimeoutMs, &got))
        return {};
    text.resize(std::min<size_t>(got, len));
    return text;
}

namespace {

struct TopSearch {
    DWORD pid;
    const wchar_t* className;
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<TopSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid) return TRUE;
    if (s->className && ClassOf(hwnd) != s->className) return TRUE;
    if (s->title) {
        wchar_t text[512] = {};
        GetWindowTextW(hwnd, text, 512);
        if (std::wstring(text) != s->title) return TRUE;
    }
    s->found.push_back(hwnd);
    return TRUE;
}

struct ChildSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(hwnd) == s->id) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStatics(HWND hwnd, LPARAM lp) {
    auto* texts = reinterpret_cast<std::wstring*>(lp);
    if (_wcsicmp(ClassOf(hwnd).c_str(), L"Static") == 0) {
        const std::wstring t = TextOf(hwnd);
        if (!t.empty()) {
            if (!texts->empty()) *texts += L"\n";
            *texts += t;
        }
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid, const wchar_t* className, const wchar_t* title) {
    TopSearch s{pid, className, title, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::vector<HWND> WindowsTitled(const wchar_t* title) {
    struct Search {
        const wchar_t* title;
        std::vector<HWND> found;
    } search{title, {}};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t text[256] = {};
            GetWindowTextW(w, text, 256);
            if (wcscmp(text, s->title) == 0) s->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void EndProcessesTitled(const wchar_t* title) {
    for (HWND w : WindowsTitled(title)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            TerminateProcess(p, 0);
            WaitForSingleObject(p, 5000);
            CloseHandle(p);
        }
    }
}

HWND FindControl(HWND top, int id) {
    if (!top) return nullptr;
    // EnumChildWindows walks all descendants, the panels' children included.
    ChildSearch s{id};
    EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void SelectNode(HWND tree, int index) {
    auto item = static_cast<LPARAM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (int i = 0; i < index && item; ++i)
        item = static_cast<LPARAM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item));
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
}

HWND AppRun::Control(int id) const {
    if (HWND found = FindControl(main_, id)) return found;
    // The pages' ids run in hundreds from the options page's 1100 to the
    // about page's 1600; each page's panel (the round hundred) is always there.
    // Only a window on screen can be navigated.
    if (!main_ || !IsWindowVisible(main_) || id <= IDC_PANEL1 || id >= IDC_PANEL7 + 100 || id % 100 == 0)
        return nullptr;
    SelectNode(FindControl(main_, IDC_TREEVIEW1), id / 100 - IDC_PANEL1 / 100);  // the page is made by then
    return FindControl(main_, id);
}

std::wstring DialogText(HWND dialog) {
    std::wstring texts;
    EnumChildWindows(dialog, CollectStatics, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool OwnVisible(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

bool IsChecked(HWND box) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(box, BM_GETCHECK, 0, 0, SMTO_NORMAL, kStateTimeoutMs, &state);
    return state == BST_CHECKED;
}

bool Click(HWND button, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void PostMouseClick(HWND control) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

void PostMenuCommand(HWND window, int commandId) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

int ProgramFault(HWND mainWindow, HWND window, LPARAM check) {
    DWORD_PTR id = 0;
    if (!SendMessageTimeoutW(mainWindow, kTestFindCutTextMessage, reinterpret_cast<WPARAM>(window), check, SMTO_NORMAL,
                             kCloseTimeoutMs, &id)) {
        ADD_FAILURE() << "the program did not answer the check (error " << GetLastError() << ")";
        return -2;
    }
    return static_cast<int>(static_cast<LRESULT>(id));
}

int TrayVersion(HWND mainWindow) {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(mainWindow, L"ZelvarTrayVersion")));
}

int MenuLoops(HWND mainWindow) {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(mainWindow, L"ZelvarMenuLoops")));
}

int MenuEnds(HWND mainWindow) {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(mainWindow, L"ZelvarMenuEnds")));
}

UINT MenuItem(HWND mainWindow) {
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropW(mainWindow, L"ZelvarMenuItem")));
}

void PostTrayNotify(HWND mainWindow, UINT message) {
    if (TrayVersion(mainWindow) != 4) {
        PostMessageW(mainWindow, kTrayCallbackMessage, 1, static_cast<LPARAM>(message));
        return;
    }
    // Version 4: the event and the icon's id in lParam, the anchor in wParam.
    POINT at{};
    GetCursorPos(&at);
    auto post = [&](UINT event) {
        PostMessageW(mainWindow, kTrayCallbackMessage, MAKEWPARAM(at.x, at.y), MAKELPARAM(event, 1));
    };
    post(message);
    if (message == WM_LBUTTONUP) post(NIN_SELECT);
    if (message == WM_RBUTTONUP) post(WM_CONTEXTMENU);
}

void SetText(HWND control, const std::wstring& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, kStateTimeoutMs,
                        &result);
}

void SelectComboItem(HWND combo, int index) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, kStateTimeoutMs, &result);
    SendMessageTimeoutW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(combo), SMTO_NORMAL, kStateTimeoutMs, &result);
}

int ComboSelection(HWND combo) {
    DWORD_PTR sel = static_cast<DWORD_PTR>(CB_ERR);
    SendMessageTimeoutW(combo, CB_GETCURSEL, 0, 0, SMTO_NORMAL, kStateTimeoutMs, &sel);
    return static_cast<int>(static_cast<LRESULT>(sel));
}

std::vector<std::wstring> ListBoxItems(HWND list) {
    std::vector<std::wstring> items;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, kStateTimeoutMs, &count)) return items;
    for (int i = 0; i < static_cast<int>(static_cast<LRESULT>(count)); ++i) {
        DWORD_PTR len = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_NORMAL, kStateTimeoutMs, &len);
        // The system copies LB_GETTEXT's text across processes.
        std::wstring text(static_cast<size_t>(len) + 1, L'\0');
        DWORD_PTR got = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, kStateTimeoutMs,
                            &got);
        text.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(len)));
        items.push_back(text);
    }
    return items;
}

bool Sync(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitFor([&] { return GetForegroundWindow() == window; });
}

void PressKey(WORD vk, bool shift) {
    std::vector<INPUT> inputs;
    auto key = [&](WORD code, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = code;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (shift) key(VK_SHIFT, false);
    key(vk, false);
    key(vk, true);
    if (shift) key(VK_SHIFT, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

namespace {

std::wstring ShotsFolder() {
    wchar_t buf[1024] = {};
    const DWORD n = GetEnvironmentVariableW(L"ZELVAR_SHOTS", buf, 1024);
    if (n == 0 || n >= 1024) return {};
    std::wstring path = buf;
    if (path.front() == L'/') {  // a Unix path under Wine: the Z: drive maps the root
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    if (path.back() != L'\\') path += L'\\';
    return path;
}

}  // namespace

namespace {

// The screen rectangle r as bottom-up 24-bit rows, as a BMP file stores them.
std::string CaptureScreen(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::string pixels;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        const bool ok = BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != FALSE;
        SelectObject(mem, old);
        GdiFlush();
        const size_t stride = ((static_cast<size_t>(w) * 3 + 3) / 4) * 4;
        if (ok) pixels.assign(static_cast<const char*>(bits), stride * static_cast<size_t>(h));
    }
    if (dib) DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

bool SaveScreenshot(HWND window, const std::wstring& scenario) {
    const std::wstring folder = ShotsFolder();
    if (folder.empty() || !window) return false;
    CreateDirectoryW(folder.c_str(), nullptr);
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sync(window);

    RECT r;
    if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return false;
    // The window paints in its own time: take the picture once two captures
    // in a row agree (at most about a second).
    std::string pixels = CaptureScreen(r), previous;
    WaitFor(
        [&] {
            previous = std::move(pixels);
            pixels = CaptureScreen(r);
            return !pixels.empty() && pixels == previous;
        },
        1000);
    if (pixels.empty()) return false;

    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof(ih);
    ih.biWidth = r.right - r.left;
    ih.biHeight = r.bottom - r.top;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(pixels.size());
    fh.bfType = 0x4D42;  // "BM"
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::string file(reinterpret_cast<const char*>(&fh), sizeof fh);
    file.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    file += pixels;
    return WriteFileBytes(folder + scenario + L".bmp", file);
}

// ---- Processes

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
    if (handle_) CloseHandle(handle_);
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD timeoutMs) {
    return handle_ && WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::ExitCode() const {
    DWORD code = 0;
    if (!handle_ || Running() || !GetExitCodeProcess(handle_, &code)) return std::nullopt;
    return code;
}

void Process::Kill() {
    if (!Running()) return;
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, 10000);
}

std::vector<HWND> Process::Windows(const wchar_t* className, const wchar_t* title) const {
    return TopWindowsOf(pid_, className, title);
}

HWND Process::VisibleWindow(const wchar_t* className) const {
    HWND shown = nullptr;
    for (HWND w : Windows(className))
        if (IsWindowVisible(w)) shown = w;
    return shown;
}

HWND Process::WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            const auto windows = Windows(className, title);
            if (!windows.empty()) found = windows.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

namespace {

// The driver's environment with env on top, as a CreateProcess block
// ("name=value" strings, each ended by NUL, one more NUL at the end).
std::wstring EnvironmentBlock(const Environment& env) {
    std::vector<std::wstring> entries;
    if (wchar_t* own = GetEnvironmentStringsW()) {
        for (const wchar_t* p = own; *p; p += wcslen(p) + 1) entries.emplace_back(p);
        FreeEnvironmentStringsW(own);
    }
    for (const auto& [name, value] : env) {
        const std::wstring prefix = name + L"=";
        std::erase_if(entries,
                      [&](const std::wstring& e) { return _wcsnicmp(e.c_str(), prefix.c_str(), prefix.size()) == 0; });
        entries.push_back(prefix + value);
    }
    std::wstring block;
    for (const auto& e : entries) block += e + L'\0';
    block += L'\0';
    return block;
}

}  // namespace

Process StartProcess(const std::wstring& exe, const std::wstring& workDir, const Environment& env,
                     const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring block = env.empty() ? std::wstring() : EnvironmentBlock(env);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        env.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT, env.empty() ? nullptr : block.data(),
                        workDir.empty() ? nullptr : workDir.c_str(), &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    return Process(pi.hProcess, pi.dwProcessId);
}

// ---- BrowserRecorder

namespace {

constexpr wchar_t kWineBrowserKey[] = L"Software\\Wine\\WineBrowser";
constexpr wchar_t kBrowsersValue[] = L"Browsers";

// A Unix path as the driver opens it: Wine's Z: drive maps the root.
std::wstring ThroughDriveZ(std::wstring unixPath) {
    std::replace(unixPath.begin(), unixPath.end(), L'/', L'\\');
    return L"Z:" + unixPath;
}

}  // namespace

BrowserRecorder::BrowserRecorder() {
    // Beside other drivers in other Wine prefixes, whose process ids may be the same.
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    unixLog_ = L"/tmp/zelvar-e2e-browser-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(now.QuadPart) + L".log";
    DeleteFileW(ThroughDriveZ(unixLog_).c_str());
    previous_ = ReadRegistryString(HKEY_CURRENT_USER, kWineBrowserKey, kBrowsersValue);
    const std::string source = ZELVAR_SOURCE_DIR "/tests/e2e/browser-recorder";
    const std::wstring command = L"\"" + std::wstring(source.begin(), source.end()) + L"\" \"" + unixLog_ + L"\"";
    RegSetKeyValueW(HKEY_CURRENT_USER, kWineBrowserKey, kBrowsersValue, REG_SZ, command.c_str(),
                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

BrowserRecorder::~BrowserRecorder() {
    if (previous_) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kWineBrowserKey, kBrowsersValue, REG_SZ, previous_->c_str(),
                        static_cast<DWORD>((previous_->size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kWineBrowserKey, kBrowsersValue);
    }
    DeleteFileW(ThroughDriveZ(unixLog_).c_str());
}

std::vector<std::string> BrowserRecorder::Opened() const {
    std::vector<std::string> lines;
    const auto bytes = ReadFileBytes(ThroughDriveZ(unixLog_));
    if (!bytes) return lines;
    size_t pos = 0;
    while (pos < bytes->size()) {
        size_t end = bytes->find('\n', pos);
        if (end == std::string::npos) end = bytes->size();
        if (end > pos) lines.push_back(bytes->substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

// ---- AppRun

namespace {

std::wstring NewRunRoot(const std::wstring& scenario) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + L"zelvar-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L"-" + scenario;
}

bool KeepFolders() {
    wchar_t buf[8] = {};
    return GetEnvironmentVariableW(L"ZELVAR_E2E_KEEP", buf, 8) > 0 && buf[0] == L'1';
}

}  // namespace

AppRun::AppRun(const std::wstring& scenario) : scenario_(scenario), root_(NewRunRoot(scenario)) {
    appFolder_ = root_ + L"\\app\\";
    workFolder_ = root_ + L"\\cwd";
    std::error_code ec;
    fs::remove_all(root_, ec);
    fs::create_directories(fs::path(appFolder_), ec);
    fs::create_directories(fs::path(workFolder_), ec);
    const std::wstring source = DriverFolder();
    fs::copy_file(source + L"zelvar_test.exe", ExePath(), fs::copy_options::overwrite_existing, ec);
    fs::copy(source + L"languages", appFolder_ + L"languages", fs::copy_options::recursive, ec);
}

AppRun::~AppRun() {
    Trace(L"end of " + scenario_);
    process_.Kill();
    process_ = Process();
    Trace(L"process gone");
    if (!KeepFolders()) {
        std::error_code ec;
        // A just-ended process may hold its image a moment longer.
        WaitFor(
            [&] {
                fs::remove_all(root_, ec);
                return !fs::exists(root_, ec);
            },
            3000);
    }
    Trace(L"folder removed");
}

void AppRun::WriteConfig(const std::string& text) const { WriteFileBytes(ConfigPath(), text); }

void AppRun::SetEnvironment(const std::wstring& name, const std::wstring& value) {
    std::erase_if(env_, [&](const auto& e) { return e.first == name; });
    env_.emplace_back(name, value);
}

std::wstring AppRun::Config(const std::wstring& key) const { return ReadIni(ConfigPath(), L"OPTIONS", key); }

bool AppRun::Start() {
    Trace(L"start " + scenario_);
    if (!WaitFor([] { return FindWindowW(nullptr, kMainCaption) == nullptr; }, kCloseTimeoutMs)) {
        Trace(L"another copy is still running");
        return false;
    }
    process_ = StartProcess(ExePath(), workFolder_, env_);
    main_ = nullptr;
    return static_cast<bool>(process_);
}

Process AppRun::StartCopy(const std::wstring& arguments) const {
    return StartProcess(ExePath(), workFolder_, env_, arguments);
}

HWND AppRun::WaitForMainWindow(DWORD timeoutMs) {
    main_ = process_.WaitForWindow(ZELVAR_MAIN_CLASS, kMainCaption, timeoutMs);
    Trace(main_ ? L"main window found" : L"no main window");
    return main_;
}

::testing::AssertionResult AppRun::StartUp() {
    if (!Start()) {
        if (FindWindowW(nullptr, kMainCaption))
            return ::testing::AssertionFailure() << "the start: a copy of the program was still running";
        return ::testing::AssertionFailure() << "the start: the process was not created";
    }
    return WaitUntilUp();
}

namespace {

std::string ProcessState(const Process& process) {
    if (const auto code = process.ExitCode()) return "the process ended with code " + std::to_string(*code);
    return process.Running() ? "the process runs" : "no process";
}

}  // namespace

::testing::AssertionResult AppRun::WaitUntilUp() {
    if (!WaitForMainWindow(kStartTimeoutMs))
        return ::testing::AssertionFailure()
               << "the main window: none within " << kStartTimeoutMs << " ms (" << ProcessState(process_) << ")";
    if (!WaitFor([&] { return ActivatedAt() != 0; }, kStartTimeoutMs)) {
        const auto boxes = process_.Windows(kDialogClass);
        const std::wstring box = boxes.empty() ? L"" : L", a message box is open: " + DialogText(boxes.front());
        return ::testing::AssertionFailure()
               << "the first activation of the main window: none within " << kStartTimeoutMs << " ms (the window is "
               << (IsWindowVisible(main_) ? "shown" : "hidden") << ", " << ProcessState(process_)
               << std::string(box.begin(), box.end()) << ")";
    }
    Trace(L"main window activated");
    return ::testing::AssertionSuccess();
}

HWND AppRun::MainIfUp(const ::testing::AssertionResult& up) {
    if (up) return main_;
    ADD_FAILURE() << "the program did not come up: " << up.message();
    return nullptr;
}

ULONGLONG AppRun::ActivatedAt() const {
    return main_ ? static_cast<ULONGLONG>(reinterpret_cast<UINT_PTR>(GetPropW(main_, L"ZelvarActivatedAt"))) : 0;
}

AppRun::CountdownOpenings AppRun::Countdown() const {
    CountdownOpenings openings;
    const auto windows = process_.Windows(ZELVAR_COUNT_CLASS);
    if (windows.empty()) return openings;
    HWND count = windows.front();
    openings.count = static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(count, L"ZelvarCountOpenings")));
    openings.at = static_cast<ULONGLONG>(reinterpret_cast<UINT_PTR>(GetPropW(count, L"ZelvarCountOpenedAt")));
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(count, L"ZelvarCountOpenedWith")));
    wchar_t text[32] = {};
    if (atom && GlobalGetAtomNameW(atom, text, 32)) openings.shown = text;
    return openings;
}

HWND AppRun::WaitForMessageBox(DWORD timeoutMs) const {
    // Found once it is shown with its OK button in place.
    HWND box = nullptr;
    WaitFor(
        [&] {
            for (HWND w : process_.Windows(kDialogClass))
                if (IsWindowVisible(w) && FindControl(w, IDOK)) box = w;
            return box != nullptr;
        },
        timeoutMs);
    Trace(box ? L"message box found" : L"no message box");
    return box;
}

bool AppRun::ExitFromTray(DWORD timeoutMs) {
    if (!main_) return false;
    PostMenuCommand(main_, IDM_N2_EXIT);
    WaitFor([&] { return !IsWindow(main_); }, timeoutMs);
    Trace(L"main window gone");
    const bool ended = process_.WaitForExit(timeoutMs);
    Trace(ended ? L"ended from the tray" : L"still running after exit from the tray");
    return ended;
}

}  // namespace zelvar::e2e
