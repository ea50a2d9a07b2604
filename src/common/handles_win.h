#pragma once
// Small RAII owners for Win32 handles, one per kind of handle, each with the
// empty value that kind needs. Each does what its close call does.
#include <windows.h>

#include <atomic>
#include <utility>

namespace zelvar {

// How many window-system objects (GDI objects, icons, menus) the owners hold
// right now: what a test compares where the system does not count them.
inline std::atomic<long>& LiveUiObjects() {
    static std::atomic<long> count{0};
    return count;
}

template <typename T, typename Closer, T Invalid>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(T h) { reset(h); }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    UniqueOwner& operator=(UniqueOwner&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Invalid);
        }
        return *this;
    }
    ~UniqueOwner() { reset(); }
    T get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    T* put() {
        reset();
        return &h_;
    }
    T release() {
        if constexpr (requires { Closer::kCounted; })
            if (h_ != Invalid) --LiveUiObjects();
        return std::exchange(h_, Invalid);
    }
    void reset(T h = Invalid) {
        if (h_ != Invalid) {
            Closer{}(h_);
            if constexpr (requires { Closer::kCounted; }) --LiveUiObjects();
        }
        h_ = h;
        if constexpr (requires { Closer::kCounted; })
            if (h_ != Invalid) ++LiveUiObjects();
    }

private:
    T h_ = Invalid;
};

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct KeyCloser {
    void operator()(HKEY h) const { RegCloseKey(h); }
};
struct GdiCloser {
    static constexpr bool kCounted = true;
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct IconCloser {
    static constexpr bool kCounted = true;
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct MenuCloser {
    static constexpr bool kCounted = true;
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct ModuleFreer {
    void operator()(HMODULE m) const { FreeLibrary(m); }
};

// Process, thread, timer, event and token handles (null when empty).
using UniqueHandle = UniqueOwner<HANDLE, HandleCloser, nullptr>;
using UniqueKey = UniqueOwner<HKEY, KeyCloser, nullptr>;
// GDI objects by their type, so they pass where that type is wanted.
template <typename T>
using GdiObject = UniqueOwner<T, GdiCloser, nullptr>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniquePen = GdiObject<HPEN>;
using UniqueFont = GdiObject<HFONT>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueIcon = UniqueOwner<HICON, IconCloser, nullptr>;
using UniqueMenu = UniqueOwner<HMENU, MenuCloser, nullptr>;
// A library loaded for a call (LoadLibrary), freed when it goes.
using UniqueModule = UniqueOwner<HMODULE, ModuleFreer, nullptr>;

// A function of a loaded library by its name, as the type it is called
// through; null when the library or the function is missing.
template <typename Fn>
Fn ModuleFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Handles from CreateFile and CreateToolhelp32Snapshot: empty is
// INVALID_HANDLE_VALUE (a null from elsewhere counts as empty too).
class UniqueFileHandle {
public:
    UniqueFileHandle() = default;
    explicit UniqueFileHandle(HANDLE h) : h_(h) {}
    UniqueFileHandle(const UniqueFileHandle&) = delete;
    UniqueFileHandle& operator=(const UniqueFileHandle&) = delete;
    UniqueFileHandle(UniqueFileHandle&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
    UniqueFileHandle& operator=(UniqueFileHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, INVALID_HANDLE_VALUE));
        return *this;
    }
    ~UniqueFileHandle() { reset(); }
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE release() { return std::exchange(h_, INVALID_HANDLE_VALUE); }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (*this) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

}  // namespace zelvar
