#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

// Lets a test answer the modal dialogs that the code under test opens. While
// the watcher lives, every modal window that is shown is handed to the action
// from inside its own event loop, once it is up. Whatever the action leaves
// open is closed afterwards (a QDialog with result 0), so a test that fails
// to answer a dialog fails instead of hanging.
//
// The action runs once the window is active, so that keyboard shortcuts reach
// it as they would on a desktop. Let it record what it sees and press keys or
// buttons; compare the records after the call under test has returned.
class TModalWatcher : public QObject
{
public:
    using TAction = std::function<void(QWidget *)>;

    explicit TModalWatcher(TAction action = {}) : m_action(std::move(action))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TModalWatcher() override { QCoreApplication::instance()->removeEventFilter(this); }

    int Shown() const { return m_shown; }       // modal windows shown so far
    int LeftOpen() const { return m_leftOpen; } // of them, closed by the watcher

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow() && widget->isModal()) {
                ++m_shown;
                QPointer<QWidget> target(widget);
                QTimer::singleShot(0, this, [this, target] { Answer(target); });
            }
        }
        return false;
    }

private:
    void Answer(QPointer<QWidget> target)
    {
        if (target && !target->isActiveWindow() && !QTest::qWaitForWindowActive(target, 2000))
            qWarning("TModalWatcher: %s did not become active", qPrintable(target->objectName()));
        if (target && m_action)
            m_action(target);
        if (target && target->isVisible()) {
            ++m_leftOpen;
            if (auto *dialog = qobject_cast<QDialog *>(target.data()))
                dialog->done(0);
            else
                target->close();
        }
    }

    TAction m_action;
    int m_shown = 0;
    int m_leftOpen = 0;
};
