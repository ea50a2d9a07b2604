#pragma once
// A secondary window of the program: created once at start, owned by the
// application window, only ever shown and hidden until the program ends.
#include <windows.h>

#include <string>

namespace zelvar {

class SecondaryWindow {
public:
    virtual ~SecondaryWindow() = default;
    bool Create(HINSTANCE instance, HWND owner, const wchar_t* className, const std::wstring& caption, int width,
                int height, DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, DWORD exStyle = 0,
                HBRUSH background = nullptr);
    HWND Handle() const { return hwnd_; }
    void Show();
    void Hide();
    bool IsVisible() const;
    void SetCaption(const std::wstring& caption);

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    virtual void OnCreated() {}
    HWND hwnd_ = nullptr;
    HINSTANCE instance_ = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace zelvar
