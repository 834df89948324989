#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <initializer_list>

class TDefRegistry;

// The 57 columns the activity list can show. The ordinal order is the order
// of the catalogue; the stored names ("cDate", ...) are what the named
// column settings keep in the diary.
enum class TColumnKind : quint8 {
    cDate,
    cAct,
    cPlace,
    cDistance,
    cTime,
    cDistTime,
    cSpeed,
    cLapTime1,
    cLapTime2,
    cLapTime3,
    cLapTime4,
    cLapDistTime1,
    cLapDistTime2,
    cLapDistTime3,
    cLapDistTime4,
    cLapSpeed1,
    cLapSpeed2,
    cLapSpeed3,
    cLapSpeed4,
    cTemp,
    cPerf,
    cGame,
    cExerciseProg,
    cExercise1,
    cExercise2,
    cExercise3,
    cExercise4,
    cExercise5,
    cExercise6,
    cExercise7,
    cExercise8,
    cExercise9,
    cExercise10,
    cExercise11,
    cExercise12,
    cExercise13,
    cExercise14,
    cExercise15,
    cExercise16,
    cExercise17,
    cExercise18,
    cExercise19,
    cExercise20,
    cWeight,
    cOther,
    cPar,
    cStroke,
    cScore,
    cHCP,
    cNewHCP,
    cCardioMeasure,
    cCalorie,
    cRestPulse,
    cMaxpulse,
    cAvgPulse,
    cComment,
    cId
};

inline constexpr int ColumnKindCount = 57;
// The number of exercise columns.
inline constexpr int ExerciseColumnCount = 20;

constexpr int Ordinal(TColumnKind kind)
{
    return int(kind);
}
// The kind of an ordinal 0..56; the caller checks the range.
constexpr TColumnKind ColumnKindOf(int ordinal)
{
    return TColumnKind(ordinal);
}
// The kind of exercise column n (1..20).
constexpr TColumnKind ExerciseColumnKind(int n)
{
    return TColumnKind(Ordinal(TColumnKind::cExercise1) + n - 1);
}

// The stored name of a kind ("cDate", ..., "cMaxpulse", ..., "cId").
QString ColumnKindName(TColumnKind kind);
// The kind whose stored name is exactly `name`; false for an unknown name.
bool ColumnKindOfName(const QString &name, TColumnKind &kind);

// A set of column kinds: bit n stands for the kind of ordinal n. Bits 57 to
// 63 are never set.
class TColumnKindSet
{
public:
    constexpr TColumnKindSet() = default;
    TColumnKindSet(std::initializer_list<TColumnKind> kinds);

    // Bits above the last kind are dropped.
    static TColumnKindSet FromBits(quint64 bits);
    static TColumnKindSet All();

    quint64 Bits() const { return m_bits; }
    bool Contains(TColumnKind kind) const { return (m_bits >> Ordinal(kind)) & 1U; }
    void Include(TColumnKind kind) { m_bits |= quint64(1) << Ordinal(kind); }
    void Exclude(TColumnKind kind) { m_bits &= ~(quint64(1) << Ordinal(kind)); }
    bool IsEmpty() const { return m_bits == 0; }
    int Count() const;
    // The kinds of the set in ordinal order.
    QList<TColumnKind> Kinds() const;

    bool operator==(const TColumnKindSet &) const = default;

private:
    quint64 m_bits = 0;
};

// What the values of a column are; decides the unit and format rules.
enum class TColumnValueType : quint8 {
    vtTime = 0,        // duration, minutes.seconds
    vtPace = 1,        // minutes per kilometre
    vtSpeed = 2,       // km/h
    vtDate = 3,        // "yyyy-MM-dd"
    vtTemperature = 4, // degrees
    vtDistance = 5,    // kilometres
    vtWeight = 6,      // kilograms
    vtCount = 7,       // whole number
    vtHandicap = 8,    // golf handicap
    vtText = 9         // free text
};

// The grid's sort styles and cell alignments as the catalogue stores them
// (the values of the complex grid's own per-column properties).
inline constexpr quint8 SortAlphabetic = 0;
inline constexpr quint8 SortNumeric = 1;
inline constexpr quint8 SortDate = 2;
inline constexpr quint8 AlignRight = 0;
inline constexpr quint8 AlignLeft = 1;
inline constexpr quint8 AlignCentre = 2;

