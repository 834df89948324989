// The numeric and repetitions edits, driven as the user drives them: keys,
// the clipboard, drops, input methods and focus changes.

#include "foundation/Exceptions.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QFrame>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
enum class PasteRoute { CtrlV, ContextMenu, InputMethod };

// A shown, active window holding the edit under test and a plain line edit
// to move the focus to.
class TestWindow
{
public:
    TestWindow()
    {
        auto *layout = new QVBoxLayout(&m_window);
        m_other = new QLineEdit(&m_window);
        m_other->setObjectName(QStringLiteral("edtOther"));
        layout->addWidget(m_other);
    }

    template<class E>
    E *add(E *edit)
    {
        edit->setParent(&m_window);
        m_window.layout()->addWidget(edit);
        return edit;
    }

    bool show()
    {
        m_window.show();
        m_window.activateWindow();
        return QTest::qWaitForWindowActive(&m_window);
    }

    QWidget &window() { return m_window; }

    static bool enter(QWidget *edit)
    {
        edit->setFocus(Qt::TabFocusReason);
        return edit->hasFocus();
    }

    bool leave()
    {
        m_other->setFocus(Qt::TabFocusReason);
        return m_other->hasFocus();
    }

private:
    QWidget m_window;
    QLineEdit *m_other = nullptr;
};

void paste(TPGCustomEdit *edit, PasteRoute route, const QString &text)
{
    switch (route) {
    case PasteRoute::CtrlV:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        break;
    case PasteRoute::ContextMenu: {
        QGuiApplication::clipboard()->setText(text);
        std::unique_ptr<QMenu> menu(edit->CreateContextMenu());
        auto *action = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY2(action, "the menu has no paste");
        QVERIFY(action->isEnabled());
        action->trigger();
        break;
    }
    case PasteRoute::InputMethod: {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(edit, &event);
        break;
    }
    }
}

void addPasteRoutes(const char *name, const std::function<void(QTestData &)> &row)
{
    const std::pair<const char *, PasteRoute> routes[] = {
        {"ctrl+v", PasteRoute::CtrlV}, {"menu", PasteRoute::ContextMenu}, {"input method", PasteRoute::InputMethod}};
    for (const auto &[routeName, route] : routes) {
        QTestData &data = QTest::addRow("%s, %s", name, routeName);
        data << int(route);
        row(data);
    }
}

template<class E>
QString messageOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const E &e) {
        return e.Message();
    }
    return QStringLiteral("<no exception>");
}

// Limits left empty in a table keep the control's defaults.
void setLimits(TPGCustomEdit *edit, const QString &minValue, const QString &maxValue)
{
    if (!maxValue.isEmpty())
        edit->SetMaxValue(maxValue);
    if (!minValue.isEmpty())
        edit->SetMinValue(minValue);
}
}

class tst_PGEdit : public QObject
{
    Q_OBJECT

private slots:
    void numericTyping_data()
    {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("minValue");
        QTest::addColumn<QString>("maxValue");
        QTest::addColumn<bool>("searchKeys");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("maxSignals");
        QTest::addColumn<int>("minSignals");

        QTest::newRow("1000 in 0..999 shows the maximum at once")
            << 1 << "0" << "999" << false << "1000" << "999.0" << "999.0" << 1 << 0;
        QTest::newRow("decimal added when left") << 1 << "0" << "999" << false << "72" << "72" << "72.0" << 0 << 0;
        QTest::newRow("decimals rounded when left") << 1 << "0" << "999" << false << "72.46" << "72.46" << "72.5" << 0 << 0;
        QTest::newRow("rounding cannot pass the maximum")
            << 1 << "0" << "999.99" << false << "999.96" << "999.96" << "999.9" << 1 << 0;
        // Rounded to the decimals before the limits apply: 999.99 is within
        // the maximum, its one-decimal form 1000.0 is not.
        QTest::newRow("999.99 at a maximum of 999.99 is left as 999.9")
            << 1 << "0" << "999.99" << false << "999.99" << "999.99" << "999.9" << 1 << 0;
        QTest::newRow("default maximum without decimals stays below itself")
            << 0 << "" << "" << false << "9999999999" << "999999999" << "999999999" << 1 << 0;
        QTest::newRow("second separator refused") << 2 << "" << "" << false << "1.2.3" << "1.23" << "1.23" << 0 << 0;
        QTest::newRow("whole number refuses the separator") << 0 << "" << "" << false << "3.5" << "35" << "35" << 0 << 0;
        QTest::newRow("comma is the separator") << 2 << "" << "" << false << "12,5" << "12.5" << "12.50" << 0 << 0;
        QTest::newRow("lone separator empties") << 2 << "" << "" << false << "." << "" << "" << 0 << 0;
        QTest::newRow("letters dropped") << 0 << "" << "" << false << "1a2 b" << "12" << "12" << 0 << 0;
        QTest::newRow("minus typed last leads") << 0 << "-100" << "100" << false << "12-" << "-12" << "-12" << 0 << 0;
        QTest::newRow("second minus refused") << 0 << "-100" << "100" << false << "-1-2" << "-12" << "-12" << 0 << 0;
        QTest::newRow("minus refused without negative minimum") << 0 << "0" << "100" << false << "-5" << "5" << "5" << 0 << 0;
        QTest::newRow("below a negative minimum") << 0 << "-10" << "10" << false << "-50" << "-10" << "-10" << 0 << 1;
        QTest::newRow("lone minus kept, emptied when left") << 2 << "" << "" << false << "-" << "-" << "" << 0 << 0;
        QTest::newRow("negative zero loses its sign") << 1 << "" << "" << false << "-0" << "-0" << "0.0" << 0 << 0;
        QTest::newRow("search key refused") << 2 << "" << "" << false << "!5" << "5" << "5.00" << 0 << 0;
        QTest::newRow("search key alone") << 2 << "" << "" << true << "!" << "!" << "!" << 0 << 0;
        QTest::newRow("nothing after a search key") << 2 << "" << "" << true << "*5.-" << "*" << "*" << 0 << 0;
        QTest::newRow("search key only first") << 2 << "" << "" << true << "5!*" << "5" << "5.00" << 0 << 0;
        QTest::newRow("search key never clamped") << 0 << "10" << "20" << true << "*" << "*" << "*" << 0 << 0;
    }

