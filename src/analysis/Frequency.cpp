#include "analysis/Frequency.h"

#include "analysis/ChartWindow.h"
#include "analysis/FrequencyChart.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "export/PrintTtl.h"
#include "foundation/CompGrid.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/PGUtils.h"
#include "foundation/PGUtilsWidgets.h"
#include "foundation/SettingsFiles.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString windowKey = settingsRoot + QStringLiteral("\\FrequencyWindow");
const QString styleKey = settingsRoot + QStringLiteral("\\ActivityStyle");
const QString busyId = QStringLiteral("Frequency");
const QString dateTitle = QStringLiteral("Datum");
constexpr int helpTopic = 43;
constexpr int zoomHelpTopic = 44;
constexpr int printHelpTopic = 45;

bool itemBefore(const TFrequencyItem &a, const TFrequencyItem &b)
{
    if (a.Year != b.Year)
        return a.Year < b.Year;
    if (a.Month != b.Month)
        return a.Month < b.Month;
    return a.Day < b.Day;
}

QLabel *boldLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel *plainLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}
}

TfrmFrequency::TfrmFrequency(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmFrequency"));
    setWindowTitle(QStringLiteral("Frekvens"));
    setMinimumSize(400, 400);
    resize(700, 520);
    BuildWindow();
    BuildMenus();

    // FormCreate.
    Guard([this] {
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_menusAdded = true;
        ChartWindow::AddHelpMenu(this, m_app, helpTopic, QStringLiteral("&Zooma i diagrammet..."), zoomHelpTopic,
                                 QStringLiteral("&Skriva ut diagrammet..."), printHelpTopic);
        LoadWindowState(windowKey, this);
        ReadSettings();
        ClearValueLabels();
        ApplyEnabling();
    });
}

TfrmFrequency::~TfrmFrequency()
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
}

// ---------------------------------------------------------------------------
// Building

QGroupBox *TfrmFrequency::RadioGroup(const char *name, const QString &title, const QStringList &items, QButtonGroup *&group)
{
    auto *box = new QGroupBox(title);
    box->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    group->setObjectName(QLatin1String(name));
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items.at(i), box);
        radio->setObjectName(QLatin1String(name) + QString::number(i));
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    group->button(0)->setChecked(true);
    return box;
}

void TfrmFrequency::BuildWindow()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlFrequency"));
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);

    auto *top = new QHBoxLayout;
    m_grbxCalcType = RadioGroup("rgCalcType", QStringLiteral("Frekvenstyp"),
                                {QStringLiteral("&År"), QStringLiteral("&Månad"), QStringLiteral("&Vecka"),
                                 QStringLiteral("&Dag"), QStringLiteral("V&eckodag")},
                                m_rgCalcType);
    m_grbxShow = RadioGroup("rgShow", QStringLiteral("Visningstyp"), {QStringLiteral("&Summering"), QStringLiteral("&Genomsnitt")},
                            m_rgShow);
    m_grbxIndYears = RadioGroup("rgIndYears", QStringLiteral("Årvisning"),
                                {QStringLiteral("S&ummera över år"), QStringLiteral("V&isa enskilda år")}, m_rgIndYears);
    top->addWidget(m_grbxCalcType);
    top->addWidget(m_grbxShow);
    top->addWidget(m_grbxIndYears);

    auto *values = new QGridLayout;
    m_lblMaxLabel = plainLabel("lblMaxLabel", QStringLiteral("Maxvärde:"), central);
    m_lblMax = boldLabel("lblMax", central);
    m_lblMaxValue = boldLabel("lblMaxValue", central);
    m_lblFirstLabel = plainLabel("lblFirstLabel", QStringLiteral("Första datum:"), central);
    m_lblFirstDate = boldLabel("lblFirstDate", central);
    m_lblLastLabel = plainLabel("lblLastLabel", QStringLiteral("Sista datum:"), central);
    m_lblLastDate = boldLabel("lblLastDate", central);
    values->addWidget(m_lblMaxLabel, 0, 0);
    values->addWidget(m_lblMax, 0, 1);
    values->addWidget(m_lblMaxValue, 0, 2);
    values->addWidget(m_lblFirstLabel, 1, 0);
    values->addWidget(m_lblFirstDate, 1, 1);
    values->addWidget(m_lblLastLabel, 2, 0);
    values->addWidget(m_lblLastDate, 2, 1);
    values->setColumnStretch(3, 1);
    top->addLayout(values, 1);
    layout->addLayout(top);

    m_chrtFrequency = new TFrequencyChart(central);
    layout->addWidget(m_chrtFrequency, 1);
    connect(m_chrtFrequency, &TFrequencyChart::PositionChanged, this, [this](const QString &text) {
        SetStatus(1, m_items.isEmpty() ? QString() : text);
    });

    statusBar()->setObjectName(QStringLiteral("sbrFrequency"));
    m_panel0 = new QLabel(this);
    m_panel0->setObjectName(QStringLiteral("sbrFrequencyPanel0"));
    m_panel0->setFrameShape(QFrame::Panel);
    m_panel0->setFrameShadow(QFrame::Sunken);
    m_panel1 = new QLabel(this);
    m_panel1->setObjectName(QStringLiteral("sbrFrequencyPanel1"));
    m_panel1->setFrameShape(QFrame::Panel);
    m_panel1->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(m_panel0);
    statusBar()->addWidget(m_panel1, 1);

    connect(m_rgCalcType, &QButtonGroup::idClicked, this, [this] { Guard([this] { rgCalcTypeClick(); }); });
    connect(m_rgShow, &QButtonGroup::idClicked, this, [this] { Guard([this] { PlotFrequency(); }); });
    connect(m_rgIndYears, &QButtonGroup::idClicked, this, [this] { Guard([this] { PlotFrequency(); }); });
}

