#include "analysis/Report.h"

#include "analysis/ChartWindow.h"
#include "analysis/Frequencies.h"
#include "analysis/ReportChart.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "export/PrintTtl.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/PGUtils.h"
#include "foundation/SettingsFiles.h"
#include "foundation/StringGrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString windowKey = settingsRoot + QStringLiteral("\\ReportWindow");
const QString styleKey = settingsRoot + QStringLiteral("\\ReportStyle");
const QString busyId = QStringLiteral("Report");
constexpr int helpTopic = 46;
constexpr int zoomHelpTopic = 47;
constexpr int printHelpTopic = 48;
// The first series of a graph with more points than this offers the
// average of each block of four.
constexpr int averageFrom = 7;

using VT = TColumnValueType;

QString oneLine(const QString &caption)
{
    return TTulloUtilString::RemoveChars(caption, QStringLiteral("\r\n"), false);
}

// How an axis shows the values of an entry; fault for a text entry.
TReportChart::TAxisStyle axisStyle(const TActivityColumn &entry, const QString &title, const char *fault)
{
    TReportChart::TAxisStyle style;
    style.Title = title;
    switch (entry.ValueType) {
    case VT::vtTime:
        style.DateTime = true;
        style.DateTimeFormat = QStringLiteral("h:mm:ss");
        break;
    case VT::vtPace:
        style.DateTime = true;
        style.DateTimeFormat = QStringLiteral("mm:ss");
        break;
    case VT::vtDate:
        style.DateTime = true;
        style.DateTimeFormat = QStringLiteral("yyyy-MM-dd");
        break;
    case VT::vtText:
        throw EUIError(QString::fromLatin1(fault));
    default:
        style.Decimals = FormatDecimals(entry.Format);
        break;
    }
    return style;
}
} // namespace

TGraphTable GraphTableOfGrid(const TStringGrid *grid, const QList<TColumnKind> &kinds)
{
    if (!grid)
        throw EGraphs(QStringLiteral("Graphs 01"));
    if (grid->FixedRows() < 1)
        throw EGraphs(QStringLiteral("Graph 02"));
    if (kinds.size() != grid->ColCount())
        throw EGraphs(QStringLiteral("Graphs 09"));
    TGraphTable table;
    const int first = grid->FixedRows();
    const int rows = std::max(0, grid->RowCount() - first);
    for (int c = grid->FixedCols(); c < grid->ColCount(); ++c) {
        QStringList cells;
        cells.reserve(rows);
        for (int r = first; r < grid->RowCount(); ++r)
            cells.append(grid->Cells(c, r));
        table.Ids.append(Ordinal(kinds.at(c)));
        table.Columns.append(std::move(cells));
    }
    return table;
}

TfrmReport::TfrmReport(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Rapport"));
    setMinimumSize(600, 562);
    resize(860, 600);
    m_graphs.SetCatalogue(&m_app.GetActivityColumns());
    BuildWindow();
    BuildMenus();

    // FormCreate.
    Guard([this] {
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_menusAdded = true;
        ChartWindow::AddHelpMenu(this, m_app, helpTopic, QStringLiteral("&Zooma i grafen..."), zoomHelpTopic,
                                 QStringLiteral("&Skriva ut grafen..."), printHelpTopic);
        m_pgctrlReport->setCurrentWidget(m_tshPreDefined);
        LoadWindowState(windowKey, this);
        ReadSettings();
    });
}

TfrmReport::~TfrmReport()
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
    m_chrtReport->Clear();
}

// ---------------------------------------------------------------------------
// Building

