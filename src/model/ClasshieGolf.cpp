#include "model/ClasshieGolf.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DbMisc.h"
#include "foundation/PGUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace DbMisc;

namespace
{
using Str = TTulloUtilString;
using Num = TTulloUtilNumeric;

const QString comma = QStringLiteral(",");
const QString lastValue = QStringLiteral(")");
const QString lastSet = QStringLiteral(" ");

constexpr double MaxHcp = 54.0;
constexpr double MaxCalculatedHcp = 36.0;
constexpr int MaxHoleDistance = 999;
constexpr int MaxStrokeIndex = 54;
// Pars and ratings below this belong to nine holes.
constexpr double NineHoleLimit = 45.0;
// A round counts its strokes and points in 32-bit whole numbers.
constexpr qint64 MaxWhole = std::numeric_limits<int>::max();
constexpr qint64 MinWhole = std::numeric_limits<int>::min();

// Nearest whole number, ties to even. The values come from texts with one
// or two decimals, so a true tie may leave the arithmetic a hair off .5;
// snapping to nine decimals first lets it be seen as the tie it is. Only
// for values well inside what a double holds with nine decimals (the
// callers keep them below 2^32).
double roundHalfEven(double value)
{
    const double snapped = std::round(value * 1e9) / 1e9;
    const double lower = std::floor(snapped);
    const double fraction = snapped - lower;
    if (std::fabs(fraction - 0.5) < 1e-12)
        return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    return std::round(snapped);
}

bool isOdd(int value)
{
    return value % 2 != 0;
}

// The points column is a decimal column holding whole numbers.
QString wholeNumber(const QString &decimal)
{
    return decimal.isEmpty() ? QString() : Str::FormatFixed(0, Num::StrToFloat(decimal));
}
}

TGolf::TGolf()
{
    SetCode(QStringLiteral("GOL"), QStringLiteral("Golf"));
}

// ---------------------------------------------------------------------------
// The round

void TGolf::SetRound(const QString &par, const QString &stroke, bool calculate, const TGolfHoles &holes, const QString &score,
                     const QString &bunker, const QString &putt, const QString &slope, const QString &cr, const QString &newHcp,
                     const QString &prevHcp)
{
    for (const QString *total : {&par, &stroke, &putt, &bunker, &score, &slope})
        CheckNonNegativeInt(*total, -1);
    CheckDecimalRange(prevHcp, MaxHcp);
    CheckDecimalRange(newHcp, MaxHcp);
    CheckSlope(slope.trimmed().isEmpty() ? 55 : Num::StrToInt(slope.trimmed()));
    const QString normalizedPrevHcp = NormalizeDecimal(prevHcp);
    const QString normalizedNewHcp = NormalizeDecimal(newHcp);
    const QString normalizedCr = NormalizeDecimal(cr);

    TGolfHoles card;
    for (int i = 0; i < GolfHoleCount; ++i) {
        const TGolfHole &hole = holes[i];
        CheckNonNegativeInt(hole.Par, -1);
        CheckNonNegativeInt(hole.Distance, MaxHoleDistance);
        CheckNonNegativeInt(hole.Hcp, MaxStrokeIndex);
        CheckNonNegativeInt(hole.Stroke, -1);
        CheckNonNegativeInt(hole.Score, -1);
        CheckNonNegativeInt(hole.Putt, -1);
        card[i] = TGolfHole{hole.Par.trimmed(),    hole.Distance.trimmed(), hole.Hcp.trimmed(),
                            hole.Stroke.trimmed(), hole.Score.trimmed(),    hole.Putt.trimmed()};
    }

    m_par = par.trimmed();
    m_stroke = stroke.trimmed();
    m_calculate = calculate;
    m_holes = card;
    m_score = score.trimmed();
    m_bunker = bunker.trimmed();
    m_putt = putt.trimmed();
    m_slope = slope.trimmed();
    m_cr = normalizedCr;
    m_newHcp = normalizedNewHcp;
    m_prevHcp = normalizedPrevHcp;
}

