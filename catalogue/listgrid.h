#pragma once
// The scroll model behind the item list: rows of text, the current row and the first visible
// row, moved by the rules the list relies on. The list's 25 labels never scroll themselves;
// they are re-filled from this model whenever its window moves, and they select whatever slot
// holds its current row. The model draws nothing and knows nothing of widgets, so the window
// feeds it keys, wheel notches and scroll-bar positions and listens to its events.
//
// Events are raised synchronously from inside the call that moves the model, in a fixed
// order (a window move before the click; for keys, the key's own window move before the row
// move), so handlers nest. Each event is raised only after the model's state is fully
// updated for that step, and handlers may call back into the model. An exception thrown by a
// handler leaves the call that raised the event, skipping the events that would have
// followed, and the model keeps the state it had reached: that is how a refused selection
// ends the click that caused it.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace catalogue {

// Raised when a row outside 0..RowCount-1 is made current or written. The text is what the
// user sees in the error box after clicking an empty slot, so it is fixed.
class GridIndexError : public std::out_of_range
{
public:
    GridIndexError() : std::out_of_range("Grid index out of range") {}
};

// Rows, current row and visible window of the item list, with the list's event rules.
class ListGrid
{
public:
    static constexpr int kVisibleRows = 25;

    // The keys the list reacts to; the window maps its key codes here (both Return and the
    // keypad's Enter are Enter). Shift is dropped by the caller: it changes nothing.
    enum class Key { Up, Down, PageUp, PageDown, Home, End, Left, Right, Enter, Other };

    struct Events
    {                                                    // any may be empty
        std::function<void()> onClick{};                 // the current row moved
        std::function<void()> onTopLeftChanged{};        // the visible window moved
        std::function<void(Key, bool ctrl)> onKeyDown{}; // before the grid's own key handling
        // RowCount changed, so the scroll bar's visibility and range may have; raised after
        // the whole resize is applied and before the onTopLeftChanged it may cause, so a
        // scroll bar that follows TopRow already has its new range.
        std::function<void()> onRowCountChanged{};
    };

    ListGrid();
    ListGrid(const ListGrid&) = delete;
    ListGrid& operator=(const ListGrid&) = delete;

    // Replaces every handler. Safe from inside a handler: the running one finishes, the next
    // event goes to the new set.
    void SetEvents(Events events);

    int RowCount() const { return rowCount_; } // at least 1
    int Row() const { return row_; }           // 0..RowCount-1
    int TopRow() const { return top_; }        // 0..ScrollMaximum()

    // True for the rows TopRow..TopRow+24, the ones the 25 slots show. Rows past the last one
    // count too: they are the blank slots of a short list.
    bool InWindow(int row) const { return row >= top_ && row - top_ < kVisibleRows; }

    // Makes row v current. The current row again: nothing. Outside 0..RowCount-1:
    // GridIndexError, nothing changed. Otherwise the window scrolls just enough to show v
    // (onTopLeftChanged, with Row already v), then onClick.
    void SetRow(int v);

    // Resizes to m rows (less than 1 becomes 1). A current row past the end moves to the last
    // row and is scrolled into view without onClick; a window past the end moves back
    // (onTopLeftChanged). Rows that no longer exist lose their text.
    void SetRowCount(int m);

    // Raises onKeyDown, then moves the window and the current row as the key asks, the window
    // first. What the key does is computed after onKeyDown returns, from the state it left.
    void PressKey(Key key, bool ctrl);

    // Positive notches come towards the user and move the current row down one row each,
    // negative ones move it up, stopping at the ends. The caller converts the desktop's
    // wheel delta, whose sign is the other way round on most systems.
    void Wheel(int notches);

    // The scroll bar: moves the window to `top`, clamped to 0..ScrollMaximum(), leaving the
    // current row where it is, even when that scrolls it out of sight.
    void ScrollTo(int top);

    bool ScrollBarVisible() const { return rowCount_ > kVisibleRows; }
    int ScrollMaximum() const { return rowCount_ > kVisibleRows ? rowCount_ - kVisibleRows : 0; }

    // The text of a row; the empty text for a row never written, emptied, or outside
    // 0..RowCount-1. The reference is good until the next SetCell, SetRowCount or ClearCells.
    const std::string& Cell(int row) const;
    // Throws GridIndexError for a row outside 0..RowCount-1.
    void SetCell(int row, std::string text);
    void ClearCells(); // every row's text becomes empty

private:
    // Shared so that a handler replacing the events cannot destroy the one that is running.
    using EventsPtr = std::shared_ptr<const Events>;

    void MoveRow(int v); // the part of SetRow after the checks
    void RaiseClick();
    void RaiseTopLeftChanged();

    int rowCount_ = 1;
    int row_ = 0;
    int top_ = 0;
    // Only up to the last row ever written, so a long category's unwritten tail and the rows
    // of an empty one cost nothing; never longer than rowCount_.
    std::vector<std::string> texts_;
    EventsPtr events_;
};

} // namespace catalogue
