#include "ui/Main.h"

#include "analysis/CourseReplay.h"
#include "analysis/Frequency.h"
#include "analysis/Objectives.h"
#include "analysis/Summary.h"
#include "analysis/Report.h"
#include "analysis/Records.h"
#include "app/About.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "app/DbSelect.h"
#include "app/SettingsWindow.h"
#include "app/Splash.h"
#include "columns/ActivityColumns.h"
#include "columns/ColumnPresets.h"
#include "columns/GridActivityColumns.h"
#include "export/Export.h"
#include "foundation/CompGrid.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DbClient.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/MessageBox.h"
#include "foundation/Observer.h"
#include "foundation/PGUtils.h"
#include "reference/Course.h"
#include "reference/Exercise.h"
#include "ui/Calendar.h"
#include "reference/Pulse.h"
#include "ui/MainPrivate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

using MainWindow::BusyId;

namespace
{
const QString mainWindowKey = QString::fromLatin1(SettingsFiles::KeyRoot) + QStringLiteral("\\MainWindow");

// The file's owner may not write it (for root, who may write anyway, the
// mode bits decide), or this user may not.
bool isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return !info.permission(QFile::WriteOwner) || !info.isWritable();
}

// The picture of the pulse-interval button: a red heart.
QIcon heartIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath heart;
    heart.moveTo(8, 14);
    heart.cubicTo(1, 9, 0, 5, 2.5, 3);
    heart.cubicTo(4.5, 1.5, 7, 2.5, 8, 5);
    heart.cubicTo(9, 2.5, 11.5, 1.5, 13.5, 3);
    heart.cubicTo(16, 5, 15, 9, 8, 14);
    painter.fillPath(heart, QColor(200, 0, 30));
    return QIcon(picture);
}

// The picture of the strength-program button: a dumbbell.
QIcon dumbbellIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor iron(60, 60, 70);
    painter.fillRect(QRectF(4, 7, 8, 2), iron);
    painter.setPen(Qt::NoPen);
    painter.setBrush(iron);
    painter.drawRoundedRect(QRectF(1, 3, 3, 10), 1, 1);
    painter.drawRoundedRect(QRectF(12, 3, 3, 10), 1, 1);
    return QIcon(picture);
}

// The picture of the frequency button: three bars.
QIcon barsIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(QRectF(1, 8, 4, 7), QColor(0, 0, 255));
    painter.fillRect(QRectF(6, 3, 4, 12), QColor(0, 0, 160));
    painter.fillRect(QRectF(11, 6, 4, 9), QColor(0, 0, 255));
    return QIcon(picture);
}

// The picture of the column-settings button: a list of three columns, the
// middle one ticked.
QIcon columnsIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(QRectF(1, 2, 14, 3), QColor(0, 0, 160));
    for (const int x : {1, 6, 11})
        painter.fillRect(QRectF(x, 6, 4, 9), x == 6 ? QColor(0, 128, 0) : QColor(160, 160, 160));
    return QIcon(picture);
}

// The picture of the summary button: a sum sign.
QIcon sumIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0, 0, 160), 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const QPointF sigma[] = {{13, 2}, {3, 2}, {8, 8}, {3, 14}, {13, 14}};
    painter.drawPolyline(sigma, 5);
    return QIcon(picture);
}

// The picture of the goals button: a target.
QIcon targetIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (const auto &[radius, colour] : {std::pair{7.5, QColor(200, 0, 30)}, std::pair{5.0, QColor(Qt::white)},
                                         std::pair{2.5, QColor(200, 0, 30)}}) {
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(8, 8), radius, radius);
    }
    return QIcon(picture);
}

// The picture of the personal-records button: a gold medal on its ribbon.
QIcon medalIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 0, 30));
    painter.drawPolygon(QPolygonF({QPointF(3, 0), QPointF(7, 0), QPointF(9, 7), QPointF(5, 7)}));
    painter.setBrush(QColor(0, 0, 160));
    painter.drawPolygon(QPolygonF({QPointF(9, 0), QPointF(13, 0), QPointF(11, 7), QPointF(7, 7)}));
    painter.setBrush(QColor(230, 180, 20));
    painter.setPen(QColor(150, 110, 0));
    painter.drawEllipse(QRectF(3.5, 6.5, 9, 9));
    return QIcon(picture);
}

QLabel *statusPanel(QWidget *parent, const char *name, int width)
{
    auto *panel = new QLabel(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    if (width > 0)
        panel->setFixedWidth(width);
    return panel;
}
}

TfrmMain::TfrmMain(TCorvaleApp &app, QWidget *parent)
    : QMainWindow(parent), m_app(app), m_cursor(CorvaleForms().CursorManagement())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Ternvall"));
    // The first start takes as much of the screen as the "Ny" page of a
    // time-and-distance activity wants, leaving room for the window's frame;
    // a stored size replaces it.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1366, 768);
    resize(QSize(1280, 900).boundedTo(screen.size() - QSize(16, 40)).expandedTo(QSize(900, 600)));
    Guard([this] { FormCreate(); });
}

TfrmMain::~TfrmMain()
{
    Guard([this] { FormDestroy(); });
}