QString TGolf::LastNewHcp(const QString &date, int sessionNr)
{
    if (date.trimmed().isEmpty() || date == EmptyDateMask)
        return QString();
    TDbQuery &query = Query();
    query.Clear();
    AddLine(&query, QStringLiteral("select GolfNewHCP"));
    AddLine(&query, QStringLiteral("from TrainingSession, Golf"));
    AddLine(&query, QStringLiteral("where SessionNr = GolfNr and"));
    AddLine(&query, QStringLiteral(" SessionNr <> :snr and"));
    AddLine(&query, QStringLiteral(" GolfNewHCP is not null"));
    query.SetInteger(QStringLiteral("snr"), sessionNr);
    AddFilter(&query, QStringLiteral("SessionDate"), foAtMost, false, date, vkDate, QStringLiteral("dt"));
    // Two rounds on one day: the one entered last holds the handicap that
    // is valid afterwards.
    AddLine(&query, QStringLiteral("order by SessionDate desc, SessionNr desc"));
    query.Open();
    TDbQueryCloser closer(query);
    if (query.Eof())
        return QString();
    return NormalizeDecimal(Column(QStringLiteral("GolfNewHCP"), vkDecimal));
}

// ---------------------------------------------------------------------------
// Computations

void TGolf::CheckSlope(int slope)
{
    if (slope < 55 || slope > 155)
        throw EGolfError(QStringLiteral("Slope %1 är ej giltig").arg(slope));
}

QString TGolf::AllowedStrokes(const QString &cr, const QString &slope, const QString &prevHcp, const QString &par)
{
    if (cr.trimmed().isEmpty() || slope.trimmed().isEmpty() || prevHcp.trimmed().isEmpty() || par.trimmed().isEmpty())
        return QString();
    double parValue = Num::StrToFloat(par);
    double crValue = Num::StrToFloat(cr);
    if (parValue < 0.0 || parValue > double(MaxWhole))
        throw EGolfError(QStringLiteral("Par %1 är ej giltigt").arg(par.trimmed()));
    // A nine-hole round counts as eighteen holes. Its par is always below
    // 45; its rating is too when the player typed the nine-hole rating, and
    // then it must be doubled with the par - leaving it would take about a
    // whole handicap's strokes away. An eighteen-hole rating typed for the
    // nine holes is used as it is.
    if (parValue < NineHoleLimit) {
        parValue *= 2.0;
        if (crValue < NineHoleLimit)
            crValue *= 2.0;
    }
    const int slopeValue = Num::StrToInt(slope);
    CheckSlope(slopeValue);
    const double hcp = Num::StrToFloat(prevHcp);
    if (hcp < 0.0)
        throw EGolfError(QStringLiteral("HCP %1 är ej giltigt").arg(prevHcp.trimmed()));
    // Strokes are calculated for handicaps up to 36; above that the card has
    // no calculated strokes (a round may still be stored with a handicap up
    // to 54).
    if (hcp > MaxCalculatedHcp)
        return QString();
    // With the handicap and the slope in their ranges only a rating far
    // from any par can carry the strokes past what a round counts.
    const double strokes = hcp * slopeValue / 113.0 + crValue - parValue;
    const double rounded = std::fabs(strokes) < 4294967296.0 ? roundHalfEven(strokes) : strokes;
    if (rounded < double(MinWhole) || rounded > double(MaxWhole))
        throw EGolfError(QStringLiteral("CR %1 är ej giltigt").arg(cr.trimmed()));
    return QString::number(qint64(rounded));
}

