#pragma once
// TForm2: the screenshot window, which shows an item's full-size picture at its own size.

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

class QEventLoop;
class QImage;
class QScrollArea;

namespace platform {
class ErrorReporter;
}

namespace viewer {

class ScreenshotPicture;

class TForm2 : public QWidget
{
    Q_OBJECT
public:
    // The full-size picture file as it stands when the window is activated; nothing when it
    // is not on the disc (any more).
    using PictureSource = std::function<std::optional<std::filesystem::path>()>;

    // A window that loads from `source` at each activation and tells `reporter` when it cannot.
    TForm2(PictureSource source, platform::ErrorReporter& reporter, QWidget* parent = nullptr);
    // The window made at start-up, which nothing shows: it has nothing to load.
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Shows the window application-modal with its frame at the screen's top-left corner and
    // returns once it is closed. The window has then scheduled its own deletion (deleteLater),
    // so that neither it nor its picture outlives the click that opened it: keep it in a
    // QPointer, or delete it at once.
    void ShowModal();

    // Loads the picture from the source and fits the window to it. Runs at each activation;
    // a load that fails keeps the previous picture (none, in a new window) and is reported.
    void FormActivate();

    const QImage& Picture() const;
    ScreenshotPicture* Image1() const { return image1_; }
    QScrollArea* ScrollArea() const { return scroll_; }

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Fits the client area to a picture of that size, or to the screen's room when larger.
    void FitTo(QSize picture);
    void Resize(QSize client);
    void Report(const QString& message);

    PictureSource source_;
    platform::ErrorReporter* reporter_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    ScreenshotPicture* image1_ = nullptr;
    QEventLoop* modalLoop_ = nullptr;
    bool reporting_ = false;
    bool returnFromReport_ = false;
};

} // namespace viewer
