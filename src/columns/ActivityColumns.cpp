#include "columns/ActivityColumns.h"

#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"
#include "foundation/PGUtils.h"

#include <algorithm>
#include <array>
#include <bit>

namespace
{
using Str = TTulloUtilString;

// The stored names, by ordinal.
constexpr std::array<const char *, ColumnKindCount> kindNames = {
    "cDate",        "cAct",          "cPlace",        "cDistance",     "cTime",         "cDistTime",    "cSpeed",
    "cLapTime1",    "cLapTime2",     "cLapTime3",     "cLapTime4",     "cLapDistTime1", "cLapDistTime2", "cLapDistTime3",
    "cLapDistTime4", "cLapSpeed1",   "cLapSpeed2",    "cLapSpeed3",    "cLapSpeed4",    "cTemp",        "cPerf",
    "cGame",        "cExerciseProg", "cExercise1",    "cExercise2",    "cExercise3",    "cExercise4",   "cExercise5",
    "cExercise6",   "cExercise7",    "cExercise8",    "cExercise9",    "cExercise10",   "cExercise11",  "cExercise12",
    "cExercise13",  "cExercise14",   "cExercise15",   "cExercise16",   "cExercise17",   "cExercise18",  "cExercise19",
    "cExercise20",  "cWeight",       "cOther",        "cPar",          "cStroke",       "cScore",       "cHCP",
    "cNewHCP",      "cCardioMeasure", "cCalorie",     "cRestPulse",    "cMaxpulse",     "cAvgPulse",    "cComment",
    "cId"};

constexpr quint64 allKindBits = (quint64(1) << ColumnKindCount) - 1;

// The process's long time format, fixed at start whatever the locale.
const QString longTimeFormat = QStringLiteral("h:nn:ss");

const QString carriageReturn = QStringLiteral("\r");

bool isMeasurable(TColumnValueType type)
{
    return type != TColumnValueType::vtText && type != TColumnValueType::vtCount;
}
} // namespace

QString ColumnKindName(TColumnKind kind)
{
    return QString::fromLatin1(kindNames.at(std::size_t(Ordinal(kind))));
}

bool ColumnKindOfName(const QString &name, TColumnKind &kind)
{
    for (int i = 0; i < ColumnKindCount; ++i) {
        if (name == QLatin1String(kindNames[std::size_t(i)])) {
            kind = ColumnKindOf(i);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// TColumnKindSet

TColumnKindSet::TColumnKindSet(std::initializer_list<TColumnKind> kinds)
{
    for (TColumnKind kind : kinds)
        Include(kind);
}

TColumnKindSet TColumnKindSet::FromBits(quint64 bits)
{
    TColumnKindSet set;
    set.m_bits = bits & allKindBits;
    return set;
}

TColumnKindSet TColumnKindSet::All()
{
    return FromBits(allKindBits);
}

int TColumnKindSet::Count() const
{
    return std::popcount(m_bits);
}

QList<TColumnKind> TColumnKindSet::Kinds() const
{
    QList<TColumnKind> kinds;
    for (int i = 0; i < ColumnKindCount; ++i) {
        if (Contains(ColumnKindOf(i)))
            kinds.append(ColumnKindOf(i));
    }
    return kinds;
}

// ---------------------------------------------------------------------------
// TActivityColumns

const QString TActivityColumns::WidthsKey = QStringLiteral("\\Software\\Tullo\\Corvale\\Settings\\MainColumns");

int TActivityColumns::VisibleCount() const
{
    return int(std::count_if(m_entries.cbegin(), m_entries.cend(), [](const TActivityColumn &entry) { return entry.Visible; }));
}

int TActivityColumns::IndexOfId(int id) const
{
    // In the catalogue an entry's Id is its position, so look there first.
    if (id >= 0 && id < m_entries.size() && m_entries.at(id).Id == id)
        return id;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).Id == id)
            return i;
    }
    return -1;
}

int TActivityColumns::IndexOfKind(TColumnKind kind) const
{
    const int ordinal = Ordinal(kind);
    if (ordinal < m_entries.size() && m_entries.at(ordinal).Kind == kind)
        return ordinal;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).Kind == kind)
            return i;
    }
    return -1;
}