TGolfHoleValues TGolf::ReceivedStrokes(const TGolfHoleValues &strokeIndexes, const TGolfHoleValues &pars,
                                       const QString &allowedStrokes)
{
    int played = 0;
    int firstPlayed = -1;
    for (int i = 0; i < GolfHoleCount; ++i) {
        if (pars[i] != 0 && (pars[i] < 3 || pars[i] > 5))
            throw EGolfError(QStringLiteral("Par är alltid mellan 3 and 5 (hål %1)").arg(i + 1));
        if (pars[i] > 0) {
            ++played;
            if (firstPlayed < 0)
                firstPlayed = i;
        }
    }
    if (played != 9 && played != GolfHoleCount)
        throw EGolfError(QStringLiteral("Man kan inte spela %1 hål").arg(played));

    // 64 bits, so that the halving and the sign change below hold for
    // every 32-bit number of strokes.
    qint64 strokes = Num::StrToInt(allowedStrokes);
    const int step = GolfHoleCount / played;
    int start = 1;
    int firstHole = 1;
    // Only the holes played take part: the index a hole not played may
    // carry on the card must neither satisfy a check nor receive a stroke.
    TGolfHoleValues indexes{};
    for (int i = 0; i < GolfHoleCount; ++i)
        indexes[i] = pars[i] > 0 ? strokeIndexes[i] : 0;

    if (played == 9) {
        // The round may be the back nine: its first hole decides the nine.
        const int firstIndex = strokeIndexes[firstPlayed];
        if (firstIndex < 1 || firstIndex > GolfHoleCount)
            throw EGolfError(QStringLiteral("Hittar ingen start HCP (%1)").arg(firstIndex));
        if (!isOdd(firstIndex))
            start = 2;
        firstHole = firstPlayed >= 9 ? 10 : 1;
        // Integer division truncates toward zero, as the halving requires.
        strokes = strokes > 0 ? (strokes + 2 - start) / 2 : (strokes + 1 - start) / 2;
    }
    CheckStrokeIndexes(indexes, start, step, firstHole);

    // The strokes go one per index along the walk start, start + step, ...
    // (hardest first), round after round; strokes taken back walk down from
    // the easiest index of the holes played (18 on eighteen holes, 17 or 18
    // on a nine). So every index of the walk gets the same share, and the
    // first `rest` of them one more.
    TGolfHoleValues allowed = pars;
    if (strokes != 0) {
        const qint64 magnitude = strokes < 0 ? -strokes : strokes;
        const int share = int(magnitude / played);
        const int rest = int(magnitude % played);
        const int sign = strokes < 0 ? -1 : 1;
        const int first = strokes < 0 ? start + GolfHoleCount - step : start;
        const int direction = strokes < 0 ? -step : step;
        for (int walked = 0; walked < played; ++walked) {
            const int received = share + (walked < rest ? 1 : 0);
            allowed[FindHole(first + walked * direction, indexes) - 1] += sign * received;
        }
    }
    return allowed;
}

QString TGolf::Points(const TGolfHoleValues &allowedPerHole, const TGolfHoleValues &strokesPlayed, TGolfHoleValues &pointsPerHole)
{
    std::array<qint64, GolfHoleCount> points{};
    qint64 total = 0;
    for (int i = 0; i < GolfHoleCount; ++i) {
        if (allowedPerHole[i] <= 0)
            continue;
        if (strokesPlayed[i] < 1)
            throw EGolfError(QStringLiteral("Färre än 1 slag på hål %1").arg(i + 1));
        points[i] = std::max<qint64>(0, qint64(allowedPerHole[i]) - strokesPlayed[i] + 2);
        total += points[i];
    }
    // No hole's points can pass what the round counts without the total
    // passing it as well.
    if (total > MaxWhole)
        throw EGolfError(QStringLiteral("Poängsumman %1 är ej giltig").arg(total));
    for (int i = 0; i < GolfHoleCount; ++i)
        pointsPerHole[i] = int(points[i]);
    return QString::number(total);
}

int TGolf::FindHole(int strokeIndex, const TGolfHoleValues &strokeIndexes)
{
    for (int i = 0; i < GolfHoleCount; ++i) {
        if (strokeIndexes[i] == strokeIndex)
            return i + 1;
    }
    throw EGolfError(QStringLiteral("Hittade inte HCP %1").arg(strokeIndex));
}

void TGolf::CheckStrokeIndexes(const TGolfHoleValues &strokeIndexes, int start, int step, int firstHole)
{
    const int first = qBound(1, firstHole, GolfHoleCount) - 1;
    const int last = std::min(first + 9, GolfHoleCount);
    const bool odd = isOdd(strokeIndexes[first]);
    for (int i = first; i < last; ++i) {
        if (isOdd(strokeIndexes[i]) != odd)
            throw EGolfError(QStringLiteral("Mixade jämna och ojämna HCP på 9 hål"));
    }
    for (int index = start; step > 0 && index <= GolfHoleCount; index += step)
        FindHole(index, strokeIndexes);
}

