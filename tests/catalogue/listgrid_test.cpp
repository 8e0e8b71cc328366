#include "listgrid.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using catalogue::GridIndexError;
using catalogue::ListGrid;
using Key = ListGrid::Key;

namespace {

// A grid whose events are written down as letters: K key down, T window moved, C click,
// N row count changed. `seen` adds the Row/TopRow each handler saw, for the cases where the
// order of the state changes matters as much as the order of the events.
struct Recorder
{
    ListGrid grid;
    std::string events;
    std::string seen;

    Recorder()
    {
        grid.SetEvents({
            [this] { Note('C'); },
            [this] { Note('T'); },
            [this](Key, bool) { Note('K'); },
            [this] { Note('N'); },
        });
    }

    void Note(char letter)
    {
        if (!events.empty()) {
            events += ' ';
            seen += ' ';
        }
        events += letter;
        seen += letter + std::to_string(grid.Row()) + "/" + std::to_string(grid.TopRow());
    }

    // Brings the grid to the starting state of a case and forgets the events that took.
    void Start(int rowCount, int row, int top)
    {
        grid.SetRowCount(rowCount);
        grid.SetRow(row);
        grid.ScrollTo(top);
        events.clear();
        seen.clear();
    }
};

struct Action
{
    std::string name;
    std::function<void(ListGrid&)> apply;
};

Action Press(Key key)
{
    return {"key " + std::to_string(static_cast<int>(key)),
            [key](ListGrid& g) { g.PressKey(key, false); }};
}
Action CtrlPress(Key key)
{
    return {"ctrl+key " + std::to_string(static_cast<int>(key)),
            [key](ListGrid& g) { g.PressKey(key, true); }};
}
Action WheelBy(int notches)
{
    return {"wheel " + std::to_string(notches), [notches](ListGrid& g) { g.Wheel(notches); }};
}
Action SetRowTo(int v)
{
    return {"SetRow " + std::to_string(v), [v](ListGrid& g) { g.SetRow(v); }};
}
Action SetCountTo(int m)
{
    return {"SetRowCount " + std::to_string(m), [m](ListGrid& g) { g.SetRowCount(m); }};
}
Action ScrollBarTo(int top)
{
    return {"ScrollTo " + std::to_string(top), [top](ListGrid& g) { g.ScrollTo(top); }};
}

struct MoveCase
{
    int rowCount;
    int row;
    int top;
    Action action;
    int expectedRow;
    int expectedTop;
    const char* expectedEvents;
};

void RunMoveCases(const std::vector<MoveCase>& cases)
{
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rowCount) + " rows, row " + std::to_string(c.row) + ", top " +
                     std::to_string(c.top) + ", " + c.action.name);
        Recorder r;
        r.Start(c.rowCount, c.row, c.top);
        const int rowCount = r.grid.RowCount();
        c.action.apply(r.grid);
        EXPECT_EQ(r.grid.Row(), c.expectedRow);
        EXPECT_EQ(r.grid.TopRow(), c.expectedTop);
        EXPECT_EQ(r.events, c.expectedEvents);
        EXPECT_EQ(r.grid.RowCount(), rowCount);
    }
}

} // namespace

TEST(ListGridTest, StartsAsOneEmptyRowAtTheTop)
{
    ListGrid grid;
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.TopRow(), 0);
    EXPECT_FALSE(grid.ScrollBarVisible());
    EXPECT_EQ(grid.Cell(0), "");
}

TEST(ListGridTest, StartingStatesOfTheTablesAreReachable)
{
    // Every table below starts from Start(); a start it cannot reach would test the wrong
    // thing silently.
    struct Case
    {
        int rowCount, row, top, expectedCount;
    };
    const Case cases[] = {
        {0, 0, 0, 1},    {10, 9, 0, 10},    {25, 24, 0, 25},    {26, 0, 1, 26},
        {30, 29, 5, 30}, {100, 0, 75, 100}, {100, 99, 75, 100}, {100, 50, 10, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rowCount);
        Recorder r;
        r.Start(c.rowCount, c.row, c.top);
        EXPECT_EQ(r.grid.RowCount(), c.expectedCount);
        EXPECT_EQ(r.grid.Row(), c.row);
        EXPECT_EQ(r.grid.TopRow(), c.top);
    }
}

