#include "analysis/Records.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "app/SettingsWindow.h"
#include "export/GenReport.h"
#include "foundation/CompGrid.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/Find.h"
#include "foundation/MessageBox.h"
#include "foundation/Observer.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Sorting.h"
#include "model/ActFactory.h"

#include <QCloseEvent>
#include <QDebug>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace
{
const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString windowKey = settingsRoot + QStringLiteral("\\RecordWindow");
const QString columnsKey = settingsRoot + QStringLiteral("\\RecordColumns");
const std::array<QString, 2> sortKeys{settingsRoot + QStringLiteral("\\Record1Sort"),
                                      settingsRoot + QStringLiteral("\\Record2Sort")};
const std::array<QString, 2> findKeys{settingsRoot + QStringLiteral("\\RecordsTDTFind"),
                                      settingsRoot + QStringLiteral("\\RecordsWFind")};
const std::array<QString, 2> printTitles{QStringLiteral("Personbästa tidsaktiviteter"),
                                         QStringLiteral("Personbästa styrketräning")};
const QString busyId = QStringLiteral("Records");
const QString fetchingText = QStringLiteral("Hämtar data...");

constexpr int windowTopic = 34;
constexpr int tdtTopic = 35;
constexpr int workoutTopic = 36;
constexpr int sortTopic = 37;
constexpr int printTopic = 38;

struct TColumn
{
    const char *title;
    const char *widthName;
    int width;
    TSortStyle style;
};

constexpr int tdtColumns = 8;
constexpr int workoutColumns = 7;
const TColumn tdtColumn[tdtColumns] = {
    {"Datum", "DateWidth", 80, TSortStyle::Date},
    {"Aktivitet", "ActivityWidth", 100, TSortStyle::Alphabetic},
    {"Plats", "PlaceWidth", 80, TSortStyle::Alphabetic},
    {"Distans\r (km)", "DistanceWidth", 75, TSortStyle::Numeric},
    {"Tid\r (min)", "TimeWidth", 60, TSortStyle::Numeric},
    {"Hastighet\r (km/tim)", "SpeedWidth", 105, TSortStyle::Numeric},
    {"Kilometertid\r (min/km)", "KmTimeWidth", 105, TSortStyle::Numeric},
    {"Antal", "NumWidth", 60, TSortStyle::Numeric},
};
const TColumn workoutColumn[workoutColumns] = {
    {"Datum", "WDateWidth", 80, TSortStyle::Date},
    {"Plats", "WPlaceWidth", 80, TSortStyle::Alphabetic},
    {"Program", "WProgramWidth", 160, TSortStyle::Alphabetic},
    {"Övning", "WExerciseWidth", 160, TSortStyle::Alphabetic},
    {"Vikt\r (kg)", "WWeightWidth", 80, TSortStyle::Numeric},
    {"Reps", "WRepsWidth", 60, TSortStyle::Numeric},
    {"Antal", "WNumWidth", 60, TSortStyle::Numeric},
};
// The column beside the date that names a row across a sort: the activity,
// or the exercise.
constexpr std::array<int, 2> keyColumn{1, 3};

QString rowKey(const TComplexGrid *grid, int page, int row)
{
    return grid->Cells(0, row) + QLatin1Char('\n') + grid->Cells(keyColumn[std::size_t(page)], row);
}
} // namespace

