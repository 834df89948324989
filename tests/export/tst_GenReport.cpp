// The list print of a grid, read back from the PDF file it makes: every data
// row once in grid order, the printed columns in grid order with the grid's
// alignment, the header and the page number on every page; the checks and
// messages of the list print; printing without a printer goes to a PDF file
// chosen in a save dialog.

#include "support/ModalWatcher.h"
#include "support/PdfText.h"

#include "export/GenReport.h"
#include "export/GenReportEngine.h"
#include "foundation/CompGrid.h"
#include "foundation/Exceptions.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace
{
// A list like the main window's default columns: date, activity, place,
// weight (two-line title, right-aligned), comment and an untitled key
// column. Each row's comment names the row ("rad 00001"), the key is the
// row number too.
void fillList(TComplexGrid &grid, int rows)
{
    grid.BeginUpdate();
    grid.SetFixedCols(0);
    grid.SetColCount(6);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRows(1);
    const QStringList titles{QStringLiteral("Datum"), QStringLiteral("Aktivitet"), QStringLiteral("Plats"),
                             QStringLiteral("Vikt\r(kg)"), QStringLiteral("Kommentar"), QString()};
    const QList<int> widths{75, 100, 120, 35, 63, 1};
    for (int col = 0; col < titles.size(); ++col) {
        grid.SetCells(col, 0, titles.at(col));
        grid.SetColWidths(col, widths.at(col));
    }
    grid.SetColAlignment(3, TColAlignment::Right);
    grid.SetColAlignment(5, TColAlignment::Right);
    for (int row = 1; row <= rows; ++row) {
        grid.SetCells(0, row, QDate(2020, 1, 1).addDays(row).toString(QStringLiteral("yyyy-MM-dd")));
        grid.SetCells(1, row, row % 2 ? QStringLiteral("Löpning") : QStringLiteral("Cykling"));
        grid.SetCells(2, row, QStringLiteral("Plats%1").arg(row % 7));
        grid.SetCells(3, row, row % 2 ? QStringLiteral("7.5") : QStringLiteral("172.25"));
        grid.SetCells(4, row, QStringLiteral("rad%1").arg(row, 5, 10, QLatin1Char('0')));
        grid.SetCells(5, row, QString::number(row));
    }
    grid.EndUpdate();
}

// The row names ("rad00001") in the order the pages hold them.
QStringList rowNames(const QStringList &pages)
{
    static const QRegularExpression name(QStringLiteral("rad\\d{5}"));
    QStringList names;
    for (const QString &page : pages) {
        for (auto it = name.globalMatch(page); it.hasNext();)
            names.append(it.next().captured(0));
    }
    return names;
}

template <class E>
QString messageOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const E &e) {
        return e.Message();
    }
    return QStringLiteral("<no exception>");
}

// Answers the message boxes and records their texts; the print target and
// save dialogs are answered with the file name (empty: cancelled).
class TAnswers
{
public:
    TAnswers() : m_watcher([this](QWidget *window) { Answer(window); }) {}

    QStringList messages;
    QStringList dialogs;
    QString pdfFile;

private:
    void Answer(QWidget *window)
    {
        dialogs.append(window->objectName());
        if (window->objectName() == QLatin1String("frmMessage")) {
            messages.append(window->findChild<QPlainTextEdit *>(QStringLiteral("moText"))->toPlainText());
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        } else if (window->objectName() == QLatin1String("frmPrintTarget")) {
            // A machine with printers: the PDF file is the last choice.
            auto *printers = window->findChild<QListWidget *>(QStringLiteral("lstbxPrinters"));
            printers->setCurrentRow(printers->count() - 1);
            window->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
        } else if (auto *save = qobject_cast<QFileDialog *>(window)) {
            if (pdfFile.isEmpty()) {
                save->reject();
                return;
            }
            // As the user types it into the file name field.
            auto *name = save->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            name->setText(pdfFile);
            static_cast<QDialog *>(save)->accept();
        }
    }

    TModalWatcher m_watcher;
};
}

