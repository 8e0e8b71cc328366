// The main window on a small fixture disc, driven through real mouse and key events.

#include "windowfixture.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

using browser::ClickLabel;
using browser::TForm1;
using testsupport::ClickSlot;
using testsupport::TempDisc;
using testsupport::Wheel;

namespace {

// Menu lines "m1" … "m42", sub-item 2 of section 1 left empty to show the chain.
std::string Menu()
{
    std::string menu;
    for (int k = 1; k <= 42; ++k)
        menu += k == 3 ? "\r\n" : "m" + std::to_string(k) + "\r\n";
    return menu;
}

// `n` titles "Title 001" … in category 1, and three in category 2.
void WriteDisc(const TempDisc& disc, int n)
{
    disc.WriteEmptyCatalogue();
    std::string lines;
    for (int i = 1; i <= n; ++i) {
        char title[32];
        std::snprintf(title, sizeof title, "Title %03d", i);
        lines += std::string("1@") + title + "@f" + std::to_string(i) + "@d\n";
    }
    lines += "2@Second A@a\n2@Second B@b\n2@Second C@c\n";
    disc.Write("DB/dbjava.mob", lines);
    disc.Write("DB/Menu.mob", Menu());
}

// A window on a disc of `n` titles in category 1, spoilt as the test likes.
struct Window : testsupport::Window
{
    explicit Window(int items, const std::function<void(const TempDisc&)>& spoil = {})
        : testsupport::Window([&](const TempDisc& d) {
              WriteDisc(d, items);
              if (spoil) spoil(d);
          })
    {
    }
};

} // namespace

class TForm1Test : public QObject
{
    Q_OBJECT
private slots:
    void frameIsFixedBorderlessAt110x105();
    void captionsAfterStartUp();
    void subItemsChainTwentyPixelsApart();
    void firstSlotMarkedAmberBold();
    void keysMoveTheMark_data();
    void keysMoveTheMark();
    void wheelAnywhereMovesTheMark();
    void scrollBarShownOnlyWhenTheListScrolls_data();
    void scrollBarShownOnlyWhenTheListScrolls();
    void scrollBarMovesTheWindowNotTheRow();
    void descriptionBarOnlyForALongDescription();
    void clickOnASlotSelectsIt();
    void clickOnBlankSpaceChangesNothing();
    void longTitleIsCutAt590Pixels();
    void tabGoesNowhere();
    void missingFileShowsTheErrorAndKeepsTheDesignTexts();
    void laterActivationTriesTheLoadAgain();
    void dragByTheTopBandMovesTheWindow();
    void closeHotSpotClosesTheWindow();
};

