#include "analysis/CourseReplay.h"

#include "analysis/ChartWindow.h"
#include "analysis/CourseReplayInfo.h"
#include "app/CorvaleApp.h"
#include "app/CorvaleForms.h"
#include "export/PrintTtl.h"
#include "foundation/CrsrMgt.h"
#include "foundation/DefReg.h"
#include "foundation/ErrorGuard.h"
#include "foundation/Observer.h"
#include "foundation/PGUtils.h"
#include "foundation/SettingsFiles.h"
#include "model/Classhie.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace
{
using Str = TTulloUtilString;

const QString settingsRoot = QString::fromLatin1(SettingsFiles::KeyRoot);
const QString windowKey = settingsRoot + QStringLiteral("\\ReplayWindow");
const QString busyId = QStringLiteral("Replay");

// Help topics of the window and its parts.
constexpr int helpTopic = 50;
constexpr int controlHelpTopic = 51;
constexpr int courseHelpTopic = 52;
constexpr int trackHelpTopic = 53;
constexpr int pauseHelpTopic = 54;
constexpr int timeHelpTopic = 55;
constexpr int zoomHelpTopic = 56;
constexpr int infoHelpTopic = 57;

// The speed positions: timer interval, nominal step (the label's factor is
// step x 1000 / interval) and the extra seconds added to the step, so that
// the clock runs slightly faster than the label says.
struct TSpeed
{
    int Interval;
    int Step;
    int Extra;
};
constexpr std::array<TSpeed, 11> speeds{{{1000, 1, 0},
                                         {250, 1, 0},
                                         {100, 1, 0},
                                         {50, 2, 0},
                                         {50, 5, 1},
                                         {50, 10, 1},
                                         {50, 20, 3},
                                         {50, 50, 29},
                                         {50, 100, 11},
                                         {50, 200, 13},
                                         {50, 400, 37}}};

const QColor blue(0, 0, 255);
const QColor skyBlue(0xA6, 0xCA, 0xF0); // F0CAA6 as blue, green, red
const QColor green(0, 128, 0);
const QColor yellow(255, 255, 0);
const QColor red(255, 0, 0);

double numberOf(const QString &text)
{
    return text.trimmed().isEmpty() ? 0.0 : TTulloUtilNumeric::StrToFloat(text);
}

QString totalMark(const TReplayItem &item)
{
    return item.Date + QStringLiteral(": ") + item.TotalTime + QStringLiteral(" (min)");
}
}

QString ReplayClockText(int seconds)
{
    return QStringLiteral("%1.%2").arg(seconds / 60, 2, 10, QChar(u'0')).arg(seconds % 60, 2, 10, QChar(u'0'));
}

// ---------------------------------------------------------------------------
// TReplayChart

TReplayChart::TReplayChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chrtReplay"));
    setMinimumHeight(150);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TReplayChart::Clear()
{
    m_bars.clear();
    update();
}

void TReplayChart::SetCourse(double distance, const QList<double> &laps)
{
    m_distance = distance;
    m_laps = laps;
    ResetZoom();
}

void TReplayChart::SetBarCount(int count)
{
    m_bars.resize(std::size_t(std::max(0, count)));
    update();
}

void TReplayChart::SetBar(int i, double length, const QColor &colour, const QString &mark)
{
    TBar &bar = m_bars.at(std::size_t(i));
    if (bar.Length == length && bar.Colour == colour && bar.Mark == mark)
        return;
    bar.Length = length;
    bar.Colour = colour;
    bar.Mark = mark;
    update();
}

void TReplayChart::SetZoom(double from, double to)
{
    if (to <= from)
        return;
    m_from = from;
    m_to = to;
    update();
}

void TReplayChart::ResetZoom()
{
    m_from = 0.0;
    m_to = m_distance;
    update();
}

QRectF TReplayChart::PlotRect() const
{
    return QRectF(20, 10, std::max(10, width() - 60), std::max(10, height() - 50));
}

double TReplayChart::ToX(double distance, const QRectF &plot) const
{
    const double span = m_to - m_from;
    if (span <= 0.0)
        return plot.left();
    return plot.left() + (distance - m_from) / span * plot.width();
}

double TReplayChart::ToDistance(double x, const QRectF &plot) const
{
    return m_from + (x - plot.left()) / plot.width() * (m_to - m_from);
}

void TReplayChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QRectF plot = PlotRect();
    painter.setPen(palette().color(QPalette::Text));
    painter.drawRect(plot);
    // The bottom axis "Distans" with its values.
    const QFontMetrics metrics(font());
    for (int i = 0; i <= 5 && m_to > m_from; ++i) {
        const double value = m_from + (m_to - m_from) * i / 5.0;
        const double x = ToX(value, plot);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        const QString text = Str::FormatFixed(2, value);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2.0, plot.bottom() + 4 + metrics.ascent()), text);
    }
    const QString title = QStringLiteral("Distans");
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(title) / 2.0,
                             plot.bottom() + 6 + metrics.height() + metrics.ascent()),
                     title);

    painter.save();
    painter.setClipRect(plot);
    const int count = int(m_bars.size());
    const double rowHeight = count > 0 ? plot.height() / count : 0.0;
    // Each bar's mark in a font that fits its row, so that many sessions in
    // a small window do not write over each other; below a readable size the
    // marks are left out (the rankings beside the chart name every bar).
    QFont markFont = font();
    const int markPixels = std::min(QFontMetrics(markFont).height(), int(rowHeight * 0.95));
    const bool marks = markPixels >= 7;
    if (marks && markPixels < QFontMetrics(markFont).height())
        markFont.setPixelSize(std::max(6, markPixels - 1));
    painter.setFont(markFont);
    for (int i = 0; i < count; ++i) {
        const TBar &bar = m_bars.at(std::size_t(i));
        const double top = plot.top() + rowHeight * i + rowHeight * 0.15;
        const double height = std::max(1.0, rowHeight * 0.7);
        const double right = ToX(bar.Length, plot);
        const double left = ToX(0.0, plot);
        // An arrow: the bar with a point at its end.
        QPolygonF arrow;
        const double tip = std::min(height / 2.0, std::max(0.0, right - left));
        arrow << QPointF(left, top) << QPointF(right - tip, top) << QPointF(right, top + height / 2.0)
              << QPointF(right - tip, top + height) << QPointF(left, top + height);
        painter.setPen(Qt::NoPen);
        painter.setBrush(bar.Colour);
        painter.drawPolygon(arrow);
        if (!marks)
            continue;
        painter.setPen(palette().color(QPalette::Text));
        const double middle = plot.top() + rowHeight * (i + 0.5);
        painter.drawText(QRectF(std::max(left, right) + 4, middle - rowHeight / 2.0, plot.right() - right, rowHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, bar.Mark);
    }
    painter.restore();

    // The lap lines and the course distance, drawn over the bars.
    const auto line = [&](double distance, const QColor &colour, int width, const QString &text) {
        if (distance < m_from || distance > m_to)
            return;
        const double x = ToX(distance, plot);
        painter.setPen(QPen(colour, width));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() - 2));
        // On a light ground, so that the value stays readable over the bars.
        const QRectF box(x - metrics.horizontalAdvance(text) / 2.0 - 2, plot.bottom() - 4 - metrics.ascent() - 1,
                         metrics.horizontalAdvance(text) + 4, metrics.ascent() + 3);
        painter.fillRect(box, palette().base());
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2.0, plot.bottom() - 4), text);
    };
    for (double lap : m_laps)
        line(lap, yellow, 3, Str::FormatFixed(2, lap));
    if (m_distance > 0.0)
        line(m_distance, red, 1, Str::FormatFixed(2, m_distance));

    if (m_dragFrom >= 0 && m_dragTo > m_dragFrom) {
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(m_dragFrom, plot.top(), m_dragTo - m_dragFrom, plot.height()));
    }
}

void TReplayChart::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragFrom = int(event->position().x());
        m_dragTo = m_dragFrom;
    }
    QWidget::mousePressEvent(event);
}

void TReplayChart::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragFrom >= 0) {
        m_dragTo = int(event->position().x());
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void TReplayChart::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragFrom >= 0 && event->button() == Qt::LeftButton) {
        const QRectF plot = PlotRect();
        const int to = int(event->position().x());
        // Dragging to the right zooms in, to the left shows the whole course.
        if (to > m_dragFrom + 4)
            SetZoom(std::max(0.0, ToDistance(m_dragFrom, plot)), ToDistance(to, plot));
        else if (to < m_dragFrom - 4)
            ResetZoom();
        m_dragFrom = m_dragTo = -1;
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void TReplayChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    ResetZoom();
    QWidget::mouseDoubleClickEvent(event);
}

// ---------------------------------------------------------------------------
// TfrmReplay: building

