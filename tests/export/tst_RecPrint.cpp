// The record print: every control kind of a page printed at its place with
// its value, "--" for what is empty, the pictures of check boxes and radio
// buttons; and the "Ändra" page of the main window for a running session and
// a golf round, printed to PDF and read back.

#include "DiaryDatabase.h"
#include "TestDiary.h"
#include "support/ModalWatcher.h"
#include "support/PdfText.h"

#include "app/CorvaleApp.h"
#include "export/GenReportEngine.h"
#include "export/RecPrint.h"
#include "foundation/CompGrid.h"
#include "foundation/Exceptions.h"
#include "foundation/PGEdit.h"
#include "foundation/SettingsFiles.h"
#include "ui/EntryPage.h"
#include "ui/Main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QAtomicInt serial;

// The elements of a band whose text is `text`.
QList<TReportElement> withText(const TRecordBand &band, const QString &text)
{
    QList<TReportElement> found;
    for (const TReportElement &element : band.Elements) {
        if (element.Text == text)
            found.append(element);
    }
    return found;
}

// The element at the top left corner, of the kind.
QList<TReportElement> at(const TRecordBand &band, TReportElement::TKind kind, QPointF topLeft)
{
    QList<TReportElement> found;
    for (const TReportElement &element : band.Elements) {
        if (element.Kind == kind && (element.Rect.topLeft() - topLeft).manhattanLength() < 0.01)
            found.append(element);
    }
    return found;
}

template <class T>
T *place(T *widget, int x, int y, int width, int height)
{
    widget->setGeometry(x, y, width, height);
    return widget;
}

// ---------------------------------------------------------------------------
// The main window on a fresh diary, as in the program.

TCorvaleApp::TOptions options()
{
    TCorvaleApp::TOptions result;
    result.connectionName = QStringLiteral("tst_RecPrint-%1").arg(serial.fetchAndAddRelaxed(1));
    return result;
}

bool install(const TTestFolders &folders)
{
    DiaryDatabase::Create(folders.DataFolder() + QStringLiteral("/Corvale1.gdb"), QStringLiteral(TERNVALL_SCHEMA_FILE));
    auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
    machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
    machine->setValue(QStringLiteral("Database/Location"), folders.DataFolder() + QLatin1Char('/'));
    return true;
}

class TMainWindow
{
public:
    TMainWindow()
        : m_installed(install(m_folders)), m_watcher([this](QWidget *window) { Answer(window); }), m_app(options()),
          m_window(m_app)
    {
        m_window.resize(1000, 760);
        m_window.show();
        QTimer::singleShot(500, [] { QCoreApplication::exit(1); });
        QCoreApplication::exec();
        m_window.activateWindow();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }

    bool Ready() const { return m_installed && m_active && m_app.State() == TCorvaleApp::TState::Open; }
    TfrmMain &Window() { return m_window; }
    template <class T> T *Child(const char *name) { return m_window.findChild<T *>(QLatin1String(name)); }
    void ShowPage(const char *name) { Child<QTabWidget>("pgctrlMain")->setCurrentWidget(Child<QWidget>(name)); }
    void Save()
    {
        if (!m_window.isActiveWindow())
            m_window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_window));
        QTest::keyClick(&m_window, Qt::Key_S, Qt::ControlModifier);
    }

    QStringList messages;

private:
    void Answer(QWidget *window)
    {
        if (window->objectName() != QLatin1String("frmMessage"))
            return;
        messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
        window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    }

    TTestFolders m_folders;
    bool m_installed = false;
    TModalWatcher m_watcher;
    TCorvaleApp m_app;
    TfrmMain m_window;
    bool m_active = false;
};

QString pdfOf(TfrmRecordPrint &print, const QString &file)
{
    print.PrintToFile(file);
    QString error;
    const QStringList pages = PdfText::Pages(file, &error);
    if (pages.size() != 1)
        qWarning("%s: %d pages %s", qPrintable(file), int(pages.size()), qPrintable(error));
    return pages.join(QLatin1Char('\f'));
}
}

