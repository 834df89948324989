#include "foundation/PGUtils.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/Exceptions.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace {

// Durations of this many minutes or more are refused: far beyond any diary
// value, and below it every duration keeps its hundredths exactly enough for
// the seconds to come out right.
constexpr double kDurationLimit = 1e9;

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Reads a number text (see PGUtils.h for what one looks like). The parse is
// done on plain ASCII with std::from_chars, which ignores every locale.
bool parseNumber(const QString &text, double &value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (!t.isEmpty() && (t.at(0) == u'+' || t.at(0) == u'-')) {
        negative = t.at(0) == u'-';
        i = 1;
    }
    std::string ascii;
    ascii.reserve(std::size_t(t.size()) + 2);
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (isAsciiDigit(c)) {
            ++digits;
            ascii += char(c.unicode());
        } else if (c == u'.' && !point) {
            point = true;
            if (ascii.empty())
                ascii += '0';
            ascii += '.';
        } else {
            return false;
        }
    }
    if (digits == 0)
        return false;
    if (ascii.back() == '.')
        ascii += '0';

    double v = 0.0;
    const char *end = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(ascii.data(), end, v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

bool parseInteger(const QString &text, int &value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (!t.isEmpty() && (t.at(0) == u'+' || t.at(0) == u'-')) {
        negative = t.at(0) == u'-';
        i = 1;
    }
    if (i == t.size())
        return false;
    std::string ascii;
    for (; i < t.size(); ++i) {
        if (!isAsciiDigit(t.at(i)))
            return false;
        ascii += char(t.at(i).unicode());
    }
    long long v = 0;
    const char *end = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(ascii.data(), end, v);
    if (ec != std::errc() || ptr != end)
        return false;
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    value = int(v);
    return true;
}

QString conversionError(const QString &text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

// Round to nearest, ties to even, whatever the floating-point environment.
double roundHalfEven(double x)
{
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return std::round(x);
}

// Seconds with a few more decimals than any typed value has are rounded to a
// ten-thousandth of a second. This undoes the binary representation error
// (45.30 is stored as 45.2999999...), so that a pace exactly halfway between
// two seconds is a true tie.
double snapSeconds(double seconds)
{
    if (std::fabs(seconds) < 1e11)
        return std::round(seconds * 1e4) / 1e4;
    return seconds;
}

// The value of a duration text; false when the text is no valid duration.
// A blank text is the duration 0.
bool durationValue(const QString &text, double &value)
{
    if (isBlank(text)) {
        value = 0.0;
        return true;
    }
    double v = 0.0;
    if (!parseNumber(text, v) || !(v >= 0.0) || v >= kDurationLimit)
        return false;
    const double fraction = v - std::trunc(v);
    if (!(TTulloUtilString::FormatFixed(4, fraction) < QStringLiteral("0.6")))
        return false;
    value = v;
    return true;
}

int hoursOf(double duration)
{
    return int(std::trunc(duration / 60.0));
}

int minutesOf(double duration)
{
    return int(std::trunc(duration - hoursOf(duration) * 60.0));
}

// The two seconds digits. The fraction times 100 lies within a few units in
// the last place of the written seconds; the tolerance, scaled to the value's
// own precision, keeps 45.30 at 30 instead of 29 while 45.299 stays 29.
int secondsOf(double duration)
{
    const double fraction = duration - std::trunc(duration);
    const double ulp = std::nextafter(duration, std::numeric_limits<double>::infinity()) - duration;
    const double tolerance = 64.0 * ulp + 1e-12;
    return int(std::trunc(fraction * 100.0 + tolerance));
}

double checkedDuration(const QString &text, const char *errorText)
{
    double v = 0.0;
    if (!durationValue(text, v))
        throw ETimeError(QString::fromUtf8(errorText).arg(text));
    return v;
}

// The duration as seconds of a time of day, as laps and replay use it.
qint64 daySeconds(const QString &text)
{
    return qint64(TTulloUtilTimeDate::Hours(text)) * 3600 + qint64(TTulloUtilTimeDate::Minutes(text)) * 60
        + TTulloUtilTimeDate::Seconds(text);
}

// What Speed and KmTime share: the time and the distance, or false when the
// result is empty because a text is blank. Raises the errors of both.
struct PaceInput
{
    double time = 0.0;
    double distance = 0.0;
};

bool readPaceTime(const QString &time, const QString &distance, PaceInput &input)
{
    if (isBlank(time) || isBlank(distance))
        return false;
    if (!durationValue(time, input.time))
        throw ETimeError(QStringLiteral("Ogiltig Tid (%1) < 0").arg(time));
    return true;
}

void readPaceDistance(const QString &distance, PaceInput &input)
{
    if (!parseNumber(distance, input.distance))
        throw EDistError(QStringLiteral("Distans ej numerisk: %1").arg(distance));
    if (input.distance < 0.0)
        throw EDistError(QStringLiteral("Distans (%1) < 0").arg(distance));
}

double durationSeconds(double time)
{
    const double minutes = std::trunc(time);
    return snapSeconds(minutes * 60.0 + (time - minutes) * 100.0);
}

bool isLeapYear(qint64 year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Weekday of 1 January of the year, 0 = Sunday .. 6 = Saturday, in the
// proleptic Gregorian calendar.
int weekdayOfNewYearSun0(int year)
{
    const qint64 y = qint64(year) - 1;
    const qint64 w = y + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400) + 1;
    return int(w - floorDiv(w, 7) * 7);
}

int dayOfYear(int year, int month, int day)
{
    int n = day;
    for (int m = 1; m < month; ++m)
        n += TTulloUtilTimeDate::DaysInMonth(year, m);
    return n;
}

void checkWeekDate(int year, int month, int day)
{
    if (!TTulloUtilTimeDate::IsValidDate(year, month, day))
        throw ECalendarError(
            QStringLiteral("Månad %1 har inte %2 dagar för år %3.").arg(month).arg(day).arg(year));
}

// Reads "yyyy-MM-dd" (one-digit month and day allowed); false for anything
// else or an impossible date.
bool parseDate(const QString &text, int &year, int &month, int &day)
{
    const QString t = text.trimmed();
    const QStringList parts = t.split(u'-');
    if (parts.size() != 3)
        return false;
    const std::array<qsizetype, 3> minLength{4, 1, 1};
    const std::array<qsizetype, 3> maxLength{4, 2, 2};
    std::array<int, 3> values{};
    for (int i = 0; i < 3; ++i) {
        const QString &part = parts.at(i);
        if (part.size() < minLength[std::size_t(i)] || part.size() > maxLength[std::size_t(i)])
            return false;
        int v = 0;
        for (QChar c : part) {
            if (!isAsciiDigit(c))
                return false;
            v = v * 10 + (c.unicode() - u'0');
        }
        values[std::size_t(i)] = v;
    }
    if (values[0] < 1 || !TTulloUtilTimeDate::IsValidDate(values[0], values[1], values[2]))
        return false;
    year = values[0];
    month = values[1];
    day = values[2];
    return true;
}

QDate calendarDate(const QString &text)
{
    try {
        return TTulloUtilTimeDate::StrToDate(text);
    } catch (const EConvertError &e) {
        throw ECalendarError(e.Message());
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TTulloUtilString

QString TTulloUtilString::RemoveChars(const QString &text, const QString &chars, bool replaceWithBlank)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (!chars.contains(c))
            result += c;
        else if (replaceWithBlank)
            result += u' ';
    }
    return result;
}

QString TTulloUtilString::ReplaceAll(const QString &text, const QString &oldText, const QString &newText)
{
    if (oldText.isEmpty())
        return text;
    QString result = text;
    result.replace(oldText, newText, Qt::CaseSensitive);
    return result;
}

QString TTulloUtilString::FormatFixed(int decimals, double value)
{
    if (!std::isfinite(value))
        throw EConvertError(QStringLiteral("Kan inte skriva %1 som decimaltal").arg(value));
    const std::size_t places = std::size_t(std::max(decimals, 0));

    // The shortest decimal form that reads back as the same double: the value
    // as it was typed or as a person would write it. Rounding that form,
    // rather than the exact binary value, gives 2.68 for 2.675.
    std::array<char, 512> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed);
    if (ec != std::errc())
        throw EConvertError(QStringLiteral("Kan inte skriva %1 som decimaltal").arg(value));
    std::string text(buffer.data(), end);

    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.erase(0, 1);
    const std::size_t point = text.find('.');
    std::string integerPart = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);

    const bool roundUp = fraction.size() > places && fraction[places] >= '5';
    fraction.resize(places, '0');
    std::string digits = integerPart + fraction;
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') {
            digits[i - 1] = '0';
            --i;
        }
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }

    // Something like -0.001 written with two decimals is 0.00, not -0.00.
    const bool zero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
    std::string result;
    if (negative && !zero)
        result += '-';
    result.append(digits, 0, digits.size() - places);
    if (places > 0) {
        result += '.';
        result.append(digits, digits.size() - places, places);
    }
    return QString::fromLatin1(result.data(), qsizetype(result.size()));
}