TfrmReplay::TfrmReplay(TCorvaleApp &app, QWidget *parent) : QMainWindow(parent, Qt::Window), m_app(app)
{
    setObjectName(QStringLiteral("frmReplay"));
    setWindowTitle(QStringLiteral("Uppspelning"));
    setMinimumSize(500, 450);
    resize(900, 680);
    for (TTimeLabel *label : {&m_current, &m_max}) {
        label->SetDisplayStyle(TTimeLabel::TDisplayStyle::mmss);
        label->SetTimeSeparator(QStringLiteral("."));
    }
    BuildWindow();
    BuildMenus();
    trkbrSpeedChange();
    m_current.OnChange = [this](const QString &caption) { m_tlblCurrent->setText(caption); };
    m_max.OnChange = [this](const QString &caption) { m_tlblMax->setText(caption); };
    m_current.Clear();
    m_max.Clear();

    // FormCreate.
    Guard([this] {
        CorvaleForms().AddWindowMenu(this, menuBar());
        m_menusAdded = true;
        QAction *help = CorvaleForms().AddHelpMenu(this, menuBar());
        connect(help, &QAction::triggered, this, [this] { Guard([this] { m_app.ShowHelp(helpTopic); }); });
        if (QMenu *helpMenu = qobject_cast<QMenu *>(help->parent())) {
            const auto topic = [this, helpMenu](const char *name, const QString &text, int nr) {
                QAction *action = helpMenu->addAction(text);
                action->setObjectName(QLatin1String(name));
                connect(action, &QAction::triggered, this, [this, nr] { Guard([this, nr] { m_app.ShowHelp(nr); }); });
            };
            topic("mnuiControlHelp", QStringLiteral("Styra &uppspelningen..."), controlHelpTopic);
            topic("mnuiCourseHelp", QStringLiteral("Välja &banbeskrivning..."), courseHelpTopic);
            topic("mnuiTrackHelp", QStringLiteral("&Hastighet och tidslinje..."), trackHelpTopic);
            topic("mnuiPauseHelp", QStringLiteral("&Paus vid mellantider..."), pauseHelpTopic);
            topic("mnuiTimeHelp", QStringLiteral("Uppspelnings&tid..."), timeHelpTopic);
            topic("mnuiZoomHelp", QStringLiteral("&Zooma i diagrammet..."), zoomHelpTopic);
            topic("mnuiInfoHelp", QStringLiteral("&Information om en aktivitet..."), infoHelpTopic);
        }
        m_observer = new TSubjectObserver(this);
        m_observer->SetOnChange([this](const TObservation &observation) { Guard([&] { ObserverChange(observation); }); });
        m_app.Attach(m_observer);
        LoadWindowState(windowKey, this);
        ReadSettings();
        UpdateControls();
    });
}

