#pragma once
// Small RAII owners for Win32 handles. Each does what its close call does.
#include <windows.h>

#include <utility>

namespace zelvar {

template <typename T, typename Closer, T Invalid>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(T h) : h_(h) {}
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    UniqueOwner& operator=(UniqueOwner&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Invalid));
        return *this;
    }
    ~UniqueOwner() { reset(); }
    T get() const { return h_; }
    explicit operator bool() const { return h_ != Invalid; }
    T* put() {
        reset();
        return &h_;
    }
    T release() { return std::exchange(h_, Invalid); }
    void reset(T h = Invalid) {
        if (h_ != Invalid) Closer{}(h_);
        h_ = h;
    }

private:
    T h_ = Invalid;
};

struct HandleCloser { void operator()(HANDLE h) const { CloseHandle(h); } };
struct KeyCloser { void operator()(HKEY h) const { RegCloseKey(h); } };
struct GdiCloser { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct IconCloser { void operator()(HICON h) const { DestroyIcon(h); } };
struct MenuCloser { void operator()(HMENU h) const { DestroyMenu(h); } };

// Process, thread, timer, event handles (null when empty).
using UniqueHandle = UniqueOwner<HANDLE, HandleCloser, nullptr>;
// Handles from CreateFile and CreateToolhelp32Snapshot, empty as INVALID_HANDLE_VALUE.
struct FileHandleCloser { void operator()(HANDLE h) const { CloseHandle(h); } };
class UniqueFileHandle {
public:
    UniqueFileHandle() = default;
    explicit UniqueFileHandle(HANDLE h) : h_(h) {}
    UniqueFileHandle(const UniqueFileHandle&) = delete;
    UniqueFileHandle& operator=(const UniqueFileHandle&) = delete;
    ~UniqueFileHandle() { if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_); }
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};
using UniqueKey = UniqueOwner<HKEY, KeyCloser, nullptr>;
using UniqueGdi = UniqueOwner<HGDIOBJ, GdiCloser, nullptr>;
using UniqueIcon = UniqueOwner<HICON, IconCloser, nullptr>;
using UniqueMenu = UniqueOwner<HMENU, MenuCloser, nullptr>;

}  // namespace zelvar
