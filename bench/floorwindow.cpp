// floorwindow: the empty window of minimalwindow plus what no build of discbrowser's main
// window can leave out: the skin's style-sheet scroll bar (with its pictures, their plugins
// loaded on a second thread as discbrowser does) and one screen of text in the window's fonts,
// as many lines and letters as the demo disc shows. startup.sh times it beside the two others,
// so that the distance between it and discbrowser is what the rest of the window costs.

#include "artwork.h"
#include "fontconfiguration.h"
#include "mainlayout.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>

namespace {

class Texts : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        // Titles of two or three words from the pangrams: every letter of both alphabets.
        const QStringList words =
            QStringLiteral("Съешь же ещё этих мягких французских булок да выпей чаю The quick "
                           "brown fox jumps over the lazy dog")
                .split(QLatin1Char(' '));
        p.setFont(browser::WindowFont(13));
        for (int k = 0; k < 25; ++k) {
            const QString title = words.mid((k * 2) % (words.size() - 2), 2 + k % 2).join(' ');
            p.drawText(QRect(192, 156 + 17 * k, 590, 16), 0, title);
        }
        p.setFont(browser::WindowFont(16, true));
        for (int k = 0; k < 7; ++k)
            p.drawText(QRect(35, 158 + 32 * k, 150, 20), 0,
                       QStringLiteral("Раздел %1 MIDI").arg(k + 1));
        p.setFont(browser::WindowFont(13, true));
        p.drawText(QRect(192, 130, 600, 16), 0,
                   QStringLiteral("Игры   Приложения   Сборники   Сборники подробно"));
        p.setFont(browser::WindowFont(11));
        p.drawText(QRect(498, 390, 267, 60), Qt::TextWordWrap,
                   QStringLiteral("Симулятор для болельщиков. Таблица рекордов на телефоне. "
                                  "Экран 240x320, MIDP 2.0, размер 274 КБ."));
    }
};

} // namespace

int main(int argc, char** argv)
{
    platform::UseOwnFontConfiguration();
    QApplication app(argc, argv);
    browser::artwork::LoadImagePluginsAhead();
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(800, 600);
    window.move(110, 105);
    auto* texts = new Texts(&window);
    texts->setGeometry(window.rect());
    auto* bar = new QScrollBar(Qt::Vertical, &window);
    bar->setGeometry(465, 155, 15, 432);
    bar->setRange(0, 95);
    bar->setPageStep(1);
    QFile skin(QStringLiteral(":/resources/scrollbar.qss"));
    if (skin.open(QIODevice::ReadOnly)) bar->setStyleSheet(QString::fromUtf8(skin.readAll()));
    window.show();
    return app.exec();
}
