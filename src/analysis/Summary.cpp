#include "analysis/Summary.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "app/SettingsWindow.h"
#include "export/GenReport.h"
#include "export/PrintTtl.h"
#include "foundation/CompGrid.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/Observer.h"
#include "foundation/PGEdit.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Sorting.h"
#include "model/ActivityName.h"

#include <QCloseEvent>
#include <QDate>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString windowKey = settingsRoot + QStringLiteral("\\SummaryWindow");
const QString columnsKey = settingsRoot + QStringLiteral("\\SummaryColumns");
const QString sortKey = settingsRoot + QStringLiteral("\\SummarySort");
const QString busyId = QStringLiteral("Summary");
const QString yearTitle = QStringLiteral("År");
const QString totalTitle = QStringLiteral("Totalt");
const QString yearWidthName = QStringLiteral("ÅrWidth");
const QString widthSuffix = QStringLiteral("Width");
constexpr int helpTopic = 39;
constexpr int searchHelpTopic = 40;
constexpr int sortHelpTopic = 41;
constexpr int printHelpTopic = 42;
constexpr int leastColumnWidth = 20;

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

TNumericalEdit *wholeNumberEdit(const char *name, int maximum, QWidget *parent)
{
    auto *edit = new TNumericalEdit(QLatin1String(name), parent);
    edit->SetNumDecimals(0);
    edit->SetNegValues(false);
    edit->SetAllowSearchKeys(false);
    edit->SetMinValue(QStringLiteral("1"));
    edit->SetMaxValue(QString::number(maximum));
    edit->setMaximumWidth(48);
    return edit;
}

QGroupBox *periodGroup(const char *name, const QString &title, const char *monthLabel, const char *dayLabel,
                       TNumericalEdit *month, TNumericalEdit *day, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    auto *layout = new QGridLayout(box);
    auto *lblMonth = new QLabel(QStringLiteral("Månad"), box);
    lblMonth->setObjectName(QLatin1String(monthLabel));
    lblMonth->setBuddy(month);
    auto *lblDay = new QLabel(QStringLiteral("Dag"), box);
    lblDay->setObjectName(QLatin1String(dayLabel));
    lblDay->setBuddy(day);
    layout->addWidget(lblMonth, 0, 0);
    layout->addWidget(lblDay, 0, 1);
    layout->addWidget(month, 1, 0);
    layout->addWidget(day, 1, 1);
    return box;
}
}

TfrmSummary::TfrmSummary(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmSummary"));
    setWindowTitle(QStringLiteral("Summering"));
    setMinimumSize(350, 200);
    resize(560, 400);
    BuildWindow();
    BuildMenus();

    // FormCreate.
    Guard([this] {
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_menusAdded = true;
        QAction *help = CorvaleForms().AddHelpMenu(this, menuBar());
        connect(help, &QAction::triggered, this, [this] { Guard([this] { m_app.ShowHelp(helpTopic); }); });
        if (QMenu *helpMenu = qobject_cast<QMenu *>(help->parent())) {
            const auto addTopic = [this, helpMenu](const char *name, const QString &caption, int topic) {
                QAction *item = helpMenu->addAction(caption);
                item->setObjectName(QLatin1String(name));
                connect(item, &QAction::triggered, this, [this, topic] { Guard([this, topic] { m_app.ShowHelp(topic); }); });
            };
            addTopic("mnuiSearchHelp", QStringLiteral("S&ummera..."), searchHelpTopic);
            addTopic("mnuiSortHelp", QStringLiteral("S&ortera..."), sortHelpTopic);
            addTopic("mnuiPrintHelp", QStringLiteral("Skriva &ut..."), printHelpTopic);
        }
        m_observer = new TSubjectObserver(this);
        m_observer->SetOnChange([this](const TObservation &observation) { ObserverChange(observation); });
        m_app.Attach(m_observer);
        LoadNames();
        BuildColumns();
        LoadWindowState(windowKey, this);
        m_printGrid = new TComplexGrid(this);
        m_printGrid->setObjectName(QStringLiteral("cplxgrdPrint"));
        m_printGrid->hide();
        UpdateMenu();
    });
}