TfrmRecords::TfrmRecords(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmRecords"));
    setWindowTitle(QStringLiteral("Personbästa"));
    setMinimumSize(430, 400);
    resize(780, 460);

    m_pgctrlRecords = new QTabWidget(this);
    m_pgctrlRecords->setObjectName(QStringLiteral("pgctrlRecords"));
    setCentralWidget(m_pgctrlRecords);
    m_tshTDT = new QWidget;
    m_tshTDT->setObjectName(QStringLiteral("tshTDT"));
    m_tshWorkout = new QWidget;
    m_tshWorkout->setObjectName(QStringLiteral("tshWorkout"));
    m_cplxgrdRecordsTDT = BuildGrid(m_tshTDT, TDTPage, "cplxgrdRecordsTDT", tdtColumns);
    m_cplxgrdRecordsW = BuildGrid(m_tshWorkout, WorkoutPage, "cplxgrdRecordsW", workoutColumns);
    for (int col = 0; col < tdtColumns; ++col) {
        m_cplxgrdRecordsTDT->SetCells(col, 0, QString::fromUtf8(tdtColumn[col].title));
        m_cplxgrdRecordsTDT->SetColWidths(col, tdtColumn[col].width);
    }
    for (int col = 0; col < workoutColumns; ++col) {
        m_cplxgrdRecordsW->SetCells(col, 0, QString::fromUtf8(workoutColumn[col].title));
        m_cplxgrdRecordsW->SetColWidths(col, workoutColumn[col].width);
    }
    m_pgctrlRecords->addTab(m_tshTDT, QStringLiteral("&Tid- och distansaktiviteter"));
    m_pgctrlRecords->addTab(m_tshWorkout, QStringLiteral("&Styrketräning"));
    connect(m_pgctrlRecords, &QTabWidget::currentChanged, this, [this] {
        Guard([this] {
            SetStatus(QString());
            UpdateMenus();
        });
    });

    statusBar()->setObjectName(QStringLiteral("sbrRecords"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("sbrRecordsPanel0"));
    m_status->setFrameShape(QFrame::Panel);
    m_status->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(m_status, 1);

    BuildMenus();

    // FormCreate.
    Guard([this] {
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_menusAdded = true;
        BuildHelpMenu();
        SetColumnProperties();
        LoadWindowState(windowKey, this);
        ReadSettings();
        m_observer = new TSubjectObserver(this);
        m_observer->SetOnChange([this](const TObservation &observation) { ObserverChange(observation); });
        m_app.Attach(m_observer);
        UpdateMenus();
    });
}

TfrmRecords::~TfrmRecords()
{
    // FormDestroy.
    Guard([this] {
        SaveWindowState(windowKey, this);
        WriteSettings();
    });
    Guard([this] {
        if (m_menusAdded) {
            m_menusAdded = false;
            CorvaleForms().RemoveWindowMenu(this, menuBar());
            CorvaleForms().RemoveHelpMenu(this, menuBar());
        }
    });
    if (m_observer && m_app.IsAttached(m_observer))
        m_app.Detach(m_observer);
}

// ---------------------------------------------------------------------------
// Building

TComplexGrid *TfrmRecords::BuildGrid(QWidget *page, int index, const char *name, int columnCount)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *grid = new TComplexGrid(page);
    grid->setObjectName(QLatin1String(name));
    layout->addWidget(grid);
    grid->BeginUpdate();
    grid->SetFixedCols(0);
    grid->SetColCount(columnCount);
    grid->SetRowCount(2);
    grid->SetFixedRows(1);
    grid->EndUpdate();
    grid->SetRowHeights(0, 2 * grid->DefaultRowHeight());
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(grid, &TComplexGrid::OnBeforeSorted, this,
            [this, index](bool &cursor) { Guard([this, index, &cursor] { BeforeSorted(index, cursor); }); });
    connect(grid, &TComplexGrid::OnAfterSorted, this,
            [this, index](bool &cursor) { Guard([this, index, &cursor] { AfterSorted(index, cursor); }); });
    connect(grid, &TComplexGrid::OnFindSuccess, this,
            [this, index](int col, int row) { Guard([this, index, col, row] { FindSuccess(index, col, row); }); });
    connect(grid, &TComplexGrid::OnFindNotSuccess, this, [this, index] { Guard([this, index] { FindNotSuccess(index); }); });
    return grid;
}

