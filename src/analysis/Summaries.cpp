#include "analysis/Summaries.h"

#include "foundation/CorvaleExceptions.h"
#include "model/ActFactory.h"
#include "model/ActivityName.h"

#include <QCollator>
#include <QDate>
#include <QLocale>

#include <algorithm>

namespace
{
const QString unitBreak = QStringLiteral("\r");
const QString hoursUnit = QStringLiteral(" (tim)");
const QString minutesUnit = QStringLiteral(" (min)");
const QString distanceUnit = QStringLiteral(" (km)");

const char *const monthNames[] = {"januari", "februari", "mars",      "april",   "maj",      "juni",
                                  "juli",    "augusti",  "september", "oktober", "november", "december"};

QString timeHeader(TSettingsValues::TSummaryTime unit, const QString &name)
{
    switch (unit) {
    case TSettingsValues::TSummaryTime::Hours:
        return name + unitBreak + hoursUnit;
    case TSettingsValues::TSummaryTime::Minutes:
        return name + unitBreak + minutesUnit;
    case TSettingsValues::TSummaryTime::Count:
        break;
    }
    return name;
}

int yearOf(const QString &text, const char *errorId)
{
    bool ok = false;
    const int year = text.toInt(&ok);
    if (!ok)
        throw ESummariesError(QString::fromLatin1(errorId));
    return year;
}
}

TSummaries::TSummaries() = default;
TSummaries::~TSummaries() = default;

void TSummaries::SetNames(TActivityNames *names)
{
    m_names = names;
    m_itemLists.clear();
    if (m_names)
        m_itemLists.resize(std::size_t(m_names->Count()));
}

void TSummaries::GetSummaryActivities(QStringList *list) const
{
    if (!list)
        throw ESummariesError(QStringLiteral("Summaries 13"));
    if (!m_names)
        throw ESummariesError(QStringLiteral("Summaries 01"));
    m_names->GetSummaryCodes(list);
}

bool TSummaries::SetSummaryActivities(QStringList *list)
{
    if (!list)
        throw ESummariesError(QStringLiteral("Summaries 12"));
    if (!m_names)
        throw ESummariesError(QStringLiteral("Summaries 01"));
    for (const QString &code : std::as_const(*list)) {
        if (!m_names->HasCode(code))
            throw ESummariesError(QStringLiteral("Summaries 11"));
    }
    return m_names->SetSummaryCodes(list);
}

QStringList TSummaries::SortedNames() const
{
    QStringList names;
    if (!m_names)
        return names;
    m_names->GetNames(&names);
    QCollator collator(QLocale(QLocale::Swedish, QLocale::Sweden));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return names;
}

QStringList TSummaries::ColumnNames() const
{
    QStringList columns;
    if (!m_names)
        return columns;
    for (const QString &name : SortedNames()) {
        if (m_names->IsSummaryCode(m_names->CodeOfName(name)))
            columns.append(name);
    }
    return columns;
}

QString TSummaries::ColumnHeader(TActivityFamily family, const QString &name, const TSettingsValues &settings)
{
    switch (family) {
    case TActivityFamily::Time:
        return timeHeader(settings.SummaryTime, name);
    case TActivityFamily::Game:
        return timeHeader(settings.SummaryGame, name);
    case TActivityFamily::Distance:
        return settings.SummaryDist == TSettingsValues::TSummaryDist::Distance ? name + unitBreak + distanceUnit : name;
    case TActivityFamily::TimeDistance:
        switch (settings.SummaryTDT) {
        case TSettingsValues::TSummaryTDT::Distance:
            return name + unitBreak + distanceUnit;
        case TSettingsValues::TSummaryTDT::Hours:
            return name + unitBreak + hoursUnit;
        case TSettingsValues::TSummaryTDT::Minutes:
            return name + unitBreak + minutesUnit;
        case TSettingsValues::TSummaryTDT::Count:
            break;
        }
        return name;
    default:
        // Golf, strength workouts, other, the simple types and body
        // measurements count sessions.
        return name;
    }
}

QStringList TSummaries::ColumnHeaders(const TSettingsValues &settings) const
{
    if (!m_names)
        throw ESummariesError(QStringLiteral("Summaries 01"));
    if (!m_factory)
        throw ESummariesError(QStringLiteral("Summaries 02"));
    QStringList headers;
    for (const QString &name : ColumnNames()) {
        const std::unique_ptr<TActivity> activity = m_factory->CreateActivity(name);
        headers.append(ColumnHeader(activity->Family(), name, settings));
    }
    return headers;
}