void TfrmFrequency::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuFrequency"));
    ChartWindow::AddArchiveMenu(this, QStringLiteral("Skriv &ut..."), QStringLiteral("Stä&ng"), [this] { mnuiPrintClick(); });
}

// ---------------------------------------------------------------------------
// Settings

void TfrmFrequency::ReadSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(styleKey, false))
        return;
    const auto choose = [&registry](QButtonGroup *group, const char *name) {
        const int index = registry.ReadIntegerDef(QLatin1String(name), 0);
        if (QAbstractButton *button = group->button(index))
            button->setChecked(true);
    };
    choose(m_rgCalcType, "CalcType");
    choose(m_rgShow, "Show");
    choose(m_rgIndYears, "IndYears");
    registry.CloseKey();
}

void TfrmFrequency::WriteSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(styleKey, true))
        return;
    registry.WriteInteger(QStringLiteral("CalcType"), CalcType());
    registry.WriteInteger(QStringLiteral("Show"), ShowType());
    registry.WriteInteger(QStringLiteral("IndYears"), IndYears());
    registry.CloseKey();
}

// ---------------------------------------------------------------------------
// Choices

int TfrmFrequency::CalcType() const
{
    return m_rgCalcType->checkedId();
}

int TfrmFrequency::ShowType() const
{
    return m_rgShow->checkedId();
}

int TfrmFrequency::IndYears() const
{
    return m_rgIndYears->checkedId();
}

void TfrmFrequency::SetCalcType(int index)
{
    if (QAbstractButton *button = m_rgCalcType->button(index); button && button->isEnabled())
        button->click();
}

void TfrmFrequency::SetShowType(int index)
{
    if (QAbstractButton *button = m_rgShow->button(index); button && button->isEnabled())
        button->click();
}

void TfrmFrequency::SetIndYears(int index)
{
    if (QAbstractButton *button = m_rgIndYears->button(index); button && button->isEnabled())
        button->click();
}

void TfrmFrequency::ApplyEnabling()
{
    const int kind = CalcType();
    const bool monthOrWeek = kind == int(TFrequencyKind::Month) || kind == int(TFrequencyKind::Week);
    m_lblMaxLabel->setVisible(monthOrWeek);
    m_lblMax->setVisible(monthOrWeek);
    m_lblMaxValue->setVisible(monthOrWeek);
    const auto enable = [](QGroupBox *box, QButtonGroup *group, bool enabled) {
        box->setEnabled(enabled);
        for (QAbstractButton *button : group->buttons())
            button->setEnabled(enabled);
        if (!enabled)
            group->button(0)->setChecked(true);
    };
    enable(m_grbxShow, m_rgShow, monthOrWeek);
    enable(m_grbxIndYears, m_rgIndYears, kind != int(TFrequencyKind::Year));
}

void TfrmFrequency::rgCalcTypeClick()
{
    ApplyEnabling();
    PlotFrequency();
}

bool TfrmFrequency::MaxVisible() const
{
    return !m_lblMax->isHidden();
}

// ---------------------------------------------------------------------------
// Loading and drawing

