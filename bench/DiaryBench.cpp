// The program's operations on diaries of a lifetime's size. Diaries of
// 1,000, 10,000 and 20,000 entries are made once by the sample diary
// generator and kept in a cache folder; every operation then runs on a fresh
// copy of each, in a process of its own, and the results come out as one
// table: the median time and the peak memory per operation and size, and
// the ratio of the times between sizes, so that growth faster than the
// diary stands out.
//
//   bench_diary [--sizes 1000,10000,20000] [--ops open,search] [--runs 3]
//               [--years 20] [--list]
//
// The cache folder is $TERNVALL_BENCH_CACHE, else ~/.cache/ternvall-bench.
//
// To measure another operation, add a row to operations() below: a name for
// --ops, the table's caption, what to do before each run (not timed), the
// run itself, and a check that the run did what it should.

#include "BenchProcess.h"
#include "DiaryDatabase.h"
#include "SampleDiary.h"

#include "app/CorvaleApp.h"
#include "columns/ColumnSettings.h"
#include "foundation/DbClient.h"
#include "foundation/SettingsFiles.h"
#include "foundation/CompGrid.h"
#include "reference/Course.h"
#include "reference/CurrentCourse.h"
#include "ui/EntryController.h"
#include "ui/Main.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace
{
// The diaries measured: years of entries ending on a fixed day, so that
// every machine measures the same rows.
const QDate diaryEnd(2024, 12, 31);
constexpr quint64 diarySeed = 1;

// ---------------------------------------------------------------------------
// One diary opened as the program opens it: the application object and the
// main window on the offscreen platform, in settings and data folders of
// their own. Operations reach the program through it.
class TBenchSession
{
public:
    TBenchSession(const QString &diaryPath, int entries) : m_entries(entries)
    {
        if (!m_folder.isValid())
            throw EException(QStringLiteral("Kan inte skapa en tillfällig mapp"));
        qputenv(SettingsFiles::ConfigDirVariable, QFile::encodeName(m_folder.path() + QStringLiteral("/config")));
        qputenv(SettingsFiles::DataDirVariable, QFile::encodeName(m_folder.path() + QStringLiteral("/data")));
        const QString folder = SettingsFiles::DefaultDatabaseFolder();
        QDir().mkpath(folder);
        // A copy, so that nothing an operation writes reaches the cache.
        if (!QFile::copy(diaryPath, folder + QStringLiteral("Corvale1.gdb")))
            throw EException(QStringLiteral("Kan inte kopiera %1").arg(diaryPath));
        {
            auto machine = SettingsFiles::OpenStore(SettingsFiles::THive::Machine);
            machine->setValue(QStringLiteral("Version"), QStringLiteral("2.3.0"));
            machine->setValue(QStringLiteral("ShowHelpAtStartup"), 0);
            machine->setValue(QStringLiteral("Database/Location"), folder);
            machine->setValue(QStringLiteral("Database/User"), 1);
        }
        m_app = std::make_unique<TCorvaleApp>();
        m_window = std::make_unique<TfrmMain>(*m_app);
        m_window->show();
        // The window asks for the diary to be opened once the event loop
        // runs; here the operations decide when that happens.
        QCoreApplication::removePostedEvents(m_window.get(), WM_OPENDATABASE);
    }

    ~TBenchSession()
    {
        m_window.reset();
        m_app.reset();
    }

    TCorvaleApp &App() { return *m_app; }
    TfrmMain &MainWindow() { return *m_window; }
    // The number of entries the diary holds.
    int Entries() const { return m_entries; }

    // Stage C of the start, as the posted message runs it.
    void Open()
    {
        if (m_app->State() != TCorvaleApp::TState::Open)
            m_window->OpenUserDatabase();
    }
    void Close()
    {
        if (m_app->State() == TCorvaleApp::TState::Open)
            m_app->CloseDatabase();
    }

    QStringList ActivityNames() const
    {
        QStringList names;
        m_app->GetActivityNames(&names);
        return names;
    }

    // The session numbers the last search found.
    QList<int> &Found() { return m_found; }

private:
    QTemporaryDir m_folder;
    int m_entries;
    std::unique_ptr<TCorvaleApp> m_app;
    std::unique_ptr<TfrmMain> m_window;
    QList<int> m_found;
};

struct TBenchOperation
{
    const char *Name;
    const char *Caption;
    std::function<void(TBenchSession &)> Prepare;
    std::function<void(TBenchSession &)> Run;
    // What went wrong, or empty.
    std::function<QString(TBenchSession &)> Check;
};

QString expectCount(const char *what, qsizetype found, int expected)
{
    return found == expected ? QString() : QStringLiteral("%1: %2, not %3").arg(QLatin1String(what)).arg(found).arg(expected);
}

// The operations measured, in the order of the table.
// The list column titled "Plats".
int placeColumn(const TComplexGrid &grid)
{
    for (int col = 0; col < grid.ColCount(); ++col) {
        if (grid.Cells(col, 0).startsWith(QStringLiteral("Plats")))
            return col;
    }
    return 1;
}

// The whole diary in the main list, as "Sök" with empty criteria lists it.
void listAll(TBenchSession &session)
{
    session.Open();
    TComplexGrid *grid = session.MainWindow().ListGrid();
    if (grid->RowCount() - grid->FixedRows() != session.Entries())
        session.MainWindow().RunSearch();
}

// The list row of the latest session bound to a course (the key is the
// list's last column); -1 when there is none.
int latestBoundRow(TBenchSession &session)
{
    TDbQuery query(session.App().GetDatabase());
    query.Add(QStringLiteral("select ts.SessionNr from TrainingSession ts, TrainingSessionCourse tsc"));
    query.Add(QStringLiteral("where ts.SessionNr = tsc.SessionNr"));
    query.Add(QStringLiteral("order by ts.SessionDate desc, ts.SessionNr desc"));
    query.Open();
    const QString key = query.Eof() ? QString() : query.FieldAsText(0).trimmed();
    query.Close();
    TComplexGrid *grid = session.MainWindow().ListGrid();
    for (int row = grid->FixedRows(); row < grid->RowCount() && !key.isEmpty(); ++row) {
        if (grid->Cells(grid->ColCount() - 1, row).trimmed() == key)
            return row;
    }
    return -1;
}

// "Aktuell banbeskrivning" open beside the main window, as its menu item
// opens it.
TfrmCurrentCourse *openCurrentCourse(TBenchSession &session)
{
    TfrmMain &window = session.MainWindow();
    auto *course = window.findChild<TfrmCurrentCourse *>();
    if (!course || !course->isVisible()) {
        window.findChild<QAction *>(QStringLiteral("mnuiCurrentCourse"))->trigger();
        course = window.findChild<TfrmCurrentCourse *>();
    }
    return course;
}

// The list row shown on "Ändra", the current-course window open, and the
// main window active again, so that its menu items act.
void showRowWithCurrentCourse(TBenchSession &session, int row)
{
    listAll(session);
    openCurrentCourse(session);
    TfrmMain &window = session.MainWindow();
    window.ListGrid()->SetRow(row);
    window.ShowSelectedActivity();
    // The splash of the opening would stay for its three seconds and keep
    // the main window from being the active one.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmSplash") && widget->isVisible())
            widget->close();
    }
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        throw EException(QStringLiteral("the main window did not become active"));
}