TGolfHoleValues TGolf::CardRow(const TGolfHoles &holes, QString TGolfHole::*value)
{
    TGolfHoleValues row{};
    for (int i = 0; i < GolfHoleCount; ++i) {
        const QString text = (holes[i].*value).trimmed();
        if (!text.isEmpty() && Num::IsInteger(text))
            row[i] = Num::StrToInt(text);
    }
    return row;
}

// ---------------------------------------------------------------------------
// Storage

void TGolf::AddInsertTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("insert into Golf"));
    AddLine(query, QStringLiteral("(GolfNr, GolfPar, GolfStroke, GolfPutt, GolfPrevHCP,"));
    AddLine(query, QStringLiteral("GolfNewHCP, GolfBunker, GolfCR, GolfSlope,"));
    AddLine(query, QStringLiteral("GolfCalculate, GolfScore, GolfComment)"));
    AddLine(query, QStringLiteral("values(:gnr, "));
    query->SetInteger(QStringLiteral("gnr"), GetSessionNr());
    AddValue(query, QStringLiteral("gpa"), vkInteger, comma, true, m_par);
    AddValue(query, QStringLiteral("gst"), vkInteger, comma, true, m_stroke);
    AddValue(query, QStringLiteral("gpu"), vkInteger, comma, true, m_putt);
    AddValue(query, QStringLiteral("gph"), vkDecimal, comma, true, m_prevHcp);
    AddValue(query, QStringLiteral("gnh"), vkDecimal, comma, true, m_newHcp);
    AddValue(query, QStringLiteral("gbu"), vkInteger, comma, true, m_bunker);
    AddValue(query, QStringLiteral("gcr"), vkDecimal, comma, true, m_cr);
    AddValue(query, QStringLiteral("gsl"), vkInteger, comma, true, m_slope);
    AddValue(query, QStringLiteral("gca"), vkFlag, comma, true, Str::BoolToText(m_calculate));
    AddValue(query, QStringLiteral("gsc"), vkDecimal, comma, true, m_score);
    AddValue(query, QStringLiteral("gc"), vkText, lastValue, false, GetComment());
    query->ExecSQL();
    CheckOneRow();

    for (int i = 0; i < GolfHoleCount; ++i) {
        const TGolfHole &hole = m_holes[i];
        query->Clear();
        AddLine(query, QStringLiteral("insert into GolfHole"));
        AddLine(query, QStringLiteral("(GolfNr, GolfHoleNr, GolfHolePar, GolfHoleDistance,"));
        AddLine(query, QStringLiteral("GolfHoleHCP, GolfHoleStroke, GolfHoleScore, GolfHolePutt)"));
        AddLine(query, QStringLiteral("values(:gnr, "));
        query->SetInteger(QStringLiteral("gnr"), GetSessionNr());
        AddValue(query, QStringLiteral("gho"), vkInteger, comma, false, QString::number(i + 1));
        AddValue(query, QStringLiteral("ghp"), vkInteger, comma, true, hole.Par);
        AddValue(query, QStringLiteral("ghd"), vkInteger, comma, true, hole.Distance);
        AddValue(query, QStringLiteral("ghh"), vkInteger, comma, true, hole.Hcp);
        AddValue(query, QStringLiteral("ghs"), vkInteger, comma, true, hole.Stroke);
        AddValue(query, QStringLiteral("ghc"), vkInteger, comma, true, hole.Score);
        AddValue(query, QStringLiteral("ghu"), vkInteger, lastValue, true, hole.Putt);
        query->ExecSQL();
        CheckOneRow();
    }
    query->Clear();
}

