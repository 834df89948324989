#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TCorvaleApp;
class TNumericalEdit;

// "Aktuell banbeskrivning": a small tool window beside the main window that
// shows the course the session being entered is bound to - its difficulty
// and description - and how earlier sessions on it went: the fastest and the
// slowest with their dates, the average duration and the five most recent
// sessions up to the session's date, and how many sessions use the course.
//
// The main window shows and hides it from its menu, keeps the menu's check
// mark in step through Closed, and calls ShowCourse whenever the session's
// course, date or activity changes. Its geometry is restored when it is made
// and written under `CurrentCourseWindow` when it is destroyed.
class TfrmCurrentCourse : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RecentCount = 5;

    explicit TfrmCurrentCourse(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmCurrentCourse() override;

    // Shows the course with the number (as text) and the statistics of its
    // sessions on or before the date ("yyyy-mm-dd"; empty for all). An empty
    // number or "-1" shows that no course fits and empty statistics. Does
    // nothing while the window is hidden. The statistics are asked of a
    // throw-away object of the course's activity that never joins the loaded
    // entries, so they and the observers of the application object are left
    // alone. A number that is no course in the diary raises the course's
    // error, and other errors of the diary pass on.
    void ShowCourse(const QString &courseNr, const QString &date);

signals:
    // The window was closed by the user (or by close()).
    void Closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    // F1 opens the help about binding a session to a course, where this
    // window is described.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ClearStatistics();

    TCorvaleApp &m_app;
    QLineEdit *m_edtDifficulty;
    QPlainTextEdit *m_moDescription;
    QLineEdit *m_edtFastestDate;
    TNumericalEdit *m_numedtFastestDur;
    QLineEdit *m_edtSlowestDate;
    TNumericalEdit *m_numedtSlowestDur;
    TNumericalEdit *m_numedtAverageDur;
    // Row i of "Senaste 5 ggr": the date field is named edtStatDur<i+1> and
    // the duration field numedtStatDate<i+1>.
    QLineEdit *m_edtStatDur[RecentCount];
    TNumericalEdit *m_numedtStatDate[RecentCount];
    QLabel *m_lblNrUsedByActivities;
};