    void numericTyping()
    {
        QFETCH(int, decimals);
        QFETCH(QString, minValue);
        QFETCH(QString, maxValue);
        QFETCH(bool, searchKeys);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        QFETCH(int, maxSignals);
        QFETCH(int, minSignals);

        TestWindow window;
        auto *edit = window.add(new TNumericalEdit(QStringLiteral("numedtTest")));
        edit->SetNumDecimals(decimals);
        setLimits(edit, minValue, maxValue);
        edit->SetAllowSearchKeys(searchKeys);
        QSignalSpy maxSpy(edit, &TPGCustomEdit::MaxExceeded);
        QSignalSpy minSpy(edit, &TPGCustomEdit::MinExceeded);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));

        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), typed);
        QVERIFY(window.leave());
        QCOMPARE(edit->text(), left);
        QCOMPARE(edit->Value(), left);
        QCOMPARE(maxSpy.count(), maxSignals);
        QCOMPARE(minSpy.count(), minSignals);
    }

    void numericValues_data()
    {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("intValue");
        QTest::addColumn<double>("floatValue");

        QTest::newRow("decimal") << 1 << "12.7" << 12 << 12.7;
        QTest::newRow("negative truncates towards zero") << 1 << "-3.9" << -3 << -3.9;
        QTest::newRow("FloatValue reads the final form") << 1 << "72.46" << 72 << 72.5;
        QTest::newRow("empty") << 2 << "" << 0 << 0.0;
        QTest::newRow("lone minus") << 2 << "-" << 0 << 0.0;
        QTest::newRow("search key") << 2 << "*" << 0 << 0.0;
    }

    void numericValues()
    {
        QFETCH(int, decimals);
        QFETCH(QString, keys);
        QFETCH(int, intValue);
        QFETCH(double, floatValue);

        TNumericalEdit edit;
        edit.SetNumDecimals(decimals);
        edit.SetAllowSearchKeys(true);
        QTest::keyClicks(&edit, keys);
        // IntValue follows the typing, without a final validation.
        QCOMPARE(edit.IntValue(), intValue);
        QCOMPARE(edit.FloatValue(), floatValue);
    }

    void numericPaste_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("minValue");
        QTest::addColumn<QString>("maxValue");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");

        addPasteRoutes("12.7 into a whole-number field", [](QTestData &d) {
            d << 0 << "" << "" << "" << 0 << 0 << "12.7" << "12" << 2;
        });
        addPasteRoutes("12,7 into a whole-number field", [](QTestData &d) {
            d << 0 << "" << "" << "" << 0 << 0 << "12,7" << "12" << 2;
        });
        addPasteRoutes("12.7 with one decimal", [](QTestData &d) {
            d << 1 << "" << "" << "" << 0 << 0 << "12.7" << "12.7" << 4;
        });
        addPasteRoutes("second separator of the paste dropped", [](QTestData &d) {
            d << 2 << "" << "" << "" << 0 << 0 << "1.2.3" << "1.23" << 4;
        });
        addPasteRoutes("junk dropped", [](QTestData &d) {
            d << 0 << "" << "" << "" << 0 << 0 << "a1 b2\tc" << "12" << 2;
        });
        addPasteRoutes("replaces the selection", [](QTestData &d) {
            d << 0 << "" << "" << "123" << 1 << 1 << "98" << "1983" << 3;
        });
        addPasteRoutes("minus goes to the front", [](QTestData &d) {
            d << 0 << "-100" << "100" << "5" << 1 << 0 << "-3" << "-53" << 3;
        });
        addPasteRoutes("over the maximum", [](QTestData &d) {
            d << 0 << "0" << "999" << "" << 0 << 0 << "5000" << "999" << 3;
        });
    }

    void numericPaste()
    {
        QFETCH(int, route);
        QFETCH(int, decimals);
        QFETCH(QString, minValue);
        QFETCH(QString, maxValue);
        QFETCH(QString, initial);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionLength);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        QFETCH(int, caret);

        TestWindow window;
        auto *edit = window.add(new TNumericalEdit(QStringLiteral("numedtTest")));
        edit->SetNumDecimals(decimals);
        setLimits(edit, minValue, maxValue);
        edit->setText(initial);
        QCOMPARE(edit->text(), initial);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));
        if (selectionLength > 0)
            edit->setSelection(selectionStart, selectionLength);
        else
            edit->setCursorPosition(selectionStart);

        QSignalSpy changed(edit, &QLineEdit::textChanged);
        paste(edit, PasteRoute(route), clipboard);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(edit->cursorPosition(), caret);
        // Receivers never see the unfiltered text.
        QVERIFY(!changed.isEmpty());
        for (const QList<QVariant> &signal : std::as_const(changed))
            QCOMPARE(signal.at(0).toString(), expected);
    }

    void dropPassesTheFilter_data()
    {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<QString>("expected");

        QTest::newRow("decimals of a whole number cut off") << 0 << "12.7" << "12";
        QTest::newRow("letters dropped") << 2 << "4x.5kg" << "4.5";
    }

    void dropPassesTheFilter()
    {
        QFETCH(int, decimals);
        QFETCH(QString, dropped);
        QFETCH(QString, expected);

        TestWindow window;
        auto *edit = window.add(new TNumericalEdit(QStringLiteral("numedtTest")));
        edit->SetNumDecimals(decimals);
        QVERIFY(window.show());

        QMimeData mime;
        mime.setText(dropped);
        // The drop goes to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(edit->text(), expected);
    }

    void refusedKeyLeavesTheSelection()
    {
        TNumericalEdit edit;
        edit.SetNumDecimals(0);
        edit.setText(QStringLiteral("123"));
        edit.selectAll();
        QTest::keyClicks(&edit, QStringLiteral("a."));
        QCOMPARE(edit.text(), QStringLiteral("123"));
        QCOMPARE(edit.selectedText(), QStringLiteral("123"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QString());
    }

    void programmaticText_data()
    {
        QTest::addColumn<bool>("useSetValue");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("maxValue");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("setText: decimals of a whole number cut off") << false << 0 << "99999" << "12.7" << "12";
        QTest::newRow("setText: no number empties") << false << 2 << "99999" << "abc" << "";
        QTest::newRow("setText: clamped at once") << false << 1 << "999" << "1000" << "999.0";
        QTest::newRow("setText: not yet in final form") << false << 1 << "99999" << "72" << "72";
        QTest::newRow("SetValue: final form") << true << 1 << "99999" << "72" << "72.0";
        QTest::newRow("SetValue: filtered like typing") << true << 2 << "99999" << "1 234,5 kr" << "1234.50";
        QTest::newRow("SetValue: minus without negative minimum") << true << 0 << "99999" << "-5" << "5";
    }

    void programmaticText()
    {
        QFETCH(bool, useSetValue);
        QFETCH(int, decimals);
        QFETCH(QString, maxValue);
        QFETCH(QString, text);
        QFETCH(QString, expected);

        TNumericalEdit edit;
        edit.SetNumDecimals(decimals);
        edit.SetMinValue(QStringLiteral("0"));
        edit.SetMaxValue(maxValue);
        QSignalSpy changed(&edit, &QLineEdit::textChanged);
        if (useSetValue)
            edit.SetValue(text);
        else
            edit.setText(text);
        QCOMPARE(edit.text(), expected);
        // Receivers never see the text before it was filtered and checked.
        for (const QList<QVariant> &signal : std::as_const(changed))
            QCOMPARE(signal.at(0).toString(), expected);
    }

    void numericLimits_data()
    {
        QTest::addColumn<bool>("maximum");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("error");

        QTest::newRow("maximum kept") << true << "999" << "999" << "";
        QTest::newRow("maximum above 32 bits") << true << "3000000000" << "2147483647.0" << "";
        QTest::newRow("minimum below 32 bits") << false << "-3000000000" << "-2147483648.0" << "";
        QTest::newRow("maximum no number") << true << "abc" << "" << "abc is not a valid numerical";
        QTest::newRow("minimum no number") << false << "1,5" << "" << "1,5 is not a valid numerical";
        QTest::newRow("empty maximum") << true << "" << "" << " is not a valid numerical";
    }

    void numericLimits()
    {
        QFETCH(bool, maximum);
        QFETCH(QString, limit);
        QFETCH(QString, stored);
        QFETCH(QString, error);

        TNumericalEdit edit;
        QCOMPARE(edit.MaxValue(), QStringLiteral("999999999.9"));
        QCOMPARE(edit.MinValue(), QStringLiteral("-999999999.9"));
        const auto set = [&] { maximum ? edit.SetMaxValue(limit) : edit.SetMinValue(limit); };
        if (!error.isEmpty()) {
            QCOMPARE(messageOf<ENumError>(set), error);
            return;
        }
        set();
        QCOMPARE(maximum ? edit.MaxValue() : edit.MinValue(), stored);
    }

    void changedPropertiesRevalidate()
    {
        TNumericalEdit edit;
        QSignalSpy maxSpy(&edit, &TPGCustomEdit::MaxExceeded);
        QSignalSpy minSpy(&edit, &TPGCustomEdit::MinExceeded);
        QTest::keyClicks(&edit, QStringLiteral("500"));
        edit.SetMaxValue(QStringLiteral("100"));
        QCOMPARE(edit.text(), QStringLiteral("100.00"));
        QCOMPARE(maxSpy.count(), 1);
        edit.SetNumDecimals(0);
        QCOMPARE(edit.text(), QStringLiteral("100"));

        edit.setText(QStringLiteral("-7"));
        QCOMPARE(edit.text(), QStringLiteral("-7"));
        edit.SetNegValues(false);
        QCOMPARE(edit.MinValue(), QStringLiteral("0"));
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(minSpy.count(), 1);
        QTest::keyClick(&edit, Qt::Key_Minus);
        QCOMPARE(edit.text(), QStringLiteral("0"));

        edit.SetAllowSearchKeys(true);
        edit.clear();
        QTest::keyClicks(&edit, QStringLiteral("!"));
        QCOMPARE(edit.text(), QStringLiteral("!"));
        edit.SetAllowSearchKeys(false);
        QCOMPARE(edit.text(), QString());
        QCOMPARE(edit.Value(), QString());
    }

    void limitSignalsPrecedeTextChanged()
    {
        TNumericalEdit edit;
        edit.SetNumDecimals(0);
        edit.SetMaxValue(QStringLiteral("50"));
        QStringList order;
        connect(&edit, &QLineEdit::textChanged, &edit,
                [&](const QString &text) { order << QStringLiteral("changed ") + text; });
        connect(&edit, &TPGCustomEdit::MaxExceeded, &edit,
                [&] { order << QStringLiteral("max ") + edit.text(); });
        QTest::keyClicks(&edit, QStringLiteral("60"));
        QCOMPARE(order, QStringList({"changed 6", "max 50", "changed 50"}));
    }

    void focusLeaveSignals()
    {
        TestWindow window;
        auto *edit = window.add(new TNumericalEdit(QStringLiteral("numedtWeight")));
        edit->SetNumDecimals(1);
        QStringList seen;
        connect(edit, &TPGCustomEdit::Exit, edit, [&] { seen << QStringLiteral("exit ") + edit->text(); });
        connect(edit, &QLineEdit::editingFinished, edit,
                [&] { seen << QStringLiteral("finished ") + edit->text(); });
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));
        QTest::keyClicks(edit, QStringLiteral("72"));
        QVERIFY(window.leave());
        QCOMPARE(seen, QStringList({"exit 72.0", "finished 72.0"}));
    }

    void repsTyping_data()
    {
        QTest::addColumn<QString>("minValue");
        QTest::addColumn<QString>("maxValue");
        QTest::addColumn<bool>("searchKeys");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("maxSignals");
        QTest::addColumn<int>("minSignals");

        QTest::newRow("3x10") << "" << "" << false << "3x10" << "3x10" << 4 << "3x10" << 0 << 0;
        QTest::newRow("310 gets its x") << "" << "" << false << "310" << "31x0" << 4 << "31x0" << 0 << 0;
        QTest::newRow("1234 gets its x") << "" << "" << false << "1234" << "12x34" << 5 << "12x34" << 0 << 0;
        QTest::newRow("second x refused") << "" << "" << false << "3xx10" << "3x10" << 4 << "3x10" << 0 << 0;
        QTest::newRow("X becomes x") << "" << "" << false << "3X10" << "3x10" << 4 << "3x10" << 0 << 0;
        QTest::newRow("no 0 right after the x") << "" << "" << false << "3x05" << "3x5" << 3 << "3x5" << 0 << 0;
        QTest::newRow("trailing x kept when left") << "" << "" << false << "3x" << "3x" << 2 << "3x" << 0 << 0;
        QTest::newRow("leading x emptied") << "" << "" << false << "x10" << "10" << 2 << "10" << 0 << 0;
        QTest::newRow("junk dropped") << "" << "" << false << "a3 b-" << "3" << 1 << "3" << 0 << 0;
        QTest::newRow("five characters at most") << "" << "" << false << "12x345" << "12x34" << 5 << "12x34" << 0 << 0;
        QTest::newRow("search key alone") << "" << "" << true << "!3x" << "!" << 1 << "!" << 0 << 0;
        QTest::newRow("search key refused") << "" << "" << false << "*3" << "3" << 1 << "3" << 0 << 0;
        QTest::newRow("sets over the maximum") << "" << "5x20" << false << "6" << "5" << 1 << "5" << 1 << 0;
        QTest::newRow("reps over the maximum") << "" << "5x20" << false << "3x25" << "3x20" << 4 << "3x20" << 1 << 0;
        QTest::newRow("below the minimum while typing") << "2x5" << "" << false << "1x3" << "2x5" << 3 << "2x5" << 0 << 2;
        QTest::newRow("short reps kept until left") << "1x10" << "" << false << "3x5" << "3x5" << 3 << "3x10" << 0 << 1;
    }

    void repsTyping()
    {
        QFETCH(QString, minValue);
        QFETCH(QString, maxValue);
        QFETCH(bool, searchKeys);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(int, caret);
        QFETCH(QString, left);
        QFETCH(int, maxSignals);
        QFETCH(int, minSignals);

        TestWindow window;
        auto *edit = window.add(new TRepsEdit(QStringLiteral("redtTest")));
        setLimits(edit, minValue, maxValue);
        edit->SetAllowSearchKeys(searchKeys);
        QSignalSpy maxSpy(edit, &TPGCustomEdit::MaxExceeded);
        QSignalSpy minSpy(edit, &TPGCustomEdit::MinExceeded);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));

        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), typed);
        QCOMPARE(edit->cursorPosition(), caret);
        QVERIFY(window.leave());
        QCOMPARE(edit->text(), left);
        QCOMPARE(edit->Value(), left);
        QCOMPARE(maxSpy.count(), maxSignals);
        QCOMPARE(minSpy.count(), minSignals);
    }

    void repsPaste_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<QString>("maxValue");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");

        addPasteRoutes("sets and reps in words", [](QTestData &d) { d << "" << "" << "3 sets x 10" << "3x10"; });
        addPasteRoutes("junk dropped", [](QTestData &d) { d << "" << "" << "abc" << ""; });
        addPasteRoutes("four digits", [](QTestData &d) { d << "" << "" << "1234" << "12x34"; });
        addPasteRoutes("four digits over the reps maximum", [](QTestData &d) { d << "99x30" << "" << "1234" << "12x30"; });
        addPasteRoutes("after the x", [](QTestData &d) { d << "" << "3x" << "12" << "3x12"; });
        addPasteRoutes("no 0 right after a pasted x", [](QTestData &d) { d << "" << "" << "3x05" << "3x5"; });
        addPasteRoutes("second pasted x dropped", [](QTestData &d) { d << "" << "" << "3x1x0" << "3x10"; });
        addPasteRoutes("no 0 after an x before the caret", [](QTestData &d) { d << "" << "4x" << "05" << "4x5"; });
    }

    void repsPaste()
    {
        QFETCH(int, route);
        QFETCH(QString, maxValue);
        QFETCH(QString, initial);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);

        TestWindow window;
        auto *edit = window.add(new TRepsEdit(QStringLiteral("redtTest")));
        setLimits(edit, QString(), maxValue);
        edit->setText(initial);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));
        edit->end(false);
        paste(edit, PasteRoute(route), clipboard);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(edit->Value(), expected);
    }

    // What the field shows is its value: sets raised to the minimum leave
    // no room for three-digit repetitions in the five characters of a reps
    // text, so the repetitions come down to what fits, visibly.
    void repsPasteWithinTheLimits_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<QString>("minValue");
        QTest::addColumn<QString>("maxValue");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("maxSignals");
        QTest::addColumn<int>("minSignals");

        addPasteRoutes("1x200 with limits 10..99", [](QTestData &d) { d << "10" << "99" << "1x200" << "10x99" << 1 << 1; });
        addPasteRoutes("5x300 with limits 10..99", [](QTestData &d) { d << "10" << "99" << "5x300" << "10x99" << 1 << 1; });
        addPasteRoutes("1x999 with the sets limited", [](QTestData &d) { d << "" << "9" << "1x999" << "1x999" << 0 << 0; });
        addPasteRoutes("1x200 within the default limits", [](QTestData &d) { d << "" << "" << "1x200" << "1x99" << 1 << 0; });
    }

    void repsPasteWithinTheLimits()
    {
        QFETCH(int, route);
        QFETCH(QString, minValue);
        QFETCH(QString, maxValue);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        QFETCH(int, maxSignals);
        QFETCH(int, minSignals);

        TestWindow window;
        auto *edit = window.add(new TRepsEdit(QStringLiteral("redtTest")));
        setLimits(edit, minValue, maxValue);
        QSignalSpy maxSpy(edit, &TPGCustomEdit::MaxExceeded);
        QSignalSpy minSpy(edit, &TPGCustomEdit::MinExceeded);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));
        paste(edit, PasteRoute(route), clipboard);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(edit->Value(), expected);
        QVERIFY(window.leave());
        QCOMPARE(edit->text(), expected);
        QCOMPARE(edit->Value(), expected);
        QCOMPARE(maxSpy.count(), maxSignals);
        QCOMPARE(minSpy.count(), minSignals);
    }

    void repsProgrammaticText_data()
    {
        QTest::addColumn<bool>("useSetValue");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("setText normalised") << false << "1234" << "12x34";
        QTest::newRow("setText x moved") << false << "123x4" << "12x34";
        QTest::newRow("SetValue X") << true << "3X10" << "3x10";
        QTest::newRow("SetValue junk") << true << "tre" << "";
    }

    void repsProgrammaticText()
    {
        QFETCH(bool, useSetValue);
        QFETCH(QString, text);
        QFETCH(QString, expected);

        TRepsEdit edit;
        QSignalSpy changed(&edit, &QLineEdit::textChanged);
        if (useSetValue)
            edit.SetValue(text);
        else
            edit.setText(text);
        QCOMPARE(edit.text(), expected);
        for (const QList<QVariant> &signal : std::as_const(changed))
            QCOMPARE(signal.at(0).toString(), expected);
    }

    void repsLimits_data()
    {
        QTest::addColumn<bool>("maximum");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("error");

        QTest::newRow("5x200 unchanged") << true << "5x200" << "5x200" << "";
        QTest::newRow("200x5") << true << "200x5" << "20x05" << "";
        QTest::newRow("100x100") << true << "100x100" << "10x01" << "";
        QTest::newRow("trailing x removed") << true << "8x" << "8" << "";
        QTest::newRow("abc") << true << "abc" << "" << "abc is not a valid repetition value";
        QTest::newRow("signed") << true << "-5x3" << "" << "-5x3 is not a valid repetition value";
        QTest::newRow("minimum unchecked") << false << "abc" << "" << "";
        QTest::newRow("minimum normalised") << false << "1x" << "1" << "";
        QTest::newRow("maximum ending in xx") << true << "1xx" << "1" << "";
        QTest::newRow("minimum ending in xx") << false << "1xx" << "1" << "";
        QTest::newRow("second x dropped") << true << "12xx5" << "12x5" << "";
        QTest::newRow("x after the third digit") << true << "123x" << "12x3" << "";
    }

    // A limit is stored in its normal form: setting the stored limit again
    // changes nothing.
    void repsLimitSetTwiceStaysTheSame_data()
    {
        QTest::addColumn<QString>("limit");
        for (const char *limit : {"1xx", "3xxx", "1x", "12xx5", "x10", "123x", "5x200", "200x5", "100x100", "99x99", "0x0", "7"})
            QTest::newRow(limit) << QString::fromLatin1(limit);
    }

    void repsLimitSetTwiceStaysTheSame()
    {
        QFETCH(QString, limit);
        TRepsEdit edit;
        edit.SetMaxValue(limit);
        const QString maximum = edit.MaxValue();
        edit.SetMaxValue(maximum);
        QCOMPARE(edit.MaxValue(), maximum);
        edit.SetMinValue(limit);
        const QString minimum = edit.MinValue();
        edit.SetMinValue(minimum);
        QCOMPARE(edit.MinValue(), minimum);
        QVERIFY(!maximum.endsWith(u'x'));
        QVERIFY(!minimum.endsWith(u'x'));
    }

    // A maximum given as 1xx limits the sets to 1 and leaves the
    // repetitions free, as the maximum 1 does.
    void repsMaximumEndingInXLimitsTheSets()
    {
        TRepsEdit edit;
        edit.SetMaxValue(QStringLiteral("1xx"));
        QTest::keyClicks(&edit, QStringLiteral("1x5"));
        QCOMPARE(edit.text(), QStringLiteral("1x5"));
        QCOMPARE(edit.Value(), QStringLiteral("1x5"));
        edit.setText(QStringLiteral("2x50"));
        QCOMPARE(edit.Value(), QStringLiteral("1x50"));
    }

    void repsLimits()
    {
        QFETCH(bool, maximum);
        QFETCH(QString, limit);
        QFETCH(QString, stored);
        QFETCH(QString, error);

        TRepsEdit edit;
        QCOMPARE(edit.MaxValue(), QStringLiteral("99x99"));
        QCOMPARE(edit.MinValue(), QStringLiteral("0x0"));
        const auto set = [&] { maximum ? edit.SetMaxValue(limit) : edit.SetMinValue(limit); };
        if (!error.isEmpty()) {
            QCOMPARE(messageOf<ERepsError>(set), error);
            QCOMPARE(edit.MaxValue(), QStringLiteral("99x99"));
            return;
        }
        set();
        QCOMPARE(maximum ? edit.MaxValue() : edit.MinValue(), stored);
    }

    void repsMaximumWithoutXLimitsTheSets()
    {
        TRepsEdit edit;
        edit.SetMaxValue(QStringLiteral("8"));
        QTest::keyClicks(&edit, QStringLiteral("3x150"));
        QCOMPARE(edit.text(), QStringLiteral("3x150"));
        edit.setText(QStringLiteral("9x5"));
        QCOMPARE(edit.text(), QStringLiteral("8x5"));
    }

    // Long input: a field holds no more characters than its limits can use;
    // what comes beyond is dropped as a refused key is, and typing at the
    // full length changes nothing.
    void longInputIsCapped_data()
    {
        QTest::addColumn<bool>("reps");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("minValue");
        QTest::addColumn<QString>("maxValue");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("afterKey"); // after a 5 typed at the end
        QTest::addColumn<QString>("value");

        const auto repeated = [](const char *pattern, int length) {
            QString text;
            while (text.size() < length)
                text += QLatin1String(pattern);
            return text.left(length);
        };
        // Limits 0..100 with one decimal: no sign, 3 + 1 digits, the
        // separator and 1 + 17 decimals, 23 characters in all.
        QTest::newRow("long zero, 0..100") << false << 1 << "0" << "100" << "0." + QString(99998, u'0')
                                           << "0." + QString(21, u'0') << "0." + QString(21, u'0') << "0.0";
        // Default limits with two decimals: a sign, 9 + 1 digits, the
        // separator and 2 + 17 decimals, 31 characters.
        QTest::newRow("mixed text, default limits")
            << false << 2 << "" << "" << repeated("12 3a4.5-6x7,8*!9X", 100000) << "-1234.56789" + repeated("123456789", 20)
            << "-1234.56789" + repeated("123456789", 20) << "-1234.57";
        QTest::newRow("digits over the maximum") << false << 2 << "" << "" << repeated("1234567890", 100000) << "999999999.90"
                                                 << "999999999.90" << "999999999.90";
        // 0..999 without decimals: 3 + 1 digits; the four 7s are above the
        // maximum, which the field shows.
        QTest::newRow("whole numbers, 0..999") << false << 0 << "0" << "999" << repeated("7", 100000) << "999" << "999" << "999";
        QTest::newRow("reps digits") << true << 0 << "" << "" << repeated("1234567890", 100000) << "12x34" << "12x34" << "12x34";
        // Below the 32767 characters that a line edit takes from setText.
        QTest::newRow("reps after junk") << true << 0 << "" << "" << QString(30000, u'a') + "3x10" << "3x10" << "3x99" << "3x99";
    }

    void longInputIsCapped()
    {
        QFETCH(bool, reps);
        QFETCH(int, decimals);
        QFETCH(QString, minValue);
        QFETCH(QString, maxValue);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(QString, afterKey);
        QFETCH(QString, value);

        const auto make = [&]() -> TPGCustomEdit * {
            if (reps)
                return new TRepsEdit(QStringLiteral("redtTest"));
            auto *edit = new TNumericalEdit(QStringLiteral("numedtTest"));
            edit->SetNumDecimals(decimals);
            return edit;
        };
        for (const int route : {int(PasteRoute::CtrlV), int(PasteRoute::ContextMenu), int(PasteRoute::InputMethod), -1}) {
            TestWindow window;
            TPGCustomEdit *edit = window.add(make());
            setLimits(edit, minValue, maxValue);
            QVERIFY(window.show());
            QVERIFY(TestWindow::enter(edit));
            if (route < 0)
                edit->setText(input);
            else
                paste(edit, PasteRoute(route), input);
            QCOMPARE(edit->text(), expected);
            edit->end(false);
            QTest::keyClick(edit, Qt::Key_5);
            QCOMPARE(edit->text(), afterKey);
            QVERIFY(window.leave());
            QCOMPARE(edit->Value(), value);
        }
    }

    // Once a paste has put a search key into the field, the rest of it is
    // dropped; a search key after other characters is dropped itself.
    void searchKeyInAPaste_data()
    {
        QTest::addColumn<bool>("reps");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");
        QTest::newRow("numeric, key first") << false << "*5.2" << "*";
        QTest::newRow("numeric, key later") << false << "5!*" << "5";
        QTest::newRow("reps, key first") << true << "!3x10" << "!";
        QTest::newRow("reps, key later") << true << "3x*10" << "3x10";
    }

    void searchKeyInAPaste()
    {
        QFETCH(bool, reps);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        TestWindow window;
        TPGCustomEdit *edit = reps ? static_cast<TPGCustomEdit *>(new TRepsEdit(QStringLiteral("redtTest")))
                                   : new TNumericalEdit(QStringLiteral("numedtTest"));
        window.add(edit);
        edit->SetAllowSearchKeys(true);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));
        paste(edit, PasteRoute::CtrlV, clipboard);
        QCOMPARE(edit->text(), expected);
    }

    void escapeRestoresTheEntryText_data()
    {
        QTest::addColumn<bool>("reps");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");

        QTest::newRow("numeric, typed behind") << false << "12.5" << "7" << "12.57";
        QTest::newRow("numeric, empty at entry") << false << "" << "42" << "42";
        QTest::newRow("reps, typed over") << true << "3x10" << "5" << "5";
    }

    void escapeRestoresTheEntryText()
    {
        QFETCH(bool, reps);
        QFETCH(QString, initial);
        QFETCH(QString, keys);
        QFETCH(QString, typed);

        TestWindow window;
        TPGCustomEdit *edit = reps ? static_cast<TPGCustomEdit *>(new TRepsEdit(QStringLiteral("redtTest")))
                                   : new TNumericalEdit(QStringLiteral("numedtTest"));
        window.add(edit);
        edit->setText(initial);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));
        QCOMPARE(edit->EntryText(), initial);
        if (reps)
            edit->selectAll();
        else
            edit->end(false);
        QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), typed);

        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), initial);
        QCOMPARE(edit->selectedText(), initial);
        if (!reps)
            QCOMPARE(static_cast<TNumericalEdit *>(edit)->IntValue(), initial.isEmpty() ? 0 : 12);
        QVERIFY(window.leave());
        QCOMPARE(edit->Value(), reps || initial.isEmpty() ? initial : QStringLiteral("12.50"));
    }

    void escapeRestoresWhatTheFieldHadAtItsLastEntry()
    {
        TestWindow window;
        auto *edit = window.add(new TNumericalEdit(QStringLiteral("numedtTest")));
        edit->SetNumDecimals(1);
        QVERIFY(window.show());
        QVERIFY(TestWindow::enter(edit));
        QTest::keyClicks(edit, QStringLiteral("5"));
        QVERIFY(window.leave());
        QVERIFY(TestWindow::enter(edit));
        QCOMPARE(edit->EntryText(), QStringLiteral("5.0"));
        edit->end(false);
        QTest::keyClicks(edit, QStringLiteral("5"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QStringLiteral("5.0"));
    }

    void secondEscapeReachesTheDialog()
    {
        QDialog dialog;
        auto *layout = new QVBoxLayout(&dialog);
        auto *edit = new TNumericalEdit(QStringLiteral("numedtTest"), &dialog);
        layout->addWidget(edit);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(TestWindow::enter(edit));
        QTest::keyClicks(edit, QStringLiteral("42"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QString());
        QVERIFY(dialog.isVisible());
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void commitEditsTakesOverTypedText()
    {
        QWidget window;
        auto *panel = new QFrame(&window);
        auto *weight = new TNumericalEdit(QStringLiteral("numedtWeight"), panel);
        weight->SetNumDecimals(1);
        auto *reps = new TRepsEdit(QStringLiteral("redtFree1"), panel);
        reps->SetMinValue(QStringLiteral("1x10"));
        QTest::keyClicks(weight, QStringLiteral("72"));
        QTest::keyClicks(reps, QStringLiteral("3x5"));
        QCOMPARE(weight->text(), QStringLiteral("72"));
        QCOMPARE(reps->text(), QStringLiteral("3x5"));

        TTulloUtilMisc::CommitEdits(&window);
        QCOMPARE(weight->text(), QStringLiteral("72.0"));
        QCOMPARE(weight->FloatValue(), 72.0);
        QCOMPARE(reps->text(), QStringLiteral("3x10"));
    }

    void readOnlyFieldIgnoresInput()
    {
        TNumericalEdit edit;
        edit.setText(QStringLiteral("12"));
        edit.setReadOnly(true);
        QTest::keyClicks(&edit, QStringLiteral("34"));
        QGuiApplication::clipboard()->setText(QStringLiteral("56"));
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit.text(), QStringLiteral("12"));
    }
};

QTEST_MAIN(tst_PGEdit)
#include "tst_PGEdit.moc"