TfrmReplay::~TfrmReplay()
{
    m_tmrControl->stop();
    // FormDestroy.
    Guard([this] {
        SaveWindowState(windowKey, this);
        WriteSettings();
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

void TfrmReplay::BuildWindow()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlReplay"));
    setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);

    auto *course = new QWidget(central);
    course->setObjectName(QStringLiteral("pnlCourse"));
    auto *courseLayout = new QHBoxLayout(course);
    courseLayout->setContentsMargins(0, 0, 0, 0);
    auto *courseLabel = new QLabel(QStringLiteral("&Banbeskrivning"), course);
    m_cmbbxCourse = new QComboBox(course);
    m_cmbbxCourse->setObjectName(QStringLiteral("cmbbxCourse"));
    m_cmbbxCourse->setMinimumContentsLength(30);
    courseLabel->setBuddy(m_cmbbxCourse);
    m_chkbxPause = new QCheckBox(QStringLiteral("&Paus vid mellantider"), course);
    m_chkbxPause->setObjectName(QStringLiteral("chkbxPause"));
    courseLayout->addWidget(courseLabel);
    courseLayout->addWidget(m_cmbbxCourse, 1);
    courseLayout->addWidget(m_chkbxPause);
    layout->addWidget(course);

    m_pnlControl = new QGroupBox(QStringLiteral("Uppspelning"), central);
    m_pnlControl->setObjectName(QStringLiteral("pnlControl"));
    auto *control = new QVBoxLayout(m_pnlControl);
    auto *buttons = new QHBoxLayout;
    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, m_pnlControl);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    m_bbtnBack = button("bbtnBack", QStringLiteral("Bakåt"));
    m_bbtnPause = button("bbtnPause", QStringLiteral("Paus"));
    m_bbtnStop = button("bbtnStop", QStringLiteral("Stop"));
    m_bbtnForw = button("bbtnForw", QStringLiteral("Framåt"));
    for (QPushButton *b : {m_bbtnBack, m_bbtnPause, m_bbtnStop, m_bbtnForw})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(new QLabel(QStringLiteral("Uppspelningstid"), m_pnlControl));
    QFont bold = font();
    bold.setBold(true);
    m_tlblCurrent = new QLabel(QStringLiteral("00.00"), m_pnlControl);
    m_tlblCurrent->setObjectName(QStringLiteral("tlblCurrent"));
    m_tlblCurrent->setFont(bold);
    m_tlblMax = new QLabel(QStringLiteral("00.00"), m_pnlControl);
    m_tlblMax->setObjectName(QStringLiteral("tlblMax"));
    m_tlblMax->setFont(bold);
    buttons->addWidget(m_tlblCurrent);
    buttons->addWidget(new QLabel(QStringLiteral("av"), m_pnlControl));
    buttons->addWidget(m_tlblMax);
    buttons->addStretch(1);
    control->addLayout(buttons);
    auto *speedRow = new QHBoxLayout;
    m_lblSpeed = new QLabel(m_pnlControl);
    m_lblSpeed->setObjectName(QStringLiteral("lblSpeed"));
    m_trkbrSpeed = new QSlider(Qt::Horizontal, m_pnlControl);
    m_trkbrSpeed->setObjectName(QStringLiteral("trkbrSpeed"));
    m_trkbrSpeed->setRange(0, 10);
    m_trkbrSpeed->setPageStep(1);
    m_trkbrSpeed->setTickPosition(QSlider::TicksBelow);
    m_trkbrSpeed->setValue(5);
    m_lblSpeed->setBuddy(m_trkbrSpeed);
    speedRow->addWidget(m_lblSpeed);
    speedRow->addWidget(m_trkbrSpeed, 1);
    control->addLayout(speedRow);
    m_pgsbrReplay = new QProgressBar(m_pnlControl);
    m_pgsbrReplay->setObjectName(QStringLiteral("pgsbrReplay"));
    m_pgsbrReplay->setTextVisible(false);
    m_pgsbrReplay->setRange(0, 0);
    m_pgsbrReplay->setMaximum(1);
    m_pgsbrReplay->setValue(0);
    m_pgsbrReplay->setMouseTracking(true);
    m_pgsbrReplay->installEventFilter(this);
    control->addWidget(m_pgsbrReplay);
    layout->addWidget(m_pnlControl);

    m_chart = new TReplayChart(central);
    layout->addWidget(m_chart, 3);

    m_pgctrlPosition = new QTabWidget(central);
    m_pgctrlPosition->setObjectName(QStringLiteral("pgctrlPosition"));
    const auto page = [this](const char *name, const QString &caption, const QString &header, QListWidget *&list,
                             const char *listName) {
        auto *sheet = new QWidget(m_pgctrlPosition);
        sheet->setObjectName(QLatin1String(name));
        auto *sheetLayout = new QVBoxLayout(sheet);
        sheetLayout->addWidget(new QLabel(header, sheet));
        list = new QListWidget(sheet);
        list->setObjectName(QLatin1String(listName));
        sheetLayout->addWidget(list);
        m_pgctrlPosition->addTab(sheet, caption);
    };
    page("tshDistance", QStringLiteral("P&osition"), QStringLiteral("(Datum, distans, distans från täten)"),
         m_lstbxPosition, "lstbxPosition");
    page("tshSpeed", QStringLiteral("Ha&stighet"), QStringLiteral("(Datum, hastighet, kmtid)"), m_lstbxSpeed,
         "lstbxSpeed");
    layout->addWidget(m_pgctrlPosition, 2);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("sbrReplayPanel0"));
    statusBar()->setObjectName(QStringLiteral("sbrReplay"));
    statusBar()->addWidget(m_status, 1);

    m_tmrControl = new QTimer(this);
    m_tmrControl->setObjectName(QStringLiteral("tmrControl"));

    connect(m_bbtnBack, &QPushButton::clicked, this, [this] { Guard([this] { bbtnBackClick(); }); });
    connect(m_bbtnPause, &QPushButton::clicked, this, [this] { Guard([this] { bbtnPauseClick(); }); });
    connect(m_bbtnStop, &QPushButton::clicked, this, [this] { Guard([this] { bbtnStopClick(); }); });
    connect(m_bbtnForw, &QPushButton::clicked, this, [this] { Guard([this] { bbtnForwClick(); }); });
    connect(m_trkbrSpeed, &QSlider::valueChanged, this, [this] { Guard([this] { trkbrSpeedChange(); }); });
    connect(m_cmbbxCourse, &QComboBox::activated, this, [this] { Guard([this] { cmbbxCourseChange(); }); });
    connect(m_tmrControl, &QTimer::timeout, this, [this] { Guard([this] { tmrControlTimer(); }); });
    connect(m_pgctrlPosition, &QTabWidget::currentChanged, this, [this] { Guard([this] { UpdateControls(); }); });
    for (QListWidget *list : {m_lstbxPosition, m_lstbxSpeed})
        connect(list, &QListWidget::itemClicked, this, [this] {
            Guard([this] {
                UpdateControls();
                Refresh(false);
            });
        });
}

