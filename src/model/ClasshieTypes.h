#pragma once

#include "model/Classhie.h"

// The activity types by what they measure. Each family's intermediate class
// holds its values and their rules, its "simple" class stores them in a
// per-type table of fixed columns, and the leaf classes only set their code
// and table.

#define TERNVALL_ACTIVITY_CLASS(Name)                                                                                            \
public:                                                                                                                          \
    static constexpr const char *ClassName = #Name;                                                                              \
    const TActivityClass *Class() const override { return ActivityClassOf<Name>(); }

// --- no values beyond the session ---------------------------------------------

class TSimpleActivity : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleActivity)
public:
    TActivityFamily Family() const override { return TActivityFamily::Simple; }
};

class TDownhill final : public TSimpleActivity
{
    TERNVALL_ACTIVITY_CLASS(TDownhill)
public:
    TDownhill();
};

class TWeight final : public TSimpleActivity
{
    TERNVALL_ACTIVITY_CLASS(TWeight)
public:
    TWeight();
};

// --- a duration -------------------------------------------------------------

class TTimeActivity : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TTimeActivity)
public:
    TActivityFamily Family() const override { return TActivityFamily::Time; }

    // A duration in minutes.seconds; 0 is no value. An invalid duration
    // raises ETimeError "Ogiltig tid för sekunder (%s)".
    void SetDuration(const QString &text);
    QString GetDuration() const { return m_duration; }
    // Kilocalories per hour, no decimals; empty when either value is
    // missing or not a number, or the duration is 0. The duration counts as
    // its plain number of minutes.
    static QString CaloriesPerHour(const QString &calories, const QString &duration);

    void AddDurationTotals(const TPeriod &period, TSeries &series) override;
    void AddDistanceTotals(const TPeriod &period, TSeries &series) override;

protected:
    void LoadListRow() override;
    // Yearly summaries by one of the time units.
    void AddTimeSeriesSelect(TSettingsValues::TSummaryTime unit);
    double TimeSeriesValue(const QString &text, TSettingsValues::TSummaryTime unit) const;
    QString FormatTimeSeriesValue(double value, TSettingsValues::TSummaryTime unit) const;
    // The rows of Duration or Distance as TValue for the summaries.
    void AddValueRowsSelect(const QString &column);

private:
    QString m_duration = QStringLiteral("-1");
};

class TSimpleTimeActivity : public TTimeActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleTimeActivity)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
    double SeriesValue(const QString &text, const TSettingsValues &settings) const override;
    QString FormatSeriesValue(double value, const TSettingsValues &settings) const override;
};

#define TERNVALL_LEAF(Name, Parent)                                                                                              \
    class Name final : public Parent                                                                                             \
    {                                                                                                                            \
        TERNVALL_ACTIVITY_CLASS(Name)                                                                                            \
    public:                                                                                                                      \
        Name();                                                                                                                  \
    };

TERNVALL_LEAF(TTennis, TSimpleTimeActivity)
TERNVALL_LEAF(TSkating, TSimpleTimeActivity)
TERNVALL_LEAF(TSpinning, TSimpleTimeActivity)
TERNVALL_LEAF(TAerobics, TSimpleTimeActivity)
TERNVALL_LEAF(TDance, TSimpleTimeActivity)
TERNVALL_LEAF(TCardio, TSimpleTimeActivity)

// --- a duration and a match --------------------------------------------------

class TGame : public TTimeActivity
{
    TERNVALL_ACTIVITY_CLASS(TGame)
public:
    TActivityFamily Family() const override { return TActivityFamily::Game; }

    // Performance -1..4 (else "Classhie 08"); the match as typed.
    void SetGame(const QString &performance, const QString &game);
    int GetPerformance() const { return m_performance.toInt(); }
    QString GetGame() const { return m_game; }

protected:
    void LoadListRow() override;

private:
    QString m_performance = QStringLiteral("-1");
    QString m_game = QStringLiteral("Default");
};

class TSimpleGame : public TGame
{
    TERNVALL_ACTIVITY_CLASS(TSimpleGame)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
    double SeriesValue(const QString &text, const TSettingsValues &settings) const override;
    QString FormatSeriesValue(double value, const TSettingsValues &settings) const override;
};

TERNVALL_LEAF(TFloorball, TSimpleGame)
TERNVALL_LEAF(TSoccer, TSimpleGame)
TERNVALL_LEAF(TIceHockey, TSimpleGame)

// --- a duration and a distance -------------------------------------------------

class TTimeDistanceActivity : public TTimeActivity
{
    TERNVALL_ACTIVITY_CLASS(TTimeDistanceActivity)
public:
    TActivityFamily Family() const override { return TActivityFamily::TimeDistance; }

    // Kilometres as typed; 0 is no value.
    void SetDistance(const QString &text);
    QString GetDistance() const { return m_distance; }
    QString GetSpeed() const;
    QString GetKmTime() const;
    // A course number, or empty; a text that is no integer raises
    // EConvertError.
    void SetCourseNr(const QString &text);
    QString GetCourseNr() const { return m_courseNr; }

protected:
    void LoadListRow() override;

private:
    QString m_distance = QStringLiteral("-1");
    QString m_courseNr = QStringLiteral("-1");
};

class TSimpleTimeDistActivity : public TTimeDistanceActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleTimeDistActivity)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
    double SeriesValue(const QString &text, const TSettingsValues &settings) const override;
    QString FormatSeriesValue(double value, const TSettingsValues &settings) const override;
};

TERNVALL_LEAF(TRunning, TSimpleTimeDistActivity)
TERNVALL_LEAF(TBiking, TSimpleTimeDistActivity)
TERNVALL_LEAF(TSkiing, TSimpleTimeDistActivity)
TERNVALL_LEAF(TSwimming, TSimpleTimeDistActivity)
TERNVALL_LEAF(TInlines, TSimpleTimeDistActivity)

// --- a distance ---------------------------------------------------------------

class TDistanceActivity : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TDistanceActivity)
public:
    TActivityFamily Family() const override { return TActivityFamily::Distance; }

    // Kilometres with one decimal; 0 is no value.
    void SetDistance(const QString &text);
    QString GetDistance() const { return m_distance; }

    void AddDistanceTotals(const TPeriod &period, TSeries &series) override;

protected:
    void LoadListRow() override;

private:
    QString m_distance = QStringLiteral("-1");
};

class TSimpleDistanceActivity : public TDistanceActivity
{
    TERNVALL_ACTIVITY_CLASS(TSimpleDistanceActivity)
public:
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;
};

TERNVALL_LEAF(TTrekking, TSimpleDistanceActivity)
TERNVALL_LEAF(TCanoeing, TSimpleDistanceActivity)

// --- a free text ----------------------------------------------------------------

class TOther final : public TActivity
{
    TERNVALL_ACTIVITY_CLASS(TOther)
public:
    TOther();
    TActivityFamily Family() const override { return TActivityFamily::Other; }

    void SetOtherActivity(const QString &text) { m_otherActivity = text; }
    QString GetOtherActivity() const { return m_otherActivity; }
    void Search(const TSearchParams &filter, QList<int> &numbers) override;

protected:
    void AddInsertTypeRow() override;
    void LoadTypeRow() override;
    void AddUpdateTypeRow() override;
    void AddDeleteTypeRow() override;
    void LoadListRow() override;
    void AddSeriesSelect(const TSettingsValues &settings) override;

private:
    QString m_otherActivity;
};

#undef TERNVALL_LEAF