void TGolf::LoadTypeRow()
{
    TDbQuery &query = Query();
    AddLine(&query, QStringLiteral("select * from Golf"));
    AddLine(&query, QStringLiteral("where GolfNr = :gnr"));
    query.SetInteger(QStringLiteral("gnr"), GetSessionNr());
    query.Open();
    if (query.Eof()) {
        query.Close();
        throw EActivityError(QStringLiteral("Classhie 01. RowsAffected: 0"));
    }
    const QString par = Column(QStringLiteral("GolfPar"), vkInteger);
    const QString stroke = Column(QStringLiteral("GolfStroke"), vkInteger);
    const bool calculate = Str::TextToBool(Column(QStringLiteral("GolfCalculate"), vkFlag));
    const QString score = wholeNumber(Column(QStringLiteral("GolfScore"), vkDecimal));
    const QString bunker = Column(QStringLiteral("GolfBunker"), vkInteger);
    const QString putt = Column(QStringLiteral("GolfPutt"), vkInteger);
    const QString slope = Column(QStringLiteral("GolfSlope"), vkInteger);
    const QString cr = Column(QStringLiteral("GolfCR"), vkDecimal);
    const QString newHcp = Column(QStringLiteral("GolfNewHCP"), vkDecimal);
    const QString prevHcp = Column(QStringLiteral("GolfPrevHCP"), vkDecimal);
    const QString comment = Column(QStringLiteral("GolfComment"), vkText);
    query.Close();
    SetRound(par, stroke, calculate, TGolfHoles(), score, bunker, putt, slope, cr, newHcp, prevHcp);
    SetComment(comment);

    query.Clear();
    AddLine(&query, QStringLiteral("select * from GolfHole"));
    AddLine(&query, QStringLiteral("where GolfNr = :gnr"));
    AddLine(&query, QStringLiteral("order by GolfHoleNr"));
    query.SetInteger(QStringLiteral("gnr"), GetSessionNr());
    query.Open();
    TDbQueryCloser closer(query);
    TGolfHoles card;
    for (; !query.Eof(); query.Next()) {
        const int nr = int(query.FieldAsInteger(QStringLiteral("GolfHoleNr")));
        if (nr < 1 || nr > GolfHoleCount)
            continue;
        card[nr - 1] = TGolfHole{Column(QStringLiteral("GolfHolePar"), vkInteger),    Column(QStringLiteral("GolfHoleDistance"), vkInteger),
                                 Column(QStringLiteral("GolfHoleHCP"), vkInteger),    Column(QStringLiteral("GolfHoleStroke"), vkInteger),
                                 Column(QStringLiteral("GolfHoleScore"), vkInteger), Column(QStringLiteral("GolfHolePutt"), vkInteger)};
    }
    m_holes = card;
}

void TGolf::AddUpdateTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("update Golf set"));
    AddSetClause(query, QStringLiteral("GolfPar"), QStringLiteral("gpa"), comma, true, m_par, vkInteger);
    AddSetClause(query, QStringLiteral("GolfStroke"), QStringLiteral("gst"), comma, true, m_stroke, vkInteger);
    AddSetClause(query, QStringLiteral("GolfPutt"), QStringLiteral("gpu"), comma, true, m_putt, vkInteger);
    AddSetClause(query, QStringLiteral("GolfPrevHCP"), QStringLiteral("gph"), comma, true, m_prevHcp, vkDecimal);
    AddSetClause(query, QStringLiteral("GolfNewHCP"), QStringLiteral("ghc"), comma, true, m_newHcp, vkDecimal);
    AddSetClause(query, QStringLiteral("GolfBunker"), QStringLiteral("gbu"), comma, true, m_bunker, vkInteger);
    AddSetClause(query, QStringLiteral("GolfCR"), QStringLiteral("gcr"), comma, true, m_cr, vkDecimal);
    AddSetClause(query, QStringLiteral("GolfSlope"), QStringLiteral("gsl"), comma, true, m_slope, vkInteger);
    AddSetClause(query, QStringLiteral("GolfScore"), QStringLiteral("gsc"), comma, true, m_score, vkDecimal);
    AddSetClause(query, QStringLiteral("GolfCalculate"), QStringLiteral("gca"), comma, true, Str::BoolToText(m_calculate), vkFlag);
    AddSetClause(query, QStringLiteral("GolfComment"), QStringLiteral("gco"), lastSet, false, GetComment(), vkText);
    AddLine(query, QStringLiteral("where GolfNr = :gnr"));
    query->SetInteger(QStringLiteral("gnr"), GetSessionNr());
    query->ExecSQL();
    CheckOneRow();

    for (int i = 0; i < GolfHoleCount; ++i) {
        const TGolfHole &hole = m_holes[i];
        query->Clear();
        AddLine(query, QStringLiteral("update GolfHole set"));
        AddSetClause(query, QStringLiteral("GolfHolePar"), QStringLiteral("ghp"), comma, true, hole.Par, vkInteger);
        AddSetClause(query, QStringLiteral("GolfHoleDistance"), QStringLiteral("ghd"), comma, true, hole.Distance, vkInteger);
        AddSetClause(query, QStringLiteral("GolfHoleHCP"), QStringLiteral("ghh"), comma, true, hole.Hcp, vkInteger);
        AddSetClause(query, QStringLiteral("GolfHoleStroke"), QStringLiteral("ghs"), comma, true, hole.Stroke, vkInteger);
        AddSetClause(query, QStringLiteral("GolfHoleScore"), QStringLiteral("ghc"), comma, true, hole.Score, vkInteger);
        AddSetClause(query, QStringLiteral("GolfHolePutt"), QStringLiteral("ghu"), lastSet, true, hole.Putt, vkInteger);
        AddLine(query, QStringLiteral("where GolfNr = :gnr and GolfHoleNr = :ghr"));
        query->SetInteger(QStringLiteral("gnr"), GetSessionNr());
        query->SetInteger(QStringLiteral("ghr"), i + 1);
        query->ExecSQL();
        CheckOneRow();
    }
    query->Clear();
}

