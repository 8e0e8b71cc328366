#pragma once
// The one place where the program tells the user that something failed: on the desktop a
// message box with an error icon and an OK button; in tests, whatever records the messages.

#include <QString>

class QWidget;

namespace platform {

class ErrorReporter
{
public:
    virtual ~ErrorReporter() = default;
    virtual void Report(const QString& message) = 0;
};

// The message box, titled with the application title, modal over `parent`.
class MessageBoxReporter : public ErrorReporter
{
public:
    MessageBoxReporter(QString title, QWidget* parent = nullptr);
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Report(const QString& message) override;

private:
    QString title_;
    QWidget* parent_;
};

// The message as the box shows it: a full stop is added when the last character sorts after
// the full stop, as a letter or a digit does ("File not found" becomes "File not found.").
QString WithFullStop(const QString& message);

// The program file's name up to its first full stop, every letter after the first in lower
// case: "/media/cdrom/AUTORUN.EXE" gives "Autorun".
QString ApplicationTitle(const QString& programPath);

} // namespace platform