// What the current-course window shows for a bound session: its statistics
// and how many sessions use the course.
QString checkCurrentCourse(TBenchSession &session, int row)
{
    TfrmMain &window = session.MainWindow();
    TComplexGrid *grid = window.ListGrid();
    if (row < grid->FixedRows())
        return QStringLiteral("no session bound to a course");
    const QString key = grid->Cells(grid->ColCount() - 1, row).trimmed();
    if (QString::number(window.ShownActivity()) != key)
        return QStringLiteral("\"Ändra\" shows session %1, not %2 of row %3 (current row %4)")
            .arg(window.ShownActivity())
            .arg(key)
            .arg(row)
            .arg(grid->Row());
    auto *course = window.findChild<TfrmCurrentCourse *>();
    if (!course || !course->isVisible())
        return QStringLiteral("the current-course window is not open");
    if (!course->findChild<QLabel *>(QStringLiteral("lblNrUsedByActivities"))->text().startsWith(QStringLiteral("Används av ")))
        return QStringLiteral("the current-course window shows no course in use");
    if (course->findChild<QLineEdit *>(QStringLiteral("edtFastestDate"))->text().isEmpty())
        return QStringLiteral("the current-course window shows no statistics");
    return QString();
}

// The course window's diary holds this many courses: the sample diary's
// own and, added once before the first timed run, running courses spread
// over places and distances.
constexpr int benchCourses = 500;