void TfrmMain::FormCreate()
{
    // Value texts use their own fixed formats ("." decimals, yyyy-MM-dd);
    // the widgets speak Swedish whatever the desktop's language.
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    BuildStatusBar();
    BuildPages();
    BuildMenus();
    BuildToolBars();
    BuildEditAndShowItems();
    BuildEditToolBar();
    try {
        m_app.CheckInterbase();
    } catch (const ECorvaleError &) {
        m_shell = true;
        ShowError(QStringLiteral("Interbase databas version 6 är inte installerad. Applikationen kommer nu att avslutas."));
        RequestTermination();
        return;
    }

    m_splash = new TfrmSplash(this);
    m_splash->show();
    AddWindowsAndHelpMenus();

    TBusyPeriod busy(m_cursor, BusyId);
    SetUpListGrid();
    m_entryRows = std::make_unique<TEntryListRows>(m_app, *m_gridColumns, m_cplxgrdMain, m_cplxgrdAllColumns);
    TEntryHost &host = *this;
    m_entry = std::make_unique<TEntryController>(m_app, m_cursor, *m_pgNew, *m_pgEdit, *m_entryRows, host, this);
    LoadWindowState(mainWindowKey, this);
    LoadToolbarState();
    m_windowStateRead = true;

    m_observer = new TSubjectObserver(this);
    m_observer->SetOnChange([this](const TObservation &observation) { ObserverChange(observation); });
    m_app.Attach(m_observer);

    UpdateControls();
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(WM_OPENDATABASE)));
}

void TfrmMain::BuildStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("sbrMain"));
    statusBar()->setSizeGripEnabled(true);
    m_status = statusPanel(this, "sbrMainPanel0", 300);
    statusBar()->addWidget(m_status);
    // Panel 1 is the progress bar; it takes what the other panels leave.
    m_pgsbrMain = new QProgressBar(this);
    m_pgsbrMain->setObjectName(QStringLiteral("pgsbrMain"));
    m_pgsbrMain->setRange(0, 100);
    m_pgsbrMain->setValue(0);
    m_pgsbrMain->setTextVisible(false);
    statusBar()->addWidget(m_pgsbrMain, 1);
    // The counter keeps its 110 pixels at least; a count of many thousands
    // takes what it needs from the progress bar.
    m_counter = statusPanel(this, "sbrMainPanel2", 0);
    m_counter->setMinimumWidth(110);
    statusBar()->addWidget(m_counter);
    m_today = statusPanel(this, "sbrMainPanel3", 80);
    m_today->setText(TTulloUtilTimeDate::DateToStr(QDate::currentDate()));
    statusBar()->addWidget(m_today);
}

