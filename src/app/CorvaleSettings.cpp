#include "app/CorvaleSettings.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"

bool TCorvaleSettings::SetValues(const TSettingsValues &values)
{
    if (values.RecordNum < 0)
        throw ECorvaleSettingsError(QStringLiteral("CorvaleSettings 01"));
    if (values.RecordSets < 0)
        throw ECorvaleSettingsError(QStringLiteral("CorvaleSettings 02"));
    if (values.RecordReps < 0)
        throw ECorvaleSettingsError(QStringLiteral("CorvaleSettings 03"));
    if (values.RecordWNum < 0)
        throw ECorvaleSettingsError(QStringLiteral("CorvaleSettings 04"));

    TSettingsChanges changes;
    const TSettingsValues &old = m_values;
    if (values.RecordNum != old.RecordNum || values.RecordSets != old.RecordSets || values.RecordReps != old.RecordReps
        || values.RecordWNum != old.RecordWNum)
        changes |= TSettingsChange::Records;
    if (values.SummaryTDT != old.SummaryTDT || values.SummaryTime != old.SummaryTime || values.SummaryGame != old.SummaryGame
        || values.SummaryDist != old.SummaryDist || values.SummaryActivitiesChanged)
        changes |= TSettingsChange::Summary;
    if (values.LapCalc != old.LapCalc)
        changes |= TSettingsChange::LapCalculation;
    if (values.SearchSort != old.SearchSort || values.SearchAtStart != old.SearchAtStart)
        changes |= TSettingsChange::Search;
    if (!changes)
        changes = TSettingsChange::Nothing;

    m_values = values;
    m_changes = changes;
    return changes == TSettingsChanges(TSettingsChange::Nothing);
}

namespace
{
using V = TSettingsValues;

int count(const TDefRegistry &registry, const char *name, int defaultValue)
{
    // A value that is no number reads as -1, which no count may be: the
    // stored value is unusable and the default stands in for it.
    const int value = registry.ReadIntegerDef(QString::fromLatin1(name), defaultValue);
    return value < 0 ? defaultValue : value;
}

QString text(const TDefRegistry &registry, const char *name, const char *defaultValue)
{
    return registry.ReadStringDef(QString::fromLatin1(name), QString::fromLatin1(defaultValue));
}

V::TSummaryTime summaryTime(const QString &stored)
{
    if (stored == QLatin1String("Hour"))
        return V::TSummaryTime::Hours;
    if (stored == QLatin1String("Minute"))
        return V::TSummaryTime::Minutes;
    return V::TSummaryTime::Count;
}

QString summaryTimeText(V::TSummaryTime unit)
{
    switch (unit) {
    case V::TSummaryTime::Hours:
        return QStringLiteral("Hour");
    case V::TSummaryTime::Minutes:
        return QStringLiteral("Minute");
    case V::TSummaryTime::Count:
        break;
    }
    return QStringLiteral("Number");
}
}

TSettingsValues TCorvaleSettings::Read(const TDefRegistry &registry)
{
    TSettingsValues values;
    values.RecordNum = count(registry, "RecordNum", 1);
    values.RecordSets = count(registry, "RecordSets", 0);
    values.RecordReps = count(registry, "RecordReps", 0);
    values.RecordWNum = count(registry, "RecordWNum", 1);

    const QString tdt = text(registry, "SummaryTDT", "Distance");
    if (tdt == QLatin1String("Hour"))
        values.SummaryTDT = V::TSummaryTDT::Hours;
    else if (tdt == QLatin1String("Minute"))
        values.SummaryTDT = V::TSummaryTDT::Minutes;
    else if (tdt == QLatin1String("Distance"))
        values.SummaryTDT = V::TSummaryTDT::Distance;
    else
        values.SummaryTDT = V::TSummaryTDT::Count;
    values.SummaryTime = summaryTime(text(registry, "SummaryTime", "Hour"));
    values.SummaryGame = summaryTime(text(registry, "SummaryGame", "Hour"));
    values.SummaryDist = text(registry, "SummaryDist", "Distance") == QLatin1String("Distance") ? V::TSummaryDist::Distance
                                                                                                 : V::TSummaryDist::Count;
    values.LapCalc = text(registry, "LapCalc", "LapByLap") == QLatin1String("LapByLap") ? V::TLapCalc::LapByLap : V::TLapCalc::Total;
    values.SearchSort = text(registry, "SearchSort", "Date") == QLatin1String("Date") ? V::TSearchSort::Date : V::TSearchSort::Activity;
    values.SearchAtStart = registry.ReadBoolDef(QStringLiteral("SearchAtStart"), false);
    return values;
}

void TCorvaleSettings::Write(TDefRegistry &registry, const TSettingsValues &values)
{
    registry.WriteInteger(QStringLiteral("RecordNum"), values.RecordNum);
    registry.WriteInteger(QStringLiteral("RecordSets"), values.RecordSets);
    registry.WriteInteger(QStringLiteral("RecordReps"), values.RecordReps);
    registry.WriteInteger(QStringLiteral("RecordWNum"), values.RecordWNum);
    QString tdt;
    switch (values.SummaryTDT) {
    case V::TSummaryTDT::Distance:
        tdt = QStringLiteral("Distance");
        break;
    case V::TSummaryTDT::Hours:
        tdt = QStringLiteral("Hour");
        break;
    case V::TSummaryTDT::Minutes:
        tdt = QStringLiteral("Minute");
        break;
    case V::TSummaryTDT::Count:
        tdt = QStringLiteral("Number");
        break;
    }
    registry.WriteString(QStringLiteral("SummaryTDT"), tdt);
    registry.WriteString(QStringLiteral("SummaryTime"), summaryTimeText(values.SummaryTime));
    registry.WriteString(QStringLiteral("SummaryGame"), summaryTimeText(values.SummaryGame));
    registry.WriteString(QStringLiteral("SummaryDist"),
                         values.SummaryDist == V::TSummaryDist::Distance ? QStringLiteral("Distance") : QStringLiteral("Number"));
    registry.WriteString(QStringLiteral("LapCalc"),
                         values.LapCalc == V::TLapCalc::LapByLap ? QStringLiteral("LapByLap") : QStringLiteral("LapTotal"));
    registry.WriteString(QStringLiteral("SearchSort"),
                         values.SearchSort == V::TSearchSort::Date ? QStringLiteral("Date") : QStringLiteral("Activity"));
    registry.WriteBool(QStringLiteral("SearchAtStart"), values.SearchAtStart);
}
