// The preview window on a list of several pages: the page buttons and
// their enabling, the status line, the keys (the window's before its
// controls'), the zoom list and the typed zoom held within 1 to 300, and
// showing a report modally.

#include "support/ModalWatcher.h"

#include "export/GenReport.h"
#include "export/GenReportEngine.h"
#include "export/Preview.h"
#include "foundation/CompGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace
{
// A list of `rows` rows that the list print puts on rows / 50 pages.
std::unique_ptr<TComplexGrid> listOf(int rows)
{
    auto grid = std::make_unique<TComplexGrid>();
    grid->SetFixedCols(0);
    grid->SetColCount(2);
    grid->SetRowCount(rows + 1);
    grid->SetCells(0, 0, QStringLiteral("Datum"));
    grid->SetCells(1, 0, QStringLiteral("Plats"));
    for (int row = 1; row <= rows; ++row) {
        grid->SetCells(0, row, QStringLiteral("2024-01-01"));
        grid->SetCells(1, row, QStringLiteral("Plats %1").arg(row));
    }
    return grid;
}

struct TPreviewFixture
{
    explicit TPreviewFixture(int rows) : grid(listOf(rows))
    {
        print.PrepareList(grid.get(), QStringLiteral("Förhandsgranskning"), false);
        report = print.StartReport("03");
        preview.resize(800, 600);
        preview.SetReport(report.get());
        preview.show();
        preview.activateWindow();
        active = QTest::qWaitForWindowActive(&preview);
    }

    template <class T> T *Child(const char *name) { return preview.findChild<T *>(QLatin1String(name)); }
    bool Enabled(const char *button) { return Child<QToolButton>(button)->isEnabled(); }
    QString Buttons()
    {
        QString state;
        for (const char *name : {"sbtnFirst", "sbtnPrev", "sbtnNext", "sbtnLast"})
            state += Enabled(name) ? QLatin1Char('1') : QLatin1Char('0');
        return state;
    }
    // The zoom that fits the page in the view, less 3.
    int FitZoom()
    {
        const QSize room = Child<QScrollArea>("qrprvCtrl")->viewport()->size();
        const double width = 210.0 / 25.4 * 96.0, height = 297.0 / 25.4 * 96.0;
        return int(std::floor(std::min(room.width() / width, room.height() / height) * 100.0)) - 3;
    }

    std::unique_ptr<TComplexGrid> grid;
    TfrmPrint print;
    std::unique_ptr<TReportDocument> report;
    TfrmPreview preview;
    bool active = false;
};
}