void TfrmReplay::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuReplay"));
    QMenu *archive = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    archive->setObjectName(QStringLiteral("mnuArchive"));
    m_mnuiInformation = archive->addAction(QStringLiteral("&Information om vald aktivitet"));
    m_mnuiInformation->setObjectName(QStringLiteral("mnuiInformation"));
    connect(m_mnuiInformation, &QAction::triggered, this, [this] { Guard([this] { mnuiInformationClick(); }); });
    QAction *print = archive->addAction(QStringLiteral("Skriv &ut..."));
    print->setObjectName(QStringLiteral("mnuiPrint"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, [this] { Guard([this] { mnuiPrintClick(); }); });
    archive->addSeparator();
    QAction *close = archive->addAction(QStringLiteral("&Stäng"));
    close->setObjectName(QStringLiteral("mnuiClose"));
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(close, &QAction::triggered, this, [this] { this->close(); });

    QMenu *replay = menuBar()->addMenu(QStringLiteral("&Uppspelning"));
    replay->setObjectName(QStringLiteral("mnuPlay"));
    const auto item = [this, replay](const char *name, const QString &text, const QKeySequence &key) {
        QAction *action = replay->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        return action;
    };
    const auto ctrlAlt = [](int key) { return QKeySequence(int(Qt::CTRL | Qt::ALT) | key); };
    m_mnuiBack = item("mnuiBack", QStringLiteral("&Bakåt"), ctrlAlt(Qt::Key_B));
    m_mnuiPause = item("mnuiPause", QStringLiteral("&Paus"), ctrlAlt(Qt::Key_P));
    m_mnuiStop = item("mnuiStop", QStringLiteral("&Stop"), ctrlAlt(Qt::Key_S));
    m_mnuiForw = item("mnuiForw", QStringLiteral("&Framåt"), ctrlAlt(Qt::Key_F));
    replay->addSeparator();
    m_mnuiFaster = item("mnuiFaster", QStringLiteral("&Öka hastigheten"), ctrlAlt(Qt::Key_Odiaeresis));
    m_mnuiSlower = item("mnuiSlower", QStringLiteral("&Minska hastigheten"), ctrlAlt(Qt::Key_M));
    connect(m_mnuiBack, &QAction::triggered, this, [this] { Guard([this] { bbtnBackClick(); }); });
    connect(m_mnuiPause, &QAction::triggered, this, [this] { Guard([this] { bbtnPauseClick(); }); });
    connect(m_mnuiStop, &QAction::triggered, this, [this] { Guard([this] { bbtnStopClick(); }); });
    connect(m_mnuiForw, &QAction::triggered, this, [this] { Guard([this] { bbtnForwClick(); }); });
    connect(m_mnuiFaster, &QAction::triggered, this, [this] { Guard([this] { mnuiSpeedClick(true); }); });
    connect(m_mnuiSlower, &QAction::triggered, this, [this] { Guard([this] { mnuiSpeedClick(false); }); });
}

// ---------------------------------------------------------------------------
// Settings

void TfrmReplay::ReadSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(windowKey, false))
        return;
    m_chkbxPause->setChecked(registry.ReadBoolDef(QStringLiteral("Pause"), false));
    m_trkbrSpeed->setValue(std::clamp(registry.ReadIntegerDef(QStringLiteral("Speed"), 5), 0, 10));
    registry.CloseKey();
    trkbrSpeedChange();
}

void TfrmReplay::WriteSettings()
{
    TDefRegistry registry(TDefRegistry::THive::User);
    if (!registry.OpenKey(windowKey, true))
        return;
    registry.WriteBool(QStringLiteral("Pause"), m_chkbxPause->isChecked());
    registry.WriteInteger(QStringLiteral("Speed"), m_trkbrSpeed->value());
    registry.CloseKey();
}

void TfrmReplay::ObserverChange(const TObservation &observation)
{
    if (observation.kind == quint8(TNotifyKind::Closing)) {
        WriteSettings();
    } else if (observation.kind == quint8(TNotifyKind::CoursesChanged)) {
        // A saved course may have moved the marks of its sessions: the
        // competitors no longer match the diary.
        if (m_app.GetSettings().CurrentCourse >= 0 && isVisible())
            close();
    }
}

// ---------------------------------------------------------------------------
// Speed and state

void TfrmReplay::trkbrSpeedChange()
{
    const TSpeed &speed = speeds.at(std::size_t(std::clamp(m_trkbrSpeed->value(), 0, 10)));
    m_tmrControl->setInterval(speed.Interval);
    m_lblSpeed->setText(QStringLiteral("Uppspelnings&hastighet: ") + QString::number(speed.Step * (1000 / speed.Interval))
                        + QStringLiteral(" ggr"));
    m_step = speed.Step + speed.Extra;
    UpdateControls();
}

int TfrmReplay::Interval() const
{
    return m_tmrControl->interval();
}

void TfrmReplay::mnuiSpeedClick(bool faster)
{
    m_trkbrSpeed->setValue(m_trkbrSpeed->value() + (faster ? 1 : -1));
}

void TfrmReplay::SetState(TState state)
{
    if (m_state == state)
        return;
    m_state = state;
    UpdateControls();
    Refresh(false);
}

void TfrmReplay::bbtnStopClick()
{
    if (m_state == Stopped)
        return;
    m_state = Stopped;
    m_current.Clear();
    UpdateControls();
    Refresh(false);
}

void TfrmReplay::bbtnForwClick()
{
    SetState(Forward);
}

void TfrmReplay::bbtnBackClick()
{
    SetState(Backward);
}

void TfrmReplay::bbtnPauseClick()
{
    SetState(Paused);
}

void TfrmReplay::UpdateControls()
{
    const bool course = m_cmbbxCourse->count() > 0;
    m_pnlControl->setEnabled(course);
    m_cmbbxCourse->setEnabled(course);
    m_chart->setEnabled(course);
    m_bbtnBack->setEnabled(course && (m_state == Paused || m_state == AtEnd));
    m_bbtnForw->setEnabled(course && (m_state == Stopped || m_state == Paused));
    m_bbtnPause->setEnabled(course && (m_state == Forward || m_state == Backward));
    m_bbtnStop->setEnabled(course && m_state != Stopped);
    m_mnuiBack->setEnabled(m_bbtnBack->isEnabled());
    m_mnuiForw->setEnabled(m_bbtnForw->isEnabled());
    m_mnuiPause->setEnabled(m_bbtnPause->isEnabled());
    m_mnuiStop->setEnabled(m_bbtnStop->isEnabled());
    const bool run = m_state == Forward || m_state == Backward;
    if (run && !m_tmrControl->isActive())
        m_tmrControl->start();
    else if (!run)
        m_tmrControl->stop();
    m_mnuiFaster->setEnabled(m_trkbrSpeed->value() < m_trkbrSpeed->maximum());
    m_mnuiSlower->setEnabled(m_trkbrSpeed->value() > m_trkbrSpeed->minimum());
    const QListWidget *visible = m_pgctrlPosition->currentIndex() == 0 ? m_lstbxPosition : m_lstbxSpeed;
    m_mnuiInformation->setEnabled(visible->currentRow() >= 0 && visible->currentItem()
                                  && visible->currentItem()->isSelected());
}