void TForm1Test::frameIsFixedBorderlessAt110x105()
{
    Window w(5);
    QCOMPARE(w.form->size(), QSize(800, 600));
    QCOMPARE(w.form->minimumSize(), QSize(800, 600));
    QCOMPARE(w.form->maximumSize(), QSize(800, 600));
    QVERIFY(w.form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(w.form->pos(), QPoint(110, 105));
    QCOMPARE(w.c().client->geometry(), QRect(1, 1, 798, 598));
}

void TForm1Test::captionsAfterStartUp()
{
    Window w(5);
    QVERIFY(w.reporter.messages.isEmpty());
    const int lines[] = {1, 7, 13, 19, 25, 31, 37};
    for (int k = 0; k < 7; ++k)
        QCOMPARE(w.c().Menu[k]->text(), QStringLiteral("m%1").arg(lines[k]));
    QCOMPARE(w.c().ppunkt[0]->text(), QStringLiteral("m2"));
    QCOMPARE(w.c().ppunkt[1]->text(), QString());
    QCOMPARE(w.c().ppunkt[2]->text(), QStringLiteral("m4"));
    QCOMPARE(w.c().ppunkt[3]->text(), QStringLiteral("m5"));
    QCOMPARE(w.Slot(1)->text(), QStringLiteral("Title 001"));
    QCOMPARE(w.Slot(5)->text(), QStringLiteral("Title 005"));
    QCOMPARE(w.Slot(6)->text(), QString());
    QCOMPARE(w.Grid()->width(), 0);
    QVERIFY(w.Grid()->hasFocus() || QApplication::focusWidget() == nullptr);
}

void TForm1Test::subItemsChainTwentyPixelsApart()
{
    Window w(5);
    const auto& p = w.c().ppunkt;
    QCOMPARE(p[0]->x(), 192);
    for (int k = 1; k < 4; ++k)
        QCOMPARE(p[k]->x(), p[k - 1]->x() + p[k - 1]->width() + 20);
    // At activation an empty caption keeps the width of one blank.
    QVERIFY(p[1]->width() > 0);
    for (auto* sub : p)
        QCOMPARE(sub->y(), 20);
}

void TForm1Test::firstSlotMarkedAmberBold()
{
    Window w(30);
    QCOMPARE(w.MarkedSlot(), 1);
    QCOMPARE(w.form->SelectedSlot, 1);
    QCOMPARE(w.Grid()->Row(), 0);
    QCOMPARE(w.Grid()->TopRow(), 0);
    for (int k = 2; k <= 25; ++k) {
        QCOMPARE(w.Slot(k)->FontColour(), browser::colours::kSlot);
        QVERIFY(!w.Slot(k)->font().bold());
    }
}

void TForm1Test::keysMoveTheMark_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<QList<int>>("keys"); // key codes; a negative one with Ctrl
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("marked");

    QTest::newRow("down") << 30 << QList<int>{Qt::Key_Down} << 1 << 0 << 2;
    QTest::newRow("up at the top") << 30 << QList<int>{Qt::Key_Up} << 0 << 0 << 1;
    QTest::newRow("page down, 10 items")
        << 10 << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_PageDown} << 9 << 0
        << 10;
    QTest::newRow("page down, 100 items from slot 6")
        << 100 << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                             Qt::Key_Down, Qt::Key_Down, Qt::Key_PageDown}
        << 29 << 24 << 6;
    QTest::newRow("down in slot 25 scrolls")
        << 30 << QList<int>{-Qt::Key_PageDown, Qt::Key_Down} << 25 << 1 << 25;
    QTest::newRow("page down, 30 items, window clamped")
        << 30 << QList<int>{Qt::Key_PageDown} << 24 << 5 << 20;
    QTest::newRow("ctrl down scrolls the row out")
        << 30 << QList<int>{-Qt::Key_Down} << 0 << 1 << 0;
    QTest::newRow("ctrl end") << 100 << QList<int>{-Qt::Key_End} << 99 << 75 << 25;
    QTest::newRow("empty category")
        << 0 << QList<int>{Qt::Key_Down, Qt::Key_PageDown} << 0 << 0 << 1;
}

void TForm1Test::keysMoveTheMark()
{
    QFETCH(int, items);
    QFETCH(QList<int>, keys);
    QFETCH(int, row);
    QFETCH(int, top);
    QFETCH(int, marked);
    Window w(items);
    for (int key : keys)
        w.Key(key < 0 ? -key : key, key < 0 ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(w.Grid()->Row(), row);
    QCOMPARE(w.Grid()->TopRow(), top);
    QCOMPARE(w.MarkedSlot(), marked);
    if (marked) {
        QCOMPARE(w.form->SelectedSlot, marked);
        QCOMPARE(w.Slot(1)->text(),
                 items ? QStringLiteral("Title %1").arg(top + 1, 3, 10, QLatin1Char('0'))
                       : QString());
    }
}

void TForm1Test::wheelAnywhereMovesTheMark()
{
    Window w(30);
    Wheel(w.Slot(10), 2); // over a slot
    QCOMPARE(w.MarkedSlot(), 3);
    Wheel(w.c().Image2, 1); // over the background
    QCOMPARE(w.MarkedSlot(), 4);
    Wheel(w.c().ScrollBox1->viewport(), -1); // over the description box
    QCOMPARE(w.MarkedSlot(), 3);
    Wheel(w.c().Menu[0], -5); // past the first item: nothing more
    QCOMPARE(w.Grid()->Row(), 0);
    QCOMPARE(w.MarkedSlot(), 1);
}

void TForm1Test::scrollBarShownOnlyWhenTheListScrolls_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<bool>("shown");
    for (int n : {0, 10, 25})
        QTest::newRow(qPrintable(QString::number(n))) << n << false;
    for (int n : {26, 100})
        QTest::newRow(qPrintable(QString::number(n))) << n << true;
}

