#include "ui/Calendar.h"

#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "export/RecPrint.h"
#include "foundation/CompGrid.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/PGUtils.h"
#include "foundation/SettingsFiles.h"
#include "foundation/TulloCalendar.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScopeGuard>

namespace
{
const QString windowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\CalendarWindow");
const QString activityPlural = QStringLiteral("aktivitet#\\er#");
constexpr int helpTopic = 49;
const std::array<const char *, 12> calendarNames = {"calJan", "calFeb", "calMar", "calApr", "calMay", "calJun",
                                                    "calJul", "calAug", "calSep", "calOct", "calNov", "calDec"};
const QColor skyBlue(166, 202, 240);
const QColor moneyGreen(192, 220, 192);
}

TfrmCalendar::TfrmCalendar(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(QStringLiteral("Kalender"));
    menuBar()->setObjectName(QStringLiteral("mnuCalendar"));

    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("pnlCalendar"));
    setCentralWidget(area);
    for (int month = 1; month <= 12; ++month) {
        auto *calendar = new TTulloCalendar(area);
        calendar->setObjectName(QLatin1String(calendarNames[month - 1]));
        calendar->SetMonth(month);
        const int row = (month - 1) / 3;
        const int col = (month - 1) % 3;
        calendar->setGeometry(4 + col * 148, 4 + row * 128, month == 1 ? 141 : 140, 120);
        calendar->SetTextColor(Qt::black);
        calendar->SetHeaderBkgColor(palette().color(QPalette::Button));
        calendar->SetNonSelectedColor(Qt::white);
        calendar->SetSelectedColor(skyBlue);
        calendar->SetClickedColor(moneyGreen);
        connect(calendar, &TTulloCalendar::OnHeaderClicked, this,
                [this](TTulloCalendar *sender) { Guard([this, sender] { calAllHeaderClick(sender); }); });
        connect(calendar, &TTulloCalendar::OnDayClicked, this,
                [this](TTulloCalendar *sender, int day) { Guard([this, sender, day] { calAllDayClick(sender, day); }); });
        // A printed calendar shows the months as they look.
        calendar->setProperty(PrintAsPictureProperty, true);
        m_calendars[month - 1] = calendar;
    }
    m_lblDates = new QLabel(QStringLiteral("Datum"), area);
    m_lblDates->setObjectName(QStringLiteral("lblDates"));
    m_lblDates->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblDates->setGeometry(448, 6, 137, 16);
    m_moDates = new QPlainTextEdit(area);
    m_moDates->setObjectName(QStringLiteral("moDates"));
    m_moDates->setReadOnly(true);
    m_moDates->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_moDates->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_moDates->setGeometry(448, 24, 137, 465);
    m_lblCount = new QLabel(area);
    m_lblCount->setObjectName(QStringLiteral("lblCount"));
    m_lblCount->setGeometry(448, 496, 137, 16);
    m_pgsbrCalendar = new QProgressBar(area);
    m_pgsbrCalendar->setObjectName(QStringLiteral("pgsbrCalendar"));
    m_pgsbrCalendar->setTextVisible(false);
    m_pgsbrCalendar->hide();

    QMenu *archive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    // The months with their marks and the listed dates print as the window
    // shows them.
    QAction *print = archive->addAction(QStringLiteral("Skriv &ut"));
    print->setObjectName(QStringLiteral("mnuiPrint"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, [this] { Guard([this] { mnuiPreviewPrintClick(false); }); });
    QAction *preview = archive->addAction(QStringLiteral("&Förhandsgranska"));
    preview->setObjectName(QStringLiteral("mnuiPreview"));
    connect(preview, &QAction::triggered, this, [this] { Guard([this] { mnuiPreviewPrintClick(true); }); });
    archive->addSeparator();
    QAction *close = archive->addAction(QStringLiteral("Stä&ng"));
    close->setObjectName(QStringLiteral("mnuiClose"));
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(close, &QAction::triggered, this, [this] { Guard([this] { mnuiCloseClick(); }); });

    setFixedSize(595, 595);

    Guard([this] {
        // FormCreate.
        TDefRegistry registry(TDefRegistry::THive::User);
        if (registry.OpenKey(windowKey, true)) {
            registry.ReadPosition(this);
            registry.CloseKey();
        }
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_menusAdded = true;
        QAction *help = CorvaleForms().AddHelpMenu(this, menuBar());
        connect(help, &QAction::triggered, this, [this] { Guard([this] { m_app.ShowHelp(helpTopic); }); });
        m_lblCount->setText(TTulloUtilString::CountText(0, activityPlural));
    });
}

