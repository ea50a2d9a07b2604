#include "scheduler/week_grid_win.h"

#include "common/handles_win.h"
#include "ui/gdi_win.h"
#include "ui/theme_win.h"

namespace zelvar {
bool WeekGrid::Create(HWND parent, int id, DrawCell drawCell) {
    drawCell_ = std::move(drawCell);
    return CreateBound(L"ZelvarWeekGrid", L"", WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS, 0, 0, 0, 212, 153,
                       parent, id);
}

void WeekGrid::SetLayout(const std::array<int, kColumns>& widths, int rowHeight) {
    widths_ = widths;
    rowHeight_ = rowHeight;
    Repaint();
}

void WeekGrid::SetCell(int column, int row, const std::wstring& text) {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return;
    cells_[row][column] = text;
}

void WeekGrid::Clear() {
    for (auto& row : cells_)
        for (auto& cell : row) cell.clear();
}

void WeekGrid::Repaint() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

int WeekGrid::ContentWidth() const {
    int width = 0;
    for (int w : widths_)
        if (w > 0) width += w;
    return width + 2;  // the frame on both sides
}

int WeekGrid::ContentHeight() const { return kRows * rowHeight_ + 1; }

void WeekGrid::Paint() {
    ui::PaintDc paint(hwnd_);
    RECT client;
    GetClientRect(hwnd_, &client);
    // Drawn off screen first, so the cells never flicker when repainted.
    ui::MemoryDc buffer(paint.get());
    UniqueBitmap bitmap(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    ui::Selection useBitmap(buffer.get(), bitmap.get());
    HDC dc = buffer.get();
    FillRect(dc, &client, ui::BrushOf(ui::Role::GridRow));
    ui::Selection font(dc, ui::MainFont(ui::DpiOf(hwnd_)));
    int x = 1;
    UniquePen line(CreatePen(PS_SOLID, 1, ui::ColorOf(ui::Role::GridLine)));
    for (int column = 0; column < kColumns; ++column) {
        if (widths_[column] <= 0) continue;  // a hidden column
        for (int row = 0; row < kRows; ++row) {
            const RECT cell{x, row * rowHeight_, x + widths_[column], (row + 1) * rowHeight_};
            if (drawCell_) drawCell_(dc, column, row, cell);
        }
        x += widths_[column];
        // Vertical lines only, between the columns.
        ui::Selection usePen(dc, line.get());
        MoveToEx(dc, x - 1, 0, nullptr);
        LineTo(dc, x - 1, client.bottom);
    }
    {
        UniquePen frame(CreatePen(PS_SOLID, 1, ui::ColorOf(ui::Role::GridFrame)));
        ui::Selection usePen(dc, frame.get());
        ui::Selection noFill(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, client.right, client.bottom);
    }
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

LRESULT WeekGrid::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH: break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace zelvar