void TfrmReport::BuildWindow()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlReport"));
    setCentralWidget(central);
    auto *layout = new QHBoxLayout(central);

    auto *controls = new QVBoxLayout;
    m_pgctrlReport = new QTabWidget(central);
    m_pgctrlReport->setObjectName(QStringLiteral("pgctrlReport"));
    m_tshPreDefined = new QWidget;
    m_tshPreDefined->setObjectName(QStringLiteral("tshPreDefined"));
    auto *predefined = new QVBoxLayout(m_tshPreDefined);
    m_lstbxChart = new QListWidget(m_tshPreDefined);
    m_lstbxChart->setObjectName(QStringLiteral("lstbxChart"));
    predefined->addWidget(m_lstbxChart);
    m_pgctrlReport->addTab(m_tshPreDefined, QStringLiteral("&Färdiga rapporter"));

    m_tshOwn = new QWidget;
    m_tshOwn->setObjectName(QStringLiteral("tshOwn"));
    auto *own = new QVBoxLayout(m_tshOwn);
    auto *xLabel = new QLabel(QStringLiteral("&X-axel"), m_tshOwn);
    m_cmbbxDataX = new QComboBox(m_tshOwn);
    m_cmbbxDataX->setObjectName(QStringLiteral("cmbbxDataX"));
    xLabel->setBuddy(m_cmbbxDataX);
    auto *yLabel = new QLabel(QStringLiteral("&Y-axel"), m_tshOwn);
    m_cmbbxDataY1 = new QComboBox(m_tshOwn);
    m_cmbbxDataY1->setObjectName(QStringLiteral("cmbbxDataY1"));
    yLabel->setBuddy(m_cmbbxDataY1);
    m_chklstbxY1 = new QListWidget(m_tshOwn);
    m_chklstbxY1->setObjectName(QStringLiteral("chklstbxY1"));
    own->addWidget(xLabel);
    own->addWidget(m_cmbbxDataX);
    own->addWidget(yLabel);
    own->addWidget(m_cmbbxDataY1);
    own->addWidget(m_chklstbxY1, 1);
    m_pgctrlReport->addTab(m_tshOwn, QStringLiteral("&Egna rapporter"));
    controls->addWidget(m_pgctrlReport, 1);

    auto *settings = new QGroupBox(QStringLiteral("Inställningar"), central);
    settings->setObjectName(QStringLiteral("grbxSettings"));
    auto *settingsLayout = new QVBoxLayout(settings);
    m_chkbxInterpolatedValues = new QCheckBox(QStringLiteral("Använd &interpolerade värden"), settings);
    m_chkbxInterpolatedValues->setObjectName(QStringLiteral("chkbxInterpolatedValues"));
    m_chkbxAverage = new QCheckBox(QStringLiteral("Visa &medelvärden"), settings);
    m_chkbxAverage->setObjectName(QStringLiteral("chkbxAverage"));
    m_chkbxPointLabels = new QCheckBox(QStringLiteral("Visa p&unktvärden"), settings);
    m_chkbxPointLabels->setObjectName(QStringLiteral("chkbxPointLabels"));
    settingsLayout->addWidget(m_chkbxInterpolatedValues);
    settingsLayout->addWidget(m_chkbxAverage);
    settingsLayout->addWidget(m_chkbxPointLabels);
    auto *points = new QHBoxLayout;
    points->addWidget(new QLabel(QStringLiteral("Antal punkter i grafen:"), settings));
    m_lblPointsInGraphValue = new QLabel(settings);
    m_lblPointsInGraphValue->setObjectName(QStringLiteral("lblPointsInGraphValue"));
    points->addWidget(m_lblPointsInGraphValue, 1);
    settingsLayout->addLayout(points);
    controls->addWidget(settings);

    auto *position = new QGroupBox(QStringLiteral("X, Y - Position"), central);
    position->setObjectName(QStringLiteral("grbxPosition"));
    auto *positionLayout = new QGridLayout(position);
    positionLayout->addWidget(new QLabel(QStringLiteral("X:"), position), 0, 0);
    m_lblXValue = new QLabel(position);
    m_lblXValue->setObjectName(QStringLiteral("lblXValue"));
    positionLayout->addWidget(m_lblXValue, 0, 1);
    positionLayout->addWidget(new QLabel(QStringLiteral("Y:"), position), 1, 0);
    m_lblYValue = new QLabel(position);
    m_lblYValue->setObjectName(QStringLiteral("lblYValue"));
    positionLayout->addWidget(m_lblYValue, 1, 1);
    positionLayout->setColumnStretch(1, 1);
    controls->addWidget(position);

    auto *left = new QWidget(central);
    left->setLayout(controls);
    left->setFixedWidth(240);
    layout->addWidget(left);

    m_chrtReport = new TReportChart(central);
    m_chrtReport->SetLabelText([this](double y) { return GraphValueText(LabelEntry(), y); });
    layout->addWidget(m_chrtReport, 1);
    connect(m_chrtReport, &TReportChart::MouseMoved, this, [this](const QPoint &at) { Guard([this, at] { ShowPosition(at); }); });

    statusBar()->setObjectName(QStringLiteral("sbrReport"));
    m_panel0 = new QLabel(this);
    m_panel0->setObjectName(QStringLiteral("sbrReportPanel0"));
    m_panel0->setFrameShape(QFrame::Panel);
    m_panel0->setFrameShadow(QFrame::Sunken);
    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("sbrReportPanel1"));
    m_panel1->setFrameShape(QFrame::Panel);
    m_panel1->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(m_panel0);
    statusBar()->addWidget(m_panel1, 1);

    const auto plot = [this] {
        if (!m_filling)
            Guard([this] { PlotAGraph(); });
    };
    connect(m_pgctrlReport, &QTabWidget::currentChanged, this, plot);
    connect(m_cmbbxDataX, &QComboBox::currentIndexChanged, this, plot);
    connect(m_chkbxInterpolatedValues, &QCheckBox::clicked, this, plot);
    connect(m_chkbxAverage, &QCheckBox::clicked, this, plot);
    connect(m_cmbbxDataY1, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            Guard([this] { cmbbxDataY1Change(); });
    });
    connect(m_chklstbxY1, &QListWidget::itemChanged, this, [this] {
        if (!m_filling)
            Guard([this] { chklstbxY1ClickCheck(); });
    });
    connect(m_lstbxChart, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling)
            Guard([this] { lstbxChartClick(); });
    });
    connect(m_chkbxPointLabels, &QCheckBox::toggled, this, [this](bool on) { m_chrtReport->SetPointLabels(on); });
}

