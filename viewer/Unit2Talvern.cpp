#include "Unit2Talvern.h"

namespace viewer {

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Screenshot"));
    // Closing it hands the focus back to the main window, which then runs its activation.
    setProperty("discbrowserReturnActivates", true);
    resize(168, 165);
}

} // namespace viewer