TfrmSummary::~TfrmSummary()
{
    // FormDestroy.
    Guard([this] {
        SaveWindowState(windowKey, this);
        SaveWidths();
    });
    Guard([this] {
        if (m_observer && m_app.IsAttached(m_observer))
            m_app.Detach(m_observer);
        if (m_menusAdded) {
            m_menusAdded = false;
            CorvaleForms().RemoveWindowMenu(this, menuBar());
            CorvaleForms().RemoveHelpMenu(this, menuBar());
        }
    });
}

// ---------------------------------------------------------------------------
// Building

void TfrmSummary::BuildWindow()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlSummary"));
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);

    m_numedtFromMonth = wholeNumberEdit("numedtFromMonth", 12, central);
    m_numedtFromDay = wholeNumberEdit("numedtFromDay", 31, central);
    m_numedtToMonth = wholeNumberEdit("numedtToMonth", 12, central);
    m_numedtToDay = wholeNumberEdit("numedtToDay", 31, central);
    auto *top = new QHBoxLayout;
    top->addWidget(periodGroup("grbxFrom", QStringLiteral("F&rån"), "lblFromMonth", "lblFromDay", m_numedtFromMonth,
                               m_numedtFromDay, central));
    top->addWidget(periodGroup("grbxTo", QStringLiteral("&Till"), "lblToMonth", "lblToDay", m_numedtToMonth,
                               m_numedtToDay, central));
    top->addStretch(1);
    layout->addLayout(top);
    connect(m_numedtFromMonth, &TPGCustomEdit::Exit, this,
            [this] { Guard([this] { numedtMonthExit(m_numedtFromMonth, m_numedtFromDay); }); });
    connect(m_numedtToMonth, &TPGCustomEdit::Exit, this,
            [this] { Guard([this] { numedtMonthExit(m_numedtToMonth, m_numedtToDay); }); });

    m_cplxgrdSummary = new TComplexGrid(central);
    m_cplxgrdSummary->setObjectName(QStringLiteral("cplxgrdSummary"));
    m_cplxgrdSummary->SetFixedCols(0);
    m_cplxgrdSummary->SetFixedRows(1);
    m_cplxgrdSummary->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_cplxgrdSummary->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    layout->addWidget(m_cplxgrdSummary, 1);

    // The totals row: not for the user's hands, only following the grid.
    m_pnlTotal = new QWidget(central);
    m_pnlTotal->setObjectName(QStringLiteral("pnlTotal"));
    auto *totalLayout = new QVBoxLayout(m_pnlTotal);
    totalLayout->setContentsMargins(0, 0, 0, 0);
    m_cplxgrdTotal = new TComplexGrid(m_pnlTotal);
    m_cplxgrdTotal->setObjectName(QStringLiteral("cplxgrdTotal"));
    m_cplxgrdTotal->SetFixedCols(0);
    m_cplxgrdTotal->SetFixedRows(0);
    m_cplxgrdTotal->SetRowCount(1);
    m_cplxgrdTotal->SetOptionsComplex({});
    m_cplxgrdTotal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_cplxgrdTotal->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_cplxgrdTotal->setSelectionMode(QAbstractItemView::NoSelection);
    m_cplxgrdTotal->setFocusPolicy(Qt::NoFocus);
    QFont bold = m_cplxgrdTotal->font();
    bold.setBold(true);
    m_cplxgrdTotal->setFont(bold);
    m_cplxgrdTotal->setFixedHeight(m_cplxgrdTotal->DefaultRowHeight() + 2 * m_cplxgrdTotal->frameWidth() + 2);
    totalLayout->addWidget(m_cplxgrdTotal);
    m_pnlTotal->setEnabled(false);
    layout->addWidget(m_pnlTotal);

    connect(m_cplxgrdSummary, &TComplexGrid::OnBeforeSorted, this, [this](bool &cursor) {
        cursor = false;
        const int row = m_cplxgrdSummary->Row();
        m_sortYear = row >= m_cplxgrdSummary->FixedRows() && row < m_cplxgrdSummary->RowCount()
                         ? m_cplxgrdSummary->Cells(0, row)
                         : QString();
    });
    connect(m_cplxgrdSummary, &TComplexGrid::OnAfterSorted, this, [this](bool &cursor) {
        cursor = false;
        if (m_sortYear.isEmpty())
            return;
        for (int row = m_cplxgrdSummary->FixedRows(); row < m_cplxgrdSummary->RowCount(); ++row) {
            if (m_cplxgrdSummary->Cells(0, row) == m_sortYear) {
                m_cplxgrdSummary->SetRow(row);
                break;
            }
        }
    });
    connect(m_cplxgrdSummary->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { Guard([this] { AdjustTotalCols(); }); });
    connect(m_cplxgrdSummary->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { ScrollTotal(); });
    m_cplxgrdSummary->viewport()->installEventFilter(this);
    m_cplxgrdSummary->horizontalHeader()->viewport()->installEventFilter(this);

    statusBar()->setObjectName(QStringLiteral("sbarSummary"));
    m_panel0 = new QLabel(this);
    m_panel0->setObjectName(QStringLiteral("sbarSummaryPanel0"));
    m_panel0->setFrameShape(QFrame::Panel);
    m_panel0->setFrameShadow(QFrame::Sunken);
    m_panel0->setMinimumWidth(120);
    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("sbarSummaryPanel1"));
    m_panel1->setFrameShape(QFrame::Panel);
    m_panel1->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(m_panel0);
    statusBar()->addWidget(m_panel1, 1);
}

