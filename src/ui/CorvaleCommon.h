#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

class QLabel;
class TNumericalEdit;

// What the two entry pages share: the set-up of the lap table's edits and
// labels, the texts of the weather, wind, rest and performance pickers, the
// long hints of the two help pictures and the pictures the pickers show.
// Stateless; every operation is a class-level function.
class TCorvaleCommon
{
public:
    TCorvaleCommon() = delete;

    // The lap table: lap i (0..19) stands in a column 42 pixels wide.
    static constexpr int LapCount = 20;
    static constexpr int LapColumnWidth = 42;
    static constexpr int LapEditWidth = 40;

    // Makes `edit` the edit of lap `lap` (0..19) at height `top` of its
    // strip: 40 wide, two decimals, no negatives, "0" to "999", left at
    // lap * 42 + 4. Raises ECorvaleError "Control nil in
    // SetLapTimeEditProperties" without an edit.
    static void SetLapTimeEditProperties(TNumericalEdit *edit, int lap, int top);
    // Makes `label` the number above lap `lap`: caption lap + 1, left at
    // lap * 42 + 22, top 2. Raises ECorvaleError "Control nil in
    // SetLapTimeLabelProperties" without a label.
    static void SetLapTimeLabelProperties(QLabel *label, int lap);

    // The texts of the picker positions 1.. (position p shows entry p - 1;
    // position 0 shows no text).
    static const QStringList &WeatherTexts();
    static const QStringList &WindDirTexts();
    static const QStringList &SleepTexts();
    // "Mycket dåligt" .. "Mycket bra", stored as their index 0..4.
    static const QStringList &PerformanceTexts();
    // "Måndag" .. "Söndag" for 1..7.
    static QString WeekdayName(int dayOfWeek);

    // The long hints of the help pictures beside the weather and the wind.
    static QString WeatherHint();
    static QString WindHint();

    // The picture of a picker position (a null pixmap for position 0 and
    // for positions beyond the texts).
    static QPixmap WeatherPicture(int position);
    static QPixmap WindDirPicture(int position);
    static QPixmap SleepPicture(int position);
    // The small question mark that carries a long hint.
    static QPixmap HelpPicture();
    // A body outline with the places the girths of a body measurement are
    // taken at.
    static QPixmap BodyPicture();
};
