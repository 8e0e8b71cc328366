// The screenshot window on the offscreen platform, shown modally as the main window shows it.

#include "Unit2Talvern.h"
#include "desktop.h"
#include "errorreporter.h"
#include "jpegwriter.h"
#include "screenshotpicture.h"
#include "tempdisc.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

using viewer::TForm2;
namespace fs = std::filesystem;

namespace {

const fs::path kData = TEST_DATA_DIR;

class RecordingReporter : public platform::ErrorReporter
{
public:
    void Report(const QString& message) override { messages << message; }
    QStringList messages;
};

// Reports as the message box does: a modal window of its own takes the focus, and gives it
// back when it closes. Past a few reports it stops showing anything, so that a window that
// reports in a loop fails the test instead of hanging it.
class FocusTakingReporter : public platform::ErrorReporter
{
public:
    void Report(const QString& message) override
    {
        messages << message;
        if (messages.size() > 3) return;
        QDialog box;
        box.setWindowTitle(message);
        QWidget* const before = QApplication::activeWindow();
        QMetaObject::invokeMethod(
            &box,
            [&box] {
                if (!QTest::qWaitForWindowActive(&box)) qWarning("the box was never activated");
                box.accept();
            },
            Qt::QueuedConnection);
        box.exec();
        // What the window manager does once the box has gone; the offscreen platform does not.
        if (before) before->activateWindow();
    }
    QStringList messages;
};

// Writes a picture of that size: solid grey, with a red pixel in the top-left corner and a
// blue one in the bottom-right corner, so that scaling or cropping shows.
fs::path WritePicture(const testsupport::TempDisc& disc, const char* name, QSize size)
{
    demo::RgbImage image(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.Set(x, y, 128, 128, 128);
    const fs::path path = disc.Root() / name;
    demo::WriteBytes(path, demo::EncodeJpeg(image));
    return path;
}

// Runs the window modally; `whileShown` runs once the window is active (its first activation
// done), then the window is closed by its close command, as the user closes it.
void RunModal(TForm2& form, const std::function<void(TForm2&)>& whileShown)
{
    QMetaObject::invokeMethod(
        &form,
        [&form, whileShown] {
            if (QTest::qWaitForWindowActive(&form))
                whileShown(form);
            else
                QTest::qFail("the window was never activated", __FILE__, __LINE__);
            form.close();
        },
        Qt::QueuedConnection);
    form.ShowModal();
}

void DeleteLaterNow()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QSize ClientSize(const QWidget& w)
{
    return w.geometry().size();
}

} // namespace

class TForm2Test : public QObject
{
    Q_OBJECT

private slots:
    void ShowsThePictureAtItsOwnSize_data();
    void ShowsThePictureAtItsOwnSize();
    void ShrunkByTheUserItScrolls();
    void LargerThanTheScreenScrolls_data();
    void LargerThanTheScreenScrolls();
    void AFailedLoadIsReportedAndLeavesTheEmptySize_data();
    void AFailedLoadIsReportedAndLeavesTheEmptySize();
    void TheErrorBoxGivingBackTheFocusReportsNoMore();
    void EachActivationLoadsFromTheSource();
    void ReleasedWithItsPictureOnceClosed_data();
    void ReleasedWithItsPictureOnceClosed();
    void TheStartUpWindowLoadsNothing();
};

void TForm2Test::ShowsThePictureAtItsOwnSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("640x480") << QSize(640, 480);
    QTest::newRow("smaller than the empty window") << QSize(40, 24);
    QTest::newRow("one pixel high") << QSize(300, 1);
}

void TForm2Test::ShowsThePictureAtItsOwnSize()
{
    QFETCH(QSize, size);
    testsupport::TempDisc disc;
    const fs::path file = WritePicture(disc, "foto.jpg", size);
    RecordingReporter reporter;
    TForm2 form([&] { return std::optional(file); }, reporter);
    // Wherever the previous window was left, a new one opens at the corner.
    form.move(300, 200);
    RunModal(form, [&](TForm2& f) {
        QCOMPARE(f.windowTitle(), QStringLiteral("Screenshot"));
        QCOMPARE(f.objectName(), QStringLiteral("Form2"));
        QCOMPARE(f.property(platform::kReturnActivatesProperty).toBool(), true);
        QCOMPARE(QApplication::activeModalWidget(), &f);
        QCOMPARE(f.windowModality(), Qt::ApplicationModal);
        QCOMPARE(f.frameGeometry().topLeft(), QPoint(0, 0));
        QCOMPARE(ClientSize(f), size);
        QCOMPARE(f.Picture().size(), size);
        QCOMPARE(f.Image1()->geometry(), QRect(QPoint(0, 0), size));
        QCOMPARE(f.ScrollArea()->viewport()->size(), size);
        QVERIFY(!f.ScrollArea()->horizontalScrollBar()->isVisible());
        QVERIFY(!f.ScrollArea()->verticalScrollBar()->isVisible());
        // Drawn as it is: what the window shows is the picture, pixel for pixel.
        const QImage shown = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), size);
        QCOMPARE(shown, f.Picture());
    });
    QVERIFY(reporter.messages.isEmpty());
}

