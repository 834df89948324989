#include "foundation/CorvaleExceptions.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "support/ModalWatcher.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <stdexcept>

Q_DECLARE_METATYPE(TMessageKind)
Q_DECLARE_METATYPE(TMessageButtons)
Q_DECLARE_METATYPE(QStyle::StandardPixmap)
Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(std::function<void()>)

namespace {

const TMessageButtons YesNo = TMessageButton::Yes | TMessageButton::No;
const TMessageButtons YesNoCancel = YesNo | TMessageButton::Cancel;
const TMessageButtons AllFour = YesNoCancel | TMessageButton::OK;

// The buttons of a message box, left to right.
QList<QPushButton *> ButtonsOf(QWidget *box)
{
    QList<QPushButton *> buttons = box->findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(), [](auto *a, auto *b) { return a->x() < b->x(); });
    return buttons;
}

// What the guard's box showed.
struct TGuardBox
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

TModalWatcher::TAction RecordGuardBox(TGuardBox &seen)
{
    return [&seen](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box)
            return;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            seen.buttons << button->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::Ok)->click();
    };
}

// Receives an event whose handler throws what the test asks for, the way a
// window's handler would without a guard of its own.
class TFaultyReceiver : public QObject
{
public:
    std::function<void()> fault;
    int handled = 0;

protected:
    void customEvent(QEvent *) override
    {
        ++handled;
        fault();
    }
};

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void clickedButton_data();
    void clickedButton();
    void closingGivesCancel_data();
    void closingGivesCancel();
    void focusAndTabOrder_data();
    void focusAndTabOrder();
    void buttonPositions_data();
    void buttonPositions();
    void kinds_data();
    void kinds();
    void longTextIsSeenWhole_data();
    void longTextIsSeenWhole();

    void unhandledMessageText_data();
    void unhandledMessageText();
    void guardShowsException_data();
    void guardShowsException();
    void guardIgnoresSilentAbort();
    void eventLoopGoesOnAfterFault();
};

void TestMessageBox::keys_data()
{
    QTest::addColumn<TMessageButtons>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("result"); // 0: the key leaves the box open

    const int none = Qt::NoModifier;
    const int alt = Qt::AltModifier;
    const TMessageButtons ok = TMessageButton::OK;
    QTest::newRow("escape, yes and no") << YesNo << int(Qt::Key_Escape) << none << int(TMessageResult::No);
    QTest::newRow("escape, OK only") << ok << int(Qt::Key_Escape) << none << int(TMessageResult::OK);
    QTest::newRow("escape, yes no cancel") << YesNoCancel << int(Qt::Key_Escape) << none << int(TMessageResult::Cancel);
    QTest::newRow("escape, OK and cancel") << (ok | TMessageButton::Cancel) << int(Qt::Key_Escape) << none
                                           << int(TMessageResult::Cancel);
    QTest::newRow("escape, cancel only") << TMessageButtons(TMessageButton::Cancel) << int(Qt::Key_Escape) << none
                                         << int(TMessageResult::Cancel);
    QTest::newRow("escape, all four") << AllFour << int(Qt::Key_Escape) << none << int(TMessageResult::Cancel);
    QTest::newRow("escape ignored, yes only") << TMessageButtons(TMessageButton::Yes) << int(Qt::Key_Escape) << none
                                              << 0;
    QTest::newRow("escape ignored, yes and OK") << (ok | TMessageButton::Yes) << int(Qt::Key_Escape) << none << 0;
    QTest::newRow("escape ignored, yes no OK") << (YesNo | TMessageButton::OK) << int(Qt::Key_Escape) << none << 0;
    QTest::newRow("enter presses the focused no") << YesNo << int(Qt::Key_Return) << none << int(TMessageResult::No);
    QTest::newRow("enter presses the focused cancel") << AllFour << int(Qt::Key_Return) << none
                                                      << int(TMessageResult::Cancel);
    QTest::newRow("alt+J, yes and no") << YesNo << int(Qt::Key_J) << alt << int(TMessageResult::Yes);
    QTest::newRow("alt+O, all four") << AllFour << int(Qt::Key_O) << alt << int(TMessageResult::OK);
    QTest::newRow("alt+A, all four") << AllFour << int(Qt::Key_A) << alt << int(TMessageResult::Cancel);
}