QString TTulloUtilString::StrToStrDec(const QString &text, int decimals)
{
    if (isBlank(text))
        return QString();
    double v = 0.0;
    if (!parseNumber(text, v))
        throw EConvertError(QStringLiteral("Kunde inte beräkna StrToStrDec för %1").arg(text));
    return FormatFixed(decimals, v);
}

QString TTulloUtilString::ExpandPlural(int count, const QString &text)
{
    // Piece by piece from the left; each round consumes at least the piece's
    // closing "#", so the loop always ends.
    QString result;
    qsizetype start = 0;
    for (;;) {
        const qsizetype p1 = text.indexOf(u'#', start);
        if (p1 < 0 || p1 == start)
            break;
        const qsizetype p2 = text.indexOf(u'\\', p1 + 1);
        if (p2 < 0)
            break;
        const qsizetype inner = text.indexOf(u'#', p1 + 1);
        if (inner >= 0 && inner < p2)
            break; // another piece starts inside the singular piece
        const qsizetype p3 = text.indexOf(u'#', p2 + 1);
        if (p3 < 0)
            break;
        result += QStringView(text).mid(start, p1 - start);
        if (count == 1)
            result += QStringView(text).mid(p1 + 1, p2 - p1 - 1);
        else
            result += QStringView(text).mid(p2 + 1, p3 - p2 - 1);
        start = p3 + 1;
    }
    result += QStringView(text).mid(start);
    return result;
}

