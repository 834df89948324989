#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

// Value texts: parsing, checking, converting and formatting the texts that
// every value of the diary travels as. Nothing here looks at the system
// locale: numbers use "." as decimal separator and are never written with
// exponents or group separators, dates are "yyyy-MM-dd".
//
// Number texts. A number text is, after removing surrounding white space, an
// optional sign followed by decimal digits with at most one "." among them and
// at least one digit ("12", "-3.5", ".5", "5."). Anything else - a comma,
// group separators, blanks inside, exponents, "inf", "nan", hexadecimal - is
// no number. An empty or all-blank text is "no value" wherever an operation
// says so.
//
// Durations. A duration text is a number >= 0 whose integer part counts whole
// minutes and whose first two decimals are the seconds 00..59: 65.30 is
// 1 h 5 min 30 s. Durations of 10^9 minutes or more are not accepted.
//
// The classes have no instances; every operation is a static function.

class TTulloUtilString final
{
public:
    TTulloUtilString() = delete;

    // The text with every character that occurs in `chars` removed, or, when
    // `replaceWithBlank` is set, replaced by one blank each.
    static QString RemoveChars(const QString &text, const QString &chars, bool replaceWithBlank);

    // Every occurrence of `oldText`, scanning from the left and going on after
    // each inserted `newText`, replaced by `newText`. An empty `oldText`
    // leaves the text unchanged.
    static QString ReplaceAll(const QString &text, const QString &oldText, const QString &newText);

    // The value in fixed notation with `decimals` decimals (a negative count
    // counts as 0). The value is rounded as its shortest decimal form reads,
    // halves away from zero (2.675 gives 2.68, 0.125 gives 0.13). A result
    // whose digits are all zero carries no sign. Throws EConvertError for an
    // infinite or NaN value.
    static QString FormatFixed(int decimals, double value);

    // Empty for an empty (all-blank) text; otherwise FormatFixed of the parsed
    // number. Throws EConvertError "Kunde inte beräkna StrToStrDec för <text>"
    // for a text that is no number.
    static QString StrToStrDec(const QString &text, int decimals);

    // Resolves the plural markup "#singular\plural#": the singular piece for a
    // count of 1, the plural piece for every other count, piece after piece.
    // From the first malformed piece on (a missing "#" or "\", a "#" that is
    // the first character, a "#" inside the singular piece) the rest of the
    // text is returned unchanged.
    static QString ExpandPlural(int count, const QString &text);

    // The count, one blank, then ExpandPlural(count, text).
    static QString CountText(int count, const QString &text);

    // The characters before the first carriage return (the whole text when
    // there is none).
    static QString FirstLine(const QString &text);

    // The characters after the first carriage return up to the next one;
    // empty when there is no carriage return.
    static QString SecondLine(const QString &text);

    // The text prefixed with `fill` until it is `length` characters long;
    // unchanged when it is already that long or longer.
    static QString PadLeft(const QString &text, int length, QChar fill);

    // "1" / "0"; TextToBool is true for exactly "1".
    static QString BoolToText(bool flag);
    static bool TextToBool(const QString &text);
};

class TTulloUtilNumeric final
{
public:
    TTulloUtilNumeric() = delete;

    // True for an empty (all-blank) text or a text that is a whole number
    // fitting in 32 bits (no "."; optional sign).
    static bool IsInteger(const QString &text);

    // True for an empty (all-blank) text or a number text.
    static bool IsFloat(const QString &text);

    // The value of a number text. Throws EConvertError naming the text when
    // it is no number (an empty text is no number either).
    static double StrToFloat(const QString &text);

    // The value of a whole-number text that fits in 32 bits. Throws
    // EConvertError naming the text otherwise.
    static int StrToInt(const QString &text);
};

class TTulloUtilTimeDate final
{
public:
    TTulloUtilTimeDate() = delete;

    // ----- durations -----

    // True for an empty text, or a number >= 0 (below 10^9) whose fractional
    // part, written with 4 decimals, is below "0.6" (seconds 00..59).
    static bool IsValidTime(const QString &text);

    // 0 for an empty text; otherwise the whole hours of the duration. Throws
    // ETimeError "Ogiltig tid för timmar (<text>)" for an invalid duration.
    static int Hours(const QString &text);

