#pragma once

#include "model/ClasshieTypes.h"

#include <array>

// The number of holes on a score card; a nine-hole round leaves the other
// nine holes without par.
inline constexpr int GolfHoleCount = 18;

// One hole of the score card as typed: par, length in metres, stroke index
// ("HCP"), strokes played, points and putts. An empty text is no value.
struct TGolfHole
{
    QString Par, Distance, Hcp, Stroke, Score, Putt;

    bool operator==(const TGolfHole &) const = default;
};

// The score card, hole 1 first.
using TGolfHoles = std::array<TGolfHole, GolfHoleCount>;

// One number per hole, hole 1 first: the form the handicap and points
// computations take and return a row of the card in.
using TGolfHoleValues = std::array<int, GolfHoleCount>;

// A golf round: the round's totals, an 18-hole score card, and the
// computations of the playing handicap, the strokes received per hole and
// the Stableford points.
//
// The round is stored in Golf and always as 18 GolfHole rows, also when only
// nine holes were played. Every computation error is an EGolfError whose
// message is shown to the user as it is; a failed setter or computation
// changes nothing.
class TGolf final : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TGolf)
public:
    TGolf();
    TActivityFamily Family() const override { return TActivityFamily::Golf; }

    // Validates every value before any is kept: par, strokes, putts, bunker
    // shots, points and slope whole numbers >= 0, the two handicaps decimals
    // 0..54 (EConvertError naming the text otherwise), the slope 55..155 when
    // given (EGolfError "Slope %d är ej giltig"), and per hole par >= 0,
    // distance 0..999, stroke index 0..54, strokes, points and putts >= 0
    // (EConvertError). The handicaps and the course rating are kept with one
    // decimal, the other values trimmed.
    void SetRound(const QString &par, const QString &stroke, bool calculate, const TGolfHoles &holes, const QString &score,
                  const QString &bunker, const QString &putt, const QString &slope, const QString &cr, const QString &newHcp,
                  const QString &prevHcp);

    QString GetPar() const { return m_par; }
    QString GetStroke() const { return m_stroke; }
    QString GetPrevHcp() const { return m_prevHcp; }
    QString GetNewHcp() const { return m_newHcp; }
    QString GetCr() const { return m_cr; }
    QString GetSlope() const { return m_slope; }
    QString GetPutt() const { return m_putt; }
    QString GetBunker() const { return m_bunker; }
    QString GetScore() const { return m_score; }
    bool GetCalculate() const { return m_calculate; }
    // A copy of the card.
    TGolfHoles GetHoles() const { return m_holes; }
    // Takes the card as read from the diary, unchecked; for loading the
    // cards of many rounds in one query.
    void SetStoredHoles(const TGolfHoles &holes) { m_holes = holes; }

    // The handicap after the latest other round played on or before `date`
    // (the latest entered when several share that day), with one decimal;
    // rounds of session `sessionNr` and rounds without a new handicap do not
    // count. Empty for an empty date or when there is no such round. Needs
    // the database.
    QString LastNewHcp(const QString &date, int sessionNr);

    // --- computations on the card ---------------------------------------------

    // A slope outside 55..155 raises EGolfError "Slope %d är ej giltig".
    static void CheckSlope(int slope);

    // The playing handicap of the round from course rating, slope, handicap
    // before the round and par:
    //   handicap x slope / 113 + rating - par,
    // rounded to the nearest whole number, ties to even. A par below 45 is a
    // nine-hole par and is doubled to count as eighteen holes; a rating below
    // 45 given with it is a nine-hole rating and is doubled as well, while a
    // larger rating is taken as the eighteen-hole rating it is. Empty when a
    // value is missing or the handicap is above 36: strokes are calculated for
    // handicaps up to 36 only, although a round stores one up to 54. Raises
    // the EGolfError of CheckSlope and EConvertError for a text that is no
    // number. Values a round cannot hold raise EGolfError as well, whoever
    // limits the fields: a par below 0 or above 2147483647 "Par %s är ej
    // giltigt", a handicap below 0 "HCP %s är ej giltigt", and a rating so far
    // from the par that the strokes are no 32-bit number "CR %s är ej
    // giltigt" (each with the text as given, trimmed).
    static QString AllowedStrokes(const QString &cr, const QString &slope, const QString &prevHcp, const QString &par);

    // Each hole's par plus the strokes received on it; holes without par
    // (not played) stay 0. Nine or eighteen holes must have par, each 3..5.
    // The strokes go to the holes in the order of their stroke indexes,
    // hardest first and round again when there are more strokes than holes;
    // a negative number takes strokes away from the easiest holes first. A
    // nine-hole round gets half of the eighteen-hole strokes, the odd half on
    // the nine with odd indexes (15 gives 8 there, 7 on the even nine), and
    // may be played on either nine. Only the indexes of the holes played
    // count. The strokes are shared out in one step, not one at a time, so
    // any 32-bit number of strokes takes the same time. Raises EGolfError
    //   "Par är alltid mellan 3 and 5 (hål %d)", "Man kan inte spela %d hål",
    //   "Hittar ingen start HCP (%d)" (the first hole played has no index
    //   1..18), and the errors of CheckStrokeIndexes;
    // EConvertError when `allowedStrokes` is no whole number of 32 bits.
    static TGolfHoleValues ReceivedStrokes(const TGolfHoleValues &strokeIndexes, const TGolfHoleValues &pars,
                                           const QString &allowedStrokes);

    // Stableford points: per hole 2 + allowed - played, never below 0, and 0
    // on holes whose allowed value is 0 or less. Returns the round's total
    // and puts the points per hole into `pointsPerHole`. A hole with an
    // allowed value but fewer than one stroke raises EGolfError
    // "Färre än 1 slag på hål %d", and a total above 2147483647, more than
    // a round counts, EGolfError "Poängsumman %d är ej giltig"; both leave
    // `pointsPerHole` as it was.
    static QString Points(const TGolfHoleValues &allowedPerHole, const TGolfHoleValues &strokesPlayed,
                          TGolfHoleValues &pointsPerHole);

    // The hole 1..18 whose stroke index is `strokeIndex`; none raises
    // EGolfError "Hittade inte HCP %d".
    static int FindHole(int strokeIndex, const TGolfHoleValues &strokeIndexes);

    // The nine holes from `firstHole` (1 or 10) must all share the parity of
    // the first one's index, else EGolfError "Mixade jämna och ojämna HCP på
    // 9 hål"; and each of the indexes start, start + step, ... up to 18 must
    // belong to a hole, else the error of FindHole.
    static void CheckStrokeIndexes(const TGolfHoleValues &strokeIndexes, int start, int step, int firstHole = 1);

    // One row of the card as numbers, an empty or invalid cell counting 0:
    // CardRow(holes, &TGolfHole::Par).
    static TGolfHoleValues CardRow(const TGolfHoles &holes, QString TGolfHole::*value);

    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void LoadListRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;

private:
    QString m_par = QStringLiteral("-1");
    QString m_stroke = QStringLiteral("-1");
    QString m_prevHcp = QStringLiteral("-1");
    QString m_newHcp = QStringLiteral("-1");
    QString m_cr = QStringLiteral("-1");
    QString m_slope = QStringLiteral("-1");
    QString m_putt = QStringLiteral("-1");
    QString m_bunker = QStringLiteral("-1");
    QString m_score = QStringLiteral("-1");
    TGolfHoles m_holes;
    bool m_calculate = false;
};
