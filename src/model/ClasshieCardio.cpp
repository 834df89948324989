#include "model/ClasshieCardio.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"

using namespace DbMisc;

namespace
{
const QString comma = QStringLiteral(",");

// The ten measures in their column order, with their parameters.
struct TMeasureColumn
{
    const char *column;
    const char *param;
};
constexpr TMeasureColumn measureColumns[] = {{"Measure", "cmva"}, {"Neck", "cmne"},  {"Shoulder", "cmsh"}, {"Chest", "cmce"},
                                             {"Biceps", "cmbi"},  {"Arm", "cmar"},   {"Waist", "cmwa"},    {"Hip", "cmhi"},
                                             {"Thigh", "cmth"},   {"Calf", "cmca"}};
}

TCardioMeasure::TCardioMeasure()
{
    SetCode(QStringLiteral("CAM"), QStringLiteral("CardioMeasure"));
}

void TCardioMeasure::SetMeasure(const QString &text)
{
    m_measure = NormalizeDecimal(text);
}

void TCardioMeasure::SetBodyMeasures(const QString &neck, const QString &shoulder, const QString &calf, const QString &thigh,
                                     const QString &hip, const QString &waist, const QString &arm, const QString &biceps,
                                     const QString &chest)
{
    // All values are checked before any is kept.
    const QString values[] = {NormalizeDecimal(neck), NormalizeDecimal(shoulder), NormalizeDecimal(calf),
                              NormalizeDecimal(thigh), NormalizeDecimal(hip),     NormalizeDecimal(waist),
                              NormalizeDecimal(arm),  NormalizeDecimal(biceps),   NormalizeDecimal(chest)};
    m_neck = values[0];
    m_shoulder = values[1];
    m_calf = values[2];
    m_thigh = values[3];
    m_hip = values[4];
    m_waist = values[5];
    m_arm = values[6];
    m_biceps = values[7];
    m_chest = values[8];
}

QString TCardioMeasure::WaistHipRatio(const QString &waist, const QString &hip)
{
    if (waist.trimmed().isEmpty() || hip.trimmed().isEmpty() || !TTulloUtilNumeric::IsFloat(waist)
        || !TTulloUtilNumeric::IsFloat(hip))
        return QString();
    const double hipValue = TTulloUtilNumeric::StrToFloat(hip);
    if (hipValue < 0.1)
        return QString();
    return TTulloUtilString::FormatFixed(2, TTulloUtilNumeric::StrToFloat(waist) / hipValue);
}

void TCardioMeasure::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into ") + GetTableName());
    AddLine(query, QStringLiteral("(Nr, Measure, Neck, Shoulder, Chest, Biceps, Arm, Waist, Hip, Thigh, Calf, Comment)"));
    AddLine(query, QStringLiteral("values(:cmnr, "));
    query->SetInteger(QStringLiteral("cmnr"), GetSessionNr());
    const QString values[] = {m_measure, m_neck, m_shoulder, m_chest, m_biceps, m_arm, m_waist, m_hip, m_thigh, m_calf};
    for (int i = 0; i < 10; ++i)
        AddValue(query, QLatin1String(measureColumns[i].param), vkDecimal, comma, true, values[i]);
    AddValue(query, QStringLiteral("cmco"), vkText, QStringLiteral(")"), false, GetComment());
}

void TCardioMeasure::LoadTypeRow()
{
    OpenTypeRow(QStringLiteral("Nr"), QStringLiteral("stnr"));
    TDbQuery &query = Query();
    auto value = [this](const char *column) { return Column(QLatin1String(column), vkDecimal); };
    SetMeasure(value("Measure"));
    SetBodyMeasures(value("Neck"), value("Shoulder"), value("Calf"), value("Thigh"), value("Hip"), value("Waist"), value("Arm"),
                    value("Biceps"), value("Chest"));
    SetComment(Column(QStringLiteral("Comment"), vkText));
    query.Close();
}

void TCardioMeasure::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update ") + GetTableName() + QStringLiteral(" set"));
    const QString values[] = {m_measure, m_neck, m_shoulder, m_chest, m_biceps, m_arm, m_waist, m_hip, m_thigh, m_calf};
    for (int i = 0; i < 10; ++i)
        AddSetClause(query, QLatin1String(measureColumns[i].column), QLatin1String(measureColumns[i].param), comma, true, values[i],
                     vkDecimal);
    AddSetClause(query, QStringLiteral("Comment"), QStringLiteral("cmco"), QStringLiteral(" "), false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where nr = :cmnr"));
    query->SetInteger(QStringLiteral("cmnr"), GetSessionNr());
}

void TCardioMeasure::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from ") + GetTableName());
    AddLine(query, QStringLiteral("where Nr = :cmnr"));
    query->SetInteger(QStringLiteral("cmnr"), GetSessionNr());
}

void TCardioMeasure::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", Measure"));
    AddLine(query, QStringLiteral("from TrainingSession, ") + GetTableName());
    AddLine(query, QStringLiteral("where SessionNr = Nr"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    RunListQuery(numbers);
}

void TCardioMeasure::LoadListRow()
{
    TActivity::LoadListRow();
    RowAs<TCardioMeasure>()->SetMeasure(Column(QStringLiteral("Measure"), vkDecimal));
}

void TCardioMeasure::AddSeriesSelect(const TSettingsValues &)
{
    AddCountSelect(QStringLiteral("CAM"));
    SetSeriesDecimals(0);
}
