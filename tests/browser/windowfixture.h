#pragma once
// The main window on a disc written by the test, with the desktop replaced by recorders.

#include "Unit1Talvern.h"
#include "catalogue.h"
#include "desktop.h"
#include "errorreporter.h"
#include "listgridwidget.h"
#include "tempdisc.h"
#include "widgets.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <memory>

namespace testsupport {

using browser::ClickLabel;
using browser::TForm1;

class RecordingReporter : public platform::ErrorReporter
{
public:
    void Report(const QString& message) override { messages << message; }
    QStringList messages;
};

// What the window asked the desktop to open.
class RecordingOpener : public platform::Opener
{
public:
    void OpenPath(const std::filesystem::path& absolute) override
    {
        opened << QString::fromStdString(absolute.string());
    }
    void OpenUrl(const QString& url) override { opened << url; }
    QStringList opened;
};

struct Window
{
    TempDisc disc;
    RecordingReporter reporter;
    RecordingOpener opener;
    std::unique_ptr<TForm1> form;

    explicit Window(const std::function<void(const TempDisc&)>& write)
    {
        write(disc);
        form = std::make_unique<TForm1>(disc.Root(), reporter, opener);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    const browser::MainControls& c() const { return form->Controls(); }
    ClickLabel* Slot(int k) const { return c().Label[k - 1]; }
    browser::ListGridWidget* Grid() const { return c().bsSkinStringGrid1; }
    // The one slot carrying the amber bold mark, or 0.
    int MarkedSlot() const
    {
        int marked = 0;
        for (int k = 1; k <= 25; ++k)
            if (Slot(k)->FontColour() == browser::colours::kAmber && Slot(k)->font().bold()) {
                if (marked) return -1;
                marked = k;
            }
        return marked;
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QTest::keyClick(Grid(), static_cast<Qt::Key>(key), mods);
    }
};

inline void ClickSlot(ClickLabel* slot)
{
    QTest::mouseClick(slot, Qt::LeftButton, Qt::NoModifier, QPoint(2, 5));
}

inline void Wheel(QWidget* over, int notchesTowardsUser)
{
    const QPoint at(over->width() / 2, over->height() / 2);
    QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, -120 * notchesTowardsUser),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &event);
}

} // namespace testsupport
