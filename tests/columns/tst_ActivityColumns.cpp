// The catalogue of list columns: the 57 entries as built, the rules that
// complete and check an entry, the look-ups and the stored column widths.

#include "TestDiary.h"

#include "columns/ActivityColumns.h"
#include "foundation/CorvaleExceptions.h"
#include "foundation/DefReg.h"

#include <QtTest>

#include <functional>

namespace
{
TActivityColumns builtCatalogue()
{
    TActivityColumns catalogue;
    BuildActivityCatalogue(catalogue);
    return catalogue;
}

// "<class>: <message>" of the EActivityColumns the call raised, or "none".
QString columnsError(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EActivityColumnsMultipleId &e) {
        return QStringLiteral("MultipleId: ") + e.Message();
    } catch (const EActivityColumnsNoId &e) {
        return QStringLiteral("NoId: ") + e.Message();
    } catch (const EActivityColumns &e) {
        return QStringLiteral("ActivityColumns: ") + e.Message();
    }
    return QStringLiteral("none");
}

TActivityColumn entry(int id, TColumnKind kind, const QString &caption, TColumnValueType type, const QString &name = QString())
{
    TActivityColumn column;
    column.Id = id;
    column.Kind = kind;
    column.Caption = caption;
    column.ValueType = type;
    column.Name = name;
    return column;
}
} // namespace

class tst_ActivityColumns : public QObject
{
    Q_OBJECT

private slots:
    void catalogueEntries_data()
    {
        QTest::addColumn<int>("ordinal");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("valueType");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("sortStyle");
        QTest::addColumn<int>("alignment");

        const QString minutes = QStringLiteral("\r (min)");
        const QString pace = QStringLiteral("\r (min/km)");
        const QString speed = QStringLiteral("\r (km/tim)");
        auto row = [](int ordinal, const QString &name, const QString &caption, int type, const QString &format, const QString &unit,
                      int sort, int align) {
            QTest::newRow(qPrintable(name)) << ordinal << name << caption << type << format << unit << sort << align;
        };
        row(0, "Date", "Datum", 3, "yyyy-mm-dd", "Datum", 2, 1);
        row(1, "Activity", "Aktivitet", 9, "", "", 0, 1);
        row(2, "Place", "Plats", 9, "", "", 0, 1);
        row(3, "Distance", "Distans\r (km)", 5, "#####0.00", "km", 1, 0);
        row(4, "Duration", "Tid" + minutes, 0, "h:nn:ss", "min", 1, 0);
        row(5, "KmTime", "Kilometertid" + pace, 1, "nn:ss", "min/km", 1, 0);
        row(6, "Speed", "Hastighet" + speed, 2, "#####0.00", "km/tim", 1, 0);
        for (int n = 1; n <= 4; ++n) {
            row(6 + n, QStringLiteral("LapTime%1").arg(n), QStringLiteral("Mellantid %1").arg(n) + minutes, 0, "h:nn:ss", "min", 1, 0);
            row(10 + n, QStringLiteral("KmLapTime%1").arg(n), QStringLiteral("Kilometertid %1").arg(n) + pace, 1, "nn:ss", "min/km", 1, 0);
            row(14 + n, QStringLiteral("LapAverage%1").arg(n), QStringLiteral("Hastighet %1").arg(n) + speed, 2, "#####0.00", "km/tim", 1,
                0);
        }
        row(19, "Temp", "Temperatur\r (º)", 4, "#0.0", "º", 1, 0);
        row(20, "Performance", "Prestation", 9, "", "", 0, 1);
        row(21, "Game", "Match", 9, "", "", 0, 1);
        row(22, "ExerciseProgram", "Program", 9, "", "", 0, 1);
        for (int n = 1; n <= 20; ++n)
            row(22 + n, QStringLiteral("Exercise%1").arg(n), QStringLiteral("Övning%1\r (kg)").arg(n), 6, "##0.0", "kg", 1, 0);
        row(43, "Weight", "Vikt\r (kg)", 6, "##0.00", "kg", 1, 0);
        row(44, "Other", "Detaljerad aktivitet", 9, "", "", 0, 1);
        row(45, "Par", "Par\r (slag)", 7, "###0", "slag", 1, 0);
        row(46, "Stroke", "Slag\r (slag)", 7, "###0", "slag", 1, 0);
        row(47, "Score", "Poäng", 7, "###0", "", 1, 0);
        row(48, "HCP", "HCP\r (HCP)", 8, "#0.0", "HCP", 1, 0);
        row(49, "NewHCP", "Nytt HCP\r (HCP)", 8, "#0.0", "HCP", 1, 0);
        row(50, "CardioMeasure", "Konditionsvärde", 7, "#0.0", "", 1, 0);
        row(51, "Calorie", "Förbränning\r (kcal)", 7, "###0", "kcal", 1, 0);
        row(52, "RestPulse", "Vilopuls\r (puls)", 7, "###0", "puls", 1, 0);
        row(53, "MaxPulse", "Maxpuls\r (puls)", 7, "###0", "puls", 1, 0);
        row(54, "AveragePulse", "Medelpuls\r (puls)", 7, "###0", "puls", 1, 0);
        row(55, "Comment", "Kommentar", 9, "", "", 0, 1);
        row(56, "Id", "", 9, "", "", 1, 0);
    }

