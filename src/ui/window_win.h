#pragma once
// The one way a window of the program is bound to its C++ object: a single
// window procedure binds the object at WM_NCCREATE and hands every message
// to it, behind the top-level guard that shows what escaped a handler and
// carries on with the next event.
#include <windows.h>

#include <string>

namespace zelvar::ui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    // The object of one of our windows, or null for any other window.
    static Window* FromHandle(HWND hwnd);

    // Keys for the window that is active: Esc and Enter as this window
    // means them. True when the key was used up.
    virtual bool OnEscape() { return false; }
    virtual bool OnEnter(HWND /*focus*/) { return false; }

protected:
    // Registers the class once (its procedure is ours) and creates the
    // window bound to this object.
    // The class carries no brush or icon of its own: those belong to the
    // theme and the window, which may go before the class does.
    bool CreateBound(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int w,
                     int h, HWND parent, int idOrZero, UINT classStyle = 0);
    // Handles WM_ERASEBKGND with Background() and passes the rest on.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    virtual HBRUSH Background() const { return nullptr; }
    // Called while the window is going away (WM_DESTROY).
    virtual void OnDestroy() {}
    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace zelvar::ui