void TfrmReport::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuReport"));
    ChartWindow::AddArchiveMenu(this, QStringLiteral("Skriv ut graf..."), QStringLiteral("&Stäng"), [this] { mnuiPrintClick(); });
}

// ---------------------------------------------------------------------------
// Settings

void TfrmReport::ReadSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    bool interpolated = true, average = true, labels = false;
    if (registry.OpenKey(styleKey, false)) {
        interpolated = registry.ReadBoolDef(QStringLiteral("Interpolated"), true);
        average = registry.ReadBoolDef(QStringLiteral("Average"), true);
        labels = registry.ReadBoolDef(QStringLiteral("Point Labels"), false);
        registry.CloseKey();
    }
    m_chkbxInterpolatedValues->setChecked(interpolated);
    m_chkbxAverage->setChecked(average);
    m_chkbxPointLabels->setChecked(labels);
}

void TfrmReport::WriteSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(styleKey, true))
        return;
    registry.WriteBool(QStringLiteral("Interpolated"), m_chkbxInterpolatedValues->isChecked());
    registry.WriteBool(QStringLiteral("Average"), m_chkbxAverage->isChecked());
    registry.WriteBool(QStringLiteral("Point Labels"), m_chkbxPointLabels->isChecked());
    registry.CloseKey();
}

// ---------------------------------------------------------------------------
// Loading

void TfrmReport::LoadGraphData(const TStringGrid *grid, const QList<TColumnKind> &kinds)
{
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    m_graphs.Load(GraphTableOfGrid(grid, kinds));
}