void TfrmSummary::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuSummary"));
    QMenu *archive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    const auto add = [this, archive](const char *name, const QString &caption, const QKeySequence &key) {
        QAction *item = archive->addAction(caption);
        item->setObjectName(QLatin1String(name));
        if (!key.isEmpty())
            item->setShortcut(key);
        return item;
    };
    m_mnuiSearch = add("mnuiSearch", QStringLiteral("&Sök"), QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_mnuiSearch, &QAction::triggered, this, [this] { Guard([this] { mnuiSearchClick(); }); });
    m_mnuiSort = add("mnuiSort", QStringLiteral("S&ortera..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(m_mnuiSort, &QAction::triggered, this, [this] { Guard([this] { mnuiSortClick(); }); });
    archive->addSeparator();
    m_mnuiPrint = add("mnuiPrint", QStringLiteral("Skriv &ut"), QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_mnuiPrint, &QAction::triggered, this, [this] { Guard([this] { mnuiPrintClick(); }); });
    m_mnuiPreview = add("mnuiPreview", QStringLiteral("&Förhandsgranska"), QKeySequence());
    connect(m_mnuiPreview, &QAction::triggered, this, [this] { Guard([this] { mnuiPreviewClick(); }); });
    archive->addSeparator();
    m_mnuiClear = add("mnuiClear", QStringLiteral("&Rensa"), QKeySequence());
    connect(m_mnuiClear, &QAction::triggered, this, [this] { Guard([this] { mnuiClearClick(); }); });
    QAction *settings = add("mnuiSettings", QStringLiteral("&Inställningar..."), QKeySequence());
    connect(settings, &QAction::triggered, this, [this] { Guard([this] { mnuiSettingsClick(); }); });
    archive->addSeparator();
    QAction *close = add("mnuiClose", QStringLiteral("Stä&ng"), QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(close, &QAction::triggered, this, [this] { this->close(); });
}

// ---------------------------------------------------------------------------
// Names and columns

void TfrmSummary::LoadNames()
{
    m_namesLoaded = m_app.State() == TCorvaleApp::TState::Open;
    if (m_namesLoaded) {
        m_summaries.SetDatabase(&m_app.GetDatabase());
        m_summaries.SetFactory(&m_app.GetFactory());
        m_summaries.SetNames(&m_app.GetActivityNameList());
    } else {
        m_summaries.SetDatabase(nullptr);
        m_summaries.SetNames(nullptr);
    }
}

void TfrmSummary::BuildColumns()
{
    const QStringList headers = m_namesLoaded ? m_summaries.ColumnHeaders(m_app.GetSettings()) : QStringList();
    m_columnNames = m_namesLoaded ? m_summaries.ColumnNames() : QStringList();
    const int columns = int(headers.size()) + 1;

    m_cplxgrdSummary->BeginUpdate();
    m_cplxgrdSummary->SetColCount(columns);
    m_cplxgrdSummary->SetRowCount(2);
    m_cplxgrdSummary->ClearCells();
    m_cplxgrdSummary->SetCells(0, 0, yearTitle);
    for (int i = 0; i < headers.size(); ++i)
        m_cplxgrdSummary->SetCells(i + 1, 0, headers.at(i));
    m_cplxgrdSummary->EndUpdate();
    // Two lines of title: the name and its unit.
    m_cplxgrdSummary->SetRowHeights(0, 2 * m_cplxgrdSummary->DefaultRowHeight());

    m_cplxgrdTotal->BeginUpdate();
    m_cplxgrdTotal->SetColCount(columns);
    m_cplxgrdTotal->SetRowCount(1);
    for (int col = 0; col < columns; ++col)
        m_cplxgrdTotal->SetCells(col, 0, QString());
    m_cplxgrdTotal->SetCells(0, 0, totalTitle);
    m_cplxgrdTotal->EndUpdate();

    SetAlignments();
    ReadWidths();
    m_years = 0;
}

void TfrmSummary::SetAlignments()
{
    m_cplxgrdSummary->SetColSortStyle(0, TSortStyle::Alphabetic);
    m_cplxgrdSummary->SetColAlignment(0, TColAlignment::Left);
    m_cplxgrdTotal->SetColAlignment(0, TColAlignment::Left);
    for (int col = 1; col < m_cplxgrdSummary->ColCount(); ++col) {
        m_cplxgrdSummary->SetColSortStyle(col, TSortStyle::Numeric);
        m_cplxgrdSummary->SetColAlignment(col, TColAlignment::Right);
        m_cplxgrdTotal->SetColAlignment(col, TColAlignment::Right);
    }
}

void TfrmSummary::ReadWidths()
{
    // A column that was never widened by hand is 7 pixels a character of
    // its name, but never narrower than its name and a four-digit total in
    // the grid's own font: with the desktop's fonts 7 pixels a character
    // cut "1200.80" to "1200.8".
    QList<int> widths{75};
    const QFontMetrics metrics(m_cplxgrdSummary->font());
    const int valueWidth = metrics.horizontalAdvance(QStringLiteral("0000.00")) + 12;
    for (const QString &name : std::as_const(m_columnNames))
        widths.append(std::max({7 * int(name.size()), metrics.horizontalAdvance(name) + 12, valueWidth}));
    TDefRegistry registry(TDefRegistry::THive::User);
    if (registry.OpenKey(columnsKey, false)) {
        widths[0] = registry.ReadIntegerDef(yearWidthName, widths[0]);
        for (int i = 0; i < m_columnNames.size(); ++i)
            widths[i + 1] = registry.ReadIntegerDef(m_columnNames.at(i) + widthSuffix, widths[i + 1]);
        registry.CloseKey();
    }
    const QScopedValueRollback<bool> adjusting(m_adjusting, true);
    for (int col = 0; col < widths.size() && col < m_cplxgrdSummary->ColCount(); ++col) {
        m_cplxgrdSummary->SetColWidths(col, std::max(leastColumnWidth, widths.at(col)));
        m_cplxgrdTotal->SetColWidths(col, std::max(leastColumnWidth, widths.at(col)));
    }
}

void TfrmSummary::SaveWidths()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(columnsKey, true))
        return;
    const TActivityNames *names = m_summaries.Names();
    registry.WriteIntegerAtLeast(yearWidthName, m_cplxgrdSummary->columnWidth(0), leastColumnWidth);
    for (int i = 0; i < m_columnNames.size() && i + 1 < m_cplxgrdSummary->ColCount(); ++i) {
        // A type renamed since the columns were built keeps no width.
        if (names && !names->HasName(m_columnNames.at(i)))
            continue;
        registry.WriteIntegerAtLeast(m_columnNames.at(i) + widthSuffix, m_cplxgrdSummary->columnWidth(i + 1), leastColumnWidth);
    }
    registry.CloseKey();
}