void TActivityColumns::Validate(TActivityColumn &entry) const
{
    if (entry.Id < 0)
        throw EActivityColumns(QStringLiteral("ActivityColumns 04"));
    if (entry.Name.isEmpty())
        entry.Name = Str::RemoveChars(entry.Caption, QStringLiteral("\r\n"), false);
    entry.Heading = Str::FirstLine(entry.Caption);
    if (entry.Unit.isEmpty())
        entry.Unit = Str::RemoveChars(Str::SecondLine(entry.Caption), QStringLiteral(" ()"), false);
    if (entry.Name.isEmpty())
        throw EActivityColumns(QStringLiteral("ActivityColumns 11"));

    // Within one measurable type every column has one unit and, unless it
    // brings its own, the format of the others.
    if (isMeasurable(entry.ValueType)) {
        for (const TActivityColumn &other : m_entries) {
            if (other.Id == entry.Id || other.ValueType != entry.ValueType)
                continue;
            if (entry.Format.isEmpty())
                entry.Format = other.Format;
            if (other.Unit != entry.Unit)
                throw EActivityColumns(QStringLiteral("ActivityColumns 10. %1 != %2").arg(other.Unit, entry.Unit));
        }
    }
    if (entry.Format.isEmpty()) {
        switch (entry.ValueType) {
        case TColumnValueType::vtTime:
            entry.Format = longTimeFormat;
            break;
        case TColumnValueType::vtPace:
            entry.Format = QStringLiteral("nn:ss");
            break;
        case TColumnValueType::vtCount:
            entry.Format = QStringLiteral("###0");
            break;
        case TColumnValueType::vtText:
            break;
        default:
            entry.Format = QStringLiteral("#####0.00");
            break;
        }
    }
    if (entry.ValueType == TColumnValueType::vtText)
        entry.Format.clear();

    for (const TActivityColumn &other : m_entries) {
        if (other.Id != entry.Id && other.Kind == entry.Kind)
            throw EActivityColumns(QStringLiteral("ActivityColumns 12"));
    }
}

void TActivityColumns::Add(TActivityColumn &entry)
{
    if (IndexOfId(entry.Id) >= 0)
        throw EActivityColumnsMultipleId(QStringLiteral("ActivityColumns 03"));
    Validate(entry);
    m_entries.append(entry);
}

void TActivityColumns::Update(TActivityColumn &entry)
{
    const int index = IndexOfId(entry.Id);
    if (index < 0)
        throw EActivityColumnsNoId(QStringLiteral("ActivityColumns 02"));
    Validate(entry);
    m_entries[index] = entry;
}

TActivityColumn TActivityColumns::GetById(int id) const
{
    const int index = IndexOfId(id);
    if (index < 0)
        throw EActivityColumnsNoId(QStringLiteral("ActivityColumns 01"));
    return m_entries.at(index);
}

TActivityColumn TActivityColumns::At(int index) const
{
    if (index < 0 || index >= m_entries.size())
        throw EActivityColumnsNoId(QStringLiteral("ActivityColumns 01"));
    return m_entries.at(index);
}

TActivityColumn TActivityColumns::FindByName(const QString &text) const
{
    int found = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        const TActivityColumn &entry = m_entries.at(i);
        if (entry.Name != text && entry.Caption != text)
            continue;
        if (found >= 0)
            throw EActivityColumnsMultipleId(QStringLiteral("ActivityColumns 06"));
        found = i;
    }
    if (found < 0)
        throw EActivityColumnsNoId(QStringLiteral("ActivityColumns 05"));
    return m_entries.at(found);
}

TActivityColumn TActivityColumns::FindByCaption(const QString &text) const
{
    int found = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (Str::RemoveChars(m_entries.at(i).Caption, carriageReturn, false) != text)
            continue;
        if (found >= 0)
            throw EActivityColumns(QStringLiteral("ActivityColumns 14"));
        found = i;
    }
    if (found < 0)
        throw EActivityColumns(QStringLiteral("ActivityColumns 15"));
    return m_entries.at(found);
}

TActivityColumn TActivityColumns::FindByKind(TColumnKind kind) const
{
    int found = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).Kind != kind)
            continue;
        if (found >= 0)
            throw EActivityColumns(QStringLiteral("ActivityColumns 13"));
        found = i;
    }
    if (found < 0)
        throw EActivityColumnsNoId(QStringLiteral("ActivityColumns 05"));
    return m_entries.at(found);
}