void TfrmReport::Load()
{
    SetStatus(0, QStringLiteral("Hämtar data..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    m_chrtReport->ResetZoom();
    {
        m_filling = true;
        const auto filled = qScopeGuard([this] { m_filling = false; });
        m_cmbbxDataX->clear();
        QStringList captions;
        m_graphs.XCandidates(&captions);
        const QList<int> &ids = m_graphs.XCandidateIds();
        for (int i = 0; i < captions.size(); ++i)
            m_cmbbxDataX->addItem(captions.at(i), ids.at(i));
        QStringList units;
        m_graphs.YUnits(&units);
        units.sort();
        units.removeDuplicates();
        m_cmbbxDataY1->clear();
        m_cmbbxDataY1->addItems(units);
        m_lstbxChart->clear();
        for (int i = 0; i < m_reports.Count(); ++i)
            m_lstbxChart->addItem(m_reports.Get(i).Name);
        if (m_cmbbxDataX->count() > 0)
            m_cmbbxDataX->setCurrentIndex(0);
        if (m_cmbbxDataY1->count() > 0)
            m_cmbbxDataY1->setCurrentIndex(0);
        if (m_lstbxChart->count() > 0)
            m_lstbxChart->setCurrentRow(0);
    }
    cmbbxDataY1Change();
    lstbxChartClick();
}

void TfrmReport::cmbbxDataY1Change()
{
    {
        m_filling = true;
        const auto filled = qScopeGuard([this] { m_filling = false; });
        m_chklstbxY1->clear();
        const QString unit = m_cmbbxDataY1->currentText();
        if (!unit.isEmpty()) {
            for (const TActivityColumn &entry : m_app.GetActivityColumns().Entries()) {
                if (entry.Unit != unit || !entry.HasData)
                    continue;
                auto *item = new QListWidgetItem(oneLine(entry.Caption), m_chklstbxY1);
                item->setData(Qt::UserRole, entry.Id);
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Unchecked);
            }
        }
        if (m_chklstbxY1->count() > 0)
            m_chklstbxY1->item(0)->setCheckState(Qt::Checked);
    }
    PlotOwn();
}

void TfrmReport::chklstbxY1ClickCheck()
{
    int checked = 0;
    for (int i = 0; i < m_chklstbxY1->count(); ++i)
        if (m_chklstbxY1->item(i)->checkState() == Qt::Checked)
            ++checked;
    m_chkbxAverage->setEnabled(m_chklstbxY1->count() == 0 || checked == 1);
    PlotOwn();
}

void TfrmReport::lstbxChartClick()
{
    PlotOwn();
    PlotPredefined();
}

void TfrmReport::PlotAGraph()
{
    PlotOwn();
    PlotPredefined();
}

// ---------------------------------------------------------------------------
// Drawing

void TfrmReport::PlotOwn()
{
    if (m_pgctrlReport->currentWidget() != m_tshOwn || m_cmbbxDataX->currentIndex() < 0
        || m_cmbbxDataY1->currentIndex() < 0)
        return;
    SetStatus(0, QStringLiteral("Ritar..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });
    QList<int> yIds;
    for (int i = 0; i < m_chklstbxY1->count(); ++i)
        if (m_chklstbxY1->item(i)->checkState() == Qt::Checked)
            yIds.append(m_chklstbxY1->item(i)->data(Qt::UserRole).toInt());
    m_chkbxAverage->setEnabled(yIds.size() == 1);
    Plot(m_cmbbxDataX->currentData().toInt(), m_cmbbxDataY1->currentText(), yIds);
}

void TfrmReport::PlotPredefined()
{
    const int index = m_lstbxChart->currentRow();
    if (m_pgctrlReport->currentWidget() != m_tshPreDefined || index < 0)
        return;
    SetStatus(0, QStringLiteral("Ritar..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });
    const TReport report = m_reports.Get(index);
    const int yCount = m_reports.YCount(index);
    m_chkbxAverage->setEnabled(yCount == 1);
    QList<int> yIds;
    for (int slot = 1; slot <= yCount; ++slot)
        if (m_graphs.HasData(report.Columns[std::size_t(slot)]))
            yIds.append(report.Columns[std::size_t(slot)]);
    const TActivityColumn last = m_app.GetActivityColumns().GetById(report.Columns[std::size_t(yCount)]);
    Plot(report.Columns[0], last.Unit, yIds);
}

void TfrmReport::Plot(int xId, const QString &yUnit, const QList<int> &yIds)
{
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    TActivityColumns &catalogue = m_app.GetActivityColumns();
    m_chrtReport->ResetZoom();
    m_chrtReport->Clear();
    m_lblPointsInGraphValue->clear();

    m_xEntry = catalogue.GetById(xId);
    m_yEntry = TActivityColumn();
    for (const TActivityColumn &entry : catalogue.Entries()) {
        if (entry.Unit == yUnit) {
            m_yEntry = entry;
            break;
        }
    }
    if (m_yEntry.Id < 0)
        throw EActivityColumnsNoId(QStringLiteral("ActivityColumns 08"));
    m_chrtReport->SetAxes(axisStyle(m_xEntry, oneLine(m_xEntry.Caption), "Charts 01"), axisStyle(m_yEntry, yUnit, "Charts 02"));

    const bool labels = m_chkbxPointLabels->isChecked();
    for (int n = 0; n < yIds.size(); ++n) {
        const TActivityColumn entry = catalogue.GetById(yIds.at(n));
        if (entry.ValueType == VT::vtText)
            throw EUIError(QStringLiteral("Charts 04"));
        QList<QPointF> points;
        m_graphs.FillSeries(&points, m_chkbxInterpolatedValues->isChecked(), entry.Id, xId);
        m_chrtReport->AddSeries(entry.Heading, n < 15 ? SeriesPaletteIndex(n) : -1, points, labels);
    }

    const int firstPoints = m_chrtReport->SeriesCount() > 0 ? int(m_chrtReport->Points(0).size()) : 0;
    const bool average = m_chkbxAverage->isEnabled() && m_chrtReport->SeriesCount() > 0 && yIds.size() == 1
        && firstPoints > averageFrom;
    m_chkbxAverage->setEnabled(average);
    if (average && m_chkbxAverage->isChecked()) {
        try {
            const TActivityColumn entry = catalogue.GetById(yIds.first());
            m_chrtReport->AddComputedSeries(QStringLiteral("Medelvärde för ") + entry.Heading,
                                            BlockAverages(m_chrtReport->Points(0)));
        } catch (...) {
            // The average is an extra; the graph stands without it.
        }
    }
    if (yIds.size() == 1)
        m_lblPointsInGraphValue->setText(QString::number(firstPoints));
    m_chrtReport->Finish();
}

TActivityColumn TfrmReport::LabelEntry() const
{
    QString unit;
    const int index = m_lstbxChart->currentRow();
    if (m_pgctrlReport->currentWidget() == m_tshOwn || index < 0)
        unit = m_cmbbxDataY1->currentText();
    else
        unit = m_app.GetActivityColumns().GetById(m_reports.Get(index).Columns[1]).Unit;
    for (const TActivityColumn &entry : m_app.GetActivityColumns().Entries())
        if (entry.Unit == unit)
            return entry;
    return m_yEntry;
}

void TfrmReport::ShowPosition(const QPoint &position)
{
    QPointF value;
    if (!m_chrtReport->ValueAt(position, value))
        return;
    m_lblXValue->setText(GraphValueText(m_xEntry, value.x()));
    m_lblYValue->setText(GraphValueText(m_yEntry, value.y()));
}

// ---------------------------------------------------------------------------
// Choices, for the user and for tests

void TfrmReport::ShowPredefinedPage()
{
    m_pgctrlReport->setCurrentWidget(m_tshPreDefined);
}

void TfrmReport::ShowOwnPage()
{
    m_pgctrlReport->setCurrentWidget(m_tshOwn);
}

void TfrmReport::SelectReport(int index)
{
    m_lstbxChart->setCurrentRow(index);
}

bool TfrmReport::SelectX(const QString &caption)
{
    const int index = m_cmbbxDataX->findText(caption);
    if (index >= 0)
        m_cmbbxDataX->setCurrentIndex(index);
    return index >= 0;
}

bool TfrmReport::SelectUnit(const QString &unit)
{
    const int index = m_cmbbxDataY1->findText(unit);
    if (index >= 0)
        m_cmbbxDataY1->setCurrentIndex(index);
    return index >= 0;
}

void TfrmReport::CheckY(const QList<int> &rows)
{
    for (int i = 0; i < m_chklstbxY1->count(); ++i)
        m_chklstbxY1->item(i)->setCheckState(rows.contains(i) ? Qt::Checked : Qt::Unchecked);
}

QStringList TfrmReport::YItems() const
{
    return ChartWindow::ItemTexts(m_chklstbxY1);
}

QStringList TfrmReport::XItems() const
{
    return ChartWindow::ItemTexts(m_cmbbxDataX);
}

QStringList TfrmReport::UnitItems() const
{
    return ChartWindow::ItemTexts(m_cmbbxDataY1);
}

QStringList TfrmReport::ReportNames() const
{
    return ChartWindow::ItemTexts(m_lstbxChart);
}

void TfrmReport::SetInterpolated(bool on)
{
    if (m_chkbxInterpolatedValues->isChecked() != on)
        m_chkbxInterpolatedValues->click();
}

void TfrmReport::SetAverage(bool on)
{
    if (m_chkbxAverage->isChecked() != on) {
        if (m_chkbxAverage->isEnabled())
            m_chkbxAverage->click();
        else
            m_chkbxAverage->setChecked(on);
    }
}

void TfrmReport::SetPointLabels(bool on)
{
    m_chkbxPointLabels->setChecked(on);
}

bool TfrmReport::AverageEnabled() const
{
    return m_chkbxAverage->isEnabled();
}

QString TfrmReport::PointsInGraphText() const
{
    return m_lblPointsInGraphValue->text();
}

QString TfrmReport::XValueText() const
{
    return m_lblXValue->text();
}

QString TfrmReport::YValueText() const
{
    return m_lblYValue->text();
}

QString TfrmReport::StatusText(int panel) const
{
    return panel == 0 ? m_panel0->text() : m_panel1->text();
}

void TfrmReport::SetStatus(int panel, const QString &text)
{
    QLabel *label = panel == 0 ? m_panel0 : m_panel1;
    label->setText(text);
    if (panel == 0 && label->isVisible())
        label->repaint();
}

// ---------------------------------------------------------------------------
// Printing, window

QString TfrmReport::TitleProposal() const
{
    return m_chrtReport->LeftTitle() + QStringLiteral("/") + m_chrtReport->BottomTitle();
}

std::unique_ptr<TChartPage> TfrmReport::ChartPage(const QString &title)
{
    return std::make_unique<TChartPage>(title, m_chrtReport->Picture(title));
}

void TfrmReport::mnuiPrintClick()
{
    // No printer is needed: without one the print goes to a PDF file.
    SetStatus(0, QStringLiteral("Skriver ut..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });
    ChartWindow::PrintUnderTitle(this, TitleProposal(), [this](const QString &title) { return ChartPage(title); });
}

void TfrmReport::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // FormShow: the old graph goes until the new data are drawn.
    if (!event->spontaneous()) {
        SetStatus(0, QStringLiteral("Hämtar data..."));
        m_chrtReport->Clear();
    }
}

void TfrmReport::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Guard([] { CorvaleForms().WindowListChanged(); });
}

void TfrmReport::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // FormResize: the first panel is half the bar.
    m_panel0->setFixedWidth(std::max(0, width() / 2));
}