void TfrmSummary::AdjustTotalCols()
{
    if (m_adjusting)
        return;
    const QScopedValueRollback<bool> adjusting(m_adjusting, true);
    const int columns = std::min(m_cplxgrdSummary->ColCount(), m_cplxgrdTotal->ColCount());
    for (int col = 0; col < columns; ++col) {
        const int width = m_cplxgrdSummary->columnWidth(col);
        if (!m_cplxgrdSummary->ApplyingWidths() && m_cplxgrdSummary->ColWidths(col) != width)
            m_cplxgrdSummary->SetColWidths(col, width);
        m_cplxgrdTotal->SetColWidths(col, width);
    }
    ScrollTotal();
}

void TfrmSummary::ScrollTotal()
{
    m_cplxgrdTotal->horizontalScrollBar()->setValue(m_cplxgrdSummary->horizontalScrollBar()->value());
}

bool TfrmSummary::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && (watched == m_cplxgrdSummary->viewport() || watched == m_cplxgrdSummary->horizontalHeader()->viewport()))
        Guard([this] { AdjustTotalCols(); });
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Showing, clearing and the observer

void TfrmSummary::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only a real opening starts afresh: a window restored from minimised or
    // uncovered keeps what it shows and what the user typed.
    if (!event->spontaneous())
        Guard([this] { FormShow(); });
}