void TGolf::AddDeleteTypeRow()
{
    TDbQuery *query = &Query();
    AddLine(query, QStringLiteral("delete from GolfHole"));
    AddLine(query, QStringLiteral("where GolfNr = :gnr"));
    query->SetInteger(QStringLiteral("gnr"), GetSessionNr());
    query->ExecSQL();
    query->Clear();
    AddLine(query, QStringLiteral("delete from Golf"));
    AddLine(query, QStringLiteral("where GolfNr = :gnr"));
    query->SetInteger(QStringLiteral("gnr"), GetSessionNr());
}

// ---------------------------------------------------------------------------
// Lists and summaries

void TGolf::Search(const TSearchParams &filter, QList<int> &numbers)
{
    TDbQuery *query = &Query();
    query->Clear();
    AddListColumns();
    AddLine(query, QStringLiteral(", GolfPar, GolfStroke, GolfScore, GolfPrevHCP, GolfNewHCP"));
    AddLine(query, QStringLiteral("from TrainingSession, Golf"));
    AddLine(query, QStringLiteral("where SessionNr = GolfNr"));
    AddSessionFilters(filter.DateFrom, filter.DateTo, filter.WeightTo, filter.WeightFrom, filter.Comment, filter.Place);
    AddFilter(query, QStringLiteral("GolfPrevHCP"), foAtLeast, true, filter.HcpFrom, vkDecimal, QStringLiteral("gh1"));
    AddFilter(query, QStringLiteral("GolfPrevHCP"), foAtMost, true, filter.HcpTo, vkDecimal, QStringLiteral("gh2"));
    AddFilter(query, QStringLiteral("GolfStroke"), foAtLeast, true, filter.StrokesFrom, vkDecimal, QStringLiteral("gs1"));
    AddFilter(query, QStringLiteral("GolfStroke"), foAtMost, true, filter.StrokesTo, vkDecimal, QStringLiteral("gs2"));
    RunListQuery(numbers);
}

void TGolf::LoadListRow()
{
    TActivity::LoadListRow();
    RowAs<TGolf>()->SetRound(Column(QStringLiteral("GolfPar"), vkInteger), Column(QStringLiteral("GolfStroke"), vkInteger), false,
                             TGolfHoles(), wholeNumber(Column(QStringLiteral("GolfScore"), vkDecimal)), QString(), QString(),
                             QString(), QString(), Column(QStringLiteral("GolfNewHCP"), vkDecimal),
                             Column(QStringLiteral("GolfPrevHCP"), vkDecimal));
}

void TGolf::AddSeriesSelect(const TSettingsValues &)
{
    AddCountSelect(QStringLiteral("GOL"));
    SetSeriesDecimals(0);
}
