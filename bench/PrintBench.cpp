// Times the list print of the main list in the default column setting (date,
// activity, place, weight, comment and the key column) at 1,000 to 20,000
// activities: the print-title dialog's proposals, how long the preview takes
// to show its first page, and how long the whole list takes as a PDF file. Each PDF is then read back with
// pdftotext (poppler-utils) to check that it holds every row once, in grid
// order, and the header and page number on every page.
//
//   bench_print [sizes...]      (default 1000 10000 20000)

#include "BenchProcess.h"

#include "columns/GridActivityColumns.h"
#include "export/GenReport.h"
#include "export/GenReportEngine.h"
#include "export/Preview.h"
#include "export/PrintTtl.h"
#include "foundation/CompGrid.h"
#include "model/Activities.h"
#include "model/ActivityClasses.h"
#include "model/ActivityName.h"
#include "model/ClasshieTypes.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace
{
const char *codeOf(int i)
{
    static const char *const codes[] = {"RUN", "BIK", "WOR", "GOL", "SKI", "OTH", "CAM", "SWI"};
    return codes[i % 8];
}

// The activities and the list grid the main window shows for them.
class TList
{
public:
    explicit TList(int size)
    {
        m_activities.SetActivityNames(&m_names);
        QList<int> numbers;
        for (int i = 0; i < size; ++i) {
            std::unique_ptr<TActivity> activity = ActivityClassOfCode(QString::fromLatin1(codeOf(i)))->Create();
            activity->SetSessionNr(i + 1);
            const QDate date = QDate(2004, 1, 1).addDays(i / 3);
            // The comment names the row, so that the PDF can be checked.
            activity->SetSessionData(date.toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("Plats %1").arg(i % 40),
                                     QStringLiteral("Pass%1").arg(i + 1, 6, 10, QLatin1Char('0')),
                                     i % 5 ? QStringLiteral("7%1.5").arg(i % 10) : QString());
            numbers.append(activity->GetSessionNr());
            m_activities.Adopt(activity);
        }
        m_columns.SetCatalogue(&m_catalogue);
        m_columns.SetActivities(&m_activities);
        m_columns.SetGrid(&m_grid);
        m_grid.SetFixedCols(0);
        m_columns.BuildCatalogue();
        const TColumnKindSet shown{TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cPlace, TColumnKind::cWeight,
                                   TColumnKind::cComment, TColumnKind::cId};
        const QList<TActivityColumn> entries = m_catalogue.Entries();
        for (TActivityColumn entry : entries) {
            entry.Visible = shown.Contains(entry.Kind);
            entry.Width = TActivityColumns::DefaultWidth(entry);
            m_catalogue.Update(entry);
        }
        m_columns.ApplyToGrid();
        const int id = m_columns.ColumnOfKind(&m_grid, TColumnKind::cId);
        m_grid.SetColWidths(id, 1);
        m_grid.BeginUpdate();
        m_grid.SetRowCount(size + 1);
        for (int i = 0; i < size; ++i)
            m_columns.FillActivityRow(&m_grid, i + 1, numbers.at(i));
        m_grid.EndUpdate();
    }

    TComplexGrid &Grid() { return m_grid; }

private:
    TActivityNames m_names;
    TActivities m_activities;
    TActivityColumns m_catalogue;
    TGridActivityColumns m_columns;
    TComplexGrid m_grid;
};

// What the PDF holds, read back: an empty text when it is right.
QString checkPdf(const QString &fileName, int rows, int pages)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        return QStringLiteral("pdftotext failed");
    QStringList texts = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!texts.isEmpty() && texts.constLast().trimmed().isEmpty())
        texts.removeLast();
    if (texts.size() != pages)
        return QStringLiteral("%1 pages, not %2").arg(texts.size()).arg(pages);
    static const QRegularExpression name(QStringLiteral("Pass(\\d{6})"));
    int expected = 1;
    for (int page = 0; page < texts.size(); ++page) {
        const QString &text = texts.at(page);
        if (!text.contains(QStringLiteral("Sida: %1").arg(page + 1)) || !text.contains(QStringLiteral("Tid: "))
            || !text.contains(QStringLiteral("Aktiviteter")) || !text.contains(QStringLiteral("Kommentar")))
            return QStringLiteral("page %1 without its header").arg(page + 1);
        for (auto it = name.globalMatch(text); it.hasNext();) {
            const int row = it.next().captured(1).toInt();
            if (row != expected)
                return QStringLiteral("row %1 where row %2 belongs").arg(row).arg(expected);
            ++expected;
        }
    }
    if (expected - 1 != rows)
        return QStringLiteral("%1 rows, not %2").arg(expected - 1).arg(rows);
    return QString();
}