// ---------------------------------------------------------------------------
// Loading

void TfrmReplay::LoadFromSearch()
{
    const int loaded = m_app.GetLoadedCount();
    m_pgsbrReplay->setRange(0, std::max(1, 2 * loaded));
    m_pgsbrReplay->setValue(0);
    TBusyPeriod busy(CorvaleForms().CursorManagement(), busyId);
    m_status->setText(QStringLiteral("Hämtar data..."));
    m_current.Clear();
    m_max.Clear();
    m_maxSeconds = 0;
    m_state = Stopped;
    m_tmrControl->stop();

    QList<const TActivity *> activities;
    activities.reserve(loaded);
    for (int i = 0; i < loaded; ++i)
        activities.append(m_app.GetLoadedActivity(i));
    TReplayLoad load;
    int done = 0;
    try {
        LoadReplay(m_replay, activities, m_app.GetDatabase(), m_app.GetCourses(), load,
                   [this, &done] { m_pgsbrReplay->setValue(++done); });
    } catch (...) {
        m_status->clear();
        throw;
    }
    m_items = std::move(load.Items);
    m_courseNrs = load.CourseNrs;
    m_cmbbxCourse->clear();
    m_cmbbxCourse->addItems(load.CourseTexts);
    if (m_cmbbxCourse->count() > 0)
        m_cmbbxCourse->setCurrentIndex(0);
    m_pgsbrReplay->setValue(0);
    // A session that does not fit its course is named, the others race.
    m_status->setText(load.LeftOut.isEmpty()
                          ? QString()
                          : QStringLiteral("Kan inte spela upp ") + load.LeftOut.join(QStringLiteral(", "))
                              + QStringLiteral(": mellantiderna passar inte banbeskrivningen."));
    cmbbxCourseChange();
    UpdateControls();
}

void TfrmReplay::cmbbxCourseChange()
{
    m_courseItems.clear();
    m_byPosition.clear();
    m_bySpeed.clear();
    m_lstbxPosition->clear();
    m_lstbxSpeed->clear();
    m_chart->Clear();
    m_state = Stopped;
    m_current.Clear();
    m_maxSeconds = 0;
    m_max.Clear();
    m_laps.clear();
    m_courseDistance.clear();
    const int index = m_cmbbxCourse->currentIndex();
    if (index >= 0 && index < m_courseNrs.size()) {
        const int nr = m_courseNrs.at(index);
        m_replay.Clear();
        const TCourseValues values = m_app.ReadCourse(nr);
        QStringList laps;
        m_app.GetReadCourseLaps(nr, &laps);
        m_replay.SetCourseDistance(values.Distance);
        m_replay.SetCourseLaps(laps);
        m_laps = laps;
        m_courseDistance = values.Distance;
        QList<double> lapValues;
        for (const QString &lap : laps)
            lapValues.append(numberOf(lap));
        m_chart->SetCourse(numberOf(values.Distance), lapValues);
        const QString course = QString::number(nr);
        for (const auto &item : m_items)
            if (item->CourseNr == course) {
                m_courseItems.append(item.get());
                m_maxSeconds = std::max(m_maxSeconds, int(TTulloUtilTimeDate::TotalSeconds(item->TotalTime)));
            }
        m_chart->SetBarCount(int(m_courseItems.size()));
        for (int i = int(m_courseItems.size()) - 1; i >= 0; --i) {
            m_chart->SetBar(i, 0.0, blue, totalMark(*m_courseItems.at(i)));
            m_lstbxPosition->insertItem(0, m_courseItems.at(i)->Date);
            m_lstbxSpeed->insertItem(0, m_courseItems.at(i)->Date);
        }
        m_max.SetTime(0, 0, m_maxSeconds);
    }
    m_pgsbrReplay->setRange(0, std::max(1, m_maxSeconds));
    m_pgsbrReplay->setValue(0);
    UpdateControls();
    Refresh(false);
}

// ---------------------------------------------------------------------------
// Playing

void TfrmReplay::SetClockSeconds(int seconds)
{
    m_current.SetTime(0, 0, std::clamp(seconds, 0, m_maxSeconds));
}