void TSummaries::Summarize(int fromMonth, int fromDay, const TSettingsValues &settings, QStringList *totals,
                           TSummaryResults *results, int toDay, int toMonth)
{
    if (!m_names)
        throw ESummariesError(QStringLiteral("Summaries 01"));
    if (!m_factory)
        throw ESummariesError(QStringLiteral("Summaries 02"));
    if (!results)
        throw ESummariesError(QStringLiteral("Summaries 04"));
    if (!totals)
        throw ESummariesError(QStringLiteral("Summaries 14"));

    results->clear();
    totals->clear();
    const QStringList names = SortedNames();
    // The names may have grown since they were set.
    if (m_itemLists.size() < std::size_t(names.size()))
        m_itemLists.resize(std::size_t(names.size()));
    for (auto &list : m_itemLists)
        list.clear();
    for (int i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        if (!m_names->IsSummaryCode(m_names->CodeOfName(name)))
            continue;
        const std::unique_ptr<TActivity> activity = m_factory->CreateActivity(name);
        activity->SetDatabase(m_database);
        activity->SetActivityNames(m_names);
        QList<TSummary> &items = m_itemLists[std::size_t(i)];
        QString total;
        activity->GetYearSummaries(fromMonth, fromDay, settings, &items, total, toMonth, toDay);
        results->append(&items);
        totals->append(total);
    }
}

QString TSummaries::FirstYear(const TSummaryResults *results)
{
    if (!results)
        throw ESummariesError(QStringLiteral("Summaries 05"));
    QString first;
    int best = 0;
    for (const QList<TSummary> *items : *results) {
        if (!items)
            throw ESummariesError(QStringLiteral("Summaries 06"));
        if (items->isEmpty())
            continue;
        const int year = yearOf(items->constFirst().Year, "Summaries 07");
        if (first.isEmpty() || year < best) {
            best = year;
            first = items->constFirst().Year;
        }
    }
    return first;
}

QString TSummaries::LastYear(const TSummaryResults *results)
{
    if (!results)
        throw ESummariesError(QStringLiteral("Summaries 08"));
    QString last;
    int best = 0;
    for (const QList<TSummary> *items : *results) {
        if (!items)
            throw ESummariesError(QStringLiteral("Summaries 09"));
        if (items->isEmpty())
            continue;
        const int year = yearOf(items->constLast().Year, "Summaries 10");
        if (last.isEmpty() || year > best) {
            best = year;
            last = items->constLast().Year;
        }
    }
    return last;
}

TSummaryTable TSummaries::BuildTable(const TSummaryResults &results, const QStringList &totals)
{
    TSummaryTable table;
    const QString first = FirstYear(&results);
    if (first.isEmpty())
        return table;
    table.FirstYear = first.toInt();
    table.LastYear = LastYear(&results).toInt();
    const int columns = int(results.size()) + 1;
    const int years = table.LastYear - table.FirstYear + 1;
    table.Rows.reserve(years);
    for (int r = 0; r < years; ++r) {
        QStringList row(columns);
        row[0] = QString::number(table.FirstYear + r);
        table.Rows.append(row);
    }
    for (int i = 0; i < results.size(); ++i) {
        for (const TSummary &item : *results.at(i))
            table.Rows[item.Year.toInt() - table.FirstYear][i + 1] = item.Value;
    }
    table.Totals.append(QStringLiteral("Totalt"));
    for (int i = 0; i < results.size(); ++i)
        table.Totals.append(i < totals.size() ? totals.at(i) : QString());
    return table;
}

int TSummaries::DaysOfMonth(int month)
{
    if (month < 1 || month > 12)
        return 31;
    return QDate(1996, month, 1).daysInMonth();
}

TPeriodProblem TSummaries::CheckPeriod(int fromMonth, int fromDay, int toMonth, int toDay)
{
    const auto check = [](int month, int day, TPeriodProblem::TField monthField,
                          TPeriodProblem::TField dayField) -> TPeriodProblem {
        if (month < 1 || month > 12)
            return {monthField, QStringLiteral("Månaden måste vara ett tal från 1 till 12.")};
        const int days = DaysOfMonth(month);
        if (day < 1 || day > days)
            return {dayField, QStringLiteral("Det finns ingen dag %1 i %2. Ange en dag från 1 till %3.")
                                  .arg(day)
                                  .arg(QLatin1String(monthNames[month - 1]))
                                  .arg(days)};
        return {};
    };
    TPeriodProblem problem = check(fromMonth, fromDay, TPeriodProblem::FromMonth, TPeriodProblem::FromDay);
    if (problem.IsEmpty())
        problem = check(toMonth, toDay, TPeriodProblem::ToMonth, TPeriodProblem::ToDay);
    return problem;
}