void TestMessageBox::keys()
{
    QFETCH(TMessageButtons, buttons);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, result);

    TModalWatcher watcher([&](QWidget *box) {
        QWidget *target = box->focusWidget() ? box->focusWidget() : box;
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // A mnemonic presses its button with a short animation. A key that
        // does nothing leaves the box open; the watcher then closes it.
        [[maybe_unused]] const bool answered = QTest::qWaitFor([box] { return !box->isVisible(); }, 500);
    });
    const quint16 answer = ShowMessageBox(QStringLiteral("Spara ändringarna?"), TMessageKind::Question, buttons);

    QCOMPARE(watcher.Shown(), 1);
    QCOMPARE(int(answer), result);
    QCOMPARE(watcher.LeftOpen(), result == 0 ? 1 : 0);
}

void TestMessageBox::clickedButton_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("result");

    QTest::newRow("yes") << "btnYes" << "&Ja" << int(TMessageResult::Yes);
    QTest::newRow("no") << "btnNo" << "&Nej" << int(TMessageResult::No);
    QTest::newRow("OK") << "btnOK" << "&Ok" << int(TMessageResult::OK);
    QTest::newRow("cancel") << "btnCancel" << "&Avbryt" << int(TMessageResult::Cancel);
}

void TestMessageBox::clickedButton()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, result);

    QString seenCaption;
    TModalWatcher watcher([&](QWidget *box) {
        if (auto *button = box->findChild<QPushButton *>(name)) {
            seenCaption = button->text();
            QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    const quint16 answer = ShowMessageBox(QStringLiteral("Text"), TMessageKind::Question, AllFour);

    QCOMPARE(seenCaption, caption);
    QCOMPARE(int(answer), result);
    QCOMPARE(watcher.LeftOpen(), 0);
}

void TestMessageBox::closingGivesCancel_data()
{
    QTest::addColumn<TMessageButtons>("buttons");

    QTest::newRow("yes and no") << YesNo;
    QTest::newRow("OK only") << TMessageButtons(TMessageButton::OK);
    QTest::newRow("all four") << AllFour;
}

void TestMessageBox::closingGivesCancel()
{
    QFETCH(TMessageButtons, buttons);

    TModalWatcher watcher([](QWidget *box) { box->close(); });
    const quint16 answer = ShowMessageBox(QStringLiteral("Text"), TMessageKind::Warning, buttons);

    QCOMPARE(int(answer), int(TMessageResult::Cancel));
    QCOMPARE(watcher.LeftOpen(), 0);
}

void TestMessageBox::focusAndTabOrder_data()
{
    QTest::addColumn<TMessageButtons>("buttons");
    QTest::addColumn<QStringList>("order"); // focused first, then after each Tab

    QTest::newRow("yes and no") << YesNo << QStringList{"btnNo", "btnYes", "btnNo"};
    QTest::newRow("OK only") << TMessageButtons(TMessageButton::OK) << QStringList{"btnOK", "btnOK"};
    QTest::newRow("yes no cancel") << YesNoCancel << QStringList{"btnCancel", "btnNo", "btnYes", "btnCancel"};
    QTest::newRow("all four") << AllFour << QStringList{"btnCancel", "btnOK", "btnNo", "btnYes", "btnCancel"};
}

void TestMessageBox::focusAndTabOrder()
{
    QFETCH(TMessageButtons, buttons);
    QFETCH(QStringList, order);

    QStringList seen;
    TModalWatcher watcher([&](QWidget *box) {
        for (qsizetype i = 0; i < order.size(); ++i) {
            QWidget *focused = box->focusWidget();
            if (!focused)
                return;
            seen << focused->objectName();
            if (i + 1 < order.size())
                QTest::keyClick(focused, Qt::Key_Tab);
        }
    });
    ShowMessageBox(QStringLiteral("Text"), TMessageKind::Question, buttons);

    QCOMPARE(seen, order);
}

void TestMessageBox::buttonPositions_data()
{
    QTest::addColumn<TMessageButtons>("buttons");
    QTest::addColumn<QStringList>("names"); // left to right
    QTest::addColumn<QList<int>>("lefts");
    QTest::addColumn<int>("width");

    // Gap (343 - 75n) div (n + 1), at least 10; four buttons need 4 * 86.
    QTest::newRow("one") << TMessageButtons(TMessageButton::OK) << QStringList{"btnOK"} << QList<int>{134} << 343;
    QTest::newRow("two") << YesNo << QStringList{"btnYes", "btnNo"} << QList<int>{64, 203} << 343;
    QTest::newRow("three") << YesNoCancel << QStringList{"btnYes", "btnNo", "btnCancel"} << QList<int>{29, 133, 237}
                           << 343;
    QTest::newRow("four") << AllFour << QStringList{"btnYes", "btnNo", "btnOK", "btnCancel"}
                          << QList<int>{10, 95, 180, 265} << 344;
}

void TestMessageBox::buttonPositions()
{
    QFETCH(TMessageButtons, buttons);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, lefts);
    QFETCH(int, width);

    QStringList seenNames;
    QList<int> seenLefts;
    QList<QRect> seenRects;
    QSize seenSize;
    TModalWatcher watcher([&](QWidget *box) {
        seenSize = box->size();
        for (QPushButton *button : ButtonsOf(box)) {
            seenNames << button->objectName();
            seenLefts << button->x();
            seenRects << button->geometry();
        }
    });
    ShowMessageBox(QStringLiteral("Text"), TMessageKind::Question, buttons);

    QCOMPARE(seenNames, names);
    QCOMPARE(seenLefts, lefts);
    QCOMPARE(seenSize, QSize(width, 130));
    for (const QRect &rect : std::as_const(seenRects)) {
        QCOMPARE(rect.width(), 75);
        QCOMPARE(rect.top(), 130 - 36);
    }
}

void TestMessageBox::kinds_data()
{
    QTest::addColumn<TMessageKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStyle::StandardPixmap>("icon");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("showsCode");

    QTest::newRow("warning") << TMessageKind::Warning << "Varning" << QStyle::SP_MessageBoxWarning << 130 << false;
    QTest::newRow("error") << TMessageKind::Error << "Fel" << QStyle::SP_MessageBoxCritical << 130 << false;
    QTest::newRow("information") << TMessageKind::Information << "Information" << QStyle::SP_MessageBoxInformation
                                 << 130 << false;
    QTest::newRow("question") << TMessageKind::Question << "Fråga" << QStyle::SP_MessageBoxQuestion << 130 << false;
    QTest::newRow("internal error") << TMessageKind::InternalError << "Internt fel" << QStyle::SP_MessageBoxCritical
                                    << 155 << true;
}

void TestMessageBox::kinds()
{
    QFETCH(TMessageKind, kind);
    QFETCH(QString, caption);
    QFETCH(QStyle::StandardPixmap, icon);
    QFETCH(int, height);
    QFETCH(bool, showsCode);

    const QString text = QStringLiteral("Ett mycket långt meddelande som inte ryms på en rad i rutan utan måste "
                                        "brytas över flera rader för att kunna läsas.");
    QString seenCaption, seenText, seenCodeCaption, seenCode;
    bool codeVisible = false, hasCodeWidgets = false, iconMatches = false, expectedIconNull = true;
    bool memoReadOnly = false;
    Qt::FocusPolicy memoFocus = Qt::StrongFocus;
    QRect memoRect, codeRect;
    int height_ = 0;
    TModalWatcher watcher([&](QWidget *box) {
        seenCaption = box->windowTitle();
        height_ = box->height();
        if (auto *memo = box->findChild<QPlainTextEdit *>(QStringLiteral("moText"))) {
            seenText = memo->toPlainText();
            memoReadOnly = memo->isReadOnly();
            memoFocus = memo->focusPolicy();
            memoRect = memo->geometry();
        }
        if (auto *img = box->findChild<QLabel *>(QStringLiteral("imgIcon"))) {
            const QImage expected = box->style()->standardIcon(icon, nullptr, box).pixmap(32, 32).toImage();
            expectedIconNull = expected.isNull();
            iconMatches = img->pixmap().toImage() == expected;
        }
        auto *codeCaption = box->findChild<QLabel *>(QStringLiteral("lblCodeCaption"));
        auto *code = box->findChild<QLabel *>(QStringLiteral("lblCode"));
        hasCodeWidgets = codeCaption || code;
        if (codeCaption && code) {
            seenCodeCaption = codeCaption->text();
            seenCode = code->text();
            codeVisible = codeCaption->isVisible() && code->isVisible() && codeCaption->font().bold();
            codeRect = codeCaption->geometry();
        }
    });
    ShowMessageBox(text, kind, TMessageButton::OK, QStringLiteral("CrsrMgt 03"));

    QCOMPARE(seenCaption, caption);
    QCOMPARE(height_, height);
    QCOMPARE(seenText, text);
    QVERIFY(memoReadOnly);
    QCOMPARE(memoFocus, Qt::NoFocus);
    QVERIFY(!expectedIconNull);
    QVERIFY(iconMatches);
    QCOMPARE(hasCodeWidgets, showsCode);
    if (showsCode) {
        QCOMPARE(seenCodeCaption, QStringLiteral("Felkod:"));
        QCOMPARE(seenCode, QStringLiteral("CrsrMgt 03"));
        QVERIFY(codeVisible);
        QVERIFY(!memoRect.intersects(codeRect));
    }
}

void TestMessageBox::longTextIsSeenWhole_data()
{
    QTest::addColumn<TMessageKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("usualSize");

    const QString path = QStringLiteral("/home/karin.andersson/.local/share/Tullo/Corvale/Databases/Corvale1.gdb");
    const QString info = QStringLiteral("Databasfilen ") + path
                         + QStringLiteral(" är skadad eller ingen dagbok. Applikationen kommer nu att avslutas. Info: "
                                          "Error opening database: I/O error during \"read\" operation for file \"")
                         + path + QStringLiteral("\" - File size is less than expected");
    QTest::newRow("short") << TMessageKind::Error << QStringLiteral("Avsluta Ternvall?") << true;
    QTest::newRow("three lines") << TMessageKind::Error
                                 << QStringLiteral("Ett mycket långt meddelande som inte ryms på en rad i rutan utan måste "
                                                   "brytas över flera rader för att kunna läsas.")
                                 << true;
    QTest::newRow("an engine's message after a path") << TMessageKind::Error << info << false;
    QTest::newRow("with a code") << TMessageKind::InternalError << info << false;
    QTest::newRow("many lines") << TMessageKind::Warning << QString(info + QLatin1Char('\n')).repeated(4) << false;
}

void TestMessageBox::longTextIsSeenWhole()
{
    QFETCH(TMessageKind, kind);
    QFETCH(QString, text);
    QFETCH(bool, usualSize);

    QSize size;
    QRect memoRect, codeRect, buttonRect;
    int scrollRange = -1;
    TModalWatcher watcher([&](QWidget *box) {
        size = box->size();
        if (auto *memo = box->findChild<QPlainTextEdit *>(QStringLiteral("moText"))) {
            memoRect = memo->geometry();
            scrollRange = memo->verticalScrollBar()->maximum();
        }
        if (auto *code = box->findChild<QLabel *>(QStringLiteral("lblCodeCaption")))
            codeRect = code->geometry();
        buttonRect = ButtonsOf(box).constFirst()->geometry();
    });
    ShowMessageBox(text, kind, TMessageButton::OK, QStringLiteral("CorvaleApp 01"));

    QCOMPARE(scrollRange, 0);
    const int usualHeight = kind == TMessageKind::InternalError ? 155 : 130;
    if (usualSize) {
        QCOMPARE(size, QSize(343, usualHeight));
        QCOMPARE(memoRect, QRect(64, 8, 265, 82));
    } else {
        QVERIFY(size.width() > 343);
        QVERIFY(size.height() >= usualHeight);
    }
    // The text, the code and the buttons keep to their rows.
    QVERIFY(memoRect.bottom() < buttonRect.top());
    QCOMPARE(buttonRect.top(), size.height() - 36);
    if (kind == TMessageKind::InternalError) {
        QVERIFY(!memoRect.intersects(codeRect));
        QVERIFY(codeRect.bottom() < buttonRect.top());
    }
}

void TestMessageBox::unhandledMessageText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("error id") << "CorvaleApp 01" << "CorvaleApp 01.";
    QTest::newRow("id with detail") << "Classhie 04. Invalid date: 1-2" << "Classhie 04. Invalid date: 1-2.";
    QTest::newRow("ends in full stop") << "Courses 05." << "Courses 05.";
    QTest::newRow("ends in exclamation") << "Klart!" << "Klart!";
    QTest::newRow("ends in parenthesis") << "Sökningen misslyckades (x)" << "Sökningen misslyckades (x)";
    QTest::newRow("ends in hyphen, below") << "Tid-" << "Tid-";
    QTest::newRow("ends in slash, above") << "Tid/" << "Tid/.";
    QTest::newRow("ends in letter outside ASCII") << "Fel på rad å" << "Fel på rad å.";
    QTest::newRow("empty") << "" << "";
}

