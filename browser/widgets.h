#pragma once
// The few kinds of control the main window is made of, each as plain as it can be: a label that
// reports clicks and moves, a picture, a filled rectangle.

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace browser {

// A text label that sizes itself to its caption (up to a maximum width, past which the text is
// cut), or, word-wrapped, grows downwards; it reports presses, clicks, double clicks and moves
// of the mouse. It paints its text itself: the window has some forty of them, re-coloured on
// every move of the selection, and a QLabel with a palette each costs more than all the rest.
class ClickLabel : public QWidget
{
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    void setAlignment(Qt::Alignment alignment);
    void setWordWrap(bool on);
    int heightForWidth(int width) const override;

    // Auto-size: the label takes its caption's width, at most maxWidth; an empty caption is
    // measured as one blank, so an empty slot stays a few pixels wide and clickable. A
    // word-wrapped label keeps its width and takes its text's height.
    void SetAutoSize(bool on, int maxWidth = QWIDGETSIZE_MAX);
    void SetCaption(const QString& text);
    void SetFontColour(const QColor& colour);
    QColor FontColour() const;
    void SetBold(bool bold, bool underline = false);

signals:
    void pressed(Qt::MouseButton button);
    void clicked();
    void doubleClicked();
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int Flags() const;
    void FitToCaption();

    QString text_;
    QColor colour_; // invalid: the window text colour
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap_ = false;
    bool autoSize_ = false;
    int maxWidth_ = QWIDGETSIZE_MAX;
    bool pressedInside_ = false;
};

// A picture: artwork from an SVG resource, drawn crisply at the screen's scale, or a decoded
// photo; or nothing at all, as a transparent hot spot that reports clicks and moves.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);

    // `band`: the only part of the box ever seen (the rest lies under other controls), so
    // the only part worth rasterising; empty for all of it.
    void SetArtwork(const QString& svgResource, QRect band = {});
    void SetPicture(const QPixmap& picture);
    // A photo centred in the box: at its own size (`full`) when neither switch is on; scaled
    // to fit with its shape kept when both are; only made smaller to fit when only
    // Proportional is; stretched over the box when only Stretch is. `photo` may have been
    // decoded smaller than `full`.
    void SetPhoto(const QPixmap& photo, QSize full, bool stretch, bool proportional);
    void Clear();
    bool HasPicture() const { return !picture_.isNull() || !artwork_.isEmpty(); }
    // A background takes no clicks: a press passes on to what lies beneath (the window's top
    // band, where it starts a drag).
    void SetClickable(bool clickable) { clickable_ = clickable; }

signals:
    void clicked();
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString artwork_; // an SVG resource, drawn through the shared artwork cache
    QRect artworkBand_;
    QImage artworkImage_;
    QPixmap picture_;
    bool photo_ = false;
    QSize photoFull_;
    bool stretch_ = false;
    bool proportional_ = false;
    bool clickable_ = false;
    bool pressedInside_ = false;
};

// A rectangle with a fill and a pen drawn inside its edge.
class ShapeBox : public QWidget
{
public:
    ShapeBox(QWidget* parent, const QColor& fill, const QColor& pen, int penWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_, pen_;
    int penWidth_;
};

} // namespace browser