void TfrmRecords::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuRecords"));
    const auto add = [this](QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                            std::function<void()> handler) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [handler] { Guard(handler); });
        return action;
    };

    QMenu *archive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    m_mnuiSearch = add(archive, "mnuiSearch", QStringLiteral("&Sök"), QKeySequence(Qt::CTRL | Qt::Key_O),
                       [this] { mnuiSearchClick(); });
    m_mnuiSort = add(archive, "mnuiSort", QStringLiteral("S&ortera..."), QKeySequence(Qt::CTRL | Qt::Key_R),
                     [this] { mnuiSortClick(); });
    archive->addSeparator();
    m_mnuiPrint = add(archive, "mnuiPrint", QStringLiteral("Skriv &ut"), QKeySequence(Qt::CTRL | Qt::Key_U),
                      [this] { mnuiPreviewPrintClick(false); });
    m_mnuiPreview = add(archive, "mnuiPreview", QStringLiteral("&Förhandsgranska"), QKeySequence(),
                        [this] { mnuiPreviewPrintClick(true); });
    add(archive, "mnuiSettings", QStringLiteral("&Inställningar..."), QKeySequence(), [this] { mnuiSettingsClick(); });
    archive->addSeparator();
    add(archive, "mnuiClose", QStringLiteral("Stä&ng"), QKeySequence(Qt::ALT | Qt::Key_F4), [this] { close(); });

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Redigera"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuiFind = add(edit, "mnuiFind", QStringLiteral("&Sök text..."), QKeySequence(Qt::CTRL | Qt::Key_F),
                     [this] { mnuiFindClick(); });
    m_mnuiFindAgain = add(edit, "mnuiFindAgain", QStringLiteral("Sök igen"), QKeySequence(Qt::Key_F3),
                          [this] { mnuiFindAgainClick(); });

    QMenu *show = menuBar()->addMenu(QStringLiteral("&Visa"));
    show->setObjectName(QStringLiteral("mnuShow"));
    add(show, "mnuiShowTDT", QStringLiteral("&Tidsaktiviteter"), QKeySequence(Qt::Key_F4), [this] { ShowPage(TDTPage); });
    add(show, "mnuiShowWorkout", QStringLiteral("&Styrketräning"), QKeySequence(Qt::Key_F5),
        [this] { ShowPage(WorkoutPage); });
}

void TfrmRecords::BuildHelpMenu()
{
    QAction *help = CorvaleForms().AddHelpMenu(this, menuBar());
    connect(help, &QAction::triggered, this, [this] { Guard([this] { m_app.ShowHelp(HelpTopic()); }); });
    auto *helpMenu = qobject_cast<QMenu *>(help->parent());
    if (!helpMenu)
        return;
    const auto add = [this, helpMenu](const char *name, const QString &caption, int topic) {
        QAction *item = helpMenu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, [this, topic] { Guard([this, topic] { m_app.ShowHelp(topic); }); });
    };
    add("mnuiRecordsHelp", QStringLiteral("Om &personbästa..."), windowTopic);
    add("mnuiSortHelp", QStringLiteral("&Sortera listorna..."), sortTopic);
    add("mnuiPrintHelp", QStringLiteral("S&kriva ut listorna..."), printTopic);
}

void TfrmRecords::SetColumnProperties()
{
    const auto apply = [](TComplexGrid *grid, const TColumn *columns, int count) {
        for (int col = 0; col < count; ++col) {
            grid->SetColSortStyle(col, columns[col].style);
            grid->SetColAlignment(col, columns[col].style == TSortStyle::Numeric ? TColAlignment::Right
                                                                                 : TColAlignment::Left);
        }
        grid->ResetDirections();
    };
    apply(m_cplxgrdRecordsTDT, tdtColumn, tdtColumns);
    apply(m_cplxgrdRecordsW, workoutColumn, workoutColumns);
}

// ---------------------------------------------------------------------------
// Settings

