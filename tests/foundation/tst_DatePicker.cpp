// The date field, driven with real key events: typing into an empty field
// and over a date, dates that do not exist or are not finished, clearing,
// Escape, the calendar and the program's own setters.

#include "foundation/DatePicker.h"
#include "foundation/Exceptions.h"

#include "support/ModalWatcher.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace
{
// A shown, active window with the date field and a plain edit after it in
// the tab order; the boxes the field shows are recorded and answered.
class TDateWindow
{
public:
    TDateWindow() : m_watcher([this](QWidget *window) { Answer(window); })
    {
        auto *layout = new QVBoxLayout(&m_window);
        m_picker = new TDatePicker(QStringLiteral("wwdtpDate"), &m_window);
        m_other = new QLineEdit(&m_window);
        m_other->setObjectName(QStringLiteral("edtOther"));
        layout->addWidget(m_picker);
        layout->addWidget(m_other);
        m_window.show();
        m_window.activateWindow();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_active; }
    TDatePicker *Picker() { return m_picker; }
    QLineEdit *Other() { return m_other; }
    QString FocusName() const { return m_window.focusWidget() ? m_window.focusWidget()->objectName() : QString(); }
    // After a box the offscreen platform leaves the window inactive; the
    // user clicks into it again.
    bool Reactivated()
    {
        m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }

    // Into the field with Shift+Tab from the control after it: the whole
    // text is selected.
    void Enter()
    {
        m_other->setFocus();
        QTest::keyClick(m_other, Qt::Key_Tab, Qt::ShiftModifier);
    }
    void Leave() { QTest::keyClick(m_picker, Qt::Key_Tab); }

    QStringList messages;

private:
    void Answer(QWidget *window)
    {
        if (window->objectName() != QLatin1String("frmMessage"))
            return;
        messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
        window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    }

    TModalWatcher m_watcher;
    QWidget m_window;
    TDatePicker *m_picker = nullptr;
    QLineEdit *m_other = nullptr;
    bool m_active = false;
};

QString isoDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
}