TEST(ListGridTest, KeysWithoutCtrl)
{
    RunMoveCases({
        // An empty category is one blank row: nothing moves.
        {0, 0, 0, Press(Key::Up), 0, 0, "K"},
        {0, 0, 0, Press(Key::Down), 0, 0, "K"},
        {0, 0, 0, Press(Key::PageUp), 0, 0, "K"},
        {0, 0, 0, Press(Key::PageDown), 0, 0, "K"},
        // Short list: the page is 9, and the row past the end is clamped to the last one.
        {10, 3, 0, Press(Key::PageDown), 9, 0, "K C"},
        {10, 9, 0, Press(Key::PageUp), 0, 0, "K C"},
        {10, 9, 0, Press(Key::Down), 9, 0, "K"},
        {10, 3, 0, Press(Key::Down), 4, 0, "K C"},
        // A full window that cannot scroll.
        {25, 0, 0, Press(Key::PageDown), 24, 0, "K C"},
        {25, 24, 0, Press(Key::Down), 24, 0, "K"},
        {25, 24, 0, Press(Key::PageUp), 0, 0, "K C"},
        // One row of scroll: the page asks for 24, the window can give 1.
        {26, 24, 0, Press(Key::Down), 25, 1, "K T C"},
        {26, 0, 0, Press(Key::PageDown), 24, 1, "K T C"},
        {26, 25, 1, Press(Key::PageUp), 1, 0, "K T C"},
        // The window is clamped at the end, the row lands in slot 25.
        {30, 5, 0, Press(Key::PageDown), 29, 5, "K T C"},
        {30, 29, 5, Press(Key::PageUp), 5, 0, "K T C"},
        // Long list: window and row move together by a page, the window first.
        {100, 5, 0, Press(Key::PageDown), 29, 24, "K T C"},
        {100, 29, 24, Press(Key::PageUp), 5, 0, "K T C"},
        {100, 90, 75, Press(Key::PageDown), 99, 75, "K C"},
        {100, 99, 75, Press(Key::PageDown), 99, 75, "K"},
        {100, 0, 0, Press(Key::PageUp), 0, 0, "K"},
        // Past the edge of the window it moves by exactly one row.
        {100, 24, 0, Press(Key::Down), 25, 1, "K T C"},
        {100, 10, 10, Press(Key::Up), 9, 9, "K T C"},
        {100, 0, 0, Press(Key::Up), 0, 0, "K"},
        {100, 99, 75, Press(Key::Down), 99, 75, "K"},
        // A row the scroll bar left out of sight is brought back by the move.
        {100, 0, 50, Press(Key::Down), 1, 1, "K T C"},
        {100, 99, 10, Press(Key::Up), 98, 74, "K T C"},
        // PageDown with the row out of sight: the key's window move, then the scroll into
        // view, each raised.
        {100, 0, 50, Press(Key::PageDown), 24, 24, "K T T C"},
        // One column, no editor: these only reach the key handler.
        {100, 50, 40, Press(Key::Home), 50, 40, "K"},
        {100, 50, 40, Press(Key::End), 50, 40, "K"},
        {100, 50, 40, Press(Key::Left), 50, 40, "K"},
        {100, 50, 40, Press(Key::Right), 50, 40, "K"},
        {100, 50, 40, Press(Key::Enter), 50, 40, "K"},
        {100, 50, 40, Press(Key::Other), 50, 40, "K"},
    });
}