QString TTulloUtilString::CountText(int count, const QString &text)
{
    return QString::number(count) + u' ' + ExpandPlural(count, text);
}

QString TTulloUtilString::FirstLine(const QString &text)
{
    const qsizetype cr = text.indexOf(u'\r');
    return cr < 0 ? text : text.left(cr);
}

QString TTulloUtilString::SecondLine(const QString &text)
{
    const qsizetype cr = text.indexOf(u'\r');
    if (cr < 0)
        return QString();
    const qsizetype next = text.indexOf(u'\r', cr + 1);
    return next < 0 ? text.mid(cr + 1) : text.mid(cr + 1, next - cr - 1);
}

QString TTulloUtilString::PadLeft(const QString &text, int length, QChar fill)
{
    return text.rightJustified(length, fill, false);
}

QString TTulloUtilString::BoolToText(bool flag)
{
    return flag ? QStringLiteral("1") : QStringLiteral("0");
}

bool TTulloUtilString::TextToBool(const QString &text)
{
    return text == u"1";
}

// ---------------------------------------------------------------------------
// TTulloUtilNumeric

bool TTulloUtilNumeric::IsInteger(const QString &text)
{
    int v = 0;
    return isBlank(text) || parseInteger(text, v);
}

bool TTulloUtilNumeric::IsFloat(const QString &text)
{
    double v = 0.0;
    return isBlank(text) || parseNumber(text, v);
}

double TTulloUtilNumeric::StrToFloat(const QString &text)
{
    double v = 0.0;
    if (!parseNumber(text, v))
        throw EConvertError(conversionError(text));
    return v;
}

