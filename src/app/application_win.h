#pragma once
// The whole program: its theme, the hidden application window and the five
// windows, made once in their order and released in the reverse order.
#include <windows.h>

#include <memory>

#include "app/launch.h"
#include "app/zelvar.h"
#include "online/about_window.h"
#include "online/history_window_win.h"
#include "power/ucountform.h"
#include "scheduler/sheddays_win.h"
#include "ui/theme_win.h"
#include "ui/window_win.h"

namespace zelvar {

class Application {
public:
    explicit Application(LaunchKind launch = LaunchKind::Plain);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The main window (making TForm1 runs FormCreate) and the countdown
    // window; false when one cannot be made.
    bool Create();
    // Shows and paints the main window (its first activation follows) and
    // runs the message loop until the program ends; TFabout, Tfsheddays and
    // TFhistory are made when first opened. Once the window is up, the wake
    // task is written and Windows is asked to start the program again after
    // a crash, a hang or an update restart.
    int Run();
    TForm1& MainForm() { return *form_; }

private:
    // The program's own hidden top-level window, titled with the application
    // title; it owns the other windows and is never shown.
    class ApplicationWindow : public ui::Window {
    public:
        bool Create();
    };

    ui::Theme theme_;
    ApplicationWindow applicationWindow_;
    TFabout about_;
    Tfsheddays sheddays_;
    TFhistory history_;
    TCountForm count_;
    std::unique_ptr<TForm1> form_;
};

}  // namespace zelvar
