#include "foundation/ErrorGuard.h"

#include "foundation/Exceptions.h"

#include <QMessageBox>
#include <QPointer>

namespace {

const QString UnknownExceptionText = QStringLiteral("Okänt fel");

} // namespace

QString UnhandledMessageText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowException(const QString &message)
{
    const QString text = UnhandledMessageText(message);
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        qCritical("%s", qUtf8Printable(text));
        return;
    }
    // On the heap under the active window, which may be destroyed while the
    // box is open.
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Critical, ApplicationTitle, text, QMessageBox::Ok,
                                                QApplication::activeWindow());
    box->setTextFormat(Qt::PlainText);
    box->exec();
    delete box.data();
}

void ShowException(std::exception_ptr error) noexcept
{
    if (!error)
        return;
    try {
        try {
            std::rethrow_exception(error);
        } catch (const EAbort &) {
            // The operation has already told the user what was wrong.
        } catch (const EException &e) {
            ShowException(e.Message());
        } catch (const std::exception &e) {
            ShowException(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            ShowException(UnknownExceptionText);
        }
    } catch (...) {
        // Showing the box failed as well (out of memory); there is nothing
        // left that could tell the user.
    }
}

TCorvaleApplication::TCorvaleApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TCorvaleApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