void TfrmRecords::ReadSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(columnsKey, false))
        return;
    for (int col = 0; col < tdtColumns; ++col)
        m_cplxgrdRecordsTDT->SetColWidths(
            col, registry.ReadIntegerDef(QLatin1String(tdtColumn[col].widthName), tdtColumn[col].width));
    for (int col = 0; col < workoutColumns; ++col)
        m_cplxgrdRecordsW->SetColWidths(
            col, registry.ReadIntegerDef(QLatin1String(workoutColumn[col].widthName), workoutColumn[col].width));
    registry.CloseKey();
}

void TfrmRecords::WriteSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(columnsKey, true))
        return;
    for (int col = 0; col < tdtColumns; ++col)
        registry.WriteIntegerAtLeast(QLatin1String(tdtColumn[col].widthName), m_cplxgrdRecordsTDT->ColWidths(col), 20);
    for (int col = 0; col < workoutColumns; ++col)
        registry.WriteIntegerAtLeast(QLatin1String(workoutColumn[col].widthName), m_cplxgrdRecordsW->ColWidths(col), 20);
    registry.CloseKey();
}

// ---------------------------------------------------------------------------
// Pages, status and menus

TComplexGrid *TfrmRecords::Grid(int page) const
{
    return page == WorkoutPage ? m_cplxgrdRecordsW : m_cplxgrdRecordsTDT;
}

int TfrmRecords::RecordCount(int page) const
{
    return int(page == WorkoutPage ? m_strengthRecords.size() : m_courseRecords.size());
}

int TfrmRecords::CurrentPage() const
{
    return m_pgctrlRecords->currentWidget() == m_tshWorkout ? WorkoutPage : TDTPage;
}

void TfrmRecords::ShowPage(int page)
{
    m_pgctrlRecords->setCurrentWidget(page == WorkoutPage ? m_tshWorkout : m_tshTDT);
    UpdateMenus();
}

int TfrmRecords::HelpTopic() const
{
    return CurrentPage() == WorkoutPage ? workoutTopic : tdtTopic;
}

QString TfrmRecords::StatusText() const
{
    return m_status->text();
}

void TfrmRecords::SetStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

void TfrmRecords::UpdateMenus()
{
    const int page = CurrentPage();
    const bool any = RecordCount(page) > 0;
    m_mnuiSearch->setEnabled(m_app.State() == TCorvaleApp::TState::Open && !m_searching);
    m_mnuiSort->setEnabled(any);
    m_mnuiPrint->setEnabled(any);
    m_mnuiPreview->setEnabled(any);
    m_mnuiFind->setEnabled(any);
    m_mnuiFindAgain->setEnabled(any && !m_findText[std::size_t(page)].isEmpty());
}

// ---------------------------------------------------------------------------
// Searching

void TfrmRecords::mnuiSearchClick()
{
    if (m_app.State() != TCorvaleApp::TState::Open || m_searching)
        return;
    m_outdated = false;
    SetStatus(fetchingText);
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    m_searching = true;
    const auto done = qScopeGuard([this] {
        m_searching = false;
        SetStatus(QString());
        UpdateMenus();
    });
    ClearResults();

    m_records.SetDatabase(&m_app.GetDatabase());
    m_records.SetFactory(&m_app.GetFactory());
    m_records.SetNames(&m_app.GetActivityNameList());
    m_records.SetExercises(&m_app.GetExercises());
    m_records.SetPrograms(&m_app.GetExercisePrograms());
    const TSettingsValues settings = m_app.GetSettings();
    m_records.SetLimits(settings.RecordNum, settings.RecordSets, settings.RecordReps, settings.RecordWNum);
    {
        // Every activity searched is told as PersonalRecordsSearch; Idle
        // follows, also after a failure.
        const auto idle = qScopeGuard([this] {
            try {
                m_app.Send(TNotifyKind::Idle);
            } catch (const std::exception &e) {
                qWarning() << "Observer failed on idle notification:" << e.what();
            }
        });
        QList<TTDRecordItem> courses;
        QList<TWRecordItem> strength;
        m_records.Search(courses, strength,
                         [this](const QString &name) { m_app.Send(TNotifyKind::PersonalRecordsSearch, name); });
        m_courseRecords = std::move(courses);
        m_strengthRecords = std::move(strength);
    }
    FillGrids();
}