void TestMessageBox::unhandledMessageText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);

    QCOMPARE(UnhandledMessageText(message), shown);
}

void TestMessageBox::guardShowsException_data()
{
    QTest::addColumn<std::function<void()>>("fault");
    QTest::addColumn<QString>("text");

    QTest::newRow("domain error id") << std::function<void()>([] { throw ECorvaleError("CorvaleApp 01"); })
                                     << "CorvaleApp 01.";
    QTest::newRow("subclass of domain error") << std::function<void()>([] { throw ECourseLapsOrder("CourseCl 06"); })
                                              << "CourseCl 06.";
    QTest::newRow("foundation class") << std::function<void()>([] { throw EObserver("Observer 04"); })
                                      << "Observer 04.";
    QTest::newRow("text ending in exclamation") << std::function<void()>([] { throw EUIError("Klart!"); })
                                                << "Klart!";
    QTest::newRow("standard exception") << std::function<void()>([] { throw std::runtime_error("disk full"); })
                                        << "disk full.";
    QTest::newRow("anything else") << std::function<void()>([] { throw 42; }) << "Okänt fel.";
}

void TestMessageBox::guardShowsException()
{
    QFETCH(std::function<void()>, fault);
    QFETCH(QString, text);

    TGuardBox seen;
    TModalWatcher watcher(RecordGuardBox(seen));
    bool rest = false;
    Guard([&] {
        fault();
        rest = true;
    });

    QCOMPARE(watcher.Shown(), 1);
    QCOMPARE(watcher.LeftOpen(), 0);
    QCOMPARE(seen.caption, QStringLiteral("Ternvall"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.buttons.size(), 1);
    QVERIFY(!rest);
}

void TestMessageBox::guardIgnoresSilentAbort()
{
    TModalWatcher watcher;
    bool before = false;
    Guard([&] {
        before = true;
        Abort();
    });
    QVERIFY(before);

    // Also when it escapes an event handler.
    TFaultyReceiver receiver;
    receiver.fault = [] { Abort(); };
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    QCOMPARE(receiver.handled, 1);

    QCOMPARE(watcher.Shown(), 0);
}

void TestMessageBox::eventLoopGoesOnAfterFault()
{
    TFaultyReceiver faulty;
    faulty.fault = [] { throw ECourses("Courses 05"); };
    TFaultyReceiver healthy;
    healthy.fault = [] {};

    TGuardBox seen;
    TModalWatcher watcher(RecordGuardBox(seen));
    QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&healthy, new QEvent(QEvent::User));
    QCoreApplication::processEvents();

    QCOMPARE(watcher.Shown(), 1);
    QCOMPARE(seen.caption, QStringLiteral("Ternvall"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.text, QStringLiteral("Courses 05."));
    QCOMPARE(faulty.handled, 1);
    QCOMPARE(healthy.handled, 1);
}

// The backstop for events lives in the application object, so the test runs
// under the program's own.
int main(int argc, char *argv[])
{
    TCorvaleApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestMessageBox test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_MessageBox.moc"