void TfrmReplay::tmrControlTimer()
{
    if (m_state == Forward) {
        const int next = m_current.TotalSeconds() + m_step;
        if (next >= m_maxSeconds) {
            SetClockSeconds(m_maxSeconds);
            Refresh(true);
            m_state = AtEnd;
            UpdateControls();
            return;
        }
        SetClockSeconds(next);
        Refresh(true);
    } else if (m_state == Backward) {
        SetClockSeconds(m_current.TotalSeconds() - m_step);
        Refresh(true);
        if (m_current.TotalSeconds() == 0) {
            m_current.Clear();
            m_state = Stopped;
            UpdateControls();
            Refresh(false);
        }
    }
}

TReplayItem *TfrmReplay::SelectedItem() const
{
    const QListWidget *visible = m_pgctrlPosition->currentIndex() == 0 ? m_lstbxPosition : m_lstbxSpeed;
    const QList<TReplayItem *> &ranked = m_pgctrlPosition->currentIndex() == 0 ? m_byPosition : m_bySpeed;
    const int row = visible->currentRow();
    if (row < 0 || !visible->currentItem() || !visible->currentItem()->isSelected())
        return nullptr;
    if (row < ranked.size())
        return ranked.at(row);
    return nullptr;
}

void TfrmReplay::Refresh(bool fromTick)
{
    const TReplayItem *selected = SelectedItem();
    const qint32 selectedNr = selected ? selected->SessionNr : -1;
    const QString clock = m_current.Caption();
    bool pause = false;
    for (int i = int(m_courseItems.size()) - 1; i >= 0; --i) {
        TReplayItem &item = *m_courseItems.at(i);
        const TReplayState state = m_replay.StateAt(clock, item);
        QColor colour = blue;
        QString mark = totalMark(item);
        if (m_replay.IsFinished(clock, item) && m_state != Stopped) {
            colour = green;
        } else if (m_state != Stopped) {
            mark = item.Date + QStringLiteral(": ") + Str::FormatFixed(3, state.DistanceCovered) + QStringLiteral(" (km)");
            colour = m_replay.LapsPassed(clock, item) % 2 == 0 ? blue : skyBlue;
        }
        if (m_chkbxPause->isChecked() && m_state != Stopped && m_replay.IsAtSplit(clock, item, m_step)) {
            colour = yellow;
            if (fromTick)
                pause = true;
        }
        if (item.SessionNr == selectedNr)
            colour = red;
        m_chart->SetBar(i, state.DistanceCovered, colour, mark);
    }
    const QString at = m_state == Stopped ? m_max.Caption() : clock;
    m_replay.RankByPosition(at, &m_courseItems, &m_byPosition);
    m_replay.RankBySpeed(at, &m_courseItems, &m_bySpeed);
    ShowLines(m_lstbxPosition, m_byPosition, true, selectedNr);
    ShowLines(m_lstbxSpeed, m_bySpeed, false, selectedNr);
    m_pgsbrReplay->setValue(std::min(m_current.TotalSeconds(), m_pgsbrReplay->maximum()));
    if (pause) {
        m_state = Paused;
        UpdateControls();
    }
}

void TfrmReplay::ShowLines(QListWidget *list, const QList<TReplayItem *> &ranked, bool position, qint32 selected)
{
    // The lines are changed in place; the list keeps its rows.
    const QSignalBlocker blocker(list);
    while (list->count() > ranked.size())
        delete list->takeItem(list->count() - 1);
    while (list->count() < ranked.size())
        list->addItem(QString());
    int selectedRow = -1;
    for (int i = 0; i < ranked.size(); ++i) {
        const QString &line = position ? ranked.at(i)->PositionLine : ranked.at(i)->SpeedLine;
        QListWidgetItem *row = list->item(i);
        if (row->text() != line)
            row->setText(line);
        if (ranked.at(i)->SessionNr == selected)
            selectedRow = i;
    }
    if (selectedRow >= 0) {
        if (list->currentRow() != selectedRow)
            list->setCurrentRow(selectedRow);
        list->item(selectedRow)->setSelected(true);
    } else if (list->currentItem()) {
        list->clearSelection();
    }
}

QString TfrmReplay::ProgressHint(int x) const
{
    const int width = std::max(1, m_pgsbrReplay->width());
    const int seconds = std::clamp(int(double(x) / width * m_maxSeconds), 0, m_maxSeconds);
    return ReplayClockText(seconds);
}

void TfrmReplay::ScrubTo(int x)
{
    if (m_courseItems.isEmpty() && m_maxSeconds == 0)
        return;
    const int width = std::max(1, m_pgsbrReplay->width());
    SetClockSeconds(std::min(m_maxSeconds, int(double(std::max(0, x)) / width * m_maxSeconds)));
    if (m_state == Stopped || m_state == AtEnd || m_state == Forward || m_state == Backward)
        m_state = Paused;
    UpdateControls();
    Refresh(false);
}

