// The month calendar: which days of its month a list of dates marks, the
// dates it lists for the month and for a day, its refusals, and the control
// that paints the marks and reports the clicks.

#include "foundation/Exceptions.h"
#include "foundation/TulloCalendar.h"
#include "foundation/TulloCalendarDays.h"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

namespace
{
QStringList dates(const char *texts)
{
    return QString::fromLatin1(texts).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The centre of a day's cell.
QPoint cellCentre(int day)
{
    return {((day - 1) % 7) * 20 + 10, 20 + ((day - 1) / 7) * 20 + 10};
}

QString message(const std::function<void()> &action)
{
    try {
        action();
    } catch (const ETulloCalendar &e) {
        return e.Message();
    }
    return QString();
}
}

class tst_TulloCalendar : public QObject
{
    Q_OBJECT

private slots:
    // The days a calendar marks: every date of its month whatever the year,
    // each day once.
    void marking_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("days");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("May of two years") << 5 << dates("2003-05-04 2004-05-04 2004-05-17") << dates("04 17");
        QTest::newRow("May dates among others") << 5 << dates("2004-04-30 2004-05-01 2004-06-01 1999-05-31 2010-5-9")
                                                << dates("01 09 31");
        QTest::newRow("one date three times") << 5 << dates("2004-05-04 2004-05-04 2004-05-04") << dates("04");
        QTest::newRow("29 February of a leap year") << 2 << dates("2004-02-29 2003-02-28 2004-03-01") << dates("28 29");
        QTest::newRow("no date of the month") << 7 << dates("2004-05-04 2004-06-30 2004-08-01") << QStringList();
        QTest::newRow("empty list") << 1 << QStringList() << QStringList();
        QTest::newRow("days sort as numbers") << 12 << dates("2001-12-10 2001-12-02 2001-12-21 2001-12-09")
                                              << dates("02 09 10 21");
    }
    void marking()
    {
        QFETCH(int, month);
        QFETCH(QStringList, days);
        QFETCH(QStringList, marked);
        TTulloCalendarDays calendar;
        calendar.SetMonth(month);
        calendar.SetDays(&days);
        QCOMPARE(calendar.DayNumbers(), marked);
        QCOMPARE(calendar.NrOfSelectedDays(), marked.size());
        for (int day = 1; day <= 31; ++day)
            QCOMPARE(calendar.IsSelected(day), marked.contains(QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'))));
        QCOMPARE(calendar.Days(), days);
    }

    // The dates listed for the whole month and for one day keep their years,
    // sorted, each once.
    void listedDates_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("days");
        QTest::addColumn<int>("day");
        QTest::addColumn<QStringList>("ofDay");
        QTest::addColumn<QStringList>("ofMonth");
        const QStringList may = dates("2004-05-17 2003-05-04 2004-05-04 2004-06-04 2003-05-04");
        QTest::newRow("the 4th of May") << 5 << may << 4 << dates("2003-05-04 2004-05-04")
                                        << dates("2003-05-04 2004-05-04 2004-05-17");
        QTest::newRow("the 17th of May") << 5 << may << 17 << dates("2004-05-17")
                                         << dates("2003-05-04 2004-05-04 2004-05-17");
        QTest::newRow("a day without dates") << 5 << may << 5 << QStringList()
                                             << dates("2003-05-04 2004-05-04 2004-05-17");
        QTest::newRow("29 February") << 2 << dates("2000-02-29 2004-02-29 1996-02-28") << 29
                                     << dates("2000-02-29 2004-02-29") << dates("1996-02-28 2000-02-29 2004-02-29");
        QTest::newRow("one-digit texts listed with two") << 3 << dates("2005-3-7 2005-03-07") << 7 << dates("2005-03-07")
                                                         << dates("2005-03-07");
        QTest::newRow("empty list") << 5 << QStringList() << 4 << QStringList() << QStringList();
    }
    void listedDates()
    {
        QFETCH(int, month);
        QFETCH(QStringList, days);
        QFETCH(int, day);
        QFETCH(QStringList, ofDay);
        QFETCH(QStringList, ofMonth);
        TTulloCalendarDays calendar;
        calendar.SetMonth(month);
        calendar.SetDays(&days);
        // Whatever the target held before is replaced.
        QStringList target{QStringLiteral("old")};
        calendar.GetCurrentDates2(day, &target);
        QCOMPARE(target, ofDay);
        target = QStringList{QStringLiteral("old")};
        calendar.GetCurrentDates(&target);
        QCOMPARE(target, ofMonth);
    }

    // Changing the month derives the marks again from the same dates.
    void monthChangeRebuilds()
    {
        const QStringList days = dates("2004-05-04 2004-06-09 2005-06-10");
        TTulloCalendarDays calendar;
        calendar.SetMonth(5);
        calendar.SetDays(&days);
        calendar.SetMonth(6);
        QCOMPARE(calendar.DayNumbers(), dates("09 10"));
        QCOMPARE(calendar.MonthLabel(), QStringLiteral("Juni"));
        calendar.ClearDays();
        QCOMPARE(calendar.NrOfSelectedDays(), 0);
        QVERIFY(calendar.Days().isEmpty());
    }

    // Refusals name the fault and leave the calendar as it was.
    void refusals_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("month 13") << "month" << "13" << "13 is not a valid month";
        QTest::newRow("month 0") << "month" << "0" << "0 is not a valid month";
        QTest::newRow("month -1") << "month" << "-1" << "-1 is not a valid month";
        QTest::newRow("30 February") << "days" << "2004-02-30" << "2004-02-30 is not a valid date";
        QTest::newRow("no date") << "days" << "igår" << "igår is not a valid date";
        QTest::newRow("empty text") << "days" << "" << " is not a valid date";
        QTest::newRow("nil list in SetDays") << "nil days" << "" << "Nil list in SetDays";
        QTest::newRow("nil list in GetCurrentDates") << "nil month" << "" << "Nil list in GetCurrentDates";
        QTest::newRow("nil list in GetCurrentDates2") << "nil day" << "" << "Nil list in GetCurrentDates2";
    }
    void refusals()
    {
        QFETCH(QString, operation);
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        const QStringList before = dates("2004-05-04 2004-05-17");
        TTulloCalendarDays calendar;
        calendar.SetMonth(5);
        calendar.SetDays(&before);
        const QString shown = message([&] {
            if (operation == QLatin1String("month"))
                calendar.SetMonth(argument.toInt());
            else if (operation == QLatin1String("days")) {
                // The bad text after a good one: nothing of the list is taken.
                const QStringList list{QStringLiteral("2004-05-20"), argument};
                calendar.SetDays(&list);
            } else if (operation == QLatin1String("nil days"))
                calendar.SetDays(nullptr);
            else if (operation == QLatin1String("nil month"))
                calendar.GetCurrentDates(nullptr);
            else
                calendar.GetCurrentDates2(4, nullptr);
        });
        QCOMPARE(shown, expected);
        QCOMPARE(calendar.Month(), 5);
        QCOMPARE(calendar.Days(), before);
        QCOMPARE(calendar.DayNumbers(), dates("04 17"));
    }