// One entry of the catalogue; copied by value. The member initialisers are
// the reset values (see TActivityColumns::Reset).
struct TActivityColumn
{
    QString Name;    // internal English name, unique; the registry value name of the width
    QString Format;  // display format of the values (empty for text columns)
    QString Caption; // header text; a second line follows a carriage return
    TColumnValueType ValueType = TColumnValueType::vtText;
    QString Heading; // the first line of Caption (derived)
    QString Unit;    // derived from the second line of Caption: " (km/tim)" gives "km/tim"
    quint8 SortStyle = SortNumeric;
    quint8 ColAlignment = AlignRight;
    bool Visible = true;
    TColumnKind Kind = TColumnKind::cAct;
    qint32 Width = 25;
    bool HasData = false; // set by the graphs: the column held two values or more
    qint32 Id = -1;       // unique; in the catalogue the kind's ordinal
};

// The catalogue of list columns: an ordered array of entries. Every look-up
// returns a copy. Errors are EActivityColumns and its subclasses with the
// ids "ActivityColumns 01" to "ActivityColumns 15".
//
// Entries are found by identity (id, kind or position) wherever rows are
// filled; FindByName and FindByCaption look at texts that the user can
// influence (an exercise's name becomes a caption) and may find two entries.
class TActivityColumns
{
public:
    // The registry key of the column widths, one integer per entry Name.
    static const QString WidthsKey;
    // Widths below this are stored as this.
    static constexpr int MinimumStoredWidth = 20;

    void Clear() { m_entries.clear(); }
    int Count() const { return int(m_entries.size()); }
    int VisibleCount() const;

    // Validates the entry (completing it in place) and appends a copy. An
    // entry with the same Id already there: "ActivityColumns 03"
    // (EActivityColumnsMultipleId); validation errors below.
    void Add(TActivityColumn &entry);
    // Validates the entry and replaces the one with the same Id; none:
    // "ActivityColumns 02" (EActivityColumnsNoId).
    void Update(TActivityColumn &entry);

    // The entry with the Id; none: "ActivityColumns 01" (EActivityColumnsNoId).
    TActivityColumn GetById(int id) const;
    // The entry whose Name or Caption equals the text exactly. None:
    // "ActivityColumns 05" (EActivityColumnsNoId); more than one:
    // "ActivityColumns 06" (EActivityColumnsMultipleId).
    TActivityColumn FindByName(const QString &text) const;
    // The entry whose Caption without carriage returns equals the text.
    // None: "ActivityColumns 15"; more than one: "ActivityColumns 14".
    TActivityColumn FindByCaption(const QString &text) const;
    // None: "ActivityColumns 05"; more than one: "ActivityColumns 13".
    TActivityColumn FindByKind(TColumnKind kind) const;
    // The position of the entry showing the kind, -1 when none.
    int IndexOfKind(TColumnKind kind) const;
    // The entry at a position 0..Count-1 ("ActivityColumns 01" otherwise).
    TActivityColumn At(int index) const;
    // All entries in catalogue order, for walking the catalogue without
    // copying each entry.
    const QList<TActivityColumn> &Entries() const { return m_entries; }

    // Clears the list and adds the Name of every entry whose Unit equals the
    // unit, in catalogue order. No list: "ActivityColumns 07"
    // (EActivityColumns); none matched: "ActivityColumns 08"
    // (EActivityColumnsNoId).
    void NamesOfUnit(const QString &unit, QStringList *list) const;

    // Sets the entry to the reset values; HasData is left as it is.
    static void Reset(TActivityColumn &entry);

    // The width a column gets when none is stored: 75 for "Date", 100 for
    // "Activity", 120 for "Place", otherwise 7 pixels per character of the
    // longer caption line (the second counted with its leading blank).
    static int DefaultWidth(const TActivityColumn &entry);
    // Reads every entry's width from WidthsKey of the store (DefaultWidth
    // when none is stored) and writes it back, at least
    // MinimumStoredWidth.
    void ReadWidths(TDefRegistry &registry);
    void WriteWidths(TDefRegistry &registry) const;

private:
    // Runs the validation rules on the entry, comparing it with every entry
    // of another Id. Errors: "ActivityColumns 04" (Id below 0), "11" (no
    // name), "10. <other unit> != <unit>" (units differ within a
    // measurable type), "12" (another entry shows the same kind).
    void Validate(TActivityColumn &entry) const;
    int IndexOfId(int id) const;

    QList<TActivityColumn> m_entries;
};

// Clears the catalogue and adds the 57 list columns in kind order, with
// Id = Kind = the ordinal.
void BuildActivityCatalogue(TActivityColumns &catalogue);