void TForm1Test::scrollBarShownOnlyWhenTheListScrolls()
{
    QFETCH(int, items);
    QFETCH(bool, shown);
    Window w(items);
    QCOMPARE(w.c().bsSkinScrollBar1->isVisible(), shown);
    if (shown) QCOMPARE(w.c().bsSkinScrollBar1->maximum(), items - 25);
}

void TForm1Test::scrollBarMovesTheWindowNotTheRow()
{
    Window w(40);
    w.Key(Qt::Key_Down);
    w.Key(Qt::Key_Down); // row 2, slot 3
    QScrollBar* bar = w.c().bsSkinScrollBar1;
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(w.Grid()->TopRow(), 1);
    QCOMPARE(w.Grid()->Row(), 2);
    QCOMPARE(w.MarkedSlot(), 2); // the mark follows its item
    QCOMPARE(w.form->SelectedSlot, 2);
    bar->setValue(10); // the row leaves the window: no mark
    QCOMPARE(w.Grid()->Row(), 2);
    QCOMPARE(w.MarkedSlot(), 0);
    QCOMPARE(w.Slot(1)->text(), QStringLiteral("Title 011"));
    bar->setValue(0); // and comes back
    QCOMPARE(w.MarkedSlot(), 3);
}

void TForm1Test::descriptionBarOnlyForALongDescription()
{
    std::string longText;
    for (int k = 0; k < 60; ++k)
        longText += "Описание игры, строка за строкой. ";
    Window w(0, [&](const TempDisc& d) {
        d.Write("DB/dbjava.mob", "1@Short@s@A line.\n1@Wordy@w@" + longText + "\n");
    });
    QScrollBar* bar = w.c().bsSkinScrollBar2;
    QScrollBar* box = w.c().ScrollBox1->verticalScrollBar();
    QVERIFY(!bar->isVisible());
    w.Key(Qt::Key_Down);
    QVERIFY(bar->isVisible());
    QVERIFY(bar->styleSheet().contains(QLatin1String("QScrollBar"))); // skinned as it shows
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    QCOMPARE(box->value(), bar->maximum());
    w.Key(Qt::Key_Up);
    QVERIFY(!bar->isVisible());
    QCOMPARE(box->value(), 0);
}

void TForm1Test::clickOnASlotSelectsIt()
{
    Window w(30);
    ClickSlot(w.Slot(7));
    QCOMPARE(w.MarkedSlot(), 7);
    QCOMPARE(w.form->SelectedSlot, 7);
    QCOMPARE(w.Grid()->Row(), 6);
}

void TForm1Test::clickOnBlankSpaceChangesNothing()
{
    Window w(3);
    ClickSlot(w.Slot(2));
    ClickSlot(w.Slot(10));
    QVERIFY(w.reporter.messages.isEmpty());
    QCOMPARE(w.MarkedSlot(), 2);
    QCOMPARE(w.form->SelectedSlot, 2);
    QCOMPARE(w.Grid()->Row(), 1);
}