    // Where a point falls: the header, a day, or past the month's end.
    void hitTest_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("expected");
        QTest::newRow("header") << 5 << QPoint(70, 19) << 0;
        QTest::newRow("first cell") << 5 << QPoint(0, 20) << 1;
        QTest::newRow("end of first row") << 5 << QPoint(139, 39) << 7;
        QTest::newRow("start of second row") << 5 << QPoint(0, 40) << 8;
        QTest::newRow("31 May") << 5 << QPoint(50, 100) << 31;
        QTest::newRow("past 30 April") << 4 << QPoint(50, 100) << -1;
        QTest::newRow("29 February") << 2 << QPoint(0, 100) << 29;
        QTest::newRow("past 29 February") << 2 << QPoint(20, 100) << -1;
    }
    void hitTest()
    {
        QFETCH(int, month);
        QFETCH(QPoint, point);
        QFETCH(int, expected);
        TTulloCalendarDays calendar;
        calendar.SetMonth(month);
        QCOMPARE(calendar.HitTest(point.x(), point.y()), expected);
    }

    // A press reports the day or the header; a press past the month's end
    // reports nothing and clears the clicked day.
    void clicks()
    {
        TTulloCalendar calendar;
        calendar.SetMonth(2);
        calendar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&calendar));
        QSignalSpy days(&calendar, &TTulloCalendar::OnDayClicked);
        QSignalSpy headers(&calendar, &TTulloCalendar::OnHeaderClicked);

        QTest::mouseClick(&calendar, Qt::LeftButton, {}, cellCentre(29));
        QCOMPARE(days.size(), 1);
        QCOMPARE(days.at(0).at(1).toInt(), 29);
        QCOMPARE(calendar.Clicked(), 29);

        QTest::mouseClick(&calendar, Qt::RightButton, {}, cellCentre(30));
        QCOMPARE(days.size(), 1);
        QCOMPARE(headers.size(), 0);
        QCOMPARE(calendar.Clicked(), -1);

        QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(70, 10));
        QCOMPARE(headers.size(), 1);
        QCOMPARE(headers.at(0).at(0).value<TTulloCalendar *>(), &calendar);
        QCOMPARE(calendar.Clicked(), 0);
        calendar.ClearClicked();
        QCOMPARE(calendar.Clicked(), -1);
    }

    // The painting shows the marks: a marked day in SelectedColor, the
    // clicked day and a clicked header in ClickedColor, the other days and
    // the blank cells in NonSelectedColor.
    void painting()
    {
        const QColor selected(166, 202, 240);
        const QColor clicked(192, 220, 192);
        const QColor header(200, 200, 200);
        TTulloCalendar calendar;
        calendar.SetMonth(2);
        calendar.SetSelectedColor(selected);
        calendar.SetClickedColor(clicked);
        calendar.SetHeaderBkgColor(header);
        const QStringList days = dates("2004-02-29 2005-02-03 2005-03-04");
        calendar.SetDays(&days);
        calendar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&calendar));

        // A corner of a cell, away from its number and the edge.
        const auto colourOf = [&calendar](int day) {
            const QPoint centre = cellCentre(day);
            return calendar.grab().toImage().pixelColor(centre.x() - 7, centre.y() - 7);
        };
        QCOMPARE(colourOf(3), selected);
        QCOMPARE(colourOf(29), selected);
        QCOMPARE(colourOf(4), QColor(Qt::white));
        QCOMPARE(colourOf(30), QColor(Qt::white));
        QCOMPARE(calendar.grab().toImage().pixelColor(5, 8), header);

        QTest::mouseClick(&calendar, Qt::LeftButton, {}, cellCentre(3));
        QCOMPARE(colourOf(3), clicked);
        QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(70, 10));
        QCOMPARE(colourOf(3), selected);
        QCOMPARE(calendar.grab().toImage().pixelColor(5, 8), clicked);
    }

    void monthNames()
    {
        const QStringList expected{"Januari", "Februari", "Mars", "April", "Maj", "Juni", "Juli", "Augusti",
                                   "September", "Oktober", "November", "December"};
        QStringList names;
        QList<int> lengths;
        for (int month = 1; month <= 12; ++month) {
            names.append(TTulloCalendarDays::MonthName(month));
            lengths.append(TTulloCalendarDays::MonthLength(month));
        }
        QCOMPARE(names, expected);
        QCOMPARE(lengths, (QList<int>{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}));
    }
};

QTEST_MAIN(tst_TulloCalendar)
#include "tst_TulloCalendar.moc"
