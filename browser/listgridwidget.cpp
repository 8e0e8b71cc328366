#include "listgridwidget.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace browser {

namespace {

catalogue::ListGrid::Key KeyOf(int qtKey)
{
    using Key = catalogue::ListGrid::Key;
    switch (qtKey) {
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Down:
        return Key::Down;
    case Qt::Key_PageUp:
        return Key::PageUp;
    case Qt::Key_PageDown:
        return Key::PageDown;
    case Qt::Key_Home:
        return Key::Home;
    case Qt::Key_End:
        return Key::End;
    case Qt::Key_Left:
        return Key::Left;
    case Qt::Key_Right:
        return Key::Right;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    default:
        return Key::Other;
    }
}

} // namespace

ListGridWidget::ListGridWidget(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ListGridWidget::SetEvents(catalogue::ListGrid::Events events)
{
    // The bar follows the model at the two moments it can change: a new row count and a
    // moved window, each before the window's own handler runs.
    auto topLeft = std::move(events.onTopLeftChanged);
    events.onTopLeftChanged = [this, topLeft = std::move(topLeft)] {
        SyncScrollBar();
        if (topLeft) topLeft();
    };
    auto rowCount = std::move(events.onRowCountChanged);
    events.onRowCountChanged = [this, rowCount = std::move(rowCount)] {
        SyncScrollBar();
        if (rowCount) rowCount();
    };
    model_.SetEvents(std::move(events));
}

void ListGridWidget::LinkScrollBar(QScrollBar* bar)
{
    bar_ = bar;
    // The bar moves the window only; the current row stays where it is.
    connect(bar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != model_.TopRow()) Guarded([&] { model_.ScrollTo(value); });
    });
    SyncScrollBar();
}

void ListGridWidget::SyncScrollBar()
{
    if (!bar_) return;
    const QSignalBlocker block(bar_);
    bar_->setRange(0, model_.ScrollMaximum());
    bar_->setPageStep(catalogue::ListGrid::kVisibleRows);
    bar_->setValue(model_.TopRow());
    bar_->setVisible(model_.ScrollBarVisible());
}

void ListGridWidget::keyPressEvent(QKeyEvent* event)
{
    const auto key = KeyOf(event->key());
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    Guarded([&] { model_.PressKey(key, ctrl); });
    event->accept();
}

void ListGridWidget::wheelEvent(QWheelEvent* event)
{
    TakeWheel(event);
}

void ListGridWidget::TakeWheel(QWheelEvent* event)
{
    // Qt counts a turn away from the user as positive; the grid's notches count towards.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0) Guarded([&] { model_.Wheel(-notches); });
    event->accept();
}

void ListGridWidget::Guarded(const std::function<void()>& action)
{
    if (guard_)
        guard_(action);
    else
        action();
}

} // namespace browser