void TfrmSummary::FormShow()
{
    mnuiClearClick();
    BuildColumns();
    m_cplxgrdSummary->ResetDirections();
    UpdateMenu();
}

void TfrmSummary::mnuiClearClick()
{
    const QDate today = QDate::currentDate();
    m_numedtFromMonth->SetValue(QStringLiteral("1"));
    m_numedtFromDay->SetMaxValue(QString::number(TSummaries::DaysOfMonth(1)));
    m_numedtFromDay->SetValue(QStringLiteral("1"));
    m_numedtToMonth->SetValue(QString::number(today.month()));
    m_numedtToDay->SetMaxValue(QString::number(TSummaries::DaysOfMonth(today.month())));
    m_numedtToDay->SetValue(QString::number(today.day()));
}

void TfrmSummary::ClearResult()
{
    TTulloUtilGrid::ClearRows(m_cplxgrdSummary);
    for (int col = 1; col < m_cplxgrdTotal->ColCount(); ++col)
        m_cplxgrdTotal->SetCells(col, 0, QString());
    m_years = 0;
}

void TfrmSummary::Reset()
{
    ClearResult();
    mnuiClearClick();
    m_years = 0;
}

void TfrmSummary::ObserverChange(const TObservation &observation)
{
    Guard([this, &observation] {
        const auto update = qScopeGuard([this] { UpdateMenu(); });
        switch (TNotifyKind(observation.kind)) {
        case TNotifyKind::SettingsChanged:
            if (!(m_app.GetSettingsChanges() & TSettingsChange::Summary))
                break;
            [[fallthrough]];
        case TNotifyKind::ActivityNamesChanged:
            Reset();
            SaveWidths();
            LoadNames();
            BuildColumns();
            break;
        case TNotifyKind::Closing:
            // The diary is still open while this is told: forget it now.
            SaveWidths();
            m_namesLoaded = false;
            m_summaries.SetNames(nullptr);
            m_summaries.SetDatabase(nullptr);
            Reset();
            BuildColumns();
            break;
        case TNotifyKind::DatabaseChanged:
            LoadNames();
            BuildColumns();
            break;
        default:
            break;
        }
    });
}

