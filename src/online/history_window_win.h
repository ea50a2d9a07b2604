#pragma once
// TFhistory: the window that shows the list of changes between versions.
// Frameless and dark, a title strip with the banner, the title and the close
// image, and below it the read-only text; dragged by its own surface. The
// history link asks for it; a worker fetches the file, and the window opens
// once the main window hands it the result.
#include <functional>
#include <memory>
#include <string>

#include "online/download_worker_win.h"
#include "ui/secondary_window_win.h"

namespace zelvar {

class TFhistory : public ui::SecondaryWindow {
public:
    using LangLookup = std::function<std::wstring(const std::wstring& key)>;
    bool Create(HWND owner, LangLookup lookup);
    // The main window receives the download's result (downloadMessage) and
    // the window opens over its middle.
    void Attach(HWND mainWindow, UINT downloadMessage);

    // Behind the history link: fetches the change list. While a fetch runs,
    // another click starts nothing.
    void ShowChangeHistory();
    // The fetch has ended: the new file, else the copy fetched last time,
    // else nothing, and the window stays as it was.
    void OnDownloadDone(std::unique_ptr<DownloadDone> done);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnCreated() override;
    void OnDpiChanged() override { LayOut(); }
    HWND FirstFocus() const override { return memo_; }

private:
    void PaintStrip();
    void LayOut();

    LangLookup lookup_;
    HWND mainWindow_ = nullptr;
    UINT message_ = 0;
    HWND label2_ = nullptr, image1_ = nullptr, memo_ = nullptr;
};

}  // namespace zelvar
