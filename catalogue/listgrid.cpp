#include "listgrid.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace catalogue {

namespace {

const std::string kEmptyText;

} // namespace

ListGrid::ListGrid() : events_(std::make_shared<const Events>()) {}

void ListGrid::SetEvents(Events events)
{
    events_ = std::make_shared<const Events>(std::move(events));
}

void ListGrid::RaiseClick()
{
    const EventsPtr events = events_; // keeps the handler alive if it replaces the events
    if (events->onClick) events->onClick();
}

void ListGrid::RaiseTopLeftChanged()
{
    const EventsPtr events = events_;
    if (events->onTopLeftChanged) events->onTopLeftChanged();
}

void ListGrid::SetRow(int v)
{
    // Checked before the range so that making the current row current again is always
    // harmless: the selection mark relies on it to end the nested click.
    if (v == row_) return;
    if (v < 0 || v >= rowCount_) throw GridIndexError();
    MoveRow(v);
}

void ListGrid::MoveRow(int v)
{
    row_ = v;
    bool scrolled = false;
    if (v < top_) {
        top_ = v;
        scrolled = true;
    } else if (v - top_ >= kVisibleRows) {
        top_ = v - (kVisibleRows - 1);
        scrolled = true;
    }
    if (scrolled) RaiseTopLeftChanged();
    RaiseClick();
}

void ListGrid::SetRowCount(int m)
{
    m = std::max(m, 1);
    if (m == rowCount_) return;
    rowCount_ = m;
    if (texts_.size() > static_cast<std::size_t>(m)) texts_.resize(static_cast<std::size_t>(m));

    // The whole new state is worked out before any handler runs: a shrink can move both the
    // current row and the window, and a handler must never see a window past the end.
    const int oldTop = top_;
    const bool rowClamped = row_ >= m;
    if (rowClamped) row_ = m - 1;
    top_ = std::min(top_, ScrollMaximum());
    // Only a row that was moved is brought into view; a row the scroll bar had left out of
    // sight stays out of sight, and the list then shows no mark.
    if (rowClamped && !InWindow(row_)) top_ = row_ - (kVisibleRows - 1);
    const bool windowMoved = top_ != oldTop;

    {
        const EventsPtr events = events_;
        if (events->onRowCountChanged) events->onRowCountChanged();
    }
    if (windowMoved) RaiseTopLeftChanged();
}

void ListGrid::PressKey(Key key, bool ctrl)
{
    {
        const EventsPtr events = events_;
        if (events->onKeyDown) events->onKeyDown(key, ctrl);
    }

    // 64-bit so that a page past the end of a grid near INT_MAX rows cannot overflow before
    // it is clamped.
    const std::int64_t top = top_;
    const std::int64_t row = row_;
    // The distance to the last wholly visible row: 24 for a full window, less for a short
    // list, and never 0 so that a page key in a one-row list still asks to move.
    const std::int64_t page =
        std::max<std::int64_t>(1, std::min<std::int64_t>(kVisibleRows - 1, rowCount_ - 1 - top));

    std::int64_t newTop = top;
    std::int64_t newRow = row;
    switch (key) {
    case Key::Up:
        if (ctrl)
            newTop = top - 1;
        else
            newRow = row - 1;
        break;
    case Key::Down:
        if (ctrl)
            newTop = top + 1;
        else
            newRow = row + 1;
        break;
    case Key::PageUp:
        if (ctrl) {
            newRow = top;
        } else {
            newTop = top - page;
            newRow = row - page;
        }
        break;
    case Key::PageDown:
        if (ctrl) {
            newRow = top + page;
        } else {
            newTop = top + page;
            newRow = row + page;
        }
        break;
    case Key::Home:
        if (ctrl) newRow = 0;
        break;
    case Key::End:
        if (ctrl) newRow = static_cast<std::int64_t>(rowCount_) - 1;
        break;
    case Key::Left: // one column: nowhere to go
    case Key::Right:
    case Key::Enter: // no in-place editor to open
    case Key::Other:
        return;
    }

    newTop = std::clamp<std::int64_t>(newTop, 0, ScrollMaximum());
    if (newTop != top_) {
        top_ = static_cast<int>(newTop);
        RaiseTopLeftChanged();
    }
    // Clamped against the count as it is now, in case the window-move handler changed it.
    newRow = std::clamp<std::int64_t>(newRow, 0, rowCount_ - 1);
    if (newRow != row_) MoveRow(static_cast<int>(newRow));
}

void ListGrid::Wheel(int notches)
{
    // Re-read on every notch: the handlers of the previous one may have moved the row.
    for (int i = 0; i < notches && row_ < rowCount_ - 1; ++i)
        MoveRow(row_ + 1);
    for (int i = 0; i > notches && row_ > 0; --i)
        MoveRow(row_ - 1);
}

void ListGrid::ScrollTo(int top)
{
    top = std::clamp(top, 0, ScrollMaximum());
    if (top == top_) return;
    top_ = top;
    RaiseTopLeftChanged();
}

const std::string& ListGrid::Cell(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= texts_.size()) return kEmptyText;
    return texts_[static_cast<std::size_t>(row)];
}

void ListGrid::SetCell(int row, std::string text)
{
    if (row < 0 || row >= rowCount_) throw GridIndexError();
    const auto index = static_cast<std::size_t>(row);
    if (index >= texts_.size()) {
        if (text.empty()) return; // reads as empty already
        texts_.resize(index + 1);
    }
    texts_[index] = std::move(text);
}

void ListGrid::ClearCells()
{
    // The capacity stays: the next fill writes about as many rows again.
    texts_.clear();
}

} // namespace catalogue
