#include "widgets.h"

#include "artwork.h"

#include <QMouseEvent>
#include <QPainter>

namespace browser {

namespace {

// A click is a press and a release of the left button over the control; a release ends the
// press whatever it is.
bool EndsClick(const QWidget& control, const QMouseEvent& release, bool& pressedInside)
{
    const bool click = pressedInside && release.button() == Qt::LeftButton &&
                       control.rect().contains(release.position().toPoint());
    pressedInside = false;
    return click;
}

} // namespace

ClickLabel::ClickLabel(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void ClickLabel::setText(const QString& text)
{
    text_ = text;
    update();
}

void ClickLabel::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

void ClickLabel::setWordWrap(bool on)
{
    wordWrap_ = on;
    update();
}

int ClickLabel::Flags() const
{
    return int(alignment_) | (wordWrap_ ? Qt::TextWordWrap : 0);
}

int ClickLabel::heightForWidth(int width) const
{
    return QFontMetrics(font())
        .boundingRect(QRect(0, 0, width, QWIDGETSIZE_MAX), Flags(), text_)
        .height();
}

void ClickLabel::SetAutoSize(bool on, int maxWidth)
{
    autoSize_ = on;
    maxWidth_ = maxWidth;
    if (autoSize_) FitToCaption();
}

void ClickLabel::SetCaption(const QString& text)
{
    if (text == text_) return;
    setText(text);
    if (autoSize_) FitToCaption();
}

void ClickLabel::FitToCaption()
{
    if (wordWrap_) {
        resize(width(), std::max(QFontMetrics(font()).height(), heightForWidth(width())));
        return;
    }
    const QFontMetrics metrics(font());
    const QString measured = text_.isEmpty() ? QStringLiteral(" ") : text_;
    resize(std::min(metrics.horizontalAdvance(measured), maxWidth_), height());
}

void ClickLabel::SetFontColour(const QColor& colour)
{
    if (colour_ == colour) return;
    colour_ = colour;
    update();
}

QColor ClickLabel::FontColour() const
{
    return colour_.isValid() ? colour_ : palette().color(QPalette::WindowText);
}

void ClickLabel::SetBold(bool bold, bool underline)
{
    QFont f = font();
    if (f.bold() == bold && f.underline() == underline) return;
    f.setBold(bold);
    f.setUnderline(underline);
    setFont(f);
    if (autoSize_) FitToCaption();
    update();
}

void ClickLabel::paintEvent(QPaintEvent*)
{
    if (text_.isEmpty()) return;
    QPainter p(this);
    p.setPen(FontColour());
    p.drawText(rect(), Flags(), text_); // what passes the edge is cut off
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    pressedInside_ = event->button() == Qt::LeftButton;
    emit pressed(event->button());
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (EndsClick(*this, *event, pressedInside_)) emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    // The second press of a double click still counts as a press (a section press is any
    // press), but not as the start of another click.
    emit pressed(event->button());
}

void ClickLabel::mouseMoveEvent(QMouseEvent*)
{
    emit moved();
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void PictureBox::SetArtwork(const QString& svgResource, QRect band)
{
    artwork_ = svgResource;
    artworkBand_ = band;
    artworkImage_ = QImage();
    picture_ = QPixmap();
    update();
}

void PictureBox::SetPicture(const QPixmap& picture)
{
    artwork_.clear();
    picture_ = picture;
    photo_ = false;
    artworkImage_ = QImage();
    update();
}

void PictureBox::SetPhoto(const QPixmap& photo, QSize full, bool stretch, bool proportional)
{
    SetPicture(photo);
    photo_ = true;
    photoFull_ = full;
    stretch_ = stretch;
    proportional_ = proportional;
}

void PictureBox::Clear()
{
    SetPicture(QPixmap());
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (!artwork_.isEmpty()) {
        // Drawn as the cache holds it: turning it into a pixmap would only copy it.
        const qreal scale = devicePixelRatioF();
        const QRect band = artworkBand_.isEmpty() ? rect() : artworkBand_;
        if (artworkImage_.isNull() || artworkImage_.devicePixelRatio() != scale ||
            artworkImage_.deviceIndependentSize().toSize() != band.size())
            artworkImage_ = artwork::Get(artwork_, size(), scale, artworkBand_);
        QPainter(this).drawImage(band.topLeft(), artworkImage_);
    } else if (photo_ && !picture_.isNull()) {
        QSizeF shown = photoFull_;
        const QSizeF box = size();
        if (stretch_ && !proportional_) {
            shown = box;
        } else if (proportional_) {
            const qreal fit = std::min(box.width() / shown.width(), box.height() / shown.height());
            if (stretch_ || fit < 1) shown *= fit;
        }
        const QRectF target(
            QPointF((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2), shown);
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(target, picture_, QRectF(picture_.rect()));
    } else if (!picture_.isNull()) {
        QPainter(this).drawPixmap(0, 0, picture_);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    if (!clickable_) {
        event->ignore();
        return;
    }
    pressedInside_ = event->button() == Qt::LeftButton;
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (EndsClick(*this, *event, pressedInside_)) emit clicked();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit moved();
    event->ignore();
}

ShapeBox::ShapeBox(QWidget* parent, const QColor& fill, const QColor& pen, int penWidth)
    : QWidget(parent), fill_(fill), pen_(pen), penWidth_(penWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), pen_);
    p.fillRect(rect().adjusted(penWidth_, penWidth_, -penWidth_, -penWidth_), fill_);
}

} // namespace browser