void TActivityColumns::NamesOfUnit(const QString &unit, QStringList *list) const
{
    if (!list)
        throw EActivityColumns(QStringLiteral("ActivityColumns 07"));
    list->clear();
    for (const TActivityColumn &entry : m_entries) {
        if (entry.Unit == unit)
            list->append(entry.Name);
    }
    if (list->isEmpty())
        throw EActivityColumnsNoId(QStringLiteral("ActivityColumns 08"));
}

void TActivityColumns::Reset(TActivityColumn &entry)
{
    const bool hasData = entry.HasData;
    entry = TActivityColumn();
    entry.HasData = hasData;
}

int TActivityColumns::DefaultWidth(const TActivityColumn &entry)
{
    if (entry.Name == QLatin1String("Date"))
        return 75;
    if (entry.Name == QLatin1String("Activity"))
        return 100;
    if (entry.Name == QLatin1String("Place"))
        return 120;
    return 7 * int(std::max(Str::FirstLine(entry.Caption).size(), Str::SecondLine(entry.Caption).size()));
}

void TActivityColumns::ReadWidths(TDefRegistry &registry)
{
    registry.OpenKey(WidthsKey, true);
    for (TActivityColumn &entry : m_entries) {
        const int defaultWidth = DefaultWidth(entry);
        const int width = registry.ReadIntegerDef(entry.Name, defaultWidth);
        // A value that is no number reads as -1: the default serves better.
        entry.Width = width < 0 ? defaultWidth : width;
    }
    registry.CloseKey();
}

void TActivityColumns::WriteWidths(TDefRegistry &registry) const
{
    registry.OpenKey(WidthsKey, true);
    for (const TActivityColumn &entry : m_entries)
        registry.WriteIntegerAtLeast(entry.Name, entry.Width, MinimumStoredWidth);
    registry.CloseKey();
}

// ---------------------------------------------------------------------------
// The catalogue

namespace
{
struct TCatalogueRow
{
    const char *Name;
    const char *Line1;
    const char *Line2; // with its leading blank; empty for a one-line caption
    TColumnValueType Type;
    const char *Format;
    quint8 Sort;
    quint8 Align;
};

using VT = TColumnValueType;

// The fixed columns; the numbered groups (laps, exercises) are added in a
// loop where they belong.
constexpr TCatalogueRow dateRow{"Date", "Datum", "", VT::vtDate, "yyyy-mm-dd", SortDate, AlignLeft};
constexpr TCatalogueRow leadingRows[] = {
    {"Activity", "Aktivitet", "", VT::vtText, "", SortAlphabetic, AlignLeft},
    {"Place", "Plats", "", VT::vtText, "", SortAlphabetic, AlignLeft},
    {"Distance", "Distans", " (km)", VT::vtDistance, "", SortNumeric, AlignRight},
    {"Duration", "Tid", " (min)", VT::vtTime, "", SortNumeric, AlignRight},
    {"KmTime", "Kilometertid", " (min/km)", VT::vtPace, "nn:ss", SortNumeric, AlignRight},
    {"Speed", "Hastighet", " (km/tim)", VT::vtSpeed, "", SortNumeric, AlignRight},
};
constexpr TCatalogueRow middleRows[] = {
    {"Temp", "Temperatur", " (\u00ba)", VT::vtTemperature, "#0.0", SortNumeric, AlignRight},
    {"Performance", "Prestation", "", VT::vtText, "", SortAlphabetic, AlignLeft},
    {"Game", "Match", "", VT::vtText, "", SortAlphabetic, AlignLeft},
    {"ExerciseProgram", "Program", "", VT::vtText, "", SortAlphabetic, AlignLeft},
};
constexpr TCatalogueRow trailingRows[] = {
    {"Weight", "Vikt", " (kg)", VT::vtWeight, "##0.00", SortNumeric, AlignRight},
    {"Other", "Detaljerad aktivitet", "", VT::vtText, "", SortAlphabetic, AlignLeft},
    {"Par", "Par", " (slag)", VT::vtCount, "", SortNumeric, AlignRight},
    {"Stroke", "Slag", " (slag)", VT::vtCount, "", SortNumeric, AlignRight},
    {"Score", "Po\u00e4ng", "", VT::vtCount, "", SortNumeric, AlignRight},
    {"HCP", "HCP", " (HCP)", VT::vtHandicap, "#0.0", SortNumeric, AlignRight},
    {"NewHCP", "Nytt HCP", " (HCP)", VT::vtHandicap, "#0.0", SortNumeric, AlignRight},
    {"CardioMeasure", "Konditionsv\u00e4rde", "", VT::vtCount, "#0.0", SortNumeric, AlignRight},
    {"Calorie", "F\u00f6rbr\u00e4nning", " (kcal)", VT::vtCount, "", SortNumeric, AlignRight},
    {"RestPulse", "Vilopuls", " (puls)", VT::vtCount, "", SortNumeric, AlignRight},
    {"MaxPulse", "Maxpuls", " (puls)", VT::vtCount, "", SortNumeric, AlignRight},
    {"AveragePulse", "Medelpuls", " (puls)", VT::vtCount, "", SortNumeric, AlignRight},
    {"Comment", "Kommentar", "", VT::vtText, "", SortAlphabetic, AlignLeft},
    {"Id", "", "", VT::vtText, "", SortNumeric, AlignRight},
};

QString captionOf(const QString &line1, const QString &line2)
{
    return line2.isEmpty() ? line1 : line1 + carriageReturn + line2;
}

// Adds one entry of the next kind from the work entry's fields and resets
// the work entry.
class TCatalogueBuilder
{
public:
    explicit TCatalogueBuilder(TActivityColumns &catalogue) : m_catalogue(catalogue) {}

