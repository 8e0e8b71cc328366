// minimalwindow: the least a Qt Widgets program does to show an 800 by 600 window, placed and
// framed as discbrowser's is. Its start-up is the yardstick for discbrowser's in startup.sh.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(800, 600);
    window.move(110, 105);
    window.show();
    return app.exec();
}
