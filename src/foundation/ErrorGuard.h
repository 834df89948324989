#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <utility>

// The caption of the box that shows an exception nobody handled.
inline const QString ApplicationTitle = QStringLiteral("Ternvall");

// The text the box shows for an exception message: the message with a full
// stop appended when its last character sorts above the full stop, so an id
// such as "Courses 05" reads "Courses 05." while "Klart!" stays as it is.
QString UnhandledMessageText(const QString &message);

// Shows the box for an unhandled exception: caption ApplicationTitle, stop
// icon, one OK button, the text made by UnhandledMessageText. Returns when the
// user has closed it. Without a QApplication the text goes to the log instead.
void ShowException(const QString &message);

// Shows a caught exception the way the guard does: EAbort shows nothing, any
// other exception of the program's tree shows its message, a standard
// exception its what(), anything else a generic text. Never throws.
void ShowException(std::exception_ptr error) noexcept;

// The one guard every slot, event override and lambda handed to Qt runs its
// body through, since no exception may cross into Qt's event delivery. Runs
// the body; an exception ends it and is shown by ShowException (the silent
// abort not at all); then the program goes on with the next event.
template <class F>
void Guard(F &&body) noexcept
{
    try {
        std::forward<F>(body)();
    } catch (...) {
        ShowException(std::current_exception());
    }
}

// The application object of the process. Its notify runs every event's
// delivery through the guard, as a backstop for a handler that forgot its own
// guard: the exception is shown instead of ending the program. Qt's own
// bookkeeping around the failed delivery is not unwound, so handlers still
// use Guard themselves.
class TCorvaleApplication : public QApplication
{
    Q_OBJECT

public:
    TCorvaleApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