class tst_DatePicker : public QObject
{
    Q_OBJECT

private slots:
    // What the user types stands as typed; what is no date is refused with
    // its own text named, and the focus stays with it.
    void typing_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("dateChanges");
        const QString impossible = QStringLiteral(" är inget giltigt datum");
        const QString shape = QStringLiteral(" är inget giltigt datum. Skriv datumet som åååå-mm-dd.");
        QTest::newRow("into an empty field") << "" << "2025-03-15" << "2025-03-15" << "2025-03-15" << "" << 1;
        QTest::newRow("second date of the search") << "" << "2025-06-30" << "2025-06-30" << "2025-06-30" << "" << 1;
        QTest::newRow("over a date") << "2024-12-24" << "2025-06-30" << "2025-06-30" << "2025-06-30" << "" << 2;
        QTest::newRow("over the same date") << "2025-06-30" << "2025-06-30" << "2025-06-30" << "2025-06-30" << "" << 2;
        QTest::newRow("leap day") << "" << "2024-02-29" << "2024-02-29" << "2024-02-29" << "" << 1;
        QTest::newRow("without dashes") << "" << "20250315" << "2025-03-15" << "2025-03-15" << "" << 1;
        QTest::newRow("letters and blanks refused") << "" << "2025 -0a3-1x5" << "2025-03-15" << "2025-03-15" << "" << 1;
        QTest::newRow("no eleventh character") << "" << "2025-03-155" << "2025-03-15" << "2025-03-15" << "" << 1;
        QTest::newRow("february 30") << "" << "2026-02-30" << "2026-02-30" << "" << "2026-02-30" + impossible << 0;
        QTest::newRow("february 29, no leap year") << "" << "2025-02-29" << "2025-02-29" << "" << "2025-02-29" + impossible << 0;
        QTest::newRow("april 31") << "" << "2026-04-31" << "2026-04-31" << "" << "2026-04-31" + impossible << 0;
        QTest::newRow("month 13") << "" << "2026-13-05" << "2026-13-05" << "" << "2026-13-05" + impossible << 0;
        QTest::newRow("day 0 without dashes") << "" << "20260300" << "20260300" << "" << "20260300" + impossible << 0;
        QTest::newRow("over a date, impossible")
            << "2024-12-24" << "2026-02-30" << "2026-02-30" << "" << "2026-02-30" + impossible << 1;
        QTest::newRow("year and month only") << "" << "2025-03" << "2025-03" << "" << "2025-03" + shape << 0;
        QTest::newRow("one-digit day") << "" << "2025-03-1" << "2025-03-1" << "" << "2025-03-1" + shape << 0;
        QTest::newRow("two-digit year") << "" << "25-03-15" << "25-03-15" << "" << "25-03-15" + shape << 0;
        QTest::newRow("dashes only") << "" << "--" << "--" << "" << "--" + shape << 0;
    }

    void typing()
    {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QString, date);
        QFETCH(QString, message);
        QFETCH(int, dateChanges);
        TDateWindow w;
        QVERIFY(w.Ready());
        TDatePicker *picker = w.Picker();
        picker->SetText(start);
        QSignalSpy changes(picker, &TDatePicker::DateChanged);
        w.Enter();
        QCOMPARE(picker->selectedText(), start);
        QTest::keyClicks(picker, keys);
        w.Leave();

        QCOMPARE(picker->text(), shown);
        QCOMPARE(picker->Text(), date);
        QCOMPARE(picker->HasDate(), !date.isEmpty());
        QCOMPARE(changes.count(), dateChanges);
        if (message.isEmpty()) {
            QCOMPARE(w.messages, QStringList());
            QCOMPARE(w.FocusName(), QStringLiteral("edtOther"));
            QCOMPARE(picker->Refusal(), QString());
        } else {
            QCOMPARE(w.messages, QStringList{message});
            QCOMPARE(w.FocusName(), QStringLiteral("wwdtpDate"));
            QCOMPARE(picker->selectedText(), shown);
            QCOMPARE(picker->Refusal(), message);
            // Corrected by the user, the date is taken and the field left.
            QVERIFY(w.Reactivated());
            picker->selectAll();
            QTest::keyClicks(picker, QStringLiteral("2025-02-28"));
            w.Leave();
            QCOMPARE(w.messages.size(), 1);
            QCOMPARE(picker->Text(), QStringLiteral("2025-02-28"));
            QCOMPARE(w.FocusName(), QStringLiteral("edtOther"));
        }
    }

    void clearing_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("delete") << int(Qt::Key_Delete);
        QTest::newRow("backspace") << int(Qt::Key_Backspace);
    }

    // An emptied field is really empty: no date, no message on leaving it.
    void clearing()
    {
        QFETCH(int, key);
        TDateWindow w;
        QVERIFY(w.Ready());
        TDatePicker *picker = w.Picker();
        picker->SetText(QStringLiteral("2024-05-14"));
        QSignalSpy changes(picker, &TDatePicker::DateChanged);
        picker->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(picker, Qt::Key(key));
        w.Leave();
        QVERIFY(picker->IsEmpty());
        QCOMPARE(picker->text(), QString());
        QCOMPARE(picker->Text(), QString());
        QVERIFY(!picker->Date().isValid());
        QCOMPARE(changes.count(), 1);
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(w.FocusName(), QStringLiteral("edtOther"));
        picker->Check();
    }

    // Escape brings back the text the field had when it got the focus.
    void escapeRestoresTheText()
    {
        TDateWindow w;
        QVERIFY(w.Ready());
        TDatePicker *picker = w.Picker();
        picker->SetText(QStringLiteral("2024-05-14"));
        w.Enter();
        QTest::keyClicks(picker, QStringLiteral("2026-02"));
        QTest::keyClick(picker, Qt::Key_Escape);
        QCOMPARE(picker->text(), QStringLiteral("2024-05-14"));
        w.Leave();
        QCOMPARE(w.messages, QStringList());
    }

    // The action that uses the date refuses a text that is no date and
    // leaves it as typed; an empty field and a date pass.
    void checkRefusesWhatIsNoDate()
    {
        TDateWindow w;
        QVERIFY(w.Ready());
        TDatePicker *picker = w.Picker();
        picker->Check();
        w.Other()->setFocus();
        picker->setText(QStringLiteral("2025-13-01"));
        QVERIFY_THROWS_EXCEPTION(EAbort, picker->Check());
        QCOMPARE(w.messages, QStringList{QStringLiteral("2025-13-01 är inget giltigt datum")});
        QCOMPARE(w.FocusName(), QStringLiteral("wwdtpDate"));
        QCOMPARE(picker->text(), QStringLiteral("2025-13-01"));
        // A date without dashes is shown in the usual form when it is used.
        picker->setText(QStringLiteral("20250131"));
        picker->Check();
        QCOMPARE(picker->text(), QStringLiteral("2025-01-31"));
        QCOMPARE(w.messages.size(), 1);
    }

    // Focus moved by the program (a page changing) asks nothing; the action
    // that uses the date will.
    void programFocusChangeAsksNothing()
    {
        TDateWindow w;
        QVERIFY(w.Ready());
        TDatePicker *picker = w.Picker();
        w.Enter();
        QTest::keyClicks(picker, QStringLiteral("2025-03"));
        w.Other()->setFocus(Qt::OtherFocusReason);
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(picker->text(), QStringLiteral("2025-03"));
        QCOMPARE(picker->Text(), QString());
    }

    void setters()
    {
        TDateWindow w;
        QVERIFY(w.Ready());
        TDatePicker *picker = w.Picker();
        QSignalSpy changes(picker, &TDatePicker::DateChanged);
        picker->SetText(QStringLiteral("2024-5-4"));
        QCOMPARE(picker->text(), QStringLiteral("2024-05-04"));
        QCOMPARE(picker->Date(), QDate(2024, 5, 4));
        QVERIFY_THROWS_EXCEPTION(EConvertError, picker->SetText(QStringLiteral("2026-02-30")));
        QVERIFY_THROWS_EXCEPTION(EConvertError, picker->SetText(QStringLiteral("maj")));
        QCOMPARE(picker->Text(), QStringLiteral("2024-05-04"));
        picker->SetDate(QDate());
        QVERIFY(picker->IsEmpty());
        picker->SetDate(QDate(2023, 12, 31));
        QCOMPARE(picker->Text(), QStringLiteral("2023-12-31"));
        picker->Clear();
        QCOMPARE(picker->Text(), QString());
        QCOMPARE(changes.count(), 4);
    }

    // The calendar opens on today for an empty field and on the field's
    // date otherwise, weeks from Monday; Enter chooses, Escape changes
    // nothing.
    void theCalendar()
    {
        TDateWindow w;
        QVERIFY(w.Ready());
        TDatePicker *picker = w.Picker();
        QSignalSpy changes(picker, &TDatePicker::DateChanged);
        picker->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(picker->CalendarVisible());
        QCalendarWidget *calendar = picker->Calendar();
        QCOMPARE(calendar->firstDayOfWeek(), Qt::Monday);
        QCOMPARE(calendar->selectedDate(), QDate::currentDate());
        auto *days = calendar->findChild<QAbstractItemView *>();
        QVERIFY(days);
        QTest::keyClick(days, Qt::Key_Escape);
        QVERIFY(!picker->CalendarVisible());
        QVERIFY(picker->IsEmpty());
        QCOMPARE(changes.count(), 0);

        QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(picker->CalendarVisible());
        QTest::keyClick(days, Qt::Key_Right);
        QVERIFY(picker->IsEmpty());
        QTest::keyClick(days, Qt::Key_Return);
        QVERIFY(!picker->CalendarVisible());
        QCOMPARE(picker->Text(), isoDate(QDate::currentDate().addDays(1)));
        QCOMPARE(changes.count(), 1);

        picker->SetText(QStringLiteral("2024-02-29"));
        picker->ShowCalendar();
        QCOMPARE(calendar->selectedDate(), QDate(2024, 2, 29));
        QCOMPARE(calendar->monthShown(), 2);
        QTest::keyClick(days, Qt::Key_Escape);
        QCOMPARE(picker->Text(), QStringLiteral("2024-02-29"));
        QCOMPARE(w.messages, QStringList());
    }
};

QTEST_MAIN(tst_DatePicker)
#include "tst_DatePicker.moc"