void TfrmRecords::FillGrids()
{
    TComplexGrid *tdt = m_cplxgrdRecordsTDT;
    tdt->BeginUpdate();
    TTulloUtilGrid::SetDataRowCount(tdt, int(m_courseRecords.size()));
    for (qsizetype i = 0; i < m_courseRecords.size(); ++i) {
        const TTDRecordItem &r = m_courseRecords.at(i);
        const int row = int(i) + tdt->FixedRows();
        const QStringList cells{r.Date, r.Activity, r.Place, r.Distance, r.Duration, r.Speed, r.KmTime,
                                QString::number(r.Sessions)};
        for (int col = 0; col < tdtColumns; ++col)
            tdt->SetCells(col, row, cells.at(col));
    }
    tdt->EndUpdate();

    TComplexGrid *workout = m_cplxgrdRecordsW;
    workout->BeginUpdate();
    TTulloUtilGrid::SetDataRowCount(workout, int(m_strengthRecords.size()));
    for (qsizetype i = 0; i < m_strengthRecords.size(); ++i) {
        const TWRecordItem &r = m_strengthRecords.at(i);
        const int row = int(i) + workout->FixedRows();
        const QStringList cells{r.Date, r.Place, r.Program, r.Exercise, r.Weight, r.Reps, r.Count};
        for (int col = 0; col < workoutColumns; ++col)
            workout->SetCells(col, row, cells.at(col));
    }
    workout->EndUpdate();

    // By date, the first title click on any column then sorting ascending.
    TSortRecord byDate;
    byDate.Cols = {0, -1, -1};
    byDate.Styles[0] = TSortStyle::Date;
    for (TComplexGrid *grid : {tdt, workout}) {
        grid->Sort(byDate);
        grid->ResetDirections();
    }
}

void TfrmRecords::ClearResults()
{
    m_courseRecords.clear();
    m_strengthRecords.clear();
    for (TComplexGrid *grid : {m_cplxgrdRecordsTDT, m_cplxgrdRecordsW})
        TTulloUtilGrid::ClearRows(grid);
}

void TfrmRecords::ObserverChange(const TObservation &observation)
{
    switch (TNotifyKind(observation.kind)) {
    case TNotifyKind::PersonalRecordsSearch:
        SetStatus(fetchingText + observation.text);
        break;
    case TNotifyKind::SettingsChanged:
        if (m_app.GetSettingsChanges() & TSettingsChange::Records)
            Outdated();
        break;
    case TNotifyKind::ActivityNamesChanged:
    case TNotifyKind::RemovingActivity:
    case TNotifyKind::CoursesChanged:
    case TNotifyKind::ProgramsChanged:
    case TNotifyKind::DatabaseChanged:
        Outdated();
        break;
    case TNotifyKind::Closing:
        WriteSettings();
        Outdated();
        break;
    case TNotifyKind::Idle:
        if (m_outdated && !m_searching && isVisible())
            QueueSearch();
        break;
    default:
        break;
    }
    UpdateMenus();
}

void TfrmRecords::Outdated()
{
    if (m_searching)
        return;
    ClearResults();
    m_outdated = true;
}

void TfrmRecords::QueueSearch()
{
    // After the operation that changed the diary has returned to the event
    // loop, never in the middle of it.
    if (m_searchQueued)
        return;
    m_searchQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_searchQueued = false;
        if (m_outdated && isVisible())
            Guard([this] { mnuiSearchClick(); });
    });
}

void TfrmRecords::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // FormShow: a window shown again starts on the courses' list.
    if (!event->spontaneous())
        ShowPage(TDTPage);
    if (m_outdated)
        QueueSearch();
}

// ---------------------------------------------------------------------------
// Sorting and finding