bool TfrmReplay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pgsbrReplay && m_pnlControl->isEnabled()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const int x = int(mouse->position().x());
            m_pgsbrReplay->setToolTip(ProgressHint(x));
            if (event->type() == QEvent::MouseButtonPress || (mouse->buttons() & Qt::LeftButton))
                Guard([this, x] { ScrubTo(x); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Views of the lists

QStringList TfrmReplay::PositionLines() const
{
    return ChartWindow::ItemTexts(m_lstbxPosition);
}

QStringList TfrmReplay::SpeedLines() const
{
    return ChartWindow::ItemTexts(m_lstbxSpeed);
}

QStringList TfrmReplay::CourseTexts() const
{
    return ChartWindow::ItemTexts(m_cmbbxCourse);
}

int TfrmReplay::CourseCount() const
{
    return m_cmbbxCourse->count();
}

QString TfrmReplay::StatusText() const
{
    return m_status->text();
}

// ---------------------------------------------------------------------------
// Information, printing, closing

void TfrmReplay::mnuiInformationClick()
{
    TReplayItem *item = SelectedItem();
    if (!item)
        return;
    const TState before = m_state;
    if (m_state == Forward || m_state == Backward) {
        m_state = Paused;
        UpdateControls();
    }
    {
        TfrmReplayInfo info(*item, this);
        info.exec();
    }
    if (m_state != before) {
        m_state = before;
        UpdateControls();
    }
}

std::unique_ptr<TReportDocument> TfrmReplay::Report(const QString &title)
{
    QImage picture(m_chart->size().expandedTo(QSize(600, 300)), QImage::Format_ARGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        m_chart->render(&painter);
    }
    return std::make_unique<TReplayReport>(title, picture, m_current.Caption() + QStringLiteral(" av ") + m_max.Caption(),
                                           PositionLines(), SpeedLines());
}

void TfrmReplay::mnuiPrintClick()
{
    const TState before = m_state;
    if (m_state == Forward || m_state == Backward) {
        m_state = Paused;
        UpdateControls();
    }
    ChartWindow::PrintUnderTitle(this, QStringLiteral("Uppspelning - ") + m_cmbbxCourse->currentText(),
                                 [this](const QString &title) { return Report(title); });
    Q_UNUSED(before);
}

void TfrmReplay::closeEvent(QCloseEvent *event)
{
    m_tmrControl->stop();
    if (m_state == Forward || m_state == Backward) {
        m_state = Paused;
        UpdateControls();
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        Guard([] { CorvaleForms().WindowListChanged(); });
}

// ---------------------------------------------------------------------------
// TReplayReport

TReplayReport::TReplayReport(QString title, QImage picture, QString clock, QStringList positions, QStringList speeds)
    : m_geometry(TReportGeometry::Landscape()), m_title(std::move(title)), m_printTime(PrintTimeNow()),
      m_picture(std::move(picture)), m_clock(std::move(clock)), m_positions(std::move(positions)),
      m_speeds(std::move(speeds))
{
}

void TReplayReport::PaintPage(QPainter &painter, int page) const
{
    Q_UNUSED(page);
    PaintReportElements(painter, PageHeaderElements(m_geometry, m_title, m_printTime, 1));
    const double width = m_geometry.PageWidth();
    const double height = m_geometry.PageHeight() - m_geometry.HeaderHeight;
    // The chart on the upper part, the standings side by side under it.
    const double chartHeight = height * 0.55;
    QSizeF size = QSizeF(m_picture.size()).scaled(QSizeF(width, chartHeight), Qt::KeepAspectRatio);
    QVector<TReportElement> elements;
    TReportElement picture;
    picture.Kind = TReportElement::TKind::Picture;
    picture.Picture = 0;
    picture.Rect = QRectF((width - size.width()) / 2, m_geometry.HeaderHeight, size.width(), size.height());
    elements.append(picture);
    const double top = m_geometry.HeaderHeight + chartHeight + 10;
    const double column = (width - m_geometry.Left) / 2;
    const auto text = [&elements](const QRectF &rect, const QString &value, bool bold) {
        TReportElement element;
        element.Kind = TReportElement::TKind::Text;
        element.Rect = rect;
        element.Text = value;
        element.Font.Bold = bold;
        elements.append(element);
    };
    text(QRectF(m_geometry.Left, top, width, 18), QStringLiteral("Uppspelningstid ") + m_clock, true);
    text(QRectF(m_geometry.Left, top + 20, column, 18), QStringLiteral("Position (Datum, distans, distans från täten)"),
         true);
    text(QRectF(m_geometry.Left + column, top + 20, column, 18), QStringLiteral("Hastighet (Datum, hastighet, kmtid)"),
         true);
    const double lineHeight = 16;
    const int rows = std::max(1, int((m_geometry.PageHeight() - top - 40) / lineHeight));
    for (int i = 0; i < std::min<int>(rows, int(m_positions.size())); ++i)
        text(QRectF(m_geometry.Left, top + 40 + i * lineHeight, column, lineHeight), m_positions.at(i), false);
    for (int i = 0; i < std::min<int>(rows, int(m_speeds.size())); ++i)
        text(QRectF(m_geometry.Left + column, top + 40 + i * lineHeight, column, lineHeight), m_speeds.at(i), false);
    PaintReportElements(painter, elements, {m_picture});
}