    void catalogueEntries()
    {
        QFETCH(int, ordinal);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, valueType);
        QFETCH(QString, format);
        QFETCH(QString, unit);
        QFETCH(int, sortStyle);
        QFETCH(int, alignment);

        const TActivityColumns catalogue = builtCatalogue();
        QCOMPARE(catalogue.Count(), ColumnKindCount);
        const TActivityColumn column = catalogue.At(ordinal);
        QCOMPARE(column.Name, name);
        QCOMPARE(column.Caption, caption);
        QCOMPARE(column.Heading, caption.section(QLatin1Char('\r'), 0, 0));
        QCOMPARE(int(column.ValueType), valueType);
        QCOMPARE(column.Format, format);
        QCOMPARE(column.Unit, unit);
        QCOMPARE(int(column.SortStyle), sortStyle);
        QCOMPARE(int(column.ColAlignment), alignment);
        QCOMPARE(column.Id, ordinal);
        QCOMPARE(Ordinal(column.Kind), ordinal);
        QCOMPARE(column.Width, 25);
        // Only the Id column starts hidden.
        QCOMPARE(column.Visible, name != QLatin1String("Id"));
        QCOMPARE(catalogue.GetById(ordinal).Name, name);
        QCOMPARE(catalogue.FindByKind(column.Kind).Name, name);
    }

    void kindNamesRoundTrip()
    {
        const QStringList expectedSome{QStringLiteral("cDate"), QStringLiteral("cDistTime"), QStringLiteral("cLapDistTime4"),
                                       QStringLiteral("cExercise20"), QStringLiteral("cMaxpulse"), QStringLiteral("cId")};
        QStringList all;
        for (int i = 0; i < ColumnKindCount; ++i) {
            const QString name = ColumnKindName(ColumnKindOf(i));
            TColumnKind back = TColumnKind::cAct;
            QVERIFY2(ColumnKindOfName(name, back), qPrintable(name));
            QCOMPARE(Ordinal(back), i);
            all << name;
        }
        for (const QString &name : expectedSome)
            QVERIFY2(all.contains(name), qPrintable(name));
        QCOMPARE(all.indexOf(QStringLiteral("cMaxpulse")), Ordinal(TColumnKind::cMaxpulse));
        TColumnKind kind = TColumnKind::cDate;
        QVERIFY(!ColumnKindOfName(QStringLiteral("cMaxPulse"), kind));
        QVERIFY(!ColumnKindOfName(QString(), kind));
        QCOMPARE(kind, TColumnKind::cDate);
    }

    void kindSetKeepsOnlyTheKinds()
    {
        const TColumnKindSet all = TColumnKindSet::FromBits(~quint64(0));
        QCOMPARE(all, TColumnKindSet::All());
        QCOMPARE(all.Count(), ColumnKindCount);
        QCOMPARE(all.Bits() >> ColumnKindCount, quint64(0));

        TColumnKindSet set{TColumnKind::cId, TColumnKind::cDate, TColumnKind::cAct};
        QCOMPARE(set.Kinds(), (QList<TColumnKind>{TColumnKind::cDate, TColumnKind::cAct, TColumnKind::cId}));
        set.Exclude(TColumnKind::cAct);
        QVERIFY(!set.Contains(TColumnKind::cAct));
        QVERIFY(set.Contains(TColumnKind::cId));
        QCOMPARE(set.Bits(), (quint64(1) << 56) | 1U);
    }

    void validationCompletesEntry()
    {
        TActivityColumns catalogue;
        TActivityColumn first = entry(0, TColumnKind::cDistance, QStringLiteral("Längd\r (km)"), TColumnValueType::vtDistance);
        first.Format = QStringLiteral("#0.000");
        catalogue.Add(first);
        // Completed in place: name from the caption, heading and unit from
        // its two lines.
        QCOMPARE(first.Name, QStringLiteral("Längd (km)"));
        QCOMPARE(first.Heading, QStringLiteral("Längd"));
        QCOMPARE(first.Unit, QStringLiteral("km"));

        // A second column of the type takes the first one's format.
        TActivityColumn second = entry(1, TColumnKind::cLapTime1, QStringLiteral("Sträcka\r (km)"), TColumnValueType::vtDistance);
        catalogue.Add(second);
        QCOMPARE(second.Format, QStringLiteral("#0.000"));

        // Text columns never keep a format; counts get whole numbers.
        TActivityColumn text = entry(2, TColumnKind::cPlace, QStringLiteral("Plats"), TColumnValueType::vtText);
        text.Format = QStringLiteral("###0");
        catalogue.Add(text);
        QCOMPARE(text.Format, QString());
        QCOMPARE(text.Unit, QString());
        TActivityColumn count = entry(3, TColumnKind::cPar, QStringLiteral("Par\r (slag)"), TColumnValueType::vtCount);
        catalogue.Add(count);
        QCOMPARE(count.Format, QStringLiteral("###0"));
        QCOMPARE(catalogue.Count(), 4);
        QCOMPARE(catalogue.VisibleCount(), 4);
    }

    void validationErrors_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("update");
        QTest::addColumn<QString>("error");
        // The catalogue holds Distance (id 0, "km") and Place (id 1).
        QTest::newRow("same id") << 1 << Ordinal(TColumnKind::cComment) << "Kommentar" << 9 << false
                                 << "MultipleId: ActivityColumns 03";
        QTest::newRow("negative id") << -1 << Ordinal(TColumnKind::cComment) << "Kommentar" << 9 << false
                                     << "ActivityColumns: ActivityColumns 04";
        QTest::newRow("no name") << 2 << Ordinal(TColumnKind::cComment) << "\r" << 9 << false << "ActivityColumns: ActivityColumns 11";
        QTest::newRow("other unit") << 2 << Ordinal(TColumnKind::cLapTime1) << "Sträcka\r (mil)" << 5 << false
                                    << "ActivityColumns: ActivityColumns 10. km != mil";
        QTest::newRow("same kind") << 2 << Ordinal(TColumnKind::cPlace) << "Ort" << 9 << false << "ActivityColumns: ActivityColumns 12";
        QTest::newRow("update unknown id") << 7 << Ordinal(TColumnKind::cComment) << "Kommentar" << 9 << true
                                           << "NoId: ActivityColumns 02";
        QTest::newRow("update to another's kind") << 1 << Ordinal(TColumnKind::cDistance) << "Plats" << 9 << true
                                                  << "ActivityColumns: ActivityColumns 12";
        QTest::newRow("update keeps own kind") << 1 << Ordinal(TColumnKind::cPlace) << "Ort" << 9 << true << "none";
    }

    void validationErrors()
    {
        QFETCH(int, id);
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(int, type);
        QFETCH(bool, update);
        QFETCH(QString, error);
        TActivityColumns catalogue;
        TActivityColumn distance = entry(0, TColumnKind::cDistance, QStringLiteral("Distans\r (km)"), TColumnValueType::vtDistance);
        TActivityColumn place = entry(1, TColumnKind::cPlace, QStringLiteral("Plats"), TColumnValueType::vtText);
        catalogue.Add(distance);
        catalogue.Add(place);

        TActivityColumn column = entry(id, ColumnKindOf(kind), caption, TColumnValueType(type));
        QCOMPARE(columnsError([&] { update ? catalogue.Update(column) : catalogue.Add(column); }), error);
        // A refused entry leaves the catalogue as it was.
        const int expectedCount = error == QLatin1String("none") && !update ? 3 : 2;
        QCOMPARE(catalogue.Count(), expectedCount);
        if (error != QLatin1String("none"))
            QCOMPARE(catalogue.GetById(1).Caption, QStringLiteral("Plats"));
    }

    void lookUps()
    {
        TActivityColumns catalogue = builtCatalogue();
        QCOMPARE(catalogue.FindByName(QStringLiteral("Speed")).Id, Ordinal(TColumnKind::cSpeed));
        QCOMPARE(catalogue.FindByName(QStringLiteral("Hastighet\r (km/tim)")).Id, Ordinal(TColumnKind::cSpeed));
        QCOMPARE(catalogue.FindByCaption(QStringLiteral("Hastighet (km/tim)")).Id, Ordinal(TColumnKind::cSpeed));
        // The Id column's caption is empty, and only its caption is.
        QCOMPARE(catalogue.FindByName(QString()).Kind, TColumnKind::cId);
        QCOMPARE(columnsError([&] { catalogue.FindByName(QStringLiteral("speed")); }), QStringLiteral("NoId: ActivityColumns 05"));
        QCOMPARE(columnsError([&] { catalogue.FindByCaption(QStringLiteral("Hastighet")); }),
                 QStringLiteral("ActivityColumns: ActivityColumns 15"));
        QCOMPARE(columnsError([&] { catalogue.GetById(57); }), QStringLiteral("NoId: ActivityColumns 01"));

        // An exercise named like another column's default caption makes two
        // captions equal: the text look-ups see both.
        TActivityColumn fifth = catalogue.FindByKind(ExerciseColumnKind(5));
        fifth.Caption = QStringLiteral("Övning3\r (kg)");
        catalogue.Update(fifth);
        QCOMPARE(columnsError([&] { catalogue.FindByName(QStringLiteral("Övning3\r (kg)")); }),
                 QStringLiteral("MultipleId: ActivityColumns 06"));
        QCOMPARE(columnsError([&] { catalogue.FindByCaption(QStringLiteral("Övning3 (kg)")); }),
                 QStringLiteral("ActivityColumns: ActivityColumns 14"));
        // By identity each is still found.
        QCOMPARE(catalogue.IndexOfKind(ExerciseColumnKind(3)), Ordinal(ExerciseColumnKind(3)));
        QCOMPARE(catalogue.GetById(Ordinal(ExerciseColumnKind(5))).Name, QStringLiteral("Exercise5"));

        TActivityColumns empty;
        QCOMPARE(columnsError([&] { empty.FindByKind(TColumnKind::cDate); }), QStringLiteral("NoId: ActivityColumns 05"));
        QCOMPARE(empty.IndexOfKind(TColumnKind::cDate), -1);
    }

    void namesOfUnit_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("error");
        QStringList kilograms;
        for (int n = 1; n <= 20; ++n)
            kilograms << QStringLiteral("Exercise%1").arg(n);
        kilograms << QStringLiteral("Weight");
        QTest::newRow("pulse") << "puls" << QStringList{"RestPulse", "MaxPulse", "AveragePulse"} << "none";
        QTest::newRow("kilograms") << "kg" << kilograms << "none";
        QTest::newRow("date") << "Datum" << QStringList{"Date"} << "none";
        QTest::newRow("no unit") << "" << QStringList{"Activity", "Place", "Performance", "Game", "ExerciseProgram", "Other", "Score",
                                                      "CardioMeasure", "Comment", "Id"}
                                 << "none";
        QTest::newRow("unknown unit") << "mil" << QStringList{} << "NoId: ActivityColumns 08";
    }

    void namesOfUnit()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, names);
        QFETCH(QString, error);
        const TActivityColumns catalogue = builtCatalogue();
        QStringList list{QStringLiteral("old")};
        QCOMPARE(columnsError([&] { catalogue.NamesOfUnit(unit, &list); }), error);
        QCOMPARE(list, names);
        QCOMPARE(columnsError([&] { catalogue.NamesOfUnit(unit, nullptr); }), QStringLiteral("ActivityColumns: ActivityColumns 07"));
    }

    void resetKeepsHasData()
    {
        TActivityColumn column = builtCatalogue().At(3);
        column.HasData = true;
        TActivityColumns::Reset(column);
        QVERIFY(column.HasData);
        QCOMPARE(column.Name, QString());
        QCOMPARE(column.Caption, QString());
        QCOMPARE(column.Unit, QString());
        QCOMPARE(column.ValueType, TColumnValueType::vtText);
        QCOMPARE(int(column.SortStyle), 1);
        QCOMPARE(int(column.ColAlignment), 0);
        QVERIFY(column.Visible);
        QCOMPARE(column.Kind, TColumnKind::cAct);
        QCOMPARE(column.Width, 25);
        QCOMPARE(column.Id, -1);
    }

    void widthsWithoutStoredValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::newRow("date") << "Date" << 75;
        QTest::newRow("activity") << "Activity" << 100;
        QTest::newRow("place") << "Place" << 120;
        QTest::newRow("second line longer") << "Distance" << 49;
        QTest::newRow("first line longer") << "KmTime" << 84;
        QTest::newRow("one line") << "Comment" << 63;
        QTest::newRow("empty caption") << "Id" << 0;
    }

    void widthsWithoutStoredValues()
    {
        QFETCH(QString, name);
        QFETCH(int, width);
        TTestFolders folders;
        TActivityColumns catalogue = builtCatalogue();
        TDefRegistry registry;
        catalogue.ReadWidths(registry);
        QCOMPARE(catalogue.FindByName(name).Width, width);
    }

    void widthsSurviveAndNarrowOnesAreStoredAs20()
    {
        TTestFolders folders;
        TActivityColumns catalogue = builtCatalogue();
        const QList<QPair<QString, int>> widths{{QStringLiteral("Distance"), 10}, {QStringLiteral("Place"), 300},
                                                {QStringLiteral("Id"), 1},        {QStringLiteral("Speed"), 20}};
        for (const auto &[name, width] : widths) {
            TActivityColumn column = catalogue.FindByName(name);
            column.Width = width;
            catalogue.Update(column);
        }
        {
            TDefRegistry registry;
            catalogue.WriteWidths(registry);
        }
        TActivityColumns again = builtCatalogue();
        TDefRegistry registry;
        again.ReadWidths(registry);
        QCOMPARE(again.FindByName(QStringLiteral("Distance")).Width, 20);
        QCOMPARE(again.FindByName(QStringLiteral("Place")).Width, 300);
        QCOMPARE(again.FindByName(QStringLiteral("Id")).Width, 20);
        QCOMPARE(again.FindByName(QStringLiteral("Speed")).Width, 20);
        QCOMPARE(again.FindByName(QStringLiteral("Date")).Width, 25);

        // Each width is stored under the column's Name.
        registry.OpenKey(TActivityColumns::WidthsKey, false);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("Place"), -7), 300);
        QCOMPARE(registry.ReadIntegerDef(QStringLiteral("Exercise20"), -7), 25);
        registry.CloseKey();
    }
};

QTEST_GUILESS_MAIN(tst_ActivityColumns)
#include "tst_ActivityColumns.moc"
