#pragma once

#include "analysis/Replay.h"
#include "export/GenReportEngine.h"
#include "export/GenReportLayout.h"

#include <QColor>
#include <QList>
#include <QMainWindow>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;
class TCorvaleApp;
class TSubjectObserver;
struct TObservation;

// The replay's chart: one horizontal bar per competitor over the course's
// length, each with its colour and mark, a yellow line at every lap
// distance and a red one at the course distance, each with its distance
// under it. Dragging to the right over the plot zooms into a stretch of
// the course, double-clicking shows the whole course again. The window
// changes the bars in place at every tick.
class TReplayChart : public QWidget
{
    Q_OBJECT

public:
    struct TBar
    {
        double Length = 0.0;
        QColor Colour;
        QString Mark;
    };

    explicit TReplayChart(QWidget *parent = nullptr);

    void Clear();
    // The course: the bottom axis runs from 0 to the distance.
    void SetCourse(double distance, const QList<double> &laps);
    // Bar i, from the top; the count is set by SetBarCount.
    void SetBarCount(int count);
    void SetBar(int i, double length, const QColor &colour, const QString &mark);
    int BarCount() const { return int(m_bars.size()); }
    const TBar &Bar(int i) const { return m_bars.at(std::size_t(i)); }
    double AxisMinimum() const { return m_from; }
    double AxisMaximum() const { return m_to; }
    void SetZoom(double from, double to);
    void ResetZoom();

    QSize sizeHint() const override { return {600, 300}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QRectF PlotRect() const;
    double ToX(double distance, const QRectF &plot) const;
    double ToDistance(double x, const QRectF &plot) const;

    std::vector<TBar> m_bars;
    QList<double> m_laps;
    double m_distance = 0.0;
    double m_from = 0.0;
    double m_to = 0.0;
    int m_dragFrom = -1;
    int m_dragTo = -1;
};

// "Uppspelning": the sessions of the main window's search that were done on
// a course race each other. Made by the main window on first use and kept;
// not modal. LoadFromSearch reads the search result again each time.
//
// States: 0 stopped, 1 paused, 2 playing forward, 3 playing backward, 4 at
// the end. The clock runs from 00.00 to the longest total time of the
// chosen course's sessions, step seconds per tick of the timer (the speed
// track bar sets both).
//
// The window registers in the window menu while it exists, has the help
// topics 50..57, keeps its place under `ReplayWindow` with "Pause" and
// "Speed", and prints the chart with both standings.
class TfrmReplay : public QMainWindow
{
    Q_OBJECT

public:
    enum TState { Stopped = 0, Paused = 1, Forward = 2, Backward = 3, AtEnd = 4 };

    explicit TfrmReplay(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmReplay() override;

    // Makes the competitors of the loaded activities and selects the first
    // course.
    void LoadFromSearch();

    // The buttons and menu items.
    void bbtnStopClick();
    void bbtnForwClick();
    void bbtnBackClick();
    void bbtnPauseClick();
    void mnuiSpeedClick(bool faster);
    void mnuiInformationClick();
    void mnuiPrintClick();
    // One tick of the timer.
    void tmrControlTimer();
    // Sets the clock from a position on the progress bar, as a click there.
    void ScrubTo(int x);
    void cmbbxCourseChange();

    TState State() const { return m_state; }
    int Step() const { return m_step; }
    int Interval() const;
    QString ClockText() const { return m_current.Caption(); }
    QString MaxText() const { return m_max.Caption(); }
    int ClockSeconds() const { return m_current.TotalSeconds(); }
    QStringList PositionLines() const;
    QStringList SpeedLines() const;
    QStringList CourseTexts() const;
    int CourseCount() const;
    const QList<TReplayItem *> &CourseItems() const { return m_courseItems; }
    TReplayChart *Chart() const { return m_chart; }
    QString StatusText() const;
    QString ProgressHint(int x) const;
    // The selected competitor of the visible list; nullptr when none.
    TReplayItem *SelectedItem() const;
    // The printed page of the chart and both standings under the title.
    std::unique_ptr<TReportDocument> Report(const QString &title);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void ReadSettings();
    void WriteSettings();
    void trkbrSpeedChange();
    void SetState(TState state);
    void UpdateControls();
    void Refresh(bool fromTick);
    void ShowLines(QListWidget *list, const QList<TReplayItem *> &ranked, bool position, qint32 selected);
    void ObserverChange(const TObservation &observation);
    void SetClockSeconds(int seconds);

    TCorvaleApp &m_app;
    TReplay m_replay;
    TTimeLabel m_current;
    TTimeLabel m_max;

    QComboBox *m_cmbbxCourse = nullptr;
    QCheckBox *m_chkbxPause = nullptr;
    QGroupBox *m_pnlControl = nullptr;
    QPushButton *m_bbtnBack = nullptr;
    QPushButton *m_bbtnPause = nullptr;
    QPushButton *m_bbtnStop = nullptr;
    QPushButton *m_bbtnForw = nullptr;
    QLabel *m_tlblCurrent = nullptr;
    QLabel *m_tlblMax = nullptr;
    QLabel *m_lblSpeed = nullptr;
    QSlider *m_trkbrSpeed = nullptr;
    QProgressBar *m_pgsbrReplay = nullptr;
    TReplayChart *m_chart = nullptr;
    QTabWidget *m_pgctrlPosition = nullptr;
    QListWidget *m_lstbxPosition = nullptr;
    QListWidget *m_lstbxSpeed = nullptr;
    QTimer *m_tmrControl = nullptr;
    QLabel *m_status = nullptr;
    QAction *m_mnuiInformation = nullptr;
    QAction *m_mnuiBack = nullptr;
    QAction *m_mnuiPause = nullptr;
    QAction *m_mnuiStop = nullptr;
    QAction *m_mnuiForw = nullptr;
    QAction *m_mnuiFaster = nullptr;
    QAction *m_mnuiSlower = nullptr;
    TSubjectObserver *m_observer = nullptr;

    TState m_state = Stopped;
    int m_step = 11;
    std::vector<std::unique_ptr<TReplayItem>> m_items;
    QList<TReplayItem *> m_courseItems;
    QList<TReplayItem *> m_byPosition;
    QList<TReplayItem *> m_bySpeed;
    QList<int> m_courseNrs;
    QStringList m_laps;
    QString m_courseDistance;
    int m_maxSeconds = 0;
    bool m_menusAdded = false;
};

// The printed replay: the chart's picture and both standings at the clock.
class TReplayReport final : public TReportDocument
{
public:
    TReplayReport(QString title, QImage picture, QString clock, QStringList positions, QStringList speeds);
    bool Wide() const override { return true; }
    int PageCount() const override { return 1; }
    QString Title() const override { return m_title; }
    void PaintPage(QPainter &painter, int page) const override;

private:
    TReportGeometry m_geometry;
    QString m_title;
    QString m_printTime;
    QImage m_picture;
    QString m_clock;
    QStringList m_positions;
    QStringList m_speeds;
};

// The clock time of a replay as the engine takes it: total minutes, ".",
// seconds.
QString ReplayClockText(int seconds);
