#pragma once
// StringGrid1: the week grid, a small read-only grid of text cells drawn by
// its owner cell by cell (Win32 has no string grid). Row 0 is the fixed
// header; columns with width -1 are hidden. It takes no input.
#include <array>
#include <functional>
#include <string>

#include "ui/window_win.h"

namespace zelvar {

class WeekGrid : public ui::Window {
public:
    static constexpr int kRows = 8, kColumns = 5;
    // Paints one cell: its column, row and rectangle.
    using DrawCell = std::function<void(HDC dc, int column, int row, const RECT& rect)>;

    bool Create(HWND parent, int id, DrawCell drawCell);
    // Widths in pixels, -1 hiding a column; one row height.
    void SetLayout(const std::array<int, kColumns>& widths, int rowHeight);
    void SetCell(int column, int row, const std::wstring& text);
    const std::wstring& Cell(int column, int row) const { return cells_[row][column]; }
    void Clear();
    void Repaint();
    // The pixels the grid needs for its columns and rows, lines included.
    int ContentWidth() const;
    int ContentHeight() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint();
    DrawCell drawCell_;
    std::array<int, kColumns> widths_{-1, -1, 50, 80, 80};
    int rowHeight_ = 19;
    std::array<std::array<std::wstring, kColumns>, kRows> cells_;
};

}  // namespace zelvar