    // 0 for an empty text; otherwise the minutes within the hour. Throws
    // ETimeError "Ogiltig tid för minuter (<text>)".
    static int Minutes(const QString &text);

    // 0 for an empty text; otherwise the two seconds digits (45.30 gives 30,
    // 45.305 gives 30). Throws ETimeError "Ogiltig tid för sekunder (<text>)".
    static int Seconds(const QString &text);

    // The duration in hours, minutes and seconds; the errors of Hours.
    static double TotalHours(const QString &text);
    static double TotalMinutes(const QString &text);
    static qint64 TotalSeconds(const QString &text);

    // Kilometres per hour with 2 decimals; empty when either text is blank or
    // the time is 0. Throws ETimeError "Ogiltig Tid (<time>) < 0" for an
    // invalid time, EDistError "Distans ej numerisk: <distance>" or
    // "Distans (<distance>) < 0" for a bad distance.
    static QString Speed(const QString &time, const QString &distance);

    // Time per kilometre in the duration encoding with 2 decimals: the
    // seconds per km rounded to whole seconds (ties to even), then written
    // as minutes and seconds, so that it never shows 60 seconds, however
    // large it is. Empty when either text is blank or the distance is below
    // 0.00001; "0.00" for a zero time. The errors of Speed.
    static QString KmTime(const QString &time, const QString &distance);

    // ----- time arithmetic of laps and replay -----

    // The duration from `previous` to `current`, both durations below 24
    // hours (an empty `previous` is 0), written minutes.ss. Empty when
    // `current` is empty. When the difference is not above zero, `current`
    // is cleared and the result is empty. Throws EActivityError
    // "Classhie 20. Hours > 23 for GetSubTime(<current>)" when `current` is
    // 24 hours or more, EConvertError when `previous` is, and the ETimeError
    // of Hours, Minutes or Seconds for an invalid duration.
    static QString GetSubTime(QString &current, const QString &previous);

    // The distance from `previous` to `current` with 2 decimals. Empty when
    // `current` is empty; `current` unchanged when `previous` is empty. When
    // the difference is not above zero, `current` is cleared and the result
    // is empty. Throws EConvertError for a text that is no number.
    static QString GetSubDistance(QString &current, const QString &previous);

    // ----- dates -----

    // Days of the month in the Gregorian calendar. Throws ECalendarError
    // "Månad måste vara mellan 1 och 12: <month>" for another month.
    static int DaysInMonth(int year, int month);

    // Month 1..12 and day 1..DaysInMonth.
    static bool IsValidDate(int year, int month, int day);

    // True when the text is a date "yyyy-MM-dd" (month and day may have one
    // digit). Any other text, the empty one included, throws the
    // ECalendarError of DayOf.
    static bool IsValidDateText(const QString &text);

    // The parts of a date text. Throws ECalendarError with the conversion
    // message ("'<text>' is not a valid date") for a text that is no date.
    static int YearOf(const QString &text);
    static int MonthOf(const QString &text);
    static int DayOf(const QString &text);

    // The date of a date text "yyyy-MM-dd" (years 1..9999). Throws
    // EConvertError "'<text>' is not a valid date" otherwise.
    static QDate StrToDate(const QString &text);

    // The date as "yyyy-MM-dd"; empty for an invalid date.
    static QString DateToStr(const QDate &date);

    // 1 = Monday .. 7 = Sunday. Throws ECalendarError for an invalid date.
    static int DayOfWeekMon(const QDate &date);

    // The diary's week number: the ISO 8601 week except that the last days of
    // a leap year starting on a Wednesday are week 1 (not 53), the first days
    // of a year after a leap year starting on a Thursday are week 52 (not 53)
    // and 31 December of a leap year starting on a Sunday is week 53 (not 1).
    // Throws ECalendarError
    // "Månad <month> har inte <day> dagar för år <year>." for an invalid date.
    static int WeekNumber(int year, int month, int day);

    // Weeks counted from 1 January, each new week starting on a Sunday. The
    // error of WeekNumber.
    static int SimpleWeekNumber(int year, int month, int day);
};