class tst_Preview : public QObject
{
    Q_OBJECT

private slots:
    void controls()
    {
        TfrmPreview preview;
        QCOMPARE(preview.windowTitle(), QStringLiteral("Förhandsgranska"));
        auto *zoom = preview.findChild<QComboBox *>(QStringLiteral("cmbbxZoom"));
        QStringList items;
        for (int i = 0; i < zoom->count(); ++i)
            items.append(zoom->itemText(i));
        QCOMPARE(items, QStringList({QStringLiteral("Anpassa till sidan"), QStringLiteral("25"), QStringLiteral("50"),
                                     QStringLiteral("75"), QStringLiteral("80"), QStringLiteral("90"), QStringLiteral("100"),
                                     QStringLiteral("125"), QStringLiteral("150"), QStringLiteral("200"), QStringLiteral("250"),
                                     QStringLiteral("300")}));
        // Until a report is there, nothing can be done but waiting.
        QVERIFY(!preview.findChild<QPushButton *>(QStringLiteral("btnClose"))->isEnabled());
        QCOMPARE(preview.PageCount(), 0);
        QVERIFY(!(preview.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(preview.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(preview.windowFlags() & Qt::WindowMaximizeButtonHint);
    }

    void pageButtonsAndStatus()
    {
        TPreviewFixture f(200); // 4 pages of 50
        QVERIFY(f.active);
        QCOMPARE(f.preview.PageCount(), 4);
        QVERIFY(f.Child<QPushButton>("btnClose")->isEnabled());
        QCOMPARE(f.preview.PageNumber(), 1);
        QCOMPARE(f.Child<QLabel>("sbrPreview")->text(), QStringLiteral("Sida 1 av 4"));
        QCOMPARE(f.Buttons(), QStringLiteral("0011"));

        QTest::mouseClick(f.Child<QToolButton>("sbtnNext"), Qt::LeftButton);
        QCOMPARE(f.preview.PageNumber(), 2);
        QCOMPARE(f.preview.StatusText(), QStringLiteral("Sida 2 av 4"));
        QCOMPARE(f.Buttons(), QStringLiteral("1111"));
        QTest::mouseClick(f.Child<QToolButton>("sbtnLast"), Qt::LeftButton);
        QCOMPARE(f.preview.PageNumber(), 4);
        QCOMPARE(f.Buttons(), QStringLiteral("1100"));
        QTest::mouseClick(f.Child<QToolButton>("sbtnPrev"), Qt::LeftButton);
        QCOMPARE(f.preview.StatusText(), QStringLiteral("Sida 3 av 4"));
        QTest::mouseClick(f.Child<QToolButton>("sbtnFirst"), Qt::LeftButton);
        QCOMPARE(f.preview.PageNumber(), 1);

        // A report of one page has nowhere to go.
        TPreviewFixture single(10);
        QCOMPARE(single.preview.StatusText(), QStringLiteral("Sida 1 av 1"));
        QCOMPARE(single.Buttons(), QStringLiteral("0000"));
    }

    void keys_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("page");
        QTest::newRow("Page Down") << 1 << int(Qt::Key_PageDown) << int(Qt::NoModifier) << 2;
        QTest::newRow("Page Down on the last") << 4 << int(Qt::Key_PageDown) << int(Qt::NoModifier) << 4;
        QTest::newRow("Page Up") << 3 << int(Qt::Key_PageUp) << int(Qt::NoModifier) << 2;
        QTest::newRow("Page Up on the first") << 1 << int(Qt::Key_PageUp) << int(Qt::NoModifier) << 1;
        QTest::newRow("Home") << 3 << int(Qt::Key_Home) << int(Qt::NoModifier) << 1;
        QTest::newRow("End") << 2 << int(Qt::Key_End) << int(Qt::NoModifier) << 4;
        QTest::newRow("Ctrl+Page Up shows the last") << 2 << int(Qt::Key_PageUp) << int(Qt::ControlModifier) << 4;
        QTest::newRow("Ctrl+Page Down shows the first") << 3 << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << 1;
    }
    void keys()
    {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, page);
        TPreviewFixture f(200);
        QVERIFY(f.active);
        // The window sees the keys first, wherever the focus is.
        for (QWidget *focus : {static_cast<QWidget *>(f.Child<QScrollArea>("qrprvCtrl")),
                               static_cast<QWidget *>(f.Child<QComboBox>("cmbbxZoom"))}) {
            focus->setFocus();
            f.preview.FirstPage();
            for (int i = 1; i < start; ++i)
                f.preview.NextPage();
            QCOMPARE(f.preview.PageNumber(), start);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QCOMPARE(f.preview.PageNumber(), page);
            QCOMPARE(f.preview.StatusText(), QStringLiteral("Sida %1 av 4").arg(page));
        }
    }

    void escapeClosesAndTheNextShowStartsOnTheFirstPage()
    {
        TPreviewFixture f(200);
        QVERIFY(f.active);
        f.preview.LastPage();
        QTest::keyClick(f.Child<QComboBox>("cmbbxZoom"), Qt::Key_Escape);
        QVERIFY(!f.preview.isVisible());
        QCOMPARE(f.preview.PageNumber(), 1);
    }

    void zoom()
    {
        TPreviewFixture f(200);
        QVERIFY(f.active);
        auto *zoom = f.Child<QComboBox>("cmbbxZoom");
        // Shown, the page fits the window less 3 percent.
        QCOMPARE(zoom->currentIndex(), 0);
        QVERIFY(f.preview.FitsPage());
        QCOMPARE(f.preview.Zoom(), f.FitZoom());

        const auto type = [&](const QString &text) {
            zoom->lineEdit()->selectAll();
            QTest::keyClicks(zoom, text);
            QTest::keyClick(zoom, Qt::Key_Return);
        };
        type(QStringLiteral("500"));
        QCOMPARE(f.preview.Zoom(), 300);
        QCOMPARE(zoom->currentText(), QStringLiteral("300"));
        QVERIFY(!f.preview.FitsPage());
        QVERIFY(f.preview.isVisible()); // Enter is the zoom's, not the window's
        type(QStringLiteral("0"));
        QCOMPARE(f.preview.Zoom(), 1);
        // At most three characters are typed; no list item completes them.
        type(QStringLiteral("1234"));
        QCOMPARE(zoom->currentText(), QStringLiteral("123"));
        QCOMPARE(f.preview.Zoom(), 123);
        type(QStringLiteral("12"));
        QCOMPARE(f.preview.Zoom(), 12);
        type(QStringLiteral("42"));
        QCOMPARE(f.preview.Zoom(), 42);
        QCOMPARE(f.Child<QWidget>("qrprvPage")->width(), int(std::lround(210.0 / 25.4 * 96.0 * 0.42)));
        type(QStringLiteral("4x"));
        QVERIFY(f.preview.FitsPage());
        QCOMPARE(zoom->currentIndex(), 0);
        QCOMPARE(zoom->currentText(), QStringLiteral("Anpassa till sidan"));
        QCOMPARE(f.preview.Zoom(), f.FitZoom());

        // Items of the list set their percentage; item 0 fits again.
        zoom->setCurrentIndex(7);
        emit zoom->activated(7);
        QCOMPARE(f.preview.Zoom(), 125);
        f.preview.resize(500, 400);
        QTRY_COMPARE(f.Child<QScrollArea>("qrprvCtrl")->viewport()->width() < 500, true);
        QCOMPARE(f.preview.Zoom(), 125);
        zoom->setCurrentIndex(0);
        emit zoom->activated(0);
        QCOMPARE(f.preview.Zoom(), f.FitZoom());
        // A page that fits follows the window's size.
        f.preview.resize(1000, 900);
        QTRY_COMPARE(f.preview.Zoom(), f.FitZoom());
    }

    void showReportIsModalAndMaximised()
    {
        auto grid = listOf(120);
        TfrmPrint print;
        print.PrepareList(grid.get(), QStringLiteral("Modal"), false);
        const std::unique_ptr<TReportDocument> report = print.StartReport("03");
        TfrmPreview preview;
        bool modal = false, maximised = false;
        QString status;
        bool busyAfterPaint = true;
        TModalWatcher watcher([&](QWidget *window) {
            modal = window == &preview && window->isModal();
            maximised = window->windowState() & Qt::WindowMaximized;
            // The busy cursor is up until the first page has been painted.
            QTest::qWait(50);
            busyAfterPaint = QGuiApplication::overrideCursor() != nullptr;
            QTest::keyClick(window, Qt::Key_End);
            status = preview.StatusText();
            QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnClose")), Qt::LeftButton);
        });
        preview.ShowReport(*report);
        QVERIFY(modal);
        QVERIFY(maximised);
        QVERIFY(!busyAfterPaint);
        QCOMPARE(status, QStringLiteral("Sida 3 av 3"));
        QCOMPARE(watcher.LeftOpen(), 0);
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(tst_Preview)
#include "tst_Preview.moc"
