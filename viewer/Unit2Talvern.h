#pragma once
// TForm2: the screenshot window, which shows an item's full-size picture at its own size.

#include <QWidget>

namespace viewer {

class TForm2 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

} // namespace viewer