void TForm1Test::longTitleIsCutAt590Pixels()
{
    Window w(1, [](const TempDisc& d) {
        d.Write("DB/dbjava.mob", "1@" + std::string(300, 'W') + "@f\n1@Short@g\n");
    });
    QCOMPARE(w.Slot(2)->width(), 590);
    QVERIFY(w.Slot(1)->width() < 590);
}

void TForm1Test::tabGoesNowhere()
{
    Window w(30);
    w.Grid()->setFocus();
    QTest::keyClick(w.form.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Grid()));
}

void TForm1Test::missingFileShowsTheErrorAndKeepsTheDesignTexts()
{
    for (const char* missing : {"DB/dbsoft.mob", "DB/Menu.mob"}) {
        Window w(5, [missing](const TempDisc& d) { d.Remove(missing); });
        QCOMPARE(w.reporter.messages, QStringList{QStringLiteral("File not found")});
        QCOMPARE(platform::WithFullStop(w.reporter.messages.value(0)),
                 QStringLiteral("File not found."));
        for (int k = 0; k < 7; ++k)
            QCOMPARE(w.c().Menu[k]->text(), QStringLiteral("Menu%1").arg(k + 1));
        for (int k = 0; k < 4; ++k)
            QCOMPARE(w.c().ppunkt[k]->text(), QStringLiteral("ppunkt%1").arg(k + 1));
        for (int k = 1; k <= 25; ++k)
            QCOMPARE(w.Slot(k)->text(), QStringLiteral("Label1"));
    }
}

void TForm1Test::laterActivationTriesTheLoadAgain()
{
    Window w(5, [](const TempDisc& d) { d.Remove("DB/dbArticles.mob"); });
    QCOMPARE(w.reporter.messages.size(), 1);
    w.disc.Write("DB/dbArticles.mob", "");
    // The focus coming back from another window of the program runs the activation again;
    // from a window that is not one (the error box) it does not.
    QWidget plain;
    plain.show();
    plain.activateWindow();
    QTRY_VERIFY(QGuiApplication::focusWindow() == plain.windowHandle());
    w.form->activateWindow();
    QTRY_VERIFY(QGuiApplication::focusWindow() == w.form->windowHandle());
    QCOMPARE(w.c().Menu[0]->text(), QStringLiteral("Menu1"));

    // The screenshot window is released when it closes, before the focus comes back.
    auto* screenshot = new QWidget;
    screenshot->setProperty(platform::kReturnActivatesProperty, true);
    screenshot->show();
    screenshot->activateWindow();
    QTRY_VERIFY(QGuiApplication::focusWindow() == screenshot->windowHandle());
    screenshot->close();
    delete screenshot;
    QCoreApplication::processEvents();
    w.form->activateWindow();
    QTRY_COMPARE(w.c().Menu[0]->text(), QStringLiteral("m1"));
    QCOMPARE(w.Slot(1)->text(), QStringLiteral("Title 001"));
    QCOMPARE(w.reporter.messages.size(), 1);
}

void TForm1Test::dragByTheTopBandMovesTheWindow()
{
    Window w(5);
    QWidget* client = w.c().client;
    const QPoint start(300, 50);
    QTest::mousePress(client, Qt::LeftButton, Qt::NoModifier, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(40, 30)),
                     client->mapToGlobal(QPointF(start + QPoint(40, 30))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(client, &move);
    QTest::mouseRelease(client, Qt::LeftButton, Qt::NoModifier, start + QPoint(40, 30));
    QCOMPARE(w.form->pos(), QPoint(150, 135));

    // A press on the working area moves nothing.
    QTest::mousePress(w.c().Image2, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    QTest::mouseRelease(w.c().Image2, Qt::LeftButton, Qt::NoModifier, QPoint(350, 350));
    QCOMPARE(w.form->pos(), QPoint(150, 135));
}

void TForm1Test::closeHotSpotClosesTheWindow()
{
    Window w(5);
    QTest::mouseClick(w.c().Image5, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(!w.form->isVisible());
}

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