TEST(ListGridTest, KeysWithCtrl)
{
    RunMoveCases({
        // Ctrl+Up/Down scroll the window only, even out from under the row.
        {100, 20, 10, CtrlPress(Key::Up), 20, 9, "K T"},
        {100, 10, 10, CtrlPress(Key::Down), 10, 11, "K T"},
        {100, 20, 0, CtrlPress(Key::Up), 20, 0, "K"},
        {100, 80, 75, CtrlPress(Key::Down), 80, 75, "K"},
        {26, 0, 0, CtrlPress(Key::Down), 0, 1, "K T"},
        {26, 0, 1, CtrlPress(Key::Down), 0, 1, "K"},
        {25, 0, 0, CtrlPress(Key::Down), 0, 0, "K"},
        {10, 3, 0, CtrlPress(Key::Down), 3, 0, "K"},
        // Ctrl+PageUp/PageDown: the first and the last wholly visible row.
        {100, 20, 10, CtrlPress(Key::PageUp), 10, 10, "K C"},
        {100, 10, 10, CtrlPress(Key::PageUp), 10, 10, "K"},
        {100, 20, 10, CtrlPress(Key::PageDown), 34, 10, "K C"},
        {100, 34, 10, CtrlPress(Key::PageDown), 34, 10, "K"},
        {10, 3, 0, CtrlPress(Key::PageDown), 9, 0, "K C"},
        {0, 0, 0, CtrlPress(Key::PageDown), 0, 0, "K"},
        // From a scrolled-out row, Ctrl+PageUp picks the window's first row without moving it.
        {100, 0, 50, CtrlPress(Key::PageUp), 50, 50, "K C"},
        // Ctrl+Home/End: the first and last row, scrolled into view.
        {100, 50, 40, CtrlPress(Key::Home), 0, 0, "K T C"},
        {100, 10, 0, CtrlPress(Key::Home), 0, 0, "K C"},
        {100, 0, 0, CtrlPress(Key::End), 99, 75, "K T C"},
        {100, 99, 75, CtrlPress(Key::End), 99, 75, "K"},
        {30, 0, 0, CtrlPress(Key::End), 29, 5, "K T C"},
        {30, 29, 5, CtrlPress(Key::Home), 0, 0, "K T C"},
        {10, 0, 0, CtrlPress(Key::End), 9, 0, "K C"},
        {0, 0, 0, CtrlPress(Key::End), 0, 0, "K"},
        // Nothing sideways, Ctrl or not.
        {100, 50, 40, CtrlPress(Key::Left), 50, 40, "K"},
        {100, 50, 40, CtrlPress(Key::Right), 50, 40, "K"},
        {100, 50, 40, CtrlPress(Key::Enter), 50, 40, "K"},
    });
}

TEST(ListGridTest, Wheel)
{
    RunMoveCases({
        {100, 0, 0, WheelBy(1), 1, 0, "C"},
        {100, 0, 0, WheelBy(3), 3, 0, "C C C"},
        {100, 0, 0, WheelBy(-1), 0, 0, ""},
        {100, 10, 0, WheelBy(0), 10, 0, ""},
        {100, 99, 75, WheelBy(1), 99, 75, ""},
        {100, 98, 75, WheelBy(3), 99, 75, "C"},
        {100, 2, 0, WheelBy(-5), 0, 0, "C C"},
        {100, 24, 0, WheelBy(1), 25, 1, "T C"},
        {100, 10, 10, WheelBy(-2), 8, 8, "T C T C"},
        {100, 0, 50, WheelBy(1), 1, 1, "T C"},
        {10, 9, 0, WheelBy(1), 9, 0, ""},
        {0, 0, 0, WheelBy(1), 0, 0, ""},
        {0, 0, 0, WheelBy(-1), 0, 0, ""},
    });
}