void TfrmSummary::numedtMonthExit(TNumericalEdit *month, TNumericalEdit *day)
{
    if (month->Value().isEmpty())
        month->SetValue(QStringLiteral("1"));
    const int days = TSummaries::DaysOfMonth(month->IntValue());
    // The day keeps what was typed: a day the month does not have is
    // refused by the search, with the reason, instead of being cut down.
    const QString typed = day->text().trimmed();
    if (typed.isEmpty() || typed.toInt() <= days)
        day->SetMaxValue(QString::number(days));
    else
        day->SetMaxValue(QStringLiteral("31"));
}

// ---------------------------------------------------------------------------
// Searching and filling

TNumericalEdit *TfrmSummary::Field(TPeriodProblem::TField field) const
{
    switch (field) {
    case TPeriodProblem::FromMonth:
        return m_numedtFromMonth;
    case TPeriodProblem::FromDay:
        return m_numedtFromDay;
    case TPeriodProblem::ToMonth:
        return m_numedtToMonth;
    case TPeriodProblem::ToDay:
        return m_numedtToDay;
    case TPeriodProblem::None:
        break;
    }
    return nullptr;
}

void TfrmSummary::mnuiSearchClick()
{
    const auto finish = qScopeGuard([this] {
        UpdateMenu();
        SetStatus(0, QString());
        m_cplxgrdSummary->ResetDirections();
    });
    for (TNumericalEdit *edit : {m_numedtFromMonth, m_numedtFromDay, m_numedtToMonth, m_numedtToDay}) {
        if (edit->Value().isEmpty())
            edit->SetValue(QStringLiteral("1"));
    }
    numedtMonthExit(m_numedtFromMonth, m_numedtFromDay);
    numedtMonthExit(m_numedtToMonth, m_numedtToDay);
    const int fromMonth = m_numedtFromMonth->IntValue();
    const int fromDay = m_numedtFromDay->IntValue();
    const int toMonth = m_numedtToMonth->IntValue();
    const int toDay = m_numedtToDay->IntValue();
    const TPeriodProblem problem = TSummaries::CheckPeriod(fromMonth, fromDay, toMonth, toDay);
    if (!problem.IsEmpty()) {
        ShowMessageBox(problem.Message, TMessageKind::Error, TMessageButton::OK);
        if (TNumericalEdit *field = Field(problem.Field)) {
            activateWindow();
            field->setFocus();
            field->selectAll();
        }
        return;
    }

    SetStatus(0, QStringLiteral("Hämtar data..."));
    ClearResult();
    if (!m_namesLoaded)
        return;
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    TSummaryResults results;
    QStringList totals;
    m_summaries.Summarize(fromMonth, fromDay, m_app.GetSettings(), &totals, &results, toDay, toMonth);
    Fill(results, totals);
}

void TfrmSummary::Fill(const TSummaryResults &results, const QStringList &totals)
{
    const TSummaryTable table = TSummaries::BuildTable(results, totals);
    if (table.YearCount() == 0)
        return;
    const int columns = m_cplxgrdSummary->ColCount();
    m_cplxgrdSummary->BeginUpdate();
    m_cplxgrdSummary->SetRowCount(table.YearCount() + 1);
    for (int r = 0; r < table.YearCount(); ++r) {
        const QStringList &row = table.Rows.at(r);
        for (int col = 0; col < columns && col < row.size(); ++col)
            m_cplxgrdSummary->SetCells(col, r + 1, row.at(col));
    }
    m_cplxgrdSummary->EndUpdate();
    for (int col = 0; col < m_cplxgrdTotal->ColCount() && col < table.Totals.size(); ++col)
        m_cplxgrdTotal->SetCells(col, 0, table.Totals.at(col));
    m_years = table.YearCount();

    TSortRecord record;
    record.Cols = {0, -1, -1};
    record.Styles[0] = TSortStyle::Numeric;
    m_cplxgrdSummary->Sort(record);
}