int storedCourses(TBenchSession &session)
{
    TDbQuery query(session.App().GetDatabase());
    query.Add(QStringLiteral("select count(*) from CourseDescription"));
    query.Open();
    const int count = int(query.FieldAsInteger(0));
    query.Close();
    return count;
}

// "Banbeskrivningar" open on the diary, as its menu item opens it, on a
// diary with benchCourses courses.
TfrmCourse *openCourseWindow(TBenchSession &session)
{
    session.Open();
    TCorvaleApp &app = session.App();
    QStringList names;
    app.GetTimeDistanceActivityNames(&names);
    for (int i = storedCourses(session); i < benchCourses; ++i) {
        const int nr = app.NewCourse();
        const double distance = 3 + (i * 7) % 40;
        app.SetCourseValues(nr, names.at(i % names.size()), i % 5, distance,
                            QStringLiteral("Bana %1 vid sjö %2").arg(i).arg(i % 23));
        const QStringList description{QStringLiteral("Slinga %1").arg(i), QStringLiteral("Grus och asfalt")};
        app.SetCourseDescription(nr, &description);
        app.SetCourseLaps(nr, {QString::number(distance / 2), QString::number(distance)});
        app.SaveCourse(nr);
    }
    TfrmMain &window = session.MainWindow();
    auto *course = window.findChild<TfrmCourse *>();
    if (!course || !course->isVisible()) {
        window.findChild<QAction *>(QStringLiteral("mnuiCoursesEdit"))->trigger();
        course = window.findChild<TfrmCourse *>();
    }
    return course;
}

// "Sök" of the course window with every activity and difficulty ticked.
void searchAllCourses(TfrmCourse &course)
{
    course.findChild<QAction *>(QStringLiteral("mnuiShowSearch"))->trigger();
    course.mnuiSearchClick();
}

QString checkCourseRows(TBenchSession &session, TfrmCourse *course)
{
    if (!course)
        return QStringLiteral("the course window did not open");
    const TComplexGrid *grid = course->Grid();
    const int stored = storedCourses(session);
    if (stored < benchCourses)
        return expectCount("courses stored", stored, benchCourses);
    const QString rows = expectCount("course rows", grid->RowCount() - grid->FixedRows(), stored);
    if (!rows.isEmpty())
        return rows;
    return expectCount("courses in the working list", session.App().CourseCount(), stored);
}

// The column setting of that name, added in memory with the columns when
// the diary has none (never saved: every run works on a fresh copy).
int columnSetting(TBenchSession &session, const QString &name, const TColumnKindSet &columns)
{
    TColumnSettings &settings = session.App().GetColumnSettings();
    for (const qint32 id : settings.GetIds()) {
        if (settings.Get(id).Name == name)
            return id;
    }
    const qint32 current = settings.GetCurrent();
    const qint32 id = settings.NextFreeId();
    settings.Add(id, name, columns);
    settings.SetCurrent(current);
    return id;
}

TColumnKindSet everyColumn()
{
    TColumnKindSet columns;
    for (int kind = 0; kind < ColumnKindCount; ++kind)
        columns.Include(TColumnKind(kind));
    return columns;
}

const TColumnKindSet runningColumns{TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cDistance, TColumnKind::cTime,
                                    TColumnKind::cDistTime, TColumnKind::cSpeed};

// The keys of the list, top to bottom (the key is the list's last column).
QList<int> listedKeys(TBenchSession &session)
{
    TComplexGrid *grid = session.MainWindow().ListGrid();
    QList<int> keys;
    keys.reserve(grid->RowCount());
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row)
        keys.append(grid->Cells(grid->ColCount() - 1, row).toInt());
    return keys;
}

// The whole diary listed, sorted by place with a title click, under the
// setting `from`; the keys in their order are kept for the check.
QList<int> &keysBefore()
{
    static QList<int> keys;
    return keys;
}

void listUnder(TBenchSession &session, int from)
{
    listAll(session);
    session.MainWindow().ApplyColumnSetting(from);
    TComplexGrid *grid = session.MainWindow().ListGrid();
    grid->ResetDirections();
    QHeaderView *titles = grid->horizontalHeader();
    const int section = placeColumn(*grid) - grid->FixedCols();
    const QPoint at(titles->sectionViewportPosition(section) + titles->sectionSize(section) / 2, 5);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    keysBefore() = listedKeys(session);
}