// The settings window with only its personal-records page: the repetition
// limits a load must reach. Its OK notifies the change, after which the
// records shown are marked out of date.
void TfrmRecords::mnuiSettingsClick()
{
    CorvaleForms().SettingsDialog(m_app, this, TfrmSettings::pgRecords).exec();
}

void TfrmRecords::mnuiSortClick()
{
    const int page = CurrentPage();
    if (RecordCount(page) <= 0)
        return;
    TfrmSort &frmSort = CorvaleForms().SortDialog(this);
    frmSort.SetRegistryKey(sortKeys[std::size_t(page)]);
    frmSort.SetDateMode(true);
    frmSort.SetGrid(Grid(page));
    if (frmSort.exec() == QDialog::Accepted)
        Grid(page)->Sort(frmSort.GetSortRecord());
}

void TfrmRecords::BeforeSorted(int page, bool &cursor)
{
    cursor = false;
    const TComplexGrid *grid = Grid(page);
    m_keyBeforeSort[std::size_t(page)] = RecordCount(page) > 0 ? rowKey(grid, page, grid->Row()) : QString();
}

void TfrmRecords::AfterSorted(int page, bool &cursor)
{
    cursor = false;
    const QString key = m_keyBeforeSort[std::size_t(page)];
    if (key.isEmpty())
        return;
    TComplexGrid *grid = Grid(page);
    for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
        if (rowKey(grid, page, row) == key) {
            grid->SetRow(row);
            return;
        }
    }
}

void TfrmRecords::mnuiFindClick()
{
    const int page = CurrentPage();
    if (RecordCount(page) <= 0)
        return;
    TfrmFind &frmFind = CorvaleForms().FindDialog(this);
    frmFind.SetRegistryKey(findKeys[std::size_t(page)]);
    if (frmFind.exec() != QDialog::Accepted)
        return;
    m_findText[std::size_t(page)] = frmFind.Text();
    UpdateMenus();
    SetStatus(QStringLiteral("Söker efter ") + frmFind.Text() + QStringLiteral("..."));
    Grid(page)->Find(frmFind.Text(), frmFind.FromCursor(), frmFind.MatchCase(), frmFind.Backwards(), false);
}

void TfrmRecords::mnuiFindAgainClick()
{
    const int page = CurrentPage();
    if (RecordCount(page) <= 0 || m_findText[std::size_t(page)].isEmpty())
        return;
    SetStatus(QStringLiteral("Söker efter ") + m_findText[std::size_t(page)] + QStringLiteral("..."));
    Grid(page)->FindNext();
}

void TfrmRecords::FindSuccess(int page, int col, int row)
{
    SetStatus(QStringLiteral("Sökningen lyckades '") + m_findText[std::size_t(page)] + QLatin1Char('\''));
    TComplexGrid *grid = Grid(page);
    grid->SetCol(col);
    grid->SetRow(row);
}

void TfrmRecords::FindNotSuccess(int page)
{
    SetStatus(QString());
    ShowMessageBox(QStringLiteral("Sökningen misslyckades (") + m_findText[std::size_t(page)] + QLatin1Char(')'),
                   TMessageKind::Information, TMessageButton::OK);
}

// ---------------------------------------------------------------------------
// Printing and the window

void TfrmRecords::mnuiPreviewPrintClick(bool preview)
{
    const int page = CurrentPage();
    if (RecordCount(page) <= 0)
        return;
    // No printer is needed: a preview never prints, and a print without a
    // printer goes to a PDF file.
    if (!preview)
        SetStatus(QStringLiteral("Skriver ut..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(QString()); });
    TfrmPrint &list = CorvaleForms().ListPrint();
    list.PrepareList(Grid(page), printTitles[std::size_t(page)], false);
    if (preview)
        list.PreviewList(this);
    else
        list.PrintList(this);
}

void TfrmRecords::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Guard([] { CorvaleForms().WindowListChanged(); });
}