struct TTimes
{
    int pages = 0;
    double suggestMs = 0;
    double firstPageMs = 0;
    double firstPageCpuMs = 0;
    double pdfMs = 0;
    double pdfCpuMs = 0;
    double pdfMb = 0;
    double peakMb = 0;
    bool progressShown = false;
    QString check;
};

TTimes run(int size, const QString &folder)
{
    TList list(size);
    TTimes times;
    TfrmPrint print;

    // What the print-title dialog proposes, before it is shown.
    {
        TfrmPrintTitle title;
        QElapsedTimer timer;
        timer.start();
        title.SuggestFromGrid(&list.Grid(), list.Grid().ColCount() - 1, QStringLiteral("Aktiviteter"));
        times.suggestMs = double(timer.nsecsElapsed()) / 1e6;
    }

    // The preview: from the list print's preparation until the first page
    // has been painted, which is when the busy cursor goes.
    {
        QElapsedTimer timer;
        timer.start();
        const double cpu = Bench::CpuMs();
        print.PrepareList(&list.Grid(), QStringLiteral("Aktiviteter"), false);
        const std::unique_ptr<TReportDocument> report = print.StartReport("03");
        TfrmPreview preview;
        preview.resize(1000, 800);
        preview.SetReport(report.get());
        preview.show();
        while (QGuiApplication::overrideCursor() && timer.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        times.firstPageMs = double(timer.nsecsElapsed()) / 1e6;
        times.firstPageCpuMs = Bench::CpuMs() - cpu;
        times.pages = preview.PageCount();
        preview.LastPage();
        QCoreApplication::processEvents();
    }

    const QString file = folder + QStringLiteral("/list-%1.pdf").arg(size);
    // Whether the progress window came up while the PDF was written (the
    // print lets timers run between pages).
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, [&times] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("frmPrintProgress") && window->isVisible())
                times.progressShown = true;
        }
    });
    watch.start();
    QElapsedTimer timer;
    timer.start();
    const double cpu = Bench::CpuMs();
    print.PrintListToFile(file);
    watch.stop();
    times.pdfMs = double(timer.nsecsElapsed()) / 1e6;
    times.pdfCpuMs = Bench::CpuMs() - cpu;
    times.pdfMb = double(QFileInfo(file).size()) / (1024.0 * 1024.0);
    times.peakMb = Bench::StatusMb("VmHWM:");
    times.check = checkPdf(file, size, times.pages);
    return times;
}
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {1000, 10000, 20000};
    QTemporaryDir folder;

    std::printf("%8s %6s %12s %16s %10s %10s %10s %9s %8s %9s  %s\n", "rows", "pages", "titles ms", "first page ms",
                "(cpu ms)", "PDF ms", "(cpu ms)", "progress", "PDF MB", "peak MB", "PDF read back");
    for (int size : sizes) {
        const TTimes times = run(size, folder.path());
        std::printf("%8d %6d %12.1f %16.1f %10.1f %10.1f %10.1f %9s %8.2f %9.1f  %s\n", size, times.pages, times.suggestMs,
                    times.firstPageMs, times.firstPageCpuMs, times.pdfMs, times.pdfCpuMs, times.progressShown ? "shown" : "-",
                    times.pdfMb, times.peakMb,
                    times.check.isEmpty() ? "every row once, in order; every page with its header"
                                          : qPrintable(times.check));
        std::fflush(stdout);
    }
    return 0;
}
