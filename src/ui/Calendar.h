#pragma once

#include <QMainWindow>
#include <QStringList>

#include <array>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class TComplexGrid;
class TCorvaleApp;
class TTulloCalendar;

// "Kalender": twelve month calendars, January to December, marking the days
// on which the activities of the main list took place, whatever the year. A
// click on a month lists every date of that month, a click on a day the
// dates of that day, each with its year, and the count of distinct dates.
//
// The window counts what the list shows and never reads the diary: the main
// window hands it its list grid each time it is opened from the menu, and
// FillDates takes the date column of that grid. One instance, made by the
// main window on first use and kept; non-modal; closing hides it. It
// registers in the window menu while it exists, has help topic 49 (F1 and
// the help menu), and keeps its position under `CalendarWindow`.
class TfrmCalendar : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmCalendar(TCorvaleApp &app, QWidget *parent = nullptr);
    ~TfrmCalendar() override;

    // Empties every calendar and the list of dates, then gives every
    // calendar the texts of column 0 of every data row of the grid (an
    // empty cell, as in the one row of an empty list, is left out). The
    // labels keep their texts. A text that is no date raises ETulloCalendar
    // "<text> is not a valid date"; every calendar then stays empty.
    void FillDates(const TComplexGrid &grid);

    // The twelve calendars, January first.
    TTulloCalendar *MonthCalendar(int month) const { return m_calendars.at(month - 1); }
    // The dates the memo shows.
    const QStringList &Dates() const { return m_dates; }

    void calAllHeaderClick(TTulloCalendar *sender);
    void calAllDayClick(TTulloCalendar *sender, int day);
    void mnuiPreviewPrintClick(bool preview);
    void mnuiCloseClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The other calendars lose their clicked place; the dates go into the
    // memo and the count under it.
    void ShowDates(TTulloCalendar *sender, const QString &title);

    TCorvaleApp &m_app;
    std::array<TTulloCalendar *, 12> m_calendars{};
    QLabel *m_lblDates = nullptr;
    QPlainTextEdit *m_moDates = nullptr;
    QLabel *m_lblCount = nullptr;
    QProgressBar *m_pgsbrCalendar = nullptr;
    QStringList m_dates;
    bool m_menusAdded = false;
};