// The list shows the setting's columns, the same rows in the same order,
// and has forgotten its sort.
QString checkApplied(TBenchSession &session, int id)
{
    TComplexGrid *grid = session.MainWindow().ListGrid();
    const TColumnSettings &settings = session.App().GetColumnSettings();
    if (settings.GetCurrent() != id)
        return QStringLiteral("the setting is not current");
    const QString columns = expectCount("columns shown", grid->ColCount(), settings.Get(id).Columns.Count());
    if (!columns.isEmpty())
        return columns;
    if (listedKeys(session) != keysBefore())
        return QStringLiteral("the rows changed or moved");
    if (!(grid->LastSort() == TSortRecord()))
        return QStringLiteral("the list kept its sort");
    return expectCount("rows listed", grid->RowCount() - grid->FixedRows(), session.Entries());
}

const std::vector<TBenchOperation> &operations()
{
    static const std::vector<TBenchOperation> list = {
        {"open", "open the diary (start-up stage C)",
         [](TBenchSession &session) { session.Close(); },
         [](TBenchSession &session) { session.Open(); },
         [](TBenchSession &session) {
             if (session.App().State() != TCorvaleApp::TState::Open)
                 return QStringLiteral("the diary did not open");
             return expectCount("entries counted", session.App().GetRegisteredCount(), session.Entries());
         }},
        {"search", "search all types",
         [](TBenchSession &session) {
             session.Open();
             session.App().ClearLoaded();
         },
         [](TBenchSession &session) {
             session.App().SearchActivities(session.ActivityNames(), TSearchParams(), session.Found());
         },
         [](TBenchSession &session) { return expectCount("entries found", session.Found().size(), session.Entries()); }},
        // What the user waits for after "Sök": the search of every type, both
        // grids filled and the list sorted by date.
        {"list", "search and fill the main list",
         [](TBenchSession &session) {
             session.Open();
             session.MainWindow().ClearResult();
         },
         [](TBenchSession &session) { session.MainWindow().RunSearch(); },
         [](TBenchSession &session) {
             TComplexGrid *grid = session.MainWindow().ListGrid();
             const QString rows = expectCount("rows listed", grid->RowCount() - grid->FixedRows(), session.Entries());
             if (!rows.isEmpty())
                 return rows;
             return expectCount("current row", grid->Row(), session.Entries());
         }},
        // A title click on the place column of a full list, keeping the
        // current activity.
        {"sort", "title-click sort of the main list",
         [](TBenchSession &session) {
             session.Open();
             if (session.MainWindow().ListGrid()->RowCount() - 1 != session.Entries())
                 session.MainWindow().RunSearch();
             session.MainWindow().ListGrid()->ResetDirections();
         },
         [](TBenchSession &session) {
             TComplexGrid *grid = session.MainWindow().ListGrid();
             QHeaderView *titles = grid->horizontalHeader();
             const int section = placeColumn(*grid) - grid->FixedCols();
             const QPoint at(titles->sectionViewportPosition(section) + titles->sectionSize(section) / 2, 5);
             QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, at);
         },
         [](TBenchSession &session) {
             TComplexGrid *grid = session.MainWindow().ListGrid();
             if (grid->LastSort().Cols[0] != placeColumn(*grid))
                 return QStringLiteral("the list was not sorted by place");
             return expectCount("rows listed", grid->RowCount() - grid->FixedRows(), session.Entries());
         }},
        // One update of "Aktuell banbeskrivning" for the latest session bound
        // to a course, shown on "Ändra": what every change of the date, the
        // activity or the page costs while the window is open.
        {"course", "current-course update",
         [](TBenchSession &session) {
             listAll(session);
             showRowWithCurrentCourse(session, latestBoundRow(session));
         },
         [](TBenchSession &session) { session.MainWindow().EntryController()->UpdateCurrentCourse(); },
         [](TBenchSession &session) { return checkCurrentCourse(session, latestBoundRow(session)); }},
        // Ctrl+Alt+N onto that session with the window open: the list step
        // with its current-course updates.
        {"coursestep", "list step to a bound session, current course shown",
         [](TBenchSession &session) {
             listAll(session);
             showRowWithCurrentCourse(session, latestBoundRow(session) - 1);
         },
         [](TBenchSession &session) { session.MainWindow().findChild<QAction *>(QStringLiteral("mnuiNextAct"))->trigger(); },
         [](TBenchSession &session) { return checkCurrentCourse(session, latestBoundRow(session)); }},
        // "Sök" in "Banbeskrivningar" with nothing but every activity and
        // difficulty ticked: the search, the grid filled and sorted.
        {"coursesearch", "search all courses (500) in the course window",
         [](TBenchSession &session) { openCourseWindow(session); },
         [](TBenchSession &session) { searchAllCourses(*session.MainWindow().findChild<TfrmCourse *>()); },
         [](TBenchSession &session) { return checkCourseRows(session, session.MainWindow().findChild<TfrmCourse *>()); }},
        // A title click on "Plats" of the course window's full result list,
        // keeping the current course.
        {"coursesort", "title-click sort of the course list (500)",
         [](TBenchSession &session) {
             // Every run sorts the search's order (activity, place,
             // distance), never the order of the run before.
             TfrmCourse *course = openCourseWindow(session);
             searchAllCourses(*course);
             course->findChild<QAction *>(QStringLiteral("mnuiShowResult"))->trigger();
             course->Grid()->ResetDirections();
         },
         [](TBenchSession &session) {
             TComplexGrid *grid = session.MainWindow().findChild<TfrmCourse *>()->Grid();
             QHeaderView *titles = grid->horizontalHeader();
             const int section = 1;
             const QPoint at(titles->sectionViewportPosition(section) + titles->sectionSize(section) / 2, 5);
             QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, at);
         },
         [](TBenchSession &session) {
             TfrmCourse *course = session.MainWindow().findChild<TfrmCourse *>();
             if (course->Grid()->LastSort().Cols[0] != 1)
                 return QStringLiteral("the course list was not sorted by place");
             return checkCourseRows(session, course);
         }},
        // The tool bar's column-setting list on a full list sorted by
        // place: from the default setting to "Löpning" (date, activity,
        // distance, time, kilometre time, speed), every row refilled.
        {"colsetting", "apply another column setting (6 → 7 columns)",
         [](TBenchSession &session) {
             session.Open();
             listUnder(session, session.App().GetColumnSettings().GetIds().first());
             columnSetting(session, QStringLiteral("Löpning"), runningColumns);
         },
         [](TBenchSession &session) {
             session.MainWindow().ApplyColumnSetting(columnSetting(session, QStringLiteral("Löpning"), runningColumns));
         },
         [](TBenchSession &session) {
             return checkApplied(session, columnSetting(session, QStringLiteral("Löpning"), runningColumns));
         }},
        // The same to a setting of every column, the most a row can hold.
        {"colsettingall", "apply another column setting (6 → 57 columns)",
         [](TBenchSession &session) {
             session.Open();
             listUnder(session, session.App().GetColumnSettings().GetIds().first());
             columnSetting(session, QStringLiteral("Alla"), everyColumn());
         },
         [](TBenchSession &session) {
             session.MainWindow().ApplyColumnSetting(columnSetting(session, QStringLiteral("Alla"), everyColumn()));
         },
         [](TBenchSession &session) { return checkApplied(session, columnSetting(session, QStringLiteral("Alla"), everyColumn())); }},
    };
    return list;
}

