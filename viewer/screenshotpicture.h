#pragma once
// Image1 of the screenshot window: a picture drawn at its own size from the top-left corner,
// never scaled, the control taking the size of its picture.

#include <QImage>
#include <QSize>
#include <QWidget>

namespace viewer {

class ScreenshotPicture : public QWidget
{
    Q_OBJECT
public:
    // The control's size while it has no picture: what the window shows when nothing loaded.
    static constexpr QSize kEmptySize{168, 165};

    explicit ScreenshotPicture(QWidget* parent = nullptr);

    // Takes the picture and its size.
    void SetPicture(QImage picture);
    const QImage& Picture() const { return picture_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace viewer