// ---------------------------------------------------------------------------
// Sorting and printing

// The settings window with only its summary page: what the columns show and
// which activities are summed. Its OK notifies the change, which rebuilds
// the columns here.
void TfrmSummary::mnuiSettingsClick()
{
    CorvaleForms().SettingsDialog(m_app, this, TfrmSettings::pgSummary).exec();
}

void TfrmSummary::mnuiSortClick()
{
    if (m_years <= 0)
        return;
    TfrmSort &frmSort = CorvaleForms().SortDialog(this);
    frmSort.SetRegistryKey(sortKey);
    frmSort.SetDateMode(false);
    frmSort.SetGrid(m_cplxgrdSummary);
    if (frmSort.exec() == QDialog::Accepted)
        m_cplxgrdSummary->Sort(frmSort.GetSortRecord());
}

QString TfrmSummary::PrintTitle() const
{
    return QStringLiteral("Summering (%1 - %2 till %3 - %4)")
        .arg(twoDigits(m_numedtFromMonth->IntValue()), twoDigits(m_numedtFromDay->IntValue()),
             twoDigits(m_numedtToMonth->IntValue()), twoDigits(m_numedtToDay->IntValue()));
}

TComplexGrid *TfrmSummary::BuildPrintGrid()
{
    // The widths the user gave the columns.
    AdjustTotalCols();
    TTulloUtilGrid::CopyGrid(m_printGrid, m_cplxgrdSummary);
    const int last = m_printGrid->RowCount() + 1;
    m_printGrid->SetRowCount(last + 1);
    for (int col = 0; col < m_printGrid->ColCount(); ++col) {
        m_printGrid->SetCells(col, last - 1, QString());
        const bool hasValue = !TTulloUtilGrid::IsColumnEmpty(m_cplxgrdSummary, col);
        m_printGrid->SetCells(col, last, hasValue && col < m_cplxgrdTotal->ColCount() ? m_cplxgrdTotal->Cells(col, 0) : QString());
    }
    return m_printGrid;
}

void TfrmSummary::PrintOrPreview(bool preview)
{
    if (m_years <= 0)
        return;
    // No printer is needed: a preview never prints, and a print without a
    // printer goes to a PDF file.
    if (!preview)
        SetStatus(0, QStringLiteral("Skriver ut..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });
    TComplexGrid *grid = BuildPrintGrid();
    TfrmPrintTitle &title = CorvaleForms().PrintTitleDialog(this);
    const QStringList none;
    title.SuggestFromList(&none, PrintTitle());
    if (title.exec() != QDialog::Accepted)
        return;
    TfrmPrint &list = CorvaleForms().ListPrint();
    list.PrepareList(grid, title.GetTitle(), false);
    if (preview)
        list.PreviewList(this);
    else
        list.PrintList(this);
}

void TfrmSummary::mnuiPrintClick()
{
    PrintOrPreview(false);
}

void TfrmSummary::mnuiPreviewClick()
{
    PrintOrPreview(true);
}

// ---------------------------------------------------------------------------
// Menu, status and window

void TfrmSummary::UpdateMenu()
{
    const bool found = m_years > 0;
    m_mnuiSort->setEnabled(found);
    m_mnuiPrint->setEnabled(found);
    m_mnuiPreview->setEnabled(found);
}

QString TfrmSummary::StatusText(int panel) const
{
    return panel == 0 ? m_panel0->text() : m_panel1->text();
}

void TfrmSummary::SetStatus(int panel, const QString &text)
{
    QLabel *label = panel == 0 ? m_panel0 : m_panel1;
    label->setText(text);
    if (panel == 0)
        label->repaint();
}

void TfrmSummary::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Guard([] { CorvaleForms().WindowListChanged(); });
}