const TBenchOperation *findOperation(const QString &name)
{
    for (const TBenchOperation &operation : operations()) {
        if (name == QLatin1String(operation.Name))
            return &operation;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Memory, from the kernel's account of this process.

// Starts the peak (VmHWM) again from the present resident size.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// ---------------------------------------------------------------------------
// One cell of the table, in a process of its own.

struct TCell
{
    bool Ok = false;
    QString Error;
    double MedianMs = 0, FirstMs = 0, CpuMs = 0;
    double PeakMb = 0, GrowthMb = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Answers every modal window an operation opens (a message box would wait
// for a user forever) and remembers its text as the run's failure.
class TModalCloser : public QObject
{
public:
    TModalCloser() { QCoreApplication::instance()->installEventFilter(this); }
    QString Seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->isWindow() && widget->isModal()) {
                QStringList texts;
                for (const QLabel *label : widget->findChildren<QLabel *>())
                    texts.append(label->text());
                Seen += widget->windowTitle() + QStringLiteral(": ") + texts.join(QLatin1Char(' '));
                QTimer::singleShot(0, widget, [widget] {
                    if (auto *dialog = qobject_cast<QDialog *>(widget))
                        dialog->done(0);
                    else
                        widget->close();
                });
            }
        }
        return false;
    }
};

int runCell(const QString &operationName, const QString &diaryPath, int entries, int runs)
{
    const TBenchOperation *operation = findOperation(operationName);
    if (!operation) {
        std::fprintf(stderr, "unknown operation %s\n", qPrintable(operationName));
        return 2;
    }
    TModalCloser closer;
    TCell cell;
    try {
        TBenchSession session(diaryPath, entries);
        std::vector<double> times, cpuTimes;
        for (int run = 0; run < runs; ++run) {
            operation->Prepare(session);
            resetPeak();
            const double before = Bench::StatusMb("VmRSS:");
            const double cpuBefore = Bench::CpuMs();
            QElapsedTimer timer;
            timer.start();
            operation->Run(session);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            cpuTimes.push_back(Bench::CpuMs() - cpuBefore);
            const double peak = Bench::StatusMb("VmHWM:");
            cell.PeakMb = std::max(cell.PeakMb, peak);
            cell.GrowthMb = std::max(cell.GrowthMb, peak - before);
            QString error = operation->Check(session);
            if (error.isEmpty() && !closer.Seen.isEmpty())
                error = closer.Seen;
            if (!error.isEmpty())
                throw EException(error);
        }
        cell.FirstMs = times.front();
        cell.MedianMs = median(times);
        cell.CpuMs = median(cpuTimes);
    } catch (const std::exception &e) {
        std::printf("ERROR %s\n", e.what());
        return 1;
    }
    std::printf("RESULT %.3f %.3f %.3f %.1f %.1f\n", cell.MedianMs, cell.FirstMs, cell.CpuMs, cell.PeakMb, cell.GrowthMb);
    return 0;
}

TCell measure(const QString &operationName, const QString &diaryPath, int entries, int runs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--cell"), operationName, QStringLiteral("--diary"), diaryPath, QStringLiteral("--entries"),
                   QString::number(entries), QStringLiteral("--runs"), QString::number(runs)});
    TCell cell;
    if (!process.waitForFinished(60 * 60 * 1000)) {
        process.kill();
        process.waitForFinished();
        cell.Error = QStringLiteral("did not finish within an hour");
        return cell;
    }
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("RESULT "))) {
            const QStringList values = line.mid(7).split(QLatin1Char(' '));
            cell.MedianMs = values.value(0).toDouble();
            cell.FirstMs = values.value(1).toDouble();
            cell.CpuMs = values.value(2).toDouble();
            cell.PeakMb = values.value(3).toDouble();
            cell.GrowthMb = values.value(4).toDouble();
            cell.Ok = true;
        } else if (line.startsWith(QLatin1String("ERROR "))) {
            cell.Error = line.mid(6);
        }
    }
    if (!cell.Ok && cell.Error.isEmpty())
        cell.Error = QStringLiteral("exit %1: %2").arg(process.exitCode()).arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
    return cell;
}

