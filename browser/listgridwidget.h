#pragma once
// The list's grid as a widget: zero pixels wide, it holds the keyboard focus and turns keys and
// wheel notches into moves of its scroll model, and keeps the list's scroll bar in step.

#include "listgrid.h"

#include <QWidget>
#include <functional>

class QScrollBar;
class QWheelEvent;

namespace browser {

class ListGridWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ListGridWidget(QWidget* parent);

    // The events the window handles; the widget keeps the scroll bar in step before each.
    void SetEvents(catalogue::ListGrid::Events events);
    // Runs what a key, a wheel notch or the scroll bar set off; what the window's handlers
    // throw must end there, not in Qt's event loop.
    using Guard = std::function<void(const std::function<void()>&)>;
    void SetGuard(Guard guard) { guard_ = std::move(guard); }
    void LinkScrollBar(QScrollBar* bar);

    int RowCount() const { return model_.RowCount(); }
    int Row() const { return model_.Row(); }
    int TopRow() const { return model_.TopRow(); }
    void SetRow(int row) { model_.SetRow(row); }
    void SetRowCount(int count) { model_.SetRowCount(count); }
    const std::string& Cell(int row) const { return model_.Cell(row); }
    void SetCell(int row, std::string text) { model_.SetCell(row, std::move(text)); }
    void ClearCells() { model_.ClearCells(); }

    // A wheel turn anywhere over the window.
    void TakeWheel(QWheelEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SyncScrollBar();

    void Guarded(const std::function<void()>& action);

    catalogue::ListGrid model_;
    Guard guard_;
    QScrollBar* bar_ = nullptr;
    int wheelRemainder_ = 0; // eighths of a degree not yet a whole notch
};

} // namespace browser