void TfrmFrequency::Load(const TComplexGrid *grid)
{
    SetStatus(0, QStringLiteral("Hämtar data..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);

    QList<TFrequencyItem> items;
    const int column = grid ? TTulloUtilGrid::FindColumn(grid, dateTitle) : -1;
    if (column >= 0) {
        items.reserve(grid->RowCount() - grid->FixedRows());
        for (int row = grid->FixedRows(); row < grid->RowCount(); ++row) {
            const QString date = grid->Cells(column, row).trimmed();
            if (date.isEmpty())
                continue;
            items.append({TTulloUtilTimeDate::YearOf(date), TTulloUtilTimeDate::MonthOf(date), TTulloUtilTimeDate::DayOf(date)});
        }
    }
    // The list in date order, whatever order the main list shows.
    std::stable_sort(items.begin(), items.end(), itemBefore);
    m_items.clear();
    m_chrtFrequency->Clear();
    ClearValueLabels();
    // A list the table cannot hold is refused as a whole, so that no choice
    // draws a part of it.
    if (!items.isEmpty())
        CheckFrequencyYears(items.first().Year, items.last().Year);
    m_items = std::move(items);
    m_chrtFrequency->ResetZoom();
    PlotFrequency();
}

void TfrmFrequency::ClearValueLabels()
{
    m_lblMax->clear();
    m_lblMaxValue->clear();
    m_lblFirstDate->clear();
    m_lblLastDate->clear();
}

void TfrmFrequency::PlotFrequency()
{
    if (!isVisible())
        return;
    m_chrtFrequency->Clear();
    ClearValueLabels();
    if (m_items.isEmpty())
        return;
    SetStatus(0, QStringLiteral("Ritar..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });

    const int kind = CalcType();
    std::unique_ptr<TFrequency> frequency = CreateFrequency(kind);
    const bool individualYears = IndYears() == 1;
    const int firstYear = m_items.first().Year;
    const int years = m_items.last().Year - firstYear + 1;
    CheckFrequencyYears(firstYear, m_items.last().Year);
    if (individualYears && kind != int(TFrequencyKind::Year)) {
        m_chrtFrequency->AddYearSeries(firstYear, years);
    } else {
        const bool withMean =
            kind == int(TFrequencyKind::Year) || kind == int(TFrequencyKind::Month) || kind == int(TFrequencyKind::Week);
        m_chrtFrequency->AddTotalSeries(withMean);
    }
    try {
        frequency->Calculate(m_chrtFrequency, &m_items, individualYears, ShowType() == 0);
    } catch (...) {
        m_chrtFrequency->Clear();
        throw;
    }
    m_lblMax->setText(frequency->BusiestPeriodText());
    m_lblMaxValue->setText(QStringLiteral("(") + frequency->MaxCountText() + QStringLiteral(")"));
    m_lblFirstDate->setText(frequency->FirstDateText());
    m_lblLastDate->setText(frequency->LastDateText());
    m_chrtFrequency->Finish(kind, frequency->FirstYear(), frequency->FirstPlotted(), frequency->Caption());
}

// ---------------------------------------------------------------------------
// Status, printing, window

QString TfrmFrequency::StatusText(int panel) const
{
    return panel == 0 ? m_panel0->text() : m_panel1->text();
}

QString TfrmFrequency::MaxText() const
{
    return m_lblMax->text();
}

QString TfrmFrequency::MaxValueText() const
{
    return m_lblMaxValue->text();
}

QString TfrmFrequency::FirstDateText() const
{
    return m_lblFirstDate->text();
}

QString TfrmFrequency::LastDateText() const
{
    return m_lblLastDate->text();
}

void TfrmFrequency::SetStatus(int panel, const QString &text)
{
    QLabel *label = panel == 0 ? m_panel0 : m_panel1;
    label->setText(text);
    if (panel == 0)
        label->repaint();
}

std::unique_ptr<TChartPage> TfrmFrequency::ChartReport(const QString &title)
{
    return std::make_unique<TChartPage>(title, m_chrtFrequency->Picture(title));
}

void TfrmFrequency::mnuiPrintClick()
{
    // No printer is needed: without one the print goes to a PDF file.
    SetStatus(0, QStringLiteral("Skriver ut..."));
    const auto clearStatus = qScopeGuard([this] { SetStatus(0, QString()); });
    ChartWindow::PrintUnderTitle(this, QStringLiteral("Frekvens - ") + CreateFrequency(CalcType())->Caption(),
                                 [this](const QString &title) { return ChartReport(title); });
}

void TfrmFrequency::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Guard([] { CorvaleForms().WindowListChanged(); });
}

void TfrmFrequency::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // FormResize: the first panel is half the bar.
    m_panel0->setFixedWidth(std::max(0, width() / 2));
}