void TForm2Test::ShrunkByTheUserItScrolls()
{
    testsupport::TempDisc disc;
    const fs::path file = WritePicture(disc, "foto.jpg", {400, 300});
    RecordingReporter reporter;
    TForm2 form([&] { return std::optional(file); }, reporter);
    RunModal(form, [&](TForm2& f) {
        auto* h = f.ScrollArea()->horizontalScrollBar();
        auto* v = f.ScrollArea()->verticalScrollBar();
        f.resize(200, 150);
        QTRY_VERIFY(h->isVisible() && v->isVisible());
        QCOMPARE(f.Image1()->size(), QSize(400, 300)); // still at its own size
        // Back at the picture's size, the bars go: they must not keep taking room.
        f.resize(400, 300);
        QTRY_COMPARE(f.ScrollArea()->viewport()->size(), QSize(400, 300));
        QVERIFY(!h->isVisible() && !v->isVisible());
    });
}

void TForm2Test::LargerThanTheScreenScrolls_data()
{
    // Relative to the client area that the screen leaves; the scroll bars' extent is `bar`.
    QTest::addColumn<QSize>("over");  // added to the room
    QTest::addColumn<bool>("across"); // a horizontal scroll bar is wanted
    QTest::addColumn<bool>("down");
    QTest::newRow("both ways") << QSize(700, 500) << true << true;
    QTest::newRow("too wide") << QSize(300, -300) << true << false;
    QTest::newRow("too high") << QSize(-300, 300) << false << true;
    // Fits across, but not once the vertical bar takes its room.
    QTest::newRow("too high, nearly too wide") << QSize(-2, 300) << true << true;
    QTest::newRow("too wide, nearly too high") << QSize(300, -2) << true << true;
}

void TForm2Test::LargerThanTheScreenScrolls()
{
    QFETCH(QSize, over);
    QFETCH(bool, across);
    QFETCH(bool, down);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    testsupport::TempDisc disc;
    RecordingReporter reporter;
    // It opens on a picture that fits, and the large one comes at a later activation: the
    // frame that the screen's room is measured without is known only once the window shows.
    std::optional<fs::path> file = WritePicture(disc, "small.jpg", {64, 48});
    QSize size;
    TForm2 form([&] { return file; }, reporter);
    RunModal(form, [&](TForm2& f) {
        const QMargins frame = f.windowHandle()->frameMargins();
        const QSize room = available.size().shrunkBy(frame);
        size = room + over;
        file = WritePicture(disc, "foto.jpg", size);
        QCOMPARE(ClientSize(f), QSize(64, 48));
        f.FormActivate(); // as a later activation does

        QVERIFY(available.contains(f.frameGeometry()));
        QCOMPARE(f.Picture().size(), size);
        QCOMPARE(f.Image1()->size(), size);
        auto* h = f.ScrollArea()->horizontalScrollBar();
        auto* v = f.ScrollArea()->verticalScrollBar();
        QCOMPARE(h->isVisible(), across);
        QCOMPARE(v->isVisible(), down);
        const QSize viewport = f.ScrollArea()->viewport()->size();
        // The window uses no more room than it needs on a side that fits.
        if (!across) QCOMPARE(ClientSize(f).width(), size.width() + v->sizeHint().width());
        if (!down) QCOMPARE(ClientSize(f).height(), size.height() + h->sizeHint().height());
        if (across) QCOMPARE(ClientSize(f).width(), room.width());
        if (down) QCOMPARE(ClientSize(f).height(), room.height());
        // Scrolled to the far corner, the picture's last pixels show, still at its own size.
        QCOMPARE(h->maximum(), std::max(0, size.width() - viewport.width()));
        QCOMPARE(v->maximum(), std::max(0, size.height() - viewport.height()));
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        QCOMPARE(f.Image1()->pos(), QPoint(-h->maximum(), -v->maximum()));
    });
    QVERIFY(!size.isEmpty());
    QVERIFY(reporter.messages.isEmpty());
}

void TForm2Test::AFailedLoadIsReportedAndLeavesTheEmptySize_data()
{
    QTest::addColumn<QString>("name"); // in tests/data; empty: the source has no file
    QTest::newRow("truncated") << QStringLiteral("truncated.jpg");
    QTest::newRow("not a picture") << QStringLiteral("not-a-jpeg.jpg");
    QTest::newRow("too large") << QStringLiteral("60000x60000-header.jpg");
    QTest::newRow("gone from the folder") << QStringLiteral("no-such-file.jpg");
    QTest::newRow("gone from the disc") << QString();
}

