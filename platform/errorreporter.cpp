#include "errorreporter.h"

#include <QFileInfo>
#include <QMessageBox>

namespace platform {

MessageBoxReporter::MessageBoxReporter(QString title, QWidget* parent)
    : title_(std::move(title)), parent_(parent)
{
}

void MessageBoxReporter::Report(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, title_, WithFullStop(message), QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

QString WithFullStop(const QString& message)
{
    if (message.isEmpty()) return message;
    return message.back() > QLatin1Char('.') ? message + QLatin1Char('.') : message;
}

QString ApplicationTitle(const QString& programPath)
{
    const QString file = QFileInfo(programPath).fileName();
    const QString name = file.left(
        file.indexOf(QLatin1Char('.')) < 0 ? file.size() : file.indexOf(QLatin1Char('.')));
    if (name.isEmpty()) return name;
    return name.left(1) + name.mid(1).toLower();
}

} // namespace platform