TEST(ListGridTest, SetRow)
{
    RunMoveCases({
        {100, 5, 0, SetRowTo(10), 10, 0, "C"},
        {100, 5, 0, SetRowTo(30), 30, 6, "T C"},
        {100, 30, 10, SetRowTo(0), 0, 0, "T C"},
        {100, 30, 10, SetRowTo(34), 34, 10, "C"},
        {100, 30, 10, SetRowTo(35), 35, 11, "T C"},
        // The current row again is nothing, even while it is scrolled out of sight: a fill
        // from row 0 keeps a window the scroll bar moved.
        {100, 5, 0, SetRowTo(5), 5, 0, ""},
        {100, 0, 50, SetRowTo(0), 0, 50, ""},
        {0, 0, 0, SetRowTo(0), 0, 0, ""},
    });
}

TEST(ListGridTest, SetRowOutOfRangeThrowsAndChangesNothing)
{
    struct Case
    {
        int rowCount, row, top, v;
    };
    const Case cases[] = {
        {100, 30, 10, -1},   {100, 30, 10, 100},
        {100, 30, 10, 1000}, {3, 0, 0, 9}, // a click on slot 10 of a three-item category
        {0, 0, 0, 1},                      // slot 2 of an empty one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rowCount) + " rows, SetRow " + std::to_string(c.v));
        Recorder r;
        r.Start(c.rowCount, c.row, c.top);
        try {
            r.grid.SetRow(c.v);
            ADD_FAILURE() << "no GridIndexError";
        } catch (const GridIndexError& e) {
            EXPECT_STREQ(e.what(), "Grid index out of range");
        }
        EXPECT_EQ(r.grid.Row(), c.row);
        EXPECT_EQ(r.grid.TopRow(), c.top);
        EXPECT_EQ(r.events, "");
    }
}

TEST(ListGridTest, SetRowCount)
{
    struct Case
    {
        int rowCount, row, top, newCount;
        int expectedCount, expectedRow, expectedTop;
        const char* expectedEvents;
    };
    const Case cases[] = {
        {100, 5, 0, 100, 100, 5, 0, ""},
        {1, 0, 0, 0, 1, 0, 0, ""}, // 0 becomes 1, which it already is
        {1, 0, 0, -5, 1, 0, 0, ""},
        {100, 5, 0, 200, 200, 5, 0, "N"},
        {10, 3, 0, 30, 30, 3, 0, "N"},
        // Shrinking with the row past the end: the row goes to the last one, in view,
        // with no click; the window moves once to where it ends up.
        {100, 99, 75, 50, 50, 49, 25, "N T"},
        {100, 90, 10, 50, 50, 49, 25, "N T"},
        {100, 60, 50, 10, 10, 9, 0, "N T"},
        {100, 50, 40, 0, 1, 0, 0, "N T"},
        {30, 29, 5, 26, 26, 25, 1, "N T"},
        {30, 29, 5, 25, 25, 24, 0, "N T"},
        {30, 20, 0, 10, 10, 9, 0, "N"},
        // A row that still exists stays put even out of sight; only the window is clamped.
        {100, 0, 75, 30, 30, 0, 5, "N T"},
        {100, 0, 75, 10, 10, 0, 0, "N T"},
        {100, 0, 20, 60, 60, 0, 20, "N"},
        {100, 30, 20, 60, 60, 30, 20, "N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rowCount) + " rows, row " + std::to_string(c.row) + ", top " +
                     std::to_string(c.top) + ", SetRowCount " + std::to_string(c.newCount));
        Recorder r;
        r.Start(c.rowCount, c.row, c.top);
        r.grid.SetRowCount(c.newCount);
        EXPECT_EQ(r.grid.RowCount(), c.expectedCount);
        EXPECT_EQ(r.grid.Row(), c.expectedRow);
        EXPECT_EQ(r.grid.TopRow(), c.expectedTop);
        EXPECT_EQ(r.events, c.expectedEvents);
    }
}