// ---------------------------------------------------------------------------
// The cached diaries.

QString cacheFolder()
{
    const QString given = qEnvironmentVariable("TERNVALL_BENCH_CACHE");
    if (!given.isEmpty())
        return given;
    return QDir::homePath() + QStringLiteral("/.cache/ternvall-bench");
}

// The diary of `entries` entries over `years` years, made when it is not in
// the cache yet. A diary is made under a temporary name and renamed when
// complete, so that an interrupted run leaves nothing that looks finished.
QString cachedDiary(int entries, int years)
{
    const QString folder = cacheFolder();
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/diary-%2-%3y-seed%4-to%5-v%6.gdb")
                             .arg(folder)
                             .arg(entries)
                             .arg(years)
                             .arg(diarySeed)
                             .arg(diaryEnd.toString(QStringLiteral("yyyyMMdd")))
                             .arg(SampleDiary::ContentVersion);
    if (QFileInfo::exists(path))
        return path;
    // Diaries of earlier generator versions are of no use any more.
    const QString stem = QFileInfo(path).fileName().section(QStringLiteral("-v"), 0, -2);
    for (const QString &old : QDir(folder).entryList({stem + QStringLiteral("-v*.gdb")}, QDir::Files))
        QFile::remove(folder + QLatin1Char('/') + old);
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    std::fprintf(stderr, "Making the diary of %d entries (once, kept in %s)...\n", entries, qPrintable(folder));
    QElapsedTimer timer;
    timer.start();
    DiaryDatabase::Create(partial, QStringLiteral(TERNVALL_SCHEMA_FILE));
    {
        TSampleDiaryOptions options;
        options.Entries = entries;
        options.Years = years;
        options.Seed = diarySeed;
        options.End = diaryEnd;
        const int step = std::max(1000, entries / 10);
        SampleDiary::FillFile(partial, QStringLiteral("SYSDBA"), QStringLiteral("hollyfern"), options, [step](int stored, int total) {
            if (stored % step == 0 || stored == total)
                std::fprintf(stderr, "  %d of %d\n", stored, total);
        });
    }
    if (!QFile::rename(partial, path))
        throw EException(QStringLiteral("Kan inte döpa om %1").arg(partial));
    std::fprintf(stderr, "  made in %.1f s\n", double(timer.elapsed()) / 1000.0);
    return path;
}