TfrmCalendar::~TfrmCalendar()
{
    Guard([this] {
        TDefRegistry registry(TDefRegistry::THive::User);
        if (registry.OpenKey(windowKey, true)) {
            registry.WritePosition(this);
            registry.CloseKey();
        }
    });
    Guard([this] {
        if (m_menusAdded) {
            m_menusAdded = false;
            CorvaleForms().RemoveWindowMenu(this, menuBar());
            CorvaleForms().RemoveHelpMenu(this, menuBar());
        }
    });
}

void TfrmCalendar::FillDates(const TComplexGrid &grid)
{
    for (TTulloCalendar *calendar : m_calendars) {
        calendar->ClearDays();
        calendar->ClearClicked();
    }
    m_moDates->clear();
    m_pgsbrCalendar->setRange(0, grid.RowCount());
    m_pgsbrCalendar->setValue(0);
    m_pgsbrCalendar->show();
    repaint();

    TBusyPeriod busy(CorvaleForms().CursorManagement(), QStringLiteral("Corvale"), true);
    const auto reset = qScopeGuard([this] {
        m_pgsbrCalendar->hide();
        m_pgsbrCalendar->setValue(0);
    });
    QStringList dates;
    dates.reserve(grid.RowCount());
    // A grid keeps one data row even when the list is empty; a row without
    // a date is no activity.
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
        if (const QString date = grid.Cells(0, row); !date.isEmpty())
            dates.append(date);
        m_pgsbrCalendar->setValue(row + 1);
    }
    for (TTulloCalendar *calendar : m_calendars)
        calendar->SetDays(&dates);
}

void TfrmCalendar::ShowDates(TTulloCalendar *sender, const QString &title)
{
    for (TTulloCalendar *calendar : m_calendars) {
        if (calendar != sender)
            calendar->ClearClicked();
    }
    m_lblDates->setText(title);
    m_lblCount->setText(TTulloUtilString::CountText(int(m_dates.size()), activityPlural));
    m_moDates->setPlainText(m_dates.join(QLatin1Char('\n')));
}

void TfrmCalendar::calAllHeaderClick(TTulloCalendar *sender)
{
    sender->GetCurrentDates(&m_dates);
    ShowDates(sender, QStringLiteral("Datum i ") + sender->MonthLabel());
}

void TfrmCalendar::calAllDayClick(TTulloCalendar *sender, int day)
{
    sender->GetCurrentDates2(day, &m_dates);
    ShowDates(sender, QStringLiteral("Datum för %1 ").arg(day) + sender->MonthLabel());
}

void TfrmCalendar::mnuiCloseClick()
{
    close();
}

void TfrmCalendar::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Guard([] { CorvaleForms().WindowListChanged(); });
}

void TfrmCalendar::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // The progress bar runs along the bottom, under the menu bar's height.
    const QWidget *area = centralWidget();
    m_pgsbrCalendar->setGeometry(0, area->height() - 16, area->width(), 16);
}

void TfrmCalendar::mnuiPreviewPrintClick(bool preview)
{
    // No printer is needed: a print without one goes to a PDF file.
    TfrmRecordPrint record;
    record.PrepareRecord(centralWidget(), QStringLiteral("Kalender"));
    if (preview)
        record.Preview(this);
    else
        record.Print(this);
}