TEST(ListGridTest, ScrollBarMovesTheWindowOnly)
{
    RunMoveCases({
        {100, 30, 10, ScrollBarTo(20), 30, 20, "T"},
        {100, 30, 10, ScrollBarTo(50), 30, 50, "T"}, // the row scrolls out of sight
        {100, 30, 10, ScrollBarTo(500), 30, 75, "T"},
        {100, 30, 10, ScrollBarTo(-3), 30, 0, "T"},
        {100, 30, 10, ScrollBarTo(10), 30, 10, ""},
        {100, 30, 75, ScrollBarTo(76), 30, 75, ""},
        {26, 0, 0, ScrollBarTo(5), 0, 1, "T"},
        {25, 0, 0, ScrollBarTo(1), 0, 0, ""},
        {0, 0, 0, ScrollBarTo(1), 0, 0, ""},
    });
}

TEST(ListGridTest, ScrollBarShownOnlyWhileTheWindowCanScroll)
{
    struct Case
    {
        int rowCount;
        bool visible;
        int maximum;
    };
    const Case cases[] = {
        {0, false, 0}, {1, false, 0}, {10, false, 0},  {25, false, 0},
        {26, true, 1}, {30, true, 5}, {100, true, 75}, {100000, true, 99975},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rowCount);
        ListGrid grid;
        grid.SetRowCount(c.rowCount);
        EXPECT_EQ(grid.ScrollBarVisible(), c.visible);
        EXPECT_EQ(grid.ScrollMaximum(), c.maximum);
    }
}