// ---------------------------------------------------------------------------
// The table.

QString thousands(int value)
{
    QLocale english(QLocale::English);
    return english.toString(value);
}

QString cellText(const TCell &cell)
{
    if (!cell.Ok)
        return QStringLiteral("failed");
    auto ms = [](double value) { return QString::number(value, 'f', value < 100 ? 1 : 0); };
    return QStringLiteral("%1 ms (cpu %2, first %3), %4 MB (+%5)")
        .arg(ms(cell.MedianMs), ms(cell.CpuMs), ms(cell.FirstMs))
        .arg(cell.PeakMb, 0, 'f', 0)
        .arg(cell.GrowthMb, 0, 'f', 0);
}

// The ratios of the larger diary's times and added memory over the smaller
// one's, marked when both the clock and the processor time grow faster than
// the diary by half again: on a busy machine the clock alone would cry wolf.
QString ratioText(const TCell &small, const TCell &large, double sizeRatio)
{
    if (!small.Ok || !large.Ok || small.MedianMs <= 0.0 || small.CpuMs <= 0.0)
        return QStringLiteral("-");
    const double clock = large.MedianMs / small.MedianMs;
    const double cpu = large.CpuMs / small.CpuMs;
    QString text = QStringLiteral("%1× (cpu %2×)").arg(clock, 0, 'f', 1).arg(cpu, 0, 'f', 1);
    if (small.GrowthMb >= 1.0)
        text += QStringLiteral(", memory %1×").arg(large.GrowthMb / small.GrowthMb, 0, 'f', 1);
    if (clock > 1.5 * sizeRatio && cpu > 1.5 * sizeRatio)
        text += QStringLiteral(" (!)");
    return text;
}