class tst_GenReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void pdfHoldsEveryRowOnceInGridOrder()
    {
        TComplexGrid grid;
        const int rows = 3000;
        fillList(grid, rows);
        // The grid order is the printed order: sorted by the comment,
        // descending, the last row comes first.
        TSortRecord byComment;
        byComment.Cols = {4, -1, -1};
        byComment.Directions[0] = TSortDirection::Descending;
        grid.Sort(byComment);

        TfrmPrint print;
        print.PrepareList(&grid, QStringLiteral("Aktiviteter"), false);
        QVERIFY(!print.Geometry().Wide);
        const QString file = m_dir.filePath(QStringLiteral("list.pdf"));
        print.PrintListToFile(file);

        QString error;
        const QStringList pages = PdfText::Pages(file, &error);
        QVERIFY2(!pages.isEmpty(), qPrintable(error));
        QCOMPARE(pages.size(), 62); // 49 rows a page under the two-line title
        QStringList expected;
        for (int row = rows; row >= 1; --row)
            expected.append(QStringLiteral("rad%1").arg(row, 5, 10, QLatin1Char('0')));
        QCOMPARE(rowNames(pages), expected);
        static const QRegularExpression time(QStringLiteral("Tid: \\d{4}-\\d{2}-\\d{2} \\d{1,2}:\\d{2}:\\d{2}"));
        for (int page = 0; page < pages.size(); ++page) {
            const QString &text = pages.at(page);
            QVERIFY2(text.contains(QStringLiteral("Aktiviteter")), qPrintable(QString::number(page)));
            QVERIFY2(text.contains(time), qPrintable(QString::number(page)));
            QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Sida: %1\\b").arg(page + 1))),
                     qPrintable(QString::number(page)));
            for (const QString &title : {QStringLiteral("Datum"), QStringLiteral("Aktivitet"), QStringLiteral("Plats"),
                                         QStringLiteral("Vikt"), QStringLiteral("(kg)"), QStringLiteral("Kommentar")})
                QVERIFY2(text.contains(title), qPrintable(title));
        }
        // The key column is not printed: its numbers would stand after the
        // comment on the row.
        QVERIFY(!pages.constFirst().contains(QRegularExpression(QStringLiteral("rad03000\\s+3000"))));
    }

    void columnsKeepTheGridsOrderAndAlignment()
    {
        TComplexGrid grid;
        fillList(grid, 40);
        TfrmPrint print;
        print.PrepareList(&grid, QStringLiteral("Justering"), false);
        const QString file = m_dir.filePath(QStringLiteral("align.pdf"));
        print.PrintListToFile(file);
        QString error;
        const QList<PdfText::TWord> words = PdfText::Words(file, &error);
        QVERIFY2(!words.isEmpty(), qPrintable(error));

        // Weights end at one edge (right-aligned), places and dates start
        // at one (left-aligned), in the order of the grid's columns.
        QList<double> weightRight, placeLeft, dateLeft, commentLeft;
        for (const PdfText::TWord &word : words) {
            if (word.Text == QLatin1String("7.5") || word.Text == QLatin1String("172.25"))
                weightRight.append(word.XMax);
            else if (word.Text.startsWith(QLatin1String("Plats")) && word.Text.size() == 6)
                placeLeft.append(word.XMin);
            else if (word.Text.startsWith(QLatin1String("2020-")))
                dateLeft.append(word.XMin);
            else if (word.Text.startsWith(QLatin1String("rad")))
                commentLeft.append(word.XMin);
        }
        QCOMPARE(weightRight.size(), 40);
        QCOMPARE(placeLeft.size(), 40);
        const auto spread = [](const QList<double> &values) {
            return *std::max_element(values.cbegin(), values.cend()) - *std::min_element(values.cbegin(), values.cend());
        };
        QVERIFY2(spread(weightRight) < 0.5, qPrintable(QString::number(spread(weightRight))));
        QVERIFY(spread(placeLeft) < 0.5);
        QVERIFY(spread(dateLeft) < 0.5);
        // The short and the long weight start at different places.
        double shortLeft = 0, longLeft = 0;
        for (const PdfText::TWord &word : words) {
            if (word.Text == QLatin1String("7.5"))
                shortLeft = word.XMin;
            else if (word.Text == QLatin1String("172.25"))
                longLeft = word.XMin;
        }
        QVERIFY(shortLeft > longLeft + 3);
        QVERIFY(dateLeft.constFirst() < placeLeft.constFirst());
        QVERIFY(placeLeft.constFirst() < weightRight.constFirst());
        QVERIFY(weightRight.constFirst() < commentLeft.constFirst());
    }

    void emptyColumnsOnlyWhenAsked()
    {
        TComplexGrid grid;
        fillList(grid, 10);
        grid.SetColCount(7);
        grid.SetCells(6, 0, QStringLiteral("Medelpuls"));
        grid.SetColWidths(6, 60);
        for (bool includeEmpty : {false, true}) {
            TfrmPrint print;
            print.PrepareList(&grid, QStringLiteral("Tomma"), includeEmpty);
            const QString file = m_dir.filePath(QStringLiteral("empty%1.pdf").arg(includeEmpty));
            print.PrintListToFile(file);
            const QStringList pages = PdfText::Pages(file);
            QCOMPARE(pages.size(), 1);
            QCOMPARE(pages.constFirst().contains(QStringLiteral("Medelpuls")), includeEmpty);
            QCOMPARE(rowNames(pages).size(), 10);
        }
    }

    void wideListsPrintLandscape()
    {
        TComplexGrid grid;
        fillList(grid, 100);
        grid.SetColWidths(4, 400);
        TfrmPrint print;
        print.PrepareList(&grid, QStringLiteral("Bred"), false);
        QVERIFY(print.Geometry().Wide);
        const QString file = m_dir.filePath(QStringLiteral("wide.pdf"));
        print.PrintListToFile(file);
        const QStringList pages = PdfText::Pages(file);
        QCOMPARE(pages.size(), 4); // 30 rows a page
        QCOMPARE(rowNames(pages).size(), 100);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {file});
        QVERIFY(info.waitForFinished());
        // A4 landscape: 842 x 595 points.
        QVERIFY2(QString::fromLatin1(info.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595"))),
                 "not landscape A4");
    }

    void errorsAndLimits()
    {
        TfrmPrint print;
        QCOMPARE(messageOf<EReportError>([&] { print.PrepareList(nullptr, QStringLiteral("x"), false); }),
                 QStringLiteral("GenReport 01"));
        QCOMPARE(messageOf<EReportError>([&] { print.PrintList(); }), QStringLiteral("GenReport 02"));
        QCOMPARE(messageOf<EReportError>([&] { print.PreviewList(); }), QStringLiteral("GenReport 03"));

        // A grid that is gone counts as none.
        auto *gone = new TComplexGrid;
        fillList(*gone, 3);
        print.PrepareList(gone, QStringLiteral("x"), false);
        delete gone;
        QCOMPARE(messageOf<EReportError>([&] { print.PrintListToFile(m_dir.filePath(QStringLiteral("gone.pdf"))); }),
                 QStringLiteral("GenReport 02"));

        TAnswers answers;
        TComplexGrid grid;
        fillList(grid, 2);
        grid.SetColCount(60);
        QCOMPARE(messageOf<EAbort>([&] { print.PrepareList(&grid, QStringLiteral("x"), false); }),
                 QStringLiteral("Operation aborted"));
        QCOMPARE(answers.messages, QStringList{QStringLiteral("Antalet kolumner > 59")});
        grid.SetColCount(59);
        print.PrepareList(&grid, QStringLiteral("x"), true);

        // A grid that grew past 60 printed columns after it was prepared.
        grid.SetColCount(62);
        for (int col = 6; col < 62; ++col)
            grid.SetCells(col, 0, QStringLiteral("K%1").arg(col));
        QCOMPARE(messageOf<EAbort>([&] { print.PrintListToFile(m_dir.filePath(QStringLiteral("many.pdf"))); }),
                 QStringLiteral("Operation aborted"));
        QCOMPARE(answers.messages.constLast(), QStringLiteral("För många kolumner"));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("many.pdf"))));
    }

    void printingWithoutPrinterWritesThePdfFileChosen()
    {
        TComplexGrid grid;
        fillList(grid, 75);
        TfrmPrint print;
        print.PrepareList(&grid, QStringLiteral("Löpning - Plats3"), false);

        TAnswers answers;
        // Cancelled: nothing is written and nothing is said.
        print.PrintList();
        QVERIFY(answers.messages.isEmpty());

        answers.pdfFile = m_dir.filePath(QStringLiteral("chosen.pdf"));
        print.PrintList();
        QVERIFY(answers.messages.isEmpty());
        if (QPrinterInfo::availablePrinters().isEmpty())
            QCOMPARE(answers.dialogs, QStringList({QStringLiteral("dlgSavePdf"), QStringLiteral("dlgSavePdf")}));
        const QStringList pages = PdfText::Pages(answers.pdfFile);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(rowNames(pages).size(), 75);
        QVERIFY(pages.at(1).contains(QStringLiteral("Löpning - Plats3")));
    }

    void aFileThatCannotBeWrittenIsTold()
    {
        TComplexGrid grid;
        fillList(grid, 5);
        TfrmPrint print;
        print.PrepareList(&grid, QStringLiteral("x"), false);
        TAnswers answers;
        const QString file = m_dir.filePath(QStringLiteral("no-such-folder/list.pdf"));
        QCOMPARE(messageOf<EAbort>([&] { print.PrintListToFile(file); }), QStringLiteral("Operation aborted"));
        QCOMPARE(answers.messages.size(), 1);
        QVERIFY2(answers.messages.constFirst().startsWith(QStringLiteral("Filen ")), qPrintable(answers.messages.constFirst()));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_GenReport)
#include "tst_GenReport.moc"