    void Add(const QString &name, const QString &line1, const QString &line2, TColumnValueType type, const QString &format,
             quint8 sort, quint8 align)
    {
        m_work.Name = name;
        m_work.Caption = captionOf(line1, line2);
        m_work.ValueType = type;
        m_work.Format = format;
        m_work.SortStyle = sort;
        m_work.ColAlignment = align;
        m_work.Kind = ColumnKindOf(m_next);
        m_work.Id = m_next;
        m_work.Width = 25;
        m_work.Visible = m_work.Kind != TColumnKind::cId;
        if (m_work.Kind == TColumnKind::cDate)
            m_work.Unit = QStringLiteral("Datum");
        m_catalogue.Add(m_work);
        TActivityColumns::Reset(m_work);
        ++m_next;
    }

    void Add(const TCatalogueRow &row)
    {
        Add(QString::fromLatin1(row.Name), QString::fromUtf8(row.Line1), QString::fromUtf8(row.Line2), row.Type,
            QString::fromLatin1(row.Format), row.Sort, row.Align);
    }

private:
    TActivityColumns &m_catalogue;
    TActivityColumn m_work;
    int m_next = 0;
};
} // namespace

void BuildActivityCatalogue(TActivityColumns &catalogue)
{
    catalogue.Clear();
    TCatalogueBuilder builder(catalogue);
    builder.Add(dateRow);
    for (const TCatalogueRow &row : leadingRows)
        builder.Add(row);
    const QString minutes = QStringLiteral(" (min)");
    const QString minutesPerKm = QStringLiteral(" (min/km)");
    const QString kmPerHour = QStringLiteral(" (km/tim)");
    for (int n = 1; n <= 4; ++n)
        builder.Add(QStringLiteral("LapTime%1").arg(n), QStringLiteral("Mellantid %1").arg(n), minutes, VT::vtTime, QString(),
                    SortNumeric, AlignRight);
    for (int n = 1; n <= 4; ++n)
        builder.Add(QStringLiteral("KmLapTime%1").arg(n), QStringLiteral("Kilometertid %1").arg(n), minutesPerKm, VT::vtPace,
                    QStringLiteral("nn:ss"), SortNumeric, AlignRight);
    for (int n = 1; n <= 4; ++n)
        builder.Add(QStringLiteral("LapAverage%1").arg(n), QStringLiteral("Hastighet %1").arg(n), kmPerHour, VT::vtSpeed,
                    QString(), SortNumeric, AlignRight);
    for (const TCatalogueRow &row : middleRows)
        builder.Add(row);
    for (int n = 1; n <= ExerciseColumnCount; ++n)
        builder.Add(QStringLiteral("Exercise%1").arg(n), QStringLiteral("\u00d6vning%1").arg(n), QStringLiteral(" (kg)"), VT::vtWeight,
                    n == 1 ? QStringLiteral("##0.0") : QString(), SortNumeric, AlignRight);
    for (const TCatalogueRow &row : trailingRows)
        builder.Add(row);
}
