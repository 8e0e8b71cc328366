#include "screenshotpicture.h"

#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace viewer {

ScreenshotPicture::ScreenshotPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setFixedSize(kEmptySize);
}

void ScreenshotPicture::SetPicture(QImage picture)
{
    picture_ = std::move(picture);
    // A picture covers every pixel of the control, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent, !picture_.isNull());
    setFixedSize(sizeHint());
    update();
}

QSize ScreenshotPicture::sizeHint() const
{
    return picture_.isNull() ? kEmptySize : picture_.size();
}

void ScreenshotPicture::paintEvent(QPaintEvent* event)
{
    if (picture_.isNull()) return;
    // Only the part that is shown: a large picture in a scrolled window is mostly out of sight.
    const QRect shown = event->rect() & picture_.rect();
    QPainter(this).drawImage(shown.topLeft(), picture_, shown);
}

} // namespace viewer