int TTulloUtilNumeric::StrToInt(const QString &text)
{
    int v = 0;
    if (!parseInteger(text, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

// ---------------------------------------------------------------------------
// TTulloUtilTimeDate: durations

bool TTulloUtilTimeDate::IsValidTime(const QString &text)
{
    double v = 0.0;
    return durationValue(text, v);
}

int TTulloUtilTimeDate::Hours(const QString &text)
{
    return hoursOf(checkedDuration(text, "Ogiltig tid för timmar (%1)"));
}

int TTulloUtilTimeDate::Minutes(const QString &text)
{
    return minutesOf(checkedDuration(text, "Ogiltig tid för minuter (%1)"));
}

int TTulloUtilTimeDate::Seconds(const QString &text)
{
    return secondsOf(checkedDuration(text, "Ogiltig tid för sekunder (%1)"));
}

double TTulloUtilTimeDate::TotalHours(const QString &text)
{
    return Hours(text) + Minutes(text) / 60.0 + Seconds(text) / 3600.0;
}

double TTulloUtilTimeDate::TotalMinutes(const QString &text)
{
    return Hours(text) * 60.0 + Minutes(text) + Seconds(text) / 60.0;
}

qint64 TTulloUtilTimeDate::TotalSeconds(const QString &text)
{
    return qint64(Hours(text)) * 3600 + qint64(Minutes(text)) * 60 + Seconds(text);
}

QString TTulloUtilTimeDate::Speed(const QString &time, const QString &distance)
{
    PaceInput input;
    if (!readPaceTime(time, distance, input))
        return QString();
    if (input.time < 0.00001)
        return QString();
    readPaceDistance(distance, input);
    // distance·1000 / seconds · 3.6, written as one multiplication and one
    // division so that a speed that is a short decimal comes out as exactly
    // that decimal and rounds as such.
    return TTulloUtilString::FormatFixed(2, input.distance * 3600.0 / durationSeconds(input.time));
}

QString TTulloUtilTimeDate::KmTime(const QString &time, const QString &distance)
{
    PaceInput input;
    if (!readPaceTime(time, distance, input))
        return QString();
    readPaceDistance(distance, input);
    if (input.distance < 0.00001)
        return QString();

    const double perKm = snapSeconds(durationSeconds(input.time) / input.distance);
    // Rounded to whole seconds first and then split, so that a rest of 59.5 s
    // or more carries into the next minute (never .60). The split is done in
    // whole numbers: a double holding minutes + seconds / 100 loses the
    // hundredths from about 10^13 minutes on. Durations are below 10^9
    // minutes and the distance at least 0.00001 km, so the seconds stay
    // below 6 * 10^15, well within 64 bits.
    const qint64 total = qint64(roundHalfEven(perKm));
    return QStringLiteral("%1.%2").arg(total / 60).arg(total % 60, 2, 10, QChar(u'0'));
}

QString TTulloUtilTimeDate::GetSubTime(QString &current, const QString &previous)
{
    if (isBlank(current))
        return QString();
    if (Hours(current) > 23)
        throw EActivityError(QStringLiteral("Classhie 20. Hours > 23 for GetSubTime(%1)").arg(current));
    qint64 previousSeconds = 0;
    if (!isBlank(previous)) {
        // Both are times of day; a day has no 24th hour.
        if (Hours(previous) > 23)
            throw EConvertError(
                QStringLiteral("Invalid time of day for GetSubTime(%1): 24 hours or more").arg(previous));
        previousSeconds = daySeconds(previous);
    }
    const qint64 difference = daySeconds(current) - previousSeconds;
    if (difference > 0)
        return QStringLiteral("%1.%2").arg(difference / 60).arg(difference % 60, 2, 10, QChar(u'0'));
    current.clear();
    return QString();
}

QString TTulloUtilTimeDate::GetSubDistance(QString &current, const QString &previous)
{
    if (isBlank(current))
        return QString();
    if (isBlank(previous))
        return current;
    const double difference = TTulloUtilNumeric::StrToFloat(current) - TTulloUtilNumeric::StrToFloat(previous);
    if (difference > 0.0)
        return TTulloUtilString::FormatFixed(2, difference);
    current.clear();
    return QString();
}

// ---------------------------------------------------------------------------
// TTulloUtilTimeDate: dates

int TTulloUtilTimeDate::DaysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        throw ECalendarError(QStringLiteral("Månad måste vara mellan 1 och 12: %1").arg(month));
    if (month == 2 && isLeapYear(year))
        return 29;
    return days[std::size_t(month - 1)];
}

bool TTulloUtilTimeDate::IsValidDate(int year, int month, int day)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

bool TTulloUtilTimeDate::IsValidDateText(const QString &text)
{
    calendarDate(text);
    return true;
}

int TTulloUtilTimeDate::YearOf(const QString &text)
{
    return calendarDate(text).year();
}

int TTulloUtilTimeDate::MonthOf(const QString &text)
{
    return calendarDate(text).month();
}

int TTulloUtilTimeDate::DayOf(const QString &text)
{
    return calendarDate(text).day();
}

QDate TTulloUtilTimeDate::StrToDate(const QString &text)
{
    int year = 0, month = 0, day = 0;
    if (!parseDate(text, year, month, day))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return QDate(year, month, day);
}

QString TTulloUtilTimeDate::DateToStr(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

int TTulloUtilTimeDate::DayOfWeekMon(const QDate &date)
{
    if (!date.isValid())
        throw ECalendarError(QStringLiteral("Ogiltigt datum"));
    return date.dayOfWeek();
}

int TTulloUtilTimeDate::WeekNumber(int year, int month, int day)
{
    checkWeekDate(year, month, day);
    const int n = dayOfYear(year, month, day);
    const int sunday0 = weekdayOfNewYearSun0(year);
    const int j = sunday0 == 0 ? 7 : sunday0; // 1 = Monday .. 7 = Sunday
    const int w = (j + n - 2) / 7 + 1;
    if (j <= 4)
        return (w == 53 && j < 4) ? 1 : w;
    if (w - 1 == 0)
        return j == 5 ? 53 : 52;
    return w - 1;
}

int TTulloUtilTimeDate::SimpleWeekNumber(int year, int month, int day)
{
    checkWeekDate(year, month, day);
    const int n = dayOfYear(year, month, day);
    const int d = weekdayOfNewYearSun0(year) + 1; // 1 = Sunday .. 7 = Saturday
    return (d + n - 2) / 7 + 1;
}