TEST(ListGridTest, HandlersSeeTheStateOfTheirStep)
{
    // The list clears its mark when the window moves away from the current row and sets it
    // again on the click; that only works if each event sees exactly this state.
    struct Case
    {
        int rowCount, row, top;
        Action action;
        const char* expectedSeen; // letter, then Row/TopRow as the handler saw them
    };
    const Case cases[] = {
        // The key handler runs before anything moves; PageDown's window move comes while
        // the row is still in its old place, out of the new window.
        {100, 5, 0, Press(Key::PageDown), "K5/0 T5/24 C29/24"},
        {30, 5, 0, Press(Key::PageDown), "K5/0 T5/5 C29/5"},
        // A scroll into view is raised with the row already there.
        {100, 24, 0, Press(Key::Down), "K24/0 T25/1 C25/1"},
        {100, 5, 0, SetRowTo(30), "T30/6 C30/6"},
        {100, 50, 40, CtrlPress(Key::Home), "K50/40 T0/0 C0/0"},
        {100, 0, 50, Press(Key::PageDown), "K0/50 T0/74 T24/24 C24/24"},
        {100, 24, 0, WheelBy(2), "T25/1 C25/1 T26/2 C26/2"},
        // A shrink is complete before anyone hears of it.
        {100, 99, 75, SetCountTo(50), "N49/25 T49/25"},
        {100, 30, 10, ScrollBarTo(40), "T30/40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rowCount) + " rows, " + c.action.name);
        Recorder r;
        r.Start(c.rowCount, c.row, c.top);
        c.action.apply(r.grid);
        EXPECT_EQ(r.seen, c.expectedSeen);
    }
}

TEST(ListGridTest, KeyHandlerRunsBeforeTheMove)
{
    ListGrid grid;
    grid.SetRowCount(100);
    grid.SetRow(7);
    std::vector<int> rowsSeen;
    std::vector<std::pair<Key, bool>> keysSeen;
    grid.SetEvents({.onKeyDown = [&](Key key, bool ctrl) {
        rowsSeen.push_back(grid.Row());
        keysSeen.emplace_back(key, ctrl);
    }});
    grid.PressKey(Key::Down, false);
    grid.PressKey(Key::End, true);
    EXPECT_EQ(rowsSeen, (std::vector<int>{7, 8}));
    EXPECT_EQ(keysSeen, (std::vector<std::pair<Key, bool>>{{Key::Down, false}, {Key::End, true}}));
    EXPECT_EQ(grid.Row(), 99);
}

TEST(ListGridTest, KeyMovesFromWhereTheKeyHandlerLeftTheRow)
{
    ListGrid grid;
    grid.SetRowCount(100);
    grid.SetEvents({.onKeyDown = [&](Key, bool) { grid.SetRow(40); }});
    grid.PressKey(Key::Down, false);
    EXPECT_EQ(grid.Row(), 41);
    EXPECT_EQ(grid.TopRow(), 17);
}

namespace {

// The list as it uses the grid: selecting slot k shows the item and then sets Row to the
// slot's row, whose click selects the same slot again; a window move re-selects the current
// row's slot or clears the mark.
struct ListModel
{
    ListGrid grid;
    int selectedSlot = 0;
    int passes = 0; // how often a slot was selected
    int depth = 0;
    int maxDepth = 0;
    int clears = 0;

    ListModel()
    {
        grid.SetEvents({
            .onClick = [this] { SelectCurrent(); },
            .onTopLeftChanged =
                [this] {
                    if (grid.InWindow(grid.Row()))
                        SelectCurrent();
                    else
                        ++clears;
                },
        });
    }

    void SelectCurrent()
    {
        if (grid.InWindow(grid.Row())) Select(grid.Row() - grid.TopRow() + 1);
    }

    void Select(int slot)
    {
        ++passes;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        struct Leave
        {
            int& d;
            ~Leave() { --d; }
        } leave{depth};
        selectedSlot = slot;
        grid.SetRow(grid.TopRow() + slot - 1);
    }

    void Fill(int count)
    {
        grid.SetRow(0);
        grid.ClearCells();
        grid.SetRowCount(count);
        SelectCurrent();
    }
};

} // namespace

TEST(ListGridTest, ReentrantSelectionEndsAfterOneExtraPass)
{
    struct Case
    {
        const char* name;
        int rowCount, row, top;
        std::function<void(ListModel&)> act;
        int expectedPasses, expectedDepth, expectedRow, expectedTop, expectedSlot;
    };
    const Case cases[] = {
        {"click on slot 6", 100, 0, 0, [](ListModel& m) { m.Select(6); }, 2, 2, 5, 0, 6},
        {"click on the current slot", 100, 5, 0, [](ListModel& m) { m.Select(6); }, 1, 1, 5, 0, 6},
        {"Down in slot 25", 100, 24, 0, [](ListModel& m) { m.grid.PressKey(Key::Down, false); }, 2,
         1, 25, 1, 25},
        {"PageDown", 100, 5, 0, [](ListModel& m) { m.grid.PressKey(Key::PageDown, false); }, 1, 1,
         29, 24, 6},
        {"fill after the row moved", 100, 30, 10, [](ListModel& m) { m.Fill(40); }, 3, 1, 0, 0, 1},
        {"fill from row 0 with the window scrolled", 100, 0, 50, [](ListModel& m) { m.Fill(60); },
         0, 0, 0, 35, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ListModel m;
        m.grid.SetRowCount(c.rowCount);
        m.grid.SetRow(c.row);
        m.grid.ScrollTo(c.top);
        m.passes = m.maxDepth = 0;
        m.selectedSlot = 0;
        c.act(m);
        EXPECT_EQ(m.passes, c.expectedPasses);
        EXPECT_EQ(m.maxDepth, c.expectedDepth);
        EXPECT_EQ(m.grid.Row(), c.expectedRow);
        EXPECT_EQ(m.grid.TopRow(), c.expectedTop);
        EXPECT_EQ(m.selectedSlot, c.expectedSlot);
    }
}

TEST(ListGridTest, PageDownClearsTheMarkThenSetsItAgain)
{
    ListModel m;
    m.grid.SetRowCount(100);
    m.grid.SetRow(5);
    m.grid.PressKey(Key::PageDown, false);
    EXPECT_EQ(m.clears, 1);
    EXPECT_EQ(m.selectedSlot, 6);
}

TEST(ListGridTest, ClickOnAnEmptySlotIsRefused)
{
    ListModel m;
    m.grid.SetRowCount(3);
    EXPECT_THROW(m.Select(10), GridIndexError);
    EXPECT_EQ(m.selectedSlot, 10); // the mark already moved before the grid refused
    EXPECT_EQ(m.grid.Row(), 0);
    EXPECT_EQ(m.passes, 1);
}

TEST(ListGridTest, HandlerExceptionSkipsTheRestButKeepsTheMove)
{
    ListGrid grid;
    grid.SetRowCount(100);
    int clicks = 0;
    grid.SetEvents(
        {.onClick = [&] { ++clicks; }, .onTopLeftChanged = [] { throw GridIndexError(); }});
    EXPECT_THROW(grid.SetRow(30), GridIndexError);
    EXPECT_EQ(grid.Row(), 30);
    EXPECT_EQ(grid.TopRow(), 6);
    EXPECT_EQ(clicks, 0);
}

TEST(ListGridTest, HandlerMayReplaceTheEvents)
{
    ListGrid grid;
    grid.SetRowCount(100);
    std::string log;
    grid.SetEvents({
        .onClick = [&] { log += 'C'; },
        .onTopLeftChanged =
            [&] {
                log += 'T';
                grid.SetEvents({.onClick = [&] { log += 'c'; }});
                log += '!'; // still running after its own std::function was replaced
            },
    });
    grid.SetRow(30);
    grid.SetRow(31);
    EXPECT_EQ(log, "T!cc");
}

TEST(ListGridTest, CellsReadEmptyUnlessWritten)
{
    ListGrid grid;
    grid.SetRowCount(10);
    grid.SetCell(0, "first");
    grid.SetCell(5, "sixth");
    grid.SetCell(9, "last");
    const std::pair<int, const char*> reads[] = {
        {0, "first"}, {1, ""},  {5, "sixth"}, {9, "last"},
        {10, ""},     {24, ""}, {-1, ""},     {1000000, ""}, // the blank slots of a short list
    };
    for (const auto& [row, text] : reads) {
        SCOPED_TRACE(row);
        EXPECT_EQ(grid.Cell(row), text);
    }
    grid.SetCell(5, "");
    EXPECT_EQ(grid.Cell(5), "");
    grid.ClearCells();
    EXPECT_EQ(grid.Cell(0), "");
    EXPECT_EQ(grid.Cell(9), "");
    EXPECT_EQ(grid.RowCount(), 10); // emptying the texts is no resize
}

TEST(ListGridTest, RowsDroppedByAShrinkComeBackEmpty)
{
    ListGrid grid;
    grid.SetRowCount(30);
    grid.SetCell(3, "kept");
    grid.SetCell(20, "dropped");
    grid.SetRowCount(10);
    EXPECT_EQ(grid.Cell(20), "");
    grid.SetRowCount(30);
    EXPECT_EQ(grid.Cell(3), "kept");
    EXPECT_EQ(grid.Cell(20), "");
}

TEST(ListGridTest, WritingOutsideTheRowsThrows)
{
    ListGrid grid;
    grid.SetRowCount(10);
    EXPECT_THROW(grid.SetCell(10, "x"), GridIndexError);
    EXPECT_THROW(grid.SetCell(-1, "x"), GridIndexError);
    EXPECT_EQ(grid.Cell(10), "");
}

TEST(ListGridTest, LongCategoryKeepsEveryTitle)
{
    ListGrid grid;
    grid.SetRowCount(100000);
    for (int r = 0; r < 100000; ++r)
        grid.SetCell(r, "item " + std::to_string(r + 1));
    EXPECT_EQ(grid.Cell(0), "item 1");
    EXPECT_EQ(grid.Cell(99999), "item 100000");
    grid.PressKey(Key::End, true);
    EXPECT_EQ(grid.TopRow(), 99975);
    EXPECT_EQ(grid.Cell(grid.TopRow() + 24), "item 100000");
}