class tst_RecPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void everyControlKind()
    {
        QWidget page;
        page.resize(600, 500);
        auto *date = place(new QLineEdit(QStringLiteral("2024-05-14"), &page), 80, 5, 100, 22);
        auto *label = place(new QLabel(QStringLiteral("&Datum"), &page), 5, 5, 60, 20);
        label->setBuddy(date);
        place(new QLabel(QStringLiteral("Jag & du"), &page), 5, 30, 60, 20);
        place(new QLabel(QStringLiteral("En mycket lång ledtext"), &page), 5, 55, 30, 20);
        auto *number = place(new TNumericalEdit(&page), 200, 5, 60, 22);
        number->SetNumDecimals(0);
        number->SetValue(QStringLiteral("45"));
        place(new QLineEdit(&page), 280, 5, 60, 22);
        auto *memo = place(new QPlainTextEdit(&page), 5, 80, 200, 60);
        memo->setPlainText(QStringLiteral("rad ett\nrad två & mer"));
        auto *combo = place(new QComboBox(&page), 220, 80, 100, 22);
        combo->addItems({QStringLiteral("Regn"), QStringLiteral("Sol")});
        combo->setCurrentIndex(1);
        auto *ticked = place(new QCheckBox(QStringLiteral("&Använd tabell"), &page), 340, 80, 120, 22);
        ticked->setChecked(true);
        place(new QCheckBox(QStringLiteral("Inomhus"), &page), 340, 105, 120, 22);
        auto *radio = place(new QRadioButton(QStringLiteral("Tävling"), &page), 470, 80, 100, 22);
        radio->setChecked(true);
        auto *group = place(new QGroupBox(QStringLiteral("&Vind"), &page), 5, 150, 150, 120);
        for (const QString &item : {QStringLiteral("Svag"), QStringLiteral("Frisk"), QStringLiteral("Hård")})
            new QRadioButton(item, group);
        group->findChildren<QRadioButton *>().at(1)->setChecked(true);
        auto *panel = place(new QGroupBox(QStringLiteral("Panel"), &page), 170, 150, 150, 80);
        place(new QLineEdit(QStringLiteral("i panelen"), panel), 5, 20, 100, 22);
        place(new QPushButton(QStringLiteral("Spara"), panel), 5, 50, 60, 22);
        auto *list = place(new QListWidget(&page), 340, 150, 100, 80);
        list->addItems({QStringLiteral("Löpning"), QStringLiteral("Cykling")});
        auto *grid = place(new TComplexGrid(&page), 5, 280, 200, 80);
        grid->SetFixedCols(0);
        grid->SetColCount(2);
        grid->SetRowCount(3);
        grid->SetColWidths(0, 60);
        grid->SetColWidths(1, 60);
        grid->SetCells(0, 0, QStringLiteral("Namn"));
        grid->SetCells(1, 0, QStringLiteral("Andel"));
        grid->SetCells(0, 1, QStringLiteral("Låg"));
        grid->SetCells(1, 1, QStringLiteral("60"));
        grid->SetCells(0, 2, QStringLiteral("Hög"));
        auto *table = place(new QTableWidget(2, 2, &page), 220, 280, 150, 80);
        table->horizontalHeader()->hide();
        table->verticalHeader()->hide();
        table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Hål nr")));
        table->setItem(1, 1, new QTableWidgetItem(QStringLiteral("4")));
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        auto *picture = place(new QLabel(&page), 400, 280, 32, 32);
        picture->setPixmap(pixmap);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto *dateEdit = place(new QDateEdit(QDate(2024, 5, 14), &page), 450, 280, 100, 22);
        dateEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        place(new QLineEdit(QStringLiteral("dolt"), &page), 450, 320, 100, 22)->hide();
        auto *scroll = place(new QScrollArea(&page), 5, 380, 200, 60);
        auto *content = new QWidget;
        content->resize(180, 300);
        place(new QLineEdit(QStringLiteral("längst ned"), content), 0, 250, 100, 22);
        scroll->setWidget(content);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        scroll->verticalScrollBar()->setValue(100);

        const TRecordBand band = RecordBandOf(&page);
        using K = TReportElement::TKind;

        // Labels: underlined Arial 8 pt at their place shifted by 10; the
        // mnemonic goes, a label without a buddy shows its "&".
        const QList<TReportElement> datum = withText(band, QStringLiteral("Datum"));
        QCOMPARE(datum.size(), 1);
        QCOMPARE(datum.constFirst().Kind, K::Label);
        QCOMPARE(datum.constFirst().Rect.topLeft(), QPointF(15, 15));
        QVERIFY(datum.constFirst().Font.Underline);
        QCOMPARE(datum.constFirst().Font.PointSize, 8.0);
        QCOMPARE(datum.constFirst().Font.Family, QStringLiteral("Arial"));
        QCOMPARE(withText(band, QStringLiteral("Jag & du")).size(), 1);
        QCOMPARE(withText(band, QStringLiteral("En mycket lång ledtext")).constFirst().Rect.width(), 30.0);
        // Edits 5 lower than the control; a numeric edit's text ends at its
        // right edge; an empty edit prints "--".
        QCOMPARE(withText(band, QStringLiteral("2024-05-14")).size(), 2);
        QCOMPARE(at(band, K::Text, QPointF(90, 20)).constFirst().Text, QStringLiteral("2024-05-14"));
        const TReportElement numeric = withText(band, QStringLiteral("45")).constFirst();
        QCOMPARE(numeric.Rect.topLeft(), QPointF(210, 20));
        QCOMPARE(numeric.Rect.right(), 270.0);
        QCOMPARE(numeric.Align, TReportAlign::Right);
        QCOMPARE(at(band, K::Text, QPointF(290, 20)).constFirst().Text, QStringLiteral("--"));
        // A memo's lines, as typed ("&" is the user's text).
        const TReportElement memoText = withText(band, QStringLiteral("rad ett\nrad två & mer")).constFirst();
        QCOMPARE(memoText.Rect, QRectF(15, 90, 200, 60));
        QVERIFY(memoText.WordWrap);
        QCOMPARE(withText(band, QStringLiteral("Sol")).size(), 1);
        // Check boxes and radio buttons: the picture at the left, the caption 20 to the right.
        QCOMPARE(at(band, K::CheckBox, QPointF(350, 90)).constFirst().Checked, true);
        QCOMPARE(at(band, K::CheckBox, QPointF(350, 115)).constFirst().Checked, false);
        QCOMPARE(withText(band, QStringLiteral("Använd tabell")).constFirst().Rect.left(), 370.0);
        QCOMPARE(at(band, K::Round, QPointF(480, 90)).constFirst().Checked, true);
        QCOMPARE(withText(band, QStringLiteral("Tävling")).constFirst().Rect.left(), 500.0);
        // A radio group: its caption, then item i at top + height / 4 * (i + 1).
        QCOMPARE(withText(band, QStringLiteral("Vind")).constFirst().Rect.topLeft(), QPointF(35, 160));
        const QStringList winds{QStringLiteral("Svag"), QStringLiteral("Frisk"), QStringLiteral("Hård")};
        for (int i = 0; i < 3; ++i) {
            const double top = 160 + 120.0 / 4 * (i + 1);
            const QList<TReportElement> round = at(band, K::Round, QPointF(25, top));
            QCOMPARE(round.size(), 1);
            QCOMPARE(round.constFirst().Checked, i == 1);
            QCOMPARE(withText(band, winds.at(i)).constFirst().Rect.top(), top);
        }
        // A group box of other controls is entered; buttons print nothing.
        QCOMPARE(withText(band, QStringLiteral("i panelen")).constFirst().Rect.topLeft(), QPointF(185, 185));
        QVERIFY(withText(band, QStringLiteral("Spara")).isEmpty());
        QVERIFY(withText(band, QStringLiteral("Panel")).isEmpty());
        QCOMPARE(withText(band, QStringLiteral("Löpning\nCykling")).size(), 1);
        // Grids: every cell at the columns' widths and the rows' heights.
        const TReportElement name = withText(band, QStringLiteral("Namn")).constFirst();
        const TReportElement share = withText(band, QStringLiteral("60")).constFirst();
        QCOMPARE(share.Rect.left() - name.Rect.left(), 60.0);
        QCOMPARE(share.Rect.top() - name.Rect.top(), double(grid->RowHeights(0)));
        QCOMPARE(withText(band, QStringLiteral("Hög")).size(), 1);
        QCOMPARE(withText(band, QStringLiteral("Hål nr")).size(), 1);
        QCOMPARE(withText(band, QStringLiteral("4")).size(), 1);
        int dashes = 0;
        for (const TReportElement &element : band.Elements)
            dashes += element.Text == QLatin1String("--") ? 1 : 0;
        QCOMPARE(dashes, 1 + 1 + 2); // the empty edit, the empty grid cell, the two empty table cells
        // The picture at its place and size, the date picker's text.
        const QList<TReportElement> pictures = at(band, K::Picture, QPointF(410, 290));
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures.constFirst().Rect.size(), QSizeF(16, 16));
        QCOMPARE(band.Pictures.at(pictures.constFirst().Picture).pixelColor(3, 3), QColor(Qt::red));
        QCOMPARE(withText(band, QStringLiteral("2024-05-14")).size(), 2);
        // Hidden controls are not printed; a scrolled box prints whole.
        QVERIFY(withText(band, QStringLiteral("dolt")).isEmpty());
        const TReportElement bottom = withText(band, QStringLiteral("längst ned")).constFirst();
        QCOMPARE(bottom.Rect.top(), 10 + 380 + scroll->viewport()->y() + 250 + 5.0);
        // The band is the page's height + 5, or what it holds.
        QCOMPARE(band.Size.width(), 600.0);
        QVERIFY(band.Size.height() >= 505.0);
    }

    void layoutFollowsThePageWidth()
    {
        QWidget page;
        TfrmRecordPrint print;
        page.resize(650, 300);
        print.PrepareRecord(&page, QStringLiteral("Smal"));
        QVERIFY(!print.Geometry().Wide);
        page.resize(651, 300);
        print.PrepareRecord(&page, QStringLiteral("Bred"));
        QVERIFY(print.Geometry().Wide);
    }

    void errors()
    {
        TfrmRecordPrint print;
        try {
            print.PrepareRecord(nullptr, QStringLiteral("x"));
            QFAIL("no error");
        } catch (const EReportError &e) {
            QCOMPARE(e.Message(), QStringLiteral("RecPrint 01"));
        }
        try {
            print.PrintToFile(m_dir.filePath(QStringLiteral("none.pdf")));
            QFAIL("no error");
        } catch (const EReportError &e) {
            QCOMPARE(e.Message(), QStringLiteral("RecPrint 02"));
        }
    }

    void editPageOfARunningSession()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.ShowPage("tshNew");
        w.Window().NewPage()->SelectActivity(QStringLiteral("Löpning"));
        w.Child<QComboBox>("cmbbxNewLocation")->setEditText(QStringLiteral("Slottskogen"));
        w.Child<TNumericalEdit>("numedtNewTDTTime")->SetValue(QStringLiteral("45.30"));
        w.Child<TNumericalEdit>("numedtNewTDTDist")->SetValue(QStringLiteral("10"));
        w.Child<QPlainTextEdit>("moNewTDTComment")->setPlainText(QStringLiteral("Lätt & skönt"));
        w.Save();
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(QLatin1Char('\n'))));
        w.ShowPage("tshEdit");
        QCOMPARE(w.Window().EditPage()->ActivityName(), QStringLiteral("Löpning"));

        TfrmRecordPrint print;
        print.PrepareRecord(w.Window().EditPage(), w.Window().EditPage()->ActivityName());
        const QString text = pdfOf(print, m_dir.filePath(QStringLiteral("run.pdf")));
        for (const QString &expected :
             {QStringLiteral("Löpning"), QStringLiteral("Sida: 1"), QStringLiteral("Tid: "), QStringLiteral("Datum"),
              QStringLiteral("Plats"), QStringLiteral("Slottskogen"), QStringLiteral("45.30"), QStringLiteral("10.00"),
              QStringLiteral("Tid (min)"), QStringLiteral("Distans (km)"), QStringLiteral("Lätt & skönt")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in:\n") + text));
        // Speed and kilometre time are derived and shown.
        QVERIFY2(text.contains(QStringLiteral("13.19")), qPrintable(text));
        // The weight, the pulses and the calories were left empty.
        const QRegularExpression weight(QStringLiteral("Vikt \\(kg\\)\\s+--"));
        QVERIFY2(text.contains(weight), qPrintable(text));
        QVERIFY(text.count(QStringLiteral("--")) >= 5);
        // The mnemonics of the captions do not show.
        QVERIFY(!text.contains(QLatin1Char('&') + QStringLiteral("Datum")));
    }

    void editPageOfAGolfRound()
    {
        TMainWindow w;
        QVERIFY(w.Ready());
        w.ShowPage("tshNew");
        w.Window().NewPage()->SelectActivity(QStringLiteral("Golf"));
        w.Child<QComboBox>("cmbbxNewLocation")->setEditText(QStringLiteral("Delsjö GK"));
        auto *useCard = w.Child<QCheckBox>("chkbxNewGolfUseGrid");
        useCard->setChecked(false);
        w.Child<TNumericalEdit>("numedtNewGolfPar")->SetValue(QStringLiteral("72"));
        w.Child<TNumericalEdit>("numedtNewGolfStroke")->SetValue(QStringLiteral("95"));
        w.Child<TNumericalEdit>("numedtNewGolfPutt")->SetValue(QStringLiteral("36"));
        w.Save();
        QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(QLatin1Char('\n'))));
        w.ShowPage("tshEdit");
        QCOMPARE(w.Window().EditPage()->ActivityName(), QStringLiteral("Golf"));
        QVERIFY(!w.Child<QCheckBox>("chkbxEditGolfUseGrid")->isChecked());

        TfrmRecordPrint print;
        print.PrepareRecord(w.Window().EditPage(), w.Window().EditPage()->ActivityName());
        const TRecordBand band = RecordBandOf(w.Window().EditPage());
        bool unticked = false;
        for (const TReportElement &element : band.Elements)
            unticked |= element.Kind == TReportElement::TKind::CheckBox && !element.Checked;
        QVERIFY(unticked);
        const QString text = pdfOf(print, m_dir.filePath(QStringLiteral("golf.pdf")));
        for (const QString &expected : {QStringLiteral("Golf"), QStringLiteral("Delsjö GK"), QStringLiteral("Par"),
                                        QStringLiteral("72"), QStringLiteral("95"), QStringLiteral("36"),
                                        QStringLiteral("Använd tabell"), QStringLiteral("Hål nr"), QStringLiteral("Puttar")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in:\n") + text));
        // The empty card and fields print "--".
        QVERIFY2(text.count(QStringLiteral("--")) >= 18 * 4, qPrintable(text));
        // The time-and-distance panel is hidden on a golf round.
        QVERIFY(!text.contains(QStringLiteral("Kilometertid")));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_RecPrint)
#include "tst_RecPrint.moc"