void TForm2Test::AFailedLoadIsReportedAndLeavesTheEmptySize()
{
    QFETCH(QString, name);
    RecordingReporter reporter;
    TForm2 form(
        [&]() -> std::optional<fs::path> {
            if (name.isEmpty()) return std::nullopt;
            return kData / name.toStdString();
        },
        reporter);
    RunModal(form, [&](TForm2& f) {
        QCOMPARE(reporter.messages.size(), 1);
        QVERIFY(!reporter.messages.front().isEmpty());
        QVERIFY(f.isVisible());
        QVERIFY(f.Picture().isNull());
        QCOMPARE(ClientSize(f), QSize(168, 165));
        QCOMPARE(f.frameGeometry().topLeft(), QPoint(0, 0));
    });
    QCOMPARE(reporter.messages.size(), 1);
}

void TForm2Test::TheErrorBoxGivingBackTheFocusReportsNoMore()
{
    FocusTakingReporter reporter;
    int loads = 0;
    TForm2 form(
        [&] {
            ++loads;
            return std::optional(kData / "truncated.jpg");
        },
        reporter);
    QWidget other(&form, Qt::Window); // a window that may take the focus under the modal one
    RunModal(form, [&](TForm2& f) {
        // Back from the box, the window settles active with the one report.
        QTRY_COMPARE(QApplication::activeWindow(), &f);
        QCoreApplication::processEvents();
        QCOMPARE(reporter.messages.size(), 1);
        QCOMPARE(loads, 1);

        // Leaving the window and coming back is a new activation: it loads and reports again.
        other.show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        f.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &f);
        QCoreApplication::processEvents();
        QCOMPARE(loads, 2);
        QCOMPARE(reporter.messages.size(), 2);
    });
}

void TForm2Test::EachActivationLoadsFromTheSource()
{
    testsupport::TempDisc disc;
    const fs::path first = WritePicture(disc, "first.jpg", {200, 100});
    const fs::path second = WritePicture(disc, "second.jpg", {120, 300});
    RecordingReporter reporter;
    std::vector<fs::path> asked;
    std::optional<fs::path> current = first;
    TForm2 form(
        [&] {
            asked.push_back(*current);
            return current;
        },
        reporter);
    QVERIFY(asked.empty()); // making the window loads nothing
    QWidget other(&form, Qt::Window);
    RunModal(form, [&](TForm2& f) {
        QCOMPARE(asked.size(), std::size_t{1});
        QCOMPARE(ClientSize(f), QSize(200, 100));

        current = second;
        other.show();
        other.activateWindow();
        // Not qWaitForWindowActive: a window counts as active while a window it owns is.
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        QCOMPARE(asked.size(), std::size_t{1}); // losing the focus loads nothing
        f.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &f);
        QCOMPARE(asked.size(), std::size_t{2});
        QCOMPARE(asked.back(), second);
        QCOMPARE(ClientSize(f), QSize(120, 300));
        QCOMPARE(f.Picture().size(), QSize(120, 300));
        // Resizing never moves the window.
        QCOMPARE(f.frameGeometry().topLeft(), QPoint(0, 0));
    });
    QVERIFY(reporter.messages.isEmpty());
}

void TForm2Test::ReleasedWithItsPictureOnceClosed_data()
{
    QTest::addColumn<bool>("callerDeletes");
    QTest::newRow("the window deletes itself") << false;
    QTest::newRow("the caller deletes it at once") << true;
}

void TForm2Test::ReleasedWithItsPictureOnceClosed()
{
    QFETCH(bool, callerDeletes);
    testsupport::TempDisc disc;
    const fs::path file = WritePicture(disc, "foto.jpg", {64, 48});
    RecordingReporter reporter;
    QWidget mainWindow; // what the real one is: the screenshot window's parent
    auto owned =
        std::make_unique<TForm2>([&] { return std::optional(file); }, reporter, &mainWindow);
    QPointer<TForm2> form = owned.get();
    QImage picture;
    RunModal(*form, [&](TForm2& f) { picture = f.Picture(); });
    QVERIFY(!picture.isNull());
    QVERIFY(!picture.isDetached()); // shared with the window
    // Back from the modal run, the window is hidden and no longer modal.
    QVERIFY(form);
    QVERIFY(!form->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    if (callerDeletes)
        owned.reset();
    else
        (void)owned.release(); // left to the window itself, as a caller with a QPointer does
    DeleteLaterNow();
    QVERIFY(form.isNull());
    QVERIFY(mainWindow.findChildren<TForm2*>().isEmpty());
    QVERIFY(picture.isDetached()); // the window's share of the picture went with it
}

void TForm2Test::TheStartUpWindowLoadsNothing()
{
    TForm2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(form.Picture().isNull());
    QCOMPARE(ClientSize(form), QSize(168, 165));
}

QTEST_MAIN(TForm2Test)
#include "tform2_test.moc"