QAction *TfrmMain::AddMenuItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void TfrmMain::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuMain"));

    m_mnuArchive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    m_mnuArchive->setObjectName(QStringLiteral("mnuArchive"));
    m_mnuiSearch = AddMenuItem(m_mnuArchive, "mnuiSearch", QStringLiteral("&Sök"), QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_mnuiSearch, &QAction::triggered, this, [this] { Guard([this] { mnuiSearchClick(); }); });
    m_mnuiSave = AddMenuItem(m_mnuArchive, "mnuiSave", QStringLiteral("S&para"), QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_mnuiSave, &QAction::triggered, this, [this] { Guard([this] { mnuiSaveClick(); }); });
    m_mnuiRemove = AddMenuItem(m_mnuArchive, "mnuiRemove", QStringLiteral("Tag &bort"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    connect(m_mnuiRemove, &QAction::triggered, this, [this] { Guard([this] { mnuiRemoveClick(); }); });
    m_mnuiExport = AddMenuItem(m_mnuArchive, "mnuiExport", QStringLiteral("&Exportera aktiviteter..."), QKeySequence());
    connect(m_mnuiExport, &QAction::triggered, this, [this] { Guard([this] { mnuiExportClick(); }); });
    m_mnuiSort = AddMenuItem(m_mnuArchive, "mnuiSort", QStringLiteral("S&ortera..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(m_mnuiSort, &QAction::triggered, this, [this] { Guard([this] { mnuiSortClick(); }); });
    m_mnuiPrint = AddMenuItem(m_mnuArchive, "mnuiPrint", QStringLiteral("Skriv &ut..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_mnuiPrint, &QAction::triggered, this, [this] { Guard([this] { mnuiPreviewPrintClick(false); }); });
    m_mnuiPreview = AddMenuItem(m_mnuArchive, "mnuiPreview", QStringLiteral("&Förhandsgranska..."), QKeySequence());
    connect(m_mnuiPreview, &QAction::triggered, this, [this] { Guard([this] { mnuiPreviewPrintClick(true); }); });
    m_mnuiClear = AddMenuItem(m_mnuArchive, "mnuiClear", QStringLiteral("&Rensa"), QKeySequence());
    connect(m_mnuiClear, &QAction::triggered, this, [this] { Guard([this] { mnuiClearClick(); }); });
    m_mnuiSettings = AddMenuItem(m_mnuArchive, "mnuiSettings", QStringLiteral("&Inställningar..."), QKeySequence());
    connect(m_mnuiSettings, &QAction::triggered, this, [this] { Guard([this] { mnuiSettingsClick(); }); });
    m_mnuArchive->addSeparator();
    m_mnuiDb = AddMenuItem(m_mnuArchive, "mnuiDb", QStringLiteral("&Byt användare..."), QKeySequence());
    connect(m_mnuiDb, &QAction::triggered, this, [this] { Guard([this] { mnuiDbClick(); }); });
    m_mnuArchive->addSeparator();
    m_mnuiClose = AddMenuItem(m_mnuArchive, "mnuiClose", QStringLiteral("&Avsluta"), QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(m_mnuiClose, &QAction::triggered, this, [this] { close(); });

    m_mnuEdit = menuBar()->addMenu(QStringLiteral("&Redigera"));
    m_mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuiFind = AddMenuItem(m_mnuEdit, "mnuiFind", QStringLiteral("&Sök text..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(m_mnuiFind, &QAction::triggered, this, [this] { Guard([this] { mnuiFindTextClick(); }); });
    m_mnuiFindAgain = AddMenuItem(m_mnuEdit, "mnuiFindAgain", QStringLiteral("Sök &igen"), QKeySequence(Qt::Key_F3));
    connect(m_mnuiFindAgain, &QAction::triggered, this, [this] { Guard([this] { mnuiFindTextAgainClick(); }); });
    m_mnuEdit->addSeparator();
    m_mnuiCopyFromEdit = AddMenuItem(m_mnuEdit, "mnuiCopyFromEdit", QStringLiteral("&Kopiera från Ändra till Ny"), QKeySequence());
    connect(m_mnuiCopyFromEdit, &QAction::triggered, this, [this] { Guard([this] { mnuiCopyFromEditClick(); }); });
    m_mnuiGolf = m_mnuEdit->addMenu(QStringLiteral("&Golf"));
    m_mnuiGolf->setObjectName(QStringLiteral("mnuiGolf"));
    m_mnuiGetLatestHCP = AddMenuItem(m_mnuiGolf, "mnuiGetLatestHCP", QStringLiteral("&Hämta senaste HCP"), QKeySequence());
    connect(m_mnuiGetLatestHCP, &QAction::triggered, this, [this] {
        Guard([this] {
            if (IsActiveMain() && m_entry)
                m_entry->GetLatestHCP();
        });
    });
    m_mnuiCalculateScore = AddMenuItem(m_mnuiGolf, "mnuiCalculateScore", QStringLiteral("&Beräkna golfpoäng"), QKeySequence());
    connect(m_mnuiCalculateScore, &QAction::triggered, this, [this] {
        Guard([this] {
            if (IsActiveMain() && m_entry)
                m_entry->CalculateScore();
        });
    });

    m_mnuShow = menuBar()->addMenu(QStringLiteral("&Visa"));
    m_mnuShow->setObjectName(QStringLiteral("mnuShow"));
    m_mnuiPreviousAct = AddMenuItem(m_mnuShow, "mnuiPreviousAct", QStringLiteral("&Föregående aktivitet"),
                                    QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    connect(m_mnuiPreviousAct, &QAction::triggered, this, [this] { Guard([this] { mnuiNextPrevActClick(false); }); });
    m_mnuiNextAct = AddMenuItem(m_mnuShow, "mnuiNextAct", QStringLiteral("Näs&ta aktivitet"),
                                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
    connect(m_mnuiNextAct, &QAction::triggered, this, [this] { Guard([this] { mnuiNextPrevActClick(true); }); });
    m_mnuShow->addSeparator();
    m_mnuiRecord = AddMenuItem(m_mnuShow, "mnuiRecord", QStringLiteral("&Personbästa..."), QKeySequence(Qt::CTRL | Qt::Key_2));
    connect(m_mnuiRecord, &QAction::triggered, this, [this] { Guard([this] { mnuiRecordClick(); }); });
    m_mnuiSummary = AddMenuItem(m_mnuShow, "mnuiSummary", QStringLiteral("S&ummering..."), QKeySequence(Qt::CTRL | Qt::Key_3));
    connect(m_mnuiSummary, &QAction::triggered, this, [this] { Guard([this] { mnuiSummaryClick(); }); });
    m_mnuiFrequency = AddMenuItem(m_mnuShow, "mnuiFrequency", QStringLiteral("&Aktivitetsfrekvens..."),
                                  QKeySequence(Qt::CTRL | Qt::Key_5));
    connect(m_mnuiFrequency, &QAction::triggered, this, [this] { Guard([this] { mnuiFrequencyClick(); }); });
    m_mnuiReport = AddMenuItem(m_mnuShow, "mnuiReport", QStringLiteral("&Rapport..."), QKeySequence(Qt::CTRL | Qt::Key_6));
    connect(m_mnuiReport, &QAction::triggered, this, [this] { Guard([this] { mnuiReportClick(); }); });
    m_mnuiCalendar = AddMenuItem(m_mnuShow, "mnuiCalendar", QStringLiteral("Ka&lender..."),
                                 QKeySequence(Qt::CTRL | Qt::Key_7));
    connect(m_mnuiCalendar, &QAction::triggered, this, [this] { Guard([this] { mnuiCalendarClick(); }); });
    m_mnuiColumnPresets = AddMenuItem(m_mnuShow, "mnuiColumnPresets", QStringLiteral("&Kolumninställningar..."),
                                      QKeySequence(Qt::CTRL | Qt::Key_8));
    connect(m_mnuiColumnPresets, &QAction::triggered, this, [this] { Guard([this] { mnuiColumnPresetsClick(); }); });
    m_mnuiExercises = AddMenuItem(m_mnuShow, "mnuiExercises", QStringLiteral("S&tyrketräningsprogram..."), QKeySequence());
    connect(m_mnuiExercises, &QAction::triggered, this, [this] { Guard([this] { mnuiExercisesClick(); }); });
    m_mnuiReplay = AddMenuItem(m_mnuShow, "mnuiReplay", QStringLiteral("Uppsp&elning..."), QKeySequence());
    connect(m_mnuiReplay, &QAction::triggered, this, [this] { Guard([this] { mnuiReplayClick(); }); });
    m_mnuiObjectives = AddMenuItem(m_mnuShow, "mnuiObjectives", QStringLiteral("&Målsättningar..."), QKeySequence());
    connect(m_mnuiObjectives, &QAction::triggered, this, [this] { Guard([this] { mnuiObjectivesClick(); }); });
    m_mnuiPulse = AddMenuItem(m_mnuShow, "mnuiPulse", QStringLiteral("Pulsintervall..."), QKeySequence());
    connect(m_mnuiPulse, &QAction::triggered, this, [this] { Guard([this] { mnuiPulseClick(); }); });

    m_mnuCourses = menuBar()->addMenu(QStringLiteral("&Banbeskrivningar"));
    m_mnuCourses->setObjectName(QStringLiteral("mnuCourses"));
    m_mnuiCoursesEdit = AddMenuItem(m_mnuCourses, "mnuiCoursesEdit", QStringLiteral("&Banbeskrivningar..."),
                                    QKeySequence(Qt::CTRL | Qt::Key_4));
    connect(m_mnuiCoursesEdit, &QAction::triggered, this, [this] { Guard([this] { mnuiShowCourseClick(); }); });
    m_mnuiCurrentCourse = AddMenuItem(m_mnuCourses, "mnuiCurrentCourse", QStringLiteral("Ak&tuell banbeskrivning..."), QKeySequence());
    m_mnuiCurrentCourse->setCheckable(true);
    // The check mark follows the window; the handler sets it.
    connect(m_mnuiCurrentCourse, &QAction::triggered, this, [this] { Guard([this] { mnuiCurrentCourseClick(); }); });
    m_mnuiChooseCourse = AddMenuItem(m_mnuCourses, "mnuiChooseCourse", QStringLiteral("&Välj banbeskrivning..."),
                                     QKeySequence(Qt::CTRL | Qt::Key_9));
    connect(m_mnuiChooseCourse, &QAction::triggered, this, [this] {
        Guard([this] {
            if (IsActiveMain() && m_entry)
                m_entry->ChooseCourse();
        });
    });
    m_mnuiRemoveCourse = AddMenuItem(m_mnuCourses, "mnuiRemoveCourse", QStringLiteral("&Frikoppla banbeskrivning"), QKeySequence());
    connect(m_mnuiRemoveCourse, &QAction::triggered, this, [this] {
        Guard([this] {
            if (IsActiveMain() && m_entry)
                m_entry->RemoveCourse();
        });
    });
}

void TfrmMain::BuildToolBars()
{
    m_tobarArchive = new QToolBar(QStringLiteral("Standard"), this);
    m_tobarArchive->setObjectName(QStringLiteral("tobarArchive"));
    addToolBar(Qt::TopToolBarArea, m_tobarArchive);
    // A tool button runs its menu item's handler but keeps its own enabled
    // state (UpdateControls sets both).
    const auto addButton = [this](QToolBar *bar, const char *name, const QString &hint, QAction *menuItem,
                                  const QIcon &icon) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(hint);
        button->setIcon(icon);
        connect(button, &QToolButton::clicked, menuItem, &QAction::trigger);
        bar->addWidget(button);
        return button;
    };
    const auto standard = [this](QStyle::StandardPixmap icon) { return style()->standardIcon(icon); };
    m_tbtnSearch = addButton(m_tobarArchive, "tbtnSearch", QStringLiteral("Sök aktiviteter"), m_mnuiSearch,
                             standard(QStyle::SP_FileDialogContentsView));
    m_tbtnSave = addButton(m_tobarArchive, "tbtnSave", QStringLiteral("Spara aktivitet"), m_mnuiSave,
                           standard(QStyle::SP_DialogSaveButton));
    m_tbtnRemove = addButton(m_tobarArchive, "tbtnRemove", QStringLiteral("Tag bort aktivitet"), m_mnuiRemove,
                             standard(QStyle::SP_TrashIcon));
    m_tbtnSort = addButton(m_tobarArchive, "tbtnSort", QStringLiteral("Sortera aktiviteter"), m_mnuiSort,
                           standard(QStyle::SP_ArrowDown));
    m_tbtnPrint = addButton(m_tobarArchive, "tbtnPrint", QStringLiteral("Skriv ut aktiviteter"), m_mnuiPrint,
                            QIcon::fromTheme(QStringLiteral("document-print"), standard(QStyle::SP_FileIcon)));
    m_tbtnPreview = addButton(m_tobarArchive, "tbtnPreview", QStringLiteral("Förhandsgranska utskrift"), m_mnuiPreview,
                              QIcon::fromTheme(QStringLiteral("document-print-preview"),
                                               standard(QStyle::SP_FileDialogInfoView)));
    m_tbtnClear = addButton(m_tobarArchive, "tbtnClear", QStringLiteral("Rensa fält"), m_mnuiClear,
                            standard(QStyle::SP_DialogResetButton));
    m_tbtnSettings = addButton(m_tobarArchive, "tbtnSettings", QStringLiteral("Inställningar"), m_mnuiSettings,
                               QIcon::fromTheme(QStringLiteral("preferences-system"), standard(QStyle::SP_ComputerIcon)));

    m_tobarShow = new QToolBar(QStringLiteral("Visa"), this);
    m_tobarShow->setObjectName(QStringLiteral("tobarShow"));
    addToolBar(Qt::TopToolBarArea, m_tobarShow);
    m_tbtnRecord = addButton(m_tobarShow, "tbtnRecord", QStringLiteral("Visa personbästadialogen"), m_mnuiRecord,
                             medalIcon());
    m_tbtnTotal = addButton(m_tobarShow, "tbtnTotal", QStringLiteral("Visa summeringsdialogen"), m_mnuiSummary,
                            sumIcon());
    m_tbtnFrequency = addButton(m_tobarShow, "tbtnFrequency", QStringLiteral("Visa frekvensdialogen"), m_mnuiFrequency,
                                barsIcon());
    m_tbtnReport = addButton(m_tobarShow, "tbtnReport", QStringLiteral("Visa rapportdialogen"), m_mnuiReport,
                             QIcon::fromTheme(QStringLiteral("x-office-spreadsheet"), standard(QStyle::SP_FileDialogListView)));
    m_tbtnCourse = addButton(m_tobarShow, "tbtnCourse", QStringLiteral("Lägg till, ändra och ta bort banbeskrivningar"),
                             m_mnuiCoursesEdit, standard(QStyle::SP_DirHomeIcon));
    m_tbtnCalendar = addButton(m_tobarShow, "tbtnCalendar", QStringLiteral("Visa Kalenderdialogen"), m_mnuiCalendar,
                               QIcon::fromTheme(QStringLiteral("x-office-calendar"),
                                                standard(QStyle::SP_FileDialogDetailedView)));
    m_tbtnColumnPresets = addButton(m_tobarShow, "tbtnColumnPresets", QStringLiteral("Visa kolumndialogen"),
                                    m_mnuiColumnPresets, columnsIcon());
    m_tbtnExercises = addButton(m_tobarShow, "tbtnExercises", QStringLiteral("Visa Styrketräningsprogram"),
                                m_mnuiExercises, dumbbellIcon());
    m_tbtnReplay = addButton(m_tobarShow, "tbtnReplay", QStringLiteral("Visa uppspelningsdialogen"), m_mnuiReplay,
                             standard(QStyle::SP_MediaPlay));
    m_tbtnObjective = addButton(m_tobarShow, "tbtnObjective", QStringLiteral("Visa målsättningsdialogen"), m_mnuiObjectives,
                                targetIcon());
    m_tbtnPulse = addButton(m_tobarShow, "tbtnPulse", QStringLiteral("Visa pulsintervalldialogen"), m_mnuiPulse,
                            heartIcon());

    m_tobarColSetting = new QToolBar(QStringLiteral("Kolumninställning"), this);
    m_tobarColSetting->setObjectName(QStringLiteral("tobarColSetting"));
    addToolBar(Qt::TopToolBarArea, m_tobarColSetting);
    auto *label = new QLabel(QStringLiteral("Kolumninställning"), m_tobarColSetting);
    label->setObjectName(QStringLiteral("lblColumnPreset"));
    label->setContentsMargins(4, 0, 4, 0);
    m_tobarColSetting->addWidget(label);
    m_cmbbxColumnPreset = new QComboBox(m_tobarColSetting);
    m_cmbbxColumnPreset->setObjectName(QStringLiteral("cmbbxColumnPreset"));
    m_cmbbxColumnPreset->setToolTip(QStringLiteral("Välj kolumninställning"));
    m_cmbbxColumnPreset->setEditable(false);
    m_cmbbxColumnPreset->setMinimumContentsLength(20);
    m_cmbbxColumnPreset->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    label->setBuddy(m_cmbbxColumnPreset);
    // Only the user's choice applies a setting; the program's own changes
    // of the entry apply theirs themselves.
    connect(m_cmbbxColumnPreset, &QComboBox::activated, this,
            [this](int index) { Guard([this, index] { cmbbxColumnPresetChange(index); }); });
    m_tobarColSetting->addWidget(m_cmbbxColumnPreset);
}

void TfrmMain::BuildPages()
{
    m_pgctrlMain = new QTabWidget(this);
    m_pgctrlMain->setObjectName(QStringLiteral("pgctrlMain"));
    setCentralWidget(m_pgctrlMain);
    BuildSearchPage();
    BuildEntryPages();
    BuildResultPage();
    m_pgctrlMain->addTab(m_tshSearch, QStringLiteral("Sök"));
    m_pgctrlMain->addTab(m_tshEdit, QStringLiteral("Ändra"));
    m_pgctrlMain->addTab(m_tshNew, QStringLiteral("Ny"));
    m_pgctrlMain->addTab(m_tshResult, QStringLiteral("Sökresultat"));
    connect(m_pgctrlMain, &QTabWidget::currentChanged, this, [this] { Guard([this] { pgctrlMainChange(); }); });
}

bool TfrmMain::event(QEvent *event)
{
    if (event->type() == QEvent::Type(WM_OPENDATABASE)) {
        Guard([this] { OpenUserDatabase(); });
        return true;
    }
    if (event->type() == QEvent::Type(WM_WINDOWLISTCHANGED)) {
        Guard([] { CorvaleForms().UpdateWindowMenus(); });
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::AddWindowsAndHelpMenus()
{
    TCorvaleForms &forms = CorvaleForms();
    forms.AddWindowMenu(this, menuBar());
    m_windowMenusAdded = true;
    QAction *help = forms.AddHelpMenu(this, menuBar());
    connect(help, &QAction::triggered, this, [this] { Guard([this] { mnuiIntHelpClick(); }); });
    AddHelpMenuItems();
    m_app.GetHelp().SetViewer(&forms);
    forms.UpdateWindowMenus();
}

void TfrmMain::AddHelpMenuItems()
{
    QMenu *help = MenuOfMenuBar(menuBar(), QStringLiteral("mnuiHelp"));
    if (!help)
        throw EUIError(QStringLiteral("Invalid component. Main 09"));
    help->addSeparator();
    QAction *about = AddMenuItem(help, "mnuiAbout", QStringLiteral("&Om..."), QKeySequence());
    connect(about, &QAction::triggered, this, [this] { Guard([this] { mnuiAboutClick(); }); });
}

void TfrmMain::RemoveWindowsAndHelpMenus()
{
    if (!m_windowMenusAdded)
        return;
    m_windowMenusAdded = false;
    TCorvaleForms &forms = CorvaleForms();
    if (m_app.GetHelp().Viewer() == &forms)
        m_app.GetHelp().SetViewer(nullptr);
    forms.RemoveWindowMenu(this, menuBar());
    forms.RemoveHelpMenu(this, menuBar());
}

void TfrmMain::mnuiIntHelpClick()
{
    QWidget *front = m_pgctrlMain->currentWidget();
    m_app.ShowHelp(front == m_tshNew ? 2 : front == m_tshEdit ? 4 : 3);
}

void TfrmMain::mnuiAboutClick()
{
    TfrmAbout about(m_app, this);
    about.exec();
}

void TfrmMain::SetStatus(const QString &text)
{
    m_status->setText(text);
    m_status->repaint();
}

QString TfrmMain::StatusText() const
{
    return m_status->text();
}

QString TfrmMain::CounterText() const
{
    return m_counter->text();
}

void TfrmMain::ShowError(const QString &text)
{
    ShowMessageBox(text, TMessageKind::Error, TMessageButton::OK);
}

void TfrmMain::ResetProgress(int step)
{
    m_progressStep = qMax(1, step);
    m_pgsbrMain->setValue(0);
}

void TfrmMain::StepProgress()
{
    SetProgress(qMin(m_pgsbrMain->maximum(), m_pgsbrMain->value() + m_progressStep));
}

void TfrmMain::SetProgress(int value)
{
    m_pgsbrMain->setValue(value);
    m_pgsbrMain->repaint();
}

void TfrmMain::RequestTermination()
{
    m_terminating = true;
    // Queued, so that it also ends a loop that has not started yet; exit
    // rather than quit, so that the windows are not asked to close.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool TfrmMain::BrowseForDatabase(const QString &startFolder)
{
    const QString fileName = m_app.GetDbFileName();
    // The browser starts where the diary was looked for, or as near to it
    // as the disk still has folders.
    QString start = QDir::cleanPath(startFolder);
    while (!start.isEmpty() && !QFileInfo(start).isDir() && QFileInfo(start).dir().path() != start)
        start = QFileInfo(start).dir().path();
    for (;;) {
        QFileDialog shbrDatabase(this, QStringLiteral("Leta efter ") + fileName);
        shbrDatabase.setObjectName(QStringLiteral("shbrDatabase"));
        shbrDatabase.setFileMode(QFileDialog::Directory);
        shbrDatabase.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (!start.isEmpty() && QFileInfo(start).isDir())
            shbrDatabase.setDirectory(start);
        if (shbrDatabase.exec() != QDialog::Accepted || shbrDatabase.selectedFiles().isEmpty())
            return false;
        const QString folder = TUsers::WithSeparator(shbrDatabase.selectedFiles().constFirst());
        if (QFileInfo(folder + fileName).isFile()) {
            m_app.SetLocation(folder);
            return true;
        }
        if (QFileInfo(folder + fileName).isDir())
            ShowError(QStringLiteral("%1%2 är en mapp och ingen databasfil. Välj mappen där databasfilen %2 finns.")
                          .arg(folder, fileName));
        else
            ShowError(QStringLiteral("Mappen %1 innehåller inte %2. Välj mappen där %2 finns.").arg(folder, fileName));
        start = QDir::cleanPath(folder);
    }
}

void TfrmMain::OpenUserDatabase()
{
    try {
        m_app.CheckInterbase();
    } catch (const ECorvaleError &) {
        RequestTermination();
        return;
    }
    if (m_terminating)
        return;

    TBusyPeriod busy(m_cursor, BusyId);
    try {
        const bool remote = TUsers::IsRemote(m_app.GetLocation());
        if (!remote && !QFileInfo(m_app.GetDbPath()).isFile()) {
            // Named in full: where the diary was looked for, also when it was
            // not found there at start.
            const QString folder = m_app.GetExpectedLocation();
            const QString path = folder + m_app.GetDbFileName();
            const bool isFolder = QFileInfo(path).isDir();
            if (!BrowseForDatabase(folder)) {
                ShowError(isFolder ? QStringLiteral("Databasen ") + path
                                         + QStringLiteral(" är en mapp och ingen databasfil. Den måste finnas för att "
                                                          "applikationen skall kunna användas.")
                                   : QStringLiteral("Databasen ") + path
                                         + QStringLiteral(" finns inte. Den måste finnas för att applikationen skall "
                                                          "kunna användas."));
                RequestTermination();
                return;
            }
        }
        // A file this user may not even read is left to the engine, whose
        // answer says so.
        if (!remote && QFileInfo(m_app.GetDbPath()).isReadable() && isReadOnly(m_app.GetDbPath())) {
            ShowError(QStringLiteral("Databasfilen ") + m_app.GetDbPath()
                      + QStringLiteral(" är skrivskyddad. Applikationen kommer nu att avslutas."));
            RequestTermination();
            return;
        }
        try {
            m_app.CheckVersion();
        } catch (const EVersionNotUpgraded &) {
            ShowError(QStringLiteral("Du måste uppgradera till version 2.3.0. Applikationen kommer nu att avslutas."));
            RequestTermination();
            return;
        } catch (const EVersionNotValid &) {
            ShowError(QStringLiteral("Endast version 2.3.0 kan köras. Applikationen kommer nu att avslutas."));
            RequestTermination();
            return;
        }

        SetStatus(QStringLiteral("Initierar databas..."));
        m_app.OpenDatabase();

        FillActivityLists();
        setWindowTitle(QStringLiteral("Ternvall - ") + m_app.GetUserName());
        SetStatus(QStringLiteral("Hämtar platser..."));
        ResetProgress(100 / (m_app.GetActivityCount() + 1));
        m_app.LoadPlaces();
        SetProgress(0);
        SetAllSearchActivities(true);
        FillWorkPrograms();
        FillColumnPresets();
        FillSearchCourses();
        // The exercise columns take the names of the exercises they show.
        UpdateExerciseColumns();
        ShowPage(m_tshNew);
        UpdateControls();

        SearchAtStart();

        const bool searched = m_app.GetSettings().SearchAtStart;
        const QString text = searched ? QStringLiteral("aktivitet#\\er# är registrerad#\\e#, sökt årets aktiviteter")
                                      : QStringLiteral("aktivitet#\\er# är registrerad#\\e#");
        SetStatus(TTulloUtilString::CountText(m_app.GetRegisteredCount(), text));
    } catch (const EDbClientError &e) {
        ShowError(TStartup::OpenFailureText(e, m_app.GetDbPath()));
        RequestTermination();
    } catch (const EAbort &) {
        RequestTermination();
    } catch (const EException &e) {
        ShowError(e.Message());
        RequestTermination();
    }
}

void TfrmMain::mnuiDbClick()
{
    if (!m_dbSelect)
        m_dbSelect = new TfrmDbSelect(m_app, this);
    if (m_dbSelect->exec() != QDialog::Accepted || !ReleaseDiary())
        return;
    m_app.CloseDatabase();
    m_app.SetUserNumber(m_dbSelect->SelectedUser());
    m_app.SetUserName(m_dbSelect->SelectedName());
    setWindowTitle(QStringLiteral("Ternvall"));
    SetStatus(QString());
    OpenUserDatabase();
    if (m_terminating)
        return;
    m_app.DatabaseChanged();
}

void TfrmMain::mnuiPulseClick()
{
    if (!m_frmPulse)
        m_frmPulse = new TfrmPulse(m_app, this);
    m_frmPulse->exec();
}

void TfrmMain::mnuiSettingsClick()
{
    CorvaleForms().SettingsDialog(m_app, this, TfrmSettings::pgAll).exec();
}

void TfrmMain::mnuiShowCourseClick()
{
    if (!m_frmCourse)
        m_frmCourse = new TfrmCourse(m_app, this);
    m_frmCourse->show();
    m_frmCourse->raise();
    m_frmCourse->activateWindow();
    CorvaleForms().UpdateWindowMenus();
}

void TfrmMain::mnuiRecordClick()
{
    if (!m_frmRecords)
        m_frmRecords = new TfrmRecords(m_app, this);
    m_frmRecords->show();
    m_frmRecords->raise();
    m_frmRecords->activateWindow();
    CorvaleForms().UpdateWindowMenus();
    // Saving an activity tells no window, so every opening reads the
    // records as the diary holds them now.
    m_frmRecords->mnuiSearchClick();
}

void TfrmMain::mnuiFrequencyClick()
{
    if (!m_frmFrequency)
        m_frmFrequency = new TfrmFrequency(m_app, this);
    m_frmFrequency->show();
    m_frmFrequency->raise();
    m_frmFrequency->activateWindow();
    QCoreApplication::processEvents();
    m_frmFrequency->Load(m_cplxgrdMain);
    CorvaleForms().UpdateWindowMenus();
}

void TfrmMain::mnuiSummaryClick()
{
    if (!m_frmSummary)
        m_frmSummary = new TfrmSummary(m_app, this);
    m_frmSummary->show();
    m_frmSummary->raise();
    m_frmSummary->activateWindow();
    CorvaleForms().UpdateWindowMenus();
}

void TfrmMain::mnuiReplayClick()
{
    if (!m_frmReplay)
        m_frmReplay = new TfrmReplay(m_app, this);
    m_frmReplay->show();
    m_frmReplay->raise();
    m_frmReplay->activateWindow();
    QCoreApplication::processEvents();
    m_frmReplay->LoadFromSearch();
    CorvaleForms().UpdateWindowMenus();
}

void TfrmMain::mnuiReportClick()
{
    if (!m_frmReport)
        m_frmReport = new TfrmReport(m_app, this);
    m_frmReport->show();
    m_frmReport->raise();
    m_frmReport->activateWindow();
    QCoreApplication::processEvents();
    // The graphs find each column of the hidden grid by the kind it shows.
    m_frmReport->LoadGraphData(m_cplxgrdAllColumns, m_gridColumns->GridKinds(m_cplxgrdAllColumns));
    m_frmReport->Load();
    CorvaleForms().UpdateWindowMenus();
}

void TfrmMain::mnuiCalendarClick()
{
    if (!m_frmCalendar)
        m_frmCalendar = new TfrmCalendar(m_app, this);
    m_frmCalendar->show();
    m_frmCalendar->raise();
    m_frmCalendar->activateWindow();
    CorvaleForms().UpdateWindowMenus();
    // Each opening counts the list as it is now, so a new search shows.
    m_frmCalendar->FillDates(*m_cplxgrdMain);
}

void TfrmMain::mnuiExportClick()
{
    if (!IsActiveMain())
        return;
    if (!m_frmExport)
        m_frmExport = new TfrmExport(m_app, this);
    m_frmExport->exec();
}

void TfrmMain::mnuiColumnPresetsClick()
{
    if (!m_frmColumnPresets)
        m_frmColumnPresets = new TfrmColumnPresets(m_app, this);
    if (m_frmColumnPresets->exec() != QDialog::Accepted)
        return;
    // The captions first, so that the setting is laid out with them.
    m_gridColumns->UpdateExerciseCaptions();
    FillColumnPresets();
    ApplyGridColumns();
}

void TfrmMain::mnuiExercisesClick()
{
    if (!m_frmExercise)
        m_frmExercise = new TfrmExercise(m_app, this);
    if (m_frmExercise->exec() == QDialog::Accepted)
        UpdateExerciseColumns();
}

void TfrmMain::mnuiObjectivesClick()
{
    if (!m_frmObjectives)
        m_frmObjectives = new TfrmObjectives(m_app, this);
    m_frmObjectives->show();
    m_frmObjectives->raise();
    m_frmObjectives->activateWindow();
    CorvaleForms().UpdateWindowMenus();
}

void TfrmMain::UpdateExerciseColumns()
{
    m_gridColumns->UpdateExerciseCaptions();
    ApplyGridColumns();
}

void TfrmMain::ObserverChange(const TObservation &observation)
{
    // Whatever a reaction raises, the user-change item follows the kind.
    struct TDbItemState
    {
        QAction *item;
        bool idle;
        ~TDbItemState() { item->setEnabled(idle); }
    } dbItem{m_mnuiDb, observation.kind == quint8(TNotifyKind::Idle)};

    switch (TNotifyKind(observation.kind)) {
    case TNotifyKind::ActivitySearch:
        m_status->setText(QStringLiteral("Söker...") + observation.text);
        StepProgress();
        statusBar()->repaint();
        break;
    case TNotifyKind::LoadingPlaces:
        StepProgress();
        break;
    case TNotifyKind::ActivityNamesChanged:
        FillActivityLists();
        ClearResult();
        SetAllSearchActivities(true);
        UpdateControls();
        break;
    case TNotifyKind::SettingsChanged:
        if (m_entry && (m_app.GetSettingsChanges() & TSettingsChange::LapCalculation))
            m_entry->LapCalcChanged();
        break;
    case TNotifyKind::CoursesChanged:
        // A saved course may have rewritten the listed sessions, and the
        // new session may no longer match the course it was bound to.
        if (m_app.GetSettings().CurrentCourse >= 0)
            ClearResult();
        if (m_entry)
            m_entry->CoursesChanged();
        FillSearchCourses();
        UpdateControls();
        break;
    case TNotifyKind::Closing:
        ClearResult();
        // Nothing on the entry pages may be saved into the next diary with
        // this one's courses, pulse intervals or programs.
        if (m_entry)
            m_entry->DiaryClosing();
        break;
    case TNotifyKind::DatabaseChanged:
        UpdateControls();
        break;
    case TNotifyKind::ProgramsChanged:
        FillWorkPrograms();
        break;
    default:
        break;
    }
}

bool TfrmMain::IsActiveMain() const
{
    // The platform's word counts too: right after a dialog closes, the
    // window is active before the application has caught up with it.
    return isActiveWindow();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_terminating) {
        bool close = false;
        Guard([&] {
            close = ShowMessageBox(QStringLiteral("Avsluta Ternvall?"), TMessageKind::Question,
                                   TMessageButtons(TMessageButton::Yes) | TMessageButton::No)
                    == TMessageResult::Yes;
        });
        if (!close || !ReleaseDiary()) {
            event->ignore();
            return;
        }
        Guard([this] { FormClose(); });
    }
    event->accept();
}

// Windows holding unsaved work of the diary are asked before it closes;
// any of them may keep it open.
bool TfrmMain::ReleaseDiary()
{
    return !m_frmObjectives || m_frmObjectives->ReleaseDiary();
}

void TfrmMain::FormClose()
{
    if (m_windowStateRead) {
        SaveWindowState(mainWindowKey, this);
        SaveToolbarState();
        TDefRegistry registry(TDefRegistry::THive::User);
        m_app.GetActivityColumns().WriteWidths(registry);
    }
    if (m_splash && m_splash->isVisible())
        m_splash->close();
}

void TfrmMain::FormDestroy()
{
    if (m_shell)
        return;
    // The course and calendar windows leave the window menu before this
    // window does.
    delete m_frmCourse;
    m_frmCourse = nullptr;
    delete m_frmRecords;
    m_frmRecords = nullptr;
    delete m_frmFrequency;
    m_frmFrequency = nullptr;
    delete m_frmSummary;
    m_frmSummary = nullptr;
    delete m_frmReplay;
    m_frmReplay = nullptr;
    delete m_frmReport;
    m_frmReport = nullptr;
    delete m_frmCalendar;
    m_frmCalendar = nullptr;
    delete m_frmColumnPresets;
    m_frmColumnPresets = nullptr;
    delete m_frmObjectives;
    m_frmObjectives = nullptr;
    delete m_frmExport;
    m_frmExport = nullptr;
    if (m_app.State() == TCorvaleApp::TState::Open)
        m_app.Disconnect();
    RemoveWindowsAndHelpMenus();
    if (m_observer && m_app.IsAttached(m_observer))
        m_app.Detach(m_observer);
}
