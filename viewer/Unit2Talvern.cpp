#include "Unit2Talvern.h"

#include "desktop.h"
#include "errorreporter.h"
#include "screenshotpicture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <algorithm>
#include <exception>
#include <utility>

namespace viewer {

TForm2::TForm2(PictureSource source, platform::ErrorReporter& reporter, QWidget* parent)
    : TForm2(parent)
{
    source_ = std::move(source);
    reporter_ = &reporter;
}

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Screenshot"));
    // Closing it hands the focus back to the main window, which then runs its activation.
    setProperty(platform::kReturnActivatesProperty, true);

    // The picture scrolls only when it is larger than the screen; otherwise the window is
    // exactly the picture and no scroll bar shows. No layout: a layout would give the window
    // the scroll area's minimum size, larger than a small picture.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ScrollBox"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false); // the picture keeps its own size, whatever the window
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_ = new ScreenshotPicture;
    scroll_->setWidget(image1_);
    resize(ScreenshotPicture::kEmptySize);
}

TForm2::~TForm2()
{
    if (modalLoop_) modalLoop_->exit();
}

const QImage& TForm2::Picture() const
{
    return image1_->Picture();
}

void TForm2::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    // Before showing, Qt places the frame here, not the client area: with a window manager
    // the caption bar is on the screen too, without one the picture starts at the corner.
    move(0, 0);
    QEventLoop loop;
    modalLoop_ = &loop;
    const QPointer<TForm2> alive(this);
    show();
    if (isVisible()) loop.exec(QEventLoop::DialogExec);
    if (!alive) return;
    modalLoop_ = nullptr;
    deleteLater();
}

void TForm2::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    // Closing hides the window, and that ends the modal run whatever hid it.
    if (!visible && modalLoop_) modalLoop_->exit();
}

bool TForm2::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        // The error box takes the focus and gives it back when it closes; that return is no
        // new activation, and loading again would only report the same failure once more.
        if (reporting_ || returnFromReport_)
            returnFromReport_ = false;
        else
            FormActivate();
        break;
    case QEvent::WindowDeactivate:
        returnFromReport_ = reporting_;
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TForm2::resizeEvent(QResizeEvent* event)
{
    scroll_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void TForm2::FormActivate()
{
    if (!source_) return;
    QString failure;
    QImage picture;
    try {
        const std::optional<std::filesystem::path> file = source_();
        if (file)
            picture = platform::LoadFullPicture(*file);
        else
            failure = QStringLiteral("The full-size picture is no longer on the disc");
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    // The window first, the picture after, so that the scroll area lays the picture out once,
    // in the window's new size.
    FitTo(picture.isNull() ? image1_->size() : picture.size());
    if (!picture.isNull()) {
        image1_->SetPicture(std::move(picture));
        // The scroll area shows or hides its bars when the layout request that the picture's
        // new size posts to its viewport arrives; settle it now, so that the window is whole
        // when the activation is over.
        QCoreApplication::sendPostedEvents(scroll_->viewport(), QEvent::LayoutRequest);
    }
    // Sized before the message shows, so that the box stands over the window as it will stay.
    if (!failure.isEmpty()) Report(failure);
}

void TForm2::Report(const QString& message)
{
    const QPointer<TForm2> alive(this);
    reporting_ = true;
    reporter_->Report(message);
    if (alive) reporting_ = false;
}

void TForm2::FitTo(QSize picture)
{
    const QScreen* const where = screen();
    if (!where) {
        Resize(picture);
        return;
    }
    // What the screen leaves for the client area once the frame is drawn around it. The frame
    // is known once the window is shown, which it is at activation.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize room = where->availableGeometry().size().shrunkBy(frame);

    // A picture that does not fit scrolls; a scroll bar along one side takes room from the
    // other, which may then need its own bar too.
    const int barWidth = scroll_->verticalScrollBar()->sizeHint().width();
    const int barHeight = scroll_->horizontalScrollBar()->sizeHint().height();
    bool across = picture.width() > room.width();
    bool down = picture.height() > room.height();
    if (across && !down) down = picture.height() + barHeight > room.height();
    if (down && !across) across = picture.width() + barWidth > room.width();
    Resize({std::min(picture.width() + (down ? barWidth : 0), room.width()),
            std::min(picture.height() + (across ? barHeight : 0), room.height())});
}

void TForm2::Resize(QSize client)
{
    resize(client);
    // A shown window hears of its new size only when the platform confirms it; the scroll
    // area follows now, so that what comes next is laid out in the new size.
    scroll_->setGeometry(QRect(QPoint(0, 0), client));
}

} // namespace viewer

namespace viewer {

void TForm2::keyPressEvent(QKeyEvent* event)
{
    // Escape closes it, as a picture viewer's window is expected to; it also is the only way
    // to close it where no window manager draws a close button.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace viewer