QList<int> parseSizes(const QString &text)
{
    QList<int> sizes;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int size = part.trimmed().toInt(&ok);
        if (!ok || size < 1)
            return {};
        sizes.append(size);
    }
    return sizes;
}
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times the program's operations on diaries of growing size."));
    parser.addHelpOption();
    const QCommandLineOption sizesOption(QStringLiteral("sizes"), QStringLiteral("Diary sizes, comma separated."), QStringLiteral("N,N,..."),
                                         QStringLiteral("1000,10000,20000"));
    const QCommandLineOption opsOption(QStringLiteral("ops"), QStringLiteral("Operations, comma separated (default all)."), QStringLiteral("NAME,..."));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs per operation and size; the median counts."), QStringLiteral("N"),
                                        QStringLiteral("3"));
    const QCommandLineOption yearsOption(QStringLiteral("years"), QStringLiteral("Years each diary spans."), QStringLiteral("Y"), QStringLiteral("20"));
    const QCommandLineOption listOption(QStringLiteral("list"), QStringLiteral("List the operations."));
    const QCommandLineOption cellOption(QStringLiteral("cell"), QStringLiteral("(internal) Measure one operation."), QStringLiteral("NAME"));
    const QCommandLineOption diaryOption(QStringLiteral("diary"), QStringLiteral("(internal) The diary of the cell."), QStringLiteral("FILE"));
    const QCommandLineOption entriesOption(QStringLiteral("entries"), QStringLiteral("(internal) Its entries."), QStringLiteral("N"));
    parser.addOptions({sizesOption, opsOption, runsOption, yearsOption, listOption, cellOption, diaryOption, entriesOption});
    parser.process(application);

    const int runs = std::max(1, parser.value(runsOption).toInt());
    if (parser.isSet(cellOption))
        return runCell(parser.value(cellOption), parser.value(diaryOption), parser.value(entriesOption).toInt(), runs);

    if (parser.isSet(listOption)) {
        for (const TBenchOperation &operation : operations())
            std::printf("%-10s %s\n", operation.Name, operation.Caption);
        return 0;
    }

    const QList<int> sizes = parseSizes(parser.value(sizesOption));
    const int years = parser.value(yearsOption).toInt();
    if (sizes.isEmpty() || years < 1) {
        std::fprintf(stderr, "bench_diary: sizes must be whole numbers above 0, years at least 1\n");
        return 2;
    }
    std::vector<const TBenchOperation *> chosen;
    if (parser.isSet(opsOption)) {
        for (const QString &name : parser.value(opsOption).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const TBenchOperation *operation = findOperation(name.trimmed());
            if (!operation) {
                std::fprintf(stderr, "bench_diary: no operation %s (see --list)\n", qPrintable(name));
                return 2;
            }
            chosen.push_back(operation);
        }
    } else {
        for (const TBenchOperation &operation : operations())
            chosen.push_back(&operation);
    }

    try {
        QStringList diaries;
        for (int size : sizes)
            diaries.append(cachedDiary(size, years));

        std::vector<std::vector<TCell>> cells;
        for (const TBenchOperation *operation : chosen) {
            std::vector<TCell> row;
            for (int i = 0; i < sizes.size(); ++i) {
                std::fprintf(stderr, "%s, %d entries...\n", operation->Name, sizes.at(i));
                row.push_back(measure(QString::fromLatin1(operation->Name), diaries.at(i), sizes.at(i), runs));
                if (!row.back().Ok)
                    std::fprintf(stderr, "  failed: %s\n", qPrintable(row.back().Error));
            }
            cells.push_back(row);
        }

        std::printf("Diaries of %d years made by the sample generator (seed %llu); median of %d runs, each in a fresh\n"
                    "process on a fresh copy of the diary. A cell is the time on the clock, the processor time of the\n"
                    "process and the clock time of the first, cold run (the first opening also starts the database\n"
                    "engine), the peak resident memory of the process and (+) how much of that the operation added.\n"
                    "A ratio is the time (and added memory) of the larger diary over the smaller, marked (!) when both\n"
                    "times grow more than half as fast again as the diary.\n\n",
                    years, static_cast<unsigned long long>(diarySeed), runs);
        QString header = QStringLiteral("| operation |");
        QString rule = QStringLiteral("|---|");
        for (int size : sizes) {
            header += QStringLiteral(" %1 entries |").arg(thousands(size));
            rule += QStringLiteral("---:|");
        }
        for (int i = 1; i < sizes.size(); ++i) {
            header += QStringLiteral(" %1 / %2 |").arg(thousands(sizes.at(i)), thousands(sizes.at(i - 1)));
            rule += QStringLiteral("---:|");
        }
        std::printf("%s\n%s\n", qPrintable(header), qPrintable(rule));
        for (std::size_t row = 0; row < chosen.size(); ++row) {
            QString line = QStringLiteral("| %1 |").arg(QString::fromUtf8(chosen[row]->Caption));
            for (const TCell &cell : cells[row])
                line += QLatin1Char(' ') + cellText(cell) + QStringLiteral(" |");
            for (int i = 1; i < sizes.size(); ++i) {
                const double sizeRatio = double(sizes.at(i)) / double(sizes.at(i - 1));
                line += QLatin1Char(' ') + ratioText(cells[row][std::size_t(i - 1)], cells[row][std::size_t(i)], sizeRatio)
                        + QStringLiteral(" |");
            }
            std::printf("%s\n", qPrintable(line));
        }
        bool failed = false;
        for (const auto &row : cells)
            for (const TCell &cell : row)
                failed = failed || !cell.Ok;
        return failed ? 1 : 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_diary: %s\n", e.what());
        return 1;
    }
}
