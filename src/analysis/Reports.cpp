#include "analysis/Reports.h"

#include "columns/ActivityColumns.h"
#include "foundation/CorvaleExceptions.h"

#include <initializer_list>

namespace
{
void checkIndex(int index, const char *id)
{
    if (index < 0 || index >= TReports::ReportCount)
        throw EReport(QStringLiteral("Reports %1: Ogiltigt index: %2").arg(QLatin1String(id)).arg(index));
}
}

TReports::TReports()
{
    using K = TColumnKind;
    struct TDefinition
    {
        const char *Name;
        K X;
        std::initializer_list<K> Y;
    };
    const TDefinition definitions[ReportCount] = {
        {"Vikt (kg) / Datum", K::cDate, {K::cWeight}},
        {"Distans (km) / Datum", K::cDate, {K::cDistance}},
        {"Tid (min) / Datum", K::cDate, {K::cTime}},
        {"Tider (min) / Datum", K::cDate, {K::cTime, K::cLapTime1, K::cLapTime2, K::cLapTime3, K::cLapTime4}},
        {"F\u00f6rbr\u00e4nning (kcal) / Datum", K::cDate, {K::cCalorie}},
        {"F\u00f6rbr\u00e4nning (kcal) / Distans", K::cDistance, {K::cCalorie}},
        {"F\u00f6rbr\u00e4nning (kcal) / Tid", K::cTime, {K::cCalorie}},
        {"Pulsm\u00e4tning (puls) / Datum", K::cDate, {K::cRestPulse, K::cMaxpulse, K::cAvgPulse}},
        {"Kilometertid (min/km) / Datum", K::cDate, {K::cDistTime}},
        {"Hastighet (km/tim) / Datum", K::cDate, {K::cSpeed}},
        {"Kilometertid (min/km) / Distans", K::cDistance, {K::cDistTime}},
        {"Hastighet (km/tim) / Distans", K::cDistance, {K::cSpeed}},
    };
    for (int i = 0; i < ReportCount; ++i) {
        Clear(i);
        TReport &report = m_reports[std::size_t(i)];
        report.Name = QString::fromUtf8(definitions[i].Name);
        report.Columns[0] = Ordinal(definitions[i].X);
        int slot = 1;
        for (const K y : definitions[i].Y)
            report.Columns[std::size_t(slot++)] = Ordinal(y);
    }
}

void TReports::Clear(int index)
{
    checkIndex(index, "01");
    TReport &report = m_reports[std::size_t(index)];
    report.Name.clear();
    report.Columns.fill(-1);
}

TReport TReports::Get(int index) const
{
    checkIndex(index, "02");
    return m_reports[std::size_t(index)];
}

int TReports::YCount(int index) const
{
    checkIndex(index, "02");
    const TReport &report = m_reports[std::size_t(index)];
    int count = 0;
    while (count < MaxY && report.Columns[std::size_t(count + 1)] >= 0)
        ++count;
    return count;
}
